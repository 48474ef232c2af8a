#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "engine/player_arrays.h"
#include "tests/e2e/contrast_palettes.h"
#include "tests/ui/window_support.h"
#include "ui/contrast_theme.h"
#include "ui/grid/grid_window.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/main_window.h"
#include "ui/shell/solution_window.h"
#include "ui/shell/toolbar.h"

// The real main window told of a contrast theme by each message Windows
// tells one with. The board takes one grid window for its whole life, so
// the window has a program of its own.

namespace {

HHOOK Watch = NULL;
int ToolbarColourNews = 0;

LRESULT CALLBACK CountToolbarColourNews(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SYSCOLORCHANGE && sent->hwnd == ToolbarWindow)
        ++ToolbarColourNews;
    return CallNextHookEx(Watch, code, wParam, lParam);
}

LRESULT Toolbar(HWND main, UINT message, WPARAM id) { return SendDlgItemMessageA(main, kToolbarId, message, id, 0); }

TEST(ContrastThemeTest, EachMessageOfAChangeBringsTheToolbarAndGridToTheThemeAndBackWithTheGameUntouched)
{
    AppInstance = GetModuleHandleA(NULL);
    InitCommonControls();
    ASSERT_TRUE(RegisterMainClass(AppInstance) && RegisterGridClass() && RegisterSolutionClass());
    HWND main = CreateMainWindow(AppInstance);
    SendMessageA(main, WM_COMMAND, kNewGameCommand, 0);
    SendMessageA(main, WM_COMMAND, kPencilCommand, 0);
    SetDlgItemTextA(ToolbarWindow, kClockLabelId, "00 : 01 : 07");
    int16_t values[kCellCount];
    std::memcpy(values, PlayerGrid, sizeof values);
    ASSERT_FALSE(ContrastThemeOn()) << "the test's system shows no contrast theme";
    Watch = SetWindowsHookExA(WH_CALLWNDPROC, CountToolbarColourNews, NULL, GetCurrentThreadId());

    // Another setting's change is not one of a contrast theme.
    ASSERT_TRUE(PretendContrastTheme(GetModuleHandleA(NULL), true));
    SendMessageA(main, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_FALSE(ContrastThemeOn());

    const UINT news[][2] = {{WM_SYSCOLORCHANGE, 0}, {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}, {WM_THEMECHANGED, 0}};
    for (const auto& message : news)
        for (bool on : {true, false}) {
            SCOPED_TRACE(testing::Message() << "message " << message[0] << (on ? " on" : " off"));
            ASSERT_TRUE(PretendContrastTheme(GetModuleHandleA(NULL), on));
            const int forwarded = ToolbarColourNews;
            PumpMessages();
            SendMessageA(main, message[0], message[1], 0);
            EXPECT_EQ(ContrastThemeOn(), on);
            // The theme's pictures come with a disabled set of their own.
            EXPECT_EQ(Toolbar(main, TB_GETDISABLEDIMAGELIST, 0) != 0, on);
            EXPECT_EQ(ToolbarColourNews - forwarded, message[0] == WM_SYSCOLORCHANGE ? 1 : 0);
            RECT pending = PendingUpdate(Board.window);
            EXPECT_FALSE(IsRectEmpty(&pending)) << "the grid is repainted";
            EXPECT_TRUE(Toolbar(main, TB_ISBUTTONCHECKED, kPencilCommand) &&
                        Toolbar(main, TB_ISBUTTONENABLED, kSaveCommand) &&
                        !Toolbar(main, TB_ISBUTTONENABLED, kUndoCommand));
            char clock[32] = "";
            GetDlgItemTextA(ToolbarWindow, kClockLabelId, clock, sizeof clock);
            EXPECT_STREQ(clock, "00 : 01 : 07");
            EXPECT_EQ(std::memcmp(values, PlayerGrid, sizeof values), 0);
        }
    UnhookWindowsHookEx(Watch);
    DestroyWindow(main);
}

}  // namespace
