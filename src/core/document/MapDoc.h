#pragma once

#include "document/DocumentPart.h"
#include "document/DocumentServices.h"
#include "document/History.h"
#include "document/Pointfile.h"
#include "document/PrefabLink.h"
#include "document/SelectionBox.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapDialect.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMapClass;
class CMapFace;
class CMapSolid;
class CMapWorld;
class DocumentTools;
class MapDocView;
class Progress;

// One open map: its world, undo and redo histories, selections, grid and snap state, and the
// views that show it. Every change to the map goes through the document.
class CMapDoc {
public:
    // A document with the installed services, or with the services given: it keeps them for
    // its life, and its worlds are made with them.
    CMapDoc();
    explicit CMapDoc(DocumentServices& services);
    ~CMapDoc();
    CMapDoc(const CMapDoc&) = delete;
    CMapDoc& operator=(const CMapDoc&) = delete;

    CMapWorld* World() const { return m_world.get(); }
    DocumentServices& Services() const { return m_services; }
    CHistory& UndoHistory() { return m_undo; }
    CHistory& RedoHistory() { return m_redo; }

    // Path and modified flag.
    const std::string& Path() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    bool IsModified() const { return m_modified; }
    // True marks a change; false marks the map as saved in its present state (the undo
    // position that undo and redo may come back to).
    void SetModified(bool modified = true);
    // Counts the changes made to the map (every SetModified(true)); autosave compares it.
    std::uint64_t ChangeCount() const { return m_changeCount; }
    // The file name shown in the window title ("Untitled" without a path).
    std::string Title() const;

    // --- selection ---
    int SelectObject(CMapClass* object, int flags);
    void SelectFace(CMapFace* face, CMapSolid* solid, int flags);
    const SelectionBox& Selection() const { return m_selection; }
    const std::vector<CMapClass*>& SelectedObjects() const { return m_selection.Objects(); }
    const std::vector<CMapFace*>& SelectedFaces() const { return m_selectedFaces; }
    const std::vector<CMapSolid*>& FaceOwners() const { return m_faceOwners; }
    // After the selected objects moved: the selection's box from their bounds.
    void RecalcSelectionBounds() { m_selection.RecalcBounds(); }
    void UpdateStatusText();
    // A note about this map in the status bar's message pane ("Autosaved ...", what a command
    // made). It stays while it is true: the next change, a save, or closing the map takes it
    // away again, and so does a note of another map; with untilSelectionChanges also the next
    // selection update.
    void ShowNote(const std::string& text, bool untilSelectionChanges = false) const;
    void ClearNote() const;

    // --- views ---
    void AddView(MapDocView* view);
    void RemoveView(MapDocView* view);
    const std::vector<MapDocView*>& Views() const { return m_views; }
    bool Has3DView() const;
    void UpdateAllViews(int flags, const CUpdateHint* hint = nullptr);
    void ToolHandlesNotify(MapDocView* sender, int code);
    // what: bit 1 applies zoom, bit 2 centres on point.
    void CenterViews(int what, float zoom, const Vector& point);
    Vector GetPastePoint() const;

    // --- pick list ---
    void ClearPickList();
    void AddToPickList(CMapClass* object);
    void PickNext();
    void PickPrevious();
    const std::vector<CMapClass*>& PickList() const { return m_pickList; }
    int PickIndex() const { return m_pickIndex; }
    void SetPickIndex(int index) { m_pickIndex = index; }

    // --- grid, snap and display toggles ---
    int GridSize() const { return m_gridSize; }
    bool SnapToGrid() const { return m_snap; }
    bool ShowGrid() const { return m_showGrid; }
    bool ShowConnections() const { return m_showConnections; }
    bool HideItems() const { return m_hideItems; }
    void OnSmallerGrid();
    void OnBiggerGrid();
    void OnToggleSnap();
    void OnToggleGrid();
    void OnToggleConnections();
    void OnToggleHideItems();
    void WriteGridStatus();

    // --- commands ---
    void OnUndo();
    void OnRedo();
    void OnSelectAll();
    void OnClearSelection();
    void OnCenterViewsOnSelection();
    int ActiveTool() const;

    // --- files ---
    // Opens a map file into a new world (RMF when the path ends in "rmf", any case).
    bool OpenDocument(const std::string& path, Progress* progress = nullptr);
    // Writes the map to path (RMF or MAP by the same rule); clears the modified flag.
    bool SaveDocument(const std::string& path);
    // The map was just written to path under a new name: the document belongs to that file
    // now, and recentFileAdded is told.
    void SetPathAfterSave(const std::string& path);
    // Writes MAP text with the visible-only switch in dialect (unset: the map's own); the
    // modified flag is left as it was.
    bool ExportMap(const std::string& path, bool visibleOnly,
                   std::optional<MapDialect> dialect = std::nullopt);
    // Writes the MAP file a compile run works on: header first, no backup, the modified
    // flag left as it was.
    bool ExportForCompile(const std::string& path, bool visibleOnly, const std::string& header);
    // The folder of the document's file (empty when it has none): relative "wad" entries of
    // the map are found from there.
    std::string SourceFolder() const;
    // --- pointfile ---
    // The leak trail shown in the views (empty when none is loaded). Loading replaces it and
    // says so in the message window; a file that cannot be read leaves the shown one and
    // gives an error line. Both redraw the views.
    bool LoadPointfile(const std::string& path);
    void ClearPointfile();
    const Pointfile& LeakTrail() const { return m_pointfile; }
    // Next (+1) or previous (-1) point of the trail: where the camera goes and looks. False
    // without a trail.
    bool StepLeakTrail(int step, Vector& position, Vector& target) {
        return m_pointfile.Step(step, position, target);
    }

    // Serialize with recording suspended; the document becomes active. isRmf picks the format.
    bool Serialize(const std::string& path, bool saving, bool isRmf, bool visibleOnly = false,
                   Progress* progress = nullptr);
    // Destroys the world and makes no document active.
    void DeleteContents();

    // State of the block and entity tools shown in the status bar.
    BoundBox blockBox;
    std::optional<Vector> entityPoint;

    // The tools and tool objects shared by the document's 2D views (tools/DocumentTools.h),
    // made on first use.
    template <class T = DocumentTools> T& Tools() const {
        if (!m_tools) {
            m_tools = std::make_unique<T>();
        }
        return static_cast<T&>(*m_tools);
    }
    // Told of every path SetPathAfterSave gives the document (the recent-file list).
    std::function<void(const std::string&)> recentFileAdded;

    // --- prefab documents ---
    // A prefab document edits a copy of a prefab's map; Save ("Update Prefab") stores the map
    // back into the prefab's library and closes the document.
    bool IsPrefabDocument() const { return m_prefab != nullptr; }
    std::uint32_t PrefabLibraryId() const { return m_prefab ? m_prefab->LibraryId() : 0; }
    std::uint32_t PrefabId() const { return m_prefab ? m_prefab->PrefabId() : 0; }
    // Starts the document over as a prefab document with an empty world: saving stores its
    // map through link, and its path and title become name (OpenPrefabDocument() in
    // prefabs/PrefabDocument.h fills the world).
    void BeginPrefabDocument(std::unique_ptr<PrefabLink> link, const std::string& name);
    // Stores the map into the library, clears the modified flag and asks to be closed. When
    // the library is gone the user is told, and the document stays open as an ordinary one
    // named "Prefab%d.rmf" with its changes.
    bool UpdatePrefab();
    // The prefab document's part of saving: hands a copy of the map to the prefab and writes
    // the library; the modified flag is left as it was. False when nothing was stored (the
    // document is then an ordinary one when the library is gone).
    bool StoreIntoPrefabLibrary();
    // "Update Prefab\tCtrl+S" for a prefab document, else "&Save\tCtrl+S".
    std::string SaveMenuText() const;
    // Told when the document wants to be closed (after Update Prefab). The shell closes it
    // after the current command has returned, never from inside this call.
    std::function<void()> closeRequested;

    // --- editor-wide ---
    static void SetActiveMapDoc(CMapDoc* document);
    static CMapDoc* GetActiveMapDoc();
    // Texture lock follows the setting for the active map's dialect (texture-axis maps and
    // standard maps each have their own); setting it changes that one.
    static void RefreshTextureLock();
    static void SetTextureLock(bool on);
    static const std::vector<CMapDoc*>& AllDocuments();

private:
    void NewWorld();
    // Undo (undo history) or Redo (redo history) with the selection the step saved.
    void ApplyHistory(CHistory& history);
    void ClearFaceSelection();
    void WriteGridStatusText();

    DocumentServices& m_services;
    std::unique_ptr<CMapWorld> m_world;
    CHistory m_undo;
    CHistory m_redo;
    SelectionBox m_selection;
    std::vector<CMapFace*> m_selectedFaces;
    std::vector<CMapSolid*> m_faceOwners;
    std::vector<MapDocView*> m_views;
    std::vector<CMapClass*> m_pickList;
    int m_pickIndex = -1;
    int m_gridSize = 64;
    bool m_snap = true;
    bool m_showGrid = true;
    bool m_showConnections = false;
    bool m_hideItems = false;
    std::string m_path;
    Pointfile m_pointfile;
    bool m_modified = false;
    std::uint64_t m_changeCount = 0;
    // The undo history's state when the map was last saved (or opened), and whether it is
    // still one undo and redo can reach: a change that no undo step holds makes it unknown.
    std::uint32_t m_savedState = 0;
    bool m_savedStateKnown = true;
    // The undo history's state at the last change.
    std::uint32_t m_stateAtLastChange = 0;
    // The dialect the export being written was given (unset: the map's own).
    std::optional<MapDialect> m_exportDialect;
    // Set while the document edits a prefab.
    std::unique_ptr<PrefabLink> m_prefab;
    mutable std::unique_ptr<DocumentPart> m_tools;
};
