#pragma once

// Rounds v to the nearest multiple of grid, halves away from zero; v itself when snapping
// is off or the grid is not positive.
inline int SnapToGridValue(int v, int grid, bool snap) {
    if (!snap || grid <= 0) {
        return v;
    }
    const int remainder = v % grid;
    const int base = grid * (v / grid);
    const int half = grid / 2;
    if ((remainder < 0 ? -remainder : remainder) < half) {
        return base;
    }
    return remainder < 0 ? base - grid : base + grid;
}
