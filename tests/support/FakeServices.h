#pragma once

#include "common/EntityClassLookup.h"
#include "common/StatusPanes.h"
#include "common/TextureLookup.h"
#include "gamedata/EntityClassDef.h"
#include "gamedata/QuakeGraphic.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/RenderObject.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// Entity classes by exact name, for tests.
class FakeEntityClasses : public EntityClassLookup {
public:
    EntityClassDef& Add(const std::string& name) {
        auto def = std::make_unique<EntityClassDef>();
        def->name = name;
        EntityClassDef& ref = *def;
        m_classes[name] = std::move(def);
        return ref;
    }
    const EntityClassDef* FindClass(const std::string& name) const override {
        auto it = m_classes.find(name);
        return it == m_classes.end() ? nullptr : it->second.get();
    }
    std::string DefaultClassName() const override { return "func_wall"; }

private:
    std::map<std::string, std::unique_ptr<EntityClassDef>> m_classes;
};

// Textures with images of a given size, by upper-case name; unknown names are not found.
class FakeTextures : public TextureLookup {
public:
    QuakeGraphic& Add(const std::string& name, int width, int height) {
        auto texture = std::make_unique<QuakeGraphic>();
        texture->name = name;
        texture->width = width;
        texture->height = height;
        QuakeGraphic& ref = *texture;
        m_textures[name] = std::move(texture);
        return ref;
    }
    QuakeGraphic* FindTexture(const std::string& name, bool) override {
        ++lookups;
        auto it = m_textures.find(name);
        return it == m_textures.end() ? nullptr : it->second.get();
    }
    int lookups = 0;

private:
    std::map<std::string, std::unique_ptr<QuakeGraphic>> m_textures;
};

class RecordingStatusPanes : public StatusPanes {
public:
    std::vector<std::pair<int, std::string>> texts;
    void SetPaneText(int pane, const std::string& text) override { texts.emplace_back(pane, text); }
};

// What the fake 3D view saw of one face.
struct FakeFaceState {
    std::uint32_t color = 0;
    QuakeGraphic* texture = nullptr;
    std::vector<TexCoord> coords;
    int textureCalls = 0;
};

class FakeRenderFace : public RenderFace {
public:
    explicit FakeRenderFace(std::shared_ptr<FakeFaceState> state) : m_state(std::move(state)) {}
    void SetColor(std::uint32_t rgb) override { m_state->color = rgb; }
    void SetTexture(QuakeGraphic* texture, const TexCoord* coords, int count) override {
        m_state->texture = texture;
        m_state->coords.assign(coords, coords + count);
        ++m_state->textureCalls;
    }

private:
    std::shared_ptr<FakeFaceState> m_state;
};

struct FakeMeshState {
    std::uint32_t color = 0;
    int clearTextures = 0;
    int polygons = 0;
    CMapClass* owner = nullptr;
    std::vector<std::shared_ptr<FakeFaceState>> faces;
};

class FakeRenderObject : public RenderObject {
public:
    explicit FakeRenderObject(std::shared_ptr<FakeMeshState> state) : m_state(std::move(state)) {}
    void SetColor(std::uint32_t rgb) override { m_state->color = rgb; }
    void ClearTextures() override {
        ++m_state->clearTextures;
        for (auto& face : m_state->faces) {
            face->texture = nullptr;
        }
    }

private:
    std::shared_ptr<FakeMeshState> m_state;
};

// Builds fake meshes and remembers what it built; fails on request.
class FakeRenderFrame : public RenderFrame {
public:
    bool fail = false;
    std::vector<std::shared_ptr<FakeMeshState>> meshes;

    std::unique_ptr<RenderObject> CreateSolidMesh(CMapSolid& shape, CMapClass& owner) override {
        if (fail) {
            return nullptr;
        }
        auto mesh = std::make_shared<FakeMeshState>();
        mesh->owner = &owner;
        for (int i = 0; i < shape.FaceCount(); ++i) {
            CMapFace& face = shape.Face(i);
            if (face.PointCount() == 0) {
                continue;
            }
            auto state = std::make_shared<FakeFaceState>();
            mesh->faces.push_back(state);
            face.SetRender3D(std::make_unique<FakeRenderFace>(state));
            ++mesh->polygons;
        }
        meshes.push_back(mesh);
        return std::make_unique<FakeRenderObject>(mesh);
    }
};
