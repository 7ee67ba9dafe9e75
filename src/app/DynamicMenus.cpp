#include "app/DynamicMenus.h"

#include "app/CMainFrame.h"
#include "document/CommandIds.h"
#include "document/DynamicCommands.h"
#include "document/PredefinedPictures.h"
#include "platform/PredefinedFolders.h"
#include "platform/Screen.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

// The "&Background" popup: the last top-level popup whose first item is
// "&Picture From File ...".
QMenu* backgroundMenu(const CMainFrame& frame)
{
    const QList<QAction*> tops = frame.menuBar()->actions();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        QMenu* menu = (*it)->menu();
        if (menu && !menu->actions().isEmpty() && CMainFrame::CommandIdOf(menu->actions().first()) == ID_PICTURE_FROM_FILE)
            return menu;
    }
    return nullptr;
}

// File names may hold "&", which a menu would take for a mnemonic.
QString menuText(const QString& title)
{
    QString text = title;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void BuildDynamicMenus(CMainFrame& frame)
{
    BuildDynamicMenus(frame, mc::platform::systemWallpaperDirectory(), mc::platform::tileDirectory(),
                      mc::platform::screenSize());
}

void BuildDynamicMenus(CMainFrame& frame, const QString& wallpaperDir, const QString& tileDir, QSize screen)
{
    mc::document::ClearDynamicTables();
    QMenu* background = backgroundMenu(frame);
    QMenu* pictures = nullptr;
    if (background && background->actions().size() > 1)
        pictures = background->actions().at(1)->menu();
    if (pictures && !pictures->actions().isEmpty())
        delete pictures->actions().first(); // the resource's placeholder
    std::uint32_t counter = ID_FIRST_DYNAMIC;

    const auto addPictures = [&](const std::vector<mc::document::PredefinedPicture>& list) {
        for (const mc::document::PredefinedPicture& picture : list) {
            g_vecPictures.push_back({counter, picture.path});
            if (pictures)
                frame.InsertCommandItem(pictures, nullptr, int(counter), menuText(picture.title));
            ++counter;
        }
    };
    if (!wallpaperDir.isEmpty()) {
        addPictures(mc::document::ListWallpaperPictures(wallpaperDir));
        if (pictures && !pictures->actions().isEmpty())
            pictures->addSeparator();
    }
    addPictures(mc::document::ListTilePictures(tileDir));

    mc::document::FillPlacementTable();

    QAction* customize = frame.MenuAction(ID_CUSTOMIZE_CANVAS_SIZE);
    if (!background || !background->actions().contains(customize))
        customize = nullptr; // appended at the end instead
    for (const QSize size : mc::document::CanvasSizePresets(screen)) {
        g_vecCanvasSizes.push_back({counter, size.width(), size.height()});
        if (background)
            frame.InsertCommandItem(background, customize, int(counter),
                                    QStringLiteral("Canvas Size: %1x%2").arg(size.width()).arg(size.height()));
        ++counter;
    }

    mc::document::FillShapeTable();
}
