#include "engine/cell_geometry.h"
#include "engine/puzzle_grid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CellGeometryTest, GroupsOfSampleCells)
{
    struct Expected {
        int cell, row, column, box, band, tower, boxStart, rowSegmentStart;
    };
    const Expected cases[] = {
        {0, 0, 0, 0, 0, 0, 0, 0},    {8, 0, 8, 2, 0, 2, 6, 6},    {30, 3, 3, 4, 1, 1, 30, 30},
        {40, 4, 4, 4, 1, 1, 30, 39}, {80, 8, 8, 8, 2, 2, 60, 78},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.cell);
        EXPECT_EQ(CellRow(e.cell), e.row);
        EXPECT_EQ(CellColumn(e.cell), e.column);
        EXPECT_EQ(CellBox(e.cell), e.box);
        EXPECT_EQ(CellBand(e.cell), e.band);
        EXPECT_EQ(CellTower(e.cell), e.tower);
        EXPECT_EQ(BoxStart(e.cell), e.boxStart);
        EXPECT_EQ(BoxFirstCell(e.box), e.boxStart);
        EXPECT_EQ(RowSegmentStart(e.cell), e.rowSegmentStart);
        EXPECT_EQ(RowStart(e.cell), e.row * 9);
    }
}

TEST(CellGeometryTest, SegmentsAndWalks)
{
    const int column40[3] = {31, 40, 49};
    const int column80[3] = {62, 71, 80};
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(ColumnSegmentCell(40, j), column40[j]);
        EXPECT_EQ(ColumnSegmentCell(80, j), column80[j]);
    }
    const int box4[9] = {30, 31, 32, 39, 40, 41, 48, 49, 50};
    const int box8[9] = {60, 61, 62, 69, 70, 71, 78, 79, 80};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(BoxCell(30, i), box4[i]);
        EXPECT_EQ(BoxCell(60, i), box8[i]);
        EXPECT_EQ(RowCell(4, i), 36 + i);
        EXPECT_EQ(ColumnCell(4, i), 4 + 9 * i);
    }
}

TEST(PuzzleGridTest, StartsEmpty)
{
    auto puzzle = std::make_unique<PuzzleGrid>();
    for (int cell = 0; cell < 81; ++cell) {
        EXPECT_EQ(puzzle->values[cell], 0);
        EXPECT_EQ(puzzle->mask[cell], 0);
    }
    EXPECT_EQ(puzzle->stack.first, nullptr);
    EXPECT_EQ(puzzle->stack.last, nullptr);
    EXPECT_EQ(puzzle->CountMarkedCells(), 0);
}

// Under the leak checker this fails if the frames outlive the grid.
TEST(PuzzleGridTest, DestroyingWithFramesOnTheStackFreesThem)
{
    auto puzzle = std::make_unique<PuzzleGrid>();
    for (int i = 0; i < 5; ++i)
        puzzle->stack.PushBack(nullptr);
    puzzle.reset();
}

TEST(PuzzleGridTest, CountMarkedCellsCountsHiddenAndKeptVisible)
{
    PuzzleGrid puzzle;
    puzzle.mask[0] = kHidden;
    puzzle.mask[40] = kTriedVisible;
    puzzle.mask[80] = kHidden;
    EXPECT_EQ(puzzle.CountMarkedCells(), 3);
    for (int cell = 0; cell < 81; ++cell)
        puzzle.mask[cell] = kHidden;
    EXPECT_EQ(puzzle.CountMarkedCells(), 81);
}

}  // namespace
