#include "app/ProfileFileDialog.h"

#include "skin/QtTranslation.h"
#include "skin/QtWindowLook.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QTreeView>

namespace {

// Open and Save start where the user chose a profile last in this run, the current folder the
// first time; nothing is kept across runs and no file name is proposed.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString choose(const DialogContext &context, QWidget *parent, bool save)
{
    // Qt's own texts ("Look in", "Files of type") in the window's language.
    const QtTranslation::Scope texts(context.language);
    QFileDialog dialog(parent);
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::currentPath() : lastFolder());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("pro"));
    dialog.setNameFilters({QStringLiteral("pro(*.pro)"), QStringLiteral("All Files(*.*)")});
    ProfileFileDialog::dress(dialog, context);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}

} // namespace

QString ProfileFileDialog::chooseSavePath(const DialogContext &context, QWidget *parent)
{
    return choose(context, parent, true);
}

QString ProfileFileDialog::chooseOpenPath(const DialogContext &context, QWidget *parent)
{
    return choose(context, parent, false);
}

void ProfileFileDialog::dress(QFileDialog &dialog, const DialogContext &context)
{
    // Only Qt's own dialog has its details view; a desktop's keeps its look.
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!details)
        return;
    QtWindowLook::apply(&dialog, context);
    // Room for names, sizes, types and dates in the program's font at its scale.
    const QFontMetrics metrics(dialog.font());
    dialog.resize(
        dialog.size().expandedTo(QSize(metrics.averageCharWidth() * 120, metrics.height() * 28)));
    // Sizes, types and dates as wide as they are ("48.0 KiB", not "48....KiB"); the name takes
    // the rest.
    QHeaderView *header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    // The places beside them ("Computer", the home folder) whole too.
    if (auto *places = dialog.findChild<QListView *>(QStringLiteral("sidebar")))
        places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth()
                                + places->verticalScrollBar()->sizeHint().width());
}
