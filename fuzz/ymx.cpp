// Feeds arbitrary text to the game data reader and exercises every lookup on what it built.
#include "SilentPrompts.h"
#include "gamedata/GameDataSet.h"
#include "session/EditorContext.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScopedEditorContext scoped;
    SilentPrompts prompts;
    scoped.Context().SetPrompts(&prompts);
    // Keep palette paths in the input away from real files.
    scoped.Context().programDirectory = "/nonexistent-brickhaven-fuzz";

    GameDataSet set;
    std::string text(reinterpret_cast<const char*>(data), size);
    set.LoadFromText(text, "fuzz.ymx");

    std::size_t touched = 0;
    for (int position = 0; position < set.ClassCount(); ++position) {
        EntityClassDef* entityClass = set.ClassAt(position);
        if (set.FindClass(entityClass->name) == nullptr) {
            __builtin_trap();
        }
        if (entityClass->SlotCount() > static_cast<int>(EntityClassDef::kMaxSlots)) {
            __builtin_trap();
        }
        for (int slot = 0; slot < entityClass->SlotCount(); ++slot) {
            ClassVariable* variable = entityClass->VariableAt(slot);
            if (variable == nullptr) {
                __builtin_trap();
            }
            int found = -1;
            if (entityClass->FindVariable(variable->name, &found) == nullptr || found < 0 ||
                found > slot) {
                __builtin_trap();
            }
            variable->ResetToDefault();
            touched += variable->FormatKeyValue().value.size();
            for (const VariableChoice& item : variable->items) {
                touched += variable->ItemCaption(item.value) != nullptr;
                touched += static_cast<std::size_t>(variable->ItemValue(item.caption) != 0);
            }
        }
    }
    return touched == static_cast<std::size_t>(-1);
}
