#pragma once

#include <windows.h>

#include <cstdint>

#include "play/grid_board.h"

// The grid window: a borderless child (460 x 460 at 96 DPI) of the main window, of the
// class "WndGridClass", that shows the board and hands the player's mouse and
// keyboard input to it. The board's pointer lives in the window's
// GWLP_USERDATA slot from WM_CREATE on.

ATOM RegisterGridClass();
// Makes the board's grid window in the main window, below its toolbar: 1, or
// 0 when the board already has one or it could not be made.
int CreateGridWindow(GridBoard* board, HWND mainWindow);
LRESULT CALLBACK GridWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Message handlers; each returns the message's result.
LRESULT OnCreate(GridBoard* board, HWND window);
LRESULT OnDestroy(GridBoard* board, HWND window);
LRESULT OnKillFocus(GridBoard* board, HWND window);
LRESULT OnSetCursor(GridBoard* board, HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnKeyDown(GridBoard* board, HWND window, WPARAM key);
LRESULT OnTimer(GridBoard* board, HWND window, WPARAM timerId);
LRESULT OnLButtonDown(GridBoard* board, HWND window, LPARAM point);

// Selects a hidden cell as a click does, the eraser apart: takes the
// focus, shows the cell's pattern at once and tells screen readers.
void SelectCell(GridBoard* board, HWND window, int32_t cell);

// Whenever the main window gets the keyboard focus it passes it on to the
// grid, where the player's keys belong, as a dialog box does to its control.
void PassFocusToGrid(const GridBoard* board);

// The grid window's top-left corner in the main window's client area: centred
// across the client area and in the part of it below the toolbar.
POINT GridWindowOrigin(const RECT& client, int toolbarHeight, int dpi = kBaseDpi);

// Brings the grid window and its drawing objects to a new scale of the main
// window and places it again below the toolbar. The game is not touched.
void RescaleGridWindow(GridBoard* board, HWND mainWindow, int dpi);
