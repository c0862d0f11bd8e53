#include "views/MeshRenderer3D.h"

#include "gamedata/TextureManager.h"
#include "render/Camera3D.h"
#include "render/MeshStore3D.h"
#include "session/EditorContext.h"
#include "views/MeshShaders3D.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLVersionFunctionsFactory>
#include <algorithm>
#include <cstddef>

namespace {
QString ShaderLog(QOpenGLFunctions_3_3_Core* gl, GLuint shader) {
    GLint length = 0;
    gl->glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    QByteArray log(std::max(length, 1), '\0');
    gl->glGetShaderInfoLog(shader, length, nullptr, log.data());
    return QString::fromUtf8(log).trimmed();
}

QString ProgramLog(QOpenGLFunctions_3_3_Core* gl, GLuint program) {
    GLint length = 0;
    gl->glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    QByteArray log(std::max(length, 1), '\0');
    gl->glGetProgramInfoLog(program, length, nullptr, log.data());
    return QString::fromUtf8(log).trimmed();
}

const void* ByteOffset(std::size_t bytes) {
    return reinterpret_cast<const void*>(bytes);
}

// Points the bound vertex array's four attributes (position, texture coordinate, colour,
// normal) at the fields of MeshVertex3D in the bound array buffer.
void SetVertexLayout(QOpenGLFunctions_3_3_Core* gl) {
    const GLsizei stride = sizeof(MeshVertex3D);
    gl->glEnableVertexAttribArray(0);
    gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                              ByteOffset(offsetof(MeshVertex3D, position)));
    gl->glEnableVertexAttribArray(1);
    gl->glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                              ByteOffset(offsetof(MeshVertex3D, texCoord)));
    gl->glEnableVertexAttribArray(2);
    gl->glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              ByteOffset(offsetof(MeshVertex3D, color)));
    gl->glEnableVertexAttribArray(3);
    gl->glVertexAttribPointer(3, 3, GL_BYTE, GL_TRUE, stride,
                              ByteOffset(offsetof(MeshVertex3D, normal)));
}
} // namespace

QString MeshRenderer3D::Initialize(QOpenGLContext* context) {
    if (!context || !context->isValid()) {
        return "GL CreateContext(): no OpenGL context could be created.";
    }
    const QSurfaceFormat format = context->format();
    if (format.version() < qMakePair(3, 3) || context->isOpenGLES()) {
        return QString("GL CreateContext(): OpenGL 3.3 core is not available (the context "
                       "offers %1 %2.%3).")
            .arg(context->isOpenGLES() ? "OpenGL ES" : "OpenGL")
            .arg(format.majorVersion())
            .arg(format.minorVersion());
    }
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(context);
    if (!gl || !gl->initializeOpenGLFunctions()) {
        return "GL CreateContext(): the OpenGL 3.3 core functions are not available.";
    }
    m_gl = gl;
    QString error = CompileProgram();
    if (!error.isEmpty()) {
        m_gl = nullptr;
        return error;
    }
    const std::uint8_t white[4] = {255, 255, 255, 255};
    m_gl->glGenTextures(1, &m_white);
    m_gl->glBindTexture(GL_TEXTURE_2D, m_white);
    m_gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return {};
}

QString MeshRenderer3D::CompileProgram() {
    QOpenGLFunctions_3_3_Core* gl = m_gl;
    auto compile = [gl](GLenum type, const char* source, QString& error) -> GLuint {
        GLuint shader = gl->glCreateShader(type);
        gl->glShaderSource(shader, 1, &source, nullptr);
        gl->glCompileShader(shader);
        GLint ok = GL_FALSE;
        gl->glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (ok != GL_TRUE) {
            error = "GL CompileShader(): " + ShaderLog(gl, shader);
            gl->glDeleteShader(shader);
            return 0;
        }
        return shader;
    };
    QString error;
    GLuint vertex = compile(GL_VERTEX_SHADER, kMeshVertexShader3D, error);
    if (!vertex) {
        return error;
    }
    GLuint fragment = compile(GL_FRAGMENT_SHADER, kMeshFragmentShader3D, error);
    if (!fragment) {
        gl->glDeleteShader(vertex);
        return error;
    }
    m_program = gl->glCreateProgram();
    gl->glAttachShader(m_program, vertex);
    gl->glAttachShader(m_program, fragment);
    gl->glLinkProgram(m_program);
    gl->glDeleteShader(vertex);
    gl->glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    gl->glGetProgramiv(m_program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        error = "GL LinkProgram(): " + ProgramLog(gl, m_program);
        gl->glDeleteProgram(m_program);
        m_program = 0;
        return error;
    }
    m_objectsLocation = gl->glGetUniformLocation(m_program, "uObjects");
    m_viewProjectionLocation = gl->glGetUniformLocation(m_program, "uViewProjection");
    m_lightingLocation = gl->glGetUniformLocation(m_program, "uLighting");
    m_ambientLocation = gl->glGetUniformLocation(m_program, "uAmbient");
    m_lightDirectionLocation = gl->glGetUniformLocation(m_program, "uLightDirection");
    m_lightColorLocation = gl->glGetUniformLocation(m_program, "uLightColor");
    m_textureLocation = gl->glGetUniformLocation(m_program, "uTexture");
    return {};
}

bool MeshRenderer3D::HasDepthBuffer() const {
    if (!m_gl) {
        return false;
    }
    GLint framebuffer = 0;
    m_gl->glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    GLint type = GL_NONE;
    m_gl->glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER,
                                                framebuffer ? GL_DEPTH_ATTACHMENT : GL_DEPTH,
                                                GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    return type != GL_NONE;
}

void MeshRenderer3D::Release() {
    if (!m_gl) {
        return;
    }
    for (ChunkBuffers& chunk : m_chunks) {
        if (chunk.vertexArray) {
            m_gl->glDeleteVertexArrays(1, &chunk.vertexArray);
            m_gl->glDeleteBuffers(1, &chunk.vertexBuffer);
            m_gl->glDeleteBuffers(1, &chunk.indexBuffer);
        }
    }
    m_chunks.clear();
    if (m_trailArray) {
        m_gl->glDeleteVertexArrays(1, &m_trailArray);
        m_gl->glDeleteBuffers(1, &m_trailBuffer);
        m_trailArray = 0;
        m_trailBuffer = 0;
    }
    for (auto& [graphic, texture] : m_textures) {
        m_gl->glDeleteTextures(1, &texture.id);
    }
    m_textures.clear();
    if (m_white) {
        m_gl->glDeleteTextures(1, &m_white);
        m_white = 0;
    }
    if (m_program) {
        m_gl->glDeleteProgram(m_program);
        m_program = 0;
    }
    m_gl = nullptr;
}

void MeshRenderer3D::UploadChunk(const MeshStore3D& meshes, int index) {
    const MeshChunk3D& chunk = meshes.Chunk(index);
    if (m_chunks.size() <= static_cast<std::size_t>(index)) {
        m_chunks.resize(static_cast<std::size_t>(index) + 1);
    }
    ChunkBuffers& buffers = m_chunks[static_cast<std::size_t>(index)];
    if (buffers.generation == chunk.generation && buffers.vertexArray) {
        return;
    }
    if (!buffers.vertexArray) {
        m_gl->glGenVertexArrays(1, &buffers.vertexArray);
        m_gl->glGenBuffers(1, &buffers.vertexBuffer);
        m_gl->glGenBuffers(1, &buffers.indexBuffer);
        m_gl->glBindVertexArray(buffers.vertexArray);
        m_gl->glBindBuffer(GL_ARRAY_BUFFER, buffers.vertexBuffer);
        m_gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.indexBuffer);
        SetVertexLayout(m_gl);
    } else {
        m_gl->glBindVertexArray(buffers.vertexArray);
        m_gl->glBindBuffer(GL_ARRAY_BUFFER, buffers.vertexBuffer);
    }
    m_gl->glBufferData(GL_ARRAY_BUFFER,
                       static_cast<GLsizeiptr>(chunk.vertices.size() * sizeof(MeshVertex3D)),
                       chunk.vertices.data(), GL_STATIC_DRAW);
    m_gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                       static_cast<GLsizeiptr>(chunk.indices.size() * sizeof(std::uint32_t)),
                       chunk.indices.data(), GL_STATIC_DRAW);
    m_gl->glBindVertexArray(0);
    buffers.generation = chunk.generation;
    ++m_chunkUploads;
}

unsigned MeshRenderer3D::TextureFor(QuakeGraphic* graphic) {
    if (!graphic) {
        return m_white;
    }
    const TextureImage* image = Editor().TextureCatalogue().GetScaledImage(*graphic);
    if (!image || image->IsEmpty() ||
        image->rgba.size() < static_cast<std::size_t>(image->width) * image->height * 4) {
        return m_white;
    }
    TextureObject& texture = m_textures[graphic];
    if (texture.id && texture.generation == image->generation) {
        return texture.id;
    }
    if (!texture.id) {
        m_gl->glGenTextures(1, &texture.id);
    }
    m_gl->glBindTexture(GL_TEXTURE_2D, texture.id);
    m_gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    m_gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image->width, image->height, 0, GL_RGBA,
                       GL_UNSIGNED_BYTE, image->rgba.data());
    m_gl->glGenerateMipmap(GL_TEXTURE_2D);
    // Textures repeat across a face; linear filtering, with mipmaps for faces far away.
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    texture.generation = image->generation;
    ++m_textureUploads;
    return texture.id;
}

void MeshRenderer3D::Render(MeshStore3D& meshes, const Camera3D& camera, int renderMode, int width,
                            int height) {
    if (!m_gl) {
        return;
    }
    QOpenGLFunctions_3_3_Core* gl = m_gl;
    gl->glViewport(0, 0, width, height);
    gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl->glClearDepth(1.0);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDepthFunc(GL_LESS);
    const bool wireframe = renderMode == 1;
    if (wireframe) {
        gl->glDisable(GL_CULL_FACE);
    } else {
        gl->glEnable(GL_CULL_FACE);
        gl->glCullFace(GL_BACK);
        gl->glFrontFace(GL_CCW);
    }

    // Re-made chunks go to their buffers; so does everything after a new context.
    meshes.RefreshChunks();
    for (int index = 0; index < meshes.ChunkCount(); ++index) {
        UploadChunk(meshes, index);
    }

    gl->glUseProgram(m_program);
    const Matrix3D viewProjection = camera.Projection(width, height) * camera.ViewMatrix();
    gl->glUniformMatrix4fv(m_objectsLocation, 1, GL_FALSE, camera.ObjectsMatrix().Data());
    gl->glUniformMatrix4fv(m_viewProjectionLocation, 1, GL_FALSE, viewProjection.Data());
    gl->glUniform1i(m_lightingLocation, wireframe ? 0 : 1);
    gl->glUniform3f(m_ambientLocation, m_lights.ambient.x, m_lights.ambient.y, m_lights.ambient.z);
    float directions[6];
    float colors[6];
    for (int i = 0; i < 2; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            directions[i * 3 + axis] = m_lights.lights[static_cast<std::size_t>(i)].direction[axis];
            colors[i * 3 + axis] = m_lights.lights[static_cast<std::size_t>(i)].color[axis];
        }
    }
    gl->glUniform3fv(m_lightDirectionLocation, 2, directions);
    gl->glUniform3fv(m_lightColorLocation, 2, colors);
    gl->glUniform1i(m_textureLocation, 0);
    gl->glActiveTexture(GL_TEXTURE0);

    // Chunks wholly outside the view are skipped; the others are drawn nearest first, so
    // hidden faces behind them fail the depth test early.
    const Matrix3D clip = viewProjection * camera.ObjectsMatrix();
    const Matrix3D toEye = camera.ViewMatrix() * camera.ObjectsMatrix();
    m_drawOrder.clear();
    for (int index = 0; index < meshes.ChunkCount(); ++index) {
        const MeshChunk3D& chunk = meshes.Chunk(index);
        if (chunk.indices.empty() || static_cast<std::size_t>(index) >= m_chunks.size() ||
            !m_chunks[static_cast<std::size_t>(index)].vertexArray ||
            IsBoxOutsideView(clip, chunk.bounds)) {
            continue;
        }
        const float depth = -toEye.TransformPoint(chunk.bounds.Center()).z;
        m_drawOrder.push_back({depth, index});
    }
    std::sort(m_drawOrder.begin(), m_drawOrder.end());
    m_chunksDrawn = m_drawOrder.size();

    const GLenum primitive = wireframe ? GL_LINES : GL_TRIANGLES;
    unsigned boundTexture = 0;
    for (const auto& [depth, index] : m_drawOrder) {
        const MeshChunk3D& chunk = meshes.Chunk(index);
        gl->glBindVertexArray(m_chunks[static_cast<std::size_t>(index)].vertexArray);
        for (const MeshRange3D& range : chunk.ranges) {
            const unsigned texture = TextureFor(range.texture);
            if (texture != boundTexture) {
                gl->glBindTexture(GL_TEXTURE_2D, texture);
                boundTexture = texture;
            }
            gl->glDrawElements(primitive, static_cast<GLsizei>(range.count), GL_UNSIGNED_INT,
                               ByteOffset(range.first * sizeof(std::uint32_t)));
        }
    }
    gl->glBindVertexArray(0);
    gl->glUseProgram(0);
}

void MeshRenderer3D::RenderTrail(const std::vector<Vector>& points, const Camera3D& camera,
                                 int width, int height, std::uint32_t rgb) {
    m_trailVertices = 0;
    if (!m_gl || points.size() < 2) {
        return;
    }
    QOpenGLFunctions_3_3_Core* gl = m_gl;
    std::vector<MeshVertex3D> vertices(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        MeshVertex3D& v = vertices[i];
        v = MeshVertex3D{};
        v.position[0] = points[i].x;
        v.position[1] = points[i].y;
        v.position[2] = points[i].z;
        v.color[0] = static_cast<std::uint8_t>(rgb >> 16);
        v.color[1] = static_cast<std::uint8_t>(rgb >> 8);
        v.color[2] = static_cast<std::uint8_t>(rgb);
        v.color[3] = 255;
    }
    if (!m_trailArray) {
        gl->glGenVertexArrays(1, &m_trailArray);
        gl->glGenBuffers(1, &m_trailBuffer);
        gl->glBindVertexArray(m_trailArray);
        gl->glBindBuffer(GL_ARRAY_BUFFER, m_trailBuffer);
        SetVertexLayout(gl);
    } else {
        gl->glBindVertexArray(m_trailArray);
        gl->glBindBuffer(GL_ARRAY_BUFFER, m_trailBuffer);
    }
    gl->glBufferData(GL_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex3D)),
                     vertices.data(), GL_DYNAMIC_DRAW);
    gl->glUseProgram(m_program);
    const Matrix3D viewProjection = camera.Projection(width, height) * camera.ViewMatrix();
    gl->glUniformMatrix4fv(m_objectsLocation, 1, GL_FALSE, camera.ObjectsMatrix().Data());
    gl->glUniformMatrix4fv(m_viewProjectionLocation, 1, GL_FALSE, viewProjection.Data());
    gl->glUniform1i(m_lightingLocation, 0);
    gl->glActiveTexture(GL_TEXTURE0);
    gl->glBindTexture(GL_TEXTURE_2D, m_white);
    // Seen through the walls: the trail runs from inside the map out to the void.
    gl->glDisable(GL_DEPTH_TEST);
    gl->glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(vertices.size()));
    gl->glPointSize(5.0f);
    gl->glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(vertices.size()));
    gl->glEnable(GL_DEPTH_TEST);
    gl->glBindVertexArray(0);
    gl->glUseProgram(0);
    m_trailVertices = vertices.size();
}
