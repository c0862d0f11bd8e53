#pragma once

#include "document/ServicesPart.h"
#include "geometry/BoundBox.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CMapClass;
class CPrefab;

// What the Block and Entity tools create: a primitive shape with its face count, an object of
// a prefab library, or a point entity class. The "New Objects" bar shows and edits it; Create
// object asks it for the new object. Its lists follow the current tool.
class NewObjectBarModel : public ServicesPart {
public:
    enum Mode { ModePrimitives = 0, ModeLibrary = 1, ModeEntities = 2 };
    struct Entry {
        std::string name;
        std::uint32_t id = 0;
    };

    // Refills the lists for a tool: categories and objects for Selection and Block, entity
    // classes for Entity, nothing for Camera and Magnify.
    void SetTool(int tool);
    // Category 0 is "Primitives", then one per prefab library.
    void SelectCategory(int index);
    // Applies the choice of an object list entry (ignored when out of range).
    void SelectObject(int index);
    void SetFaceCountText(const std::string& text) { m_faceCountText = text; }

    Mode CurrentMode() const { return m_mode; }
    const std::vector<Entry>& Categories() const { return m_categories; }
    const std::vector<Entry>& Objects() const { return m_objects; }
    int SelectedCategory() const { return m_categories.empty() ? -1 : m_category; }
    int SelectedObject() const;
    int SelectedKind() const { return m_kind; }
    const std::string& FaceCountText() const { return m_faceCountText; }
    // The face count edit is usable (a document is open, primitives, cylinder or spike).
    bool FaceCountEnabled(bool hasDocument) const;
    int FaceCountMinimum() const;
    int FaceCountMaximum() const;
    const std::string& EntityClassName() const { return m_entityClass; }

    // The new object for bounds: a primitive (null after telling the user when the face
    // count is out of range) or a fitted copy of the chosen prefab; null in entity mode.
    CMapClass* CreateObject(const BoundBox& bounds);
    // The chosen prefab in library mode, else null.
    CPrefab* SelectedPrefab() const;
    bool SelectedPrefabBounds(BoundBox& bounds) const;

    // Told after the lists or the choice changed.
    std::function<void()> changed;

private:
    void FillCategories();
    void Changed() const {
        if (changed) {
            changed();
        }
    }

    Mode m_mode = ModePrimitives;
    std::vector<Entry> m_categories;
    std::vector<Entry> m_objects;
    int m_category = 0;
    int m_kind = 0;
    int m_prefabIndex = 0;
    int m_entityIndex = 0;
    std::string m_entityClass;
    std::string m_faceCountText = "0";
};

// The editor's bar model (one per set of document services).
NewObjectBarModel& NewObjectBar();
