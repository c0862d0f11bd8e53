#pragma once

class CMapWorld;

// Looks up again the class of every entity of the world that has none (a map opened before
// the game data was loaded), so point entities take their class's box and every entity its
// class colour. Nothing is recorded for undo. The world's bounds are recomputed when an
// entity found its class; returns how many did.
int RefreshUnknownEntityClasses(CMapWorld& world);
