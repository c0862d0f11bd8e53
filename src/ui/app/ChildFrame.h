#pragma once

#include "app/PaneGrid.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class CMapDoc;
class CMapView2D;
class CMapView3D;
class View2DGeometry;

// The frame of one open map document: its four views in a two-by-two grid, the 3D view top
// left and 2D views in the other panes. It owns the document; closing the frame asks about
// unsaved changes and then closes the document.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    enum class ViewClass { View2D, View3D };

    explicit CChildFrame(std::unique_ptr<CMapDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CMapDoc& Document() const { return *m_document; }
    PaneGrid& Grid() const { return *m_grid; }

    // The view of the active pane (the one activated last) and its cell.
    QWidget* ActiveView() const;
    PaneGrid::Cell ActiveCell() const { return m_activeCell; }
    void SetActiveCell(PaneGrid::Cell cell);
    std::vector<CMapView2D*> Views2D() const;
    CMapView3D* View3D() const;

    // The view commands: make the active pane a 2D view of a type (0 X/Y, 1 Y/Z, 2 X/Z) or a
    // 3D view in a render mode (1 wireframe, 2 flat, 3 textured).
    void OnView2D(int type);
    void OnView3D(int mode);
    // Makes the active pane a view of the class with the type or mode; false (after telling
    // the user) when a second 3D view of the document is asked for.
    bool ReplaceView(ViewClass viewClass, int typeOrMode);
    // Equal quarters: each pane (client width / 2 - 3) x (client height / 2 - 3).
    void OnAutosize();
    // The active pane fills the frame, or the four panes come back with their old sizes.
    void OnToggleMaximize();
    bool HasMaximizedPane() const { return m_maximized.has_value(); }

    // Which of the six view commands the active view marks: a 2D type (0..2) or a 3D render
    // mode (1..3).
    std::optional<int> Active2DType() const;
    std::optional<int> Active3DMode() const;

signals:
    void activeViewChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateView(ViewClass viewClass);
    void WatchPane(QWidget* pane);
    void OnFirstPaint();

    std::unique_ptr<CMapDoc> m_document;
    // What the 2D views draw of the map, packed once for all of them.
    std::shared_ptr<View2DGeometry> m_geometry;
    PaneGrid* m_grid;
    PaneGrid::Cell m_activeCell{0, 0};
    std::optional<PaneGrid::Cell> m_maximized;
    std::array<int, 2> m_savedRows{};
    std::array<int, 2> m_savedColumns{};
    QSize m_savedGridSize;
    bool m_firstPaint = true;
};
