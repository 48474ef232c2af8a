#pragma once

// Reads the grid window's pixels cell by cell: which background a cell shows
// (plain, completed group, clash, the pen's or the pencil's selection
// pattern) and what ink is in it (a given's blue digit, a player's black
// digit, red pencil marks).

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/screen_shot.h"
#include "tests/program_facts.h"

class GameSession;

const COLORREF kPenField = RGB(255, 166, 166);
const COLORREF kPenLetter = RGB(255, 191, 191);
const COLORREF kPencilField = RGB(125, 190, 255);
const COLORREF kPencilLetter = RGB(164, 209, 255);
const COLORREF kGivenInk = RGB(0, 0, 220);

enum class Back { Plain, Complete, Conflict, Pen, Pencil, Other };
const char* BackName(Back back);

struct CellLook {
    Back back = Back::Other;
    int givenInk = 0;   // pixels of exactly RGB(0,0,220)
    int playerInk = 0;  // near-black pixels
    int markInk = 0;    // red pixels
    bool HasGiven() const { return givenInk >= 8; }
    bool HasPlayerDigit() const { return playerInk >= 8; }
    bool HasMarks() const { return markInk >= 3; }
};

// The part of a cell that no border or box line touches.
RECT CellInterior(int cell);
// The part of a cell where its digit stands, and the square of its mark
// 0..8 less its edges.
RECT DigitArea(int cell);
RECT MarkArea(int cell, int mark);

// What an area shows whatever its colours: the colour most of it has (the
// ground) and the one that comes next (the ink, drawn over it), with the
// WCAG contrast between the two; no ink when fewer than `least` pixels differ.
struct InkReading {
    COLORREF ground = CLR_INVALID;
    COLORREF ink = CLR_INVALID;
    int inkPixels = 0;
    double contrast = 1;
};
InkReading ReadInk(const ScreenShot& shot, const RECT& area, int least = 4);
// How many pixels of the area stand out from the ground by at least 3:1.
int MarkedPixels(const ScreenShot& shot, const RECT& area, COLORREF ground);
CellLook LookAt(const ScreenShot& grid, int cell);
CellLook LookAtArea(const ScreenShot& grid, const RECT& area);

class GridView {
public:
    explicit GridView(GameSession& game) : game_(game) {}
    ScreenShot Shot() const;
    CellLook Look(int cell) const { return LookAt(Shot(), cell); }

    // Waits until the game has painted what it was asked to (GameSession::
    // Painted) and then three shots in a row look the same, cell by cell, so
    // that a repaint still on its way to the screen (a dialog just closed over
    // the grid) is over.
    ScreenShot SteadyShot(DWORD timeoutMs = 20000) const;
    // Waits until the grid, once the game has painted, looks different from
    // before, cell by cell, and two such shots in a row look the same; returns
    // the last shot.
    ScreenShot WaitForChange(const ScreenShot& before, DWORD timeoutMs = 30000) const;
    // The cells that show the pattern in this shot.
    static std::vector<int> CellsShowing(const ScreenShot& shot, Back pattern);
    // Waits until the cell, and no other, shows the pattern.
    bool WaitForSelection(int cell, Back pattern, DWORD timeoutMs = 4000) const;
    // True when over the whole span no cell shows either selection pattern.
    bool NothingSelectedFor(DWORD spanMs) const;
    // Samples one cell's background over the span; the times (ms) at which it
    // changed between showing the pattern and not.
    std::vector<DWORD> PatternChanges(int cell, Back pattern, DWORD spanMs, int* onSamples, int* offSamples) const;

private:
    GameSession& game_;
};
