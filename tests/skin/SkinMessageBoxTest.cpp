#include "skin/SkinMessageBox.h"

#include "skin/DarkPalette.h"
#include "skin/FontTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Qt's own button texts as a translation package would give them, in a wording of its own.
class OtherWording : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QByteArray(context) == "QPlatformTheme" ? QStringLiteral("[%1]").arg(source)
                                                       : QString();
    }
};

// Runs `action` on the box the next modal loop shows.
void onNextBox(std::function<void(QMessageBox &)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        action(*box);
    });
    poll->start(2);
}

void press(QMessageBox &box, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(box.focusWidget() ? box.focusWidget() : &box, &event);
}

} // namespace

// Dark, in the program's font and in the window's language whatever translations Qt has (how
// dark it is drawn: the message box artefacts); texts shown as they are; the default answers
// stay as the caller chose them.
TEST(SkinMessageBox, DarkInTheProgramsFontAndTheWindowsLanguage)
{
    const FontTable fonts;
    const float scale = 1.0f;
    for (const std::string language : {"zh-CN", "en-US"}) {
        SCOPED_TRACE(language);
        const bool chinese = language == "zh-CN";
        const DialogContext context{language, scale, fonts};

        SkinMessageBox box(context, QMessageBox::Warning, QStringLiteral("Quillo(RGB)"),
                           QStringLiteral("OK!!"), QMessageBox::Ok);
        EXPECT_EQ(box.palette().color(QPalette::Window),
                  DarkPalette::palette().color(QPalette::Window));
        EXPECT_EQ(box.font().pixelSize(), SkinMessageBox::FontSize);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), chinese ? "确定" : "OK");

        SkinMessageBox all(context, QMessageBox::Question, {}, {},
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(all.button(QMessageBox::Yes)->text(), chinese ? "是" : "Yes");
        EXPECT_EQ(all.button(QMessageBox::No)->text(), chinese ? "否" : "No");
        EXPECT_EQ(all.button(QMessageBox::Cancel)->text(), chinese ? "取消" : "Cancel");
        // A translation arriving while the box is up renames Qt's buttons, not ours.
        OtherWording wording;
        ASSERT_TRUE(QCoreApplication::installTranslator(&wording));
        QCoreApplication::processEvents();
        EXPECT_EQ(all.button(QMessageBox::Yes)->text(), chinese ? "是" : "Yes");
        QMessageBox plain(QMessageBox::Question, {}, {}, QMessageBox::Yes);
        EXPECT_EQ(plain.button(QMessageBox::Yes)->text(), "[&Yes]"); // the wording is in use
        QCoreApplication::removeTranslator(&wording);

        // Angle brackets in a path or a key name are text, not markup.
        SkinMessageBox marked(context, QMessageBox::Warning, {}, QStringLiteral("<b>x</b>.pro"));
        marked.setDetail(QStringLiteral("<i>why</i>"));
        for (QLabel *label : marked.findChildren<QLabel *>()) {
            if (label->text().contains('<')) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
            }
        }

        // Enter gives the default answer, Escape No.
        for (const auto defaultAnswer : {QMessageBox::Yes, QMessageBox::No}) {
            for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
                QString yesText;
                onNextBox([&](QMessageBox &asked) {
                    yesText = asked.button(QMessageBox::Yes)->text();
                    press(asked, key);
                });
                const bool yes = SkinMessageBox::ask(
                    context, nullptr, QMessageBox::Question, QStringLiteral("Quillo(S)BLe"),
                    QStringLiteral("Save configuration file of key??"), defaultAnswer);
                EXPECT_EQ(yes, key == Qt::Key_Return && defaultAnswer == QMessageBox::Yes);
                EXPECT_EQ(yesText, chinese ? "是" : "Yes");
            }
        }
        bool told = false;
        onNextBox([&](QMessageBox &shown) {
            told = shown.text() == "OK!!" && shown.defaultButton() == shown.button(QMessageBox::Ok);
            press(shown, Qt::Key_Return);
        });
        SkinMessageBox::tell(context, nullptr, QMessageBox::Warning, {}, QStringLiteral("OK!!"));
        EXPECT_TRUE(told);
    }
}
