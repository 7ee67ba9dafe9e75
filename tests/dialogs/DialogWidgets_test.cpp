// The dialogs as widgets, offscreen: texts, ranges, and that refused input
// keeps the dialog open with the entry as typed.
#include "dialogs/CDlgCanvasSize.h"
#include "dialogs/CDlgDelImg.h"
#include "dialogs/CDlgRotate.h"
#include "dialogs/CDlgSemi.h"
#include "dialogs/CDlgSize.h"
#include "dialogs/CDlgTrans.h"
#include "dialogs/CMessageBox.h"

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

namespace {

// Collects the messages instead of showing boxes.
class MessageLog {
public:
    MessageLog() { m_previous = mc::dialogs::SetMessageHandler([this](const QString& t) { texts << t; }); }
    ~MessageLog() { mc::dialogs::SetMessageHandler(m_previous); }
    QStringList texts;

private:
    mc::dialogs::MessageHandler m_previous;
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

// The screen is 1024 x 768 in the tests.
TEST(CDlgCanvasSize, WidthDrivesHeightWhileTickedAndOkRefusesSizesBeyondTheScreen)
{
    MessageLog log;
    CDlgCanvasSize dialog(1024, 768, true);
    const auto boxes = [&] { return dialog.WidthEdit()->text() + "x" + dialog.HeightEdit()->text(); };
    EXPECT_EQ(dialog.windowTitle(), "Customize Canvas Size");
    EXPECT_EQ(boxes(), "1024x768");
    TypeInto(dialog.WidthEdit(), "1024"); // the height never writes the width back
    EXPECT_EQ(boxes(), "1024x768");
    TypeInto(dialog.WidthEdit(), "800");
    EXPECT_EQ(boxes(), "800x600");
    dialog.ScaleBox()->setChecked(false);
    TypeInto(dialog.HeightEdit(), "100x"); // letters are not accepted
    EXPECT_EQ(boxes(), "800x100");

    TypeInto(dialog.WidthEdit(), "1025");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open
    EXPECT_EQ(log.texts, QStringList{"Please Input Valid Width(1-1024) and Height(1-768)."});
    TypeInto(dialog.WidthEdit(), "640");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QSize(dialog.m_nWidth, dialog.m_nHeight), QSize(640, 100));
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
    EXPECT_EQ(dialog.windowTitle(), "Rotate Degree");
    EXPECT_EQ(dialog.DegreeEdit()->text(), "10");

    TypeInto(dialog.DegreeEdit(), "4x5678");
    EXPECT_EQ(dialog.DegreeEdit()->text(), "456"); // digits only, three at most
    Button(dialog, 1)->click();
    EXPECT_EQ(log.texts, QStringList{"Please Input Valid Degree(1-360)."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.DegreeEdit()->text(), "456");

    TypeInto(dialog.DegreeEdit(), "45");
    Button(dialog, 1)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.m_nDegree, 45);
}

TEST(CDlgSize, BoxesFollowEachOtherAndModeFollowsFocus)
{
    MessageLog log;
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    CDlgSize dialog(model);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.windowTitle(), "Customize Size");
    EXPECT_EQ(dialog.WidthRadio()->text(), "Width:");
    EXPECT_EQ(dialog.RatioRadio()->text(), "Scale Ratio:");
    EXPECT_TRUE(dialog.WidthRadio()->isChecked());

    TypeInto(dialog.RatioEdit(), "1000");
    EXPECT_TRUE(dialog.RatioRadio()->isChecked());
    EXPECT_EQ(model.m_nMode, 1);
    EXPECT_EQ(dialog.RatioEdit()->text(), "100"); // three digits at most

    // Clicking "Width:" moves into the width box with its text selected.
    dialog.WidthRadio()->click();
    EXPECT_EQ(model.m_nMode, 0);
    EXPECT_EQ(dialog.WidthEdit()->selectedText(), "400");
    TypeInto(dialog.WidthEdit(), "2001");
    Button(dialog, 1)->click();
    EXPECT_EQ(log.texts, QStringList{"Please Input Valid Width(40-2000) and Height(30-1500)."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.WidthEdit()->text(), "2001");

    // A computed value longer than what can be typed is shown in full.
    TypeInto(dialog.WidthEdit(), "9999");
    EXPECT_EQ(dialog.RatioEdit()->text(), "2499");

    // The height box keeps the size mode (OK and its scale: the frame's
    // Customize Size test, through this dialog).
    TypeInto(dialog.HeightEdit(), "150");
    EXPECT_TRUE(dialog.WidthRadio()->isChecked());
}

TEST(CDlgSemi, TrackbarDefaultsAndRefusedDefault)
{
    MessageLog log;
    SemiModel model(200, 128);
    CDlgSemi dialog(model);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Set Semitransparency");
    EXPECT_EQ(dialog.ValueEdit()->text(), "200");
    EXPECT_EQ(dialog.UseDefaultButton()->text(), "Use  Default");
    EXPECT_EQ(dialog.SetDefaultBox()->text(), "Set Default");

    dialog.SetDefaultBox()->setChecked(true);
    dialog.UseDefaultButton()->click();
    EXPECT_EQ(dialog.Slider()->value(), 128);
    EXPECT_EQ(dialog.ValueEdit()->text(), "128");
    EXPECT_TRUE(dialog.SetDefaultBox()->isChecked());

    dialog.Slider()->setValue(255);
    EXPECT_EQ(dialog.ValueEdit()->text(), "255");
    EXPECT_FALSE(dialog.SetDefaultBox()->isChecked()); // moving unticks
    dialog.SetDefaultBox()->setChecked(true);
    Button(dialog, 1)->click();
    EXPECT_EQ(log.texts, QStringList{"255 should't be set as default semitransparency."});
    EXPECT_TRUE(dialog.isVisible());

    dialog.SetDefaultBox()->setChecked(false);
    Button(dialog, 1)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(model.m_nAlphaValue, 255);
    EXPECT_FALSE(model.m_bSetDefault);
}

TEST(CDlgTrans, TrackbarZeroToFifty)
{
    TransModel model(4);
    CDlgTrans dialog(model);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Set Erase Multicolor Backgroud Extent");
    EXPECT_EQ(dialog.ValueEdit()->text(), "4");
    QTest::keyClick(dialog.Slider(), Qt::Key_End);
    EXPECT_EQ(dialog.ValueEdit()->text(), "50");
    EXPECT_EQ(model.m_nExtent, 50);
    Button(dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(CDlgDelImg, ThumbnailAndAnswers)
{
    const QImage red = mctest::solidImage(400, 100, Qt::red);
    DelImgModel model;
    CDlgDelImg dialog(model, &red);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Delete Image");
    EXPECT_EQ(Button(dialog, 1)->text(), "&Yes");
    EXPECT_EQ(Button(dialog, 2)->text(), "&No");
    EXPECT_EQ(dialog.NoPromptBox()->text(), "No longer prompt");
    ASSERT_TRUE(dialog.findChild<QLabel*>());
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Delete the image?");

    // The wide picture is squeezed into 120 x 75 at (20, 15).
    const QImage shot = dialog.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(22, 17)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(138, 88)), QColor(Qt::red));
    EXPECT_NE(QColor(shot.pixel(142, 50)), QColor(Qt::red));
    EXPECT_NE(QColor(shot.pixel(50, 92)), QColor(Qt::red));

    dialog.NoPromptBox()->setChecked(true);
    Button(dialog, 2)->click();
    EXPECT_FALSE(model.m_bYes);
    EXPECT_TRUE(model.m_bNoPrompt);
}

} // namespace
