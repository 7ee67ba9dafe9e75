// The item commands on real items decoded from pictures written here, with a
// scripted host standing in for the dialogs and the window.
#include "dialogs/DelImgModel.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "items/Card.h"
#include "common/TestUtil.h"
#include "view/ItemCommandHost.h"
#include "view/ItemCommands.h"

#include <QPainter>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Each question is answered by its script; no script means Cancel.
class ScriptedHost : public ItemCommandHost {
public:
    void InvalidateScrolled(const QRegion& region) override { invalidated.push_back(region); }
    void CurrentCardCleared() override { ++cleared; }
    bool AskDeleteImage(const Card&, DelImgModel& m) override { return Ask(onDelete, m); }
    bool AskRotateDegree(RotateModel& m) override { return Ask(onRotate, m); }
    bool AskSize(SizeModel& m) override { return Ask(onSize, m); }
    bool AskSemitransparency(SemiModel& m) override { return Ask(onSemi, m); }
    bool AskEraseExtent(TransModel& m) override { return Ask(onTrans, m); }

    std::vector<QRegion> invalidated;
    int asked = 0;
    int cleared = 0;
    std::function<bool(DelImgModel&)> onDelete;
    std::function<bool(RotateModel&)> onRotate;
    std::function<bool(SizeModel&)> onSize;
    std::function<bool(SemiModel&)> onSemi;
    std::function<bool(TransModel&)> onTrans;

private:
    template <class Model>
    bool Ask(const std::function<bool(Model&)>& script, Model& model)
    {
        ++asked;
        return script ? script(model) : false;
    }
};

// A picture: white surround (the erasable background) around a red block.
QImage framedPicture(int w = 40, int h = 40)
{
    QImage img = mctest::solidImage(w, h, Qt::white);
    QPainter p(&img);
    p.fillRect(w / 4, h / 4, w / 2, h / 2, QColor(255, 0, 0));
    return img;
}

QImage blue(int w, int h) { return mctest::solidImage(w, h, Qt::blue); }

class ItemCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { mc::view::g_bPromptOnDelete = true; }
    void TearDown() override { mc::view::g_bPromptOnDelete = true; }

    // Adds a picture item on top and makes it current; the project starts
    // unmodified and nothing is recorded as repainted.
    Card* Add(const QImage& image)
    {
        const QString path = mctest::writeImage(dir, QStringLiteral("i%1.png").arg(++files), image);
        auto card = Card::CreateFromFile(path);
        EXPECT_TRUE(card);
        cur = doc.m_listCards.AddHead(std::move(card));
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
    bool Checked(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state));
        return state.checked;
    }
    QRgb PixelAt(int x, int y) const { return cur->m_pBitmap->pixel(x, y); }

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
    Card* item = Add(blue(100, 80));
    item->m_dScale = 4.95;
    item->UpdateRegion();
    const QRegion before = item->m_rgnItem;
    Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.05);
    EXPECT_EQ(host.invalidated, (std::vector<QRegion>{before, item->m_rgnItem})); // the old and the new area

    // At 5.0 the item only comes to the top.
    item = AddCovered(blue(40, 40));
    item->m_dScale = 5.0;
    Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.0);
    EXPECT_EQ(doc.m_listCards.GetHead(), item);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());

    // From actual size the steps end just above 5 and just above 0.1.
    Do(ID_ACTUAL_SIZE);
    for (int i = 0; i < 60; ++i)
        Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.099999999999999);
    Do(ID_ACTUAL_SIZE);
    for (int i = 0; i < 20; ++i)
        Do(ID_ZOOM_OUT);
    EXPECT_EQ(item->m_dScale, 0.10000000000000014);
}

// Every item command on a zoomed, rotated item lying under another one: what
// it changes, where the item ends up in the stack, whether the project is
// marked modified and the command's check mark.
TEST_F(ItemCommandsTest, EachCommandChangesStacksAndMarks)
{
    enum Stack { Raised, Bottom, CloneOnTop, Deleted };
    const struct {
        int id;
        bool changes;
        Stack stack;
        bool modified;
        bool checked;
    } rows[] = {
        {ID_ZOOM_IN, true, Raised, true, false},
        {ID_ZOOM_OUT, true, Raised, true, false},
        {ID_ACTUAL_SIZE, true, Raised, true, false},
        {ID_CUSTOMIZE_SIZE, true, Raised, true, false},
        {ID_ROTATE_CLOCKWISE, true, Raised, true, false},
        {ID_ROTATE_COUNTER_CLOCKWISE, true, Raised, true, false},
        {ID_ROTATE_CLOCKWISE_X, true, Raised, true, false},
        {ID_ROTATE_COUNTER_CLOCKWISE_X, true, Raised, true, false},
        {ID_ROTATE_CLOCKWISE_90, true, Raised, true, false},
        {ID_ROTATE_CLOCKWISE_180, true, Raised, true, false},
        {ID_ROTATE_CLOCKWISE_270, true, Raised, true, false},
        {ID_FLIP_HORIZONTAL, true, Raised, true, false},
        {ID_FLIP_VERTICAL, true, Raised, true, false},
        {ID_SHEAR_HORIZONTAL_CLOCKWISE, true, Raised, true, false},
        {ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE, true, Raised, true, false},
        {ID_SHEAR_VERTICAL_CLOCKWISE, true, Raised, true, false},
        {ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE, true, Raised, true, false},
        {ID_DELETE_IMAGE, false, Deleted, true, false},
        {ID_SEND_TO_BACK, false, Bottom, true, false},
        {ID_CLONE, false, CloneOnTop, true, false},
        {ID_GRAY, true, Raised, true, true},
        {ID_SEMITRANSPARENT, true, Raised, true, true},
        {ID_SET_SEMITRANSPARENCY, true, Raised, true, false},
        {ID_ERASE_BACKGROUND, true, Raised, true, true},
        {ID_SET_ERASE_EXTENT, true, Raised, true, false},
    };
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return m.SetMode(1), m.EditRatio("150"), !m.Validate().has_value(); };
    host.onSemi = [](SemiModel& m) { return m.OnTrack(100), true; };
    host.onTrans = [](TransModel& m) { return m.OnTrack(2), true; };
    host.onDelete = [](DelImgModel&) { return true; };
    int handled = 0;
    for (int id = 140; id <= 190; ++id)
        handled += ItemCommands::Handles(id);
    EXPECT_EQ(handled, static_cast<int>(std::size(rows)));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        Card* item = AddCovered(framedPicture());
        item->m_dScale = 0.5;
        item->m_dAngle = 355.0;
        item->UpdateRegion();
        Card* above = doc.m_listCards.GetHead();
        const QString before = mctest::itemState(*item);
        ASSERT_TRUE(Do(row.id));
        EXPECT_FALSE(host.invalidated.empty());
        EXPECT_EQ(doc.IsModified(), row.modified);
        doc.SetModifiedFlag(false); // the same answer again changes nothing saved
        if (row.id == ID_SET_SEMITRANSPARENCY || row.id == ID_SET_ERASE_EXTENT) {
            EXPECT_FALSE(Do(row.id) && doc.IsModified());
        }
        if (row.stack == Deleted) {
            EXPECT_EQ(cur, nullptr);
            EXPECT_EQ(doc.m_listCards.GetHead(), above);
            continue;
        }
        EXPECT_EQ(mctest::itemState(*item) != before, row.changes);
        EXPECT_EQ(Checked(row.id), row.checked);
        EXPECT_EQ(cur, item);
        const Card* expectedHead = row.stack == Raised ? item : row.stack == Bottom ? above : nullptr;
        if (expectedHead) {
            EXPECT_EQ(doc.m_listCards.GetHead(), expectedHead);
        }
        if (row.stack == Bottom) {
            EXPECT_EQ(doc.m_listCards.GetTail(), item);
        }
        if (row.stack == CloneOnTop) {
            const Card* clone = doc.m_listCards.GetHead();
            EXPECT_NE(clone, item);
            EXPECT_EQ(clone->m_ptCenter, QPoint(512, 384)); // the screen's centre
        }
    }
    // Rotation accumulates without normalising: 355 + 10.
    Card* item = Add(blue(30, 30));
    item->m_dAngle = 355.0;
    Do(ID_ROTATE_CLOCKWISE);
    EXPECT_EQ(item->m_dAngle, 365.0);
}

// No current item, an item no longer in the project, or a cancelled dialog:
// nothing changes, not even the stacking order.
TEST_F(ItemCommandsTest, NothingChangesWithoutAnItemOrWhenCancelled)
{
    const int dialogIds[] = {ID_ROTATE_CLOCKWISE_X, ID_ROTATE_COUNTER_CLOCKWISE_X, ID_CUSTOMIZE_SIZE,
                             ID_SET_SEMITRANSPARENCY, ID_SET_ERASE_EXTENT, ID_DELETE_IMAGE};
    for (int id : dialogIds) {
        SCOPED_TRACE(id);
        Card* item = AddCovered(framedPicture());
        const QString state = mctest::itemState(*item);
        const QImage pixels = *item->m_pBitmap;
        const int asked = host.asked;
        Do(id); // every script is unset: Cancel
        EXPECT_EQ(host.asked, asked + 1);
        EXPECT_EQ(cur, item);
        EXPECT_NE(doc.m_listCards.GetHead(), item);
        EXPECT_EQ(mctest::itemState(*item), state);
        EXPECT_EQ(*item->m_pBitmap, pixels);
        EXPECT_TRUE(host.invalidated.empty());
        EXPECT_FALSE(doc.IsModified());
    }

    doc.m_listCards.RemoveAll();
    Card* item = Add(framedPicture());
    const QString state = mctest::itemState(*item);
    host.onDelete = [](DelImgModel&) { return true; };
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return !m.Validate().has_value(); };
    for (bool dangling : {false, true}) {
        SCOPED_TRACE(dangling ? "dangling item" : "no item");
        cur = dangling ? Add(blue(30, 30)) : nullptr;
        if (dangling)
            doc.m_listCards.RemoveAndDelete(cur);
        for (int id = 140; id <= 190; ++id) {
            if (!ItemCommands::Handles(id))
                continue;
            const int asked = host.asked;
            EXPECT_TRUE(Do(id)) << id; // handled, even when it does nothing
            const bool dialog = id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT;
            EXPECT_EQ(host.asked, asked + (dialog ? 1 : 0)) << id;
        }
        EXPECT_EQ(cur, nullptr);
    }
    EXPECT_EQ(doc.m_listCards.GetCount(), 1);
    EXPECT_EQ(mctest::itemState(*item), state);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
    for (int id : {ID_GRAY, ID_SEMITRANSPARENT, ID_ERASE_BACKGROUND})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(commands.OnCommand(ID_REFRESH)); // the view's own
}

TEST_F(ItemCommandsTest, SemitransparencyUsesTheDefaultAndTheSetDialogStartsFromTheItem)
{
    Card* item = Add(blue(30, 30));
    defaultAlpha = 90;
    Do(ID_SEMITRANSPARENT);
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 90);

    // On an item: opens with its own alpha and leaves the default.
    item = AddCovered(blue(30, 30));
    item->m_nAlpha = 200;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 200);
        EXPECT_EQ(m.m_nDefault, 90);
        m.OnTrack(70);
        return true;
    };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 70);
    EXPECT_EQ(defaultAlpha, 90);

    // Without an item only the default changes, when the box is ticked.
    cur = nullptr;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 90);
        m.OnTrack(60);
        m.m_bSetDefault = true;
        return true;
    };
    EXPECT_TRUE(Do(ID_SET_SEMITRANSPARENCY));
    EXPECT_EQ(defaultAlpha, 60);
}

TEST_F(ItemCommandsTest, EraseToggleAlwaysStartsFromExactColour)
{
    QImage image = framedPicture(60, 60);
    image.setPixel(8, 30, qRgb(254, 255, 255)); // near-white in the background
    Card* item = Add(image);
    item->m_nEraseExtent = 9; // stale value of an item that is not erased
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 0);
        m.OnTrack(5);
        return true;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_EQ(qAlpha(PixelAt(8, 30)), 0);

    Do(ID_ERASE_BACKGROUND); // off
    Do(ID_ERASE_BACKGROUND); // on again, exact matches only
    EXPECT_EQ(item->m_nEraseExtent, 0);
    EXPECT_EQ(qAlpha(PixelAt(8, 30)), 255);
    EXPECT_EQ(qAlpha(PixelAt(10, 10)), 0);

    // The dialog opens with the extent of an erased item.
    host.onTrans = [](TransModel& m) { return m.OnTrack(7), true; };
    Do(ID_SET_ERASE_EXTENT);
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 7);
        return false;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_EQ(item->m_nEraseExtent, 7);
}

TEST_F(ItemCommandsTest, DeleteAsksUntilTheUserSaysNoLongerPrompt)
{
    const struct {
        bool ticked, yes;
        bool deleted, stillAsks;
    } rows[] = {
        {true, false, false, true}, // "No" with the box ticked keeps both
        {false, true, true, true},
        {true, true, true, false},
        {false, false, true, false}, // no longer asked: deleted at once
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ticked * 2 + row.yes);
        doc.m_listCards.RemoveAll();
        Card* item = Add(blue(30, 30));
        const QRegion area = item->m_rgnItem;
        const int asked = host.asked;
        const int cleared = host.cleared;
        const bool prompting = mc::view::g_bPromptOnDelete;
        host.onDelete = [&](DelImgModel& m) { return m.m_bNoPrompt = row.ticked, row.yes; };
        Do(ID_DELETE_IMAGE);
        EXPECT_EQ(host.asked, asked + (prompting ? 1 : 0));
        EXPECT_EQ(doc.m_listCards.IsEmpty(), row.deleted);
        EXPECT_EQ(cur, row.deleted ? nullptr : item);
        EXPECT_EQ(host.cleared, cleared + (row.deleted ? 1 : 0));
        EXPECT_EQ(host.invalidated, row.deleted ? std::vector<QRegion>{area} : std::vector<QRegion>{});
        EXPECT_EQ(mc::view::g_bPromptOnDelete, row.stillAsks);
    }
}

TEST_F(ItemCommandsTest, CloneGoesOnTopWithTheSourceStillCurrent)
{
    Card* source = Add(framedPicture(80, 60));
    Do(ID_ROTATE_CLOCKWISE);
    Card* other = Add(mctest::solidImage(20, 20, Qt::green));
    cur = source;
    Do(ID_CLONE);
    ASSERT_EQ(doc.m_listCards.GetCount(), 3);
    Card* clone = doc.m_listCards.GetHead();
    EXPECT_EQ(cur, source);
    std::vector<Card*> order;
    for (const auto& c : doc.m_listCards)
        order.push_back(c.get());
    EXPECT_EQ(order, (std::vector<Card*>{clone, other, source}));
    EXPECT_EQ(host.invalidated, std::vector<QRegion>{clone->m_rgnItem});
}

} // namespace
