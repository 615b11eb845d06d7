#include "app/CNuboApp.h"

#include "app/AppIcon.h"
#include "app/AppState.h"
#include "app/CNuboDlg.h"
#include "app/DeviceAccessMessage.h"
#include "app/DeviceDetection.h"
#include "app/ResourceLocator.h"
#include "app/SkinPreload.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

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
    m_state.deviceType = DeviceDetection::detectWithRetries(
        [this] { return m_state.hwi.DetectDeviceType(); },
        [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); });

    // A keyboard this user may not open is named, before the main window finds none.
    if (m_state.deviceType != 0)
        reportOpenProblem();

    std::unique_ptr<SkinLibrary> preloaded
        = m_preload ? m_preload->take(m_state.deviceType) : nullptr;
    if (preloaded) {
        m_skins = std::move(preloaded);
    } else if (!m_skins->load(skinFolder(), m_state.deviceType)) {
        // The language is not chosen yet; say it both ways.
        fail(m_skins->errorText(true) + QStringLiteral("\n\n") + m_skins->errorText(false));
        return 1;
    }

    m_state.buildCatalogue();

    const SkinImages skin
        = m_skins->images(SkinIds::skinSet(SkinDialog::MainWindow, m_state.deviceType));
    CNuboDlg window(m_state, m_fonts, skin);
    window.setSkinLibrary(m_skins.get());
    window.setUnattended(m_unattended);
    if (m_hook)
        m_hook(window);
    if (!window.initialise())
        return 1;
    unpackSkinsWhenIdle(window);
    window.exec();
    return 0;
}

void CNuboApp::unpackSkinsWhenIdle(QObject &window)
{
    // Once the main window has been shown, the other dialogs' faces are unpacked one per turn
    // of the event loop: the start does not wait for them, the first dialog does not either.
    auto *idle = new QTimer(&window);
    idle->setInterval(0);
    QObject::connect(idle, &QTimer::timeout, idle, [this, idle] {
        if (!m_skins->unpackPending())
            idle->deleteLater();
    });
    QTimer::singleShot(IdleUnpackDelayMs, idle, qOverload<>(&QTimer::start));
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
    QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
}
