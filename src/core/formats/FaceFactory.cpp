#include "formats/FaceFactory.h"

#include <cctype>

const CMapFace& FaceModels::Blank() {
    const std::lock_guard lock(m_mutex);
    return BlankWhileLocked();
}

const CMapFace& FaceModels::BlankWhileLocked() {
    if (!m_blank) {
        m_blank = std::make_unique<CMapFace>();
    }
    return *m_blank;
}

const CMapFace& FaceModels::ForKey(const std::string& key) {
    const std::lock_guard lock(m_mutex);
    auto found = m_byName.find(key);
    if (found == m_byName.end()) {
        CMapFace face = BlankWhileLocked();
        face.SetTextureName(key);
        found = m_byName.emplace(key, std::move(face)).first;
    }
    return found->second;
}

FaceFactory::FaceFactory() : m_ownModels(std::make_unique<FaceModels>()), m_models(*m_ownModels) {}

FaceFactory::FaceFactory(FaceModels& models) : m_models(models) {}

const CMapFace& FaceFactory::Blank() {
    return m_models.Blank();
}

const CMapFace& FaceFactory::WithTexture(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    name = name.substr(0, CMapFace::kMaxTextureName);
    if (m_last && name == m_lastName) {
        return *m_last;
    }
    m_lastName.assign(name);
    auto found = m_byName.find(m_lastName);
    if (found == m_byName.end()) {
        std::string key(name);
        for (char& c : key) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        found = m_byName.emplace(m_lastName, &m_models.ForKey(key)).first;
    }
    m_last = found->second;
    return *m_last;
}
