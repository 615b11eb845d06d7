#include "app/ProfileFileDialog.h"

#include "skin/DarkPalette.h"
#include "skin/FontTable.h"
#include "skin/QtWindowLook.h"
#include "tests/support/Artefacts.h"
#include "tests/support/TestEvents.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QListView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

struct ShownDialog {
    QString title;
    QStringList labels;
    QStringList filters;
    QColor window;
    int pixelSize = 0;
    QStringList cut; // cells of the details view and places narrower than their text
};

bool hasHan(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    }
    return false;
}

} // namespace

// Over the window, Qt's own Open and Save dialogs speak its language (where Qt's translations
// are installed), are dark and in the program's font, and show sizes, types and dates whole;
// the filter's text is the program's in both languages. Their pictures are kept.
TEST(ProfileFileDialog, QtsDialogsTakeTheWindowsLanguageLookAndShowTheirColumnsWhole)
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                           + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const auto &[name, bytes] :
         {std::pair{"my keyboard.pro", 48 * 1024}, std::pair{"notes.xml", 3000}}) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(bytes, name[0] == 'n' ? '<' : ' '));
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const FontTable fonts;
    // At 1.5 the program's font is large enough to cut what fits at Qt's default widths.
    const float scale = 1.5f;

    for (const char *language : {"zh-CN", "en-US"}) {
        for (const bool save : {true, false}) {
            const std::string tag = language;
            const QString name = QStringLiteral("file-dialog-%1-%2")
                                     .arg(QLatin1String(save ? "save" : "open"),
                                          QLatin1String(tag == "zh-CN" ? "zh" : "en"));
            SCOPED_TRACE(name.toStdString());
            ShownDialog shown;
            whenModal([&](QWidget *modal) {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                ASSERT_NE(dialog, nullptr);
                const auto close = qScopeGuard([dialog] { dialog->reject(); });
                auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
                ASSERT_NE(details, nullptr);
                if (auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
                    for (int i = 0; i < types->count(); ++i)
                        shown.filters << types->itemText(i);
                // Every file, so that a type column shows more than one kind.
                dialog->selectNameFilter(QStringLiteral("All Files(*.*)"));
                ASSERT_TRUE(waitUntil(
                    [&] { return details->model()->rowCount(details->rootIndex()) >= 2; }));
                runEventsFor(200);
                shown.title = dialog->windowTitle();
                for (const QLabel *label : dialog->findChildren<QLabel *>())
                    shown.labels << label->text();
                shown.window = dialog->palette().color(QPalette::Window);
                shown.pixelSize = dialog->font().pixelSize();
                const QFontMetrics metrics(details->font());
                const QModelIndex root = details->rootIndex();
                for (int row = 0; row < details->model()->rowCount(root); ++row) {
                    for (int column = 1; column < details->header()->count(); ++column) {
                        if (details->header()->isSectionHidden(column))
                            continue;
                        const QString text
                            = details->model()->index(row, column, root).data().toString();
                        if (details->header()->sectionSize(column)
                            < metrics.horizontalAdvance(text))
                            shown.cut << text;
                    }
                }
                if (auto *places = dialog->findChild<QListView *>(QStringLiteral("sidebar"))) {
                    const QFontMetrics placeMetrics(places->font());
                    for (int row = 0; row < places->model()->rowCount(); ++row) {
                        const QString place = places->model()->index(row, 0).data().toString();
                        if (places->viewport()->width() < placeMetrics.horizontalAdvance(place))
                            shown.cut << place;
                    }
                }
                EXPECT_TRUE(dialog->grab().save(artefactPath(name + QStringLiteral(".png"))));
            });
            const DialogContext context{tag, scale, fonts};
            const QString chosen = save ? ProfileFileDialog::chooseSavePath(context, nullptr)
                                        : ProfileFileDialog::chooseOpenPath(context, nullptr);
            EXPECT_TRUE(chosen.isEmpty());
            const QString labels = shown.labels.join(QLatin1Char('|'));
            if (tag == "zh-CN") {
                EXPECT_TRUE(hasHan(shown.title)) << shown.title.toStdString();
                EXPECT_TRUE(hasHan(labels)) << labels.toStdString();
            } else {
                EXPECT_EQ(shown.title, save ? QStringLiteral("Save As") : QStringLiteral("Open"));
                EXPECT_FALSE(hasHan(labels)) << labels.toStdString();
            }
            ASSERT_FALSE(shown.filters.isEmpty());
            EXPECT_EQ(shown.filters.front(), QStringLiteral("pro(*.pro)"));
            EXPECT_EQ(shown.window, DarkPalette::palette().color(QPalette::Window));
            EXPECT_EQ(shown.pixelSize, QtWindowLook::font(context).pixelSize());
            EXPECT_TRUE(shown.cut.isEmpty()) << shown.cut.join(QLatin1Char('|')).toStdString();
        }
    }
    // The window's language was Qt's only while a dialog was open.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Save As"));
    QDir::setCurrent(before);
}
