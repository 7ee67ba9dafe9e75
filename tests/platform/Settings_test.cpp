#include "platform/Settings.h"

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(SettingsTest, ProfileLivesUnderTheCompanyKey)
{
    const auto settings = openSettings();
    EXPECT_EQ(settings->organizationName(), QStringLiteral("Local AppWizard-Generated Applications"));
    EXPECT_EQ(settings->applicationName(), QStringLiteral("Muralcrafter"));
    // Inside the test's isolated config folder, never the user's.
    EXPECT_TRUE(settings->fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")))
        << settings->fileName().toStdString();
}

TEST(SettingsTest, ClientSizeRoundTripAndDamagedEntry)
{
    storeClientSize(QSize(1010, 690));
    EXPECT_EQ(lastClientSize(), QSize(1010, 690));

    openSettings()->setValue(QStringLiteral("View/ClientSize"), QStringLiteral("garbage"));
    EXPECT_FALSE(lastClientSize().isValid());
    openSettings()->setValue(QStringLiteral("View/ClientSize"), QSize(-4, 300));
    EXPECT_FALSE(lastClientSize().isValid());
}
