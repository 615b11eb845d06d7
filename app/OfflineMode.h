#pragma once

#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>

class CNuboDlg;
class QPainter;

// The main window without a keyboard: the user chose a model at start and prepares profiles
// for it. Device commands say that the keyboard is not connected; a keyboard of that model
// plugged in later is opened and used from then on, and if it goes away again the window
// goes back to working offline instead of ending.
class OfflineMode {
public:
    explicit OfflineMode(CNuboDlg &window);

    bool isOffline() const;
    // Whether the window began without a keyboard.
    bool beganOffline() const { return m_beganOffline; }

    // For a command that needs the keyboard: says it is not connected and refuses (true)
    // while offline.
    bool refuses();
    // A device came or went. True when it was handled here: the window was offline, or began
    // so and has just lost its keyboard.
    bool deviceChanged();

    // The badge beside the model name in the header, while offline.
    void paintBadge(QPainter &painter) const;
    // Where the badge may lie, in either language, in base pixels.
    QRect badgeArea() const;

private:
    struct Badge {
        QString label;
        QFont font;
        QRectF pill;
    };
    Badge badge(bool chinese) const;
    bool pickUp();

    CNuboDlg &m_window;
    bool m_beganOffline = false;
    bool m_busy = false;  // a message is up; notifications meanwhile wait for the next
    int m_otherModel = 0; // the other model last said to be plugged in
};
