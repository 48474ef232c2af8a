#include "tests/play/board_harness.h"

#include "play/grid_geometry.h"

struct BoardHarness::Platform {
    HWND mainWindow;
    HWND toolbar;
    HWND label;
};

BoardHarness::BoardHarness() : board(grid, mask, marks), platform_(new Platform())
{
    headless::Reset();
    platform_->mainWindow = headless::MakeWindow(nullptr, 0);
    platform_->toolbar = headless::MakeWindow(platform_->mainWindow, kToolbarId);
    platform_->label = headless::MakeWindow(platform_->toolbar, kClockLabelId);
    board.window = headless::MakeWindow(platform_->mainWindow, 0);
    ToolbarWindow = platform_->toolbar;

    HMENU menu = headless::MenuOf(platform_->mainWindow);
    for (int command : {kUndoCommand, kRedoCommand}) {
        headless::AddMenuItem(menu, command, MF_GRAYED);
        headless::AddButton(platform_->toolbar, command, false);
    }

    headless::OnFocusLoss(board.window, [this] {
        RECT area;
        if (GridGeometry().CellRect(board.selectedCell, &area)) {
            board.selectedCell = kNoCell;
            InvalidateRect(board.window, &area, TRUE);
        }
    });
    headless::OnMessageBox([this](const headless::Event& event) {
        Box box{event.text, event.caption, event.window == board.window};
        boxes.push_back(box);
        if (duringBox)
            duringBox(box);
    });
    SetFocus(board.window);
    headless::ClearEvents();
}

BoardHarness::~BoardHarness()
{
    ToolbarWindow = nullptr;
    headless::Reset();
    delete platform_;
}

bool BoardHarness::UndoEnabled() const { return headless::ButtonEnabled(platform_->toolbar, kUndoCommand); }

bool BoardHarness::RedoEnabled() const { return headless::ButtonEnabled(platform_->toolbar, kRedoCommand); }

bool BoardHarness::UndoMenuEnabled() const
{
    return !(headless::MenuItemState(headless::MenuOf(platform_->mainWindow), kUndoCommand) & MF_GRAYED);
}

bool BoardHarness::RedoMenuEnabled() const
{
    return !(headless::MenuItemState(headless::MenuOf(platform_->mainWindow), kRedoCommand) & MF_GRAYED);
}

std::string BoardHarness::ClockLabel() const { return headless::WindowText(platform_->label); }

bool BoardHarness::ClockTimerSet() { return headless::TimerActive(board.window, 2); }

bool BoardHarness::GridHasFocus() const { return GetFocus() == board.window; }
