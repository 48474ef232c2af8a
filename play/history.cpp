#include "play/grid_board.h"

#include <cstring>

namespace {

// A button is sent a change only when it shows the other state, which spares
// the toolbar a repaint; the menu item is set every time, so that it follows
// its button whatever moved either before.
void ShowCommand(HWND mainWindow, HMENU menu, int command, bool available)
{
    const bool shown = SendDlgItemMessageA(mainWindow, kToolbarId, TB_ISBUTTONENABLED, command, 0) != 0;
    if (shown != available)
        SendDlgItemMessageA(mainWindow, kToolbarId, TB_ENABLEBUTTON, command, available ? 1 : 0);
    EnableMenuItem(menu, command, available ? MF_ENABLED : MF_GRAYED);
}

}  // namespace

void GridBoard::ShowHistoryCommands(bool undoAvailable, bool redoAvailable) const
{
    HWND mainWindow = GetParent(window);
    HMENU menu = GetMenu(mainWindow);
    ShowCommand(mainWindow, menu, kUndoCommand, undoAvailable);
    ShowCommand(mainWindow, menu, kRedoCommand, redoAvailable);
}

int32_t GridBoard::PushHistory(int32_t cell)
{
    if (!IsCell(cell))
        return 0;
    history.TruncateAfter(currentEntry);
    HistoryNode* entry = history.PushBack(nullptr);
    entry->payload.cell = cell;
    std::memcpy(entry->payload.values, playerGrid, sizeof entry->payload.values);
    std::memcpy(entry->payload.marks, pencilMarks, sizeof entry->payload.marks);
    currentEntry = entry;
    ShowHistoryCommands(true, false);
    return 1;
}

namespace {

// Puts a snapshot back on the board. A refused entry may have emptied a cell
// since the snapshot was taken, so any cell that differs is repainted and
// every group flag is brought up to date, not only those of the entry's cell.
void Restore(GridBoard* board, const HistoryEntry& entry)
{
    bool changed[kCellCount];
    for (int32_t cell = 0; cell < kCellCount; ++cell) {
        changed[cell] =
            board->playerGrid[cell] != entry.values[cell] ||
            std::memcmp(board->pencilMarks + cell * kDigitCount, entry.marks + cell * kDigitCount, kDigitCount) != 0;
        if (changed[cell])
            board->Repaint(board->window, kCellArea, cell);
    }
    std::memcpy(board->playerGrid, entry.values, sizeof entry.values);
    std::memcpy(board->pencilMarks, entry.marks, sizeof entry.marks);
    // Announced once the board holds the snapshot, so that a screen reader
    // asking at once reads the new contents.
    for (int32_t cell = 0; cell < kCellCount; ++cell)
        if (changed[cell])
            GridBoard::AnnounceCellChange(board->window, cell);
}

void Select(GridBoard* board, int32_t cell)
{
    if (board->selectedCell != kNoCell) {
        int32_t old = board->selectedCell;
        board->selectedCell = kNoCell;
        board->Repaint(board->window, kCellArea, old);
    }
    board->selectedCell = cell;
}

}  // namespace

void GridBoard::Undo()
{
    if (!currentEntry)
        return;
    int32_t cell = currentEntry->payload.cell;
    HistoryNode* previous = history.Prev(currentEntry);
    if (!previous)
        return;
    Restore(this, previous->payload);
    Select(this, cell);
    UpdateAllGroupFlags(true);
    currentEntry = previous;
    ShowHistoryCommands(history.Prev(previous) != nullptr, true);
}

void GridBoard::Redo()
{
    if (!currentEntry)
        return;
    HistoryNode* next = history.Next(currentEntry);
    if (!next)
        return;
    Restore(this, next->payload);
    Select(this, next->payload.cell);
    UpdateAllGroupFlags(true);
    currentEntry = next;
    ShowHistoryCommands(history.Prev(next) != nullptr, history.Next(next) != nullptr);
}
