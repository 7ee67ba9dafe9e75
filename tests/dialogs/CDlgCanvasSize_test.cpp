#include "dialogs/CDlgCanvasSize.h"

#include "dialogs/CMessageBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// The screen is 1024 x 768 in the tests.
TEST(CDlgCanvasSize, WidthDrivesHeightWhileTicked)
{
    CDlgCanvasSize dialog(1024, 768, true);
    EXPECT_EQ(dialog.windowTitle(), "Customize Canvas Size");
    EXPECT_EQ(dialog.WidthEdit()->text(), "1024");
    dialog.WidthEdit()->selectAll();
    QTest::keyClicks(dialog.WidthEdit(), "800");
    EXPECT_EQ(dialog.HeightEdit()->text(), "600");
    dialog.ScaleBox()->setChecked(false);
    dialog.HeightEdit()->selectAll();
    QTest::keyClicks(dialog.HeightEdit(), "100");
    EXPECT_EQ(dialog.WidthEdit()->text(), "800");
    // Letters are not accepted.
    QTest::keyClicks(dialog.HeightEdit(), "x");
    EXPECT_EQ(dialog.HeightEdit()->text(), "100");
}

TEST(CDlgCanvasSize, OkRefusesSizesOutsideTheScreen)
{
    QStringList messages;
    const auto previous = mc::dialogs::SetMessageHandler([&](const QString& text) { messages << text; });
    CDlgCanvasSize dialog(1024, 768, false);
    dialog.WidthEdit()->selectAll();
    QTest::keyClicks(dialog.WidthEdit(), "1025");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "Please Input Valid Width(1-1024) and Height(1-768).");
    dialog.WidthEdit()->selectAll();
    QTest::keyClicks(dialog.WidthEdit(), "640");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nWidth, 640);
    EXPECT_EQ(dialog.m_nHeight, 768);
    mc::dialogs::SetMessageHandler(previous);
}
