#include "FirstFrame.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Watches every paint of the application for the first one of a window not there when it was
// made (or of `only`), and calls back once that paint has completed.
class NewWindowWatch : public QObject {
public:
    explicit NewWindowWatch(std::function<void(QWidget &)> painted, QWidget *only = nullptr)
        : m_painted(std::move(painted))
        , m_only(only)
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            m_known.insert(window);
        qApp->installEventFilter(this);
    }
    ~NewWindowWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || m_seen || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (m_only ? widget != m_only : !widget->isWindow() || m_known.contains(widget))
            return false;
        m_seen = true;
        // The paint under way (children included) completes before the loop turns again.
        QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(widget)] {
            if (window)
                m_painted(*window);
        });
        return false;
    }

private:
    std::function<void(QWidget &)> m_painted;
    QWidget *m_only;
    QSet<QWidget *> m_known;
    bool m_seen = false;
};

void closeAsEscape(QWidget &window)
{
    if (auto *dialog = qobject_cast<QDialog *>(&window))
        dialog->reject();
    else
        window.close();
}

} // namespace

double secondsToFirstFrame(const std::function<void()> &open,
                           const std::function<void(QWidget &)> &painted)
{
    Clock::time_point begin;
    double seconds = -1;
    NewWindowWatch watch([&](QWidget &window) {
        seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        if (painted)
            painted(window);
        closeAsEscape(window);
    });
    begin = Clock::now();
    open();
    return seconds;
}

bool showAndPaint(QWidget &window)
{
    bool done = false;
    NewWindowWatch watch([&done](QWidget &) { done = true; }, &window);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done;
}
