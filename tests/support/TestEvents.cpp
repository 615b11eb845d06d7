#include "tests/support/TestEvents.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

void sendMouse(QWidget &widget, QEvent::Type type, QPoint point, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const QPointF local(point);
    QMouseEvent event(type, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void moveMouse(QWidget &widget, QPoint point)
{
    sendMouse(widget, QEvent::MouseMove, point);
}

void pressAndRelease(QWidget &widget, QPoint point)
{
    sendMouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
}

void click(QWidget &widget, QPoint point)
{
    moveMouse(widget, point);
    pressAndRelease(widget, point);
}

void doubleClick(QWidget &widget, QPoint point)
{
    click(widget, point);
    sendMouse(widget, QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
}

void sendKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers, bool repeat)
{
    QWidget *target = window.focusWidget() ? window.focusWidget() : &window;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), repeat);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Workers get the processor between the looks.
        QThread::msleep(1);
    }
    return true;
}

void runEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

void whenModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    auto *poll = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, action, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (modal)
            action(modal);
    });
    poll->start(5);
}

QAccessibleInterface *findByName(QAccessibleInterface *parent, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (child->text(QAccessible::Name) == name)
            return child;
        if (QAccessibleInterface *inner = findByName(child, name))
            return inner;
    }
    return nullptr;
}
