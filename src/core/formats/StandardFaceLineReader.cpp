#include "formats/StandardFaceLineReader.h"

#include "formats/FaceLineText.h"
#include "formats/MapObjectAccess.h"
#include "mapobjects/MapFace.h"

bool StandardFaceLineReader::Recognizes(std::string_view) const {
    return true;
}

bool StandardFaceLineReader::Read(FaceLineText& text, CMapFace& face, int, FileResult&) const {
    // Each number goes to the face as it is read, one at a time: a line that ends early
    // leaves the rest as they were. (Gathering them first and storing them in pairs made each
    // face wait for its numbers to reach memory.)
    double number = 0;
    if (!text.TakeNumber(number)) {
        return false;
    }
    face.SetShift(number, face.ShiftY());
    if (!text.TakeNumber(number)) {
        return false;
    }
    face.SetShift(face.ShiftX(), number);
    if (!text.TakeNumber(number)) {
        return false;
    }
    MapObjectAccess::StoreRotation(face, number);
    if (!text.TakeNumber(number)) {
        return false;
    }
    face.SetScale(number, face.ScaleY());
    if (!text.TakeNumber(number)) {
        return false;
    }
    face.SetScale(face.ScaleX(), number);
    return true;
}
