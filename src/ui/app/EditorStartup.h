#pragma once

#include "app/AutosaveController.h"
#include "app/QtPrompts.h"
#include "app/QtSettingsStore.h"
#include "common/StartupArguments.h"

#include <QPointer>
#include <QSplashScreen>
#include <QStringList>

#include <memory>

class CMainFrame;
class ScreenshotRunner;

// Starts the editor in its fixed order: program directory, settings, command line, logo
// window, random seed, recent files, main window, the file named on the command line, and
// the main window shown maximised.
class EditorStartup {
public:
    // settingsPath empty: the user's INI file ($XDG_CONFIG_HOME/Brickhaven/Brickhaven.ini).
    // prompts null: Qt dialogs parented to the main window, or, for a screenshot run that
    // nobody watches, standard error (a dialog would wait for an answer forever).
    // Autosaves go to $XDG_STATE_HOME/Brickhaven/autosave, or, with a settings file of its
    // own, to the folder "autosave" beside that file.
    explicit EditorStartup(const QStringList& arguments, const QString& settingsPath = {},
                           Prompts* prompts = nullptr);
    ~EditorStartup();

    // Runs the start-up steps; false when the main window could not be made.
    bool Start();
    CMainFrame* MainFrame() const { return m_frame.get(); }
    const StartupArguments& Arguments() const { return m_arguments; }
    QSplashScreen* Logo() const { return m_logo; }
    QtSettingsStore& Settings() { return *m_settings; }
    AutosaveController* Autosave() const { return m_autosave; }

private:
    StartupArguments m_arguments;
    std::unique_ptr<QtSettingsStore> m_settings;
    QtPrompts m_qtPrompts;
    ConsolePrompts m_consolePrompts;
    Prompts* m_prompts;
    std::unique_ptr<CMainFrame> m_frame;
    QPointer<QSplashScreen> m_logo;
    std::unique_ptr<ScreenshotRunner> m_screenshot;
    QString m_autosaveDirectory;
    QPointer<AutosaveController> m_autosave;
};
