#pragma once

// What the grid window must show for a board, cell by cell: the digit in
// each cell read as one of the nine glyphs of the board's digit font (Times
// New Roman, bold, 32 px at 96 DPI) drawn here by the driver itself, the pencil marks
// by their place, the tint of complete groups and the selection pattern.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/screen_shot.h"

class SoakModel;

// The digit a cell shows, as far as its pixels tell.
struct CellReading {
    int digit = 0;            // 1 to 9 when a glyph was recognised, 0 for no ink
    bool given = false;       // the ink is a given's blue
    bool unreadable = false;  // ink that matches none of the nine glyphs
    int difference = 0;       // pixels that differ from the recognised glyph
    int nextDifference = 0;   // pixels that differ from the next closest glyph
};

class BoardPicture {
public:
    BoardPicture();

    CellReading Read(const ScreenShot& grid, int cell) const;
    // Which of the nine mark places of the cell show red ink.
    unsigned MarksShown(const ScreenShot& grid, int cell) const;
    // Compares a shot of the grid with the model. Returns "" when every cell
    // shows what the model says, else the first difference in words. The
    // selected cell may be caught in either blink phase; *selectionShown tells
    // whether it showed its pattern in this shot.
    std::string Compare(const ScreenShot& grid, const SoakModel& model, bool* selectionShown) const;

private:
    // Ink masks of the digits 1 to 9 over the 52 x 52 cell rectangle.
    std::vector<uint8_t> glyphs_[10];
};
