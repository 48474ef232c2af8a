// The end-to-end driver: runs one named scenario against the real game.
//   e2e_driver <scenario> <game exe> <probe dll> <work dir> <result file> <log file> <screenshot bmp> [options]
//   e2e_driver --hold <ready file>
// All paths are Windows paths; the options go to the scenario (the soak run's
// --seed, --actions, --seconds, --replay). The result file gets "PASS" or "FAIL <n>";
// on failure the screen is written to the screenshot before the game ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"

namespace {

void WriteResult(const char* path, const char* text)
{
    FILE* out = fopen(path, "w");
    if (!out)
        return;
    fputs(text, out);
    fputs("\n", out);
    fclose(out);
}

}  // namespace

int main(int argc, char** argv)
{
    // Window rectangles in the screen's pixels at any scale: a program unaware
    // of the scale may be given other windows' places at 96 DPI.
    typedef BOOL(WINAPI * AwareCall)();
    if (AwareCall aware = reinterpret_cast<AwareCall>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
        aware();
    // Keeps the group's Wine desktop open between scenarios: Wine closes a
    // desktop once no program uses it. Asking for the desktop window attaches
    // the process to it before the ready file says so.
    if (argc == 3 && strcmp(argv[1], "--hold") == 0) {
        GetDesktopWindow();
        WriteResult(argv[2], "ready");
        Sleep(INFINITE);
    }
    if (argc < 8) {
        fprintf(stderr,
                "usage: e2e_driver <scenario> <game> <probe> <work dir> <result> <log> <screenshot> [options]\n"
                "       e2e_driver --hold <ready file>\n");
        return 2;
    }
    const char* name = argv[1];
    SetScenarioArgs(std::vector<std::string>(argv + 8, argv + argc));
    OpenLog(argv[6]);
    Note("scenario %s", name);

    const Scenario* chosen = nullptr;
    std::vector<Scenario> all = AllScenarios();
    for (const Scenario& scenario : all)
        if (strcmp(scenario.name, name) == 0)
            chosen = &scenario;
    if (!chosen) {
        Note("no scenario named %s", name);
        WriteResult(argv[5], "FAIL unknown scenario");
        return 2;
    }

    CreateDirectoryA(argv[4], nullptr);
    {
        GameSession game(argv[2], argv[3], argv[4]);
        try {
            chosen->run(game);
        } catch (const ScenarioAbort&) {
            // Already logged; the verdict below counts it.
        }
        if (FailureCount() > 0) {
            if (ScreenShot::WholeScreen().SaveBmp(argv[7]))
                Note("screen saved to %s", argv[7]);
            for (const BoxInfo& box : game.MessageBoxes())
                Note("still on screen: message box %s: %s", Quoted(box.caption).c_str(), Quoted(box.text).c_str());
        }
    }

    char verdict[32];
    if (FailureCount() == 0)
        snprintf(verdict, sizeof verdict, "PASS");
    else
        snprintf(verdict, sizeof verdict, "FAIL %d", FailureCount());
    Note("%s", verdict);
    WriteResult(argv[5], verdict);
    return FailureCount() == 0 ? 0 : 1;
}
