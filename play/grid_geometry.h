#pragma once

#include <cstdint>

#include "engine/cell_geometry.h"
#include "platform.h"

// The rules name what to repaint; the grid window turns the area into pixels
// at its own scale.
enum GridArea { kCellArea, kRowArea, kColumnArea, kBoxArea };

// The display scale of a 96-DPI window: 100 %.
const int32_t kBaseDpi = 96;

// A 96-DPI pixel quantity at `dpi`, rounded to the nearest pixel as MulDiv
// does, so that every coordinate of a window follows the same rule.
inline int32_t ScaledPixels(int32_t pixels, int32_t dpi)
{
    const int64_t product = static_cast<int64_t>(pixels) * dpi;
    return static_cast<int32_t>(product >= 0 ? (product + kBaseDpi / 2) / kBaseDpi
                                             : (product - kBaseDpi / 2) / kBaseDpi);
}

// The grid's pixels at one display scale, in grid-window coordinates. Every
// coordinate is its 96-DPI value scaled on its own (ScaledPixels), so cells
// keep sharing their border lines, boxes meet the box lines and a hit test
// finds the cell painted under the point. At 96 DPI: cells 51 apart and 52
// wide, marks 17 square, box lines every 153, a 460-pixel window whose last
// pixel line belongs to no cell.
class GridGeometry {
public:
    explicit GridGeometry(int32_t dpi = kBaseDpi) : dpi_(dpi) {}

    int32_t Scale(int32_t pixels) const { return ScaledPixels(pixels, dpi_); }
    int32_t WindowSize() const;
    // Where the border line before column or row `index` lies, 0..9.
    int32_t CellLine(int32_t index) const;
    // Where box line `index`, 0..3, lies.
    int32_t BoxLine(int32_t index) const;

    // Each returns 0 and leaves out alone for an index out of range or a
    // null out, 1 otherwise.
    int CellRect(int32_t cell, RECT* out) const;
    int SubCellRect(int32_t cell, int32_t mark, RECT* out) const;
    int RowRect(int32_t row, RECT* out) const;
    int ColumnRect(int32_t column, RECT* out) const;
    int BoxRect(int32_t box, RECT* out) const;
    int AreaRect(GridArea area, int32_t index, RECT* out) const;

    // -1 off the cells: left of or above the grid, its last pixel line, beyond.
    int32_t CellFromPoint(int32_t x, int32_t y) const;
    // The mark place 0..8 within whichever cell pitch the point falls in;
    // -1 left of or above the grid.
    int32_t SubCellFromPoint(int32_t x, int32_t y) const;

private:
    // The column (or row) whose pitch holds the coordinate, unbounded.
    int32_t PitchIndex(int32_t at) const;
    int32_t MarkIndex(int32_t at) const;

    int32_t dpi_;
};
