#pragma once
// Every numeric command ID of the program: menu items, toolbar buttons,
// accelerators and context-menu entries send these. The values are fixed:
// project files never store them, but menus, tests and the routing tables
// all agree on them.

enum CommandId : int {
    // File
    ID_ADD_IMAGE = 141,
    ID_SET_WALLPAPER_CENTERED = 192,
    ID_SET_WALLPAPER_TILED = 193,
    ID_SET_WALLPAPER_STRETCHED = 194,
    ID_SET_WALLPAPER_LEFT_ALIGN = 231,
    ID_SET_WALLPAPER_RIGHT_ALIGN = 232,
    ID_SET_WALLPAPER_TOP_ALIGN = 233,
    ID_SET_WALLPAPER_BOTTOM_ALIGN = 234,
    ID_DELETE_IMAGE = 162,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616, // recent files: 57616 .. 57631
    ID_FILE_MRU_LAST = 57631,
    ID_APP_EXIT = 57665,

    // Edit (item transforms)
    ID_CLONE = 171,
    ID_ZOOM_IN = 144,
    ID_ZOOM_OUT = 145,
    ID_ACTUAL_SIZE = 146,
    ID_CUSTOMIZE_SIZE = 147,
    ID_ROTATE_CLOCKWISE = 150,
    ID_ROTATE_COUNTER_CLOCKWISE = 151,
    ID_ROTATE_CLOCKWISE_X = 173,
    ID_ROTATE_COUNTER_CLOCKWISE_X = 174,
    ID_ROTATE_CLOCKWISE_90 = 175,
    ID_ROTATE_CLOCKWISE_180 = 176,
    ID_ROTATE_CLOCKWISE_270 = 177,
    ID_FLIP_HORIZONTAL = 154,
    ID_FLIP_VERTICAL = 155,
    ID_SHEAR_HORIZONTAL_CLOCKWISE = 156,
    ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE = 157,
    ID_SHEAR_VERTICAL_CLOCKWISE = 158,
    ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE = 159,
    ID_SEND_TO_BACK = 165,

    // Process (pixel effects)
    ID_GRAY = 183,
    ID_SEMITRANSPARENT = 184,
    ID_SET_SEMITRANSPARENCY = 185,
    ID_ERASE_BACKGROUND = 186,
    ID_SET_ERASE_EXTENT = 187,

    // Shape
    ID_CUT = 221,
    ID_RESTORE_ORIGINAL_IMAGE = 230,
    ID_CUT_STATUS = 252,
    ID_SHAPE_FIRST = 196, // shape kind k is command 196 + k
    ID_SHAPE_RECT = 196,
    ID_SHAPE_ROUND_RECT = 197,
    ID_SHAPE_DIAMOND = 198,
    ID_SHAPE_PARALLELOGRAM = 199,
    ID_SHAPE_ECHELON = 200,
    ID_SHAPE_ISOSCELES_TRIANGLE = 201,
    ID_SHAPE_RIGHT_ANGLE_TRIANGLE = 202,
    ID_SHAPE_PENTACLE = 203,
    ID_SHAPE_EIGHT_SQUARE = 204,
    ID_SHAPE_TEN_SQUARE = 205,
    ID_SHAPE_HEXAGON = 206,
    ID_SHAPE_OCTAGON = 207,
    ID_SHAPE_ELLIPSE = 208,
    ID_SHAPE_HEART = 209,
    ID_SHAPE_CRESCENT = 210,
    ID_SHAPE_CLOUD = 211,
    ID_SHAPE_GOMBOL = 212,
    ID_SHAPE_BLAST = 213,
    ID_SHAPE_LAST = 213,

    // Background
    ID_PICTURE_FROM_FILE = 130,
    ID_NO_PICTURE = 132,
    ID_PLACEMENT_CENTER = 133,
    ID_PLACEMENT_TILE = 134,
    ID_PLACEMENT_STRETCH = 135,
    ID_CUSTOMIZE_CANVAS_SIZE = 136,
    ID_SELECT_COLOR = 138,

    // View
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_REFRESH = 182,
    ID_FULL_SCREEN = 137,

    // Help
    ID_HELP_INDEX = 258,
    ID_VISIT_WEBSITE = 223,
    ID_APP_ABOUT = 57664,

    // Accelerators without a handler of the program's own
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,

    // Run-time commands (predefined pictures, then canvas-size presets) take
    // consecutive IDs from here.
    ID_FIRST_DYNAMIC = 400,
};

// Menu, toolbar and string resources referred to by number.
enum ResourceId : int {
    IDR_MAINFRAME = 128,       // menu bar, accelerators, icon, document strings
    IDR_WALLPAPER_MENU = 241,  // drop-down of the Set Wallpaper button
    IDR_TOOLBAR = 249,
    IDR_SHAPE_MENU = 251,      // drop-down of the Cut Status button
    IDR_ITEM_CONTEXT_MENU = 253,
    IDR_CANVAS_CONTEXT_MENU = 254,
    IDS_APP_TITLE = 57344,     // "Muralcrafter"
    IDS_IDLE_MESSAGE = 57345,  // "Ready"
};

// Status-bar panes: the message pane, then the keyboard indicators.
enum IndicatorId : int {
    ID_SEPARATOR = 0,
    ID_INDICATOR_EXT = 59136,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
    ID_INDICATOR_OVR = 59140,
    ID_INDICATOR_REC = 59141,
};

// Number of recent-file entries the File menu offers.
constexpr int kRecentFileCount = 4;
