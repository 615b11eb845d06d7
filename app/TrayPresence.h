#pragma once

#include <QObject>
#include <QString>

#include <string>

class QMenu;
class QSystemTrayIcon;

// The main window's notification-area icon: prepared at start, shown only while the window is
// minimised there. Its menu holds one item that ends the program, worded in the language the
// program shows at the moment the menu opens.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    TrayPresence(const std::string &language, QObject *parent = nullptr);
    ~TrayPresence() override;

    // Whether the desktop offers a notification area at all.
    static bool available();

    void setToolTip(const QString &text);
    void show();
    void hide();
    bool isShown() const;

    // The menu's item text for a language: empty means the menu stays empty.
    static QString exitText(const std::string &language);

signals:
    void restoreRequested();
    void exitRequested();

private:
    void fillMenu();
    QSystemTrayIcon *icon();

    const std::string &m_language;
    QString m_toolTip;
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_icon = nullptr; // made when first shown
};
