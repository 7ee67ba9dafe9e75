// The item commands reach the current item from the main window's menus,
// context menu, toolbar and routing, with the real dialogs.
#include "app/CMainFrame.h"

#include "common/TestUtil.h"
#include "dialogs/CDlgSize.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "items/Card.h"
#include "view/ItemCommands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class ItemCommandWiringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc::view::g_bPromptOnDelete = true;
        item = doc.m_listCards.AddHead(Card::CreateFromFile(picture(400, 300, Qt::red)));
        frame.GetActiveView()->m_pCurCard = item;
        doc.SetModifiedFlag(false);
    }
    void TearDown() override { mc::view::g_bPromptOnDelete = true; }
    static QString picture(int w, int h, QColor c) { return mctest::writeImage(mctest::freshDir(), "i.png", mctest::solidImage(w, h, c)); }
    // The entry of command `id` among `entries` (a menu's or the toolbar's).
    QAction* EntryIn(const QList<QAction*>& entries, int id)
    {
        for (QAction* action : frame.Actions(id))
            if (entries.contains(action))
                return action;
        return nullptr;
    }

    CMyDoc doc{mc::platform::DesktopSettings{}};
    CMainFrame frame{&doc};
    Card* item = nullptr;
};

TEST_F(ItemCommandWiringTest, EveryItemCommandIsEnabledWhereverItAppears)
{
    frame.UpdateCommandUI();
    int checkedIds = 0;
    for (int id = 140; id <= 190; ++id) {
        if (!ItemCommands::Handles(id))
            continue;
        ++checkedIds;
        EXPECT_FALSE(frame.Actions(id).isEmpty()) << id;
        for (QAction* action : frame.Actions(id))
            EXPECT_TRUE(action->isEnabled()) << id;
    }
    EXPECT_EQ(checkedIds, 25);
}

// One command from each entry point: menu bar, toolbar (with its check
// mark), item context menu; and Customize Size with its real dialog.
TEST_F(ItemCommandWiringTest, EachEntryPointActsOnTheCurrentItem)
{
    const double scale = item->m_dScale;
    frame.MenuAction(ID_ZOOM_IN)->trigger();
    EXPECT_DOUBLE_EQ(item->m_dScale, scale + 0.1);
    EXPECT_TRUE(doc.IsModified());

    QAction* grayButton = EntryIn(frame.ToolBar()->actions(), ID_GRAY);
    ASSERT_NE(grayButton, nullptr);
    grayButton->trigger();
    EXPECT_TRUE(item->m_bGray);
    EXPECT_TRUE(grayButton->isChecked());

    QMenu* context = frame.PopupMenu(IDR_ITEM_CONTEXT_MENU);
    QAction* sendToBack = EntryIn(context->actions() + context->findChildren<QAction*>(), ID_SEND_TO_BACK);
    ASSERT_NE(sendToBack, nullptr);
    doc.m_listCards.AddTail(Card::CreateFromFile(picture(10, 10, Qt::blue)));
    sendToBack->trigger();
    EXPECT_EQ(doc.m_listCards.GetTail(), item);

    item->m_dScale = 0.5;
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<CDlgSize*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen << dialog->WidthEdit()->text() << dialog->HeightEdit()->text() << dialog->RatioEdit()->text();
        dialog->WidthEdit()->setText("800");
        dialog->WidthEdit()->textEdited("800");
        dialog->findChild<QPushButton*>("ctl1")->click();
    });
    EXPECT_TRUE(frame.RouteCommand(ID_CUSTOMIZE_SIZE));
    EXPECT_EQ(seen, (QStringList{"200", "150", "50"}));
    EXPECT_EQ(item->m_dScale, 2.0);
}

TEST_F(ItemCommandWiringTest, DeleteWithoutPromptClearsTheViewsCurrentItem)
{
    mc::view::g_bPromptOnDelete = false;
    Card* announced = item;
    QObject::connect(frame.GetActiveView(), &CMyView::currentCardChanged, [&announced](Card* card) { announced = card; });
    EXPECT_TRUE(frame.RouteCommand(ID_DELETE_IMAGE));
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_EQ(frame.GetActiveView()->m_pCurCard, nullptr);
    EXPECT_EQ(announced, nullptr);
}

} // namespace
