#include "engine/group_digits.h"
#include "engine/puzzle_grid.h"

namespace {

// The empty cells of the working grid as bits, so that a pass visits only
// those, in ascending order.
struct EmptyCells {
    uint64_t words[2];

    void Add(int cell) { words[cell >> 6] |= uint64_t(1) << (cell & 63); }
    void Remove(int cell) { words[cell >> 6] &= ~(uint64_t(1) << (cell & 63)); }
    bool None() const { return (words[0] | words[1]) == 0; }
};

// One pass over the empty cells: returns false at a dead end (a cell without
// candidates), otherwise true with the cell to branch on, which is the first
// cell with a single candidate or else the first with the fewest. A forced
// cell ends the pass at once, even before a dead end further on.
bool ChooseBranchCell(const EmptyCells& empty, const GroupDigits& digits, int* branchCell, unsigned* branchDigits)
{
    int fewest = 10;
    for (int word = 0; word < 2; ++word) {
        for (uint64_t rest = empty.words[word]; rest; rest &= rest - 1) {
            int cell = word * 64 + __builtin_ctzll(rest);
            unsigned candidates = digits.Free(cell);
            int count = CandidateCount(candidates);
            if (count == 0)
                return false;
            // Strictly fewer: ties go to the first cell in index order.
            if (count < fewest) {
                fewest = count;
                *branchCell = cell;
                *branchDigits = candidates;
                if (count == 1)
                    return true;
            }
        }
    }
    return true;
}

SearchFrame* LastFrame(const SearchStack& stack) { return stack.last ? &stack.last->payload : nullptr; }

}  // namespace

int CountSolutions(const PuzzleGrid* source, const uint8_t* mask)
{
    if (!source)
        return 0;
    // Kept-visible cells (2) are given like the rest.
    int16_t work[kCellCount];
    EmptyCells empty = {{0, 0}};
    for (int cell = 0; cell < kCellCount; ++cell) {
        work[cell] = mask && mask[cell] == kHidden ? 0 : source->values[cell];
        if (work[cell] == 0)
            empty.Add(cell);
    }
    GroupDigits digits;
    digits.Load(work);

    SearchStack stack;
    SearchFrame* frame = nullptr;
    int solutions = 0;
    for (;;) {
        if (empty.None()) {
            ++solutions;
        } else {
            frame = &stack.PushBack(nullptr)->payload;
            int cell = 0;
            unsigned candidates = 0;
            if (ChooseBranchCell(empty, digits, &cell, &candidates)) {
                frame->branchCell = cell;
                WriteCandidateFlags(frame, cell, candidates);
                PlaceRandomCandidate(frame, work);
                digits.Add(cell, work[cell]);
                empty.Remove(cell);
                continue;
            }
            stack.PopBack();
            frame = LastFrame(stack);
        }

        // Take back placements, newest first, until one frame has another
        // candidate to try.
        for (;;) {
            if (!frame || solutions == 2) {
                stack.Clear();
                return solutions;
            }
            // Every frame left on the stack placed a digit at its cell.
            int cell = frame->branchCell;
            int digit = work[cell];
            work[cell] = 0;
            digits.Remove(cell, digit);
            empty.Add(cell);
            frame->flags[cell * kDigitCount + digit - 1] = 2;
            if (PlaceRandomCandidate(frame, work)) {
                digits.Add(cell, work[cell]);
                empty.Remove(cell);
                break;
            }
            stack.PopBack();
            frame = LastFrame(stack);
        }
    }
}
