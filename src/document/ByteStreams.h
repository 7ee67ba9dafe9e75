#pragma once
// Little-endian primitives of the project file. The writer appends to a byte
// array; the reader walks a byte array and never reads past its end: every
// read answers whether the bytes were there, and a failed read leaves the
// reader failed for good, so a caller can check once after a group of reads.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace mc::document {

class ByteWriter {
public:
    void writeBytes(const char* data, qsizetype size) { m_bytes.append(data, size); }
    void writeBytes(const QByteArray& bytes) { m_bytes.append(bytes); }
    void writeInt32(std::int32_t value);
    void writeUInt32(std::uint32_t value);
    void writeUInt16(std::uint16_t value);
    void writeDouble(double value);
    // A 16-bit BOOL: the low 16 bits of the 32-bit value 0 or 1.
    void writeBool16(bool value) { writeUInt16(value ? 1 : 0); }
    // int32 byte count, then the bytes (no terminator).
    void writeCountedBytes(const QByteArray& bytes);
    // int32 count of UTF-16 code units, then the units little-endian.
    void writeCountedUtf16(const QString& text);

    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool failed() const { return m_failed; }
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

    bool readBytes(qsizetype size, QByteArray& out);
    bool readInt32(std::int32_t& value);
    bool readUInt32(std::uint32_t& value);
    bool readUInt16(std::uint16_t& value);
    bool readDouble(double& value);
    // A 16-bit BOOL read back zero-extended: any non-zero value is true.
    bool readBool16(bool& value);
    // int32 byte count and the bytes. A count of 0 or less reads nothing.
    // A count larger than what is left fails before anything is allocated.
    bool readCountedBytes(QByteArray& out);
    // int32 count of UTF-16 code units and the units; same rules.
    bool readCountedUtf16(QString& out);

private:
    // Fails (for good) unless `size` more bytes are there.
    bool take(qsizetype size);

    // A shallow copy (implicitly shared): the reader may outlive the
    // caller's array, a temporary included.
    const QByteArray m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

} // namespace mc::document
