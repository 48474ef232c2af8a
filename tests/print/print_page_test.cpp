#include <gtest/gtest.h>

#include <cstring>

#include "engine/player_arrays.h"
#include "tests/print/page_recording.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/printing.h"

namespace {

const float kAt600 = 600 / 25.4f;
const float kAt300 = 300 / 25.4f;

struct CellPrint {
    RECT box;
    bool hasText;
    std::string text;
    RECT textClip;
};

struct Page {
    std::vector<Drawn> records;
    std::vector<std::string> titles;  // texts drawn before the first cell
    std::vector<CellPrint> cells;
    std::vector<Drawn> strokes;  // MoveToEx and LineTo, in order
};

Page DrawPage(float perMillimetre, int page)
{
    Page out;
    out.records = RecordDrawing([&](HDC dc) { DrawPrintPage(dc, perMillimetre, perMillimetre, page); });
    for (const Drawn& record : out.records) {
        if (record.kind == Drawn::kRectangle) {
            out.cells.push_back({record.box, false, "", {0, 0, 0, 0}});
        } else if (record.kind == Drawn::kText) {
            if (out.cells.empty()) {
                out.titles.push_back(record.text);
            } else {
                out.cells.back().hasText = true;
                out.cells.back().text += record.text;
                out.cells.back().textClip = record.box;
            }
        } else if (record.kind == Drawn::kMoveTo || record.kind == Drawn::kLineTo) {
            out.strokes.push_back(record);
        }
    }
    return out;
}

::testing::AssertionResult BoxIs(const RECT& box, int left, int top, int right, int bottom)
{
    if (box.left == left && box.top == top && box.right == right && box.bottom == bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << box.left << ", " << box.top << ")-(" << box.right << ", "
                                         << box.bottom << "), expected (" << left << ", " << top << ")-(" << right
                                         << ", " << bottom << ")";
}

// A valid solution, every cell given, the player grid showing the givens.
class PrintPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int cell = 0; cell < kCellCount; ++cell) {
            const int row = cell / 9, column = cell % 9;
            Puzzle.values[cell] = static_cast<int16_t>((row * 3 + row / 3 + column) % 9 + 1);
            Puzzle.mask[cell] = kGiven;
            PlayerGrid[cell] = Puzzle.values[cell];
        }
        std::memset(PencilMarks, 0, sizeof PencilMarks);
    }

    void TearDown() override
    {
        std::memset(Puzzle.values, 0, sizeof Puzzle.values);
        std::memset(Puzzle.mask, 0, sizeof Puzzle.mask);
        std::memset(PlayerGrid, 0, sizeof PlayerGrid);
        std::memset(PencilMarks, 0, sizeof PencilMarks);
    }

    void Hide(int cell, int playerValue)
    {
        Puzzle.mask[cell] = kHidden;
        PlayerGrid[cell] = static_cast<int16_t>(playerValue);
    }
};

TEST_F(PrintPageTest, LayoutAt600DotsPerInch)
{
    const Page page = DrawPage(kAt600, 0);
    ASSERT_EQ(page.titles.size(), 1u);
    ASSERT_EQ(page.cells.size(), 81u);

    // The title's line is clipped to its rectangle, which is what it was given.
    const Drawn* title = nullptr;
    for (const Drawn& record : page.records)
        if (record.kind == Drawn::kText && !title)
            title = &record;
    EXPECT_TRUE(BoxIs(title->box, 1181, 354, 3779, 519));

    EXPECT_TRUE(BoxIs(page.cells[0].box, 1181, 708, 1417, 944));
    EXPECT_TRUE(BoxIs(page.cells[40].box, 2125, 1653, 2362, 1889));
    EXPECT_TRUE(BoxIs(page.cells[80].box, 3070, 2598, 3307, 2834));
    // Row by row, each box sharing its edges with its neighbours.
    for (int cell = 0; cell < 81; ++cell) {
        const RECT& box = page.cells[cell].box;
        if (cell % 9 != 8) {
            EXPECT_EQ(box.right, page.cells[cell + 1].box.left) << "cell " << cell;
        }
        if (cell < 72) {
            EXPECT_EQ(box.bottom, page.cells[cell + 9].box.top) << "cell " << cell;
        }
    }

    // Four horizontal rules top to bottom, then four vertical left to right.
    const int lines[4] = {708, 1417, 2125, 2834};
    const int columns[4] = {1181, 1889, 2598, 3307};
    ASSERT_EQ(page.strokes.size(), 16u);
    for (int i = 0; i < 4; ++i) {
        const Drawn& from = page.strokes[2 * i];
        const Drawn& to = page.strokes[2 * i + 1];
        EXPECT_EQ(from.kind, Drawn::kMoveTo);
        EXPECT_EQ(to.kind, Drawn::kLineTo);
        EXPECT_TRUE(from.point.x == 1181 && from.point.y == lines[i] && to.point.x == 3307 && to.point.y == lines[i])
            << "rule " << i << ": (" << from.point.x << ", " << from.point.y << ") to (" << to.point.x << ", "
            << to.point.y << ")";
        const Drawn& down = page.strokes[8 + 2 * i];
        const Drawn& end = page.strokes[9 + 2 * i];
        EXPECT_TRUE(down.point.x == columns[i] && down.point.y == 708 && end.point.x == columns[i] &&
                    end.point.y == 2834)
            << "rule " << 4 + i << ": (" << down.point.x << ", " << down.point.y << ") to (" << end.point.x << ", "
            << end.point.y << ")";
    }
}

TEST_F(PrintPageTest, FontPensAndBrushesPutBack)
{
    // The caller's own pen and brush in the device context, to see them
    // put back after each cell.
    HPEN callerPen = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    HBRUSH callerBrush = CreateSolidBrush(RGB(0, 255, 0));
    const std::vector<Drawn> records = RecordDrawing([&](HDC dc) {
        SelectObject(dc, callerPen);
        SelectObject(dc, callerBrush);
        DrawPrintPage(dc, kAt600, kAt600, 0);
    });
    DeleteObject(callerPen);
    DeleteObject(callerBrush);

    const Drawn* font = nullptr;
    const Drawn* rulePen = nullptr;
    DWORD ownPen = 0, ownBrush = 0;
    for (const Drawn& record : records) {
        if (record.kind == Drawn::kCreateFont)
            font = &record;
        if (record.kind == Drawn::kCreatePen && record.pen.lopnStyle == PS_DASH)
            ownPen = record.object;
        else if (record.kind == Drawn::kCreatePen)
            rulePen = &record;
        if (record.kind == Drawn::kCreateBrush)
            ownBrush = record.object;
    }
    ASSERT_TRUE(font && rulePen && ownPen && ownBrush);
    EXPECT_EQ(font->font.lfHeight, -118);
    EXPECT_EQ(font->font.lfWeight, 700);
    EXPECT_EQ(font->font.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(font->font.lfWidth, 0);
    EXPECT_EQ(font->font.lfItalic, 0);
    EXPECT_EQ(font->font.lfCharSet, 0);
    EXPECT_EQ(font->font.lfQuality, 0);
    EXPECT_EQ(std::wstring(font->font.lfFaceName), L"Times New Roman");
    EXPECT_EQ(rulePen->pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(rulePen->pen.lopnWidth.x, 8);
    EXPECT_EQ(rulePen->pen.lopnColor, RGB(0, 0, 0));

    // Texts in the bold font; cells outlined with the thin stock pen and not
    // filled, the caller's pen and brush back before the next cell and the
    // rules; the rules drawn with the thick pen.
    Selection selection;
    int cells = 0, strokes = 0;
    for (const Drawn& record : records) {
        if (record.kind == Drawn::kSelect && strokes == 0 &&
            (record.object == StockRecord(BLACK_PEN) || record.object == rulePen->object)) {
            EXPECT_EQ(selection.pen, ownPen) << "before cell " << cells;
            EXPECT_EQ(selection.brush, ownBrush) << "before cell " << cells;
        }
        if (record.kind == Drawn::kRectangle) {
            EXPECT_EQ(selection.pen, StockRecord(BLACK_PEN)) << "cell " << cells;
            EXPECT_EQ(selection.brush, StockRecord(NULL_BRUSH)) << "cell " << cells;
            ++cells;
        }
        if (record.kind == Drawn::kText) {
            EXPECT_EQ(selection.font, font->object) << record.text;
        }
        if (record.kind == Drawn::kMoveTo || record.kind == Drawn::kLineTo) {
            EXPECT_EQ(selection.pen, rulePen->object);
            ++strokes;
        }
        selection.Follow(record);
    }
    EXPECT_EQ(cells, 81);
    EXPECT_EQ(strokes, 16);

    // Left with the stock font and pen, the page's own font and pen deleted.
    EXPECT_EQ(selection.font, StockRecord(SYSTEM_FONT));
    EXPECT_EQ(selection.pen, StockRecord(BLACK_PEN));
    int deleted = 0;
    for (const Drawn& record : records)
        if (record.kind == Drawn::kDelete)
            deleted |= (record.object == font->object ? 1 : 0) | (record.object == rulePen->object ? 2 : 0);
    EXPECT_EQ(deleted, 3) << "1: the font deleted, 2: the rule pen deleted";
}

TEST_F(PrintPageTest, LayoutAt300DotsPerInch)
{
    const Page page = DrawPage(kAt300, 1);
    ASSERT_EQ(page.cells.size(), 81u);
    EXPECT_TRUE(BoxIs(page.cells[0].box, 590, 354, 708, 472));
    EXPECT_TRUE(BoxIs(page.cells[80].box, 1535, 1299, 1653, 1417));
    for (const Drawn& record : page.records)
        if (record.kind == Drawn::kCreateFont) {
            EXPECT_EQ(record.font.lfHeight, -59);
        }
}

TEST_F(PrintPageTest, DigitsCentredInsideTheOutline)
{
    const Page page = DrawPage(kAt600, 0);
    for (int cell : {0, 40, 80}) {
        const CellPrint& print = page.cells[cell];
        ASSERT_TRUE(print.hasText);
        EXPECT_TRUE(
            BoxIs(print.textClip, print.box.left + 1, print.box.top + 1, print.box.right - 1, print.box.bottom - 1))
            << "cell " << cell;
    }
    for (const Drawn& record : page.records) {
        if (record.kind != Drawn::kText || record.text.size() != 1)
            continue;
        const int middle = (record.box.left + record.box.right) / 2;
        EXPECT_NEAR(record.point.x + record.textWidth / 2, middle, 2) << record.text;
        EXPECT_GT(record.point.y, record.box.top) << record.text;
        EXPECT_LT(record.point.y, (record.box.top + record.box.bottom) / 2) << record.text;
    }
}

TEST_F(PrintPageTest, GridPageShowsThePlayersDigitsSolutionPageTheSolution)
{
    const int emptyCell = 10, wrongCell = 20, rightCell = 30, markedCell = 50, givenCell = 0;
    Hide(emptyCell, 0);
    const int wrongDigit = Puzzle.values[wrongCell] % 9 + 1;
    Hide(wrongCell, wrongDigit);
    Hide(rightCell, Puzzle.values[rightCell]);
    Hide(markedCell, 0);
    for (int digit = 1; digit <= 9; ++digit)
        PencilMarks[markedCell * 9 + digit - 1] = 1;
    // A given prints the solution whatever the player grid holds there.
    PlayerGrid[givenCell] = 0;

    const Page grid = DrawPage(kAt600, 0);
    const Page solution = DrawPage(kAt600, 1);
    ASSERT_EQ(grid.cells.size(), 81u);
    ASSERT_EQ(solution.cells.size(), 81u);
    ASSERT_EQ(grid.titles.size(), 1u);
    ASSERT_EQ(solution.titles.size(), 1u);
    EXPECT_EQ(grid.titles[0], "NONARO par Torvel1");
    EXPECT_EQ(solution.titles[0], "Solution NONARO");

    for (int cell = 0; cell < 81; ++cell) {
        const std::string right = std::to_string(Puzzle.values[cell]);
        EXPECT_EQ(solution.cells[cell].text, right) << "solution page, cell " << cell;
        if (cell == emptyCell || cell == markedCell) {
            EXPECT_FALSE(grid.cells[cell].hasText) << "grid page, cell " << cell << ": " << grid.cells[cell].text;
        } else if (cell == wrongCell) {
            EXPECT_EQ(grid.cells[cell].text, std::to_string(wrongDigit)) << "grid page, the wrong digit as entered";
        } else {
            EXPECT_EQ(grid.cells[cell].text, right) << "grid page, cell " << cell;
        }
    }
}

}  // namespace
