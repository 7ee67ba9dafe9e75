#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ProjectWriter.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace mctest {

std::unique_ptr<CMyDoc> emptyProject()
{
    return std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
}

Card* addItem(CMyDoc& doc, const QString& path)
{
    std::unique_ptr<Card> card = Card::CreateFromFile(path);
    return card ? doc.m_listCards.AddHead(std::move(card)) : nullptr;
}

QString fingerprint(const CMyDoc& doc, bool identities)
{
    QString text;
    QTextStream s(&text);
    s << doc.m_strBkPath << '|' << (doc.m_pBkImage ? doc.m_pBkImage->size().width() : -1) << '|'
      << doc.m_nCanvasWidth << 'x' << doc.m_nCanvasHeight << '|' << doc.m_crBkColor << '|' << doc.m_nPredefined
      << '|' << doc.m_nPlacement << '|' << doc.m_bByDisplayScale << '|' << doc.m_nShape << '|'
      << doc.m_bCutStatus << '|' << doc.GetPathName() << '|' << doc.IsModified() << '\n';
    for (const auto& card : doc.m_listCards)
        s << (identities ? static_cast<const void*>(card.get()) : nullptr) << ' ' << itemState(*card) << '\n';
    return text;
}

QString writeBytes(const QByteArray& bytes, const QString& name)
{
    return writeFile(freshDir() + '/' + name, bytes);
}

SavedProject savedProject()
{
    const QString dir = freshDir();
    auto doc = emptyProject();
    doc->m_strBkPath = QStringLiteral("/nowhere/bk.png");
    SavedProject saved{{}, {}, writeImage(dir, "b.png", solidImage(16, 16, Qt::blue)),
                       writeImage(dir, "a.png", solidImage(30, 20, Qt::red))};
    addItem(*doc, saved.bottom);
    Card* top = addItem(*doc, saved.top);
    top->m_pClipSaved = std::make_unique<mc::Region>(*top->m_pClip);
    top->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(-6, -6, 12, 12)));
    top->m_bCut = true;
    saved.shape = top->m_pClip->serialize();
    saved.bytes = mc::document::SerializeProject(*doc);
    saved.countAt = 41 + 16 + doc->m_strBkPath.size() - 4;
    saved.fieldsAt = saved.countAt + 8 + 2 * saved.top.size();
    saved.shapeAt = saved.fieldsAt + 60;
    return saved;
}

void keepSeed(const QString& name, const QByteArray& bytes)
{
    const QString dir = qEnvironmentVariable("MC_FUZZ_SEED_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        writeFile(QDir(dir).filePath(name), bytes);
}

QByteArray withPictures(CMyDoc& doc)
{
    QByteArray pictures;
    int n = 0;
    for (const auto& card : doc.m_listCards) {
        pictures += "\n--mc-picture--\n" + readFile(card->m_strPath);
        card->m_strPath = QStringLiteral("/nonexistent-mc-seeds/%1").arg(n++);
    }
    return mc::document::SerializeProject(doc) + pictures;
}

} // namespace mctest
