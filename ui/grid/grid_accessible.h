#pragma once

#include <windows.h>

#include <cstdint>

#include "play/grid_board.h"

// What screen readers see of the grid window, through Active Accessibility:
// a table "Grille" of 81 cells, child ids 1 to 81 in row order. Everything
// is read from the board at the moment it is asked for.

// The answer to WM_GETOBJECT: the grid's own object for the client area,
// the system's answer for every other object id.
LRESULT OnGetObject(GridBoard* board, HWND window, WPARAM flags, LPARAM objectId);

// Tells screen readers where the keyboard focus is in the grid: the selected
// cell, or the grid itself when none is selected. The selection event comes
// with it when the selected cell itself changed.
void AnnounceFocus(const GridBoard* board, HWND window, bool selectionChanged);
