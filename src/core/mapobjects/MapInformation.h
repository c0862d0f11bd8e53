#pragma once

class CMapWorld;

// The counts the Map Information dialog shows for all objects under a world.
struct MapInformation {
    int solids = 0;
    // The sum of the solids' face counts.
    int faces = 0;
    int pointEntities = 0;
    // Entities that are not point entities.
    int solidEntities = 0;
};

MapInformation CountMapInformation(const CMapWorld& world);
