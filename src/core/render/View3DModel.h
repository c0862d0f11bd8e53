#pragma once

#include "render/Camera3D.h"
#include "render/MeshStore3D.h"

#include <vector>

class CMapClass;
class CMapDoc;
struct CUpdateHint;

// What the 3D view of a document knows and decides, apart from drawing: the render mode and the
// document's textured flag, the ready and dirty flags, the camera with its keys, and the meshes
// with their rebuilding on document updates.
class View3DModel {
public:
    enum Mode { kNoMode = 0, kWireframe = 1, kFlat = 2, kTextured = 3 };
    static constexpr const char* kMeshError = "Error creating meshes!";

    explicit View3DModel(CMapDoc& document);
    // Takes the meshes back from the world's objects (a later view builds its own).
    ~View3DModel();
    View3DModel(const View3DModel&) = delete;
    View3DModel& operator=(const View3DModel&) = delete;

    // Modes 1 wireframe, 2 filled, 3 textured; other values are ignored. The mode is kept at
    // once; its effect on the world's textures and on the meshes waits for the view to be
    // ready.
    void SetRenderMode(int mode);
    int RenderMode() const { return m_mode; }

    // The drawing side is up: builds every mesh, places the camera over the world's centre,
    // applies the render mode and asks for a frame.
    void Start();
    bool IsReady() const { return m_ready; }

    bool IsDirty() const { return m_dirty; }
    void MarkDirty() { m_dirty = true; }
    // True once for each request of a new frame.
    bool TakeDirty();

    // Update flags 0x10: nothing; 1: a new frame; 2: rebuild the meshes of the hint's objects,
    // or of every object without a hint (or with an empty one). Nothing happens before the
    // view is ready.
    void OnDocumentUpdate(int flags, const CUpdateHint* hint);

    // Camera keys (Ctrl turns the map instead of the camera) and viewport keys 1 to 6. Only
    // while ready; true when the key was used (a new frame is then due).
    bool PressKey(Camera3D::Key key, bool shift, bool ctrl);
    bool PressViewportKey(int digit);
    // The user moved the camera (the mouse camera): it stays where it is put, and a new frame
    // is due.
    void CameraMovedByUser() {
        m_cameraPlaced = true;
        m_dirty = true;
    }
    // The camera tool's placement (Camera3D::LookFrom); a new frame is due.
    void TakeCamera(const Vector& position, const Vector& target);

    // Rebuilds the meshes of objects (and their children) whose geometry changed, and shows
    // exactly those of them that pass the world's filter; null rebuilds the whole world's
    // list of visible objects. False (after an error line) when a mesh could not be made.
    bool BuildMeshes(const std::vector<CMapClass*>* objects);

    Camera3D& Camera() { return m_camera; }
    const Camera3D& Camera() const { return m_camera; }
    MeshStore3D& Meshes() { return m_meshes; }
    const MeshStore3D& Meshes() const { return m_meshes; }
    CMapDoc& Document() const { return m_document; }

private:
    void ApplyRenderMode();
    void PlaceCamera();
    void ShowSubtree(CMapClass& object);
    void ReleaseMeshes();

    CMapDoc& m_document;
    MeshStore3D m_meshes;
    Camera3D m_camera;
    int m_mode = kWireframe;
    int m_appliedMode = kNoMode;
    bool m_ready = false;
    bool m_dirty = false;
    // The camera waits for a world with something in it (a view may be shown before its map
    // has been read) until the user moves it.
    bool m_cameraPlaced = false;
};
