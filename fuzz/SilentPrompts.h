#pragma once

#include "common/Prompts.h"

// Answers every prompt without output, so fuzzing logs stay readable.
class SilentPrompts : public Prompts {
public:
    void Message(const std::string&, Icon, const std::string&) override {}
    Answer YesNo(const std::string&, Icon, const std::string&) override { return Answer::No; }
    Answer YesNoCancel(const std::string&, Icon, const std::string&) override {
        return Answer::Cancel;
    }
    Answer OkCancel(const std::string&, Icon, const std::string&) override {
        return Answer::Cancel;
    }
    bool MessageWithCheck(const std::string&, const std::string&, const std::string&) override {
        return false;
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
};
