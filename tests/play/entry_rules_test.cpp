#include <gtest/gtest.h>

#include "tests/play/board_harness.h"
#include "tests/play/test_layouts.h"

namespace {

typedef std::vector<std::string> Texts;

// Four cells to fill: 0 (5), 4 (7), 8 (2) and 63 (2). At cell 0, 9 clashes in
// the row with cell 6 and in the box with cell 19, 7 in the column with cell
// 45 and in the box with cell 10, 2 only in the box with cell 11.
class EntryRules : public ::testing::Test {
protected:
    BoardHarness h;
    void SetUp() override { h.StartGame(Hiding({0, 4, 8, 63}).c_str()); }
};

TEST_F(EntryRules, AcceptedPenDigitIsWrittenAndRecorded)
{
    h.Fill(0, '5');
    EXPECT_EQ(5, h.grid[0]);
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_EQ(2, h.HistoryLength());
    EXPECT_EQ(0, h.board.currentEntry->payload.cell);
    EXPECT_EQ(5, h.board.currentEntry->payload.values[0]);
    EXPECT_TRUE(h.UndoEnabled());
    EXPECT_TRUE(h.UndoMenuEnabled());
    EXPECT_FALSE(h.RedoEnabled());
    EXPECT_EQ(0, h.board.selectedCell);

    // A cell never clashes with itself: the same digit again is a new entry.
    h.Type('5');
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_EQ(3, h.HistoryLength());
}

TEST_F(EntryRules, RefusedPenDigitEmptiesTheCellWithoutAnEntry)
{
    h.Fill(0, '5');
    HistoryNode* entry = h.board.currentEntry;
    h.Type('9');
    ASSERT_EQ(1u, h.boxes.size());
    EXPECT_EQ(kRowClashText, h.boxes[0].text);
    EXPECT_EQ(kClashCaption, h.boxes[0].caption);
    EXPECT_TRUE(h.boxes[0].ownedByGrid);
    EXPECT_EQ(0, h.grid[0]);
    EXPECT_EQ(2, h.HistoryLength());
    EXPECT_EQ(entry, h.board.currentEntry);
    EXPECT_TRUE(h.UndoEnabled());
    EXPECT_FALSE(h.RedoEnabled());

    // The current entry still holds the 5 that the refusal wiped out.
    h.board.Undo();
    h.board.Redo();
    EXPECT_EQ(5, h.grid[0]);
}

TEST_F(EntryRules, OnlyTheFirstClashIsReportedRowThenColumnThenBox)
{
    std::vector<int> clashCells;
    h.duringBox = [&](const BoardHarness::Box&) { clashCells.push_back(h.board.conflictCell); };
    h.Fill(0, '9');
    h.Fill(0, '7');
    h.Fill(0, '2');
    EXPECT_EQ((Texts{kRowClashText, kColumnClashText, kBoxClashText}), h.BoxTexts());
    EXPECT_EQ((std::vector<int>{6, 45, 11}), clashCells);
    EXPECT_EQ(0, h.grid[0]);
    EXPECT_EQ(1, h.HistoryLength());
}

TEST_F(EntryRules, PlayerValuesClashLikeGivens)
{
    h.Fill(0, '5');
    int clash = kNoCell;
    h.duringBox = [&](const BoardHarness::Box&) { clash = h.board.conflictCell; };
    h.Fill(4, '5');
    EXPECT_EQ((Texts{kRowClashText}), h.BoxTexts());
    EXPECT_EQ(0, clash);
    EXPECT_EQ(5, h.grid[0]);
    EXPECT_EQ(0, h.grid[4]);
}

TEST_F(EntryRules, RefusedCellIsSetAsideWhileTheBoxIsUpThenSelectedAgain)
{
    struct Seen {
        int selected, saved, conflict, value;
        bool focus;
    } seen = {};
    h.duringBox = [&](const BoardHarness::Box&) {
        seen = {h.board.selectedCell, h.board.savedSelection, h.board.conflictCell, h.grid[0], h.GridHasFocus()};
    };
    h.Fill(0, '9');
    EXPECT_EQ(kNoCell, seen.selected);  // the box took the focus
    EXPECT_EQ(0, seen.saved);
    EXPECT_EQ(6, seen.conflict);
    EXPECT_EQ(9, seen.value);  // the refused digit shows meanwhile
    EXPECT_FALSE(seen.focus);

    EXPECT_EQ(0, h.board.selectedCell);
    EXPECT_EQ(kNoCell, h.board.savedSelection);
    EXPECT_EQ(kNoCell, h.board.conflictCell);
    EXPECT_TRUE(h.GridHasFocus());
}

TEST_F(EntryRules, DeleteKeyEmptiesTheSelectedCellWithThePenOnly)
{
    h.Fill(0, '5');
    h.board.SetTool(kPencilTool);
    h.PressDelete();
    h.board.SetTool(kEraserTool);
    h.PressDelete();
    EXPECT_EQ(5, h.grid[0]);
    EXPECT_EQ(2, h.HistoryLength());

    h.board.SetTool(kPenTool);
    h.PressDelete();
    EXPECT_EQ(0, h.grid[0]);
    EXPECT_EQ(0, h.board.selectedCell);
    EXPECT_EQ(3, h.HistoryLength());

    // Nothing left to delete, and givens are never deleted.
    h.PressDelete();
    h.board.selectedCell = 1;
    h.PressDelete();
    EXPECT_EQ(3, h.grid[1]);
    EXPECT_EQ(3, h.HistoryLength());
    EXPECT_TRUE(h.boxes.empty());
}

TEST_F(EntryRules, KeysThatMeetNoRuleChangeNothing)
{
    const std::vector<int16_t> before(h.grid, h.grid + kCellCount);
    h.Click(0);
    for (char key : {'0', 'a', ' ', ':'})
        h.Type(key);
    h.board.SetTool(kEraserTool);
    h.Type('5');
    h.board.SetTool(kPenTool);
    h.board.MarkBusy();
    h.Type('5');
    h.PressDelete();
    h.board.SetTool(kPenTool);
    h.board.selectedCell = kNoCell;
    h.Type('5');
    EXPECT_EQ(before, std::vector<int16_t>(h.grid, h.grid + kCellCount));
    EXPECT_EQ(1, h.HistoryLength());
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_EQ(0, h.board.clockRunning);
}

TEST_F(EntryRules, LastPenDigitWinsAndEveryFurtherAcceptedDigitWinsAgain)
{
    h.Fill(0, '5');
    h.Fill(4, '7');
    h.Fill(8, '2');
    h.Tick(5);
    EXPECT_TRUE(h.boxes.empty());
    h.Fill(63, '2');
    ASSERT_EQ((Texts{kWinText}), h.BoxTexts());
    EXPECT_EQ(kProgramCaption, h.boxes[0].caption);
    EXPECT_TRUE(h.boxes[0].ownedByGrid);
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_EQ(0, h.board.clockArmed);
    EXPECT_FALSE(h.ClockTimerSet());
    EXPECT_EQ("00 : 00 : 05", h.ClockLabel());
    // The win box took the focus and nothing gives the selection back.
    EXPECT_EQ(kNoCell, h.board.selectedCell);

    h.Fill(63, '2');
    EXPECT_EQ((Texts{kWinText, kWinText}), h.BoxTexts());
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_FALSE(h.ClockTimerSet());

    // A refused digit empties the cell, so the grid is no longer solved.
    h.Fill(63, '5');
    EXPECT_EQ((Texts{kWinText, kWinText, kRowClashText}), h.BoxTexts());
    EXPECT_EQ(0, h.board.IsSolved());
}

// Cell 8 holds 5, cell 72 holds 7, cell 10 holds 3; everything else is open.
class PencilRules : public ::testing::Test {
protected:
    BoardHarness h;
    void SetUp() override
    {
        h.StartGame(Sparse({{8, '5'}, {72, '7'}, {10, '3'}}).c_str());
        h.board.SetTool(kPencilTool);
    }
    int Mark(int cell, int digit) const { return h.marks[cell * 9 + digit - 1]; }
};

TEST_F(PencilRules, MarksAreCheckedAgainstValuesOnly)
{
    h.Click(0);
    h.Type('4');
    h.Click(1);
    h.Type('4');
    EXPECT_EQ(1, Mark(0, 4));
    EXPECT_EQ(1, Mark(1, 4));
    EXPECT_EQ(3, h.HistoryLength());
    EXPECT_EQ(1, h.board.currentEntry->payload.marks[1 * 9 + 3]);

    h.Click(0);
    h.Type('5');
    h.Type('7');
    h.Type('3');
    EXPECT_EQ((Texts{kRowClashText, kColumnClashText, kBoxClashText}), h.BoxTexts());
    EXPECT_EQ(0, Mark(0, 5));
    EXPECT_EQ(0, Mark(0, 7));
    EXPECT_EQ(0, Mark(0, 3));
    EXPECT_EQ(3, h.HistoryLength());
    EXPECT_EQ(0, h.board.selectedCell);
    EXPECT_EQ(0, h.grid[0]);
}

TEST_F(PencilRules, ShownMarkIsClearedWhenTypedAgainAfterItsDigitWasWritten)
{
    h.Click(2);
    h.Type('4');
    h.board.SetTool(kPenTool);
    h.Click(18);
    h.Type('4');
    h.board.SetTool(kPencilTool);
    h.Click(2);
    h.Type('4');
    EXPECT_EQ((Texts{kBoxClashText}), h.BoxTexts());
    EXPECT_EQ(0, Mark(2, 4));
    EXPECT_EQ(3, h.HistoryLength());
}

TEST_F(PencilRules, CellHoldingAValueTakesNoMark)
{
    h.board.SetTool(kPenTool);
    h.Click(0);
    h.Type('1');
    h.board.SetTool(kPencilTool);
    h.Type('2');
    EXPECT_EQ(0, Mark(0, 2));
    EXPECT_EQ(2, h.HistoryLength());
}

TEST_F(PencilRules, ErasedValueRevealsTheMarksItHid)
{
    h.Click(0);
    h.Type('1');
    h.Type('2');
    h.board.SetTool(kPenTool);
    h.Type('1');
    h.PressDelete();
    EXPECT_EQ(0, h.grid[0]);
    EXPECT_EQ(1, Mark(0, 1));
    EXPECT_EQ(1, Mark(0, 2));
}

TEST_F(PencilRules, EraserRemovesTheValueOrTheClickedMarkAndDropsTheSelection)
{
    h.Click(40);
    h.Type('1');
    h.Type('2');
    h.Type('3');
    h.board.SetTool(kEraserTool);
    h.EraseMark(40, 1);
    EXPECT_EQ(1, Mark(40, 1));
    EXPECT_EQ(0, Mark(40, 2));
    EXPECT_EQ(1, Mark(40, 3));
    EXPECT_EQ(kNoCell, h.board.selectedCell);
    EXPECT_EQ(5, h.HistoryLength());

    h.board.SetTool(kPenTool);
    h.Click(40);
    h.Type('9');
    h.board.SetTool(kEraserTool);
    h.EraseMark(40, 0);  // on a value the value goes, wherever the click
    EXPECT_EQ(0, h.grid[40]);
    EXPECT_EQ(1, Mark(40, 1));
    EXPECT_EQ(7, h.HistoryLength());

    // A click on a given selects nothing, so nothing is erased.
    h.EraseMark(8, 0);
    EXPECT_EQ(5, h.grid[8]);
    EXPECT_EQ(7, h.HistoryLength());
}

TEST_F(PencilRules, EraserClickOnAnEmptyPlaceStillMakesAnEntry)
{
    h.board.SetTool(kEraserTool);
    h.EraseMark(30, 8);
    EXPECT_EQ(2, h.HistoryLength());
    EXPECT_EQ(30, h.board.currentEntry->payload.cell);
    EXPECT_TRUE(h.UndoEnabled());
    EXPECT_TRUE(h.UndoMenuEnabled());

    h.board.Undo();
    EXPECT_EQ(30, h.board.selectedCell);
    EXPECT_FALSE(h.UndoEnabled());
    EXPECT_TRUE(h.RedoEnabled());
}

}  // namespace
