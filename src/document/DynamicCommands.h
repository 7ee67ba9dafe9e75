#pragma once
// The commands made at run time: predefined pictures, the three placements,
// the canvas-size presets and the eighteen shapes. The tables are filled
// once, when the main window is first activated, and only read afterwards;
// CMyDoc::OnCmdMsg looks every command up in them before the ordinary
// routing. The position of an entry in its table is its index.
#include <QString>

#include <cstdint>
#include <vector>

struct PictureCommand {
    std::uint32_t id;
    QString path;
};
struct PlacementCommand {
    std::uint32_t id; // the index is the placement value
};
struct CanvasSizeCommand {
    std::uint32_t id;
    std::int32_t width;
    std::int32_t height;
};
struct ShapeCommand {
    std::uint32_t id;
    std::int32_t kind;
};

extern std::vector<PictureCommand> g_vecPictures;
extern std::vector<PlacementCommand> g_vecPlacements;
extern std::vector<CanvasSizeCommand> g_vecCanvasSizes;
extern std::vector<ShapeCommand> g_vecShapes;

namespace mc::document {

// The fixed tables: placements 133..135 and shapes (196 + i, i).
void FillPlacementTable();
void FillShapeTable();

// Empties all four tables (tests start each case as a fresh run).
void ClearDynamicTables();

} // namespace mc::document
