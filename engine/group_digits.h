#pragma once

#include <cstdint>

#include "engine/cell_geometry.h"
#include "engine/puzzle_grid.h"

// The digits written in each row, column and box as bit sets (bit d - 1 for
// digit d). The searches keep one beside the grid they fill, so that a cell's
// candidates cost three lookups instead of a visit of its 27 peers; the
// candidate flags of the frames keep their meaning, they are just written
// from these sets.
const unsigned kAllDigits = 0x1FF;

struct GroupDigits {
    uint16_t row[9];
    uint16_t column[9];
    uint16_t box[9];

    // Anything outside 1..9 fills a cell without being a digit, as in the
    // peer scan.
    void Load(const int16_t* values)
    {
        for (int i = 0; i < 9; ++i)
            row[i] = column[i] = box[i] = 0;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (values[cell] >= 1 && values[cell] <= kDigitCount)
                Add(cell, values[cell]);
        }
    }

    void Add(int cell, int digit)
    {
        unsigned bit = 1u << (digit - 1);
        row[CellRow(cell)] |= bit;
        column[CellColumn(cell)] |= bit;
        box[CellBox(cell)] |= bit;
    }

    // Only for a digit that the search itself placed: it was a candidate, so
    // no other cell of the three groups holds it.
    void Remove(int cell, int digit)
    {
        unsigned bit = ~(1u << (digit - 1));
        row[CellRow(cell)] &= bit;
        column[CellColumn(cell)] &= bit;
        box[CellBox(cell)] &= bit;
    }

    unsigned Free(int cell) const
    {
        return ~(row[CellRow(cell)] | column[CellColumn(cell)] | box[CellBox(cell)]) & kAllDigits;
    }
};

// Number of digits in a set of candidates.
int CandidateCount(unsigned digits);

// Writes a cell's candidate flags from its free digits, as ComputeCandidates
// would from the grid: 0 for a free digit, 1 for one held by a peer.
inline void WriteCandidateFlags(SearchFrame* frame, int cell, unsigned freeDigits)
{
    uint8_t* flags = frame->flags + cell * kDigitCount;
    for (int i = 0; i < kDigitCount; ++i)
        flags[i] = (freeDigits >> i) & 1u ? 0 : 1;
}
