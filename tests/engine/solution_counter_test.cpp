#include "engine/puzzle_grid.h"
#include "engine/random_source.h"
#include "tests/engine/scripted_random.h"
#include "tests/engine/test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Rows 3 and 4 hold 6 and 9 in columns 3 and 7, crosswise: the two digits
// can trade places in both columns without breaking a row, column or box.
const int kDeadlyRectangle[4] = {30, 34, 39, 43};

class SolutionCounterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadSolution(puzzle.get(), kZeroDrawSolution);
        scripted::SeedLcg(99);
        scripted::ResetDraws();
    }

    int Count(const uint8_t* mask) { return CountSolutions(puzzle.get(), mask); }

    std::unique_ptr<PuzzleGrid> puzzle = std::make_unique<PuzzleGrid>();
    RandomSourceOverride source{scripted::Lcg};
};

TEST_F(SolutionCounterTest, NothingToSearchIsOneSolutionWithoutADraw)
{
    uint8_t mask[81] = {};
    EXPECT_EQ(Count(mask), 1);
    std::memset(mask, kTriedVisible, sizeof(mask));
    EXPECT_EQ(Count(mask), 1);
    EXPECT_EQ(Count(nullptr), 1);
    EXPECT_EQ(scripted::Draws(), 0);
}

// A complete grid counts once whatever it holds: the givens are not checked
// against each other.
TEST_F(SolutionCounterTest, CompleteGridIsNotChecked)
{
    puzzle->values[0] = puzzle->values[1];
    EXPECT_EQ(Count(nullptr), 1);
}

TEST_F(SolutionCounterTest, SingleHiddenCellsAreForced)
{
    for (int cell : {0, 40, 80}) {
        uint8_t mask[81] = {};
        mask[cell] = kHidden;
        EXPECT_EQ(Count(mask), 1) << "cell " << cell;
    }
    EXPECT_EQ(scripted::Draws(), 0);
}

TEST_F(SolutionCounterTest, EverythingHiddenHasMoreThanOneSolution)
{
    uint8_t mask[81];
    std::memset(mask, kHidden, sizeof(mask));
    EXPECT_EQ(Count(mask), 2);

    std::memset(puzzle->values, 0, sizeof(puzzle->values));
    EXPECT_EQ(Count(nullptr), 2);
}

TEST_F(SolutionCounterTest, DeadlyRectangleHasTwoSolutions)
{
    uint8_t mask[81] = {};
    for (int cell : kDeadlyRectangle)
        mask[cell] = kHidden;
    EXPECT_EQ(Count(mask), 2);

    // Any one corner given pins the other three.
    for (int kept : kDeadlyRectangle) {
        mask[kept] = kGiven;
        EXPECT_EQ(Count(mask), 1) << "cell " << kept;
        mask[kept] = kTriedVisible;
        EXPECT_EQ(Count(mask), 1) << "cell " << kept;
        mask[kept] = kHidden;
    }
}

TEST_F(SolutionCounterTest, WithoutAMaskTheZerosAreSearched)
{
    for (int cell : kDeadlyRectangle)
        puzzle->values[cell] = 0;
    EXPECT_EQ(Count(nullptr), 2);
    puzzle->values[30] = 6;
    EXPECT_EQ(Count(nullptr), 1);

    // Cell 40 left empty with its digit 1 moved into its column: no
    // candidate, so no solution at all.
    LoadSolution(puzzle.get(), kZeroDrawSolution);
    puzzle->values[40] = 0;
    puzzle->values[4] = 1;
    EXPECT_EQ(Count(nullptr), 0);

    // A given cell of the mask that holds 0 is empty as well.
    LoadSolution(puzzle.get(), kZeroDrawSolution);
    puzzle->values[40] = 0;
    uint8_t mask[81] = {};
    mask[30] = kHidden;
    EXPECT_EQ(Count(mask), 1);
    puzzle->values[39] = 0;
    mask[31] = kHidden;
    EXPECT_EQ(Count(mask), 1);
}

// Every empty cell has a candidate at the start, but a 1 written over the 4
// of cell 9 leaves 4 as the only candidate of both cells 0 and 3: the first
// placement is a dead end for the other.
TEST_F(SolutionCounterTest, ConflictingGivensHaveNoSolution)
{
    puzzle->values[9] = 1;
    uint8_t mask[81] = {};
    for (int cell = 0; cell < 9; ++cell)
        mask[cell] = kHidden;
    EXPECT_EQ(Count(mask), 0);
}

TEST_F(SolutionCounterTest, SourceIsOnlyRead)
{
    uint8_t mask[81] = {};
    for (int cell = 0; cell < 81; cell += 2)
        mask[cell] = kHidden;
    mask[1] = kTriedVisible;
    std::memcpy(puzzle->mask, mask, sizeof(mask));
    SearchFrame* frame = &puzzle->stack.PushBack(nullptr)->payload;
    frame->branchCell = 17;
    frame->flags[100] = 2;
    int16_t valuesBefore[81];
    std::memcpy(valuesBefore, puzzle->values, sizeof(valuesBefore));

    for (const uint8_t* m : {static_cast<const uint8_t*>(puzzle->mask), static_cast<const uint8_t*>(nullptr)}) {
        Count(m);
        EXPECT_EQ(std::memcmp(puzzle->values, valuesBefore, sizeof(valuesBefore)), 0);
        EXPECT_EQ(std::memcmp(puzzle->mask, mask, sizeof(mask)), 0);
        ASSERT_EQ(puzzle->stack.first, puzzle->stack.last);
        EXPECT_EQ(&puzzle->stack.first->payload, frame);
        EXPECT_EQ(frame->branchCell, 17);
        EXPECT_EQ(frame->flags[100], 2);
    }
    EXPECT_EQ(CountSolutions(nullptr, mask), 0);
}

}  // namespace
