#include "MainWindowHarness.h"

#include "layout/MainWindowTable.h"
#include "model/ConfigHistory.h"
#include "model/KeyCatalogue.h"
#include "profile/ProfileFile.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

void drop(CNuboDlg &window, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.push_back(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(600, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(600, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
    // The profile opens once the drop has ended.
    QCoreApplication::processEvents();
}

} // namespace

TEST(MainWindow, AProfileDroppedOnTheWindowOpensAsWithOpenAndOtherFilesAreRefused)
{
    AttachedKeyboard attached(4);
    ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
    ASSERT_TRUE(window.initialise());
    AppState &state = attached.state;
    const std::size_t top10 = std::size_t(AppState::index(10, 0));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    state.category[top10] = 5;
    state.code[top10] = 112;
    const QString good = dir.filePath("Mine.PRO");
    ASSERT_TRUE(writeProfile(state, state.deviceType, good.toStdString()));
    state.resetKeyModel();
    state.history.reset();

    drop(window, {good});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(state.code[top10], 112);
    EXPECT_EQ(state.history.size(), 1u); // one step, as Open makes

    // A damaged profile asks the same question as Open; No leaves everything as it was.
    const QString damaged = dir.filePath("damaged.pro");
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<Quillo(RGB)><Key1 a=\"1\"");
    }
    state.resetKeyModel();
    window.answers = {false};
    drop(window, {damaged});
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_TRUE(window.questions[0].startsWith(damaged));
    EXPECT_EQ(state.code[top10], KeyCatalogue::defaultCode(4, 10, 0));

    // Anything else is refused by name, in the window's language, and nothing changes.
    const QString text = dir.filePath("notes.txt");
    QFile(text).open(QIODevice::WriteOnly);
    for (const std::string language : {"en-US", "zh-CN"}) {
        state.language = language;
        window.messages.clear();
        drop(window, {text});
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_TRUE(window.messages[0].contains(text));
        EXPECT_EQ(window.messages[0].contains(QStringLiteral("配置文件")), language == "zh-CN");
    }
    window.messages.clear();
    drop(window, {good, dir.filePath("other.pro")});
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].contains(good));
    EXPECT_EQ(state.code[top10], KeyCatalogue::defaultCode(4, 10, 0));
    EXPECT_EQ(window.questions.size(), 1u);
}
