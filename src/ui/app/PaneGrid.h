#pragma once

#include <QWidget>

#include <array>
#include <optional>

// Four panes in two rows and two columns with splitter bars between them, as the child
// frame shows a document's views. Each row and column has a requested size: the first gets
// it (as far as it fits) and the second the rest; a requested size of 0 hides the row or
// column. The bars can be dragged. When the grid's size changes, the requested sizes scale
// with it, so the panes keep their proportions.
class PaneGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBarSize = 6;
    static constexpr int kMinimumPane = 5;

    struct Cell {
        int row = 0;
        int column = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    explicit PaneGrid(QWidget* parent = nullptr);

    // Puts a widget into a cell (the grid becomes its parent); the old one is returned, not
    // deleted.
    QWidget* SetPane(int row, int column, QWidget* pane);
    QWidget* Pane(int row, int column) const;
    // The cell of the pane that is or contains widget.
    std::optional<Cell> CellOf(const QWidget* widget) const;

    void SetRowHeight(int row, int height);
    void SetColumnWidth(int column, int width);
    // Sizes the panes have after the last layout (0 for a hidden row or column).
    int RowHeight(int row) const { return m_rowActual[static_cast<std::size_t>(row)]; }
    int ColumnWidth(int column) const { return m_columnActual[static_cast<std::size_t>(column)]; }
    void Relayout();

signals:
    // Once, on the grid's first paint.
    void firstPainted();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static void Split(int available, const std::array<double, 2>& requested,
                      std::array<int, 2>& actual);
    // Which bars lie under a point: bit 1 the column bar, bit 2 the row bar.
    int BarsAt(const QPoint& point) const;
    void UpdateCursor(int bars);

    std::array<std::array<QWidget*, 2>, 2> m_panes{};
    static void Scale(std::array<double, 2>& requested, int from, int to);

    std::array<double, 2> m_rowRequested{100, 100};
    std::array<double, 2> m_columnRequested{100, 100};
    // The size the requested sizes were last laid out for.
    QSize m_laidOutSize;
    std::array<int, 2> m_rowActual{0, 0};
    std::array<int, 2> m_columnActual{0, 0};
    int m_dragging = 0;
    QPoint m_dragOffset;
    bool m_painted = false;
};
