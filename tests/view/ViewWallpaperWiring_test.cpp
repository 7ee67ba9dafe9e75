// The Set Wallpaper commands reach the view: routed, enabled, carried out
// for the view's captured client area, failures shown as a message.
#include "view/CMyView.h"

#include "dialogs/CMessageBox.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "imaging/ImageIO.h"
#include "items/Card.h"
#include "platform/DesktopBackend.h"
#include "platform/KeyFileBackend.h"

#include "common/TestUtil.h"
#include "platform/EnvGuard.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ViewWallpaperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.set("MURALCRAFTER_DESKTOP", "file");
        CMyView::ResetFirstUpdate();
        mc::platform::DesktopSettings desktop;
        desktop.desktopColor = 0x00336699;
        doc = std::make_unique<CMyDoc>(desktop);
        view = std::make_unique<CMyView>(doc.get());
        view->resize(800, 600);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        previous = mc::dialogs::SetMessageHandler([this](const QString& text) { messages << text; });
    }
    void TearDown() override
    {
        mc::dialogs::SetMessageHandler(previous);
        QFile::remove(mc::platform::keyFileBackendPath());
    }

    EnvGuard env;
    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CMyView> view;
    QStringList messages;
    mc::dialogs::MessageHandler previous;
};

} // namespace

TEST_F(ViewWallpaperTest, TheSevenCommandsAreEnabledAndRouted)
{
    for (int id : {192, 193, 194, 231, 232, 233, 234}) {
        EXPECT_TRUE(view->HandlesCommand(id)) << id;
        CommandState state;
        EXPECT_FALSE(view->OnUpdateCommand(id, state)) << id; // no update handler: always enabled
    }
    doc->SetCanvasSize(600, 400);
    doc->SetModifiedFlag(false);
    const QString path = mctest::writeImage(mctest::freshDir(), "item.png", mctest::solidImage(20, 20, Qt::green));
    std::unique_ptr<Card> card = Card::CreateFromFile(path);
    ASSERT_NE(card, nullptr);
    // At canvas point (50, 50) of the canvas as the view centres it.
    const QPoint origin = view->Layer().CanvasRect().topLeft();
    card->m_ptCenter = origin + QPoint(50, 50);
    card->UpdateRegion();
    doc->m_listCards.AddHead(std::move(card));

    ASSERT_TRUE(view->OnCommand(ID_SET_WALLPAPER_CENTERED));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    const mc::platform::DesktopSettings s = mc::platform::KeyFileBackend().read();
    const QImage picture = mc::imaging::decodeImage(s.wallpaperPath);
    ASSERT_EQ(picture.size(), QSize(600, 400));
    EXPECT_EQ(picture.pixelColor(50, 50), QColor(Qt::green));
    EXPECT_EQ(picture.pixelColor(5, 5), mc::colorrefToColor(0x00336699));
    EXPECT_FALSE(doc->IsModified());

    ASSERT_TRUE(view->OnCommand(ID_SET_WALLPAPER_TILED));
    EXPECT_EQ(mc::platform::KeyFileBackend().read().tileWallpaper, "1");
}

TEST_F(ViewWallpaperTest, AnUnwritableDataFolderIsShownAsAMessage)
{
    // The data folder cannot be created: where it would go is a file.
    const QString base = mctest::freshDir();
    QFile blocker(base + "/muralcrafter");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    env.set("XDG_DATA_HOME", base.toUtf8());
    ASSERT_TRUE(view->OnCommand(ID_SET_WALLPAPER_STRETCHED));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("muralcrafter.bmp")) << messages[0].toStdString();
    EXPECT_TRUE(mc::platform::KeyFileBackend().read().wallpaperPath.isEmpty());
}
