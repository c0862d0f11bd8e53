#include "render/View2DGrid.h"

#include <cstdint>

namespace {

struct AxisLines {
    std::vector<GridLine> lines;
    int firstPixel = 0;
    int lastPixel = -1;
};

int LogicalPixel(std::int64_t value, float zoom) {
    return TruncClamped(static_cast<float>(value) * zoom);
}

// Lines of one axis: values start, start + g, ... below end; pixels are client pixels.
AxisLines LinesOfAxis(int scroll, int clientSize, float zoom, int grid, int clipMin, int clipMax) {
    AxisLines result;
    const std::int64_t g = grid;
    const std::int64_t origin = TruncClamped(static_cast<float>(scroll) / zoom);
    const std::int64_t start = (origin - g) / g * g;
    // Counted from the client's first world value rather than from the first line, so the
    // lines reach the far edge whatever the scroll position.
    const std::int64_t end = origin + TruncClamped(static_cast<float>(clientSize) / zoom) + 2 * g;
    if (start >= end) {
        return result;
    }
    const std::int64_t lastValue = start + (end - 1 - start) / g * g;
    result.firstPixel = LogicalPixel(start, zoom) - scroll;
    result.lastPixel = LogicalPixel(lastValue, zoom) - scroll;

    std::int64_t value = start;
    while (value <= lastValue) {
        const int pixel = LogicalPixel(value, zoom);
        // The last value that falls on the same pixel (pixels never decrease with the value).
        std::int64_t sameSteps = 0;
        if (value + g <= lastValue && LogicalPixel(value + g, zoom) == pixel) {
            std::int64_t low = 1;
            std::int64_t high = (lastValue - value) / g;
            while (low < high) {
                const std::int64_t mid = low + (high - low + 1) / 2;
                if (LogicalPixel(value + mid * g, zoom) == pixel) {
                    low = mid;
                } else {
                    high = mid - 1;
                }
            }
            sameSteps = low;
        }
        const std::int64_t drawnLast = value + sameSteps * g;
        const int client = pixel - scroll;
        if (client >= clipMin && client <= clipMax) {
            result.lines.push_back({client, drawnLast == 0});
        }
        if (client > clipMax) {
            break;
        }
        value = drawnLast + g;
    }
    return result;
}

} // namespace

GridLines ComputeGridLines(const View2DTransform& t, int gridSize, const PixelRect& clip) {
    GridLines grid;
    if (gridSize <= 0 || !(t.zoom > 0.0f) || clip.IsEmpty()) {
        return grid;
    }
    AxisLines rows =
        LinesOfAxis(t.scrollV, t.clientHeight, t.zoom, gridSize, clip.top, clip.bottom);
    AxisLines columns =
        LinesOfAxis(t.scrollH, t.clientWidth, t.zoom, gridSize, clip.left, clip.right);
    grid.rows = std::move(rows.lines);
    grid.columns = std::move(columns.lines);
    grid.rowFrom = columns.firstPixel;
    grid.rowTo = columns.lastPixel;
    grid.columnFrom = rows.firstPixel;
    grid.columnTo = rows.lastPixel;
    return grid;
}
