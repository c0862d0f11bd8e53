#pragma once

#include "mapobjects/MapFace.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

// The model faces of a file being read: a blank face and one per texture name, each made once
// per file. Several threads reading parts of one file may share them.
class FaceModels {
public:
    // A face as the face constructor makes it (the current texture).
    const CMapFace& Blank();
    // A blank face with the texture named key (upper case, cut to 15 characters) applied as
    // SetTextureName does it.
    const CMapFace& ForKey(const std::string& key);

private:
    const CMapFace& BlankWhileLocked();

    std::mutex m_mutex;
    std::unique_ptr<CMapFace> m_blank;
    std::unordered_map<std::string, CMapFace> m_byName;
};

// Makes the faces of a file being read on one thread. A new face is a copy of a model face,
// so every distinct name is looked up among the textures once per file, not once per face.
class FaceFactory {
public:
    // With models of its own.
    FaceFactory();
    // With models shared with the factories of other threads reading the same file.
    explicit FaceFactory(FaceModels& models);

    // A face as the face constructor makes it (the current texture).
    const CMapFace& Blank();
    // A blank face with the texture name applied as SetTextureName does it (cut at a NUL
    // and to 15 characters, upper case, bound to its texture).
    const CMapFace& WithTexture(std::string_view name);

private:
    std::unique_ptr<FaceModels> m_ownModels;
    FaceModels& m_models;
    // The models asked for by this thread, by the name as the file spells it.
    std::unordered_map<std::string, const CMapFace*> m_byName;
    // The name asked for last and its face: neighbouring faces mostly share their texture.
    std::string m_lastName;
    const CMapFace* m_last = nullptr;
};
