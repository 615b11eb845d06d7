#include "keymap/KeySettingsFields.h"

#include "keymap/KeySettingsTable.h"
#include "skin/FontTable.h"
#include "skin/ScaleFactor.h"
#include "skin/SkinnedDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void place(QWidget *field, const ButtonRect &base, float scale)
{
    field->setGeometry(scaledPixels(base.left, scale), scaledPixels(base.top, scale),
                       scaledPixels(base.width(), scale), scaledPixels(base.height(), scale));
}

} // namespace

KeySettingsFields::KeySettingsFields(QWidget *dialog, const FontTable &fonts, float scale,
                                     bool chinese)
    : QObject(dialog)
    , m_scale(scale)
    , m_chinese(chinese)
    , m_times(lineField(dialog, KeySettingsTable::TimesField, fonts, scale, chinese))
    , m_autoDelay(lineField(dialog, KeySettingsTable::AutoDelayField, fonts, scale, chinese))
    , m_inPlace(lineField(dialog, KeySettingsTable::InPlaceField, fonts, scale, chinese))
    , m_comboKeys(new QPlainTextEdit(dialog))
{
    m_inPlace->hide();
    m_comboKeys->setObjectName(QStringLiteral("field%1").arg(KeySettingsTable::ComboKeysField));
    m_comboKeys->setReadOnly(true);
    m_comboKeys->setFocusPolicy(Qt::NoFocus); // it never shows a caret
    m_comboKeys->setContextMenuPolicy(Qt::NoContextMenu);
    m_comboKeys->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comboKeys->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comboKeys->document()->setDocumentMargin(2);
    SkinnedDialog::applyFieldColours(m_comboKeys);
    m_comboKeys->setFont(
        fonts.font(scaledPixels(KeySettingsTable::ComboKeysFontSize, scale)));
    place(m_comboKeys, KeySettingsTable::fieldRect(KeySettingsTable::ComboKeysField, chinese),
          scale);

    connect(m_times, &QLineEdit::textEdited, this,
            [this] { emit edited(KeySettingsTable::TimesField); });
    connect(m_autoDelay, &QLineEdit::textEdited, this,
            [this] { emit edited(KeySettingsTable::AutoDelayField); });
}

QLineEdit *KeySettingsFields::lineField(QWidget *dialog, int id, const FontTable &fonts,
                                        float scale, bool chinese)
{
    auto *field = new QLineEdit(dialog);
    field->setObjectName(QStringLiteral("field%1").arg(id));
    field->setFrame(false);
    field->setTextMargins(2, 0, 2, 0);
    SkinnedDialog::applyFieldColours(field);
    field->setFont(fonts.font(scaledPixels(KeySettingsTable::FieldFontSize, scale)));
    place(field, KeySettingsTable::fieldRect(id, chinese), scale);
    return field;
}

QWidget *KeySettingsFields::field(int id) const
{
    switch (id) {
    case KeySettingsTable::TimesField:
        return m_times;
    case KeySettingsTable::AutoDelayField:
        return m_autoDelay;
    case KeySettingsTable::InPlaceField:
        return m_inPlace;
    case KeySettingsTable::ComboKeysField:
        return m_comboKeys;
    default:
        return nullptr;
    }
}

void KeySettingsFields::showPage(int page)
{
    place(m_times, KeySettingsTable::fieldRect(KeySettingsTable::TimesField, m_chinese, page),
          m_scale);
    m_times->setVisible(page == 2 || page == 3);
    m_times->setEnabled(true);
    m_autoDelay->setVisible(page == 2);
    m_comboKeys->setVisible(page == 1);
    m_inPlace->hide();
}

void KeySettingsFields::setValue(QLineEdit *field, int value)
{
    const QString text = QString::number(value);
    if (field->text() != text && !field->hasFocus())
        field->setText(text);
}

void KeySettingsFields::setTimes(int value)
{
    setValue(m_times, value);
}

void KeySettingsFields::setAutoDelay(int value, bool enabled)
{
    setValue(m_autoDelay, value);
    m_autoDelay->setEnabled(enabled);
}

void KeySettingsFields::setComboKeys(const QString &text)
{
    if (m_comboKeys->toPlainText() != text)
        m_comboKeys->setPlainText(text);
}
