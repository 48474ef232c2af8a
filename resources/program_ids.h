// Every id the program's menu, toolbar, windows, resources and timers share.
// The resource script reads the #defines (windres defines RC_INVOKED); the
// program and the tests use the C++ names below them.
#ifndef NONARO_PROGRAM_IDS_H
#define NONARO_PROGRAM_IDS_H

// Commands, sent alike by the menu items and the toolbar buttons.
#define IDM_NEW_GAME 1000
#define IDM_SOLUTION 1001
#define IDM_OPEN 1002
#define IDM_SAVE 1003
#define IDM_PRINT 1004
#define IDM_QUIT 1005
#define IDM_UNDO 1010
#define IDM_REDO 1011
#define IDM_EASY_LEVEL 1020
#define IDM_MEDIUM_LEVEL 1021
#define IDM_HARD_LEVEL 1022
#define IDM_PEN 1030
#define IDM_PENCIL 1031
#define IDM_ERASER 1032
#define IDM_ABOUT 1040

// Resources.
#define IDR_MAIN_MENU 100
#define IDR_SHORTCUTS 101
#define IDB_TOOLBAR 200
#define IDB_PEN_SELECTION 201
#define IDB_PENCIL_SELECTION 202
// The toolbar pictures' strokes, from the same pixel maps, which the
// program draws in a contrast theme's colours.
#define IDB_TOOLBAR_STROKES 203
#define IDI_PROGRAM 210
#define IDR_ERASER_CURSOR 220

// Child windows. The solution window's cells are numbered upward from its
// first id, one per cell; they never share a parent with the toolbar.
#define IDC_CLOCK_LABEL 2000
#define IDC_TOOLBAR 4000
#define IDC_FIRST_SOLUTION_CELL 4000

// The grid window's timers and their periods, in milliseconds.
#define IDT_BLINK 1
#define IDT_CLOCK 2
#define BLINK_PERIOD 500
#define CLOCK_PERIOD 1000

#ifndef RC_INVOKED
enum CommandId {
    kNewGameCommand = IDM_NEW_GAME,
    kSolutionCommand = IDM_SOLUTION,
    kOpenCommand = IDM_OPEN,
    kSaveCommand = IDM_SAVE,
    kPrintCommand = IDM_PRINT,
    kQuitCommand = IDM_QUIT,
    kUndoCommand = IDM_UNDO,
    kRedoCommand = IDM_REDO,
    kEasyLevelCommand = IDM_EASY_LEVEL,
    kMediumLevelCommand = IDM_MEDIUM_LEVEL,
    kHardLevelCommand = IDM_HARD_LEVEL,
    kPenCommand = IDM_PEN,
    kPencilCommand = IDM_PENCIL,
    kEraserCommand = IDM_ERASER,
    kAboutCommand = IDM_ABOUT,
};

const int kMainMenuId = IDR_MAIN_MENU;
const int kShortcutsId = IDR_SHORTCUTS;
const int kToolbarBitmapId = IDB_TOOLBAR;
const int kPenPatternId = IDB_PEN_SELECTION;
const int kPencilPatternId = IDB_PENCIL_SELECTION;
const int kToolbarStrokesId = IDB_TOOLBAR_STROKES;
const int kProgramIconId = IDI_PROGRAM;
const int kEraserCursorId = IDR_ERASER_CURSOR;

const int kClockLabelId = IDC_CLOCK_LABEL;
const int kToolbarId = IDC_TOOLBAR;
const int kFirstSolutionCellId = IDC_FIRST_SOLUTION_CELL;

const unsigned kBlinkTimer = IDT_BLINK;
const unsigned kClockTimer = IDT_CLOCK;
const unsigned kBlinkPeriod = BLINK_PERIOD;
const unsigned kClockPeriod = CLOCK_PERIOD;

// The window classes, by which the program's windows are made and found.
const char kMainClassName[] = "Nonarov2App";
const char kGridClassName[] = "WndGridClass";
const char kSolutionClassName[] = "NonaroSolutionClass";
#endif

#endif
