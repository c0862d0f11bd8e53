#include "formats/MapTextParts.h"

#include "formats/MapNumbers.h"
#include "formats/MapResults.h"
#include "formats/MapTextStream.h"
#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/VisibilityTest.h"

#include <cctype>
#include <memory>
#include <string>
#include <unordered_map>

namespace {
bool StartsWith(std::string_view line, char c) {
    return !line.empty() && line.front() == c;
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Splits a keyvalue line ("key" "value", any white space between) into key and value.
bool SplitKeyValueLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t keyEnd = line.find('"', 1);
    if (keyEnd == std::string_view::npos) {
        return false;
    }
    // Texts end at a NUL byte, as everywhere else in the editor.
    key = line.substr(1, keyEnd - 1);
    key = key.substr(0, key.find('\0'));
    std::size_t valueStart = keyEnd + 1;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t')) {
        ++valueStart;
    }
    if (valueStart >= line.size() || line[valueStart] != '"') {
        return false;
    }
    const std::size_t valueEnd = line.find('"', valueStart + 1);
    if (valueEnd == std::string_view::npos) {
        return false;
    }
    value = line.substr(valueStart + 1, valueEnd - valueStart - 1);
    value = value.substr(0, value.find('\0'));
    return true;
}

bool ShouldWrite(const MapTextStream& stream, const CMapClass& object) {
    if (!stream.visibleOnly || !stream.world) {
        return true;
    }
    return PassesVisibilityTest(object, *stream.world, stream.world->DisplayFilterFlags());
}

void AppendKeyValueLine(std::string& out, std::string_view key, std::string_view value) {
    AppendMapText(out, key, true);
    out += ' ';
    AppendMapText(out, value, true);
    out += '\n';
}
} // namespace

void ReadMapKeyValues(MapTextStream& stream, CEditGameClass& object,
                      std::vector<CEditGameClass::KeyValue>& pairs, bool isWorld) {
    pairs.clear();
    std::string_view line;
    if (!stream.PeekLine(line) || !StartsWith(line, '"')) {
        return;
    }
    // Keys are unique without regard to case; a repeated key replaces the earlier value.
    std::unordered_map<std::string, std::size_t> index;
    while (stream.ReadLine(line)) {
        if (!StartsWith(line, '"')) {
            stream.PushBack(line);
            return;
        }
        std::string_view key;
        std::string_view value;
        if (!SplitKeyValueLine(line, key, value)) {
            stream.ParseError("a keyvalue line without its quotes ends the keyvalues");
            return;
        }
        // The keys kept in fields of their own are told apart without regard to case, as all
        // keys are: an "Angle" pair beside the angle field would be written out twice.
        const std::string keyText(key);
        if (EqualsIgnoreCase(keyText, "classname")) {
            object.SetClass(std::string(value));
        } else if (EqualsIgnoreCase(keyText, "angle")) {
            object.SetAngle(ParseMapInteger(value));
        } else if (EqualsIgnoreCase(keyText, "spawnflags")) {
            object.SetSpawnFlags(static_cast<std::uint32_t>(ParseMapInteger(value)));
        } else if (key == "wad" && (!isWorld || value.empty())) {
            // Only the world's names the map's texture files; an empty one names none.
        } else {
            if (isWorld && key == "wad") {
                // Kept as the world's own pair: the map's texture files go with it through
                // RMF and back to MAP.
                stream.wad = value;
            }
            const std::string_view fieldKey = key.substr(0, CEditGameClass::kMaxKey);
            std::string fieldValue(value.substr(0, CEditGameClass::kMaxValue));
            auto [found, added] = index.emplace(LowerCase(fieldKey), pairs.size());
            if (added) {
                pairs.push_back({std::string(fieldKey), std::move(fieldValue)});
            } else {
                pairs[found->second].value = std::move(fieldValue);
            }
        }
    }
}

int ReadMapSolidList(MapTextStream& stream, CMapClass& parent) {
    int count = 0;
    std::string_view line;
    while (stream.ReadLine(line)) {
        if (!StartsWith(line, '{')) {
            stream.PushBack(line);
            break;
        }
        auto solid = std::make_unique<CMapSolid>();
        if (solid->SerializeMAP(stream, false) == MAP_PARSE_ERROR) {
            ++stream.droppedSolids;
        } else {
            parent.AddChild(solid.release());
        }
        if (count % 10 == 0) {
            stream.ReportProgress();
        }
        ++count;
    }
    return count;
}

void ReadMapClosingBrace(MapTextStream& stream, const char* objectName) {
    std::string_view line;
    if (!stream.ReadLine(line)) {
        stream.ParseError((std::string("the file ends inside ") + objectName).c_str());
        return;
    }
    if (!StartsWith(line, '}')) {
        stream.PushBack(line);
        stream.ParseError((std::string("\"}\" expected to close ") + objectName).c_str());
    }
}

void AppendMapText(std::string& out, std::string_view text, bool quoted) {
    // A quote or a line break inside a quoted text, or white space inside a texture name,
    // would change how the line reads back.
    const char* breaking = quoted ? "\"\n\r" : " \t\n\r\v\f";
    if (quoted) {
        out += '"';
    }
    if (text.find_first_of(breaking) == std::string_view::npos) {
        out += text;
    } else {
        for (char c : text) {
            if (quoted) {
                out += c == '"' ? '\'' : (c == '\n' || c == '\r' ? ' ' : c);
            } else {
                out += std::isspace(static_cast<unsigned char>(c)) ? '_' : c;
            }
        }
    }
    if (quoted) {
        out += '"';
    }
}

void WriteMapKeyValues(MapTextStream& stream, const CEditGameClass& object,
                       const std::string* worldWad, const CMapEntity* pointEntity) {
    std::string& out = stream.Out();
    AppendKeyValueLine(out, "classname", object.ClassName());
    if (object.Angle() != 0) {
        AppendKeyValueLine(out, "angle", std::to_string(object.Angle()));
    }
    if (object.SpawnFlags() != 0) {
        AppendKeyValueLine(out, "spawnflags",
                           std::to_string(static_cast<std::int32_t>(object.SpawnFlags())));
    }
    // The world's own "wad" pair is written in its place, as worldWad says; a world without
    // one gets the line after its other pairs. The world's "mapversion" says that its face
    // lines give texture axes (220); a standard map keeps whatever its file had.
    bool wadWritten = false;
    constexpr std::string_view kMapVersion = "mapversion";
    const bool axisDialect = stream.dialect == MapDialect::TextureAxes;
    if (worldWad && axisDialect && !object.GetKeyValue(std::string(kMapVersion))) {
        AppendKeyValueLine(out, kMapVersion, "220");
    }
    for (const CEditGameClass::KeyValue& pair : object.KeyValues()) {
        if (pair.key.empty()) {
            continue;
        }
        if (worldWad && EqualsIgnoreCase(pair.key, "wad")) {
            if (!wadWritten) {
                AppendKeyValueLine(out, "wad", *worldWad);
                wadWritten = true;
            }
            continue;
        }
        if (worldWad && pair.key == kMapVersion) {
            if (axisDialect) {
                AppendKeyValueLine(out, kMapVersion, "220");
                continue;
            }
            // A map of texture axes written as standard lines loses the mark.
            if (stream.world && stream.world->Dialect() == MapDialect::TextureAxes) {
                continue;
            }
        }
        AppendKeyValueLine(out, pair.key, pair.value);
    }
    if (worldWad && !wadWritten) {
        AppendKeyValueLine(out, "wad", *worldWad);
    }
    if (pointEntity) {
        const Vector& origin = pointEntity->Origin();
        std::string text;
        AppendMapNumber(text, origin.x);
        text += ' ';
        AppendMapNumber(text, origin.y);
        text += ' ';
        AppendMapNumber(text, origin.z);
        AppendKeyValueLine(out, "origin", text);
    }
}

bool WriteMapSolidsOf(MapTextStream& stream, const CMapClass& parent) {
    for (CMapClass* child : parent.Children()) {
        if (child->IsType(kTypeMapEntity) || !ShouldWrite(stream, *child)) {
            continue;
        }
        if (child->IsType(kTypeMapSolid)) {
            if (child->SerializeMAP(stream, true) == MAP_STREAM_ERROR) {
                return false;
            }
        } else if (child->IsType(kTypeMapGroup) && !WriteMapSolidsOf(stream, *child)) {
            return false;
        }
    }
    return true;
}

bool WriteMapEntitiesOf(MapTextStream& stream, const CMapClass& parent) {
    for (CMapClass* child : parent.Children()) {
        if (!ShouldWrite(stream, *child)) {
            continue;
        }
        if (child->IsType(kTypeMapEntity)) {
            if (child->SerializeMAP(stream, true) == MAP_STREAM_ERROR) {
                return false;
            }
        } else if (child->IsType(kTypeMapGroup) && !WriteMapEntitiesOf(stream, *child)) {
            return false;
        }
    }
    return true;
}
