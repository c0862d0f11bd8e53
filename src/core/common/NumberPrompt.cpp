#include "common/NumberPrompt.h"

#include <algorithm>
#include <cstdlib>

std::optional<int> AskNumber(Prompts& prompts, const std::string& caption, const std::string& label,
                             int initial, int minimum, int maximum) {
    if (auto* numbers = dynamic_cast<NumberPrompt*>(&prompts)) {
        std::optional<int> value = numbers->InputNumber(caption, label, initial, minimum, maximum);
        if (!value) {
            return std::nullopt;
        }
        return std::clamp(*value, minimum, maximum);
    }
    const std::optional<std::string> entered =
        prompts.InputText(caption, label, std::to_string(initial));
    if (!entered) {
        return std::nullopt;
    }
    char* end = nullptr;
    const long value = std::strtol(entered->c_str(), &end, 10);
    if (end == entered->c_str()) {
        return 0;
    }
    return static_cast<int>(std::clamp<long>(value, minimum, maximum));
}
