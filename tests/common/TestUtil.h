#pragma once
// Helpers shared by the tests: an isolated home for settings and data, and
// real picture files written to disk.
#include <QColor>
#include <QImage>
#include <QString>

namespace mctest {

// Points HOME and the XDG folders at a fresh temporary directory so that no
// test reads or writes the real user's settings. Called once from main().
void isolateEnvironment();

// A fresh empty directory that lives until the process ends.
QString freshDir();

// A W x H ARGB32 picture filled with one colour.
QImage solidImage(int w, int h, QColor color);

// Saves `image` to `dir/name` (format from the extension) and returns the path.
QString writeImage(const QString& dir, const QString& name, const QImage& image);

} // namespace mctest
