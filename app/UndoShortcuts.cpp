#include "app/UndoShortcuts.h"

#include "model/AppState.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

UndoShortcuts::UndoShortcuts(QWidget *window, AppState &state)
    : QObject(window)
    , m_window(window)
    , m_state(state)
{
    const auto bind = [this](const QKeySequence &keys, bool (UndoShortcuts::*step)()) {
        auto *shortcut = new QShortcut(keys, m_window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { (this->*step)(); });
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), &UndoShortcuts::undo);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &UndoShortcuts::redo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), &UndoShortcuts::redo);
}

bool UndoShortcuts::undo()
{
    if (!m_state.history.undo(m_state, m_state.notWritten))
        return false;
    m_window->update();
    return true;
}

bool UndoShortcuts::redo()
{
    if (!m_state.history.redo(m_state, m_state.notWritten))
        return false;
    m_window->update();
    return true;
}
