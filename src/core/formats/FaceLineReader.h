#pragma once

#include "formats/FileDiagnostic.h"

#include <string_view>

class CMapFace;
class FaceLineText;
struct FileResult;

// Reads the fields of a face line that follow its texture name in one MAP dialect. The
// shared MAP text reader reads the three plane points and the name, asks each dialect
// whether it recognizes the rest, and reads the trailing integers some games' tools add.
class FaceLineReader {
public:
    virtual ~FaceLineReader() = default;

    // True when the text after the texture name is in this dialect.
    virtual bool Recognizes(std::string_view afterName) const = 0;
    // Reads the fields from the front of text into face (which holds the texture named),
    // moving text past them. Each field read before one that is missing or no number is
    // kept. False when a field is missing; a face whose complete line gives odd texture
    // settings is reported to result with line.
    virtual bool Read(FaceLineText& text, CMapFace& face, int line, FileResult& result) const = 0;
    // What a line of this dialect that ends early is reported as.
    virtual FileDiagnosticKind ShortLineKind() const = 0;
};
