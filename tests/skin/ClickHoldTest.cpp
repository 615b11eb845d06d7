#include "skin/ClickHold.h"

#include "tests/support/TestEvents.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// One character typed where the window system would send it: the focus widget.
void type(QChar c)
{
    QWidget *target = QApplication::focusWidget();
    ASSERT_TRUE(target);
    for (QEvent::Type kind : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(kind, Qt::Key_A + (c.toLatin1() - 'a'), Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &event);
    }
}

} // namespace

TEST(ClickHold, KeysTypedDuringAHeldReleaseFollowItInOrder)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QLineEdit;
    auto *second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return window.isActiveWindow(); }));
    first->setFocus();

    // Release 0 gives the second field the focus, release 1 the first; release 2 opens a
    // modal window with a field of its own and reports what reached it.
    std::vector<int> handled;
    QString typedIntoModal;
    ClickHold hold(&window, 60, [&](int index) {
        handled.push_back(index);
        if (index == 0)
            second->setFocus();
        else if (index == 1)
            first->setFocus();
        if (index != 2)
            return;
        QDialog modal(&window);
        auto *field = new QLineEdit(&modal);
        field->setFocus();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &modal, [&] {
            if (!field->text().isEmpty())
                modal.accept();
        });
        poll.start(10);
        QTimer::singleShot(3000, &modal, &QDialog::reject);
        modal.exec();
        typedIntoModal = field->text();
    });
    const auto settled = [&] {
        return waitUntil([&] { return !hold.isHolding() && hold.keptKeys() == 0; });
    };

    // Typed at once after the release: they wait, then go where the release put the focus.
    hold.hold(0);
    type('a');
    type('b');
    EXPECT_EQ(first->text(), "");
    EXPECT_EQ(hold.keptKeys(), 4u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(second->text(), "ab");
    EXPECT_EQ(first->text(), "");

    // A second release before the time is up: the first runs, then the keys typed between,
    // then the second is held with the keys after it.
    hold.hold(0);
    type('c');
    hold.hold(1);
    EXPECT_EQ(second->text(), "abc");
    type('d');
    ASSERT_TRUE(settled());
    EXPECT_EQ(first->text(), "d");
    EXPECT_EQ(handled, (std::vector<int>{0, 0, 1}));

    // A dropped release (a double click) lets its keys go on.
    hold.hold(1);
    type('f');
    hold.drop();
    ASSERT_TRUE(settled());
    EXPECT_EQ(first->text(), "df");
    EXPECT_EQ(handled.size(), 3u);

    // A new press in the window is no double click: the held release acts before it.
    hold.hold(0);
    sendMouse(*first, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    EXPECT_FALSE(hold.isHolding());
    EXPECT_EQ(handled.size(), 4u);
    sendMouse(*first, QEvent::MouseButtonRelease, QPoint(2, 2));
    first->setFocus();

    // A release that opens a modal window: the keys reach it while it is open.
    hold.hold(2);
    type('g');
    ASSERT_TRUE(settled());
    EXPECT_EQ(typedIntoModal, "g");
    EXPECT_EQ(first->text(), "df");
}
