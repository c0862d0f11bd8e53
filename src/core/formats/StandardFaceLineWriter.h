#pragma once

#include "formats/FaceLineWriter.h"

// The standard dialect: the shift, rotation and scales of the classic projection nearest to
// each face's texture; faces with axes that projection cannot give are reported.
class StandardFaceLineWriter : public FaceLineWriter {
public:
    void Write(std::string& out, const CMapFace& face, const FacePosition& position,
               FileResult& result) const override;
};
