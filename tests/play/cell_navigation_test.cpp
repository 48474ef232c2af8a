#include <gtest/gtest.h>

#include <cstring>

#include "engine/cell_geometry.h"
#include "engine/puzzle_grid.h"
#include "play/cell_navigation.h"

namespace {

// Each layout starts from a mask of one kind and changes a few cells; every
// move is tried from that layout. Both lists end with a negative cell.
struct Layout {
    const char* name;
    uint8_t fill;
    struct {
        int cell;
        uint8_t mask;
    } changes[4];
    struct {
        int from;
        WPARAM key;
        int expected;
    } moves[8];
};

const Layout kLayouts[] = {
    // Row 2 hidden at columns 1 and 7 only, and the last cell: givens are
    // skipped, the row never wraps, row and column 8 lead nowhere.
    {"row",
     kGiven,
     {{19, kHidden}, {25, kHidden}, {80, kHidden}, {-1, 0}},
     {{19, VK_RIGHT, 25},
      {25, VK_LEFT, 19},
      {25, VK_RIGHT, kNoCell},
      {19, VK_LEFT, kNoCell},
      {80, VK_RIGHT, kNoCell},
      {80, VK_DOWN, kNoCell},
      {-1, 0, 0}}},
    // Column 4 hidden in rows 0 and 8 only.
    {"column",
     kGiven,
     {{4, kHidden}, {76, kHidden}, {-1, 0}},
     {{4, VK_DOWN, 76}, {76, VK_UP, 4}, {76, VK_DOWN, kNoCell}, {4, VK_UP, kNoCell}, {-1, 0, 0}}},
    // Every cell hidden: the corners are reached but never passed; -1 / 9
    // truncates to row 0, so the sign must stop a move left from cell 0.
    {"corners",
     kHidden,
     {{-1, 0}},
     {{9, VK_UP, 0},
      {1, VK_LEFT, 0},
      {71, VK_DOWN, 80},
      {0, VK_LEFT, kNoCell},
      {0, VK_UP, kNoCell},
      {72, VK_LEFT, kNoCell},
      {8, VK_RIGHT, kNoCell},
      {-1, 0, 0}}},
    // A given corner is never taken.
    {"given corner", kHidden, {{0, kGiven}, {-1, 0}}, {{9, VK_UP, kNoCell}, {1, VK_LEFT, kNoCell}, {-1, 0, 0}}},
    // A mask other than given or hidden stops the search without being taken.
    {"odd mask",
     kGiven,
     {{36, kHidden}, {38, kTriedVisible}, {40, kHidden}, {-1, 0}},
     {{36, VK_RIGHT, kNoCell}, {40, VK_LEFT, kNoCell}, {-1, 0, 0}}},
};

TEST(CellNavigationTest, ArrowKeysSkipGivensWithinTheirRowOrColumnAndStopAtTheEdge)
{
    for (const Layout& layout : kLayouts) {
        uint8_t mask[kCellCount];
        std::memset(mask, layout.fill, sizeof mask);
        // Each list ends at its first negative cell.
        for (const auto* change = layout.changes; change->cell >= 0; ++change)
            mask[change->cell] = change->mask;
        for (const auto* move = layout.moves; move->from >= 0; ++move) {
            EXPECT_EQ(NavigationTarget(mask, move->from, move->key), move->expected)
                << layout.name << ": from " << move->from << " key " << move->key;
        }
    }
}

TEST(CellNavigationTest, WithNothingSelectedAnArrowStartsAtTheRememberedOrTheFirstHiddenCell)
{
    uint8_t mask[kCellCount];
    std::memset(mask, kGiven, sizeof mask);
    EXPECT_EQ(ArrowStartCell(mask, kNoCell), kNoCell);
    mask[2] = kTriedVisible;
    mask[5] = mask[30] = kHidden;
    EXPECT_EQ(ArrowStartCell(mask, 30), 30);
    for (int remembered : {kNoCell, 2, 3, kCellCount})
        EXPECT_EQ(ArrowStartCell(mask, remembered), 5) << remembered;
}

TEST(CellNavigationTest, OtherKeysAndCellsOutsideTheGridGoNowhere)
{
    uint8_t mask[kCellCount];
    std::memset(mask, kHidden, sizeof mask);
    EXPECT_EQ(NavigationTarget(mask, 40, 0x24), kNoCell);
    EXPECT_EQ(NavigationTarget(mask, -1, VK_RIGHT), kNoCell);
    EXPECT_EQ(NavigationTarget(mask, kCellCount, VK_LEFT), kNoCell);
}

}  // namespace
