#include "platform/GVariantText.h"

namespace mc::platform {

namespace {

std::optional<char32_t> hexValue(QStringView digits)
{
    char32_t v = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        char32_t d;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        else
            return std::nullopt;
        v = v * 16 + d;
    }
    return v;
}

} // namespace

std::optional<QString> parseGVariantString(QStringView text)
{
    QStringView t = text.trimmed();
    if (t.startsWith(u"@s "))
        t = t.mid(3).trimmed();
    if (t.size() < 2)
        return std::nullopt;
    const QChar quote = t.front();
    if ((quote != u'\'' && quote != u'"') || t.back() != quote)
        return std::nullopt;

    QString out;
    const qsizetype end = t.size() - 1;
    for (qsizetype i = 1; i < end; ++i) {
        const QChar c = t[i];
        if (c == quote)
            return std::nullopt; // an unescaped quote ends the literal early
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= end)
            return std::nullopt;
        const QChar e = t[i];
        switch (e.unicode()) {
        case 'a': out += QChar(0x07); break;
        case 'b': out += QChar(0x08); break;
        case 'f': out += QChar(0x0C); break;
        case 'n': out += QChar(0x0A); break;
        case 'r': out += QChar(0x0D); break;
        case 't': out += QChar(0x09); break;
        case 'v': out += QChar(0x0B); break;
        case 'u':
        case 'U': {
            const qsizetype n = e == u'u' ? 4 : 8;
            if (i + n >= end)
                return std::nullopt;
            const auto cp = hexValue(t.mid(i + 1, n));
            if (!cp || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF))
                return std::nullopt;
            const char32_t u = *cp;
            out += QString::fromUcs4(&u, 1);
            i += n;
            break;
        }
        default: out += e; break; // \\, \', \" and any other character stand for themselves
        }
    }
    return out;
}

QString quoteGVariantString(const QString& value)
{
    QString out = QStringLiteral("'");
    for (QChar c : value) {
        if (c == u'\\' || c == u'\'')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += u'\'';
    return out;
}

} // namespace mc::platform
