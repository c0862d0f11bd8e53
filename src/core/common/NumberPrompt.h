#pragma once

#include "common/Prompts.h"

#include <optional>
#include <string>

// Prompts that can ask for a whole number with a spin control limited to a range. Code that
// asks for a number uses it when the installed prompts offer it and falls back to a text field
// otherwise (AskNumber).
class NumberPrompt {
public:
    virtual ~NumberPrompt() = default;
    virtual std::optional<int> InputNumber(const std::string& caption, const std::string& label,
                                           int initial, int minimum, int maximum) = 0;
};

// Asks through NumberPrompt when prompts implement it, else through InputText (the number at
// the start of the entered text, 0 when there is none). The result is kept within the range.
std::optional<int> AskNumber(Prompts& prompts, const std::string& caption, const std::string& label,
                             int initial, int minimum, int maximum);
