#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/play/board_harness.h"
#include "tests/play/test_layouts.h"

namespace {

class History : public ::testing::Test {
protected:
    BoardHarness h;

    std::vector<int16_t> Values() const { return std::vector<int16_t>(h.grid, h.grid + kCellCount); }
    std::vector<uint8_t> Marks() const { return std::vector<uint8_t>(h.marks, h.marks + kMarkCount); }

    void ExpectCommands(bool undo, bool redo)
    {
        EXPECT_EQ(undo, h.UndoEnabled());
        EXPECT_EQ(undo, h.UndoMenuEnabled());
        EXPECT_EQ(redo, h.RedoEnabled());
        EXPECT_EQ(redo, h.RedoMenuEnabled());
    }
};

TEST_F(History, UndoAndRedoWalkTheWholeGameBothWays)
{
    h.StartGame(Hiding({0, 4, 8, 63}).c_str());
    const std::vector<int16_t> start = Values();
    ExpectCommands(false, false);
    h.Fill(4, '7');
    h.Fill(0, '5');
    h.Fill(63, '2');
    const std::vector<int16_t> end = Values();
    ExpectCommands(true, false);

    h.board.Undo();
    ExpectCommands(true, true);
    h.board.Undo();
    h.board.Undo();
    EXPECT_EQ(start, Values());
    EXPECT_EQ(4, h.board.selectedCell);
    ExpectCommands(false, true);
    h.board.Undo();  // nothing before the start of the game
    EXPECT_EQ(start, Values());

    h.board.Redo();
    EXPECT_EQ(4, h.board.selectedCell);
    h.board.Redo();
    h.board.Redo();
    EXPECT_EQ(end, Values());
    EXPECT_EQ(63, h.board.selectedCell);
    ExpectCommands(true, false);
    h.board.Redo();
    EXPECT_EQ(end, Values());
    EXPECT_EQ(4, h.HistoryLength());
}

TEST_F(History, ChangeAfterUndoDropsWhatCouldBeRedone)
{
    h.StartGame(Hiding({0, 4, 8, 63}).c_str());
    h.Fill(0, '5');
    h.Fill(4, '7');
    h.Fill(8, '2');
    h.board.Undo();
    h.board.Undo();
    ExpectCommands(true, true);
    h.Fill(63, '2');
    ExpectCommands(true, false);
    EXPECT_EQ(3, h.HistoryLength());
    h.board.Redo();
    EXPECT_EQ(0, h.grid[4]);
    h.board.Undo();
    EXPECT_EQ(0, h.grid[63]);
    EXPECT_EQ(5, h.grid[0]);
}

TEST_F(History, UndoBringsBackMarksExactly)
{
    h.StartGame(Sparse({{8, '5'}}).c_str());
    h.board.SetTool(kPencilTool);
    h.Click(0);
    h.Type('1');
    h.Type('2');
    const std::vector<uint8_t> twoMarks = Marks();
    h.board.SetTool(kEraserTool);
    h.EraseMark(0, 0);
    EXPECT_EQ(0, h.marks[0]);
    h.board.Undo();
    EXPECT_EQ(twoMarks, Marks());
    h.board.Undo();
    h.board.Undo();
    EXPECT_EQ(std::vector<uint8_t>(kMarkCount, 0), Marks());
}

TEST_F(History, LoadedMarksAreTheFirstEntry)
{
    std::string layout = Sparse({{8, '5'}});
    h.StartGame(layout.c_str());
    h.marks[40 * 9 + 6] = 1;  // as a loaded file leaves them, before StartGame
    h.board.StartGame();
    h.board.SetTool(kPencilTool);
    h.Click(40);
    h.Type('3');
    h.board.Undo();
    EXPECT_EQ(1, h.marks[40 * 9 + 6]);
    EXPECT_EQ(0, h.marks[40 * 9 + 2]);
}

TEST_F(History, UndoAfterTheWinUncompletesTheGroupsAndRedoCompletesThemUnannounced)
{
    h.StartGame(Hiding({0, 4, 8, 63}).c_str());
    h.Fill(0, '5');
    h.Fill(4, '7');
    h.Fill(8, '2');
    h.Fill(63, '2');
    ASSERT_EQ(1u, h.boxes.size());
    h.board.Undo();
    EXPECT_EQ(0, h.grid[63]);
    EXPECT_EQ(0, h.board.rowComplete[7]);
    EXPECT_EQ(0, h.board.columnComplete[0]);
    EXPECT_EQ(0, h.board.boxComplete[6]);
    EXPECT_EQ(1, h.board.rowComplete[0]);
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_EQ(0, h.board.clockArmed);
    EXPECT_FALSE(h.ClockTimerSet());
    EXPECT_EQ(0, h.board.IsSolved());
    h.board.Redo();
    EXPECT_EQ(1, h.board.IsSolved());
    EXPECT_EQ(1u, h.boxes.size());
}

// A refusal empties a cell without an entry; when Undo or Redo puts a value
// back there, that cell's groups must follow, not only those of the entry.
TEST_F(History, UndoAndRedoRefreshTheGroupsOfEveryCellTheyChange)
{
    h.StartGame(Hiding({0, 4, 8, 63}).c_str());
    h.Fill(0, '5');   // row 0 still lacks cells 4 and 8
    h.Fill(63, '2');  // row 7 complete
    h.Fill(4, '7');
    EXPECT_EQ(1, h.board.rowComplete[7]);
    h.Fill(63, '5');  // refused: 63 emptied, row 7 incomplete again
    ASSERT_EQ(1u, h.boxes.size());
    EXPECT_EQ(0, h.board.rowComplete[7]);

    h.board.Undo();  // back to cells 0 and 63 filled
    EXPECT_EQ(2, h.grid[63]);
    EXPECT_EQ(1, h.board.rowComplete[7]);
    EXPECT_EQ(1, h.board.columnComplete[0]);
    EXPECT_EQ(1, h.board.boxComplete[6]);
    EXPECT_EQ(0, h.board.rowComplete[0]);

    h.Fill(63, '5');  // refused again
    h.board.Redo();
    EXPECT_EQ(2, h.grid[63]);
    EXPECT_EQ(1, h.board.rowComplete[7]);
    EXPECT_EQ(1, h.board.boxComplete[6]);

    // Stale flags would hide the win that the last digit brings.
    h.Fill(8, '2');
    const std::string row = kRowClashText;
    EXPECT_EQ((std::vector<std::string>{row, row, kWinText}), h.BoxTexts());
}

}  // namespace
