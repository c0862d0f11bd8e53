#include "document/MapDoc.h"

#include "common/CountText.h"
#include "common/StatusPanes.h"
#include "common/ToolId.h"
#include "document/DocumentServices.h"
#include "document/EditorSinks.h"
#include "document/FileReport.h"
#include "document/MapDocView.h"
#include "document/MapFiles.h"
#include "document/MapWads.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

void SetPane(const DocumentServices& services, int pane, const std::string& text) {
    if (StatusPanes* panes = services.statusPanes) {
        panes->SetPaneText(pane, text);
    }
}

std::string Format(const char* format, int a, int b, int c) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

// What the user changed in the object properties and has not applied yet is written first.
void ApplyPendingEdits(const DocumentServices& services) {
    if (ObjectPropertiesSink* sheet = services.objectProperties) {
        sheet->ApplyPending();
    }
}

bool IsInTree(const CMapClass* object, const CMapClass* root) {
    for (const CMapClass* o = object; o; o = o->Parent()) {
        if (o == root) {
            return true;
        }
    }
    return false;
}

// The map whose note the message pane shows, if any.
const CMapDoc* g_noteOwner = nullptr;
bool g_noteUntilSelection = false;

} // namespace

CMapDoc::CMapDoc() : CMapDoc(DocumentServices::Installed()) {}

CMapDoc::CMapDoc(DocumentServices& services)
    : m_services(services), m_undo(services), m_redo(services) {
    CHistory::Link(m_undo, m_redo);
    m_gridSize = m_services.options.defaultGrid;
    NewWorld();
    m_services.documents.push_back(this);
}

CMapDoc::~CMapDoc() {
    ClearNote();
    auto& docs = m_services.documents;
    docs.erase(std::remove(docs.begin(), docs.end(), this), docs.end());
    if (m_services.activeDocument == this) {
        SetActiveMapDoc(nullptr);
    }
    if (ObjectPropertiesSink* props = m_services.objectProperties) {
        props->ClearObjects();
    }
    // The histories go first: what they hold as removed is freed once, and nothing they
    // hold is touched after the world is gone.
    CHistory::DisposeWithDocument(m_undo, m_redo);
    m_world.reset();
}

void CMapDoc::SetModified(bool modified) {
    // Any change of state, undo and redo included, makes the message pane's note stale.
    ClearNote();
    const std::uint32_t state = m_undo.StateTag();
    if (!modified) {
        m_modified = false;
        m_savedState = state;
        m_savedStateKnown = true;
        m_stateAtLastChange = state;
        return;
    }
    // A change that opened no undo step is one undo cannot take back: the saved state can no
    // longer be told by the undo position.
    if (state == m_stateAtLastChange) {
        m_savedStateKnown = false;
    }
    m_stateAtLastChange = state;
    m_modified = true;
    ++m_changeCount;
}

std::string CMapDoc::Title() const {
    if (m_path.empty()) {
        return "Untitled";
    }
    std::string::size_type slash = m_path.rfind('/');
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

void CMapDoc::NewWorld() {
    m_selection.Clear();
    ClearFaceSelection();
    ClearPickList();
    CHistory::DisposeWithDocument(m_undo, m_redo);
    m_world = std::make_unique<CMapWorld>(m_services);
}

int CMapDoc::ActiveTool() const {
    MainFrameSink* frame = m_services.mainFrame;
    return frame ? frame->CurrentTool() : TOOL_SELECTION;
}

// --- selection ---

int CMapDoc::SelectObject(CMapClass* object, int flags) {
    int result = 0;
    if (flags & (SELECT_TOGGLE | SELECT_ADD | SELECT_REMOVE)) {
        int mode = flags & ~(SELECT_UPDATE | SELECT_CLEAR);
        const bool found = object && m_selection.Contains(object);
        if (mode & SELECT_TOGGLE) {
            mode = found ? SELECT_REMOVE : SELECT_ADD;
        }
        if (mode & SELECT_ADD) {
            if (flags & SELECT_CLEAR) {
                for (CMapClass* selected : m_selection.Objects()) {
                    selected->SetRenderState(RENDER_DESELECT, 0);
                }
                m_selection.Clear();
            }
            result = found ? 1 : 0;
            if (object && m_selection.Add(object)) {
                object->SetRenderState(RENDER_SELECT, 0);
                result = 1;
            }
        } else if (mode & SELECT_REMOVE) {
            if (found) {
                m_selection.Remove(object);
                object->SetRenderState(RENDER_DESELECT, 0);
            }
            result = found ? 1 : 0;
        }
    } else {
        if (flags & SELECT_UPDATE) {
            result = 1;
        } else if (ActiveTool() == TOOL_SELECTION && !m_selection.IsEmpty()) {
            ToolHandlesNotify(nullptr, 3);
            m_selection.RecalcBounds();
        }
        if (flags & SELECT_CLEAR) {
            for (CMapClass* selected : m_selection.Objects()) {
                selected->SetRenderState(RENDER_DESELECT, 0);
            }
            m_selection.Clear();
        }
    }
    if (flags & SELECT_UPDATE) {
        m_selection.RecalcBounds();
        UpdateAllViews(UPDATE_REDRAW | UPDATE_3D_ONLY);
        if (ActiveTool() == TOOL_SELECTION) {
            ToolHandlesNotify(nullptr, 2);
        }
        if (ObjectPropertiesSink* props = m_services.objectProperties) {
            props->SetObjects(m_selection.Objects());
        }
        UpdateStatusText();
        result = 0;
    }
    return result;
}

void CMapDoc::ClearFaceSelection() {
    for (CMapFace* face : m_selectedFaces) {
        face->SetFaceRenderState(RENDER_DESELECT);
    }
    m_selectedFaces.clear();
    m_faceOwners.clear();
}

void CMapDoc::SelectFace(CMapFace* face, CMapSolid* solid, int flags) {
    if (flags & (SELECT_TOGGLE | SELECT_ADD | SELECT_REMOVE)) {
        int mode = flags & ~(SELECT_UPDATE | SELECT_CLEAR);
        auto it = std::find(m_selectedFaces.begin(), m_selectedFaces.end(), face);
        const bool found = face && it != m_selectedFaces.end();
        if (mode & SELECT_TOGGLE) {
            mode = found ? SELECT_REMOVE : SELECT_ADD;
        }
        if (mode & SELECT_ADD) {
            if (flags & SELECT_CLEAR) {
                ClearFaceSelection();
            }
            if (face && std::find(m_selectedFaces.begin(), m_selectedFaces.end(), face) ==
                            m_selectedFaces.end()) {
                m_selectedFaces.push_back(face);
                face->SetFaceRenderState(RENDER_SELECT);
                if (solid && std::find(m_faceOwners.begin(), m_faceOwners.end(), solid) ==
                                 m_faceOwners.end()) {
                    m_faceOwners.push_back(solid);
                }
            }
        } else if ((mode & SELECT_REMOVE) && found) {
            m_selectedFaces.erase(it);
            face->SetFaceRenderState(RENDER_DESELECT);
        }
    } else if (flags & SELECT_CLEAR) {
        ClearFaceSelection();
    }
    if (flags & SELECT_UPDATE) {
        UpdateAllViews(UPDATE_REDRAW | UPDATE_3D_ONLY);
        if (FacePropertiesSink* faces = m_services.faceProperties) {
            faces->SetFaces(m_selectedFaces, m_faceOwners);
        }
        UpdateStatusText();
    }
}

void CMapDoc::UpdateStatusText() {
    if (g_noteUntilSelection) {
        ClearNote();
    }
    MainFrameSink* frame = m_services.mainFrame;
    if (frame && frame->FaceEditingMode()) {
        SetPane(m_services, 1,
                CountText(static_cast<long long>(m_selectedFaces.size()), "face", "faces") +
                    " selected");
        SetPane(m_services, 3, "");
        return;
    }
    if (m_selection.IsEmpty()) {
        SetPane(m_services, 1, "no selection.");
    } else if (m_selection.Count() == 1) {
        SetPane(m_services, 1, m_selection.Objects().front()->GetDescription());
    } else {
        SetPane(m_services, 1, std::to_string(m_selection.Count()) + " objects selected.");
    }
    std::string pane3;
    const int tool = ActiveTool();
    if (tool == TOOL_SELECTION && !m_selection.IsEmpty() && !m_selection.Bounds().IsEmpty()) {
        Vector size = m_selection.Bounds().Size();
        pane3 = Format("%dw %dl %dh", static_cast<int>(size.x), static_cast<int>(size.y),
                       static_cast<int>(size.z));
    } else if (tool == TOOL_BLOCK && !blockBox.IsEmpty()) {
        Vector size = blockBox.Size();
        pane3 = Format("%dw %dl %dh", static_cast<int>(size.x), static_cast<int>(size.y),
                       static_cast<int>(size.z));
    } else if (tool == TOOL_ENTITY && entityPoint) {
        pane3 = Format("%dx %dy %dz", static_cast<int>(entityPoint->x),
                       static_cast<int>(entityPoint->y), static_cast<int>(entityPoint->z));
    }
    SetPane(m_services, 3, pane3);
}

void CMapDoc::ShowNote(const std::string& text, bool untilSelectionChanges) const {
    SetPane(m_services, 0, text);
    g_noteOwner = this;
    g_noteUntilSelection = untilSelectionChanges;
}

void CMapDoc::ClearNote() const {
    if (g_noteOwner == this) {
        g_noteOwner = nullptr;
        SetPane(m_services, 0, "");
    }
}

// --- views ---

void CMapDoc::AddView(MapDocView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
    }
}

void CMapDoc::RemoveView(MapDocView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

bool CMapDoc::Has3DView() const {
    return std::any_of(m_views.begin(), m_views.end(), [](MapDocView* v) { return v->Is3D(); });
}

void CMapDoc::UpdateAllViews(int flags, const CUpdateHint* hint) {
    // A view may unregister itself while being updated; walk a copy.
    std::vector<MapDocView*> views = m_views;
    for (MapDocView* view : views) {
        view->OnDocumentUpdate(flags, hint);
    }
}

void CMapDoc::ToolHandlesNotify(MapDocView* sender, int code) {
    for (MapDocView* view : m_views) {
        if (view != sender && !view->Is3D()) {
            view->ToolHandles(code);
        }
    }
}

void CMapDoc::CenterViews(int what, float zoom, const Vector& point) {
    for (MapDocView* view : m_views) {
        if (view->Is3D()) {
            continue;
        }
        view->SetRedrawSuspended(true);
        if (what & 1) {
            view->SetZoom(zoom);
        }
        if (what & 2) {
            view->CenterOn(point);
        }
        view->SetRedrawSuspended(false);
        view->Invalidate();
    }
}

Vector CMapDoc::GetPastePoint() const {
    constexpr float kUnset = 99999.0f;
    Vector point{kUnset, kUnset, kUnset};
    for (MapDocView* view : m_views) {
        if (view->Is3D()) {
            continue;
        }
        Vector center = view->ClientCenterInMap();
        for (int axis : {view->HorizontalAxis(), view->VerticalAxis()}) {
            if (axis >= 0 && axis < 3 && point[axis] == kUnset) {
                point[axis] = center[axis];
            }
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (point[axis] == kUnset) {
            point[axis] = 0.0f;
        }
    }
    return point;
}

// --- pick list ---

void CMapDoc::ClearPickList() {
    m_pickList.clear();
    m_pickIndex = -1;
}

void CMapDoc::AddToPickList(CMapClass* object) {
    if (object && std::find(m_pickList.begin(), m_pickList.end(), object) == m_pickList.end()) {
        m_pickList.push_back(object);
    }
}

void CMapDoc::PickNext() {
    if (m_pickList.empty()) {
        return;
    }
    int next = m_pickIndex + 1 >= static_cast<int>(m_pickList.size()) ? 0 : m_pickIndex + 1;
    if (m_pickIndex >= 0) {
        SelectObject(m_pickList[static_cast<std::size_t>(m_pickIndex)], SELECT_TOGGLE);
    }
    SelectObject(m_pickList[static_cast<std::size_t>(next)], SELECT_TOGGLE);
    m_pickIndex = next;
    SelectObject(nullptr, SELECT_UPDATE);
}

void CMapDoc::PickPrevious() {
    if (m_pickList.empty()) {
        return;
    }
    int last = static_cast<int>(m_pickList.size()) - 1;
    int previous = m_pickIndex <= 0 ? last : m_pickIndex - 1;
    if (m_pickIndex >= 0) {
        SelectObject(m_pickList[static_cast<std::size_t>(m_pickIndex)], SELECT_TOGGLE);
    }
    SelectObject(m_pickList[static_cast<std::size_t>(previous)], SELECT_TOGGLE);
    m_pickIndex = previous;
    SelectObject(nullptr, SELECT_UPDATE);
}

// --- grid and toggles ---

void CMapDoc::WriteGridStatus() {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " Snap: %s Grid: %d ", m_snap ? "On" : "Off", m_gridSize);
    SetPane(m_services, 5, buffer);
}

void CMapDoc::OnSmallerGrid() {
    if (m_gridSize < 3) {
        return;
    }
    m_gridSize /= 2;
    UpdateAllViews(UPDATE_REDRAW | UPDATE_2D_ONLY);
    WriteGridStatus();
}

void CMapDoc::OnBiggerGrid() {
    if (m_gridSize > 511) {
        return;
    }
    m_gridSize *= 2;
    UpdateAllViews(UPDATE_REDRAW | UPDATE_2D_ONLY);
    WriteGridStatus();
}

void CMapDoc::OnToggleSnap() {
    m_snap = !m_snap;
    WriteGridStatus();
}

void CMapDoc::OnToggleGrid() {
    m_showGrid = !m_showGrid;
    UpdateAllViews(UPDATE_REDRAW);
}

void CMapDoc::OnToggleConnections() {
    m_showConnections = !m_showConnections;
    UpdateAllViews(UPDATE_REDRAW | UPDATE_2D_ONLY);
}

void CMapDoc::OnToggleHideItems() {
    m_hideItems = !m_hideItems;
    std::uint32_t flags = m_world->DisplayFilterFlags();
    flags = m_hideItems ? (flags | FILTER_HIDE_ITEMS) : (flags & ~std::uint32_t(FILTER_HIDE_ITEMS));
    m_world->UpdateVisibleObjects(static_cast<int>(flags));
    UpdateAllViews(UPDATE_OBJECTS);
}

// --- commands ---

void CMapDoc::OnUndo() {
    ApplyHistory(m_undo);
}

void CMapDoc::OnRedo() {
    ApplyHistory(m_redo);
}

void CMapDoc::ApplyHistory(CHistory& history) {
    // An edit still waiting in the object properties is applied (and so undone) first.
    ApplyPendingEdits(m_services);
    ToolHandlesNotify(nullptr, 3);
    SelectObject(nullptr, SELECT_CLEAR);
    // The step may give solids back other faces: the face selection must not outlive them.
    SelectFace(nullptr, nullptr, SELECT_CLEAR | SELECT_UPDATE);
    std::vector<CMapClass*> selection = history.Undo();
    m_world->UpdateVisibleObjects();
    // Only objects that are in the map again can be selected (after a redone Delete the
    // saved selection names objects the history holds as removed).
    for (CMapClass* object : selection) {
        if (IsInTree(object, m_world.get())) {
            SelectObject(object, SELECT_ADD);
        }
    }
    SelectObject(nullptr, SELECT_UPDATE);
    UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
    // Back at the undo position of the last save, the map is as it was saved.
    const std::uint32_t state = m_undo.StateTag();
    m_stateAtLastChange = state;
    m_modified = !(m_savedStateKnown && state == m_savedState);
    ++m_changeCount;
    ClearNote();
}

void CMapDoc::OnSelectAll() {
    const std::uint32_t flags = m_world->DisplayFilterFlags();
    for (CMapClass* object : m_world->Children()) {
        if (PassesVisibilityTest(*object, *m_world, flags)) {
            SelectObject(object, SELECT_ADD);
        }
    }
    SelectObject(nullptr, SELECT_UPDATE);
}

void CMapDoc::OnClearSelection() {
    MainFrameSink* frame = m_services.mainFrame;
    if (frame && frame->FaceEditingMode()) {
        SelectFace(nullptr, nullptr, SELECT_CLEAR | SELECT_UPDATE);
    } else {
        SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    }
}

void CMapDoc::OnCenterViewsOnSelection() {
    if (m_selection.IsEmpty()) {
        return;
    }
    CenterViews(2, 0.0f, m_selection.Bounds().Center());
}

// --- files ---

bool CMapDoc::Serialize(const std::string& path, bool saving, bool isRmf, bool visibleOnly,
                        Progress* progress) {
    SetActiveMapDoc(this);
    FileResult result;
    {
        RecordingSuspender suspend(&m_undo);
        if (saving) {
            std::set<std::string>& backedUp = m_services.backedUpFiles;
            const std::string key = std::filesystem::path(path).lexically_normal().string();
            const bool keepBackup = m_services.options.keepBackup && !backedUp.count(key);
            std::error_code ec;
            const bool existed = std::filesystem::exists(path, ec);
            result = isRmf ? WriteRmfFileResult(*m_world, path, keepBackup)
                           : WriteMapFileResult(*m_world, path, visibleOnly, keepBackup,
                                                SourceFolder(), "", m_exportDialect);
            // The first backup of the run keeps the file as it was before the run saved over
            // it; later saves leave it alone.
            if (result.Ok() && keepBackup && existed) {
                backedUp.insert(key);
            }
        } else {
            result = isRmf ? ReadRmfFileResult(*m_world, path)
                           : ReadMapFileResult(*m_world, path, progress);
        }
    }
    // A failure is one message naming the file, not the reader's box and then another.
    std::vector<std::string> failures;
    TellFileResult(result, path, &failures);
    if (!result.Ok()) {
        m_services.GetPrompts().Message(FileFailureMessage(failures, path, saving),
                                        Prompts::Icon::Warning);
        return false;
    }
    for (const std::string& text : failures) {
        m_services.GetPrompts().Message(text, Prompts::Icon::Error);
    }
    if (!saving) {
        // The map's dialect decides which texture lock setting applies.
        RefreshTextureLock();
    }
    return true;
}

bool CMapDoc::OpenDocument(const std::string& path, Progress* progress) {
    NewWorld();
    if (!Serialize(path, false, IsRmfPath(path), false, progress)) {
        return false;
    }
    m_path = path;
    SetModified(false);
    m_prefab.reset();
    m_services.messages.AddLine(MessageLog::Normal, "Opened %s", path.c_str());
    {
        // Binding the faces to the map's own textures changes nothing of the map.
        RecordingSuspender suspend(&m_undo);
        LoadMapWads(*m_world, path);
    }
    SetActiveMapDoc(this);
    UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
    return true;
}

bool CMapDoc::SaveDocument(const std::string& path) {
    if (m_prefab) {
        return UpdatePrefab();
    }
    ApplyPendingEdits(m_services);
    if (!Serialize(path, true, IsRmfPath(path))) {
        return false;
    }
    SetModified(false);
    return true;
}

void CMapDoc::SetPathAfterSave(const std::string& path) {
    m_path = path;
    if (recentFileAdded) {
        recentFileAdded(path);
    }
}

bool CMapDoc::ExportMap(const std::string& path, bool visibleOnly,
                        std::optional<MapDialect> dialect) {
    ApplyPendingEdits(m_services);
    const bool wasModified = m_modified;
    m_exportDialect = dialect;
    bool ok = Serialize(path, true, false, visibleOnly);
    m_exportDialect.reset();
    m_modified = wasModified;
    return ok;
}

bool CMapDoc::ExportForCompile(const std::string& path, bool visibleOnly,
                               const std::string& header) {
    SetActiveMapDoc(this);
    FileResult result;
    {
        RecordingSuspender suspend(&m_undo);
        result = WriteMapFileResult(*m_world, path, visibleOnly, false, SourceFolder(), header,
                                    std::nullopt);
    }
    std::vector<std::string> failures;
    TellFileResult(result, path, &failures);
    if (!result.Ok()) {
        m_services.GetPrompts().Message(FileFailureMessage(failures, path, true),
                                        Prompts::Icon::Warning);
        return false;
    }
    return true;
}

bool CMapDoc::LoadPointfile(const std::string& path) {
    std::string error;
    Pointfile loaded;
    if (!loaded.Load(path, error)) {
        m_services.messages.AddText(MessageLog::Error,
                                    "The pointfile " + path + " could not be read: " + error + ".");
        return false;
    }
    m_pointfile = std::move(loaded);
    m_services.messages.AddLine(MessageLog::Normal,
                                "Loaded the pointfile %s: a leak trail of %zu points, drawn in "
                                "the views (Map, Next Leak Point to follow it).",
                                path.c_str(), m_pointfile.points.size());
    UpdateAllViews(UPDATE_REDRAW);
    return true;
}

void CMapDoc::ClearPointfile() {
    if (m_pointfile.IsEmpty()) {
        return;
    }
    m_pointfile = Pointfile();
    UpdateAllViews(UPDATE_REDRAW);
}

std::string CMapDoc::SourceFolder() const {
    if (m_path.empty()) {
        return {};
    }
    return std::filesystem::path(m_path).parent_path().string();
}

// --- prefab documents ---

void CMapDoc::BeginPrefabDocument(std::unique_ptr<PrefabLink> link, const std::string& name) {
    NewWorld();
    m_prefab = std::move(link);
    m_path = name;
}

bool CMapDoc::StoreIntoPrefabLibrary() {
    SetActiveMapDoc(this);
    std::string orphanName;
    if (m_prefab->Store(*this, orphanName)) {
        return true;
    }
    if (!orphanName.empty()) {
        m_prefab.reset();
        m_path = orphanName;
    }
    return false;
}

bool CMapDoc::UpdatePrefab() {
    if (!StoreIntoPrefabLibrary()) {
        return false;
    }
    SetModified(false);
    if (closeRequested) {
        closeRequested();
    }
    return true;
}

std::string CMapDoc::SaveMenuText() const {
    return m_prefab ? "Update Prefab\tCtrl+S" : "&Save\tCtrl+S";
}

void CMapDoc::DeleteContents() {
    ClearNote();
    m_selection.Clear();
    ClearFaceSelection();
    ClearPickList();
    CHistory::DisposeWithDocument(m_undo, m_redo);
    m_world.reset();
    SetActiveMapDoc(nullptr);
}

// --- editor-wide ---

void CMapDoc::SetActiveMapDoc(CMapDoc* document) {
    DocumentServices& editor = document ? document->Services() : DocumentServices::Installed();
    if (editor.activeDocument == document) {
        return;
    }
    editor.activeDocument = document;
    editor.SetActiveHistory(document ? &document->m_undo : nullptr);
    RefreshTextureLock();
    if (editor.mainFrame) {
        editor.mainFrame->ActiveDocumentChanged(document);
    }
}

namespace {
bool ActiveMapHasAxes() {
    const CMapDoc* document = DocumentServices::Installed().activeDocument;
    return document && document->World() && document->World()->Dialect() == MapDialect::TextureAxes;
}
} // namespace

void CMapDoc::RefreshTextureLock() {
    DocumentServices& editor = DocumentServices::Installed();
    editor.textureLock =
        ActiveMapHasAxes() ? editor.options.textureLockAxisMaps : editor.options.textureLock;
}

void CMapDoc::SetTextureLock(bool on) {
    DocumentServices& editor = DocumentServices::Installed();
    (ActiveMapHasAxes() ? editor.options.textureLockAxisMaps : editor.options.textureLock) = on;
    RefreshTextureLock();
}

CMapDoc* CMapDoc::GetActiveMapDoc() {
    return DocumentServices::Installed().activeDocument;
}

const std::vector<CMapDoc*>& CMapDoc::AllDocuments() {
    return DocumentServices::Installed().documents;
}
