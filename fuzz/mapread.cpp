// Reads any bytes as MAP text, then checks that what the editor writes of the result reads
// back: RMF to the same bytes, MAP text through RMF to the same text, and MAP text as MAP
// without a parse error and with every face line.

#include "FuzzSupport.h"

#include "common/EditorContext.h"
#include "formats/MapFiles.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
// RMF strings hold 254 characters; longer values do not survive the trip through RMF.
bool HasLongValues(const CMapWorld& world) {
    auto longValue = [](const CEditGameClass& object) {
        for (const auto& pair : object.KeyValues()) {
            if (pair.value.size() > 254) {
                return true;
            }
        }
        return false;
    };
    bool found = longValue(world);
    EnumChildren(world, [&](CMapClass* object) {
        found = found ||
                (object->IsType(kTypeMapEntity) && longValue(*static_cast<CMapEntity*>(object)));
        return !found;
    });
    return found;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScopedEditorContext scope;
    SilentPrompts prompts;
    scope.Context().SetPrompts(&prompts);
    scope.Context().showMapErrors = [](const ErrorList&) {};

    CMapWorld world;
    ReadMapData(world, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.map");
    std::string map;
    std::string rmf;
    if (WriteMapData(world, map) != 0 || WriteRmfData(world, rmf) != 0) {
        std::abort();
    }

    CMapWorld fromRmf;
    if (ReadRmfData(fromRmf, rmf, "written.rmf") != 0) {
        std::abort();
    }
    std::string rmfAgain;
    std::string mapAgain;
    WriteRmfData(fromRmf, rmfAgain);
    WriteMapData(fromRmf, mapAgain);
    if (rmfAgain != rmf || (mapAgain != map && !HasLongValues(world))) {
        std::abort();
    }

    // The editor's own MAP text reads back without a fault and keeps every plane. An open
    // solid is reported again (it is kept as it is), but nothing else may be.
    CMapWorld fromMap;
    ReadMapData(fromMap, map, "written.map");
    for (const ErrorRecord& error : LastMapReadReport().errors) {
        if (!IsOpenSolidReport(error.message)) {
            std::abort();
        }
    }
    std::string mapOfMap;
    WriteMapData(fromMap, mapOfMap);
    if (FaceLineCount(mapOfMap) != FaceLineCount(map)) {
        std::abort();
    }
    return 0;
}
