#pragma once

#include <optional>
#include <string>

// What a key or value typed into the object properties may hold. Keys hold 19 characters and
// values 511, as in an entity's keyvalue list.

// Null when key can be stored; otherwise the message that tells the user why not (empty,
// too long, or one of the keys kept in fields of their own).
std::optional<std::string> CheckKeyText(const std::string& key);

// The value as stored: cut to 511 characters.
std::string StoredValueText(const std::string& value);

// The class text as the properties read it: only the part in parentheses when there is one
// ("Light (light)" names the class light).
std::string EffectiveClassName(const std::string& classText);
