#pragma once

#include <windows.h>

class PuzzleGrid;

// The always-on-top window that shows the puzzle's solution, one static
// control per cell (ids 4000 + cell), the cells to find on white. At most one
// exists at a time.
class SolutionWindow {
public:
    HWND window;
    PuzzleGrid* puzzle;
    // The scale the window is laid out for, and the cells' font (null where
    // the controls' default one serves: at 96 DPI on a 96-DPI system).
    int dpi;
    HFONT cellFont;

    explicit SolutionWindow(PuzzleGrid* puzzle);
    SolutionWindow(const SolutionWindow&) = delete;
    SolutionWindow& operator=(const SolutionWindow&) = delete;

    // 1 when a window was made; 0 when one is already open or it failed.
    int Open(HWND owner);
    // Brings an open window's digits and colours to the puzzle now in play,
    // so that it never shows another game's solution.
    void Refresh();
    // Lays the cells out again, and makes their font, for `dpi`.
    void Rescale(int dpi);
};

ATOM RegisterSolutionClass();
LRESULT CALLBACK SolutionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
