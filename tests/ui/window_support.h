#pragma once

#include <windows.h>

#include <string>

#include "tests/program_facts.h"

// Helpers for tests that build the program's real windows in their own
// process (under Wine in the Windows build).

// A plain top-level window to parent the windows under test. Visible, since
// a hidden window keeps no update region to look at.
HWND CreateTestParent(int clientWidth, int clientHeight);

// Registers the grid window class once for the whole test program.
bool GridClassRegistered();

// Handles whatever is queued for this thread, so posted messages take effect.
void PumpMessages();

// The window's pending update area; empty when nothing is to be repainted.
RECT PendingUpdate(HWND window);

// Records every message box this thread opens and closes it with OK, so that
// code which shows one can run to its end inside a test; a file dialog is
// recorded too, and cancelled.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    int count() const;
    const std::string& caption() const;
    const std::string& text() const;
    HWND owner() const;
};
