#include "common/SettingsStore.h"

#include <charconv>

int MemorySettingsStore::GetInt(const std::string& section, const std::string& name,
                                int defaultValue) {
    auto it = m_values.find({section, name});
    if (it == m_values.end()) {
        return defaultValue;
    }
    int value = defaultValue;
    const std::string& text = it->second;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : defaultValue;
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& name,
                                           const std::string& defaultValue) {
    auto it = m_values.find({section, name});
    return it == m_values.end() ? defaultValue : it->second;
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& name, int value) {
    m_values[{section, name}] = std::to_string(value);
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& name,
                                      const std::string& value) {
    m_values[{section, name}] = value;
}

bool MemorySettingsStore::Has(const std::string& section, const std::string& name) const {
    return m_values.count({section, name}) != 0;
}
