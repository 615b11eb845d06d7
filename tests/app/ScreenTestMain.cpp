#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

// Runs the tests on an offscreen screen described by QUILLO_TEST_SCREEN as "WIDTH HEIGHT
// QT_SCALE_FACTOR" in device pixels, so that one binary covers ordinary and high-DPI screens.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int width = 1920;
    int height = 1080;
    double factor = 1.0;
    const QByteArray screen = qgetenv("QUILLO_TEST_SCREEN");
    if (!screen.isEmpty()
        && std::sscanf(screen.constData(), "%d %d %lf", &width, &height, &factor) != 3) {
        std::fprintf(stderr, "QUILLO_TEST_SCREEN must read \"WIDTH HEIGHT FACTOR\"\n");
        return 2;
    }
    const QString config = QDir::temp().filePath(
        QStringLiteral("quillo-screen-%1x%2-%3.json").arg(width).arg(height).arg(factor));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    file.write(QStringLiteral("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, "
                              "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                              "\"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
