#pragma once

class CMapDoc;
class MapDocView;

// The editing commands of a map document. Each opens an undo step with its name (unless said
// otherwise), works on the document's selection, tells the views what changed and marks the
// document modified. Messages go through the editor's prompts.

// "Delete": the selected objects leave the map (the undo history keeps them).
void OnEditDelete(CMapDoc& doc);
// Replaces the clipboard with copies of the selection. Changes nothing in the map.
void OnEditCopy(CMapDoc& doc);
// Copy, then Delete.
void OnEditCut(CMapDoc& doc);
// "Paste": copies of the clipboard's objects centred on the paste point, selected.
void OnEditPaste(CMapDoc& doc);
// After a paste has selected what it added: the views show it, the status bar and the object
// properties describe it, the selection tool is current and the map counts as changed.
void ShowPastedObjects(CMapDoc& doc);

// "Group": the selection goes into a new group with a random colour, which is selected.
void OnGroup(CMapDoc& doc);
// "Ungroup": the children of selected groups go to the groups' parents, taking over their
// visgroups and colour; the groups are destroyed.
void OnUngroup(CMapDoc& doc);
// "toEntity": the selected solids (and those inside selected groups) go into the last
// selected solid entity, if the user agrees, or into a new entity of the game data's default
// class.
void OnTieToEntity(CMapDoc& doc);
// "toWorld": the solids of selected solid entities go to the world; the entities are
// destroyed.
void OnMoveToWorld(CMapDoc& doc);

// "Carve": the first selected object is subtracted from every other visible solid.
void OnCarve(CMapDoc& doc);
// "Hollow": asks for a wall thickness and turns each selected solid into walls.
void OnMakeHollow(CMapDoc& doc);

// "Apply Texture": the current texture on every face of the selected solids (and the solids
// inside selected groups and entities).
void OnApplyCurrentTexture(CMapDoc& doc);

// Temporary hiding; not recorded in the undo history and does not mark the map modified.
void OnHideSelected(CMapDoc& doc);
void OnShowHidden(CMapDoc& doc);

// The align commands of a 2D view, named by the side of the screen they align to.
enum class AlignSide { Left, Right, Top, Bottom };
// "Align": each selected object moves along one of the view's axes until its edge on that
// side of the screen lines up with the selection's.
void OnAlign(CMapDoc& doc, const MapDocView& view, AlignSide side);

// "Flip": mirrors the selection about its centre: horizontally the view's horizontal
// coordinates (left becomes right), otherwise its vertical ones.
void OnFlip(CMapDoc& doc, const MapDocView& view, bool horizontally);
