#include "app/ToolCommandActions.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "app/MainFrame.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "panels/NewObjectsBar.h"
#include "panels/ObjectOverviewDialog.h"
#include "prefabs/PrefabCommands.h"
#include "tools/NewObjectBarModel.h"
#include "tools/ToolCommands.h"
#include "views/MapView2D.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

// The 2D view the align and flip commands work in: the frame's active view, else its first
// 2D view.
CMapView2D* Active2DView(CMainFrame& frame) {
    CChildFrame* child = frame.ActiveChildFrame();
    if (!child) {
        return nullptr;
    }
    if (auto* view = qobject_cast<CMapView2D*>(child->ActiveView())) {
        return view;
    }
    const std::vector<CMapView2D*> views = child->Views2D();
    return views.empty() ? nullptr : views.front();
}

void Provide(CMainFrame& frame, int id, std::function<void()> handler) {
    QAction* action = frame.Action(id);
    if (!action) {
        return;
    }
    action->setProperty("provided", true);
    QObject::connect(action, &QAction::triggered, &frame, [&frame, handler = std::move(handler)] {
        handler();
        frame.UpdateCommandStates();
    });
}

void OnView(CMainFrame& frame, const std::function<void(CMapDoc&, CMapView2D&)>& command) {
    CMapView2D* view = Active2DView(frame);
    if (view) {
        command(view->Document(), *view);
    }
}

} // namespace

void InstallToolCommands(CMainFrame& frame) {
    using namespace CommandId;
    Provide(frame, CreateObject, [] {
        if (CMapDoc* doc = CMapDoc::GetActiveMapDoc()) {
            CreateObjectWithTool(*doc, doc->ActiveTool());
            doc->UpdateStatusText();
        }
    });
    const std::pair<int, AlignSide> aligns[] = {{AlignLeft, AlignSide::Left},
                                                {AlignRight, AlignSide::Right},
                                                {AlignTop, AlignSide::Top},
                                                {AlignBottom, AlignSide::Bottom}};
    for (auto [id, side] : aligns) {
        Provide(frame, id, [&frame, side = side] {
            OnView(frame, [side](CMapDoc& doc, CMapView2D& view) { OnAlign(doc, view, side); });
        });
    }
    Provide(frame, FlipHorizontal, [&frame] {
        OnView(frame, [](CMapDoc& doc, CMapView2D& view) { OnFlip(doc, view, true); });
    });
    Provide(frame, FlipVertical, [&frame] {
        OnView(frame, [](CMapDoc& doc, CMapView2D& view) { OnFlip(doc, view, false); });
    });
    Provide(frame, CommandId::InsertPrefab, [] {
        if (CMapDoc* doc = CMapDoc::GetActiveMapDoc()) {
            ::InsertPrefab(*doc, NewObjectBar().SelectedPrefab());
        }
    });

    auto* overview = new QAction("Object &Overview...", &frame);
    overview->setShortcut(QKeySequence("Shift+Ctrl+T"));
    overview->setData(ObjectOverview);
    frame.addAction(overview);
    CommandRegistry::Register(ObjectOverview, overview);
    QObject::connect(overview, &QAction::triggered, &frame, [&frame] {
        ObjectOverviewDialog dialog(&frame);
        dialog.exec();
    });
    for (QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == "&Tools" && menu->menu()) {
            menu->menu()->addAction(overview);
        }
    }

    auto* bar = new NewObjectsBar;
    frame.InstallDialogBar(ObjectBar, "New Objects", bar, Qt::RightDockWidgetArea);
    NewObjectBar().SetTool(frame.CurrentTool());
}

void UpdateToolCommandStates(CMainFrame& frame, CMapDoc* document) {
    using namespace CommandId;
    const bool hasDocument = document != nullptr;
    const bool selection = hasDocument && !document->Selection().IsEmpty();
    frame.Action(CreateObject)->setEnabled(hasDocument);
    for (int id : {AlignLeft, AlignRight, AlignTop, AlignBottom, FlipHorizontal, FlipVertical}) {
        frame.Action(id)->setEnabled(selection);
    }
    frame.Action(CommandId::InsertPrefab)
        ->setEnabled(hasDocument && NewObjectBar().CurrentMode() == NewObjectBarModel::ModeLibrary);
    if (QDockWidget* dock = frame.DialogBar(ObjectBar)) {
        if (auto* bar = qobject_cast<NewObjectsBar*>(dock->widget())) {
            bar->UpdateEnabledStates();
        }
    }
}
