#include "formats/StandardFaceLineWriter.h"

#include "formats/FileResult.h"
#include "formats/MapNumbers.h"
#include "mapobjects/MapFace.h"

void StandardFaceLineWriter::Write(std::string& out, const CMapFace& face,
                                   const FacePosition& position, FileResult& result) const {
    const ClassicTextureFit fit = face.FitClassic();
    if (!fit.exact) {
        result.Add(FileDiagnosticKind::InexactStandardFace, 0, position.solidId, face.TextureName())
            .index = position.faceIndex;
    }
    char text[3 * kMapDoubleRoom + 2 * kMapFixed6Room + 8];
    char* end = WriteMapDouble(text, fit.shiftX);
    *end++ = ' ';
    end = WriteMapDouble(end, fit.shiftY);
    *end++ = ' ';
    end = WriteMapDouble(end, fit.rotation);
    *end++ = ' ';
    end = WriteMapFixed6Double(end, fit.scaleX);
    *end++ = ' ';
    end = WriteMapFixed6Double(end, fit.scaleY);
    out.append(text, end);
}
