#include "MainWindowHarness.h"

#include "app/PressCounterReport.h"
#include "app/TrayPresence.h"
#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

struct MainWindowFixture {
    explicit MainWindowFixture(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts, positionCodedSkin(FaceSize))
    {}

    bool start()
    {
        if (!window.initialise())
            return false;
        window.show();
        return true;
    }

    AppState &state() { return attached.state; }

    ButtonRect keyRect(int key)
    {
        return MainWindowTable::build(state().deviceType)[std::size_t(12 + key)].rect;
    }

    AttachedKeyboard attached;
    ScriptedMainWindow window;
};

// Where a key's indicator bar lies, in base pixels: 14 wide, 4 high, bottom centre.
QRect barOf(const ButtonRect &key)
{
    const int inset = (key.width() - 14) / 2;
    return QRect(QPoint(key.left + inset, key.bottom - 4),
                 QPoint(key.right - inset - 1, key.bottom - 1));
}

// Checks every key of the grab against the image its category on `layer` asks for, and the
// bars of categories 2..8 in their colours.
void expectKeysDrawn(MainWindowFixture &f, int layer)
{
    const QImage grab = grabWindow(f.window);
    for (int key = 1; key <= 108; ++key) {
        SCOPED_TRACE(testing::Message() << "key " << key << " layer " << layer);
        const ButtonRect r = f.keyRect(key);
        const int category = f.state().category[AppState::index(key, layer)];
        const int expected = category > 0 ? 2 : 0;
        // Corners and centre above the bar area.
        for (QPoint p : {QPoint(r.left, r.top), QPoint(r.right - 1, r.top),
                         QPoint(r.left, r.bottom - 5), QPoint(r.right - 1, r.bottom - 5),
                         QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2)}) {
            const QRgb pixel = grab.pixel(p);
            ASSERT_EQ(imageOfPixel(pixel), expected) << p.x() << "," << p.y();
            ASSERT_EQ(qRed(pixel), p.x() % 251);
            ASSERT_EQ(qGreen(pixel), p.y() % 251);
        }
        const QRect bar = barOf(r);
        if (category > 1) {
            const QColor colour = colourFromWindows(MainWindowTable::categoryColours[category]);
            for (QPoint p : {bar.topLeft(), bar.topRight(), bar.bottomLeft(), bar.bottomRight()})
                EXPECT_EQ(grab.pixelColor(p), colour) << p.x() << "," << p.y();
            EXPECT_EQ(bar.width(), 14 + (r.width() - 14) % 2); // odd keys round outward
            EXPECT_NE(grab.pixelColor(bar.topLeft() - QPoint(1, 0)), colour);
            EXPECT_NE(grab.pixelColor(bar.topRight() + QPoint(1, 0)), colour);
            EXPECT_NE(grab.pixelColor(bar.topLeft() - QPoint(0, 1)), colour);
        } else {
            EXPECT_EQ(imageOfPixel(grab.pixel(bar.center())), expected);
        }
    }
}

} // namespace

TEST(MainWindow, KeysShowTheirCategoryOnEachLayerWithBarsInTheCategoryColours)
{
    for (int variant = 1; variant <= 4; ++variant) {
        SCOPED_TRACE(variant);
        MainWindowFixture f(variant);
        ASSERT_TRUE(f.start());
        // Every category on the top layer, on the letters Q..I, and one key not set at all.
        for (int category = 0; category <= 8; ++category)
            f.state().category[AppState::index(29 + category, 0)] = category;
        f.state().category[AppState::index(70, 1)] = 3;
        expectKeysDrawn(f, 0);

        f.window.runCommand(LayerButton);
        EXPECT_EQ(f.state().currentLayer, 1);
        expectKeysDrawn(f, 1);
        f.window.runCommand(LayerButton);
        EXPECT_EQ(f.state().currentLayer, 0);
    }
}

TEST(MainWindow, LayerLabelsFollowTheLayerSwitch)
{
    MainWindowFixture f(4);
    ASSERT_TRUE(f.start());
    auto &table = f.window.table();
    const auto label = [&](int id) -> DrawnButton & {
        return table[std::size_t(table.indexOfId(id))];
    };
    grabWindow(f.window);
    EXPECT_TRUE(label(TopLayerLabel).checked);
    EXPECT_FALSE(label(FnLayerLabel).checked);

    // A click on the layer button itself, through the frame's dispatch.
    const ButtonRect r = label(LayerButton).rect;
    click(f.window, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    grabWindow(f.window);
    EXPECT_EQ(f.state().currentLayer, 1);
    EXPECT_TRUE(label(LayerButton).checked);
    EXPECT_FALSE(label(TopLayerLabel).checked);
    EXPECT_TRUE(label(FnLayerLabel).checked);
}

TEST(MainWindow, SmallVariantsOfferNoBacklightButton)
{
    for (int variant : {2, 3}) {
        MainWindowFixture f(variant);
        ASSERT_TRUE(f.start());
        auto &table = f.window.table();
        EXPECT_LT(table.indexOfId(BacklightButton), 0);
        EXPECT_LT(table.indexOfId(BacklightLabel), 0);
        // Where the big variants have it, the load button sits.
        const int hit = table.firstHit(485, 110);
        ASSERT_GE(hit, 0);
        EXPECT_EQ(table[std::size_t(hit)].id, LoadButton);
    }
    MainWindowFixture big(1);
    ASSERT_TRUE(big.start());
    EXPECT_GE(big.window.table().indexOfId(BacklightButton), 0);
}

TEST(MainWindow, ReportFollowsTheHoveredKeyAndTheLanguage)
{
    MainWindowFixture f(4);
    ASSERT_TRUE(f.start());
    grabWindow(f.window);
    const std::string head = PressCounterReport::head(f.state());
    EXPECT_EQ(f.window.reportText(), head);
    EXPECT_EQ(f.window.reportBox()->toPlainText(), QString::fromStdString(head).remove('\r'));

    const ButtonRect fn = f.keyRect(72);
    moveMouse(f.window, QPoint(fn.left + 3, fn.top + 3));
    grabWindow(f.window);
    EXPECT_EQ(f.window.reportText(), head + PressCounterReport::keyPart(f.state(), 72));
    EXPECT_NE(f.window.reportText().find("FN组合键："), std::string::npos);

    f.state().pressCounters.counts[72] = 0;
    f.state().pressCounters.highestKey = 1;
    f.state().pressCounters.lowestKey = 70;
    f.window.runCommand(LanguageButton);
    EXPECT_EQ(f.state().language, "en-US");
    grabWindow(f.window);
    const std::string &text = f.window.reportText();
    EXPECT_NE(text.find("Highest: Esc  Lowest: Space \r\n\r\nCounter: 0\r\n\r\nTop layer Key: "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Fn layer Key: Function"), std::string::npos) << text;

    // Away from the keys the report ends with the bare counter label.
    moveMouse(f.window, QPoint(5, 600));
    grabWindow(f.window);
    EXPECT_EQ(f.window.reportText(), PressCounterReport::head(f.state()));

    f.window.runCommand(LanguageButton);
    EXPECT_EQ(f.state().language, "zh-CN");
}

// Qt's own texts (its file and colour dialogs, the edit fields' menus) follow the language
// button, where Qt's translations are installed.
TEST(MainWindow, QtsOwnTextsFollowTheLanguageButton)
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                           + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    MainWindowFixture f(4);
    ASSERT_TRUE(f.start());
    const auto saveAs = [] {
        return QCoreApplication::translate("QFileDialog", "Save As");
    };
    for (const char *language : {"en-US", "zh-CN", "en-US"}) {
        f.window.runCommand(LanguageButton);
        ASSERT_EQ(f.state().language, language);
        EXPECT_EQ(saveAs() == QStringLiteral("Save As"), std::string(language) == "en-US")
            << language;
    }
}

TEST(MainWindow, ReportBoxSitsUnderTheKeyboardInTheScaledFont)
{
    AttachedKeyboard attached(4);
    attached.state.scaleFactor = 1.5f;
    ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
    ASSERT_TRUE(window.initialise());
    EXPECT_EQ(window.reportBox()->geometry(), QRect(40, 759, 1400, 216));
    EXPECT_EQ(window.reportBox()->font().pixelSize(), 19);
    EXPECT_EQ(window.size(), QSize(1860, 1005));
    EXPECT_FALSE(window.reportBox()->focusPolicy() & Qt::TabFocus);
}

TEST(MainWindow, StartFailsClearlyWithoutAKeyboardOrWhenItIsBusy)
{
    {
        AttachedKeyboard attached(4);
        attached.keyboard->unplug();
        ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
        EXPECT_FALSE(window.initialise());
        EXPECT_EQ(window.messages, std::vector<QString>{"Keyboard is not connected!"});
    }
    {
        AttachedKeyboard attached(2);
        quillosim::SimFaults faults;
        faults.versionBusy = true;
        attached.keyboard->setFaults(faults);
        ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
        EXPECT_FALSE(window.initialise());
        EXPECT_EQ(window.messages, std::vector<QString>{"Keyboard has be occupied!"});
    }
}

TEST(MainWindow, DeviceChangeEndsTheProgramOnlyWhenTheKeyboardIsGone)
{
    MainWindowFixture f(3);
    ASSERT_TRUE(f.start());
    f.window.deviceChanged(); // another device came or went
    EXPECT_TRUE(f.window.messages.empty());
    EXPECT_TRUE(f.window.isVisible());

    f.attached.keyboard->unplug();
    f.window.deviceChanged();
    f.window.deviceChanged(); // a burst reports once
    EXPECT_EQ(f.window.messages, std::vector<QString>{"Keyboard is not connected"});
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_TRUE(f.window.questions.empty());
}

TEST(MainWindow, ExitAsksAboutUnwrittenChangesThenAboutSaving)
{
    MainWindowFixture f(4);
    ASSERT_TRUE(f.start());
    f.state().notWritten = true;
    f.window.answers = {false};
    f.window.runCommand(ExitButton);
    EXPECT_EQ(f.window.questions.size(), 1u);
    EXPECT_TRUE(f.window.isVisible()); // still running

    // Clear keeps the unwritten mark, so the first question comes again.
    f.window.runCommand(ClearButton);
    EXPECT_TRUE(f.state().notWritten);
    QTemporaryDir dir;
    f.window.savePath = dir.filePath("mine.pro");
    f.window.questions.clear();
    f.window.answers = {true, true};
    f.window.runCommand(ExitButton);
    ASSERT_EQ(f.window.questions.size(), 2u);
    EXPECT_EQ(f.window.questions[0], "配置未写入，是否继续退出??");
    EXPECT_EQ(f.window.questions[1], "是否保存按键配置文件??");
    EXPECT_TRUE(QFile::exists(f.window.savePath));
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_EQ(f.window.result(), QDialog::Accepted);

    // Without unwritten changes only the save question; a cancelled save still exits.
    MainWindowFixture g(4);
    ASSERT_TRUE(g.start());
    g.state().language = "en-US";
    g.window.answers = {true};
    g.window.runCommand(ExitButton);
    EXPECT_EQ(g.window.questions, std::vector<QString>{"Save configuration file of key??"});
    EXPECT_EQ(g.window.saveDialogs, 1);
    EXPECT_FALSE(g.window.isVisible());
}

TEST(MainWindow, OpenReadsAProfileReportsProblemsAndBlocksClicksBriefly)
{
    QTemporaryDir dir;
    MainWindowFixture f(4);
    ASSERT_TRUE(f.start());
    f.state().category[AppState::index(30, 0)] = 3;
    f.state().pressCounters.highestKey = 5;
    f.window.savePath = dir.filePath("saved.pro");
    f.window.runCommand(SaveButton);
    ASSERT_TRUE(QFile::exists(f.window.savePath));
    EXPECT_TRUE(f.window.messages.empty());

    f.window.runCommand(ClearButton);
    EXPECT_EQ(f.state().category[AppState::index(30, 0)], 1);
    f.window.openPath = f.window.savePath;
    f.window.runCommand(OpenButton);
    QElapsedTimer waited; // from about when the block began
    waited.start();
    EXPECT_TRUE(f.window.messages.empty());
    EXPECT_EQ(f.state().pressCounters.highestKey, -1);
    EXPECT_TRUE(f.state().clickBlocked);

    // A click during the block does nothing; once the timer fired it works again.
    const auto &table = f.window.table();
    const ButtonRect layer = table[std::size_t(table.indexOfId(LayerButton))].rect;
    const QPoint onLayer((layer.left + layer.right) / 2, (layer.top + layer.bottom) / 2);
    click(f.window, onLayer);
    EXPECT_EQ(f.state().currentLayer, 0);
    while (f.state().clickBlocked && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(f.state().clickBlocked);
    EXPECT_GE(waited.elapsed(), CNuboDlg::ClickBlockMs - 50);
    click(f.window, onLayer);
    EXPECT_EQ(f.state().currentLayer, 1);

    // Problems are told, and the configuration stays as it was.
    f.state().category[AppState::index(30, 0)] = 4;
    QFile junk(dir.filePath("junk.pro"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a profile at all");
    junk.close();
    f.window.openPath = junk.fileName();
    f.window.runCommand(OpenButton);
    ASSERT_EQ(f.window.messages.size(), 1u);
    EXPECT_TRUE(f.window.messages[0].contains("当前配置未改变"));
    EXPECT_EQ(f.state().category[AppState::index(30, 0)], 4);

    MainWindowFixture other(2);
    ASSERT_TRUE(other.start());
    other.state().language = "en-US";
    other.window.openPath = f.window.savePath;
    other.window.runCommand(OpenButton);
    ASSERT_EQ(other.window.messages.size(), 1u);
    EXPECT_TRUE(other.window.messages[0].contains("another keyboard model"));

    // A save that cannot be written says so.
    f.window.messages.clear();
    f.window.savePath = dir.filePath("no/such/folder/x.pro");
    f.window.runCommand(SaveButton);
    ASSERT_EQ(f.window.messages.size(), 1u);
    EXPECT_TRUE(f.window.messages[0].contains("保存失败"));

    // Nor over a pipe: told once, with what it is, and the pipe stays one.
    f.window.messages.clear();
    f.window.savePath = dir.filePath("pipe.pro");
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.window.savePath).constData(), 0600), 0);
    f.window.runCommand(SaveButton);
    ASSERT_EQ(f.window.messages.size(), 1u);
    EXPECT_EQ(f.window.messages[0], QStringLiteral("配置文件保存失败。\n%1\n它是命名管道（FIFO），"
                                                   "不是普通文件。\n原有文件保持不变。")
                                        .arg(f.window.savePath));
    EXPECT_FALSE(QFileInfo(f.window.savePath).isFile());
}

TEST(MainWindow, EveryWayOutAsksTheExitQuestions)
{
    MainWindowFixture f(1);
    ASSERT_TRUE(f.start());
    f.state().notWritten = true;

    // The notification area's Exit item.
    auto *tray = f.window.findChild<TrayPresence *>();
    ASSERT_NE(tray, nullptr);
    emit tray->exitRequested();
    EXPECT_EQ(f.window.questions.size(), 1u);
    EXPECT_TRUE(f.window.isVisible());

    // A close from the desktop.
    QCloseEvent close;
    QCoreApplication::sendEvent(&f.window, &close);
    EXPECT_EQ(f.window.questions.size(), 2u);
    EXPECT_TRUE(f.window.isVisible());

    // Escape does not end the window behind the questions' back.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&f.window, &escape);
    EXPECT_TRUE(f.window.isVisible());
    EXPECT_EQ(f.window.questions.size(), 2u);

    f.window.answers = {true, false};
    emit tray->exitRequested();
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_EQ(f.window.result(), QDialog::Accepted);
}

TEST(MainWindow, TrayMenuIsWordedInTheShownLanguage)
{
    EXPECT_EQ(TrayPresence::exitText("zh-CN"), "关闭");
    EXPECT_EQ(TrayPresence::exitText("en-US"), "Exit");
    EXPECT_TRUE(TrayPresence::exitText("de-DE").isEmpty());
}
