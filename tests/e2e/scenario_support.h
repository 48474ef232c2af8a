#pragma once

// What the scenarios share: the table of scenarios, prepared games, and the
// checks that several scenarios make in the same words.

#include <string>
#include <vector>

#include "tests/e2e/game_file_image.h"
#include "tests/e2e/game_session.h"
#include "tests/e2e/grid_view.h"

struct ScenarioContext {
    std::string gamePath;  // Windows paths
    std::string probePath;
    std::string workDir;
};

struct Scenario {
    const char* name;
    void (*run)(GameSession& game);
};

std::vector<Scenario> AllScenarios();

// The words after the driver's fixed arguments, for scenarios that take options.
void SetScenarioArgs(const std::vector<std::string>& args);
const std::vector<std::string>& ScenarioArgs();

// Scenario groups, each in its own file.
void AddBoardScenarios(std::vector<Scenario>& list);
void AddPlayScenarios(std::vector<Scenario>& list);
void AddFileScenarios(std::vector<Scenario>& list);
void AddSoakScenarios(std::vector<Scenario>& list);
void AddPrintScenarios(std::vector<Scenario>& list);
void AddAccessibilityScenarios(std::vector<Scenario>& list);
void AddPictureScenarios(std::vector<Scenario>& list);

// A game whose row 4 is hidden but for its first cell, with cell 76 hidden
// too: clashes by row, by column and by box can all be provoked at cell 40.
GameImage RowFourGame();

// Writes the image as the named file in the work folder and opens it
// through "Ouvrir".
bool LoadPrepared(GameSession& game, const GameImage& image, const char* fileName);
// Saves through "Enregistrer" and reads the file back.
bool SaveAndRead(GameSession& game, const char* fileName, std::vector<uint8_t>& bytes);

// The game's solution window (null when none is open), and how many are open.
HWND SolutionWindow(GameSession& game, int* count = nullptr);
// The digit a solution window shows in the cell; 0 unless it shows one digit.
int SolutionDigit(HWND window, int cell);

// "hh : mm : ss" as seconds; -1 when the text has another form.
int ClockSeconds(const std::string& text);
// A UTF-8 text in the system's code page, for the driver's own A calls.
std::string AnsiText(const char* utf8);

// Toolbar button and menu item agree with each other and with the expectation.
void ExpectCommand(GameSession& game, int id, bool enabled, const char* when);
void ExpectUndoRedo(GameSession& game, bool undo, bool redo, const char* when);
// Exactly one tool checked, the same in the toolbar and the menu.
void ExpectTool(GameSession& game, int tool, const char* when);
void ExpectGameCommandsEnabled(GameSession& game, const char* when);
// No message box shows during the span.
void ExpectNoBoxFor(GameSession& game, DWORD spanMs, const char* when);
// The cells of rows, columns and boxes whose nine cells are all filled.
void CompleteCells(const bool filled[81], bool complete[81]);
// Every cell of a complete group shows the tint, every other cell is plain.
void ExpectTints(const ScreenShot& shot, const bool filled[81], const char* when);
// Waits until the cell's ink matches (a digit, marks) or the timeout passes.
bool WaitForInk(GridView& view, int cell, bool digit, bool marks, DWORD timeoutMs = 3000);
