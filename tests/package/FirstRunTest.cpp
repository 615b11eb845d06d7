// The program's first run where it is installed: the Chinese main window drawn without boxes,
// and Help saying where the guide is when nothing opens it. scripts/check-package.sh runs this
// in a minimal Debian root with the package installed (its skins and guide under /usr/share),
// the second test with the launchers of that root.

#include "app/CNuboApp.h"
#include "app/CNuboDlg.h"
#include "app/HelpDocument.h"
#include "app/ResourceLocator.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "skin/ChineseFont.h"
#include "skin/FontTable.h"
#include "tests/support/Artefacts.h"
#include "tests/support/TestEvents.h"

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QGlyphRun>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QSet>
#include <QStringList>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Runs the program's start-up against an emulated Quillo(RGB) and hands its main window, once
// it is up, to `use`; the window closes after.
void withFirstWindow(const std::function<void(CNuboDlg &, const FontTable &)> &use)
{
    quillodev::setHidBackend(
        std::make_shared<quillosim::SimHidBackend>(quillosim::SimKeyboard::create(4)));
    {
        const auto state = std::make_unique<AppState>();
        CNuboApp quillo(*state);
        quillo.setMainWindowHook([&quillo, &use](CNuboDlg &window) {
            QTimer::singleShot(0, &window, [&quillo, &use, &window] {
                use(window, quillo.fonts());
                window.done(QDialog::Accepted);
            });
        });
        EXPECT_EQ(quillo.run(), 0);
    }
    quillodev::setHidBackend(nullptr);
}

// The characters of `text` for which the font that draws them has no glyph (a box); the
// families that draw its Han characters go to `han`.
QString missingGlyphs(const QFont &font, const QString &text, QSet<QString> &han)
{
    QString missing;
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        QTextLayout layout(QString(c), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns()) {
            if (c.script() == QChar::Script_Han)
                han.insert(run.rawFont().familyName());
            for (const quint32 glyph : run.glyphIndexes()) {
                if (glyph == 0)
                    missing += c;
            }
        }
    }
    return missing;
}

} // namespace

// Every caption the first window draws, in either language, and its report, have a glyph for
// every character, and the Han ones come from the Chinese face found by name. The face is
// named on the output, and the window's picture kept.
TEST(FirstRun, TheMainWindowDrawsEveryCharacterOfItsCaptions)
{
    QSet<QString> han;
    int captions = 0;
    withFirstWindow([&](CNuboDlg &window, const FontTable &fonts) {
        ASSERT_EQ(window.state().language, "zh-CN");
        // A paint sets the report.
        EXPECT_TRUE(window.grab().save(artefactPath(QStringLiteral("first-run-main-window.png"))));
        for (DrawnButton &entry : window.table()) {
            if (!entry.isUsed() || !(entry.isLabel || entry.textOnButton) || !entry.showText)
                continue;
            for (const char *language : {"zh-CN", "en-US"}) {
                const QString caption = QString::fromStdString(entry.caption(language));
                ++captions;
                EXPECT_EQ(missingGlyphs(fonts.font(entry.fontSize), caption, han).toStdString(), "")
                    << "caption \"" << caption.toStdString() << "\" of entry " << entry.id;
            }
        }
        const QPlainTextEdit *report = window.reportBox();
        ASSERT_NE(report, nullptr);
        EXPECT_FALSE(report->toPlainText().isEmpty());
        EXPECT_EQ(missingGlyphs(report->font(), report->toPlainText(), han).toStdString(), "")
            << "the report";
    });
    EXPECT_GT(captions, 40);
    const QString chinese = ChineseFont::family();
    EXPECT_FALSE(chinese.isEmpty()) << "no installed font covers Simplified Chinese";
    EXPECT_EQ(QStringList(han.values()).join(QLatin1Char('|')).toStdString(),
              chinese.toStdString());
    std::printf("first run: Chinese captions drawn in \"%s\"\n", qUtf8Printable(chinese));
}

// With the launchers of the machine it runs on (QUILLO_TEST_REAL_LAUNCHER set: a minimal root
// has nothing that shows HTML), Help says so in the window's language and names the guide;
// both boxes' pictures are kept. Elsewhere a browser might open.
TEST(FirstRun, HelpNamesTheGuideWhenNothingOpensIt)
{
    if (!std::getenv("QUILLO_TEST_REAL_LAUNCHER"))
        GTEST_SKIP() << "only where no program shows the guide (QUILLO_TEST_REAL_LAUNCHER)";
    const char *suffix = std::getenv("QUILLO_TEST_REAL_LAUNCHER");
    withFirstWindow([&](CNuboDlg &window, const FontTable &) {
        for (const bool chinese : {true, false}) {
            SCOPED_TRACE(chinese ? "zh-CN" : "en-US");
            if (!chinese)
                window.runCommand(LanguageButton);
            ASSERT_EQ(window.state().chinese(), chinese);
            QString said;
            auto *poll = new QTimer(&window);
            QObject::connect(poll, &QTimer::timeout, [&said, poll, chinese, suffix] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                poll->stop();
                said = box->text();
                box->grab().save(artefactPath(QStringLiteral("first-run-help-%1-%2.png")
                                                  .arg(QLatin1String(chinese ? "zh" : "en"),
                                                       QString::fromLocal8Bit(suffix))));
                box->accept();
            });
            poll->start(20);
            window.runCommand(HelpButton);
            // xdg-open gives up within a moment; Qt's own search answers at once.
            EXPECT_TRUE(waitUntil([&said] { return !said.isEmpty(); }, 20000));
            delete poll;
            const std::filesystem::path guide
                = HelpDocument::choose(ResourceLocator::forThisProgram(), false, chinese);
            EXPECT_EQ(said,
                      HelpDocument::cannotOpen(QString::fromStdString(guide.string()), chinese));
            std::printf("first run: Help said \"%s\"\n", qUtf8Printable(said));
        }
    });
}
