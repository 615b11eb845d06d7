#include "app/ProfileFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// Open and Save start where the user chose a profile last in this run, the current folder the
// first time; nothing is kept across runs and no file name is proposed.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString choose(QWidget *parent, bool save)
{
    QFileDialog dialog(parent);
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::currentPath() : lastFolder());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("pro"));
    dialog.setNameFilters({QStringLiteral("pro(*.pro)"), QStringLiteral("All Files(*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}

} // namespace

QString ProfileFileDialog::chooseSavePath(QWidget *parent)
{
    return choose(parent, true);
}

QString ProfileFileDialog::chooseOpenPath(QWidget *parent)
{
    return choose(parent, false);
}
