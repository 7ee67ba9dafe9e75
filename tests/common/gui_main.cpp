#include <QGuiApplication>
#include <gtest/gtest.h>
#include "common/TestUtil.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    mctest::isolateEnvironment(true);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
