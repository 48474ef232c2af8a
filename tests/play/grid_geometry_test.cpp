#include <gtest/gtest.h>

#include "play/grid_geometry.h"
#include "play/grid_board.h"

namespace {

bool SameRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

#define EXPECT_RECT(r, l, t, rt, b)                                                                                    \
    EXPECT_TRUE(SameRect(r, l, t, rt, b))                                                                              \
        << "got (" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")"

TEST(GridGeometry, RectanglesIncludeTheirBorderLines)
{
    RECT r;
    ASSERT_EQ(1, GridGeometry().CellRect(0, &r));
    EXPECT_RECT(r, 0, 0, 52, 52);
    ASSERT_EQ(1, GridGeometry().CellRect(80, &r));
    EXPECT_RECT(r, 408, 408, 460, 460);
    ASSERT_EQ(1, GridGeometry().CellRect(13, &r));  // row 1, column 4
    EXPECT_RECT(r, 204, 51, 256, 103);
    ASSERT_EQ(1, GridGeometry().RowRect(8, &r));
    EXPECT_RECT(r, 0, 408, 460, 460);
    ASSERT_EQ(1, GridGeometry().ColumnRect(2, &r));
    EXPECT_RECT(r, 102, 0, 154, 460);
    ASSERT_EQ(1, GridGeometry().BoxRect(4, &r));
    EXPECT_RECT(r, 153, 153, 307, 307);
    ASSERT_EQ(1, GridGeometry().BoxRect(8, &r));
    EXPECT_RECT(r, 306, 306, 460, 460);
    ASSERT_EQ(1, GridGeometry().SubCellRect(0, 0, &r));
    EXPECT_RECT(r, 0, 0, 17, 17);
    ASSERT_EQ(1, GridGeometry().SubCellRect(80, 5, &r));  // the mark of 6: middle row, right column
    EXPECT_RECT(r, 442, 425, 459, 442);
}

TEST(GridGeometry, OutOfRangeOrMissingOutputLeavesTheRectangleAlone)
{
    const RECT sentinel = {-7, -8, -9, -10};
    RECT r = sentinel;
    EXPECT_EQ(0, GridGeometry().CellRect(-1, &r));
    EXPECT_EQ(0, GridGeometry().CellRect(81, &r));
    EXPECT_EQ(0, GridGeometry().SubCellRect(0, 9, &r));
    EXPECT_EQ(0, GridGeometry().SubCellRect(0, -1, &r));
    EXPECT_EQ(0, GridGeometry().SubCellRect(81, 0, &r));
    EXPECT_EQ(0, GridGeometry().RowRect(9, &r));
    EXPECT_EQ(0, GridGeometry().RowRect(-1, &r));
    EXPECT_EQ(0, GridGeometry().ColumnRect(9, &r));
    EXPECT_EQ(0, GridGeometry().ColumnRect(-1, &r));
    EXPECT_EQ(0, GridGeometry().BoxRect(9, &r));
    EXPECT_EQ(0, GridGeometry().BoxRect(-1, &r));
    EXPECT_RECT(r, sentinel.left, sentinel.top, sentinel.right, sentinel.bottom);

    EXPECT_EQ(0, GridGeometry().CellRect(0, nullptr));
    EXPECT_EQ(0, GridGeometry().SubCellRect(0, 0, nullptr));
    EXPECT_EQ(0, GridGeometry().RowRect(0, nullptr));
    EXPECT_EQ(0, GridGeometry().ColumnRect(0, nullptr));
    EXPECT_EQ(0, GridGeometry().BoxRect(0, nullptr));
}

TEST(GridGeometry, LastPixelLineAndPointsOutsideHitNoCell)
{
    for (int i = 0; i < 460; ++i) {
        EXPECT_EQ(kNoCell, GridGeometry().CellFromPoint(459, i)) << "y " << i;
        EXPECT_EQ(kNoCell, GridGeometry().CellFromPoint(i, 459)) << "x " << i;
    }
    EXPECT_EQ(80, GridGeometry().CellFromPoint(458, 458));
    EXPECT_EQ(kNoCell, GridGeometry().CellFromPoint(-1, 10));
    EXPECT_EQ(kNoCell, GridGeometry().CellFromPoint(10, -1));
    EXPECT_EQ(kNoCell, GridGeometry().CellFromPoint(1000, 10));
}

TEST(GridGeometry, SharedBorderBelongsToTheCellRightOfOrBelowIt)
{
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(c, GridGeometry().CellFromPoint(51 * c, 0));
        EXPECT_EQ(c - 1, GridGeometry().CellFromPoint(51 * c - 1, 0));
        EXPECT_EQ(9 * c, GridGeometry().CellFromPoint(0, 51 * c));
        EXPECT_EQ(9 * (c - 1), GridGeometry().CellFromPoint(0, 51 * c - 1));
        EXPECT_EQ(0, GridGeometry().SubCellFromPoint(51 * c, 51 * c));
    }
    EXPECT_EQ(2, GridGeometry().SubCellFromPoint(50, 0));
    EXPECT_EQ(6, GridGeometry().SubCellFromPoint(0, 50));
}

TEST(GridGeometry, HitTestsFindEveryCellAndMarkTheirRectanglesDraw)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int mark = 0; mark < kDigitCount; ++mark) {
            RECT r;
            ASSERT_EQ(1, GridGeometry().SubCellRect(cell, mark, &r));
            for (int dx : {0, 16})
                for (int dy : {0, 16}) {
                    EXPECT_EQ(cell, GridGeometry().CellFromPoint(r.left + dx, r.top + dy));
                    EXPECT_EQ(mark, GridGeometry().SubCellFromPoint(r.left + dx, r.top + dy))
                        << "cell " << cell << " mark " << mark;
                }
        }
    }
}

// At every scale the window is the 96-DPI one scaled, neighbours overlap on
// their shared border, boxes start on their cells' lines, and the centre of
// every painted cell and mark hits that cell and mark.
TEST(GridGeometry, EveryScaleKeepsSharedLinesAndHitsWhatItPaints)
{
    const struct {
        int dpi;
        int window;
    } scales[] = {{96, 460}, {120, 575}, {144, 690}, {168, 805}, {192, 920}, {288, 1380}};
    for (const auto& scale : scales) {
        const GridGeometry geometry(scale.dpi);
        EXPECT_EQ(scale.window, geometry.WindowSize()) << scale.dpi;
        RECT row;
        ASSERT_EQ(1, geometry.RowRect(8, &row));
        EXPECT_EQ(scale.window, row.bottom) << scale.dpi;
        for (int cell = 0; cell < kCellCount; ++cell) {
            RECT r, next;
            ASSERT_EQ(1, geometry.CellRect(cell, &r));
            if (cell % 9 < 8) {
                geometry.CellRect(cell + 1, &next);
                EXPECT_GT(r.right, next.left) << scale.dpi << " cell " << cell;
            }
            EXPECT_EQ(cell, geometry.CellFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2)) << scale.dpi;
            for (int mark = 0; mark < kDigitCount; ++mark) {
                RECT m;
                geometry.SubCellRect(cell, mark, &m);
                const int x = (m.left + m.right) / 2, y = (m.top + m.bottom) / 2;
                EXPECT_EQ(mark, geometry.SubCellFromPoint(x, y)) << scale.dpi << " cell " << cell;
            }
        }
        for (int box = 0; box < 9; ++box) {
            RECT b, corner;
            geometry.BoxRect(box, &b);
            geometry.CellRect((box / 3) * 27 + (box % 3) * 3, &corner);
            EXPECT_EQ(b.left, corner.left);
            EXPECT_EQ(b.top, corner.top);
            EXPECT_EQ(b.left, geometry.BoxLine(box % 3));
        }
        EXPECT_EQ(kNoCell, geometry.CellFromPoint(geometry.CellLine(9), 0)) << scale.dpi;
        EXPECT_EQ(80, geometry.CellFromPoint(geometry.CellLine(9) - 1, geometry.CellLine(9) - 1)) << scale.dpi;
    }
}

}  // namespace
