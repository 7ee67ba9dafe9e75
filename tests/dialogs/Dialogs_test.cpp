// The dialogs: their computing parts, then the widgets offscreen (texts,
// ranges, and that refused input keeps the dialog open with the entry as typed).
#include "dialogs/CDlgCanvasSize.h"
#include "dialogs/CDlgDelImg.h"
#include "dialogs/CDlgRotate.h"
#include "dialogs/CDlgSemi.h"
#include "dialogs/CDlgSize.h"
#include "dialogs/CDlgTrans.h"
#include "dialogs/CMessageBox.h"
#include "dialogs/EditNumbers.h"

#include "common/TestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>

namespace {
QString fields(const CanvasSizeModel& m) { return m.WidthText() + "x" + m.HeightText(); }
QString boxes(const SizeModel& m) { return QStringList{m.m_strWidth, m.m_strHeight, m.m_strRatio}.join(' '); }
// What OK answers: the refusal shown, or "ok".
QString answer(const std::optional<QString>& refusal) { return refusal.value_or("ok"); }
const QString kCanvasRefusal = "Please Input Valid Width(1-1024) and Height(1-768).";

// Collects the messages instead of showing boxes.
struct MessageLog {
    MessageLog() : previous(mc::dialogs::SetMessageHandler([this](const QString& t) { texts << t; })) {}
    ~MessageLog() { mc::dialogs::SetMessageHandler(previous); }
    QStringList texts;
    mc::dialogs::MessageHandler previous;
};

QPushButton* Button(QWidget& dialog, int id) { return dialog.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id)); }

// Focuses an edit and replaces its text as typing would.
void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(edit, &focusIn); // offscreen windows may lack focus
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// The window title and the texts of `parts`, joined by '|'.
QString texts(const QWidget& dialog, std::initializer_list<const QObject*> parts)
{
    QStringList t{dialog.windowTitle()};
    for (const QObject* part : parts)
        t << part->property("text").toString();
    return t.join('|');
}

// The edit boxes read their numbers like atoi, saturating.
TEST(EditNumbers, LeadingNumberLikeAtoi)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"abc", 0}, {"  42x7", 42}, {"+5", 5}, {"-5", -5}, {"007", 7},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(mc::dialogs::ParseLeadingInt(text), value) << text;
    using mc::dialogs::TruncToInt;
    EXPECT_EQ(std::tuple(TruncToInt(2.9), TruncToInt(-2.9), TruncToInt(1e300)), std::tuple(2, -2, INT_MAX));
}

// With the box ticked one size follows the other in the screen ratio, key by
// key, and the box typed in keeps what was typed; unticked or emptied,
// nothing follows. Ticking recomputes the height from the width. OK checks
// both sizes against the screen: leading digits count; a ratio below 1 and
// values at the int limit neither overflow nor pass.
TEST(CanvasSizeModelTest, TypingKeyByKeyScreenRatioAndOk)
{
    // screen, ticked, typed into the width (else the height), both boxes
    // when emptied and after each key
    const std::tuple<QSize, bool, bool, QString, QString> cases[] = {
        {{1024, 768}, true, true, "1024", "x768 1x0 10x7 102x76 1024x768"},
        {{1920, 1200}, true, true, "1601", "x1200 1x0 16x10 160x100 1601x1000"},
        {{1024, 768}, true, false, "384", "1024x 4x3 50x38 512x384"},
        {{1024, 768}, false, true, "500", "x768 5x768 50x768 500x768"}};
    for (const auto& [screen, ticked, width, typed, want] : cases) {
        CanvasSizeModel m(screen.width(), screen.height(), ticked, screen.width(), screen.height());
        QStringList seen;
        for (qsizetype keys = 0; keys <= typed.size(); ++keys) {
            width ? m.EditWidth(typed.left(keys)) : m.EditHeight(typed.left(keys));
            seen << fields(m);
        }
        EXPECT_EQ(seen.join(' '), want);
    }
    CanvasSizeModel m(800, 700, false, 1024, 768);
    m.SetByDisplayScale(true);
    EXPECT_EQ(fields(m), "800x600");

    const std::tuple<QSize, bool, QString, QString, QString> oks[] = {
        {{1024, 768}, false, "0", "768", kCanvasRefusal}, {{1024, 768}, false, "1025", "768", kCanvasRefusal},
        {{1024, 768}, false, "1024", "769", kCanvasRefusal}, {{1024, 768}, false, "1", "768", "ok 1x768"},
        {{1024, 768}, false, "640px", "768", "ok 640x768"}, {{1024, 768}, true, "", "2147483647", kCanvasRefusal},
        {{1280, 1024}, false, "0", "5", "Please Input Valid Width(1-1280) and Height(1-1024)."},
        {{768, 1024}, true, "99999999999999999999", "", "Please Input Valid Width(1-768) and Height(1-1024)."}};
    for (const auto& [screen, ticked, w, h, want] : oks) {
        CanvasSizeModel m(1, 1, ticked, screen.width(), screen.height());
        m.EditWidth(w);
        m.EditHeight(h);
        const QString got = answer(m.Validate());
        EXPECT_EQ(got == "ok" ? QString("ok %1x%2").arg(m.m_nWidth).arg(m.m_nHeight) : got, want) << w.toStdString() << "x" << h.toStdString();
    }
}

TEST(RotateModel, AcceptsOneToThreeSixtyAndKeepsTheText)
{
    RotateModel model(true);
    EXPECT_EQ(model.Label() + RotateModel(false).Label(), "Clockwise:Counter Clockwise:");
    // Degree 0: refused, the text kept as typed.
    const std::pair<const char*, int> rows[] = {{"", 0}, {"0", 0}, {"361", 0}, {"1", 1}, {"360", 360}};
    for (const auto& [text, degree] : rows) {
        model.m_strDegree = text;
        EXPECT_EQ(answer(model.Validate()), degree ? "ok" : "Please Input Valid Degree(1-360).");
        EXPECT_EQ(degree ? QString::number(model.m_nDegree) : model.m_strDegree, text);
    }
}

// Sizes truncate, the ratio rounds; each box rewrites the other two.
TEST(SizeModel, BoxesRewriteEachOtherAndOkValidatesTheChosenMode)
{
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    const std::pair<QString, QString> steps[] = { // box and text typed, the three boxes after
        // 225.75 and 75.25 truncated; 134.67 and 33.67 rounded; 132.0 + 0.5;
        // an emptied box changes nothing else
        {"", "200 150 50"}, {"w301", "301 225 75"}, {"h101", "135 101 34"},
        {"r33", "132 99 33"}, {"r100", "400 300 100"}, {"w", " 300 100"}};
    for (const auto& [typed, after] : steps) {
        typed.startsWith('w') ? model.EditWidth(typed.mid(1)) : typed.startsWith('h') ? model.EditHeight(typed.mid(1))
                              : typed.startsWith('r') ? model.EditRatio(typed.mid(1)) : void();
        EXPECT_EQ(boxes(model), after) << typed.toStdString();
    }
    EXPECT_EQ(boxes(SizeModel::ForItem(0.337, 101, 77)), "34 25 34"); // 34.037, 25.949, 33.7 + 0.5
    SizeModel extreme(1, 9999, 100, 1, 1000000);
    extreme.EditWidth("9999");
    EXPECT_EQ(extreme.m_strHeight, QString::number(INT_MAX));
    extreme.EditRatio("999");
    EXPECT_EQ(extreme.m_strWidth, "10"); // 9.99 rounded

    // OK in mode 0: width and height within bounds (the height is not tied to the
    // width); mode 1: the ratio only, whatever the width says.
    const QString sizes = "Please Input Valid Width(40-2000) and Height(30-1500).", ratio = "Please Input Valid Ratio(10-500).";
    const std::tuple<int, const char*, const char*, const char*, QString> cases[] = {
        {0, "2001", "150", "50", sizes}, {0, "39", "150", "50", sizes}, {0, "400", "1501", "50", sizes},
        {0, "400", "100", "50", "ok 1"}, {0, "2000", "100", "50", "ok 5"}, {1, "99999", "150", "9", ratio},
        {1, "99999", "150", "501", ratio}, {1, "99999", "150", "", ratio}, {1, "99999", "150", "10", "ok 0.10000000000000001"}};
    for (const auto& [mode, width, height, ratioText, want] : cases) {
        SizeModel model(200, 150, 50, 400, 300);
        model.SetMode(mode);
        model.EditWidth(width);
        model.m_strHeight = height;
        model.m_strRatio = ratioText;
        const QString got = answer(model.Validate());
        EXPECT_EQ(got == "ok" ? "ok " + QString::number(model.m_dResultScale, 'g', 17) : got, want) << mode << width << height << ratioText;
    }
    // Tiny pictures cannot be sized to nothing.
    SizeModel tiny(5, 5, 100, 5, 5);
    tiny.EditWidth("0");
    EXPECT_TRUE(tiny.Validate().has_value());
    tiny.EditWidth("1");
    EXPECT_FALSE(tiny.Validate().has_value());
    EXPECT_DOUBLE_EQ(tiny.m_dResultScale, 0.2);
}

TEST(TrackbarAndThumbnailModels, ClampsAndProportions)
{
    EXPECT_EQ(std::tuple(TransModel(7).m_nExtent, TransModel(-3).m_nExtent, TransModel(80).m_nExtent), std::tuple(7, 0, 50));
    SemiModel semi(200, 128); // the rest of it through its dialog
    semi.OnTrack(0);
    EXPECT_EQ(semi.m_nAlphaValue, 1);
    // Proportions kept up to the width limit.
    for (const auto& [picture, size] : {std::pair(QSize(300, 300), QSize(75, 75)), {QSize(100, 300), QSize(25, 75)},
                                        {QSize(400, 300), QSize(100, 75)}, {QSize(1000, 100), QSize(120, 75)}})
        EXPECT_EQ(DelImgModel::ThumbnailRect(picture), QRect(QPoint(20, 15), size)) << picture.width();
}

// The screen is 1024 x 768 in the tests.
TEST(CDlgCanvasSize, WidthDrivesHeightWhileTickedAndOkRefusesSizesBeyondTheScreen)
{
    MessageLog log;
    CDlgCanvasSize dialog(1024, 768, true);
    const auto boxes = [&] { return texts(dialog, {dialog.WidthEdit(), dialog.HeightEdit()}); };
    EXPECT_EQ(boxes(), "Customize Canvas Size|1024|768");
    TypeInto(dialog.WidthEdit(), "1000"); // the height never writes the width back
    EXPECT_EQ(boxes(), "Customize Canvas Size|1000|750");
    dialog.ScaleBox()->setChecked(false);
    TypeInto(dialog.HeightEdit(), "100x"); // letters are not accepted
    EXPECT_EQ(boxes(), "Customize Canvas Size|1000|100");

    TypeInto(dialog.WidthEdit(), "1025");
    dialog.accept(); // refused: still open
    EXPECT_EQ(std::pair(log.texts, dialog.result()), std::pair(QStringList{kCanvasRefusal}, int(QDialog::Rejected)));
    TypeInto(dialog.WidthEdit(), "640");
    dialog.accept();
    EXPECT_EQ(std::pair(dialog.result(), QSize(dialog.m_nWidth, dialog.m_nHeight)), std::pair(int(QDialog::Accepted), QSize(640, 100)));
}

TEST(CDlgRotate, RefusedDegreeKeepsTheDialogOpen)
{
    MessageLog log;
    RotateModel model(false);
    CDlgRotate dialog(model);
    // The label shows its whole text, left of the edit.
    EXPECT_GE(dialog.Label()->width(), dialog.Label()->sizeHint().width());
    EXPECT_LT(dialog.Label()->geometry().right(), dialog.DegreeEdit()->x());
    dialog.show();
    EXPECT_EQ(texts(dialog, {dialog.DegreeEdit()}), "Rotate Degree|10");

    TypeInto(dialog.DegreeEdit(), "4x5678"); // digits only, three at most
    Button(dialog, 1)->click();
    EXPECT_EQ(std::tuple(log.texts, dialog.isVisible(), dialog.DegreeEdit()->text()),
              std::tuple(QStringList{"Please Input Valid Degree(1-360)."}, true, QString("456")));

    TypeInto(dialog.DegreeEdit(), "45");
    Button(dialog, 1)->click();
    EXPECT_EQ(std::tuple(dialog.isVisible(), dialog.result(), model.m_nDegree), std::tuple(false, int(QDialog::Accepted), 45));
}

TEST(CDlgSize, BoxesFollowEachOtherAndModeFollowsFocus)
{
    MessageLog log;
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    CDlgSize dialog(model);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(texts(dialog, {dialog.WidthRadio(), dialog.RatioRadio()}), "Customize Size|Width:|Scale Ratio:");
    EXPECT_TRUE(dialog.WidthRadio()->isChecked());

    TypeInto(dialog.RatioEdit(), "1000"); // three digits at most
    EXPECT_EQ(std::tuple(dialog.RatioRadio()->isChecked(), model.m_nMode, dialog.RatioEdit()->text()),
              std::tuple(true, 1, QString("100")));

    // Clicking "Width:" moves into the width box with its text selected.
    dialog.WidthRadio()->click();
    EXPECT_EQ(std::pair(model.m_nMode, dialog.WidthEdit()->selectedText()), std::pair(0, QString("400")));
    TypeInto(dialog.WidthEdit(), "2001");
    Button(dialog, 1)->click();
    EXPECT_EQ(std::tuple(log.texts, dialog.isVisible(), dialog.WidthEdit()->text()),
              std::tuple(QStringList{"Please Input Valid Width(40-2000) and Height(30-1500)."}, true, QString("2001")));
}

TEST(CDlgSemi, TrackbarDefaultsAndRefusedDefault)
{
    MessageLog log;
    SemiModel model(200, 128);
    CDlgSemi dialog(model);
    dialog.show();
    const auto state = [&] { return texts(dialog, {dialog.ValueEdit(), dialog.UseDefaultButton(), dialog.SetDefaultBox()})
                                    + QString("|%1 %2").arg(dialog.Slider()->value()).arg(dialog.SetDefaultBox()->isChecked()); };
    EXPECT_EQ(state(), "Set Semitransparency|200|Use  Default|Set Default|200 0");
    dialog.SetDefaultBox()->setChecked(true);
    dialog.UseDefaultButton()->click();
    EXPECT_EQ(state(), "Set Semitransparency|128|Use  Default|Set Default|128 1");
    dialog.Slider()->setValue(255); // moving unticks
    EXPECT_EQ(state(), "Set Semitransparency|255|Use  Default|Set Default|255 0");
    dialog.SetDefaultBox()->setChecked(true);
    Button(dialog, 1)->click();
    EXPECT_EQ(std::pair(log.texts, dialog.isVisible()), std::pair(QStringList{"255 should't be set as default semitransparency."}, true));

    dialog.SetDefaultBox()->setChecked(false);
    Button(dialog, 1)->click();
    EXPECT_EQ(std::tuple(dialog.isVisible(), model.m_nAlphaValue, model.m_bSetDefault), std::tuple(false, 255, false));
}

TEST(CDlgTrans, TrackbarZeroToFifty)
{
    TransModel model(4);
    CDlgTrans dialog(model);
    dialog.show();
    EXPECT_EQ(texts(dialog, {dialog.ValueEdit()}), "Set Erase Multicolor Backgroud Extent|4");
    QTest::keyClick(dialog.Slider(), Qt::Key_End);
    EXPECT_EQ(std::pair(dialog.ValueEdit()->text(), model.m_nExtent), std::pair(QString("50"), 50));
    Button(dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(CDlgDelImg, ThumbnailAndAnswers)
{
    const QImage red = mctest::solidImage(400, 100, Qt::red);
    DelImgModel model;
    CDlgDelImg dialog(model, &red);
    dialog.show();
    ASSERT_TRUE(dialog.findChild<QLabel*>());
    EXPECT_EQ(texts(dialog, {Button(dialog, 1), Button(dialog, 2), dialog.NoPromptBox(), dialog.findChild<QLabel*>()}),
              "Delete Image|&Yes|&No|No longer prompt|Delete the image?");

    // The wide picture is squeezed into 120 x 75 at (20, 15).
    EXPECT_EQ(mctest::rectText(mctest::colourBox(dialog.grab().toImage(), Qt::red)), "20,15 120x75");

    dialog.NoPromptBox()->setChecked(true);
    Button(dialog, 2)->click();
    EXPECT_EQ(std::pair(model.m_bYes, model.m_bNoPrompt), std::pair(false, true));
}

} // namespace
