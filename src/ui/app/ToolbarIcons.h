#pragma once

#include <QIcon>
#include <QPixmap>

// Pictures of the tool bar buttons, drawn at run time; a null icon for commands without one.
QIcon CommandIcon(int commandId);
// The program's icon: a few bricks.
QIcon ProgramIcon();
// The picture of the logo window shown while the editor starts.
QPixmap LogoPixmap();
