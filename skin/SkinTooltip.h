#pragma once

#include <QLabel>
#include <QPoint>
#include <QTimer>

// A dialog's own tooltip: blue text on yellow, shown 100 ms after the pointer enters a
// button that has one, hidden when it leaves.
class SkinTooltip : public QLabel {
    Q_OBJECT
public:
    explicit SkinTooltip(QWidget *owner);

    // An empty text hides the tooltip.
    void showText(const QString &text, const QPoint &globalPos);
    void dismiss();

private:
    QTimer m_delay;
    QPoint m_at;
};
