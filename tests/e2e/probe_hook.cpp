// Loaded into the game by the driver's WH_CALLWNDPROC and WH_GETMESSAGE
// hooks. It acts only on the driver's own registered messages and passes
// every other message on untouched, so the game behaves as it would without it.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include <algorithm>
#include <vector>

#include "tests/e2e/contrast_palettes.h"
#include "tests/e2e/probe_channel.h"

namespace {

BOOL CALLBACK TellThemeChange(HWND window, LPARAM)
{
    // What Windows sends its top-level windows after SPI_SETHIGHCONTRAST.
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    SendMessageW(window, WM_THEMECHANGED, 0, 0);
    return TRUE;
}

// The pictures of one of the toolbar's image lists, as ProbeChannel says:
// each drawn on black and on white, a stroke where both agree.
void ReadPictures(HIMAGELIST list, LONG* count, LONG* fewestStrokes, LONG* lowestContrast, LONG* colours)
{
    *count = list ? ImageList_GetImageCount(list) : 0;
    int width = 0, height = 0;
    if (list)
        ImageList_GetIconSize(list, &width, &height);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateBitmap(width * 2, height, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    std::vector<COLORREF> seen;
    for (int i = 0; i < *count; ++i) {
        RECT black = {0, 0, width, height}, white = {width, 0, width * 2, height};
        FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ImageList_Draw(list, i, dc, 0, 0, ILD_NORMAL);
        ImageList_Draw(list, i, dc, width, 0, ILD_NORMAL);
        LONG strokes = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                COLORREF colour = GetPixel(dc, x, y);
                if (colour != GetPixel(dc, x + width, y))
                    continue;
                ++strokes;
                *lowestContrast = std::min(*lowestContrast, static_cast<LONG>(ContrastRatio(colour, face) * 100));
                if (std::find(seen.begin(), seen.end(), colour) == seen.end())
                    seen.push_back(colour);
            }
        *fewestStrokes = std::min(*fewestStrokes, strokes);
    }
    if (colours)
        *colours = static_cast<LONG>(seen.size());
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

UINT probeMessage = 0;
UINT markerMessage = 0;

ProbeChannel* OpenChannel(HANDLE* mapping)
{
    *mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, E2E_PROBE_MAPPING);
    ProbeChannel* channel =
        *mapping ? static_cast<ProbeChannel*>(MapViewOfFile(*mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)))
                 : nullptr;
    if (!channel && *mapping)
        CloseHandle(*mapping);
    return channel;
}

void CloseChannel(ProbeChannel* channel, HANDLE mapping)
{
    UnmapViewOfFile(channel);
    CloseHandle(mapping);
}

void PostDrop(HWND window, HGLOBAL drop)
{
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    HANDLE mapping;
    if (ProbeChannel* channel = OpenChannel(&mapping)) {
        InterlockedIncrement(&channel->dropsPosted);
        CloseChannel(channel, mapping);
    }
}

// One file in the form the shell hands a drop over: the block is the
// receiver's to free with DragFinish.
HGLOBAL MakeDrop(const wchar_t* path)
{
    const size_t length = lstrlenW(path);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (length + 2) * sizeof(wchar_t));
    DROPFILES* files = drop ? static_cast<DROPFILES*>(GlobalLock(drop)) : nullptr;
    if (!files)
        return drop;
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(files + 1, path, length * sizeof(wchar_t));
    GlobalUnlock(drop);
    return drop;
}

// A drop held back until the game takes a given command from its queue: it
// then waits in the queue while that command runs.
HGLOBAL heldDrop = nullptr;
HWND heldFor = nullptr;
LONG heldUntil = 0;

// A hidden window gets no WM_PAINT, so its update region may stay for good.
BOOL CALLBACK CountUnpainted(HWND window, LPARAM count)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE))
        ++*reinterpret_cast<LONG*>(count);
    return TRUE;
}

BOOL CALLBACK CountUnpaintedTree(HWND window, LPARAM count)
{
    CountUnpainted(window, count);
    EnumChildWindows(window, CountUnpainted, count);
    return TRUE;
}

void Answer(HWND window, ProbeChannel* channel)
{
    switch (channel->op) {
    case kProbeMenuItem: {
        HMENU menu = GetMenu(window);
        channel->result[0] = static_cast<LONG>(GetMenuState(menu, channel->id, channel->flags));
        wchar_t text[128] = L"";
        GetMenuStringW(menu, channel->id, text, 128, channel->flags);
        ProgramText(text, channel->text, sizeof channel->text);
        break;
    }
    case kProbeTooltip: {
        // The request the toolbar's tooltip sends when it shows: the toolbar
        // passes it on to the main window in the form the two agreed on.
        HWND toolbar = GetDlgItem(window, 4000);
        NMTTDISPINFOW request = {};
        request.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        request.hdr.idFrom = static_cast<UINT_PTR>(channel->id);
        request.hdr.code = TTN_GETDISPINFOW;
        request.lpszText = request.szText;
        SendMessageW(toolbar, WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
        ProgramText(request.lpszText && !IS_INTRESOURCE(request.lpszText) ? request.lpszText : L"", channel->text,
                    sizeof channel->text);
        break;
    }
    case kProbeCursors:
        channel->result[0] = static_cast<LONG>(reinterpret_cast<LONG_PTR>(GetCursor()));
        channel->result[1] = static_cast<LONG>(reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
        channel->result[2] = static_cast<LONG>(reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_HAND)));
        channel->result[3] = static_cast<LONG>(reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_WAIT)));
        break;
    case kProbeToolbarButton: {
        HWND toolbar = GetDlgItem(window, 4000);
        LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, channel->id, 0);
        RECT r = {0, 0, 0, 0};
        channel->result[0] =
            static_cast<LONG>(SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
        MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        channel->rect = r;
        break;
    }
    case kProbeContrastTheme:
        channel->result[0] = PretendContrastTheme(GetModuleHandleA(nullptr), channel->id >= 0);
        // SetSysColors tells every window of the change itself.
        ApplyPalette(channel->id);
        EnumThreadWindows(GetCurrentThreadId(), TellThemeChange, 0);
        break;
    case kProbeToolbarPictures: {
        HWND toolbar = GetDlgItem(window, 4000);
        channel->result[2] = channel->result[3] = 1 << 30;
        ReadPictures(reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0)), &channel->result[0],
                     &channel->result[2], &channel->result[3], &channel->rect.left);
        ReadPictures(reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0)),
                     &channel->result[1], &channel->result[2], &channel->result[3], nullptr);
        break;
    }
    case kProbeDropFile: {
        HGLOBAL drop = MakeDrop(channel->path);
        if (!drop)
            break;
        if (channel->flags == 0) {
            PostDrop(window, drop);
            break;
        }
        if (heldDrop)
            GlobalFree(heldDrop);
        heldDrop = drop;
        heldFor = window;
        heldUntil = channel->id;
        break;
    }
    case kProbeChangeScale: {
        const UINT kDpiChanged = 0x02E0;
        RECT r;
        GetWindowRect(window, &r);
        RECT suggested = {r.left, r.top, r.left + MulDiv(r.right - r.left, channel->id, channel->flags),
                          r.top + MulDiv(r.bottom - r.top, channel->id, channel->flags)};
        SendMessageW(window, kDpiChanged, MAKEWPARAM(channel->id, channel->id), reinterpret_cast<LPARAM>(&suggested));
        break;
    }
    case kProbePaintPending:
        channel->result[0] = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountUnpaintedTree, reinterpret_cast<LPARAM>(&channel->result[0]));
        // Wine sends a thread's paints to the X server when the thread next
        // waits for messages, which may come only after the driver has looked:
        // a wait that ends at once sends them now, and a pixel read from the
        // screen on the same connection returns once the server has drawn them.
        if (channel->result[0] == 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            HDC screen = GetDC(nullptr);
            GetPixel(screen, 0, 0);
            ReleaseDC(nullptr, screen);
        }
        break;
    default:
        break;
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2EProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (!probeMessage)
        probeMessage = RegisterWindowMessageA(E2E_PROBE_MESSAGE);
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent && sent->message == probeMessage) {
        HANDLE mapping;
        if (ProbeChannel* channel = OpenChannel(&mapping)) {
            Answer(sent->hwnd, channel);
            InterlockedIncrement(&channel->serial);
            CloseChannel(channel, mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sees every message the game takes from its queue, in any message loop.
extern "C" __declspec(dllexport) LRESULT CALLBACK E2EProbeMarkerHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (!markerMessage)
        markerMessage = RegisterWindowMessageA(E2E_PROBE_MARKER_MESSAGE);
    MSG* taken = reinterpret_cast<MSG*>(lParam);
    if (code != HC_ACTION || wParam != PM_REMOVE || !taken)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    bool marker = taken->message == markerMessage;
    if (heldDrop && taken->message == WM_COMMAND && LOWORD(taken->wParam) == heldUntil) {
        PostDrop(heldFor, heldDrop);
        heldDrop = nullptr;
    }
    // Input comes after every posted message, so the marker cannot tell that a
    // click was handled; the driver counts the releases instead.
    if (marker || taken->message == WM_LBUTTONUP) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, E2E_PROBE_MAPPING);
        if (mapping) {
            ProbeChannel* channel =
                static_cast<ProbeChannel*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)));
            if (channel) {
                if (marker)
                    InterlockedExchange(&channel->markerTaken, static_cast<LONG>(taken->wParam));
                else
                    InterlockedIncrement(&channel->buttonUpsTaken);
                UnmapViewOfFile(channel);
            }
            CloseHandle(mapping);
        }
    }
    if (marker) {
        HANDLE signal = OpenEventA(EVENT_MODIFY_STATE, FALSE, E2E_PROBE_MARKER_EVENT);
        if (signal) {
            SetEvent(signal);
            CloseHandle(signal);
        }
        // The game's window procedure gets a message it knows to ignore.
        taken->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
