#include "engine/puzzle_grid.h"
#include "engine/random_source.h"

#include <cstring>

namespace {

// Cells that are never tried: they stay given whatever the level.
const int kUntriedCells = 20;

// Whether the first cell holding digit along a row (step 1) or a column
// (step 9), scanned from its start, is visible. A line that lacks the digit
// (only in a grid that is no solution) counts as visible.
bool FirstHolderVisible(const int16_t* values, const uint8_t* mask, int start, int step, int digit)
{
    for (int i = 0; i < 9; ++i) {
        int cell = start + i * step;
        if (values[cell] == digit)
            return mask[cell] != kHidden;
    }
    return true;
}

}  // namespace

void PuzzleGrid::DigHoles(int level)
{
    std::memset(mask, kGiven, sizeof(mask));
    int untried = kCellCount;
    while (untried > kUntriedCells) {
        int pick = DrawRandom() % untried;
        int cell = 0;
        for (int seen = 0;; ++cell) {
            if (mask[cell] != kGiven)
                continue;
            if (seen == pick)
                break;
            ++seen;
        }
        mask[cell] = kHidden;
        // The order of the tests matters: CountSolutions draws from the same
        // sequence, so it runs only when the cap and the deduction let the
        // cell through.
        bool keepVisible;
        if (level == 0 || level == 1) {
            int cap = level == 0 ? 5 : 6;
            if (!WithinHiddenLimit(cell, cap) && !IsDeducible(cell))
                keepVisible = true;
            else
                keepVisible = CountSolutions(this, mask) != 1;
        } else {
            keepVisible = CountSolutions(this, mask) != 1;
        }
        if (keepVisible)
            mask[cell] = kTriedVisible;
        untried = kCellCount - CountMarkedCells();
    }
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (mask[cell] == kTriedVisible)
            mask[cell] = kGiven;
    }
}

int PuzzleGrid::WithinHiddenLimit(int cell, int limit) const
{
    if (!IsCell(cell))
        return 0;
    int rowStart = RowStart(cell);
    int column = CellColumn(cell);
    int boxStart = BoxStart(cell);
    int hidden = 0;
    for (int i = 0; i < 9; ++i)
        hidden += mask[rowStart + i] == kHidden;
    if (hidden > limit)
        return 0;
    hidden = 0;
    for (int i = 0; i < 9; ++i)
        hidden += mask[ColumnCell(column, i)] == kHidden;
    if (hidden > limit)
        return 0;
    hidden = 0;
    for (int i = 0; i < 9; ++i)
        hidden += mask[BoxCell(boxStart, i)] == kHidden;
    return hidden > limit ? 0 : 1;
}

int PuzzleGrid::IsDeducible(int cell) const
{
    if (!IsCell(cell))
        return 0;
    int rowStart = RowStart(cell);
    int column = CellColumn(cell);
    int boxStart = BoxStart(cell);

    // The only hidden cell of a row, column or box: its digit is the one the
    // eight visible cells leave out.
    int rowHidden = 0, columnHidden = 0, boxHidden = 0;
    for (int i = 0; i < 9; ++i) {
        rowHidden += mask[rowStart + i] == kHidden;
        columnHidden += mask[ColumnCell(column, i)] == kHidden;
        boxHidden += mask[BoxCell(boxStart, i)] == kHidden;
    }
    if (rowHidden <= 1 || columnHidden <= 1 || boxHidden <= 1)
        return 1;

    int digit = values[cell];

    // The digit visible in both other rows of the band rules those rows out
    // of the box; likewise for the other columns of the tower.
    bool rowExclusion = true;
    for (int row = CellBand(cell) * 3; row < CellBand(cell) * 3 + 3; ++row) {
        if (row != CellRow(cell) && !FirstHolderVisible(values, mask, RowCell(row, 0), 1, digit))
            rowExclusion = false;
    }
    bool columnExclusion = true;
    for (int other = CellTower(cell) * 3; other < CellTower(cell) * 3 + 3; ++other) {
        if (other != column && !FirstHolderVisible(values, mask, ColumnCell(other, 0), 9, digit))
            columnExclusion = false;
    }

    int segmentStart = RowSegmentStart(cell);
    int rowSegmentHidden = 0, columnSegmentHidden = 0;
    for (int j = 0; j < 3; ++j) {
        rowSegmentHidden += mask[segmentStart + j] == kHidden;
        columnSegmentHidden += mask[ColumnSegmentCell(cell, j)] == kHidden;
    }
    if (rowSegmentHidden <= 1 && rowExclusion)
        return 1;
    if (columnSegmentHidden <= 1)
        return columnExclusion ? 1 : 0;
    return rowExclusion && columnExclusion ? 1 : 0;
}
