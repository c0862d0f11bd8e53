#include "panels/TextureBrowserWindow.h"

#include "browser/TextureDrawLayout.h"
#include "gamedata/TextureManager.h"
#include "panels/TextureThumbnails.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TextureBrowserWindow::TextureBrowserWindow(TextureManager& textures, QWidget* parent)
    : QAbstractScrollArea(parent), m_textures(textures),
      m_thumbnails(std::make_unique<TextureThumbnails>(textures)), m_font("Courier New", 7) {
    setObjectName("TextureBrowserWindow");
    m_font.setStyleHint(QFont::TypeWriter);
    m_charWidth = QFontMetrics(m_font).horizontalAdvance('A');
    viewport()->setAutoFillBackground(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, Qt::black);
    viewport()->setPalette(colours);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Relayout();
}

TextureBrowserWindow::~TextureBrowserWindow() = default;

void TextureBrowserWindow::SetThumbnailSize(int size) {
    m_size = size;
    Relayout();
}

void TextureBrowserWindow::SetFilter(const QString& text) {
    m_filter = text;
    Relayout();
}

void TextureBrowserWindow::Relayout() {
    QuakeGraphic* selected = SelectedTexture();
    std::vector<QuakeGraphic*> all;
    const TextureList& list = m_textures.CurrentList();
    all.reserve(static_cast<std::size_t>(list.Count()));
    for (int index : list.Indices()) {
        all.push_back(m_textures.TextureAt(index));
    }
    m_shown = TextureBrowserLayout::Filter(all, m_filter.toStdString());
    m_layout.Layout(m_shown, m_size, m_charWidth, viewport()->width());
    m_selected = selected ? m_layout.CellOf(selected) : -1;
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_layout.ExtentWidth() - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    horizontalScrollBar()->setSingleStep(kScrollLine);
    verticalScrollBar()->setRange(0, std::max(0, m_layout.ExtentHeight() - page.height()));
    verticalScrollBar()->setPageStep(page.height());
    verticalScrollBar()->setSingleStep(kScrollLine);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

QuakeGraphic* TextureBrowserWindow::SelectedTexture() const {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_layout.Cells().size())) {
        return nullptr;
    }
    return m_layout.Cells()[static_cast<std::size_t>(m_selected)].texture;
}

QRect TextureBrowserWindow::SelectionRect() const {
    if (m_selected < 0) {
        return {};
    }
    const auto& cell = m_layout.Cells()[static_cast<std::size_t>(m_selected)];
    return QRect(cell.x - 2, cell.y - 4, cell.width + 4, cell.height + 8);
}

QRect TextureBrowserWindow::CellRectInView(int cell) const {
    const auto& c = m_layout.Cells()[static_cast<std::size_t>(cell)];
    return QRect(c.x - horizontalScrollBar()->value(), c.y - verticalScrollBar()->value(), c.width,
                 c.height);
}

void TextureBrowserWindow::SelectByName(const QString& name) {
    QuakeGraphic* texture = m_textures.FindTexture(name.toStdString(), true);
    const int cell = texture ? m_layout.CellOf(texture) : -1;
    if (cell < 0) {
        return;
    }
    const auto& c = m_layout.Cells()[static_cast<std::size_t>(cell)];
    const int top = verticalScrollBar()->value();
    if (!(top >= c.y && top < c.y + c.height)) {
        verticalScrollBar()->setValue(c.y);
    }
    SelectCell(cell);
}

void TextureBrowserWindow::SelectCell(int cell) {
    m_selected = cell;
    viewport()->update();
}

int TextureBrowserWindow::CellAtViewPoint(const QPoint& point) const {
    return m_layout.CellAt(point.x() + horizontalScrollBar()->value(),
                           point.y() + verticalScrollBar()->value());
}

void TextureBrowserWindow::mousePressEvent(QMouseEvent* event) {
    const int cell = CellAtViewPoint(event->position().toPoint());
    if (cell >= 0) {
        SelectCell(cell);
    }
}

void TextureBrowserWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const int cell = CellAtViewPoint(event->position().toPoint());
    if (cell >= 0) {
        SelectCell(cell);
        emit texturePicked(SelectedTexture());
    }
}

void TextureBrowserWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TextureBrowserWindow::scrollContentsBy(int, int) {
    viewport()->update();
}

void TextureBrowserWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::black);
    painter.setFont(m_font);
    painter.setPen(Qt::white);
    const int sx = horizontalScrollBar()->value();
    const int sy = verticalScrollBar()->value();
    const QRect area = event->rect().translated(sx, sy);
    painter.translate(-sx, -sy);
    for (int index :
         m_layout.CellsIn(area.left(), area.top(), area.right() + 1, area.bottom() + 1)) {
        const auto& cell = m_layout.Cells()[static_cast<std::size_t>(index)];
        m_thumbnails->Draw(painter, *cell.texture, QRect(cell.x, cell.y, cell.width, cell.height),
                           kCaptionHeight, TextureDrawLayout::DrawName);
    }
    if (m_selected >= 0) {
        painter.setPen(Qt::white);
        painter.setBrush(Qt::NoBrush);
        const QRect r = SelectionRect();
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}
