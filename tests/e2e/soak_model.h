#pragma once

// What the soak run expects of the game, worked out from the player's side:
// the board, the history behind Undo and Redo, the tool, the level, the
// selection, the clock and the solution window, moved along by each action
// the driver takes. The driver compares the game with it after every step.
// Nothing here touches Windows, so the expectations are plain to read.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/game_file_image.h"

// The message box an action brings up, if any; Refused names a file that is
// no game, dropped while nothing else was up.
enum class BoxKind { None, Row, Column, Box, Win, About, Refused };

const char* BoxCaption(BoxKind kind);
// The exact text, or "" for the about box and a refusal, whose texts are
// only looked into.
const char* BoxText(BoxKind kind);

enum class ClockState { Idle, Running, Stopped };

// True when the grid is a complete solution: every group holds 1 to 9 once.
bool IsValidSolution(const int16_t values[81]);
// The solutions of the grid whose cells with mask 0 are given, up to limit.
int CountSolutions(const int16_t solution[81], const uint8_t mask[81], int limit);

// The pen's clash search: the first other cell of the row, then of the
// column, then of the box that holds value; -1 when there is none.
int FindClash(const int16_t values[81], int cell, int value, BoxKind* kind);

// CellFromPoint of the grid window: -1 off the cells (the last pixel row and
// column included).
int CellAt(int x, int y);
// The pencil-mark place (0..8) under a point of a cell.
int MarkAt(int x, int y);

class SoakModel {
public:
    SoakModel();

    // A new grid (read back through a save) or a file opened: a fresh game.
    void StartGame(const GameImage& image);
    GameImage Image() const;

    // Each returns the box the action brings up.
    BoxKind Click(int x, int y);
    BoxKind Char(int ch);
    void Key(int virtualKey);
    void Undo();
    void Redo();
    void SetTool(int tool) { tool_ = tool; }
    void SetLevel(int level) { level_ = level; }

    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ + 1 < history_.size(); }
    bool Started() const { return started_; }
    int Tool() const { return tool_; }
    int Level() const { return level_; }
    // -1 for none; meaningless while !SelectionKnown().
    int Selection() const { return selection_; }
    bool SelectionKnown() const { return selectionKnown_; }
    // After a window came or went the grid may have lost the focus, and with
    // it the selection; the driver clicks before it types again.
    void ForgetSelection() { selectionKnown_ = false; }
    ClockState Clock() const { return clock_; }
    size_t HistoryLength() const { return history_.size(); }
    size_t HistoryPosition() const { return current_; }

    int16_t Value(int cell) const { return values_[cell]; }
    int16_t SolutionAt(int cell) const { return solution_[cell]; }
    bool Hidden(int cell) const { return mask_[cell] == 1; }
    bool Mark(int cell, int digit) const { return marks_[cell * 9 + digit - 1] == 1; }
    bool Full() const;
    // The cell is in a row, column or box with no empty cell.
    bool InCompleteGroup(int cell) const;
    // The cell that clashed in the last refusal.
    int LastClash() const { return lastClash_; }

private:
    struct Entry {
        int cell;
        int16_t values[81];
        uint8_t marks[729];
    };
    void Push(int cell);
    void Restore(const Entry& entry);

    bool started_ = false;
    int16_t solution_[81] = {};
    uint8_t mask_[81] = {};
    int16_t values_[81] = {};
    uint8_t marks_[729] = {};
    std::vector<Entry> history_;
    size_t current_ = 0;
    int tool_ = 0;
    int level_ = 0;
    int selection_ = -1;
    bool selectionKnown_ = true;
    ClockState clock_ = ClockState::Idle;
    int lastClash_ = -1;
};
