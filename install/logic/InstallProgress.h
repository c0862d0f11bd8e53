#pragma once

#include <QString>

// What the installation tells the user while it copies: a progress range and position and one
// line of status text. The dialog shows a progress window; tests record the calls.
class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    virtual void Open(int maximum) = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void Close() = 0;
};
