#include "cli/HeatmapFile.h"

#include "app/HeatmapPainter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include <memory>

namespace {

// Fonts and painting need a GUI application; this one never opens a display.
std::unique_ptr<QGuiApplication> offscreenApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 3;
    static char program[] = "quillo-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char *argv[] = {program, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Qt's remarks about the session (no runtime folder and the like) are no concern of a
// command that writes a file; its outcome is.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "quillo-cli: %s\n", qUtf8Printable(message));
}

} // namespace

namespace HeatmapFile {

bool write(const PressCounters &counters, int deviceType, const std::string &path,
           FileStore::WriteFailure &failure)
{
    // Encoded in memory first, so that the file is replaced in one step.
    const QtMessageHandler previous = qInstallMessageHandler(quiet);
    QByteArray png;
    bool encoded = false;
    {
        const std::unique_ptr<QGuiApplication> application = offscreenApplication();
        const QImage picture = HeatmapPainter::render(counters, deviceType, false, Scale);
        QBuffer buffer(&png);
        encoded = buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG");
    }
    qInstallMessageHandler(previous);
    if (!encoded) {
        failure = {};
        failure.target = path;
        failure.reason = "the picture could not be drawn";
        return false;
    }
    return FileStore::replaceAtomically(path, std::string_view(png.constData(), png.size()),
                                        failure);
}

} // namespace HeatmapFile
