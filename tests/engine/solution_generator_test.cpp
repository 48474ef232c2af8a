#include "engine/puzzle_grid.h"
#include "engine/random_source.h"
#include "tests/engine/scripted_random.h"
#include "tests/engine/test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class SolutionGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override { scripted::ResetDraws(); }
    std::unique_ptr<PuzzleGrid> puzzle = std::make_unique<PuzzleGrid>();
};

TEST_F(SolutionGeneratorTest, AlwaysZeroGivesTheSmallestDigitGrid)
{
    RandomSourceOverride source(scripted::Zero);
    puzzle->FillSolution();
    for (int cell = 0; cell < 81; ++cell)
        EXPECT_EQ(puzzle->values[cell], kZeroDrawSolution[cell]) << "cell " << cell;
    EXPECT_EQ(puzzle->stack.first, nullptr);
}

// On the empty grid every cell has nine candidates and cell 0 wins the tie;
// then the cells of row 0, column 0 and box 0 have eight, and cell 1 is the
// first of them.
TEST_F(SolutionGeneratorTest, FirstPassesBranchOnTheLowestCells)
{
    const int draws[] = {4, 7};
    scripted::SetSequence(draws, 2);
    RandomSourceOverride source(scripted::Sequence);
    puzzle->FillSolution();
    EXPECT_EQ(puzzle->values[0], 5);  // 4 % 9: fifth of 1..9
    EXPECT_EQ(puzzle->values[1], 9);  // 7 % 8: eighth of 1..9 without 5
    EXPECT_TRUE(IsCompleteSolution(puzzle->values));
}

TEST_F(SolutionGeneratorTest, ResultIsAlwaysAValidGridAndTheMaskIsLeftAlone)
{
    RandomSourceOverride source(scripted::Lcg);
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        scripted::SeedLcg(seed);
        for (int cell = 0; cell < 81; ++cell)
            puzzle->mask[cell] = static_cast<uint8_t>((cell * seed) % 3);
        uint8_t maskBefore[81];
        std::memcpy(maskBefore, puzzle->mask, sizeof(maskBefore));
        puzzle->FillSolution();
        ASSERT_TRUE(IsCompleteSolution(puzzle->values)) << "seed " << seed;
        ASSERT_EQ(std::memcmp(maskBefore, puzzle->mask, sizeof(maskBefore)), 0);
        ASSERT_EQ(puzzle->stack.first, nullptr);
    }
}

TEST_F(SolutionGeneratorTest, ComputeCandidatesFlagsPeerDigitsAndWipesTriedMarks)
{
    int16_t values[81];
    std::memcpy(values, kZeroDrawSolution, sizeof(values));
    // Cell 40 holds 1. Emptying 39 and 67 frees 9 in its row, column and
    // box; emptying 37 and 31 frees 7 likewise.
    values[40] = values[39] = values[67] = values[37] = values[31] = 0;
    SearchFrame frame;
    std::memset(&frame, 0, sizeof(frame));
    std::memset(frame.flags + 40 * 9, 2, 9);
    EXPECT_EQ(ComputeCandidates(&frame, 40, values), 3);
    const uint8_t expected[9] = {0, 1, 1, 1, 1, 1, 0, 1, 0};
    EXPECT_EQ(std::memcmp(frame.flags + 40 * 9, expected, 9), 0);
    for (int i = 0; i < 81 * 9; ++i) {
        if (i / 9 != 40) {
            ASSERT_EQ(frame.flags[i], 0) << "flag " << i;
        }
    }
}

// A damaged grid (values that are not digits) must not make the peer scan
// write outside the cell's nine flags.
TEST_F(SolutionGeneratorTest, ComputeCandidatesIgnoresValuesThatAreNoDigits)
{
    int16_t values[81] = {};
    values[1] = 10;
    values[2] = -3;
    values[9] = 32767;
    values[10] = 4;
    SearchFrame frame;
    std::memset(&frame, 0, sizeof(frame));
    EXPECT_EQ(ComputeCandidates(&frame, 0, values), 8);
    EXPECT_EQ(frame.flags[3], 1);
    for (int i = 9; i < 81 * 9; ++i)
        ASSERT_EQ(frame.flags[i], 0);
    EXPECT_EQ(frame.branchCell, 0);
    EXPECT_EQ(ComputeCandidates(&frame, 81, values), 0);
    EXPECT_EQ(ComputeCandidates(&frame, -1, values), 0);
}

TEST_F(SolutionGeneratorTest, PlaceRandomCandidateDrawsOnlyWhenThereIsAChoice)
{
    RandomSourceOverride source(scripted::Constant);
    scripted::SetConstant(5);
    int16_t values[81] = {};
    SearchFrame frame;
    std::memset(&frame, 0, sizeof(frame));
    frame.branchCell = 20;
    std::memset(frame.flags + 20 * 9, 1, 9);

    // No frame, or no free flag: nothing placed, nothing drawn.
    EXPECT_EQ(PlaceRandomCandidate(nullptr, values), 0);
    EXPECT_EQ(PlaceRandomCandidate(&frame, values), 0);
    EXPECT_EQ(values[20], 0);
    EXPECT_EQ(scripted::Draws(), 0);

    frame.flags[20 * 9 + 6] = 0;
    EXPECT_EQ(PlaceRandomCandidate(&frame, values), 1);
    EXPECT_EQ(values[20], 7);
    EXPECT_EQ(scripted::Draws(), 0);
    EXPECT_EQ(frame.flags[20 * 9 + 6], 0) << "the placed digit stays free";

    // Free digits 2, 4, 7: 5 % 3 picks the third.
    frame.flags[20 * 9 + 1] = 0;
    frame.flags[20 * 9 + 3] = 0;
    frame.flags[20 * 9 + 4] = 2;
    EXPECT_EQ(PlaceRandomCandidate(&frame, values), 1);
    EXPECT_EQ(values[20], 7);
    EXPECT_EQ(scripted::Draws(), 1);
    scripted::SetConstant(4);
    EXPECT_EQ(PlaceRandomCandidate(&frame, values), 1);
    EXPECT_EQ(values[20], 4);
    EXPECT_EQ(scripted::Draws(), 2);

    frame.branchCell = 81;
    EXPECT_EQ(PlaceRandomCandidate(&frame, values), 0);
}

// Backtrack takes back the newest placement, and when its frame has nothing
// left, discards the frame and takes back the one before.
TEST_F(SolutionGeneratorTest, BacktrackUnwindsExhaustedFrames)
{
    RandomSourceOverride source(scripted::Zero);
    SearchFrame* older = &puzzle->stack.PushBack(nullptr)->payload;
    older->branchCell = 0;
    std::memset(older->flags, 1, 9);
    older->flags[0] = older->flags[1] = 0;  // 1 and 2 free
    puzzle->values[0] = 1;
    SearchFrame* newer = &puzzle->stack.PushBack(nullptr)->payload;
    newer->branchCell = 1;
    std::memset(newer->flags + 9, 1, 9);
    newer->flags[9 + 2] = 0;  // only 3 free
    puzzle->values[1] = 3;

    puzzle->Backtrack(nullptr);
    EXPECT_EQ(puzzle->values[1], 3);

    puzzle->Backtrack(puzzle->stack.last);
    EXPECT_EQ(puzzle->values[1], 0);
    EXPECT_EQ(puzzle->values[0], 2);
    EXPECT_EQ(older->flags[0], 2);
    EXPECT_EQ(puzzle->stack.first, puzzle->stack.last);
    EXPECT_EQ(scripted::Draws(), 0);

    // With nothing left anywhere the stack runs empty and the cells are clear.
    puzzle->Backtrack(puzzle->stack.last);
    EXPECT_EQ(puzzle->values[0], 0);
    EXPECT_EQ(puzzle->stack.first, nullptr);
}

// A frame whose cell holds no placed digit is damaged; taking it back must
// not write a flag outside the cell.
TEST_F(SolutionGeneratorTest, BacktrackOnAnEmptyBranchCellStaysInsideTheFrame)
{
    RandomSourceOverride source(scripted::Zero);
    SearchFrame* frame = &puzzle->stack.PushBack(nullptr)->payload;
    frame->branchCell = 0;
    std::memset(frame->flags, 1, 9);
    frame->flags[4] = 0;
    puzzle->Backtrack(puzzle->stack.last);
    EXPECT_EQ(puzzle->values[0], 5);
    EXPECT_EQ(puzzle->stack.first, puzzle->stack.last);
}

}  // namespace
