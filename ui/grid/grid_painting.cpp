#include "ui/grid/grid_painting.h"

#include <cstdlib>

#include "ui/contrast_theme.h"
#include "ui/display_scale.h"
#include "play/grid_geometry.h"

namespace {

const COLORREF kGivenDigitColour = RGB(0, 0, 220);
const COLORREF kPlayerDigitColour = RGB(0, 0, 0);
const COLORREF kPencilMarkColour = RGB(255, 0, 0);
const COLORREF kBoxLineColour = RGB(0, 0, 0);
const COLORREF kCellBorderColour = RGB(192, 192, 192);

// The ink of a cell's digit or marks. In a contrast theme a highlighted cell
// takes the highlight's text colour whatever it holds; elsewhere givens and
// marks are the window's text and the player's digits the theme's hyperlink
// colour, which every contrast theme sets apart from the text.
COLORREF InkColour(CellState state, bool digit, bool given)
{
    if (!ContrastThemeOn())
        return !digit ? kPencilMarkColour : given ? kGivenDigitColour : kPlayerDigitColour;
    if (state <= kPencilSelectedCell)
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    return digit && !given ? GetSysColor(COLOR_HOTLIGHT) : GetSysColor(COLOR_WINDOWTEXT);
}

// A complete group's cells in a contrast theme: a frame inside the cell's
// border, clear of the digit, where a tint would be told by colour alone.
void FrameCompleteCell(HDC dc, const GridGeometry& geometry, const RECT& cell)
{
    const int inset = geometry.Scale(3);
    const int width = geometry.Scale(2);
    RECT outer = {cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset};
    HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
    const RECT sides[4] = {
        {outer.left, outer.top, outer.right, outer.top + width},
        {outer.left, outer.bottom - width, outer.right, outer.bottom},
        {outer.left, outer.top, outer.left + width, outer.bottom},
        {outer.right - width, outer.top, outer.right, outer.bottom},
    };
    for (const RECT& side : sides)
        FillRect(dc, &side, ink);
}

const UINT kCellTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

HBRUSH MakePatternBrush(HINSTANCE instance, int bitmapId, int dpi)
{
    HBITMAP pattern = LoadBitmapForDpi(instance, bitmapId, dpi);
    HBRUSH brush = CreatePatternBrush(pattern);
    // The brush keeps its own copy of the pattern.
    DeleteObject(pattern);
    return brush;
}

}  // namespace

void ReleasePatterns(GridBoard* board)
{
    if (board->penSelectionBrush)
        DeleteObject(board->penSelectionBrush);
    if (board->pencilSelectionBrush)
        DeleteObject(board->pencilSelectionBrush);
    board->penSelectionBrush = NULL;
    board->pencilSelectionBrush = NULL;
}

void MakePatterns(GridBoard* board)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    board->penSelectionBrush = MakePatternBrush(instance, kPenPatternId, board->dpi);
    board->pencilSelectionBrush = MakePatternBrush(instance, kPencilPatternId, board->dpi);
}

void SetBoardScale(GridBoard* board, int dpi)
{
    // The board starts out at 96 DPI on the stock mark font, which suits a
    // window at 96 DPI only where the system's DPI is 96 too.
    HFONT marks = CreateStockFontForDpi(DEFAULT_GUI_FONT, dpi, FW_NORMAL);
    if (board->markFont)
        DeleteObject(board->markFont);
    board->markFont = marks;
    if (dpi == board->dpi)
        return;
    board->dpi = dpi;
    if (board->window) {
        ReleasePatterns(board);
        MakePatterns(board);
    }
    // The new objects exist before the old ones go, so the board never holds
    // a released handle.
    HFONT digits = GridBoard::MakeDigitFont(dpi);
    DeleteObject(board->digitFont);
    board->digitFont = digits;
}

CellState CellStateOf(const GridBoard* board, int32_t cell)
{
    if (board->blinkOn) {
        if (cell == board->conflictCell || cell == board->savedSelection)
            return kClashingCell;
        if (cell == board->selectedCell && board->toolMode == kPenTool)
            return kPenSelectedCell;
        if (cell == board->selectedCell && board->toolMode == kPencilTool)
            return kPencilSelectedCell;
    }
    if (board->rowComplete[board->RowOf(cell)] || board->columnComplete[board->ColumnOf(cell)] ||
        board->boxComplete[board->BoxOf(cell)])
        return kCompleteCell;
    return kPlainCell;
}

HBRUSH CellBrush(const GridBoard* board, int32_t cell)
{
    const CellState state = CellStateOf(board, cell);
    if (ContrastThemeOn())
        return GetSysColorBrush(state <= kPencilSelectedCell ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    switch (state) {
    case kClashingCell:
        return board->conflictBrush;
    case kPenSelectedCell:
        return board->penSelectionBrush;
    case kPencilSelectedCell:
        return board->pencilSelectionBrush;
    case kCompleteCell:
        return board->completeBrush;
    default:
        return board->cellBrush;
    }
}

void DrawBoard(const GridBoard* board, HDC dc, HPEN boxPen, HPEN borderPen)
{
    const GridGeometry geometry(board->dpi);
    POINT savedOrigin;
    GetBrushOrgEx(dc, &savedOrigin);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ savedBrush = SelectObject(dc, board->cellBrush);
    HGDIOBJ savedFont = SelectObject(dc, board->digitFont);
    HGDIOBJ savedPen = SelectObject(dc, borderPen);

    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const int cell = row * 9 + column;
            // Cells reach one border line past the pitch, so neighbours share
            // it; each pattern starts afresh at its cell's corner, which the
            // pitch alone would not do once a scale rounds it.
            RECT area;
            geometry.CellRect(cell, &area);
            SetBrushOrgEx(dc, area.left, area.top, NULL);
            SelectObject(dc, CellBrush(board, cell));
            Rectangle(dc, area.left, area.top, area.right, area.bottom);
            const CellState state = CellStateOf(board, cell);
            if (state == kCompleteCell && ContrastThemeOn())
                FrameCompleteCell(dc, geometry, area);

            const int value = board->playerGrid[cell];
            if (value != 0) {
                char text[12];
                _itoa(value, text, 10);
                SelectObject(dc, board->digitFont);
                SetTextColor(dc, InkColour(state, true, board->cellMask[cell] == kGiven));
                DrawTextA(dc, text, 1, &area, kCellTextFormat);
            } else {
                // Marks stay stored under a digit but show only in an empty cell.
                SelectObject(dc, board->markFont ? board->markFont : GetStockObject(DEFAULT_GUI_FONT));
                SetTextColor(dc, InkColour(state, false, false));
                for (int mark = 0; mark < kDigitCount; ++mark) {
                    if (board->pencilMarks[cell * kDigitCount + mark] != 1)
                        continue;
                    char text[2] = {static_cast<char>('1' + mark), '\0'};
                    RECT square;
                    geometry.SubCellRect(cell, mark, &square);
                    DrawTextA(dc, text, 1, &square, kCellTextFormat);
                }
            }
        }
    }

    // The box lines go over the cell borders.
    SelectObject(dc, boxPen);
    for (int line = 0; line < 4; ++line) {
        const int at = geometry.BoxLine(line);
        const int end = geometry.WindowSize();
        MoveToEx(dc, at, 0, NULL);
        LineTo(dc, at, end);
        MoveToEx(dc, 0, at, NULL);
        LineTo(dc, end, at);
    }

    SetTextColor(dc, RGB(0, 0, 0));
    SetBrushOrgEx(dc, savedOrigin.x, savedOrigin.y, NULL);
    SelectObject(dc, savedFont);
    SelectObject(dc, savedPen);
    SelectObject(dc, savedBrush);
}

LRESULT OnPaint(GridBoard* board, HWND window)
{
    // Only the pens are made at each paint; everything else lives with the
    // board or the window.
    const GridGeometry geometry(board->dpi);
    const bool theme = ContrastThemeOn();
    HPEN boxPen = CreatePen(PS_SOLID, geometry.Scale(3), theme ? GetSysColor(COLOR_WINDOWTEXT) : kBoxLineColour);
    HPEN borderPen = CreatePen(PS_SOLID, geometry.Scale(1), theme ? GetSysColor(COLOR_WINDOWTEXT) : kCellBorderColour);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    DrawBoard(board, dc, boxPen, borderPen);
    EndPaint(window, &paint);
    DeleteObject(boxPen);
    DeleteObject(borderPen);
    return 0;
}
