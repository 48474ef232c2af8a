#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "tests/play/board_harness.h"

namespace {

// Whether digit stands in a peer of cell, by the plain definition of peers.
bool SeenByPeer(const int16_t* grid, int cell, int digit)
{
    for (int other = 0; other < kCellCount; ++other) {
        bool peer =
            CellRow(other) == CellRow(cell) || CellColumn(other) == CellColumn(cell) || CellBox(other) == CellBox(cell);
        if (other != cell && peer && grid[other] == digit)
            return true;
    }
    return false;
}

int Count(const std::vector<BoardHarness::Box>& boxes, const char* caption)
{
    int count = 0;
    for (const auto& box : boxes)
        count += box.caption == caption;
    return count;
}

// A generated puzzle played to the end through the keyboard, with mistakes,
// marks, erasures and trips through the history on the way.
TEST(WholeGame, GeneratedPuzzleSolvedByKeysEndsWithOneWinAndTheClockStopped)
{
    PuzzleGrid puzzle;
    std::srand(20240607);
    GenerateNewGame(&puzzle, 1);

    BoardHarness h;
    std::memcpy(h.grid, PlayerGrid, sizeof h.grid);
    std::memcpy(h.mask, puzzle.mask, sizeof h.mask);
    std::memset(h.marks, 0, sizeof h.marks);
    h.board.ResetClock();
    h.board.StartGame();

    std::vector<int> open;
    for (int cell = 0; cell < kCellCount; ++cell)
        if (h.mask[cell] == kHidden)
            open.push_back(cell);
    ASSERT_GT(open.size(), 20u);

    int clashes = 0;
    unsigned ticks = 0;
    for (size_t i = 0; i < open.size(); ++i) {
        const int cell = open[i];
        const int answer = puzzle.values[cell];
        const bool last = i + 1 == open.size();
        h.Click(cell);

        if (i % 7 == 3) {
            h.board.SetTool(kPencilTool);
            for (int digit = 1; digit <= 9; digit += 2) {
                clashes += SeenByPeer(h.grid, cell, digit);
                h.Type(static_cast<char>('0' + digit));
            }
            h.board.SetTool(kPenTool);
        }
        if (i % 5 == 1) {
            for (int digit = 1; digit <= 9; ++digit)
                if (digit != answer && SeenByPeer(h.grid, cell, digit)) {
                    h.Type(static_cast<char>('0' + digit));
                    ++clashes;
                    break;
                }
            EXPECT_EQ(0, h.grid[cell]);
        }
        if (i % 6 == 2 && !last) {
            for (int digit = 1; digit <= 9; ++digit)
                if (digit != answer && !SeenByPeer(h.grid, cell, digit)) {
                    h.Type(static_cast<char>('0' + digit));
                    EXPECT_EQ(digit, h.grid[cell]);
                    if (i % 12 == 2) {
                        h.board.SetTool(kEraserTool);
                        h.EraseMark(cell, 4);
                        h.board.SetTool(kPenTool);
                        h.Click(cell);
                    } else {
                        h.PressDelete();
                    }
                    break;
                }
            EXPECT_EQ(0, h.grid[cell]);
        }

        h.Type(static_cast<char>('0' + answer));
        ASSERT_EQ(answer, h.grid[cell]) << "cell " << cell;
        ASSERT_EQ(clashes, Count(h.boxes, kClashCaption));
        EXPECT_EQ(last ? 0 : 1, h.board.clockRunning);

        if (i % 9 == 4) {
            h.board.Undo();
            EXPECT_EQ(0, h.grid[cell]);
            h.board.Redo();
            EXPECT_EQ(answer, h.grid[cell]);
        }
        if (!last) {
            h.Tick(3);
            ticks += 3;
        }
    }

    EXPECT_EQ(0, std::memcmp(h.grid, puzzle.values, sizeof h.grid));
    EXPECT_EQ(1, h.board.IsSolved());
    EXPECT_EQ(1, Count(h.boxes, kProgramCaption));
    EXPECT_EQ(kWinText, h.boxes.back().text);
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_EQ(0, h.board.clockArmed);
    EXPECT_FALSE(h.ClockTimerSet());
    char label[32];
    std::snprintf(label, sizeof label, "00 : %02u : %02u", ticks / 60, ticks % 60);
    EXPECT_EQ(label, h.ClockLabel());
}

}  // namespace
