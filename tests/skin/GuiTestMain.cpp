#include <QApplication>

#include <gtest/gtest.h>

// The widget tests need an application object; they run on the offscreen platform.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
