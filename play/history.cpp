#include "play/grid_board.h"

#include <cstring>

namespace {

struct Commands {
    HWND mainWindow;
    HMENU menu;
};

Commands CommandsOf(HWND gridWindow)
{
    Commands commands;
    commands.mainWindow = GetParent(gridWindow);
    commands.menu = GetMenu(commands.mainWindow);
    return commands;
}

bool ButtonEnabled(const Commands& commands, int command)
{
    return SendDlgItemMessageA(commands.mainWindow, kToolbarId, TB_ISBUTTONENABLED, command, 0) != 0;
}

// The menu item always follows its button, so the button alone is asked.
void SetAvailable(const Commands& commands, int command, bool available)
{
    if (ButtonEnabled(commands, command) == available)
        return;
    SendDlgItemMessageA(commands.mainWindow, kToolbarId, TB_ENABLEBUTTON, command, available ? 1 : 0);
    EnableMenuItem(commands.menu, command, available ? MF_ENABLED : MF_GRAYED);
}

}  // namespace

int32_t GridBoard::PushHistory(int32_t cell)
{
    if (cell < 0 || cell >= kCellCount)
        return 0;
    Commands commands = CommandsOf(window);

    history.TruncateAfter(currentEntry);
    HistoryNode* entry = history.PushBack(nullptr);
    entry->payload.cell = cell;
    std::memcpy(entry->payload.values, playerGrid, sizeof entry->payload.values);
    std::memcpy(entry->payload.marks, pencilMarks, sizeof entry->payload.marks);
    currentEntry = entry;

    if (!ButtonEnabled(commands, kUndoCommand))
        SendDlgItemMessageA(commands.mainWindow, kToolbarId, TB_ENABLEBUTTON, kUndoCommand, 1);
    if (ButtonEnabled(commands, kRedoCommand))
        SendDlgItemMessageA(commands.mainWindow, kToolbarId, TB_ENABLEBUTTON, kRedoCommand, 0);
    EnableMenuItem(commands.menu, kUndoCommand, MF_ENABLED);
    EnableMenuItem(commands.menu, kRedoCommand, MF_GRAYED);
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
        changed[cell] = board->playerGrid[cell] != entry.values[cell] ||
                        std::memcmp(board->pencilMarks + cell * kDigitCount,
                                    entry.marks + cell * kDigitCount, kDigitCount) != 0;
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

void UpdateAllGroupFlags(GridBoard* board)
{
    // Each group's flag changes at most once, on the first of its cells.
    for (int32_t cell = 0; cell < kCellCount; ++cell)
        board->UpdateGroupFlags(cell);
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
    UpdateAllGroupFlags(this);
    currentEntry = previous;

    Commands commands = CommandsOf(window);
    SetAvailable(commands, kUndoCommand, history.Prev(previous) != nullptr);
    SetAvailable(commands, kRedoCommand, true);
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
    UpdateAllGroupFlags(this);
    currentEntry = next;

    Commands commands = CommandsOf(window);
    SetAvailable(commands, kUndoCommand, history.Prev(next) != nullptr);
    SetAvailable(commands, kRedoCommand, history.Next(next) != nullptr);
}
