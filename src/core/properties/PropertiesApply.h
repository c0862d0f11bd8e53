#pragma once

#include <vector>

class CEditGameClass;
class CMapClass;
class CMapDoc;
class ClassInfoState;
class SpawnFlagsState;
class VisGroupRows;

// Which pages the object properties show, by what is selected.
enum class SelectionKind { Nothing, SolidOrGroup, Entity, World, Several };
enum class PropertyPage { ClassInfo, Flags, VisGroups, NoProperties };

SelectionKind SelectionKindOf(const std::vector<CMapClass*>& objects);
// In tab order: Class Info, Flags, VisGroups for one entity; Class Info for the world;
// VisGroups for a solid, a group or several objects; "No properties available" for nothing.
std::vector<PropertyPage> PagesFor(SelectionKind kind);

// True when both hold the same pairs in the same order.
bool SameKeyValues(const CEditGameClass& a, const CEditGameClass& b);

// The keyvalue holder of an entity or the world, null for other objects.
CEditGameClass* GameClassPart(CMapClass* object);

// The pages whose content is written into the objects (null: not on the sheet).
struct PropertyPages {
    const ClassInfoState* classInfo = nullptr;
    const SpawnFlagsState* flags = nullptr;
    const VisGroupRows* visGroups = nullptr;
};

// Writes the pages into every object. Only objects the pages would change are touched; when
// there are any, they are written as one undo step "Properties", the document is marked
// modified and the views are updated. Returns how many objects changed.
// Without asUndoStep nothing is recorded and the redo history stays: for the class defaults
// the sheet fills in by itself (an undone step shown again must not lose its redo).
int ApplyObjectProperties(CMapDoc& doc, const std::vector<CMapClass*>& objects,
                          const PropertyPages& pages, bool asUndoStep = true);
