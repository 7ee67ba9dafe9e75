// --render draws what the window shows: the same project opened in the
// program's window and rendered from the command line gives the same
// canvas, down to the pixel, with the client area the window last had.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "app/CommandLine.h"
#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "items/Card.h"
#include "view/CMyView.h"

#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

TEST(RenderMatchesWindow, RenderedCanvasIsTheOneOnTheScreen)
{
    const QString dir = mctest::freshDir();
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.m_nCanvasWidth = 640;
    doc.m_nCanvasHeight = 360;
    doc.m_crBkColor = 0x00207050;
    // A turned item and one that reaches over the canvas edge (clipped).
    const QString picture = mctest::writeImage(dir, "item.png", mctest::solidImage(120, 70, QColor(250, 200, 30)));
    for (const auto& [angle, at] : {std::pair{25.0, QPoint(512, 384)}, std::pair{0.0, QPoint(220, 240)}}) {
        auto card = Card::CreateFromFile(picture);
        card->m_dAngle = angle;
        card->m_ptCenter = at;
        card->UpdateRegion();
        doc.m_listCards.AddHead(std::move(card));
    }
    const QString project = dir + "/shown.mcr";
    ASSERT_TRUE(mc::document::WriteProjectFile(doc, project).ok);

    // The window: the project from the command line, painted once.
    CMyView::ResetFirstUpdate();
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", project}));
    CMyView* view = app.MainFrame()->GetActiveView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->ClientSize().isValid(); }));
    ASSERT_EQ(view->GetDocument()->m_listCards.GetCount(), 2);
    const QRect canvas = view->Layer().CanvasRect().translated(-view->ScrollPosition());
    ASSERT_EQ(canvas.size(), QSize(640, 360));
    const QImage shown = view->viewport()->grab().toImage().copy(canvas).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), canvas.size()) << "canvas not inside the client area";
    EXPECT_EQ(view->RenderCanvas().convertToFormat(QImage::Format_RGB32), shown);

    // The command line takes the client area the window captured.
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    ASSERT_EQ(mc::app::RunCommandLine({"muralcrafter", "--render", dir + "/out.png", project}, outStream, errStream), 0)
        << err.toStdString();
    const QImage rendered(dir + "/out.png");
    ASSERT_EQ(rendered.size(), canvas.size());
    EXPECT_EQ(rendered.convertToFormat(QImage::Format_RGB32), shown);
}
