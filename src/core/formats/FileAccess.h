#pragma once

#include "formats/FileResult.h"
#include "formats/OutputBuffer.h"

#include <functional>
#include <string>
#include <string_view>

// Whole files for the format readers and writers; what the system refuses becomes a
// diagnostic of the result.

// Reads the regular file at path whole and hands its content to read.
FileResult ReadFileWith(const std::string& path,
                        const std::function<FileResult(std::string_view data)>& read);

// Writes through write to a temporary file that replaces path only when everything was
// written. keepBackup: a file that is replaced stays as BackupPathOf(path).
FileResult WriteFileWith(const std::string& path, bool keepBackup,
                         const std::function<FileResult(OutputBuffer::Sink sink)>& write);

// Where a save keeps the previous version of path: "NAME.rmf" -> "NAME.rmf.bak".
std::string BackupPathOf(const std::string& path);

// A sink that appends to out.
OutputBuffer::Sink SinkInto(std::string& out);
