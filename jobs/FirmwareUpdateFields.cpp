#include "jobs/FirmwareUpdateFields.h"

#include "layout/FirmwareUpdateTable.h"
#include "layout/ScaleFactor.h"
#include "skin/FontTable.h"
#include "skin/SkinnedDialog.h"

#include <quillodev/CNuboHWI.h>

#include <QDir>

#include <cwchar>

namespace {

constexpr int VersionCapacity = 64;

QLineEdit *makeField(SkinnedDialog &dialog, const FontTable &fonts, float s, const ButtonRect &area,
                     const char *name)
{
    auto *field = new QLineEdit(&dialog);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus); // never shows a caret
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setFrame(false);
    SkinnedDialog::applyFieldColours(field);
    field->setTextMargins(0, 0, 0, 0);
    field->setGeometry(scaledPixels(area.left, s), scaledPixels(area.top, s),
                       scaledPixels(area.right, s) - scaledPixels(area.left, s),
                       scaledPixels(area.bottom, s) - scaledPixels(area.top, s));
    field->setFont(fonts.font(scaledPixels(FirmwareUpdateTable::FieldFontSize, s)));
    field->show();
    return field;
}

} // namespace

FirmwareUpdateFields::FirmwareUpdateFields(SkinnedDialog &dialog, const FontTable &fonts,
                                           float scale)
    : m_version(makeField(dialog, fonts, scale, FirmwareUpdateTable::VersionField, "version"))
    , m_file(makeField(dialog, fonts, scale, FirmwareUpdateTable::FileField, "file"))
{}

bool FirmwareUpdateFields::readVersion(CNuboHWI &hwi)
{
    wchar_t version[VersionCapacity] = {};
    if (!hwi.ReadKeyboardVersion(version))
        return false;
    m_version->setText(
        QString::fromWCharArray(version, int(wcsnlen(version, VersionCapacity - 2))));
    return true;
}

void FirmwareUpdateFields::showStatus(const QString &text)
{
    if (m_versionText.isNull())
        m_versionText = m_version->text();
    m_version->setText(text);
}

void FirmwareUpdateFields::restoreVersion()
{
    if (m_versionText.isNull())
        return;
    m_version->setText(m_versionText);
    m_versionText = QString();
}

void FirmwareUpdateFields::showFile(const QString &path)
{
    m_file->setText(QDir::toNativeSeparators(path));
    // A narrow field: the file's own name is what the user checks.
    m_file->setCursorPosition(int(m_file->text().size()));
}
