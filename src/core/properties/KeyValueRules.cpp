#include "properties/KeyValueRules.h"

#include "mapobjects/EditGameClass.h"

std::optional<std::string> CheckKeyText(const std::string& key) {
    if (key.empty()) {
        return std::string("A key needs a name.");
    }
    if (key.size() > CEditGameClass::kMaxKey) {
        return "The key \"" + key + "\" is too long: keys hold at most " +
               std::to_string(CEditGameClass::kMaxKey) + " characters.";
    }
    if (EqualsIgnoreCase(key, "origin")) {
        return "The key \"" + key + "\" is the entity's position: move the entity instead.";
    }
    if (CEditGameClass::IsFieldKey(key)) {
        return "The key \"" + key + "\" is set by its own field, not as a keyvalue.";
    }
    return std::nullopt;
}

std::string StoredValueText(const std::string& value) {
    return value.substr(0, CEditGameClass::kMaxValue);
}

std::string EffectiveClassName(const std::string& classText) {
    const std::size_t open = classText.find('(');
    if (open == std::string::npos) {
        return classText;
    }
    const std::size_t close = classText.find(')', open + 1);
    const std::size_t end = close == std::string::npos ? classText.size() : close;
    return classText.substr(open + 1, end - open - 1);
}
