#pragma once

#include <cstdint>

// A plain, slow transcription of the engine's algorithms, step by step, with
// its own frames and grid. The engine proper is optimised; the equivalence
// tests hold it to this one, draw for draw.
namespace reference {

struct Frame {
    uint8_t flags[81 * 9];
    int32_t branchCell;
};

struct Puzzle {
    int16_t values[81];
    uint8_t mask[81];
};

int ComputeCandidates(Frame* frame, int cell, const int16_t* values);
int PlaceRandomCandidate(Frame* frame, int16_t* values);
void FillSolution(Puzzle* puzzle);
int CountSolutions(const Puzzle* source, const uint8_t* mask);
int WithinHiddenLimit(const Puzzle* puzzle, int cell, int limit);
int IsDeducible(const Puzzle* puzzle, int cell);
void DigHoles(Puzzle* puzzle, int level);
void GenerateNewGame(Puzzle* puzzle, int level, int16_t* playerGrid, uint8_t* pencilMarks);

}  // namespace reference
