#pragma once

// One run of the real game, driven the way a player or another Windows
// program can: commands posted to the main window, mouse and key messages
// to the grid window, dialogs and message boxes found by class and owner and
// answered through their controls, and states read back from the toolbar,
// the menu, the clock label and the screen.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/program_facts.h"
#include "tests/e2e/probe_channel.h"

// Command ids of the menu and the toolbar.
enum Command {
    kNewGame = IDM_NEW_GAME,
    kSolution = IDM_SOLUTION,
    kOpen = IDM_OPEN,
    kSave = IDM_SAVE,
    kPrint = IDM_PRINT,
    kQuit = IDM_QUIT,
    kUndo = IDM_UNDO,
    kRedo = IDM_REDO,
    kEasy = IDM_EASY_LEVEL,
    kMedium = IDM_MEDIUM_LEVEL,
    kHard = IDM_HARD_LEVEL,
    kPen = IDM_PEN,
    kPencil = IDM_PENCIL,
    kEraser = IDM_ERASER,
    kAbout = IDM_ABOUT,
};

// Where the scenarios put the main window, so that message boxes can be
// moved clear of the grid and positions are the same in every run.
const int kMainLeft = 40;
const int kMainTop = 30;

struct BoxInfo {
    HWND window = nullptr;
    HWND owner = nullptr;
    // In Windows-1252, as the program writes them.
    std::string caption;
    std::string text;
};

struct GameCursors {
    HCURSOR current, arrow, hand, wait;
};

class GameSession {
public:
    GameSession(const std::string& gamePath, const std::string& probePath, const std::string& workDir);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Starts the game, with the file as its argument if one is given (a game
    // started before is ended first), and waits for its main, grid and
    // toolbar windows.
    void Launch(const std::string& file = std::string());
    HWND Main() const { return main_; }
    HWND Grid() const { return grid_; }
    HWND Toolbar() const { return toolbar_; }
    bool Running() const;

    // Returns once the game's UI thread has handled what was posted to it so
    // far: a drained queue, then a round trip of WM_NULL. Sent messages alone
    // cannot tell, since Wine may deliver several of them before a posted
    // message still waiting in the queue.
    bool Settle(DWORD timeoutMs = 60000);
    // Posts a marker behind what was posted so far and waits until the game
    // has taken it from its queue, so that every earlier message has been
    // handled or sits in a modal loop. False on timeout.
    bool Drain(DWORD timeoutMs = 60000);
    // Settles, then waits until no window of the game's UI thread waits for
    // a repaint: the game has painted what it was asked to, and what it
    // painted is on the screen. False on timeout.
    bool Painted(DWORD timeoutMs = 60000);
    // The game answers a sent message within the time.
    bool Answers(DWORD timeoutMs);
    void PostCommand(int id);
    void Command(int id, DWORD timeoutMs = 60000);

    // Grid input, in grid client coordinates; each settles afterwards.
    void Click(int x, int y);
    void ClickCell(int cell);
    void Key(int virtualKey);
    void Char(char ch);
    void PostChar(char ch);

    bool ButtonEnabled(int id);
    bool ButtonChecked(int id);
    UINT MenuState(int id, bool byPosition = false);
    std::string MenuText(int id, bool byPosition = false);
    bool MenuEnabled(int id, bool byPosition = false);
    bool MenuChecked(int id);
    std::string Clock();
    GameCursors Cursors();
    RECT ButtonRect(int id);
    // The tip of a toolbar button, as the toolbar gives it to its tooltip.
    std::string TooltipText(int id);
    // Switches the game to a contrast palette (-1: back to the colours it
    // started with) as a change of contrast theme does.
    bool SwitchContrastTheme(int palette);
    // The toolbar's pictures, as kProbeToolbarPictures reads them.
    struct Pictures {
        int count = 0, disabledCount = 0, fewestStrokes = 0, strokeColours = 0;
        double lowestContrast = 0;
    };
    Pictures ToolbarPictures();

    // Real input through SendInput, in screen coordinates.
    void MoveMouse(int x, int y);
    void ClickScreen(int x, int y);
    // Real key presses, in order, to wherever the game has the keyboard focus;
    // the caller waits for what they do.
    void PressKeys(std::initializer_list<int> virtualKeys);
    // The window with the keyboard focus in the game (null when none).
    HWND FocusWindow() const;

    std::vector<HWND> TopWindows(const char* className) const;
    std::vector<BoxInfo> MessageBoxes() const;
    static BoxInfo ReadBox(HWND box);
    static bool IsMessageBox(HWND dialog);
    // The first message box to appear within the timeout (an empty window
    // handle when none did).
    BoxInfo WaitForBox(DWORD timeoutMs);
    void CloseBox(HWND box, int button = IDOK);
    // Moves a message box out of the way of the grid.
    void MoveAside(HWND window);

    HWND WaitForFileDialog(const char* title, DWORD timeoutMs);
    // Fills the dialog's file name and confirms it; answers the replace
    // question with Yes when it comes. True when the dialog went away.
    bool ConfirmFileDialog(HWND dialog, const std::string& path);
    bool CancelFileDialog(HWND dialog);
    // The whole "Ouvrir" or "Enregistrer" round, dialog included; whileUp
    // runs once the dialog is up, before the name is confirmed.
    bool OpenFile(const std::string& path, const std::function<void()>& whileUp = nullptr);
    bool SaveFile(const std::string& path, const std::function<void()>& whileUp = nullptr);

    // A file dropped on the main window as the shell drops it; with
    // duringCommand, while the game runs that command. DropsPosted counts them.
    void DropFile(const std::string& path, int duringCommand = 0);
    LONG DropsPosted() const;
    // Moves the main window to a display of another scale as Windows tells
    // it, WM_DPICHANGED; Dpi is the scale the game was last given.
    void ChangeScale(int dpi);
    int Dpi() const { return dpi_; }

    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    void Kill();
    std::string WorkPath(const char* name) const;
    const std::string& GamePath() const { return gamePath_; }

private:
    void End();
    bool Probe(ProbeChannel& request);
    bool FileCommand(int command, const char* item, const char* title, const std::string& path,
                     const std::function<void()>& whileUp);

    std::string gamePath_, probePath_, workDir_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr, grid_ = nullptr, toolbar_ = nullptr;
    HMODULE probeModule_ = nullptr;
    HHOOK hook_ = nullptr;
    HHOOK markerHook_ = nullptr;
    HANDLE markerEvent_ = nullptr;
    UINT markerMessage_ = 0;
    LONG markerSerial_ = 0;
    HANDLE mapping_ = nullptr;
    ProbeChannel* channel_ = nullptr;
    UINT probeMessage_ = 0;
    int dpi_ = 96;
};
