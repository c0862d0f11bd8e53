#pragma once

class CMapDoc;

// The Save, Save As and Export commands and the question before a map closes: the file
// dialogs and questions they show, and the rules for the names chosen there. The document
// itself writes the files.
namespace DocumentSaving {

// Save: to the document's file when it exists and can be written, else Save As (offering
// only RMF for an untitled map). A prefab document is stored into its library.
bool Save(CMapDoc& document);
// Save As with both formats offered; the file chosen becomes the document's.
bool SaveAs(CMapDoc& document);
// Export to Quake MAP, in the dialect of the filter chosen; the modified flag is left as it
// was. An untitled map is saved first.
bool Export(CMapDoc& document);
// Asks about unsaved changes before the map closes; false when the user cancels.
bool SaveModified(CMapDoc& document);
// The export's "Save Visible objects only" box, remembered for the run.
bool& ExportVisibleOnly();

} // namespace DocumentSaving
