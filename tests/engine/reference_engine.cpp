#include "tests/engine/reference_engine.h"

#include <cstring>
#include <vector>

#include "engine/random_source.h"

namespace reference {

namespace {

// The 27 peer visits of a cell: its row, its column, its box, itself included.
void Peers(int c, int out[27])
{
    int rowStart = (c / 9) * 9;
    int column = c % 9;
    int boxStart = (c / 27) * 27 + ((c % 9) / 3) * 3;
    for (int i = 0; i < 9; ++i) {
        out[i] = rowStart + i;
        out[9 + i] = i * 9 + column;
        out[18 + i] = boxStart + i + (i / 3) * 6;
    }
}

Frame* Last(std::vector<Frame>& stack) { return stack.empty() ? nullptr : &stack.back(); }

void PushNewFrame(std::vector<Frame>& stack)
{
    Frame frame;
    std::memset(&frame, 0, sizeof(frame));
    stack.push_back(frame);
}

void Backtrack(std::vector<Frame>& stack, int16_t* values, Frame* frame)
{
    for (;;) {
        if (!frame)
            return;
        int c = frame->branchCell;
        int d = values[c];
        values[c] = 0;
        frame->flags[c * 9 + d - 1] = 2;
        if (PlaceRandomCandidate(frame, values))
            return;
        stack.pop_back();
        frame = Last(stack);
    }
}

}  // namespace

int ComputeCandidates(Frame* frame, int c, const int16_t* values)
{
    for (int i = 0; i < 9; ++i)
        frame->flags[c * 9 + i] = 0;
    int peers[27];
    Peers(c, peers);
    for (int p : peers) {
        int d = values[p];
        if (d != 0)
            frame->flags[c * 9 + d - 1] = 1;
    }
    int n = 0;
    for (int i = 0; i < 9; ++i)
        n += frame->flags[c * 9 + i] == 0;
    return n;
}

int PlaceRandomCandidate(Frame* frame, int16_t* values)
{
    if (!frame)
        return 0;
    int c = frame->branchCell;
    int n = 0;
    for (int i = 0; i < 9; ++i)
        n += frame->flags[c * 9 + i] == 0;
    if (n == 0)
        return 0;
    int r = 0;
    if (n != 1)
        r = DrawRandom() % n;
    int count = 0;
    for (int d = 1; d <= 9; ++d) {
        if (frame->flags[c * 9 + d - 1] != 0)
            continue;
        if (count == r) {
            values[c] = static_cast<int16_t>(d);
            return 1;
        }
        ++count;
    }
    return 1;
}

void FillSolution(Puzzle* puzzle)
{
    int16_t* values = puzzle->values;
    std::vector<Frame> stack;
    stack.reserve(90);
    for (int i = 0; i < 81; ++i)
        values[i] = 0;
    for (;;) {
        PushNewFrame(stack);
        Frame* f = &stack.back();
        int min = 10;
        bool deadEnd = false;
        for (int c = 0; c < 81; ++c) {
            if (values[c] != 0)
                continue;
            int n = ComputeCandidates(f, c, values);
            if (n == 0) {
                stack.pop_back();
                Backtrack(stack, values, Last(stack));
                deadEnd = true;
                break;
            }
            if (n < min) {
                min = n;
                f->branchCell = c;
            }
        }
        if (deadEnd)
            continue;
        if (min < 10) {
            PlaceRandomCandidate(f, values);
            continue;
        }
        break;
    }
}

int CountSolutions(const Puzzle* source, const uint8_t* mask)
{
    int16_t w[81];
    for (int i = 0; i < 81; ++i) {
        if (mask)
            w[i] = mask[i] == 1 ? 0 : source->values[i];
        else
            w[i] = source->values[i];
    }
    std::vector<Frame> s;
    s.reserve(90);
    Frame* f = nullptr;
    int count = 0;
    int step = 1;
    for (;;) {
        if (step == 1) {
            int firstEmpty = -1;
            for (int i = 0; i < 81; ++i) {
                if (w[i] == 0) {
                    firstEmpty = i;
                    break;
                }
            }
            if (firstEmpty < 0) {
                ++count;
                step = 4;
            } else {
                step = 2;
            }
        } else if (step == 2) {
            PushNewFrame(s);
            f = &s.back();
            int min = 10;
            step = 3;
            for (int p = 0; p < 81; ++p) {
                if (w[p] != 0)
                    continue;
                int n = ComputeCandidates(f, p, w);
                if (n == 1) {
                    f->branchCell = p;
                    PlaceRandomCandidate(f, w);
                    step = 1;
                    break;
                }
                if (n == 0) {
                    s.pop_back();
                    f = Last(s);
                    step = 4;
                    break;
                }
                if (n < min) {
                    min = n;
                    f->branchCell = p;
                }
            }
        } else if (step == 3) {
            PlaceRandomCandidate(f, w);
            step = 1;
        } else {
            if (!f || count == 2)
                return count;
            int c = f->branchCell;
            int d = w[c];
            w[c] = 0;
            f->flags[c * 9 + d - 1] = 2;
            if (PlaceRandomCandidate(f, w)) {
                step = 1;
            } else {
                s.pop_back();
                f = Last(s);
            }
        }
    }
}

int WithinHiddenLimit(const Puzzle* puzzle, int c, int limit)
{
    int peers[27];
    Peers(c, peers);
    for (int group = 0; group < 3; ++group) {
        int hidden = 0;
        for (int i = 0; i < 9; ++i)
            hidden += puzzle->mask[peers[group * 9 + i]] == 1;
        if (hidden > limit)
            return 0;
    }
    return 1;
}

int IsDeducible(const Puzzle* puzzle, int c)
{
    const uint8_t* mask = puzzle->mask;
    const int16_t* values = puzzle->values;
    int v = values[c];
    int peers[27];
    Peers(c, peers);
    for (int group = 0; group < 3; ++group) {
        int hidden = 0;
        for (int i = 0; i < 9; ++i)
            hidden += mask[peers[group * 9 + i]] == 1;
        if (hidden <= 1)
            return 1;
    }
    int row = c / 9, column = c % 9, band = c / 27, tower = (c % 9) / 3;
    bool rowExclusion = true;
    for (int r = band * 3; r < band * 3 + 3; ++r) {
        if (r == row)
            continue;
        for (int i = 0; i < 9; ++i) {
            if (values[r * 9 + i] == v) {
                if (mask[r * 9 + i] == 1)
                    rowExclusion = false;
                break;
            }
        }
    }
    bool columnExclusion = true;
    for (int k = tower * 3; k < tower * 3 + 3; ++k) {
        if (k == column)
            continue;
        for (int i = 0; i < 9; ++i) {
            if (values[i * 9 + k] == v) {
                if (mask[i * 9 + k] == 1)
                    columnExclusion = false;
                break;
            }
        }
    }
    int segmentStart = (c / 9) * 9 + ((c % 9) / 3) * 3;
    int rowSegmentHidden = 0;
    for (int j = 0; j < 3; ++j)
        rowSegmentHidden += mask[segmentStart + j] == 1;
    if (rowSegmentHidden == 1 && rowExclusion)
        return 1;
    int columnSegmentHidden = 0;
    for (int j = 0; j < 3; ++j)
        columnSegmentHidden += mask[(c / 27) * 27 + c % 9 + 9 * j] == 1;
    if (columnSegmentHidden == 1)
        return columnExclusion ? 1 : 0;
    return rowExclusion && columnExclusion ? 1 : 0;
}

void DigHoles(Puzzle* puzzle, int level)
{
    uint8_t* mask = puzzle->mask;
    for (int i = 0; i < 81; ++i)
        mask[i] = 0;
    int u = 81;
    do {
        int r = DrawRandom() % u;
        int count = 0;
        int c = -1;
        for (int i = 0; i < 81; ++i) {
            if (mask[i] != 0)
                continue;
            if (count == r) {
                c = i;
                break;
            }
            ++count;
        }
        mask[c] = 1;
        bool keepVisible;
        if (level == 0 || level == 1) {
            int cap = level == 0 ? 5 : 6;
            if (WithinHiddenLimit(puzzle, c, cap) == 0 && IsDeducible(puzzle, c) == 0)
                keepVisible = true;
            else
                keepVisible = CountSolutions(puzzle, mask) != 1;
        } else {
            keepVisible = CountSolutions(puzzle, mask) != 1;
        }
        if (keepVisible)
            mask[c] = 2;
        int marked = 0;
        for (int i = 0; i < 81; ++i)
            marked += mask[i] != 0;
        u = 81 - marked;
    } while (u > 20);
    for (int i = 0; i < 81; ++i) {
        if (mask[i] == 2)
            mask[i] = 0;
    }
}

void GenerateNewGame(Puzzle* puzzle, int level, int16_t* playerGrid, uint8_t* pencilMarks)
{
    FillSolution(puzzle);
    DigHoles(puzzle, level);
    std::memset(playerGrid, 0, 81 * sizeof(int16_t));
    std::memset(pencilMarks, 0, 81 * 9);
    for (int i = 0; i < 81; ++i) {
        if (puzzle->mask[i] == 0)
            playerGrid[i] = puzzle->values[i];
    }
}

}  // namespace reference
