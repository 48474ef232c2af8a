#include "tests/e2e/driver_log.h"

#include <cstdarg>
#include <cstdio>

namespace {

FILE* logFile = nullptr;
int failures = 0;
bool quietChecks = false;
DWORD startTick = GetTickCount();

void WriteLine(const char* prefix, const char* format, va_list args)
{
    char line[2048];
    vsnprintf(line, sizeof line, format, args);
    FILE* out = logFile ? logFile : stderr;
    fprintf(out, "[%6.2f] %s%s\n", Now() / 1000.0, prefix, line);
    fflush(out);
}

}  // namespace

void OpenLog(const char* path) { logFile = fopen(path, "w"); }

void Note(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLine("", format, args);
    va_end(args);
}

bool Expect(bool ok, const char* format, ...)
{
    if (ok && quietChecks)
        return true;
    va_list args;
    va_start(args, format);
    WriteLine(ok ? "ok    " : "FAILED ", format, args);
    va_end(args);
    if (!ok)
        ++failures;
    return ok;
}

void Require(bool ok, const char* format, ...)
{
    if (ok)
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    ++failures;
    Note("FAILED (cannot go on) %s", line);
    throw ScenarioAbort{line};
}

int FailureCount() { return failures; }

void SetQuiet(bool quiet) { quietChecks = quiet; }

DWORD Now() { return GetTickCount() - startTick; }

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, DWORD stepMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        Sleep(stepMs);
    }
}

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char ch : text) {
        if (ch < 0x20 || ch >= 0x7F) {
            char esc[8];
            snprintf(esc, sizeof esc, "\\x%02X", ch);
            out += esc;
        } else {
            out += static_cast<char>(ch);
        }
    }
    return out + "\"";
}
