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
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class ScriptedHost : public ItemCommandHost {
public:
    void InvalidateScrolled(const QRegion& region) override { invalidated.push_back(region); }
    void CurrentCardCleared() override { ++cleared; }
    bool AskDeleteImage(const Card&, DelImgModel& model) override
    {
        ++asked;
        return onDelete ? onDelete(model) : false;
    }
    bool AskRotateDegree(RotateModel& model) override
    {
        ++asked;
        return onRotate ? onRotate(model) : false;
    }
    bool AskSize(SizeModel& model) override
    {
        ++asked;
        return onSize ? onSize(model) : false;
    }
    bool AskSemitransparency(SemiModel& model) override
    {
        ++asked;
        return onSemi ? onSemi(model) : false;
    }
    bool AskEraseExtent(TransModel& model) override
    {
        ++asked;
        return onTrans ? onTrans(model) : false;
    }

    std::vector<QRegion> invalidated;
    int asked = 0;
    int cleared = 0;
    std::function<bool(DelImgModel&)> onDelete;
    std::function<bool(RotateModel&)> onRotate;
    std::function<bool(SizeModel&)> onSize;
    std::function<bool(SemiModel&)> onSemi;
    std::function<bool(TransModel&)> onTrans;
};

// A picture: white surround (the erasable background) around a red block.
QImage framedPicture(int w, int h)
{
    QImage img = mctest::solidImage(w, h, Qt::white);
    QPainter p(&img);
    p.fillRect(w / 4, h / 4, w / 2, h / 2, QColor(255, 0, 0));
    return img;
}

class ItemCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { mc::view::g_bPromptOnDelete = true; }
    void TearDown() override { mc::view::g_bPromptOnDelete = true; }

    // Adds a picture item on top and makes it current; the project starts
    // unmodified and nothing is recorded as repainted.
    Card* Add(const QImage& image, const QString& name = QStringLiteral("item.png"))
    {
        const QString path = mctest::writeImage(dir, name, image);
        auto card = Card::CreateFromFile(path);
        EXPECT_TRUE(card);
        Card* added = doc.m_listCards.AddHead(std::move(card));
        cur = added;
        doc.SetModifiedFlag(false);
        host.invalidated.clear();
        return added;
    }

    bool Do(int id) { return commands.OnCommand(id); }

    QString dir = mctest::freshDir();
    CMyDoc doc{mc::platform::DesktopSettings{}};
    Card* cur = nullptr;
    int defaultAlpha = 128;
    ScriptedHost host;
    ItemCommands commands{doc, cur, defaultAlpha, host};
};

TEST_F(ItemCommandsTest, ZoomInStepsUntilFiveThenOnlyRaises)
{
    Card* item = Add(mctest::solidImage(100, 80, Qt::blue), "a.png");
    item->m_dScale = 4.95;
    item->UpdateRegion();
    const QRegion before = item->m_rgnItem;
    Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.05);
    ASSERT_EQ(host.invalidated.size(), 2u);
    EXPECT_EQ(host.invalidated[0], before);
    EXPECT_EQ(host.invalidated[1], item->m_rgnItem);
    EXPECT_GT(item->m_rgnItem.boundingRect().width(), before.boundingRect().width());
    EXPECT_TRUE(doc.IsModified());

    // At 5.0 the item only comes to the top.
    item->m_dScale = 5.0;
    Add(mctest::solidImage(50, 50, Qt::green), "b.png");
    cur = item;
    Do(ID_ZOOM_IN);
    EXPECT_EQ(item->m_dScale, 5.0);
    EXPECT_EQ(doc.m_listCards.GetHead(), item);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemCommandsTest, ZoomLimitsFromActualSize)
{
    Card* item = Add(mctest::solidImage(40, 40, Qt::blue));
    int grown = 0;
    for (int i = 0; i < 60; ++i) {
        doc.SetModifiedFlag(false);
        Do(ID_ZOOM_IN);
        grown += doc.IsModified();
    }
    EXPECT_EQ(grown, 41);
    EXPECT_EQ(item->m_dScale, 5.099999999999999);

    Do(ID_ACTUAL_SIZE);
    EXPECT_EQ(item->m_dScale, 1.0);
    int shrunk = 0;
    for (int i = 0; i < 20; ++i) {
        doc.SetModifiedFlag(false);
        Do(ID_ZOOM_OUT);
        shrunk += doc.IsModified();
    }
    EXPECT_EQ(shrunk, 9);
    EXPECT_EQ(item->m_dScale, 0.10000000000000014);
    EXPECT_GT(item->m_dScale, 0.0001);
}

TEST_F(ItemCommandsTest, RotationAccumulatesWithoutNormalising)
{
    Card* item = Add(mctest::solidImage(60, 30, Qt::blue));
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
        EXPECT_EQ(m.m_strDegree, "10");
        m.m_strDegree = "0";
        EXPECT_EQ(m.Validate(), QStringLiteral("Please Input Valid Degree(1-360)."));
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

    // Cancel changes nothing, not even the stacking order.
    Add(mctest::solidImage(20, 20, Qt::green), "top.png");
    cur = item;
    host.onRotate = nullptr;
    Do(ID_ROTATE_CLOCKWISE_X);
    EXPECT_EQ(item->m_dAngle, 1205.0);
    EXPECT_NE(doc.m_listCards.GetHead(), item);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemCommandsTest, CustomizeSizeOpensWithScaledValuesAndAppliesTheResult)
{
    Card* item = Add(mctest::solidImage(400, 300, Qt::blue));
    item->m_dScale = 0.5;
    item->UpdateRegion();
    host.onSize = [](SizeModel& m) {
        EXPECT_EQ(m.m_strWidth, "200");
        EXPECT_EQ(m.m_strHeight, "150");
        EXPECT_EQ(m.m_strRatio, "50");
        m.SetMode(1);
        m.EditRatio("100");
        EXPECT_EQ(m.m_strWidth, "400");
        EXPECT_EQ(m.m_strHeight, "300");
        m.SetMode(0);
        m.EditWidth("2001");
        EXPECT_EQ(m.Validate(), QStringLiteral("Please Input Valid Width(40-2000) and Height(30-1500)."));
        m.EditWidth("600");
        return !m.Validate().has_value();
    };
    Do(ID_CUSTOMIZE_SIZE);
    EXPECT_EQ(item->m_dScale, 1.5);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(host.invalidated.size(), 2u);
    EXPECT_NEAR(item->m_rgnItem.boundingRect().width(), 600, 2);
}

TEST_F(ItemCommandsTest, CustomizeSizeCancelledLeavesItemWhereItWas)
{
    Card* item = Add(mctest::solidImage(400, 300, Qt::blue), "a.png");
    Add(mctest::solidImage(20, 20, Qt::green), "b.png");
    cur = item;
    const double scale = item->m_dScale;
    Do(ID_CUSTOMIZE_SIZE);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(item->m_dScale, scale);
    EXPECT_NE(doc.m_listCards.GetHead(), item);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemCommandsTest, FlipsKeepTheRotationAndRecomputeTheArea)
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
}

TEST_F(ItemCommandsTest, ShearStepsInWholeUnits)
{
    Card* item = Add(mctest::solidImage(100, 100, Qt::blue));
    const int width = item->m_rgnItem.boundingRect().width();
    Do(ID_SHEAR_HORIZONTAL_CLOCKWISE);
    EXPECT_EQ(item->m_dShearX, -1.0);
    // One step moves the bottom edge 10 pixels against the top.
    EXPECT_NEAR(item->m_rgnItem.boundingRect().width(), width + 10, 2);
    Do(ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE);
    Do(ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE);
    EXPECT_EQ(item->m_dShearX, 1.0);
    Do(ID_SHEAR_VERTICAL_CLOCKWISE);
    EXPECT_EQ(item->m_dShearY, 1.0);
    Do(ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE);
    Do(ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE);
    EXPECT_EQ(item->m_dShearY, -1.0);
}

TEST_F(ItemCommandsTest, GrayOffRestoresColoursAndKeepsAlpha)
{
    Card* item = Add(mctest::solidImage(40, 40, QColor(255, 0, 0)));
    Do(ID_SEMITRANSPARENT);
    Do(ID_GRAY);
    EXPECT_TRUE(item->m_bGray);
    EXPECT_EQ(item->m_pBitmap->pixel(20, 20), qRgba(76, 76, 76, 128));
    CommandState state;
    ASSERT_TRUE(commands.OnUpdateCommand(ID_GRAY, state));
    EXPECT_TRUE(state.checked);
    Do(ID_GRAY);
    EXPECT_FALSE(item->m_bGray);
    EXPECT_EQ(item->m_pBitmap->pixel(20, 20), qRgba(255, 0, 0, 128));
    ASSERT_TRUE(commands.OnUpdateCommand(ID_GRAY, state));
    EXPECT_FALSE(state.checked);
}

TEST_F(ItemCommandsTest, SemitransparentUsesTheDefaultAndToggles)
{
    Card* item = Add(mctest::solidImage(30, 30, Qt::blue));
    defaultAlpha = 90;
    Do(ID_SEMITRANSPARENT);
    EXPECT_TRUE(item->m_bSemi);
    EXPECT_EQ(item->m_nAlpha, 90);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(3, 3)), 90);
    EXPECT_EQ(host.invalidated.size(), 1u);
    Do(ID_SEMITRANSPARENT);
    EXPECT_FALSE(item->m_bSemi);
    EXPECT_EQ(item->m_nAlpha, 255);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(3, 3)), 255);
}

TEST_F(ItemCommandsTest, SetSemitransparencyWithoutItemChangesOnlyTheDefault)
{
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 128);
        EXPECT_EQ(m.m_nDefault, 128);
        m.OnTrack(255);
        m.m_bSetDefault = true;
        EXPECT_EQ(m.Validate(), QStringLiteral("255 should't be set as default semitransparency."));
        m.OnTrack(60); // moving the trackbar unticks the box
        EXPECT_FALSE(m.m_bSetDefault);
        m.m_bSetDefault = true;
        return !m.Validate().has_value();
    };
    EXPECT_TRUE(Do(ID_SET_SEMITRANSPARENCY));
    EXPECT_EQ(defaultAlpha, 60);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemCommandsTest, SetSemitransparencyOnItemRaisesWithoutMarkingModified)
{
    Card* item = Add(mctest::solidImage(30, 30, Qt::blue), "a.png");
    item->m_nAlpha = 200;
    Add(mctest::solidImage(30, 30, Qt::green), "b.png");
    cur = item;
    host.onSemi = [](SemiModel& m) {
        EXPECT_EQ(m.m_nAlphaValue, 200); // the item's own alpha
        m.UseDefault();
        EXPECT_EQ(m.m_nAlphaValue, 128);
        m.OnTrack(70);
        return true;
    };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_EQ(doc.m_listCards.GetHead(), item);
    EXPECT_TRUE(item->m_bSemi);
    EXPECT_EQ(item->m_nAlpha, 70);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(3, 3)), 70);
    EXPECT_EQ(defaultAlpha, 128);
    EXPECT_EQ(host.invalidated.size(), 1u);
    EXPECT_FALSE(doc.IsModified());

    host.onSemi = [](SemiModel& m) {
        m.OnTrack(255);
        return true;
    };
    Do(ID_SET_SEMITRANSPARENCY);
    EXPECT_FALSE(item->m_bSemi); // 255 means opaque, not semitransparent
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(3, 3)), 255);
}

TEST_F(ItemCommandsTest, EraseToggleAlwaysStartsFromExactColour)
{
    QImage image = framedPicture(60, 60);
    image.setPixel(8, 30, qRgb(254, 255, 255)); // near-white in the background
    Card* item = Add(image);
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 0);
        m.OnTrack(5);
        return true;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_TRUE(item->m_bErased);
    EXPECT_EQ(item->m_nEraseExtent, 5);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(8, 30)), 0);
    EXPECT_FALSE(doc.IsModified());

    Do(ID_ERASE_BACKGROUND); // off
    EXPECT_FALSE(item->m_bErased);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(8, 30)), 255);
    EXPECT_TRUE(doc.IsModified());
    Do(ID_ERASE_BACKGROUND); // on again, exact matches only
    EXPECT_TRUE(item->m_bErased);
    EXPECT_EQ(item->m_nEraseExtent, 0);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(8, 30)), 255);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(item->m_pBitmap->pixel(30, 30)), 255);
    CommandState state;
    ASSERT_TRUE(commands.OnUpdateCommand(ID_ERASE_BACKGROUND, state));
    EXPECT_TRUE(state.checked);

    // The dialog opens with the extent of an erased item.
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 0);
        m.OnTrack(7);
        return true;
    };
    Do(ID_SET_ERASE_EXTENT);
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 7);
        return false;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_EQ(item->m_nEraseExtent, 7);
}

TEST_F(ItemCommandsTest, SetEraseExtentErasesAnItemThatWasNotErased)
{
    Card* item = Add(framedPicture(60, 60));
    item->m_nEraseExtent = 9; // stale value of an item that is not erased
    host.onTrans = [](TransModel& m) {
        EXPECT_EQ(m.m_nExtent, 0);
        m.OnTrack(3);
        return true;
    };
    Do(ID_SET_ERASE_EXTENT);
    EXPECT_TRUE(item->m_bErased);
    EXPECT_EQ(item->m_nEraseExtent, 3);
    EXPECT_FALSE(item->m_rgnKept.isEmpty());
    // Only the red block is kept: the kept area is about a quarter.
    EXPECT_TRUE(item->m_rgnItem.contains(item->m_rgnKept.boundingRect()));
    EXPECT_LT(item->m_rgnKept.boundingRect().width(), 40);
    EXPECT_EQ(host.invalidated.size(), 1u);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemCommandsTest, DeleteAsksUntilTheUserSaysNoLongerPrompt)
{
    Card* first = Add(mctest::solidImage(30, 30, Qt::blue), "a.png");
    // "No" with the box ticked keeps both the item and the question.
    host.onDelete = [](DelImgModel& m) {
        m.m_bNoPrompt = true;
        return false;
    };
    Do(ID_DELETE_IMAGE);
    EXPECT_EQ(doc.m_listCards.GetCount(), 1);
    EXPECT_EQ(cur, first);
    EXPECT_TRUE(mc::view::g_bPromptOnDelete);
    EXPECT_FALSE(doc.IsModified());

    // "Yes" without the box deletes and keeps asking.
    host.onDelete = [](DelImgModel&) { return true; };
    const QRegion area = first->m_rgnItem;
    Do(ID_DELETE_IMAGE);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_EQ(cur, nullptr);
    EXPECT_EQ(host.cleared, 1);
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], area);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(mc::view::g_bPromptOnDelete);

    // "Yes" with the box: deleted, and no more questions.
    Add(mctest::solidImage(30, 30, Qt::blue), "b.png");
    host.onDelete = [](DelImgModel& m) {
        m.m_bNoPrompt = true;
        return true;
    };
    Do(ID_DELETE_IMAGE);
    EXPECT_FALSE(mc::view::g_bPromptOnDelete);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    Add(mctest::solidImage(30, 30, Qt::blue), "c.png");
    const int asked = host.asked;
    Do(ID_DELETE_IMAGE);
    EXPECT_EQ(host.asked, asked);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_EQ(cur, nullptr);
}

TEST_F(ItemCommandsTest, CloneGoesOnTopAtScreenCentreWithTheSourceState)
{
    Card* source = Add(framedPicture(80, 60), "a.png");
    Do(ID_ROTATE_CLOCKWISE);
    Do(ID_GRAY);
    source->BeginDrag(source->m_ptCenter);
    source->DragTo(source->m_ptCenter + QPoint(-200, 100));
    Card* other = Add(mctest::solidImage(20, 20, Qt::green), "b.png");
    cur = source;
    Do(ID_CLONE);
    ASSERT_EQ(doc.m_listCards.GetCount(), 3);
    Card* clone = doc.m_listCards.GetHead();
    EXPECT_NE(clone, source);
    EXPECT_EQ(cur, source);                          // still the current item
    // The source keeps its place below the other item.
    std::vector<Card*> order;
    for (const auto& c : doc.m_listCards)
        order.push_back(c.get());
    EXPECT_EQ(order, (std::vector<Card*>{clone, other, source}));
    EXPECT_EQ(clone->m_ptCenter, QPoint(512, 384));
    EXPECT_NE(source->m_ptCenter, clone->m_ptCenter);
    EXPECT_EQ(clone->m_dAngle, 10.0);
    EXPECT_EQ(clone->m_dScale, source->m_dScale);
    EXPECT_TRUE(clone->m_bGray);
    EXPECT_EQ(*clone->m_pBitmap, *source->m_pBitmap);
    EXPECT_EQ(clone->m_rgnItem, source->m_rgnItem.translated(clone->m_ptCenter - source->m_ptCenter));
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], clone->m_rgnItem);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ItemCommandsTest, SendToBackLowersAndRepaints)
{
    Card* bottom = Add(mctest::solidImage(20, 20, Qt::green), "a.png");
    Card* item = Add(mctest::solidImage(30, 30, Qt::blue), "b.png");
    Do(ID_SEND_TO_BACK);
    EXPECT_EQ(doc.m_listCards.GetHead(), bottom);
    EXPECT_EQ(doc.m_listCards.GetTail(), item);
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], item->m_rgnItem);
    EXPECT_TRUE(doc.IsModified());
}

// Which commands mark the project modified, each on a fresh item that is
// raised from below another one.
TEST_F(ItemCommandsTest, ModifiedFlagAfterEachCommand)
{
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) {
        m.SetMode(1);
        m.EditRatio("150");
        return !m.Validate().has_value();
    };
    host.onSemi = [](SemiModel& m) {
        m.OnTrack(100);
        return true;
    };
    host.onTrans = [](TransModel& m) {
        m.OnTrack(2);
        return true;
    };
    host.onDelete = [](DelImgModel&) { return true; };
    const int marking[] = {ID_DELETE_IMAGE, ID_SEND_TO_BACK, ID_CLONE, ID_ZOOM_IN, ID_ZOOM_OUT,
                           ID_ACTUAL_SIZE, ID_CUSTOMIZE_SIZE, ID_ROTATE_CLOCKWISE,
                           ID_ROTATE_COUNTER_CLOCKWISE, ID_ROTATE_CLOCKWISE_X,
                           ID_ROTATE_COUNTER_CLOCKWISE_X, ID_ROTATE_CLOCKWISE_90,
                           ID_ROTATE_CLOCKWISE_180, ID_ROTATE_CLOCKWISE_270, ID_FLIP_HORIZONTAL,
                           ID_FLIP_VERTICAL, ID_SHEAR_HORIZONTAL_CLOCKWISE,
                           ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE, ID_SHEAR_VERTICAL_CLOCKWISE,
                           ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE, ID_GRAY, ID_SEMITRANSPARENT,
                           ID_ERASE_BACKGROUND};
    int n = 0;
    for (int id : marking) {
        Card* item = Add(framedPicture(40, 40), QStringLiteral("m%1.png").arg(n++));
        Add(mctest::solidImage(10, 10, Qt::green), QStringLiteral("m%1.png").arg(n++));
        cur = item;
        ASSERT_TRUE(Do(id)) << id;
        EXPECT_TRUE(doc.IsModified()) << id;
        EXPECT_FALSE(host.invalidated.empty()) << id;
        if (id != ID_DELETE_IMAGE && id != ID_SEND_TO_BACK && id != ID_CLONE) {
            EXPECT_EQ(doc.m_listCards.GetHead(), item) << id;
        }
    }
    for (int id : {ID_SET_SEMITRANSPARENCY, ID_SET_ERASE_EXTENT}) {
        Add(framedPicture(40, 40), QStringLiteral("m%1.png").arg(n++));
        ASSERT_TRUE(Do(id)) << id;
        EXPECT_FALSE(doc.IsModified()) << id;
        EXPECT_FALSE(host.invalidated.empty()) << id;
    }
}

TEST_F(ItemCommandsTest, WithoutCurrentItemOnlyTheSetDialogsRun)
{
    Card* item = Add(framedPicture(40, 40));
    const QRegion area = item->m_rgnItem;
    cur = nullptr;
    host.onDelete = [](DelImgModel&) { return true; };
    host.onRotate = [](RotateModel& m) { return !m.Validate().has_value(); };
    host.onSize = [](SizeModel& m) { return !m.Validate().has_value(); };
    for (int id = 140; id <= 190; ++id) {
        if (!ItemCommands::Handles(id))
            continue;
        const int asked = host.asked;
        EXPECT_TRUE(Do(id)) << id; // handled, even when it does nothing
        const bool dialog = id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT;
        EXPECT_EQ(host.asked, asked + (dialog ? 1 : 0)) << id;
    }
    EXPECT_EQ(doc.m_listCards.GetCount(), 1);
    EXPECT_EQ(item->m_rgnItem, area);
    EXPECT_FALSE(item->m_bGray || item->m_bSemi || item->m_bErased);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
    CommandState state;
    for (int id : {ID_GRAY, ID_SEMITRANSPARENT, ID_ERASE_BACKGROUND}) {
        state.checked = true;
        ASSERT_TRUE(commands.OnUpdateCommand(id, state));
        EXPECT_FALSE(state.checked);
        EXPECT_TRUE(state.enabled);
    }
    EXPECT_FALSE(commands.OnCommand(ID_REFRESH)); // the view's own
    EXPECT_FALSE(commands.HandlesCommand(ID_ADD_IMAGE));
}

TEST_F(ItemCommandsTest, AnItemNoLongerInTheProjectIsNeverTouched)
{
    Add(mctest::solidImage(30, 30, Qt::blue), "a.png");
    Card* gone = cur;
    doc.m_listCards.RemoveAndDelete(gone); // cur now names nothing
    Do(ID_ZOOM_IN);
    EXPECT_EQ(cur, nullptr);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
