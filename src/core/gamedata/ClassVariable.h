#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The kinds of keyvalue a game data class declares, in file-format order.
enum class VariableType {
    Angle = 0,
    TargetDestination = 1,
    TargetSource = 2,
    Integer = 3,
    String = 4,
    Choices = 5,
    Flags = 6,
};

// The keyword of a type as written in game data files ("angle", "target_destination", ...).
const char* VariableTypeKeyword(VariableType type);
// Case-insensitive lookup of a type keyword.
std::optional<VariableType> VariableTypeFromKeyword(const std::string& keyword);

// One allowed value of a choices variable, or one bit of a flags variable.
struct VariableChoice {
    std::int32_t value = 0;
    std::string caption;
    bool onByDefault = false; // flags only
};

// A key an entity class takes, with its description, default and allowed values.
// The working values are what the entity page is editing.
class ClassVariable {
public:
    static constexpr std::size_t kMaxName = 32;
    static constexpr std::size_t kMaxText = 127;
    // Returned by ItemValue() when no caption matches.
    static constexpr std::int32_t kNoItemValue = 0xFFFF;

    struct KeyValue {
        std::string key;
        std::string value;
    };

    std::string name;
    std::string description;
    VariableType type = VariableType::String;
    std::int32_t defaultInteger = 0;
    std::string defaultString;
    std::vector<VariableChoice> items;

    std::int32_t workingInteger = 0;
    std::string workingString;

    bool IsChoicesOrFlags() const {
        return type == VariableType::Choices || type == VariableType::Flags;
    }

    // Flags: the OR of the items on by default. Other types: the default integer and string.
    void ResetToDefault();
    // The key is the name; the value is the working string or the working integer in decimal.
    KeyValue FormatKeyValue() const;
    // The same for the defaults, without touching the working values.
    KeyValue DefaultKeyValue() const;

    // Caption of the first item whose value is v, or null.
    const std::string* ItemCaption(std::int32_t v) const;
    // Value of the first item whose caption matches (ignoring case), or kNoItemValue.
    std::int32_t ItemValue(const std::string& caption) const;
    // Index of the first item with this value, or -1.
    int FindItem(std::int32_t v) const;
};
