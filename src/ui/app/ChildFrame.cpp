#include "app/ChildFrame.h"

#include "app/DocumentSaving.h"
#include "document/MapDoc.h"
#include "render/View2DGeometry.h"
#include "session/EditorContext.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace {
const char* const kSecond3DView = "Multiple 3D views for each document are not supported yet.";
}

CChildFrame::CChildFrame(std::unique_ptr<CMapDoc> document, QWidget* parent)
    : QWidget(parent), m_document(std::move(document)),
      m_geometry(std::make_shared<View2DGeometry>()), m_grid(new PaneGrid(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    setWindowTitle(QString::fromStdString(m_document->Title()));
    setAttribute(Qt::WA_DeleteOnClose);

    m_grid->SetPane(0, 0, CreateView(ViewClass::View3D));
    m_grid->SetPane(0, 1, CreateView(ViewClass::View2D));
    m_grid->SetPane(1, 0, CreateView(ViewClass::View2D));
    m_grid->SetPane(1, 1, CreateView(ViewClass::View2D));
    const QSize client = size();
    for (int i = 0; i < 2; ++i) {
        m_grid->SetRowHeight(i, client.height() / 2 - 3);
        m_grid->SetColumnWidth(i, client.width() / 2 - 3);
    }
    m_grid->Relayout();
    connect(m_grid, &PaneGrid::firstPainted, this, &CChildFrame::OnFirstPaint);
}

CChildFrame::~CChildFrame() {
    // The views refer to the document: they go first.
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            delete m_grid->SetPane(row, column, nullptr);
        }
    }
    m_document.reset();
}

QWidget* CChildFrame::CreateView(ViewClass viewClass) {
    QWidget* view;
    if (viewClass == ViewClass::View3D) {
        // A frame shows its map textured; the view menu switches to wireframe or flat.
        auto* view3D = new CMapView3D(*m_document, m_grid);
        view3D->SetRenderMode(CMapView3D::Textured);
        view = view3D;
    } else {
        auto* view2D = new CMapView2D(*m_document, m_grid);
        view2D->ShareGeometry(m_geometry);
        view = view2D;
    }
    WatchPane(view);
    return view;
}

void CChildFrame::WatchPane(QWidget* pane) {
    pane->installEventFilter(this);
    if (auto* view2D = qobject_cast<CMapView2D*>(pane)) {
        view2D->viewport()->installEventFilter(this);
    }
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        if (auto cell = m_grid->CellOf(qobject_cast<QWidget*>(watched))) {
            SetActiveCell(*cell);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* CChildFrame::ActiveView() const {
    return m_grid->Pane(m_activeCell.row, m_activeCell.column);
}

void CChildFrame::SetActiveCell(PaneGrid::Cell cell) {
    const bool changed = !(cell == m_activeCell);
    m_activeCell = cell;
    for (CMapView2D* view : Views2D()) {
        if (view != ActiveView() && view->IsActiveView()) {
            view->SetActiveView(false);
        }
    }
    if (auto* view = qobject_cast<CMapView2D*>(ActiveView()); view && !view->IsActiveView()) {
        view->SetActiveView(true);
    }
    CMapDoc::SetActiveMapDoc(m_document.get());
    if (changed) {
        emit activeViewChanged();
    }
}

std::vector<CMapView2D*> CChildFrame::Views2D() const {
    std::vector<CMapView2D*> views;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            if (auto* view = qobject_cast<CMapView2D*>(m_grid->Pane(row, column))) {
                views.push_back(view);
            }
        }
    }
    return views;
}

CMapView3D* CChildFrame::View3D() const {
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            if (auto* view = qobject_cast<CMapView3D*>(m_grid->Pane(row, column))) {
                return view;
            }
        }
    }
    return nullptr;
}

std::optional<int> CChildFrame::Active2DType() const {
    if (auto* view = qobject_cast<CMapView2D*>(ActiveView())) {
        return view->ViewType();
    }
    return std::nullopt;
}

std::optional<int> CChildFrame::Active3DMode() const {
    if (auto* view = qobject_cast<CMapView3D*>(ActiveView())) {
        return view->GetRenderMode();
    }
    return std::nullopt;
}

void CChildFrame::OnView2D(int type) {
    ReplaceView(ViewClass::View2D, type);
}

void CChildFrame::OnView3D(int mode) {
    ReplaceView(ViewClass::View3D, mode);
}

bool CChildFrame::ReplaceView(ViewClass viewClass, int typeOrMode) {
    const PaneGrid::Cell cell = m_activeCell;
    QWidget* old = ActiveView();
    const bool is3D = qobject_cast<CMapView3D*>(old) != nullptr;
    const bool same = old && (viewClass == ViewClass::View3D) == is3D;
    QWidget* view = old;
    if (!same) {
        if (viewClass == ViewClass::View3D && m_document->Has3DView()) {
            Editor().GetPrompts().Message(kSecond3DView, Prompts::Icon::Information);
            return false;
        }
        const QRect geometry = old ? old->geometry() : QRect();
        delete m_grid->SetPane(cell.row, cell.column, nullptr);
        view = CreateView(viewClass);
        view->setGeometry(geometry);
        m_grid->SetPane(cell.row, cell.column, view);
    }
    if (auto* view2D = qobject_cast<CMapView2D*>(view)) {
        view2D->SetViewType(typeOrMode);
        view2D->viewport()->update();
    } else if (auto* view3D = qobject_cast<CMapView3D*>(view)) {
        view3D->SetRenderMode(typeOrMode);
        view3D->RequestFrame();
    }
    view->setFocus(Qt::OtherFocusReason);
    SetActiveCell(cell);
    emit activeViewChanged();
    return true;
}

void CChildFrame::OnAutosize() {
    const QSize client = m_grid->size();
    for (int i = 0; i < 2; ++i) {
        m_grid->SetRowHeight(i, client.height() / 2 - 3);
        m_grid->SetColumnWidth(i, client.width() / 2 - 3);
    }
    m_maximized.reset();
    m_grid->Relayout();
}

void CChildFrame::OnToggleMaximize() {
    const PaneGrid::Cell target = m_activeCell;
    if (!m_maximized) {
        for (int i = 0; i < 2; ++i) {
            m_savedRows[static_cast<std::size_t>(i)] = m_grid->RowHeight(i);
            m_savedColumns[static_cast<std::size_t>(i)] = m_grid->ColumnWidth(i);
        }
        m_savedGridSize = m_grid->size();
    }
    if (m_maximized && *m_maximized == target) {
        // The frame may have changed size meanwhile: the saved sizes keep their proportions.
        const auto scaled = [](int size, int from, int to) {
            return from > 0 ? static_cast<int>(static_cast<long long>(size) * to / from) : size;
        };
        for (int i = 0; i < 2; ++i) {
            m_grid->SetRowHeight(i, scaled(m_savedRows[static_cast<std::size_t>(i)],
                                           m_savedGridSize.height(), m_grid->height()));
            m_grid->SetColumnWidth(i, scaled(m_savedColumns[static_cast<std::size_t>(i)],
                                             m_savedGridSize.width(), m_grid->width()));
        }
        m_maximized.reset();
    } else {
        for (int i = 0; i < 2; ++i) {
            m_grid->SetRowHeight(i, 0);
            m_grid->SetColumnWidth(i, 0);
        }
        m_grid->SetRowHeight(target.row, std::max(PaneGrid::kMinimumPane, m_grid->height()));
        m_grid->SetColumnWidth(target.column, std::max(PaneGrid::kMinimumPane, m_grid->width()));
        m_maximized = target;
    }
    m_grid->Relayout();
}

// The first paint lays the panes out in equal quarters and centres the 2D views on the map,
// now that the frame has its real size.
void CChildFrame::OnFirstPaint() {
    if (!m_firstPaint) {
        return;
    }
    m_firstPaint = false;
    OnAutosize();
    for (CMapView2D* view : Views2D()) {
        view->CenterOnPoint(std::nullopt, std::nullopt);
    }
    update();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!DocumentSaving::SaveModified(*m_document)) {
        event->ignore();
        return;
    }
    if (Editor().documentClosed) {
        Editor().documentClosed(*m_document);
    }
    event->accept();
}
