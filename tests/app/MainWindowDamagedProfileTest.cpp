#include "MainWindowHarness.h"

#include "layout/MainWindowTable.h"
#include "model/KeyCatalogue.h"
#include "profile/MarkupDocument.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"
#include "tests/support/BrokenProfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

std::u16string profileOf(const AppState &state)
{
    MarkupDocument doc;
    buildProfile(state, state.deviceType, doc);
    return doc.doc();
}

void writeFile(const QString &path, const std::string &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), qint64(text.size()));
}

} // namespace

TEST(MainWindow, DamagedProfilesAreOpenedOnlyWhenTheUserAgrees)
{
    AttachedKeyboard attached(4);
    ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
    ASSERT_TRUE(window.initialise());
    AppState &state = attached.state;
    const auto key = [](int number, int layer) {
        return std::size_t(AppState::index(number, layer));
    };

    // A profile with keys before and after where the cut-off copy ends.
    state.category[key(10, 0)] = 5;
    state.code[key(10, 0)] = 112;
    state.category[key(90, 1)] = 1;
    state.code[key(90, 1)] = 9;
    const std::string good = TextCodec::toUtf8(profileOf(state));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    for (const BrokenProfile &broken : brokenProfiles(good)) {
        SCOPED_TRACE(broken.kind);
        const QString path = dir.filePath(QString::fromStdString("broken.pro"));
        writeFile(path, broken.text);
        window.openPath = path;
        for (const std::string language : {"zh-CN", "en-US"}) {
            state.language = language;
            const bool chinese = language == "zh-CN";
            MarkupError error;
            error.problem = broken.problem;
            error.line = broken.line;
            error.tagName = TextCodec::fromUtf8(broken.tagName);
            const QString question
                = QDir::toNativeSeparators(path) + "\n"
                  + QString::fromStdString(profileDamagedQuestion(error, chinese));

            // No: the configuration stays as it was, and nothing more is said.
            state.resetKeyModel();
            state.category[key(1, 0)] = 7;
            const std::u16string before = profileOf(state);
            window.questions.clear();
            window.messages.clear();
            window.answers = {false};
            window.runCommand(OpenButton);
            ASSERT_EQ(window.questions.size(), 1u);
            EXPECT_EQ(window.questions[0], question);
            EXPECT_TRUE(window.messages.empty());
            EXPECT_EQ(profileOf(state), before);

            // Yes: what the file holds, defaults for what it lacks.
            window.answers = {true};
            window.runCommand(OpenButton);
            EXPECT_EQ(window.questions.size(), 2u);
            EXPECT_TRUE(window.messages.empty());
            EXPECT_EQ(state.category[key(1, 0)], 1); // Esc as the file has it
            EXPECT_EQ(state.code[key(10, 0)], 112);
            EXPECT_EQ(state.code[key(90, 1)],
                      broken.firstLostKey > 90 ? 9 : KeyCatalogue::defaultCode(4, 90, 1));
        }
    }

    // Files that are no profile of this keyboard are refused as before, without a question.
    writeFile(dir.filePath("other.pro"), "<Quillo(S)></Quillo(S)></x>");
    window.openPath = dir.filePath("other.pro");
    window.questions.clear();
    window.runCommand(OpenButton);
    EXPECT_TRUE(window.questions.empty());
    ASSERT_FALSE(window.messages.empty());
    EXPECT_TRUE(window.messages.back().contains("another keyboard model"));
}
