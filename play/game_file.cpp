#include "play/game_file.h"

#include <cstring>

#include "engine/group_digits.h"
#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"

// The file is the raw image of the four arrays behind an 8-byte magic, values
// as little-endian 16-bit integers:
//   0 magic, 8 PlayerGrid, 170 solution, 332 CellMask, 413 PencilMarks.
// The older layout stops before the pencil marks.
namespace {

const char kCurrentMagic[] = "NONARO2";
const char kOldMagic[] = "NONARO ";
const unsigned kMagicSize = 8;
const unsigned kPlayerOffset = 8;
const unsigned kSolutionOffset = kPlayerOffset + 2 * kCellCount;
const unsigned kMaskOffset = kSolutionOffset + 2 * kCellCount;
const unsigned kMarksOffset = kMaskOffset + kCellCount;
// GetTempFileName adds at most 14 characters to its folder.
const size_t kLongestTemporaryFolder = MAX_PATH - 14;

static_assert(kMarksOffset == kOldGameFileSize, "the older layout ends where the marks begin");
static_assert(kMarksOffset + kMarkCount == kGameFileSize, "the marks end the current layout");

void PutValues(unsigned char* out, const int16_t* values)
{
    for (int i = 0; i < kCellCount; ++i) {
        uint16_t bits = static_cast<uint16_t>(values[i]);
        out[2 * i] = static_cast<unsigned char>(bits & 0xFF);
        out[2 * i + 1] = static_cast<unsigned char>(bits >> 8);
    }
}

// Reads the values and tells whether each lies in [low, high].
bool GetValues(const unsigned char* in, int16_t* values, int low, int high)
{
    for (int i = 0; i < kCellCount; ++i) {
        values[i] = static_cast<int16_t>(static_cast<uint16_t>(in[2 * i] | (in[2 * i + 1] << 8)));
        if (values[i] < low || values[i] > high)
            return false;
    }
    return true;
}

bool AllFlags(const unsigned char* bytes, int count)
{
    for (int i = 0; i < count; ++i)
        if (bytes[i] > 1)
            return false;
    return true;
}

// Whether no digit stands twice in a row, column or box; 0 is an empty cell.
bool NoDigitRepeats(const int16_t* values)
{
    GroupDigits seen = {};
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (values[cell] == 0)
            continue;
        if (!(seen.Free(cell) & (1u << (values[cell] - 1))))
            return false;
        seen.Add(cell, values[cell]);
    }
    return true;
}

// Whether values in range make a game that can be played and won: a
// complete solution, every given showing its digit, and no two player
// digits clashing, which the entry rules never let happen.
bool MakesAGame(const int16_t* player, const int16_t* solution, const uint8_t* mask)
{
    for (int cell = 0; cell < kCellCount; ++cell)
        if (mask[cell] == kGiven && player[cell] != solution[cell])
            return false;
    return NoDigitRepeats(solution) && NoDigitRepeats(player);
}

// The folder part of path, separator included, or "." for a bare file name;
// the temporary file has to live there for the final rename to be one step.
// A folder too long for GetTempFileName to add its name to is refused here,
// before anything is written.
bool FolderOf(const WCHAR* path, WCHAR* folder)
{
    size_t end = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':')
            end = i + 1;
    if (end == 0) {
        folder[0] = L'.';
        folder[1] = 0;
        return true;
    }
    if (end > kLongestTemporaryFolder)
        return false;
    std::memcpy(folder, path, end * sizeof *folder);
    folder[end] = 0;
    return true;
}

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Reads until size bytes or the end of the file; false on a read error.
bool ReadUpTo(HANDLE file, unsigned char* buffer, DWORD size, DWORD* got)
{
    *got = 0;
    while (*got < size) {
        DWORD n = 0;
        if (!ReadFile(file, buffer + *got, size - *got, &n, nullptr))
            return false;
        if (n == 0)
            break;
        *got += n;
    }
    return true;
}

// Puts the whole new game, written at temporary, in the place of path.
// ReplaceFileW keeps the replaced file's attributes, security and streams,
// which a rename would take from the temporary file; the rename serves where
// there is no file to replace yet or ReplaceFileW is refused. The old file
// goes to a backup name first, so that whatever a refusal leaves, it can be
// put back.
bool PutInPlace(const WCHAR* temporary, const WCHAR* path, const WCHAR* folder)
{
    const DWORD existing = GetFileAttributesW(path);
    if (existing == INVALID_FILE_ATTRIBUTES)
        return MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    // Wine's ReplaceFileW would move a folder aside for the game.
    if (existing & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    // A free name: ReplaceFileW moves the old file there itself.
    WCHAR backup[MAX_PATH];
    if (!GetTempFileNameW(folder, L"nro", 0, backup) || !DeleteFileW(backup))
        return false;
    if (ReplaceFileW(path, temporary, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
        MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(backup);
        return true;
    }
    // Only where the refusal had moved the old file away: a file standing
    // at path is never replaced here.
    MoveFileExW(backup, path, MOVEFILE_WRITE_THROUGH);
    return false;
}

// What the system answers for a file another program keeps from us: opened
// without sharing, or a range of it locked.
bool InUse(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

}  // namespace

void MakeGameImage(const PuzzleGrid* puzzle, unsigned char image[kGameFileSize])
{
    std::memcpy(image, kCurrentMagic, kMagicSize);
    PutValues(image + kPlayerOffset, PlayerGrid);
    PutValues(image + kSolutionOffset, puzzle->values);
    std::memcpy(image + kMaskOffset, puzzle->mask, kCellCount);
    std::memcpy(image + kMarksOffset, PencilMarks, kMarkCount);
}

int SaveGameFile(const PuzzleGrid* puzzle, const WCHAR* path)
{
    if (!puzzle || !path)
        return 0;
    unsigned char image[kGameFileSize];
    MakeGameImage(puzzle, image);
    return SaveGameImage(image, path);
}

int SaveGameImage(const unsigned char image[kGameFileSize], const WCHAR* path)
{
    if (!image || !path)
        return 0;

    // The game goes to a file of its own first and takes the old one's place
    // only once it is whole, so a failing disk never leaves half a game.
    WCHAR folder[MAX_PATH];
    WCHAR temporary[MAX_PATH];
    if (!FolderOf(path, folder) || !GetTempFileNameW(folder, L"nro", 0, temporary))
        return 0;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(temporary);
        return 0;
    }
    bool written = WriteAll(file, image, kGameFileSize) && FlushFileBuffers(file);
    bool closed = CloseHandle(file) != 0;
    if (!written || !closed || !PutInPlace(temporary, path, folder)) {
        DeleteFileW(temporary);
        return 0;
    }
    return 1;
}

int LoadGameFile(PuzzleGrid* puzzle, const WCHAR* path, GameFileRefusal* refusal)
{
    if (refusal)
        *refusal = kNotAGame;
    if (!puzzle || !path)
        return 0;
    // Every sharing mode: a sync client or an editor that holds the file open
    // for writing does not keep it from being read, and whatever is read is
    // checked whole before it is taken.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (refusal && InUse(GetLastError()))
            *refusal = kFileInUse;
        return 0;
    }
    unsigned char image[kGameFileSize];
    DWORD size = 0;
    bool read = ReadUpTo(file, image, sizeof image, &size);
    // A range locked by another program fails the read itself.
    if (!read && refusal && InUse(GetLastError()))
        *refusal = kFileInUse;
    CloseHandle(file);
    if (!read || size < kMagicSize)
        return 0;

    // lstrcmpA compares linguistically and passes over characters such as
    // the soft hyphen, so "NONARO2" followed by one would match; only a NUL
    // in the eighth byte makes the match exact.
    char magic[kMagicSize + 1];
    std::memcpy(magic, image, kMagicSize);
    magic[kMagicSize] = '\0';
    bool terminated = magic[kMagicSize - 1] == '\0';
    bool old = terminated && lstrcmpA(magic, kOldMagic) == 0;
    bool current = !old && terminated && lstrcmpA(magic, kCurrentMagic) == 0;
    if (!old && !current)
        return 0;
    if (size < (old ? kOldGameFileSize : kGameFileSize))
        return 0;

    // Everything is checked before the live arrays change: a bad file leaves
    // the game in progress exactly as it was.
    int16_t player[kCellCount];
    int16_t solution[kCellCount];
    if (!GetValues(image + kPlayerOffset, player, 0, 9) || !GetValues(image + kSolutionOffset, solution, 1, 9) ||
        !AllFlags(image + kMaskOffset, kCellCount) || (current && !AllFlags(image + kMarksOffset, kMarkCount)) ||
        !MakesAGame(player, solution, image + kMaskOffset))
        return 0;

    std::memcpy(PlayerGrid, player, sizeof player);
    std::memcpy(puzzle->values, solution, sizeof solution);
    std::memcpy(puzzle->mask, image + kMaskOffset, kCellCount);
    if (current)
        std::memcpy(PencilMarks, image + kMarksOffset, kMarkCount);
    else
        std::memset(PencilMarks, 0, kMarkCount);
    return 1;
}
