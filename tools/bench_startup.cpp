// Start-up of a program beside a bare Win32 window, under the same system
// (a benchmark, not a test: it prints figures and asserts nothing).
//   nonaro-startup-bench [--pairs N] <bare window exe> <program exe>...
// Each pair starts the bare window and then each program, in an order that
// alternates from pair to pair, and times each from CreateProcess until the
// program waits for input with its window up (WaitForInputIdle), then ends
// it. Prints every pair, then per program the median and range of its time
// and of its time over the bare window's in the same pair.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TopWindowSearch {
    DWORD process;
    bool visible;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param)
{
    TopWindowSearch* search = reinterpret_cast<TopWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)) {
        search->visible = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the program is idle with a visible window; -1 when it
// could not be started or never got there.
double StartOnce(const std::string& program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    bool up = WaitForInputIdle(process.hProcess, 60000) == 0;
    TopWindowSearch search = {process.dwProcessId, false};
    for (int tries = 0; up && tries < 6000; ++tries) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.visible)
            break;
        Sleep(1);
    }
    QueryPerformanceCounter(&end);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (!up || !search.visible)
        return -1;
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int pairs = 21;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--pairs") == 0) {
        pairs = std::atoi(argv[2]);
        first = 3;
    }
    if (argc - first < 2 || pairs < 1) {
        std::fprintf(stderr, "usage: nonaro-startup-bench [--pairs N] <bare window exe> <program exe>...\n");
        return 2;
    }
    const std::vector<std::string> programs(argv + first, argv + argc);
    std::vector<std::vector<double>> times(programs.size()), ratios(programs.size());
    // One start of each first, which fills the system's caches for all.
    for (const std::string& program : programs)
        StartOnce(program);
    for (int pair = 0; pair < pairs; ++pair) {
        std::vector<double> these(programs.size());
        for (size_t i = 0; i < programs.size(); ++i) {
            const size_t which = pair % 2 ? programs.size() - 1 - i : i;
            these[which] = StartOnce(programs[which]);
        }
        std::printf("pair %2d:", pair + 1);
        for (size_t i = 0; i < programs.size(); ++i) {
            std::printf(" %8.1f ms", these[i]);
            if (these[i] < 0 || these[0] <= 0)
                continue;
            times[i].push_back(these[i]);
            if (i > 0) {
                ratios[i].push_back(these[i] / these[0]);
                std::printf(" (x%.2f)", these[i] / these[0]);
            }
        }
        std::printf("\n");
    }
    for (size_t i = 0; i < programs.size(); ++i) {
        if (times[i].empty())
            continue;
        std::printf("%s: %zu starts, median %.1f ms, range %.1f to %.1f ms", programs[i].c_str(), times[i].size(),
                    Median(times[i]), *std::min_element(times[i].begin(), times[i].end()),
                    *std::max_element(times[i].begin(), times[i].end()));
        if (!ratios[i].empty())
            std::printf("; over the bare window: median x%.2f, range x%.2f to x%.2f", Median(ratios[i]),
                        *std::min_element(ratios[i].begin(), ratios[i].end()),
                        *std::max_element(ratios[i].begin(), ratios[i].end()));
        std::printf("\n");
    }
    return 0;
}
