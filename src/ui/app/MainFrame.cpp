#include "app/MainFrame.h"
#include "app/PropertyPanels.h"
#include "app/ToolCommandActions.h"

#include "app/AcceleratorPrecedence.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MapCommandSet.h"
#include "app/MapDialogs.h"
#include "app/MapFileNames.h"
#include "app/MessageWindow.h"
#include "app/ProgressWindow.h"
#include "app/QtPrompts.h"
#include "app/QtSettingsStore.h"
#include "app/TexturePanels.h"
#include "common/ProgramDirectory.h"
#include "common/ToolId.h"
#include "document/EntityClassRefresh.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "document/UpdateHint.h"
#include "gamedata/GamePalette.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"
#include "session/GameDataStartup.h"
#include "tools/DocumentTools.h"
#include "tools/MapTool.h"
#include "tools/NewObjectBarModel.h"
#include "tools/ToolCommands.h"
#include "tools/ToolRegistry.h"
#include "views/MapView2D.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

#include <cstdio>

namespace {
const char* const kMissingFile = "That file does not exist.";
const char* const kFolderNotMap = "%1 is a folder, not a map file.";
const char* const kGameDataFailed = "An error occured loading the default game data file.";
const char* const kWebSiteFailed = "The website couldn't be opened.";
const char* const kHelpMissing = "The help file could not be opened.";
const char* const kDefaultWebSite = "https://brickhaven.org/";
} // namespace

CMainFrame::CMainFrame(QtSettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_mdi(new QMdiArea(this)) {
    setObjectName("MainFrame");
    setWindowTitle("Brickhaven");
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    m_mdi->setObjectName("Documents");
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    CreateMenus();
    CreateToolBars();
    new MapCommandSet(*this);
    CreateStatusBar();
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    CreateMessageWindow();
    InstallToolCommands(*this);
    if (m_settings.GetInt("General", "NewBars", 0) == 1) {
        RestoreBarState();
    }

    m_recentFiles.Load(m_settings);
    RefreshRecentFileMenu();

    EditorContext& editor = Editor();
    // The New Objects bar follows every change of the prefab libraries.
    editor.Prefabs().librariesChanged = [this] { NewObjectBar().SetTool(m_currentTool); };
    editor.mainFrame = this;
    editor.statusPanes = this;
    editor.showMapErrors = [this](const ErrorList& errors) { ShowMapErrors(errors); };
    editor.options.applyBrightness = [](float brightness) { ApplyBrightness(brightness); };
    editor.options.updateViews = [this] {
        UpdateAllDocumentViews(UPDATE_2D_ONLY | UPDATE_SCROLLBARS);
    };
    m_currentTool = TOOL_SELECTION;
    InstallTexturePanels(*this);

    m_deferredStart.setSingleShot(true);
    m_deferredStart.setInterval(kDeferredStartDelay);
    connect(&m_deferredStart, &QTimer::timeout, this, &CMainFrame::RunDeferredStart);
    for (QWidget* watched :
         {static_cast<QWidget*>(this), m_mdi->viewport(), static_cast<QWidget*>(statusBar())}) {
        watched->installEventFilter(this);
    }
    // Enabled states and check marks follow the editor's state while it is idle.
    m_idleUpdate.setInterval(250);
    connect(&m_idleUpdate, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    m_idleUpdate.start();
    InstallPropertyPanels(*this);
    new AcceleratorPrecedence(*this);
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    // Widgets going away still signal visibility changes: nothing may reach this frame now.
    m_actions.clear();
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
    EditorContext& editor = Editor();
    if (editor.mainFrame == this) {
        editor.mainFrame = nullptr;
        editor.Prefabs().librariesChanged = nullptr;
    }
    if (editor.statusPanes == this) {
        editor.statusPanes = nullptr;
    }
    editor.showMapErrors = nullptr;
    editor.options.applyBrightness = nullptr;
    editor.options.updateViews = nullptr;
    m_idleUpdate.stop();
    // Child frames own their documents; close them while the editor context is consistent.
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        delete window;
    }
}

// --- status bar and message window ---

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    for (int i = 0; i < kPaneCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString("Pane%1").arg(i));
        if (i == 0) {
            label->setFrameShape(QFrame::NoFrame);
            bar->addWidget(label, 1);
        } else {
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            label->setFixedWidth(PaneWidth(*label, i));
            bar->addPermanentWidget(label);
        }
        m_panes[static_cast<std::size_t>(i)] = label;
    }
    m_panes[0]->setText("Ready");
}

// The pane's fixed width, or more where the pane's longest text would not fit in it.
int CMainFrame::PaneWidth(const QLabel& label, int pane) {
    static const char* const kLongestTexts[kPaneCount] = {"",
                                                          "99999 objects selected.",
                                                          " @-18000, -18000 ",
                                                          "-18000x -18000y -18000z",
                                                          " Zoom: 16.00 ",
                                                          " Snap: Off Grid: 512 "};
    const int text = label.fontMetrics().horizontalAdvance(kLongestTexts[pane]);
    const int frame = 2 * label.frameWidth() + 2 * label.margin() + 2 * label.indent() + 8;
    return std::max(kPaneWidths[static_cast<std::size_t>(pane)], text + frame);
}

void CMainFrame::SetPaneText(int pane, const std::string& text) {
    if (pane >= 0 && pane < kPaneCount) {
        m_panes[static_cast<std::size_t>(pane)]->setText(QString::fromStdString(text));
    }
}

QString CMainFrame::PaneText(int pane) const {
    if (pane < 0 || pane >= kPaneCount) {
        return {};
    }
    return m_panes[static_cast<std::size_t>(pane)]->text();
}

void CMainFrame::CreateMessageWindow() {
    m_messages = new MessageWindow(Editor().messages);
    m_messagesDock = new QDockWidget("Messages", this);
    m_messagesDock->setObjectName("Messages");
    m_messagesDock->setWidget(m_messages);
    m_messagesDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::BottomDockWidgetArea, m_messagesDock);
    resizeDocks({m_messagesDock}, {kMessagesInitialHeight}, Qt::Vertical);
    connect(m_messages, &MessageWindow::errorLineAdded, this, [this] {
        m_messagesDock->show();
        m_messagesDock->raise();
    });
    connect(m_messagesDock, &QDockWidget::visibilityChanged, this,
            [this] { UpdateCommandStates(); });
}

void CMainFrame::SetMessagesVisible(bool visible) {
    m_messagesDock->setVisible(visible);
    if (visible) {
        m_messagesDock->raise();
    }
    UpdateCommandStates();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_messagesDock && !m_messagesDock->isFloating()) {
        resizeDocks({m_messagesDock}, {kMessagesHeight}, Qt::Vertical);
    }
}

// --- bar layout ---

void CMainFrame::RestoreBarState() {
    const QByteArray state = m_settings.GetBytes(kBarStateSection, kBarStateValue);
    if (!state.isEmpty()) {
        restoreState(state);
    }
    statusBar()->setVisible(m_settings.GetInt(kBarStateSection, kStatusBarValue, 1) != 0);
}

void CMainFrame::SaveBarState() {
    m_settings.WriteBytes(kBarStateSection, kBarStateValue, saveState());
    m_settings.WriteInt(kBarStateSection, kStatusBarValue, statusBar()->isHidden() ? 0 : 1);
}

QDockWidget* CMainFrame::InstallDialogBar(int id, const QString& caption, QWidget* content,
                                          Qt::DockWidgetArea area) {
    auto* dock = new QDockWidget(caption, this);
    dock->setObjectName(QString("Bar%1").arg(id));
    dock->setWidget(content);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(area == Qt::LeftDockWidgetArea ? Qt::LeftDockWidgetArea : Qt::RightDockWidgetArea,
                  dock);
    m_dialogBars.insert(id, dock);
    if (id == CommandId::FacePropertiesBar) {
        // The face properties bar starts floating and hidden; texture application shows it.
        dock->setFloating(true);
        dock->move(mapToGlobal(QPoint(300, 290)));
        dock->hide();
    } else {
        dock->show();
    }
    if (m_settings.GetInt("General", "NewBars", 0) == 1) {
        restoreDockWidget(dock);
    }
    connect(dock, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
    if (QAction* toggle = Action(id)) {
        toggle->setEnabled(true);
    }
    UpdateCommandStates();
    return dock;
}

void CMainFrame::SetObjectPropertiesWindow(QWidget* window) {
    m_objectProperties = window;
    UpdateCommandStates();
}

// --- documents ---

CMapDoc* CMainFrame::ActiveDocument() const {
    return CMapDoc::GetActiveMapDoc();
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    QMdiSubWindow* window = m_mdi->currentSubWindow();
    return window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(window->widget())) {
            frames.append(frame);
        }
    }
    return frames;
}

CChildFrame* CMainFrame::ChildFrameOf(const QString& path) const {
    if (path.isEmpty()) {
        return nullptr;
    }
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* frame : ChildFrames()) {
        const QString framePath = QString::fromStdString(frame->Document().Path());
        if (!framePath.isEmpty() && QFileInfo(framePath).absoluteFilePath() == fullPath) {
            return frame;
        }
    }
    return nullptr;
}

CChildFrame* CMainFrame::AddChildFrame(std::unique_ptr<CMapDoc> document) {
    CMapDoc* doc = document.get();
    doc->recentFileAdded = [this](const std::string& path) {
        m_recentFiles.Add(path);
        RefreshRecentFileMenu();
        RefreshChildTitles();
    };
    auto* frame = new CChildFrame(std::move(document));
    QMdiSubWindow* window = m_mdi->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(frame->windowTitle());
    connect(frame, &CChildFrame::activeViewChanged, this, &CMainFrame::UpdateCommandStates);
    connect(window, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &CMainFrame::UpdateCommandStates); });
    window->showMaximized();
    m_mdi->setActiveSubWindow(window);
    CMapDoc::SetActiveMapDoc(doc);
    UpdateCommandStates();
    return frame;
}

CChildFrame* CMainFrame::AddDocument(std::unique_ptr<CMapDoc> document) {
    return AddChildFrame(std::move(document));
}

CChildFrame* CMainFrame::NewDocument() {
    return AddChildFrame(std::make_unique<CMapDoc>());
}

CChildFrame* CMainFrame::OpenMapFile(const QString& path) {
    Prompts& prompts = Editor().GetPrompts();
    const QFileInfo info(path);
    if (info.isDir()) {
        prompts.Message(QString(kFolderNotMap).arg(info.absoluteFilePath()).toStdString(),
                        Prompts::Icon::Warning);
        return nullptr;
    }
    if (path.isEmpty() || !info.exists()) {
        prompts.Message(kMissingFile, Prompts::Icon::Warning);
        return nullptr;
    }
    const QString fullPath = info.absoluteFilePath();
    if (CChildFrame* frame = ChildFrameOf(fullPath)) {
        m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame->parentWidget()));
        return frame;
    }
    CMapDoc* previouslyActive = ActiveDocument();
    auto document = std::make_unique<CMapDoc>();
    const std::string file = fullPath.toStdString();
    bool opened;
    {
        std::unique_ptr<ProgressWindow> progress;
        if (!IsRmfPath(file)) {
            progress = std::make_unique<ProgressWindow>(this, kLoadingFileTitle);
        }
        opened = document->OpenDocument(file, progress.get());
    }
    if (!opened) {
        document.reset();
        CMapDoc::SetActiveMapDoc(previouslyActive);
        return nullptr;
    }
    m_lastOpenDirectory = info.absolutePath().toStdString();
    RememberFileFolder(info.absoluteFilePath());
    m_recentFiles.Add(file);
    RefreshRecentFileMenu();
    return AddChildFrame(std::move(document));
}

void CMainFrame::OnFileOpen() {
    // The folder last used by any file dialog (a Save As or an Export too), else the one the
    // last map was opened from, else the map folder.
    std::string directory = LastFileFolder().toStdString();
    if (directory.empty()) {
        directory = m_lastOpenDirectory;
    }
    if (directory.empty()) {
        directory = ResolveProgramPath(Editor().options.mapDirectory);
    }
    auto choice = Editor().GetPrompts().ChooseOpenFile("Open", kMapFileFilter, directory);
    if (!choice || choice->path.empty()) {
        return;
    }
    OpenMapFile(QString::fromStdString(CompleteMapFileName(choice->path, choice->filterIndex)));
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    if (window) {
        if (auto* frame = qobject_cast<CChildFrame*>(window->widget())) {
            CMapDoc::SetActiveMapDoc(&frame->Document());
        }
    }
    UpdateCommandStates();
}

void CMainFrame::ActiveDocumentChanged(CMapDoc* document) {
    if (document) {
        document->WriteGridStatus();
        document->UpdateStatusText();
    } else {
        // With no map, no pane shows what belonged to one.
        for (int pane = 1; pane < kPaneCount; ++pane) {
            SetPaneText(pane, {});
        }
    }
    UpdateCommandStates();
    emit activeDocumentChanged();
}

void CMainFrame::RefreshChildTitles() {
    for (CChildFrame* frame : ChildFrames()) {
        const QString title = QString::fromStdString(frame->Document().Title());
        frame->setWindowTitle(title);
        if (QWidget* window = frame->parentWidget()) {
            window->setWindowTitle(title);
        }
    }
}

void CMainFrame::UpdateAllDocumentViews(int flags) {
    for (CMapDoc* document : CMapDoc::AllDocuments()) {
        document->UpdateAllViews(flags);
    }
}

// --- main frame commands ---

void CMainFrame::SetCurrentTool(int tool) {
    if (!FindRegisteredTool(tool)) {
        tool = TOOL_SELECTION;
    }
    // Choosing a tool, the Selection tool too, ends texture application: the mode and a tool
    // are never both shown as on.
    if (m_faceEditing) {
        SetFaceEditingMode(false);
    }
    if (tool == m_currentTool) {
        UpdateCommandStates();
        return;
    }
    for (CMapDoc* document : CMapDoc::AllDocuments()) {
        CancelToolDrag(*document, m_currentTool);
    }
    m_currentTool = tool;
    NewObjectBar().SetTool(tool);
    if (CMapDoc* active = CMapDoc::GetActiveMapDoc()) {
        ShowToolHint(*active, true);
    }
    // Every 2D view shows the feedback of the document's new tool.
    for (CMapDoc* document : CMapDoc::AllDocuments()) {
        for (MapDocView* view : document->Views()) {
            if (!view->Is3D()) {
                view->ToolHandles(2);
            }
        }
        document->UpdateStatusText();
    }
    UpdateCommandStates();
}

void CMainFrame::SetFaceEditingMode(bool on) {
    if (on == m_faceEditing) {
        return;
    }
    QDockWidget* textureBar = DialogBar(CommandId::TextureBar);
    QDockWidget* faceBar = DialogBar(CommandId::FacePropertiesBar);
    if (on) {
        SetCurrentTool(TOOL_SELECTION);
        m_faceEditing = true;
        m_textureBarWasVisible = textureBar && textureBar->isVisible();
        // The face properties take the place of the textures bar in its dock.
        if (faceBar && textureBar && m_textureBarWasVisible && !textureBar->isFloating()) {
            faceBar->setFloating(false);
            addDockWidget(dockWidgetArea(textureBar), faceBar);
            splitDockWidget(textureBar, faceBar, Qt::Vertical);
        }
        if (faceBar) {
            faceBar->show();
            faceBar->raise();
        }
        if (textureBar) {
            textureBar->hide();
        }
        // Faces are what is picked and edited now: the object selection goes, so no view
        // goes on showing it.
        for (CMapDoc* document : CMapDoc::AllDocuments()) {
            if (!document->SelectedObjects().empty()) {
                document->SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
            }
        }
    } else {
        m_faceEditing = false;
        if (faceBar) {
            faceBar->hide();
        }
        if (textureBar) {
            textureBar->setVisible(m_textureBarWasVisible);
        }
        // Object commands (Delete, Carve, ...) come back now; a face selection kept past this
        // point could name faces those commands take out of the map.
        for (CMapDoc* document : CMapDoc::AllDocuments()) {
            document->SelectFace(nullptr, nullptr, SELECT_CLEAR | SELECT_UPDATE);
        }
    }
    UpdateAllDocumentViews(UPDATE_REDRAW);
    if (CMapDoc* document = ActiveDocument()) {
        document->UpdateStatusText();
    }
    UpdateCommandStates();
}

bool CMainFrame::StepBrightness(int direction) {
    Options& options = Editor().options;
    const std::optional<float> brightness = GamePalette::StepBrightness(
        options.brightness,
        direction > 0 ? GamePalette::kBrightnessStep : -GamePalette::kBrightnessStep);
    if (!brightness) {
        return false;
    }
    options.brightness = *brightness;
    ApplyBrightness(*brightness);
    for (int bar : {CommandId::TextureBar, CommandId::FacePropertiesBar}) {
        if (QDockWidget* dock = DialogBar(bar)) {
            dock->update();
        }
    }
    UpdateAllDocumentViews(UPDATE_REDRAW | UPDATE_3D_ONLY);
    return true;
}

void CMainFrame::ShowMemoryReport() {
    char text[64];
    std::snprintf(text, sizeof text, "uMapMem = %lu",
                  static_cast<unsigned long>(Editor().objectMemory));
    Editor().GetPrompts().Message(text, Prompts::Icon::Information);
}

void CMainFrame::OnHelpTopics() {
    const QString manual = QString::fromStdString(ResolveProgramPath("help/index.html"));
    if (!QFileInfo::exists(manual) || !openUrl(QUrl::fromLocalFile(manual))) {
        Editor().GetPrompts().Message(kHelpMissing, Prompts::Icon::Warning);
    }
}

QString CMainFrame::WebSiteAddress() {
    return QString::fromStdString(
        Editor().Settings().GetString("General", "Web Site", kDefaultWebSite));
}

void CMainFrame::OnWebSite() {
    const QUrl address(WebSiteAddress(), QUrl::StrictMode);
    if (!address.isValid() || address.isEmpty() || !openUrl(address)) {
        Editor().GetPrompts().Message(kWebSiteFailed, Prompts::Icon::Warning);
    }
}

void CMainFrame::ShowMapInformation() {
    if (CMapDoc* document = ActiveDocument(); document && document->World()) {
        MapInformationDialog dialog(*document->World(), this);
        dialog.exec();
    }
}

void CMainFrame::ShowMapErrors(const ErrorList& errors) {
    MapErrorsDialog dialog(errors, this);
    dialog.exec();
}

// --- start-up ---

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_firstPaintSeen) {
        m_firstPaintSeen = true;
        m_deferredStart.start();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::RunDeferredStart() {
    m_deferredStart.stop();
    if (m_logo) {
        m_logo->close();
    }
    EditorContext& editor = Editor();
    const std::string gameData = editor.Settings().GetString("General", "Gamedata", "quake.ymx");
    if (!LoadGameData(gameData)) {
        editor.GetPrompts().Message(kGameDataFailed, Prompts::Icon::Error);
    }
    ApplyBrightness(editor.options.brightness);
    // Maps opened before the game data was there get their entity classes now.
    for (CMapDoc* document : CMapDoc::AllDocuments()) {
        if (document->World() && RefreshUnknownEntityClasses(*document->World()) > 0) {
            document->UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
        }
    }
    if (QDockWidget* textureBar = DialogBar(CommandId::TextureBar)) {
        textureBar->update();
    }
    if (QLayout* frameLayout = layout()) {
        frameLayout->activate();
    }
    m_deferredStartDone = true;
    emit deferredStartFinished();
}

// --- closing ---

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (QDockWidget* faceBar = DialogBar(CommandId::FacePropertiesBar)) {
        faceBar->hide();
    }
    SaveBarState();
    m_settings.WriteInt("General", "NewBars", 1);
    Editor().options.Save();
    m_recentFiles.Save(m_settings);
    m_settings.Sync();
    event->accept();
    // The program ends with its main window: windows of its own (the Process Window) go too.
    emit closing();
}
