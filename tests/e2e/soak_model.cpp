#include "tests/e2e/soak_model.h"

#include <algorithm>
#include <cstring>

#include "tests/engine/brute_force_counter.h"
#include "tests/program_facts.h"

namespace {

const int kDelete = 0x2E, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

int BoxBase(int cell) { return (cell / 27) * 27 + ((cell % 9) / 3) * 3; }

// The three groups of a cell as lists of their nine cells.
void GroupCells(int cell, int rows[9], int columns[9], int boxes[9])
{
    int base = BoxBase(cell);
    for (int i = 0; i < 9; ++i) {
        rows[i] = (cell / 9) * 9 + i;
        columns[i] = cell % 9 + 9 * i;
        boxes[i] = base + i + (i / 3) * 6;
    }
}

bool Filled(const int16_t values[81], const int cells[9])
{
    for (int i = 0; i < 9; ++i)
        if (values[cells[i]] == 0)
            return false;
    return true;
}

}  // namespace

const char* BoxCaption(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Row:
    case BoxKind::Column:
    case BoxKind::Box:
        return kClashCaption;
    case BoxKind::Win:
    case BoxKind::Refused:
        return kProgramCaption;
    case BoxKind::About:
        return " A propos de...";
    default:
        return "";
    }
}

const char* BoxText(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Row:
        return kRowClashText;
    case BoxKind::Column:
        return kColumnClashText;
    case BoxKind::Box:
        return kBoxClashText;
    case BoxKind::Win:
        return kWinText;
    default:
        return "";
    }
}

bool IsValidSolution(const int16_t values[81])
{
    for (int group = 0; group < 27; ++group) {
        // Rows 0-8, columns 9-17, boxes 18-26, each by a cell that lies in it.
        int rows[9], columns[9], boxes[9];
        int index = group % 9;
        GroupCells(group < 9    ? index * 9
                   : group < 18 ? index
                                : (index / 3) * 27 + (index % 3) * 3,
                   rows, columns, boxes);
        const int* cells = group < 9 ? rows : group < 18 ? columns : boxes;
        unsigned seen = 0;
        for (int i = 0; i < 9; ++i) {
            int v = values[cells[i]];
            if (v < 1 || v > 9)
                return false;
            seen |= 1u << v;
        }
        if (seen != 0x3FEu)
            return false;
    }
    return true;
}

int CountSolutions(const int16_t solution[81], const uint8_t mask[81], int limit)
{
    int16_t grid[81];
    for (int cell = 0; cell < 81; ++cell)
        grid[cell] = mask[cell] == 0 ? solution[cell] : 0;
    return BruteForceCount(grid, limit);
}

int FindClash(const int16_t values[81], int cell, int value, BoxKind* kind)
{
    int rows[9], columns[9], boxes[9];
    GroupCells(cell, rows, columns, boxes);
    const int* groups[3] = {rows, columns, boxes};
    const BoxKind kinds[3] = {BoxKind::Row, BoxKind::Column, BoxKind::Box};
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < 9; ++i) {
            int other = groups[g][i];
            if (other != cell && values[other] == value) {
                *kind = kinds[g];
                return other;
            }
        }
    *kind = BoxKind::None;
    return -1;
}

int CellAt(int x, int y)
{
    if (x < 0 || y < 0 || x / 51 > 8 || y / 51 > 8)
        return -1;
    return (y / 51) * 9 + x / 51;
}

int MarkAt(int x, int y) { return (x % 51) / 17 + ((y % 51) / 17) * 3; }

SoakModel::SoakModel()
{
    // The board's constructor already holds one entry, so Undo stays disabled.
    Push(0);
    current_ = 0;
}

void SoakModel::StartGame(const GameImage& image)
{
    started_ = true;
    memcpy(solution_, image.solution, sizeof solution_);
    memcpy(mask_, image.mask, sizeof mask_);
    memcpy(values_, image.player, sizeof values_);
    memcpy(marks_, image.marks, sizeof marks_);
    history_.clear();
    Push(0);
    selection_ = -1;
    selectionKnown_ = true;
    clock_ = ClockState::Idle;
    lastClash_ = -1;
}

GameImage SoakModel::Image() const
{
    GameImage image;
    memcpy(image.player, values_, sizeof values_);
    memcpy(image.solution, solution_, sizeof solution_);
    memcpy(image.mask, mask_, sizeof mask_);
    memcpy(image.marks, marks_, sizeof marks_);
    return image;
}

void SoakModel::Push(int cell)
{
    if (!history_.empty())
        history_.resize(current_ + 1);
    Entry entry;
    entry.cell = cell;
    memcpy(entry.values, values_, sizeof values_);
    memcpy(entry.marks, marks_, sizeof marks_);
    history_.push_back(entry);
    current_ = history_.size() - 1;
}

void SoakModel::Restore(const Entry& entry)
{
    memcpy(values_, entry.values, sizeof values_);
    memcpy(marks_, entry.marks, sizeof marks_);
}

BoxKind SoakModel::Click(int x, int y)
{
    int cell = CellAt(x, y);
    selection_ = cell < 0 || mask_[cell] == 0 ? -1 : cell;
    selectionKnown_ = true;
    if (tool_ == 2 && selection_ >= 0) {
        int c = selection_;
        if (values_[c] != 0)
            values_[c] = 0;
        else
            marks_[c * 9 + MarkAt(x, y)] = 0;
        // Recorded even when there was nothing to erase.
        Push(c);
        selection_ = -1;
    }
    return BoxKind::None;
}

BoxKind SoakModel::Char(int ch)
{
    int c = selection_;
    if (c < 0 || ch < '1' || ch > '9')
        return BoxKind::None;
    int digit = ch - '0';
    // The first digit of a game starts the clock, whatever becomes of it.
    if (tool_ <= 1 && clock_ == ClockState::Idle)
        clock_ = ClockState::Running;
    BoxKind clash = BoxKind::None;
    if (tool_ == 0) {
        values_[c] = static_cast<int16_t>(digit);
        lastClash_ = FindClash(values_, c, digit, &clash);
        if (lastClash_ >= 0) {
            values_[c] = 0;
            return clash;
        }
        Push(c);
        if (Full()) {
            clock_ = ClockState::Stopped;
            selectionKnown_ = false;
            return BoxKind::Win;
        }
        return BoxKind::None;
    }
    if (tool_ == 1 && values_[c] == 0) {
        lastClash_ = FindClash(values_, c, digit, &clash);
        marks_[c * 9 + digit - 1] = lastClash_ >= 0 ? 0 : 1;
        if (lastClash_ >= 0)
            return clash;
        Push(c);
    }
    return BoxKind::None;
}

void SoakModel::Key(int key)
{
    int from = selection_;
    if (key == kDelete) {
        if (from >= 0 && values_[from] != 0 && mask_[from] == 1 && tool_ == 0) {
            values_[from] = 0;
            Push(from);
        }
        // With the pencil, every mark of an empty cell goes, in one entry.
        uint8_t* marks = marks_ + (from >= 0 ? from : 0) * 9;
        if (from >= 0 && values_[from] == 0 && mask_[from] == 1 && tool_ == 1 && std::count(marks, marks + 9, 0) < 9) {
            std::fill(marks, marks + 9, 0);
            Push(from);
        }
        return;
    }
    // With nothing selected an arrow selects a cell that depends on where the
    // focus went before; the driver clicks again before it types.
    if (from < 0 && tool_ <= 1 && key >= kLeft && key <= kDown)
        selectionKnown_ = false;
    if (from < 0 || mask_[from] != 1 || tool_ > 1)
        return;
    int row = from / 9, target = -1;
    switch (key) {
    case kDown: {
        int c = from + 9;
        while (c <= 79 && mask_[c] == 0)
            c += 9;
        if (c <= 80 && mask_[c] == 1)
            target = c;
        break;
    }
    case kUp: {
        int c = from - 9;
        while (c > 0 && mask_[c] == 0)
            c -= 9;
        if (c >= 0 && mask_[c] == 1)
            target = c;
        break;
    }
    case kRight: {
        int c = from + 1;
        while (c / 9 == row && mask_[c] == 0)
            ++c;
        if (c / 9 == row && mask_[c] == 1)
            target = c;
        break;
    }
    case kLeft: {
        int c = from - 1;
        while (c > 0 && c / 9 == row && mask_[c] == 0)
            --c;
        if (c >= 0 && c / 9 == row && mask_[c] == 1)
            target = c;
        break;
    }
    default:
        break;
    }
    if (target >= 0)
        selection_ = target;
}

void SoakModel::Undo()
{
    if (!CanUndo())
        return;
    int cell = history_[current_].cell;
    --current_;
    Restore(history_[current_]);
    selection_ = cell;
    selectionKnown_ = true;
}

void SoakModel::Redo()
{
    if (!CanRedo())
        return;
    ++current_;
    Restore(history_[current_]);
    selection_ = history_[current_].cell;
    selectionKnown_ = true;
}

bool SoakModel::Full() const
{
    for (int cell = 0; cell < 81; ++cell)
        if (values_[cell] == 0)
            return false;
    return true;
}

bool SoakModel::InCompleteGroup(int cell) const
{
    int rows[9], columns[9], boxes[9];
    GroupCells(cell, rows, columns, boxes);
    return Filled(values_, rows) || Filled(values_, columns) || Filled(values_, boxes);
}
