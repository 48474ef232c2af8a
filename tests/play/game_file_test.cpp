#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/game_file.h"
#include "tests/game_image.h"

namespace fs = std::filesystem;

namespace {

typedef std::vector<unsigned char> Bytes;

std::wstring Wide(const std::string& path) { return fs::path(path).wstring(); }

// A path as the game takes it, through UTF-8, which both file systems name
// every character with.
std::wstring WideOf(const fs::path& path)
{
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_UTF8, 0, path.u8string().c_str(), -1, wide, MAX_PATH);
    return wide;
}

// A game as the program could have saved it: a complete solution with its
// digits shifted by seed, a third of the cells hidden and every other
// hidden one filled in.
GameImage Pattern(int seed)
{
    GameImage game;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int row = cell / 9;
        const int16_t digit = static_cast<int16_t>(1 + (row * 3 + row / 3 + cell % 9 + seed) % 9);
        const bool hidden = (cell + seed) % 3 == 0;
        game.solution[cell] = digit;
        game.mask[cell] = hidden ? kHidden : kGiven;
        game.player[cell] = !hidden || (cell + seed) % 6 == 0 ? digit : 0;
    }
    for (int i = 0; i < kMarkCount; ++i)
        game.marks[i] = static_cast<uint8_t>((i * 7 + seed) % 4 == 0);
    return game;
}

void Put(const GameImage& game, PuzzleGrid* puzzle)
{
    std::memcpy(PlayerGrid, game.player, sizeof game.player);
    std::memcpy(puzzle->values, game.solution, sizeof game.solution);
    std::memcpy(puzzle->mask, game.mask, sizeof game.mask);
    std::memcpy(PencilMarks, game.marks, sizeof game.marks);
}

GameImage Live(const PuzzleGrid& puzzle)
{
    GameImage game;
    std::memcpy(game.player, PlayerGrid, sizeof game.player);
    std::memcpy(game.solution, puzzle.values, sizeof game.solution);
    std::memcpy(game.mask, puzzle.mask, sizeof game.mask);
    std::memcpy(game.marks, PencilMarks, sizeof game.marks);
    return game;
}

Bytes Shorter(Bytes bytes, size_t count)
{
    bytes.resize(bytes.size() - count);
    return bytes;
}

Bytes Patched(Bytes bytes, size_t offset, std::initializer_list<unsigned char> patch)
{
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(offset));
    return bytes;
}

class GameFile : public ::testing::Test {
protected:
    PuzzleGrid puzzle;
    fs::path folder;

    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder =
            fs::temp_directory_path() / ("nonaro-play-" + std::string(test->name()) + "-" +
                                         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    std::string Write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return PathOf(name);
    }

    static Bytes Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(GameFile, SavedGameHasTheCurrentLayoutAndLoadsBackByteForByte)
{
    const GameImage saved = Pattern(1);
    Put(saved, &puzzle);
    const std::string path = PathOf("partie.nro");
    ASSERT_EQ(1, SaveGameFile(&puzzle, Wide(path).c_str()));
    EXPECT_EQ(saved.Encode(), Read(path));
    EXPECT_EQ(std::vector<std::string>{"partie.nro"}, Entries());

    Put(Pattern(2), &puzzle);
    ASSERT_EQ(1, LoadGameFile(&puzzle, Wide(path).c_str()));
    EXPECT_EQ(saved.Encode(), Live(puzzle).Encode());
}

TEST_F(GameFile, NewGameSavesToExactly1142Bytes)
{
    GenerateNewGame(&puzzle, 0);
    const std::string path = PathOf("neuve.nro");
    ASSERT_EQ(1, SaveGameFile(&puzzle, Wide(path).c_str()));
    EXPECT_EQ(1142u, fs::file_size(path));
}

TEST_F(GameFile, SaveReplacesALongerFileWhole)
{
    const std::string path = Write("partie.nro", Bytes(5000, 0xAB));
    Put(Pattern(3), &puzzle);
    ASSERT_EQ(1, SaveGameFile(&puzzle, Wide(path).c_str()));
    EXPECT_EQ(Pattern(3).Encode(), Read(path));
    EXPECT_EQ(std::vector<std::string>{"partie.nro"}, Entries());
}

TEST_F(GameFile, OlderLayoutLoadsWithEveryMarkCleared)
{
    const GameImage old = Pattern(4);
    Bytes bytes = old.EncodeOld();
    ASSERT_EQ(413u, bytes.size());
    bytes.insert(bytes.end(), 40, 0x77);  // beyond the layout: ignored
    const std::string path = Write("ancienne.nro", bytes);
    Put(Pattern(5), &puzzle);
    ASSERT_EQ(1, LoadGameFile(&puzzle, Wide(path).c_str()));
    GameImage expected = old;
    std::memset(expected.marks, 0, sizeof expected.marks);
    EXPECT_EQ(expected.Encode(), Live(puzzle).Encode());
}

TEST_F(GameFile, BytesBeyondTheCurrentLayoutAreIgnored)
{
    Bytes bytes = Pattern(6).Encode();
    bytes.insert(bytes.end(), 3, 0xFF);
    const std::string path = Write("longue.nro", bytes);
    ASSERT_EQ(1, LoadGameFile(&puzzle, Wide(path).c_str()));
    EXPECT_EQ(Pattern(6).Encode(), Live(puzzle).Encode());
}

TEST_F(GameFile, RefusedFilesLeaveEveryArrayAsItWas)
{
    const GameImage good = Pattern(7);
    const Bytes current = good.Encode();
    // Cell 0 is a given and cell 2 a hidden cell left empty; 3 shares their row.
    ASSERT_TRUE(good.mask[0] == kGiven && good.mask[2] == kHidden && good.player[2] == 0);
    auto changed = [&](std::function<void(GameImage&)> change) {
        GameImage game = good;
        change(game);
        return game.Encode();
    };
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", Bytes()},
        {"magic only, 7 bytes", Shorter(current, kGameFileSize - 7)},
        {"magic only", Shorter(current, kGameFileSize - 8)},
        {"other magic", Patched(current, 0, {'N', 'O', 'N', 'A', 'R', 'O', '3'})},
        {"lower-case magic", Patched(current, 0, {'n', 'o', 'n', 'a', 'r', 'o', '2'})},
        {"no NUL after the magic", Patched(current, 7, {'X'})},
        {"control character after the magic", Patched(current, 7, {0x01})},
        {"soft hyphen after the magic", Patched(current, 7, {0xAD})},
        {"soft hyphen inside the magic", Patched(current, 6, {0xAD, '2'})},
        {"current magic, older length", Shorter(current, kGameFileSize - kOldGameFileSize)},
        {"one byte short", Shorter(current, 1)},
        {"older layout one byte short", Shorter(good.EncodeOld(), 1)},
        {"player value 10", Patched(current, 8 + 2 * 40, {10, 0})},
        {"negative player value", Patched(current, 8 + 2 * 3, {0xFF, 0xFF})},
        {"player value with a high byte", Patched(current, 8 + 2 * 80, {1, 1})},
        {"solution 0", Patched(current, 170 + 2 * 5, {0, 0})},
        {"solution 10", Patched(current, 170 + 2 * 80, {10, 0})},
        {"mask 2", Patched(current, 332 + 7, {2})},
        {"mark 2", Patched(current, 413 + 728, {2})},
        {"a digit twice in a row of the solution", changed([](GameImage& g) { g.solution[2] = g.solution[3]; })},
        {"a given without its digit", changed([](GameImage& g) { g.player[0] = 0; })},
        {"a player digit clashing in its row", changed([](GameImage& g) { g.player[2] = g.player[0]; })},
    };

    Put(Pattern(8), &puzzle);
    const GameImage before = Live(puzzle);
    for (const Case& c : cases) {
        const std::string path = Write("refusee.nro", c.bytes);
        EXPECT_EQ(0, LoadGameFile(&puzzle, Wide(path).c_str())) << c.what;
        EXPECT_EQ(before.Encode(), Live(puzzle).Encode()) << c.what;
    }
    EXPECT_EQ(0, LoadGameFile(&puzzle, Wide(PathOf("absente.nro")).c_str()));
    EXPECT_EQ(0, LoadGameFile(&puzzle, Wide(folder.string()).c_str()));
    EXPECT_EQ(0, LoadGameFile(&puzzle, nullptr));
    EXPECT_EQ(before.Encode(), Live(puzzle).Encode());
}

TEST_F(GameFile, FailedSaveLeavesThePreviousFileAndNoLitter)
{
    const Bytes previous = Pattern(9).Encode();
    const std::string path = Write("partie.nro", previous);
    fs::create_directory(folder / "dossier.nro");
    Put(Pattern(10), &puzzle);

    EXPECT_EQ(0, SaveGameFile(&puzzle, Wide((folder / "absent" / "partie.nro").string()).c_str()));
    EXPECT_EQ(0, SaveGameFile(&puzzle, Wide(PathOf("dossier.nro")).c_str()));
    EXPECT_EQ(0, SaveGameFile(&puzzle, nullptr));
    EXPECT_EQ(0, SaveGameFile(nullptr, Wide(path).c_str()));

    EXPECT_EQ(previous, Read(path));
    EXPECT_TRUE(fs::is_directory(folder / "dossier.nro"));
    EXPECT_EQ((std::vector<std::string>{"dossier.nro", "partie.nro"}), Entries());
}

TEST_F(GameFile, NamesOutsideTheSystemsCodePageSaveAndLoadBack)
{
    // Cyrillic, accents and the euro sign, and characters whose second byte
    // in a double-byte code page is the one of a backslash (0x5C).
    struct Case {
        const char* folder;
        const char* name;
    } const cases[] = {
        {"\xE8\xA1\xA8\xE3\x82\xBD", "\xE8\xA1\xA8.nro"},
        {"\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C", "\xD0\xB8\xD0\xB3\xD1\x80\xD0\xB0.nro"},
        {"d\xC3\xA9j\xC3\xA0", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.nro"},
    };
    for (const Case& c : cases) {
        const fs::path place = folder / fs::u8path(c.folder);
        fs::create_directory(place);
        const fs::path file = place / fs::u8path(c.name);
        const std::wstring path = WideOf(file);
        Put(Pattern(11), &puzzle);
        ASSERT_EQ(1, SaveGameFile(&puzzle, path.c_str())) << c.name;
        EXPECT_EQ(kGameFileSize, fs::file_size(file));
        EXPECT_EQ(1, std::distance(fs::directory_iterator(place), fs::directory_iterator()));
        Put(Pattern(12), &puzzle);
        ASSERT_EQ(1, LoadGameFile(&puzzle, path.c_str())) << c.name;
        EXPECT_EQ(Pattern(11).Encode(), Live(puzzle).Encode());
    }
}

TEST_F(GameFile, FolderTooLongForTheTemporaryFileIsRefusedWithNothingWritten)
{
    // The temporary file's name adds up to 14 characters to its folder,
    // which is counted with its closing separator.
    const size_t start = WideOf(folder / "").size();
    for (size_t length : {static_cast<size_t>(MAX_PATH - 14), static_cast<size_t>(MAX_PATH - 13)}) {
        const fs::path place = folder / std::wstring(length - 1 - start, L'd');
        ASSERT_TRUE(fs::create_directory(place)) << length;
        const std::wstring path = WideOf(place / "p.nro");
        const bool fits = length <= static_cast<size_t>(MAX_PATH - 14);
        EXPECT_EQ(fits ? 1 : 0, SaveGameFile(&puzzle, path.c_str())) << length;
        EXPECT_EQ(fits ? 1 : 0, std::distance(fs::directory_iterator(place), fs::directory_iterator())) << length;
    }
}

#ifdef NONARO_FUZZ_CORPUS
Bytes Longer(Bytes bytes, unsigned char byte, size_t count)
{
    bytes.insert(bytes.end(), count, byte);
    return bytes;
}

// The fuzz target's seed corpus: variations of one valid game, so the fuzzer
// starts from both layouts and the ways a file goes wrong. The committed
// corpus is what this makes; NONARO_WRITE_FUZZ_CORPUS=1 writes it first.
TEST_F(GameFile, FuzzCorpusIsWhatTheEncoderMakes)
{
    // Cell 0 is a given, cell 1 hidden and empty; every fourth hidden cell is
    // filled in.
    GameImage game = GameImage::Solved();
    for (int cell = 0; cell < kCellCount; ++cell)
        if (cell * 7 % 3) {
            game.mask[cell] = kHidden;
            game.player[cell] = cell % 4 ? 0 : game.solution[cell];
        }
    GameImage empty = game;
    for (int cell = 0; cell < kCellCount; ++cell)
        empty.player[cell] = game.mask[cell] ? 0 : game.solution[cell];
    for (int i = 0; i < kMarkCount; ++i)
        game.marks[i] = i * 5 % 11 == 0;
    const Bytes current = game.Encode();
    const Bytes old = game.EncodeOld();
    const std::pair<const char*, Bytes> seeds[] = {
        {"current.nro", current},
        {"current-empty-game.nro", empty.Encode()},
        {"current-trailing.nro", Longer(current, 0xFF, 16)},
        {"old.nro", old},
        {"old-trailing.nro", Longer(old, 0x01, 40)},
        {"truncated-current.nro", Shorter(current, 1)},
        {"truncated-current-at-old-size.nro", Shorter(current, kGameFileSize - kOldGameFileSize)},
        {"truncated-old.nro", Shorter(old, 1)},
        {"truncated-magic.nro", Shorter(current, kGameFileSize - 7)},
        {"magic-only.nro", Shorter(current, kGameFileSize - 8)},
        {"empty.nro", Bytes()},
        {"wrong-magic.nro", Patched(current, 0, {'N', 'O', 'N', 'A', 'R', 'O', '3'})},
        {"lower-case-magic.nro", Patched(current, 0, {'n', 'o', 'n', 'a', 'r', 'o', '2'})},
        {"no-nul-after-magic.nro", Patched(current, 7, {'X'})},
        {"player-out-of-range.nro", Patched(current, 8 + 2 * 10, {10, 0})},
        {"solution-zero.nro", Patched(current, 170 + 2 * 80, {0, 0})},
        {"mask-two.nro", Patched(current, 332 + 40, {2})},
        {"mark-two.nro", Patched(current, 413 + 728, {2})},
        // Values in range that make no game.
        {"solution-repeats.nro", Patched(current, 170 + 2 * 1, {static_cast<unsigned char>(game.solution[2]), 0})},
        {"given-without-its-digit.nro", Patched(current, 8, {0, 0})},
        {"player-digits-clash.nro", Patched(current, 8 + 2 * 1, {static_cast<unsigned char>(game.player[0]), 0})},
    };
    for (const auto& seed : seeds) {
        const std::string path = (fs::path(NONARO_FUZZ_CORPUS) / seed.first).string();
        if (std::getenv("NONARO_WRITE_FUZZ_CORPUS"))
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(seed.second.data()),
                       static_cast<std::streamsize>(seed.second.size()));
        EXPECT_EQ(seed.second, Read(path)) << seed.first;
    }
}
#endif

}  // namespace
