#include "play/grid_board.h"

// The last pixel line of the grid belongs to no cell.
namespace {

const int kPitch = kCellPitch;
const int kCellSize = kPitch + 1;
const int kMarkSize = kPitch / 3;

void Fill(RECT* out, int left, int top, int right, int bottom)
{
    out->left = left;
    out->top = top;
    out->right = right;
    out->bottom = bottom;
}

}  // namespace

int GridBoard::CellRect(int32_t cell, RECT* out)
{
    if (!out || cell < 0 || cell >= kCellCount)
        return 0;
    int left = CellColumn(cell) * kPitch;
    int top = CellRow(cell) * kPitch;
    Fill(out, left, top, left + kCellSize, top + kCellSize);
    return 1;
}

int GridBoard::SubCellRect(int32_t cell, int32_t mark, RECT* out)
{
    if (!out || cell < 0 || cell >= kCellCount || mark < 0 || mark >= kDigitCount)
        return 0;
    int left = CellColumn(cell) * kPitch + (mark % 3) * kMarkSize;
    int top = CellRow(cell) * kPitch + (mark / 3) * kMarkSize;
    Fill(out, left, top, left + kMarkSize, top + kMarkSize);
    return 1;
}

int GridBoard::RowRect(int32_t row, RECT* out)
{
    if (!out || row < 0 || row >= 9)
        return 0;
    Fill(out, 0, row * kPitch, kGridSize, row * kPitch + kCellSize);
    return 1;
}

int GridBoard::ColumnRect(int32_t column, RECT* out)
{
    if (!out || column < 0 || column >= 9)
        return 0;
    Fill(out, column * kPitch, 0, column * kPitch + kCellSize, kGridSize);
    return 1;
}

int GridBoard::BoxRect(int32_t box, RECT* out)
{
    if (!out || box < 0 || box >= 9)
        return 0;
    int left = (box % 3) * kBoxPitch;
    int top = (box / 3) * kBoxPitch;
    Fill(out, left, top, left + kBoxPitch + 1, top + kBoxPitch + 1);
    return 1;
}

int32_t GridBoard::CellFromPoint(int32_t x, int32_t y)
{
    // Division truncates toward zero, so a point just left of or above the
    // grid would otherwise land in the first column or row.
    if (x < 0 || y < 0)
        return kNoCell;
    int column = x / kPitch;
    int row = y / kPitch;
    if (column > 8 || row > 8)
        return kNoCell;
    return row * 9 + column;
}

int32_t GridBoard::SubCellFromPoint(int32_t x, int32_t y)
{
    if (x < 0 || y < 0)
        return -1;
    return (x % kPitch) / kMarkSize + ((y % kPitch) / kMarkSize) * 3;
}
