#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// The tests' one encoder of saved games, byte for byte: magic "NONARO2\0",
// PlayerGrid 81 x int16 LE, solution 81 x int16 LE, mask 81 bytes, marks 729
// bytes (1142 bytes); the older layout has the magic "NONARO \0" and no marks
// (413 bytes). Apart from the program's writer, so that its tests compare.
struct GameImage {
    int16_t player[81] = {};
    int16_t solution[81] = {};
    uint8_t mask[81] = {};    // 0 given, 1 hidden
    uint8_t marks[729] = {};  // cell * 9 + digit - 1

    // A complete, valid solution (a shifted pattern, or its transpose when
    // transposed is set), every cell given.
    static GameImage Solved(bool transposed = false);
    // Hides the cells (mask 1, player value 0); the others stay given.
    GameImage& Hide(std::initializer_list<int> cells);
    GameImage& Mark(int cell, int digit);
    GameImage& Fill(int cell, int value);

    std::vector<uint8_t> Encode() const;
    std::vector<uint8_t> EncodeOld() const;
    // Reads either layout; false when the bytes are no whole file of it.
    bool Decode(const std::vector<uint8_t>& bytes);
};
