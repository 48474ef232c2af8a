#include "ui/grid/grid_window.h"

#include "play/cell_navigation.h"
#include "ui/contrast_theme.h"
#include "ui/display_scale.h"
#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_painting.h"
#include "play/grid_geometry.h"

namespace {

// Forgets the selection and has its cell repainted without the pattern.
void DropSelection(GridBoard* board, HWND window)
{
    // The repaint comes later, from WM_PAINT, when the cell is no longer selected.
    if (board->Repaint(window, kCellArea, board->selectedCell))
        board->selectedCell = kNoCell;
}

// S, C and G, in either case, choose "Stylo", "Crayon" and "Gomme" through
// the main window, which treats them as it treats its shortcut keys.
bool ChooseToolByLetter(HWND window, WPARAM character)
{
    static const struct {
        WPARAM letter;
        int command;
    } kToolLetters[] = {{'S', kPenCommand}, {'C', kPencilCommand}, {'G', kEraserCommand}};
    const WPARAM upper = character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
    for (const auto& tool : kToolLetters)
        if (upper == tool.letter) {
            SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(tool.command, 1), 0);
            return true;
        }
    return false;
}

// A box or a dialog disables the main window and so keeps the player's keys
// and clicks from the grid; what its modal loop still hands the grid then
// was posted by another program, and the board under the box is left alone.
bool TakesInput(HWND window) { return IsWindowEnabled(GetAncestor(window, GA_ROOT)) != FALSE; }

// Where the grid window goes in the main window at the board's scale.
POINT PlaceInMainWindow(const GridBoard* board, HWND mainWindow)
{
    // Zeroed so that a missing toolbar counts as no height instead of garbage.
    RECT client = {0, 0, 0, 0};
    RECT toolbar = {0, 0, 0, 0};
    GetClientRect(mainWindow, &client);
    GetWindowRect(GetDlgItem(mainWindow, kToolbarId), &toolbar);
    return GridWindowOrigin(client, toolbar.bottom - toolbar.top, board->dpi);
}

// A click's selection: the focus taken, the old cell repainted plain, the new
// one shown in its pattern at once, and screen readers told when it changed.
// Givens and points off the cells (kNoCell) select nothing. With `eraseAt`
// and the eraser, the cell's digit or the mark there is erased instead, which
// leaves nothing selected.
void SelectAsClick(GridBoard* board, HWND window, int32_t cell, const POINT* eraseAt)
{
    SetFocus(window);
    const int32_t before = board->selectedCell;
    DropSelection(board, window);
    board->blinkOn = 1;
    board->selectedCell = (cell == kNoCell || board->cellMask[cell] == kGiven) ? kNoCell : cell;
    if (eraseAt && board->toolMode == kEraserTool && board->selectedCell != kNoCell) {
        board->HandleEraserClick(window, static_cast<unsigned int>(eraseAt->x), static_cast<unsigned int>(eraseAt->y));
    } else {
        board->Repaint(window, kCellArea, board->selectedCell);
    }
    if (board->selectedCell != before && GetFocus() == window)
        AnnounceFocus(board, window, true);
}

}  // namespace

void SelectCell(GridBoard* board, HWND window, int32_t cell) { SelectAsClick(board, window, cell, nullptr); }

void PassFocusToGrid(const GridBoard* board)
{
    // A clash's message box is closing: the rule that opened it gives the
    // focus back itself once the selection is back, so that screen readers
    // hear the cell rather than the bare grid.
    if (board->savedSelection != kNoCell)
        return;
    // While the main window is destroyed its children are already hidden.
    if (board->window && IsWindowVisible(board->window))
        SetFocus(board->window);
}

ATOM RegisterGridClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = GridWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kGridClassName;
    return RegisterClassA(&windowClass);
}

POINT GridWindowOrigin(const RECT& client, int toolbarHeight, int dpi)
{
    // The grid less its last pixel line: centring on it rather than on the
    // whole window keeps the historical placement.
    const int extent = GridGeometry(dpi).CellLine(9);
    POINT origin;
    origin.x = (client.right - extent) / 2;
    origin.y = toolbarHeight + (client.bottom - toolbarHeight - extent) / 2;
    return origin;
}

int CreateGridWindow(GridBoard* board, HWND mainWindow)
{
    if (board->window)
        return 0;
    SetBoardScale(board, WindowDpi(mainWindow));
    const POINT origin = PlaceInMainWindow(board, mainWindow);
    const int size = GridGeometry(board->dpi).WindowSize();
    board->window = CreateWindowExA(0, kGridClassName, "", WS_CHILD | WS_VISIBLE, origin.x, origin.y, size, size,
                                    mainWindow, NULL, GetModuleHandleA(NULL), board);
    if (!board->window)
        return 0;
    UpdateWindow(board->window);
    return 1;
}

void RescaleGridWindow(GridBoard* board, HWND mainWindow, int dpi)
{
    SetBoardScale(board, dpi);
    if (!board->window)
        return;
    const POINT origin = PlaceInMainWindow(board, mainWindow);
    const int size = GridGeometry(dpi).WindowSize();
    SetWindowPos(board->window, NULL, origin.x, origin.y, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(board->window, NULL, TRUE);
}

LRESULT CALLBACK GridWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        // In the 32-bit program these are SetWindowLongA and GWL_USERDATA,
        // the same call and slot; the pointer forms hold a whole pointer in
        // the 64-bit build.
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    GridBoard* board = reinterpret_cast<GridBoard*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!board)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CREATE:
        return OnCreate(board, window);
    case WM_DESTROY:
        return OnDestroy(board, window);
    case WM_KILLFOCUS:
        return OnKillFocus(board, window);
    case WM_PAINT:
        return OnPaint(board, window);
    case WM_ERASEBKGND:
        // The class's grey would flash under a contrast theme's cells before
        // they are painted over it.
        if (ContrastThemeOn()) {
            RECT all;
            GetClientRect(window, &all);
            FillRect(reinterpret_cast<HDC>(wParam), &all, GetSysColorBrush(COLOR_WINDOW));
            return 1;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(board, window, wParam, lParam);
    case WM_KEYDOWN:
        return TakesInput(window) ? OnKeyDown(board, window, wParam) : 0;
    case WM_CHAR:
        if (TakesInput(window) && !ChooseToolByLetter(window, wParam))
            board->HandleDigitKey(window, static_cast<unsigned int>(wParam));
        return 0;
    case WM_TIMER:
        return OnTimer(board, window, wParam);
    case WM_LBUTTONDOWN:
        return TakesInput(window) ? OnLButtonDown(board, window, lParam) : 0;
    case WM_GETOBJECT:
        return OnGetObject(board, window, wParam, lParam);
    case WM_SETFOCUS:
        // Nothing changes on the board; screen readers only learn where the
        // focus landed (the cell a refused entry gives back, or the grid).
        AnnounceFocus(board, window, false);
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        // A double click's second press arrives as WM_LBUTTONDBLCLK and ends
        // here, so a double click acts as one click.
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT OnCreate(GridBoard* board, HWND window)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    board->eraserCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kEraserCursorId));
    MakePatterns(board);
    board->window = window;
    SetTimer(window, kBlinkTimer, kBlinkPeriod, NULL);
    return 0;
}

LRESULT OnDestroy(GridBoard* board, HWND window)
{
    KillTimer(window, kBlinkTimer);
    if (board->clockRunning) {
        KillTimer(window, kClockTimer);
        board->clockRunning = 0;
    }
    ReleasePatterns(board);
    // A cursor from the program's resources is shared by the system: not destroyed.
    board->eraserCursor = NULL;
    return 0;
}

LRESULT OnKillFocus(GridBoard* board, HWND window)
{
    if (board->selectedCell != kNoCell)
        board->lostFocusCell = board->selectedCell;
    DropSelection(board, window);
    return 0;
}

LRESULT OnSetCursor(GridBoard* board, HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return DefWindowProcA(window, WM_SETCURSOR, wParam, lParam);
    HCURSOR cursor;
    if (board->toolMode & kBusyFlag)
        cursor = LoadCursorA(NULL, IDC_WAIT);
    else if (board->toolMode & kEraserTool)
        cursor = board->eraserCursor;
    else
        cursor = LoadCursorA(NULL, IDC_HAND);
    SetCursor(cursor);
    return 0;
}

LRESULT OnKeyDown(GridBoard* board, HWND window, WPARAM key)
{
    if (key == VK_DELETE) {
        board->HandleDeleteKey(window);
        return 0;
    }
    if (key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT)
        return 0;
    const int32_t from = board->selectedCell;
    if (from == kNoCell && board->toolMode <= kPencilTool) {
        // Without a mouse an arrow is the only way to select a first cell.
        const int32_t start = ArrowStartCell(board->cellMask, board->lostFocusCell);
        if (start != kNoCell)
            SelectCell(board, window, start);
        return 0;
    }
    if (!IsCell(from) || board->cellMask[from] != kHidden || board->toolMode > kPencilTool)
        return 0;
    const int32_t target = NavigationTarget(board->cellMask, from, key);
    if (target == kNoCell)
        return 0;
    // The target is left for the next blink tick to paint in its pattern.
    DropSelection(board, window);
    board->selectedCell = target;
    if (GetFocus() == window)
        AnnounceFocus(board, window, true);
    return 0;
}

LRESULT OnTimer(GridBoard* board, HWND window, WPARAM timerId)
{
    if (timerId == kBlinkTimer) {
        board->blinkOn = board->blinkOn == 0 ? 1 : 0;
        // Painted one at a time, each before the next is looked at.
        const int32_t cells[3] = {board->selectedCell, board->conflictCell, board->savedSelection};
        for (int32_t cell : cells)
            if (board->Repaint(window, kCellArea, cell))
                UpdateWindow(window);
    } else if (timerId == kClockTimer) {
        board->TickClock();
    }
    return 0;
}

LRESULT OnLButtonDown(GridBoard* board, HWND window, LPARAM point)
{
    const POINT at = {LOWORD(point), HIWORD(point)};
    SelectAsClick(board, window, GridGeometry(board->dpi).CellFromPoint(at.x, at.y), &at);
    return 0;
}
