#pragma once
// Which file a picture chosen with Add Image becomes an item from. PNG and
// GIF files, and BMP files whose pixels are neither 24-bit RGB nor 32-bit
// ARGB, are re-encoded as a JPEG beside the chosen file and the item refers
// to that copy. An unrelated file that already has the copy's name is never
// overwritten, and when no copy can be written the chosen file itself is used.
#include <QByteArray>
#include <QString>

#include <functional>

namespace mc::canvas {

// The filter of the Add Image open dialog.
extern const char* const kAddImageFilter;

// True when the chosen file is re-encoded before use. The extension (text
// after the last dot of the file name) is compared case-sensitively with
// "png", "gif" and "bmp"; BMP files keep 24-bit RGB and 32-bit ARGB pixels.
bool NeedsJpegCopy(const QString& path);

// The copy's usual name: the last three characters of the path replaced by
// "jpg" (so "a.png" becomes "a.jpg").
QString JpegCopyName(const QString& path);

// Writes `bytes` to `path` as a whole or not at all; false when it cannot.
using FileWriter = std::function<bool(const QString& path, const QByteArray& bytes)>;
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

struct AddImageFile {
    QString path;        // what the item is made from
    bool copied = false; // a JPEG copy was written (or an identical one found)
};

// Carries out the copy rule for `chosen`. A picture that cannot be decoded is
// left to the item construction, which rejects it.
AddImageFile PrepareAddImageFile(const QString& chosen, const FileWriter& write = WriteWholeFile);

} // namespace mc::canvas
