#include "tests/e2e/game_file_image.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void PutValues(std::vector<uint8_t>& out, const int16_t* values) {
  for (int i = 0; i < 81; ++i) {
    uint16_t v = static_cast<uint16_t>(values[i]);
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
  }
}

void GetValues(const uint8_t* in, int16_t* values) {
  for (int i = 0; i < 81; ++i) values[i] = static_cast<int16_t>(in[2 * i] | (in[2 * i + 1] << 8));
}

}  // namespace

GameImage GameImage::Solved(bool transposed) {
  GameImage g;
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c) {
      int rr = transposed ? c : r, cc = transposed ? r : c;
      g.solution[r * 9 + c] = static_cast<int16_t>((rr * 3 + rr / 3 + cc) % 9 + 1);
    }
  memcpy(g.player, g.solution, sizeof g.player);
  return g;
}

GameImage& GameImage::Hide(std::initializer_list<int> cells) {
  for (int c : cells) {
    mask[c] = 1;
    player[c] = 0;
  }
  return *this;
}

GameImage& GameImage::Mark(int cell, int digit) {
  marks[cell * 9 + digit - 1] = 1;
  return *this;
}

GameImage& GameImage::Fill(int cell, int value) {
  player[cell] = static_cast<int16_t>(value);
  return *this;
}

std::vector<uint8_t> GameImage::Encode() const {
  std::vector<uint8_t> out(reinterpret_cast<const uint8_t*>("NONARO2"), reinterpret_cast<const uint8_t*>("NONARO2") + 8);
  PutValues(out, player);
  PutValues(out, solution);
  out.insert(out.end(), mask, mask + 81);
  out.insert(out.end(), marks, marks + 729);
  return out;
}

std::vector<uint8_t> GameImage::EncodeOld() const {
  std::vector<uint8_t> out(reinterpret_cast<const uint8_t*>("NONARO "), reinterpret_cast<const uint8_t*>("NONARO ") + 8);
  PutValues(out, player);
  PutValues(out, solution);
  out.insert(out.end(), mask, mask + 81);
  return out;
}

bool GameImage::Decode(const std::vector<uint8_t>& bytes) {
  bool current = bytes.size() == kFileSize && memcmp(bytes.data(), "NONARO2", 8) == 0;
  bool old = bytes.size() == kOldFileSize && memcmp(bytes.data(), "NONARO ", 8) == 0;
  if (!current && !old) return false;
  GetValues(&bytes[8], player);
  GetValues(&bytes[170], solution);
  memcpy(mask, &bytes[332], 81);
  if (current)
    memcpy(marks, &bytes[413], 729);
  else
    memset(marks, 0, sizeof marks);
  return true;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
  return CloseHandle(file) && ok;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  uint8_t buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  CloseHandle(file);
  return true;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  char text[96];
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) {
      snprintf(text, sizeof text, "offset %u: %u against %u", static_cast<unsigned>(i), a[i], b[i]);
      return text;
    }
  if (a.size() != b.size()) {
    snprintf(text, sizeof text, "sizes %u against %u", static_cast<unsigned>(a.size()), static_cast<unsigned>(b.size()));
    return text;
  }
  return "";
}
