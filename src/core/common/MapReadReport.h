#pragma once

#include "common/ErrorList.h"

#include <string>

// What the last MAP read found besides the map itself.
struct MapReadReport {
    // Solids whose planes did not make a valid solid; they were left out.
    int droppedSolids = 0;
    // Some line could not be read (details in the editor's error list).
    bool parseErrors = false;
    // What went wrong in this read, each with its line.
    ErrorList errors;
    // The value of the world's "wad" key, which the reader otherwise ignores.
    std::string wad;
};
