// One canvas pixel is one device pixel at every scale factor. Qt reads
// QT_SCALE_FACTOR once, so the check runs in a child of this test program.
#include "view/CMyView.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QCoreApplication>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>


TEST(HiDpiView, ClickDragAndPixelsInDevicePixels)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "run by HiDpiView.AtScaleFactorsTwoAndOneAndAHalf";
    CMyView::ResetFirstUpdate();
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.SetCanvasSize(500, 400);
    CMyView view(&doc);
    view.resize(400, 300); // logical
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.OnInitialUpdate();
    const qreal ratio = view.DevicePixelRatio();
    const QSize client = view.ClientSize();
    EXPECT_EQ(client, view.viewport()->size() * ratio); // logical 400 x 300 less the scroll bars
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 1024 - client.width());

    Card* card = doc.m_listCards.AddHead(Card::CreateFromFile(
        mctest::writeImage(mctest::freshDir(), "a.png", mctest::solidImage(80, 60, Qt::red))));
    card->m_ptCenter = view.Layer().CanvasRect().center();
    card->UpdateRegion();
    view.InvalidateAll();
    const QPoint press = (QPointF(card->m_ptCenter) / ratio).toPoint(), release = press + QPoint(20, 10);
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, press);
    EXPECT_EQ(view.m_pCurCard, card);
    const QPoint before = card->m_ptCenter;
    QTest::mouseMove(view.viewport(), release);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, release);
    EXPECT_EQ(card->m_ptCenter - before, view.ToDevice(release) - view.ToDevice(press));

    view.UpdateWindow();
    const QImage shown = view.ScreenImage().copy(view.Layer().CanvasRect()).convertToFormat(QImage::Format_RGB32);
    const QImage rendered = mc::canvas::RenderCanvas(doc, client).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, rendered);
    EXPECT_EQ(view.ScreenImage().devicePixelRatio(), ratio);
}

TEST(HiDpiView, AtScaleFactorsTwoAndOneAndAHalf)
{
    if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "already scaled";
    for (const char* factor : {"2", "1.5"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", factor);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HiDpiView.ClickDrag*"});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAllStandardOutput();
        EXPECT_TRUE(child.exitCode() == 0 && output.contains("[  PASSED  ] 1 test")) << factor << output.toStdString();
    }
}
