#include "play/grid_board.h"
#include "play/program_text.h"

namespace {

bool IsDigit(unsigned int character) { return character >= '1' && character <= '9'; }

// The first other cell holding value, looking through the row, then the
// column, then the box; only one clash is ever reported.
int32_t FindClash(const int16_t* grid, int32_t cell, int32_t value, const char** text)
{
    for (int i = 0; i < 9; ++i) {
        int32_t other = RowCell(CellRow(cell), i);
        if (other != cell && grid[other] == value) {
            *text = kRowClashText;
            return other;
        }
    }
    for (int i = 0; i < 9; ++i) {
        int32_t other = ColumnCell(CellColumn(cell), i);
        if (other != cell && grid[other] == value) {
            *text = kColumnClashText;
            return other;
        }
    }
    int32_t start = BoxStart(cell);
    for (int i = 0; i < 9; ++i) {
        int32_t other = BoxCell(start, i);
        if (other != cell && grid[other] == value) {
            *text = kBoxClashText;
            return other;
        }
    }
    return kNoCell;
}

}  // namespace

void GridBoard::HandleDigitKey(HWND window, unsigned int character)
{
    bool digit = IsDigit(character);
    bool selected = IsCell(selectedCell);

    // Any digit typed with the pen or the pencil starts the clock, whatever
    // becomes of the entry itself.
    if (selected && digit && toolMode <= kPencilTool && !clockRunning && clockArmed)
        StartClock(window);

    if (selected && digit && toolMode == kPenTool) {
        int32_t value = static_cast<int32_t>(character - '0');
        // The digit shows while a clash is reported, so it is written first.
        bool changed = playerGrid[selectedCell] != value;
        playerGrid[selectedCell] = static_cast<int16_t>(value);
        Repaint(window, kCellArea, selectedCell);
        if (changed)
            AnnounceCellChange(window, selectedCell);
        if (EnterValue(window, selectedCell, value))
            PushHistory(selectedCell);
        // Without a selection the game is another one, started under a box.
        if (IsCell(selectedCell) && IsSolved()) {
            StopClock(window);
            ShowMessageBox(window, kWinText, kProgramCaption, MB_OK);
        }
        return;
    }

    if (selected && digit && toolMode == kPencilTool && playerGrid[selectedCell] == 0) {
        int32_t mark = static_cast<int32_t>(character - '0');
        uint8_t& shown = pencilMarks[selectedCell * kDigitCount + mark - 1];
        bool changed = shown != 1;
        shown = 1;
        Repaint(window, kCellArea, selectedCell);
        if (changed)
            AnnounceCellChange(window, selectedCell);
        if (EnterPencilMark(window, selectedCell, mark))
            PushHistory(selectedCell);
    }
}

void GridBoard::HandleDeleteKey(HWND window)
{
    if (!IsCell(selectedCell) || cellMask[selectedCell] != kHidden)
        return;
    if (toolMode == kPencilTool && playerGrid[selectedCell] == 0) {
        ClearPencilMarks(window, selectedCell);
        return;
    }
    if (playerGrid[selectedCell] == 0 || toolMode != kPenTool)
        return;
    EnterValue(window, selectedCell, 0);
    PushHistory(selectedCell);
}

void GridBoard::ClearPencilMarks(HWND window, int32_t cell)
{
    // The keyboard's only way to take marks off: all of them in one move,
    // undone as one. A cell without marks makes no entry, as Delete on an
    // empty cell with the pen makes none.
    uint8_t* cellMarks = pencilMarks + cell * kDigitCount;
    bool changed = false;
    for (int32_t i = 0; i < kDigitCount; ++i) {
        changed = changed || cellMarks[i] != 0;
        cellMarks[i] = 0;
    }
    if (!changed)
        return;
    Repaint(window, kCellArea, cell);
    AnnounceCellChange(window, cell);
    PushHistory(cell);
}

void GridBoard::HandleEraserClick(HWND window, unsigned int x, unsigned int y)
{
    int32_t cell = selectedCell;
    if (!IsCell(cell))
        return;
    bool markErased = false;
    if (playerGrid[cell] != 0) {
        EnterValue(window, cell, 0);
    } else {
        int32_t mark = MarkAt(x, y);
        if (mark >= 0) {
            markErased = pencilMarks[cell * kDigitCount + mark] != 0;
            pencilMarks[cell * kDigitCount + mark] = 0;
        }
    }
    Repaint(window, kCellArea, cell);
    UpdateWindow(window);
    if (markErased)
        AnnounceCellChange(window, cell);
    // Recorded even when nothing was there to erase.
    PushHistory(cell);
    selectedCell = kNoCell;
}

int32_t GridBoard::EnterValue(HWND window, int32_t cell, int32_t value)
{
    if (!IsCell(cell) || value < 0 || value > kDigitCount)
        return 0;
    int32_t result = 0;
    if (value != 0) {
        const char* text = nullptr;
        int32_t clash = FindClash(playerGrid, cell, value, &text);
        if (clash == kNoCell) {
            result = 1;
        } else {
            conflictCell = clash;
            if (!ShowDuplicate(window, clash, text, true))
                return 0;
            value = 0;
        }
    }
    // The pen wrote its digit before the check, so only a refusal, Delete or
    // the eraser changes the cell here.
    bool changed = playerGrid[cell] != value;
    playerGrid[cell] = static_cast<int16_t>(value);
    UpdateGroupFlags(cell);
    if (changed)
        AnnounceCellChange(window, cell);
    return result;
}

int32_t GridBoard::EnterPencilMark(HWND window, int32_t cell, int32_t digit)
{
    if (!IsCell(cell) || digit <= 0 || digit > kDigitCount)
        return 0;
    const char* text = nullptr;
    int32_t clash = FindClash(playerGrid, cell, digit, &text);
    if (clash != kNoCell) {
        conflictCell = clash;
        if (!ShowDuplicate(window, clash, text, false))
            return 0;
    }
    uint8_t& shown = pencilMarks[cell * kDigitCount + digit - 1];
    bool changed = shown != (clash == kNoCell ? 1 : 0);
    shown = clash == kNoCell ? 1 : 0;
    Repaint(window, kCellArea, cell);
    if (changed)
        AnnounceCellChange(window, cell);
    return clash == kNoCell ? 1 : 0;
}

bool GridBoard::ShowDuplicate(HWND window, int32_t clashCell, const char* text, bool repaintNow)
{
    Repaint(window, kCellArea, clashCell);
    savedSelection = selectedCell;
    const int32_t keptAside = savedSelection;
    Repaint(window, kCellArea, savedSelection);
    if (repaintNow)
        UpdateWindow(window);

    // The box takes the focus, which drops the selection; it is kept aside
    // meanwhile and flashes in the conflict colour with the clashing cell.
    ShowMessageBox(window, text, kClashCaption, MB_OK);

    // A game started while the box was up has cleared the selection kept
    // aside: the refused entry and its clean-up belong to the game before.
    if (keptAside != kNoCell && savedSelection == kNoCell)
        return false;
    conflictCell = kNoCell;
    Repaint(window, kCellArea, clashCell);
    selectedCell = savedSelection;
    savedSelection = kNoCell;
    Repaint(window, kCellArea, selectedCell);
    if (repaintNow)
        UpdateWindow(window);
    SetFocus(window);
    return true;
}
