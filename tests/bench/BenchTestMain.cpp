#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Listing the tests happens without the test environment; windows never need a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
