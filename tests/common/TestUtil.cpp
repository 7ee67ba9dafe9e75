#include "TestUtil.h"

#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTextStream>
#include <QtEndian>

#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace mctest {

namespace {
QTemporaryDir& root()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void isolateEnvironment(bool headless)
{
    const QString base = root().path();
    for (const auto& [name, sub] : {std::pair{"HOME", "/home"}, {"XDG_CONFIG_HOME", "/config"}, {"XDG_DATA_HOME", "/data"},
                                    {"XDG_CACHE_HOME", "/cache"}, {"XDG_RUNTIME_DIR", "/runtime"}}) {
        QDir().mkpath(base + sub);
        qputenv(name, (base + sub).toUtf8());
    }
    // No machine's own wallpaper folder in the menus the tests build.
    if (!qEnvironmentVariableIsSet("MURALCRAFTER_WALLPAPER_DIR"))
        qputenv("MURALCRAFTER_WALLPAPER_DIR", "");
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (headless)
        for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", "offscreen"}, {"MURALCRAFTER_SCREEN", "1024x768"},
                                          {"GSETTINGS_BACKEND", "keyfile"}})
            if (!qEnvironmentVariableIsSet(name))
                qputenv(name, value);
}

QString freshDir()
{
    const QString path = root().path() + "/t-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QDir().mkpath(path) ? path : throw std::runtime_error("cannot create test directory");
}

QString smallFileSystem()
{
    static QStringList mounted;
    const QString dir = freshDir();
    if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, "size=4m") != 0) {
        qInfo("[   NOTE   ] cannot mount a tmpfs at %s (%s): the full-disk checks are skipped", qPrintable(dir),
              qPrintable(qt_error_string(errno)));
        return {};
    }
    if (mounted.isEmpty())
        std::atexit([] {
            for (const QString& m : mounted)
                ::umount2(QFile::encodeName(m).constData(), MNT_DETACH);
        });
    mounted << dir;
    return dir;
}

void fillUp(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir + "/filler").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    // Ever smaller blocks, down to the single bytes left of the last page.
    const QByteArray bytes(1 << 16, 'f');
    for (ssize_t block = bytes.size(); block > 0; block /= 2)
        while (::write(fd, bytes.constData(), size_t(block)) == block) {
        }
    ::close(fd);
}

QImage solidImage(int w, int h, QColor color)
{
    QImage img(w, h, QImage::Format_ARGB32);
    return img.fill(color), img;
}

QString writeImage(const QString& dir, const QString& name, const QImage& image)
{
    const QString path = dir + "/" + name;
    return image.save(path) ? path : throw std::runtime_error("cannot write test picture " + path.toStdString());
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QDir().mkpath(QFileInfo(path).path());
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bmpFile(quint32 infoSize, quint16 bpp, quint32 compression, quint32 alpha)
{
    const quint32 pixels = 14 + infoSize;
    QByteArray b = "BM" + QByteArray(int(pixels) - 2, '\0') + QByteArray(16, char(0x80));
    const quint32 size = quint32(b.size()), planesAndBpp = 1u | quint32(bpp) << 16;
    for (const auto& [at, v] : {std::pair{2, size}, {10, pixels}, {14, infoSize}, {18, 2u}, {22, 2u}, {26, planesAndBpp},
                                {30, compression}})
        qToLittleEndian(v, b.data() + at);
    if (infoSize >= 56) // the masks
        for (const auto& [at, v] : {std::pair{54, 0x00FF0000u}, {58, 0x0000FF00u}, {62, 0x000000FFu}, {66, alpha}})
            qToLittleEndian(v, b.data() + at);
    return b;
}

std::unique_ptr<CMyDoc> canvasDoc(int w, int h, quint32 desktop)
{
    mc::platform::DesktopSettings settings;
    settings.desktopColor = desktop;
    auto doc = std::make_unique<CMyDoc>(settings);
    doc->m_nCanvasWidth = w;
    doc->m_nCanvasHeight = h;
    return doc;
}

QString itemState(const Card& c)
{
    QString text;
    QTextStream(&text) << c.m_strPath << " a" << c.m_dAngle << " z" << c.m_dScale << " s" << c.m_dShearX << ','
                       << c.m_dShearY << " f" << c.m_bFlipH << c.m_bFlipV << " g" << c.m_bGray << " e" << c.m_bErased
                       << c.m_nEraseExtent << " t" << c.m_bSemi << c.m_nAlpha << " c" << c.m_bCut << " @"
                       << c.m_ptCenter.x() << ',' << c.m_ptCenter.y();
    return text;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        // A pause between checks only: what counts is the condition.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

QRect colourBox(const QImage& shot, QColor color, int tolerance)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (std::abs(qRed(p) - color.red()) + std::abs(qGreen(p) - color.green()) + std::abs(qBlue(p) - color.blue())
                <= tolerance)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

std::string rectText(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

} // namespace mctest
