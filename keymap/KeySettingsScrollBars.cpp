#include "keymap/KeySettingsScrollBars.h"

#include "keymap/KeySettingsViews.h"
#include "layout/KeySettingsTable.h"
#include "layout/ScaleFactor.h"
#include "skin/CSkinScrollBar.h"

static_assert(int(ActionListView::LineUp) == CSkinScrollBar::LineUp
              && int(ActionListView::PageDown) == CSkinScrollBar::PageDown
              && int(ActionListView::ThumbPosition) == CSkinScrollBar::ThumbPosition
              && int(ActionListView::ThumbTrack) == CSkinScrollBar::ThumbTrack);

KeySettingsScrollBars::KeySettingsScrollBars(QWidget *dialog, const QImage &skin, float scale)
    : QObject(dialog)
    , m_scale(scale)
    , m_entries(new CSkinScrollBar(Qt::Vertical, dialog))
    , m_steps(new CSkinScrollBar(Qt::Vertical, dialog))
{
    // The skin's cells become the bar's thickness: scaled to the window's width of a bar.
    const int cell = scaledPixels(Width, scale);
    const QImage sheet = skin.isNull() ? skin
                                       : skin.scaled(9 * cell, 3 * cell, Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation);
    m_entries->setObjectName(QStringLiteral("scroll%1").arg(KeySettingsTable::EntryScrollBar));
    m_steps->setObjectName(QStringLiteral("scroll%1").arg(KeySettingsTable::StepScrollBar));
    for (CSkinScrollBar *bar : {m_entries, m_steps}) {
        bar->setBitmap(sheet);
        bar->hide();
        const bool steps = bar == m_steps;
        connect(bar, &CSkinScrollBar::scrollRequested, this,
                [this, steps](int request, int track) { requested(steps, request, track); });
    }
}

void KeySettingsScrollBars::showPage(int page, const KeySettingsViews &views)
{
    m_page = page;
    m_views = &views;
    place(*m_entries, KeySettingsTable::EntryScrollBar, page);
    place(*m_steps, KeySettingsTable::StepScrollBar, page);
    sync(views);
}

void KeySettingsScrollBars::place(CSkinScrollBar &bar, int barId, int page)
{
    const ButtonRect base = KeySettingsTable::scrollBarRect(barId, page);
    if (base.width() <= 0) {
        bar.hide();
        return;
    }
    bar.setGeometry(scaledPixels(base.left, m_scale), scaledPixels(base.top, m_scale),
                    scaledPixels(Width, m_scale), scaledPixels(base.height(), m_scale));
    bar.show();
}

void KeySettingsScrollBars::sync(const KeySettingsViews &views)
{
    const auto apply = [](CSkinScrollBar &bar, const ActionListView *view) {
        if (!view)
            return;
        const ScrollInfo wanted = view->scrollInfo();
        const ScrollInfo now = bar.scrollInfo();
        if (now.minimum != wanted.minimum || now.maximum != wanted.maximum
            || now.page != wanted.page || now.position != wanted.position)
            bar.setScrollInfo(wanted, CSkinScrollBar::RangeMask | CSkinScrollBar::PageMask
                                          | CSkinScrollBar::PositionMask);
    };
    apply(*m_entries, views.entries(m_page));
    apply(*m_steps, views.steps(m_page));
}

void KeySettingsScrollBars::requested(bool steps, int request, int trackPosition)
{
    if (!m_views)
        return;
    const ActionListView *view = steps ? m_views->steps(m_page) : m_views->entries(m_page);
    const int target = view ? view->scrollTarget(request, trackPosition) : -1;
    if (target >= 0)
        emit scrollTo(steps, target);
    sync(*m_views);
}
