#include "canvas/ClipboardPicture.h"

#include "canvas/CanvasLayer.h"
#include "imaging/ImageIO.h"
#include "items/Card.h"
#include "platform/AtomicFile.h"
#include "platform/DesktopBackend.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace mc::canvas {

QImage ItemPicture(const Card& card)
{
    const QRect bounds = card.m_rgnItem.boundingRect();
    if (bounds.isEmpty() || qint64(bounds.width()) * bounds.height() > imaging::kMaxImagePixels)
        return {};
    QImage picture(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.translate(-bounds.topLeft());
        DrawItem(painter, card);
    }
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QString PastedPictureFolder()
{
    return platform::dataDirectory() + QStringLiteral("/pictures");
}

QString StorePastedPicture(const QImage& image, const QString& folder, QString* error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!imaging::encodeImage(image, &buffer, "image/png", error))
        return {};
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("the folder cannot be made");
        return {};
    }
    const QString stem = folder + QLatin1Char('/')
        + QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex().left(32));
    constexpr int kMaxAttempts = 100;
    for (int n = 0; n < kMaxAttempts; ++n) {
        const QString path = stem + (n ? QStringLiteral("-%1.png").arg(n) : QStringLiteral(".png"));
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink()) {
            QFile file(path);
            if (info.isFile() && file.size() == png.size() && file.open(QIODevice::ReadOnly) && file.readAll() == png)
                return path;
            continue; // not ours: kept as it is
        }
        // Never over a file that appears meanwhile.
        if (platform::WriteFileAtomically(path, png, error, platform::AtomicFile::Existing::Keep))
            return path;
        return {};
    }
    if (error)
        *error = QStringLiteral("every name for it is taken");
    return {};
}

} // namespace mc::canvas
