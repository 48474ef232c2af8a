#include "ui/display_scale.h"

#include "play/grid_geometry.h"
#include "resources/image_scales.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowCall)(HWND);
typedef BOOL(WINAPI* AdjustWindowRectExForDpiCall)(RECT*, DWORD, BOOL, DWORD, UINT);
typedef int(WINAPI* GetSystemMetricsForDpiCall)(int, UINT);
typedef UINT(WINAPI* GetDpiForSystemCall)(void);

FARPROC User32Call(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? GetProcAddress(user32, name) : NULL;
}

int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen)
        ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

// The stock font's face brought from the system's DPI to `dpi`.
HFONT ScaledStockFont(int stockFont, int dpi, LONG weight)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    GetObjectA(GetStockObject(stockFont), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
    font.lfWidth = 0;
    if (weight)
        font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

}  // namespace

int WindowDpi(HWND window)
{
    static GetDpiForWindowCall call =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(User32Call("GetDpiForWindow")));
    const UINT dpi = call && window ? call(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

RECT WindowFrameForDpi(DWORD style, BOOL menu, DWORD exStyle, int dpi)
{
    static AdjustWindowRectExForDpiCall call =
        reinterpret_cast<AdjustWindowRectExForDpiCall>(reinterpret_cast<void*>(User32Call("AdjustWindowRectExForDpi")));
    RECT frame = {0, 0, 0, 0};
    if (!call || !call(&frame, style, menu, exStyle, static_cast<UINT>(dpi))) {
        frame.left = frame.top = frame.right = frame.bottom = 0;
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return frame;
}

int SystemMetricForDpi(int index, int dpi)
{
    static GetSystemMetricsForDpiCall call =
        reinterpret_cast<GetSystemMetricsForDpiCall>(reinterpret_cast<void*>(User32Call("GetSystemMetricsForDpi")));
    return call ? call(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

int SystemDpi()
{
    static GetDpiForSystemCall call =
        reinterpret_cast<GetDpiForSystemCall>(reinterpret_cast<void*>(User32Call("GetDpiForSystem")));
    // The system's DPI stays the one the user signed in with until the
    // session ends.
    static const UINT system = call ? call() : 0;
    static const int dpi = system ? static_cast<int>(system) : ScreenDpi();
    return dpi;
}

HFONT CreateStockFontForDpi(int stockFont, int dpi, LONG weight)
{
    return dpi == SystemDpi() ? NULL : ScaledStockFont(stockFont, dpi, weight);
}

HFONT CreateControlFontForDpi(int dpi, LONG weight)
{
    if (dpi == kBaseDpi)
        return CreateStockFontForDpi(SYSTEM_FONT, dpi, 0);
    // Made at the system's own DPI too, where the default is the system font.
    return ScaledStockFont(DEFAULT_GUI_FONT, dpi, weight);
}

int BitmapIdForDpi(HINSTANCE instance, int baseId, int dpi)
{
    const int id = ScaledImageId(baseId, ImageScaleFor(dpi));
    if (id != baseId && !FindResourceA(instance, MAKEINTRESOURCEA(id), RT_BITMAP))
        return baseId;
    return id;
}

HBITMAP LoadBitmapForDpi(HINSTANCE instance, int baseId, int dpi)
{
    return LoadBitmapA(instance, MAKEINTRESOURCEA(BitmapIdForDpi(instance, baseId, dpi)));
}
