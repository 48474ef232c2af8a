#include "headless_win32.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <utility>

struct HWND__ {
    HWND parent;
    int id;
    HMENU menu;
    std::string text;
    std::map<int, BYTE> buttons;  // bit 0 enabled, bit 1 checked
    std::set<UINT_PTR> timers;
};

struct HMENU__ {
    std::map<int, UINT> items;
};

namespace {

struct GdiObject {
    bool brush;
    COLORREF color;
    LOGFONTA font;
};

struct FileHandle {
    int fd;
};

struct State {
    std::vector<std::unique_ptr<HWND__>> windows;
    std::vector<std::unique_ptr<HMENU__>> menus;
    std::vector<headless::Event> events;
    std::function<void(const headless::Event&)> boxHandler;
    std::function<void(const headless::Event&)> winEventHandler;
    std::map<HWND, std::function<void()>> focusLoss;
    HWND focus = nullptr;
    std::map<void*, std::unique_ptr<GdiObject>> objects;
    int badReleases = 0;
    long writeBudget = -1;
    std::function<bool(const std::string&, const std::string&, const std::string&)> moveAllowed;
    std::set<FileHandle*> files;
    bool dialogConfirms = false;
    std::string dialogPath;
    std::vector<headless::FileDialogRecord> dialogs;
    unsigned tempCounter = 0;
};

State& Shared()
{
    static State state;
    return state;
}

HWND__* Window(HWND window)
{
    for (auto& w : Shared().windows)
        if (w.get() == window)
            return w.get();
    return nullptr;
}

HMENU__* Menu(HMENU menu)
{
    for (auto& m : Shared().menus)
        if (m.get() == menu)
            return m.get();
    return nullptr;
}

HWND__* Child(HWND parent, int id)
{
    if (!Window(parent))
        return nullptr;
    for (auto& w : Shared().windows)
        if (w->parent == parent && w->id == id)
            return w.get();
    return nullptr;
}

HWND TopLevel(HWND window)
{
    HWND__* w = Window(window);
    while (w && w->parent)
        w = Window(w->parent);
    return w;
}

headless::Event NewEvent(headless::Event::Kind kind, HWND window)
{
    headless::Event event;
    event.kind = kind;
    event.window = window;
    event.whole = false;
    event.rect = RECT{0, 0, 0, 0};
    event.id = 0;
    event.value = 0;
    event.object = 0;
    return event;
}

void Record(const headless::Event& event) { Shared().events.push_back(event); }

// Moves the focus and runs the focus-loss handler of the window that had it.
void MoveFocus(HWND to)
{
    State& s = Shared();
    HWND from = s.focus;
    if (from == to)
        return;
    s.focus = to;
    auto handler = s.focusLoss.find(from);
    if (from && handler != s.focusLoss.end()) {
        std::function<void()> run = handler->second;
        run();
    }
}

FileHandle* File(HANDLE handle)
{
    FileHandle* file = static_cast<FileHandle*>(handle);
    return Shared().files.count(file) ? file : nullptr;
}

bool IsDirectory(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}

// Windows-1252's characters from 0x80 to 0x9F; its five holes map to the
// control characters of the same value, as Windows's table does.
const wchar_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

wchar_t From1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? k1252High[byte - 0x80] : static_cast<wchar_t>(byte);
}

// A wide text back in 1252, '?' for what 1252 cannot hold.
std::string To1252(const wchar_t* text, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        wchar_t c = text[i];
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            byte = static_cast<char>(c);
        } else {
            for (int j = 0; j < 32; ++j)
                if (k1252High[j] == c)
                    byte = static_cast<char>(0x80 + j);
        }
        out += byte;
    }
    return out;
}

std::string To1252(const wchar_t* text) { return text ? To1252(text, wcslen(text)) : std::string(); }

std::string Utf8(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text) {
        uint32_t c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Well-formed UTF-8 only; anything else stops the text.
std::wstring FromUtf8(const std::string& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x06 ? 1 : (lead >> 4) == 0x0E ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<size_t>(extra) >= text.size()))
            break;
        uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

// One rename of a file call, unless the test refuses it.
bool Rename(const std::string& call, const std::string& from, const std::string& to)
{
    const auto& allowed = Shared().moveAllowed;
    return (!allowed || allowed(call, from, to)) && rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    if (!Window(window))
        return FALSE;
    headless::Event event = NewEvent(headless::Event::Invalidate, window);
    event.whole = rect == nullptr;
    if (rect)
        event.rect = *rect;
    Record(event);
    return TRUE;
}

BOOL UpdateWindow(HWND window)
{
    if (!Window(window))
        return FALSE;
    Record(NewEvent(headless::Event::Paint, window));
    return TRUE;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    headless::Event event = NewEvent(headless::Event::MessageBox, owner);
    event.text = To1252(text);
    event.caption = caption ? To1252(caption) : "Error";
    event.value = type;
    Record(event);
    // The box takes the focus for as long as it is up.
    Record(NewEvent(headless::Event::Focus, nullptr));
    MoveFocus(nullptr);
    if (Shared().boxHandler) {
        std::function<void(const headless::Event&)> run = Shared().boxHandler;
        run(event);
    }
    // Closing the box reactivates the owner's top-level window, which takes
    // the focus itself; a child that had it does not get it back.
    HWND top = TopLevel(owner);
    MoveFocus(top);
    return IDOK;
}

HWND SetFocus(HWND window)
{
    HWND previous = Shared().focus;
    if (window && !Window(window))
        return nullptr;
    Record(NewEvent(headless::Event::Focus, window));
    MoveFocus(window);
    return previous;
}

HWND GetFocus() { return Shared().focus; }

HWND GetParent(HWND window)
{
    HWND__* w = Window(window);
    return w ? w->parent : nullptr;
}

HMENU GetMenu(HWND window)
{
    HWND__* w = Window(window);
    return w ? w->menu : nullptr;
}

LRESULT SendDlgItemMessageA(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND__* toolbar = Child(parent, id);
    if (!toolbar)
        return 0;
    auto button = toolbar->buttons.find(static_cast<int>(wParam));
    if (button == toolbar->buttons.end())
        return message == TB_ISBUTTONENABLED || message == TB_ISBUTTONCHECKED ? 0 : FALSE;
    BYTE& state = button->second;
    switch (message) {
    case TB_ISBUTTONENABLED:
        return state & 1;
    case TB_ISBUTTONCHECKED:
        return (state >> 1) & 1;
    case TB_ENABLEBUTTON: {
        headless::Event event = NewEvent(headless::Event::ButtonEnable, toolbar);
        event.id = static_cast<int>(wParam);
        event.value = static_cast<long>(lParam & 0xFFFF);
        Record(event);
        state = static_cast<BYTE>((lParam & 0xFFFF) ? (state | 1) : (state & ~1));
        return TRUE;
    }
    case TB_CHECKBUTTON:
        state = static_cast<BYTE>((lParam & 0xFFFF) ? (state | 2) : (state & ~2));
        return TRUE;
    default:
        return 0;
    }
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT flags)
{
    HMENU__* m = Menu(menu);
    if (!m)
        return -1;
    auto item = m->items.find(static_cast<int>(id));
    if (item == m->items.end())
        return -1;
    headless::Event event = NewEvent(headless::Event::MenuEnable, nullptr);
    event.id = static_cast<int>(id);
    event.value = flags;
    Record(event);
    UINT previous = item->second & (MF_GRAYED | MF_DISABLED);
    item->second = (item->second & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC)
{
    HWND__* w = Window(window);
    if (!w)
        return 0;
    w->timers.insert(id);
    headless::Event event = NewEvent(headless::Event::TimerSet, window);
    event.id = static_cast<int>(id);
    event.value = period;
    Record(event);
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    HWND__* w = Window(window);
    bool wasSet = w && w->timers.erase(id) > 0;
    headless::Event event = NewEvent(headless::Event::TimerKilled, window);
    event.id = static_cast<int>(id);
    event.value = wasSet;
    Record(event);
    return wasSet;
}

BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text)
{
    HWND__* label = Child(parent, id);
    if (!label)
        return FALSE;
    label->text = text ? text : "";
    return TRUE;
}

void NotifyWinEvent(DWORD event, HWND window, LONG object, LONG child)
{
    headless::Event record = NewEvent(headless::Event::WinEvent, window);
    record.id = static_cast<int>(event);
    record.object = object;
    record.value = child;
    Record(record);
    if (Shared().winEventHandler) {
        std::function<void(const headless::Event&)> run = Shared().winEventHandler;
        run(record);
    }
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR wide, int room)
{
    if (!text || (codePage != 1252 && codePage != CP_UTF8) || room < 0 || (room > 0 && !wide))
        return 0;
    std::string bytes =
        length < 0 ? std::string(text, strlen(text) + 1) : std::string(text, static_cast<size_t>(length));
    std::wstring out;
    if (codePage == CP_UTF8)
        out = FromUtf8(bytes);
    else
        for (char c : bytes)
            out += From1252(static_cast<unsigned char>(c));
    if (room == 0)
        return static_cast<int>(out.size());
    // Too small a buffer fails the whole call, as on Windows.
    if (out.size() > static_cast<size_t>(room))
        return 0;
    std::copy(out.begin(), out.end(), wide);
    return static_cast<int>(out.size());
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    std::unique_ptr<GdiObject> object(new GdiObject());
    object->brush = true;
    object->color = color;
    void* handle = object.get();
    Shared().objects[handle] = std::move(object);
    return static_cast<HBRUSH>(handle);
}

HFONT CreateFontIndirectA(const LOGFONTA* font)
{
    if (!font)
        return nullptr;
    std::unique_ptr<GdiObject> object(new GdiObject());
    object->brush = false;
    object->font = *font;
    void* handle = object.get();
    Shared().objects[handle] = std::move(object);
    return static_cast<HFONT>(handle);
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (Shared().objects.erase(object) == 0) {
        ++Shared().badReleases;
        return FALSE;
    }
    return TRUE;
}

HANDLE CreateFileW(LPCWSTR widePath, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE)
{
    if (!widePath)
        return INVALID_HANDLE_VALUE;
    const std::string named = Utf8(widePath);
    const char* path = named.c_str();
    int flags = O_CLOEXEC;
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
        flags |= O_RDWR;
    else if (access & GENERIC_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (disposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        break;
    default:
        return INVALID_HANDLE_VALUE;
    }
    // Windows opens no folder as a file.
    if (IsDirectory(path))
        return INVALID_HANDLE_VALUE;
    int fd = open(path, flags, 0666);
    if (fd < 0)
        return INVALID_HANDLE_VALUE;
    FileHandle* file = new FileHandle{fd};
    Shared().files.insert(file);
    return file;
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* done, void*)
{
    FileHandle* file = File(handle);
    if (done)
        *done = 0;
    if (!file)
        return FALSE;
    DWORD total = 0;
    while (total < count) {
        ssize_t n = read(file->fd, static_cast<char*>(buffer) + total, count - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FALSE;
        if (n == 0)
            break;
        total += static_cast<DWORD>(n);
    }
    if (done)
        *done = total;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* done, void*)
{
    FileHandle* file = File(handle);
    if (done)
        *done = 0;
    if (!file)
        return FALSE;
    State& s = Shared();
    DWORD allowed = count;
    if (s.writeBudget >= 0 && static_cast<long>(count) > s.writeBudget)
        allowed = static_cast<DWORD>(s.writeBudget);
    DWORD total = 0;
    while (total < allowed) {
        ssize_t n = write(file->fd, static_cast<const char*>(buffer) + total, allowed - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FALSE;
        total += static_cast<DWORD>(n);
    }
    if (s.writeBudget >= 0)
        s.writeBudget -= total;
    if (done)
        *done = total;
    return total == count;
}

BOOL FlushFileBuffers(HANDLE handle)
{
    FileHandle* file = File(handle);
    return file && fsync(file->fd) == 0;
}

BOOL CloseHandle(HANDLE handle)
{
    FileHandle* file = File(handle);
    if (!file)
        return FALSE;
    Shared().files.erase(file);
    int result = close(file->fd);
    delete file;
    return result == 0;
}

BOOL DeleteFileW(LPCWSTR path) { return path && !IsDirectory(Utf8(path).c_str()) && unlink(Utf8(path).c_str()) == 0; }

DWORD GetFileAttributesW(LPCWSTR path)
{
    struct stat info;
    if (!path || stat(Utf8(path).c_str(), &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL MoveFileExW(LPCWSTR wideFrom, LPCWSTR wideTo, DWORD flags)
{
    if (!wideFrom || !wideTo)
        return FALSE;
    const std::string from = Utf8(wideFrom);
    const std::string to = Utf8(wideTo);
    if (IsDirectory(to.c_str()))
        return FALSE;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && Exists(to.c_str()))
        return FALSE;
    if (!Rename("MoveFileExW", from, to))
        return FALSE;
    if (flags & MOVEFILE_WRITE_THROUGH) {
        std::string folder(to);
        std::string::size_type slash = folder.rfind('/');
        folder = slash == std::string::npos ? "." : folder.substr(0, slash + 1);
        int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            fsync(fd);
            close(fd);
        }
    }
    return TRUE;
}

BOOL ReplaceFileW(LPCWSTR wideReplaced, LPCWSTR wideReplacement, LPCWSTR wideBackup, DWORD, void*, void*)
{
    if (!wideReplaced || !wideReplacement)
        return FALSE;
    const std::string replaced = Utf8(wideReplaced);
    const std::string replacement = Utf8(wideReplacement);
    struct stat kept;
    if (stat(replaced.c_str(), &kept) != 0 || !S_ISREG(kept.st_mode) || !Exists(replacement.c_str()))
        return FALSE;
    if (wideBackup && !Rename("ReplaceFileW", replaced, Utf8(wideBackup)))
        return FALSE;
    chmod(replacement.c_str(), kept.st_mode & 07777);
    return Rename("ReplaceFileW", replacement, replaced);
}

UINT GetTempFileNameW(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR name)
{
    if (!folder || !name)
        return 0;
    std::wstring base(folder);
    if (base.size() > static_cast<size_t>(MAX_PATH - 14))
        return 0;
    if (!base.empty() && base.back() != L'/')
        base += L'/';
    base.append(prefix ? prefix : L"", prefix ? wcsnlen(prefix, 3) : 0);
    State& s = Shared();
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        UINT number = unique ? unique : ((static_cast<UINT>(getpid()) + ++s.tempCounter) & 0xFFFF);
        if (!number)
            continue;
        char tail[16];
        snprintf(tail, sizeof tail, "%X.tmp", number);
        std::wstring candidate = base + std::wstring(tail, tail + strlen(tail));
        if (candidate.size() >= static_cast<size_t>(MAX_PATH))
            return 0;
        if (!unique) {
            int fd = open(Utf8(candidate.c_str()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
                return 0;
            close(fd);
        }
        std::copy(candidate.c_str(), candidate.c_str() + candidate.size() + 1, name);
        return number;
    }
    return 0;
}

int lstrcmpA(LPCSTR first, LPCSTR second)
{
    if (!first || !second)
        return first ? 1 : (second ? -1 : 0);
    int order = strcmp(first, second);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

DWORD GetLastError() { return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND; }

namespace {

BOOL RunFileDialog(OPENFILENAMEW* dialog, bool open)
{
    State& s = Shared();
    bool confirm = s.dialogConfirms;
    std::wstring path = FromUtf8(s.dialogPath);
    s.dialogConfirms = false;
    s.dialogPath.clear();
    if (!dialog)
        return FALSE;
    headless::FileDialogRecord record;
    record.open = open;
    record.structSize = dialog->lStructSize;
    record.owner = dialog->hwndOwner;
    if (dialog->lpstrFilter) {
        const WCHAR* end = dialog->lpstrFilter;
        while (end[0] || end[1])
            ++end;
        record.filter = To1252(dialog->lpstrFilter, static_cast<size_t>(end + 2 - dialog->lpstrFilter));
    }
    record.initialFile = Utf8(dialog->lpstrFile);
    record.maxFile = dialog->nMaxFile;
    record.defaultExtension = To1252(dialog->lpstrDefExt);
    record.title = To1252(dialog->lpstrTitle);
    record.flags = dialog->Flags;
    record.initialDirectory = dialog->lpstrInitialDir != nullptr;
    record.customFilter = dialog->lpstrCustomFilter != nullptr;
    s.dialogs.push_back(record);
    // The dialog refuses a structure of a size it does not know.
    if (dialog->lStructSize != OPENFILENAME_SIZE_VERSION_400W && dialog->lStructSize != sizeof(OPENFILENAMEW))
        return FALSE;
    if (!confirm || !dialog->lpstrFile || path.size() + 1 > dialog->nMaxFile)
        return FALSE;
    std::copy(path.c_str(), path.c_str() + path.size() + 1, dialog->lpstrFile);
    return TRUE;
}

}  // namespace

BOOL SystemLibrary::GetOpenFileNameW(OPENFILENAMEW* dialog) { return RunFileDialog(dialog, true); }

BOOL SystemLibrary::GetSaveFileNameW(OPENFILENAMEW* dialog) { return RunFileDialog(dialog, false); }

namespace headless {

void Reset()
{
    State& s = Shared();
    s.windows.clear();
    s.menus.clear();
    s.events.clear();
    s.boxHandler = nullptr;
    s.winEventHandler = nullptr;
    s.focusLoss.clear();
    s.focus = nullptr;
    s.writeBudget = -1;
    s.moveAllowed = nullptr;
    s.dialogConfirms = false;
    s.dialogPath.clear();
    s.dialogs.clear();
}

HWND MakeWindow(HWND parent, int id)
{
    State& s = Shared();
    std::unique_ptr<HWND__> window(new HWND__());
    window->parent = parent;
    window->id = id;
    window->menu = nullptr;
    if (!parent) {
        s.menus.emplace_back(new HMENU__());
        window->menu = s.menus.back().get();
    }
    s.windows.push_back(std::move(window));
    return s.windows.back().get();
}

HMENU MenuOf(HWND window) { return GetMenu(window); }

void AddMenuItem(HMENU menu, int id, UINT state)
{
    if (HMENU__* m = Menu(menu))
        m->items[id] = state;
}

UINT MenuItemState(HMENU menu, int id)
{
    HMENU__* m = Menu(menu);
    if (!m || !m->items.count(id))
        return 0xFFFFFFFFu;
    return m->items[id];
}

void AddButton(HWND toolbar, int id, bool enabled)
{
    if (HWND__* w = Window(toolbar))
        w->buttons[id] = enabled ? 1 : 0;
}

bool ButtonEnabled(HWND toolbar, int id)
{
    HWND__* w = Window(toolbar);
    return w && w->buttons.count(id) && (w->buttons[id] & 1);
}

std::string WindowText(HWND window)
{
    HWND__* w = Window(window);
    return w ? w->text : std::string();
}

bool TimerActive(HWND window, UINT_PTR id)
{
    HWND__* w = Window(window);
    return w && w->timers.count(id);
}

const std::vector<Event>& Events() { return Shared().events; }

void ClearEvents() { Shared().events.clear(); }

void OnMessageBox(std::function<void(const Event& box)> handler) { Shared().boxHandler = std::move(handler); }

void OnWinEvent(std::function<void(const Event& event)> handler) { Shared().winEventHandler = std::move(handler); }

void OnFocusLoss(HWND window, std::function<void()> handler) { Shared().focusLoss[window] = std::move(handler); }

int LiveObjects() { return static_cast<int>(Shared().objects.size()); }

int BadReleases() { return Shared().badReleases; }

COLORREF BrushColor(HBRUSH brush)
{
    auto object = Shared().objects.find(brush);
    return object != Shared().objects.end() && object->second->brush ? object->second->color : 0xFFFFFFFFu;
}

LOGFONTA FontOf(HFONT font)
{
    LOGFONTA none;
    memset(&none, 0, sizeof none);
    auto object = Shared().objects.find(font);
    return object != Shared().objects.end() && !object->second->brush ? object->second->font : none;
}

void FailWritesAfter(long bytes) { Shared().writeBudget = bytes < 0 ? -1 : bytes; }

void OnFileMove(std::function<bool(const std::string& call, const std::string& from, const std::string& to)> allow)
{
    Shared().moveAllowed = std::move(allow);
}

int OpenFiles() { return static_cast<int>(Shared().files.size()); }

void AnswerFileDialog(bool confirm, const std::string& path)
{
    Shared().dialogConfirms = confirm;
    Shared().dialogPath = path;
}

const std::vector<FileDialogRecord>& FileDialogs() { return Shared().dialogs; }

}  // namespace headless
