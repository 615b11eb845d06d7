#include "lighting/CNuboDialogBkLightMultiSelect.h"

#include "layout/MultiKeyTable.h"
#include "layout/WindowsColour.h"
#include "lighting/KeyColourText.h"
#include "lighting/KeyFramePainter.h"
#include "model/Configuration.h"
#include "model/MultiKeyExchange.h"
#include "skin/FontTable.h"

#include <QPainter>

using namespace MultiKeyTable;

namespace {

constexpr std::uint32_t CaptionColour = 0xC8C8C8;
constexpr std::uint32_t HintColour = 0x9B918B;
constexpr int HintFontSize = 13;

} // namespace

CNuboDialogBkLightMultiSelect::CNuboDialogBkLightMultiSelect(const DialogContext &context,
                                                             MultiKeyExchange &exchange,
                                                             const SkinImages &skin,
                                                             QWidget *parent)
    : SkinnedDialog(context, EntryCount, ColourKey, parent)
    , m_exchange(exchange)
    , m_choose(&ColourChooser::choose)
{
    setSkin(skin);
    setWindowModality(Qt::ApplicationModal);
}

bool CNuboDialogBkLightMultiSelect::initDialog()
{
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());
    setWindowTitle(text("多键设置面板", "Set Multi Key"));
    m_colours = m_exchange.colours;
    return true;
}

void CNuboDialogBkLightMultiSelect::fillTable(ButtonTable &table)
{
    table.assign(build());
}

bool CNuboDialogBkLightMultiSelect::clickId(int id)
{
    const int index = table().indexOfId(id);
    // The title label shares the close button's id; the button comes first.
    if (index < 0 || !table()[std::size_t(index)].isHittable())
        return false;
    buttonClicked(index, table()[std::size_t(index)]);
    return true;
}

int CNuboDialogBkLightMultiSelect::selectedCount() const
{
    int count = 0;
    for (const DrawnButton &entry : table())
        count += isKey(entry.id) && entry.checked ? 1 : 0;
    return count;
}

void CNuboDialogBkLightMultiSelect::buttonClicked(int, DrawnButton &entry)
{
    if (isKey(entry.id))
        toggle(entry);
    else if (entry.id == CloseButton)
        done(Rejected);
    else if (entry.id == SetColorButton)
        setColour();
}

void CNuboDialogBkLightMultiSelect::toggle(DrawnButton &key)
{
    if (key.keyIndex < 1 || key.keyIndex > Configuration::KeyCount)
        return;
    key.checked = !key.checked;
    m_exchange.selectedKeys[std::size_t(key.keyIndex)] = key.checked;
    update();
}

void CNuboDialogBkLightMultiSelect::setColour()
{
    const std::optional<LightColour> colour
        = m_choose({this, LightColour{}, text("所选按键的背光颜色", "Colour of the selected keys"),
                    chinese()});
    // A cancelled chooser leaves the dialog open, its selection as it was.
    if (!colour)
        return;
    m_exchange.chosenColour = *colour;
    done(Accepted);
}

void CNuboDialogBkLightMultiSelect::decorateEntry(QPainter &painter, const DrawnButton &entry,
                                                  const QRect &)
{
    KeyFramePainter::paint(painter, entry, m_colours, scale());
}

bool CNuboDialogBkLightMultiSelect::showsHover(const DrawnButton &entry) const
{
    // Keys show only whether they are selected.
    return entry.id < FirstKey;
}

QColor CNuboDialogBkLightMultiSelect::captionColour(const DrawnButton &) const
{
    return colourFromWindows(CaptionColour);
}

void CNuboDialogBkLightMultiSelect::afterEntries(QPainter &painter)
{
    // What to do, and how far the user has got.
    const int count = selectedCount();
    const QString hint
        = chinese()
              ? QString::fromUtf8(
                    "单击按键选中或取消，再点“设置”为所选按键选择同一颜色。已选 %1 个按键。")
                    .arg(count)
              : (count == 1 ? QStringLiteral("Click keys to select them, then Set Color gives "
                                             "them one colour. 1 key selected.")
                            : QStringLiteral("Click keys to select them, then Set Color gives "
                                             "them one colour. %1 keys selected.")
                                  .arg(count));
    painter.setPen(colourFromWindows(HintColour));
    painter.setFont(fonts().font(HintFontSize));
    const ButtonRect &area = HintArea;
    painter.drawText(QRect(area.left, area.top, area.width(), area.height()),
                     Qt::AlignCenter | Qt::TextSingleLine, hint);
}

QString CNuboDialogBkLightMultiSelect::text(const char *chinese, const char *english) const
{
    return QString::fromUtf8(SkinnedDialog::chinese() ? chinese : english);
}

QString CNuboDialogBkLightMultiSelect::entryDescription(const DrawnButton &entry) const
{
    if (entry.isLabel || entry.keyIndex < 1 || entry.keyIndex > Configuration::KeyCount)
        return {};
    return QString::fromStdString(keyColourText(m_colours[std::size_t(entry.keyIndex)], chinese()));
}

EntryRole CNuboDialogBkLightMultiSelect::entryRole(const DrawnButton &entry) const
{
    const EntryRole role = SkinnedDialog::entryRole(entry);
    return role == EntryRole::Key ? EntryRole::ToggleButton : role;
}

QString CNuboDialogBkLightMultiSelect::entryName(const DrawnButton &entry) const
{
    // The close mark is a drawn cross without a caption.
    if (entry.id == MultiKeyTable::CloseButton && !entry.isLabel)
        return text("关闭", "Close");
    return SkinnedDialog::entryName(entry);
}
