#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "engine/puzzle_grid.h"

// What FillSolution gives when every draw is 0: each placement takes the
// smallest free digit.
const int16_t kZeroDrawSolution[81] = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 4, 5, 6, 7, 8, 9, 1, 2, 3, 7, 8, 9, 1, 2, 3, 4, 5, 6,
    2, 3, 1, 6, 7, 4, 8, 9, 5, 8, 7, 5, 9, 1, 2, 3, 6, 4, 6, 9, 4, 5, 3, 8, 2, 1, 7,
    3, 1, 7, 2, 6, 5, 9, 4, 8, 5, 4, 2, 8, 9, 7, 6, 3, 1, 9, 6, 8, 3, 4, 1, 5, 7, 2,
};

// Every row, column and box holds each digit 1..9 once.
inline bool IsCompleteSolution(const int16_t* values)
{
    for (int group = 0; group < 9; ++group) {
        int rowSeen = 0, columnSeen = 0, boxSeen = 0;
        int boxStart = (group / 3) * 27 + (group % 3) * 3;
        for (int i = 0; i < 9; ++i) {
            int cells[3] = {group * 9 + i, i * 9 + group, boxStart + (i / 3) * 9 + i % 3};
            int* seen[3] = {&rowSeen, &columnSeen, &boxSeen};
            for (int k = 0; k < 3; ++k) {
                int v = values[cells[k]];
                if (v < 1 || v > 9)
                    return false;
                *seen[k] |= 1 << v;
            }
        }
        if (rowSeen != 0x3FE || columnSeen != 0x3FE || boxSeen != 0x3FE)
            return false;
    }
    return true;
}

inline void LoadSolution(PuzzleGrid* puzzle, const int16_t* values)
{
    std::memcpy(puzzle->values, values, sizeof(puzzle->values));
}

inline void HideCells(uint8_t* mask, std::initializer_list<int> cells, uint8_t state = kHidden)
{
    for (int cell : cells)
        mask[cell] = state;
}
