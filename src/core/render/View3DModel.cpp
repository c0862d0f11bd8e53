#include "render/View3DModel.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"

namespace {
bool IsInTree(const CMapClass* object, const CMapClass* root) {
    for (const CMapClass* o = object; o; o = o->Parent()) {
        if (o == root) {
            return true;
        }
    }
    return false;
}

bool HasMesh(const CMapClass& object) {
    return object.IsType(kTypeMapSolid) || object.IsType(kTypeMapEntity);
}
} // namespace

View3DModel::View3DModel(CMapDoc& document) : m_document(document) {}

View3DModel::~View3DModel() {
    ReleaseMeshes();
}

void View3DModel::ReleaseMeshes() {
    CMapWorld* world = m_document.World();
    if (!world) {
        return;
    }
    EnumChildren(*world, [this](CMapClass* object) {
        if (!object->Render3D() || !m_meshes.Owns(object->Render3D())) {
            return true;
        }
        if (auto* solid = dynamic_cast<CMapSolid*>(object)) {
            for (int i = 0; i < solid->FaceCount(); ++i) {
                solid->Face(i).SetRender3D(nullptr);
            }
        }
        object->SetRender3D(nullptr);
        return true;
    });
}

void View3DModel::SetRenderMode(int mode) {
    if (mode < kWireframe || mode > kTextured) {
        return;
    }
    m_mode = mode;
    if (m_ready) {
        ApplyRenderMode();
    }
}

void View3DModel::ApplyRenderMode() {
    const int previous = m_appliedMode;
    m_appliedMode = m_mode;
    if (CMapWorld* world = m_document.World()) {
        if (m_mode == kTextured && previous != kTextured) {
            world->ShowTextures(true);
        } else if (m_mode != kTextured && (previous == kTextured || previous == kNoMode)) {
            world->ShowTextures(false);
        }
    }
    m_meshes.SetStyle(m_mode == kWireframe ? MeshStyle3D::Outlines
                      : m_mode == kFlat    ? MeshStyle3D::Filled
                                           : MeshStyle3D::Textured);
    m_dirty = true;
}

void View3DModel::PlaceCamera() {
    CMapWorld* world = m_document.World();
    // A new world's box is the origin; it only means something once the world has objects.
    const bool hasObjects = world && !world->Children().empty();
    m_camera.PlaceOverCenter(hasObjects ? world->Bounds() : BoundBox{});
    m_cameraPlaced = hasObjects;
}

void View3DModel::Start() {
    if (m_ready) {
        return;
    }
    m_ready = true;
    BuildMeshes(nullptr);
    PlaceCamera();
    ApplyRenderMode();
    m_dirty = true;
}

bool View3DModel::TakeDirty() {
    const bool dirty = m_dirty;
    m_dirty = false;
    return dirty;
}

void View3DModel::OnDocumentUpdate(int flags, const CUpdateHint* hint) {
    if (!m_ready || (flags & UPDATE_2D_ONLY)) {
        return;
    }
    if (flags & UPDATE_REDRAW) {
        m_dirty = true;
    }
    if (flags & UPDATE_OBJECTS) {
        const bool named = hint && !hint->objects.empty();
        BuildMeshes(named ? &hint->objects : nullptr);
        if (!named && !m_cameraPlaced) {
            PlaceCamera();
        }
        m_dirty = true;
    }
}

bool View3DModel::PressKey(Camera3D::Key key, bool shift, bool ctrl) {
    if (!m_ready) {
        return false;
    }
    m_camera.Press(key, shift, ctrl);
    m_cameraPlaced = true;
    m_dirty = true;
    return true;
}

void View3DModel::TakeCamera(const Vector& position, const Vector& target) {
    m_camera.LookFrom(position, target);
    m_cameraPlaced = true;
    m_dirty = true;
}

bool View3DModel::PressViewportKey(int digit) {
    if (!m_ready || !m_camera.PressViewportKey(digit)) {
        return false;
    }
    m_dirty = true;
    return true;
}

bool View3DModel::BuildMeshes(const std::vector<CMapClass*>* objects) {
    CMapWorld* world = m_document.World();
    if (!world) {
        return true;
    }
    // A mesh left by an earlier view of the document is not ours to show: make a new one.
    auto build = [this](CMapClass& object) {
        const RenderObject* mesh = object.Render3D();
        const bool foreign = mesh && !m_meshes.Owns(mesh);
        if (object.BuildRenderObjects(m_meshes, object.NeedsRebuild() || foreign)) {
            return true;
        }
        m_document.Services().messages.AddLine(MessageLog::Error, "%s", kMeshError);
        return false;
    };

    if (!objects) {
        // A world read into the document after the view went textured starts without
        // textures; it takes the view's mode before its meshes are made.
        if (m_appliedMode == kTextured && !world->TexturesShown()) {
            world->ShowTextures(true);
        }
        m_meshes.ClearVisuals();
        for (CMapClass* object : world->VisibleObjects()) {
            if (!build(*object)) {
                return false;
            }
            m_meshes.AddVisual(object->Render3D());
        }
        return true;
    }

    for (CMapClass* object : *objects) {
        m_meshes.RemoveVisual(object->Render3D());
        EnumChildren(*object, [this](CMapClass* child) {
            m_meshes.RemoveVisual(child->Render3D());
            return true;
        });
    }
    for (CMapClass* object : *objects) {
        // Objects that left the map (deleted, or held by the undo history) stay hidden.
        if (!IsInTree(object, world)) {
            continue;
        }
        bool ok = build(*object);
        EnumChildren(*object, [&](CMapClass* child) {
            ok = ok && build(*child);
            return ok;
        });
        if (!ok) {
            return false;
        }
        ShowSubtree(*object);
    }
    return true;
}

void View3DModel::ShowSubtree(CMapClass& object) {
    const CMapWorld& world = *m_document.World();
    const std::uint32_t flags = world.DisplayFilterFlags();
    auto show = [&](CMapClass* o) {
        if (HasMesh(*o) && PassesVisibilityTest(*o, world, flags)) {
            m_meshes.AddVisual(o->Render3D());
        }
        return true;
    };
    show(&object);
    EnumChildren(object, show);
}
