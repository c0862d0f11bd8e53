#include "mapobjects/EditGameClass.h"

#include "common/EntityClassLookup.h"
#include "mapobjects/MapServices.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

void CEditGameClass::SetClass(const std::string& name) {
    m_className = name.substr(0, kMaxClassName);
    const EntityClassLookup* lookup = MapServices::Installed().entityClasses;
    m_gameClass = lookup ? lookup->FindClass(m_className) : nullptr;
}

int CEditGameClass::FindKey(const std::string& key) const {
    for (std::size_t i = 0; i < m_keyValues.size(); ++i) {
        if (EqualsIgnoreCase(m_keyValues[i].key, key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

namespace {
// A keyvalue's text as an integer field: leading white space and sign, digits up to the
// first other character, clamped to 32 bits; text without digits gives 0.
long long FieldNumber(const std::string& text) {
    const long long number = std::strtoll(text.c_str(), nullptr, 10);
    return std::clamp<long long>(number, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::uint32_t>::max());
}
} // namespace

bool CEditGameClass::IsFieldKey(const std::string& key) {
    for (const char* field : {"classname", "angle", "spawnflags", "origin"}) {
        if (EqualsIgnoreCase(key, field)) {
            return true;
        }
    }
    return false;
}

void CEditGameClass::SetKeyValue(const std::string& key, const std::optional<std::string>& value) {
    const std::string fieldKey = key.substr(0, kMaxKey);
    if (IsFieldKey(fieldKey)) {
        // A pair that got in by another way goes; the field takes the value.
        if (int stray = FindKey(fieldKey); stray >= 0) {
            m_keyValues.erase(m_keyValues.begin() + stray);
        }
        if (EqualsIgnoreCase(fieldKey, "classname")) {
            if (value) {
                SetClass(*value);
            }
        } else if (EqualsIgnoreCase(fieldKey, "angle")) {
            m_angle = value ? static_cast<int>(std::clamp<long long>(
                                  FieldNumber(*value), std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max()))
                            : 0;
        } else if (EqualsIgnoreCase(fieldKey, "spawnflags")) {
            m_spawnFlags = value ? static_cast<std::uint32_t>(FieldNumber(*value)) : 0;
        }
        return;
    }
    int index = FindKey(fieldKey);
    if (!value) {
        if (index >= 0) {
            m_keyValues.erase(m_keyValues.begin() + index);
        }
        return;
    }
    std::string fieldValue = value->substr(0, kMaxValue);
    if (index >= 0) {
        m_keyValues[static_cast<std::size_t>(index)].value = std::move(fieldValue);
    } else {
        m_keyValues.push_back(KeyValue{fieldKey, std::move(fieldValue)});
    }
}

std::optional<std::pair<std::string, int>>
CEditGameClass::GetKeyValue(const std::string& key) const {
    int index = FindKey(key);
    if (index < 0) {
        return std::nullopt;
    }
    return std::make_pair(m_keyValues[static_cast<std::size_t>(index)].value, index);
}

void CEditGameClass::CopyGameClassFrom(const CEditGameClass& other) {
    SetClass(other.m_className);
    m_angle = other.m_angle;
    m_spawnFlags = other.m_spawnFlags;
    m_keyValues = other.m_keyValues;
}
