#include "app/TrayPresence.h"

#include "app/AppIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

TrayPresence::TrayPresence(const std::string &language, QObject *parent)
    : QObject(parent)
    , m_language(language)
{}

TrayPresence::~TrayPresence()
{
    if (m_icon)
        m_icon->hide();
    delete m_menu; // a context menu has no parent of its own
}

QSystemTrayIcon *TrayPresence::icon()
{
    if (m_icon)
        return m_icon;
    m_menu = new QMenu;
    connect(m_menu, &QMenu::aboutToShow, this, &TrayPresence::fillMenu);
    fillMenu();
    m_icon = new QSystemTrayIcon(AppIcon::icon(), this);
    m_icon->setContextMenu(m_menu);
    m_icon->setToolTip(m_toolTip);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Some notification areas report only a plain activation, never a double
                // click; both bring the window back.
                if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
                    emit restoreRequested();
            });
    return m_icon;
}

bool TrayPresence::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayPresence::setToolTip(const QString &text)
{
    m_toolTip = text.left(128);
    if (m_icon)
        m_icon->setToolTip(m_toolTip);
}

void TrayPresence::show()
{
    icon()->show();
}

void TrayPresence::hide()
{
    if (m_icon)
        m_icon->hide();
}

bool TrayPresence::isShown() const
{
    return m_icon && m_icon->isVisible();
}

QString TrayPresence::exitText(const std::string &language)
{
    if (language == "zh-CN")
        return QStringLiteral("关闭");
    if (language == "en-US")
        return QStringLiteral("Exit");
    return {};
}

void TrayPresence::fillMenu()
{
    m_menu->clear();
    const QString text = exitText(m_language);
    if (!text.isEmpty())
        m_menu->addAction(text, this, &TrayPresence::exitRequested);
}
