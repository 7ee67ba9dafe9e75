#include "document/DynamicCommands.h"

#include "document/CMyDoc.h"
#include "document/CommandIds.h"

#include <algorithm>

std::vector<PictureCommand> g_vecPictures;
std::vector<PlacementCommand> g_vecPlacements;
std::vector<CanvasSizeCommand> g_vecCanvasSizes;
std::vector<ShapeCommand> g_vecShapes;

namespace mc::document {

void FillPlacementTable()
{
    for (const int id : {ID_PLACEMENT_CENTER, ID_PLACEMENT_TILE, ID_PLACEMENT_STRETCH})
        g_vecPlacements.push_back({std::uint32_t(id)});
}

void FillShapeTable()
{
    for (int kind = 0; kind <= ID_SHAPE_LAST - ID_SHAPE_FIRST; ++kind)
        g_vecShapes.push_back({std::uint32_t(ID_SHAPE_FIRST + kind), kind});
}

void ClearDynamicTables()
{
    g_vecPictures.clear();
    g_vecPlacements.clear();
    g_vecCanvasSizes.clear();
    g_vecShapes.clear();
}

} // namespace mc::document

namespace {

// The index of the first entry carrying `id`, -1 when none does.
template <typename Table>
int find(const Table& table, int id)
{
    const auto it = std::find_if(table.begin(), table.end(), [id](const auto& e) { return e.id == std::uint32_t(id); });
    return it == table.end() ? -1 : int(it - table.begin());
}

} // namespace

bool CMyDoc::OnCmdMsg(int id, int code, CommandState* state)
{
    const bool command = code == kCommandCode;
    const bool update = code == kUpdateCode && state;
    bool checked = false;
    if (const int i = find(g_vecPictures, id); i >= 0) {
        if (command) {
            LoadBackground(g_vecPictures[i].path);
            m_nPredefined = i;
        }
        checked = i == m_nPredefined;
    } else if (const int j = find(g_vecPlacements, id); j >= 0) {
        if (command) {
            m_nPlacement = j;
            SetModifiedFlag(true);
            UpdateAllViews();
        }
        checked = j == m_nPlacement;
    } else if (const int k = find(g_vecCanvasSizes, id); k >= 0) {
        const CanvasSizeCommand& size = g_vecCanvasSizes[k];
        if (command) {
            m_bByDisplayScale = true;
            SetCanvasSize(size.width, size.height);
        }
        checked = size.width == m_nCanvasWidth && size.height == m_nCanvasHeight;
    } else if (const int s = find(g_vecShapes, id); s >= 0) {
        if (command) {
            Q_EMIT clearShapeRequested();
            m_nShape = g_vecShapes[s].kind;
            m_bCutStatus = true;
        }
        checked = g_vecShapes[s].kind == m_nShape;
    } else {
        return false;
    }
    if (update) {
        state->enabled = true;
        state->checked = checked;
    }
    return true;
}

bool CMyDoc::OnCommand(int id)
{
    return OnCmdMsg(id, kCommandCode, nullptr);
}

bool CMyDoc::OnUpdateCommand(int id, CommandState& state)
{
    return OnCmdMsg(id, kUpdateCode, &state);
}

bool CMyDoc::HandlesCommand(int id) const
{
    return find(g_vecPictures, id) >= 0 || find(g_vecPlacements, id) >= 0 || find(g_vecCanvasSizes, id) >= 0 ||
           find(g_vecShapes, id) >= 0;
}
