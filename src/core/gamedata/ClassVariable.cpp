#include "gamedata/ClassVariable.h"

#include "gamedata/TextCompare.h"

#include <array>

namespace {
constexpr std::array<const char*, 7> kTypeKeywords = {
    "angle", "target_destination", "target_source", "integer", "string", "choices", "flags",
};

bool TypeUsesString(VariableType type) {
    return type == VariableType::TargetDestination || type == VariableType::TargetSource ||
           type == VariableType::String;
}
} // namespace

const char* VariableTypeKeyword(VariableType type) {
    auto index = static_cast<std::size_t>(type);
    return index < kTypeKeywords.size() ? kTypeKeywords[index] : "";
}

std::optional<VariableType> VariableTypeFromKeyword(const std::string& keyword) {
    for (std::size_t i = 0; i < kTypeKeywords.size(); ++i) {
        if (EqualsNoCase(keyword, kTypeKeywords[i])) {
            return static_cast<VariableType>(i);
        }
    }
    return std::nullopt;
}

void ClassVariable::ResetToDefault() {
    if (type == VariableType::Flags) {
        std::int32_t bits = 0;
        for (const VariableChoice& item : items) {
            if (item.onByDefault) {
                bits |= item.value;
            }
        }
        workingInteger = bits;
        return;
    }
    workingInteger = defaultInteger;
    workingString = defaultString;
}

ClassVariable::KeyValue ClassVariable::FormatKeyValue() const {
    if (TypeUsesString(type)) {
        return {name, workingString};
    }
    return {name, std::to_string(workingInteger)};
}

ClassVariable::KeyValue ClassVariable::DefaultKeyValue() const {
    ClassVariable copy = *this;
    copy.ResetToDefault();
    return copy.FormatKeyValue();
}

const std::string* ClassVariable::ItemCaption(std::int32_t v) const {
    int index = FindItem(v);
    return index < 0 ? nullptr : &items[static_cast<std::size_t>(index)].caption;
}

std::int32_t ClassVariable::ItemValue(const std::string& caption) const {
    for (const VariableChoice& item : items) {
        if (EqualsNoCase(item.caption, caption)) {
            return item.value;
        }
    }
    return kNoItemValue;
}

int ClassVariable::FindItem(std::int32_t v) const {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == v) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
