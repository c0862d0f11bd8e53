#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// Pictures of the tool bar buttons, drawn at run time; a null icon for commands without one.
QIcon CommandIcon(int commandId);
// The program's icon: a few bricks.
QIcon ProgramIcon();
// The program's icon drawn at size x size pixels (the desktop's icon theme gets these). Needs
// no application object.
QImage ProgramIconImage(int size);
// The picture of the logo window shown while the editor starts.
QPixmap LogoPixmap();
