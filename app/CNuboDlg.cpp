#include "app/CNuboDlg.h"

#include "app/AppIcon.h"
#include "app/DeviceCommands.h"
#include "app/DeviceWatcher.h"
#include "app/HeatmapView.h"
#include "app/KeyCommand.h"
#include "app/KeyTester.h"
#include "app/MainWindowAccess.h"
#include "app/MainWindowLegend.h"
#include "app/OfflineMode.h"
#include "app/PressCounterReport.h"
#include "app/ProfileDrop.h"
#include "app/ProfileFileDialog.h"
#include "app/ProfileMessages.h"
#include "app/ProfileOpening.h"
#include "app/TrayPresence.h"
#include "app/UndoShortcuts.h"
#include "jobs/DeviceWorker.h"
#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"
#include "profile/ProfileFile.h"
#include "skin/EntryNaming.h"
#include "skin/FontTable.h"
#include "skin/FrameFocus.h"
#include "skin/QtTranslation.h"
#include "skin/ScreenScale.h"
#include "skin/SkinMessageBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>

#include <cstdio>
#include <filesystem>

namespace {

constexpr int ReportFontSize = 13;

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

std::filesystem::path toPath(const QString &path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(path.toStdString());
#endif
}

} // namespace

CNuboDlg::CNuboDlg(AppState &state, const FontTable &fonts, SkinImages skin, QWidget *parent)
    : SkinnedDialog({state.language, state.scaleFactor, fonts}, MainWindowTable::EntryCount,
                    MainWindowTable::ColourKey, parent)
    , m_state(state)
    , m_worker(std::make_unique<DeviceWorker>())
    , m_keyCommand(std::make_unique<KeyCommand>(state, context()))
    , m_deviceCommands(std::make_unique<DeviceCommands>(static_cast<CommandWindow &>(*this), state,
                                                        context(),
                                                        DeviceAccess{state.hwi, *m_worker}))
    , m_heatmap(std::make_unique<HeatmapView>(state))
    , m_keyTester(std::make_unique<KeyTester>(*this, state))
    , m_offline(std::make_unique<OfflineMode>(*this))
    , m_legend(std::make_unique<MainWindowLegend>())
{
    composeInPlace();
    setSkin(std::move(skin));
    setWindowTitle(QString::fromLatin1(KeyboardModel::name(state.deviceType)));
    setAcceptDrops(true); // a profile dropped on the window opens as with Open
    m_clickBlock.setSingleShot(true);
    // A coarse timer may fire a few per cent early; the block must last its full time.
    m_clickBlock.setTimerType(Qt::PreciseTimer);
    m_clickBlock.setInterval(ClickBlockMs);
    connect(&m_clickBlock, &QTimer::timeout, this, [this] { this->state().clickBlocked = false; });
    connect(m_keyTester.get(), &KeyTester::keySeen, this, &CNuboDlg::keyTested);
    connect(m_keyTester.get(), &KeyTester::ended, this, [this] { update(); });
}

CNuboDlg::~CNuboDlg() = default;

bool CNuboDlg::refusesDeviceCommand()
{
    return m_offline->refuses();
}

int CNuboDlg::exec()
{
    if (!initialise())
        return result();
    setWindowModality(Qt::ApplicationModal);
    show();
    // QDialog's own loop ends as soon as the window hides, which minimising to the
    // notification area does; this one ends only with the dialog's result.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    QPointer<CNuboDlg> self(this);
    loop.exec(QEventLoop::DialogExec);
    return self ? result() : QDialog::Rejected;
}

bool CNuboDlg::openKeyboard()
{
    CNuboHWI &device = state().hwi;
    if (!device.__createDev()) {
        showMessage(QCoreApplication::applicationName(),
                    QStringLiteral("Keyboard is not connected!"), QMessageBox::Warning);
        setResult(QDialog::Accepted);
        return false;
    }
    wchar_t version[64] = {};
    if (!device.ReadKeyboardVersion(version)) {
        showMessage(QCoreApplication::applicationName(),
                    QStringLiteral("Keyboard has be occupied!"), QMessageBox::Warning);
        setResult(QDialog::Accepted);
        return false;
    }
    return true;
}

bool CNuboDlg::initDialog()
{
    // Offline the user chose the model at start; there is no keyboard to open yet.
    if (!state().offline && !openKeyboard())
        return false;

    setWindowIcon(AppIcon::icon());
    // Computed once for every window of the run; a caller may have fixed it already.
    if (state().scaleFactor <= 0.0f)
        state().scaleFactor = ScreenScale::primaryScaleFactor();
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());

    state().currentLayer = 0;
    state().resetKeyModel();
    state().notWritten = false;
    state().clickBlocked = false;
    state().history.reset();
    m_undo = new UndoShortcuts(this, state());

    m_tray = new TrayPresence(state().language, this);
    m_tray->setToolTip(QString::fromLatin1(KeyboardModel::name(state().deviceType)));
    connect(m_tray, &TrayPresence::restoreRequested, this, &CNuboDlg::restoreFromTray);
    connect(m_tray, &TrayPresence::exitRequested, this, &CNuboDlg::exitSequence);

    placeReportBox();

    m_watcher = new DeviceWatcher(this);
    connect(m_watcher, &DeviceWatcher::deviceChanged, this, &CNuboDlg::deviceChanged);
    return true;
}

void CNuboDlg::fillTable(ButtonTable &table)
{
    table.assign(MainWindowTable::build(state().deviceType));
}

void CNuboDlg::placeReportBox()
{
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setReadOnly(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_report->setFocusPolicy(Qt::NoFocus); // never shows a caret
    m_report->setContextMenuPolicy(Qt::NoContextMenu);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_report->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_report->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_report->setFrameShape(QFrame::NoFrame);
    m_report->document()->setDocumentMargin(0);
    applyFieldColours(m_report);
    m_report->setGeometry(clientRect(MainWindowTable::ReportArea));
    m_report->setFont(clientFont(ReportFontSize));
    m_report->show();
}

void CNuboDlg::buttonClicked(int, DrawnButton &entry)
{
    // The release that closed a file dialog over the window must not run a command.
    if (state().clickBlocked)
        return;
    runCommand(entry.id);
}

void CNuboDlg::runCommand(int id)
{
    switch (id) {
    case LanguageButton:
        switchLanguage();
        break;
    case MinimiseButton:
        minimiseToTray();
        break;
    case ExitButton:
        exitSequence();
        break;
    case SaveButton:
        saveProfile();
        update();
        break;
    case OpenButton:
        openProfile(chooseOpenPath());
        break;
    case ClearButton:
        // Asks nothing: undo brings the configuration back.
        state().history.edit(state(), ConfigHistory::Change::Clear,
                             ConfigHistory::Scope::everything(),
                             [this] { state().resetKeyModel(); });
        update();
        break;
    case HeatmapButton:
        // The two views colour the caps each in their own way: one at a time.
        if (!m_heatmap->isOn())
            m_keyTester->setOn(false);
        m_heatmap->toggle([this] { runCommand(GetCounterButton); });
        update();
        break;
    case KeyTestButton:
        switchKeyTest();
        break;
    case LayerButton:
        switchLayer();
        break;
    default:
        if (id >= FirstKeyButton && id <= LastKeyButton) {
            m_keyCommand->run(this, id - FirstKeyButton + 1);
            update();
        } else if (DeviceCommands::handles(id)) {
            m_deviceCommands->run(id);
        }
        break;
    }
}

void CNuboDlg::setSkinLibrary(const SkinLibrary *skins)
{
    m_skins = skins;
    m_keyCommand->setSkins(skins);
}

void CNuboDlg::switchLanguage()
{
    DrawnButton *button = entryById(LanguageButton);
    if (!button)
        return;
    state().language = button->checked ? "zh-CN" : "en-US";
    button->checked = !button->checked;
    // Qt's own windows and menus follow too.
    QtTranslation::follow(state().language);
    update();
}

void CNuboDlg::switchLayer()
{
    DrawnButton *button = entryById(LayerButton);
    if (!button)
        return;
    state().currentLayer = 1 - state().currentLayer;
    button->checked = !button->checked;
    update();
}

void CNuboDlg::switchKeyTest()
{
    const bool on = !m_keyTester->isOn();
    if (on)
        m_heatmap->setOn(false);
    m_keyTester->setOn(on);
    update();
}

// A keystroke of the key test: its cap and the report change, nothing else of the window.
void CNuboDlg::keyTested(int key)
{
    if (key > 0) {
        const int index = table().indexOfKey(key);
        if (index >= 0) {
            const ButtonRect &r = table()[std::size_t(index)].rect;
            // Smoothing reaches a pixel or two beyond a stretched rectangle.
            const int margin = int(scale()) + 2;
            update(QRect(r.left, r.top, r.width(), r.height())
                       .adjusted(-margin, -margin, margin, margin));
        }
    }
    const std::string report = m_keyTester->report();
    if (m_report && report != m_reportText) {
        m_reportText = report;
        QString shown = fromUtf8(m_reportText);
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        m_report->setPlainText(shown);
    }
}

void CNuboDlg::minimiseToTray()
{
    if (!TrayPresence::available()) {
        showMinimized();
        return;
    }
    m_tray->show();
    m_inTray = true;
    hide();
}

void CNuboDlg::restoreFromTray()
{
    if (!m_inTray)
        return;
    m_inTray = false;
    showNormal();
    raise();
    activateWindow();
    m_tray->hide();
}

void CNuboDlg::exitSequence()
{
    const QString caption = modelCaption();
    if (state().notWritten
        && !askYesNo(caption, text("配置未写入，是否继续退出??",
                                   "Configuration don't be writted,continue to exit??")))
        return;
    if (askYesNo(caption, text("是否保存按键配置文件??", "Save configuration file of key??"))) {
        saveProfile();
        update();
    }
    if (!m_deviceCommands->waitBeforeQuit())
        return;
    if (m_tray)
        m_tray->hide();
    done(QDialog::Accepted);
}

void CNuboDlg::saveProfile()
{
    const QString path = chooseSavePath();
    if (path.isEmpty())
        return;
    FileStore::WriteFailure failure;
    if (!writeProfile(state(), state().deviceType, toPath(path), &failure))
        showMessage(modelCaption(),
                    fromUtf8(ProfileMessages::saveFailed(
                        QDir::toNativeSeparators(path).toStdString(),
                        profileWriteFailureReason(failure, toPath(path), state().chinese()),
                        state().chinese())),
                    QMessageBox::Warning);
}

void CNuboDlg::openProfile(const QString &path)
{
    if (!path.isEmpty()) {
        const std::string problem = ProfileOpening::open(
            state(), toPath(path), QDir::toNativeSeparators(path).toStdString(),
            [this](const std::string &question) {
                return askYesNo(modelCaption(), fromUtf8(question));
            });
        if (!problem.empty())
            showMessage(modelCaption(), fromUtf8(problem), QMessageBox::Warning);
    }
    update();
    // Whatever the outcome: the release that closed the file dialog must not run a command.
    state().clickBlocked = true;
    m_clickBlock.start();
}

void CNuboDlg::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() && ProfileDrop::carriesFiles(*event->mimeData()))
        event->acceptProposedAction();
}

void CNuboDlg::dropEvent(QDropEvent *event)
{
    if (!event->mimeData())
        return;
    const ProfileDrop::Outcome outcome = ProfileDrop::read(*event->mimeData(), state().chinese());
    event->acceptProposedAction();
    // After the drop has ended: the source of the drag waits for it, and the question about a
    // damaged profile or the refusal runs a loop of its own.
    QMetaObject::invokeMethod(
        this,
        [this, outcome] {
            if (!outcome.refusal.isEmpty())
                showMessage(modelCaption(), outcome.refusal, QMessageBox::Warning);
            else if (!outcome.path.isEmpty())
                openProfile(outcome.path);
        },
        Qt::QueuedConnection);
}

void CNuboDlg::deviceChanged()
{
    // The message below runs its own loop while more notifications may arrive.
    if (m_deviceCommands->deferDeviceChange() || m_checkingDevice || m_offline->deviceChanged()
        || state().hwi.DetectDevice())
        return;
    m_checkingDevice = true;
    showMessage(QCoreApplication::applicationName(), QStringLiteral("Keyboard is not connected"),
                QMessageBox::Warning);
    m_deviceCommands->prepareUnplugQuit();
    if (m_tray)
        m_tray->hide();
    done(QDialog::Rejected);
}

void CNuboDlg::beforeEntries(QPainter &)
{
    const int layer = state().currentLayer == 1 ? 1 : 0;
    bool fnShown = false;
    for (DrawnButton &entry : table()) {
        if (entry.id == LayerButton)
            fnShown = entry.checked;
        else if (entry.id > 99 && entry.keyIndex >= 1 && entry.keyIndex <= AppState::KeyCount)
            entry.checked
                = state().category[std::size_t(AppState::index(entry.keyIndex, layer))] > 0;
    }
    for (DrawnButton &entry : table()) {
        if (entry.id == TopLayerLabel)
            entry.checked = !fnShown;
        else if (entry.id == FnLayerLabel)
            entry.checked = fnShown;
    }
    m_legend->refresh({table().begin(), table().end()}, state().language, fonts());
    m_heatmap->beforeEntries(table());
    m_keyTester->beforeEntries(table());
    m_pendingReport
        = m_keyTester->isOn() ? m_keyTester->report() : PressCounterReport::head(state());
}

void CNuboDlg::decorateEntry(QPainter &painter, const DrawnButton &entry, const QRect &)
{
    // Each legend name after a bar in its category's colour, as the keys carry it.
    if (const MainWindowLegend::Item *item = m_legend->itemOf(entry))
        painter.fillRect(
            item->bar, colourFromWindows(
                           MainWindowTable::categoryColours[item->labelId - FirstLegendLabel + 2]));
}

QRect CNuboDlg::captionRect(const DrawnButton &entry, const QRect &place) const
{
    const MainWindowLegend::Item *item = m_legend->itemOf(entry);
    return item ? item->word : place;
}

void CNuboDlg::afterSkinCopy(QPainter &painter, const DrawnButton &entry, const QRect &base)
{
    // While keys are tested the caps show only that, no assignments.
    if (entry.keyIndex < 1 || entry.keyIndex > AppState::KeyCount
        || m_keyTester->paintKey(painter, entry, base) || m_keyTester->isOn()
        || m_heatmap->paintKey(painter, entry, base))
        return;
    const int layer = state().currentLayer == 1 ? 1 : 0;
    const int category = state().category[std::size_t(AppState::index(entry.keyIndex, layer))];
    // Single keys carry no bar; unknown categories (a damaged profile) none either.
    if (category <= 1 || category >= int(std::size(MainWindowTable::categoryColours)))
        return;
    const int inset = (base.width() - 14) / 2;
    const QRect bar(QPoint(base.left() + inset, base.top() + base.height() - 4),
                    QPoint(base.left() + base.width() - inset - 1, base.top() + base.height() - 1));
    painter.fillRect(bar, colourFromWindows(MainWindowTable::categoryColours[category]));
}

void CNuboDlg::afterEntry(QPainter &painter, DrawnButton &entry, const QRect &base, bool hovered)
{
    // The key with the keyboard's mark is reported as the one under the pointer is.
    const bool marked = frameFocus().isMarkShown() && frameFocus().focusedEntry() == indexOf(entry);
    if ((hovered || marked) && entry.id > 99 && !entry.isLabel && !m_keyTester->isOn()) {
        m_heatmap->paintHover(painter, entry, base);
        m_pendingReport = PressCounterReport::text(state(), entry.keyIndex);
    }
}

void CNuboDlg::afterEntries(QPainter &painter)
{
    m_heatmap->paintLegend(painter);
    m_offline->paintBadge(painter);
    if (!m_report || m_pendingReport == m_reportText)
        return;
    m_reportText = m_pendingReport;
    QString shown = fromUtf8(m_reportText);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_report->setPlainText(shown);
}

QRegion CNuboDlg::drawnArea() const
{
    // Besides the entries: the heatmap's legend, whose end labels stand out a little, and the
    // offline badge.
    const ButtonRect &legend = MainWindowTable::HeatmapLegendArea;
    const ButtonRect &categories = MainWindowTable::LegendArea;
    return SkinnedDialog::drawnArea()
           + QRect(legend.left, legend.top, legend.width(), legend.height()).adjusted(-8, -2, 8, 3)
           + QRect(categories.left, categories.top, categories.width(), categories.height())
                 .adjusted(-2, -2, 2, 2)
           + m_offline->badgeArea().adjusted(-2, -2, 2, 2);
}

void CNuboDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape would end the dialog behind the exit questions' back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

bool CNuboDlg::keyboardCaptured() const
{
    return m_keyTester->isOn();
}

EntryRole CNuboDlg::entryRole(const DrawnButton &entry) const
{
    return MainWindowAccess::role(entry, SkinnedDialog::entryRole(entry));
}

QString CNuboDlg::entryName(const DrawnButton &entry) const
{
    if (const int label = MainWindowAccess::nameLabel(entry.id)) {
        for (const DrawnButton &other : table()) {
            if (other.id == label)
                return fromUtf8(EntryNaming::textOf(other.captions, state().language));
        }
    }
    return SkinnedDialog::entryName(entry);
}

QString CNuboDlg::entryDescription(const DrawnButton &entry) const
{
    if (entry.isLabel || entry.keyIndex < 1)
        return {};
    return fromUtf8(MainWindowAccess::keyDescription(state(), entry.keyIndex,
                                                     state().currentLayer == 1 ? 1 : 0));
}

void CNuboDlg::closeEvent(QCloseEvent *event)
{
    // A close from the desktop (keyboard shortcut, taskbar) takes the Exit button's way.
    event->ignore();
    exitSequence();
}

void CNuboDlg::showMessage(const QString &caption, const QString &text, QMessageBox::Icon icon)
{
    if (m_unattended) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        return;
    }
    SkinMessageBox::tell(context(), isVisible() ? this : nullptr, icon, caption, text);
}

bool CNuboDlg::askYesNo(const QString &caption, const QString &text)
{
    if (m_unattended)
        return false;
    return SkinMessageBox::ask(context(), isVisible() ? this : nullptr, QMessageBox::Question,
                               caption, text);
}

QString CNuboDlg::chooseSavePath()
{
    return m_unattended ? QString() : ProfileFileDialog::chooseSavePath(context(), this);
}

QString CNuboDlg::chooseOpenPath()
{
    return m_unattended ? QString() : ProfileFileDialog::chooseOpenPath(context(), this);
}

QString CNuboDlg::text(const char *chinese, const char *english) const
{
    return QString::fromUtf8(state().language == "zh-CN" ? chinese : english);
}

QString CNuboDlg::modelCaption() const
{
    return QString::fromLatin1(KeyboardModel::name(state().deviceType));
}

DrawnButton *CNuboDlg::entryById(int id)
{
    const int index = table().indexOfId(id);
    return index < 0 ? nullptr : &table()[std::size_t(index)];
}
