#pragma once

// Cells are numbered 0..80 row by row; -1 means "no cell". Boxes are the nine
// 3x3 blocks numbered row by row, bands the three horizontal strips of boxes,
// towers the three vertical ones.
const int kCellCount = 81;
const int kDigitCount = 9;
const int kMarkCount = kCellCount * kDigitCount;  // one pencil-mark byte per cell and digit
const int kNoCell = -1;

inline bool IsCell(int cell) { return cell >= 0 && cell < kCellCount; }

inline int CellRow(int cell) { return cell / 9; }
inline int CellColumn(int cell) { return cell % 9; }
inline int CellBox(int cell) { return (cell / 27) * 3 + (cell % 9) / 3; }
inline int CellBand(int cell) { return cell / 27; }
inline int CellTower(int cell) { return (cell % 9) / 3; }
inline int RowStart(int cell) { return (cell / 9) * 9; }
inline int BoxStart(int cell) { return (cell / 27) * 27 + ((cell % 9) / 3) * 3; }
inline int RowSegmentStart(int cell) { return (cell / 9) * 9 + ((cell % 9) / 3) * 3; }
inline int ColumnSegmentCell(int cell, int j) { return (cell / 27) * 27 + cell % 9 + 9 * j; }
inline int RowCell(int row, int i) { return row * 9 + i; }
inline int ColumnCell(int column, int i) { return i * 9 + column; }
// Walks a box row by row from its first cell: for 60 it gives 60, 61, 62, 69, ...
inline int BoxCell(int boxStart, int i) { return boxStart + i + (i / 3) * 6; }
inline int BoxFirstCell(int box) { return (box / 3) * 27 + (box % 3) * 3; }
