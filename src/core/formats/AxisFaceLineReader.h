#pragma once

#include "formats/FaceLineReader.h"

// The 220 (texture-axis) dialect: "[ ux uy uz ushift ] [ vx vy vz vshift ] rotation xscale
// yscale" after the name (21 fields in all).
class AxisFaceLineReader : public FaceLineReader {
public:
    bool Recognizes(std::string_view afterName) const override;
    bool Read(FaceLineText& text, CMapFace& face, int line, FileResult& result) const override;
    FileDiagnosticKind ShortLineKind() const override {
        return FileDiagnosticKind::ShortAxisFaceLine;
    }
};
