#pragma once
// Helpers shared by the tests: an isolated home for settings and data, and
// real picture files written to disk.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class Card;
class CMyDoc;

namespace mctest {

// Points HOME and the XDG folders at a fresh temporary directory so that no
// test reads or writes the real user's settings. Called once from main().
// With `headless`, also what the headless test programs run with unless the
// caller chose otherwise: the offscreen platform, a 1024 x 768 screen and
// gsettings on a key file. Called before the application object exists, so
// that a test program run directly behaves as under ctest.
void isolateEnvironment(bool headless = false);

// A fresh empty directory that lives until the process ends.
QString freshDir();

// A fresh folder on a small file system of its own (a tmpfs mounted for the
// test, unmounted at exit), so that a test can fill it up. Empty, after a
// note on standard output, when it cannot be mounted (not root).
QString smallFileSystem();
// Fills the file system holding `dir` until not one more byte fits.
void fillUp(const QString& dir);

// A W x H ARGB32 picture filled with one colour.
QImage solidImage(int w, int h, QColor color);

// Saves `image` to `dir/name` (format from the extension) and returns the path.
QString writeImage(const QString& dir, const QString& name, const QImage& image);

// Writes `bytes` to `path`, creating its folder (a failed write fails the
// test); returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);

// A 2 x 2 BMP with the given info header size, bits per pixel and
// compression; masks (with alpha mask `alpha`) where the header has room.
QByteArray bmpFile(quint32 infoSize, quint16 bpp, quint32 compression, quint32 alpha);

// A project of a `w` x `h` canvas on a desktop of colour `desktop` (COLORREF).
std::unique_ptr<CMyDoc> canvasDoc(int w, int h, quint32 desktop);

// Every stored field of an item (path, angle, zoom, shears, flips, effects,
// alpha, extent, cut, centre) as one line to compare.
QString itemState(const Card& card);

// Polls `condition` (letting Qt handle its events in between) until it
// holds or `timeoutMs` has passed; answers the last result.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

// The bounding box of the pixels of `shot` within `tolerance` (the sum of
// the channel differences) of `color`, and a rectangle as "x,y WxH".
QRect colourBox(const QImage& shot, QColor color, int tolerance = 0);
std::string rectText(const QRect& r);

} // namespace mctest
