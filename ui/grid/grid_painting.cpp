#include <cstdlib>

#include "ui/grid/grid_window.h"

namespace {

const int kEraserCursorId = 220;
const int kPenPatternId = 201;
const int kPencilPatternId = 202;

const COLORREF kGivenDigitColour = RGB(0, 0, 220);
const COLORREF kPlayerDigitColour = RGB(0, 0, 0);
const COLORREF kPencilMarkColour = RGB(255, 0, 0);

const UINT kCellTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

HBRUSH MakePatternBrush(HINSTANCE instance, int bitmapId)
{
    HBITMAP pattern = LoadBitmapA(instance, MAKEINTRESOURCEA(bitmapId));
    HBRUSH brush = CreatePatternBrush(pattern);
    // The brush keeps its own copy of the pattern.
    DeleteObject(pattern);
    return brush;
}

}  // namespace

LRESULT OnCreate(GridBoard* board, HWND window)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    board->eraserCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kEraserCursorId));
    board->penSelectionBrush = MakePatternBrush(instance, kPenPatternId);
    board->pencilSelectionBrush = MakePatternBrush(instance, kPencilPatternId);
    board->window = window;
    SetTimer(window, 1, 500, NULL);
    return 0;
}

LRESULT OnDestroy(GridBoard* board, HWND window)
{
    KillTimer(window, 1);
    if (board->clockRunning) {
        KillTimer(window, 2);
        board->clockRunning = 0;
    }
    // Nulled so that the board's own release at its destruction passes them over.
    if (board->penSelectionBrush)
        DeleteObject(board->penSelectionBrush);
    if (board->pencilSelectionBrush)
        DeleteObject(board->pencilSelectionBrush);
    board->penSelectionBrush = NULL;
    board->pencilSelectionBrush = NULL;
    // A cursor from the program's resources is shared by the system: not destroyed.
    board->eraserCursor = NULL;
    return 0;
}

HBRUSH CellBrush(const GridBoard* board, int32_t cell)
{
    if (board->blinkOn) {
        if (cell == board->conflictCell || cell == board->savedSelection)
            return board->conflictBrush;
        if (cell == board->selectedCell && board->toolMode == kPenTool)
            return board->penSelectionBrush;
        if (cell == board->selectedCell && board->toolMode == kPencilTool)
            return board->pencilSelectionBrush;
    }
    if (board->rowComplete[board->RowOf(cell)] || board->columnComplete[board->ColumnOf(cell)] ||
        board->boxComplete[board->BoxOf(cell)])
        return board->completeBrush;
    return board->cellBrush;
}

void DrawBoard(const GridBoard* board, HDC dc, HPEN boxPen, HPEN borderPen)
{
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ savedBrush = SelectObject(dc, board->cellBrush);
    HGDIOBJ savedFont = SelectObject(dc, board->digitFont);
    HGDIOBJ savedPen = SelectObject(dc, borderPen);

    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const int cell = row * 9 + column;
            SelectObject(dc, CellBrush(board, cell));
            // One pixel wider than the pitch, so neighbours share a border
            // line; the 51-pixel patterns start afresh in every cell.
            const int left = column * kCellPitch;
            const int top = row * kCellPitch;
            Rectangle(dc, left, top, left + kCellPitch + 1, top + kCellPitch + 1);

            RECT area;
            GridBoard::CellRect(cell, &area);
            const int value = board->playerGrid[cell];
            if (value != 0) {
                char text[12];
                _itoa(value, text, 10);
                SelectObject(dc, board->digitFont);
                SetTextColor(dc, board->cellMask[cell] == kGiven ? kGivenDigitColour : kPlayerDigitColour);
                DrawTextA(dc, text, 1, &area, kCellTextFormat);
            } else {
                // Marks stay stored under a digit but show only in an empty cell.
                SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
                SetTextColor(dc, kPencilMarkColour);
                for (int mark = 0; mark < kDigitCount; ++mark) {
                    if (board->pencilMarks[cell * kDigitCount + mark] != 1)
                        continue;
                    char text[2] = {static_cast<char>('1' + mark), '\0'};
                    RECT square;
                    GridBoard::SubCellRect(cell, mark, &square);
                    DrawTextA(dc, text, 1, &square, kCellTextFormat);
                }
            }
        }
    }

    // The box lines go over the cell borders.
    SelectObject(dc, boxPen);
    for (int line = 0; line < 4; ++line) {
        const int at = line * kBoxPitch;
        MoveToEx(dc, at, 0, NULL);
        LineTo(dc, at, kGridSize);
        MoveToEx(dc, 0, at, NULL);
        LineTo(dc, kGridSize, at);
    }

    SetTextColor(dc, RGB(0, 0, 0));
    SelectObject(dc, savedFont);
    SelectObject(dc, savedPen);
    SelectObject(dc, savedBrush);
}

LRESULT OnPaint(GridBoard* board, HWND window)
{
    // Only the pens are made at each paint; everything else lives with the
    // board or the window.
    HPEN boxPen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    HPEN borderPen = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    DrawBoard(board, dc, boxPen, borderPen);
    EndPaint(window, &paint);
    DeleteObject(boxPen);
    DeleteObject(borderPen);
    return 0;
}
