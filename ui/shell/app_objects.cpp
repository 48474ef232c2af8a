#include "ui/shell/app_objects.h"

#include "engine/player_arrays.h"

HINSTANCE AppInstance = NULL;

// One translation unit, so that they are built in this order before WinMain
// runs and destroyed in the reverse order after it returns: the board points
// into the puzzle, and the solution window reads it. The board makes its
// brushes in its constructor, so those GDI objects exist before WinMain.
PuzzleGrid Puzzle;
GridBoard Board(PlayerGrid, Puzzle.mask, PencilMarks);
SolutionWindow Solution(&Puzzle);
