#include "MainWindowHarness.h"

#include "layout/MainWindowTable.h"
#include "skin/SkinLibrary.h"
#include "tests/support/Artefacts.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

// With the built skins: every variant starts, assigned keys look different from unassigned
// ones, and a picture of each main window is left in the build folder for people to look at.
TEST(MainWindowArtefacts, EveryVariantStartsWithTheBuiltSkins)
{
    const QString folder = artefactFolder();
    for (int variant = 1; variant <= 4; ++variant) {
        SCOPED_TRACE(variant);
        AttachedKeyboard attached(variant);
        SkinLibrary skins;
        ASSERT_TRUE(skins.load(QCoreApplication::applicationDirPath(), variant))
            << skins.errorText(false).toStdString();
        const SkinImages faces = skins.images(SkinIds::skinSet(SkinDialog::MainWindow, variant));
        ASSERT_TRUE(faces.isComplete());
        ASSERT_EQ(faces.background.size(),
                  QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight));

        // Hovered buttons and checked keys and toggles look different from their plain look.
        const QImage hover = faces.hover.toImage(faces.background);
        const QImage checked = faces.checked.toImage(faces.background);
        for (const DrawnButton &entry : MainWindowTable::build(variant)) {
            if (!entry.isHittable())
                continue;
            const QRect r(entry.rect.left, entry.rect.top, entry.rect.width(), entry.rect.height());
            if (entry.id > 99 || entry.id == LanguageButton || entry.id == LayerButton) {
                EXPECT_NE(checked.copy(r), faces.background.copy(r)) << entry.id;
            }
            EXPECT_NE(hover.copy(r), faces.background.copy(r)) << entry.id;
        }

        ScriptedMainWindow window(attached.state, attached.fonts, faces);
        ASSERT_TRUE(window.initialise());
        window.show();
        // A few keys of every kind, and the mouse resting on one of them.
        for (int category = 0; category <= 8; ++category)
            attached.state.category[AppState::index(29 + category, 0)] = category;
        const ButtonRect w = window.table()[std::size_t(window.table().indexOfKey(30))].rect;
        moveMouse(window, QPoint(w.left + 5, w.top + 5));
        const QString name = QStringLiteral("main-window-variant-%1").arg(variant);
        EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name + ".png")));
        window.runCommand(LayerButton);
        window.runCommand(LanguageButton);
        EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name + "-fn-english.png")));
        EXPECT_FALSE(window.reportBox()->toPlainText().isEmpty());

        // The key test with a few keys typed and one held, in both languages.
        window.runCommand(KeyTestButton);
        for (const unsigned short evdev : {30, 96, 54, 79, 164, 44}) { // A, keypad Enter, ...
            for (const bool press : {true, false}) {
                if (evdev == 44 && !press)
                    break; // Z stays down
                QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                                quint32(evdev) + 8, 0, 0);
                QCoreApplication::sendEvent(&window, &event);
            }
        }
        EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name + "-key-test-english.png")));
        window.runCommand(LanguageButton);
        EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name + "-key-test.png")));
        EXPECT_TRUE(window.reportBox()->toPlainText().contains(QString::fromUtf8("5 / 108")));
    }
}
