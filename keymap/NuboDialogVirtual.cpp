#include "keymap/NuboDialogVirtual.h"

#include "layout/ScaleFactor.h"
#include "layout/VirtualKeyboardTable.h"
#include "model/VirtualKeyPicks.h"
#include "skin/FontTable.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>

NuboDialogVirtual::NuboDialogVirtual(const DialogContext &context, const KeyCatalogue &catalogue,
                                     VirtualKeyPicks &picks, const SkinImages &skin,
                                     QWidget *parent)
    : SkinnedDialog(context, VirtualKeyboardTable::EntryCount, VirtualKeyboardTable::ColourKey,
                    parent)
    , m_picks(picks)
    , m_picker(catalogue, picks, VirtualKeyPicker::SingleKey)
    , m_hold(this, ClickHoldMs, [this](int index) { clickEntry(index); })
{
    setSkin(skin);
    setWindowTitle(QString::fromUtf8(context.chinese() ? "虚拟键盘" : "Virtual Keyboard"));
    m_doubleClickWait.setSingleShot(true);
    m_doubleClickWait.setInterval(DoubleClickReleaseMs);
    connect(&m_doubleClickWait, &QTimer::timeout, this, &NuboDialogVirtual::finishDoubleClick);
}

NuboDialogVirtual::~NuboDialogVirtual() = default;

bool NuboDialogVirtual::initDialog()
{
    m_picker.setMode(pickMode);
    setupFrame();
    fillTable(table());
    m_picker.open(table());

    const float s = scale();
    const ButtonRect &area = VirtualKeyboardTable::PickTextArea;
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("pick"));
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus); // no caret
    m_text->setContextMenuPolicy(Qt::NoContextMenu);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->document()->setDocumentMargin(0);
    applyFieldColours(m_text);
    m_text->setGeometry(scaledPixels(area.left, s), scaledPixels(area.top, s),
                        scaledPixels(area.width(), s), scaledPixels(area.height(), s));
    m_text->setFont(fonts().font(scaledPixels(VirtualKeyboardTable::PickTextFontSize, s)));

    table().scaleToClient(s);
    return true;
}

void NuboDialogVirtual::fillTable(ButtonTable &table)
{
    table.assign(VirtualKeyboardTable::build());
}

void NuboDialogVirtual::buttonClicked(int index, DrawnButton &)
{
    m_hold.hold(index);
}

void NuboDialogVirtual::clickEntry(int index)
{
    if (index < 0 || std::size_t(index) >= table().size())
        return;
    const int id = table()[std::size_t(index)].id;
    if (VirtualKeyboardTable::isKey(id)) {
        m_picker.toggle(table(), index);
        update();
    } else if (id == VirtualKeyboardTable::CloseMark || id == VirtualKeyboardTable::CancelButton) {
        reject();
    } else if (id == VirtualKeyboardTable::OkButton) {
        accept();
    }
}

void NuboDialogVirtual::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_hold.drop();
    if (pickMode == VirtualKeyPicker::SingleKey && event->button() == Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        const int index = table().firstHit(point.x(), point.y());
        if (index >= 0 && VirtualKeyboardTable::isKey(table()[std::size_t(index)].id)) {
            // Closing now would hand the release to the window underneath.
            m_doubleClickEntry = index;
            m_doubleClickWait.start();
            event->accept();
            return;
        }
    }
    SkinnedDialog::mouseDoubleClickEvent(event);
}

void NuboDialogVirtual::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_doubleClickEntry >= 0 && event->button() == Qt::LeftButton) {
        finishDoubleClick();
        return;
    }
    SkinnedDialog::mouseReleaseEvent(event);
}

void NuboDialogVirtual::finishDoubleClick()
{
    m_doubleClickWait.stop();
    const int index = m_doubleClickEntry;
    m_doubleClickEntry = -1;
    if (index < 0)
        return;
    m_picks.virtualPick = table()[std::size_t(index)].keyIndex;
    accept();
}

void NuboDialogVirtual::done(int result)
{
    // Nothing held may pick after the dialog has answered.
    m_hold.drop();
    m_doubleClickWait.stop();
    m_doubleClickEntry = -1;
    SkinnedDialog::done(result);
}

void NuboDialogVirtual::afterEntries(QPainter &)
{
    if (!m_text)
        return;
    const QString text = QString::fromStdString(m_picker.text(language()));
    if (m_text->toPlainText() != text)
        m_text->setPlainText(text);
}

void NuboDialogVirtual::paintEvent(QPaintEvent *event)
{
    SkinnedDialog::paintEvent(event);
    QPainter painter(this);
    painter.setClipRegion(event->region());
    m_captions.paint(painter, table(), scale(), language(), lastMousePoint(), fonts(),
                     event->rect());
}
