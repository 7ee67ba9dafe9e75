#pragma once
// What the app tests share: project files written for a test, and scripted
// answers to the dialogs the File commands open.
#include "app/CFileCommands.h"
#include "app/CommandLine.h"
#include "common/TestUtil.h"
#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "items/Card.h"

#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>

namespace apptest {

// What one run of the command line printed and returned.
struct Outcome {
    int status = -1;
    QString out, err;
};

inline Outcome run(QStringList args)
{
    args.prepend("muralcrafter");
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.status = mc::app::RunCommandLine(args, out, err);
    return out.flush(), err.flush(), r;
}

// A project of one `canvas` in `colour` (COLORREF) with one item of `item`
// size per centre in `centres`, written as dir/name.
inline QString writeCanvasProject(const QString& dir, const QString& name, QSize canvas, quint32 colour,
                                  QSize item, const QList<QPoint>& centres, double angle = 0.0)
{
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.m_nCanvasWidth = canvas.width(), doc.m_nCanvasHeight = canvas.height(), doc.m_crBkColor = colour;
    const QString picture =
        mctest::writeImage(dir, name + ".png", mctest::solidImage(item.width(), item.height(), QColor(250, 200, 30)));
    for (const QPoint& at : centres) {
        Card* card = doc.m_listCards.AddHead(Card::CreateFromFile(picture));
        card->m_dAngle = angle, card->m_ptCenter = at;
        card->UpdateRegion();
    }
    const QString path = dir + '/' + name;
    EXPECT_TRUE(mc::document::WriteProjectFile(doc, path).ok);
    return path;
}

// A project of `items` copies of one small picture, written as dir/name.
inline QString writeProject(const QString& dir, const QString& name, int items)
{
    return writeCanvasProject(dir, name, {1024, 768}, 0, {10, 10}, QList<QPoint>(items, QPoint(512, 384)));
}

// Answers every dialog while it lives, recording the messages and questions.
struct ScriptedDialogs {
    ScriptedDialogs()
    {
        mc::dialogs::SetMessageHandler([this](const QString& text) { messages << text; });
        CFileCommands::SetSaveQuestionHandler([this](const QString& text) { return questions << text, answer; });
        CFileCommands::SetSaveFileHandler([this](const QString&) { return savePath; });
        mc::dialogs::SetOpenFileHandler([this](const QString& filter) { return openFilter = filter, openPath; });
    }
    ~ScriptedDialogs()
    {
        mc::dialogs::SetMessageHandler({}), mc::dialogs::SetOpenFileHandler({});
        CFileCommands::SetSaveQuestionHandler({}), CFileCommands::SetSaveFileHandler({});
    }
    QStringList messages, questions;
    CFileCommands::SaveAnswer answer = CFileCommands::SaveAnswer::Cancel;
    QString savePath, openPath, openFilter;
};

} // namespace apptest
