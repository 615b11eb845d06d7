#pragma once

#include "app/KeyTest.h"
#include "model/HookEventDecoder.h"

#include <quillodev/EvdevKeyStream.h>

#include <QImage>
#include <QObject>
#include <QRect>
#include <QTransform>

#include <array>

class AppState;
class ButtonTable;
class QKeyEvent;
class QPainter;
class QWidget;
struct DrawnButton;

// The main window's key test: while it is on, every key typed into the window while it has
// the keyboard is shown pressed on the drawing and, once released, as tested, and the report
// box names the last key and counts the keys seen. The keys do nothing else in the window
// meanwhile (no shortcuts, no focus moves, no presses); Esc ends the test. It takes nothing
// from other programs: only the keys the window system gives the focused window.
class KeyTester : public QObject {
    Q_OBJECT
public:
    KeyTester(QWidget &window, const AppState &state);
    ~KeyTester() override;

    bool isOn() const { return m_on; }
    // On starts a test afresh.
    void setOn(bool on);
    const KeyTest &test() const { return m_test; }

    // Before the window's entries are painted: the toggle's look; while on, the caps plain.
    void beforeEntries(ButtonTable &table) const;
    // Paints a pressed or tested key's cap; false for other keys or while off.
    bool paintKey(QPainter &painter, const DrawnButton &entry, const QRect &base);
    std::string report() const;

signals:
    // A keystroke changed the report and the look of `key` (0: of no key).
    void keySeen(int key);
    // Esc ended the test.
    void ended();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Look { Plain, Pressed, Tested };
    struct Cap {
        QImage image;
        Look look = Look::Plain;
        QRect base;
        QTransform transform;
    };

    void keyEvent(const QKeyEvent &event);
    static void paintCap(QPainter &painter, const QRect &base, const QString &caption, Look look);

    QWidget &m_window;
    const AppState &m_state;
    KeyTest m_test;
    EvdevKeyStream m_stream;
    HookEventDecoder m_decoder;
    std::array<Cap, KeyTest::KeyCount + 1> m_caps;
    bool m_on = false;
};
