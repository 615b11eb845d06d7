#include "app/ProfileFileDialog.h"

#include <QFileDialog>

namespace {

QString choose(QWidget *parent, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("pro"));
    dialog.setNameFilters({QStringLiteral("pro(*.pro)"), QStringLiteral("All Files(*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
