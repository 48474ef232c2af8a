#include "play/grid_board.h"

#include <cstdio>

#include "play/program_text.h"

void GridBoard::ResetClock()
{
    if (clockRunning == 1) {
        KillTimer(window, kClockTimer);
        clockRunning = 0;
    }
    elapsedSeconds = 0;
    SetDlgItemTextA(ToolbarWindow, kClockLabelId, kClockRestText);
    clockArmed = 1;
}

void GridBoard::StartClock(HWND window)
{
    clockRunning = 1;
    elapsedSeconds = 0;
    SetTimer(window, kClockTimer, kClockPeriod, nullptr);
}

void GridBoard::TickClock()
{
    // Counts timer ticks rather than reading a time source; the hours are
    // never wrapped, so the label can outgrow two digits.
    uint32_t seconds = ++elapsedSeconds;
    char text[32];
    std::snprintf(text, sizeof text, "%02i : %02i : %02i", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    SetDlgItemTextA(ToolbarWindow, kClockLabelId, text);
}

void GridBoard::StopClock(HWND window)
{
    KillTimer(window, kClockTimer);
    clockRunning = 0;
    clockArmed = 0;
}
