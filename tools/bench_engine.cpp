// nonaro-bench: how long the engine's steps take, natively.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "engine/puzzle_grid.h"

namespace {

void BM_FillSolution(benchmark::State& state)
{
    static PuzzleGrid puzzle;
    std::srand(1);
    for (auto _ : state) {
        puzzle.FillSolution();
        benchmark::DoNotOptimize(puzzle.values);
    }
}
BENCHMARK(BM_FillSolution);

// The check DigHoles makes after each tried cell, here on finished puzzles:
// a fresh one every 64 runs, so that no single grid decides the figure.
void BM_CountSolutionsOnDugPuzzle(benchmark::State& state)
{
    static PuzzleGrid puzzle;
    std::srand(2);
    int runs = 0;
    for (auto _ : state) {
        if (runs++ % 64 == 0) {
            state.PauseTiming();
            GenerateNewGame(&puzzle, static_cast<int>(state.range(0)));
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(CountSolutions(&puzzle, puzzle.mask));
    }
}
BENCHMARK(BM_CountSolutionsOnDugPuzzle)->DenseRange(0, 2);

void BM_NewGame(benchmark::State& state)
{
    static PuzzleGrid puzzle;
    std::srand(3);
    for (auto _ : state) {
        GenerateNewGame(&puzzle, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(puzzle.mask);
    }
}
BENCHMARK(BM_NewGame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
