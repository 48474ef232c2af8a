#pragma once

#include <windows.h>

// The " A propos de..." box: product, version and maker. Returns what the
// message box returns.
int ShowAboutBox(HWND owner);
