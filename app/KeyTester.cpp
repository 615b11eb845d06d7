#include "app/KeyTester.h"

#include "keymap/WindowKeyMessage.h"
#include "layout/ButtonTable.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "skin/KeyCapPainter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace {

// A tested cap: a clear green, its legend dark or light as the colour needs.
const QColor TestedColour("#2f9e5b");

} // namespace

KeyTester::KeyTester(QWidget &window, const AppState &state)
    : m_window(window)
    , m_state(state)
    // Shift keys come with their side from the evdev table; no key state is needed.
    , m_decoder(HookEventDecoder::KeyState{})
{}

KeyTester::~KeyTester()
{
    setOn(false);
}

void KeyTester::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (on) {
        m_test.reset();
        m_stream.reset();
        m_decoder.reset();
        m_window.installEventFilter(this);
    } else {
        m_window.removeEventFilter(this);
    }
}

bool KeyTester::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_on || watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (key.type() == QEvent::KeyPress && key.key() == Qt::Key_Escape) {
            setOn(false);
            emit ended();
            return true;
        }
        keyEvent(key);
        return true;
    }
    case QEvent::ShortcutOverride:
        // Taken here, the keys reach no shortcut of the window (undo, redo).
        event->accept();
        return true;
    case QEvent::FocusOut:
        // The releases of keys held now go elsewhere; what was pressed was seen.
        if (m_test.releaseAll())
            m_window.update();
        return false;
    default:
        return false;
    }
}

void KeyTester::keyEvent(const QKeyEvent &event)
{
    const bool release = event.type() == QEvent::KeyRelease;
    // A held key is one press until it is let go.
    if (event.isAutoRepeat())
        return;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    if (!windowKeyMessage({event.nativeScanCode(), event.nativeVirtualKey(), release, false},
                          m_stream, wParam, lParam)) {
        if (!release) {
            m_test.unknownKey();
            emit keySeen(0);
        }
        return;
    }
    const HookEvent hook = m_decoder.decodeHookEvent(wParam, lParam);
    const KeyCatalogue &catalogue = m_state.catalogue;
    const int changed
        = release ? m_test.release(catalogue, hook.key) : m_test.press(catalogue, hook.key);
    emit keySeen(changed);
}

void KeyTester::beforeEntries(ButtonTable &table) const
{
    for (DrawnButton &entry : table) {
        if (entry.id == KeyTestButton || entry.id == KeyTestLabel)
            entry.checked = m_on;
        else if (m_on && entry.id > 99 && !entry.isLabel && entry.keyIndex > 0)
            entry.checked = false; // untested keys all alike, whatever they are assigned
    }
}

bool KeyTester::paintKey(QPainter &painter, const DrawnButton &entry, const QRect &base)
{
    if (!m_on || entry.isLabel || entry.keyIndex < 1 || entry.keyIndex > KeyTest::KeyCount)
        return false;
    const Look look = m_test.isPressed(entry.keyIndex)  ? Look::Pressed
                      : m_test.isTested(entry.keyIndex) ? Look::Tested
                                                        : Look::Plain;
    if (look == Look::Plain)
        return false;
    const auto found = entry.captions.find("en-US");
    const QString caption
        = found == entry.captions.end() ? QString() : QString::fromStdString(found->second);
    const QTransform transform = painter.worldTransform();
    if (transform.type() > QTransform::TxScale) {
        paintCap(painter, base, caption, look);
        return true;
    }
    // Painted once per look and place, then copied: a paint of the whole face after many keys
    // costs no more than one of few.
    const QRect target = transform.mapRect(QRectF(base)).toAlignedRect();
    Cap &cap = m_caps[std::size_t(entry.keyIndex)];
    if (cap.image.isNull() || cap.look != look || cap.base != base || cap.transform != transform) {
        cap.image = QImage(target.size(), QImage::Format_ARGB32_Premultiplied);
        cap.image.fill(Qt::transparent);
        QPainter layer(&cap.image);
        layer.setRenderHints(painter.renderHints());
        layer.setTransform(transform * QTransform::fromTranslate(-target.left(), -target.top()));
        paintCap(layer, base, caption, look);
        cap.look = look;
        cap.base = base;
        cap.transform = transform;
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(target.topLeft(), cap.image);
    painter.restore();
    return true;
}

void KeyTester::paintCap(QPainter &painter, const QRect &base, const QString &caption, Look look)
{
    if (look == Look::Pressed)
        KeyCapPainter::paintPicked(painter, base, caption);
    else
        KeyCapPainter::paintTinted(painter, base, caption, TestedColour);
}

std::string KeyTester::report() const
{
    return m_test.report(m_state.catalogue, m_state.chinese());
}
