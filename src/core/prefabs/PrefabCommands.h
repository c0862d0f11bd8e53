#pragma once

#include <string>

class CMapClass;
class CMapDoc;
class CPrefab;
class CPrefabLibrary;

// Create Prefab: stores copies of the document's selected objects (positions unchanged) as a
// new prefab with the name and notes given, puts it into the load cache, adds it to the
// library and saves the library. Nothing happens with an empty selection (null).
CPrefab* CreatePrefab(CMapDoc& document, const std::string& name, const std::string& notes,
                      CPrefabLibrary& library);

// Insert Prefab: an object made from the prefab, of the prefab's own size, centred on the
// document's paste point, under the undo step "Insert Prefab"; it becomes the only selected
// object. Null when there is no prefab or it cannot be loaded.
CMapClass* InsertPrefab(CMapDoc& document, CPrefab* prefab);
