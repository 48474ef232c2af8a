// Writes the seed corpus of the saved-game fuzz target, or with --check tells
// whether a folder holds it byte for byte:
//
//   make_fuzz_corpus [--check] tests/play/corpus
//
// Each seed is a small variation of one valid game, so the fuzzer starts from
// both layouts and from the ways a file goes wrong.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/game_image.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Patched(Bytes bytes, size_t offset, const Bytes& patch)
{
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(offset));
    return bytes;
}

Bytes Value(int16_t value) { return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)}; }

Bytes Cut(const Bytes& bytes, size_t size) { return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(size)); }

Bytes Repeated(Bytes bytes, uint8_t byte, size_t count)
{
    bytes.insert(bytes.end(), count, byte);
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: make_fuzz_corpus [--check] <folder>\n");
        return 2;
    }
    // Cell 0 is a given, cell 1 hidden and empty; every fourth hidden cell is
    // filled in.
    GameImage game = GameImage::Solved();
    for (int cell = 0; cell < 81; ++cell)
        if (cell * 7 % 3) {
            game.mask[cell] = 1;
            game.player[cell] = cell % 4 ? 0 : game.solution[cell];
        }
    GameImage empty = game;
    for (int cell = 0; cell < 81; ++cell)
        empty.player[cell] = game.mask[cell] ? 0 : game.solution[cell];
    for (int i = 0; i < 729; ++i)
        game.marks[i] = i * 5 % 11 == 0;
    const Bytes current = game.Encode();
    const Bytes old = game.EncodeOld();

    const std::pair<const char*, Bytes> seeds[] = {
        {"current.nro", current},
        {"current-empty-game.nro", empty.Encode()},
        {"current-trailing.nro", Repeated(current, 0xFF, 16)},
        {"old.nro", old},
        {"old-trailing.nro", Repeated(old, 0x01, 40)},
        {"truncated-current.nro", Cut(current, 1141)},
        {"truncated-current-at-old-size.nro", Cut(current, 413)},
        {"truncated-old.nro", Cut(old, 412)},
        {"truncated-magic.nro", Cut(current, 7)},
        {"magic-only.nro", Cut(current, 8)},
        {"empty.nro", Bytes()},
        {"wrong-magic.nro", Patched(current, 0, {'N', 'O', 'N', 'A', 'R', 'O', '3'})},
        {"lower-case-magic.nro", Patched(current, 0, {'n', 'o', 'n', 'a', 'r', 'o', '2'})},
        {"no-nul-after-magic.nro", Patched(current, 7, {'X'})},
        {"player-out-of-range.nro", Patched(current, 8 + 2 * 10, Value(10))},
        {"solution-zero.nro", Patched(current, 170 + 2 * 80, Value(0))},
        {"mask-two.nro", Patched(current, 332 + 40, {2})},
        {"mark-two.nro", Patched(current, 413 + 728, {2})},
        // Values in range that make no game.
        {"solution-repeats.nro", Patched(current, 170 + 2 * 1, Value(game.solution[2]))},
        {"given-without-its-digit.nro", Patched(current, 8, Value(0))},
        {"player-digits-clash.nro", Patched(current, 8 + 2 * 1, Value(game.player[0]))},
    };
    int differing = 0;
    for (const auto& seed : seeds) {
        const std::string path = std::string(argv[argc - 1]) + "/" + seed.first;
        if (check) {
            std::ifstream in(path, std::ios::binary);
            if (Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) != seed.second) {
                std::fprintf(stderr, "%s differs from its seed\n", path.c_str());
                ++differing;
            }
        } else {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(seed.second.data()),
                       static_cast<std::streamsize>(seed.second.size()));
        }
    }
    return differing;
}
