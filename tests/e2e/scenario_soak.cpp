// The soak run: thousands of random player actions against the real game,
// each followed by the checks of what a player can see. The driver keeps a
// model of the game (soak_model.h) and after every action compares the
// message box that came up, the tool, Undo and Redo, the level, the clock,
// the solution window and, every so often, the whole picture of the grid and
// a save of the game with it.
//
// Options (after the driver's fixed arguments):
//   --seed N       the random sequence of actions (default: from the clock)
//   --actions N    stop after N actions (default 1000000)
//   --seconds N    stop after N seconds (default 60)
//   --replay FILE  play the actions of an earlier run's soak-actions.txt
//
// Every action goes to soak-actions.txt in the work folder as it is taken,
// with the puzzle of each new grid; --replay plays such a file again, opening
// each recorded puzzle where the run had asked for a new grid, so that a
// failure comes back whatever the game's own random draw.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <random>

#include "tests/e2e/board_picture.h"
#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"
#include "tests/e2e/soak_model.h"

namespace {

struct SoakFailure {};

struct Options {
    unsigned seed = 0;
    long actions = 1000000;
    long seconds = 60;
    std::string replay;
};

Options ParseOptions()
{
    Options options;
    options.seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    const std::vector<std::string>& args = ScenarioArgs();
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--seed")
            options.seed = static_cast<unsigned>(strtoul(args[i + 1].c_str(), nullptr, 10));
        else if (args[i] == "--actions")
            options.actions = atol(args[i + 1].c_str());
        else if (args[i] == "--seconds")
            options.seconds = atol(args[i + 1].c_str());
        else if (args[i] == "--replay")
            options.replay = args[i + 1];
        else
            Note("unknown soak option %s", args[i].c_str());
    }
    return options;
}

enum class Act {
    Click,
    DoubleClick,
    RightClick,
    Char,
    Key,
    Command,
    ToolbarClick,
    CloseSolution,
    Save,
    Open,
    OpenCancel,
    Wait,
    Drop,
    Scale
};

const char* const kActNames[] = {"click",          "dblclick", "rclick", "char",        "key",  "cmd",  "bar",
                                 "close-solution", "save",     "open",   "open-cancel", "wait", "drop", "scale"};
const int kActCount = sizeof kActNames / sizeof kActNames[0];

// What comes from outside the game while an action's box or dialog is up.
enum Outside { kNothing, kDropSaved, kDropDamaged, kScaleAndBack };
const char kDamagedFile[] = "soak-damaged.nro";

struct Action {
    Act act = Act::Wait;
    int a = 0, b = 0;
    std::string name;    // the scratch file of a save, an open or a drop
    std::string puzzle;  // a new grid's solution and mask, once known
    int during = kNothing;
};

Action Simple(Act act, int a)
{
    Action action;
    action.act = act;
    action.a = a;
    return action;
}

std::string Describe(const Action& action)
{
    char text[64];
    std::string line = kActNames[static_cast<int>(action.act)];
    switch (action.act) {
    case Act::Click:
    case Act::DoubleClick:
    case Act::RightClick:
        snprintf(text, sizeof text, " %d %d", action.a, action.b);
        line += text;
        break;
    case Act::Char:
    case Act::Key:
    case Act::Command:
    case Act::ToolbarClick:
    case Act::Wait:
        snprintf(text, sizeof text, " %d", action.a);
        line += text;
        break;
    case Act::Save:
    case Act::Open:
    case Act::Drop:
        line += " " + action.name;
        break;
    default:
        break;
    }
    if (!action.puzzle.empty())
        line += " " + action.puzzle;
    if (action.during != kNothing)
        line += " ~" + std::to_string(action.during);
    return line;
}

bool ParseAction(const std::string& line, Action* action)
{
    char word[32] = "", rest[256] = "";
    std::string text = line;
    const size_t during = text.find(" ~");
    int outside = kNothing;
    if (during != std::string::npos) {
        outside = atoi(text.c_str() + during + 2);
        text.erase(during);
    }
    if (sscanf(text.c_str(), "%31s %255[^\n]", word, rest) < 1)
        return false;
    int kind = -1;
    for (int i = 0; i < kActCount; ++i)
        if (strcmp(word, kActNames[i]) == 0)
            kind = i;
    if (kind < 0)
        return false;
    *action = Action();
    action->act = static_cast<Act>(kind);
    action->during = outside;
    char name[64] = "", puzzle[200] = "";
    switch (action->act) {
    case Act::Click:
    case Act::DoubleClick:
    case Act::RightClick:
        return sscanf(rest, "%d %d", &action->a, &action->b) == 2;
    case Act::Command:
        if (sscanf(rest, "%d %199s", &action->a, puzzle) == 2)
            action->puzzle = puzzle;
        return action->a != 0;
    case Act::Char:
    case Act::Key:
    case Act::ToolbarClick:
    case Act::Wait:
        return sscanf(rest, "%d", &action->a) == 1;
    case Act::Save:
    case Act::Open:
    case Act::Drop:
        if (sscanf(rest, "%63s", name) != 1)
            return false;
        action->name = name;
        return true;
    default:
        return true;
    }
}

// The recorded form of a grid: 81 solution digits, then 81 mask digits.
std::string PuzzleText(const GameImage& image)
{
    std::string text;
    for (int cell = 0; cell < 81; ++cell)
        text += static_cast<char>('0' + image.solution[cell]);
    for (int cell = 0; cell < 81; ++cell)
        text += static_cast<char>('0' + image.mask[cell]);
    return text;
}

GameImage PuzzleImage(const std::string& text)
{
    GameImage image;
    for (int cell = 0; cell < 81 && 81 + cell < static_cast<int>(text.size()); ++cell) {
        image.solution[cell] = static_cast<int16_t>(text[cell] - '0');
        image.mask[cell] = static_cast<uint8_t>(text[81 + cell] - '0');
        image.player[cell] = image.mask[cell] ? 0 : image.solution[cell];
    }
    return image;
}

std::string UnixPath(const std::string& windows)
{
    if (windows.size() < 3 || (windows[0] != 'Z' && windows[0] != 'z') || windows[1] != ':')
        return windows;
    std::string path = windows.substr(2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

class Soak {
public:
    Soak(GameSession& game, const Options& options) : game_(game), options_(options), random_(options.seed) {}
    void Run();

private:
    void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    Action Choose();
    void Take(Action& action);
    void HandleBox(BoxKind expected, int during = kNothing);
    void FromOutside(int during, const char* under);
    void ChangeScaleAndBack();
    void Check(bool thorough);
    void CheckClock();
    void CheckPicture(const char* when);
    void CheckSolutionWindow();
    void Record(const Action& action);
    void NewGrid(Action& action);
    void Save(const std::string& name, int during = kNothing);
    void OpenSaved(const std::string& name, const GameImage& image, int during = kNothing);
    void CheckFreshGame(const GameImage& image);
    void RealClick(int id);
    HWND SolutionWindow();

    GameSession& game_;
    Options options_;
    std::mt19937 random_;
    SoakModel model_;
    BoardPicture picture_;
    GridView* view_ = nullptr;
    std::map<std::string, GameImage> saved_;
    std::deque<std::string> recent_;
    FILE* actionFile_ = nullptr;
    long step_ = 0;
    bool solutionOpen_ = false;
    bool diligent_ = false;  // this game is played towards its end
    std::deque<Action> planned_;
    const Action* taking_ = nullptr;   // the action under way, for the failure report
    BoxKind lastBox_ = BoxKind::None;  // the box the last action brought up
    RECT mainAtStart_ = {};            // the main window, which every change of scale and back must leave as it was

    // The clock as last read, and the times that bound what it may show.
    int clockValue_ = 0;
    DWORD clockChanged_ = 0;
    DWORD clockStarted_ = 0;
    int clockStopped_ = -1;

    std::map<std::string, long> counts_;
};

void Soak::Fail(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (taking_) {
        Record(*taking_);
        taking_ = nullptr;
    }
    Expect(false, "step %ld: %s", step_, line);
    Note("seed %u; the last actions, oldest first:", options_.seed);
    for (const std::string& recent : recent_)
        Note("    %s", recent.c_str());
    Note("every action is in %s; replay with: bash tests/e2e/run_soak.sh <build dir> --replay %s",
         UnixPath(game_.WorkPath("soak-actions.txt")).c_str(), UnixPath(game_.WorkPath("soak-actions.txt")).c_str());
    throw SoakFailure{};
}

void Soak::Record(const Action& action)
{
    std::string line = Describe(action);
    if (actionFile_) {
        fprintf(actionFile_, "%s\n", line.c_str());
        fflush(actionFile_);
    }
    char numbered[400];
    snprintf(numbered, sizeof numbered, "#%ld %s", step_, line.c_str());
    recent_.push_back(numbered);
    if (recent_.size() > 40)
        recent_.pop_front();
}

HWND Soak::SolutionWindow()
{
    int count = 0;
    HWND window = ::SolutionWindow(game_, &count);
    if (count > 1)
        Fail("%d solution windows are open", count);
    return window;
}

// What a player can do next, weighted; commands only while they are usable.
Action Soak::Choose()
{
    if (!planned_.empty()) {
        Action next = planned_.front();
        planned_.pop_front();
        return next;
    }
    Action action;
    auto point = [&](Act act) {
        action.act = act;
        action.a = Pick(460);
        action.b = Pick(460);
    };
    if (!model_.Started()) {
        int roll = Pick(10);
        if (roll < 6) {
            action.act = Act::Command;
            action.a = kNewGame;
        } else if (roll < 7) {
            action.act = Act::Command;
            action.a = kEasy + Pick(3);
        } else if (roll < 8)
            point(Act::Click);
        else {
            action.act = Act::Char;
            action.a = '1' + Pick(9);
        }
        return action;
    }

    std::vector<int> hidden, empty, wrong;
    for (int cell = 0; cell < 81; ++cell) {
        if (!model_.Hidden(cell))
            continue;
        hidden.push_back(cell);
        if (model_.Value(cell) == 0)
            empty.push_back(cell);
        else if (model_.Value(cell) != model_.SolutionAt(cell))
            wrong.push_back(cell);
    }
    auto clickCell = [&](int cell, Act act) {
        action.act = act;
        action.a = (cell % 9) * 51 + 1 + Pick(50);
        action.b = (cell / 9) * 51 + 1 + Pick(50);
    };

    // Relative weights; keys only where the selection is known, and a
    // diligent game is played towards its end.
    const int k = model_.SelectionKnown() ? 1 : 0;
    const bool undo = model_.CanUndo(), redo = model_.CanRedo();
    struct Choice {
        int weight;
        int what;
    };
    const Choice table[] = {
        {120, 0},  // a click anywhere on the grid
        {140, 1},  // a click in a hidden cell
        {20, 2},
        {10, 3},                    // a double click, a right click
        {200 * k, 4},               // a digit
        {diligent_ ? 600 : 50, 5},  // the right digit into an empty cell
        {diligent_ ? 150 : 20, 6},  // a wrong digit taken back
        {20 * k, 7},                // a character that is no digit
        {50 * k, 8},
        {100 * k, 9},
        {10 * k, 10},  // Delete, the arrows, other keys
        {50, 11},
        {20, 12},  // a tool from the menu, from the toolbar
        {undo ? 60 : 0, 13},
        {redo ? 40 : 0, 14},
        {undo || redo ? 10 : 0, 15},
        {20, 16},                                   // a level
        {diligent_ && !model_.Full() ? 0 : 4, 17},  // a new grid
        {solutionOpen_ ? 10 : 20, 18},
        {solutionOpen_ ? 10 : 0, 19},
        {15, 20},
        {saved_.empty() ? 0 : 10, 21},
        {5, 22},  // save, open, open cancelled
        {5, 23},
        {10, 24},  // the about box, a pause
        {8, 25},
        {6, 26},  // a file dropped, a change of scale and back
    };
    int total = 0;
    for (const Choice& choice : table)
        total += choice.weight;
    int roll = Pick(total), what = 0;
    for (const Choice& choice : table) {
        if (roll < choice.weight) {
            what = choice.what;
            break;
        }
        roll -= choice.weight;
    }
    switch (what) {
    case 0:
        point(Act::Click);
        break;
    case 1:
        clickCell(hidden.empty() ? 0 : hidden[Pick(static_cast<int>(hidden.size()))], Act::Click);
        break;
    case 2:
        point(Act::DoubleClick);
        break;
    case 3:
        point(Act::RightClick);
        break;
    case 5:  // play the right digit into an empty cell, with the pen
        if (empty.empty() || model_.Tool() != 0) {
            action.act = Act::Command;
            action.a = kPen;
            break;
        }
        clickCell(empty[Pick(static_cast<int>(empty.size()))], Act::Click);
        planned_.push_back(Simple(Act::Char, '0' + model_.SolutionAt(CellAt(action.a, action.b))));
        break;
    case 6:  // take back a wrong digit
        if (wrong.empty() || model_.Tool() != 0) {
            action.act = Act::Command;
            action.a = kPen;
            break;
        }
        clickCell(wrong[Pick(static_cast<int>(wrong.size()))], Act::Click);
        planned_.push_back(Simple(Act::Key, VK_DELETE));
        break;
    case 7: {
        const int others[] = {'0', 'a', ' ', 0x7F, 0x08, '\r'};
        action.act = Act::Char;
        action.a = others[Pick(6)];
        break;
    }
    case 10: {
        const int others[] = {VK_HOME, VK_END, VK_INSERT, VK_TAB, VK_PRIOR};
        action.act = Act::Key;
        action.a = others[Pick(5)];
        break;
    }
    case 15:
        action.act = Act::ToolbarClick;
        action.a = model_.CanUndo() && (!model_.CanRedo() || Pick(2)) ? kUndo : kRedo;
        break;
    case 19:
        action.act = Act::CloseSolution;
        break;
    case 20: {
        action.act = Act::Save;
        char name[32];
        snprintf(name, sizeof name, "soak-%d.nro", Pick(4));
        action.name = name;
        break;
    }
    case 21: {
        auto it = saved_.begin();
        std::advance(it, Pick(static_cast<int>(saved_.size())));
        action.act = Act::Open;
        action.name = it->first;
        break;
    }
    case 22:
        action.act = Act::OpenCancel;
        break;
    case 25:
        action.act = Act::Drop;
        if (saved_.empty() || Pick(3) == 0) {
            action.name = kDamagedFile;
        } else {
            auto it = saved_.begin();
            std::advance(it, Pick(static_cast<int>(saved_.size())));
            action.name = it->first;
        }
        break;
    case 26:
        action.act = Act::Scale;
        break;
    default: {
        // The actions that are one act on one value, picked among `span`
        // values from `base` where `span` is not 0; any other roll waits.
        struct OneAct {
            int what;
            Act act;
            int base;
            int span;
        };
        static const OneAct kOneActs[] = {
            {4, Act::Char, '1', 9},           {8, Act::Key, VK_DELETE, 0},      {9, Act::Key, VK_LEFT, 4},
            {11, Act::Command, kPen, 3},      {12, Act::ToolbarClick, kPen, 3}, {13, Act::Command, kUndo, 0},
            {14, Act::Command, kRedo, 0},     {16, Act::Command, kEasy, 3},     {17, Act::Command, kNewGame, 0},
            {18, Act::Command, kSolution, 0}, {23, Act::Command, kAbout, 0}};
        action.act = Act::Wait;
        action.a = 100;
        int span = 1100;
        for (const OneAct& one : kOneActs)
            if (one.what == what) {
                action.act = one.act;
                action.a = one.base;
                span = one.span;
            }
        if (span)
            action.a += Pick(span);
        break;
    }
    }
    // Now and then something comes from outside while the action's box or
    // dialog, if it brings one, is up.
    if (Pick(6) == 0)
        action.during = kDropSaved + Pick(3);
    return action;
}

void Soak::RealClick(int id)
{
    RECT r = game_.ButtonRect(id);
    if (r.right <= r.left)
        Fail("the toolbar button %d has no rectangle", id);
    game_.ClickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Away from the toolbar, so that no tooltip stays over the grid.
    game_.MoveMouse(Scaled(1000), Scaled(740));
}

// A drop opens nothing and tells nothing while a box or a dialog is up, and
// a change of scale there leaves the game alone: the box or dialog stays
// the only one, and the model has nothing to follow.
void Soak::FromOutside(int during, const char* under)
{
    if (during == kNothing)
        return;
    ++counts_[std::string("outside events under ") + under];
    if (during == kScaleAndBack) {
        ChangeScaleAndBack();
    } else {
        game_.DropFile(
            game_.WorkPath(during == kDropDamaged || saved_.empty() ? kDamagedFile : saved_.begin()->first.c_str()));
        if (!game_.Drain(30000))
            Fail("the game does not take a drop under %s", under);
    }
    if (game_.MessageBoxes().size() > (strcmp(under, "a box") == 0 ? 1u : 0u))
        Fail("a message box came up for what came from outside under %s", under);
}

void Soak::ChangeScaleAndBack()
{
    const int start = game_.Dpi();
    for (int dpi : {start == 96 ? 144 : 96, start}) {
        game_.ChangeScale(dpi);
        if (!game_.Drain(30000))
            Fail("the game does not take a change of scale to %d DPI", dpi);
    }
    RECT now;
    GetWindowRect(game_.Main(), &now);
    if (!EqualRect(&now, &mainAtStart_))
        Fail("after a change of scale and back the main window is %ld x %ld at %ld, %ld, not %ld x %ld at %ld, %ld",
             now.right - now.left, now.bottom - now.top, now.left, now.top, mainAtStart_.right - mainAtStart_.left,
             mainAtStart_.bottom - mainAtStart_.top, mainAtStart_.left, mainAtStart_.top);
    ++counts_["changes of scale and back"];
}

void Soak::HandleBox(BoxKind expected, int during)
{
    std::vector<BoxInfo> boxes = game_.MessageBoxes();
    if (expected == BoxKind::None) {
        if (!boxes.empty())
            Fail("a message box %s / %s came up where none was expected", Quoted(boxes[0].caption).c_str(),
                 Quoted(boxes[0].text).c_str());
        return;
    }
    BoxInfo box;
    WaitUntil(
        [&] {
            boxes = game_.MessageBoxes();
            if (boxes.empty())
                return false;
            box = GameSession::ReadBox(boxes[0].window);
            return !box.text.empty();
        },
        10000, 20);
    if (!box.window)
        Fail("no message box came up; expected %s / %s", Quoted(BoxCaption(expected)).c_str(),
             Quoted(BoxText(expected)).c_str());
    if (boxes.size() != 1)
        Fail("%u message boxes are up", static_cast<unsigned>(boxes.size()));
    bool right = box.caption == BoxCaption(expected);
    if (expected == BoxKind::About)
        right = right && box.text.find("NONARO") != std::string::npos &&
                box.text.find(NONARO_VERSION_TEXT) != std::string::npos;
    else if (expected == BoxKind::Refused)
        right = right && box.text.find(kDamagedFile) != std::string::npos;
    else
        right = right && box.text == BoxText(expected);
    if (!right)
        Fail("the box reads %s / %s, expected %s / %s", Quoted(box.caption).c_str(), Quoted(box.text).c_str(),
             Quoted(BoxCaption(expected)).c_str(),
             expected == BoxKind::About ? "(the about text)" : Quoted(BoxText(expected)).c_str());
    ++counts_[expected == BoxKind::Win       ? "win boxes"
              : expected == BoxKind::About   ? "about boxes"
              : expected == BoxKind::Refused ? "dropped files refused"
                                             : "refusals"];
    if (expected == BoxKind::Win) {
        clockStopped_ = ClockSeconds(game_.Clock());
        if (clockStopped_ < 0)
            Fail("the clock reads %s at the win", Quoted(game_.Clock()).c_str());
    }
    FromOutside(during, "a box");
    game_.CloseBox(box.window);
    if (!game_.Drain(30000))
        Fail("the game does not go on after its message box was closed");
    boxes = game_.MessageBoxes();
    if (!boxes.empty())
        Fail("after the box, another one: %s / %s", Quoted(boxes[0].caption).c_str(), Quoted(boxes[0].text).c_str());
}

void Soak::CheckClock()
{
    std::string text = game_.Clock();
    int seconds = ClockSeconds(text);
    DWORD now = Now();
    switch (model_.Clock()) {
    case ClockState::Idle:
        if (text != kClockRestText)
            Fail("the clock reads %s before the first digit", Quoted(text).c_str());
        clockValue_ = 0;
        clockChanged_ = now;
        break;
    case ClockState::Running: {
        if (seconds < 0)
            Fail("the clock reads %s", Quoted(text).c_str());
        if (seconds < clockValue_)
            Fail("the clock went back from %d to %d s", clockValue_, seconds);
        long bound = static_cast<long>((now - clockStarted_) / 1000) + 2;
        if (seconds > bound)
            Fail("the clock shows %d s, more than the %ld s since the first digit", seconds, bound);
        if (seconds != clockValue_) {
            clockValue_ = seconds;
            clockChanged_ = now;
        } else if (now - clockChanged_ > 10000) {
            Fail("the clock has stood at %s for %lu ms while the game runs", Quoted(text).c_str(), now - clockChanged_);
        }
        break;
    }
    case ClockState::Stopped:
        if (seconds != clockStopped_)
            Fail("the stopped clock moved from %d to %s", clockStopped_, Quoted(text).c_str());
        break;
    }
}

void Soak::CheckSolutionWindow()
{
    HWND window = SolutionWindow();
    if ((window != nullptr) != solutionOpen_)
        Fail("the solution window is %s, expected %s", window ? "open" : "closed", solutionOpen_ ? "open" : "closed");
    if (!window)
        return;
    int wrong = 0, first = -1;
    for (int cell = 0; cell < 81; ++cell) {
        if (SolutionDigit(window, cell) != model_.SolutionAt(cell)) {
            ++wrong;
            if (first < 0)
                first = cell;
        }
    }
    if (wrong)
        Fail("the solution window differs from the solution in %d cells, the first %d", wrong, first);
}

void Soak::CheckPicture(const char* when)
{
    ++counts_["picture checks"];
    std::string difference;
    bool selectionSeen = false;
    bool wantSelection = model_.SelectionKnown() && model_.Selection() >= 0 && model_.Tool() <= 1;
    ScreenShot shot;
    bool matched = WaitUntil(
        [&] {
            shot = view_->Shot();
            bool shown = false;
            difference = picture_.Compare(shot, model_, &shown);
            selectionSeen = selectionSeen || (difference.empty() && shown);
            return difference.empty() && (selectionSeen || !wantSelection);
        },
        5000, 60);
    if (!matched) {
        if (difference.empty())
            Fail("%s: the selected cell %d never showed its pattern", when, model_.Selection());
        Fail("%s: the grid does not show the game: %s", when, difference.c_str());
    }
    // How clearly the digits were told apart, for the summary.
    for (int cell = 0; cell < 81; ++cell) {
        CellReading reading = picture_.Read(shot, cell);
        if (!reading.digit)
            continue;
        long& worst = counts_["glyph pixels off, worst"];
        worst = std::max<long>(worst, reading.difference);
        auto closest = counts_.find("glyph pixels to the next digit, least");
        if (closest == counts_.end() || closest->second > reading.nextDifference)
            counts_["glyph pixels to the next digit, least"] = reading.nextDifference;
    }
}

// Cheap checks after every action; the thorough ones now and then.
void Soak::Check(bool thorough)
{
    if (!game_.Running())
        Fail("the game has ended");
    if (!game_.Answers(20000))
        Fail("the game does not answer within 20 s");

    int checkedButtons = 0, checkedItems = 0;
    for (int id = kPen; id <= kEraser; ++id) {
        bool button = game_.ButtonChecked(id), item = game_.MenuChecked(id);
        checkedButtons += button;
        checkedItems += item;
        if (button != item)
            Fail("tool %d: toolbar %s, menu %s", id, button ? "checked" : "unchecked", item ? "checked" : "unchecked");
        if (button != (id == kPen + model_.Tool()))
            Fail("tool %d is %s; the tool is %d", id, button ? "checked" : "unchecked", kPen + model_.Tool());
    }
    if (checkedButtons != 1 || checkedItems != 1)
        Fail("%d tool buttons and %d menu items checked", checkedButtons, checkedItems);

    for (int id : {kUndo, kRedo}) {
        bool want = id == kUndo ? model_.CanUndo() : model_.CanRedo();
        bool button = game_.ButtonEnabled(id), item = game_.MenuEnabled(id);
        if (button != want || item != want)
            Fail("%s: toolbar %s, menu %s; the history is at %u of %u", id == kUndo ? "Undo" : "Redo",
                 button ? "enabled" : "disabled", item ? "enabled" : "grayed",
                 static_cast<unsigned>(model_.HistoryPosition() + 1), static_cast<unsigned>(model_.HistoryLength()));
    }
    for (int id = kEasy; id <= kHard; ++id)
        if (game_.MenuChecked(id) != (id == kEasy + model_.Level()))
            Fail("level item %d is %s; the level is %d", id, game_.MenuChecked(id) ? "checked" : "unchecked",
                 model_.Level());
    CheckClock();
    if ((SolutionWindow() != nullptr) != solutionOpen_)
        Fail("the solution window is %s", solutionOpen_ ? "gone" : "open, and nobody opened it");

    if (!thorough)
        return;
    bool started = model_.Started();
    for (int id : {kSave, kSolution, kPrint})
        if (game_.ButtonEnabled(id) != started || game_.MenuEnabled(id) != started)
            Fail("command %d is not %s", id, started ? "enabled" : "disabled");
    for (int id = kPen; id <= kEraser; ++id)
        if (game_.ButtonEnabled(id) != started)
            Fail("tool button %d is not %s", id, started ? "enabled" : "disabled");
    if (game_.MenuEnabled(2, true) != started)
        Fail("the \" Outils \" menu is not %s", started ? "enabled" : "grayed");
    for (int id : {kNewGame, kOpen})
        if (!game_.ButtonEnabled(id) || !game_.MenuEnabled(id))
            Fail("command %d is disabled", id);
    CheckSolutionWindow();
}

// A new grid must be a puzzle: a valid complete solution, at least 20
// givens, one solution only, no player digits and no marks yet.
void Soak::CheckFreshGame(const GameImage& image)
{
    if (!IsValidSolution(image.solution))
        Fail("the new grid's solution is not a valid complete grid");
    int givens = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (image.mask[cell] > 1)
            Fail("the new grid's mask holds %d at cell %d", image.mask[cell], cell);
        givens += image.mask[cell] == 0;
        int16_t expected = image.mask[cell] == 0 ? image.solution[cell] : 0;
        if (image.player[cell] != expected)
            Fail("cell %d of the new grid holds %d, expected %d", cell, image.player[cell], expected);
        for (int digit = 0; digit < 9; ++digit)
            if (image.marks[cell * 9 + digit])
                Fail("the new grid has a mark at cell %d", cell);
    }
    if (givens < 20)
        Fail("the new grid has only %d givens", givens);
    int solutions = CountSolutions(image.solution, image.mask, 2);
    if (solutions != 1)
        Fail("the new grid has %d solutions", solutions);
    counts_["givens, all new grids"] += givens;
}

void Soak::Save(const std::string& name, int during)
{
    // Over an earlier save of the same name, when there is one: the dialog's
    // question whether to replace it is answered yes.
    std::string path = game_.WorkPath(name.c_str());
    if (!game_.SaveFile(path, [&] { FromOutside(during, "the save dialog"); }) || !game_.Drain(30000))
        Fail("saving %s failed", name.c_str());
    std::vector<uint8_t> bytes;
    GameImage image;
    if (!WaitUntil([&] { return ReadBytes(path, bytes) && bytes.size() >= kFileSize; }, 10000, 50))
        Fail("%s was not written (%u bytes)", name.c_str(), static_cast<unsigned>(bytes.size()));
    if (!image.Decode(bytes))
        Fail("%s is no game file (%u bytes)", name.c_str(), static_cast<unsigned>(bytes.size()));
    for (int cell = 0; cell < 81; ++cell) {
        if (image.player[cell] < 0 || image.player[cell] > 9)
            Fail("%s: cell %d holds %d", name.c_str(), cell, image.player[cell]);
        if (image.solution[cell] < 1 || image.solution[cell] > 9)
            Fail("%s: the solution at cell %d is %d", name.c_str(), cell, image.solution[cell]);
    }
    std::string difference = FirstDifference(bytes, model_.Image().Encode());
    if (!difference.empty())
        Fail("%s differs from the game as played: %s", name.c_str(), difference.c_str());
    saved_[name] = image;
    ++counts_["saves"];
}

void Soak::OpenSaved(const std::string& name, const GameImage& image, int during)
{
    if (!game_.OpenFile(game_.WorkPath(name.c_str()), [&] { FromOutside(during, "the open dialog"); }))
        Fail("opening %s failed", name.c_str());
    if (!game_.Drain(30000))
        Fail("the game does not answer after opening %s", name.c_str());
    model_.StartGame(image);
    ++counts_["opens"];
}

void Soak::NewGrid(Action& action)
{
    if (!action.puzzle.empty()) {
        // A replay opens the grid that the recorded run was given.
        GameImage image = PuzzleImage(action.puzzle);
        if (!WriteBytes(game_.WorkPath("replay-grid.nro"), image.Encode()))
            Fail("cannot write replay-grid.nro");
        OpenSaved("replay-grid.nro", image);
        return;
    }
    game_.PostCommand(kNewGame);
    if (!game_.Drain(240000))
        Fail("no new grid within 240 s");
    HandleBox(BoxKind::None);
    if (game_.Clock() != kClockRestText)
        Fail("the clock reads %s after a new grid", Quoted(game_.Clock()).c_str());
    std::string path = game_.WorkPath("soak-new.nro");
    DeleteFileA(path.c_str());
    if (!game_.SaveFile(path) || !game_.Drain(30000))
        Fail("saving the new grid failed");
    std::vector<uint8_t> bytes;
    GameImage image;
    if (!WaitUntil([&] { return ReadBytes(path, bytes) && bytes.size() >= kFileSize; }, 10000, 50) ||
        !image.Decode(bytes))
        Fail("the new grid was not saved whole (%u bytes)", static_cast<unsigned>(bytes.size()));
    CheckFreshGame(image);
    model_.StartGame(image);
    action.puzzle = PuzzleText(image);
    ++counts_["new grids"];
    char level[32];
    snprintf(level, sizeof level, "new grids at level %d", model_.Level());
    ++counts_[level];
    diligent_ = Pick(3) == 0;
}

void Soak::Take(Action& action)
{
    HWND grid = game_.Grid(), main = game_.Main();
    BoxKind expected = BoxKind::None;
    bool clockWasIdle = model_.Clock() == ClockState::Idle;
    DWORD before = Now();
    // Points are drawn and recorded at 96 DPI, so that a run replays at any scale.
    const LPARAM at = MAKELPARAM(Scaled(action.a), Scaled(action.b));
    ++counts_[kActNames[static_cast<int>(action.act)]];
    switch (action.act) {
    case Act::Click:
        PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(grid, WM_LBUTTONUP, 0, at);
        expected = model_.Click(action.a, action.b);
        break;
    case Act::DoubleClick:
        PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(grid, WM_LBUTTONUP, 0, at);
        PostMessageA(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(grid, WM_LBUTTONUP, 0, at);
        expected = model_.Click(action.a, action.b);
        break;
    case Act::RightClick:
        PostMessageA(grid, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageA(grid, WM_RBUTTONUP, 0, at);
        break;
    case Act::Char:
        PostMessageA(grid, WM_CHAR, static_cast<WPARAM>(action.a), 1);
        expected = model_.Char(action.a);
        break;
    case Act::Key:
        PostMessageA(grid, WM_KEYDOWN, static_cast<WPARAM>(action.a), 1);
        PostMessageA(grid, WM_KEYUP, static_cast<WPARAM>(action.a), 0xC0000001);
        model_.Key(action.a);
        break;
    case Act::Command:
    case Act::ToolbarClick:
        if (action.a == kNewGame) {
            NewGrid(action);
            break;
        }
        if (action.act == Act::ToolbarClick)
            RealClick(action.a);
        else
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(action.a, 0), 0);
        if (action.act == Act::ToolbarClick)
            model_.ForgetSelection();
        if (action.a == kUndo)
            model_.Undo();
        else if (action.a == kRedo)
            model_.Redo();
        else if (action.a >= kEasy && action.a <= kHard)
            model_.SetLevel(action.a - kEasy);
        else if (action.a >= kPen && action.a <= kEraser)
            model_.SetTool(action.a - kPen);
        else if (action.a == kAbout) {
            expected = BoxKind::About;
            model_.ForgetSelection();
        } else if (action.a == kSolution) {
            if (!solutionOpen_) {
                HWND window = nullptr;
                if (!WaitUntil([&] { return (window = SolutionWindow()) != nullptr; }, 15000, 50))
                    Fail("\"Solution\" opened no window");
                // Out of the grid's way, as a player would drag it.
                SetWindowPos(window, nullptr, Scaled(560), Scaled(40), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                solutionOpen_ = true;
                model_.ForgetSelection();
            }
        }
        break;
    case Act::CloseSolution: {
        HWND window = SolutionWindow();
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return SolutionWindow() == nullptr; }, 10000, 50))
            Fail("the solution window does not close");
        solutionOpen_ = false;
        model_.ForgetSelection();
        break;
    }
    case Act::Save:
        Save(action.name, action.during);
        model_.ForgetSelection();
        break;
    case Act::Open: {
        auto it = saved_.find(action.name);
        if (it == saved_.end())
            Fail("%s was never saved", action.name.c_str());
        OpenSaved(action.name, it->second, action.during);
        break;
    }
    case Act::Drop: {
        // As "Ouvrir" opens it; a file that is no game is refused by name.
        game_.DropFile(game_.WorkPath(action.name.c_str()));
        auto it = saved_.find(action.name);
        if (action.name == kDamagedFile) {
            expected = BoxKind::Refused;
            model_.ForgetSelection();
        } else if (it == saved_.end()) {
            Fail("%s was never saved", action.name.c_str());
        } else {
            model_.StartGame(it->second);
            ++counts_["drops opened"];
        }
        break;
    }
    case Act::Scale:
        ChangeScaleAndBack();
        break;
    case Act::OpenCancel: {
        game_.PostCommand(kOpen);
        HWND dialog = game_.WaitForFileDialog("Ouvrir un fichier Nonaro...", 30000);
        if (!dialog)
            Fail("\"Ouvrir\" shows no dialog");
        FromOutside(action.during, "the open dialog");
        if (!game_.CancelFileDialog(dialog))
            Fail("the open dialog does not close on Cancel");
        model_.ForgetSelection();
        break;
    }
    case Act::Wait:
        Sleep(static_cast<DWORD>(action.a));
        break;
    }
    if (clockWasIdle && model_.Clock() == ClockState::Running)
        clockStarted_ = before;
    if (expected == BoxKind::Win)
        diligent_ = false;
    lastBox_ = expected;
    if (!game_.Drain(60000))
        Fail("the game does not take its messages");
    HandleBox(expected, action.during);
}

void Soak::Run()
{
    game_.Launch();
    GridView view(game_);
    view_ = &view;
    GetWindowRect(game_.Main(), &mainAtStart_);
    std::vector<uint8_t> damaged = GameImage::Solved().Hide({40}).Encode();
    damaged[6] = '3';
    if (!WriteBytes(game_.WorkPath(kDamagedFile), damaged))
        Fail("cannot write %s", kDamagedFile);
    Note("soak: seed %u, at most %ld actions or %ld s%s%s", options_.seed, options_.actions, options_.seconds,
         options_.replay.empty() ? "" : ", replaying ", options_.replay.c_str());

    std::vector<Action> replay;
    if (!options_.replay.empty()) {
        FILE* in = fopen(options_.replay.c_str(), "r");
        if (!in)
            Fail("cannot read %s", options_.replay.c_str());
        char line[512];
        while (fgets(line, sizeof line, in)) {
            Action action;
            if (line[0] == '#' || line[0] == '\n')
                continue;
            if (!ParseAction(line, &action))
                Fail("cannot read the action %s", line);
            replay.push_back(action);
        }
        fclose(in);
    }
    std::string actionPath = game_.WorkPath("soak-actions.txt");
    actionFile_ = fopen(actionPath.c_str(), "w");
    if (actionFile_)
        fprintf(actionFile_, "# soak seed %u\n", options_.seed);

    SetQuiet(true);
    DWORD start = Now();
    long limit = options_.replay.empty() ? options_.actions : static_cast<long>(replay.size());
    Check(true);
    for (step_ = 1; step_ <= limit; ++step_) {
        if (options_.replay.empty() && Now() - start >= static_cast<DWORD>(options_.seconds) * 1000)
            break;
        Action action = options_.replay.empty() ? Choose() : replay[step_ - 1];
        if (!model_.SelectionKnown() && (action.act == Act::Char || action.act == Act::Key))
            Fail("the replay types where the selection is not known: %s", Describe(action).c_str());
        taking_ = &action;
        Take(action);
        taking_ = nullptr;
        Record(action);
        bool thorough = step_ % 25 == 0 || action.act == Act::Open ||
                        (action.act == Act::Command && (action.a == kNewGame || action.a == kSolution));
        Check(thorough);
        bool picture = step_ % 40 == 0 || action.act == Act::Open ||
                       (action.act == Act::Command && action.a == kNewGame) || lastBox_ == BoxKind::Win;
        if (picture)
            CheckPicture(Describe(action).c_str());
        if (model_.HistoryLength() > static_cast<size_t>(counts_["longest history"]))
            counts_["longest history"] = static_cast<long>(model_.HistoryLength());
    }
    long done = step_ - 1;
    // The last word: the picture and a save of the game as it ends.
    CheckPicture("at the end");
    if (model_.Started())
        Save("soak-final.nro");
    Check(true);
    DWORD elapsed = Now() - start;
    SetQuiet(false);
    Note("soak: %ld actions in %.1f s (%.1f per second)", done, elapsed / 1000.0,
         done * 1000.0 / (elapsed ? elapsed : 1));
    for (const auto& count : counts_)
        Note("soak:   %-26s %ld", count.first.c_str(), count.second);
    Expect(done > 0, "soak: %ld actions against the game, every check held", done);
    if (actionFile_)
        fclose(actionFile_);
}

void SoakScenario(GameSession& game)
{
    Soak soak(game, ParseOptions());
    try {
        soak.Run();
    } catch (const SoakFailure&) {
        // Logged by Fail; the verdict counts it.
    }
}

}  // namespace

void AddSoakScenarios(std::vector<Scenario>& list) { list.push_back({"soak", SoakScenario}); }
