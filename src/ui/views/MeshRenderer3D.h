#pragma once

#include "geometry/Vector.h"
#include "render/SceneLights3D.h"

#include <QString>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

class Camera3D;
class MeshStore3D;
class QOpenGLContext;
class QOpenGLFunctions_3_3_Core;
class QuakeGraphic;

// The OpenGL 3.3 core side of the 3D view: one shader program, one vertex array with vertex
// and index buffers per chunk of the mesh store (sent again only when the chunk's data was
// re-made), and one texture object per texture (sent again when its picture was remade, as
// after a brightness change). Every call needs the view's context to be current.
class MeshRenderer3D {
public:
    MeshRenderer3D() = default;
    ~MeshRenderer3D() = default;
    MeshRenderer3D(const MeshRenderer3D&) = delete;
    MeshRenderer3D& operator=(const MeshRenderer3D&) = delete;

    // Gets the 3.3 core functions and builds the program. On failure returns the error line
    // for the message window; the renderer then draws nothing.
    QString Initialize(QOpenGLContext* context);
    bool IsInitialized() const { return m_gl != nullptr; }

    // Clears to black and draws the store's chunks: wireframe as lines, the other modes as
    // filled faces lit by the scene's lights, mode 3 with textures.
    void Render(MeshStore3D& meshes, const Camera3D& camera, int renderMode, int width, int height);

    // Draws a line through points over the picture (not hidden by the faces), in colour
    // 0xRRGGBB, after Render() with the same camera: the leak trail of a pointfile.
    void RenderTrail(const std::vector<Vector>& points, const Camera3D& camera, int width,
                     int height, std::uint32_t rgb);
    // Vertices of the trail drawn last (tests).
    std::size_t TrailVerticesDrawn() const { return m_trailVertices; }

    // Whether the framebuffer being drawn to has a depth buffer.
    bool HasDepthBuffer() const;

    // Deletes every OpenGL object (before the context goes away).
    void Release();

    // Uploads since the start: chunk buffers and textures (tests check that a change sends
    // only what it touched).
    std::size_t ChunkUploads() const { return m_chunkUploads; }
    std::size_t TextureUploads() const { return m_textureUploads; }
    // Chunks drawn in the last frame (the others were outside the view).
    std::size_t ChunksDrawn() const { return m_chunksDrawn; }

private:
    struct ChunkBuffers {
        unsigned vertexArray = 0;
        unsigned vertexBuffer = 0;
        unsigned indexBuffer = 0;
        unsigned generation = 0;
    };
    struct TextureObject {
        unsigned id = 0;
        unsigned generation = 0;
    };

    QString CompileProgram();
    void UploadChunk(const MeshStore3D& meshes, int index);
    unsigned TextureFor(QuakeGraphic* texture);

    QOpenGLFunctions_3_3_Core* m_gl = nullptr;
    unsigned m_program = 0;
    unsigned m_white = 0;
    int m_objectsLocation = -1;
    int m_viewProjectionLocation = -1;
    int m_lightingLocation = -1;
    int m_ambientLocation = -1;
    int m_lightDirectionLocation = -1;
    int m_lightColorLocation = -1;
    int m_textureLocation = -1;
    std::vector<ChunkBuffers> m_chunks;
    std::unordered_map<const QuakeGraphic*, TextureObject> m_textures;
    SceneLights3D m_lights;
    std::size_t m_chunkUploads = 0;
    std::size_t m_textureUploads = 0;
    std::size_t m_chunksDrawn = 0;
    unsigned m_trailArray = 0;
    unsigned m_trailBuffer = 0;
    std::size_t m_trailVertices = 0;
    std::vector<std::pair<float, int>> m_drawOrder;
};
