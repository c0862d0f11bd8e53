#include "common/CoreServices.h"

namespace {
CoreServices*& InstalledCore() {
    static CoreServices* installed = nullptr;
    return installed;
}

CoreServices& (*fallbackCore)() = nullptr;

CoreServices& DefaultCore() {
    static CoreServices services;
    return services;
}
} // namespace

CoreServices::CoreServices()
    : defaultPrompts(std::make_unique<ConsolePrompts>()), prompts(defaultPrompts.get()),
      defaultSettings(std::make_unique<MemorySettingsStore>()), settings(defaultSettings.get()) {}

CoreServices::~CoreServices() = default;

CoreServices& CoreServices::Installed() {
    CoreServices* installed = InstalledCore();
    if (installed) {
        return *installed;
    }
    return fallbackCore ? fallbackCore() : DefaultCore();
}

void CoreServices::SetFallback(CoreServices& (*fallback)()) {
    fallbackCore = fallback;
}

CoreServices* CoreServices::Install(CoreServices* services) {
    CoreServices* previous = InstalledCore();
    InstalledCore() = services;
    return previous;
}
