#include "play/grid_board.h"

#include <cstring>

HWND ToolbarWindow = nullptr;

GridBoard::GridBoard(int16_t* playerGrid, uint8_t* cellMask, uint8_t* pencilMarks)
    : penSelectionBrush(nullptr),
      pencilSelectionBrush(nullptr),
      completeBrush(nullptr),
      conflictBrush(nullptr),
      cellBrush(nullptr),
      eraserCursor(nullptr),
      digitFont(nullptr),
      window(nullptr),
      dpi(kBaseDpi),
      markFont(nullptr),
      playerGrid(playerGrid),
      cellMask(cellMask),
      pencilMarks(pencilMarks),
      selectedCell(kNoCell),
      conflictCell(kNoCell),
      savedSelection(kNoCell),
      blinkOn(0),
      toolMode(kPenTool),
      currentEntry(nullptr),
      elapsedSeconds(0),
      clockRunning(0),
      clockArmed(0),
      lostFocusCell(kNoCell)
{
    std::memset(rowComplete, 0, sizeof rowComplete);
    std::memset(columnComplete, 0, sizeof columnComplete);
    std::memset(boxComplete, 0, sizeof boxComplete);

    completeBrush = CreateSolidBrush(kCompleteColour);
    cellBrush = CreateSolidBrush(kPlainColour);
    conflictBrush = CreateSolidBrush(kConflictColour);

    digitFont = MakeDigitFont(kBaseDpi);

    currentEntry = history.PushBack(nullptr);
}

HFONT GridBoard::MakeDigitFont(int32_t dpi)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = ScaledPixels(32, dpi);
    font.lfWeight = FW_BOLD;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    std::strcpy(font.lfFaceName, "Times New Roman");
    return CreateFontIndirectA(&font);
}

GridBoard::~GridBoard()
{
    DeleteObject(completeBrush);
    DeleteObject(cellBrush);
    DeleteObject(conflictBrush);
    DeleteObject(digitFont);
    history.Clear();
    // The grid window normally releases these first and clears them.
    if (penSelectionBrush)
        DeleteObject(penSelectionBrush);
    if (pencilSelectionBrush)
        DeleteObject(pencilSelectionBrush);
    if (markFont)
        DeleteObject(markFont);
}

void GridBoard::StartGame()
{
    selectedCell = kNoCell;
    conflictCell = kNoCell;
    savedSelection = kNoCell;
    lostFocusCell = kNoCell;

    // The window is repainted whole below.
    UpdateAllGroupFlags(false);
    if (window)
        InvalidateRect(window, nullptr, TRUE);

    history.Clear();
    currentEntry = history.PushBack(nullptr);
    std::memcpy(currentEntry->payload.values, playerGrid, sizeof currentEntry->payload.values);
    std::memcpy(currentEntry->payload.marks, pencilMarks, sizeof currentEntry->payload.marks);

    // A fresh game has nothing to undo or redo, whatever the last one left.
    ShowHistoryCommands(false, false);

    toolMode &= ~kBusyFlag;

    // Every cell may hold something else now: screen readers read the grid
    // again rather than one value-change event per cell.
    if (window)
        NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
}

void GridBoard::AnnounceCellChange(HWND window, int32_t cell)
{
    // Child ids count the cells from 1; 0 is the grid itself.
    if (window && IsCell(cell))
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, cell + 1);
}

void GridBoard::MarkBusy() { toolMode |= kBusyFlag; }

void GridBoard::SetTool(int32_t tool) { toolMode = tool; }

// Cells outside the grid get no group rather than a read past PlayerGrid.
int32_t GridBoard::RowOf(int32_t cell) const { return IsCell(cell) ? CellRow(cell) : -1; }

int32_t GridBoard::ColumnOf(int32_t cell) const { return IsCell(cell) ? CellColumn(cell) : -1; }

int32_t GridBoard::BoxOf(int32_t cell) const { return IsCell(cell) ? CellBox(cell) : -1; }

namespace {

// The 27 groups are nine of each kind; a kind doubles as the area repainted
// when one of its groups is completed or broken. A cell's groups are always
// taken in this order: row, column, box.
const GridArea kGroupKinds[] = {kRowArea, kColumnArea, kBoxArea};

int32_t GroupOfCell(GridArea kind, int32_t cell)
{
    return kind == kRowArea ? CellRow(cell) : kind == kColumnArea ? CellColumn(cell) : CellBox(cell);
}

int32_t GroupMember(GridArea kind, int32_t group, int i)
{
    return kind == kRowArea      ? RowCell(group, i)
           : kind == kColumnArea ? ColumnCell(group, i)
                                 : BoxCell(BoxFirstCell(group), i);
}

}  // namespace

int32_t* GridBoard::GroupFlags(GridArea kind)
{
    return kind == kRowArea ? rowComplete : kind == kColumnArea ? columnComplete : boxComplete;
}

int32_t GridBoard::IsGroupComplete(GridArea kind, int32_t group) const
{
    for (int i = 0; i < 9; ++i)
        if (playerGrid[GroupMember(kind, group, i)] == 0)
            return 0;
    return 1;
}

int32_t GridBoard::IsRowComplete(int32_t cell) const
{
    return IsCell(cell) ? IsGroupComplete(kRowArea, CellRow(cell)) : 0;
}

int32_t GridBoard::IsColumnComplete(int32_t cell) const
{
    return IsCell(cell) ? IsGroupComplete(kColumnArea, CellColumn(cell)) : 0;
}

int32_t GridBoard::IsBoxComplete(int32_t cell) const
{
    return IsCell(cell) ? IsGroupComplete(kBoxArea, CellBox(cell)) : 0;
}

void GridBoard::UpdateGroupFlag(GridArea kind, int32_t group, bool repaint)
{
    const int32_t complete = IsGroupComplete(kind, group);
    int32_t& flag = GroupFlags(kind)[group];
    if (complete == flag)
        return;
    flag = complete;
    if (repaint)
        Repaint(window, kind, group);
}

void GridBoard::UpdateGroupFlags(int32_t cell)
{
    if (!IsCell(cell))
        return;
    for (GridArea kind : kGroupKinds)
        UpdateGroupFlag(kind, GroupOfCell(kind, cell), true);
}

void GridBoard::UpdateAllGroupFlags(bool repaint)
{
    for (GridArea kind : kGroupKinds)
        for (int32_t group = 0; group < 9; ++group)
            UpdateGroupFlag(kind, group, repaint);
}

int32_t GridBoard::IsSolved() const
{
    for (int i = 0; i < 9; ++i)
        if (!rowComplete[i] || !columnComplete[i] || !boxComplete[i])
            return 0;
    return 1;
}

int GridBoard::Repaint(HWND target, GridArea area, int32_t index) const
{
    RECT rect;
    if (!GridGeometry(dpi).AreaRect(area, index, &rect))
        return 0;
    InvalidateRect(target, &rect, TRUE);
    return 1;
}

int32_t GridBoard::MarkAt(unsigned int x, unsigned int y) const
{
    return GridGeometry(dpi).SubCellFromPoint(static_cast<int32_t>(x), static_cast<int32_t>(y));
}
