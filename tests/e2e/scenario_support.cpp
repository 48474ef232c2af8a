#include "tests/e2e/scenario_support.h"

#include <cstdio>
#include <cstring>

#include "tests/e2e/driver_log.h"

namespace {
std::vector<std::string> scenarioArgs;
}

std::vector<Scenario> AllScenarios()
{
    std::vector<Scenario> list;
    AddBoardScenarios(list);
    AddPlayScenarios(list);
    AddFileScenarios(list);
    AddSoakScenarios(list);
    AddPrintScenarios(list);
    AddAccessibilityScenarios(list);
    AddPictureScenarios(list);
    return list;
}

void SetScenarioArgs(const std::vector<std::string>& args) { scenarioArgs = args; }

const std::vector<std::string>& ScenarioArgs() { return scenarioArgs; }

GameImage RowFourGame() { return GameImage::Solved().Hide({37, 38, 39, 40, 41, 42, 43, 44, 76}); }

bool LoadPrepared(GameSession& game, const GameImage& image, const char* fileName)
{
    std::string path = game.WorkPath(fileName);
    Require(WriteBytes(path, image.Encode()), "the driver writes %s", path.c_str());
    if (!game.OpenFile(path))
        return false;
    // The load ends by enabling the game commands; the first load is known by that.
    return Expect(WaitUntil([&] { return game.ButtonEnabled(kSave); }, 10000), "%s is loaded", fileName);
}

bool SaveAndRead(GameSession& game, const char* fileName, std::vector<uint8_t>& bytes)
{
    std::string path = game.WorkPath(fileName);
    DeleteFileA(path.c_str());
    if (!game.SaveFile(path))
        return false;
    bool written = WaitUntil([&] { return ReadBytes(path, bytes) && bytes.size() >= kFileSize; }, 10000, 100);
    return Expect(written, "the game saved %s (%u bytes)", fileName, static_cast<unsigned>(bytes.size()));
}

HWND SolutionWindow(GameSession& game, int* count)
{
    std::vector<HWND> windows = game.TopWindows(kSolutionClassName);
    if (count)
        *count = static_cast<int>(windows.size());
    return windows.empty() ? nullptr : windows[0];
}

int SolutionDigit(HWND window, int cell)
{
    char text[16] = "";
    GetDlgItemTextA(window, IDC_FIRST_SOLUTION_CELL + cell, text, sizeof text);
    return strlen(text) == 1 && text[0] >= '1' && text[0] <= '9' ? text[0] - '0' : 0;
}

std::string AnsiText(const char* utf8)
{
    wchar_t wide[MAX_PATH] = L"";
    char text[MAX_PATH * 2] = "";
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, MAX_PATH);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

int ClockSeconds(const std::string& text)
{
    unsigned h = 0, m = 0, s = 0;
    char tail = 0;
    if (sscanf(text.c_str(), "%u : %u : %u%c", &h, &m, &s, &tail) != 3 || m > 59 || s > 59)
        return -1;
    return static_cast<int>(h * 3600 + m * 60 + s);
}

void ExpectCommand(GameSession& game, int id, bool enabled, const char* when)
{
    bool button = game.ButtonEnabled(id), item = game.MenuEnabled(id);
    Expect(button == enabled && item == enabled, "%s: command %d %s (toolbar %s, menu %s)", when, id,
           enabled ? "enabled" : "disabled", button ? "enabled" : "disabled", item ? "enabled" : "grayed");
}

void ExpectUndoRedo(GameSession& game, bool undo, bool redo, const char* when)
{
    ExpectCommand(game, kUndo, undo, when);
    ExpectCommand(game, kRedo, redo, when);
}

void ExpectTool(GameSession& game, int tool, const char* when)
{
    int buttons = 0, items = 0;
    bool agree = true;
    for (int id = kPen; id <= kEraser; ++id) {
        bool button = game.ButtonChecked(id), item = game.MenuChecked(id);
        buttons += button;
        items += item;
        agree = agree && button == item && button == (id == tool);
    }
    Expect(agree && buttons == 1 && items == 1,
           "%s: only tool %d checked, in the toolbar (%d checked) and the menu (%d checked)", when, tool, buttons,
           items);
}

void ExpectGameCommandsEnabled(GameSession& game, const char* when)
{
    for (int id : {kNewGame, kOpen, kSave, kSolution, kPrint})
        ExpectCommand(game, id, true, when);
    for (int id : {kPen, kPencil, kEraser})
        Expect(game.ButtonEnabled(id), "%s: tool button %d enabled", when, id);
    Expect(game.MenuEnabled(2, true), "%s: the \" Outils \" menu is enabled", when);
}

void ExpectNoBoxFor(GameSession& game, DWORD spanMs, const char* when)
{
    BoxInfo box = game.WaitForBox(spanMs);
    if (!Expect(box.window == nullptr, "%s: no message box", when))
        game.CloseBox(box.window);
}

bool WaitForInk(GridView& view, int cell, bool digit, bool marks, DWORD timeoutMs)
{
    CellLook look;
    bool ok = WaitUntil(
        [&] {
            look = view.Look(cell);
            return look.HasPlayerDigit() == digit && look.HasMarks() == marks;
        },
        timeoutMs, 60);
    if (!ok)
        Note("cell %d: digit ink %d, mark ink %d", cell, look.playerInk, look.markInk);
    return ok;
}

void CompleteCells(const bool filled[81], bool complete[81])
{
    for (int cell = 0; cell < 81; ++cell)
        complete[cell] = false;
    for (int group = 0; group < 27; ++group) {
        int cells[9];
        for (int i = 0; i < 9; ++i) {
            if (group < 9)
                cells[i] = group * 9 + i;
            else if (group < 18)
                cells[i] = (group - 9) + 9 * i;
            else
                cells[i] = ((group - 18) / 3) * 27 + ((group - 18) % 3) * 3 + (i / 3) * 9 + i % 3;
        }
        bool whole = true;
        for (int c : cells)
            whole = whole && filled[c];
        if (whole)
            for (int c : cells)
                complete[c] = true;
    }
}

void ExpectTints(const ScreenShot& shot, const bool filled[81], const char* when)
{
    bool complete[81];
    CompleteCells(filled, complete);
    int wrong = 0, tinted = 0;
    for (int cell = 0; cell < 81; ++cell) {
        Back expected = complete[cell] ? Back::Complete : Back::Plain;
        Back shown = LookAt(shot, cell).back;
        tinted += complete[cell];
        if (shown != expected && wrong++ < 5)
            Note("cell %d shows %s, expected %s", cell, BackName(shown), BackName(expected));
    }
    Expect(wrong == 0, "%s: the %d cells of complete groups are RGB(255,255,180), the others RGB(225,250,220)", when,
           tinted);
}
