// The byte form of a Region, stored in project files:
//
//   bytes 0-3   magic "MCRG"
//   bytes 4-5   format version, little-endian (1)
//   byte  6     kind: 0 = path, 1 = infinite
//   byte  7     fill rule: 0 = odd-even, 1 = winding (0 without elements)
//   bytes 8-11  element count n, little-endian (0 for an infinite region)
//   then n elements of 17 bytes: type (0 move, 1 line, 2 curve, 3 curve
//   data) and x, y as little-endian IEEE doubles.
//
// Reading checks everything before it builds anything: the exact length for
// the stated count, the element grammar and finite coordinates.
#include "imaging/Region.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <vector>

namespace mc {

namespace {

constexpr char kMagic[4] = {'M', 'C', 'R', 'G'};
constexpr quint16 kVersion = 1;
constexpr int kHeaderSize = 12;
constexpr int kElementSize = 17;
constexpr quint8 kKindPath = 0;
constexpr quint8 kKindInfinite = 1;

void putDouble(QByteArray& out, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[8];
    qToLittleEndian(bits, buf);
    out.append(buf, 8);
}

double getDouble(const char* p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// Finite and within the range QPainterPath itself accepts.
bool validCoordinate(double v)
{
    return std::isfinite(v) && std::fabs(v) < 1e128;
}

struct RawElement {
    int type;
    double x;
    double y;
};

// A path is a sequence of figures, each a move followed by lines and
// curves; a curve is one CurveTo and exactly two CurveToData elements.
bool checkGrammar(const std::vector<RawElement>& elements, QString* error)
{
    for (size_t i = 0; i < elements.size(); ++i) {
        const int t = elements[i].type;
        if (t < 0 || t > 3)
            return fail(error, QStringLiteral("region element %1 has an unknown type %2").arg(i).arg(t));
        if (i == 0 && t != QPainterPath::MoveToElement)
            return fail(error, QStringLiteral("region path does not start with a move"));
        if (t == QPainterPath::CurveToElement) {
            if (i + 2 >= elements.size() || elements[i + 1].type != QPainterPath::CurveToDataElement ||
                elements[i + 2].type != QPainterPath::CurveToDataElement)
                return fail(error, QStringLiteral("region curve at element %1 is incomplete").arg(i));
            i += 2;
        } else if (t == QPainterPath::CurveToDataElement) {
            return fail(error, QStringLiteral("region curve data at element %1 without a curve").arg(i));
        }
    }
    for (size_t i = 0; i < elements.size(); ++i)
        if (!validCoordinate(elements[i].x) || !validCoordinate(elements[i].y))
            return fail(error, QStringLiteral("region element %1 has an invalid coordinate").arg(i));
    return true;
}

// QPainterPath's own stream operator rebuilds the element list verbatim
// (its public builders would drop repeated points), so the validated
// elements are handed over through it.
QPainterPath buildPath(const std::vector<RawElement>& elements, Qt::FillRule rule)
{
    QByteArray buf;
    {
        QDataStream out(&buf, QIODevice::WriteOnly);
        out << qint32(elements.size());
        int lastMove = 0;
        for (size_t i = 0; i < elements.size(); ++i) {
            out << qint32(elements[i].type) << elements[i].x << elements[i].y;
            if (elements[i].type == QPainterPath::MoveToElement)
                lastMove = int(i);
        }
        out << qint32(lastMove) << qint32(rule);
    }
    QPainterPath path;
    QDataStream in(buf);
    in >> path;
    path.setFillRule(rule);
    return path;
}

} // namespace

QByteArray Region::serialize() const
{
    QByteArray out;
    const int n = m_infinite ? 0 : m_path.elementCount();
    out.reserve(kHeaderSize + n * kElementSize);
    out.append(kMagic, 4);
    char buf[4];
    qToLittleEndian(kVersion, buf);
    out.append(buf, 2);
    out.append(char(m_infinite ? kKindInfinite : kKindPath));
    out.append(char(n > 0 && m_path.fillRule() == Qt::WindingFill ? 1 : 0));
    qToLittleEndian(quint32(n), buf);
    out.append(buf, 4);
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element& e = m_path.elementAt(i);
        out.append(char(e.type));
        putDouble(out, e.x);
        putDouble(out, e.y);
    }
    return out;
}

std::optional<Region> Region::deserialize(const QByteArray& bytes, QString* error)
{
    if (bytes.size() < kHeaderSize) {
        fail(error, QStringLiteral("region data is truncated"));
        return std::nullopt;
    }
    const char* p = bytes.constData();
    if (std::memcmp(p, kMagic, 4) != 0) {
        fail(error, QStringLiteral("region data has a wrong signature"));
        return std::nullopt;
    }
    const quint16 version = qFromLittleEndian<quint16>(p + 4);
    if (version != kVersion) {
        fail(error, QStringLiteral("region data has unsupported version %1").arg(version));
        return std::nullopt;
    }
    const quint8 kind = quint8(p[6]);
    const quint8 rule = quint8(p[7]);
    const quint32 count = qFromLittleEndian<quint32>(p + 8);
    if (kind != kKindPath && kind != kKindInfinite) {
        fail(error, QStringLiteral("region data has unknown kind %1").arg(kind));
        return std::nullopt;
    }
    if (rule > 1) {
        fail(error, QStringLiteral("region data has unknown fill rule %1").arg(rule));
        return std::nullopt;
    }
    // The count is checked against the bytes actually there before anything
    // is allocated for it.
    const qint64 available = bytes.size() - kHeaderSize;
    if (qint64(count) * kElementSize != available) {
        fail(error, QStringLiteral("region data holds %1 bytes for %2 elements").arg(available).arg(count));
        return std::nullopt;
    }
    if (kind == kKindInfinite || count == 0) {
        // Neither has elements nor a fill rule of its own.
        if (count != 0 || rule != 0) {
            fail(error, QStringLiteral("region data without elements has element data"));
            return std::nullopt;
        }
        return kind == kKindInfinite ? Region::infinite() : Region();
    }

    std::vector<RawElement> elements(count);
    const char* e = p + kHeaderSize;
    for (quint32 i = 0; i < count; ++i, e += kElementSize)
        elements[i] = {int(quint8(e[0])), getDouble(e + 1), getDouble(e + 9)};
    if (!checkGrammar(elements, error))
        return std::nullopt;

    Region r;
    r.setPath(buildPath(elements, rule == 1 ? Qt::WindingFill : Qt::OddEvenFill));
    return r;
}

} // namespace mc
