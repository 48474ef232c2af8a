// Looks at what the installer did, the way Windows shows it to a player:
// the installation folder, the Start-menu shortcut, the entry in Add/Remove
// Programs, the installer's version block; starts the game from the
// shortcut; and after the uninstaller ran, checks that none of it is left.
// --user: an installation for the current user (made with /CurrentUser).
//
//   install_check [--user] absent      nothing of the game is installed
//   install_check [--user] installed <installer>   all in place, the game starts
//   install_check [--user] uninstall   the registered uninstaller leaves nothing
//   install_check refused              run without the rights, it removes nothing
//   install_check --user earlier|wizard <installer>   installs where earlier
//       versions did, or through the wizard's pages, ending on "Lancer Nonaro"
//
// Prints one line per check; the exit code is the number of failed checks.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/game_image.h"
#include "tests/program_facts.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nonaro";
const char kVendorKey[] = "Software\\Torvel1";
// The saved games' type and extension, registered for the installation's users.
const char kFileType[] = "Software\\Classes\\Nonaro.Partie";
const char kExtension[] = "Software\\Classes\\.nro";
// The type that named .nro before the game, and where the installer keeps it.
const char kPreviousType[] = "Ancien.Partie";
const char kPreviousTypeValue[] = "Nonaro.Partie_backup";
const char kMenuFolder[] = "Nonaro";
// The Start-menu folder holds these, in name order, and nothing else; each
// opens a file of the installation folder. The names are Windows-1252.
const char* const kMenuEntries[][2] = {
    {"D\xE9sinstaller Nonaro.lnk", "Uninstall.exe"}, {"Lisez-moi.lnk", "LISEZMOI.txt"}, {"Nonaro.lnk", "nonaro.exe"}};

int failures = 0;
bool forUser = false;

bool Check(bool ok, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool Check(bool ok, const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    printf("%s %s\n", ok ? "ok    " : "FAILED", line);
    fflush(stdout);
    if (!ok)
        ++failures;
    return ok;
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        Sleep(200);
    }
    return true;
}

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string InstallDir(bool user = forUser)
{
    return user ? Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Nonaro" : Folder(CSIDL_PROGRAM_FILES) + "\\Nonaro";
}
std::string EarlierDir() { return Folder(CSIDL_PERSONAL) + "\\Nonaro"; }
HKEY Root() { return forUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The installer puts the shortcut for all users when it runs as an
// administrator, for the current user otherwise; both places are looked at.
std::vector<std::string> MenuFolders()
{
    return {Folder(CSIDL_COMMON_PROGRAMS) + "\\" + kMenuFolder, Folder(CSIDL_PROGRAMS) + "\\" + kMenuFolder};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in a folder, in order, and the size of its files in KiB.
std::vector<std::string> FolderEntries(const std::string& folder, unsigned long long* kib = nullptr)
{
    std::vector<std::string> names;
    unsigned long long bytes = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        names.push_back(found.cFileName);
        bytes += found.nFileSizeLow;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(names.begin(), names.end());
    if (kib)
        *kib = bytes / 1024;
    return names;
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

std::string RegString(HKEY root, const char* key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return "";
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) ? value : "";
}

// -1 when the value is missing or no DWORD.
long long RegDword(HKEY root, const char* key, const char* name)
{
    DWORD value = 0, size = sizeof value, type = 0;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return -1;
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : -1;
}

bool ReadAll(const std::string& path, std::string& bytes)
{
    FILE* in = fopen(path.c_str(), "rb");
    if (!in)
        return false;
    char buffer[4096];
    size_t got;
    bytes.clear();
    while ((got = fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.append(buffer, got);
    fclose(in);
    return true;
}

// In the block's first language: French 1252 for the game, French Unicode
// for the installer.
std::string VersionString(const std::string& path, const char* key)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size)
        return "";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return "";
    WORD* language = nullptr;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language), &length))
        return "";
    char query[128];
    snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\%s", language[0], language[1], key);
    if (!VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&text), &length))
        return "";
    return std::string(text);
}

// Its exit code, or -1; `meanwhile` is handed the process id until it ends.
long RunAndWait(std::string command, const std::function<void(DWORD)>& meanwhile = nullptr)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = static_cast<DWORD>(-1);
    // A start was once refused under 64-bit Wine on a loaded machine, and never
    // again when run alone: the error is told, and the start tried once more.
    for (int attempt = 0;
         !CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
         ++attempt) {
        printf("note   cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        if (attempt == 1)
            return -1;
        Sleep(2000);
    }
    if (WaitUntil(
            [&] {
                if (meanwhile)
                    meanwhile(process.dwProcessId);
                return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
            },
            300000))
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

struct Shortcut {
    bool loaded = false;
    std::string target;
    std::wstring workingDir;
    std::string iconFile;
    int iconIndex = 0;
};

Shortcut ReadShortcut(const std::string& path)
{
    Shortcut shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            shortcut.loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0));
            shortcut.target = text;
            // Wide, since a documents folder may be named outside the code page.
            // Read back as the link stores it: a working folder is plain text
            // there, never flagged as expandable the way a target or an icon may
            // be (SLDF_HAS_EXP_SZ); the shell expands a variable in it only when
            // it starts the game.
            IShellLinkW* wide = nullptr;
            if (SUCCEEDED(link->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&wide)))) {
                wchar_t folder[MAX_PATH] = L"";
                wide->GetWorkingDirectory(folder, MAX_PATH);
                shortcut.workingDir = folder;
                wide->Release();
            }
            char icon[MAX_PATH] = "";
            link->GetIconLocation(icon, MAX_PATH, &shortcut.iconIndex);
            shortcut.iconFile = icon;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(
        IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name));
    return TRUE;
}

// The program's icon groups in the order in which a shortcut's icon index
// counts them.
std::vector<std::string> IconGroups(const std::string& path)
{
    std::vector<std::string> names;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return names;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), CollectName, reinterpret_cast<LONG_PTR>(&names));
    FreeLibrary(module);
    return names;
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

struct Found {
    HWND window = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    char name[64] = "", title[64] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(name, kMainClassName) == 0 && strcmp(title, kProgramCaption) == 0 && IsWindowVisible(window)) {
        reinterpret_cast<Found*>(param)->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND GameWindow()
{
    Found found;
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string ParentName(DWORD pid)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    std::vector<PROCESSENTRY32> all(1);
    all[0].dwSize = sizeof all[0];
    for (bool more = Process32First(snapshot, &all.back()); more; more = Process32Next(snapshot, &all.back()))
        all.push_back(all.back());
    CloseHandle(snapshot);
    for (const PROCESSENTRY32& child : all)
        for (const PROCESSENTRY32& parent : all)
            if (child.th32ProcessID == pid && parent.th32ProcessID == child.th32ParentProcessID)
                return parent.szExeFile;
    return "";
}

// The installer's window, or a message box it shows.
HWND InstallerDialog(DWORD pid)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// What a player finds on disk and in the registry, with nothing installed.
void ExpectNothingLeft(DWORD timeoutMs)
{
    std::string dir = InstallDir();
    Check(WaitUntil([&] { return !Exists(dir); }, timeoutMs), "the folder %s is gone", dir.c_str());
    for (const std::string& folder : MenuFolders()) {
        for (const auto& entry : kMenuEntries)
            Check(WaitUntil([&] { return !Exists(folder + "\\" + entry[0]); }, timeoutMs), "no shortcut %s\\%s",
                  folder.c_str(), entry[0]);
        Check(WaitUntil([&] { return !Exists(folder); }, timeoutMs), "no Start-menu folder %s", folder.c_str());
    }
    Check(WaitUntil([&] { return !Exists(InstallDir(!forUser)) && !Exists(EarlierDir()); }, timeoutMs),
          "no folder %s nor %s", InstallDir(!forUser).c_str(), EarlierDir().c_str());
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const char* name = root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU";
        Check(WaitUntil([&] { return !KeyExists(root, kUninstallKey); }, timeoutMs),
              "no Add/Remove Programs entry %s\\%s", name, kUninstallKey);
        Check(WaitUntil([&] { return !KeyExists(root, kVendorKey); }, timeoutMs), "no key %s\\%s", name, kVendorKey);
        Check(WaitUntil([&] { return !KeyExists(root, kFileType) && !KeyExists(root, kExtension); }, timeoutMs),
              "no key %s\\%s nor %s", name, kFileType, kExtension);
    }
}

void CheckReadMe(const std::string& path)
{
    std::string text;
    if (!Check(ReadAll(path, text), "the read-me %s is installed", path.c_str()))
        return;
    Check(text.compare(0, 10, "NONARO " NONARO_VERSION_TEXT) == 0, "the read-me starts with its title");
    size_t bareLineFeeds = 0, utf8Pairs = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        if (c == '\n' && (i == 0 || text[i - 1] != '\r'))
            ++bareLineFeeds;
        if ((c == 0xC3 || c == 0xC2) && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80)
            ++utf8Pairs;
    }
    Check(bareLineFeeds == 0, "every line of the read-me ends in CR LF (%u bare LF)",
          static_cast<unsigned>(bareLineFeeds));
    Check(utf8Pairs == 0 && text.find("D\xE9marrer") != std::string::npos,
          "the read-me is Windows-1252: \"D\\xE9marrer\" found, %u UTF-8 sequences", static_cast<unsigned>(utf8Pairs));
}

void ExpectGameStarts(const std::string& exe, const char* parent, bool withGame = false);
void CheckFileType(const std::string& exe);

void CheckInstalled(const std::string& installer)
{
    std::string dir = InstallDir();
    std::string exe = dir + "\\nonaro.exe";
    Check(Exists(exe), "the game is installed as %s", exe.c_str());
    Check(VersionString(exe, "FileVersion") == NONARO_VERSION_TEXT, "its French version block says 2.1 (%s)",
          VersionString(exe, "FileVersion").c_str());
    for (const char* key :
         {"ProductName", "ProductVersion", "FileVersion", "FileDescription", "CompanyName", "LegalCopyright"})
        Check(VersionString(installer, key) == VersionString(exe, key), "the installer's %s is the game's (%s)", key,
              VersionString(installer, key).c_str());
    Check(!Exists(EarlierDir()), "nothing is left where earlier versions installed (%s)", EarlierDir().c_str());
    CheckReadMe(dir + "\\LISEZMOI.txt");

    std::string uninstall = RegString(Root(), kUninstallKey, "UninstallString");
    Check(SamePath(uninstall, "\"" + dir + "\\Uninstall.exe\""), "Add/Remove Programs knows the uninstaller (%s)",
          uninstall.c_str());
    Check(Exists(dir + "\\Uninstall.exe"), "the uninstaller is there");
    std::string name = RegString(Root(), kUninstallKey, "DisplayName");
    Check(name == kProgramCaption, "the entry is named \"Nonaro 2.1\" (%s)", name.c_str());
    std::string icon = RegString(Root(), kUninstallKey, "DisplayIcon");
    Check(SamePath(icon, exe), "the entry shows the game's icon (%s)", icon.c_str());
    // As text, Windows ignores them and offers to modify and repair the game.
    for (const char* flag : {"NoModify", "NoRepair"})
        Check(RegDword(Root(), kUninstallKey, flag) == 1, "the entry's %s is the DWORD 1", flag);
    unsigned long long installed = 0;
    FolderEntries(dir, &installed);
    long long estimated = RegDword(Root(), kUninstallKey, "EstimatedSize");
    Check(estimated >= 0 && llabs(estimated - static_cast<long long>(installed)) <= 4,
          "the entry's EstimatedSize is a DWORD close to the %llu KiB installed (%lld)", installed, estimated);

    std::string menu;
    for (const std::string& folder : MenuFolders())
        if (menu.empty() && Exists(folder))
            menu = folder;
    std::vector<std::string> names = FolderEntries(menu), expected;
    for (const auto& entry : kMenuEntries)
        expected.push_back(entry[0]);
    if (!Check(!menu.empty() && names == expected,
               "the Start-menu folder \"%s\" holds Nonaro, Lisez-moi and "
               "D\\xE9sinstaller Nonaro, nothing else (%u entries)",
               kMenuFolder, static_cast<unsigned>(names.size())))
        return;
    for (const auto& entry : kMenuEntries) {
        Shortcut shortcut = ReadShortcut(menu + "\\" + entry[0]);
        Check(shortcut.loaded && SamePath(shortcut.target, dir + "\\" + entry[1]), "it opens %s",
              shortcut.target.c_str());
    }
    std::string link = menu + "\\Nonaro.lnk";
    Shortcut shortcut = ReadShortcut(link);
    // Installed for every user, it starts in the profile of whoever starts it;
    // for one user, in that user's documents.
    wchar_t documents[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    std::wstring folder = forUser ? documents : L"%USERPROFILE%";
    Check(lstrcmpiW(shortcut.workingDir.c_str(), folder.c_str()) == 0, "the game starts in %ls (%ls)", folder.c_str(),
          shortcut.workingDir.c_str());
    std::vector<std::string> groups = IconGroups(exe);
    std::string named = shortcut.iconIndex >= 0 && shortcut.iconIndex < static_cast<int>(groups.size())
                            ? groups[shortcut.iconIndex]
                            : "none";
    Check(SamePath(shortcut.iconFile, exe) && named == "210",
          "the shortcut shows icon 210 of the game (%s, index %d: %s)", shortcut.iconFile.c_str(), shortcut.iconIndex,
          named.c_str());
    HICON large = nullptr;
    Check(ExtractIconExA(exe.c_str(), shortcut.iconIndex, &large, nullptr, 1) == 1 && large != nullptr,
          "the icon the shortcut names can be drawn");
    if (large)
        DestroyIcon(large);

    // Started the way a player starts it: from the Start-menu shortcut.
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpVerb = "open";
    start.lpFile = link.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!Check(ShellExecuteExA(&start) != 0, "the shortcut opens"))
        return;
    if (start.hProcess)
        CloseHandle(start.hProcess);
    ExpectGameStarts(exe, nullptr);
    CheckFileType(exe);
}

// Waits for the game's window and closes it; given a name, checks which
// program started it.
void ExpectGameStarts(const std::string& exe, const char* parent, bool withGame)
{
    HWND window = nullptr;
    Check(WaitUntil([&] { return (window = GameWindow()) != nullptr; }, 180000),
          "a window of class \"Nonarov2App\" titled \"Nonaro 2.1\" appears");
    if (!window)
        return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
    char image[MAX_PATH] = "";
    if (process)
        GetModuleFileNameExA(process, nullptr, image, MAX_PATH);
    Check(SamePath(image, exe), "the window belongs to the installed program (%s)", image);
    if (parent)
        Check(SamePath(ParentName(pid), parent), "%s started it (%s)", parent, ParentName(pid).c_str());
    if (withGame)
        Check(
            WaitUntil([&] { return SendMessageA(GetDlgItem(window, 4000), TB_ISBUTTONENABLED, 1003, 0) != 0; }, 30000),
            "the game opened the file: \"Enregistrer\" is enabled");

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    if (ended)
        GetExitCodeProcess(process, &code);
    Check(ended && code == 0, "closing the window ends the game with exit code 0 (%lu)", code);
    if (process)
        CloseHandle(process);
}

void Uninstall()
{
    std::string command = RegString(Root(), kUninstallKey, "UninstallString");
    if (!Check(!command.empty(), "the uninstaller is registered"))
        return;
    // For every user, another program has taken the extension since: it keeps it.
    // For one user, the type the extension named before the game gets it back.
    if (!forUser)
        RegSetValueA(Root(), kExtension, REG_SZ, "Autre.Partie", 12);
    // As Add/Remove Programs runs it, with the silent switch. The uninstaller
    // copies itself away and lets the copy do the work, so the checks wait.
    command += " /S";
    if (!Check(RunAndWait(command) != -1, "%s runs", command.c_str()))
        return;
    // The copy removes the type, then the extension's list of types, and gives
    // the extension back: the check waits for all of it.
    const std::string owner = forUser ? kPreviousType : "Autre.Partie";
    const std::string progids = std::string(kExtension) + "\\OpenWithProgids";
    const auto restored = [&] {
        return !KeyExists(Root(), kFileType) && !KeyExists(Root(), progids.c_str()) &&
               RegString(Root(), kExtension, "") == owner && RegString(Root(), kExtension, kPreviousTypeValue).empty();
    };
    if (Check(WaitUntil(restored, 60000), "after the uninstallation .nro names %s, without the game (%s)",
              owner.c_str(), RegString(Root(), kExtension, "").c_str())) {
        RegDeleteKeyA(Root(), kExtension);
    }
    ExpectNothingLeft(60000);
}

// The type names the installed program, and a saved game opened through the
// shell starts it with the game. Unlike Windows, Wine 8 does not show
// HKCU\Software\Classes through HKEY_CLASSES_ROOT; where the shell cannot see
// the type (installed for one user, under Wine), the registered command is
// run as the shell would run it.
void CheckFileType(const std::string& exe)
{
    const std::string open = RegString(Root(), (std::string(kFileType) + "\\shell\\open\\command").c_str(), "");
    const std::string icon = RegString(Root(), (std::string(kFileType) + "\\DefaultIcon").c_str(), "");
    const bool listed = RegGetValueA(Root(), (std::string(kExtension) + "\\OpenWithProgids").c_str(), "Nonaro.Partie",
                                     RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    Check(RegString(Root(), kExtension, kPreviousTypeValue) == kPreviousType,
          "the installer keeps .nro's previous type (%s)", RegString(Root(), kExtension, kPreviousTypeValue).c_str());
    Check(RegString(Root(), kExtension, "") == "Nonaro.Partie" && RegString(Root(), kFileType, "") == "Partie Nonaro" &&
              listed && SamePath(open, "\"" + exe + "\" \"%1\"") && SamePath(icon, exe + ",-210"),
          "%s names .nro \"Partie Nonaro\" (among its OpenWithProgids: %d), opened by %s, icon %s",
          forUser ? "HKCU" : "HKLM", listed, open.c_str(), icon.c_str());

    GameImage game = GameImage::Solved();
    for (int cell = 1; cell < 81; cell += 2)
        game.Hide({cell});
    const std::vector<uint8_t> bytes = game.Encode();
    const std::string file = Folder(CSIDL_PERSONAL) + "\\partie du jour.nro";
    FILE* out = fopen(file.c_str(), "wb");
    if (!Check(out != nullptr, "the test writes %s", file.c_str()))
        return;
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    const std::string command = open.substr(0, open.find("%1")) + file + "\"";
    if (KeyExists(HKEY_CLASSES_ROOT, "Nonaro.Partie"))
        Check(reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide, nullptr, nullptr, SW_SHOWNORMAL)) > 32,
              "the shell opens %s", file.c_str());
    else
        Check(WinExec(command.c_str(), SW_SHOWNORMAL) > 31, "the shell cannot see the type; %s runs", command.c_str());
    ExpectGameStarts(exe, nullptr, true);
    DeleteFileA(file.c_str());
}

// Run in place (_?=), the uninstaller's exit code is its own.
void UninstallRefused()
{
    std::string dir = InstallDir();
    long code = RunAndWait(RegString(Root(), kUninstallKey, "UninstallString") + " /S /CurrentUser _?=" + dir);
    Check(code > 0 && KeyExists(Root(), kUninstallKey) && Exists(dir + "\\Uninstall.exe") &&
              Exists(dir + "\\nonaro.exe"),
          "without the rights the uninstaller fails (exit code %ld) and leaves the game and its entry", code);
}

// A player who takes every default: yes to removing the earlier
// installation, then the right-hand button of each page, up to "Fermer"
// with "Lancer Nonaro" ticked.
void InstallWithWizard(const std::string& installer)
{
    bool asked = false;
    long code = RunAndWait("\"" + installer + "\" /CurrentUser", [&](DWORD pid) {
        HWND dialog = InstallerDialog(pid);
        int button = dialog && GetDlgItem(dialog, IDYES) ? IDYES : IDOK;
        asked = asked || button == IDYES;
        DWORD_PTR ignored;
        // Sent, not posted: the page has changed before the next one is looked at.
        if (dialog && IsWindowEnabled(GetDlgItem(dialog, button)))
            SendMessageTimeoutA(dialog, WM_COMMAND, button, 0, SMTO_NORMAL, 60000, &ignored);
    });
    Check(asked && code == 0, "the installer offered to remove the earlier installation and ended with 0 (%ld)", code);
    ExpectGameStarts(InstallDir() + "\\nonaro.exe", "explorer.exe");
}

}  // namespace

int main(int argc, char** argv)
{
    forUser = argc > 1 && strcmp(argv[1], "--user") == 0;
    if (argc < 2 + forUser) {
        fprintf(
            stderr,
            "usage: install_check [--user] absent|foreign|installed|uninstall|refused|earlier|wizard [installer]\n");
        return 100;
    }
    CoInitialize(nullptr);
    std::string phase = argv[1 + forUser], installer = argc > 2 + forUser ? argv[2 + forUser] : "";
    if (phase == "absent")
        ExpectNothingLeft(0);
    else if (phase == "foreign")
        Check(RegSetValueA(Root(), kExtension, REG_SZ, kPreviousType, sizeof kPreviousType - 1) == ERROR_SUCCESS,
              ".nro is another program's %s before the installation", kPreviousType);
    else if (phase == "installed")
        CheckInstalled(installer);
    else if (phase == "uninstall")
        Uninstall();
    else if (phase == "refused")
        UninstallRefused();
    else if (phase == "earlier")
        Check(RunAndWait("\"" + installer + "\" /S /CurrentUser /D=" + EarlierDir()) == 0 &&
                  Exists(EarlierDir() + "\\nonaro.exe"),
              "installed for the user under %s", EarlierDir().c_str());
    else if (phase == "wizard")
        InstallWithWizard(installer);
    else
        Check(false, "a known phase (%s)", phase.c_str());
    CoUninitialize();
    return failures;
}
