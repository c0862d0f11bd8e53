#pragma once

#include "common/Prompts.h"
#include "document/MapWads.h"
#include "formats/FileAccess.h"
#include "formats/FileResult.h"
#include "formats/MapTextWriter.h"
#include "formats/RmfWriter.h"
#include "mapobjects/MapWorld.h"

#include <cstddef>
#include <string>
#include <string_view>

// Prompts that show nothing, so a fuzzing run does not flood the terminal.
class SilentPrompts : public ConsolePrompts {
public:
    void Message(const std::string&, Icon, const std::string&) override {}
    Answer YesNo(const std::string&, Icon, const std::string&) override { return Answer::Yes; }
};

// Lines of MAP text that are face lines (begin with "(").
inline std::size_t FaceLineCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        count += text[at] == '(' ? 1 : 0;
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            break;
        }
        at = end + 1;
    }
    return count;
}

// Every MAP parse error of result is a solid whose faces leave it open (it is kept as it is,
// so reading the editor's own MAP text of it reports it again).
inline bool OnlyOpenSolids(const FileResult& result) {
    for (const FileDiagnostic& diagnostic : result.diagnostics) {
        if (IsMapParseError(diagnostic.kind) && diagnostic.kind != FileDiagnosticKind::OpenSolid) {
            return false;
        }
    }
    return true;
}

// Every MAP parse error of result drops a solid whose planes make no solid or reports an
// open solid: every line the editor writes must read back as the line it was.
inline bool OnlyDroppedOrOpenSolids(const FileResult& result) {
    for (const FileDiagnostic& diagnostic : result.diagnostics) {
        if (IsMapParseError(diagnostic.kind) &&
            diagnostic.kind != FileDiagnosticKind::UnbuildableSolid &&
            diagnostic.kind != FileDiagnosticKind::OpenSolid) {
            return false;
        }
    }
    return true;
}

// The editor's MAP text and RMF data of world, as its exports write them.
inline FileResult WriteMapText(const CMapWorld& world, std::string& out) {
    out.clear();
    MapWriteOptions options;
    options.wad = ComposeExportWad(world, "", "");
    return MapTextWriter::Write(world, SinkInto(out), options);
}

inline FileResult WriteRmf(const CMapWorld& world, std::string& out) {
    out.clear();
    return RmfWriter::Write(world, SinkInto(out));
}
