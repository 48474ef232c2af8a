#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "play/grid_geometry.h"
#include "play/grid_board.h"
#include "tests/e2e/grid_view.h"
#include "tests/ui/window_support.h"
#include "ui/grid/grid_painting.h"
#include "ui/grid/grid_window.h"

namespace {

const COLORREF kBorder = RGB(192, 192, 192);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kMarkRed = RGB(255, 0, 0);

// The board drawn into a 460 x 460 bitmap, as the grid window draws it.
class GridPaintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(player, 0, sizeof(player));
        std::memset(mask, kHidden, sizeof(mask));
        std::memset(marks, 0, sizeof(marks));
        board = new GridBoard(player, mask, marks);
        // The pattern brushes come with the window.
        ASSERT_TRUE(GridClassRegistered());
        parent = CreateTestParent(474, 500);
        CreateGridWindow(board, parent);

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 460;
        info.bmiHeader.biHeight = -460;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(NULL);
        void* bits = NULL;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        saved = SelectObject(dc, bitmap);
    }

    void TearDown() override
    {
        SelectObject(dc, saved);
        DeleteObject(bitmap);
        DeleteDC(dc);
        DestroyWindow(parent);
        delete board;
    }

    void Draw()
    {
        HPEN boxPen = CreatePen(PS_SOLID, 3, kBlack);
        HPEN borderPen = CreatePen(PS_SOLID, 1, kBorder);
        DrawBoard(board, dc, boxPen, borderPen);
        GdiFlush();
        DeleteObject(boxPen);
        DeleteObject(borderPen);
    }

    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }

    // How many pixels of the rectangle have the colour.
    int Count(const RECT& area, COLORREF colour)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }

    int CountInCell(int cell, COLORREF colour)
    {
        RECT area;
        GridGeometry().CellRect(cell, &area);
        InflateRect(&area, -2, -2);
        return Count(area, colour);
    }

    int16_t player[kCellCount];
    uint8_t mask[kCellCount];
    uint8_t marks[kMarkCount];
    GridBoard* board = nullptr;
    HWND parent = NULL;
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ saved = NULL;
};

TEST_F(GridPaintingTest, AnEmptyBoardIsPaleCellsWithGreyBordersAndBlackBoxLines)
{
    Draw();
    for (int cell = 0; cell < kCellCount; ++cell)
        EXPECT_EQ(At((cell % 9) * 51 + 25, (cell / 9) * 51 + 25), kPlainColour) << "cell " << cell;
    EXPECT_EQ(At(51, 25), kBorder);
    EXPECT_EQ(At(25, 102), kBorder);
    for (int line : {153, 306}) {
        EXPECT_EQ(At(line - 1, 25), kBlack);
        EXPECT_EQ(At(line, 25), kBlack);
        EXPECT_EQ(At(line + 1, 25), kBlack);
        EXPECT_EQ(At(25, line), kBlack);
        EXPECT_EQ(At(line + 2, 25), kPlainColour);
    }
    EXPECT_EQ(At(0, 200), kBlack);
    EXPECT_EQ(At(459, 200), kBlack);
    EXPECT_EQ(At(200, 459), kBlack);
}

TEST_F(GridPaintingTest, BrushRulesPutTheClashFirstThenTheToolThenTheTint)
{
    board->selectedCell = 10;
    board->blinkOn = 1;
    EXPECT_EQ(CellBrush(board, 10), board->penSelectionBrush);
    board->SetTool(kPencilTool);
    EXPECT_EQ(CellBrush(board, 10), board->pencilSelectionBrush);
    board->SetTool(kEraserTool);
    EXPECT_EQ(CellBrush(board, 10), board->cellBrush);
    board->SetTool(kPenTool);
    board->MarkBusy();
    EXPECT_EQ(CellBrush(board, 10), board->cellBrush);
    board->SetTool(kPenTool);

    board->savedSelection = 10;
    board->conflictCell = 14;
    EXPECT_EQ(CellBrush(board, 10), board->conflictBrush);
    EXPECT_EQ(CellBrush(board, 14), board->conflictBrush);

    board->rowComplete[1] = 1;
    board->blinkOn = 0;
    EXPECT_EQ(CellBrush(board, 10), board->completeBrush);
    EXPECT_EQ(CellBrush(board, 14), board->completeBrush);
    EXPECT_EQ(CellBrush(board, 0), board->cellBrush);
    board->columnComplete[0] = 1;
    board->boxComplete[8] = 1;
    EXPECT_EQ(CellBrush(board, 0), board->completeBrush);
    EXPECT_EQ(CellBrush(board, 80), board->completeBrush);
}

TEST_F(GridPaintingTest, TheSelectionShowsItsToolsPatternWholeInItsCell)
{
    board->selectedCell = 40;
    board->blinkOn = 1;
    Draw();
    EXPECT_EQ(At(4 * 51 + 2, 4 * 51 + 2), kPenField);
    EXPECT_GT(CountInCell(40, kPenLetter), 100);

    board->SetTool(kPencilTool);
    Draw();
    EXPECT_EQ(At(4 * 51 + 2, 4 * 51 + 2), kPencilField);
    EXPECT_GT(CountInCell(40, kPencilLetter), 100);

    board->rowComplete[4] = 1;
    board->blinkOn = 0;
    Draw();
    EXPECT_EQ(At(4 * 51 + 2, 4 * 51 + 2), kCompleteColour);
}

TEST_F(GridPaintingTest, DigitColourFollowsTheMaskAndHidesTheMarks)
{
    mask[0] = kGiven;
    player[0] = 7;
    player[1] = 7;  // the player's digit
    player[2] = 3;
    marks[2 * 9 + 4] = 1;  // stored under a digit: not shown
    Draw();
    EXPECT_GT(CountInCell(0, kGivenInk), 10);
    EXPECT_EQ(CountInCell(0, kBlack), 0);
    EXPECT_GT(CountInCell(1, kBlack), 10);
    EXPECT_EQ(CountInCell(1, kGivenInk), 0);
    EXPECT_EQ(CountInCell(2, kMarkRed), 0);

    player[2] = 0;
    Draw();
    EXPECT_GT(CountInCell(2, kMarkRed), 0);
}

// Wine has no "Times New Roman"; the prefixes we run in map it to Liberation
// Serif, and without that map Wine quietly draws a sans-serif face. Face names
// cannot tell (a replaced face reports the name asked for), the pixels can.
TEST_F(GridPaintingTest, UnderWineTheDigitsAreDrawnInLiberationSerif)
{
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "only Wine replaces the face";
    for (int cell = 0; cell < 9; ++cell)
        player[cell] = static_cast<int16_t>(cell + 1);
    mask[0] = kGiven;

    auto picture = [&] {
        Draw();
        std::string pixels;
        for (int y = 0; y < 52; ++y)
            for (int x = 0; x < 460; ++x) {
                const COLORREF colour = At(x, y);
                pixels.append(reinterpret_cast<const char*>(&colour), sizeof colour);
            }
        return pixels;
    };
    const std::string asDrawn = picture();
    HFONT boardFont = board->digitFont;
    auto drawnIn = [&](const char* face) {
        LOGFONTA font = {};
        GetObjectA(boardFont, sizeof font, &font);
        lstrcpyA(font.lfFaceName, face);
        board->digitFont = CreateFontIndirectA(&font);
        const std::string pixels = picture();
        DeleteObject(board->digitFont);
        board->digitFont = boardFont;
        return pixels;
    };
    EXPECT_TRUE(asDrawn == drawnIn("Liberation Serif")) << "the digits are not drawn in Liberation Serif";
    // The comparison tells faces apart: the sans-serif fallback differs.
    EXPECT_FALSE(asDrawn == drawnIn("Liberation Sans"));
}

TEST_F(GridPaintingTest, MarksShowOnlyWhereTheByteIsOneAndInTheirOwnSquare)
{
    marks[30 * 9 + 0] = 1;  // mark 1: top left
    marks[30 * 9 + 8] = 2;  // not a mark
    marks[31 * 9 + 8] = 1;  // mark 9: bottom right
    Draw();
    RECT first, last;
    GridGeometry().SubCellRect(30, 0, &first);
    GridGeometry().SubCellRect(31, 8, &last);
    EXPECT_GT(Count(first, kMarkRed), 0);
    EXPECT_GT(Count(last, kMarkRed), 0);
    EXPECT_EQ(CountInCell(30, kMarkRed), Count(first, kMarkRed));
    EXPECT_EQ(CountInCell(31, kMarkRed), Count(last, kMarkRed));
}

}  // namespace
