#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The main of every test program that opens windows: on Qt's offscreen platform unless one is
// chosen (windows never need a screen, and listing the tests happens without the test
// environment), with a data folder of its own for what the program saves there (firmware
// backups).
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
