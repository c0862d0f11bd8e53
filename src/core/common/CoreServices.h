#pragma once

#include "common/ErrorList.h"
#include "common/MessageLog.h"
#include "common/Prompts.h"
#include "common/RandomGenerator.h"
#include "common/SettingsStore.h"

#include <memory>
#include <string>

// The services every floor of the editor may use: the message log, the list of a read's
// errors, the prompts, the settings, the random numbers and the program's folder. The editor
// session owns one and installs it for the code below it; prompts and settings always exist
// (console and in-memory defaults until the shell installs its own).
class CoreServices {
public:
    CoreServices();
    virtual ~CoreServices();
    CoreServices(const CoreServices&) = delete;
    CoreServices& operator=(const CoreServices&) = delete;

    // The services installed now. With none installed: the fallback's (the session's
    // process-wide default), or, in a program without a session, services of this floor's own.
    static CoreServices& Installed();
    static void SetFallback(CoreServices& (*fallback)());

    MessageLog messages;
    ErrorList errors;
    RandomGenerator random;

    Prompts& GetPrompts() { return *prompts; }
    void SetPrompts(Prompts* p) { prompts = p ? p : defaultPrompts.get(); }
    SettingsStore& Settings() { return *settings; }
    void SetSettings(SettingsStore* s) { settings = s ? s : defaultSettings.get(); }

    std::unique_ptr<Prompts> defaultPrompts;
    Prompts* prompts = nullptr;
    std::unique_ptr<SettingsStore> defaultSettings;
    SettingsStore* settings = nullptr;

    // Folder of the running program; relative data paths resolve against it (empty: the
    // working directory). See common/ProgramDirectory.h.
    std::string programDirectory;

protected:
    // Makes services the installed ones (null: the process-wide default) and returns the
    // ones installed before.
    static CoreServices* Install(CoreServices* services);
};
