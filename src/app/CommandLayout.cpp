#include "app/CommandLayout.h"

#include "document/CommandIds.h"

#include <array>

namespace mc::app {

namespace {

using R = MenuRow;
constexpr R sep{R::Separator, 0, nullptr};
constexpr R end{R::End, 0, nullptr};
constexpr R item(int id, const char* text) { return {R::Item, id, text}; }
constexpr R popup(const char* text) { return {R::Popup, 0, text}; }

constexpr R kFile[] = {
    item(ID_ADD_IMAGE, "&Add Image\tCtrl+I"),
    sep,
    item(ID_SET_WALLPAPER_STRETCHED, "Set &Wallpaper Stretched"),
    item(ID_SET_WALLPAPER_CENTERED, "Set Wallpaper &Centered"),
    item(ID_SET_WALLPAPER_TILED, "Set Wallpaper &Tiled"),
    item(ID_SET_WALLPAPER_LEFT_ALIGN, "Set Wallpaper &Left Align"),
    item(ID_SET_WALLPAPER_RIGHT_ALIGN, "Set Wallpaper &Right Align"),
    item(ID_SET_WALLPAPER_TOP_ALIGN, "Set Wallpaper &Top Align"),
    item(ID_SET_WALLPAPER_BOTTOM_ALIGN, "Set Wallpaper &Bottom Align"),
    sep,
    item(ID_DELETE_IMAGE, "&Delete Image"),
    sep,
    item(ID_FILE_NEW, "&New Project"),
    item(ID_FILE_OPEN, "&Open Project"),
    item(ID_FILE_SAVE, "&Save Project\tCtrl+S"),
    item(ID_FILE_SAVE_AS, "Save &As..."),
    sep,
    item(ID_FILE_MRU_FILE1, "Recent File"),
    sep,
    item(ID_APP_EXIT, "E&xit"),
};

constexpr R kEdit[] = {
    item(ID_EDIT_UNDO, "&Undo\tCtrl+Z"),
    item(ID_EDIT_REDO, "&Redo\tCtrl+Y"),
    sep,
    item(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
    item(ID_EDIT_COPY, "&Copy\tCtrl+C"),
    item(ID_EDIT_PASTE, "&Paste\tCtrl+V"),
    sep,
    item(ID_CLONE, "&Clone"),
    sep,
    item(ID_ZOOM_IN, "Zoom &In"),
    item(ID_ZOOM_OUT, "Zoom &Out"),
    item(ID_ACTUAL_SIZE, "&Actual Size"),
    item(ID_CUSTOMIZE_SIZE, "Customize &Size"),
    sep,
    item(ID_ROTATE_CLOCKWISE, "Rotate Clock&wise"),
    item(ID_ROTATE_COUNTER_CLOCKWISE, "Rotate Coun&ter Clockwise"),
    popup("Rotate &Degree"),
    item(ID_ROTATE_CLOCKWISE_X, "Clockwise X"),
    item(ID_ROTATE_COUNTER_CLOCKWISE_X, "Counter Clockwise X"),
    item(ID_ROTATE_CLOCKWISE_90, "Clockwise 90"),
    item(ID_ROTATE_CLOCKWISE_180, "Clockwise 180"),
    item(ID_ROTATE_CLOCKWISE_270, "Clockwise 270"),
    end,
    sep,
    item(ID_FLIP_HORIZONTAL, "&Flip Horizontal"),
    item(ID_FLIP_VERTICAL, "Flip &Vertical"),
    sep,
    item(ID_SHEAR_HORIZONTAL_CLOCKWISE, "Shear Horizontal Clockwise"),
    item(ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE, "Shear Horizontal Counter Clockwise"),
    item(ID_SHEAR_VERTICAL_CLOCKWISE, "Shear Vertical Clockwise"),
    item(ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE, "Shear Vertical Counter Clockwise"),
    sep,
    item(ID_SEND_TO_BACK, "Send to &Back"),
};

constexpr R kProcess[] = {
    item(ID_GRAY, "&Gray"),
    sep,
    item(ID_SEMITRANSPARENT, "&Semitransparent"),
    item(ID_SET_SEMITRANSPARENCY, "Set Semitransparen&cy"),
    sep,
    item(ID_ERASE_BACKGROUND, "&Erase Concolorous Background"),
    item(ID_SET_ERASE_EXTENT, "Set Erase Multicolor Background E&xtent"),
};

#define MC_SHAPE_ROWS                                                                   \
    item(ID_SHAPE_RECT, "Rect"), item(ID_SHAPE_ROUND_RECT, "RoundRect"),                \
        item(ID_SHAPE_DIAMOND, "Diamond"), item(ID_SHAPE_PARALLELOGRAM, "Parallelogram"), \
        item(ID_SHAPE_ECHELON, "Echelon"), item(ID_SHAPE_ISOSCELES_TRIANGLE, "IsocelesTriangle"), \
        item(ID_SHAPE_RIGHT_ANGLE_TRIANGLE, "RightangleTriangle"), sep,                 \
        item(ID_SHAPE_PENTACLE, "Pentacle"), item(ID_SHAPE_EIGHT_SQUARE, "EightSquare"), \
        item(ID_SHAPE_TEN_SQUARE, "TenSquare"), item(ID_SHAPE_HEXAGON, "Hexagon"),      \
        item(ID_SHAPE_OCTAGON, "Octagon"), sep, item(ID_SHAPE_ELLIPSE, "Ellipe"),       \
        item(ID_SHAPE_HEART, "Heart"), item(ID_SHAPE_CRESCENT, "Crescent"),             \
        item(ID_SHAPE_CLOUD, "Cloud"), item(ID_SHAPE_GOMBOL, "Gombol"), item(ID_SHAPE_BLAST, "Blast")

constexpr R kShape[] = {
    item(ID_CUT, "Cut"),
    item(ID_RESTORE_ORIGINAL_IMAGE, "Restore Original Image"),
    item(ID_CUT_STATUS, "Cut Status"),
    sep,
    MC_SHAPE_ROWS,
};

constexpr R kBackground[] = {
    item(ID_PICTURE_FROM_FILE, "&Picture From File ..."),
    popup("&Windows Predefined Picture"),
    sep, // placeholder until the predefined pictures are listed
    end,
    item(ID_NO_PICTURE, "No Picture"),
    item(ID_SELECT_COLOR, "&Select Color"),
    sep,
    item(ID_PLACEMENT_CENTER, "&Center"),
    item(ID_PLACEMENT_TILE, "&Tile"),
    item(ID_PLACEMENT_STRETCH, "St&retch"),
    sep,
    item(ID_CUSTOMIZE_CANVAS_SIZE, "C&ustomize Canvas Size"),
};

constexpr R kView[] = {
    item(ID_VIEW_TOOLBAR, "&Toolbar"),
    item(ID_VIEW_STATUS_BAR, "&Status Bar"),
    sep,
    item(ID_REFRESH, "&Refresh\tF5"),
    sep,
    item(ID_FULL_SCREEN, "&Full Screen\tDouble Click"),
};

constexpr R kHelp[] = {
    item(ID_HELP_INDEX, "&Help\tF1"),
    sep,
    item(ID_VISIT_WEBSITE, "&Visit Website"),
    sep,
    item(ID_APP_ABOUT, "&About Muralcrafter..."),
};

constexpr TopMenu kMenuBar[] = {
    {"&File", kFile},         {"&Edit", kEdit},         {"Process", kProcess}, {"Shape", kShape},
    {"&Background", kBackground}, {"&View", kView}, {"&Help", kHelp},
};

constexpr R kWallpaperMenu[] = {
    item(ID_SET_WALLPAPER_STRETCHED, "Stretched"),
    item(ID_SET_WALLPAPER_CENTERED, "Centered"),
    item(ID_SET_WALLPAPER_TILED, "Tiled"),
    sep,
    item(ID_SET_WALLPAPER_LEFT_ALIGN, "Left Align"),
    item(ID_SET_WALLPAPER_RIGHT_ALIGN, "Right Align"),
    item(ID_SET_WALLPAPER_TOP_ALIGN, "Top Align"),
    item(ID_SET_WALLPAPER_BOTTOM_ALIGN, "Bottom Align"),
};

constexpr R kShapeMenu[] = {MC_SHAPE_ROWS};

#define MC_SET_WALLPAPER_POPUP                                                                           \
    popup("Set Wallpaper"), item(ID_SET_WALLPAPER_STRETCHED, "Stretched"),                              \
        item(ID_SET_WALLPAPER_CENTERED, "Centered"), item(ID_SET_WALLPAPER_TILED, "Tiled"),             \
        item(ID_SET_WALLPAPER_LEFT_ALIGN, "Left Align"), item(ID_SET_WALLPAPER_RIGHT_ALIGN, "Right Align"), \
        item(ID_SET_WALLPAPER_TOP_ALIGN, "Top Align"), item(ID_SET_WALLPAPER_BOTTOM_ALIGN, "Bottom Align"), end

constexpr R kItemContext[] = {
    item(ID_ADD_IMAGE, "&Add Image\tCtrl+I"),
    MC_SET_WALLPAPER_POPUP,
    item(ID_DELETE_IMAGE, "&Delete Image"),
    sep,
    item(ID_CLONE, "&Clone"),
    item(ID_ZOOM_IN, "Zoom &In"),
    item(ID_ZOOM_OUT, "Zoom &Out"),
    item(ID_ROTATE_CLOCKWISE, "Rotate Clock&wise"),
    item(ID_ROTATE_COUNTER_CLOCKWISE, "Rotate Coun&ter Clockwise"),
    popup("More..."),
    item(ID_ACTUAL_SIZE, "&Actual Size"),
    item(ID_CUSTOMIZE_SIZE, "Customize &Size"),
    sep,
    item(ID_ROTATE_CLOCKWISE_X, "Clockwise X"),
    item(ID_ROTATE_COUNTER_CLOCKWISE_X, "Counter Clockwise X"),
    item(ID_ROTATE_CLOCKWISE_90, "Clockwise 90"),
    item(ID_ROTATE_CLOCKWISE_180, "Clockwise 180"),
    item(ID_ROTATE_CLOCKWISE_270, "Clockwise 270"),
    sep,
    item(ID_FLIP_HORIZONTAL, "&Flip Horizontal"),
    item(ID_FLIP_VERTICAL, "Flip &Vertical"),
    sep,
    item(ID_SHEAR_HORIZONTAL_CLOCKWISE, "Shear Horizontal Clockwise"),
    item(ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE, "Shear Horizontal Counter Clockwise"),
    item(ID_SHEAR_VERTICAL_CLOCKWISE, "Shear Vertical Clockwise"),
    item(ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE, "Shear Vertical Counter Clockwise"),
    end,
    item(ID_SEND_TO_BACK, "Send to &Back"),
    sep,
    item(ID_CUT, "Cut"),
    item(ID_RESTORE_ORIGINAL_IMAGE, "Restore Original Image"),
    item(ID_CUT_STATUS, "Cut Status"),
    popup("Shape"),
    MC_SHAPE_ROWS,
    end,
    sep,
    item(ID_GRAY, "&Gray"),
    item(ID_SEMITRANSPARENT, "&Semitransparent"),
    item(ID_SET_SEMITRANSPARENCY, "Set Semitransparen&cy"),
    item(ID_ERASE_BACKGROUND, "&Erase Concolorous Background"),
    item(ID_SET_ERASE_EXTENT, "Set Erase Multicolor Background &Level"),
    sep,
    item(ID_REFRESH, "&Refresh\tF5"),
    item(ID_FULL_SCREEN, "&Full Screen\tDouble Click"),
};

constexpr R kCanvasContext[] = {
    item(ID_ADD_IMAGE, "&Add Image\tCtrl+I"),
    MC_SET_WALLPAPER_POPUP,
    sep,
    item(ID_REFRESH, "&Refresh\tF5"),
    item(ID_FULL_SCREEN, "&Full Screen\tDouble Click"),
};

#undef MC_SHAPE_ROWS
#undef MC_SET_WALLPAPER_POPUP

constexpr int kToolbar[] = {
    ID_ADD_IMAGE, ID_DELETE_IMAGE, ID_FILE_SAVE, ID_SET_WALLPAPER_STRETCHED, 0,
    ID_ZOOM_IN, ID_ZOOM_OUT, ID_ROTATE_CLOCKWISE, ID_ROTATE_COUNTER_CLOCKWISE, ID_CLONE, 0,
    ID_CUT_STATUS, ID_CUT, ID_RESTORE_ORIGINAL_IMAGE, 0,
    ID_GRAY, ID_SEMITRANSPARENT, 0,
    ID_REFRESH, ID_FULL_SCREEN,
};

struct CommandText {
    int id;
    const char* text;
};

constexpr CommandText kStrings[] = {
    {ID_FULL_SCREEN, "Full Screen\nFull Screen"},
    {ID_ADD_IMAGE, "Add Image\nAdd Image"},
    {ID_ZOOM_IN, "Zoom in\nZoom in"},
    {ID_ZOOM_OUT, "Zoom out\nZoom out"},
    {ID_ROTATE_CLOCKWISE, "Rotate Clockwise\nRotate Clockwise"},
    {ID_ROTATE_COUNTER_CLOCKWISE, "Rotate Counter Clockwise\nRotate Counter Clockwise"},
    {ID_DELETE_IMAGE, "Delete Image\nDelete Image"},
    {ID_CLONE, "Clone Image\nClone Image"},
    {ID_REFRESH, "Refresh\nRefresh"},
    {ID_GRAY, "Gray Image\nGray Image"},
    {ID_SEMITRANSPARENT, "Semitransparent\nSemitransparent"},
    {ID_SET_WALLPAPER_STRETCHED, "Set Wallpaper\nSet Wallpaper"},
    {ID_CUT, "Cut\nCut"},
    {ID_RESTORE_ORIGINAL_IMAGE, "Restore Original Image\nRestore Original Image"},
    {ID_CUT_STATUS, "Cut Status\nCut Status"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave Project"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
};

} // namespace

std::span<const TopMenu> MenuBarLayout()
{
    return kMenuBar;
}

std::span<const MenuRow> PopupLayout(int resourceId)
{
    switch (resourceId) {
    case IDR_WALLPAPER_MENU:
        return kWallpaperMenu;
    case IDR_SHAPE_MENU:
        return kShapeMenu;
    case IDR_ITEM_CONTEXT_MENU:
        return kItemContext;
    case IDR_CANVAS_CONTEXT_MENU:
        return kCanvasContext;
    default:
        return {};
    }
}

std::span<const Accelerator> Accelerators()
{
    static const std::array<Accelerator, 19> table = {{
        {QKeySequence(Qt::CTRL | Qt::Key_I), ID_ADD_IMAGE},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::Key_F5), ID_REFRESH},
        {QKeySequence(Qt::Key_F1), ID_HELP_INDEX},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), ID_EDIT_REDO},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ID_EDIT_REDO},
        {QKeySequence(Qt::Key_Delete), ID_DELETE_IMAGE},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
    }};
    return table;
}

std::span<const int> ToolbarLayout()
{
    return kToolbar;
}

QString CommandString(int id)
{
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
        return QStringLiteral("Open this document");
    for (const CommandText& entry : kStrings)
        if (entry.id == id)
            return QString::fromLatin1(entry.text);
    return {};
}

QString CommandPrompt(int id)
{
    return CommandString(id).section(QLatin1Char('\n'), 0, 0);
}

QString CommandTooltip(int id)
{
    const QString text = CommandString(id);
    return text.contains(QLatin1Char('\n')) ? text.section(QLatin1Char('\n'), 1) : QString();
}

} // namespace mc::app
