#pragma once

#include <string>
#include <string_view>

// Library and prefab names entered by the user: every character a letter, a digit, a blank,
// one of $%`-_@~'!(){}^#& or a character with a code of 128 or more. An empty name is not
// valid either (a library of that name would have no file name).
bool IsValidPrefabName(std::string_view name);

inline constexpr const char* kInvalidPrefabNameMessage =
    "That's not a valid name - some of the characters aren't\n"
    "acceptable. Try using a name with only A-Z, 0-9, space,\n"
    "and these characters: $%`-_@~'!(){}^#&";

// What the name dialog does next.
enum class NameCheck { Valid, AskAgain, GiveUp };
// Valid names pass; otherwise the message above is shown with OK (ask again) and Cancel.
NameCheck CheckPrefabName(std::string_view name);
