#include "app/EditorStartup.h"

#include "app/AutosaveController.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ScreenshotRunner.h"
#include "app/ToolbarIcons.h"
#include "autosave/AutosaveStore.h"
#include "batch/BatchCommands.h"
#include "session/EditorContext.h"
#include "session/GameDataStartup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

#include <ctime>

EditorStartup::EditorStartup(const QStringList& arguments, const QString& settingsPath,
                             Prompts* prompts)
    : m_prompts(prompts) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    m_arguments = ParseStartupArguments(args);
    m_settings = settingsPath.isEmpty() ? std::make_unique<QtSettingsStore>()
                                        : std::make_unique<QtSettingsStore>(settingsPath);
    m_autosaveDirectory = settingsPath.isEmpty()
                              ? QString::fromStdString(AutosaveStore::DefaultDirectory())
                              : QFileInfo(settingsPath).absoluteDir().filePath("autosave");
    if (!m_prompts) {
        m_prompts = m_arguments.screenshotPath.empty() ? static_cast<Prompts*>(&m_qtPrompts)
                                                       : &m_consolePrompts;
    }
}

EditorStartup::~EditorStartup() {
    m_screenshot.reset();
    m_frame.reset();
    EditorContext& editor = Editor();
    if (editor.prompts == m_prompts) {
        editor.SetPrompts(nullptr);
    }
    if (editor.settings == m_settings.get()) {
        editor.SetSettings(nullptr);
    }
    editor.options.reloadTextures = nullptr;
}

bool EditorStartup::Start() {
    EditorContext& editor = Editor();
    // 1, 2: the program directory, and the settings in the "Brickhaven" location.
    editor.programDirectory =
        TarnoProgramDirectory(QCoreApplication::applicationDirPath().toStdString());
    editor.SetSettings(m_settings.get());
    editor.SetPrompts(m_prompts);
    m_settings->WriteString("General", "Directory", editor.programDirectory);
    // 3 was the constructor's parsing. 4: the settings; their WAD files make the catalogue.
    editor.options.reloadTextures = [] { LoadTextureFiles(Editor().options.textureFiles); };
    editor.options.Initialize(*m_settings);
    // 5: the logo window, painted at once.
    if (m_arguments.showLogo) {
        m_logo = new QSplashScreen(LogoPixmap());
        m_logo->setAttribute(Qt::WA_DeleteOnClose);
        m_logo->show();
        QApplication::processEvents();
    }
    // 6: the random generator.
    editor.random.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
    // 7 to 9: the main window with its recent-file list of four.
    m_frame = std::make_unique<CMainFrame>(*m_settings);
    m_frame->setWindowIcon(ProgramIcon());
    m_frame->SetLogoWindow(m_logo);
    m_qtPrompts.SetParent(m_frame.get());
    if (!m_arguments.screenshotPath.empty()) {
        m_screenshot = std::make_unique<ScreenshotRunner>(
            *m_frame, QString::fromStdString(m_arguments.screenshotPath));
    }
    m_autosave = new AutosaveController(*m_frame, m_autosaveDirectory);
    // 10: the file named on the command line; a failure leaves the editor running.
    if (!m_arguments.fileToOpen.empty()) {
        m_frame->OpenMapFile(QString::fromStdString(m_arguments.fileToOpen));
    }
    // 11: maximised (the size is set too, for desktops without a window manager).
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        m_frame->setGeometry(screen->availableGeometry());
    }
    m_frame->showMaximized();
    if (m_logo) {
        m_logo->raise();
    }
    // Maps a crashed run left behind are offered once the window is up; a screenshot run
    // has nobody to answer.
    if (m_arguments.screenshotPath.empty()) {
        QTimer::singleShot(0, m_autosave.data(), [autosave = m_autosave] {
            if (autosave) {
                autosave->OfferRecovery();
            }
        });
    }
    return true;
}
