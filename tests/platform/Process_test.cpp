#include "platform/Process.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(ProcessTest, ArgumentsAndEnvironmentPassUnchangedWithoutAShell)
{
    const QStringList args = {QStringLiteral("%s|"), QStringLiteral("a b"), QStringLiteral("it's \"q\""),
                              QStringLiteral("$HOME;`x`"), QStringLiteral("é€")};
    const auto r = runProcess(QStringLiteral("printf"), args);
    ASSERT_TRUE(r.ok()) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("a b|it's \"q\"|$HOME;`x`|é€|"));

    const auto e = runProcess(QStringLiteral("printenv"), {QStringLiteral("MC_PROCESS_TEST")}, 10000,
                              {QStringLiteral("MC_PROCESS_TEST=a=b c")});
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.out, QStringLiteral("a=b c"));
}

TEST(ProcessTest, FailingAndMissingPrograms)
{
    const auto failing = runProcess(QStringLiteral("false"), {});
    EXPECT_TRUE(failing.started);
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_FALSE(failing.ok());

    const auto missing = runProcess(QStringLiteral("no-such-program-muralcrafter"), {});
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_TRUE(haveProgram(QStringLiteral("sh")));
    EXPECT_FALSE(haveProgram(QStringLiteral("no-such-program-muralcrafter")));
}
