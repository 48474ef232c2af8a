#include "tests/e2e/game_file_image.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    return CloseHandle(file) && ok;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return true;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    char text[96];
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) {
            snprintf(text, sizeof text, "offset %u: %u against %u", static_cast<unsigned>(i), a[i], b[i]);
            return text;
        }
    if (a.size() != b.size()) {
        snprintf(text, sizeof text, "sizes %u against %u", static_cast<unsigned>(a.size()),
                 static_cast<unsigned>(b.size()));
        return text;
    }
    return "";
}
