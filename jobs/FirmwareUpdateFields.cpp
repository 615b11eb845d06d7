#include "jobs/FirmwareUpdateFields.h"

#include "layout/FirmwareUpdateTable.h"
#include "layout/ScaleFactor.h"
#include "skin/FontTable.h"
#include "skin/SkinnedDialog.h"

#include <quillodev/CNuboHWI.h>

#include <QDir>
#include <QFontMetrics>

#include <algorithm>
#include <cwchar>

namespace {

constexpr int VersionCapacity = 64;
constexpr int FieldPadding = 6;

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
    , m_fileFont(m_file->font())
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

FirmwareUpdateFields::ShownPath FirmwareUpdateFields::shownPath(const QString &path,
                                                                const QFont &font, int width)
{
    if (QFontMetrics(font).horizontalAdvance(path) <= width)
        return {path, font};
    // The file's own name is what the user checks: the folders give way in their middle, the
    // beginning of the path and the whole name stay, in a slightly smaller size where the
    // field's own leaves no room beside the name. A name too long for the field keeps its
    // beginning (the model) and its end (the version).
    const qsizetype cut = path.lastIndexOf(QDir::separator()) + 1;
    const QString name = path.mid(cut);
    const QString folder = path.left(cut);
    const int size = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    const int smallest = std::max(7, size * 5 / 6);
    QFont smaller = font;
    for (int pixels = size; cut > 0 && pixels >= smallest; --pixels) {
        smaller.setPixelSize(pixels);
        const QFontMetrics metrics(smaller);
        const int room = width - metrics.horizontalAdvance(name);
        if (room <= 0)
            break;
        const QString head = metrics.elidedText(folder, Qt::ElideMiddle, room);
        // Something of the folders besides the ellipsis, so that the path is seen as one.
        if (head.size() > 2)
            return {head + name, smaller};
    }
    return {QFontMetrics(font).elidedText(name, Qt::ElideMiddle, width), font};
}

void FirmwareUpdateFields::showFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    // QLineEdit keeps a few pixels for its margins and the cursor.
    const int room = m_file->contentsRect().width() - FieldPadding;
    const ShownPath fitted = shownPath(shown, m_fileFont, room);
    m_file->setFont(fitted.font);
    m_file->setText(fitted.text);
    m_file->setCursorPosition(0);
    m_file->setToolTip(shown);
}
