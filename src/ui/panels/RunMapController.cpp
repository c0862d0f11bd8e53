#include "panels/RunMapController.h"

#include "app/DocumentSaving.h"
#include "document/MapDoc.h"
#include "panels/ProcessWindow.h"
#include "panels/RunMapDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

class RunMapController::Host : public RunMapHost {
public:
    Host(RunMapController& controller, CMapDoc& doc) : m_controller(controller), m_doc(doc) {}

    std::string DocumentPath() const override { return m_doc.Path(); }
    bool DocumentModified() const override { return m_doc.IsModified(); }
    bool SaveDocument() override {
        const bool saved = DocumentSaving::Save(m_doc);
        if (m_controller.documentSaved) {
            m_controller.documentSaved();
        }
        return saved;
    }
    bool ExportMap(const std::string& path, bool visibleOnly, const std::string& header) override {
        return m_doc.ExportForCompile(path, visibleOnly, header);
    }
    std::optional<RunMapSettings> ShowRunMapDialog(const RunMapSettings& initial,
                                                   const RunMapPaths& paths) override {
        if (m_controller.chooseSettings) {
            return m_controller.chooseSettings(initial);
        }
        RunMapDialog dialog(initial, paths, m_controller.m_mainWindow);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.Settings();
    }
    void ShowOptions() override {
        if (m_controller.showOptions) {
            m_controller.showOptions();
        }
    }
    void ShowProcessWindow() override {
        ProcessWindow* window = m_controller.Window();
        window->show();
        window->raise();
        window->activateWindow();
        // The tools start from here on: the map stays as it is until the run ends.
        if (!m_controller.m_running) {
            m_controller.m_running = true;
            if (m_controller.m_mainWindow) {
                m_controller.m_mainWindow->setEnabled(false);
            }
            window->SetRunning(true);
        }
    }
    void LoadPointfile(const std::string& path) override { m_doc.LoadPointfile(path); }
    bool StopRequested() override { return m_controller.Window()->StopRequested(); }
    void KeepAlive() override { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

private:
    RunMapController& m_controller;
    CMapDoc& m_doc;
};

RunMapController::RunMapController(QWidget* mainWindow)
    : QObject(mainWindow), runner(std::make_unique<PosixProcessRunner>()),
      m_mainWindow(mainWindow) {
    if (mainWindow) {
        mainWindow->installEventFilter(this);
    }
}

RunMapController::~RunMapController() = default;

ProcessWindow* RunMapController::Window() {
    if (!m_window) {
        // A window of its own, not a child of the main window: it stays usable while the main
        // window is disabled during a run.
        m_window = std::make_unique<ProcessWindow>(m_output);
    }
    return m_window.get();
}

RunMap::Outcome RunMapController::Run(CMapDoc& doc) {
    if (m_running) {
        return RunMap::Outcome::Cancelled;
    }
    Host host(*this, doc);
    RunMap run(host, *runner, m_output);
    const RunMap::Outcome outcome = run.Run();
    if (m_running) {
        m_running = false;
        if (m_mainWindow) {
            m_mainWindow->setEnabled(true);
        }
        Window()->SetRunning(false);
    }
    if (m_closeAfterRun && m_mainWindow) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, m_mainWindow, [window = m_mainWindow] { window->close(); });
    }
    return outcome;
}

void RunMapController::CloseWindow() {
    if (m_window) {
        m_window->close();
    }
}

bool RunMapController::eventFilter(QObject* watched, QEvent* event) {
    // Closing the main window while a tool compiles its map stops the tool first; the window
    // closes once the run has ended.
    if (m_running && watched == m_mainWindow && event->type() == QEvent::Close) {
        event->ignore();
        m_closeAfterRun = true;
        if (m_window) {
            m_window->StopButton()->click();
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
