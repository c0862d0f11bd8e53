#include "tools/NewObjectBarModel.h"

#include "common/ToolId.h"
#include "document/DocumentServices.h"
#include "document/UpdateHint.h"
#include "gamedata/EntityClassDef.h"
#include "gamedata/GameDataSet.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/ShapeTemplate.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Decimal text to int as the edit gives it: 0 when it is not a number.
int FaceCountFromText(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value > 1000000 || value < -1000000) {
        return 0;
    }
    return static_cast<int>(value);
}

PrimitiveKind& Kind(int index) {
    return DocumentServices::Installed().primitives[static_cast<std::size_t>(index)];
}

} // namespace

NewObjectBarModel& NewObjectBar() {
    return DocumentServices::Installed().Part<NewObjectBarModel>();
}

void NewObjectBarModel::FillCategories() {
    m_categories.clear();
    m_categories.push_back({"Primitives", 0});
    for (const auto& library : DocumentServices::Installed().Prefabs().Libraries()) {
        m_categories.push_back({library->Name(), library->Id()});
    }
    if (m_category < 0 || m_category >= static_cast<int>(m_categories.size())) {
        m_category = 0;
    }
}

void NewObjectBarModel::SetTool(int tool) {
    m_objects.clear();
    if (tool == TOOL_SELECTION || tool == TOOL_BLOCK) {
        FillCategories();
        SelectCategory(m_category);
        return;
    }
    m_categories.clear();
    if (tool == TOOL_ENTITY) {
        for (const auto& def : DocumentServices::Installed().GameData().Classes()) {
            if (def->IsPointClass()) {
                m_objects.push_back({def->name, 0});
            }
        }
        m_mode = ModeEntities;
        SelectObject(m_entityIndex < static_cast<int>(m_objects.size()) ? m_entityIndex : 0);
    }
    Changed();
}

void NewObjectBarModel::SelectCategory(int index) {
    if (m_categories.empty()) {
        FillCategories();
    }
    if (index < 0 || index >= static_cast<int>(m_categories.size())) {
        index = 0;
    }
    m_category = index;
    m_objects.clear();
    if (index == 0) {
        m_mode = ModePrimitives;
        for (const PrimitiveKind& kind : DocumentServices::Installed().primitives) {
            m_objects.push_back({kind.name, 0});
        }
        m_faceCountText = std::to_string(Kind(m_kind).faceCount);
    } else {
        m_mode = ModeLibrary;
        const std::uint32_t id = m_categories[static_cast<std::size_t>(index)].id;
        if (CPrefabLibrary* library = DocumentServices::Installed().Prefabs().FindLibrary(id)) {
            for (const auto& prefab : library->Prefabs()) {
                m_objects.push_back({prefab->Name(), prefab->Id()});
            }
        }
        m_prefabIndex = 0;
    }
    Changed();
}

int NewObjectBarModel::SelectedObject() const {
    if (m_objects.empty()) {
        return -1;
    }
    switch (m_mode) {
    case ModePrimitives:
        return m_kind;
    case ModeLibrary:
        return m_prefabIndex;
    default:
        return m_entityIndex;
    }
}

void NewObjectBarModel::SelectObject(int index) {
    if (index < 0 || index >= static_cast<int>(m_objects.size())) {
        return;
    }
    switch (m_mode) {
    case ModePrimitives:
        Kind(m_kind).faceCount = FaceCountFromText(m_faceCountText);
        m_kind = index;
        m_faceCountText = std::to_string(Kind(m_kind).faceCount);
        break;
    case ModeLibrary:
        m_prefabIndex = index;
        break;
    case ModeEntities:
        m_entityIndex = index;
        m_entityClass = m_objects[static_cast<std::size_t>(index)].name;
        break;
    }
    Changed();
}

bool NewObjectBarModel::FaceCountEnabled(bool hasDocument) const {
    return hasDocument && m_mode == ModePrimitives && !m_objects.empty() &&
           (m_kind == PRIMITIVE_CYLINDER || m_kind == PRIMITIVE_SPIKE);
}

int NewObjectBarModel::FaceCountMinimum() const {
    return Kind(m_kind).minimum;
}

int NewObjectBarModel::FaceCountMaximum() const {
    return Kind(m_kind).maximum;
}

CPrefab* NewObjectBarModel::SelectedPrefab() const {
    if (m_mode != ModeLibrary || m_prefabIndex < 0 ||
        m_prefabIndex >= static_cast<int>(m_objects.size())) {
        return nullptr;
    }
    return DocumentServices::Installed().Prefabs().FindPrefab(
        m_objects[static_cast<std::size_t>(m_prefabIndex)].id);
}

bool NewObjectBarModel::SelectedPrefabBounds(BoundBox& bounds) const {
    CPrefab* prefab = SelectedPrefab();
    return prefab && prefab->GetBounds(bounds);
}

CMapClass* NewObjectBarModel::CreateObject(const BoundBox& bounds) {
    if (m_mode == ModeLibrary) {
        CPrefab* prefab = SelectedPrefab();
        return prefab ? prefab->CreateInBox(bounds) : nullptr;
    }
    if (m_mode != ModePrimitives) {
        return nullptr;
    }
    return CreatePrimitive(m_kind, FaceCountFromText(m_faceCountText), bounds);
}
