#pragma once

#include <QObject>

class CSkinScrollBar;
class KeySettingsViews;
class QImage;
class QWidget;

// The key settings dialog's two skin scroll bars, 1006 beside the entry list and 1007 beside
// the step list: moved to where the page shown has its lists (or hidden), scaled with the
// window, and told the range and position of the lists they stand for.
class KeySettingsScrollBars : public QObject {
    Q_OBJECT
public:
    static constexpr int Width = 15; // base pixels

    KeySettingsScrollBars(QWidget *dialog, const QImage &skin, float scale);

    CSkinScrollBar &entries() const { return *m_entries; }
    CSkinScrollBar &steps() const { return *m_steps; }

    void showPage(int page, const KeySettingsViews &views);
    // Range, page and position from the lists; a bar is only told when something changed.
    void sync(const KeySettingsViews &views);

signals:
    // The user asks a list to move its selection to an absolute position.
    void scrollTo(bool steps, int position);

private:
    void place(CSkinScrollBar &bar, int barId, int page);
    void requested(bool steps, int request, int trackPosition);

    float m_scale;
    CSkinScrollBar *m_entries;
    CSkinScrollBar *m_steps;
    const KeySettingsViews *m_views = nullptr;
    int m_page = 0;
};
