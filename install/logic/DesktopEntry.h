#pragma once

#include <QString>
#include <QStringList>

// Desktop entries stand for the shortcuts of the installation: "<name>.desktop" files that
// start a program from the desktop's menus.

// Escapes a string value: backslash, newline, tab and carriage return, and a leading space
// that the reader would otherwise drop.
QString EscapeDesktopValue(const QString& value);

// Writes one program path as the value of an Exec key: always double-quoted, with '"', '`', '$'
// and '\' escaped inside the quotes, '%' doubled, and the value then escaped as a string.
QString DesktopExecValue(const QString& program);

// The whole text of an entry that starts `target` in its own directory. With mimeTypes, the
// entry declares that the program opens files of those types, and passes it the file (%f).
QString DesktopEntryText(const QString& name, const QString& target,
                         const QStringList& mimeTypes = {});

// Writes DesktopEntryText to `linkPath` (replacing an existing file only once the new one is
// complete). Fails for a name holding "/", which would put the entry in another folder.
bool WriteDesktopEntry(const QString& linkPath, const QString& name, const QString& target,
                       const QStringList& mimeTypes = {});

// The types a shared-mime-info file describes (its <mime-type type="..."> elements); nothing
// when the file can't be read or is not well-formed.
QStringList MimeTypesOfFile(const QString& path);
