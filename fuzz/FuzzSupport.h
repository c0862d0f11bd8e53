#pragma once

#include "common/Prompts.h"

#include <string>

// Prompts that show nothing, so a fuzzing run does not flood the terminal.
class SilentPrompts : public ConsolePrompts {
public:
    void Message(const std::string&, Icon, const std::string&) override {}
    Answer YesNo(const std::string&, Icon, const std::string&) override { return Answer::Yes; }
};
