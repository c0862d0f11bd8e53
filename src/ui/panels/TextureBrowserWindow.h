#pragma once

#include "browser/TextureBrowserLayout.h"
#include "gamedata/QuakeGraphic.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <memory>
#include <vector>

class TextureManager;
class TextureThumbnails;

// The scrolling grid of thumbnails of the texture browser: the textures of the current group
// (narrowed by a filter text), each with its name, and a white rectangle around the selected
// one. A click selects, a double click picks.
class TextureBrowserWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kCaptionHeight = 7;
    static constexpr int kScrollLine = 16;

    explicit TextureBrowserWindow(TextureManager& textures, QWidget* parent = nullptr);
    ~TextureBrowserWindow() override;

    // 0 natural size, or 32, 64, 128: lays out again and scrolls to the top.
    void SetThumbnailSize(int size);
    int ThumbnailSize() const { return m_size; }
    // Only textures whose names contain text (ignoring case).
    void SetFilter(const QString& text);

    // Looks the texture up by name; when it has a cell, the view scrolls so the cell's top is
    // at the top (unless the top of the view already lies in it) and the cell is selected.
    void SelectByName(const QString& name);
    QuakeGraphic* SelectedTexture() const;
    int SelectedCell() const { return m_selected; }
    const TextureBrowserLayout& Layout() const { return m_layout; }
    // The selection rectangle, in the whole picture (empty without a selection).
    QRect SelectionRect() const;
    // Where a cell lies in the viewport now.
    QRect CellRectInView(int cell) const;

signals:
    void texturePicked(QuakeGraphic* texture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Relayout();
    void SelectCell(int cell);
    int CellAtViewPoint(const QPoint& point) const;

    TextureManager& m_textures;
    std::unique_ptr<TextureThumbnails> m_thumbnails;
    TextureBrowserLayout m_layout;
    std::vector<QuakeGraphic*> m_shown;
    QString m_filter;
    QFont m_font;
    int m_charWidth = 0;
    int m_size = 64;
    int m_selected = -1;
};
