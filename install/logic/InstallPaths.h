#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where the installer puts things when the user accepts the defaults: ~/.local/opt/Brickhaven,
// with the home directory written out.
QString DefaultDestination();

// The user's data folder: $XDG_DATA_HOME, or ~/.local/share when XDG_DATA_HOME is unset, empty
// or not absolute.
QString DataHomeDirectory();

// The desktop's "Programs" folder: DataHomeDirectory()/applications.
QString ProgramsDirectory();

// The destination directory typed into the dialog: one trailing "/" removed, a leading "~"
// standing for the home directory, and a relative path taken from the current directory.
QString DestinationFromText(const QString& text);

// The folder for the desktop entries: the Programs folder, "/" and the folder name typed into
// the dialog, one trailing "/" removed.
QString ShortcutFolderFromText(const QString& programsDirectory, const QString& folderName);

// Creates `path` and every missing parent, walking the components from the first to the last
// (a leading "/" belongs to the first component). Fails when a component exists but is not a
// directory, or can't be created.
bool CreateDirectoryWithParents(const QString& path);

// True when `path` names a directory (following symbolic links).
bool IsDirectory(const QString& path);

// The names of the subfolders of `directory` that don't begin with ".", sorted without regard
// to case; nothing when the folder can't be listed.
std::optional<QStringList> ListProgramFolders(const QString& directory);
