// Scenarios about what the board shows: the start-up state, new grids at
// each level, selection and its blink, arrow keys, tools and levels.
#include <algorithm>
#include <cstring>

#include "tests/e2e/board_picture.h"
#include "tests/e2e/contrast_palettes.h"
#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"
#include "tests/e2e/soak_model.h"

namespace {

// The frame the system draws around the main window's client area at a DPI.
SIZE MainFrame(int dpi)
{
    typedef BOOL(WINAPI * FrameForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
    static FrameForDpi call = reinterpret_cast<FrameForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r = {0, 0, 0, 0};
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (!call || !call(&r, style, TRUE, 0, dpi))
        AdjustWindowRectEx(&r, style, TRUE, 0);
    SIZE size = {r.right - r.left, r.bottom - r.top};
    return size;
}

void StartUp(GameSession& game)
{
    game.Launch();
    RECT main, grid, client, toolbar, clock, overlap;
    GetWindowRect(game.Main(), &main);
    GetWindowRect(game.Grid(), &grid);
    GetClientRect(game.Main(), &client);
    GetWindowRect(game.Toolbar(), &toolbar);
    GetWindowRect(GetDlgItem(game.Toolbar(), 2000), &clock);
    char title[64] = "";
    GetWindowTextA(game.Main(), title, sizeof title);
    Expect(strcmp(title, kProgramCaption) == 0, "main window title %s", Quoted(title).c_str());
    // The 96-DPI window's client area at the scale, in the scale's frame; grown
    // just enough for the toolbar and the grid where a taller caption or menu
    // leaves them too little.
    const int side = Scaled(460), bar = toolbar.bottom - toolbar.top;
    const LONG outerWidth = main.right - main.left, outerHeight = main.bottom - main.top;
    SIZE base = MainFrame(96), frame = MainFrame(Scaled(96));
    int width = std::max<int>(Scaled(480 - base.cx) + frame.cx, outerWidth - client.right + side);
    int height = std::max<int>(Scaled(554 - base.cy) + frame.cy, outerHeight - client.bottom + bar + side);
    Expect(outerWidth == width && outerHeight == height, "main window is %d x %d (%ld x %ld)", width, height,
           outerWidth, outerHeight);
    Expect(grid.right - grid.left == side && grid.bottom - grid.top == side, "grid window is %d x %d (%ld x %ld)", side,
           side, grid.right - grid.left, grid.bottom - grid.top);
    // To a display of the other scale and back, as Windows tells it: the client
    // area fits each scale exactly, and the window ends as it began.
    for (int dpi : {game.Dpi() == 96 ? 144 : 96, game.Dpi()}) {
        game.ChangeScale(dpi);
        game.Settle();
        RECT area, bar;
        GetClientRect(game.Main(), &area);
        GetWindowRect(game.Toolbar(), &bar);
        const LONG w = std::max(MulDiv(480 - base.cx, dpi, 96), MulDiv(460, dpi, 96));
        const LONG h =
            std::max(MulDiv(554 - base.cy, dpi, 96), static_cast<int>(bar.bottom - bar.top) + MulDiv(460, dpi, 96));
        // The system keeps a window within the desktop's size and its frame.
        RECT outer;
        GetWindowRect(game.Main(), &outer);
        const LONG frameHeight = outer.bottom - outer.top - area.bottom;
        if (h + frameHeight > GetSystemMetrics(SM_CYMAXTRACK))
            Note("at %d DPI the window would be taller than the desktop lets it be", dpi);
        else
            Expect(area.right == w && area.bottom == h, "at %d DPI the client area is %ld x %ld (%ld x %ld)", dpi, w, h,
                   area.right, area.bottom);
    }
    RECT back;
    GetWindowRect(game.Main(), &back);
    Expect(EqualRect(&back, &main), "back at %d DPI the main window is as it started (%ld x %ld at %ld, %ld)",
           game.Dpi(), back.right - back.left, back.bottom - back.top, back.left, back.top);
    POINT at = {grid.left, grid.top};
    ScreenToClient(game.Main(), &at);
    const int extent = Scaled(459);
    Expect(at.x == (client.right - extent) / 2 && at.y == bar + (client.bottom - bar - extent) / 2 && at.x >= 0 &&
               at.y >= bar && at.x + side <= client.right && at.y + side <= client.bottom,
           "the grid, at (%ld, %ld), lies centred in the %ld x %ld client area below the %d-pixel toolbar", at.x, at.y,
           client.right, client.bottom, bar);
    Expect(!IntersectRect(&overlap, &clock, &grid) && clock.right > clock.left,
           "the clock label lies clear of the grid");

    for (int id : {kNewGame, kOpen})
        ExpectCommand(game, id, true, "at start-up");
    for (int id : {kSave, kSolution, kPrint, kUndo, kRedo})
        ExpectCommand(game, id, false, "at start-up");
    for (int id : {kPen, kPencil, kEraser})
        Expect(!game.ButtonEnabled(id), "at start-up: tool button %d disabled", id);
    ExpectTool(game, kPen, "at start-up");
    for (int id : {kQuit, kAbout, kEasy, kMedium, kHard})
        Expect(game.MenuEnabled(id), "at start-up: menu item %d enabled", id);
    Expect(game.MenuChecked(kEasy) && !game.MenuChecked(kMedium) && !game.MenuChecked(kHard),
           "at start-up: \"Facile\" is the checked level");
    Expect(!game.MenuEnabled(2, true), "at start-up: the \" Outils \" menu is grayed");

    struct Label {
        int id;
        bool byPosition;
        const char* text;
    };
    const Label labels[] = {
        {0, true, " Jeu "},
        {1, true, " Edition "},
        {2, true, " Outils "},
        {3, true, " Aide "},
        {kNewGame, false, "Nouvelle grille"},
        {kOpen, false, "Ouvrir"},
        {kSave, false, "Enregistrer"},
        {kSolution, false, "Solution"},
        {kPrint, false, "Imprimer"},
        {kQuit, false, "Quitter"},
        {kUndo, false, "Annuler  "},
        {kRedo, false, "R\xE9p\xE9ter  "},
        {kEasy, false, "Facile   "},
        {kMedium, false, "Moyen   "},
        {kHard, false, "Difficile   "},
        {kPen, false, "Stylo"},
        {kPencil, false, "Crayon"},
        {kEraser, false, "Gomme"},
        {kAbout, false, "A propos de..."},
    };
    for (const Label& label : labels) {
        std::string text = game.MenuText(label.id, label.byPosition);
        Expect(text == label.text, "menu %s %d reads %s (expected %s)", label.byPosition ? "position" : "item",
               label.id, Quoted(text).c_str(), Quoted(label.text).c_str());
    }

    Expect(game.Clock() == kClockRestText, "the clock reads %s", Quoted(game.Clock()).c_str());

    // Texts with accents, read as the player sees them whatever the code page.
    const char kNewGameTip[] = "G\xE9n\xE9rer une nouvelle grille";
    std::string tip = game.TooltipText(kNewGame);
    Expect(tip == kNewGameTip, "the new-grid button's tip reads %s (expected %s)", Quoted(tip).c_str(),
           Quoted(kNewGameTip).c_str());
    game.PostCommand(kAbout);
    BoxInfo about = game.WaitForBox(15000);
    if (Expect(about.window != nullptr, "\"A propos de...\" shows a box")) {
        Expect(about.caption == " A propos de..." && about.owner == game.Main(),
               "the box is \" A propos de...\" (%s), owned by the main window", Quoted(about.caption).c_str());
        for (const char* line : {"NONARO   version " NONARO_VERSION_TEXT,
                                 "Grilles de chiffres 9 x 9 \xE0 trois niveaux", "Tous droits r\xE9serv\xE9s."})
            Expect(about.text.find(line) != std::string::npos, "the box says %s", Quoted(line).c_str());
        game.CloseBox(about.window);
    }

    // The about box has just closed over the grid, whose repaint may still be under way.
    GridView view(game);
    ScreenShot shot = view.SteadyShot();
    int plain = 0;
    for (int cell = 0; cell < 81; ++cell) {
        CellLook look = LookAt(shot, cell);
        plain += look.back == Back::Plain && !look.HasGiven() && !look.HasPlayerDigit() && !look.HasMarks();
    }
    Expect(plain == 81, "all 81 cells are empty and RGB(225,250,220) (%d are)", plain);
    const int across = Scaled(100);
    for (int line : {0, 153, 306}) {
        Expect(shot.At(Scaled(line + 1), across) == RGB(0, 0, 0) && shot.At(across, Scaled(line + 1)) == RGB(0, 0, 0),
               "a black box line at %d both ways", Scaled(line));
    }
    Expect(shot.At(Scaled(459), across) == RGB(0, 0, 0) && shot.At(across, Scaled(459)) == RGB(0, 0, 0),
           "a black box line at %d both ways", Scaled(459));
    Expect(shot.At(Scaled(51), Scaled(25)) == RGB(192, 192, 192), "grey cell border at x = %d", Scaled(51));

    for (int cell : {40, 0, 80})
        game.ClickCell(cell);
    Expect(view.NothingSelectedFor(1500), "before any game a click selects nothing");
    game.Key(VK_RIGHT);
    game.Char('5');
    Expect(view.NothingSelectedFor(1200), "before any game keys select nothing");
    Expect(view.Look(41).HasPlayerDigit() == false && view.Look(40).HasPlayerDigit() == false,
           "before any game a typed digit shows nowhere");
    Expect(game.Clock() == kClockRestText, "before any game a typed digit leaves the clock at 00 : 00 : 00");
}

// Checks a freshly generated grid: givens in blue, complete groups tinted,
// the rest plain, and a save of it agreeing with what is drawn.
int CheckNewGrid(GameSession& game, const char* level, const ScreenShot& before)
{
    GridView view(game);
    ScreenShot shot = view.WaitForChange(before);
    bool given[81];
    int givens = 0, playerInk = 0, marks = 0;
    for (int cell = 0; cell < 81; ++cell) {
        CellLook look = LookAt(shot, cell);
        given[cell] = look.HasGiven();
        givens += given[cell];
        playerInk += look.HasPlayerDigit();
        marks += look.HasMarks();
    }
    Note("%s: %d givens", level, givens);
    Expect(givens >= 20 && givens < 81, "%s: at least 20 givens drawn in RGB(0,0,220) (%d)", level, givens);
    Expect(playerInk == 0 && marks == 0, "%s: no black digit and no mark on a new grid (%d, %d)", level, playerInk,
           marks);

    ExpectTints(shot, given, level);

    std::vector<uint8_t> bytes;
    GameImage saved;
    std::string name = std::string("new-") + level + ".nro";
    if (SaveAndRead(game, name.c_str(), bytes) && Expect(saved.Decode(bytes), "%s decodes", name.c_str())) {
        int mismatches = 0;
        for (int cell = 0; cell < 81; ++cell) {
            bool isGiven = saved.mask[cell] == 0;
            if (isGiven != given[cell] || saved.player[cell] != (isGiven ? saved.solution[cell] : 0))
                ++mismatches;
        }
        Expect(mismatches == 0, "%s: the saved mask and values match the drawn givens (%d cells differ)", level,
               mismatches);
        bool valid = true;
        for (int i = 0; i < 9; ++i)
            for (int j = 0; j < 9; ++j)
                for (int k = j + 1; k < 9; ++k) {
                    int b0 = (i / 3) * 27 + (i % 3) * 3;
                    valid = valid && saved.solution[i * 9 + j] != saved.solution[i * 9 + k] &&
                            saved.solution[j * 9 + i] != saved.solution[k * 9 + i] &&
                            saved.solution[b0 + (j / 3) * 9 + j % 3] != saved.solution[b0 + (k / 3) * 9 + k % 3];
                }
        for (int cell = 0; cell < 81; ++cell)
            valid = valid && saved.solution[cell] >= 1 && saved.solution[cell] <= 9;
        Expect(valid, "%s: the saved solution is a complete valid grid", level);
    }
    return givens;
}

void NewGame(GameSession& game)
{
    game.Launch();
    const char* names[] = {"facile", "moyen", "difficile"};
    for (int level = 0; level < 3; ++level) {
        game.Command(kEasy + level);
        ScreenShot before = GridView(game).Shot();
        DWORD started = Now();
        game.Command(kNewGame, 240000);
        Note("\"Nouvelle grille\" at %s took %.1f s", names[level], (Now() - started) / 1000.0);
        ExpectGameCommandsEnabled(game, names[level]);
        ExpectUndoRedo(game, false, false, names[level]);
        ExpectTool(game, kPen, names[level]);
        Expect(game.Clock() == kClockRestText, "%s: the clock reads 00 : 00 : 00", names[level]);
        CheckNewGrid(game, names[level], before);
    }
}

// The selection's pattern flashes about every 500 ms.
void ExpectBlink(GridView& view, int cell, Back pattern, const char* what)
{
    int on = 0, off = 0;
    std::vector<DWORD> changes = view.PatternChanges(cell, pattern, 3200, &on, &off);
    std::vector<DWORD> gaps;
    for (size_t i = 1; i < changes.size(); ++i)
        gaps.push_back(changes[i] - changes[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    DWORD median = gaps.empty() ? 0 : gaps[gaps.size() / 2];
    Note("%s: %u changes over 3.2 s, median phase %lu ms", what, static_cast<unsigned>(changes.size()), median);
    Expect(on > 0 && off > 0 && changes.size() >= 4 && median >= 300 && median <= 800,
           "%s blinks at about 500 ms (%u changes, median %lu ms)", what, static_cast<unsigned>(changes.size()),
           median);
}

void ExpectSelectedAt(GameSession& game, GridView& view, int cell, const char* what)
{
    bool seen = view.WaitForSelection(cell, Back::Pen);
    bool alone = true;
    DWORD start = GetTickCount();
    while (seen && GetTickCount() - start < 1100) {
        std::vector<int> pen = GridView::CellsShowing(view.Shot(), Back::Pen);
        for (int c : pen)
            alone = alone && c == cell;
        Sleep(60);
    }
    (void)game;
    Expect(seen && alone, "%s: cell %d is selected, and only it", what, cell);
}

GameImage NavigationGame() { return GameImage::Solved().Hide({0, 4, 35, 37, 40, 43, 45, 76}); }

void Selection(GameSession& game)
{
    game.Launch();
    ScreenShot blank = GridView(game).Shot();
    Require(LoadPrepared(game, NavigationGame(), "navigation.nro"), "the prepared game loads");
    GridView view(game);
    GameImage loaded = NavigationGame();
    bool filled[81];
    for (int cell = 0; cell < 81; ++cell)
        filled[cell] = loaded.player[cell] != 0;
    ExpectTints(view.WaitForChange(blank), filled, "the loaded game");

    struct Pattern {
        int tool;
        Back back;
        COLORREF field, letter;
        const char* what;
    };
    const Pattern patterns[] = {
        {kPen, Back::Pen, kPenField, kPenLetter,
         "the pen selection: RGB(255,166,166) with its letter in RGB(255,191,191)"},
        {kPencil, Back::Pencil, kPencilField, kPencilLetter,
         "the pencil selection: RGB(125,190,255) with its letter in RGB(164,209,255)"},
    };
    RECT inside = CellInterior(40);
    for (const Pattern& pattern : patterns) {
        game.Command(pattern.tool);
        game.ClickCell(40);
        Expect(view.WaitForSelection(40, pattern.back), "%s: a click on hidden cell 40 selects it", pattern.what);
        ScreenShot shot = view.Shot();
        if (LookAt(shot, 40).back == pattern.back)
            Expect(shot.Count(inside, pattern.field) > 0 && shot.Count(inside, pattern.letter) > 0, "%s", pattern.what);
        ExpectBlink(view, 40, pattern.back, pattern.what);
    }

    game.Command(kPen);
    game.ClickCell(36);
    Expect(view.NothingSelectedFor(1300), "a click on a given selects nothing");
    struct Edge {
        int x, y;
        const char* what;
    };
    const Edge edges[] = {{459, 4 * 51 + 26, "pixel column 459"}, {4 * 51 + 26, 459, "pixel row 459"}};
    for (const Edge& edge : edges) {
        game.ClickCell(40);
        view.WaitForSelection(40, Back::Pen);
        game.Click(Scaled(edge.x), Scaled(edge.y));
        Expect(view.NothingSelectedFor(1300), "a click on %s drops the selection and selects nothing", edge.what);
    }
    game.Click(Scaled(4 * 51 + 26), Scaled(51 * 8));
    Expect(view.WaitForSelection(76, Back::Pen), "a click on a shared border line belongs to the cell below (76)");

    struct Step {
        int from;
        int key;
        int to;
        const char* what;
    };
    const Step steps[] = {
        {37, VK_RIGHT, 40, "right skips the givens 38 and 39"},
        {40, VK_RIGHT, 43, "right again reaches 43"},
        {43, VK_RIGHT, 43, "right from the row's last hidden cell does not wrap to 45"},
        {43, VK_LEFT, 40, "left back to 40"},
        {37, VK_LEFT, 37, "left from the row's first hidden cell does not wrap to 35"},
        {40, VK_UP, 4, "up skips the givens to 4"},
        {4, VK_UP, 4, "up from the top row stays"},
        {4, VK_DOWN, 40, "down skips the givens to 40"},
        {40, VK_DOWN, 76, "down again reaches 76"},
        {76, VK_DOWN, 76, "down from the lowest hidden cell stays"},
        {0, VK_LEFT, 0, "left from cell 0 stays"},
        {0, VK_UP, 0, "up from cell 0 stays"},
        {0, VK_RIGHT, 4, "right from cell 0 skips to 4"},
    };
    for (const Step& step : steps) {
        game.ClickCell(step.from);
        view.WaitForSelection(step.from, Back::Pen);
        game.Key(step.key);
        ExpectSelectedAt(game, view, step.to, step.what);
    }

    game.Command(kEraser);
    game.ClickCell(4);
    game.Key(VK_DOWN);
    game.Command(kPen);
    Expect(view.NothingSelectedFor(1200), "the eraser leaves nothing selected, and arrows then do nothing");
}

void Tools(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, NavigationGame().Mark(40, 1).Mark(40, 5).Mark(40, 9), "tools.nro"),
            "the prepared game loads");
    ExpectTool(game, kPen, "after loading");
    struct Choice {
        int tool;
        const char* what;
    };
    const Choice fromMenu[] = {{kPencil, "\"Crayon\" chosen in the menu"},
                               {kEraser, "\"Gomme\" chosen in the menu"},
                               {kPen, "\"Stylo\" chosen in the menu"}};
    for (const Choice& choice : fromMenu) {
        game.Command(choice.tool);
        ExpectTool(game, choice.tool, choice.what);
    }

    auto clickButton = [&](int id) {
        RECT r = game.ButtonRect(id);
        Require(r.right > r.left, "the toolbar button %d has a place on screen", id);
        SetForegroundWindow(game.Main());
        game.ClickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        game.MoveMouse(Scaled(900), Scaled(700));
        game.Settle();
    };
    const Choice fromToolbar[] = {{kPen, "the checked pen button clicked again"},
                                  {kPencil, "the pencil button clicked"},
                                  {kPencil, "the checked pencil button clicked again"},
                                  {kEraser, "the eraser button clicked"}};
    for (const Choice& choice : fromToolbar) {
        clickButton(choice.tool);
        ExpectTool(game, choice.tool, choice.what);
    }

    // The cursor the system shows over the grid, once the pointer has come in
    // from the toolbar (where it is the arrow) and the game has answered.
    RECT grid;
    GetWindowRect(game.Grid(), &grid);
    auto cursorOverGrid = [&](HCURSOR unwanted) {
        RECT toolbar;
        GetWindowRect(game.Toolbar(), &toolbar);
        POINT start = {toolbar.right - Scaled(30), (toolbar.top + toolbar.bottom) / 2};
        game.MoveMouse(start.x, start.y);
        WaitUntil(
            [&] {
                POINT at = {};
                return GetCursorPos(&at) && at.x == start.x && at.y == start.y;
            },
            10000, 20);
        game.Settle();
        POINT target = {grid.left + Scaled(200), grid.top + Scaled(230)};
        game.MoveMouse(target.x, target.y);
        CURSORINFO info = {};
        WaitUntil(
            [&] {
                info.cbSize = sizeof info;
                GetCursorInfo(&info);
                bool there = info.ptScreenPos.x == target.x && info.ptScreenPos.y == target.y;
                if (there && info.hCursor && info.hCursor != unwanted && info.hCursor != game.Cursors().arrow)
                    return true;
                // Under load a late pointer move from the toolbar can take the pointer
                // back, or the game answer it last: move again over the grid.
                game.MoveMouse(target.x + 1, target.y + 1);
                game.MoveMouse(target.x, target.y);
                return false;
            },
            3000, 100);
        game.Settle();
        return info.hCursor;
    };
    GameCursors cursors = game.Cursors();
    HCURSOR eraser = cursorOverGrid(cursors.hand);
    // Under load the game may still be answering an earlier WM_SETCURSOR (from
    // the toolbar) when it is asked: give it a few nudges over the grid.
    WaitUntil(
        [&] {
            cursors = game.Cursors();
            if (cursors.current == eraser)
                return true;
            game.MoveMouse(grid.left + Scaled(200) + 1, grid.top + Scaled(230) + 1);
            game.MoveMouse(grid.left + Scaled(200), grid.top + Scaled(230));
            game.Settle();
            return false;
        },
        5000, 200);
    Note("cursors: shown over the grid %p, the game's current %p, arrow %p, hand %p, wait %p",
         static_cast<void*>(eraser), static_cast<void*>(cursors.current), static_cast<void*>(cursors.arrow),
         static_cast<void*>(cursors.hand), static_cast<void*>(cursors.wait));
    Expect(eraser && eraser != cursors.arrow && eraser != cursors.hand && eraser != cursors.wait,
           "with the eraser the cursor over the grid is neither the arrow, the hand nor the hourglass");
    Expect(cursors.current == eraser, "the cursor shown is the one the game set");

    // Cell 40's marks 1, 5 and 9 stand in its three squares on the diagonal;
    // a click in the lower right square takes the 9 alone.
    GridView view(game);
    BoardPicture picture;
    std::string marks;
    auto marksShown = [&] {
        unsigned shown = picture.MarksShown(view.Shot(), 40);
        marks.clear();
        for (int mark = 0; mark < 9; ++mark)
            if (shown & (1u << mark))
                marks += static_cast<char>('1' + mark);
        return marks;
    };
    bool shown = WaitUntil([&] { return marksShown() == "159"; }, 3000);
    Expect(shown, "cell 40 shows its marks in their squares (%s)", marks.c_str());
    game.Click(Scaled(4 * 51 + 2 * 17 + 8), Scaled(4 * 51 + 2 * 17 + 8));
    shown = WaitUntil([&] { return marksShown() == "15"; }, 3000);
    Expect(shown, "the eraser takes the mark under the point alone (%s left)", marks.c_str());

    clickButton(kPen);
    ExpectTool(game, kPen, "back to the pen by its button");
    HCURSOR pen = cursorOverGrid(eraser);
    Expect(pen == game.Cursors().hand, "with the pen the cursor over the grid is the hand (%p)",
           static_cast<void*>(pen));
    game.MoveMouse(Scaled(900), Scaled(700));
}

void Levels(GameSession& game)
{
    game.Launch();
    auto expectLevel = [&](int id, const char* when) {
        int checked = 0;
        for (int level = kEasy; level <= kHard; ++level)
            checked += game.MenuChecked(level);
        Expect(checked == 1 && game.MenuChecked(id), "%s: only level %d is checked (%d checked)", when, id, checked);
    };
    expectLevel(kEasy, "at start-up");
    GridView view(game);
    ScreenShot start = view.Shot();
    game.Command(kNewGame, 240000);
    int easyFirst = CheckNewGrid(game, "facile-1", start);

    ScreenShot before = view.SteadyShot();
    game.Command(kHard);
    expectLevel(kHard, "\"Difficile\" chosen");
    ScreenShot after = view.SteadyShot();
    int changed = 0;
    for (int cell = 0; cell < 81; ++cell) {
        CellLook a = LookAt(before, cell), b = LookAt(after, cell);
        changed += a.back != b.back || a.HasGiven() != b.HasGiven();
    }
    Expect(changed == 0, "choosing a level leaves the game in progress as it is (%d cells changed)", changed);
    Expect(game.Clock() == kClockRestText, "choosing a level leaves the clock alone");

    game.Command(kNewGame, 240000);
    int hard = CheckNewGrid(game, "difficile", after);
    game.Command(kMedium);
    expectLevel(kMedium, "\"Moyen\" chosen");
    game.Command(kEasy);
    expectLevel(kEasy, "\"Facile\" chosen again");
    ScreenShot beforeSecond = view.Shot();
    game.Command(kNewGame, 240000);
    int easySecond = CheckNewGrid(game, "facile-2", beforeSecond);
    Expect(hard < easyFirst && hard < easySecond,
           "the level applies from the next new grid: \"Difficile\" gave fewer givens (%d) than \"Facile\" (%d, %d)",
           hard, easyFirst, easySecond);
}

// Pixels of a shot in colours the palette does not have: the program's own
// and those of the other palettes.
int ForeignPixels(const ScreenShot& shot, int palette)
{
    std::vector<COLORREF> foreign = {kPlainColour,       kCompleteColour, kConflictColour, kPenField,
                                     kPenLetter,         kPencilField,    kPencilLetter,   kGivenInk,
                                     RGB(192, 192, 192), RGB(255, 0, 0)};
    for (int other = 0; other < kContrastPaletteCount; ++other)
        for (const SystemColour& entry : kContrastPalettes[other].colours)
            foreign.push_back(entry.colour);
    RECT all = {0, 0, shot.Width(), shot.Height()};
    int count = 0;
    for (COLORREF c : foreign) {
        bool own = false;
        for (const SystemColour& entry : kContrastPalettes[palette].colours)
            own = own || entry.colour == c;
        count += own ? 0 : shot.Count(all, c);
    }
    return count;
}

ScreenShot ClientShot(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return ScreenShot::Take(r);
}

int PixelsDiffering(const ScreenShot& a, const ScreenShot& b)
{
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differ += a.At(x, y) != b.At(x, y);
    return differ;
}

// Contrast themes switched in play, the solution window open, with a
// selection and a clash's box up, read from the screen in every palette;
// then the program's own colours come back exactly, the game as it was.
void Contrast(GameSession& game)
{
    game.Launch();
    // Row 4 hidden but for cell 36: givens, digits (37, 38) and marks (41)
    // side by side, every other row complete, cells 39 to 43 plain.
    GameImage image = GameImage::Solved().Hide({37, 38, 39, 40, 41, 42, 43, 44});
    image.Fill(37, image.solution[37]).Fill(38, image.solution[38]).Mark(41, 1).Mark(41, 5).Mark(41, 9);
    Require(LoadPrepared(game, image, "contrast.nro"), "the prepared game loads");
    GridView view(game);
    game.ClickCell(44);
    game.Char(static_cast<char>('0' + image.solution[44]));
    int16_t shown[81];
    for (int cell = 0; cell < 81; ++cell)
        shown[cell] = cell == 44 ? image.solution[44] : image.player[cell];
    game.Command(kSolution);
    HWND solution = nullptr;
    Require(WaitUntil([&] { return (solution = SolutionWindow(game)) != nullptr; }, 15000, 100), "the solution opens");
    RECT main;
    GetWindowRect(game.Main(), &main);
    SetWindowPos(solution, nullptr, main.right + Scaled(8), main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    game.Click(Scaled(200), Scaled(459));  // selects nothing
    // The steady grid is taken once every window of the game has painted, the
    // moved solution window included.
    const ScreenShot grid = view.SteadyShot();
    const ScreenShot cells = ClientShot(solution);
    const int clockBefore = ClockSeconds(game.Clock());

    BoxInfo box;
    for (int palette = 0; palette < kContrastPaletteCount; ++palette) {
        const char* name = kContrastPalettes[palette].name;
        Require(game.SwitchContrastTheme(palette), "%s: the game takes the contrast answer", name);
        int left = 0;
        Expect(WaitUntil(
                   [&] {
                       return (left = ForeignPixels(view.Shot(), palette) +
                                      ForeignPixels(ClientShot(solution), palette)) == 0;
                   },
                   10000, 100),
               "%s: the grid and the solution window show none of the colours before (%d pixels left)", name, left);

        // Two palettes share black and white, so the wait above may end while the
        // new one is still on its way to the screen.
        ScreenShot shot = view.SteadyShot();
        const COLORREF plain = ReadInk(shot, CellInterior(42)).ground;
        double lowest = 21;
        for (int cell = 0; cell < 81; ++cell)
            if (shown[cell])
                lowest = std::min(lowest, ReadInk(shot, DigitArea(cell), 20).contrast);
        Expect(lowest >= 7, "%s: every digit stands at 7:1 or more from its ground (%.1f:1 the lowest)", name, lowest);
        lowest = 21;
        for (int mark : {0, 4, 8})
            lowest = std::min(lowest, ReadInk(shot, MarkArea(41, mark)).contrast);
        Expect(lowest >= 4.5, "%s: the marks of cell 41 stand at 4.5:1 or more (%.1f:1 the lowest)", name, lowest);
        auto outsideDigit = [&](int cell) {
            COLORREF ground = ReadInk(shot, CellInterior(cell)).ground;
            return MarkedPixels(shot, CellInterior(cell), ground) - MarkedPixels(shot, DigitArea(cell), ground);
        };
        Expect(outsideDigit(0) >= 100 && outsideDigit(42) == 0,
               "%s: a cell of a complete group is marked apart from a plain one without a hue (%d and %d pixels)", name,
               outsideDigit(0), outsideDigit(42));

        // Highlighted: the cell's ground stands apart from a plain cell's by
        // its lightness, and any digit in it from that ground.
        auto highlighted = [&](int cell, const char* what) {
            ScreenShot lit;
            double apart = 1;
            WaitUntil(
                [&] {
                    return (apart = ContrastRatio(ReadInk(lit = view.Shot(), CellInterior(cell)).ground, plain)) >= 3;
                },
                4000, 40);
            InkReading digit = ReadInk(lit, DigitArea(cell), 20);
            return Expect(apart >= 3 && (digit.inkPixels < 20 || digit.contrast >= 7),
                          "%s: %s at cell %d stands at %.1f:1 from a plain cell, its digit at %.1f:1", name, what, cell,
                          apart, digit.contrast);
        };
        if (palette == 0) {
            for (int tool : {kPencil, kPen}) {
                game.Command(tool);
                game.ClickCell(43);
                highlighted(43, tool == kPen ? "the pen's selection" : "the pencil's selection");
            }
            game.ClickCell(37);
            highlighted(37, "the selection of a digit");
            // The clash's box stays up across the next switch.
            game.ClickCell(40);
            game.PostChar(static_cast<char>('0' + image.solution[36]));
            box = game.WaitForBox(15000);
            Require(box.window != nullptr, "%s: the clashing digit is refused with a box", name);
            game.MoveAside(box.window);
        }
        BoxKind kind;
        highlighted(FindClash(shown, 40, image.solution[36], &kind), "the clashing cell");
        highlighted(40, "the refused entry");
        if (palette == kContrastPaletteCount - 1)
            game.CloseBox(box.window);

        // Its cells repaint on their own once a closing box has uncovered them.
        POINT origin = {0, 0};
        ClientToScreen(solution, &origin);
        COLORREF grounds[2] = {CLR_INVALID, CLR_INVALID};
        WaitUntil(
            [&] {
                ScreenShot side = ClientShot(solution);
                lowest = 21;
                for (int cell = 0; cell < 81; ++cell) {
                    RECT r;
                    GetWindowRect(GetDlgItem(solution, kFirstSolutionCellId + cell), &r);
                    OffsetRect(&r, -origin.x, -origin.y);
                    InflateRect(&r, -Scaled(3), -Scaled(3));
                    InkReading digit = ReadInk(side, r, 8);
                    grounds[image.mask[cell]] = digit.ground;
                    lowest = std::min(lowest, digit.contrast);
                }
                return lowest >= 7 && ContrastRatio(grounds[0], grounds[1]) >= 3;
            },
            5000, 100);
        Expect(lowest >= 7 && ContrastRatio(grounds[0], grounds[1]) >= 3,
               "%s: the solution's digits stand at 7:1 or more (%.1f:1 the lowest), its cells to find apart from the "
               "givens without a hue (%.1f:1)",
               name, lowest, ContrastRatio(grounds[0], grounds[1]));

        GameSession::Pictures pictures = game.ToolbarPictures();
        Expect(pictures.count == 10 && pictures.disabledCount == 10 && pictures.fewestStrokes >= 20 &&
                   pictures.lowestContrast >= 3 && pictures.strokeColours == 1,
               "%s: the toolbar's 10 pictures and 10 disabled ones are made for the theme (%d, %d, %d stroke pixels at "
               "least, in %d colour), their strokes at %.2f:1 or more from the button face",
               name, pictures.count, pictures.disabledCount, pictures.fewestStrokes, pictures.strokeColours,
               pictures.lowestContrast);
        ScreenShot button = ScreenShot::Take(game.ButtonRect(kPen));
        RECT inner = {Scaled(2), Scaled(2), button.Width() - Scaled(2), button.Height() - Scaled(2)};
        RECT whole = {0, 0, button.Width(), button.Height()};
        const COLORREF text = kContrastPalettes[palette].Colour(COLOR_BTNTEXT);
        int ring = button.Count(whole, text) - button.Count(inner, text);
        InkReading picture = ReadInk(button, inner, 20);
        Expect(ring >= button.Width() * 2 && picture.ground == kContrastPalettes[palette].Colour(COLOR_BTNFACE) &&
                   picture.contrast >= 3,
               "%s: the checked tool's button is framed in the button text (%d pixels) and its picture stands on the "
               "button face at %.1f:1",
               name, ring, picture.contrast);
        Expect(ClockSeconds(game.Clock()) >= clockBefore, "%s: the clock keeps its time", name);
        ExpectUndoRedo(game, true, false, name);
    }

    Require(game.SwitchContrastTheme(-1), "the game is told the contrast theme is off");
    game.Click(Scaled(200), Scaled(459));
    int differ = 0, sideDiffer = 0;
    Expect(WaitUntil(
               [&] {
                   return (differ = PixelsDiffering(view.Shot(), grid)) +
                              (sideDiffer = PixelsDiffering(ClientShot(solution), cells)) ==
                          0;
               },
               10000, 150),
           "the grid and the solution window are back pixel for pixel as before the themes (%d and %d pixels differ)",
           differ, sideDiffer);
    bool filled[81];
    for (int cell = 0; cell < 81; ++cell)
        filled[cell] = shown[cell] != 0;
    ExpectTints(view.Shot(), filled, "after the contrast themes");
    GameSession::Pictures pictures = game.ToolbarPictures();
    Expect(pictures.count == 10 && pictures.strokeColours > 2,
           "the toolbar has its own pictures again (%d, in %d colours)", pictures.count, pictures.strokeColours);
    int clock = -1;
    Expect(WaitUntil([&] { return (clock = ClockSeconds(game.Clock())) > clockBefore; }, 10000, 200),
           "the clock still runs after the themes (%d s, %d s before)", clock, clockBefore);
    ExpectUndoRedo(game, true, false, "after the contrast themes");
    game.Command(kUndo);
    Expect(WaitForInk(view, 44, false, false), "Undo still takes back the digit typed before the themes");
}

}  // namespace

void AddBoardScenarios(std::vector<Scenario>& list)
{
    list.push_back({"startup", StartUp});
    list.push_back({"new-game", NewGame});
    list.push_back({"selection", Selection});
    list.push_back({"tools", Tools});
    list.push_back({"levels", Levels});
    list.push_back({"contrast", Contrast});
}
