#include "tests/engine/brute_force_counter.h"

int BruteForceCount(int16_t grid[81], int limit)
{
    int best = -1, bestCandidates = 0, bestCount = 10;
    for (int cell = 0; cell < 81; ++cell) {
        if (grid[cell] != 0)
            continue;
        int row = cell / 9, column = cell % 9, boxRow = row / 3 * 3, boxColumn = column / 3 * 3;
        int candidates = 0, count = 0;
        for (int digit = 1; digit <= 9; ++digit) {
            bool clash = false;
            for (int i = 0; i < 9 && !clash; ++i) {
                clash = grid[row * 9 + i] == digit || grid[i * 9 + column] == digit ||
                        grid[(boxRow + i / 3) * 9 + boxColumn + i % 3] == digit;
            }
            if (!clash) {
                candidates |= 1 << digit;
                ++count;
            }
        }
        if (count < bestCount) {
            best = cell;
            bestCandidates = candidates;
            bestCount = count;
        }
    }
    if (best < 0)
        return 1;
    int found = 0;
    for (int digit = 1; digit <= 9 && found < limit; ++digit) {
        if (!(bestCandidates & (1 << digit)))
            continue;
        grid[best] = static_cast<int16_t>(digit);
        found += BruteForceCount(grid, limit - found);
        grid[best] = 0;
    }
    return found;
}
