// nonaro-generate: makes puzzles exactly as the "Nouvelle grille" command
// does, one after another from a single srand seed, and reports how long the
// engine took for each.
//
//   nonaro-generate [--level 0|1|2] [--count N] [--seed N]
//
// Each puzzle is one line: the 81 cells row by row, a given's digit or '.'
// for a hidden cell, a comma, then the 81 digits of the solution.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/puzzle_grid.h"

namespace {

const char kUsage[] =
    "usage: nonaro-generate [--level 0|1|2] [--count N] [--seed N]\n"
    "  --level  difficulty: 0 Facile, 1 Moyen, 2 Difficile (default 0)\n"
    "  --count  number of puzzles, 1 to 10000000 (default 1)\n"
    "  --seed   0 to 4294967295, given to srand once before the first puzzle (default 1)\n";

int Usage(const char* problem, const char* option)
{
    std::fprintf(stderr, "nonaro-generate: %s%s\n", problem, option);
    std::fputs(kUsage, stderr);
    return 2;
}

// Whole decimal numbers only: no sign, no blanks, no trailing text.
bool ParseNumber(const char* text, unsigned long long low, unsigned long long high, unsigned long long* value)
{
    if (!*text)
        return false;
    unsigned long long result = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        result = result * 10 + static_cast<unsigned>(*p - '0');
        if (result > high)
            return false;
    }
    if (result < low)
        return false;
    *value = result;
    return true;
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    // Nearest rank: the smallest time that at least this share of puzzles
    // did not exceed.
    size_t rank = static_cast<size_t>(fraction * static_cast<double>(sorted.size()) + 0.999999);
    if (rank < 1)
        rank = 1;
    if (rank > sorted.size())
        rank = sorted.size();
    return sorted[rank - 1];
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned long long level = 0, count = 1, seed = 1;
    struct Option {
        const char* name;
        unsigned long long* value;
        unsigned long long low, high;
    };
    const Option options[] = {
        {"--level", &level, 0, 2},
        {"--count", &count, 1, 10000000},
        {"--seed", &seed, 0, 4294967295u},
    };
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const Option* option = nullptr;
        for (const Option& candidate : options) {
            if (std::strcmp(argv[i], candidate.name) == 0)
                option = &candidate;
        }
        if (!option)
            return Usage("unknown option ", argv[i]);
        if (i + 1 >= argc)
            return Usage("missing value after ", option->name);
        if (!ParseNumber(argv[++i], option->low, option->high, option->value))
            return Usage("bad value for ", option->name);
    }

    static PuzzleGrid puzzle;
    std::vector<double> times;
    times.reserve(static_cast<size_t>(count));
    std::srand(static_cast<unsigned>(seed));
    char line[81 + 1 + 81 + 1];
    for (unsigned long long n = 0; n < count; ++n) {
        auto start = std::chrono::steady_clock::now();
        GenerateNewGame(&puzzle, static_cast<int>(level));
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        for (int cell = 0; cell < kCellCount; ++cell) {
            char digit = static_cast<char>('0' + puzzle.values[cell]);
            line[cell] = puzzle.mask[cell] == kGiven ? digit : '.';
            line[82 + cell] = digit;
        }
        line[81] = ',';
        line[163] = '\n';
        std::fwrite(line, 1, sizeof(line), stdout);
    }
    std::fflush(stdout);

    std::sort(times.begin(), times.end());
    std::fprintf(stderr, "nonaro-generate: %llu puzzles at level %llu: median %.3f ms, 99th percentile %.3f ms\n",
                 count, level, Percentile(times, 0.5), Percentile(times, 0.99));
    return std::ferror(stdout) ? 1 : 0;
}
