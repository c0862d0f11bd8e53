#pragma once

#include <QString>

// Copies `source` to `target`, replacing an existing target only once the copy is complete
// (so a running program that is being replaced keeps working), and gives the copy the
// source's permissions, so programs stay executable.
bool CopyFileReplacing(const QString& source, const QString& target);
