#include "app/DocumentLauncher.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>
#include <utility>

DocumentLauncher::DocumentLauncher(QObject *parent)
    : QObject(parent)
    , m_launcher(desktopLauncher())
{}

DocumentLauncher::~DocumentLauncher()
{
    // A launcher that still runs (xdg-open waits for the browser it started on a desktop of
    // no known kind) ends here; the viewer it started stays open.
    for (QProcess *process : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
    }
}

QString DocumentLauncher::desktopLauncher()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#else
    return {};
#endif
}

void DocumentLauncher::open(const QString &path, Failed failed)
{
    if (!m_launcher.isEmpty()) {
        launch(path, std::move(failed));
        return;
    }
    // Qt looks for a browser itself, and says on the error output when it finds none.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)) && failed)
        failed();
}

void DocumentLauncher::launch(const QString &path, Failed failed)
{
    auto *process = new QProcess(this);
    // Its reasons land where Qt's would, on the error output.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto verdict = std::make_shared<Failed>(std::move(failed));
    auto since = std::make_shared<QElapsedTimer>();
    const auto gaveUp = [verdict, since] {
        Failed call = std::exchange(*verdict, {});
        if (call && since->elapsed() < VerdictMs)
            call();
    };
    connect(process, &QProcess::finished, this,
            [process, gaveUp](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0)
                    gaveUp();
                process->deleteLater();
            });
    connect(process, &QProcess::errorOccurred, this,
            [process, gaveUp](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return; // finished() follows
                gaveUp();
                process->deleteLater();
            });
    since->start();
    process->start(m_launcher, {path});
}
