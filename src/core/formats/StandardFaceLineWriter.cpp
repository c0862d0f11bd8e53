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
    AppendMapDouble(out, fit.shiftX);
    out += ' ';
    AppendMapDouble(out, fit.shiftY);
    out += ' ';
    AppendMapDouble(out, fit.rotation);
    out += ' ';
    AppendMapFixed6Double(out, fit.scaleX);
    out += ' ';
    AppendMapFixed6Double(out, fit.scaleY);
}
