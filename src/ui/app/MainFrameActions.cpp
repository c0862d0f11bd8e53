// The main window's commands: actions with their menu texts and accelerators, the menus, the
// three tool bars, and the enabled states and check marks that follow the editor's state.
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "app/DocumentSaving.h"
#include "app/MainFrame.h"
#include "app/MapDialogs.h"
#include "app/ToolCommandActions.h"
#include "app/ToolbarIcons.h"
#include "app/WindowMenu.h"
#include "document/EditorSinks.h"
#include "document/History.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "tools/ToolRegistry.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QString PlainText(const QString& menuText) {
    QString text =
        menuText.left(menuText.indexOf('\t') >= 0 ? menuText.indexOf('\t') : menuText.size());
    text.remove('&');
    return text;
}

// Commands that work on the active document.
constexpr int kDocumentCommands[] = {
    CommandId::FileSave,          CommandId::FileSaveAs,      CommandId::ExportMap,
    CommandId::SelectAll,         CommandId::ClearSelection,  CommandId::SnapToGrid,
    CommandId::ShowGrid,          CommandId::SmallerGrid,     CommandId::BiggerGrid,
    CommandId::MapInformation,    CommandId::ShowConnections, CommandId::HideItems,
    CommandId::TextureApplication};

constexpr std::pair<int, int> kView2DCommands[] = {
    {CommandId::View2DXY, 0}, {CommandId::View2DYZ, 1}, {CommandId::View2DXZ, 2}};
constexpr std::pair<int, int> kView3DCommands[] = {
    {CommandId::View3DWireframe, 1}, {CommandId::View3DFlat, 2}, {CommandId::View3DTextured, 3}};

} // namespace

QAction* CMainFrame::AddAction(int id, const QString& menuText, std::function<void()> handler,
                               bool checkable) {
    auto* action = new QAction(menuText, this);
    const int tab = static_cast<int>(menuText.indexOf('\t'));
    if (tab >= 0) {
        action->setShortcut(QKeySequence::fromString(menuText.mid(tab + 1)));
    }
    action->setIcon(CommandIcon(id));
    action->setToolTip(PlainText(menuText));
    action->setStatusTip(PlainText(menuText));
    action->setCheckable(checkable);
    action->setData(id);
    if (handler) {
        connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
            handler();
            UpdateCommandStates();
        });
    }
    addAction(action); // accelerators work whether or not a menu shows the item
    m_actions.insert(id, action);
    CommandRegistry::Register(id, action);
    return action;
}

// Commands that other parts of the editor provide: shown, but disabled until then.
QAction* CMainFrame::AddLaterAction(int id, const QString& menuText) {
    QAction* action = AddAction(id, menuText);
    action->setEnabled(false);
    action->setProperty("provided", false);
    return action;
}

void CMainFrame::CreateActions() {
    using namespace CommandId;
    auto doc = [] { return CMapDoc::GetActiveMapDoc(); };
    auto onDoc = [doc](void (CMapDoc::*command)()) {
        return [doc, command] {
            if (CMapDoc* document = doc()) {
                (document->*command)();
            }
        };
    };
    auto onFrame = [this](std::function<void(CChildFrame&)> command) {
        return [this, command] {
            if (CChildFrame* frame = ActiveChildFrame()) {
                command(*frame);
            }
        };
    };

    // File
    AddAction(FileNew, "&New\tCtrl+N", [this] { NewDocument(); });
    AddAction(FileOpen, "&Open...\tCtrl+O", [this] { OnFileOpen(); });
    AddAction(FileClose, "&Close", [this] {
        if (CChildFrame* frame = ActiveChildFrame()) {
            frame->parentWidget()->close();
        }
    });
    AddAction(FileSave, "&Save\tCtrl+S", [this, doc] {
        if (CMapDoc* document = doc()) {
            DocumentSaving::Save(*document);
            RefreshChildTitles();
        }
    });
    AddAction(FileSaveAs, "Save &As...", [this, doc] {
        if (CMapDoc* document = doc()) {
            DocumentSaving::SaveAs(*document);
            RefreshChildTitles();
        }
    });
    AddAction(ExportMap, "Export to &Quake MAP", [doc] {
        if (CMapDoc* document = doc()) {
            DocumentSaving::Export(*document);
        }
    });
    AddLaterAction(RunMap, "R&un Map in Quake\tF9");
    AddAction(AppExit, "E&xit", [this] { close(); });
    for (int i = 0; i < RecentFileList::kDefaultSize; ++i) {
        m_recentActions[static_cast<std::size_t>(i)] =
            AddAction(FileRecent1 + i, QString(), [this, i] {
                const auto& files = m_recentFiles.Files();
                if (static_cast<std::size_t>(i) < files.size()) {
                    const QString path = QString::fromStdString(files[static_cast<std::size_t>(i)]);
                    if (!QFileInfo::exists(path)) {
                        m_recentFiles.Remove(path.toStdString());
                        RefreshRecentFileMenu();
                    }
                    OpenMapFile(path);
                }
            });
    }

    // Edit
    AddAction(Undo, "&Undo\tCtrl+Z", onDoc(&CMapDoc::OnUndo));
    AddAction(Redo, "&Redo\tCtrl+Y", onDoc(&CMapDoc::OnRedo));
    AddLaterAction(Cut, "Cu&t\tCtrl+X");
    AddLaterAction(Copy, "&Copy\tCtrl+C");
    AddLaterAction(Paste, "&Paste\tCtrl+V");
    AddLaterAction(PasteSpecial, "Pa&ste special...");
    AddLaterAction(Delete, "&Delete\tDel");
    AddAction(ClearSelection, "&Clear selection\tC", onDoc(&CMapDoc::OnClearSelection));
    AddAction(SelectAll, "Select &all", onDoc(&CMapDoc::OnSelectAll));
    AddAction(Properties, "&Properties\tAlt+Enter", [this] {
        if (m_objectProperties) {
            m_objectProperties->setVisible(!m_objectProperties->isVisible());
        }
    });
    // Alt with the main Enter key as with the keypad's.
    Action(Properties)
        ->setShortcuts(
            {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});

    // Map
    AddAction(SnapToGrid, "&Snap to grid\tP", onDoc(&CMapDoc::OnToggleSnap), true);
    AddAction(ShowGrid, "Sho&w grid\tG", onDoc(&CMapDoc::OnToggleGrid), true);
    AddAction(SmallerGrid, "&Smaller grid\t[", onDoc(&CMapDoc::OnSmallerGrid));
    AddAction(BiggerGrid, "&Bigger grid\t]", onDoc(&CMapDoc::OnBiggerGrid));
    AddAction(MapProperties, "&Map properties...", [this, doc] {
        CMapDoc* document = doc();
        ObjectPropertiesSink* sink = Editor().objectProperties;
        if (document && sink && m_objectProperties) {
            sink->SetObjects({document->World()});
            m_objectProperties->show();
        }
    });
    AddAction(MapInformation, "Show &Information", [this] { ShowMapInformation(); });
    AddLaterAction(CheckProblems, "&Check for Problems\tAlt+P");
    AddLaterAction(LoadPointfile, "&Load Pointfile...");
    AddLaterAction(ClearPointfile, "Clear Pointfile");
    AddLaterAction(NextLeakPoint, "Next Leak Point\tCtrl+.");
    AddLaterAction(PreviousLeakPoint, "Previous Leak Point\tCtrl+,");
    AddLaterAction(Carve, "&Carve\tShift+Ctrl+C");
    AddLaterAction(MakeHollow, "Make Hollow\tCtrl+H");
    AddLaterAction(Group, "&Group\tCtrl+G");
    AddLaterAction(Ungroup, "&Ungroup\tCtrl+U");
    AddLaterAction(TieToEntity, "&Tie to entity\tCtrl+T");
    AddLaterAction(MoveToWorld, "&Move to world\tCtrl+W");
    AddAction(ApplyTexture, "Apply current texture", [doc] {
        if (CMapDoc* document = doc()) {
            OnApplyCurrentTexture(*document);
        }
    });
    AddLaterAction(CreatePrefab, "C&reate Prefab\tCtrl+R");
    AddLaterAction(InsertPrefab, "Insert prefab\tAlt+Shift+C");
    AddLaterAction(HideSelected, "H&ide selected objects");
    AddLaterAction(ShowHidden, "&Show hidden objects");

    // View
    for (auto [id, type] : kView2DCommands) {
        const char* text = id == View2DXY ? "2D &X/Y" : (id == View2DYZ ? "2D &Y/Z" : "2D X/&Z");
        AddAction(id, text, onFrame([type](CChildFrame& f) { f.OnView2D(type); }), true);
    }
    for (auto [id, mode] : kView3DCommands) {
        const char* text = mode == 1
                               ? "3D &wireframe"
                               : (mode == 2 ? "3D &filled polygons" : "3D &textured polygons");
        AddAction(id, text, onFrame([mode](CChildFrame& f) { f.OnView3D(mode); }), true);
    }
    AddAction(Autosize, "&Autosize 4 views\tCtrl+A",
              onFrame([](CChildFrame& f) { f.OnAutosize(); }));
    AddAction(MaximizePane, "Maximize view\tZ",
              onFrame([](CChildFrame& f) { f.OnToggleMaximize(); }));
    AddAction(CenterOnSelection, "&Center views on selection\tCtrl+E",
              onDoc(&CMapDoc::OnCenterViewsOnSelection));
    AddAction(ShowConnections, "Show C&onnections", onDoc(&CMapDoc::OnToggleConnections), true);
    AddAction(HideItems, "&Hide Items", onDoc(&CMapDoc::OnToggleHideItems), true);
    AddAction(
        MessagesWindow, "&Messages\tAlt+F3",
        [this] { SetMessagesVisible(!m_messagesDock->isVisible()); }, true);
    AddAction(
        StatusBar, "&Status Bar", [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
        true);
    const std::pair<int, const char*> toolBars[] = {{MapViewBar, "Map&view Bar"},
                                                    {MapToolsBar, "Map&tools Bar"},
                                                    {MapOperationsBar, "Mapo&perations Bar"}};
    for (auto [id, text] : toolBars) {
        AddAction(
            id, text,
            [this, id = id] {
                QToolBar* bar = id == MapViewBar
                                    ? m_mapViewBar
                                    : (id == MapToolsBar ? m_mapToolsBar : m_mapOperationsBar);
                bar->setVisible(!bar->isVisible());
            },
            true);
    }
    const std::pair<int, const char*> dialogBars[] = {{ObjectBar, "&Object Bar"},
                                                      {FilterControlBar, "&Filter Control"},
                                                      {TextureBar, "Te&xture Bar"}};
    for (auto [id, text] : dialogBars) {
        AddAction(
            id, text,
            [this, id = id] {
                if (QDockWidget* bar = DialogBar(id)) {
                    bar->setVisible(!bar->isVisible());
                }
            },
            true);
    }

    // Tools
    auto* tools = new QActionGroup(this);
    // No tool button is down while texture application is on.
    tools->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ToolRegistration& tool : RegisteredTools()) {
        tools->addAction(AddAction(
            tool.commandId, tool.menuText, [this, id = tool.id] { SetCurrentTool(id); }, true));
    }
    AddAction(
        TextureApplication, "Te&xture application\tShift+A",
        [this] { SetFaceEditingMode(!m_faceEditing); }, true);
    AddAction(
        TextureLock, "Texture &Lock",
        [this] {
            CMapDoc::SetTextureLock(Action(CommandId::TextureLock)->isChecked());
            UpdateCommandStates();
        },
        true);
    AddLaterAction(CreateObject, "&Create object");
    AddLaterAction(AlignLeft, "To &Left");
    AddLaterAction(AlignRight, "To &Right");
    AddLaterAction(AlignTop, "To &Top");
    AddLaterAction(AlignBottom, "To &Bottom");
    AddLaterAction(FlipHorizontal, "&Horizontally\tCtrl+L");
    AddLaterAction(FlipVertical, "&Vertically\tCtrl+I");
    AddLaterAction(PrefabFactory, "&Prefab Factory...");
    AddLaterAction(OptionsSheet, "&Options...");

    // Window and Help
    AddAction(WindowCascade, "&Cascade", [this] { CascadeDocuments(*m_mdi); });
    AddAction(WindowTile, "&Tile", [this] { m_mdi->tileSubWindows(); });
    AddAction(HelpTopics, "&Help Topics\tF1", [this] { OnHelpTopics(); });
    AddAction(WebSite, "Brickhaven on the &Web", [this] { OnWebSite(); });
    AddAction(About, "&About Brickhaven...", [this] {
        AboutDialog dialog(this);
        dialog.exec();
    });

    // Accelerators without a menu item.
    AddAction(BrightnessUp, "Brighter textures\tCtrl+Home", [this] { StepBrightness(+1); });
    AddAction(BrightnessDown, "Darker textures\tCtrl+End", [this] { StepBrightness(-1); });
    AddAction(MemoryReport, "Memory report\tAlt+M", [this] { ShowMemoryReport(); });
}

void CMainFrame::CreateMenus() {
    using namespace CommandId;
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(Action(id));
            }
        }
    };
    m_fileMenu = bar->addMenu("&File");
    add(m_fileMenu, {FileNew, FileOpen, FileClose, FileSave, FileSaveAs, 0, ExportMap, RunMap, 0});
    for (QAction* recent : m_recentActions) {
        m_fileMenu->addAction(recent);
    }
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(AppExit));

    QMenu* edit = bar->addMenu("&Edit");
    add(edit, {Undo, Redo, 0, Cut, Copy, Paste, PasteSpecial, Delete, 0, ClearSelection, SelectAll,
               0, Properties});

    QMenu* map = bar->addMenu("&Map");
    add(map, {SnapToGrid,
              ShowGrid,
              SmallerGrid,
              BiggerGrid,
              0,
              MapProperties,
              MapInformation,
              CheckProblems,
              0,
              Carve,
              MakeHollow,
              Group,
              Ungroup,
              TieToEntity,
              MoveToWorld,
              0,
              CreatePrefab,
              0,
              LoadPointfile,
              NextLeakPoint,
              PreviousLeakPoint,
              ClearPointfile});

    QMenu* view = bar->addMenu("&View");
    add(view,
        {View2DXY, View2DYZ, View2DXZ, View3DWireframe, View3DFlat, View3DTextured, 0, Autosize, 0,
         CenterOnSelection, ShowConnections, HideItems, HideSelected, ShowHidden, 0});
    QMenu* elements = view->addMenu("Screen &Elements");
    add(elements, {MapViewBar, MapToolsBar, MapOperationsBar, 0, ObjectBar, FilterControlBar,
                   TextureBar, 0, StatusBar, MessagesWindow});

    QMenu* tools = bar->addMenu("&Tools");
    for (const ToolRegistration& tool : RegisteredTools()) {
        tools->addAction(Action(tool.commandId));
    }
    add(tools, {0, TextureApplication, TextureLock, 0, CreateObject});
    QMenu* align = tools->addMenu("&Align");
    add(align, {AlignLeft, AlignRight, AlignTop, AlignBottom});
    QMenu* flip = tools->addMenu("&Flip");
    add(flip, {FlipHorizontal, FlipVertical});
    add(tools, {0, PrefabFactory, OptionsSheet});

    QMenu* window = bar->addMenu("&Window");
    add(window, {WindowCascade, WindowTile});
    new WindowMenu(window, m_mdi);

    QMenu* help = bar->addMenu("&Help");
    add(help, {HelpTopics, WebSite, 0, About});

    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
}

void CMainFrame::CreateToolBars() {
    using namespace CommandId;
    auto makeBar = [this](int id, const QString& title, std::initializer_list<int> ids) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(QString("Bar%1").arg(id));
        bar->setIconSize(QSize(24, 24));
        for (int command : ids) {
            if (command == 0) {
                bar->addSeparator();
            } else {
                bar->addAction(Action(command));
            }
        }
        connect(bar, &QToolBar::visibilityChanged, this, [this] { UpdateCommandStates(); });
        return bar;
    };
    m_mapViewBar = makeBar(MapViewBar, "Map view",
                           {FileNew,    FileOpen,       FileSave, 0,        Cut,
                            Copy,       Paste,          0,        Undo,     Redo,
                            0,          View2DXY,       View2DYZ, View2DXZ, View3DWireframe,
                            View3DFlat, View3DTextured, 0,        ShowGrid, SmallerGrid,
                            BiggerGrid});
    m_mapToolsBar = makeBar(MapToolsBar, "Map tools", {});
    for (const ToolRegistration& tool : RegisteredTools()) {
        m_mapToolsBar->addAction(Action(tool.commandId));
    }
    m_mapToolsBar->addSeparator();
    m_mapToolsBar->addAction(Action(TextureApplication));
    m_mapToolsBar->addAction(Action(TextureLock));
    m_mapOperationsBar =
        makeBar(MapOperationsBar, "Map operations",
                {Carve, MakeHollow, Group, Ungroup, TieToEntity, MoveToWorld, 0, HideSelected,
                 ShowHidden, 0, ApplyTexture, CheckProblems, RunMap});
    addToolBar(Qt::TopToolBarArea, m_mapViewBar);
    addToolBar(Qt::LeftToolBarArea, m_mapToolsBar);
    addToolBar(Qt::TopToolBarArea, m_mapOperationsBar);
}

void CMainFrame::RefreshRecentFileMenu() {
    const auto& files = m_recentFiles.Files();
    for (std::size_t i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        if (i < files.size()) {
            const QString name = QFileInfo(QString::fromStdString(files[i])).fileName();
            action->setText(QString("&%1 %2").arg(i + 1).arg(name));
            action->setToolTip(QString::fromStdString(files[i]));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    if (m_recentSeparator) {
        m_recentSeparator->setVisible(!files.empty());
    }
}

void CMainFrame::UpdateDocumentCommands(CMapDoc* document) {
    using namespace CommandId;
    const bool hasDocument = document != nullptr;
    for (int id : kDocumentCommands) {
        Action(id)->setEnabled(hasDocument);
    }
    if (hasDocument) {
        const UndoMenuItem undo = UndoMenuText(document->UndoHistory(), false);
        const UndoMenuItem redo = UndoMenuText(document->RedoHistory(), true);
        Action(Undo)->setText("&" + QString::fromStdString(undo.text));
        Action(Undo)->setEnabled(undo.enabled);
        Action(Redo)->setText("&" + QString::fromStdString(redo.text));
        Action(Redo)->setEnabled(redo.enabled);
    } else {
        Action(Undo)->setEnabled(false);
        Action(Redo)->setEnabled(false);
    }
    Action(SnapToGrid)->setChecked(hasDocument && document->SnapToGrid());
    Action(ShowGrid)->setChecked(hasDocument && document->ShowGrid());
    Action(ShowConnections)->setChecked(hasDocument && document->ShowConnections());
    Action(HideItems)->setChecked(hasDocument && document->HideItems());
    Action(CenterOnSelection)->setEnabled(hasDocument && !document->Selection().IsEmpty());
    Action(MapProperties)
        ->setEnabled(hasDocument && m_objectProperties && Editor().objectProperties &&
                     !m_faceEditing);
    Action(Properties)->setEnabled(m_objectProperties != nullptr);
    Action(Properties)->setChecked(m_objectProperties && m_objectProperties->isVisible());
    for (const ToolRegistration& tool : RegisteredTools()) {
        Action(tool.commandId)->setEnabled(hasDocument);
        Action(tool.commandId)->setChecked(!m_faceEditing && tool.id == m_currentTool);
    }
    Action(TextureApplication)->setChecked(m_faceEditing);
    Action(TextureLock)->setChecked(Editor().textureLock);
    Action(ApplyTexture)->setEnabled(hasDocument && !document->SelectedObjects().empty());
}

void CMainFrame::UpdateFrameCommands(CChildFrame* frame) {
    using namespace CommandId;
    const std::optional<int> type2D = frame ? frame->Active2DType() : std::nullopt;
    const std::optional<int> mode3D = frame ? frame->Active3DMode() : std::nullopt;
    for (auto [id, type] : kView2DCommands) {
        Action(id)->setEnabled(frame != nullptr);
        Action(id)->setChecked(type2D == type);
    }
    for (auto [id, mode] : kView3DCommands) {
        Action(id)->setEnabled(frame != nullptr);
        Action(id)->setChecked(mode3D == mode);
    }
    Action(Autosize)->setEnabled(frame != nullptr);
    Action(MaximizePane)->setEnabled(frame != nullptr);
    Action(FileClose)->setEnabled(frame != nullptr);
    Action(WindowCascade)->setEnabled(frame != nullptr);
    Action(WindowTile)->setEnabled(frame != nullptr);
}

void CMainFrame::UpdateCommandStates() {
    using namespace CommandId;
    if (m_actions.isEmpty()) {
        return;
    }
    UpdateDocumentCommands(CMapDoc::GetActiveMapDoc());
    UpdateToolCommandStates(*this, CMapDoc::GetActiveMapDoc());
    UpdateFrameCommands(ActiveChildFrame());
    Action(MessagesWindow)->setChecked(m_messagesDock && m_messagesDock->isVisible());
    Action(StatusBar)->setChecked(statusBar()->isVisible());
    if (m_mapViewBar) {
        Action(MapViewBar)->setChecked(m_mapViewBar->isVisible());
        Action(MapToolsBar)->setChecked(m_mapToolsBar->isVisible());
        Action(MapOperationsBar)->setChecked(m_mapOperationsBar->isVisible());
    }
    for (int id : {ObjectBar, FilterControlBar, TextureBar}) {
        QDockWidget* bar = DialogBar(id);
        Action(id)->setEnabled(bar != nullptr);
        Action(id)->setChecked(bar && bar->isVisible());
    }
    emit commandStatesUpdated();
}
