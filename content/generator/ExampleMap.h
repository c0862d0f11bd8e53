#pragma once

#include <string>

// The example level that ships with the editor: three rooms inside one sealed shell, with
// pools of slime, water and lava, a door, a trigger, lights and a player start, textured with
// the shipped WAD. Returns the MAP text.
std::string ExampleMapText();
