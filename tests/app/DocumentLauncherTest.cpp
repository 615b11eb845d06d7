#include "app/DocumentLauncher.h"

#include "tests/support/TestEvents.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stand-in for xdg-open: notes the path it was given, then runs `then`.
QString standIn(const QTemporaryDir &folder, const QString &name, const QString &then)
{
    const QString path = folder.filePath(name);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > \"$0.got\"\n%1\n").arg(then).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString given(const QString &script)
{
    QFile file(script + QStringLiteral(".got"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

} // namespace

// A launcher that gives up (xdg-open finding nothing for the file) or cannot start is a
// failure, said once; one that opens the document, or is still running when the program ends,
// is not, and ending the program does not wait for it.
TEST(DocumentLauncher, SaysWhenTheLauncherGivesUpOrCannotStartAndOnlyThen)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString document = folder.filePath(QStringLiteral("guide page.html"));

    const auto outcome = [&](const QString &launcher) {
        int failures = 0;
        DocumentLauncher opener;
        opener.setLauncher(launcher);
        opener.open(document, [&failures] { ++failures; });
        // Both kinds end within a moment; a second is plenty.
        runEventsFor(1000);
        return failures;
    };

    const QString refuses = standIn(folder, QStringLiteral("refuses"), QStringLiteral("exit 3"));
    EXPECT_EQ(outcome(refuses), 1);
    EXPECT_EQ(given(refuses), document);
    const QString opens = standIn(folder, QStringLiteral("opens"), QStringLiteral("exit 0"));
    EXPECT_EQ(outcome(opens), 0);
    EXPECT_EQ(given(opens), document);
    EXPECT_EQ(outcome(folder.filePath(QStringLiteral("not-installed"))), 1);

    // A launcher that waits for its viewer: no failure, and no wait at the end.
    const QString stays = standIn(folder, QStringLiteral("stays"), QStringLiteral("exec sleep 30"));
    int failures = 0;
    QElapsedTimer ending;
    {
        DocumentLauncher opener;
        opener.setLauncher(stays);
        opener.open(document, [&failures] { ++failures; });
        ASSERT_TRUE(waitUntil([&] { return given(stays) == document; }, 5000));
        ending.start();
    }
    EXPECT_LT(ending.elapsed(), 3000);
    runEventsFor(100);
    EXPECT_EQ(failures, 0);
}
