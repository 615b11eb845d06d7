#include "keymap/KeySettingsFields.h"

#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsTable.h"
#include "layout/ScaleFactor.h"
#include "layout/WindowsColour.h"
#include "model/StepText.h"
#include "skin/FontTable.h"
#include "skin/SkinnedDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr std::uint32_t FieldText = 0x006FFF;
constexpr std::uint32_t FieldBackground = 0x141414;

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
    // Over a list row it writes as the row does.
    m_inPlace->setFont(fonts.font(scaledPixels(KeySettingsTable::RowFontSize, scale)));
    m_inPlace->setStyleSheet(m_inPlace->styleSheet().replace(QLatin1String("padding: 0px 2px"),
                                                             QLatin1String("padding: 0px 1px")));
    m_comboKeys->setObjectName(QStringLiteral("field%1").arg(KeySettingsTable::ComboKeysField));
    m_comboKeys->setReadOnly(true);
    m_comboKeys->setFocusPolicy(Qt::NoFocus); // it never shows a caret
    m_comboKeys->setContextMenuPolicy(Qt::NoContextMenu);
    m_comboKeys->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comboKeys->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comboKeys->document()->setDocumentMargin(2);
    SkinnedDialog::applyFieldColours(m_comboKeys);
    m_comboKeys->setFont(fonts.font(scaledPixels(KeySettingsTable::ComboKeysFontSize, scale)));
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
    SkinnedDialog::applyFieldColours(field);
    // The fields bring their own thin frames: where they sit depends on the language, which
    // the faces cannot know.
    const QString text = colourFromWindows(FieldText).name();
    const QString dark = colourFromWindows(FieldBackground).name();
    field->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background: %2;"
                                        " border: 1px solid #343a43; border-radius: 3px;"
                                        " padding: 0px 2px; selection-background-color: %1;"
                                        " selection-color: %2; }"
                                        " QLineEdit:focus { border-color: #b34e00; }"
                                        " QLineEdit:disabled { color: #6e4a2c;"
                                        " border-color: #262a30; }")
                             .arg(text, dark));
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
    // The times field stands for another value on each page: the next refresh sets it anew.
    m_timesFor = {};
    m_autoDelayFor = {};
}

void KeySettingsFields::refresh(const KeySettingsModel &model, int page)
{
    switch (page) {
    case KeySettingsModel::SingleComboPage: {
        QString keys;
        for (const std::string &name : model.combos().current().names)
            keys += (keys.isEmpty() ? "" : " + ") + QString::fromStdString(name);
        setComboKeys(keys);
        break;
    }
    case KeySettingsModel::MacroPage: {
        const ActionList &macro = model.macros().current();
        const ShownFor now{page, model.macros().currentSerial()};
        setValue(m_times, macro.times, m_timesFor, now);
        // The times count only when the macro is played that many times.
        m_times->setEnabled(macro.playMode == 0);
        setValue(m_autoDelay, macro.delayMs, m_autoDelayFor, now);
        m_autoDelay->setEnabled(macro.autoDelay);
        break;
    }
    case KeySettingsModel::EmulatePage:
        setValue(m_times, model.emulations().current().delayMs, m_timesFor,
                 {page, model.emulations().currentSerial()});
        break;
    default:
        break;
    }
}

void KeySettingsFields::setValue(QLineEdit *field, int value, ShownFor &shownFor, ShownFor now)
{
    const QString text = QString::number(value);
    if (field->text() == text) {
        shownFor = now;
        return;
    }
    // What is typed has gone into the entry already, clamped; the text may differ from the
    // value only while it is typed for this very entry.
    const std::string typed = field->text().toStdString();
    const bool typing = field->hasFocus() && shownFor == now
                        && (typed.empty() || StepText::leadingInteger(typed) == value);
    shownFor = now;
    if (!typing)
        field->setText(text);
}

void KeySettingsFields::setComboKeys(const QString &text)
{
    if (m_comboKeys->toPlainText() != text)
        m_comboKeys->setPlainText(text);
}
