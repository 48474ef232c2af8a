#include "tests/e2e/grid_view.h"

#include <map>

#include "tests/e2e/contrast_palettes.h"
#include "tests/e2e/driver_log.h"
#include "tests/e2e/game_session.h"

const char* BackName(Back back)
{
    switch (back) {
    case Back::Plain:
        return "plain";
    case Back::Complete:
        return "complete";
    case Back::Conflict:
        return "conflict";
    case Back::Pen:
        return "pen pattern";
    case Back::Pencil:
        return "pencil pattern";
    default:
        return "other";
    }
}

RECT CellInterior(int cell)
{
    int left = (cell % 9) * 51, top = (cell / 9) * 51;
    RECT r = {Scaled(left + 4), Scaled(top + 4), Scaled(left + 48), Scaled(top + 48)};
    return r;
}

RECT DigitArea(int cell)
{
    int left = (cell % 9) * 51, top = (cell / 9) * 51;
    RECT r = {Scaled(left + 12), Scaled(top + 9), Scaled(left + 40), Scaled(top + 43)};
    return r;
}

RECT MarkArea(int cell, int mark)
{
    int left = (cell % 9) * 51 + (mark % 3) * 17, top = (cell / 9) * 51 + (mark / 3) * 17;
    RECT r = {Scaled(left + 2), Scaled(top + 2), Scaled(left + 15), Scaled(top + 15)};
    return r;
}

InkReading ReadInk(const ScreenShot& shot, const RECT& area, int least)
{
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ++counts[shot.At(x, y)];
    InkReading reading;
    int groundPixels = 0;
    for (const auto& entry : counts)
        if (entry.second > groundPixels) {
            groundPixels = entry.second;
            reading.ground = entry.first;
        }
    for (const auto& entry : counts)
        if (entry.first != reading.ground && entry.second > reading.inkPixels) {
            reading.inkPixels = entry.second;
            reading.ink = entry.first;
        }
    if (reading.inkPixels < least) {
        reading.ink = CLR_INVALID;
        return reading;
    }
    reading.contrast = ContrastRatio(reading.ink, reading.ground);
    return reading;
}

int MarkedPixels(const ScreenShot& shot, const RECT& area, COLORREF ground)
{
    int marked = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            marked += ContrastRatio(shot.At(x, y), ground) >= 3;
    return marked;
}

CellLook LookAt(const ScreenShot& grid, int cell) { return LookAtArea(grid, CellInterior(cell)); }

CellLook LookAtArea(const ScreenShot& grid, const RECT& r)
{
    CellLook look;
    int plain = 0, complete = 0, conflict = 0, pen = 0, pencil = 0, total = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            COLORREF c = grid.At(x, y);
            ++total;
            int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
            if (c == kPlainColour)
                ++plain;
            else if (c == kCompleteColour)
                ++complete;
            else if (c == kConflictColour)
                ++conflict;
            else if (c == kPenField || c == kPenLetter)
                ++pen;
            else if (c == kPencilField || c == kPencilLetter)
                ++pencil;
            else if (c == kGivenInk)
                ++look.givenInk;
            else if (red < 70 && green < 70 && blue < 70)
                ++look.playerInk;
            else if (red > 180 && green < 110 && blue < 110)
                ++look.markInk;
        }
    int best = plain;
    look.back = Back::Plain;
    if (complete > best) {
        best = complete;
        look.back = Back::Complete;
    }
    if (conflict > best) {
        best = conflict;
        look.back = Back::Conflict;
    }
    if (pen > best) {
        best = pen;
        look.back = Back::Pen;
    }
    if (pencil > best) {
        best = pencil;
        look.back = Back::Pencil;
    }
    if (best * 2 < total)
        look.back = Back::Other;
    return look;
}

ScreenShot GridView::Shot() const
{
    RECT r;
    GetWindowRect(game_.Grid(), &r);
    return ScreenShot::Take(r);
}

std::vector<int> GridView::CellsShowing(const ScreenShot& shot, Back pattern)
{
    std::vector<int> cells;
    for (int cell = 0; cell < 81; ++cell)
        if (LookAt(shot, cell).back == pattern)
            cells.push_back(cell);
    return cells;
}

bool GridView::WaitForSelection(int cell, Back pattern, DWORD timeoutMs) const
{
    std::vector<int> last;
    bool seen = WaitUntil(
        [&] {
            ScreenShot shot = Shot();
            std::vector<int> showing = CellsShowing(shot, Back::Pen);
            std::vector<int> pencil = CellsShowing(shot, Back::Pencil);
            showing.insert(showing.end(), pencil.begin(), pencil.end());
            if (!showing.empty())
                last = showing;
            return showing.size() == 1 && showing[0] == cell && LookAt(shot, cell).back == pattern;
        },
        timeoutMs, 40);
    if (!seen) {
        std::string cells;
        for (int c : last)
            cells += " " + std::to_string(c);
        Note("cell %d never showed the %s alone; patterns last seen at:%s", cell, BackName(pattern),
             cells.empty() ? " none" : cells.c_str());
    }
    return seen;
}

bool GridView::NothingSelectedFor(DWORD spanMs) const
{
    // The click that dropped a selection repaints its cell at the next paint;
    // that paint must reach the screen before the span is judged.
    game_.Painted();
    DWORD start = GetTickCount();
    do {
        ScreenShot shot = Shot();
        std::vector<int> pen = CellsShowing(shot, Back::Pen), pencil = CellsShowing(shot, Back::Pencil);
        if (!pen.empty() || !pencil.empty()) {
            Note("a selection pattern shows at cell %d", pen.empty() ? pencil[0] : pen[0]);
            return false;
        }
        Sleep(60);
    } while (GetTickCount() - start < spanMs);
    return true;
}

std::vector<DWORD> GridView::PatternChanges(int cell, Back pattern, DWORD spanMs, int* onSamples, int* offSamples) const
{
    std::vector<DWORD> changes;
    RECT grid;
    GetWindowRect(game_.Grid(), &grid);
    RECT r = CellInterior(cell);
    OffsetRect(&r, grid.left, grid.top);
    *onSamples = *offSamples = 0;
    int previous = -1;
    DWORD start = GetTickCount();
    do {
        ScreenShot sample = ScreenShot::Take(r);
        RECT whole = {0, 0, sample.Width(), sample.Height()};
        int on = LookAtArea(sample, whole).back == pattern;
        (on ? *onSamples : *offSamples) += 1;
        if (previous != -1 && on != previous)
            changes.push_back(GetTickCount() - start);
        previous = on;
        Sleep(20);
    } while (GetTickCount() - start < spanMs);
    return changes;
}

namespace {

bool SameLooks(const ScreenShot& a, const ScreenShot& b)
{
    for (int cell = 0; cell < 81; ++cell) {
        CellLook x = LookAt(a, cell), y = LookAt(b, cell);
        if (x.back != y.back || x.HasGiven() != y.HasGiven() || x.HasPlayerDigit() != y.HasPlayerDigit() ||
            x.HasMarks() != y.HasMarks())
            return false;
    }
    return true;
}

}  // namespace

ScreenShot GridView::SteadyShot(DWORD timeoutMs) const
{
    game_.Painted();
    ScreenShot previous = Shot(), current = previous;
    int sameInRow = 0;
    bool steady = WaitUntil(
        [&] {
            current = Shot();
            sameInRow = SameLooks(previous, current) ? sameInRow + 1 : 0;
            previous = current;
            return sameInRow >= 2;
        },
        timeoutMs, 150);
    if (!steady)
        Note("the grid did not come to a steady picture");
    return current;
}

ScreenShot GridView::WaitForChange(const ScreenShot& before, DWORD timeoutMs) const
{
    // Each shot follows the game's last paint, so that two shots taken before
    // the new picture was painted cannot pass for a steady one.
    game_.Painted();
    ScreenShot previous = Shot(), current = previous;
    bool settled = WaitUntil(
        [&] {
            game_.Painted();
            current = Shot();
            bool done = !SameLooks(before, current) && SameLooks(previous, current);
            previous = current;
            return done;
        },
        timeoutMs, 150);
    if (!settled)
        Note("the grid did not change to a steady new picture");
    return current;
}
