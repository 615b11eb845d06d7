#include "lighting/CNuboDialogBkLightSettings.h"

#include "jobs/CNuboDialogProgress.h"
#include "jobs/JobMessages.h"
#include "layout/BacklightTable.h"
#include "layout/WindowsColour.h"
#include "lighting/CNuboDialogBkLightMultiSelect.h"
#include "lighting/KeyColourText.h"
#include "lighting/KeyFramePainter.h"
#include "model/Configuration.h"
#include "model/KeyboardModel.h"
#include "model/MultiKeyExchange.h"
#include "skin/FontTable.h"
#include "skin/SkinMessageBox.h"

#include <QPainter>

using namespace BacklightTable;

namespace {

constexpr std::uint32_t CaptionColour = 0xC8C8C8;
constexpr std::uint32_t HintColour = 0x9B918B;
constexpr int HintFontSize = 13;

} // namespace

CNuboDialogBkLightSettings::CNuboDialogBkLightSettings(const DialogContext &context,
                                                       DeviceAccess device, const JobData &data,
                                                       MultiKeyExchange &exchange, int deviceType,
                                                       const BacklightSkins &skins, QWidget *parent)
    : SkinnedDialog(context, EntryCount, ColourKey, parent)
    , m_device(device)
    , m_data(data)
    , m_exchange(exchange)
    , m_deviceType(deviceType)
    , m_skins(skins)
    , m_store([configuration = &data.configuration](const LightSettings &lights) {
        configuration->lightSettings = lights;
    })
    , m_choose(&ColourChooser::choose)
{
    setSkin(m_skins.backlight);
    setWindowModality(Qt::ApplicationModal);
}

CNuboDialogBkLightSettings::~CNuboDialogBkLightSettings() = default;

bool CNuboDialogBkLightSettings::initDialog()
{
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());
    setWindowTitle(text("背光设置面板", "BackLight Settings"));
    workingColours = m_data.configuration.lightSettings;
    return true;
}

void CNuboDialogBkLightSettings::fillTable(ButtonTable &table)
{
    table.assign(build());
}

bool CNuboDialogBkLightSettings::clickId(int id)
{
    const int index = table().indexOfId(id);
    if (index < 0 || !table()[std::size_t(index)].isHittable())
        return false;
    buttonClicked(index, table()[std::size_t(index)]);
    return true;
}

void CNuboDialogBkLightSettings::buttonClicked(int, DrawnButton &entry)
{
    if (isKey(entry.id)) {
        chooseKeyColour(entry.keyIndex);
        return;
    }
    switch (entry.id) {
    case CloseButton:
    case CancelButton:
        // What a Read put into the configuration stays there.
        done(Rejected);
        break;
    case ReadButton:
        readLights();
        break;
    case DefaultButton:
        setDefault();
        break;
    case WriteButton:
        writeLights();
        break;
    case OkButton:
        confirm();
        break;
    case SetAllButton:
        setAll();
        break;
    case MultiKeyButton:
        multiKey();
        break;
    default:
        break;
    }
}

void CNuboDialogBkLightSettings::chooseKeyColour(int key)
{
    if (key < 1 || key > Configuration::KeyCount)
        return;
    LightColour &entry = workingColours[std::size_t(key)];
    const std::string name = table()[std::size_t(table().indexOfKey(key))].tooltip("zh-CN");
    const QString title
        = chinese() ? QString::fromUtf8("按键 %1 的背光颜色").arg(QString::fromStdString(name))
                    : QStringLiteral("Colour of the key %1").arg(QString::fromStdString(name));
    const std::optional<LightColour> colour = m_choose({this, entry, title, chinese()});
    // The same colour again is no change: nothing to store, nothing to repaint.
    if (!colour || *colour == ColourChooser::fromQColor(ColourChooser::toQColor(entry)))
        return;
    entry = *colour;
    update();
}

void CNuboDialogBkLightSettings::readLights()
{
    if (m_refuses && m_refuses())
        return;
    TransferResult detail;
    const int outcome = runJob(TransferJob::ReadLights, &detail);
    // Only a finished read changed the configuration; a cancelled or failed one left it.
    if (outcome == CNuboDialogProgress::Succeeded)
        workingColours = m_data.configuration.lightSettings;
    tellOutcome(TransferJob::ReadLights, outcome, detail);
    update();
}

void CNuboDialogBkLightSettings::setDefault()
{
    workingColours.fill(LightColour{});
    update();
}

void CNuboDialogBkLightSettings::writeLights()
{
    // Refused, the dialog stays open with the colours being edited; OK still keeps them.
    if (m_refuses && m_refuses())
        return;
    storeWorkingColours();
    TransferResult detail;
    const int outcome = runJob(TransferJob::WriteLights, &detail);
    tellOutcome(TransferJob::WriteLights, outcome, detail);
    // The colours are the configuration's now, sent or not.
    done(Accepted);
}

void CNuboDialogBkLightSettings::confirm()
{
    storeWorkingColours();
    done(Accepted);
}

void CNuboDialogBkLightSettings::setAll()
{
    const std::optional<LightColour> colour = m_choose(
        {this, LightColour{}, text("全部按键的背光颜色", "Colour of every key"), chinese()});
    if (!colour)
        return;
    // Entry 0 too: every entry.
    workingColours.fill(*colour);
    update();
}

void CNuboDialogBkLightSettings::multiKey()
{
    MultiKeyExchange &exchange = m_exchange;
    exchange.selectedKeys.fill(false);
    exchange.colours = workingColours;
    CNuboDialogBkLightMultiSelect dialog(context(), exchange, m_skins.multiKey, this);
    dialog.setColourChooser(m_choose);
    if (runMultiKey(dialog) == Accepted) {
        // Only keys: entry 0 is no key and never selected.
        for (int key = 1; key <= Configuration::KeyCount; ++key) {
            if (exchange.selectedKeys[std::size_t(key)])
                workingColours[std::size_t(key)] = exchange.chosenColour;
        }
    }
    update();
}

int CNuboDialogBkLightSettings::runMultiKey(CNuboDialogBkLightMultiSelect &dialog)
{
    return dialog.exec();
}

void CNuboDialogBkLightSettings::storeWorkingColours()
{
    if (m_store)
        m_store(workingColours);
}

int CNuboDialogBkLightSettings::runJob(int job, TransferResult *detail)
{
    return CNuboDialogProgress::runJob(context(), m_device, m_data, m_skins.progress, job, this,
                                       detail, m_waits);
}

void CNuboDialogBkLightSettings::tellOutcome(int job, int outcome, const TransferResult &detail)
{
    if (outcome == CNuboDialogProgress::Succeeded) {
        showMessage(QStringLiteral("OK!"), {}, QMessageBox::Information);
        return;
    }
    // Closed by the user, or the keyboard did not answer: either way nothing was done, and a
    // failed exchange says why.
    const QString why = outcome == CNuboDialogProgress::Failed
                            ? QString::fromStdString(JobMessages::failure(job, detail, chinese()))
                            : QString();
    showMessage(QStringLiteral("Failed!"), why, QMessageBox::Warning);
}

void CNuboDialogBkLightSettings::showMessage(const QString &message, const QString &detail,
                                             QMessageBox::Icon icon)
{
    SkinMessageBox::tell(context(), this, icon,
                         QString::fromLatin1(KeyboardModel::name(m_deviceType)), message, detail);
}

void CNuboDialogBkLightSettings::decorateEntry(QPainter &painter, const DrawnButton &entry,
                                               const QRect &)
{
    KeyFramePainter::paint(painter, entry, workingColours, scale());
}

bool CNuboDialogBkLightSettings::showsHover(const DrawnButton &entry) const
{
    // Keys show their colour, never a highlight.
    return entry.id < FirstKey;
}

QColor CNuboDialogBkLightSettings::captionColour(const DrawnButton &) const
{
    return colourFromWindows(CaptionColour);
}

void CNuboDialogBkLightSettings::afterEntries(QPainter &painter)
{
    painter.setPen(colourFromWindows(HintColour));
    painter.setFont(fonts().font(HintFontSize));
    const ButtonRect &area = HintArea;
    painter.drawText(
        QRect(area.left, area.top, area.width(), area.height()),
        Qt::AlignCenter | Qt::TextSingleLine,
        text("单击按键选择它的背光颜色。“确定”保存颜色，“写入背光”同时把颜色写入键盘。",
             "Click a key to choose its colour. OK keeps the colours; Write also "
             "sends them to the keyboard."));
}

QString CNuboDialogBkLightSettings::text(const char *chinese, const char *english) const
{
    return QString::fromUtf8(SkinnedDialog::chinese() ? chinese : english);
}

QString CNuboDialogBkLightSettings::entryDescription(const DrawnButton &entry) const
{
    if (entry.isLabel || entry.keyIndex < 1 || entry.keyIndex > Configuration::KeyCount)
        return {};
    return QString::fromStdString(
        keyColourText(workingColours[std::size_t(entry.keyIndex)], chinese()));
}

QString CNuboDialogBkLightSettings::entryName(const DrawnButton &entry) const
{
    // The close mark is a drawn cross without a caption.
    if (entry.id == BacklightTable::CloseButton && !entry.isLabel)
        return text("关闭", "Close");
    return SkinnedDialog::entryName(entry);
}
