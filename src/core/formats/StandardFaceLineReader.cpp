#include "formats/StandardFaceLineReader.h"

#include "formats/FaceLineText.h"
#include "formats/MapObjectAccess.h"
#include "mapobjects/MapFace.h"

bool StandardFaceLineReader::Recognizes(std::string_view) const {
    return true;
}

bool StandardFaceLineReader::Read(FaceLineText& text, CMapFace& face, int, FileResult&) const {
    double numbers[5] = {face.ShiftX(), face.ShiftY(), face.Rotation(), face.ScaleX(),
                         face.ScaleY()};
    bool complete = true;
    for (double& number : numbers) {
        if (!text.TakeNumber(number)) {
            complete = false;
            break;
        }
    }
    face.SetShift(numbers[0], numbers[1]);
    MapObjectAccess::StoreRotation(face, numbers[2]);
    face.SetScale(numbers[3], numbers[4]);
    return complete;
}
