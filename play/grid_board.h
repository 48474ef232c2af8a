#pragma once

#include <cstdint>

#include "engine/puzzle_grid.h"
#include "play/grid_geometry.h"
#include "resources/program_ids.h"
#include "platform.h"

// The tool word. The busy value is ORed in while a new grid is generated;
// every rule compares the whole word, so nothing applies while it is set.
const int32_t kPenTool = 0;
const int32_t kPencilTool = 1;
const int32_t kEraserTool = 2;
const int32_t kBusyFlag = 8;

// The board's solid brushes: a plain cell, a cell of a completed group, and
// the cells of a clash while it is reported.
const COLORREF kPlainColour = RGB(225, 250, 220);
const COLORREF kCompleteColour = RGB(255, 255, 180);
const COLORREF kConflictColour = RGB(182, 210, 143);

// One snapshot of the board after an accepted change.
struct HistoryEntry {
    int32_t cell;  // the cell that change touched; unused in a game's first entry
    int16_t values[kCellCount];
    uint8_t marks[kMarkCount];
};

typedef NodeList<HistoryEntry> History;
typedef History::Node HistoryNode;

// The state of the game in progress as the player sees it, behind the grid
// window. Points at the process-wide arrays; owns its drawing objects and
// its undo history.
class GridBoard {
public:
    HBRUSH penSelectionBrush;
    HBRUSH pencilSelectionBrush;
    HBRUSH completeBrush;
    HBRUSH conflictBrush;
    HBRUSH cellBrush;
    HCURSOR eraserCursor;
    HFONT digitFont;
    HWND window;
    // The scale the window and the drawing objects are made for; the pencil
    // marks' font is the stock GUI one (null here) at the system's own DPI.
    int32_t dpi;
    HFONT markFont;
    int16_t* playerGrid;
    uint8_t* cellMask;
    uint8_t* pencilMarks;
    int32_t selectedCell;
    int32_t conflictCell;
    int32_t savedSelection;
    int32_t blinkOn;
    int32_t rowComplete[9];
    int32_t columnComplete[9];
    int32_t boxComplete[9];
    int32_t toolMode;
    History history;
    HistoryNode* currentEntry;
    uint32_t elapsedSeconds;
    int32_t clockRunning;
    int32_t clockArmed;
    // The cell that was selected when the grid window last lost the focus
    // with a selection, where an arrow key starts again; -1 in a new game.
    int32_t lostFocusCell;

    GridBoard(int16_t* playerGrid, uint8_t* cellMask, uint8_t* pencilMarks);
    ~GridBoard();
    GridBoard(const GridBoard&) = delete;
    GridBoard& operator=(const GridBoard&) = delete;

    // Board state, groups and the win test.
    void StartGame();
    void MarkBusy();
    void SetTool(int32_t tool);
    int32_t RowOf(int32_t cell) const;
    int32_t ColumnOf(int32_t cell) const;
    int32_t BoxOf(int32_t cell) const;
    int32_t IsRowComplete(int32_t cell) const;
    int32_t IsColumnComplete(int32_t cell) const;
    int32_t IsBoxComplete(int32_t cell) const;
    void UpdateGroupFlags(int32_t cell);
    // Every group's flag from the grid as it stands; with repaint, each group
    // whose flag changed is repainted.
    void UpdateAllGroupFlags(bool repaint);
    int32_t IsSolved() const;
    // Tells screen readers that the cell's digit or marks changed.
    static void AnnounceCellChange(HWND window, int32_t cell);

    // Entry rules: pen, pencil, Delete and eraser.
    void HandleDigitKey(HWND window, unsigned int character);
    // With the pen Delete empties the selected cell; with the pencil it
    // clears the marks of an empty one.
    void HandleDeleteKey(HWND window);
    void HandleEraserClick(HWND window, unsigned int x, unsigned int y);
    int32_t EnterValue(HWND window, int32_t cell, int32_t value);
    int32_t EnterPencilMark(HWND window, int32_t cell, int32_t digit);
    // False when another game was started while its box was up, which the
    // shell never lets happen; the rule then leaves the board alone.
    bool ShowDuplicate(HWND window, int32_t clashCell, const char* text, bool repaintNow);

    // Undo and redo history.
    int32_t PushHistory(int32_t cell);
    void Undo();
    void Redo();
    // Undo and Redo as available or not, on the toolbar and in the menu alike.
    void ShowHistoryCommands(bool undoAvailable, bool redoAvailable) const;

    // Game clock.
    void ResetClock();
    void StartClock(HWND window);
    void TickClock();
    void StopClock(HWND window);

    // The digit font at a scale; the board starts with the 96-DPI one.
    static HFONT MakeDigitFont(int32_t dpi);

    // In the grid's pixels at the board's scale: asks for an area (a cell,
    // row, column or box by index) to be repainted, nothing and 0 for an
    // index out of range; and the pencil-mark place under a window point.
    int Repaint(HWND window, GridArea area, int32_t index) const;
    int32_t MarkAt(unsigned int x, unsigned int y) const;

private:
    // A kind of group is named by the area it repaints; groups are 0..8.
    int32_t* GroupFlags(GridArea kind);
    int32_t IsGroupComplete(GridArea kind, int32_t group) const;
    void UpdateGroupFlag(GridArea kind, int32_t group, bool repaint);
    void ClearPencilMarks(HWND window, int32_t cell);
};

// The toolbar's window handle, where the clock writes its label.
extern HWND ToolbarWindow;
