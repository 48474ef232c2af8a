#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "play/grid_board.h"
#include "tests/program_facts.h"

// A board behind a grid window of its own, with what the rules reach through
// the platform: the main window and its menu, the toolbar with the Undo and
// Redo buttons, the clock label. Natively these are the headless stand-in's;
// on Windows real (hidden) windows, with every message box closed as soon as
// it is up. Either way the grid window drops the selection when it loses the
// focus, as the game's grid window does.
class BoardHarness {
public:
    struct Box {
        std::string text;
        std::string caption;
        bool ownedByGrid;
    };

    int16_t grid[kCellCount];
    uint8_t mask[kCellCount];
    uint8_t marks[kMarkCount];
    GridBoard board;
    std::vector<Box> boxes;
    // Runs while a box is up, after the grid window lost the focus.
    std::function<void(const Box&)> duringBox;

    BoardHarness();
    ~BoardHarness();
    BoardHarness(const BoardHarness&) = delete;
    BoardHarness& operator=(const BoardHarness&) = delete;

    // Lays out a game and starts it as the shell does after a load: 81
    // characters, a digit for a given, '.' for a cell to fill, then a reset
    // clock and StartGame.
    void StartGame(const char* layout);

    // The player, as the grid window hands the input over.
    void Click(int32_t cell);  // the selection part of a click, without the eraser
    void Type(char character) { board.HandleDigitKey(board.window, static_cast<unsigned char>(character)); }
    void Fill(int cell, char digit)
    {
        Click(cell);
        Type(digit);
    }
    void PressDelete() { board.HandleDeleteKey(board.window); }
    void EraseMark(int32_t cell, int32_t mark);  // an eraser click on that mark's place
    void Tick(unsigned count);

    // What the rules left on the platform.
    bool UndoEnabled() const;
    bool RedoEnabled() const;
    bool UndoMenuEnabled() const;
    bool RedoMenuEnabled() const;
    std::string ClockLabel() const;
    bool ClockTimerSet();
    bool GridHasFocus() const;

    std::vector<std::string> BoxTexts() const;
    int HistoryLength() const;

private:
    struct Platform;
    Platform* platform_;
};
