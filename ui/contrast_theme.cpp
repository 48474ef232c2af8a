#include "ui/contrast_theme.h"

namespace {

// -1 until the system is first asked.
int ThemeOn = -1;

}  // namespace

bool ReadContrastTheme()
{
    HIGHCONTRASTW theme = {};
    theme.cbSize = sizeof theme;
    const BOOL answered = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof theme, &theme, 0);
    ThemeOn = answered && (theme.dwFlags & HCF_HIGHCONTRASTON) ? 1 : 0;
    return ThemeOn == 1;
}

bool ContrastThemeOn() { return ThemeOn < 0 ? ReadContrastTheme() : ThemeOn == 1; }

bool IsThemeChange(UINT message, WPARAM wParam)
{
    return message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED ||
           (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}

void KeepClassBackground(HWND window)
{
    SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
}
