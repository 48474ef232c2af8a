#pragma once

// Off Windows the game rules run on this stand-in for the few Windows
// operations they call. Each operation has the effect the rules rely on and
// leaves a record that tests read back: repaint requests, immediate paints,
// message boxes, focus changes, timers, the toolbar's button states, menu
// item states, the clock label, drawing objects, and files on the POSIX file
// system. It knows nothing of the game.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef uintptr_t UINT_PTR;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef DWORD COLORREF;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef wchar_t WCHAR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef void* HANDLE;
typedef void* HGDIOBJ;

struct HWND__;
typedef HWND__* HWND;
struct HMENU__;
typedef HMENU__* HMENU;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HFONT__;
typedef HFONT__* HFONT;
struct HCURSOR__;
typedef HCURSOR__* HCURSOR;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef UINT_PTR (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// The arrow keys, as the grid window passes them on.
const WPARAM VK_LEFT = 0x25;
const WPARAM VK_UP = 0x26;
const WPARAM VK_RIGHT = 0x27;
const WPARAM VK_DOWN = 0x28;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | (((DWORD)(BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

const int LF_FACESIZE = 32;
struct LOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};

const LONG FW_BOLD = 700;
const BYTE OUT_TT_ONLY_PRECIS = 7;

const UINT MB_OK = 0x0;
const UINT CP_UTF8 = 65001;
const int IDOK = 1;

const UINT WM_USER = 0x400;
const UINT TB_ENABLEBUTTON = WM_USER + 1;
const UINT TB_CHECKBUTTON = WM_USER + 2;
const UINT TB_ISBUTTONENABLED = WM_USER + 9;
const UINT TB_ISBUTTONCHECKED = WM_USER + 10;

const UINT MF_BYCOMMAND = 0x0;
const UINT MF_ENABLED = 0x0;
const UINT MF_GRAYED = 0x1;
const UINT MF_DISABLED = 0x2;

const int MAX_PATH = 260;

// Accessibility events and the ids they name.
const DWORD EVENT_OBJECT_REORDER = 0x8004;
const DWORD EVENT_OBJECT_FOCUS = 0x8005;
const DWORD EVENT_OBJECT_SELECTION = 0x8006;
const DWORD EVENT_OBJECT_VALUECHANGE = 0x800E;
const LONG OBJID_CLIENT = static_cast<LONG>(0xFFFFFFFCu);
const LONG CHILDID_SELF = 0;

const DWORD GENERIC_READ = 0x80000000u;
const DWORD GENERIC_WRITE = 0x40000000u;
const DWORD FILE_SHARE_READ = 0x1;
const DWORD FILE_SHARE_WRITE = 0x2;
const DWORD FILE_SHARE_DELETE = 0x4;
const DWORD ERROR_FILE_NOT_FOUND = 2;
const DWORD ERROR_ACCESS_DENIED = 5;
const DWORD ERROR_SHARING_VIOLATION = 32;
const DWORD ERROR_LOCK_VIOLATION = 33;
const DWORD CREATE_NEW = 1;
const DWORD CREATE_ALWAYS = 2;
const DWORD OPEN_EXISTING = 3;
const DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
const DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
const DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
const DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
const DWORD MOVEFILE_WRITE_THROUGH = 0x8;
const DWORD REPLACEFILE_IGNORE_MERGE_ERRORS = 0x2;

const DWORD OFN_OVERWRITEPROMPT = 0x2;
const DWORD OFN_HIDEREADONLY = 0x4;
const DWORD OFN_PATHMUSTEXIST = 0x800;
const DWORD OFN_FILEMUSTEXIST = 0x1000;
const DWORD OFN_EXPLORER = 0x80000;

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPWSTR lpstrFile;
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
// The structure as Windows versions before 2000 knew it: up to the template name.
#define OPENFILENAME_SIZE_VERSION_400W ((DWORD)(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR)))

// Windows.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetParent(HWND window);
HMENU GetMenu(HWND window);
LRESULT SendDlgItemMessageA(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL EnableMenuItem(HMENU menu, UINT id, UINT flags);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);
BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text);
void NotifyWinEvent(DWORD event, HWND window, LONG object, LONG child);

// Texts: code page 1252 and UTF-8 only.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int room);

// Drawing objects.
HBRUSH CreateSolidBrush(COLORREF color);
HFONT CreateFontIndirectA(const LOGFONTA* font);
BOOL DeleteObject(HGDIOBJ object);

// Files. Wide paths stand for their UTF-8 form on the POSIX file system;
// POSIX shares every file, so no call fails for a file in use.
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD attributes,
                   HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* done, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* done, void* overlapped);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileW(LPCWSTR path);
DWORD GetFileAttributesW(LPCWSTR path);
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
// Keeps the replaced file's permissions, as Windows keeps its attributes and
// security; the replaced file goes to the backup name first when one is given.
BOOL ReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, void* exclude, void* reserved);
UINT GetTempFileNameW(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR name);
int lstrcmpA(LPCSTR first, LPCSTR second);
// The error of the last file call that failed.
DWORD GetLastError();

// Common dialogs, which the program reaches through its loader of system
// libraries.
namespace SystemLibrary {
BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL GetSaveFileNameW(OPENFILENAMEW* dialog);
}  // namespace SystemLibrary

// What tests set up and read back.
namespace headless {

struct Event {
    enum Kind {
        Invalidate,    // InvalidateRect; whole when the rectangle was null
        Paint,         // UpdateWindow
        MessageBox,    // text, caption (both back in 1252), style in value
        Focus,         // SetFocus, or the focus taken by a message box (window null)
        TimerSet,      // id, period in value
        TimerKilled,   // id; value 1 when the timer was set
        ButtonEnable,  // TB_ENABLEBUTTON: id, flag in value
        MenuEnable,    // EnableMenuItem: id, flags in value
        WinEvent,      // NotifyWinEvent: the event in id, the object in object, the child in value
    };
    Kind kind;
    HWND window;
    bool whole;
    RECT rect;
    int id;
    long value;
    long object;
    std::string text;
    std::string caption;
};

// Forgets every window, record, script and failure. Drawing objects and open
// files stay, with their counts: boards outlive a reset.
void Reset();

// A window of the stand-in. A window made without a parent has a menu bar.
HWND MakeWindow(HWND parent, int id);
HMENU MenuOf(HWND window);
void AddMenuItem(HMENU menu, int id, UINT state);
UINT MenuItemState(HMENU menu, int id);  // MF_ flags; 0xFFFFFFFF for no such item
void AddButton(HWND toolbar, int id, bool enabled);
bool ButtonEnabled(HWND toolbar, int id);
std::string WindowText(HWND window);
bool TimerActive(HWND window, UINT_PTR id);

const std::vector<Event>& Events();
void ClearEvents();

// Runs inside MessageBoxW, after the owner's window has lost the focus, as
// the box's own message loop would run the program meanwhile. The box then
// answers IDOK.
void OnMessageBox(std::function<void(const Event& box)> handler);
// Runs inside NotifyWinEvent, as an in-context event hook would.
void OnWinEvent(std::function<void(const Event& event)> handler);
// Runs when window loses the keyboard focus, as its WM_KILLFOCUS would.
void OnFocusLoss(HWND window, std::function<void()> handler);

// Drawing objects made and not yet released, and releases of handles that
// were not live (a double release, or a handle never made).
int LiveObjects();
int BadReleases();
COLORREF BrushColor(HBRUSH brush);
LOGFONTA FontOf(HFONT font);

// File faults: after this many more bytes written, every write fails as on a
// full disk. Negative: writes never fail.
void FailWritesAfter(long bytes);
// Asked before each rename that MoveFileExW or ReplaceFileW ("MoveFileExW",
// "ReplaceFileW") makes, UTF-8 paths: false fails the call there, leaving
// the renames made before, as Windows documents its refusals.
void OnFileMove(std::function<bool(const std::string& call, const std::string& from, const std::string& to)> allow);
int OpenFiles();

// The next file dialog: confirmed with path (UTF-8), or cancelled.
void AnswerFileDialog(bool confirm, const std::string& path = std::string());
struct FileDialogRecord {
    bool open;  // GetOpenFileNameW, else GetSaveFileNameW
    DWORD structSize;
    HWND owner;
    // Texts back in 1252, paths in UTF-8.
    std::string filter;  // the whole list, its NULs included, up to the double NUL
    std::string initialFile;
    DWORD maxFile;
    std::string defaultExtension;
    std::string title;
    DWORD flags;
    bool initialDirectory;
    bool customFilter;
};
const std::vector<FileDialogRecord>& FileDialogs();

}  // namespace headless
