#pragma once

#include "document/ProcessOutput.h"
#include "document/RunMap.h"
#include "platform/ProcessRunner.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class CMapDoc;
class ProcessWindow;
class QWidget;

// Runs "Run Map" on a document from the main window. The process window is made on first use
// and kept. While the tools run the editor's event loop stays alive (the output streams, the
// windows repaint and move, "Stop" works) but the main window takes no input, so the map
// cannot change under the compile.
class RunMapController : public QObject {
    Q_OBJECT
public:
    explicit RunMapController(QWidget* mainWindow);
    ~RunMapController() override;

    RunMap::Outcome Run(CMapDoc& doc);
    bool Running() const { return m_running; }

    ProcessWindow* Window();
    // The main window closed: the Process Window goes with it (the program ends).
    void CloseWindow();
    ProcessOutput& Output() { return m_output; }

    // Replaces the "Run Map" dialog (tests); unset, the dialog is shown.
    std::function<std::optional<RunMapSettings>(const RunMapSettings&)> chooseSettings;
    // Told when the run asks for the options sheet (no texture files configured).
    std::function<void()> showOptions;
    // Told after the document was saved (its title may have changed).
    std::function<void()> documentSaved;
    // The process runner (the POSIX one unless a test replaces it).
    std::unique_ptr<ProcessRunner> runner;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Host;

    QPointer<QWidget> m_mainWindow;
    ProcessOutput m_output;
    std::unique_ptr<ProcessWindow> m_window;
    bool m_running = false;
    // The main window was asked to close during a run.
    bool m_closeAfterRun = false;
};
