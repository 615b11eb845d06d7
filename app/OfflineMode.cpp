#include "app/OfflineMode.h"

#include "app/CNuboDlg.h"
#include "app/OfflineTexts.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"
#include "skin/FacePainter.h"
#include "skin/FacePalette.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int VersionCapacity = 64;

// Where the header's model name ends in the face; the badge follows it.
constexpr qreal NameLeft = 192;
constexpr qreal NameFontSize = 14;
constexpr qreal HeaderMiddle = 35;

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

OfflineMode::OfflineMode(CNuboDlg &window)
    : m_window(window)
    , m_beganOffline(window.state().offline)
{}

bool OfflineMode::isOffline() const
{
    return m_window.state().offline;
}

bool OfflineMode::refuses()
{
    AppState &state = m_window.state();
    if (!state.offline)
        return false;
    m_window.showMessage(QString::fromLatin1(KeyboardModel::name(state.deviceType)),
                         text(OfflineTexts::notConnected(true, state.chinese()) + "\n\n"
                              + OfflineTexts::refusal(state.deviceType, state.chinese())),
                         QMessageBox::Warning);
    return true;
}

bool OfflineMode::deviceChanged()
{
    AppState &state = m_window.state();
    if (m_busy)
        return true;
    if (state.offline) {
        pickUp();
        return true;
    }
    if (!m_beganOffline || state.hwi.DetectDevice())
        return false;
    // Gone again: the user chose to work without it, so the window stays.
    m_busy = true;
    state.offline = true;
    // Refused while a cancelled job's worker still runs; it fails at its next report, and
    // the keyboard is opened afresh when it comes back.
    state.hwi.__closeDev();
    m_window.showMessage(QCoreApplication::applicationName(),
                         text(OfflineTexts::notConnected(false, state.chinese()) + "\n\n"
                              + OfflineTexts::backOffline(state.chinese())),
                         QMessageBox::Warning);
    m_busy = false;
    m_window.update();
    return true;
}

bool OfflineMode::pickUp()
{
    AppState &state = m_window.state();
    const int found = state.hwi.DetectDeviceType();
    if (found == 0) {
        m_otherModel = 0;
        return false;
    }
    const QString caption = QString::fromLatin1(KeyboardModel::name(state.deviceType));
    m_busy = true;
    if (found != state.deviceType) {
        // Said once per arrival, not at every notification while it stays.
        if (found != m_otherModel)
            m_window.showMessage(
                caption, text(OfflineTexts::otherModel(found, state.deviceType, state.chinese())),
                QMessageBox::Information);
        m_otherModel = found;
        m_busy = false;
        return false;
    }
    wchar_t version[VersionCapacity] = {};
    state.hwi.__closeDev();
    const bool opened = state.hwi.__createDev() && state.hwi.ReadKeyboardVersion(version);
    if (opened) {
        state.offline = false;
        m_otherModel = 0;
        m_window.showMessage(caption,
                             text(OfflineTexts::connected(state.deviceType, state.chinese())),
                             QMessageBox::Information);
        m_window.update();
    } else {
        // Still starting up, or held by another program: the next notification tries again.
        state.hwi.__closeDev();
    }
    m_busy = false;
    return opened;
}

OfflineMode::Badge OfflineMode::badge(bool chinese) const
{
    const AppState &state = m_window.state();
    const QFont nameFont = FacePainter::font(int(NameFontSize));
    const qreal nameRight = NameLeft
                            + QFontMetricsF(nameFont).horizontalAdvance(
                                QString::fromLatin1(KeyboardModel::name(state.deviceType)));
    Badge badge{text(OfflineTexts::badge(chinese)), FacePainter::font(11, QFont::DemiBold), {}};
    badge.font.setLetterSpacing(QFont::AbsoluteSpacing, chinese ? 0 : 1);
    const qreal width = QFontMetricsF(badge.font).horizontalAdvance(badge.label) + 16;
    badge.pill = QRectF(nameRight + 12, HeaderMiddle - 9, width, 18);
    return badge;
}

QRect OfflineMode::badgeArea() const
{
    return badge(false).pill.toAlignedRect() | badge(true).pill.toAlignedRect();
}

void OfflineMode::paintBadge(QPainter &painter) const
{
    const AppState &state = m_window.state();
    if (!state.offline)
        return;
    const Badge shown = badge(state.chinese());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(FacePalette::AccentDark, 1));
    painter.setBrush(QColor(255, 111, 0, 38));
    painter.drawRoundedRect(shown.pill.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    painter.setFont(shown.font);
    painter.setPen(FacePalette::AccentLight);
    painter.drawText(shown.pill, Qt::AlignCenter, shown.label);
    painter.restore();
}
