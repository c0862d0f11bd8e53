#pragma once

// Progress of long work (MAP loading): position 0-100 and whether the user cancelled.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetPosition(int percent) = 0;
    virtual bool Cancelled() const = 0;
};
