// Reads any bytes as an RMF file; whatever loads must write, read back and write again to
// the same bytes, and every line of its MAP text must read.

#include "FuzzSupport.h"

#include "formats/MapTextReader.h"
#include "formats/RmfReader.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"

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
    if (!RmfReader::Read(world, bytes).Ok()) {
        return 0;
    }
    std::string rmf;
    if (!WriteRmf(world, rmf).Ok()) {
        std::abort();
    }
    CMapWorld again;
    if (!RmfReader::Read(again, rmf).Ok()) {
        std::abort();
    }
    std::string rmfAgain;
    WriteRmf(again, rmfAgain);
    if (rmfAgain != rmf) {
        std::abort();
    }

    // Solids whose planes make no solid may drop out of the MAP text; every line must read.
    std::string map;
    WriteMapText(world, map);
    CMapWorld fromMap;
    if (!OnlyDroppedOrOpenSolids(MapTextReader::Read(fromMap, map, nullptr))) {
        std::abort();
    }
    return 0;
}
