#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "engine/random_source.h"
#include "tests/engine/brute_force_counter.h"
#include "tests/engine/reference_engine.h"
#include "tests/engine/scripted_random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// The engine against the plain transcription in reference_engine.cpp: for
// the same draws it must give the same grids and masks and make the same
// number of draws, or the same seed would no longer give the same puzzle.

namespace {

#ifdef NONARO_SLOW_BUILD
const uint32_t kGamesPerLevel = 300;
#else
const uint32_t kGamesPerLevel = 1500;
#endif

class EquivalenceTest : public ::testing::Test {
protected:
    RandomSourceOverride source{scripted::Lcg};
    std::unique_ptr<PuzzleGrid> puzzle = std::make_unique<PuzzleGrid>();
    reference::Puzzle expected = {};
};

TEST_F(EquivalenceTest, NewGamesMatchDrawForDraw)
{
    int16_t expectedPlayer[81];
    uint8_t expectedMarks[81 * 9];
    for (int level = 0; level < 3; ++level) {
        for (uint32_t seed = 0; seed < kGamesPerLevel; ++seed) {
            SCOPED_TRACE(testing::Message() << "level " << level << " seed " << seed);
            uint32_t lcgSeed = seed * 2654435761u + static_cast<uint32_t>(level);
            scripted::SeedLcg(lcgSeed);
            scripted::ResetDraws();
            reference::GenerateNewGame(&expected, level, expectedPlayer, expectedMarks);
            long expectedDraws = scripted::Draws();

            scripted::SeedLcg(lcgSeed);
            scripted::ResetDraws();
            GenerateNewGame(puzzle.get(), level);
            ASSERT_EQ(scripted::Draws(), expectedDraws);
            ASSERT_EQ(std::memcmp(puzzle->values, expected.values, sizeof(expected.values)), 0);
            ASSERT_EQ(std::memcmp(puzzle->mask, expected.mask, sizeof(expected.mask)), 0);
            ASSERT_EQ(std::memcmp(PlayerGrid, expectedPlayer, sizeof(expectedPlayer)), 0);
        }
    }
}

// Successive games from one sequence, as successive "Nouvelle grille"
// commands draw them, stay in step as well.
TEST_F(EquivalenceTest, GamesInARowStayInStep)
{
    int16_t expectedPlayer[81];
    uint8_t expectedMarks[81 * 9];
    const int levels[] = {2, 0, 1, 1, 2, 0, 5};
    scripted::SeedLcg(20240601);
    scripted::ResetDraws();
    for (int round = 0; round < 20; ++round) {
        for (int level : levels)
            reference::GenerateNewGame(&expected, level, expectedPlayer, expectedMarks);
    }
    long expectedDraws = scripted::Draws();
    scripted::SeedLcg(20240601);
    scripted::ResetDraws();
    for (int round = 0; round < 20; ++round) {
        for (int level : levels)
            GenerateNewGame(puzzle.get(), level);
    }
    EXPECT_EQ(scripted::Draws(), expectedDraws);
    EXPECT_EQ(std::memcmp(puzzle->values, expected.values, sizeof(expected.values)), 0);
    EXPECT_EQ(std::memcmp(puzzle->mask, expected.mask, sizeof(expected.mask)), 0);
}

// Random masks over random solutions, with and without the kept-visible
// state, and grids with clashing givens: the count must be exact and the
// draws the same as the reference's.
TEST_F(EquivalenceTest, CountSolutionsMatchesOnArbitraryGrids)
{
    int counts[3] = {};
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        scripted::SeedLcg(seed);
        reference::FillSolution(&expected);
        // Sparse grids, and clashing givens with many empty cells, can send
        // this search (and the reference's) into very long runs; the game
        // only counts grids with at least 20 givens of a valid solution.
        bool clash = seed % 3 == 0;
        int density = scripted::Lcg() % (clash ? 35 : 70);
        uint8_t mask[81];
        for (int cell = 0; cell < 81; ++cell) {
            mask[cell] = scripted::Lcg() % 100 < density ? kHidden : (seed % 2 ? kTriedVisible : kGiven);
            if (clash && scripted::Lcg() % 40 == 0)
                expected.values[cell] = static_cast<int16_t>(scripted::Lcg() % 9 + 1);
        }
        std::memcpy(puzzle->values, expected.values, sizeof(expected.values));
        bool useMask = seed % 5 != 0;
        if (!useMask) {
            for (int cell = 0; cell < 81; ++cell) {
                if (mask[cell] == kHidden)
                    puzzle->values[cell] = expected.values[cell] = 0;
            }
        }

        uint32_t drawSeed = seed ^ 0x5A5A5A5Au;
        scripted::SeedLcg(drawSeed);
        scripted::ResetDraws();
        int want = reference::CountSolutions(&expected, useMask ? mask : nullptr);
        long wantDraws = scripted::Draws();
        scripted::SeedLcg(drawSeed);
        scripted::ResetDraws();
        int got = CountSolutions(puzzle.get(), useMask ? mask : nullptr);
        ASSERT_EQ(got, want);
        ASSERT_EQ(scripted::Draws(), wantDraws);

        int16_t grid[81];
        for (int cell = 0; cell < 81; ++cell)
            grid[cell] = useMask && mask[cell] == kHidden ? 0 : puzzle->values[cell];
        // The plain recursion does not check the givens against each other
        // either, so it agrees even on clashing grids.
        ASSERT_EQ(got, BruteForceCount(grid, 2));
        ++counts[got];
    }
    // Make sure the sample reached all three answers.
    EXPECT_GT(counts[0], 100);
    EXPECT_GT(counts[1], 100);
    EXPECT_GT(counts[2], 100);
}

TEST_F(EquivalenceTest, DiggingTestsMatchOnArbitraryMasks)
{
    for (uint32_t seed = 0; seed < 500; ++seed) {
        scripted::SeedLcg(seed);
        reference::FillSolution(&expected);
        std::memcpy(puzzle->values, expected.values, sizeof(expected.values));
        int density = scripted::Lcg() % 100;
        for (int cell = 0; cell < 81; ++cell) {
            int roll = scripted::Lcg() % 100;
            expected.mask[cell] = roll < density ? kHidden : roll % 2 ? kTriedVisible : kGiven;
        }
        std::memcpy(puzzle->mask, expected.mask, sizeof(expected.mask));
        for (int cell = 0; cell < 81; ++cell) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " cell " << cell);
            for (int limit : {2, 5, 6})
                ASSERT_EQ(puzzle->WithinHiddenLimit(cell, limit), reference::WithinHiddenLimit(&expected, cell, limit));
            if (expected.mask[cell] == kHidden) {
                ASSERT_EQ(puzzle->IsDeducible(cell), reference::IsDeducible(&expected, cell));
            }
        }
    }
}

}  // namespace
