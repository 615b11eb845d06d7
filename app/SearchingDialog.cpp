#include "app/SearchingDialog.h"

#include "app/DeviceDetection.h"
#include "app/OfflineTexts.h"
#include "layout/ProgressTable.h"
#include "layout/WindowsColour.h"

#include <QPainter>

#include <array>

namespace {

enum Id : int {
    CloseButton = ProgressTable::CloseButton,
    CancelButton = ProgressTable::CancelButton,
    EnglishLabel = 186,
    ChineseLabel = ProgressTable::MessageLabel,
    TitleLabel = ProgressTable::TitleLabel,
    CancelLabel = ProgressTable::CancelLabel,
};

struct Cell {
    int id;
    bool isLabel;
    std::string (*text)();
    ButtonRect rect;
};

std::string none()
{
    return {};
}

// On the progress dialog's face: its emblem above, its bar below the two lines.
const std::array<Cell, 6> cells{{
    {CloseButton, false, none, {332, 9, 355, 45}},
    {CancelButton, false, none, {237, 201, 327, 235}},
    {ChineseLabel, true, OfflineTexts::searchingChinese, {22, 107, 348, 126}},
    {EnglishLabel, true, OfflineTexts::searchingEnglish, {22, 126, 348, 145}},
    {TitleLabel, true, OfflineTexts::searchingTitle, {104, 13, 266, 45}}, // centred
    {CancelLabel, true, OfflineTexts::cancelCaption, {237, 209, 327, 235}},
}};

QRect barRect(int percent)
{
    const ButtonRect &bar = ProgressTable::BarArea;
    return QRect(bar.left, bar.top, percent * ProgressTable::BarWidth / 100, bar.height());
}

} // namespace

SearchingDialog::SearchingDialog(const DialogContext &context, const SkinImages &skin,
                                 std::function<int()> detect, QWidget *parent)
    : SkinnedDialog(context, ProgressTable::EntryCount, ProgressTable::ColourKey, parent)
    , m_detect(std::move(detect))
{
    setSkin(skin);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QString::fromStdString(OfflineTexts::searchingTitle()));
    m_timer.setInterval(DeviceDetection::RetryDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &SearchingDialog::retry);
}

void SearchingDialog::fillTable(ButtonTable &table)
{
    table.assign(entries());
}

std::vector<DrawnButton> SearchingDialog::entries()
{
    std::vector<DrawnButton> entries(std::size_t(ProgressTable::EntryCount));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        DrawnButton &entry = entries[i];
        entry.id = cells[i].id;
        entry.isLabel = cells[i].isLabel;
        entry.rect = cells[i].rect;
        // Both languages at once, whatever the language is: it is not chosen yet.
        const std::string text = cells[i].text();
        entry.captions = {{"", text}, {"zh-CN", text}, {"en-US", text}};
        entry.tooltips = {{"zh-CN", "tip"}};
    }
    return entries;
}

bool SearchingDialog::initDialog()
{
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());
    m_timer.start();
    return true;
}

void SearchingDialog::retry()
{
    ++m_retries;
    m_found = m_detect ? m_detect() : 0;
    if (m_found != 0) {
        m_timer.stop();
        done(Found);
        return;
    }
    if (m_retries >= DeviceDetection::Retries) {
        m_timer.stop();
        done(NotFound);
        return;
    }
    update();
}

int SearchingDialog::progress() const
{
    return m_retries * 100 / DeviceDetection::Retries;
}

void SearchingDialog::buttonClicked(int, DrawnButton &entry)
{
    if (entry.id == CloseButton || entry.id == CancelButton)
        cancel();
}

void SearchingDialog::cancel()
{
    m_timer.stop();
    done(Cancelled);
}

void SearchingDialog::reject()
{
    // Escape and the desktop's close cancel as the button does.
    cancel();
}

QColor SearchingDialog::captionColour(const DrawnButton &entry) const
{
    return colourFromWindows(entry.id == EnglishLabel ? 0x9B918B : 0xC8C8C8);
}

void SearchingDialog::afterEntries(QPainter &painter)
{
    const QRect bar = barRect(progress());
    const SkinImages &faces = skinImages();
    if (bar.width() <= 0 || faces.checked.isNull())
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    faces.checked.copy(painter, bar, faces.background);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
