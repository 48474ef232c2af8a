#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/game_file.h"

// Arbitrary bytes as a saved game: a refused file must leave all four arrays
// as they were, an accepted one must leave nothing out of range.
namespace {

PuzzleGrid puzzle;

const std::string& ScratchFile()
{
    static std::string path;
    if (path.empty()) {
        char name[] = "/tmp/nonaro-fuzz-XXXXXX";
        int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        close(fd);
        path = name;
        std::atexit([] { unlink(path.c_str()); });
    }
    return path;
}

// The game in place before each load, for telling whether a refusal
// touched it: player values 9, solution 9, every cell hidden, every mark
// shown.
void Prime()
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        PlayerGrid[cell] = 9;
        puzzle.values[cell] = 9;
        puzzle.mask[cell] = 1;
    }
    std::memset(PencilMarks, 1, sizeof PencilMarks);
}

bool Primed()
{
    for (int cell = 0; cell < kCellCount; ++cell)
        if (PlayerGrid[cell] != 9 || puzzle.values[cell] != 9 || puzzle.mask[cell] != 1)
            return false;
    for (uint8_t mark : PencilMarks)
        if (mark != 1)
            return false;
    return true;
}

int16_t ValueAt(const uint8_t* data, size_t offset)
{
    return static_cast<int16_t>(static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8)));
}

// What an accepted file must have put in place, in range as it is.
bool TakenFrom(const uint8_t* data)
{
    bool current = data[6] == '2';
    for (int cell = 0; cell < kCellCount; ++cell)
        if (PlayerGrid[cell] != ValueAt(data, 8 + 2 * cell) || puzzle.values[cell] != ValueAt(data, 170 + 2 * cell) ||
            puzzle.mask[cell] != data[332 + cell])
            return false;
    for (int i = 0; i < kMarkCount; ++i)
        if (PencilMarks[i] != (current ? data[413 + i] : 0))
            return false;
    return true;
}

bool InRange()
{
    for (int cell = 0; cell < kCellCount; ++cell)
        if (PlayerGrid[cell] < 0 || PlayerGrid[cell] > 9 || puzzle.values[cell] < 1 || puzzle.values[cell] > 9 ||
            puzzle.mask[cell] > 1)
            return false;
    for (uint8_t mark : PencilMarks)
        if (mark > 1)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = ScratchFile();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);

    Prime();
    const std::wstring widePath(path.begin(), path.end());
    int loaded = LoadGameFile(&puzzle, widePath.c_str());
    if (loaded == 0 && !Primed())
        std::abort();
    if (loaded == 1 && (size < kOldGameFileSize || std::memcmp(data, "NONARO", 6) != 0 || data[7] != 0 ||
                        !TakenFrom(data) || !InRange()))
        std::abort();
    return 0;
}
