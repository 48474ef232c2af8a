#pragma once

// Command ids, sent alike by the menu items and the toolbar buttons.
enum CommandId {
    kNewGameCommand = 1000,
    kSolutionCommand = 1001,
    kOpenCommand = 1002,
    kSaveCommand = 1003,
    kPrintCommand = 1004,
    kQuitCommand = 1005,
    kUndoMenuCommand = 1010,
    kRedoMenuCommand = 1011,
    kEasyLevelCommand = 1020,
    kMediumLevelCommand = 1021,
    kHardLevelCommand = 1022,
    kPenCommand = 1030,
    kPencilCommand = 1031,
    kEraserCommand = 1032,
    kAboutCommand = 1040,
};

// Resource ids.
const int kMainMenuId = 100;
const int kToolbarBitmapId = 200;
const int kProgramIconId = 210;

// The " Outils " popup's position on the menu bar: it is enabled by position.
const int kToolsMenuPosition = 2;
