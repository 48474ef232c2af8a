#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "engine/random_source.h"
#include "tests/engine/scripted_random.h"
#include "tests/engine/test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

class HoleDiggingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadSolution(puzzle.get(), kZeroDrawSolution);
        scripted::ResetDraws();
    }
    std::unique_ptr<PuzzleGrid> puzzle = std::make_unique<PuzzleGrid>();
};

TEST_F(HoleDiggingTest, WithinHiddenLimitCountsOnlyHiddenCellsOfEachGroup)
{
    uint8_t* mask = puzzle->mask;
    // Row 0: cells 0..4 hidden, cell 0 among them.
    HideCells(mask, {0, 1, 2, 3, 4});
    EXPECT_EQ(puzzle->WithinHiddenLimit(0, 5), 1);
    EXPECT_EQ(puzzle->WithinHiddenLimit(0, 4), 0);
    HideCells(mask, {5, 6, 7}, kTriedVisible);
    EXPECT_EQ(puzzle->WithinHiddenLimit(0, 5), 1);
    HideCells(mask, {8});
    EXPECT_EQ(puzzle->WithinHiddenLimit(0, 5), 0);

    // Column 8 and box 8 of cell 80, whose row 8 is clear.
    std::memset(mask, kGiven, 81);
    HideCells(mask, {8, 17, 26, 35, 44, 53, 80});
    HideCells(mask, {62, 71}, kTriedVisible);
    EXPECT_EQ(puzzle->WithinHiddenLimit(80, 6), 0);
    EXPECT_EQ(puzzle->WithinHiddenLimit(80, 7), 1);
    std::memset(mask, kGiven, 81);
    HideCells(mask, {60, 61, 62, 69, 70, 80});
    HideCells(mask, {71, 78, 79}, kTriedVisible);
    EXPECT_EQ(puzzle->WithinHiddenLimit(80, 5), 0);
    EXPECT_EQ(puzzle->WithinHiddenLimit(80, 6), 1);
    EXPECT_EQ(puzzle->WithinHiddenLimit(81, 6), 0);
}

// Cell 40 holds 1, found in rows 3 and 5 at cells 29 and 52 and in columns
// 3 and 5 at cells 21 and 77. Two more hidden cells in its row (36, 44), its
// column (4, 76) and its box (30, 50) keep the one-hidden-cell rules out.
class IsDeducibleAt40 : public HoleDiggingTest {
protected:
    void SetUp() override
    {
        HoleDiggingTest::SetUp();
        HideCells(puzzle->mask, {40, 36, 44, 4, 76, 30, 50});
    }
};

// With the cells holding its digit hidden, no exclusion helps cell 40: it is
// deducible only as the one hidden cell of its row, its column or its box.
// Each case opens the other two groups and both segments, or, where a group
// lies alone, its segment alone would not do.
TEST_F(HoleDiggingTest, IsDeducibleForTheOnlyHiddenCellOfAGroup)
{
    struct Case {
        const char* group;
        std::initializer_list<int> others;  // hidden besides 40 and the blockers
        int extra;                          // one more hidden cell in the group
    };
    const Case cases[] = {
        {"row", {4, 13, 31, 49, 30, 32, 48, 50}, 36},
        {"column", {30, 32, 39, 41, 48, 50, 36, 44}, 13},
        {"box", {36, 44, 4, 76}, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        std::memset(puzzle->mask, kGiven, 81);
        HideCells(puzzle->mask, {40, 29, 52, 21, 77});
        HideCells(puzzle->mask, c.others);
        EXPECT_EQ(puzzle->IsDeducible(40), 1);
        HideCells(puzzle->mask, {c.extra});
        EXPECT_EQ(puzzle->IsDeducible(40), 0);
    }
}

TEST_F(IsDeducibleAt40, RowSegmentWithRowExclusion)
{
    EXPECT_EQ(puzzle->IsDeducible(40), 1);
    HideCells(puzzle->mask, {29});
    HideCells(puzzle->mask, {31});  // the column segment is no help either
    EXPECT_EQ(puzzle->IsDeducible(40), 0);
}

TEST_F(IsDeducibleAt40, ColumnSegmentDecidesWhenTheRowSegmentCannot)
{
    HideCells(puzzle->mask, {29});
    EXPECT_EQ(puzzle->IsDeducible(40), 1);
    HideCells(puzzle->mask, {77});
    EXPECT_EQ(puzzle->IsDeducible(40), 0);
    // With the row segment open too, row exclusion alone does not help: the
    // column segment answers.
    HideCells(puzzle->mask, {29}, kGiven);
    HideCells(puzzle->mask, {39});
    EXPECT_EQ(puzzle->IsDeducible(40), 0);
}

TEST_F(IsDeducibleAt40, BothSegmentsOpenNeedBothExclusions)
{
    HideCells(puzzle->mask, {31, 39, 49});
    EXPECT_EQ(puzzle->IsDeducible(40), 1);
    for (int blocker : {29, 52, 21, 77}) {
        HideCells(puzzle->mask, {blocker});
        EXPECT_EQ(puzzle->IsDeducible(40), 0) << "cell " << blocker;
        HideCells(puzzle->mask, {blocker}, kTriedVisible);
        EXPECT_EQ(puzzle->IsDeducible(40), 1) << "kept-visible cell " << blocker;
        HideCells(puzzle->mask, {blocker}, kGiven);
    }
    HideCells(puzzle->mask, {31, 39, 49}, kTriedVisible);
    HideCells(puzzle->mask, {29});
    EXPECT_EQ(puzzle->IsDeducible(40), 1) << "kept-visible cells leave the segments closed";
}

// Cell 80 holds 2. Its column segment is 62, 71, 80, not the top of column 8
// (8, 17), which is hidden here; its row segment is opened with 78, and row
// exclusion is broken by hiding the 2 of row 6 (cell 57). Column exclusion
// looks at the 2s of columns 6 and 7: cells 51 and 16.
TEST_F(HoleDiggingTest, IsDeducibleUsesTheColumnSegmentInsideTheBox)
{
    HideCells(puzzle->mask, {80, 72, 73, 8, 17, 60, 69, 78, 57});
    EXPECT_EQ(puzzle->IsDeducible(80), 1);
    HideCells(puzzle->mask, {16});
    EXPECT_EQ(puzzle->IsDeducible(80), 0);
    HideCells(puzzle->mask, {16}, kGiven);
    HideCells(puzzle->mask, {71});
    EXPECT_EQ(puzzle->IsDeducible(80), 0);
}

TEST_F(HoleDiggingTest, AlwaysZeroTriesTheFirst61CellsInOrder)
{
    RandomSourceOverride source(scripted::Zero);
    for (int level : {0, 1, 2}) {
        LoadSolution(puzzle.get(), kZeroDrawSolution);
        puzzle->DigHoles(level);
        for (int cell = 61; cell < 81; ++cell)
            EXPECT_EQ(puzzle->mask[cell], kGiven) << "level " << level << " cell " << cell;
        EXPECT_GT(81 - puzzle->CountMarkedCells(), 20);
    }
}

// With every draw the same value m, the cell tried with u cells untried is
// the (m % u)-th untried one, whatever the solution counter draws in
// between. Whether it stays hidden does not depend on the draws at level 2,
// so the whole mask can be predicted with the draws going modulo 81 down to
// 21.
TEST_F(HoleDiggingTest, DrawsGoModulo81DownTo21)
{
    RandomSourceOverride source(scripted::Constant);
    for (int m : {1234567, 32767, 2147483647, 80, 43}) {
        SCOPED_TRACE(m);
        scripted::SetConstant(m);
        uint8_t expected[81] = {};
        std::vector<int> untried;
        for (int cell = 0; cell < 81; ++cell)
            untried.push_back(cell);
        for (int u = 81; u > 20; --u) {
            int cell = untried[m % u];
            untried.erase(untried.begin() + m % u);
            expected[cell] = kHidden;
            if (CountSolutions(puzzle.get(), expected) != 1)
                expected[cell] = kTriedVisible;
        }
        for (uint8_t& state : expected) {
            if (state == kTriedVisible)
                state = kGiven;
        }
        puzzle->DigHoles(2);
        EXPECT_EQ(std::memcmp(puzzle->mask, expected, 81), 0);
    }
}

TEST_F(HoleDiggingTest, LevelsOtherThanZeroAndOneDigLikeTwo)
{
    RandomSourceOverride source(scripted::Lcg);
    uint8_t atTwo[81];
    scripted::SeedLcg(5);
    puzzle->DigHoles(2);
    std::memcpy(atTwo, puzzle->mask, sizeof(atTwo));
    long drawsAtTwo = scripted::Draws();
    for (int level : {3, -1, 1000}) {
        scripted::SeedLcg(5);
        scripted::ResetDraws();
        puzzle->DigHoles(level);
        EXPECT_EQ(std::memcmp(puzzle->mask, atTwo, 81), 0) << "level " << level;
        EXPECT_EQ(scripted::Draws(), drawsAtTwo);
    }
}

// The whole engine half of a new grid, over many seeds at each level.
TEST(NewGameTest, PuzzlesAreCompleteUniqueAndLaidOut)
{
    RandomSourceOverride source(scripted::Lcg);
    auto puzzle = std::make_unique<PuzzleGrid>();
    for (int level = 0; level < 3; ++level) {
        int fewestGivens = 81, mostGivens = 0;
        for (uint32_t seed = 0; seed < 300; ++seed) {
            SCOPED_TRACE(testing::Message() << "level " << level << " seed " << seed);
            scripted::SeedLcg(seed * 7919 + level);
            std::memset(PencilMarks, 1, sizeof(PencilMarks));
            std::memset(PlayerGrid, 0x55, sizeof(PlayerGrid));
            GenerateNewGame(puzzle.get(), level);

            ASSERT_TRUE(IsCompleteSolution(puzzle->values));
            int givens = 0;
            for (int cell = 0; cell < 81; ++cell) {
                ASSERT_LE(puzzle->mask[cell], kHidden);
                if (puzzle->mask[cell] == kGiven) {
                    ++givens;
                    ASSERT_EQ(PlayerGrid[cell], puzzle->values[cell]);
                } else {
                    ASSERT_EQ(PlayerGrid[cell], 0);
                }
            }
            for (uint8_t mark : PencilMarks)
                ASSERT_EQ(mark, 0);
            ASSERT_GE(givens, 20);
            ASSERT_EQ(puzzle->stack.first, nullptr);
            ASSERT_EQ(CountSolutions(puzzle.get(), puzzle->mask), 1);
            fewestGivens = std::min(fewestGivens, givens);
            mostGivens = std::max(mostGivens, givens);
        }
        RecordProperty("level" + std::to_string(level) + "_givens",
                       std::to_string(fewestGivens) + ".." + std::to_string(mostGivens));
    }
}

}  // namespace
