#pragma once

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

// A named, ordered list of textures (global catalogue indices): "All textures", or the
// textures of one WAD file named by its path.
class TextureList {
public:
    explicit TextureList(std::string listName) : name(std::move(listName)) {}

    std::string name;

    int Count() const { return static_cast<int>(m_indices.size()); }
    int IndexAt(int position) const { return m_indices[static_cast<std::size_t>(position)]; }
    const std::vector<int>& Indices() const { return m_indices; }

    void Append(int globalIndex);
    // Reorders the list (stable) by a comparison of global indices.
    template <typename Less> void Sort(Less less);

    // Position of the first texture whose lower-cased name is lowerName, or -1. The lookup
    // table is rebuilt after the list changed; nameOf gives a texture's lower-cased name.
    template <typename NameOf> int FirstPosition(const std::string& lowerName, NameOf nameOf) const;

private:
    std::vector<int> m_indices;
    mutable std::unordered_map<std::string, int> m_firstByName;
    mutable bool m_lookupValid = false;
};

inline void TextureList::Append(int globalIndex) {
    m_indices.push_back(globalIndex);
    m_lookupValid = false;
}

template <typename Less> void TextureList::Sort(Less less) {
    std::stable_sort(m_indices.begin(), m_indices.end(), less);
    m_lookupValid = false;
}

template <typename NameOf>
int TextureList::FirstPosition(const std::string& lowerName, NameOf nameOf) const {
    if (!m_lookupValid) {
        m_firstByName.clear();
        m_firstByName.reserve(m_indices.size());
        for (std::size_t i = 0; i < m_indices.size(); ++i) {
            m_firstByName.try_emplace(nameOf(m_indices[i]), static_cast<int>(i));
        }
        m_lookupValid = true;
    }
    auto found = m_firstByName.find(lowerName);
    return found == m_firstByName.end() ? -1 : found->second;
}
