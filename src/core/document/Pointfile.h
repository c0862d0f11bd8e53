#pragma once

#include "geometry/Vector.h"

#include <string>
#include <string_view>
#include <vector>

// The leak trail qbsp writes when a map is open to the void: NAME.pts, one point a line
// ("x y z"), from inside the map out to the void.
struct Pointfile {
    std::string path;
    std::vector<Vector> points;
    // The point the 3D camera stands at after Next/Previous Leak Point (-1: none yet).
    int current = -1;

    bool IsEmpty() const { return points.empty(); }

    // Reads the points of text: lines of three numbers; blank lines are skipped. False with
    // error set at the first line that is not a point, or when there is no point at all.
    static bool Parse(std::string_view text, std::vector<Vector>& points, std::string& error);
    // Reads the file; false with error (the system's reason, or the parse error).
    bool Load(const std::string& file, std::string& error);

    // Moves current one point on (step +1) or back (-1), staying inside the trail, and gives
    // where the camera stands and where it looks: along the trail, towards the next point
    // (at the last point, on in the direction of the last piece).
    bool Step(int step, Vector& position, Vector& target);
};
