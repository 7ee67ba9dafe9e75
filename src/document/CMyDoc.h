#pragma once
// The project: canvas size, background (colour, optional picture and its
// placement), the item stack and the view-steering state (shape, cut status,
// the canvas dialog's scale preference).
#include "document/CardList.h"
#include "document/CommandTarget.h"
#include "document/ProjectHistory.h"
#include "imaging/Colors.h"
#include "platform/DesktopBackend.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

enum Placement : int {
    PLACEMENT_CENTER = 0,
    PLACEMENT_TILE = 1,
    PLACEMENT_STRETCH = 2,
};

class CMyDoc : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // A project on the given desktop: its wallpaper, placement and colour
    // become the background, the screen size the canvas.
    explicit CMyDoc(const mc::platform::DesktopSettings& desktop, QObject* parent = nullptr);
    ~CMyDoc() override;

    // Placement from the desktop's "TileWallpaper" and "WallpaperStyle".
    static int PlacementFromDesktop(const QString& tileWallpaper, const QString& wallpaperStyle);

    // Sets (or with an empty path clears) the background picture and chooses
    // the placement from its size; marks modified and updates the views.
    void LoadBackground(const QString& path);

    // Stores the canvas size, marks modified and updates the views.
    void SetCanvasSize(int width, int height);

    // New Project: empties the item list; background, canvas, colour and the
    // view-steering state stay. Clears the modified flag and the path (the
    // project is "Untitled" again). Always succeeds.
    bool OnNewDocument();

    // Destroys every item and tells the views that no item is current
    // (cardsCleared is emitted after the list is emptied).
    void DeleteAllCards();

    // True when there is a picture to draw: m_pBkImage set and decodable.
    bool HasBackgroundPicture() const { return m_pBkImage && !m_pBkImage->isNull(); }

    // The modified flag, path and title of the project. modifiedChanged is
    // emitted only when the flag actually changes. Clearing it makes the
    // present state the undo history's clean point; after each step the flag
    // says whether the project differs from that point.
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path); // also sets the title
    // The file name of the project, or "Untitled" before the first save.
    QString GetTitle() const;

    // Asks every view to rebuild its background layer and repaint.
    void UpdateAllViews();

    // Undo history. New and Open start it afresh from the project as it is.
    void ResetHistory();
    // The item current just before a change (null or not an item: none).
    void NoteCurrentCard(const Card* current);
    // After a change: records it as one step named `label` when the project
    // differs from the last state; the modified flag follows. True when a
    // step was added. `merge` joins a burst of changes into one step
    // (ProjectHistory::Record).
    bool RecordStep(const QString& label, const Card* current, bool merge = false);
    // Undo (or redo) one step: `area` is what to repaint in view
    // coordinates (the views rebuild everything themselves when the
    // background or canvas changed), `currentId` the item now current.
    bool StepHistory(bool redo, QRegion& area, quint64& currentId);
    const mc::document::ProjectHistory& History() const { return m_history; }

    // The run-time commands (DynamicCommands.h): claims `id` when one of the
    // tables holds it. Code kCommandCode carries the command out,
    // kUpdateCode fills `state` (enabled, check mark), any other code does
    // nothing; a claimed id answers true in every case. False leaves the
    // command to the ordinary routing.
    static constexpr int kCommandCode = 0;
    static constexpr int kUpdateCode = -1;
    bool OnCmdMsg(int id, int code, CommandState* state);

    // The document level of the main window's routing asks OnCmdMsg first.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // Fields, in declaration order.
    CardList m_listCards;
    // The decoded background picture; null = no picture. A project started
    // on a desktop whose wallpaper cannot be decoded holds a null QImage
    // here: a picture that draws nothing (the colour is not drawn either
    // for Tile and Stretch), as opposed to no picture at all.
    std::unique_ptr<QImage> m_pBkImage;
    QString m_strBkPath;
    int m_nPredefined = -1;
    int m_nPlacement = PLACEMENT_STRETCH;
    int m_nCanvasWidth = 0;
    int m_nCanvasHeight = 0;
    mc::COLORREF m_crBkColor = 0;
    int m_nShape = 1;
    bool m_bCutStatus = false;
    bool m_bByDisplayScale = true;

Q_SIGNALS:
    // The background or canvas changed: views rebuild and repaint.
    void updated();
    // The item list was emptied: views drop their current item.
    void cardsCleared();
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    // A shape was chosen: the view removes its shape outline.
    void clearShapeRequested();

private:
    quint64 idOf(const Card* card) const;
    void setModified(bool modified);

    mc::document::ProjectHistory m_history;
    bool m_bModified = false;
    QString m_strPathName;
};
