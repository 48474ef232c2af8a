#pragma once

// The scenario's log and verdict. Expect records a failed check and goes on,
// so that one run tells as much as it can; Require ends the scenario, for
// when nothing sensible can follow (no window, no dialog).

#include <windows.h>

#include <functional>
#include <string>

struct ScenarioAbort {
    std::string reason;
};

void OpenLog(const char* path);
void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool Expect(bool ok, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Require(bool ok, const char* format, ...) __attribute__((format(printf, 2, 3)));
int FailureCount();
// While quiet, checks that hold are not written to the log (a long run
// makes the same checks thousands of times); failures always are.
void SetQuiet(bool quiet);

// Milliseconds since the driver started.
DWORD Now();

// Polls cond every step ms until it holds or timeout ms have passed. Wine on
// a loaded machine is slow, so callers pass generous timeouts; a fixed sleep
// alone is never the proof of anything.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, DWORD stepMs = 50);

std::string Quoted(const std::string& text);
