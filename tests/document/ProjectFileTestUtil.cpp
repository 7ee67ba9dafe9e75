#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"

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
    if (!card)
        return nullptr;
    return doc.m_listCards.AddHead(std::move(card));
}

QString fingerprint(const CMyDoc& doc)
{
    QString text;
    QTextStream s(&text);
    s << doc.m_strBkPath << '|' << (doc.m_pBkImage ? doc.m_pBkImage->size().width() : -1) << '|'
      << doc.m_nCanvasWidth << 'x' << doc.m_nCanvasHeight << '|' << doc.m_crBkColor << '|' << doc.m_nPredefined
      << '|' << doc.m_nPlacement << '|' << doc.m_bByDisplayScale << '|' << doc.m_nShape << '|'
      << doc.m_bCutStatus << '|' << doc.GetPathName() << '|' << doc.IsModified() << '\n';
    for (const auto& card : doc.m_listCards) {
        s << static_cast<const void*>(card.get()) << ' ' << card->m_strPath << ' ' << card->m_dAngle << ' '
          << card->m_dScale << ' ' << card->m_ptCenter.x() << ',' << card->m_ptCenter.y() << ' ' << card->m_bCut
          << ' ' << card->m_bGray << '\n';
    }
    return text;
}

QString writeBytes(const QByteArray& bytes, const QString& name)
{
    const QString path = freshDir() + '/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace mctest
