#include "LightingHarness.h"

#include "layout/BacklightTable.h"
#include "layout/MultiKeyTable.h"
#include "layout/SkinSet.h"
#include "tests/support/Artefacts.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QRect rectOf(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

// A rainbow across the keyboard, as owners like to set it.
LightSettings rainbow()
{
    LightSettings colours{};
    for (int key = 1; key <= 108; ++key) {
        const ButtonRect r = BacklightTable::keyRect(key);
        const int hue = ((r.left + r.right) / 2 - 100) * 330 / 1060;
        const QColor c = QColor::fromHsv(std::clamp(hue, 0, 359), 255, 255);
        colours[std::size_t(key)] = {c.red(), c.green(), c.blue()};
    }
    return colours;
}

// Where a face differs from another within a rectangle.
bool differs(const QImage &a, const QImage &b, const QRect &r)
{
    return a.copy(r) != b.copy(r);
}

} // namespace

// The built faces of both RGB keyboards: the right size, transparent outside the body, every
// button lit in the hover face; backlight keys never change (their frames show their colour),
// multi-key keys show picked in both highlight faces.
TEST(BacklightArtefacts, FacesOfBothRgbKeyboards)
{
    for (int variant : {1, 4}) {
        JobFixture f(variant);
        ASSERT_EQ(f.skins.error(), SkinLibrary::Error::None)
            << f.skins.errorText(false).toStdString();
        const BacklightSkins skins = builtSkins(f);
        for (const SkinImages *faces : {&skins.backlight, &skins.multiKey}) {
            ASSERT_TRUE(faces->isComplete());
            EXPECT_EQ(faces->background.size(), QSize(1250, 470));
            EXPECT_EQ(qAlpha(faces->background.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(faces->background.pixel(1249, 469)), 0);
            EXPECT_EQ(qAlpha(faces->background.pixel(625, 250)), 255);
        }
        const QImage backlightHover = skins.backlight.hover.toImage(skins.backlight.background);
        for (const DrawnButton &entry : BacklightTable::build()) {
            if (!entry.isHittable())
                continue;
            const QRect r = rectOf(entry.rect);
            if (BacklightTable::isKey(entry.id)) {
                EXPECT_FALSE(differs(backlightHover, skins.backlight.background, r));
            } else {
                EXPECT_TRUE(differs(backlightHover, skins.backlight.background, r)) << entry.id;
            }
        }
        const QImage multiHover = skins.multiKey.hover.toImage(skins.multiKey.background);
        const QImage multiChecked = skins.multiKey.checked.toImage(skins.multiKey.background);
        for (const DrawnButton &entry : MultiKeyTable::build()) {
            if (!entry.isHittable())
                continue;
            const QRect r = rectOf(entry.rect);
            EXPECT_TRUE(differs(multiHover, skins.multiKey.background, r)) << entry.id;
            if (MultiKeyTable::isKey(entry.id)) {
                EXPECT_FALSE(differs(multiChecked, multiHover, r));
            }
        }
        // The two variants' faces carry their own model names.
        if (variant == 4) {
            JobFixture other(1);
            EXPECT_NE(builtSkins(other).backlight.background, skins.backlight.background);
        }
    }
}

// Pictures of both dialogs for both RGB keyboards in both languages at scale 1.5, left for
// people to look at.
TEST(BacklightArtefacts, BothDialogsInBothLanguages)
{
    const QDir folder(artefactFolder());
    for (int variant : {1, 4}) {
        JobFixture f(variant);
        f.state.lightSettings = rainbow();
        f.state.scaleFactor = 1.5f;
        for (const char *language : {"zh-CN", "en-US"}) {
            f.state.language = language;
            ScriptedBacklight dialog(f);
            ASSERT_TRUE(dialog.initialise());
            EXPECT_EQ(dialog.size(), QSize(1875, 705));
            dialog.show();
            // The pointer over OK.
            const ButtonRect ok
                = dialog.table()[std::size_t(dialog.table().indexOfId(BacklightTable::OkButton))]
                      .rect;
            const QPoint over((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
            moveMouse(dialog, over);
            EXPECT_TRUE(dialog.grab().save(folder.filePath(
                QStringLiteral("backlight-v%1-%2.png").arg(variant).arg(language))));

            bool shot = false;
            dialog.multiKeyScript = [&](CNuboDialogBkLightMultiSelect &multi) {
                multi.show();
                for (int key : {30, 43, 44, 45}) // W, A, S, D
                    multi.clickId(MultiKeyTable::FirstKey - 1 + key);
                EXPECT_TRUE(multi.grab().save(folder.filePath(
                    QStringLiteral("multi-key-v%1-%2.png").arg(variant).arg(language))));
                shot = true;
                return int(QDialog::Rejected);
            };
            dialog.clickId(BacklightTable::MultiKeyButton);
            EXPECT_TRUE(shot);
        }
    }
}

// The chooser opens on the key's colour in the program's dark look, and gives back what the
// user confirms; a cancel gives nothing.
TEST(BacklightArtefacts, ColourChooserIsDarkAndStartsFromTheKeysColour)
{
    JobFixture f(4);
    f.state.language = "en-US";
    std::optional<LightColour> got;
    for (bool confirm : {true, false}) {
        whenModal([&](QWidget *modal) {
            auto *chooser = qobject_cast<QColorDialog *>(modal);
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->currentColor(), QColor(12, 34, 56));
            EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Colour of the key Esc"));
            EXPECT_LT(chooser->palette().color(QPalette::Window).lightness(), 60);
            EXPECT_GT(chooser->palette().color(QPalette::WindowText).lightness(), 180);
            if (!confirm) {
                chooser->reject();
                return;
            }
            EXPECT_TRUE(chooser->grab().save(
                QDir(artefactFolder()).filePath(QStringLiteral("colour-chooser-en-US.png"))));
            chooser->setCurrentColor(QColor(200, 100, 0));
            chooser->accept();
        });
        got = ColourChooser::choose({nullptr, {12, 34, 56}, "Colour of the key Esc", false});
        EXPECT_EQ(got.has_value(), confirm);
        if (confirm && got) {
            EXPECT_EQ(*got, (LightColour{200, 100, 0}));
        }
    }

    // Through the dialog: a key's click opens it on that key's colour.
    f.state.lightSettings[1] = {12, 34, 56};
    CNuboDialogBkLightSettings dialog(f.context(), f.device(), f.data(), f.state.multiKeyExchange,
                                      f.state.deviceType, builtSkins(f));
    ASSERT_TRUE(dialog.initialise());
    whenModal([&](QWidget *modal) {
        auto *chooser = qobject_cast<QColorDialog *>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->currentColor(), QColor(12, 34, 56));
        chooser->setCurrentColor(QColor(200, 100, 0));
        chooser->accept();
    });
    dialog.clickId(BacklightTable::FirstKey);
    EXPECT_EQ(dialog.workingColours[1], (LightColour{200, 100, 0}));
}

// In Chinese the chooser speaks Chinese where Qt's translations are installed, and only while
// it is open.
TEST(BacklightArtefacts, ColourChooserSpeaksTheProgramsLanguage)
{
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(translations + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    QStringList buttons;
    whenModal([&](QWidget *modal) {
        auto *chooser = qobject_cast<QColorDialog *>(modal);
        ASSERT_NE(chooser, nullptr);
        for (const QPushButton *button :
             chooser->findChild<QDialogButtonBox *>()->findChildren<QPushButton *>())
            buttons << button->text();
        EXPECT_TRUE(chooser->grab().save(
            QDir(artefactFolder()).filePath(QStringLiteral("colour-chooser-zh-CN.png"))));
        chooser->reject();
    });
    ColourChooser::choose({nullptr, {255, 0, 0}, QString::fromUtf8("按键 Esc 的背光颜色"), true});
    EXPECT_TRUE(buttons.contains(QString::fromUtf8("确定"))) << buttons.join(' ').toStdString();
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Red:"), QStringLiteral("&Red:"));
}
