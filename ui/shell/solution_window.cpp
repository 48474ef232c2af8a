#include "ui/shell/solution_window.h"

#include <cstdlib>

#include "engine/puzzle_grid.h"
#include "ui/shell/command_ids.h"

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

void BuildCells(SolutionWindow* solution)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int row = cell / 9;
        const int column = cell % 9;
        char text[12];
        _itoa(solution->puzzle->values[cell], text, 10);
        CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER | SS_CENTERIMAGE,
                        column * kCellPitch, row * kCellPitch,
                        column % 3 == 2 ? kLastCellOfBoxSize : kCellSize,
                        row % 3 == 2 ? kLastCellOfBoxSize : kCellSize, solution->window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstSolutionCellId + cell)), instance,
                        NULL);
    }
}

LRESULT ColourCell(SolutionWindow* solution, HWND window, WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    const int id = GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_ID);
    if (id >= kFirstSolutionCellId && id < kFirstSolutionCellId + kCellCount &&
        solution->puzzle->mask[id - kFirstSolutionCellId] != kGiven) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    return DefWindowProcA(window, WM_CTLCOLORSTATIC, wParam, lParam);
}

}  // namespace

SolutionWindow::SolutionWindow(PuzzleGrid* puzzle) : window(NULL), puzzle(puzzle) {}

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
    windowClass.lpszClassName = "NonaroSolutionClass";
    return RegisterClassA(&windowClass);
}

int SolutionWindow::Open(HWND owner)
{
    // An open window is neither refreshed nor brought forward here.
    if (window)
        return 0;
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int frameX = GetSystemMetrics(SM_CXDLGFRAME);
    const int frameY = GetSystemMetrics(SM_CYDLGFRAME);
    RECT ownerArea = {0, 0, 0, 0};
    GetWindowRect(owner, &ownerArea);
    // WM_CREATE has already stored the handle; this keeps it null on failure.
    window = CreateWindowExA(WS_EX_TOPMOST, "NonaroSolutionClass", "Solution",
                             WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, ownerArea.left + kOffsetX,
                             ownerArea.top + kOffsetY, 2 * frameX + kClientSize,
                             2 * frameY + caption + kClientSize, owner, NULL, GetModuleHandleA(NULL), this);
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

LRESULT CALLBACK SolutionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongA(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    SolutionWindow* solution = reinterpret_cast<SolutionWindow*>(GetWindowLongA(window, GWL_USERDATA));
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
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColourCell(solution, window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
