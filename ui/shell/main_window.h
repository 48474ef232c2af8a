#pragma once

#include <windows.h>

// The main window, class "Nonarov2App": menu 100, the toolbar, the grid
// window, and the dispatch of every command of the menu and the toolbar.
ATOM RegisterMainClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the commands that need a game usable, for the rest of the run.
void EnableGameCommands(HWND mainWindow);

// Writes the game in play to path, and tells the player when that failed.
void SaveGameAs(HWND mainWindow, const WCHAR* path);
// Opens the game saved in path as "Ouvrir" does, whether the path came from
// its dialog, the command line or a drop; a refused file is told and
// changes nothing.
void OpenGameFrom(HWND mainWindow, const WCHAR* path);
// Opens the file the program was started with, if any.
void OpenCommandLineGame(HWND mainWindow);

// Gets and hands out messages until WM_QUIT, whose code it returns,
// translating the commands' shortcut keys on the way.
int RunMessageLoop(HWND mainWindow);

extern const char kSaveFailedText[];
