#pragma once

#include <optional>
#include <string>
#include <vector>

class CMapDoc;
class CMapFace;
class CMapSolid;

// The values the face properties bar shows and writes: the texture alignment of the selected
// faces and their common texture. A value the faces disagree on is blank (kLeaveUnchanged),
// and a blank value leaves each face's own value when written back.
struct FacePropertyValues {
    static constexpr float kLeaveUnchanged = -99999.0f;
    static constexpr int kShiftLimit = 256;
    static constexpr int kRotationLimit = 359;

    float scaleX = kLeaveUnchanged;
    float scaleY = kLeaveUnchanged;
    float shiftX = kLeaveUnchanged;
    float shiftY = kLeaveUnchanged;
    float rotation = kLeaveUnchanged;
    // The faces' common texture name; empty when they disagree or nothing is selected.
    std::string texture;

    // The common values of faces (all blank for none).
    static FacePropertyValues Merge(const std::vector<CMapFace*>& faces);

    // A field's text: "%.1f", or empty for a blank value.
    static std::string FieldText(float value);
    // A field's value from its text: blank for empty (or all-space) text; text that is no
    // number counts as 0.
    static float FieldValue(const std::string& text);
};

// Writes values into every face: each value that is not blank, then the texture (when
// texture is set) or, with textures shown, the texture coordinates again. The owning solids
// are recorded in one undo step first, the document is marked modified, and its views rebuild
// the solids.
void ApplyFaceProperties(CMapDoc& document, const std::vector<CMapFace*>& faces,
                         const std::vector<CMapSolid*>& owners, const FacePropertyValues& values,
                         const std::optional<std::string>& texture);
