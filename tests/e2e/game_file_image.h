#pragma once

// The saved-game files the driver prepares and reads back, on the tests' one encoder.

#include <string>
#include <vector>

#include "tests/game_image.h"

const size_t kFileSize = 1142;

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes);
bool FileExists(const std::string& path);
// The first offset where a and b differ, as text, or "" when they are equal.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
