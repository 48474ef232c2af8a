#pragma once

#include <cstdint>

// Counts the solutions of a grid, up to limit, by plain recursion on the
// empty cell with the fewest candidates. It shares none of the engine's
// machinery, so the engine's counter and the grids the game deals out can
// both be checked against it. Zeros are the empty cells; the givens are not
// checked against each other, so a grid with nothing left to fill counts as
// one solution. The grid is searched in place and left as it was.
int BruteForceCount(int16_t grid[81], int limit);
