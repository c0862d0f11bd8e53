#include "app/MapCommandSet.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "app/MainFrame.h"
#include "common/StatusPanes.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"
#include "panels/CreatePrefabCommand.h"
#include "panels/PasteSpecialDialog.h"
#include "panels/PrefabFactoryDialog.h"
#include "panels/ProblemCheckDialog.h"
#include "panels/RunMapController.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"
#include "views/MapView3D.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

#include <cstdio>

namespace {

// Commands enabled whenever a map document is active.
constexpr int kDocumentCommands[] = {CommandId::Cut,
                                     CommandId::Copy,
                                     CommandId::MakeHollow,
                                     CommandId::HideSelected,
                                     CommandId::ShowHidden,
                                     CommandId::CheckProblems,
                                     CommandId::RunMap,
                                     CommandId::CreatePrefab,
                                     CommandId::LoadPointfile,
                                     CommandId::NextLeakPoint,
                                     CommandId::PreviousLeakPoint,
                                     CommandId::ClearPointfile};
// Commands that are enabled only while texture application mode is off.
constexpr int kObjectModeCommands[] = {CommandId::Delete,      CommandId::Carve,
                                       CommandId::Group,       CommandId::Ungroup,
                                       CommandId::TieToEntity, CommandId::MoveToWorld};

} // namespace

MapCommandSet::MapCommandSet(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_runMap(new RunMapController(&frame)) {
    Connect(CommandId::Cut, OnEditCut);
    Connect(CommandId::Copy, OnEditCopy);
    Connect(CommandId::Paste, OnEditPaste);
    Connect(CommandId::PasteSpecial, [this](CMapDoc& doc) {
        PasteSpecialDialog dialog(PasteSpecialSettings::Load(Editor().Settings()),
                                  Editor().GetClipboard(), &m_frame);
        if (dialog.exec() == QDialog::Accepted) {
            OnPasteSpecial(doc, dialog.Settings());
        }
    });
    Connect(CommandId::Delete, OnEditDelete);
    Connect(CommandId::Carve, OnCarve);
    Connect(CommandId::MakeHollow, OnMakeHollow);
    Connect(CommandId::Group, OnGroup);
    Connect(CommandId::Ungroup, OnUngroup);
    Connect(CommandId::TieToEntity, OnTieToEntity);
    Connect(CommandId::MoveToWorld, OnMoveToWorld);
    Connect(CommandId::HideSelected, OnHideSelected);
    Connect(CommandId::ShowHidden, OnShowHidden);
    Connect(CommandId::CheckProblems,
            [this](CMapDoc& doc) { ProblemCheckDialog::CheckDocument(doc, &m_frame); });
    Connect(CommandId::RunMap, [this](CMapDoc& doc) { m_runMap->Run(doc); });
    Connect(CommandId::LoadPointfile, [](CMapDoc& doc) {
        std::string initial;
        if (auto paths = RunMapPaths::ForCompile(doc.Path())) {
            initial = paths->ptsPath;
        }
        if (auto path = Editor().GetPrompts().OpenFileName(
                "Load Pointfile", "Pointfiles (*.pts);;All files (*)", initial)) {
            doc.LoadPointfile(*path);
        }
    });
    Connect(CommandId::ClearPointfile, [](CMapDoc& doc) { doc.ClearPointfile(); });
    Connect(CommandId::NextLeakPoint, [this](CMapDoc& doc) { StepLeakTrail(doc, +1); });
    Connect(CommandId::PreviousLeakPoint, [this](CMapDoc& doc) { StepLeakTrail(doc, -1); });
    Connect(CommandId::CreatePrefab,
            [this](CMapDoc& doc) { CreatePrefabFromSelection(doc, &m_frame); });
    if (QAction* factory = m_frame.Action(CommandId::PrefabFactory)) {
        factory->setProperty("provided", true);
        connect(factory, &QAction::triggered, this, [this] {
            OnPrefabFactory();
            m_frame.UpdateCommandStates();
        });
    }
    m_runMap->showOptions = [] { CommandRegistry::Trigger(CommandId::OptionsSheet); };
    connect(&frame, &CMainFrame::closing, m_runMap, &RunMapController::CloseWindow);
    m_runMap->documentSaved = [this] {
        for (CChildFrame* child : m_frame.ChildFrames()) {
            const QString title = QString::fromStdString(child->Document().Title());
            child->setWindowTitle(title);
            if (QWidget* window = child->parentWidget()) {
                window->setWindowTitle(title);
            }
        }
    };

    // The default library is there from the start, so Create Prefab has somewhere to go.
    Editor().Prefabs().LoadDefaultLibrary();

    if (auto* area = m_frame.findChild<QMdiArea*>()) {
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
            if (window) {
                ReleaseCollidingShortcuts(*window, m_frame);
            }
        });
    }
    connect(&m_frame, &CMainFrame::commandStatesUpdated, this, &MapCommandSet::UpdateStates);
    UpdateStates();
}

void MapCommandSet::Connect(int id, std::function<void(CMapDoc&)> command) {
    QAction* action = m_frame.Action(id);
    if (!action) {
        return;
    }
    action->setProperty("provided", true);
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        if (CMapDoc* doc = CMapDoc::GetActiveMapDoc(); doc && !m_runMap->Running()) {
            command(*doc);
        }
        m_frame.UpdateCommandStates();
    });
}

void MapCommandSet::UpdateStates() {
    CMapDoc* doc = CMapDoc::GetActiveMapDoc();
    const bool hasDocument = doc != nullptr && doc->World() != nullptr && !m_runMap->Running();
    const bool objectMode = hasDocument && !m_frame.FaceEditingMode();
    const bool clipboardFull = !Editor().GetClipboard().IsEmpty();
    for (int id : kDocumentCommands) {
        m_frame.Action(id)->setEnabled(hasDocument);
    }
    for (int id : kObjectModeCommands) {
        m_frame.Action(id)->setEnabled(objectMode);
    }
    m_frame.Action(CommandId::Paste)->setEnabled(objectMode && clipboardFull);
    m_frame.Action(CommandId::PasteSpecial)->setEnabled(hasDocument && clipboardFull);
    m_frame.Action(CommandId::PrefabFactory)->setEnabled(!m_runMap->Running());
    if (doc) {
        m_frame.Action(CommandId::FileSave)->setText(QString::fromStdString(doc->SaveMenuText()));
    } else {
        m_frame.Action(CommandId::FileSave)->setText("&Save\tCtrl+S");
    }
}

void MapCommandSet::StepLeakTrail(CMapDoc& doc, int step) {
    Vector position;
    Vector target;
    if (!doc.StepLeakTrail(step, position, target)) {
        Editor().messages.AddText(MessageLog::Normal,
                                  "No pointfile is loaded (Map, Load Pointfile).");
        return;
    }
    for (CChildFrame* child : m_frame.ChildFrames()) {
        if (&child->Document() == &doc) {
            if (CMapView3D* view = child->View3D()) {
                view->TakeCamera(position, target);
            }
        }
    }
    if (StatusPanes* panes = Editor().statusPanes) {
        char text[96];
        std::snprintf(text, sizeof text, "Leak point %d of %zu", doc.LeakTrail().current + 1,
                      doc.LeakTrail().points.size());
        panes->SetPaneText(0, text);
    }
}

void MapCommandSet::OnPrefabFactory() {
    {
        PrefabFactoryDialog dialog(&m_frame);
        dialog.openDocument = [this](const std::function<bool(CMapDoc&)>& fill) {
            return OpenPrefabDocument(fill);
        };
        dialog.exec();
    }
    // The default library comes back if it was removed; the object bar refills its lists.
    PrefabRegistry& registry = Editor().Prefabs();
    registry.LoadDefaultLibrary();
    registry.NotifyChanged();
}

bool MapCommandSet::OpenPrefabDocument(const std::function<bool(CMapDoc&)>& fill) {
    CChildFrame* child = m_frame.NewDocument();
    if (!child) {
        return false;
    }
    QWidget* window = child->parentWidget();
    CMapDoc& doc = child->Document();
    if (!fill(doc)) {
        doc.SetModified(false);
        window->close();
        return false;
    }
    const QString title = QString::fromStdString(doc.Title());
    child->setWindowTitle(title);
    window->setWindowTitle(title);
    // Update Prefab stores the map and asks for the document to close: the window closes once
    // the command has returned.
    doc.closeRequested = [window = QPointer<QWidget>(window)] {
        QTimer::singleShot(0, window, [window] {
            if (window) {
                window->close();
            }
        });
    };
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
    m_frame.UpdateCommandStates();
    return true;
}

void MapCommandSet::ReleaseCollidingShortcuts(QMdiSubWindow& window, const QObject& mainWindow) {
    QList<QKeySequence> taken;
    for (const QAction* action : mainWindow.findChildren<QAction*>()) {
        if (action->parent() == &mainWindow) {
            taken.append(action->shortcuts());
        }
    }
    QList<QAction*> own = window.actions();
    if (QMenu* menu = window.systemMenu()) {
        own.append(menu->actions());
    }
    for (QAction* action : own) {
        QList<QKeySequence> kept;
        for (const QKeySequence& sequence : action->shortcuts()) {
            if (!taken.contains(sequence)) {
                kept.append(sequence);
            }
        }
        if (kept.size() != action->shortcuts().size()) {
            action->setShortcuts(kept);
        }
    }
}
