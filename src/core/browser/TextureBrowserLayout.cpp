#include "browser/TextureBrowserLayout.h"

#include "gamedata/QuakeGraphic.h"

#include <algorithm>
#include <cctype>

void TextureBrowserLayout::Layout(const std::vector<QuakeGraphic*>& textures, int size,
                                  int charWidth, int clientWidth) {
    m_cells.clear();
    m_rowStarts.clear();
    m_cells.reserve(textures.size());
    int x = kMargin;
    int y = kMargin;
    int maxRight = 0;
    int maxBottom = 0;
    for (QuakeGraphic* texture : textures) {
        Cell cell;
        cell.texture = texture;
        if (size == kNaturalSize) {
            const int nameWidth = static_cast<int>(texture->name.size()) * charWidth;
            cell.width = std::max(texture->width, nameWidth);
            cell.height = texture->height;
        } else {
            cell.width = size;
            cell.height = size;
        }
        if (x > kMargin && x + cell.width > clientWidth) {
            x = kMargin;
            y = maxBottom + kCaptionRoom + kMargin;
        }
        if (m_rowStarts.empty() || x == kMargin) {
            m_rowStarts.push_back(static_cast<int>(m_cells.size()));
        }
        cell.x = x;
        cell.y = y;
        maxRight = std::max(maxRight, x + cell.width);
        maxBottom = std::max(maxBottom, y + cell.height);
        x = cell.x + cell.width + kMargin;
        m_cells.push_back(cell);
    }
    m_extentWidth = m_cells.empty() ? 0 : maxRight + kMargin;
    m_extentHeight = m_cells.empty() ? 0 : maxBottom + kMargin;
}

int TextureBrowserLayout::CellAt(int x, int y) const {
    for (int index : CellsIn(x, y, x + 1, y + 1)) {
        if (m_cells[static_cast<std::size_t>(index)].Contains(x, y)) {
            return index;
        }
    }
    return -1;
}

int TextureBrowserLayout::CellOf(const QuakeGraphic* texture) const {
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i].texture == texture) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<int> TextureBrowserLayout::CellsIn(int left, int top, int right, int bottom) const {
    std::vector<int> found;
    // Rows go down the picture in order: skip whole rows that end above the rectangle (a row
    // ends where the next one starts, less the caption room).
    std::size_t row = 0;
    while (row + 1 < m_rowStarts.size() &&
           m_cells[static_cast<std::size_t>(m_rowStarts[row + 1])].y <= top) {
        ++row;
    }
    const std::size_t first = m_rowStarts.empty() ? 0 : static_cast<std::size_t>(m_rowStarts[row]);
    for (std::size_t i = first; i < m_cells.size(); ++i) {
        const Cell& cell = m_cells[i];
        if (cell.y >= bottom) {
            break;
        }
        if (cell.x < right && cell.x + cell.width > left && cell.y < bottom &&
            cell.y + cell.height + kCaptionRoom > top) {
            found.push_back(static_cast<int>(i));
        }
    }
    return found;
}

std::vector<QuakeGraphic*> TextureBrowserLayout::Filter(const std::vector<QuakeGraphic*>& textures,
                                                        const std::string& text) {
    if (text.empty()) {
        return textures;
    }
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    const std::string wanted = lower(text);
    std::vector<QuakeGraphic*> kept;
    for (QuakeGraphic* texture : textures) {
        if (lower(texture->name).find(wanted) != std::string::npos) {
            kept.push_back(texture);
        }
    }
    return kept;
}
