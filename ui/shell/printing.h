#pragma once

#include <windows.h>

// Prints the game in play, grid then solution, on a printer the player
// chooses. 1 once a printer was obtained, 0 otherwise.
int PrintGame(HWND owner);
