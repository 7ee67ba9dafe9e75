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
    EXPECT_GT(item->m_rgnItem.boundingRect().width(), before.boundingRect().width());

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
    EXPECT_EQ(item->m_dScale, 1.0);
    for (int i = 0; i < 60; ++i)
        Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.099999999999999);
    Do(ID_ACTUAL_SIZE);
    for (int i = 0; i < 20; ++i)
        Do(ID_ZOOM_OUT);
    EXPECT_EQ(item->m_dScale, 0.10000000000000014);
}

TEST_F(ItemCommandsTest, RotationAccumulatesWithoutNormalising)
{
    Card* item = Add(blue(60, 30));
    for (int i = 0; i < 36; ++i)
        Do(ID_ROTATE_CLOCKWISE);
    EXPECT_EQ(item->m_dAngle, 360.0);
    Do(ID_ROTATE_COUNTER_CLOCKWISE);
    EXPECT_EQ(item->m_dAngle, 350.0);
    Do(ID_ROTATE_CLOCKWISE_90);
    Do(ID_ROTATE_CLOCKWISE_180);
    Do(ID_ROTATE_CLOCKWISE_270);
    EXPECT_EQ(item->m_dAngle, 890.0);

    host.onRotate = [](RotateModel& m) {
        EXPECT_EQ(m.Label(), "Counter Clockwise:");
        m.m_strDegree = "45";
        return !m.Validate().has_value();
    };
    Do(ID_ROTATE_COUNTER_CLOCKWISE_X);
    EXPECT_EQ(item->m_dAngle, 845.0);
    host.onRotate = [](RotateModel& m) {
        EXPECT_EQ(m.Label(), "Clockwise:");
        m.m_strDegree = "360";
        return !m.Validate().has_value();
    };
    Do(ID_ROTATE_CLOCKWISE_X);
    EXPECT_EQ(item->m_dAngle, 1205.0);
}

TEST_F(ItemCommandsTest, CustomizeSizeOpensWithScaledValuesAndAppliesTheResult)
{
    Card* item = Add(blue(400, 300));
    item->m_dScale = 0.5;
    item->UpdateRegion();
    host.onSize = [](SizeModel& m) {
        EXPECT_EQ(QStringList({m.m_strWidth, m.m_strHeight, m.m_strRatio}), QStringList({"200", "150", "50"}));
        m.EditWidth("600");
        return !m.Validate().has_value();
    };
    Do(ID_CUSTOMIZE_SIZE);
    EXPECT_EQ(item->m_dScale, 1.5);
    EXPECT_NEAR(item->m_rgnItem.boundingRect().width(), 600, 2);
}

// A cancelled dialog changes nothing, not even the stacking order.
TEST_F(ItemCommandsTest, CancelledDialogsLeaveTheItemWhereItWas)
{
    for (int id : {ID_ROTATE_CLOCKWISE_X, ID_ROTATE_COUNTER_CLOCKWISE_X, ID_CUSTOMIZE_SIZE,
                   ID_SET_SEMITRANSPARENCY, ID_SET_ERASE_EXTENT, ID_DELETE_IMAGE}) {
        Card* item = AddCovered(framedPicture());
        const QImage pixels = *item->m_pBitmap;
        const int asked = host.asked;
        Do(id);
        EXPECT_EQ(host.asked, asked + 1) << id;
        EXPECT_EQ(cur, item) << id;
        EXPECT_NE(doc.m_listCards.GetHead(), item) << id;
        EXPECT_EQ(item->m_dAngle, 0.0) << id;
        EXPECT_EQ(item->m_dScale, 1.0) << id;
        EXPECT_EQ(*item->m_pBitmap, pixels) << id;
        EXPECT_TRUE(host.invalidated.empty()) << id;
        EXPECT_FALSE(doc.IsModified()) << id;
    }
}

TEST_F(ItemCommandsTest, FlipsKeepTheRotationAndShearsStepInWholeUnits)
{
    Card* item = Add(mctest::solidImage(120, 40, Qt::blue));
    Do(ID_ROTATE_CLOCKWISE);
    const QRegion rotated = item->m_rgnItem;
    Do(ID_FLIP_HORIZONTAL);
    EXPECT_TRUE(item->m_bFlipH);
    EXPECT_EQ(item->m_dAngle, 10.0);
    // A mirrored rectangle covers the same area; the picture inside turns.
    EXPECT_EQ(item->m_rgnItem.boundingRect(), rotated.boundingRect());
    const QPointF right = QPointF(50, 0) * item->Transform();
    EXPECT_LT(right.x(), 0); // the picture's right end now points left
    EXPECT_LT(right.y(), 0); // still turned clockwise: left end lower
    Do(ID_FLIP_VERTICAL);
    Do(ID_FLIP_HORIZONTAL);
    EXPECT_FALSE(item->m_bFlipH);
    EXPECT_TRUE(item->m_bFlipV);

    item = Add(blue(100, 100));
    const int width = item->m_rgnItem.boundingRect().width();
    Do(ID_SHEAR_HORIZONTAL_CLOCKWISE);
    // One step moves the bottom edge 10 pixels against the top.
    EXPECT_NEAR(item->m_rgnItem.boundingRect().width(), width + 10, 2);
    const struct {
        int id;
        double x, y;
    } shears[] = {{ID_SHEAR_HORIZONTAL_CLOCKWISE, -2, 0}, {ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE, -1, 0},
                  {ID_SHEAR_VERTICAL_CLOCKWISE, -1, 1}, {ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE, -1, 0}};
    for (const auto& s : shears) {
        Do(s.id);
        EXPECT_EQ(item->m_dShearX, s.x) << s.id;
        EXPECT_EQ(item->m_dShearY, s.y) << s.id;
    }
}

TEST_F(ItemCommandsTest, GrayOffRestoresColoursAndKeepsAlpha)
{
    Card* item = Add(mctest::solidImage(40, 40, QColor(255, 0, 0)));
    Do(ID_SEMITRANSPARENT);
    Do(ID_GRAY);
    EXPECT_TRUE(item->m_bGray);
    EXPECT_EQ(PixelAt(20, 20), qRgba(76, 76, 76, 128));
    EXPECT_TRUE(Checked(ID_GRAY));
    Do(ID_GRAY);
    EXPECT_FALSE(item->m_bGray);
    EXPECT_EQ(PixelAt(20, 20), qRgba(255, 0, 0, 128));
    EXPECT_FALSE(Checked(ID_GRAY));
}

TEST_F(ItemCommandsTest, SemitransparencyTogglesWithTheDefaultAndIsSetWithoutMarkingModified)
{
    Card* item = Add(blue(30, 30));
    defaultAlpha = 90;
    Do(ID_SEMITRANSPARENT);
    EXPECT_TRUE(item->m_bSemi);
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 90);
    Do(ID_SEMITRANSPARENT);
    EXPECT_FALSE(item->m_bSemi);
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 255);

    // On an item: opens with its own alpha, raises it, leaves the default.
    item = AddCovered(blue(30, 30));
    item->m_nAlpha = 200;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 200);
        EXPECT_EQ(m.m_nDefault, 90);
        m.OnTrack(70);
        return true;
    };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_TRUE(item->m_bSemi);
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 70);
    EXPECT_EQ(defaultAlpha, 90);
    host.onSemi = [](SemiModel& m) { return m.OnTrack(255), true; };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_FALSE(item->m_bSemi); // 255 means opaque, not semitransparent
    EXPECT_EQ(qAlpha(PixelAt(3, 3)), 255);

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
    EXPECT_TRUE(item->m_bErased);
    EXPECT_EQ(item->m_nEraseExtent, 5);
    EXPECT_EQ(qAlpha(PixelAt(8, 30)), 0);
    // Only the red block is kept: the kept area is about a quarter.
    EXPECT_TRUE(item->m_rgnItem.contains(item->m_rgnKept.boundingRect()));
    EXPECT_LT(item->m_rgnKept.boundingRect().width(), 40);
    EXPECT_FALSE(item->m_rgnKept.isEmpty());

    Do(ID_ERASE_BACKGROUND); // off
    EXPECT_FALSE(item->m_bErased);
    EXPECT_EQ(qAlpha(PixelAt(8, 30)), 255);
    Do(ID_ERASE_BACKGROUND); // on again, exact matches only
    EXPECT_TRUE(item->m_bErased);
    EXPECT_EQ(item->m_nEraseExtent, 0);
    EXPECT_EQ(qAlpha(PixelAt(8, 30)), 255);
    EXPECT_EQ(qAlpha(PixelAt(10, 10)), 0);
    EXPECT_EQ(qAlpha(PixelAt(30, 30)), 255);
    EXPECT_TRUE(Checked(ID_ERASE_BACKGROUND));

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
    Card* first = Add(blue(30, 30));
    // "No" with the box ticked keeps both the item and the question.
    host.onDelete = [](DelImgModel& m) { return m.m_bNoPrompt = true, false; };
    Do(ID_DELETE_IMAGE);
    EXPECT_EQ(cur, first);
    EXPECT_TRUE(mc::view::g_bPromptOnDelete);

    // "Yes" without the box deletes, clears the current item and keeps asking.
    host.onDelete = [](DelImgModel&) { return true; };
    const QRegion area = first->m_rgnItem;
    Do(ID_DELETE_IMAGE);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_EQ(cur, nullptr);
    EXPECT_EQ(host.cleared, 1);
    EXPECT_EQ(host.invalidated, std::vector<QRegion>{area});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(mc::view::g_bPromptOnDelete);

    // "Yes" with the box: deleted, and no more questions.
    Add(blue(30, 30));
    host.onDelete = [](DelImgModel& m) { return m.m_bNoPrompt = true, true; };
    Do(ID_DELETE_IMAGE);
    EXPECT_FALSE(mc::view::g_bPromptOnDelete);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    Add(blue(30, 30));
    const int asked = host.asked;
    Do(ID_DELETE_IMAGE);
    EXPECT_EQ(host.asked, asked);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_EQ(cur, nullptr);
}

TEST_F(ItemCommandsTest, CloneGoesOnTopAtScreenCentreWithTheSourceState)
{
    Card* source = Add(framedPicture(80, 60));
    Do(ID_ROTATE_CLOCKWISE);
    Do(ID_GRAY);
    source->BeginDrag(source->m_ptCenter);
    source->DragTo(source->m_ptCenter + QPoint(-200, 100));
    Card* other = Add(mctest::solidImage(20, 20, Qt::green));
    cur = source;
    Do(ID_CLONE);
    ASSERT_EQ(doc.m_listCards.GetCount(), 3);
    Card* clone = doc.m_listCards.GetHead();
    EXPECT_EQ(cur, source); // still the current item
    // The source keeps its place below the other item.
    std::vector<Card*> order;
    for (const auto& c : doc.m_listCards)
        order.push_back(c.get());
    EXPECT_EQ(order, (std::vector<Card*>{clone, other, source}));
    EXPECT_EQ(clone->m_ptCenter, QPoint(512, 384));
    EXPECT_EQ(clone->m_dAngle, 10.0);
    EXPECT_TRUE(clone->m_bGray);
    EXPECT_EQ(*clone->m_pBitmap, *source->m_pBitmap);
    EXPECT_EQ(clone->m_rgnItem, source->m_rgnItem.translated(clone->m_ptCenter - source->m_ptCenter));
    EXPECT_EQ(host.invalidated, std::vector<QRegion>{clone->m_rgnItem});
}

TEST_F(ItemCommandsTest, SendToBackLowersAndRepaints)
{
    Card* bottom = Add(mctest::solidImage(20, 20, Qt::green));
    Card* item = Add(blue(30, 30));
    Do(ID_SEND_TO_BACK);
    EXPECT_EQ(doc.m_listCards.GetHead(), bottom);
    EXPECT_EQ(doc.m_listCards.GetTail(), item);
    EXPECT_EQ(host.invalidated, std::vector<QRegion>{item->m_rgnItem});
}

// Which commands mark the project modified, each on a fresh item that is
// raised from below another one.
TEST_F(ItemCommandsTest, ModifiedFlagAfterEachCommand)
{
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return m.SetMode(1), m.EditRatio("150"), !m.Validate().has_value(); };
    host.onSemi = [](SemiModel& m) { return m.OnTrack(100), true; };
    host.onTrans = [](TransModel& m) { return m.OnTrack(2), true; };
    host.onDelete = [](DelImgModel&) { return true; };
    int marking = 0;
    for (int id = 140; id <= 190; ++id) {
        if (!ItemCommands::Handles(id) || id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT)
            continue;
        ++marking;
        Card* item = AddCovered(framedPicture());
        ASSERT_TRUE(Do(id)) << id;
        EXPECT_TRUE(doc.IsModified()) << id;
        EXPECT_FALSE(host.invalidated.empty()) << id;
        if (id != ID_DELETE_IMAGE && id != ID_SEND_TO_BACK && id != ID_CLONE) {
            EXPECT_EQ(doc.m_listCards.GetHead(), item) << id;
        }
    }
    EXPECT_EQ(marking, 23);
    for (int id : {ID_SET_SEMITRANSPARENCY, ID_SET_ERASE_EXTENT}) {
        Add(framedPicture());
        ASSERT_TRUE(Do(id)) << id;
        EXPECT_FALSE(doc.IsModified()) << id;
        EXPECT_FALSE(host.invalidated.empty()) << id;
    }
}

TEST_F(ItemCommandsTest, WithoutCurrentItemOnlyTheSetDialogsRun)
{
    Card* item = Add(framedPicture());
    const QRegion area = item->m_rgnItem;
    host.onDelete = [](DelImgModel&) { return true; };
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return !m.Validate().has_value(); };
    // No current item, and then one that is no longer in the project.
    for (bool dangling : {false, true}) {
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
    EXPECT_EQ(item->m_rgnItem, area);
    EXPECT_FALSE(item->m_bGray || item->m_bSemi || item->m_bErased);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
    for (int id : {ID_GRAY, ID_SEMITRANSPARENT, ID_ERASE_BACKGROUND}) {
        CommandState state;
        state.checked = true;
        ASSERT_TRUE(commands.OnUpdateCommand(id, state));
        EXPECT_FALSE(state.checked);
        EXPECT_TRUE(state.enabled);
    }
    EXPECT_FALSE(commands.OnCommand(ID_REFRESH)); // the view's own
    EXPECT_FALSE(commands.HandlesCommand(ID_ADD_IMAGE));
}

} // namespace
