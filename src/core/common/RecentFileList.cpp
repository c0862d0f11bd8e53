#include "common/RecentFileList.h"

#include "common/SettingsStore.h"

#include <algorithm>

namespace {
std::string SlotName(int index) {
    return "File" + std::to_string(index + 1);
}
} // namespace

RecentFileList::RecentFileList(int size) : m_size(std::max(1, size)) {}

void RecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Remove(path);
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_size) {
        m_files.resize(static_cast<std::size_t>(m_size));
    }
}

void RecentFileList::Remove(const std::string& path) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
}

void RecentFileList::Load(SettingsStore& store) {
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        std::string path = store.GetString(kSection, SlotName(i), "");
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end()) {
            m_files.push_back(path);
        }
    }
}

void RecentFileList::Save(SettingsStore& store) const {
    for (int i = 0; i < m_size; ++i) {
        const auto index = static_cast<std::size_t>(i);
        store.WriteString(kSection, SlotName(i), index < m_files.size() ? m_files[index] : "");
    }
}
