// Loaded into the game by the driver's WH_CALLWNDPROC and WH_GETMESSAGE
// hooks. It acts only on the driver's own registered messages and passes
// every other message on untouched, so the game behaves as it would without it.
#include <windows.h>
#include <commctrl.h>

#include "tests/e2e/probe_channel.h"

namespace {

UINT probeMessage = 0;
UINT markerMessage = 0;

// A hidden window gets no WM_PAINT, so its update region may stay for good.
BOOL CALLBACK CountUnpainted(HWND window, LPARAM count) {
  if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) ++*reinterpret_cast<LONG*>(count);
  return TRUE;
}

BOOL CALLBACK CountUnpaintedTree(HWND window, LPARAM count) {
  CountUnpainted(window, count);
  EnumChildWindows(window, CountUnpainted, count);
  return TRUE;
}

void Answer(HWND window, ProbeChannel* channel) {
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
      channel->result[0] = static_cast<LONG>(SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
      MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
      channel->rect = r;
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

extern "C" __declspec(dllexport) LRESULT CALLBACK E2EProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (!probeMessage) probeMessage = RegisterWindowMessageA(E2E_PROBE_MESSAGE);
  const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent && sent->message == probeMessage) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, E2E_PROBE_MAPPING);
    if (mapping) {
      ProbeChannel* channel = static_cast<ProbeChannel*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)));
      if (channel) {
        Answer(sent->hwnd, channel);
        InterlockedIncrement(&channel->serial);
        UnmapViewOfFile(channel);
      }
      CloseHandle(mapping);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sees every message the game takes from its queue, in any message loop.
extern "C" __declspec(dllexport) LRESULT CALLBACK E2EProbeMarkerHook(int code, WPARAM wParam, LPARAM lParam) {
  if (!markerMessage) markerMessage = RegisterWindowMessageA(E2E_PROBE_MARKER_MESSAGE);
  MSG* taken = reinterpret_cast<MSG*>(lParam);
  if (code != HC_ACTION || wParam != PM_REMOVE || !taken) return CallNextHookEx(nullptr, code, wParam, lParam);
  bool marker = taken->message == markerMessage;
  // Input comes after every posted message, so the marker cannot tell that a
  // click was handled; the driver counts the releases instead.
  if (marker || taken->message == WM_LBUTTONUP) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, E2E_PROBE_MAPPING);
    if (mapping) {
      ProbeChannel* channel = static_cast<ProbeChannel*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)));
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
