#pragma once

#include "formats/FileDiagnostic.h"

#include <cstddef>
#include <string>
#include <vector>

// The outcome of reading or writing a map: whether it succeeded, and everything found on
// the way, in the order found.
struct FileResult {
    std::vector<FileDiagnostic> diagnostics;
    // MAP reads: solids left out because their lines make no solid.
    int droppedSolids = 0;
    // MAP reads: the world's "wad" value.
    std::string wad;

    bool Ok() const;
    // True when some diagnostic is a MAP parse error.
    bool HasParseErrors() const;
    std::size_t Count(FileDiagnosticKind kind) const;

    FileDiagnostic& Add(FileDiagnosticKind kind, int line = 0, std::uint32_t objectId = 0,
                        std::string detail = {});
};
