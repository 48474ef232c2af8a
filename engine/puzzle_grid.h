#pragma once

#include <cstdint>

#include "engine/cell_geometry.h"
#include "engine/node_list.h"

// One frame of a search: the candidate flags of the cells scanned while it
// was the newest frame, and the cell its placements go to.
// Flag values: 0 free candidate, 1 held by a peer, 2 placed from this frame
// and taken back, not to be tried again from it.
struct SearchFrame {
    uint8_t flags[kMarkCount];  // cell * 9 + digit - 1
    int32_t branchCell;
};

typedef NodeList<SearchFrame> SearchStack;
typedef SearchStack::Node SearchNode;

// Cell mask states.
const uint8_t kGiven = 0;
const uint8_t kHidden = 1;
const uint8_t kTriedVisible = 2;  // exists only while DigHoles runs

// The one puzzle of the game: its complete solution, which cells the player
// is shown, and the generator's search stack.
class PuzzleGrid {
public:
    int16_t values[kCellCount];
    uint8_t mask[kCellCount];
    SearchStack stack;

    PuzzleGrid();
    ~PuzzleGrid();
    PuzzleGrid(const PuzzleGrid&) = delete;
    PuzzleGrid& operator=(const PuzzleGrid&) = delete;

    // Fills values with a random complete solution; the mask is left alone.
    void FillSolution();
    // Takes back the newest placement of the generator and tries another
    // candidate, discarding frames that have none left. frame is the stack's
    // last frame or null.
    void Backtrack(SearchNode* frame);

    // Rewrites mask for the level: 0 Facile, 1 Moyen, anything else Difficile.
    void DigHoles(int level);
    int CountMarkedCells() const;
    int WithinHiddenLimit(int cell, int limit) const;
    int IsDeducible(int cell) const;
};

// Recomputes the nine flags of cell in frame from values; returns how many
// are free.
int ComputeCandidates(SearchFrame* frame, int cell, const int16_t* values);
// Writes a random free candidate of the frame's branchCell into values.
// Returns 1 when a digit was placed, 0 when there was no frame or no free flag.
int PlaceRandomCandidate(SearchFrame* frame, int16_t* values);
// 0, 1, or 2 for "two or more" solutions of source's values with the cells
// whose mask byte is 1 emptied; with no mask the zeros of values are the
// empty cells. source is only read.
int CountSolutions(const PuzzleGrid* source, const uint8_t* mask);

// The engine half of "Nouvelle grille": fill a solution, dig it at level,
// then lay the givens out in PlayerGrid with every pencil mark cleared.
void GenerateNewGame(PuzzleGrid* puzzle, int level);
