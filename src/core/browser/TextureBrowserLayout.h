#pragma once

#include <string>
#include <vector>

class QuakeGraphic;

// Where the texture browser puts each thumbnail. Cells are laid out in list order from
// (4, 4): each is size x size, or at natural size as wide as the larger of the texture and its
// name and as high as the texture. A cell that is not first in its row and would pass the
// right edge starts a new row below the tallest cell so far (leaving room for the names).
class TextureBrowserLayout {
public:
    static constexpr int kMargin = 4;
    static constexpr int kCaptionRoom = 15;
    // Thumbnail sizes of the size box; kNaturalSize keeps each texture's own size.
    static constexpr int kNaturalSize = 0;
    static constexpr int kSizes[4] = {kNaturalSize, 32, 64, 128};

    struct Cell {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        QuakeGraphic* texture = nullptr;
        bool Contains(int px, int py) const {
            return px >= x && px < x + width && py >= y && py < y + height;
        }
    };

    // Lays out the textures for a window clientWidth pixels wide; charWidth is the width of
    // the letter A in the browser's font (natural size only).
    void Layout(const std::vector<QuakeGraphic*>& textures, int size, int charWidth,
                int clientWidth);

    const std::vector<Cell>& Cells() const { return m_cells; }
    // The scrollable size: the largest right and bottom edges plus the margin.
    int ExtentWidth() const { return m_extentWidth; }
    int ExtentHeight() const { return m_extentHeight; }

    // The cell under a point of the whole picture (scroll position added), or -1.
    int CellAt(int x, int y) const;
    // The first cell showing texture, or -1.
    int CellOf(const QuakeGraphic* texture) const;
    // The cells that meet the rectangle (for painting only what is seen); in layout order.
    std::vector<int> CellsIn(int left, int top, int right, int bottom) const;

    // The textures whose names contain text, ignoring case (all of them for empty text).
    static std::vector<QuakeGraphic*> Filter(const std::vector<QuakeGraphic*>& textures,
                                             const std::string& text);

private:
    std::vector<Cell> m_cells;
    int m_extentWidth = 0;
    int m_extentHeight = 0;
    // Rows start where y grows; the first cell of each row, for finding cells by height.
    std::vector<int> m_rowStarts;
};
