#include "platform/DesktopColor.h"

#include <QColor>
#include <QRegularExpression>

namespace mc::platform {

std::optional<COLORREF> parseColorText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.startsWith(u'#')) {
        // #rgb, #rrggbb, #rrrgggbbb, #rrrrggggbbbb; an alpha form makes no
        // sense for a desktop colour.
        static const QRegularExpression hex(QStringLiteral("^#([0-9a-fA-F]{3}){1,4}$"));
        if (!hex.match(t).hasMatch())
            return std::nullopt;
        const QColor c = QColor::fromString(t);
        if (!c.isValid())
            return std::nullopt;
        return argbToColorref(c.rgb());
    }
    static const QRegularExpression triple(
        QStringLiteral("^(\\d{1,3})\\s*[ ,]\\s*(\\d{1,3})\\s*[ ,]\\s*(\\d{1,3})$"));
    const QRegularExpressionMatch m = triple.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const int r = m.captured(1).toInt();
    const int g = m.captured(2).toInt();
    const int b = m.captured(3).toInt();
    if (r > 255 || g > 255 || b > 255)
        return std::nullopt;
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}

QString formatColorHex(COLORREF color)
{
    return QStringLiteral("#%1%2%3")
        .arg(color & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

QString formatColorTriple(COLORREF color)
{
    return QStringLiteral("%1 %2 %3").arg(color & 0xFF).arg((color >> 8) & 0xFF).arg((color >> 16) & 0xFF);
}

} // namespace mc::platform
