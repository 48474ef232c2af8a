#include <gtest/gtest.h>

#include <ole2.h>
#include <oleacc.h>

#include <cstring>

#include "play/grid_geometry.h"
#include "play/grid_board.h"
#include "tests/ui/window_support.h"
#include "ui/grid/grid_window.h"

namespace {

RECT Cell(int cell)
{
    RECT area = {0, 0, 0, 0};
    GridGeometry().CellRect(cell, &area);
    return area;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }
LPARAM CentreOf(int cell) { return Point((cell % 9) * 51 + 25, (cell / 9) * 51 + 25); }

int HistoryLength(const GridBoard& board)
{
    int length = 0;
    for (HistoryNode* node = board.history.first; node; node = node->next)
        ++length;
    return length;
}

class GridWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(GridClassRegistered()); }

    void SetUp() override
    {
        std::memset(player, 0, sizeof(player));
        std::memset(mask, kHidden, sizeof(mask));
        std::memset(marks, 0, sizeof(marks));
        board = new GridBoard(player, mask, marks);
        parent = CreateTestParent(474, 500);
        ASSERT_NE(parent, nullptr);
        toolbar = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 474, 28, parent,
                                  reinterpret_cast<HMENU>(kToolbarId), GetModuleHandleA(NULL), NULL);
        ASSERT_EQ(CreateGridWindow(board, parent), 1);
        grid = board->window;
        PumpMessages();
    }

    void TearDown() override
    {
        DestroyWindow(parent);
        delete board;
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendMessageA(grid, message, wParam, lParam); }

    // Starts from a window with nothing waiting to be repainted.
    void Settle()
    {
        PumpMessages();
        ValidateRect(grid, NULL);
    }

    int16_t player[kCellCount];
    uint8_t mask[kCellCount];
    uint8_t marks[kMarkCount];
    GridBoard* board = nullptr;
    HWND parent = NULL;
    HWND toolbar = NULL;
    HWND grid = NULL;
};

TEST(GridPlacementTest, CentresOnTheGridLessItsLastLineBelowTheToolbar)
{
    RECT wide = {0, 0, 474, 500};
    EXPECT_EQ(GridWindowOrigin(wide, 28).x, 7);
    EXPECT_EQ(GridWindowOrigin(wide, 28).y, 34);
    // Signed division truncates toward zero: -59 / 2 is -29, not -30.
    RECT narrow = {0, 0, 400, 300};
    EXPECT_EQ(GridWindowOrigin(narrow, 28).x, -29);
    EXPECT_EQ(GridWindowOrigin(narrow, 28).y, 28 + (300 - 28 - 459) / 2);
}

TEST_F(GridWindowTest, CreationPlacesOneWindowAndArmsTheBoard)
{
    char className[32] = "";
    GetClassNameA(grid, className, sizeof(className));
    EXPECT_STREQ(className, kGridClassName);
    RECT area;
    GetWindowRect(grid, &area);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, 7);
    EXPECT_EQ(area.top, 34);
    EXPECT_EQ(area.right - area.left, 460);
    EXPECT_EQ(area.bottom - area.top, 460);
    EXPECT_EQ(reinterpret_cast<GridBoard*>(GetWindowLongPtrA(grid, GWLP_USERDATA)), board);
    EXPECT_NE(board->penSelectionBrush, nullptr);
    EXPECT_NE(board->pencilSelectionBrush, nullptr);
    EXPECT_NE(board->eraserCursor, nullptr);

    EXPECT_EQ(CreateGridWindow(board, parent), 0);
    EXPECT_EQ(board->window, grid);
    EXPECT_EQ(FindWindowExA(parent, grid, kGridClassName, NULL), nullptr);
}

TEST_F(GridWindowTest, DestructionReleasesWhatTheWindowMade)
{
    board->clockRunning = 1;
    DestroyWindow(grid);
    EXPECT_EQ(board->penSelectionBrush, nullptr);
    EXPECT_EQ(board->pencilSelectionBrush, nullptr);
    EXPECT_EQ(board->eraserCursor, nullptr);
    EXPECT_EQ(board->clockRunning, 0);
}

TEST_F(GridWindowTest, ClicksSelectHiddenCellsOnly)
{
    mask[10] = kGiven;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(12));
    EXPECT_EQ(board->selectedCell, 12);
    EXPECT_EQ(board->blinkOn, 1);

    // Clicking the selected cell again keeps it and shows its colour at once.
    board->blinkOn = 0;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(12));
    EXPECT_EQ(board->selectedCell, 12);
    EXPECT_EQ(board->blinkOn, 1);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(10));
    EXPECT_EQ(board->selectedCell, kNoCell);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(12));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(459, 100));
    EXPECT_EQ(board->selectedCell, kNoCell);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(12));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 459));
    EXPECT_EQ(board->selectedCell, kNoCell);
}

TEST_F(GridWindowTest, AClickRepaintsTheOldAndTheNewCell)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(0));
    Settle();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(80));
    RECT both;
    RECT first = Cell(0);
    RECT last = Cell(80);
    UnionRect(&both, &first, &last);
    EXPECT_TRUE(Same(PendingUpdate(grid), both));
}

TEST_F(GridWindowTest, TheEraserWorksOnTheClickedCellOnceAndLeavesNothingSelected)
{
    player[20] = 4;
    board->SetTool(kEraserTool);
    const int before = HistoryLength(*board);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(20));
    // The second press of a double click is not a click.
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, CentreOf(20));
    EXPECT_EQ(player[20], 0);
    EXPECT_EQ(board->selectedCell, kNoCell);
    EXPECT_EQ(HistoryLength(*board), before + 1);

    mask[21] = kGiven;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(21));
    EXPECT_EQ(HistoryLength(*board), before + 1);
}

TEST_F(GridWindowTest, ArrowKeysMoveOnlyAHiddenSelectionWithPenOrPencil)
{
    // With nothing selected an arrow selects a cell and shows it at once.
    board->blinkOn = 0;
    Send(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(board->selectedCell, 0);
    EXPECT_EQ(board->blinkOn, 1);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(40));
    Settle();
    Send(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(board->selectedCell, 41);
    // The old cell is repainted now, the new one at the next blink tick.
    EXPECT_TRUE(Same(PendingUpdate(grid), Cell(40)));

    board->SetTool(kPencilTool);
    Send(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(board->selectedCell, 50);

    board->SetTool(kEraserTool);
    Send(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(board->selectedCell, 50);

    board->SetTool(kPenTool);
    board->MarkBusy();
    Send(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(board->selectedCell, 50);

    board->SetTool(kPenTool);
    Send(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(board->selectedCell, 50);
}

TEST_F(GridWindowTest, ScreenReadersSelectACellToFillAsAClickDoesAndNoGiven)
{
    const HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IAccessible* table = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(grid, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&table)), S_OK);
    mask[11] = kGiven;
    player[20] = 6;
    board->SetTool(kEraserTool);  // a reader's selection is no eraser click: nothing is erased
    const LONG kDefault = 0;      // accDoDefaultAction
    const struct {
        LONG flags, child;
        HRESULT result;
    } rows[] = {
        {SELFLAG_TAKEFOCUS, 13, S_OK},
        {SELFLAG_TAKESELECTION, 81, S_OK},
        {kDefault, 21, S_OK},
        {SELFLAG_TAKEFOCUS, 12, DISP_E_MEMBERNOTFOUND},
        {kDefault, 12, DISP_E_MEMBERNOTFOUND},
    };
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    for (const auto& row : rows) {
        SetFocus(parent);
        child.lVal = row.child;
        EXPECT_EQ(row.flags == kDefault ? table->accDoDefaultAction(child) : table->accSelect(row.flags, child),
                  row.result);
        const int selected = row.result == S_OK ? row.child - 1 : kNoCell;
        EXPECT_EQ(board->selectedCell, selected) << row.child;
        EXPECT_EQ(GetFocus() == grid, selected != kNoCell) << row.child;
    }
    EXPECT_EQ(player[20], 6);
    // While a box holds the main window no click reaches the grid either.
    EnableWindow(parent, FALSE);
    child.lVal = 13;
    EXPECT_EQ(table->accDoDefaultAction(child), E_FAIL);
    EnableWindow(parent, TRUE);
    table->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
}

TEST_F(GridWindowTest, LosingTheFocusDropsTheSelection)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(30));
    Settle();
    Send(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(board->selectedCell, kNoCell);
    EXPECT_TRUE(Same(PendingUpdate(grid), Cell(30)));
}

TEST_F(GridWindowTest, TimerTicksBlinkCountOrDoNothing)
{
    board->blinkOn = 1;
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(board->blinkOn, 0);
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(board->blinkOn, 1);

    const uint32_t seconds = board->elapsedSeconds;
    Send(WM_TIMER, 2, 0);
    EXPECT_EQ(board->elapsedSeconds, seconds + 1);
    Send(WM_TIMER, 3, 0);
    EXPECT_EQ(board->elapsedSeconds, seconds + 1);
    EXPECT_EQ(board->blinkOn, 1);
}

TEST_F(GridWindowTest, TheBlinkTickPaintsTheSelectionAndTheClashCellsAtOnce)
{
    const COLORREF penField = RGB(255, 166, 166);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(5));
    board->conflictCell = 7;
    board->savedSelection = 60;
    InvalidateRect(grid, NULL, TRUE);
    UpdateWindow(grid);
    HDC dc = GetDC(grid);
    auto corner = [&](int cell) { return GetPixel(dc, (cell % 9) * 51 + 2, (cell / 9) * 51 + 2); };
    EXPECT_EQ(corner(5), penField);
    EXPECT_EQ(corner(7), kConflictColour);
    EXPECT_EQ(corner(60), kConflictColour);

    // No message is pumped: the tick itself must have painted.
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(corner(5), kPlainColour);
    EXPECT_EQ(corner(7), kPlainColour);
    EXPECT_EQ(corner(60), kPlainColour);
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(corner(5), penField);
    EXPECT_EQ(corner(60), kConflictColour);
    ReleaseDC(grid, dc);
}

TEST_F(GridWindowTest, TheCursorFollowsTheTool)
{
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), overClient), 0);
    EXPECT_EQ(GetCursor(), LoadCursorA(NULL, IDC_HAND));

    board->SetTool(kPencilTool);
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorA(NULL, IDC_HAND));

    board->SetTool(kEraserTool);
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), overClient);
    EXPECT_EQ(GetCursor(), board->eraserCursor);

    // The hourglass wins over the eraser while a grid is being made.
    board->MarkBusy();
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorA(NULL, IDC_WAIT));
}

}  // namespace
