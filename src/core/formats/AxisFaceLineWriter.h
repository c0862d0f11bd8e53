#pragma once

#include "formats/FaceLineWriter.h"

// The 220 (texture-axis) dialect: each face's axes as the compile tools build them, with
// its shifts, rotation and scales. Every face can be written exactly.
class AxisFaceLineWriter : public FaceLineWriter {
public:
    void Write(std::string& out, const CMapFace& face, const FacePosition& position,
               FileResult& result) const override;
};
