#include "editing/FacePropertyValues.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {
void MergeValue(float& held, float value) {
    if (held != value) {
        held = FacePropertyValues::kLeaveUnchanged;
    }
}

// A field left as it shows the face's own value keeps that value in full: the field shows
// one decimal, and writing that back would move the texture of every face applied to.
double Pick(float value, double current) {
    if (value == FacePropertyValues::kLeaveUnchanged ||
        FacePropertyValues::FieldText(value) ==
            FacePropertyValues::FieldText(static_cast<float>(current))) {
        return current;
    }
    return value;
}
} // namespace

FacePropertyValues FacePropertyValues::Merge(const std::vector<CMapFace*>& faces) {
    FacePropertyValues values;
    if (faces.empty()) {
        return values;
    }
    const CMapFace& first = *faces.front();
    values.scaleX = first.ScaleX();
    values.scaleY = first.ScaleY();
    values.shiftX = first.ShiftX();
    values.shiftY = first.ShiftY();
    values.rotation = first.Rotation();
    values.texture = first.TextureName();
    for (std::size_t i = 1; i < faces.size(); ++i) {
        const CMapFace& face = *faces[i];
        MergeValue(values.scaleX, face.ScaleX());
        MergeValue(values.scaleY, face.ScaleY());
        MergeValue(values.shiftX, face.ShiftX());
        MergeValue(values.shiftY, face.ShiftY());
        MergeValue(values.rotation, face.Rotation());
        if (values.texture != face.TextureName()) {
            values.texture.clear();
        }
    }
    return values;
}

std::string FacePropertyValues::FieldText(float value) {
    if (value == kLeaveUnchanged) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

float FacePropertyValues::FieldValue(const std::string& text) {
    bool blank = true;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            blank = false;
            break;
        }
    }
    if (blank) {
        return kLeaveUnchanged;
    }
    return static_cast<float>(std::atof(text.c_str()));
}

void ApplyFaceProperties(CMapDoc& document, const std::vector<CMapFace*>& faces,
                         const std::vector<CMapSolid*>& owners, const FacePropertyValues& values,
                         const std::optional<std::string>& texture) {
    if (faces.empty()) {
        return;
    }
    BeginUndoStep(document, "Face Properties");
    HistoryRecorder& history = document.Services().ActiveHistory();
    const bool texturesShown = document.World() && document.World()->TexturesShown();
    for (CMapSolid* solid : owners) {
        history.Keep(solid);
    }
    for (CMapFace* face : faces) {
        face->SetScale(Pick(values.scaleX, face->ScaleX()), Pick(values.scaleY, face->ScaleY()));
        face->SetShift(Pick(values.shiftX, face->ShiftX()), Pick(values.shiftY, face->ShiftY()));
        face->SetRotation(Pick(values.rotation, face->Rotation()));
        if (texture && !texture->empty()) {
            face->SetTextureName(*texture);
        } else if (texturesShown) {
            face->CalcTextureCoordinates();
        }
    }
    CUpdateHint hint;
    for (CMapSolid* solid : owners) {
        hint.objects.push_back(solid);
        hint.box.UpdateBounds(solid->Bounds());
    }
    document.UpdateAllViews(UPDATE_OBJECTS | UPDATE_3D_ONLY, &hint);
    document.SetModified();
}
