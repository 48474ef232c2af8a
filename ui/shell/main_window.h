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

extern const char kSaveFailedText[];
extern const char kProgramCaption[];
