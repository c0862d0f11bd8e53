// Reads any bytes as MAP text, then checks that what the editor writes of the result reads
// back: RMF to the same bytes, MAP text through RMF to the same text, and MAP text as MAP
// without a parse error and with every face line.

#include "FuzzSupport.h"

#include "formats/MapTextReader.h"
#include "formats/RmfReader.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "session/EditorContext.h"

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

    CMapWorld world;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // MAP text always loads, whatever it holds.
    if (!MapTextReader::Read(world, text, nullptr).Ok()) {
        std::abort();
    }
    std::string map;
    std::string rmf;
    if (!WriteMapText(world, map).Ok() || !WriteRmf(world, rmf).Ok()) {
        std::abort();
    }

    CMapWorld fromRmf;
    if (!RmfReader::Read(fromRmf, rmf).Ok()) {
        std::abort();
    }
    std::string rmfAgain;
    std::string mapAgain;
    WriteRmf(fromRmf, rmfAgain);
    WriteMapText(fromRmf, mapAgain);
    if (rmfAgain != rmf || (mapAgain != map && !HasLongValues(world))) {
        std::abort();
    }

    // The editor's own MAP text reads back without a fault and keeps every plane. An open
    // solid is reported again (it is kept as it is), but nothing else may be.
    CMapWorld fromMap;
    if (!OnlyOpenSolids(MapTextReader::Read(fromMap, map, nullptr))) {
        std::abort();
    }
    std::string mapOfMap;
    WriteMapText(fromMap, mapOfMap);
    if (FaceLineCount(mapOfMap) != FaceLineCount(map)) {
        std::abort();
    }
    return 0;
}
