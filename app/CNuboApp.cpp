#include "app/CNuboApp.h"

#include "app/AppIcon.h"
#include "app/CNuboDlg.h"
#include "app/DeviceAccessMessage.h"
#include "app/DeviceDetection.h"
#include "app/OfflineOffer.h"
#include "app/ResourceLocator.h"
#include "app/SearchingDialog.h"
#include "app/SkinPreload.h"
#include "model/AppState.h"
#include "skin/QtTranslation.h"
#include "skin/SkinMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

CNuboApp::CNuboApp(AppState &state)
    : m_state(state)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quillo"));
    QGuiApplication::setWindowIcon(AppIcon::icon());
    // Wayland desktops match the window to its desktop entry, and so to its icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLO_APP_ID));
    // The main window may hide in the notification area; only its own end ends the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

CNuboApp::~CNuboApp() = default;

int CNuboApp::run()
{
    switch (findKeyboard()) {
    case Search::Cancelled:
        return 0;
    case Search::Failed:
        return 1;
    case Search::Found:
        // A keyboard this user may not open is named, before the main window finds none.
        reportOpenProblem();
        break;
    case Search::NotFound:
        // Nobody to choose: the main window says that none is connected, as always.
        if (m_unattended)
            break;
        m_state.deviceType
            = m_offlineChoice ? m_offlineChoice() : OfflineOffer::choose(startContext());
        if (m_state.deviceType == 0)
            return 0;
        m_state.offline = true;
        break;
    }
    if (!loadSkins(m_state.deviceType))
        return 1;

    m_state.buildCatalogue();
    // Qt's own texts in the start language, and in the window's after each switch.
    QtTranslation::follow(m_state.language);

    // The hover face waits until the pointer first lights a button.
    const SkinSet set = SkinIds::skinSet(SkinDialog::MainWindow, m_state.deviceType);
    // The window draws over its background's own pixels, which it alone holds.
    QImage background = m_skins->takeBitmap(set.background);
    const QSize size = background.size();
    CNuboDlg window(
        m_state, m_fonts,
        SkinImages{std::move(background), FacePatches(size), m_skins->patches(set.checked)});
    window.setDeferredHover([skins = m_skins.get(), id = set.hover] { return skins->patches(id); });
    window.setSkinLibrary(m_skins.get());
    window.setUnattended(m_unattended);
    if (m_hook)
        m_hook(window);
    if (!window.initialise())
        return 1;
    window.exec();
    return 0;
}

CNuboApp::Search CNuboApp::findKeyboard()
{
    const auto detect = [this] {
        return m_state.hwi.DetectDeviceType();
    };
    m_state.deviceType = detect();
    if (m_state.deviceType != 0)
        return Search::Found;
    if (m_unattended) {
        // Nobody to show a window to: only the wait.
        m_state.deviceType = DeviceDetection::detectWithRetries(
            detect, [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); });
        return m_state.deviceType != 0 ? Search::Found : Search::NotFound;
    }
    if (!loadSkins(0))
        return Search::Failed;
    SearchingDialog searching({m_state.language, m_state.scaleFactor, m_fonts},
                              m_skins->images(SkinIds::skinSet(SkinDialog::Progress, 0)), detect);
    if (m_searchHook)
        m_searchHook(searching);
    const int outcome = searching.exec();
    m_state.deviceType = searching.found();
    if (outcome == SearchingDialog::Found)
        return Search::Found;
    return outcome == SearchingDialog::NotFound ? Search::NotFound : Search::Cancelled;
}

bool CNuboApp::loadSkins(int deviceType)
{
    const int variant = deviceType == 0 ? 1 : deviceType;
    if (m_skinsFor == variant)
        return true;
    std::unique_ptr<SkinLibrary> preloaded = m_preload ? m_preload->take(deviceType) : nullptr;
    if (preloaded) {
        m_skins = std::move(preloaded);
    } else if (!m_skins->load(skinFolder(), deviceType)) {
        // The language is not chosen yet; say it both ways.
        fail(m_skins->errorText(true) + QStringLiteral("\n\n") + m_skins->errorText(false));
        return false;
    }
    m_skinsFor = variant;
    return true;
}

QString CNuboApp::skinFolder()
{
    const std::filesystem::path folder
        = ResourceLocator::forThisProgram().folderOf(SkinLibrary::FileName);
    return QFile::decodeName(QByteArray::fromStdString(folder.string()));
}

void CNuboApp::reportOpenProblem() const
{
    const std::optional<quillodev::OpenProblem> problem = quillodev::keyboardOpenProblem();
    if (!problem)
        return;
    const DeviceAccessMessage::RuleState rule
        = DeviceAccessMessage::findRule(ResourceLocator::forThisProgram());
    const auto text = [&](bool chinese) {
        return QString::fromStdString(
            DeviceAccessMessage::text(*problem, m_state.deviceType, rule, chinese));
    };
    // The language is not chosen yet; say it both ways.
    fail(text(true) + QStringLiteral("\n\n") + text(false));
}

void CNuboApp::fail(const QString &text) const
{
    if (m_unattended) {
        std::fprintf(stderr, "Quillo: %s\n", qUtf8Printable(text));
        return;
    }
    SkinMessageBox::tell(startContext(), nullptr, QMessageBox::Critical,
                         QCoreApplication::applicationName(), text);
}

DialogContext CNuboApp::startContext() const
{
    // Before the catalogue sets it, the language is the one every start has.
    static const std::string startLanguage("zh-CN");
    return {m_state.language.empty() ? startLanguage : m_state.language, m_state.scaleFactor,
            m_fonts};
}
