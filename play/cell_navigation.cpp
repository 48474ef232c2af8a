#include "play/cell_navigation.h"

#include "engine/cell_geometry.h"
#include "engine/puzzle_grid.h"

int32_t NavigationTarget(const uint8_t* cellMask, int32_t from, WPARAM key)
{
    if (!IsCell(from))
        return kNoCell;
    const int32_t row = from / 9;
    int32_t candidate;
    // Each search tests its bounds before it reads the mask, so it never
    // reads outside the 81 cells; a cell whose mask is neither 0 nor 1 stops
    // the search without being taken.
    switch (key) {
    case VK_DOWN:
        candidate = from + 9;
        while (candidate <= 79 && cellMask[candidate] == kGiven)
            candidate += 9;
        if (candidate > 80 || cellMask[candidate] != kHidden)
            return kNoCell;
        return candidate;
    case VK_UP:
        candidate = from - 9;
        while (candidate > 0 && cellMask[candidate] == kGiven)
            candidate -= 9;
        if (candidate < 0 || cellMask[candidate] != kHidden)
            return kNoCell;
        return candidate;
    case VK_RIGHT:
        candidate = from + 1;
        while (candidate / 9 == row && cellMask[candidate] == kGiven)
            candidate += 1;
        if (candidate / 9 != row || cellMask[candidate] != kHidden)
            return kNoCell;
        return candidate;
    case VK_LEFT:
        // -1 / 9 truncates to row 0, so the sign is tested before the row.
        candidate = from - 1;
        while (candidate > 0 && candidate / 9 == row && cellMask[candidate] == kGiven)
            candidate -= 1;
        if (candidate < 0 || candidate / 9 != row || cellMask[candidate] != kHidden)
            return kNoCell;
        return candidate;
    default:
        return kNoCell;
    }
}

int32_t ArrowStartCell(const uint8_t* cellMask, int32_t remembered)
{
    if (IsCell(remembered) && cellMask[remembered] == kHidden)
        return remembered;
    for (int32_t cell = 0; cell < kCellCount; ++cell)
        if (cellMask[cell] == kHidden)
            return cell;
    return kNoCell;
}
