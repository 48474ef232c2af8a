// The pictures of the README (tools/screenshot.sh): a game in play, the
// solution window beside it, and the two again in Windows' "High Contrast
// Black" theme, written as game.bmp, solution.bmp and contrast.bmp in the
// work folder. It checks nothing the other scenarios do not; it plays as a
// player would, with right digits and allowed candidates only, so that the
// pictures show a game as it looks.
#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"
#include "tests/e2e/soak_model.h"

namespace {

bool Allowed(const int16_t shown[81], int cell, int digit)
{
    BoxKind kind;
    return FindClash(shown, cell, digit, &kind) < 0;
}

RECT ScreenRect(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

void SavePicture(GameSession& game, const ScreenShot& shot, const char* name)
{
    std::string path = game.WorkPath(name);
    Require(shot.SaveBmp(path.c_str()), "%s is written", path.c_str());
    Note("picture %s, %d x %d", name, shot.Width(), shot.Height());
}

void Pictures(GameSession& game)
{
    game.Launch();
    game.Command(kNewGame, 240000);
    game.Command(kSolution);
    HWND solution = nullptr;
    WaitUntil([&] { return (solution = SolutionWindow(game)) != nullptr; }, 15000, 100);
    Require(solution != nullptr, "the solution window opens");
    int digits[81];
    for (int cell = 0; cell < 81; ++cell) {
        digits[cell] = SolutionDigit(solution, cell);
        Require(digits[cell] != 0, "the solution window shows a digit in cell %d", cell);
    }
    SendMessageA(solution, WM_CLOSE, 0, 0);
    game.Settle();

    GridView view(game);
    ScreenShot grid = view.SteadyShot();
    int16_t shown[81];
    for (int cell = 0; cell < 81; ++cell)
        shown[cell] = static_cast<int16_t>(LookAt(grid, cell).HasGiven() ? digits[cell] : 0);

    // The top band whole, so that its rows and boxes come out tinted, and a
    // few digits further down.
    auto write = [&](int cell) {
        if (shown[cell])
            return;
        game.ClickCell(cell);
        game.Char(static_cast<char>('0' + digits[cell]));
        shown[cell] = static_cast<int16_t>(digits[cell]);
    };
    for (int cell = 0; cell < 27; ++cell)
        write(cell);
    for (int cell : {30, 40, 50, 64, 76})
        write(cell);

    game.Command(kPencil);
    int pencilled = 0;
    for (int cell = 36; cell < 81 && pencilled < 6; cell += 4) {
        if (shown[cell])
            continue;
        game.ClickCell(cell);
        for (int digit = 1; digit <= 9; ++digit)
            if (Allowed(shown, cell, digit))
                game.Char(static_cast<char>('0' + digit));
        ++pencilled;
    }
    game.Command(kPen);
    Sleep(4000);  // the clock shows a few seconds

    // An empty cell in the middle columns, selected with the pen, taken while
    // its blinking pattern shows.
    int target = -1;
    for (int cell = 80; cell >= 27 && target < 0; --cell)
        if (!shown[cell] && cell % 9 > 2 && cell % 9 < 6)
            target = cell;
    Require(target >= 0, "an empty cell is left to select");
    RECT main = ScreenRect(game.Main()), inGrid = ScreenRect(game.Grid());
    POINT probe = {inGrid.left - main.left + Scaled((target % 9) * 51 + 3),
                   inGrid.top - main.top + Scaled((target / 9) * 51 + 3)};
    bool captured = false;
    for (int attempt = 0; attempt < 20 && !captured; ++attempt) {
        game.ClickCell(target);
        Sleep(60);
        ScreenShot shot = ScreenShot::Take(main);
        if (shot.At(probe.x, probe.y) == kPenField) {
            SavePicture(game, shot, "game.bmp");
            captured = true;
        }
        Sleep(200);
    }
    Require(captured, "the selection of cell %d shows", target);

    // The solution window beside the game, nothing selected: a click on the
    // grid's last pixel row selects no cell.
    game.Click(Scaled(200), Scaled(459));
    game.Command(kSolution);
    WaitUntil([&] { return (solution = SolutionWindow(game)) != nullptr; }, 15000, 100);
    Require(solution != nullptr, "the solution window opens again");
    game.Painted();
    RECT both, side = ScreenRect(solution);
    UnionRect(&both, &main, &side);
    SavePicture(game, ScreenShot::Take(both), "solution.bmp");

    Require(game.SwitchContrastTheme(0), "the game takes the contrast theme");
    game.Painted();
    SavePicture(game, ScreenShot::Take(both), "contrast.bmp");
    Require(game.SwitchContrastTheme(-1), "the game leaves the contrast theme");
}

}  // namespace

void AddPictureScenarios(std::vector<Scenario>& list) { list.push_back({"pictures", Pictures}); }
