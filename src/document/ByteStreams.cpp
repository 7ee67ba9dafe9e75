#include "document/ByteStreams.h"

#include <QtEndian>

#include <bit>
#include <cstring>

namespace mc::document {

void ByteWriter::writeUInt32(std::uint32_t value)
{
    char buf[4];
    qToLittleEndian(value, buf);
    m_bytes.append(buf, 4);
}

void ByteWriter::writeInt32(std::int32_t value)
{
    writeUInt32(static_cast<std::uint32_t>(value));
}

void ByteWriter::writeUInt16(std::uint16_t value)
{
    char buf[2];
    qToLittleEndian(value, buf);
    m_bytes.append(buf, 2);
}

void ByteWriter::writeDouble(double value)
{
    char buf[8];
    qToLittleEndian(std::bit_cast<std::uint64_t>(value), buf);
    m_bytes.append(buf, 8);
}

void ByteWriter::writeCountedBytes(const QByteArray& bytes)
{
    writeInt32(static_cast<std::int32_t>(bytes.size()));
    m_bytes.append(bytes);
}

void ByteWriter::writeCountedUtf16(const QString& text)
{
    writeInt32(static_cast<std::int32_t>(text.size()));
    for (QChar c : text)
        writeUInt16(c.unicode());
}

bool ByteReader::take(qsizetype size)
{
    if (m_failed || size < 0 || size > remaining()) {
        m_failed = true;
        return false;
    }
    return true;
}

bool ByteReader::readBytes(qsizetype size, QByteArray& out)
{
    if (!take(size))
        return false;
    out = m_bytes.mid(m_pos, size);
    m_pos += size;
    return true;
}

bool ByteReader::readUInt32(std::uint32_t& value)
{
    if (!take(4))
        return false;
    value = qFromLittleEndian<std::uint32_t>(m_bytes.constData() + m_pos);
    m_pos += 4;
    return true;
}

bool ByteReader::readInt32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!readUInt32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::readUInt16(std::uint16_t& value)
{
    if (!take(2))
        return false;
    value = qFromLittleEndian<std::uint16_t>(m_bytes.constData() + m_pos);
    m_pos += 2;
    return true;
}

bool ByteReader::readDouble(double& value)
{
    if (!take(8))
        return false;
    value = std::bit_cast<double>(qFromLittleEndian<std::uint64_t>(m_bytes.constData() + m_pos));
    m_pos += 8;
    return true;
}

bool ByteReader::readBool16(bool& value)
{
    std::uint16_t raw = 0;
    if (!readUInt16(raw))
        return false;
    value = raw != 0;
    return true;
}

bool ByteReader::readCountedBytes(QByteArray& out)
{
    std::int32_t count = 0;
    if (!readInt32(count))
        return false;
    out.clear();
    if (count <= 0)
        return true;
    return readBytes(count, out);
}

bool ByteReader::readCountedUtf16(QString& out)
{
    std::int32_t count = 0;
    if (!readInt32(count))
        return false;
    out.clear();
    if (count <= 0)
        return true;
    // Checked against what is left before the string is sized.
    if (!take(qsizetype(count) * 2))
        return false;
    out.resize(count);
    for (std::int32_t i = 0; i < count; ++i) {
        out[i] = QChar(qFromLittleEndian<std::uint16_t>(m_bytes.constData() + m_pos));
        m_pos += 2;
    }
    return true;
}

} // namespace mc::document
