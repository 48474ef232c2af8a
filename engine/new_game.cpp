#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"

#include <cstring>

void GenerateNewGame(PuzzleGrid* puzzle, int level)
{
    puzzle->FillSolution();
    puzzle->DigHoles(level);
    std::memset(PlayerGrid, 0, sizeof(PlayerGrid));
    std::memset(PencilMarks, 0, sizeof(PencilMarks));
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (puzzle->mask[cell] == kGiven)
            PlayerGrid[cell] = puzzle->values[cell];
    }
}
