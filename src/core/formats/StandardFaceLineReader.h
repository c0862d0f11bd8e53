#pragma once

#include "formats/FaceLineReader.h"

// The standard dialect: x shift, y shift, rotation, x scale and y scale of the classic
// projection after the name (15 fields in all). It takes any line no other dialect
// recognizes.
class StandardFaceLineReader : public FaceLineReader {
public:
    bool Recognizes(std::string_view afterName) const override;
    bool Read(FaceLineText& text, CMapFace& face, int line, FileResult& result) const override;
    FileDiagnosticKind ShortLineKind() const override {
        return FileDiagnosticKind::ShortStandardFaceLine;
    }
};
