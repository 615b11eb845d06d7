#include "keymap/CNuboDialogKeyMapSettings.h"

#include "keymap/KeySettingsAccess.h"
#include "keymap/KeySettingsEditor.h"
#include "keymap/KeySettingsFields.h"
#include "keymap/KeySettingsPageState.h"
#include "keymap/KeySettingsRowKeys.h"
#include "keymap/KeySettingsScrollBars.h"
#include "keymap/NuboDialogVirtual.h"
#include "keymap/StepMenu.h"
#include "model/KeyCatalogue.h"
#include "skin/CSkinScrollBar.h"
#include "skin/EntryNaming.h"
#include "skin/SkinMessageBox.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include <cmath>

using namespace KeySettingsTable;
using Recording = KeySettingsModel::Recording;

CNuboDialogKeyMapSettings::CNuboDialogKeyMapSettings(const DialogContext &context,
                                                     const KeySettingsInput &input,
                                                     VirtualKeyPicks &picks,
                                                     const KeySettingsSkins &skins, QWidget *parent)
    : SkinnedDialog(context, EntryCount, ColourKey, parent)
    , m_model(input)
    , m_picks(picks)
    , m_skins(skins)
    , m_hold(this, ClickHoldMs, [this](int index) { clickEntry(index); })
    , m_recording(this, messageHandle(), m_model)
    , m_commands(m_model, m_views, picks,
                 {[this] {
                      m_change = m_model.confirm();
                      accept();
                  },
                  [this] { reject(); },
                  [this](int pickMode) { return runVirtualKeyboard(pickMode); },
                  [this](int recordButtonId) { startRecording(recordButtonId); },
                  [this] { stopRecording(); }, [this] { return commitInPlaceEdit(); },
                  [this]() -> KeySettingsEditor & {
                      return *m_editor;
                  }})
{
    // The frame takes its size from the face of the page the dialog opens on.
    setSkin(m_skins.page(m_model.page()));
    m_skinPage = m_model.page();
    setWindowTitle(QString::fromUtf8(context.chinese() ? "按键设置面板" : "Key Settings"));
    connect(&m_recording, &KeySettingsRecording::changed, this, [this] { update(); });
    // Fast typing repaints only what a keystroke changes, the scroll bar in the same pass.
    connect(&m_recording, &KeySettingsRecording::recorded, this, [this] {
        QRect changed = recordedRect();
        if (m_bars) {
            m_bars->sync(m_views);
            changed |= m_bars->steps().geometry();
        }
        update(changed);
    });
    connect(&m_recording, &KeySettingsRecording::unknownKey, this,
            &CNuboDialogKeyMapSettings::showUnknownKey);
}

CNuboDialogKeyMapSettings::~CNuboDialogKeyMapSettings() = default;

bool CNuboDialogKeyMapSettings::initDialog()
{
    setupFrame();
    fillTable(table());
    m_views.bind(table(), m_model);

    const float s = scale();
    m_fields = new KeySettingsFields(this, fonts(), s, chinese());
    m_bars = new KeySettingsScrollBars(this, m_skins.scrollBar, s);
    connect(m_bars, &KeySettingsScrollBars::scrollTo, this, &CNuboDialogKeyMapSettings::scrolled);
    m_editor = new KeySettingsEditor(
        m_model, *m_fields, chinese(), [this](int rowId) { return rowRect(rowId); }, this);
    connect(m_editor, &KeySettingsEditor::changed, this, [this] { update(); });
    // The fields and bars are widgets of their own: their clicks never reach the face.
    const QList<QWidget *> children{&m_bars->entries(),  &m_bars->steps(),
                                    m_fields->times(),   m_fields->autoDelay(),
                                    m_fields->inPlace(), m_fields->comboKeys()->viewport()};
    for (QWidget *child : children)
        child->installEventFilter(this);

    table().scaleToClient(s);
    setTooltipIds({{FirstMediaButton, LastMediaButton},
                   {FirstFunctionButton, LastFunctionButton},
                   {FirstPowerButton, LastPowerButton}});
    showPage(m_model.page());
    refreshPageState();
    return true;
}

void CNuboDialogKeyMapSettings::fillTable(ButtonTable &table)
{
    table.assign(build(m_model.deviceType()));
}

bool CNuboDialogKeyMapSettings::isEntryShown(const DrawnButton &entry) const
{
    const int page = pageOfId(entry.id);
    return page == 0 || page == m_shownPage;
}

bool CNuboDialogKeyMapSettings::showsHover(const DrawnButton &entry) const
{
    // Buttons of the other mode do nothing, and rows without an entry are blank space.
    if (m_model.singleMode() ? actsInComboModeOnly(entry.id) : actsInSingleModeOnly(entry.id))
        return false;
    const ActionListView *view = m_views.ofRow(entry.id);
    return !view || view->rowHasEntry(view->rowOf(entry.id));
}

CSkinScrollBar &CNuboDialogKeyMapSettings::entryScrollBar() const
{
    return m_bars->entries();
}

CSkinScrollBar &CNuboDialogKeyMapSettings::stepScrollBar() const
{
    return m_bars->steps();
}

QRect CNuboDialogKeyMapSettings::captionRect(const DrawnButton &entry, const QRect &place) const
{
    // Row texts keep clear of the selection's accent edge, and take the row's whole height:
    // it is the font's, descenders included.
    return m_views.ofRow(entry.id) ? place.adjusted(5, 0, -2, 0) : place;
}

bool CNuboDialogKeyMapSettings::elidesCaption(const DrawnButton &entry) const
{
    return m_views.ofRow(entry.id) != nullptr;
}

void CNuboDialogKeyMapSettings::showPage(int page)
{
    if (page == m_shownPage || page < 1 || page > PageCount)
        return;
    if (page != m_skinPage) {
        // Every page has the same outline: the window keeps its shape.
        setSkin(m_skins.page(page), true);
        m_skinPage = page;
    }
    m_shownPage = page;
    m_fields->showPage(page);
    m_bars->showPage(page, m_views);
    // Whatever the pointer was over on the old page is gone, its tooltip too.
    refreshHover();
    update();
}

void CNuboDialogKeyMapSettings::scrolled(bool steps, int position)
{
    // Whatever moved the bar, the recording's entry stays current: the move only stops it.
    if (clickStopsRecording())
        return;
    WorkingList *list = m_model.listOfPage(m_shownPage);
    if (!list)
        return;
    // The field lies over a row that is about to show another entry.
    commitInPlaceEdit();
    if (steps)
        list->current().scrollTo(position);
    else
        list->scrollTo(position); // the entry there becomes current
    refreshPageState();
    update();
}

bool CNuboDialogKeyMapSettings::clickStopsRecording()
{
    if (!isRecording())
        return false;
    stopRecording();
    refreshPageState();
    return true;
}

void CNuboDialogKeyMapSettings::buttonClicked(int index, DrawnButton &)
{
    m_hold.hold(index);
}

void CNuboDialogKeyMapSettings::mousePressEvent(QMouseEvent *event)
{
    // A click beside the buttons stops a recording too; the buttons' own releases do it in
    // their order. The press may still move the window.
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && isRecording() && !isTransparentAt(point)
        && table().firstHit(point.x(), point.y(), [this](const DrawnButton &entry) {
               return isEntryShown(entry);
           }) < 0)
        clickStopsRecording();
    SkinnedDialog::mousePressEvent(event);
}

bool CNuboDialogKeyMapSettings::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the children's last events come after the dialog's members are gone.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return SkinnedDialog::eventFilter(watched, event);
    if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && clickStopsRecording())
        return true;
    return SkinnedDialog::eventFilter(watched, event);
}

void CNuboDialogKeyMapSettings::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_hold.drop();
    SkinnedDialog::mouseDoubleClickEvent(event);
}

void CNuboDialogKeyMapSettings::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (!m_bars)
        return;
    const QPoint point = event->position().toPoint();
    for (const bool steps : {false, true}) {
        const ActionListView *view
            = steps ? m_views.steps(m_shownPage) : m_views.entries(m_shownPage);
        if (!view)
            continue;
        // The rows and the frame round them, gaps between rows included.
        const QRect area = rowRect(view->firstRowId())
                               .united(rowRect(view->firstRowId() + view->rows() - 1))
                               .marginsAdded(QMargins(3, 3, 3, 3) * int(std::ceil(scale())));
        if (area.contains(point)) {
            (steps ? m_bars->steps() : m_bars->entries()).turnWheel(event->angleDelta());
            return;
        }
    }
}

bool CNuboDialogKeyMapSettings::clickId(int id)
{
    for (std::size_t i = 0; i < table().size(); ++i) {
        if (table()[i].id == id && table()[i].isHittable() && isEntryShown(table()[i])) {
            clickEntry(int(i));
            return true;
        }
    }
    return false;
}

void CNuboDialogKeyMapSettings::clickEntry(int index)
{
    if (index < 0 || std::size_t(index) >= table().size())
        return;
    const DrawnButton &hit = table()[std::size_t(index)];
    if (!hit.isHittable() || !isEntryShown(hit))
        return;
    if (!m_commands.click(hit.id))
        return;
    // Default and Clear may have turned to another page.
    showPage(m_model.page());
    refreshPageState();
    update();
}

int CNuboDialogKeyMapSettings::runVirtualKeyboard(int pickMode)
{
    NuboDialogVirtual keyboard(context(), m_model.catalogue(), m_picks,
                               m_skins.virtualKeyboardFaces(), this);
    keyboard.pickMode = pickMode;
    return keyboard.exec();
}

bool CNuboDialogKeyMapSettings::commitInPlaceEdit()
{
    return m_editor && m_editor->commit();
}

QRect CNuboDialogKeyMapSettings::rowRect(int rowId) const
{
    const int index = table().indexOfId(rowId);
    if (index < 0)
        return {};
    // Rows are buttons, whose rectangles the table keeps in client pixels.
    const ButtonRect &r = table()[std::size_t(index)].rect;
    return QRect(r.left, r.top, r.width(), r.height());
}

QRect CNuboDialogKeyMapSettings::recordedRect() const
{
    switch (m_model.recording()) {
    case Recording::Macro:
        return rowRect(FirstMacroStepRow).united(rowRect(LastMacroStepRow));
    case Recording::Emulation:
        return rowRect(FirstEmuStepRow).united(rowRect(LastEmuStepRow));
    case Recording::SingleKey: {
        const int index = table().indexOfId(SingleKeyName);
        return index < 0 ? rect() : clientRect(table()[std::size_t(index)].rect);
    }
    default:
        // The combination's keys are a field, refreshed with any paint.
        return rowRect(FirstComboRow);
    }
}

void CNuboDialogKeyMapSettings::startRecording(int recordButtonId)
{
    m_recording.start(recordButtonId);
}

void CNuboDialogKeyMapSettings::stopRecording()
{
    m_recording.stop();
    update();
}

bool CNuboDialogKeyMapSettings::event(QEvent *event)
{
    return m_recording.handleEvent(event) || SkinnedDialog::event(event);
}

void CNuboDialogKeyMapSettings::showUnknownKey(const QString &text)
{
    // The box has the keyboard while it is open, so that Enter or Esc closes it rather than
    // being captured; the capture takes keys again once it is closed.
    if (!m_unknownKeyBox) {
        m_unknownKeyBox = new SkinMessageBox(context(), QMessageBox::Information, windowTitle(),
                                             text, QMessageBox::Ok, this);
        m_unknownKeyBox->setDefaultButton(QMessageBox::Ok);
        m_unknownKeyBox->setEscapeButton(QMessageBox::Ok);
        connect(m_unknownKeyBox, &QDialog::finished, this, [this] {
            m_unknownKeyBox->releaseKeyboard();
            m_recording.resume();
        });
    }
    m_unknownKeyBox->setText(text);
    m_recording.pause();
    m_unknownKeyBox->open();
    m_unknownKeyBox->activateWindow();
    m_unknownKeyBox->grabKeyboard();
}

void CNuboDialogKeyMapSettings::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (m_shownPage != KeySettingsModel::MacroPage || isRecording())
        return;
    const QPoint point = event->pos();
    const int index = table().firstHit(
        point.x(), point.y(), [this](const DrawnButton &entry) { return isEntryShown(entry); });
    const ActionListView *view = m_views.steps(m_shownPage);
    const int row = index < 0 || !view ? -1 : view->rowOf(table()[std::size_t(index)].id);
    if (!view || !view->rowHasEntry(row))
        return;
    commitInPlaceEdit();
    if (const int item = runStepMenu(event->globalPos()))
        m_editor->applyMenuItem(row, item);
    update();
}

int CNuboDialogKeyMapSettings::runStepMenu(const QPoint &globalPos)
{
    return StepMenu::run(this, globalPos, chinese(), clientFont(12));
}

void CNuboDialogKeyMapSettings::done(int result)
{
    // However the dialog ends, the keyboard is given back and no held click runs later.
    m_hold.drop();
    stopRecording();
    SkinnedDialog::done(result);
}

void CNuboDialogKeyMapSettings::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        event->accept();
        // Enter in the fields belongs to them; elsewhere it confirms as OK does.
        QWidget *focus = focusWidget();
        if (focus && m_fields
            && (focus == m_fields->times() || focus == m_fields->autoDelay()
                || focus == m_fields->inPlace()))
            return;
        commitInPlaceEdit();
        stopRecording();
        m_commands.run(OkButton);
        return;
    }
    default:
        SkinnedDialog::keyPressEvent(event);
    }
}

void CNuboDialogKeyMapSettings::beforeEntries(QPainter &)
{
    refreshPageState();
}

void CNuboDialogKeyMapSettings::refreshPageState()
{
    KeySettingsPageState::write(table(), m_model, m_views, m_shownPage);
    if (m_bars)
        m_bars->sync(m_views);
    // A field's text is read by the next edit (Auto delay takes it): it follows the entry at
    // once, not only at the next paint.
    if (m_fields)
        m_fields->refresh(m_model, m_shownPage);
}

EntryRole CNuboDialogKeyMapSettings::entryRole(const DrawnButton &entry) const
{
    return entry.isUsed() ? KeySettingsAccess::role(entry.id, m_views) : EntryRole::None;
}

QString CNuboDialogKeyMapSettings::entryName(const DrawnButton &entry) const
{
    // The close mark is a drawn cross without a caption.
    if (entry.id == CloseMark)
        return QString::fromUtf8(chinese() ? "关闭" : "Close");
    return SkinnedDialog::entryName(entry);
}

bool CNuboDialogKeyMapSettings::isEntryChecked(const DrawnButton &entry) const
{
    // A tab's look is its label's; the tab of the page shown is the selected one.
    if (entry.id >= FirstTab && entry.id <= LastTab)
        return entry.id - FirstTab + 1 == m_shownPage;
    return entry.checked;
}

bool CNuboDialogKeyMapSettings::isEntryEnabled(const DrawnButton &entry) const
{
    return KeySettingsAccess::actsNow(entry.id, m_model.singleMode());
}

int CNuboDialogKeyMapSettings::focusGroup(const DrawnButton &entry) const
{
    return entry.isLabel ? 0 : KeySettingsAccess::group(entry.id);
}

QString CNuboDialogKeyMapSettings::focusGroupName(int group) const
{
    const int index = table().indexOfId(KeySettingsAccess::groupHeading(group));
    if (index < 0)
        return {};
    return QString::fromStdString(
        EntryNaming::textOf(table()[std::size_t(index)].captions, language()));
}

int CNuboDialogKeyMapSettings::arrowTarget(int index, Qt::Key key)
{
    const int row = KeySettingsRowKeys::press(m_model, m_views, table()[std::size_t(index)].id, key,
                                              [this] { commitInPlaceEdit(); });
    if (row == KeySettingsRowKeys::NotARow)
        return SkinnedDialog::arrowTarget(index, key);
    if (row == KeySettingsRowKeys::Stays)
        return -1;
    refreshPageState();
    update();
    return table().indexOfId(row);
}
