// Scenarios around the game rather than on the board: the solution window,
// saving and opening files, refused files, a failed save, quitting, and
// libraries planted beside the game.
#include <oleacc.h>

#include <cstring>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"

namespace {

HWND WaitForSolutionWindow(GameSession& game)
{
    int count = 0;
    HWND window = nullptr;
    WaitUntil(
        [&] {
            window = SolutionWindow(game, &count);
            return window != nullptr;
        },
        15000, 100);
    return window;
}

// The solution window shows the image's solution, hidden cells on white.
void ExpectSolutionShows(HWND window, const GameImage& image, const char* when)
{
    int wrongText = 0;
    bool texts = WaitUntil(
        [&] {
            wrongText = 0;
            for (int cell = 0; cell < 81; ++cell)
                wrongText += SolutionDigit(window, cell) != image.solution[cell];
            return wrongText == 0;
        },
        5000, 200);
    Expect(texts, "%s: the 81 cells show the solution (%d differ)", when, wrongText);

    // Under Wine's virtual desktop the screen can keep the owner drawn over
    // its topmost popup after a dialog closed, although the window order
    // (checked below) is right. Dragged clear of the main window, as a player
    // could, the popup is drawn whole; it goes back to its place afterwards.
    RECT home;
    GetWindowRect(window, &home);
    SetWindowPos(window, nullptr, Scaled(640), Scaled(300), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    int wrongColour = 0;
    bool colours = WaitUntil(
        [&] {
            RECT client;
            GetClientRect(window, &client);
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
            ScreenShot shot = ScreenShot::Take(client);
            wrongColour = 0;
            for (int cell = 0; cell < 81; ++cell) {
                COLORREF expected = image.mask[cell] ? RGB(255, 255, 255) : face;
                wrongColour += shot.At(Scaled((cell % 9) * 30 + 3), Scaled((cell / 9) * 30 + 3)) != expected;
            }
            return wrongColour == 0;
        },
        5000, 200);
    Expect(colours, "%s: hidden cells on white, givens on the button face (%d differ)", when, wrongColour);
    SetWindowPos(window, nullptr, home.left, home.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT outer;
    GetWindowRect(window, &outer);
    POINT middle = {(outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2};
    HWND top = GetAncestor(WindowFromPoint(middle), GA_ROOT);
    Expect(top == window, "%s: the solution window is in front (%p at its middle, topmost flag %d)", when,
           static_cast<void*>(top), (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
}

void ExpectSolutionPlace(GameSession& game, HWND window, const char* when)
{
    RECT main, outer, client;
    GetWindowRect(game.Main(), &main);
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int right = Scaled(300), down = Scaled(150), side = Scaled(271);
    Expect(outer.left == main.left + right && outer.top == main.top + down,
           "%s: the solution window stands at the main window's corner + (%d, %d) (%ld, %ld from %ld, %ld)", when,
           right, down, outer.left, outer.top, main.left, main.top);
    Expect(client.right == side && client.bottom == side, "%s: its client area is %d x %d (%ld x %ld)", when, side,
           side, client.right, client.bottom);
}

void SolutionWindowScenario(GameSession& game)
{
    game.Launch();
    GameImage first = GameImage::Solved().Hide({0, 4, 35, 37, 40, 43, 45, 76});
    Require(LoadPrepared(game, first, "solution-a.nro"), "the prepared game loads");
    game.Command(kSolution);
    HWND window = WaitForSolutionWindow(game);
    Require(window != nullptr, "\"Solution\" opens a window of class \"NonaroSolutionClass\"");
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    Expect(strcmp(title, "Solution") == 0, "its title is %s", Quoted(title).c_str());
    Expect((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "it stays on top");
    Expect(GetWindow(window, GW_OWNER) == game.Main(), "the main window owns it");
    ExpectSolutionPlace(game, window, "first opening");
    ExpectSolutionShows(window, first, "first opening");

    // The command is handled, and any window it made is up, once the game has settled.
    game.Command(kSolution);
    int count = 0;
    HWND again = SolutionWindow(game, &count);
    Expect(again == window && count == 1, "a second \"Solution\" opens nothing (%d windows)", count);

    PostMessageA(window, WM_CLOSE, 0, 0);
    Expect(WaitUntil([&] { return SolutionWindow(game, &count) == nullptr; }, 10000), "the close box closes it");
    SetWindowPos(game.Main(), nullptr, Scaled(kMainLeft + 60), Scaled(kMainTop + 40), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    game.Settle();
    game.Command(kSolution);
    window = WaitForSolutionWindow(game);
    Require(window != nullptr, "\"Solution\" opens the window again after it was closed");
    ExpectSolutionPlace(game, window, "reopened after the main window moved");

    GameImage second = GameImage::Solved(true).Hide({1, 2, 10, 20, 30, 50, 60, 70, 79});
    Require(LoadPrepared(game, second, "solution-b.nro"), "a second prepared game loads");
    ExpectSolutionShows(window, second, "after opening another game");

    game.Command(kNewGame, 240000);
    std::vector<uint8_t> bytes;
    GameImage generated;
    if (SaveAndRead(game, "solution-new.nro", bytes) && generated.Decode(bytes)) {
        window = WaitForSolutionWindow(game);
        ExpectSolutionShows(window, generated, "after \"Nouvelle grille\"");
    }
}

GameImage MarkedGame()
{
    GameImage image = RowFourGame();
    image.Mark(37, 2).Mark(37, 3).Mark(38, 8).Fill(44, 4);
    return image;
}

void SaveReopen(GameSession& game)
{
    // Started with the file, as a double click starts it, from a folder with a
    // space under an accented name.
    GameImage image = MarkedGame();
    const std::string start = game.WorkPath("mes parties"), path = start + "\\" + AnsiText("partie r\xC3\xA9ussie.nro");
    Require(CreateDirectoryA(start.c_str(), nullptr) && WriteBytes(path, image.Encode()), "the driver writes %s",
            path.c_str());
    game.Launch(path);
    Require(WaitUntil([&] { return game.ButtonEnabled(kSave); }, 10000), "the game named on the command line opens");
    ExpectGameCommandsEnabled(game, "started with a file");
    ExpectUndoRedo(game, false, false, "started with a file");
    ExpectNoBoxFor(game, 1000, "started with a file");
    GridView view(game);
    Expect(WaitForInk(view, 37, false, true), "the loaded marks show in cell 37");
    game.ClickCell(40);
    game.Char('9');
    Expect(WaitUntil([&] { return ClockSeconds(game.Clock()) >= 1; }, 6000), "the clock runs");

    std::vector<uint8_t> first, second;
    Require(SaveAndRead(game, "saved-1.nro", first), "the first save");
    GameImage expected = image;
    expected.Fill(40, 9);
    Expect(first.size() == kFileSize, "the saved file has 1142 bytes (%u)", static_cast<unsigned>(first.size()));
    std::string difference = FirstDifference(first, expected.Encode());
    Expect(difference.empty(), "the saved file holds the game as played (%s)", difference.c_str());

    Require(game.OpenFile(game.WorkPath("saved-1.nro")), "the saved file opens");
    Expect(WaitUntil([&] { return game.Clock() == kClockRestText; }, 3000), "the clock is back at 00 : 00 : 00 (%s)",
           Quoted(game.Clock()).c_str());
    ExpectUndoRedo(game, false, false, "after reopening");
    Expect(WaitForInk(view, 40, true, false) && WaitForInk(view, 37, false, true),
           "the reopened game shows 40 filled and 37 marked");
    Require(SaveAndRead(game, "saved-2.nro", second), "the second save");
    difference = FirstDifference(first, second);
    Expect(difference.empty(), "saving the reopened game gives the same bytes (%s)", difference.c_str());

    GameImage old = GameImage::Solved(true).Hide({36, 37, 38, 39, 40, 41});
    old.Fill(38, 2);
    Require(WriteBytes(game.WorkPath("older.nro"), old.EncodeOld()), "the driver writes the older layout");
    Require(game.OpenFile(game.WorkPath("older.nro")), "the older layout opens");
    Expect(WaitForInk(view, 37, false, false), "no marks show after loading the older layout");
    std::vector<uint8_t> third;
    GameImage reread;
    if (SaveAndRead(game, "saved-3.nro", third) && Expect(reread.Decode(third), "the re-saved older game decodes")) {
        old.Encode().swap(second);
        difference = FirstDifference(third, second);
        Expect(difference.empty(), "the older game is kept whole, its marks cleared (%s)", difference.c_str());
    }

    // Under code page 932 the second byte of many characters is the one of a
    // backslash: 95 5C for the first character of the folder and of the name,
    // 83 5C for the second one of the folder.
    if (GetACP() != 932)
        return;
    const std::string folder = AnsiText("\xE8\xA1\xA8\xE3\x82\xBD");
    const std::string name = folder + "\\" + AnsiText("\xE8\xA1\xA8") + ".nro";
    Require(CreateDirectoryA(game.WorkPath(folder.c_str()).c_str(), nullptr), "the driver makes the folder");
    std::vector<uint8_t> fourth, fifth;
    Require(SaveAndRead(game, name.c_str(), fourth), "the save under a double-byte name");
    Require(game.OpenFile(game.WorkPath(name.c_str())), "the file under a double-byte name opens");
    Require(SaveAndRead(game, "saved-4.nro", fifth), "the save after reopening it");
    difference = FirstDifference(fourth, fifth);
    Expect(fourth.size() == kFileSize && difference.empty(), "the double-byte name keeps the game whole (%s)",
           difference.c_str());
}

void OpenRefused(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, MarkedGame(), "base.nro"), "the prepared game loads");
    GridView view(game);
    game.ClickCell(40);
    game.Char('9');
    Expect(WaitUntil([&] { return ClockSeconds(game.Clock()) >= 1; }, 6000), "the clock runs");
    std::vector<uint8_t> baseline;
    Require(SaveAndRead(game, "baseline.nro", baseline), "the baseline save");

    auto expectUnchanged = [&](const char* what, int index) {
        int before = ClockSeconds(game.Clock());
        Expect(WaitUntil([&] { return ClockSeconds(game.Clock()) > before; }, 5000),
               "%s: the clock goes on counting (%s)", what, Quoted(game.Clock()).c_str());
        ExpectUndoRedo(game, true, false, what);
        std::vector<uint8_t> now;
        std::string name = "after-" + std::to_string(index) + ".nro";
        if (SaveAndRead(game, name.c_str(), now)) {
            std::string difference = FirstDifference(baseline, now);
            Expect(difference.empty(), "%s: the game is unchanged (%s)", what, difference.c_str());
        }
    };

    game.PostCommand(kOpen);
    HWND dialog = game.WaitForFileDialog("Ouvrir un fichier Nonaro...", 30000);
    Require(dialog != nullptr, "\"Ouvrir\" shows its dialog");
    game.CancelFileDialog(dialog);
    expectUnchanged("a cancelled Open", 0);

    std::vector<uint8_t> valid = GameImage::Solved(true).Hide({1, 2, 3}).Encode();
    std::vector<uint8_t> wrongMagic = valid, lowerMagic = valid, noNul = valid,
                         truncated(valid.begin(), valid.begin() + 600);
    memcpy(wrongMagic.data(), "NONARO3", 8);
    memcpy(lowerMagic.data(), "nonaro2", 8);
    noNul[7] = 'X';
    GameImage wild = GameImage::Solved(true).Hide({1, 2, 3});
    wild.Fill(1, 12);
    wild.mask[5] = 7;
    struct Damaged {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const char text[] = "Partie du 12 mai : 5 3 . . 7 . . . .\r\n";
    const Damaged files[] = {
        {"empty", {}},
        {"wrong magic", wrongMagic},
        {"lower-case magic", lowerMagic},
        {"magic without its NUL", noNul},
        {"cut short at 600 bytes", truncated},
        {"values out of range", wild.Encode()},
        {"text renamed .nro", std::vector<uint8_t>(text, text + sizeof text - 1)},
    };
    // One warning, owned by the main window and with its caption, that names
    // the file (and says why, where given).
    auto expectRefused = [&](const std::string& name, const char* why = "comme partie Nonaro") {
        BoxInfo box = game.WaitForBox(30000);
        Expect(box.window && box.owner == game.Main() && box.caption == kProgramCaption &&
                   box.text.find(name) != std::string::npos && box.text.find(why) != std::string::npos &&
                   game.MessageBoxes().size() == 1,
               "one box names %s (%s)", name.c_str(), Quoted(box.text).c_str());
        if (box.window)
            game.CloseBox(box.window);
    };
    int index = 1;
    for (const Damaged& file : files) {
        std::string name = "damaged-" + std::to_string(index) + ".nro", path = game.WorkPath(name.c_str());
        Require(WriteBytes(path, file.bytes), "the driver writes %s", path.c_str());
        Note("opening a damaged file: %s", file.name);
        game.OpenFile(path);
        expectRefused(name);
        expectUnchanged(file.name, index++);
    }

    // Held whole by another program, a file is told as in use.
    const std::string held = game.WorkPath("held.nro");
    Require(WriteBytes(held, valid), "the driver writes %s", held.c_str());
    HANDLE hold = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(hold != INVALID_HANDLE_VALUE, "the driver holds %s without sharing", held.c_str());
    game.OpenFile(held);
    expectRefused("held.nro", "un autre programme l'utilise");
    expectUnchanged("a file held whole by another program", index++);
    CloseHandle(hold);

    // Dropped, a path longer than Windows' 260 characters is refused by its
    // whole name, not cut down to another one.
    const std::string longName = "partie-" + std::string(40, 'b') + ".nro";
    const std::string longPath =
        game.WorkPath((std::string(300 - game.WorkPath("").size() - longName.size(), 'a') + "\\" + longName).c_str());
    game.DropFile(longPath);
    expectRefused(longName);
    expectUnchanged("a dropped path of 300 characters", index++);

    // Under the clash's box and the save dialog a drop opens nothing: the
    // rule's clean-up stays in this game, and the save holds it.
    const std::string other = game.WorkPath("other.nro");
    Require(WriteBytes(other, valid), "the driver writes %s", other.c_str());
    game.ClickCell(41);
    game.PostChar('9');
    BoxInfo clash = game.WaitForBox(15000);
    if (Expect(clash.caption == "Doublons", "a clashing 9 at cell 41 brings up the box (%s)",
               Quoted(clash.caption).c_str())) {
        for (const std::string& dropped : {other, game.WorkPath("damaged-2.nro")})
            game.DropFile(dropped);
        game.Drain();
        Expect(game.MessageBoxes().size() == 1, "the drops under the box open nothing and tell nothing");
        game.CloseBox(clash.window);
    }
    expectUnchanged("files dropped under the clash's box", index++);
    const std::string kept = game.WorkPath("kept.nro");
    game.SaveFile(kept, [&] {
        game.DropFile(other);
        game.Drain();
    });
    std::vector<uint8_t> keptBytes;
    Expect(WaitUntil([&] { return ReadBytes(kept, keptBytes) && keptBytes.size() >= kFileSize; }, 10000) &&
               FirstDifference(baseline, keptBytes).empty(),
           "a file dropped under the save dialog leaves the save the game as it was when it was chosen");
    expectUnchanged("a file dropped under the save dialog", index++);

    // Kept open for writing by another program, as an editor or a sync client
    // keeps it, a file opens.
    hold = CreateFileA(other.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    Expect(game.OpenFile(other) && WaitUntil([&] { return !game.ButtonEnabled(kUndo); }, 10000),
           "a file another program keeps open for writing opens");
    ExpectNoBoxFor(game, 1000, "opening a file kept open for writing");
    CloseHandle(hold);

    // A drop that arrives while a new grid is made waits in the queue and is
    // refused as it would be under a box.
    const LONG drops = game.DropsPosted();
    game.DropFile(other, kNewGame);
    game.Command(kNewGame, 240000);
    ExpectNoBoxFor(game, 1000, "a file dropped while a new grid was made");
    std::vector<uint8_t> made;
    GameImage fresh;
    if (Expect(game.DropsPosted() > drops, "the drop came while the new grid was made") &&
        SaveAndRead(game, "made.nro", made) && fresh.Decode(made)) {
        int left = 0;
        for (int cell = 0; cell < 81; ++cell)
            left += fresh.player[cell] != (fresh.mask[cell] ? 0 : fresh.solution[cell]);
        Expect(left == 0 && FirstDifference(made, valid).size() > 0,
               "the board is the new grid, untouched (%d cells differ)", left);
    }

    // Started with a refused file, the game says so and shows an empty board;
    // a path too long for Windows is refused by its name too.
    for (const std::string& name :
         {std::string("damaged-2.nro"), std::string("damaged-7.nro"), std::string("absente.nro"), longName}) {
        game.Launch(name == longName ? longPath : game.WorkPath(name.c_str()));
        expectRefused(name);
        ScreenShot shot = GridView(game).SteadyShot();
        int inked = 0;
        for (int cell = 0; cell < 81; ++cell) {
            CellLook look = LookAt(shot, cell);
            inked += look.HasGiven() || look.HasPlayerDigit() || look.HasMarks();
        }
        Expect(inked == 0, "started with %s: the board is empty (%d cells inked)", name.c_str(), inked);
        for (int id : {kSave, kSolution, kPrint, kUndo})
            ExpectCommand(game, id, false, name.c_str());
        Expect(!game.MenuEnabled(2, true), "started with %s: the \" Outils \" menu is grayed", name.c_str());
    }
}

void FailedSave(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, MarkedGame(), "start.nro"), "the prepared game loads");
    std::vector<uint8_t> previous;
    Require(SaveAndRead(game, "target.nro", previous), "the first save of the target");
    game.ClickCell(40);
    game.Char('9');

    std::string target = game.WorkPath("target.nro");
    HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(lock != INVALID_HANDLE_VALUE, "the driver holds the target file without sharing");
    game.PostCommand(kSave);
    HWND dialog = game.WaitForFileDialog("Enregistrer sous...", 30000);
    Require(dialog != nullptr, "\"Enregistrer\" shows its dialog");
    game.ConfirmFileDialog(dialog, target);

    BoxInfo box = game.WaitForBox(15000);
    if (Expect(box.window != nullptr, "the failed save is told in a message box")) {
        Expect(box.owner == game.Main(), "the main window owns the box (owner %p, main %p)",
               static_cast<void*>(box.owner), static_cast<void*>(game.Main()));
        Expect(!box.caption.empty() && !box.text.empty(), "the box has a caption and a text");
        Expect(game.MessageBoxes().size() == 1, "exactly one box is up");
        game.CloseBox(box.window);
        ExpectNoBoxFor(game, 1000, "after the failure box was closed");
    }
    CloseHandle(lock);

    std::vector<uint8_t> after;
    Expect(ReadBytes(target, after), "the target file is still there");
    std::string difference = FirstDifference(previous, after);
    Expect(difference.empty(), "the previous file is intact (%s)", difference.c_str());

    std::vector<uint8_t> retry;
    GameImage saved;
    if (SaveAndRead(game, "retry.nro", retry) && saved.Decode(retry))
        Expect(saved.player[40] == 9, "the game kept the move made before the failed save");
}

void Quit(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, RowFourGame(), "quit.nro"), "the prepared game loads");
    game.ClickCell(40);
    game.Char('9');
    game.PostCommand(kQuit);
    DWORD code = 12345;
    bool boxSeen = false;
    bool ended = WaitUntil(
        [&] {
            boxSeen = boxSeen || !game.MessageBoxes().empty();
            return game.WaitForExit(0, &code);
        },
        20000, 100);
    Expect(ended, "\"Quitter\" ends the process");
    Expect(!boxSeen, "\"Quitter\" asks nothing");
    if (ended)
        Expect(code == 0, "the exit code is 0 (%lu)", code);
}

// The libraries the game loads once its own code runs (WINEDEBUG=+loaddll),
// less its imports, loaded before its code runs (the import table's test
// covers them), and what Wine's own libraries import late without the
// search order the game has set.
const char* const kPlantedNames[] = {
    "comctl32.dll", "uxtheme.dll", "comdlg32.dll", "oleacc.dll",   "oleaut32.dll", "shell32.dll",
    "shlwapi.dll",  "shcore.dll",  "winspool.drv", "compstui.dll", "propsys.dll",  "windowscodecs.dll",
};

// Where Wine reads the order in which it tries native and builtin libraries
// for one program, the game's copy here: the environment of a process that
// Wine starts is not read again for it.
const char kOverridesKey[] = "Software\\Wine\\AppDefaults\\nonaro.exe\\DllOverrides";

// The folder of the driver, where the build puts the probe and the planted
// library beside it.
std::string DriverFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

// A planted copy that some process has loaded leaves a .loaded file.
void ExpectNonePlantedLoaded(const std::string& folder, const char* when)
{
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.loaded").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names += std::string(" ") + found.cFileName;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    Expect(names.empty(), "%s: no library planted beside the game is loaded (%s)", when,
           names.empty() ? "none" : names.c_str() + 1);
}

// The portable zip extracted into a folder of downloads, with a library
// under each name the game loads, and Windows' search order for each given
// to Wine: native first, found in the program's folder, then Wine's own.
// The game starts there, as a double click starts it.
void PlantedLibraries(GameSession& session)
{
    const std::string driverFolder = DriverFolder(), folder = session.WorkPath("downloads");
    const std::string planted = driverFolder + "\\e2e_planted.dll", copy = folder + "\\nonaro.exe";
    Require(CreateDirectoryA(folder.c_str(), nullptr) && CopyFileA(session.GamePath().c_str(), copy.c_str(), FALSE),
            "the game is copied to %s", folder.c_str());
    std::string overrides;
    std::vector<std::string> modules;
    for (const char* name : kPlantedNames) {
        Require(CopyFileA(planted.c_str(), (folder + "\\" + name).c_str(), FALSE), "%s is planted", name);
        // Wine names a library by its file name, less a ".dll".
        std::string module = name;
        if (module.compare(module.size() - 4, 4, ".dll") == 0)
            module.resize(module.size() - 4);
        modules.push_back(module);
        overrides += (overrides.empty() ? "" : ", ") + module;
    }
    // The planted library does give itself away once loaded, and refuses.
    const std::string check = folder + "\\planted-check.dll";
    Require(CopyFileA(planted.c_str(), check.c_str(), FALSE), "the driver plants its own check");
    HMODULE loaded = LoadLibraryA(check.c_str());
    Require(!loaded && DeleteFileA((check + ".loaded").c_str()),
            "a planted library loaded by its path leaves its mark");
    DeleteFileA(check.c_str());

    HKEY key = nullptr;
    Require(RegCreateKeyExA(HKEY_CURRENT_USER, kOverridesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
                ERROR_SUCCESS,
            "the driver can give Wine the load order");
    for (const std::string& module : modules)
        RegSetValueExA(key, module.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    RegCloseKey(key);
    Note("native before builtin for %s", overrides.c_str());
    GameSession game(copy, driverFolder + "\\e2e_probe.dll", folder);
    try {
        game.Launch();
    } catch (const ScenarioAbort&) {
        // A program that imports a planted library does not start at all.
        ExpectNonePlantedLoaded(folder, "at start");
        RegDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey);
        throw;
    }
    ExpectNonePlantedLoaded(folder, "at start");

    Require(LoadPrepared(game, MarkedGame(), "planted.nro"), "\"Ouvrir\" opens a game");
    ExpectNonePlantedLoaded(folder, "after \"Ouvrir\"");
    std::vector<uint8_t> bytes;
    Expect(SaveAndRead(game, "planted-saved.nro", bytes), "\"Enregistrer\" saves it");
    ExpectNonePlantedLoaded(folder, "after \"Enregistrer\"");

    game.PostCommand(kPrint);
    // The print dialog, or Wine's word that there is no printer.
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> dialogs = game.TopWindows("#32770");
            return (dialog = dialogs.empty() ? nullptr : dialogs[0]) != nullptr;
        },
        60000, 100);
    if (Expect(dialog != nullptr, "\"Imprimer\" shows a dialog")) {
        for (int button : {IDCANCEL, IDOK})
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        Expect(WaitUntil([&] { return game.TopWindows("#32770").empty(); }, 30000), "the print dialog closes");
        game.Settle();
    }
    ExpectNonePlantedLoaded(folder, "after \"Imprimer\"");

    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* table = nullptr;
    LONG children = 0;
    if (SUCCEEDED(
            AccessibleObjectFromWindow(game.Grid(), OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&table))) &&
        table) {
        table->get_accChildCount(&children);
        table->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    Expect(children == 81, "a screen reader finds the grid's 81 cells (%ld)", children);
    ExpectNonePlantedLoaded(folder, "after a screen reader asked for the grid");
    game.Kill();
    RegDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey);
}

}  // namespace

void AddFileScenarios(std::vector<Scenario>& list)
{
    list.push_back({"solution-window", SolutionWindowScenario});
    list.push_back({"save-reopen", SaveReopen});
    list.push_back({"open-refused", OpenRefused});
    list.push_back({"failed-save", FailedSave});
    list.push_back({"quit", Quit});
    list.push_back({"planted-libraries", PlantedLibraries});
}
