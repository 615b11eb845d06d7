#include "FirstFrame.h"

#include <QDialog>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Takes `ms` to paint, and says how often it did.
template<typename Base>
class SlowPainter : public Base {
public:
    SlowPainter(int ms, QWidget *parent = nullptr)
        : Base(parent)
        , m_ms(ms)
    {}
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QThread::msleep(static_cast<unsigned long>(m_ms));
    }

private:
    int m_ms;
};

using SlowDialog = SlowPainter<QDialog>;
using SlowWidget = SlowPainter<QWidget>;

} // namespace

TEST(FirstFrame, TimesTheNewWindowToItsWholeFirstFrameThenClosesIt)
{
    // A window open before is no new window, even when it paints meanwhile.
    SlowWidget before(0);
    before.resize(200, 100);
    ASSERT_TRUE(showAndPaint(before));
    EXPECT_GE(before.paints, 1);

    int result = -1;
    double inner = -1;
    const double seconds = secondsToFirstFrame(
        [&] {
            before.update();
            SlowDialog dialog(40);
            dialog.resize(300, 200);
            auto *child = new SlowWidget(30, &dialog);
            child->setGeometry(10, 10, 50, 50);
            result = dialog.exec();
        },
        [&](QWidget &window) {
            // Its frame is done, with the child's part of it; one opened from it is timed alone.
            EXPECT_EQ(window.findChild<SlowWidget *>()->paints, 1);
            inner = secondsToFirstFrame([&] {
                SlowDialog second(10, &window);
                second.resize(100, 100);
                second.exec();
            });
        });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_GE(seconds, 0.07);
    EXPECT_LT(seconds, 5);
    EXPECT_GE(inner, 0.01);
    EXPECT_LT(inner, seconds);

    // Nothing opened: nothing to time, and no wait.
    EXPECT_LT(secondsToFirstFrame([] {}), 0);
}
