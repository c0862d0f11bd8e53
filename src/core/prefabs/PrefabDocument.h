#pragma once

class CMapDoc;
class CPrefab;

// Makes document the prefab document of prefab: its path and title become the prefab's name
// and its world receives copies of the prefab map's objects; saving it ("Update Prefab")
// stores the map back into the prefab's library. False when the prefab's map cannot be loaded.
bool OpenPrefabDocument(CMapDoc& document, CPrefab& prefab);
