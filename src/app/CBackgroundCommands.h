#pragma once
// The project's background and canvas commands, routed at the document
// level: Picture From File, No Picture, Select Color, Customize Canvas Size
// and the Cut Status toggle. The placements, like the other run-time
// command tables, are the document's own (CMyDoc::OnCmdMsg).
#include "document/CommandTarget.h"

#include <functional>
#include <optional>

class CMyDoc;
class CMyView;

class CBackgroundCommands : public CommandTarget {
public:
    CBackgroundCommands(CMyDoc* doc, CMyView* view);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // The canvas size dialog's answer: width, height and the scale box.
    struct CanvasSizeAnswer {
        int width;
        int height;
        bool byDisplayScale;
    };
    // Runs the dialog for (width, height, byDisplayScale); nullopt when
    // cancelled. Replaceable for tests.
    using CanvasSizeAsker = std::function<std::optional<CanvasSizeAnswer>(int, int, bool)>;
    void SetCanvasSizeAsker(CanvasSizeAsker ask) { m_askCanvasSize = std::move(ask); }

    void OnPictureFromFile();
    void OnNoPicture();
    void OnSelectColor();
    void OnCustomizeCanvasSize();
    void OnCutStatus();

    // The filter of the Picture From File dialog.
    static const char* const kPictureFilter;

private:
    CMyDoc* m_pDoc;
    CMyView* m_pView;
    CanvasSizeAsker m_askCanvasSize;
};
