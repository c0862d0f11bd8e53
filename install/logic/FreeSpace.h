#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

// Answers how many bytes may still be written on the file system that holds a path; nothing
// when that can't be found out. The installation takes one, so tests can pretend a full disk.
using FreeSpaceQuery = std::function<std::optional<quint64>(const QString& path)>;

// The free space available to this user on the file system of `path`, asked of the nearest
// existing directory on the way up (the destination usually doesn't exist yet).
std::optional<quint64> QueryFreeSpace(const QString& path);
