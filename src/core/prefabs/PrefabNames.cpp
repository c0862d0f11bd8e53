#include "prefabs/PrefabNames.h"

#include "document/DocumentServices.h"

bool IsValidPrefabName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    constexpr std::string_view kAllowed = " $%`-_@~'!(){}^#&";
    for (char c : name) {
        const auto code = static_cast<unsigned char>(c);
        const bool letterOrDigit = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') ||
                                   (code >= '0' && code <= '9');
        if (!letterOrDigit && code < 128 && kAllowed.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

NameCheck CheckPrefabName(std::string_view name) {
    if (IsValidPrefabName(name)) {
        return NameCheck::Valid;
    }
    Prompts::Answer answer = DocumentServices::Installed().GetPrompts().OkCancel(
        kInvalidPrefabNameMessage, Prompts::Icon::Warning);
    return answer == Prompts::Answer::Ok ? NameCheck::AskAgain : NameCheck::GiveUp;
}
