#pragma once

#include "platform.h"

// The Open and Save dialogs; path holds MAX_PATH (260) characters. Paths are
// wide throughout, so any name the player can type is saved and opened again
// whatever the system's code page can hold.
int ChooseOpenFile(HWND owner, WCHAR* path);
int ChooseSaveFile(HWND owner, WCHAR* path);
