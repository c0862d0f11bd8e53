#pragma once

#include "mapobjects/MapFace.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// Makes the faces of a file being read. A new face is a copy of one kept per texture name,
// so every distinct name is looked up among the textures once per file, not once per face.
class FaceFactory {
public:
    // A face as the face constructor makes it (the current texture).
    const CMapFace& Blank();
    // A blank face with the texture name applied as SetTextureName does it (cut at a NUL
    // and to 15 characters, upper case, bound to its texture).
    const CMapFace& WithTexture(std::string_view name);

private:
    std::unique_ptr<CMapFace> m_blank;
    std::unordered_map<std::string, CMapFace> m_byName;
    // The name asked for last and its face: neighbouring faces mostly share their texture.
    std::string m_lastName;
    const CMapFace* m_last = nullptr;
};
