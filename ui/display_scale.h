#pragma once

#include <windows.h>

// What the system says of a window's display scale, and the system's metrics
// and fonts at a scale. The calls that came after Windows Vista are looked up
// at run time, so the program still starts where they are missing and falls
// back on the screen's one DPI there.

// WM_DPICHANGED, which the headers hide below Windows 7: wParam carries the
// new DPI, lParam the window rectangle the system suggests for it.
const UINT kDpiChangedMessage = 0x02E0;

// The DPI of the display the window is on: GetDpiForWindow, else the
// screen's LOGPIXELSY.
int WindowDpi(HWND window);

// The frame the system draws around a client area of a window at `dpi`
// (AdjustWindowRectExForDpi, else AdjustWindowRectEx at the system's own).
RECT WindowFrameForDpi(DWORD style, BOOL menu, DWORD exStyle, int dpi);

// GetSystemMetricsForDpi, else GetSystemMetrics.
int SystemMetricForDpi(int index, int dpi);

// The DPI the system made its stock fonts for, which a per-monitor aware
// window on another display does not share: GetDpiForSystem, else the
// screen's LOGPIXELSY when first asked.
int SystemDpi();

// A stock font (DEFAULT_GUI_FONT, SYSTEM_FONT) for a window at `dpi`: null
// where `dpi` is the system's, so that the stock font serves as it is;
// otherwise the same face brought to `dpi`, which the caller deletes. A
// weight of 0 keeps the stock font's.
HFONT CreateStockFontForDpi(int stockFont, int dpi, LONG weight);

// The font of a static control's text at `dpi`: at 96 DPI the controls'
// default, the system font; elsewhere the GUI font in `weight`, as the menu
// and the tooltips beside it are drawn. Null where the default serves as it
// is; the caller deletes any other.
HFONT CreateControlFontForDpi(int dpi, LONG weight);

// The bitmap resource `baseId` drawn for `dpi`, or the 96-DPI one when the
// program holds none for that scale.
HBITMAP LoadBitmapForDpi(HINSTANCE instance, int baseId, int dpi);
// The resource id LoadBitmapForDpi would load.
int BitmapIdForDpi(HINSTANCE instance, int baseId, int dpi);
