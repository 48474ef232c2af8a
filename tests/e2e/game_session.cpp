#include "tests/e2e/game_session.h"

#include <commctrl.h>

#include <cstring>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/screen_shot.h"

namespace {

const char* const kOpenTitle = "Ouvrir un fichier Nonaro...";
const char* const kSaveTitle = "Enregistrer sous...";
const int kMessageTextId = 0xFFFF;

struct WindowSearch {
    DWORD pid;
    const char* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window))
        return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) == 0)
        search->found->push_back(window);
    return TRUE;
}

std::string WindowText(HWND window)
{
    wchar_t wide[512] = L"";
    char text[1024];
    GetWindowTextW(window, wide, 512);
    ProgramText(wide, text, sizeof text);
    return text;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM param)
{
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Edit") == 0 && IsWindowVisible(child)) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

GameSession::GameSession(const std::string& gamePath, const std::string& probePath, const std::string& workDir)
    : gamePath_(gamePath), probePath_(probePath), workDir_(workDir)
{
}

GameSession::~GameSession() { End(); }

void GameSession::End()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (markerHook_)
        UnhookWindowsHookEx(markerHook_);
    if (markerEvent_)
        CloseHandle(markerEvent_);
    Kill();
    if (channel_)
        UnmapViewOfFile(channel_);
    if (mapping_)
        CloseHandle(mapping_);
    if (process_.hProcess)
        CloseHandle(process_.hProcess);
    if (process_.hThread)
        CloseHandle(process_.hThread);
    hook_ = markerHook_ = nullptr;
    markerEvent_ = mapping_ = nullptr;
    channel_ = nullptr;
    process_ = {};
}

void GameSession::Launch(const std::string& file)
{
    End();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + gamePath_ + "\"" + (file.empty() ? "" : " \"" + file + "\"");
    Require(CreateProcessA(gamePath_.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workDir_.c_str(),
                           &startup, &process_) != 0,
            "the game starts (%s, error %lu)", gamePath_.c_str(), GetLastError());
    Note("game started, process %lu", process_.dwProcessId);

    WaitUntil(
        [&] {
            std::vector<HWND> mains = TopWindows(kMainClassName);
            main_ = mains.empty() ? nullptr : mains[0];
            return main_ != nullptr;
        },
        60000, 100);
    Require(main_ != nullptr, "a main window of class \"Nonarov2App\" appears");
    WaitUntil(
        [&] {
            grid_ = FindWindowExA(main_, nullptr, kGridClassName, nullptr);
            toolbar_ = GetDlgItem(main_, 4000);
            return grid_ && toolbar_;
        },
        20000, 100);
    Require(grid_ != nullptr, "the main window has a child of class \"WndGridClass\"");
    Require(toolbar_ != nullptr, "the main window has the toolbar, control 4000");

    mapping_ =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeChannel), E2E_PROBE_MAPPING);
    if (mapping_)
        channel_ = static_cast<ProbeChannel*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)));
    probeModule_ = LoadLibraryA(probePath_.c_str());
    FARPROC hookProc = probeModule_ ? GetProcAddress(probeModule_, E2E_PROBE_HOOK_EXPORT) : nullptr;
    DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    if (hookProc)
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(hookProc)),
                                  probeModule_, thread);
    probeMessage_ = RegisterWindowMessageA(E2E_PROBE_MESSAGE);
    Require(channel_ && hook_, "the menu probe is in place (%s)", probePath_.c_str());
    markerEvent_ = CreateEventA(nullptr, FALSE, FALSE, E2E_PROBE_MARKER_EVENT);
    FARPROC markerProc = GetProcAddress(probeModule_, E2E_PROBE_MARKER_EXPORT);
    if (markerProc)
        markerHook_ = SetWindowsHookExA(WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(markerProc)),
                                        probeModule_, thread);
    markerMessage_ = RegisterWindowMessageA(E2E_PROBE_MARKER_MESSAGE);
    Require(markerEvent_ && markerHook_, "the queue marker hook is in place");

    dpi_ = Scaled(96);
    Settle();
    SetWindowPos(main_, nullptr, Scaled(kMainLeft), Scaled(kMainTop), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(main_);
    Settle();
}

bool GameSession::Running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool GameSession::Settle(DWORD timeoutMs)
{
    if (!Drain(timeoutMs))
        return false;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) {
        Note("the game did not answer within %lu ms", timeoutMs);
        return false;
    }
    return true;
}

bool GameSession::Drain(DWORD timeoutMs)
{
    LONG serial = ++markerSerial_;
    if (!PostMessageA(main_, markerMessage_, static_cast<WPARAM>(serial), 0))
        return false;
    DWORD start = GetTickCount();
    while (InterlockedCompareExchange(&channel_->markerTaken, 0, 0) != serial) {
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs || !Running()) {
            Note("the game did not take the queue marker within %lu ms", timeoutMs);
            return false;
        }
        WaitForSingleObject(markerEvent_, timeoutMs - waited < 200 ? timeoutMs - waited : 200);
    }
    return true;
}

bool GameSession::Painted(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    LONG unpainted = 0;
    bool painted = WaitUntil(
        [&] {
            ProbeChannel request = {};
            request.op = kProbePaintPending;
            if (!Settle(timeoutMs) || !Probe(request))
                return false;
            unpainted = request.result[0];
            return unpainted == 0;
        },
        timeoutMs, 20);
    if (!painted)
        Note("%ld windows of the game still wait for a repaint after %lu ms", unpainted, GetTickCount() - start);
    return painted;
}

bool GameSession::Answers(DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

void GameSession::PostCommand(int id) { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void GameSession::Command(int id, DWORD timeoutMs)
{
    PostCommand(id);
    Settle(timeoutMs);
}

void GameSession::Click(int x, int y)
{
    PostMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Settle();
}

void GameSession::ClickCell(int cell) { Click(Scaled((cell % 9) * 51 + 26), Scaled((cell / 9) * 51 + 26)); }

void GameSession::Key(int virtualKey)
{
    PostMessageA(grid_, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(grid_, WM_KEYUP, virtualKey, 0xC0000001);
    Settle();
}

void GameSession::Char(char ch)
{
    PostChar(ch);
    Settle();
}

void GameSession::PostChar(char ch) { PostMessageA(grid_, WM_CHAR, static_cast<unsigned char>(ch), 1); }

bool GameSession::ButtonEnabled(int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(toolbar_, TB_ISBUTTONENABLED, id, 0, SMTO_NORMAL, 20000, &result);
    return result != 0;
}

bool GameSession::ButtonChecked(int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(toolbar_, TB_ISBUTTONCHECKED, id, 0, SMTO_NORMAL, 20000, &result);
    return result != 0;
}

bool GameSession::Probe(ProbeChannel& request)
{
    LONG before = channel_->serial;
    channel_->op = request.op;
    channel_->id = request.id;
    channel_->flags = request.flags;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main_, probeMessage_, 0, 0, SMTO_NORMAL, 20000, &result);
    if (channel_->serial == before) {
        Expect(false, "the probe inside the game answers (op %ld)", request.op);
        return false;
    }
    request = *channel_;
    return true;
}

UINT GameSession::MenuState(int id, bool byPosition)
{
    ProbeChannel request = {};
    request.op = kProbeMenuItem;
    request.id = id;
    request.flags = byPosition ? MF_BYPOSITION : MF_BYCOMMAND;
    return Probe(request) ? static_cast<UINT>(request.result[0]) : 0xFFFFFFFFu;
}

std::string GameSession::MenuText(int id, bool byPosition)
{
    ProbeChannel request = {};
    request.op = kProbeMenuItem;
    request.id = id;
    request.flags = byPosition ? MF_BYPOSITION : MF_BYCOMMAND;
    return Probe(request) ? std::string(request.text) : std::string("?");
}

bool GameSession::MenuEnabled(int id, bool byPosition)
{
    UINT state = MenuState(id, byPosition);
    return state != 0xFFFFFFFFu && !(state & (MF_GRAYED | MF_DISABLED));
}

bool GameSession::MenuChecked(int id)
{
    UINT state = MenuState(id);
    return state != 0xFFFFFFFFu && (state & MF_CHECKED);
}

std::string GameSession::Clock()
{
    char text[64] = "";
    GetDlgItemTextA(toolbar_, 2000, text, sizeof text);
    return text;
}

GameCursors GameSession::Cursors()
{
    ProbeChannel request = {};
    request.op = kProbeCursors;
    GameCursors cursors = {};
    if (Probe(request)) {
        cursors.current = reinterpret_cast<HCURSOR>(static_cast<LONG_PTR>(request.result[0]));
        cursors.arrow = reinterpret_cast<HCURSOR>(static_cast<LONG_PTR>(request.result[1]));
        cursors.hand = reinterpret_cast<HCURSOR>(static_cast<LONG_PTR>(request.result[2]));
        cursors.wait = reinterpret_cast<HCURSOR>(static_cast<LONG_PTR>(request.result[3]));
    }
    return cursors;
}

RECT GameSession::ButtonRect(int id)
{
    ProbeChannel request = {};
    request.op = kProbeToolbarButton;
    request.id = id;
    RECT none = {0, 0, 0, 0};
    return Probe(request) && request.result[0] ? request.rect : none;
}

bool GameSession::SwitchContrastTheme(int palette)
{
    ProbeChannel request = {};
    request.op = kProbeContrastTheme;
    request.id = palette;
    bool done = Probe(request) && request.result[0];
    Settle();
    // The toolbar is made anew for the theme.
    toolbar_ = GetDlgItem(main_, 4000);
    return done;
}

GameSession::Pictures GameSession::ToolbarPictures()
{
    ProbeChannel request = {};
    request.op = kProbeToolbarPictures;
    Pictures pictures;
    if (Probe(request)) {
        pictures.count = request.result[0];
        pictures.disabledCount = request.result[1];
        pictures.fewestStrokes = request.result[2];
        pictures.lowestContrast = request.result[3] / 100.0;
        pictures.strokeColours = request.rect.left;
    }
    return pictures;
}

namespace {

// A pointer event that carries its own screen position.
void SendPointer(int x, int y, DWORD flags)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + width - 1) / width;
    input.mi.dy = (y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void GameSession::MoveMouse(int x, int y) { SendPointer(x, y, 0); }

void GameSession::ClickScreen(int x, int y)
{
    MoveMouse(x, y);
    Sleep(100);
    // The press and the release carry the position: under load Wine may still
    // be catching up with an earlier pointer move, which would otherwise take
    // the pointer back and send the click there.
    LONG releases = InterlockedCompareExchange(&channel_->buttonUpsTaken, 0, 0);
    SendPointer(x, y, MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    SendPointer(x, y, MOUSEEVENTF_LEFTUP);
    if (!WaitUntil([&] { return InterlockedCompareExchange(&channel_->buttonUpsTaken, 0, 0) != releases; }, 10000, 20))
        Note("the game did not take the click at (%d, %d)", x, y);
    Settle();
}

void GameSession::PressKeys(std::initializer_list<int> virtualKeys)
{
    std::vector<INPUT> presses;
    for (int key : virtualKeys)
        for (DWORD flags : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = static_cast<WORD>(key);
            input.ki.dwFlags = flags;
            presses.push_back(input);
        }
    SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
}

HWND GameSession::FocusWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::vector<HWND> GameSession::TopWindows(const char* className) const
{
    std::vector<HWND> found;
    WindowSearch search = {process_.dwProcessId, className, &found};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return found;
}

bool GameSession::IsMessageBox(HWND dialog)
{
    // A file dialog has a file name field; a message box has its text control
    // and no field. The dialogs' own questions carry the dialog's title.
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit == nullptr && GetDlgItem(dialog, kMessageTextId) != nullptr;
}

std::vector<BoxInfo> GameSession::MessageBoxes() const
{
    std::vector<BoxInfo> boxes;
    for (HWND dialog : TopWindows("#32770"))
        if (IsMessageBox(dialog))
            boxes.push_back(ReadBox(dialog));
    return boxes;
}

BoxInfo GameSession::ReadBox(HWND box)
{
    BoxInfo info;
    info.window = box;
    info.owner = GetWindow(box, GW_OWNER);
    info.caption = WindowText(box);
    wchar_t wide[1024] = L"";
    char text[2048];
    GetDlgItemTextW(box, kMessageTextId, wide, 1024);
    ProgramText(wide, text, sizeof text);
    info.text = text;
    return info;
}

BoxInfo GameSession::WaitForBox(DWORD timeoutMs)
{
    BoxInfo found;
    WaitUntil(
        [&] {
            std::vector<BoxInfo> boxes = MessageBoxes();
            if (boxes.empty())
                return false;
            found = boxes[0];
            return true;
        },
        timeoutMs, 50);
    if (found.window) {
        // The text control is filled as the box is built; give it a moment.
        WaitUntil(
            [&] {
                found = ReadBox(found.window);
                return !found.text.empty();
            },
            3000, 50);
        Note("message box %s: %s (owner %p)", Quoted(found.caption).c_str(), Quoted(found.text).c_str(),
             static_cast<void*>(found.owner));
    }
    return found;
}

void GameSession::CloseBox(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 20000, 50);
    Settle();
}

void GameSession::MoveAside(HWND window)
{
    SetWindowPos(window, nullptr, Scaled(560), Scaled(420), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND GameSession::WaitForFileDialog(const char* title, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND candidate : TopWindows("#32770"))
                if (WindowText(candidate) == title && !IsMessageBox(candidate)) {
                    dialog = candidate;
                    return true;
                }
            return false;
        },
        timeoutMs, 100);
    return dialog;
}

bool GameSession::ConfirmFileDialog(HWND dialog, const std::string& path)
{
    HWND edit = nullptr;
    WaitUntil(
        [&] {
            EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
            return edit != nullptr;
        },
        10000, 100);
    if (!Expect(edit != nullptr, "the file dialog has a file name field"))
        return false;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 10000, &result);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    bool answered = false;
    bool gone = WaitUntil(
        [&] {
            if (!IsWindow(dialog) || !IsWindowVisible(dialog))
                return true;
            if (!answered)
                for (const BoxInfo& box : MessageBoxes())
                    if (box.owner == dialog) {
                        Note("the file dialog asks: %s", Quoted(box.text).c_str());
                        PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(box.window, IDYES)));
                        answered = true;
                    }
            return false;
        },
        30000, 100);
    return Expect(gone, "the file dialog closes after its file name is confirmed");
}

bool GameSession::CancelFileDialog(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    bool gone = WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 20000, 100);
    Settle();
    return Expect(gone, "the file dialog closes on Cancel");
}

bool GameSession::OpenFile(const std::string& path, const std::function<void()>& whileUp)
{
    return FileCommand(kOpen, "Ouvrir", kOpenTitle, path, whileUp);
}

bool GameSession::SaveFile(const std::string& path, const std::function<void()>& whileUp)
{
    return FileCommand(kSave, "Enregistrer", kSaveTitle, path, whileUp);
}

bool GameSession::FileCommand(int command, const char* item, const char* title, const std::string& path,
                              const std::function<void()>& whileUp)
{
    PostCommand(command);
    HWND dialog = WaitForFileDialog(title, 30000);
    if (!Expect(dialog != nullptr, "\"%s\" shows the dialog %s", item, Quoted(title).c_str()))
        return false;
    if (whileUp)
        whileUp();
    bool done = ConfirmFileDialog(dialog, path);
    Settle();
    return done;
}

bool GameSession::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

void GameSession::Kill()
{
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
}

std::string GameSession::TooltipText(int id)
{
    ProbeChannel request = {};
    request.op = kProbeTooltip;
    request.id = id;
    return Probe(request) ? std::string(request.text) : std::string("?");
}

void GameSession::DropFile(const std::string& path, int duringCommand)
{
    ProbeChannel request = {};
    request.op = kProbeDropFile;
    request.id = duringCommand;
    request.flags = duringCommand ? 1 : 0;
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, channel_->path, 1024);
    Probe(request);
}

LONG GameSession::DropsPosted() const { return InterlockedCompareExchange(&channel_->dropsPosted, 0, 0); }

void GameSession::ChangeScale(int dpi)
{
    ProbeChannel request = {};
    request.op = kProbeChangeScale;
    request.id = dpi;
    request.flags = dpi_;
    if (Probe(request))
        dpi_ = dpi;
    toolbar_ = GetDlgItem(main_, 4000);
}

std::string GameSession::WorkPath(const char* name) const { return workDir_ + "\\" + name; }
