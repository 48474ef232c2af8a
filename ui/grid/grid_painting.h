#pragma once

#include <windows.h>

#include <cstdint>

#include "play/grid_board.h"

// The grid window's painting and the drawing objects it paints with.

// WM_PAINT: the cells in the invalid region, with pens made for this paint.
LRESULT OnPaint(GridBoard* board, HWND window);

// The selection patterns at the board's scale, made while the window exists;
// a released pattern is nulled, so the board's own release passes it over.
void MakePatterns(GridBoard* board);
void ReleasePatterns(GridBoard* board);

// Makes the board's drawing objects for `dpi`, releasing those of the old
// scale; the patterns only while the window exists.
void SetBoardScale(GridBoard* board, int dpi);

// What a cell shows, by the first that holds: a clash on screen, the pen's
// or the pencil's selection (all three while the blink phase is on), a
// complete group, or none of these. The first three are highlighted.
enum CellState { kClashingCell, kPenSelectedCell, kPencilSelectedCell, kCompleteCell, kPlainCell };
CellState CellStateOf(const GridBoard* board, int32_t cell);

// The brush a cell is filled with, by its state: the board's own, or in a
// contrast theme the system's highlight and window colours.
HBRUSH CellBrush(const GridBoard* board, int32_t cell);

// Draws the whole board into dc: cells, digits, pencil marks, box lines.
// Leaves the dc's selected objects and brush origin as it found them; the
// text colour is left black and the background mode transparent.
void DrawBoard(const GridBoard* board, HDC dc, HPEN boxPen, HPEN borderPen);
