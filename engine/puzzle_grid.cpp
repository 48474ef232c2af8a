#include "engine/puzzle_grid.h"

#include <cstring>

PuzzleGrid::PuzzleGrid()
{
    std::memset(values, 0, sizeof(values));
    std::memset(mask, 0, sizeof(mask));
}

PuzzleGrid::~PuzzleGrid() { stack.Clear(); }

int PuzzleGrid::CountMarkedCells() const
{
    int count = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (mask[cell] != kGiven)
            ++count;
    }
    return count;
}
