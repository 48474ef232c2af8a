#include "play/grid_geometry.h"

namespace {

const int kPitch = 51;
const int kBorder = 1;
const int kMarkSize = kPitch / 3;
const int kBoxPitch = 3 * kPitch;
const int kWindowSize = 9 * kPitch + kBorder;

void Fill(RECT* out, int left, int top, int right, int bottom)
{
    out->left = left;
    out->top = top;
    out->right = right;
    out->bottom = bottom;
}

}  // namespace

int32_t GridGeometry::WindowSize() const { return Scale(kWindowSize); }

int32_t GridGeometry::CellLine(int32_t index) const { return Scale(index * kPitch); }

int32_t GridGeometry::BoxLine(int32_t index) const { return Scale(index * kBoxPitch); }

int GridGeometry::CellRect(int32_t cell, RECT* out) const
{
    if (!out || !IsCell(cell))
        return 0;
    const int left = CellColumn(cell) * kPitch;
    const int top = CellRow(cell) * kPitch;
    Fill(out, Scale(left), Scale(top), Scale(left + kPitch + kBorder), Scale(top + kPitch + kBorder));
    return 1;
}

int GridGeometry::SubCellRect(int32_t cell, int32_t mark, RECT* out) const
{
    if (!out || !IsCell(cell) || mark < 0 || mark >= kDigitCount)
        return 0;
    const int left = CellColumn(cell) * kPitch + (mark % 3) * kMarkSize;
    const int top = CellRow(cell) * kPitch + (mark / 3) * kMarkSize;
    Fill(out, Scale(left), Scale(top), Scale(left + kMarkSize), Scale(top + kMarkSize));
    return 1;
}

int GridGeometry::RowRect(int32_t row, RECT* out) const
{
    if (!out || row < 0 || row >= 9)
        return 0;
    Fill(out, 0, Scale(row * kPitch), Scale(kWindowSize), Scale(row * kPitch + kPitch + kBorder));
    return 1;
}

int GridGeometry::ColumnRect(int32_t column, RECT* out) const
{
    if (!out || column < 0 || column >= 9)
        return 0;
    Fill(out, Scale(column * kPitch), 0, Scale(column * kPitch + kPitch + kBorder), Scale(kWindowSize));
    return 1;
}

int GridGeometry::BoxRect(int32_t box, RECT* out) const
{
    if (!out || box < 0 || box >= 9)
        return 0;
    const int left = (box % 3) * kBoxPitch;
    const int top = (box / 3) * kBoxPitch;
    Fill(out, Scale(left), Scale(top), Scale(left + kBoxPitch + kBorder), Scale(top + kBoxPitch + kBorder));
    return 1;
}

int GridGeometry::AreaRect(GridArea area, int32_t index, RECT* out) const
{
    switch (area) {
    case kCellArea:
        return CellRect(index, out);
    case kRowArea:
        return RowRect(index, out);
    case kColumnArea:
        return ColumnRect(index, out);
    case kBoxArea:
        return BoxRect(index, out);
    }
    return 0;
}

int32_t GridGeometry::PitchIndex(int32_t at) const
{
    // A first guess from the unrounded scale, then the rounded lines decide.
    int32_t index = static_cast<int32_t>(static_cast<int64_t>(at) * kBaseDpi / (static_cast<int64_t>(kPitch) * dpi_));
    while (index > 0 && CellLine(index) > at)
        --index;
    while (CellLine(index + 1) <= at)
        ++index;
    return index;
}

int32_t GridGeometry::MarkIndex(int32_t at) const
{
    const int32_t start = PitchIndex(at) * kPitch;
    int32_t mark = 0;
    while (mark < 2 && Scale(start + (mark + 1) * kMarkSize) <= at)
        ++mark;
    return mark;
}

int32_t GridGeometry::CellFromPoint(int32_t x, int32_t y) const
{
    // Division truncates toward zero, so a point just left of or above the
    // grid would otherwise land in the first column or row.
    if (x < 0 || y < 0)
        return kNoCell;
    const int32_t column = PitchIndex(x);
    const int32_t row = PitchIndex(y);
    if (column > 8 || row > 8)
        return kNoCell;
    return row * 9 + column;
}

int32_t GridGeometry::SubCellFromPoint(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0)
        return -1;
    return MarkIndex(x) + MarkIndex(y) * 3;
}
