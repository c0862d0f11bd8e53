#pragma once

#include "common/ErrorList.h"
#include "common/RecentFileList.h"
#include "common/StatusPanes.h"
#include "document/EditorSinks.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class CChildFrame;
class CMapDoc;
class MessageWindow;
class QtSettingsStore;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The editor's main window: documents in child frames inside a multiple-document area, the
// three tool bars, docks for the dialog bars, the status bar with six panes and the message
// window along the bottom. Its menus and accelerators call the active document's and the
// active child frame's commands.
class CMainFrame : public QMainWindow, public MainFrameSink, public StatusPanes {
    Q_OBJECT
public:
    static constexpr int kPaneCount = 6;
    // Widths of panes 1 to 5; pane 0 takes the rest.
    static constexpr std::array<int, kPaneCount> kPaneWidths{0, 200, 100, 100, 80, 135};
    static constexpr int kDeferredStartDelay = 500;
    static constexpr int kMessagesInitialHeight = 90;
    static constexpr int kMessagesHeight = 130;
    static constexpr const char* kBarStateSection = "Barstate";
    static constexpr const char* kBarStateValue = "Layout";
    static constexpr const char* kStatusBarValue = "StatusBar";

    explicit CMainFrame(QtSettingsStore& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // --- documents ---
    // Opens a map file in a new child frame (or brings its frame forward when it is open).
    // A missing file is refused with "That file does not exist."; null on failure.
    CChildFrame* OpenMapFile(const QString& path);
    CChildFrame* NewDocument();
    // Shows a document made elsewhere (a recovered map) in a new child frame.
    CChildFrame* AddDocument(std::unique_ptr<CMapDoc> document);
    CChildFrame* ActiveChildFrame() const;
    QList<CChildFrame*> ChildFrames() const;
    // The child frame whose map is the file at path (compared as absolute paths), if one is.
    CChildFrame* ChildFrameOf(const QString& path) const;
    RecentFileList& RecentFiles() { return m_recentFiles; }

    // --- commands ---
    QAction* Action(int id) const { return m_actions.value(id); }
    void UpdateCommandStates();
    void OnFileOpen();
    void SetCurrentTool(int tool);
    void SetFaceEditingMode(bool on);
    // One brightness step up (+1) or down (-1); false when the result would leave 0.1..5.0.
    bool StepBrightness(int direction);
    void ShowMemoryReport();
    void OnHelpTopics();
    void OnWebSite();
    void ShowMapInformation();
    // The "Map Errors" list with the errors of one read.
    void ShowMapErrors(const ErrorList& errors);
    void SetMessagesVisible(bool visible);
    MessageWindow* Messages() const { return m_messages; }
    QDockWidget* MessagesDock() const { return m_messagesDock; }

    // --- bars that other parts of the editor provide ---
    // Docks a dialog bar (left or right only) under a bar id, enables its View menu item and
    // restores its saved place. The face properties bar (CommandId::FacePropertiesBar) starts
    // floating at (300, 290) and hidden.
    QDockWidget* InstallDialogBar(int id, const QString& caption, QWidget* content,
                                  Qt::DockWidgetArea area);
    QDockWidget* DialogBar(int id) const { return m_dialogBars.value(id); }
    void SetObjectPropertiesWindow(QWidget* window);

    // --- start-up ---
    void SetLogoWindow(QWidget* logo) { m_logo = logo; }
    // The work done 500 ms after the first paint: game data, brightness, late entity classes.
    void RunDeferredStart();
    bool DeferredStartDone() const { return m_deferredStartDone; }

    // --- status panes ---
    void SetPaneText(int pane, const std::string& text) override;
    QString PaneText(int pane) const;
    QLabel* Pane(int pane) const { return m_panes[static_cast<std::size_t>(pane)]; }

    // --- MainFrameSink ---
    void ActiveDocumentChanged(CMapDoc* document) override;
    int CurrentTool() const override { return m_currentTool; }
    bool FaceEditingMode() const override { return m_faceEditing; }

    // Opens web and file addresses (the desktop's handler unless replaced, as in tests).
    std::function<bool(const QUrl&)> openUrl;
    // The address the web-site command opens.
    static QString WebSiteAddress();

signals:
    void deferredStartFinished();
    // The main window accepted its closing: the program ends.
    void closing();
    // The active document changed (the bars refill from it).
    void activeDocumentChanged();
    // After the enabled states and check marks were brought up to date.
    void commandStatesUpdated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MainFrameActions.cpp
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    QAction* AddAction(int id, const QString& menuText, std::function<void()> handler = {},
                       bool checkable = false);
    QAction* AddLaterAction(int id, const QString& menuText);
    void RefreshRecentFileMenu();
    void UpdateDocumentCommands(CMapDoc* document);
    void UpdateFrameCommands(CChildFrame* frame);

    void CreateStatusBar();
    static int PaneWidth(const QLabel& label, int pane);
    void CreateMessageWindow();
    void RestoreBarState();
    void SaveBarState();
    CChildFrame* AddChildFrame(std::unique_ptr<CMapDoc> document);
    void OnSubWindowActivated(QMdiSubWindow* window);
    CMapDoc* ActiveDocument() const;
    void UpdateAllDocumentViews(int flags);
    void RefreshChildTitles();

    QtSettingsStore& m_settings;
    QMdiArea* m_mdi;
    std::array<QLabel*, kPaneCount> m_panes{};
    MessageWindow* m_messages = nullptr;
    QDockWidget* m_messagesDock = nullptr;
    QToolBar* m_mapViewBar = nullptr;
    QToolBar* m_mapToolsBar = nullptr;
    QToolBar* m_mapOperationsBar = nullptr;
    QHash<int, QAction*> m_actions;
    QHash<int, QDockWidget*> m_dialogBars;
    QPointer<QWidget> m_objectProperties;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    std::array<QAction*, RecentFileList::kDefaultSize> m_recentActions{};
    RecentFileList m_recentFiles;

    int m_currentTool = 0;
    bool m_faceEditing = false;
    bool m_textureBarWasVisible = true;

    QPointer<QWidget> m_logo;
    QTimer m_deferredStart;
    bool m_firstPaintSeen = false;
    bool m_deferredStartDone = false;
    QTimer m_idleUpdate;
    std::string m_lastOpenDirectory;
};
