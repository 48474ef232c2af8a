#include "ui/shell/solution_window.h"

#include <cstdlib>

#include "engine/puzzle_grid.h"
#include "play/grid_board.h"
#include "ui/contrast_theme.h"
#include "ui/display_scale.h"
#include "resources/program_ids.h"

namespace {

const int kCellPitch = 30;
// Two cells of a box share a border line; the last one of a box is narrower,
// which leaves a line of background between the boxes.
const int kCellSize = 31;
const int kLastCellOfBoxSize = 29;
const int kClientSize = 271;
// Where the window opens, from the owner's top-left corner.
const int kOffsetX = 300;
const int kOffsetY = 150;

// A cell's place along one axis at a scale: both of its edges scaled.
void CellSpan(int index, int dpi, int* start, int* size)
{
    const int from = index * kCellPitch;
    const int to = from + (index % 3 == 2 ? kLastCellOfBoxSize : kCellSize);
    *start = ScaledPixels(from, dpi);
    *size = ScaledPixels(to, dpi) - *start;
}

void BuildCells(SolutionWindow* solution)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    for (int cell = 0; cell < kCellCount; ++cell) {
        int x, y, width, height;
        CellSpan(cell % 9, solution->dpi, &x, &width);
        CellSpan(cell / 9, solution->dpi, &y, &height);
        char text[12];
        _itoa(solution->puzzle->values[cell], text, 10);
        HWND control =
            CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER | SS_CENTERIMAGE, x, y,
                            width, height, solution->window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstSolutionCellId + cell)), instance, NULL);
        if (solution->cellFont)
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(solution->cellFont), FALSE);
    }
}

// The digits' font: the controls' default at 96 DPI, elsewhere the system's
// GUI font in bold, as near that look as a scalable face comes.
HFONT MakeCellFont(int dpi) { return CreateControlFontForDpi(dpi, FW_BOLD); }

LRESULT ColourCell(SolutionWindow* solution, HWND window, WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    const int id = GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_ID);
    const bool cell = id >= kFirstSolutionCellId && id < kFirstSolutionCellId + kCellCount;
    if (cell && ContrastThemeOn()) {
        // The cells to find stand out in the highlight, as they stand out in
        // white elsewhere; each colour is set on its own role's ground.
        const bool hidden = solution->puzzle->mask[id - kFirstSolutionCellId] != kGiven;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(hidden ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(hidden ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    }
    if (cell && solution->puzzle->mask[id - kFirstSolutionCellId] != kGiven) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    return DefWindowProcA(window, WM_CTLCOLORSTATIC, wParam, lParam);
}

}  // namespace

SolutionWindow::SolutionWindow(PuzzleGrid* puzzle) : window(NULL), puzzle(puzzle), dpi(kBaseDpi), cellFont(NULL) {}

ATOM RegisterSolutionClass()
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SolutionWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kSolutionClassName;
    return RegisterClassA(&windowClass);
}

int SolutionWindow::Open(HWND owner)
{
    // An open window is neither refreshed nor brought forward here.
    if (window)
        return 0;
    // Laid out for the owner's display, where it opens.
    dpi = WindowDpi(owner);
    cellFont = MakeCellFont(dpi);
    const int caption = SystemMetricForDpi(SM_CYCAPTION, dpi);
    const int frameX = SystemMetricForDpi(SM_CXDLGFRAME, dpi);
    const int frameY = SystemMetricForDpi(SM_CYDLGFRAME, dpi);
    const int client = ScaledPixels(kClientSize, dpi);
    RECT ownerArea = {0, 0, 0, 0};
    GetWindowRect(owner, &ownerArea);
    // WM_CREATE has already stored the handle; this keeps it null on failure.
    window =
        CreateWindowExA(WS_EX_TOPMOST, kSolutionClassName, "Solution", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                        ownerArea.left + ScaledPixels(kOffsetX, dpi), ownerArea.top + ScaledPixels(kOffsetY, dpi),
                        2 * frameX + client, 2 * frameY + caption + client, owner, NULL, GetModuleHandleA(NULL), this);
    if (!window && cellFont) {
        DeleteObject(cellFont);
        cellFont = NULL;
    }
    if (!window)
        return 0;
    UpdateWindow(window);
    return 1;
}

void SolutionWindow::Refresh()
{
    if (!window)
        return;
    for (int cell = 0; cell < kCellCount; ++cell) {
        char text[12];
        _itoa(puzzle->values[cell], text, 10);
        SetDlgItemTextA(window, kFirstSolutionCellId + cell, text);
        // Also when the digit stays: its colour follows the new givens.
        InvalidateRect(GetDlgItem(window, kFirstSolutionCellId + cell), NULL, TRUE);
    }
}

void SolutionWindow::Rescale(int newDpi)
{
    dpi = newDpi;
    // A closed window draws nothing; opening makes the font for its scale.
    if (!window)
        return;
    HFONT old = cellFont;
    cellFont = MakeCellFont(dpi);
    for (int cell = 0; cell < kCellCount; ++cell) {
        int x, y, width, height;
        CellSpan(cell % 9, dpi, &x, &width);
        CellSpan(cell / 9, dpi, &y, &height);
        HWND control = GetDlgItem(window, kFirstSolutionCellId + cell);
        SetWindowPos(control, NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // Null puts the controls back on their default font.
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(cellFont), TRUE);
    }
    // Only once no control draws with it any more.
    if (old)
        DeleteObject(old);
}

LRESULT CALLBACK SolutionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        // In the 32-bit program these are SetWindowLongA and GWL_USERDATA,
        // the same call and slot; the pointer forms hold a whole pointer in
        // the 64-bit build.
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    SolutionWindow* solution = reinterpret_cast<SolutionWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!solution)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CREATE:
        solution->window = window;
        BuildCells(solution);
        return 0;
    case WM_DESTROY:
        // So that the command can open the window again.
        solution->window = NULL;
        if (solution->cellFont)
            DeleteObject(solution->cellFont);
        solution->cellFont = NULL;
        return 0;
    case kDpiChangedMessage: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        solution->Rescale(HIWORD(wParam));
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return ColourCell(solution, window, wParam, lParam);
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        // Windows tells every top-level window; this one repaints its cells
        // in the new colours itself.
        if (IsThemeChange(message, wParam)) {
            ReadContrastTheme();
            KeepClassBackground(window);
            RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
