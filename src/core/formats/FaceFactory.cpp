#include "formats/FaceFactory.h"

#include <cctype>

const CMapFace& FaceFactory::Blank() {
    if (!m_blank) {
        m_blank = std::make_unique<CMapFace>();
    }
    return *m_blank;
}

const CMapFace& FaceFactory::WithTexture(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    name = name.substr(0, CMapFace::kMaxTextureName);
    if (m_last && name == m_lastName) {
        return *m_last;
    }
    m_lastName.assign(name);
    std::string key(name);
    for (char& c : key) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    auto found = m_byName.find(key);
    if (found == m_byName.end()) {
        CMapFace face = Blank();
        face.SetTextureName(key);
        found = m_byName.emplace(std::move(key), std::move(face)).first;
    }
    m_last = &found->second;
    return *m_last;
}
