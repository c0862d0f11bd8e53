// Reads any bytes as an RMF file; whatever loads must write, read back and write again to
// the same bytes, and every line of its MAP text must read.

#include "FuzzSupport.h"

#include "common/EditorContext.h"
#include "formats/MapFiles.h"
#include "mapobjects/MapWorld.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScopedEditorContext scope;
    SilentPrompts prompts;
    scope.Context().SetPrompts(&prompts);

    CMapWorld world;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (ReadRmfData(world, bytes, "fuzz.rmf") != 0) {
        return 0;
    }
    std::string rmf;
    if (WriteRmfData(world, rmf) != 0) {
        std::abort();
    }
    CMapWorld again;
    if (ReadRmfData(again, rmf, "written.rmf") != 0) {
        std::abort();
    }
    std::string rmfAgain;
    WriteRmfData(again, rmfAgain);
    if (rmfAgain != rmf) {
        std::abort();
    }

    // Solids whose planes make no solid may drop out of the MAP text; every line must read.
    std::string map;
    WriteMapData(world, map);
    CMapWorld fromMap;
    const std::size_t errorsBefore = scope.Context().errors.size();
    ReadMapData(fromMap, map, "written.map");
    if (!OnlyDroppedSolids(scope.Context().errors, errorsBefore)) {
        std::abort();
    }
    return 0;
}
