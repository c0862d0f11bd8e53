#include "EditingTestSupport.h"

#include "editing/FacePropertyValues.h"

namespace {

class FacePropertiesTest : public EditingTest {
protected:
    void SelectFaces(std::initializer_list<std::pair<CMapSolid*, int>> faces) {
        doc->SelectFace(nullptr, nullptr, SELECT_CLEAR);
        for (auto [solid, index] : faces) {
            doc->SelectFace(&solid->Face(index), solid, SELECT_ADD);
        }
        doc->SelectFace(nullptr, nullptr, SELECT_UPDATE);
    }
    void Apply(const FacePropertyValues& values,
               const std::optional<std::string>& texture = std::nullopt) {
        ApplyFaceProperties(*doc, doc->SelectedFaces(), doc->FaceOwners(), values, texture);
    }
};

TEST_F(FacePropertiesTest, DisagreeingValuesAreBlankAndApplyingKeepsThem) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({100, 0, 0}, {164, 64, 64}, "BRICK"));
    a->Face(0).SetShift(16, 8);
    b->Face(2).SetShift(32, 8);
    SelectFaces({{a, 0}, {b, 2}});

    const FacePropertyValues shown = FacePropertyValues::Merge(doc->SelectedFaces());
    EXPECT_EQ(shown.shiftX, FacePropertyValues::kLeaveUnchanged);
    EXPECT_EQ(shown.shiftY, 8.0f);
    EXPECT_EQ(shown.scaleX, 1.0f);
    EXPECT_EQ(shown.rotation, 0.0f);
    EXPECT_EQ(shown.texture, ""); // WALL and BRICK
    EXPECT_EQ(FacePropertyValues::FieldText(shown.shiftX), "");
    EXPECT_EQ(FacePropertyValues::FieldText(shown.shiftY), "8.0");

    // The fields as shown go back unchanged: blank leaves each face its own shift.
    FacePropertyValues typed = shown;
    typed.rotation = 15.0f;
    Apply(typed);
    EXPECT_EQ(a->Face(0).ShiftX(), 16.0f);
    EXPECT_EQ(b->Face(2).ShiftX(), 32.0f);
    EXPECT_EQ(a->Face(0).Rotation(), 15.0f);
    EXPECT_EQ(b->Face(2).Rotation(), 15.0f);
    EXPECT_STREQ(b->Face(2).TextureName(), "BRICK");
    // Faces that were not selected keep their values.
    EXPECT_EQ(a->Face(1).Rotation(), 0.0f);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FacePropertiesTest, HalfScaleOnThreeFacesIsOneUndoStep) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    a->Face(1).SetShift(4, 4);
    SelectFaces({{a, 0}, {a, 1}, {b, 3}});
    const std::string before = Snapshot();

    FacePropertyValues typed;
    typed.scaleX = FacePropertyValues::FieldValue("0.5");
    Apply(typed, std::string("STONE"));
    for (CMapFace* face : doc->SelectedFaces()) {
        EXPECT_EQ(face->ScaleX(), 0.5f);
        EXPECT_EQ(face->ScaleY(), 1.0f);
        EXPECT_STREQ(face->TextureName(), "STONE");
    }
    EXPECT_EQ(a->Face(1).ShiftX(), 4.0f);
    EXPECT_STREQ(a->Face(2).TextureName(), "WALL");
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Face Properties");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(FacePropertiesTest, FieldTextRules) {
    EXPECT_EQ(FacePropertyValues::FieldValue(""), FacePropertyValues::kLeaveUnchanged);
    EXPECT_EQ(FacePropertyValues::FieldValue("   "), FacePropertyValues::kLeaveUnchanged);
    EXPECT_EQ(FacePropertyValues::FieldValue("abc"), 0.0f);
    EXPECT_EQ(FacePropertyValues::FieldValue("-12.5"), -12.5f);
    EXPECT_EQ(FacePropertyValues::FieldText(0.25f), "0.2"); // one decimal, as printf rounds
    EXPECT_EQ(FacePropertyValues::FieldText(359.0f), "359.0");
    // Nothing selected: every field blank, no texture.
    const FacePropertyValues none = FacePropertyValues::Merge({});
    EXPECT_EQ(none.scaleY, FacePropertyValues::kLeaveUnchanged);
    EXPECT_TRUE(none.texture.empty());
}

TEST_F(FacePropertiesTest, ZeroScaleIsWrittenAsTyped) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    SelectFaces({{a, 0}});
    FacePropertyValues typed;
    typed.scaleY = 0.0f;
    Apply(typed);
    EXPECT_EQ(a->Face(0).ScaleY(), 0.0f);
}

TEST_F(FacePropertiesTest, SelectedFacesReachTheFaceBarAndShowHighlighted) {
    struct Recorder : FacePropertiesSink {
        std::vector<CMapFace*> faces;
        std::vector<CMapSolid*> owners;
        void SetFaces(const std::vector<CMapFace*>& f, const std::vector<CMapSolid*>& o) override {
            faces = f;
            owners = o;
        }
    } bar;
    Editor().faceProperties = &bar;
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    SelectFaces({{a, 0}, {a, 3}});
    EXPECT_EQ(bar.faces.size(), 2u);
    ASSERT_EQ(bar.owners.size(), 1u);
    EXPECT_TRUE(a->Face(3).IsSelected());
    doc->SelectFace(nullptr, nullptr, SELECT_CLEAR | SELECT_UPDATE);
    EXPECT_TRUE(bar.faces.empty());
    EXPECT_FALSE(a->Face(3).IsSelected());
    Editor().faceProperties = nullptr;
}

} // namespace
