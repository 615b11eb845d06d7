#include "keymap/KeySettingsEditor.h"

#include "keymap/KeySettingsFields.h"
#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsTable.h"
#include "model/EntryNames.h"
#include "model/StepEditing.h"
#include "model/StepText.h"

#include <QKeyEvent>
#include <QLineEdit>

using namespace KeySettingsTable;
using Page = KeySettingsModel::Page;

namespace {

int firstEntryRow(int page)
{
    switch (page) {
    case Page::SingleComboPage:
        return FirstComboRow;
    case Page::MacroPage:
        return FirstMacroRow;
    case Page::EmulatePage:
        return FirstEmuRow;
    default:
        return -1;
    }
}

EntryNames::ListKind kindOfPage(int page)
{
    if (page == Page::MacroPage)
        return EntryNames::ListKind::Macros;
    return page == Page::EmulatePage ? EntryNames::ListKind::Emulations
                                     : EntryNames::ListKind::Combos;
}

} // namespace

KeySettingsEditor::KeySettingsEditor(KeySettingsModel &model, KeySettingsFields &fields,
                                     bool chinese, RowRect rowRect, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_fields(fields)
    , m_chinese(chinese)
    , m_rowRect(std::move(rowRect))
{
    connect(&fields, &KeySettingsFields::edited, this, &KeySettingsEditor::fieldEdited);
    connect(fields.times(), &QLineEdit::editingFinished, this,
            [this] { fieldFinished(TimesField); });
    connect(fields.autoDelay(), &QLineEdit::editingFinished, this,
            [this] { fieldFinished(AutoDelayField); });
    // Leaving the field takes its text over, as a click elsewhere would.
    connect(fields.inPlace(), &QLineEdit::editingFinished, this, [this] { commit(); });
    fields.inPlace()->installEventFilter(this);
}

bool KeySettingsEditor::handlesButton(int id)
{
    switch (id) {
    case NewComboButton:
    case DeleteComboButton:
    case NewMacroButton:
    case RemoveMacroButton:
    case NewEmuButton:
    case RemoveEmuButton:
    case TimesPlayRadio:
    case PressPlayRadio:
    case TogglePlayRadio:
    case AutoDelayCheck:
    case RecordDelayCheck:
        return true;
    default:
        return false;
    }
}

void KeySettingsEditor::clickButton(int id)
{
    switch (id) {
    case NewComboButton:
    case NewMacroButton:
    case NewEmuButton:
        newEntry(pageOfId(id));
        break;
    case DeleteComboButton:
    case RemoveMacroButton:
    case RemoveEmuButton:
        removeEntry(pageOfId(id));
        break;
    case TimesPlayRadio:
        setPlayMode(0);
        break;
    case PressPlayRadio:
        setPlayMode(1);
        break;
    case TogglePlayRadio:
        setPlayMode(2);
        break;
    case AutoDelayCheck:
    case RecordDelayCheck:
        setAutoDelay(id == AutoDelayCheck);
        break;
    default:
        break;
    }
}

void KeySettingsEditor::newEntry(int page)
{
    WorkingList *list = m_model.listOfPage(page);
    if (!list || (page == Page::SingleComboPage && m_model.singleMode()))
        return;
    const std::string name = EntryNames::proposedName(list->list(), kindOfPage(page), m_chinese);
    if (!list->addEntry(""))
        return;
    beginRename(page, list->list().selected, QString::fromStdString(name));
    emit changed();
}

void KeySettingsEditor::removeEntry(int page)
{
    WorkingList *list = m_model.listOfPage(page);
    if (!list || (page == Page::SingleComboPage && m_model.singleMode()))
        return;
    if (list->removeSelected())
        emit changed();
}

void KeySettingsEditor::setPlayMode(int mode)
{
    WorkingList &macros = m_model.macros();
    macros.current().playMode = mode;
    macros.storeCurrent();
    QLineEdit *times = m_fields.times();
    times->setEnabled(mode == 0);
    if (mode == 0)
        times->setFocus();
    emit changed();
}

void KeySettingsEditor::setAutoDelay(bool on)
{
    WorkingList &macros = m_model.macros();
    ActionList &macro = macros.current();
    if (macro.autoDelay == on)
        return;
    if (on) {
        StepEditing::useAutoDelay(macro, StepEditing::clampAutoDelay(fieldValue(AutoDelayField)));
        m_fields.autoDelay()->setEnabled(true);
        m_fields.autoDelay()->setFocus();
    } else {
        StepEditing::useRecordedDelays(macro);
        m_fields.autoDelay()->setEnabled(false);
    }
    macros.storeCurrent();
    emit changed();
}

void KeySettingsEditor::clickEntryRow(int page, int row)
{
    WorkingList *list = m_model.listOfPage(page);
    if (!list)
        return;
    if (row == list->list().selected) {
        list->storeCurrent();
        beginRename(page, row, QString::fromStdString(list->list().nameAt(row)));
    } else {
        list->selectRow(row);
    }
    emit changed();
}

void KeySettingsEditor::clickStepRow(int page, int row)
{
    WorkingList *list = m_model.listOfPage(page);
    if (!list || row < 0 || list->current().top + row >= list->current().size())
        return;
    ActionList &steps = list->current();
    if (row == steps.selected)
        beginStepEdit(page, row);
    else
        steps.selected = row;
    emit changed();
}

void KeySettingsEditor::applyMenuItem(int row, int item)
{
    WorkingList &macros = m_model.macros();
    if (!StepEditing::applyMenuItem(m_model.catalogue(), macros.current(), row, item))
        return;
    macros.storeCurrent();
    emit changed();
}

void KeySettingsEditor::beginRename(int page, int row, const QString &text)
{
    const WorkingList *list = m_model.listOfPage(page);
    if (!list || firstEntryRow(page) < 0)
        return;
    open(Mode::Rename, page, row, firstEntryRow(page) + row, text);
}

void KeySettingsEditor::beginStepEdit(int page, int row)
{
    if (page != Page::MacroPage)
        return;
    const ActionList &macro = m_model.macros().current();
    const std::string step = macro.nameAt(row);
    if (!StepText::isDelayStep(step))
        return;
    open(Mode::StepDelay, page, row, FirstMacroStepRow + row,
         QString::fromStdString(StepText::delayDigits(step)));
}

void KeySettingsEditor::open(Mode mode, int page, int row, int rowId, const QString &text)
{
    commit();
    const WorkingList *list = m_model.listOfPage(page);
    const ActionList &shown = mode == Mode::Rename ? list->list() : list->current();
    m_mode = mode;
    m_page = page;
    m_index = shown.top + row;
    m_openedWith = text;
    QLineEdit *field = m_fields.inPlace();
    // A pixel beyond the row on each side, for the field's frame.
    field->setGeometry(m_rowRect(rowId).adjusted(0, -1, 0, 1));
    field->setText(text);
    field->show();
    field->raise();
    field->setFocus();
    field->selectAll();
}

bool KeySettingsEditor::commit()
{
    if (m_mode == Mode::None)
        return false;
    const Mode mode = m_mode;
    // Hiding the field ends its editing once more; that must find nothing open.
    m_mode = Mode::None;
    QLineEdit *field = m_fields.inPlace();
    const std::string text = field->text().toStdString();
    field->hide();

    WorkingList *list = m_model.listOfPage(m_page);
    if (!list)
        return true;
    if (mode == Mode::Rename) {
        list->rename(m_index, text);
    } else {
        ActionList &macro = list->current();
        if (m_index >= 0 && m_index < macro.size()
            && StepText::isDelayStep(macro.names[std::size_t(m_index)])) {
            macro.names.set(std::size_t(m_index),
                            StepText::delayStep(StepEditing::delayOfText(text)));
            list->storeCurrent();
        }
    }
    emit changed();
    return true;
}

void KeySettingsEditor::cancel()
{
    if (m_mode == Mode::None)
        return;
    m_fields.inPlace()->setText(m_openedWith);
    commit();
}

bool KeySettingsEditor::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the fields' owner is gone by the time the field's Destroy comes here.
    if (event->type() != QEvent::KeyPress || watched != m_fields.inPlace())
        return false;
    // Enter and Esc end the editing here; they must not reach the dialog as OK or Cancel.
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commit();
        return true;
    case Qt::Key_Escape:
        cancel();
        return true;
    default:
        return false;
    }
}

int KeySettingsEditor::fieldValue(int fieldId) const
{
    const QLineEdit *field = fieldId == TimesField ? m_fields.times() : m_fields.autoDelay();
    return StepText::leadingInteger(field->text().toStdString());
}

// A typed value is clamped and goes into the entry at once; the field shows the clamped value
// unless it is being emptied to type a new one.
void KeySettingsEditor::fieldEdited(int fieldId)
{
    const int page = m_model.page();
    const int typed = fieldValue(fieldId);
    int value = typed;
    WorkingList *list = nullptr;
    if (page == Page::MacroPage && fieldId == TimesField) {
        value = StepEditing::clampTimes(typed);
        list = &m_model.macros();
        list->current().times = value;
    } else if (page == Page::MacroPage && fieldId == AutoDelayField) {
        value = StepEditing::clampAutoDelay(typed);
        list = &m_model.macros();
        list->current().delayMs = value;
    } else if (page == Page::EmulatePage && fieldId == TimesField) {
        value = StepEditing::clampInterval(typed);
        list = &m_model.emulations();
        list->current().delayMs = value;
    } else {
        return;
    }
    list->storeCurrent();
    QLineEdit *field = fieldId == TimesField ? m_fields.times() : m_fields.autoDelay();
    if (value != typed && !field->text().isEmpty())
        field->setText(QString::number(value));
    emit changed();
}

void KeySettingsEditor::fieldFinished(int fieldId)
{
    // What the entry holds, also for a field left empty.
    const int page = m_model.page();
    int value = 0;
    if (page == Page::MacroPage)
        value = fieldId == TimesField ? m_model.macros().current().times
                                      : m_model.macros().current().delayMs;
    else if (page == Page::EmulatePage && fieldId == TimesField)
        value = m_model.emulations().current().delayMs;
    else
        return;
    QLineEdit *field = fieldId == TimesField ? m_fields.times() : m_fields.autoDelay();
    const QString text = QString::number(value);
    if (field->text() != text)
        field->setText(text);
}
