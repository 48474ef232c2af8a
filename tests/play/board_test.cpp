#include <gtest/gtest.h>

#include <cstring>

#include "tests/play/board_harness.h"
#include "tests/play/test_layouts.h"

namespace {

TEST(Board, ConstructedWithNothingSelectedAndOneBlankEntry)
{
    int16_t grid[kCellCount] = {};
    uint8_t mask[kCellCount] = {};
    uint8_t marks[kMarkCount] = {};
    GridBoard board(grid, mask, marks);
    EXPECT_EQ(kNoCell, board.selectedCell);
    EXPECT_EQ(kNoCell, board.conflictCell);
    EXPECT_EQ(kNoCell, board.savedSelection);
    EXPECT_EQ(kPenTool, board.toolMode);
    EXPECT_EQ(nullptr, board.window);
    EXPECT_EQ(0, board.IsSolved());
    EXPECT_EQ(0, board.clockArmed);
    ASSERT_NE(nullptr, board.currentEntry);
    EXPECT_EQ(board.history.first, board.history.last);
    HistoryEntry blank;
    std::memset(&blank, 0, sizeof blank);
    EXPECT_EQ(0, std::memcmp(&blank, &board.currentEntry->payload, sizeof blank));

    // Without a grid window a game still starts, with nothing to repaint.
    grid[0] = 1;
    board.StartGame();
    EXPECT_EQ(1, board.currentEntry->payload.values[0]);
}

TEST(Board, GroupQueriesAnswerNothingOutsideTheGrid)
{
    int16_t grid[kCellCount] = {};
    uint8_t mask[kCellCount] = {};
    uint8_t marks[kMarkCount] = {};
    GridBoard board(grid, mask, marks);
    for (int cell : {-1, -80, 81}) {
        EXPECT_EQ(-1, board.RowOf(cell));
        EXPECT_EQ(-1, board.ColumnOf(cell));
        EXPECT_EQ(-1, board.BoxOf(cell));
        EXPECT_EQ(0, board.IsRowComplete(cell));
        EXPECT_EQ(0, board.IsColumnComplete(cell));
        EXPECT_EQ(0, board.IsBoxComplete(cell));
        board.UpdateGroupFlags(cell);
    }
    EXPECT_EQ(4, board.BoxOf(30));
    EXPECT_EQ(8, board.BoxOf(80));
    EXPECT_EQ(2, board.BoxOf(8));
}

TEST(Board, StartGameSetsTheFlagsOfGroupsOfGivens)
{
    BoardHarness h;
    // Row 0, column 0 and box 0 are givens; everything else is open.
    std::string layout = Sparse({});
    for (int i = 0; i < 9; ++i) {
        layout[RowCell(0, i)] = SolvedGrid()[RowCell(0, i)];
        layout[ColumnCell(0, i)] = SolvedGrid()[ColumnCell(0, i)];
        layout[BoxCell(0, i)] = SolvedGrid()[BoxCell(0, i)];
    }
    h.StartGame(layout.c_str());
    EXPECT_EQ(1, h.board.rowComplete[0]);
    EXPECT_EQ(1, h.board.columnComplete[0]);
    EXPECT_EQ(1, h.board.boxComplete[0]);
    int others = 0;
    for (int i = 1; i < 9; ++i)
        others += h.board.rowComplete[i] + h.board.columnComplete[i] + h.board.boxComplete[i];
    EXPECT_EQ(0, others);
    EXPECT_EQ(0, h.board.IsSolved());
}

TEST(Board, StartGameOnAFullGridIsSolvedButSaysNothing)
{
    BoardHarness h;
    // Complete, though not the stored solution and with clashes: only
    // emptiness counts.
    std::string layout(81, '1');
    h.StartGame(layout.c_str());
    EXPECT_EQ(1, h.board.IsSolved());
    EXPECT_TRUE(h.boxes.empty());
}

TEST(Board, StartGameClearsSelectionHistoryCommandsAndTheBusyBit)
{
    BoardHarness h;
    h.StartGame(Sparse({{80, '1'}}).c_str());
    h.board.SetTool(kPencilTool);
    h.Click(0);
    h.Type('5');
    h.Type('6');
    h.board.Undo();
    ASSERT_TRUE(h.UndoEnabled());
    ASSERT_TRUE(h.RedoEnabled());

    h.board.MarkBusy();
    EXPECT_EQ(kPencilTool | kBusyFlag, h.board.toolMode);
    h.board.StartGame();
    EXPECT_EQ(kPencilTool, h.board.toolMode);
    EXPECT_EQ(kNoCell, h.board.selectedCell);
    EXPECT_EQ(1, h.HistoryLength());
    EXPECT_FALSE(h.UndoEnabled());
    EXPECT_FALSE(h.RedoEnabled());
    EXPECT_FALSE(h.UndoMenuEnabled());
    EXPECT_FALSE(h.RedoMenuEnabled());
    EXPECT_EQ(0, std::memcmp(h.grid, h.board.currentEntry->payload.values, sizeof h.grid));
    EXPECT_EQ(0, std::memcmp(h.marks, h.board.currentEntry->payload.marks, sizeof h.marks));
    EXPECT_EQ(1, h.marks[4]);  // the pencil mark is kept as it was
}

}  // namespace
