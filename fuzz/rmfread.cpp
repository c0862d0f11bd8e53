// Reads any bytes as an RMF file; whatever loads must write, read back and write again to
// the same bytes, and its MAP text must read.

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

    std::string map;
    WriteMapData(world, map);
    CMapWorld fromMap;
    ReadMapData(fromMap, map, "written.map");
    return 0;
}
