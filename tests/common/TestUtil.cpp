#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>
#include <stdexcept>

namespace mctest {

namespace {
QTemporaryDir& root()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void isolateEnvironment()
{
    const QString base = root().path();
    for (const char* sub : {"home", "config", "data", "cache", "runtime"})
        QDir(base).mkpath(QString::fromLatin1(sub));
    qputenv("HOME", (base + "/home").toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (base + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (base + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + "/runtime").toUtf8());
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString freshDir()
{
    const QString path = root().path() + "/t-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!QDir().mkpath(path))
        throw std::runtime_error("cannot create test directory");
    return path;
}

QImage solidImage(int w, int h, QColor color)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(color);
    return img;
}

QString writeImage(const QString& dir, const QString& name, const QImage& image)
{
    const QString path = dir + "/" + name;
    if (!image.save(path))
        throw std::runtime_error("cannot write test picture " + path.toStdString());
    return path;
}

} // namespace mctest
