#include <gtest/gtest.h>

#include "tests/play/board_harness.h"
#include "tests/play/test_layouts.h"

namespace {

class GameClock : public ::testing::Test {
protected:
    BoardHarness h;
    void SetUp() override { h.StartGame(Hiding({0, 4, 8, 63}).c_str()); }

    void ExpectRunning()
    {
        EXPECT_EQ(1, h.board.clockRunning);
        EXPECT_TRUE(h.ClockTimerSet());
        EXPECT_EQ(kClockRestText, h.ClockLabel());
    }
};

TEST_F(GameClock, FirstDigitStartsItEvenWhenRefused)
{
    h.Click(0);
    h.Type('9');
    ASSERT_EQ(1u, h.boxes.size());
    ExpectRunning();
}

TEST_F(GameClock, FirstDigitStartsItEvenInPencilModeOnAFilledCell)
{
    h.grid[0] = 5;  // a value the player wrote in an earlier session
    h.board.SetTool(kPencilTool);
    h.Click(0);
    h.Type('3');
    EXPECT_EQ(1, h.HistoryLength());
    ExpectRunning();
}

TEST_F(GameClock, NothingButADigitWithPenOrPencilStartsIt)
{
    h.Click(0);
    h.Type('0');
    h.board.SetTool(kEraserTool);
    h.Type('5');
    h.EraseMark(0, 0);
    h.EraseMark(4, 0);
    h.board.Undo();
    h.board.Redo();
    h.board.SetTool(kPenTool);
    h.board.selectedCell = kNoCell;
    h.Type('5');
    h.Click(0);
    h.PressDelete();
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_FALSE(h.ClockTimerSet());
    EXPECT_EQ(1, h.board.clockArmed);
}

TEST_F(GameClock, LabelShowsHoursMinutesAndSecondsWithoutWrapping)
{
    h.Tick(1);
    EXPECT_EQ("00 : 00 : 01", h.ClockLabel());
    h.Tick(60);
    EXPECT_EQ("00 : 01 : 01", h.ClockLabel());
    h.Tick(3600 - 61);
    EXPECT_EQ("01 : 00 : 00", h.ClockLabel());
    h.Tick(99 * 3600);
    EXPECT_EQ("100 : 00 : 00", h.ClockLabel());
    EXPECT_EQ(360000u, h.board.elapsedSeconds);
}

TEST_F(GameClock, ResetWhileRunningStopsItAndTheNextDigitStartsFromZero)
{
    h.Click(0);
    h.Type('5');
    h.Tick(7);
    h.board.ResetClock();
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_FALSE(h.ClockTimerSet());
    EXPECT_EQ(kClockRestText, h.ClockLabel());
    EXPECT_EQ(0u, h.board.elapsedSeconds);

    h.Click(4);
    h.Type('7');
    ExpectRunning();
    h.Tick(1);
    EXPECT_EQ("00 : 00 : 01", h.ClockLabel());
}

TEST_F(GameClock, AfterTheWinDigitsDoNotRestartItUntilAReset)
{
    for (auto entry :
         {std::make_pair(0, '5'), std::make_pair(4, '7'), std::make_pair(8, '2'), std::make_pair(63, '2')}) {
        h.Click(entry.first);
        h.Type(entry.second);
    }
    h.Click(0);
    h.PressDelete();
    h.Type('5');
    EXPECT_EQ(0, h.board.clockRunning);
    EXPECT_FALSE(h.ClockTimerSet());

    h.board.ResetClock();
    h.Click(0);
    h.PressDelete();
    h.Type('9');  // refused, so the grid stays open and the clock running
    ExpectRunning();
}

}  // namespace
