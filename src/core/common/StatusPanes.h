#pragma once

#include <string>

// The main frame's status bar, written pane by pane (0 to 5).
class StatusPanes {
public:
    virtual ~StatusPanes() = default;
    virtual void SetPaneText(int pane, const std::string& text) = 0;
};
