#pragma once

#include <initializer_list>
#include <utility>
#include <string>

// A complete solution, row by row:
//   534 678 912 / 672 195 348 / 198 342 567
//   859 761 423 / 426 853 791 / 713 924 856
//   961 537 284 / 287 419 635 / 345 286 179
inline const char* SolvedGrid()
{
    return "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
}

// The solution with the given cells left for the player to fill ('.').
inline std::string Hiding(std::initializer_list<int> cells)
{
    std::string layout = SolvedGrid();
    for (int cell : cells)
        layout[cell] = '.';
    return layout;
}

// An empty grid with a few givens, each a cell and its digit.
inline std::string Sparse(std::initializer_list<std::pair<int, char>> givens)
{
    std::string layout(81, '.');
    for (auto given : givens)
        layout[given.first] = given.second;
    return layout;
}
