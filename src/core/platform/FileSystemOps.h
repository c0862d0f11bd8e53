#pragma once

#include <string>

// Small file-system operations the prefab libraries need, kept out of the portable code.

// True when path names an existing file or folder.
bool PathExists(const std::string& path);
// Creates the folder and any missing parents (mode 0777 less the umask); true when the folder
// exists afterwards.
bool MakeDirectories(const std::string& path);
// True when a file can be created in the folder: a probe file is made and removed again, so
// the answer also holds for read-only mounts and for privileged users.
bool IsDirectoryWritable(const std::string& path);
// Moves a file to a new name without ever replacing a file that already has that name. False,
// with the system's error text in error, when the target exists or the move fails.
bool RenameNoReplace(const std::string& from, const std::string& to, std::string& error);
// Deletes a file; false with the system's error text when that fails.
bool RemoveFile(const std::string& path, std::string& error);
// A folder of the XDG base directory rules: the environment variable (e.g. "XDG_STATE_HOME")
// when it holds an absolute path, else $HOME/homeRelative (e.g. ".local/state").
std::string XdgBaseDirectory(const char* variable, const char* homeRelative);
