#pragma once

class CMapDoc;
class CPrefab;
class QWidget;

// "C&reate Prefab": asks for the new prefab's name, description and library ("Edit Library"
// with "&Create in:"), checks the name, and stores copies of the selected objects as the new
// prefab in that library. Null when the selection is empty or the user gives up.
CPrefab* CreatePrefabFromSelection(CMapDoc& doc, QWidget* parent);
