#include "formats/StandardFaceLineReader.h"

#include "formats/FaceLineText.h"
#include "formats/MapObjectAccess.h"
#include "mapobjects/MapFace.h"

bool StandardFaceLineReader::Recognizes(std::string_view) const {
    return true;
}

bool StandardFaceLineReader::Read(FaceLineText& text, CMapFace& face, int, FileResult&) const {
    // x shift, y shift, rotation, x scale, y scale. Each number goes to the face as it is read:
    // a line that ends early leaves the rest as they were. (Gathering them first and storing
    // them in pairs made each face wait for its numbers to reach memory.)
    for (int field = 0; field < 5; ++field) {
        double number = 0;
        if (!text.TakeNumber(number)) {
            return false;
        }
        switch (field) {
        case 0:
            face.SetShift(number, face.ShiftY());
            break;
        case 1:
            face.SetShift(face.ShiftX(), number);
            break;
        case 2:
            MapObjectAccess::StoreRotation(face, number);
            break;
        case 3:
            face.SetScale(number, face.ScaleY());
            break;
        default:
            face.SetScale(face.ScaleX(), number);
            break;
        }
    }
    return true;
}
