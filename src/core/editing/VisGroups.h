#pragma once

#include <cstdint>
#include <string>

class CMapClass;
class CMapDoc;
class CMapWorld;

// Visgroup editing: the Object Groups dialog's operations and the membership a new object
// gets. (Switching groups on and off is the Filter Control, FilterControl.h.)

// "&New group": appends a group "new group" with a random colour, the smallest free id and
// visible off; returns its index in the table. With every id taken (or kept for a removal
// that can still be undone) writes "Out of group IDs." to the message window and returns -1.
int NewVisGroup(CMapWorld& world);

// Renames the group at index (cut to 127 characters); nothing for an index out of range.
void RenameVisGroup(CMapWorld& world, int index, const std::string& name);
// Colours the group at index (0xRRGGBB).
void SetVisGroupColor(CMapWorld& world, int index, std::uint32_t rgb);

// Colours in the platform colour chooser's order (0xBBGGRR) and back: red and blue swap.
std::uint32_t SwapRedAndBlue(std::uint32_t color);

// Closing the Object Groups dialog: the world's id index is rebuilt and the main window's
// bars refill from the document.
void CloseObjectGroups(CMapDoc& doc);

// "&Remove": the group at index leaves the table and its id leaves the memberships of every
// object of the map, as one undo step ("Remove Group") that puts both back.
void RemoveVisGroup(CMapDoc& doc, int index);

// The memberships of a new object: with visgroup filtering on, the ids of the groups that are
// switched on (table order, at most eight), and the colour of the first of them. The object
// is recorded first; with filtering off nothing else changes. It must be in the world's tree.
void ApplyDefaultVisGroups(CMapClass& object, const CMapWorld& world);
