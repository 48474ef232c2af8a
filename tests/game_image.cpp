#include "tests/game_image.h"

#include <cstring>

namespace {

const size_t kImageSize = 1142;
const size_t kOldImageSize = 413;

void PutValues(std::vector<uint8_t>& out, const int16_t* values)
{
    for (int i = 0; i < 81; ++i) {
        const uint16_t v = static_cast<uint16_t>(values[i]);
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>(v >> 8));
    }
}

void GetValues(const uint8_t* in, int16_t* values)
{
    for (int i = 0; i < 81; ++i)
        values[i] = static_cast<int16_t>(in[2 * i] | (in[2 * i + 1] << 8));
}

std::vector<uint8_t> Arrays(const GameImage& image, const char* magic)
{
    std::vector<uint8_t> out(magic, magic + 8);
    PutValues(out, image.player);
    PutValues(out, image.solution);
    out.insert(out.end(), image.mask, image.mask + 81);
    return out;
}

}  // namespace

GameImage GameImage::Solved(bool transposed)
{
    GameImage g;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const int rr = transposed ? c : r, cc = transposed ? r : c;
            g.solution[r * 9 + c] = static_cast<int16_t>((rr * 3 + rr / 3 + cc) % 9 + 1);
        }
    std::memcpy(g.player, g.solution, sizeof g.player);
    return g;
}

GameImage& GameImage::Hide(std::initializer_list<int> cells)
{
    for (int c : cells) {
        mask[c] = 1;
        player[c] = 0;
    }
    return *this;
}

GameImage& GameImage::Mark(int cell, int digit)
{
    marks[cell * 9 + digit - 1] = 1;
    return *this;
}

GameImage& GameImage::Fill(int cell, int value)
{
    player[cell] = static_cast<int16_t>(value);
    return *this;
}

std::vector<uint8_t> GameImage::Encode() const
{
    std::vector<uint8_t> out = Arrays(*this, "NONARO2");
    out.insert(out.end(), marks, marks + 729);
    return out;
}

std::vector<uint8_t> GameImage::EncodeOld() const { return Arrays(*this, "NONARO "); }

bool GameImage::Decode(const std::vector<uint8_t>& bytes)
{
    const bool current = bytes.size() == kImageSize && std::memcmp(bytes.data(), "NONARO2", 8) == 0;
    const bool old = bytes.size() == kOldImageSize && std::memcmp(bytes.data(), "NONARO ", 8) == 0;
    if (!current && !old)
        return false;
    GetValues(&bytes[8], player);
    GetValues(&bytes[170], solution);
    std::memcpy(mask, &bytes[332], 81);
    if (current)
        std::memcpy(marks, &bytes[413], 729);
    else
        std::memset(marks, 0, sizeof marks);
    return true;
}
