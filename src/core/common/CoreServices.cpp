#include "common/CoreServices.h"

#include "common/InstalledSlot.h"

CoreServices::CoreServices()
    : defaultPrompts(std::make_unique<ConsolePrompts>()), prompts(defaultPrompts.get()),
      defaultSettings(std::make_unique<MemorySettingsStore>()), settings(defaultSettings.get()) {}

CoreServices::~CoreServices() = default;

CoreServices& CoreServices::Installed() {
    return InstalledSlot<CoreServices>::Get();
}

void CoreServices::SetFallback(CoreServices& (*fallback)()) {
    InstalledSlot<CoreServices>::SetFallback(fallback);
}

CoreServices* CoreServices::Install(CoreServices* services) {
    return InstalledSlot<CoreServices>::Swap(services);
}
