#pragma once

#include <QObject>

class AppState;
class QWidget;

// Ctrl+Z steps back through the configuration's changes, Ctrl+Shift+Z and Ctrl+Y forth again,
// while `window` is the active window; each step repaints it.
class UndoShortcuts : public QObject {
    Q_OBJECT
public:
    UndoShortcuts(QWidget *window, AppState &state);

    bool undo();
    bool redo();

private:
    QWidget *m_window;
    AppState &m_state;
};
