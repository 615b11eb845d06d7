#pragma once

#include <QEvent>
#include <QPoint>

#include <functional>

class QAccessibleInterface;
class QString;
class QWidget;

// Mouse and key events sent straight to a widget, and waiting on the event loop.

// One mouse event at a client point: a move carries no button, the others the left one.
void sendMouse(QWidget &widget, QEvent::Type type, QPoint point,
               Qt::MouseButtons buttons = Qt::NoButton);
void moveMouse(QWidget &widget, QPoint point);
// The left button pressed and released, without a move first.
void pressAndRelease(QWidget &widget, QPoint point);
// A move to the point, then the left button pressed and released, as a user clicks.
void click(QWidget &widget, QPoint point);
void doubleClick(QWidget &widget, QPoint point);

// A key pressed and released on the window's focus widget (the window without one).
void sendKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             bool repeat = false);

// Spins the event loop until `done` holds or `timeoutMs` passed; true when it held.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000);
// Spins the event loop for `ms`.
void runEventsFor(int ms);
// Runs `action` once the next modal window is up (for answering it from inside exec()).
void whenModal(std::function<void(QWidget *)> action, int timeoutMs = 10000);

// The first interface below `parent`, depth first, with this name; null when none has it.
QAccessibleInterface *findByName(QAccessibleInterface *parent, const QString &name);
