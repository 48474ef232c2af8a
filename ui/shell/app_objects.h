#pragma once

#include <windows.h>

#include "engine/puzzle_grid.h"
#include "play/grid_board.h"
#include "ui/shell/solution_window.h"

// The process-wide objects of the game, alive for the whole run.
extern HINSTANCE AppInstance;
extern PuzzleGrid Puzzle;
extern GridBoard Board;
extern SolutionWindow Solution;
