// Argument lists reach the tools unchanged: see the fake tools' records in
// ToolBackends_test.cpp. Here: environment, exit status, missing programs.
#include "platform/Process.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(ProcessTest, EnvironmentExitStatusAndMissingProgram)
{
    const auto e = runProcess(QStringLiteral("printenv"), {QStringLiteral("MC_PROCESS_TEST")}, 10000,
                              {QStringLiteral("MC_PROCESS_TEST=a=b c")});
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.out, QStringLiteral("a=b c"));

    const auto failing = runProcess(QStringLiteral("false"), {});
    EXPECT_TRUE(failing.started);
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_FALSE(failing.ok());

    const auto missing = runProcess(QStringLiteral("no-such-program-muralcrafter"), {});
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(missing.err.isEmpty());
}
