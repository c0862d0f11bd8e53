#pragma once

// Results of the MAP readers and writers of entities, solids and faces.
enum MapResult {
    MAP_OK = -3,
    MAP_STREAM_ERROR = -1,
    MAP_PARSE_ERROR = -2,
    // The line read belongs to another kind of object; it was pushed back.
    MAP_NOT_MINE = -4,
};
