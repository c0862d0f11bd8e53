// Reads any bytes as a prefab library, then loads every prefab's map from it, measures it and
// places a copy in a box, as the new-object bar and the prefab factory do.
#include "SilentPrompts.h"

#include "gamedata/ByteSource.h"
#include "mapobjects/MapClass.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScopedEditorContext scope;
    SilentPrompts prompts;
    scope.Context().SetPrompts(&prompts);
    PrefabRegistry& registry = scope.Context().Prefabs();

    auto library = std::make_unique<CPrefabLibrary>();
    if (library->Load(std::make_unique<MemoryByteSource>(data, size), "fuzz.ol") != 1) {
        return 0;
    }
    CPrefabLibrary* added = registry.AddLibrary(std::move(library));
    for (const auto& prefab : added->Prefabs()) {
        if (prefab->Name().size() > CPrefab::kMaxName ||
            prefab->Notes().size() > CPrefab::kMaxNotes) {
            __builtin_trap();
        }
        if (!prefab->EnsureLoaded()) {
            continue;
        }
        BoundBox bounds;
        if (prefab->GetBounds(bounds)) {
            BoundBox box;
            box.mins = {0, 0, 0};
            box.maxs = {64, 64, 64};
            delete prefab->CreateInBox(box);
        }
        prefab->Unload();
    }
    return 0;
}
