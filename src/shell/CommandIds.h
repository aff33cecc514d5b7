#pragma once

// Command IDs of the menu (IDM_), of the toolbars (IDT_) and of keys
// (IDK_), and the control IDs of the bars' edits and up-downs. Every command
// reaches CEditorFrame::OnCommand with one of these.

// Menu.
inline constexpr int IDM_HELP_ABOUT = 40001;
inline constexpr int IDM_FILE_NEW = 40002;
inline constexpr int IDM_FILE_LOAD = 40003;
inline constexpr int IDM_FILE_SAVE = 40004;
inline constexpr int IDM_FILE_EXIT = 40005;
inline constexpr int IDM_HELP_TIPS = 40006;
inline constexpr int IDM_FILE_SAVE_AS = 40016;
inline constexpr int IDM_FILE_SECURITY = 40017;
inline constexpr int IDM_FILE_REORDER = 40019;
// Edit menu: enabled only while there is a step to undo or redo, so they
// are not among kMenuCommands below.
inline constexpr int IDM_EDIT_UNDO = 40020;
inline constexpr int IDM_EDIT_REDO = 40021;

// Level menu.
inline constexpr int IDM_LEVEL_ADD = 0x4500;
inline constexpr int IDM_LEVEL_DELETE = 0x4501;
// Help menu, beside Tips and About.
inline constexpr int IDM_HELP_GUIDE = 0x4502;
inline constexpr int IDM_HELP_SHORTCUTS = 0x4503;
// Levels and pictures: View > Problems; Level > Duplicate Level, Copy
// Level, Paste Level, Level Size...; File > Import Terrain Image..., Export
// Level Image..., Export All Levels...
inline constexpr int IDM_VIEW_PROBLEMS = 0x4400;
inline constexpr int IDM_LEVEL_DUPLICATE = 0x4401;
inline constexpr int IDM_LEVEL_COPY = 0x4402;
inline constexpr int IDM_LEVEL_PASTE = 0x4403;
inline constexpr int IDM_LEVEL_SIZE = 0x4404;
inline constexpr int IDM_FILE_IMPORT_IMAGE = 0x4405;
inline constexpr int IDM_FILE_EXPORT_IMAGE = 0x4406;
inline constexpr int IDM_FILE_EXPORT_ALL = 0x4407;
// View menu: the canvas's zoom and grid.
inline constexpr int IDM_VIEW_ZOOM_IN = 0x4200;
inline constexpr int IDM_VIEW_ZOOM_OUT = 0x4201;
inline constexpr int IDM_VIEW_ACTUAL_SIZE = 0x4202;
inline constexpr int IDM_VIEW_FIT_LEVEL = 0x4203;
inline constexpr int IDM_VIEW_SHOW_GRID = 0x4204;
// View menu: the overview dock, classic colours and the calculator screen's
// frame over the canvas.
inline constexpr int IDM_VIEW_OVERVIEW = 0x4280;
inline constexpr int IDM_VIEW_CLASSIC_COLOURS = 0x4281;
inline constexpr int IDM_VIEW_CALCULATOR_SCREEN = 0x4282;
// File menu items of the desktop integration.
inline constexpr int IDM_FILE_SEND_TO_CALCULATOR = 0x4300;

// Object toolbar, in the order of its buttons: population, entrance, exit,
// metal block, remove last block, reset level.
inline constexpr int IDT_POPULATION = 0x4004;
inline constexpr int IDT_PLACE_ENTRANCE = 0x4005;
inline constexpr int IDT_PLACE_EXIT = 0x4006;
inline constexpr int IDT_REMOVE_BLOCK = 0x4007;
inline constexpr int IDT_PLACE_BLOCK = 0x4008;
inline constexpr int IDT_RESET_LEVEL = 0x4009;

// Pen toolbar.
inline constexpr int IDT_PEN_SMALL_BLACK = 0x400C;
inline constexpr int IDT_PEN_LARGE_BLACK = 0x400D;
inline constexpr int IDT_PEN_SMALL_WHITE = 0x400E;
inline constexpr int IDT_PEN_LARGE_WHITE = 0x400F;

// Bar IDs.
inline constexpr int IDB_LEVEL_NUMBER_BAR = 0x4000;
inline constexpr int IDB_LEVEL_NAME_BAR = 0x4001;
inline constexpr int IDB_PASSCODE_BAR = 0x4010;
inline constexpr int IDB_RESIZE_BAR = 0x4011;

// Controls of the bars.
inline constexpr int IDC_LEVEL_NUMBER = 1013;       // read-only number edit
inline constexpr int IDC_LEVEL_NUMBER_SPIN = 1014;  // its up-down
inline constexpr int IDC_LEVEL_NAME = 1015;
inline constexpr int IDC_PASSCODE = 1024;
inline constexpr int IDC_RESIZE_WIDTH = 1046;   // horizontal up-down
inline constexpr int IDC_RESIZE_HEIGHT = 1047;  // vertical up-down

// The edit notification that OnCommand acts on (high word of the command).
inline constexpr int EN_CHANGE_CODE = 0x0300;

// All menu commands that are always enabled, in menu order, and all toolbar
// commands, in bar order.
inline constexpr int kMenuCommands[] = {
    IDM_FILE_NEW,  IDM_FILE_SAVE,     IDM_FILE_SAVE_AS,
    IDM_FILE_LOAD, IDM_FILE_SECURITY, IDM_FILE_REORDER,
    IDM_FILE_EXIT, IDM_HELP_TIPS,     IDM_HELP_ABOUT};
inline constexpr int kObjectBarCommands[] = {
    IDT_POPULATION,  IDT_PLACE_ENTRANCE, IDT_PLACE_EXIT,
    IDT_PLACE_BLOCK, IDT_REMOVE_BLOCK,   IDT_RESET_LEVEL};
inline constexpr int kPenBarCommands[] = {
    IDT_PEN_SMALL_BLACK, IDT_PEN_LARGE_BLACK, IDT_PEN_SMALL_WHITE,
    IDT_PEN_LARGE_WHITE};

// The tool bar after the six bars, in the order of its buttons: line,
// rectangle, filled rectangle, ellipse, filled ellipse, fill, selection,
// object mover. Check buttons: the tool in force is the checked one.
inline constexpr int IDT_TOOL_LINE = 0x4100;
inline constexpr int IDT_TOOL_RECTANGLE = 0x4101;
inline constexpr int IDT_TOOL_FILLED_RECTANGLE = 0x4102;
inline constexpr int IDT_TOOL_ELLIPSE = 0x4103;
inline constexpr int IDT_TOOL_FILLED_ELLIPSE = 0x4104;
inline constexpr int IDT_TOOL_FILL = 0x4105;
inline constexpr int IDT_TOOL_SELECT = 0x4106;
inline constexpr int IDT_TOOL_MOVE_OBJECT = 0x4107;
inline constexpr int IDB_TOOL_BAR = 0x4108;

// Keys without a button or menu item: swap the pen's black and white, make
// it small or large, and Escape (drop a shape being dragged or a floating
// selection, end a placement).
inline constexpr int IDK_PEN_SWAP_COLOUR = 0x4110;
inline constexpr int IDK_PEN_SMALL = 0x4111;
inline constexpr int IDK_PEN_LARGE = 0x4112;
inline constexpr int IDK_CANCEL = 0x4113;

// Edit menu: the selection and the clipboard.
inline constexpr int IDM_EDIT_CUT = 0x4120;
inline constexpr int IDM_EDIT_COPY = 0x4121;
inline constexpr int IDM_EDIT_PASTE = 0x4122;
inline constexpr int IDM_EDIT_DELETE = 0x4123;
inline constexpr int IDM_EDIT_SELECT_ALL = 0x4124;
inline constexpr int IDM_EDIT_FLIP_HORIZONTAL = 0x4125;
inline constexpr int IDM_EDIT_FLIP_VERTICAL = 0x4126;

inline constexpr int kToolBarCommands[] = {
    IDT_TOOL_LINE,    IDT_TOOL_RECTANGLE,      IDT_TOOL_FILLED_RECTANGLE,
    IDT_TOOL_ELLIPSE, IDT_TOOL_FILLED_ELLIPSE, IDT_TOOL_FILL,
    IDT_TOOL_SELECT,  IDT_TOOL_MOVE_OBJECT};
