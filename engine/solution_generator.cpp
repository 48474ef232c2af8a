#include "engine/group_digits.h"
#include "engine/puzzle_grid.h"
#include "engine/random_source.h"

#include <cstring>

namespace {

struct CountTable {
    uint8_t counts[kAllDigits + 1];
    constexpr CountTable() : counts()
    {
        for (unsigned bits = 0; bits <= kAllDigits; ++bits) {
            int n = 0;
            for (unsigned rest = bits; rest; rest &= rest - 1)
                ++n;
            counts[bits] = static_cast<uint8_t>(n);
        }
    }
};

constexpr CountTable kCountTable;

bool IsDigit(int value) { return value >= 1 && value <= kDigitCount; }

}  // namespace

int CandidateCount(unsigned digits) { return kCountTable.counts[digits & kAllDigits]; }

int ComputeCandidates(SearchFrame* frame, int cell, const int16_t* values)
{
    if (!frame || !IsCell(cell))
        return 0;
    uint8_t* flags = frame->flags + cell * kDigitCount;
    std::memset(flags, 0, kDigitCount);
    int rowStart = RowStart(cell);
    int column = CellColumn(cell);
    int boxStart = BoxStart(cell);
    for (int i = 0; i < 9; ++i) {
        int peers[3] = {rowStart + i, ColumnCell(column, i), BoxCell(boxStart, i)};
        for (int peer : peers) {
            // A value that is no digit (a damaged grid) must not reach the
            // flag index.
            if (IsDigit(values[peer]))
                flags[values[peer] - 1] = 1;
        }
    }
    int count = 0;
    for (int i = 0; i < kDigitCount; ++i) {
        if (flags[i] == 0)
            ++count;
    }
    return count;
}

int PlaceRandomCandidate(SearchFrame* frame, int16_t* values)
{
    if (!frame || !IsCell(frame->branchCell))
        return 0;
    int cell = frame->branchCell;
    const uint8_t* flags = frame->flags + cell * kDigitCount;
    int freeCount = 0;
    for (int i = 0; i < kDigitCount; ++i) {
        if (flags[i] == 0)
            ++freeCount;
    }
    if (freeCount == 0)
        return 0;
    // rand is left alone when there is no choice: the draws decide the puzzle.
    int pick = freeCount >= 2 ? DrawRandom() % freeCount : 0;
    for (int i = 0; i < kDigitCount; ++i) {
        if (flags[i] != 0)
            continue;
        if (pick == 0) {
            values[cell] = static_cast<int16_t>(i + 1);
            return 1;
        }
        --pick;
    }
    return 0;
}

void PuzzleGrid::Backtrack(SearchNode* frame)
{
    while (frame) {
        SearchFrame* current = &frame->payload;
        int cell = current->branchCell;
        if (IsCell(cell)) {
            int digit = values[cell];
            values[cell] = 0;
            if (IsDigit(digit))
                current->flags[cell * kDigitCount + digit - 1] = 2;
            if (PlaceRandomCandidate(current, values))
                return;
        }
        frame = stack.PopBack();
    }
}

void PuzzleGrid::FillSolution()
{
    std::memset(values, 0, sizeof(values));
    stack.Clear();
    GroupDigits digits;
    digits.Load(values);
    for (;;) {
        SearchFrame* frame = &stack.PushBack(nullptr)->payload;
        int fewest = 10;
        unsigned branchDigits = 0;
        bool deadEnd = false;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (values[cell] != 0)
                continue;
            unsigned candidates = digits.Free(cell);
            int count = CandidateCount(candidates);
            if (count == 0) {
                deadEnd = true;
                break;
            }
            // Strictly fewer: ties go to the first cell in index order.
            if (count < fewest) {
                fewest = count;
                frame->branchCell = cell;
                branchDigits = candidates;
            }
        }
        if (deadEnd) {
            Backtrack(stack.PopBack());
            digits.Load(values);
            continue;
        }
        if (fewest == 10)
            break;
        // Only the branching cell's flags are ever read back, by the placement
        // and by Backtrack.
        WriteCandidateFlags(frame, frame->branchCell, branchDigits);
        PlaceRandomCandidate(frame, values);
        digits.Add(frame->branchCell, values[frame->branchCell]);
    }
    stack.Clear();
}
