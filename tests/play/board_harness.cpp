#include "tests/play/board_harness.h"

#include "play/grid_geometry.h"

#include <cstring>

void BoardHarness::StartGame(const char* layout)
{
    std::memset(marks, 0, sizeof marks);
    for (int cell = 0; cell < kCellCount; ++cell) {
        bool given = layout[cell] >= '1' && layout[cell] <= '9';
        grid[cell] = static_cast<int16_t>(given ? layout[cell] - '0' : 0);
        mask[cell] = given ? 0 : 1;
    }
    board.ResetClock();
    board.StartGame();
}

void BoardHarness::Click(int32_t cell)
{
    SetFocus(board.window);
    RECT area;
    if (board.selectedCell != kNoCell && GridGeometry().CellRect(board.selectedCell, &area))
        InvalidateRect(board.window, &area, TRUE);
    board.selectedCell = kNoCell;
    board.blinkOn = 1;
    if (IsCell(cell) && mask[cell] != kGiven)
        board.selectedCell = cell;
    if (GridGeometry().CellRect(board.selectedCell, &area))
        InvalidateRect(board.window, &area, TRUE);
}

void BoardHarness::EraseMark(int32_t cell, int32_t mark)
{
    RECT place;
    if (!GridGeometry().SubCellRect(cell, mark, &place))
        return;
    Click(cell);
    if (board.toolMode == kEraserTool && board.selectedCell != kNoCell)
        board.HandleEraserClick(board.window, place.left + 8, place.top + 8);
}

void BoardHarness::Tick(unsigned count)
{
    for (unsigned i = 0; i < count; ++i)
        board.TickClock();
}

std::vector<std::string> BoardHarness::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const Box& box : boxes)
        texts.push_back(box.text);
    return texts;
}

int BoardHarness::HistoryLength() const
{
    int length = 0;
    for (const HistoryNode* node = board.history.first; node; node = node->next)
        ++length;
    return length;
}
