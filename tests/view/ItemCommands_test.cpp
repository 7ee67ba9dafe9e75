// The item commands on real items decoded from pictures written here, with a
// scripted host standing in for the dialogs and the window.
#include "view/ItemCommands.h"

#include "common/TestUtil.h"
#include "dialogs/DelImgModel.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "items/Card.h"
#include "view/ItemCommandHost.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Each question is answered by its script; no script means Cancel.
class ScriptedHost : public ItemCommandHost {
public:
    void InvalidateScrolled(const QRegion& region) override { invalidated.push_back(region); }
    void CurrentCardCleared() override {}
    bool AskDeleteImage(const Card&, DelImgModel& m) override { return ++asked, onDelete && onDelete(m); }
    bool AskRotateDegree(RotateModel& m) override { return ++asked, onRotate && onRotate(m); }
    bool AskSize(SizeModel& m) override { return ++asked, onSize && onSize(m); }
    bool AskSemitransparency(SemiModel& m) override { return ++asked, onSemi && onSemi(m); }
    bool AskEraseExtent(TransModel& m) override { return ++asked, onTrans && onTrans(m); }

    std::vector<QRegion> invalidated;
    int asked = 0;
    std::function<bool(DelImgModel&)> onDelete;
    std::function<bool(RotateModel&)> onRotate;
    std::function<bool(SizeModel&)> onSize;
    std::function<bool(SemiModel&)> onSemi;
    std::function<bool(TransModel&)> onTrans;
};

// A picture: white surround (the erasable background) around a red block.
QImage framedPicture(int w = 40, int h = 40)
{
    QImage img = mctest::solidImage(w, h, Qt::white);
    QPainter(&img).fillRect(w / 4, h / 4, w / 2, h / 2, QColor(255, 0, 0));
    return img;
}

class ItemCommandsTest : public ::testing::Test {
protected:
    void TearDown() override { mc::view::g_bPromptOnDelete = true; }

    // Adds a picture item on top and makes it current; the project starts
    // unmodified and nothing is recorded as repainted.
    Card* Add(const QImage& image = mctest::solidImage(30, 30, Qt::blue))
    {
        cur = doc.m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, QStringLiteral("i%1.png").arg(++files), image)));
        doc.SetModifiedFlag(false);
        host.invalidated.clear();
        return cur;
    }
    // The same, with another item above it: commands that change an item raise it.
    Card* AddCovered(const QImage& image)
    {
        Card* item = Add(image);
        Add(mctest::solidImage(10, 10, Qt::green));
        return cur = item;
    }

    bool Do(int id) { return commands.OnCommand(id); }
    bool Checked(int id, CommandState state = {}) { return commands.OnUpdateCommand(id, state) && state.checked; }
    int AlphaAt(int x, int y) const { return qAlpha(cur->m_pBitmap->pixel(x, y)); }
    std::vector<const Card*> Order() const
    {
        std::vector<const Card*> order;
        for (const auto& c : doc.m_listCards)
            order.push_back(c.get());
        return order;
    }
    // Every item top first with its pixels, the current one marked, the
    // modified flag and the repaints: what "nothing changed" compares.
    QString Summary() const
    {
        QString s;
        for (const auto& c : doc.m_listCards)
            s += (c.get() == cur ? "* " : "") + mctest::itemState(*c) + ' '
                + QString::number(qHashBits(c->m_pBitmap->constBits(), c->m_pBitmap->sizeInBytes())) + '\n';
        return s + QString::number(doc.IsModified()) + QString::number(host.invalidated.size());
    }

    QString dir = mctest::freshDir();
    int files = 0;
    CMyDoc doc{mc::platform::DesktopSettings{}};
    Card* cur = nullptr;
    int defaultAlpha = 128;
    ScriptedHost host;
    ItemCommands commands{doc, cur, defaultAlpha, host};
};

TEST_F(ItemCommandsTest, ZoomStepsUntilFiveThenOnlyRaisesAndStopsAboveZero)
{
    // At 5.0 the item only comes to the top.
    Card* item = AddCovered(mctest::solidImage(40, 40, Qt::blue));
    item->m_dScale = 5.0;
    Do(ID_ZOOM_IN);
    EXPECT_EQ(std::tuple(item->m_dScale, Order().front(), host.invalidated.size(), doc.IsModified()),
              std::tuple(5.0, item, 0u, false));
    // From actual size the steps end just above 5 and just above 0.1.
    const auto steps = [&](int id) {
        Do(ID_ACTUAL_SIZE);
        for (int n = 0; n < 60; ++n)
            Do(id);
        return item->m_dScale;
    };
    EXPECT_EQ(std::pair(steps(ID_ZOOM_IN), steps(ID_ZOOM_OUT)), std::pair(5.099999999999999, 0.10000000000000014));
}

// Item commands on a zoomed, rotated item lying under another one: the item
// changes and comes to the top, or the stack changes, and the check marks
// follow; one row per way the commands take (the rotations, flips, shears
// and Actual Size share Rotate Clockwise's). (That each marks the project
// modified and repaints what changed: the undo tests, through the window.)
TEST_F(ItemCommandsTest, EachCommandChangesStacksAndMarks)
{
    enum Stack { Raised, Bottom, CloneOnTop, Deleted };
    const struct {
        int id;
        Stack stack = Raised; // raised items are the changed ones
        bool checked = false;
    } rows[] = {{ID_ZOOM_IN}, {ID_ZOOM_OUT}, {ID_CUSTOMIZE_SIZE}, {ID_ROTATE_CLOCKWISE}, {ID_ROTATE_CLOCKWISE_X},
                {ID_SET_SEMITRANSPARENCY}, {ID_SET_ERASE_EXTENT}, {ID_GRAY, Raised, true}, {ID_SEMITRANSPARENT, Raised, true},
                {ID_ERASE_BACKGROUND, Raised, true}, {ID_DELETE_IMAGE, Deleted}, {ID_SEND_TO_BACK, Bottom},
                {ID_CLONE, CloneOnTop}};
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return m.SetMode(1), m.EditRatio("150"), !m.Validate().has_value(); };
    host.onSemi = [](SemiModel& m) { return m.OnTrack(100), true; };
    host.onTrans = [](TransModel& m) { return m.OnTrack(2), true; };
    host.onDelete = [](DelImgModel&) { return true; }; // answering Yes to the prompt
    int handled = 0;
    for (int id = 140; id <= 190; ++id)
        handled += ItemCommands::Handles(id);
    EXPECT_EQ(handled, 25);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        doc.m_listCards.RemoveAll();
        Card* item = AddCovered(framedPicture());
        item->m_dScale = 0.5, item->m_dAngle = 355.0;
        item->UpdateRegion();
        const Card* above = doc.m_listCards.GetHead();
        const QString before = mctest::itemState(*item);
        ASSERT_TRUE(Do(row.id));
        doc.SetModifiedFlag(false); // the same answer again changes nothing saved
        EXPECT_FALSE((row.id == ID_SET_SEMITRANSPARENCY || row.id == ID_SET_ERASE_EXTENT) && Do(row.id) && doc.IsModified());
        const Card* top = doc.m_listCards.GetHead();
        const std::vector<const Card*> stacks[] = {{item, above}, {above, item}, {top, above, item}, {above}};
        EXPECT_EQ(std::pair(Order(), cur), std::pair(stacks[row.stack], row.stack == Deleted ? nullptr : item));
        if (row.stack == Deleted)
            continue;
        EXPECT_EQ(std::pair(mctest::itemState(*item) != before, Checked(row.id)), std::pair(row.stack == Raised, row.checked));
        if (row.stack == CloneOnTop) { // only the copy is repainted; both lie at the screen centre
            EXPECT_EQ(std::pair(host.invalidated, mctest::itemState(*top)),
                      std::pair(std::vector<QRegion>{top->m_rgnItem}, mctest::itemState(*item)));
        }
        EXPECT_TRUE(row.id != ID_ROTATE_CLOCKWISE || item->m_dAngle == 365.0); // accumulated, not normalised
    }
}

// A cancelled dialog, no current item or an item no longer in the project:
// nothing changes, not even the stacking order.
TEST_F(ItemCommandsTest, NothingChangesWithoutAnItemOrWhenCancelled)
{
    for (int id : {ID_ROTATE_CLOCKWISE_X, ID_ROTATE_COUNTER_CLOCKWISE_X, ID_CUSTOMIZE_SIZE, ID_SET_SEMITRANSPARENCY,
                   ID_SET_ERASE_EXTENT, ID_DELETE_IMAGE}) {
        AddCovered(framedPicture());
        const QString before = Summary() + QString::number(host.asked + 1);
        Do(id); // every script is unset: Cancel
        EXPECT_EQ(Summary() + QString::number(host.asked), before) << id;
    }

    doc.m_listCards.RemoveAll();
    Add(framedPicture());
    host.onDelete = [](DelImgModel&) { return true; };
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    for (bool dangling : {false, true}) {
        SCOPED_TRACE(dangling ? "dangling item" : "no item");
        cur = nullptr;
        const QString before = Summary();
        if (dangling)
            doc.m_listCards.RemoveAndDelete(cur = Add());
        for (int id = 140; id <= 190; ++id) {
            if (!ItemCommands::Handles(id))
                continue;
            const int asked = host.asked + (id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT);
            EXPECT_TRUE(Do(id) && host.asked == asked) << id; // handled, even when it does nothing
        }
        EXPECT_EQ(Summary(), before);
    }
    for (int id : {ID_GRAY, ID_SEMITRANSPARENT, ID_ERASE_BACKGROUND})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(commands.OnCommand(ID_REFRESH)); // the view's own
}

TEST_F(ItemCommandsTest, SemitransparencyAndEraseDialogsStartFromTheItem)
{
    Add();
    defaultAlpha = 90;
    Do(ID_SEMITRANSPARENT);
    EXPECT_EQ(AlphaAt(3, 3), 90);
    // On an item: opens with its own alpha and leaves the default.
    AddCovered(mctest::solidImage(30, 30, Qt::blue))->m_nAlpha = 200;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(std::pair(m.m_nAlphaValue, m.m_nDefault), std::pair(200, 90));
        return m.OnTrack(70), true;
    };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_EQ(std::pair(AlphaAt(3, 3), defaultAlpha), std::pair(70, 90));
    // Without an item only the default changes, when the box is ticked.
    cur = nullptr;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 90);
        return m.OnTrack(60), m.m_bSetDefault = true;
    };
    EXPECT_TRUE(Do(ID_SET_SEMITRANSPARENCY) && defaultAlpha == 60);

    // Erase: the toggle always starts again from the exact colour.
    QImage image = framedPicture(60, 60);
    image.setPixel(8, 30, qRgb(254, 255, 255)); // near-white in the background
    Card* item = Add(image);
    item->m_nEraseExtent = 9; // stale value of an item that is not erased
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 0);
        return m.OnTrack(5), true;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_EQ(AlphaAt(8, 30), 0);
    Do(ID_ERASE_BACKGROUND); // off
    Do(ID_ERASE_BACKGROUND); // on again, exact matches only
    EXPECT_EQ(std::tuple(item->m_nEraseExtent, AlphaAt(8, 30), AlphaAt(10, 10)), std::tuple(0, 255, 0));

    // The dialog opens with the extent of an erased item.
    host.onTrans = [](TransModel& m) { return m.OnTrack(7), true; };
    Do(ID_SET_ERASE_EXTENT);
    int opened = -1;
    host.onTrans = [&](TransModel& m) { return opened = m.m_nExtent, false; };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_EQ(std::pair(opened, item->m_nEraseExtent), std::pair(7, 7));
}

} // namespace

// "No longer prompt" counts only together with Yes, and then for the rest of
// the run.
TEST_F(ItemCommandsTest, DeletePromptStopsOnlyAfterYesWithNoLongerPrompt)
{
    for (bool yes : {false, true}) {
        Add();
        host.onDelete = [yes](DelImgModel& m) { return m.m_bNoPrompt = true, yes; };
        Do(ID_DELETE_IMAGE);
        EXPECT_EQ(mc::view::g_bPromptOnDelete, !yes);
    }
    const int asked = host.asked;
    Add();
    Do(ID_DELETE_IMAGE);
    EXPECT_EQ(std::tuple(host.asked, doc.m_listCards.GetCount()), std::tuple(asked, 1));
}
