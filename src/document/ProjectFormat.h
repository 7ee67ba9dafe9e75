#pragma once
// Constants and user-facing texts of the project file (.mcr).
#include <QString>

#include <cstdint>

namespace mc::document {

inline constexpr char kProjectMagic[3] = {'M', 'C', 'R'};
inline constexpr std::int32_t PROJECT_FORMAT_VERSION = 3100;
// Versions above this are not ours at all; those between are newer releases.
inline constexpr std::int32_t kHighestKnownVersion = 20000;

// Smallest possible item record: k = 0, not cut.
inline constexpr qsizetype kMinItemRecordSize = 64;

// Files larger than this are refused before they are read into memory; a
// project of real items stays far below it.
inline constexpr qint64 kMaxProjectFileSize = qint64(256) << 20;

// The program's version text, written into every project file.
inline QString ProgramVersionText() { return QStringLiteral(MC_VERSION_TEXT); }

inline QString UnknownFormatMessage() { return QStringLiteral("Unknown File Format."); }

inline QString HigherVersionMessage(const QString& version)
{
    return QStringLiteral("This is higher version file,please download %1 or more high version.")
        .arg(version);
}

inline QString DamagedFileMessage() { return QStringLiteral("The project file is damaged or incomplete."); }

inline QString FileTooLargeMessage() { return QStringLiteral("The project file is too large."); }

} // namespace mc::document
