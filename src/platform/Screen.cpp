#include "platform/Screen.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

#include <mutex>
#include <optional>

namespace mc::platform {

namespace {

std::mutex g_mutex;
std::optional<QSize> g_size;

QSize querySize()
{
    const QSize fromEnv = parseSize(qEnvironmentVariable("MURALCRAFTER_SCREEN"));
    if (fromEnv.isValid())
        return fromEnv;
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            // Logical size times the ratio: the pixels the wallpaper must fill.
            const qreal ratio = screen->devicePixelRatio();
            const QSize logical = screen->geometry().size();
            const QSize device(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
            if (device.width() > 0 && device.height() > 0)
                return device;
        }
    }
    return QSize(kFallbackScreenWidth, kFallbackScreenHeight);
}

} // namespace

QSize screenSize()
{
    std::lock_guard lock(g_mutex);
    if (!g_size)
        g_size = querySize();
    return *g_size;
}

bool hasRealScreen()
{
    if (!qGuiApp || !QGuiApplication::primaryScreen())
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void overrideScreenSize(QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return;
    std::lock_guard lock(g_mutex);
    g_size = size;
}

QSize parseSize(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,6})\\s*[xX]\\s*(\\d{1,6})\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return {};
    const int w = m.captured(1).toInt();
    const int h = m.captured(2).toInt();
    if (w <= 0 || h <= 0 || w > kMaxScreenSide || h > kMaxScreenSide)
        return {};
    return QSize(w, h);
}

QString sizeUsage()
{
    return QStringLiteral("expected WxH, each side from 1 to %1").arg(kMaxScreenSide);
}

QString screenVariableError()
{
    const QString value = qEnvironmentVariable("MURALCRAFTER_SCREEN");
    if (value.isEmpty() || parseSize(value).isValid())
        return {};
    return QStringLiteral("Invalid MURALCRAFTER_SCREEN: %1 (%2)").arg(value, sizeUsage());
}

} // namespace mc::platform
