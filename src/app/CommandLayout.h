#pragma once
// The command layout as data: every menu with its texts, IDs and separators,
// the accelerators, the toolbar's button order and the command strings
// (status-bar prompt, tooltip). The frame builds its widgets from these
// tables and the tests check the widgets against them.
#include <QKeySequence>
#include <QString>

#include <span>

namespace mc::app {

// One row of a menu table: a command, a separator, or the start or end of a
// submenu.
struct MenuRow {
    enum Kind { Item, Separator, Popup, End };
    Kind kind;
    int id;           // Item only
    const char* text; // Item and Popup
};

struct TopMenu {
    const char* text;
    std::span<const MenuRow> rows;
};

// The menu bar, left to right.
std::span<const TopMenu> MenuBarLayout();

// The popup resources 241, 251, 253 and 254 (rows of their first popup);
// empty for any other ID.
std::span<const MenuRow> PopupLayout(int resourceId);

struct Accelerator {
    QKeySequence keys;
    int id;
};
std::span<const Accelerator> Accelerators();

// Toolbar buttons left to right; 0 stands for a separator.
std::span<const int> ToolbarLayout();

// The string of a command: "prompt\ntooltip", or a prompt alone; empty when
// the command has none.
QString CommandString(int id);
// Its two halves.
QString CommandPrompt(int id);
QString CommandTooltip(int id);

} // namespace mc::app
