#include "skin/SkinnedDialog.h"

#include "layout/ScaleFactor.h"
#include "layout/WindowsColour.h"
#include "skin/DialogMessageTarget.h"
#include "skin/EntryNaming.h"
#include "skin/FontTable.h"
#include "skin/FrameAccessibility.h"
#include "skin/FrameAccessible.h"
#include "skin/FrameFocus.h"
#include "skin/KeyedAreas.h"
#include "skin/PostedMessage.h"
#include "skin/ScreenScale.h"
#include "skin/SkinFaceFormat.h"
#include "skin/SkinTooltip.h"
#include "skin/WindowShape.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

QRect qtRect(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

// Where the window takes a shape, key-colour pixels become alpha 0 so that smoothing blends
// the edges toward nothing rather than toward the key colour.
QImage keyedOut(const QImage &image, std::uint32_t colourKey)
{
    if (image.isNull())
        return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = colourFromWindows(colourKey).rgb();
    for (int y = 0; y < result.height(); ++y)
        SkinFaceFormat::keyOut(reinterpret_cast<std::uint32_t *>(result.scanLine(y)),
                               std::size_t(result.width()), key);
    return result;
}

} // namespace

SkinnedDialog::SkinnedDialog(const DialogContext &context, std::size_t tableSize,
                             std::uint32_t colourKey, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_table(tableSize)
    , m_colourKey(colourKey)
    , m_shaped(platformHasMasks())
    , m_pixelRatio(ScreenScale::primaryPixelRatio())
    , m_target(std::make_shared<DialogMessageTarget>(this))
    , m_focus(std::make_unique<FrameFocus>(*this))
    , m_access(std::make_unique<FrameAccessibility>(*this))
{
    FrameAccessible::install();
    // Without an owner the window stands alone and gets a taskbar button.
    setWindowFlags((parent ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Where windows take no shape their transparent pixels must reach the compositor.
    if (keyedAreasFor(QGuiApplication::platformName()) == KeyedAreas::Translucent)
        setAttribute(Qt::WA_TranslucentBackground);
}

SkinnedDialog::~SkinnedDialog()
{
    // Assistive technology may ask until the window is gone; from here it learns nothing.
    m_access.reset();
    m_target->detach();
}

int SkinnedDialog::exec()
{
    if (!initialise())
        return result();
    return QDialog::exec();
}

bool SkinnedDialog::initialise()
{
    if (m_initialised < 0) {
        m_initialised = initDialog() ? 1 : 0;
        refreshShape();
    }
    return m_initialised == 1;
}

bool SkinnedDialog::initDialog()
{
    setupFrame();
    fillTable(m_table);
    m_table.scaleToClient(scale());
    return true;
}

float SkinnedDialog::scale() const
{
    return logicalScale(deviceScale(), m_pixelRatio);
}

float SkinnedDialog::deviceScale() const
{
    return m_context.scaleFactor > 0.0f ? m_context.scaleFactor : 1.0f;
}

QRect SkinnedDialog::clientRect(const ButtonRect &base) const
{
    return qtRect(ButtonTable::toClient(base, scale()));
}

QFont SkinnedDialog::clientFont(int baseHeight) const
{
    // Not from the font table, whose 50 heights a large scale would outgrow.
    QFont font = m_context.fonts.font(0);
    font.setPixelSize(std::max(1, scaledPixels(baseHeight, scale())));
    return font;
}

void SkinnedDialog::setSkin(SkinImages images, bool sameOutline)
{
    const QSize size = images.background.size();
    const bool keepShape = sameOutline && !m_canvas.size().isEmpty() && size == m_canvas.size();
    m_hoverSource = {};
    m_keyedByAlpha = m_shaped || images.background.hasAlphaChannel();
    QImage background = prepareFace(std::move(images.background));
    // A face composed in place owns its background alone.
    if (!m_canvas.composesInPlace())
        m_skin.background = background;
    m_canvas.setBackground(std::move(background), keepShape);
    // A missing or misfit highlight image shows the plain face rather than garbage.
    const auto fit = [&](const FacePatches &face) {
        return face.size() == size
                   ? face.transformed([this](const QImage &part) { return prepareFace(part); })
                   : FacePatches(size);
    };
    m_skin.hover = fit(images.hover);
    m_skin.checked = fit(images.checked);
    if (!keepShape)
        refreshShape();
    update();
}

void SkinnedDialog::composeInPlace()
{
    m_skin.background = QImage();
    m_canvas.setInPlace([this] { return drawnArea(); });
}

QRegion SkinnedDialog::drawnArea() const
{
    QRegion area;
    for (const DrawnButton &entry : m_table) {
        if (entry.isUsed())
            area += baseRect(entry).adjusted(-2, -2, 2, 2);
    }
    return area;
}

QImage SkinnedDialog::prepareFace(QImage image) const
{
    // Faces with an alpha channel (the skin library's) mark what is transparent by alpha 0
    // and are used as they are; opaque faces mark it by the key colour, which is painted as is
    // where the window cannot take a shape.
    if (m_shaped && !image.hasAlphaChannel())
        return keyedOut(image, m_colourKey);
    return std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void SkinnedDialog::setDeferredHover(std::function<FacePatches()> source)
{
    m_hoverSource = std::move(source);
}

const FacePatches &SkinnedDialog::hoverFace()
{
    if (m_hoverSource) {
        const FacePatches face = std::exchange(m_hoverSource, {})();
        if (face.size() == m_canvas.size())
            m_skin.hover
                = face.transformed([this](const QImage &part) { return prepareFace(part); });
    }
    return m_skin.hover;
}

WindowHandle SkinnedDialog::messageHandle() const
{
    return m_target.get();
}

std::shared_ptr<MessageTarget> SkinnedDialog::messageTarget() const
{
    return m_target;
}

void SkinnedDialog::setupFrame()
{
    const QSize base = baseSize();
    const float s = scale();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    const FramePlacement place
        = centredPlacement(base.width(), base.height(), area.width(), area.height(), s);
    QRect frame(area.x() + place.x, area.y() + place.y, place.width, place.height);
    if (QWidget *owner = parentWidget())
        frame.moveCenter(owner->window()->frameGeometry().center());
    setFixedSize(frame.size());
    move(frame.topLeft());
}

void SkinnedDialog::refreshShape()
{
    // Elsewhere nothing would take the shape; shapeRegion() works it out when asked.
    if (!m_shaped)
        return;
    m_shape = computeShape();
    if (m_shape.isEmpty())
        return;
    m_shapeSize = size();
    setMask(m_shape);
}

QRegion SkinnedDialog::shapeRegion()
{
    return m_shaped ? m_shape : computeShape();
}

QRegion SkinnedDialog::computeShape()
{
    // The face needs the filled table, so the shape waits for the initialisation.
    if (m_initialised != 1 || m_canvas.size().isEmpty())
        return {};
    return WindowShape::fromFace(composeFace(), size(), colourFromWindows(m_colourKey).rgb());
}

bool SkinnedDialog::platformHasMasks()
{
    // A translucent window's mask is where it takes clicks.
    return keyedAreasFor(QGuiApplication::platformName()) != KeyedAreas::Painted;
}

bool SkinnedDialog::isTransparentAt(const QPoint &clientPoint)
{
    // The face of the last paint; composing runs the dialog's painting steps.
    const QImage &face = m_canvas.face().isNull() ? composeFace() : m_canvas.face();
    if (face.isNull())
        return false;
    const QPoint at(unscaledPixels(clientPoint.x(), scale()),
                    unscaledPixels(clientPoint.y(), scale()));
    if (!face.valid(at))
        return false;
    const QRgb pixel = face.pixel(at);
    return qAlpha(pixel) == 0 || pixel == colourFromWindows(m_colourKey).rgb();
}

QRect SkinnedDialog::baseRect(const DrawnButton &entry) const
{
    return qtRect(entry.isLabel ? entry.rect : ButtonTable::toBase(entry.rect, scale()));
}

const QImage &SkinnedDialog::composeFace()
{
    return composeFace(QRect());
}

const QImage &SkinnedDialog::composeFace(const QRect &baseArea)
{
    if (m_canvas.size().isEmpty())
        return m_canvas.face();
    // Every step runs; only the pixels of the area are drawn anew. The drawn area is known
    // once the table is filled.
    QPainter painter;
    m_canvas.begin(painter, baseArea, m_initialised == 1);
    beforeEntries(painter);
    paintEntries(painter);
    afterEntries(painter);
    m_focus->paint(painter);
    return m_canvas.face();
}

void SkinnedDialog::paintEntries(QPainter &painter)
{
    const std::string &language = m_context.language;
    for (DrawnButton &entry : m_table) {
        if (!entry.isUsed() || !isEntryShown(entry) || !paintsEntry(entry))
            continue;
        const QRect base = baseRect(entry);
        decorateEntry(painter, entry, base);

        const bool hovered
            = !entry.isLabel && entry.rect.contains(m_lastMousePoint.x(), m_lastMousePoint.y());
        const FacePatches *copy = nullptr;
        if (entry.checked && !entry.isLabel)
            copy = &m_skin.checked;
        else if (hovered && showsHover(entry))
            copy = &hoverFace();
        if (copy) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            m_canvas.drawBackground(painter, base);
            copy->paint(painter, base);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        afterSkinCopy(painter, entry, base);

        if ((entry.isLabel || entry.textOnButton) && entry.showText) {
            painter.setPen(captionColour(entry));
            // A caption longer than its place is drawn smaller, or cut short, not over its
            // neighbours; a label over a button keeps clear of the button's rim.
            const QRect place
                = entry.isLabel ? qtRect(m_table.captionPlace(std::size_t(indexOf(entry)))) : base;
            m_captionFit.draw(painter, captionRect(entry, place), textFlags(entry.textFormat),
                              QString::fromStdString(entry.caption(language)),
                              m_context.fonts.font(entry.fontSize), !elidesCaption(entry));
        }
        afterEntry(painter, entry, base, hovered);
    }
}

int SkinnedDialog::textFlags(std::uint32_t textFormat)
{
    int flags
        = (textFormat & 1) ? Qt::AlignHCenter : ((textFormat & 2) ? Qt::AlignRight : Qt::AlignLeft);
    flags |= (textFormat & 4) ? Qt::AlignVCenter
                              : ((textFormat & 8) ? Qt::AlignBottom : Qt::AlignTop);
    if (textFormat & 0x10)
        flags |= Qt::TextWordWrap;
    return flags;
}

void SkinnedDialog::paintEvent(QPaintEvent *event)
{
    // Whatever a paint shows anew (a page, a language, a scrolled list) is announced once.
    m_access->scheduleCheck();
    // What the paint shows anew, in base pixels, with the pixels the smoothing reads around it.
    const QRect shown = event->rect();
    const float s = scale();
    const QRect area
        = QRect(QPoint(int(shown.left() / s) - 2, int(shown.top() / s) - 2),
                QPoint(int((shown.right() + 1) / s) + 2, int((shown.bottom() + 1) / s) + 2))
              .intersected(QRect(QPoint(0, 0), baseSize()));
    const QImage &face
        = m_showingAsIs && !m_canvas.face().isNull() ? m_canvas.face() : composeFace(area);
    QPainter painter(this);
    const QColor key = colourFromWindows(m_colourKey);
    if (face.isNull()) {
        painter.fillRect(rect(), key);
        return;
    }
    // The face covers the window; what is transparent in it lies outside the window's shape,
    // or, where there are no shapes, shows the key colour just as an opaque face would.
    if (m_keyedByAlpha && !m_shaped)
        painter.fillRect(event->rect(), key);
    else
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRect(0, 0, scaledPixels(face.width(), scale()), scaledPixels(face.height(), scale())),
        face);
}

void SkinnedDialog::grabAsShown(int rows,
                                const std::function<bool(const QImage &band, int top)> &take)
{
    const qreal ratio = devicePixelRatioF();
    // Bands of whole device rows at the usual ratios (multiples of a quarter).
    const int step = std::max(4, int(rows / ratio) / 4 * 4);
    m_showingAsIs = true;
    int top = 0;
    for (int y = 0; y < height(); y += step) {
        const QImage band = grab(QRect(0, y, width(), std::min(step, height() - y))).toImage();
        if (!take(band, top))
            break;
        top += band.height();
    }
    m_showingAsIs = false;
}

void SkinnedDialog::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || isTransparentAt(point)) {
        event->ignore();
        return;
    }
    trackPointer(point);
    const int hit = m_table.firstHit(point.x(), point.y(), shownFilter());
    m_focus->pointerPressed(hit);
    const bool overButton = hit >= 0;
    const FrameHitCode code
        = ButtonTable::frameHitCode(overButton, point.x(), point.y(), width(), height());
    m_pressedOnButton = code == HitClient;
    if (code != HitCaption)
        return;
    QWindow *window = windowHandle();
    if (window && window->startSystemMove())
        return;
    m_manualDrag = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_manualDrag && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    m_manualDrag = false;
    trackPointer(event->position().toPoint());
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool fromButton = m_pressedOnButton && !m_manualDrag;
    m_pressedOnButton = false;
    m_manualDrag = false;
    if (!fromButton)
        return;
    const QPoint point = event->position().toPoint();
    trackPointer(point);
    const int hit = m_table.firstHit(point.x(), point.y(), shownFilter());
    if (hit >= 0)
        buttonClicked(hit, m_table[std::size_t(hit)]);
}

void SkinnedDialog::leaveEvent(QEvent *event)
{
    // Nothing stays highlighted once the pointer has left the window.
    trackPointer(QPoint(-1, -1));
    QDialog::leaveEvent(event);
}

void SkinnedDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Showing the window delivers the size the initialisation already shaped it for.
    if (size() != m_shapeSize)
        refreshShape();
}

void SkinnedDialog::showEvent(QShowEvent *event)
{
    // The face, not the first field, has the keyboard first: Tab starts at its first control.
    if (!focusWidget())
        setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(event);
}

void SkinnedDialog::focusInEvent(QFocusEvent *event)
{
    m_focus->focusChanged();
    QDialog::focusInEvent(event);
}

void SkinnedDialog::focusOutEvent(QFocusEvent *event)
{
    m_focus->focusChanged();
    QDialog::focusOutEvent(event);
}

bool SkinnedDialog::focusNextPrevChild(bool next)
{
    // Child fields hand Tab up to here; a recording keeps it.
    if (keyboardCaptured())
        return false;
    return m_focus->tab(next);
}

void SkinnedDialog::pressEntry(int index)
{
    if (!m_focus->isStop(index))
        return;
    buttonClicked(index, m_table[std::size_t(index)]);
}

int SkinnedDialog::indexOf(const DrawnButton &entry) const
{
    const std::ptrdiff_t index = &entry - &*m_table.begin();
    return index >= 0 && std::size_t(index) < m_table.size() ? int(index) : -1;
}

EntryRole SkinnedDialog::entryRole(const DrawnButton &entry) const
{
    if (!entry.isUsed())
        return EntryRole::None;
    if (entry.isLabel)
        return EntryRole::StaticText;
    return entry.keyIndex > 0 ? EntryRole::Key : EntryRole::PushButton;
}

QString SkinnedDialog::entryName(const DrawnButton &entry) const
{
    return QString::fromStdString(EntryNaming::defaultName(
        m_table, indexOf(entry), m_context.language, scale(), shownFilter()));
}

int SkinnedDialog::focusGroup(const DrawnButton &entry) const
{
    return !entry.isLabel && entry.keyIndex > 0 ? KeyboardGroup : 0;
}

QString SkinnedDialog::focusGroupName(int group) const
{
    if (group != KeyboardGroup)
        return {};
    return m_context.language == "zh-CN" ? QStringLiteral("键盘") : QStringLiteral("Keyboard");
}

int SkinnedDialog::arrowTarget(int index, Qt::Key key)
{
    return m_focus->neighbourInGroup(index, key);
}

bool SkinnedDialog::event(QEvent *event)
{
    // Keys the face itself receives: the arrows, Space and Enter move and press the mark,
    // before the dialog's own handling (Enter is OK in the key settings) sees them.
    // Keys a field let pass (Enter, the arrows) are no keys of the face.
    const bool faceFocused = !focusWidget() || focusWidget() == this;
    if (event->type() == QEvent::KeyPress && faceFocused && !keyboardCaptured()
        && m_focus->key(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    if (auto *message = dynamic_cast<PostedMessage *>(event)) {
        postedMessage(message->message(), message->wParam(), message->lParam());
        return true;
    }
    return QDialog::event(event);
}

void SkinnedDialog::trackPointer(const QPoint &point)
{
    m_lastMousePoint = point;
    const std::vector<ButtonRect> changed
        = m_table.updateHover(point.x(), point.y(), shownFilter());
    if (changed.empty())
        return;
    // Smoothing reaches a pixel or two beyond a stretched rectangle.
    const int margin = int(scale()) + 2;
    for (const ButtonRect &r : changed)
        update(qtRect(r).adjusted(-margin, -margin, margin, margin));
    updateTooltip();
}

ButtonTable::EntryFilter SkinnedDialog::shownFilter() const
{
    return [this](const DrawnButton &entry) {
        return isEntryShown(entry);
    };
}

void SkinnedDialog::refreshHover()
{
    trackPointer(m_lastMousePoint);
    updateTooltip();
}

void SkinnedDialog::setTooltipIds(std::vector<std::pair<int, int>> ranges)
{
    m_tooltipIds = std::move(ranges);
    if (!m_tooltip)
        m_tooltip = new SkinTooltip(this);
}

void SkinnedDialog::updateTooltip()
{
    if (!m_tooltip)
        return;
    for (DrawnButton &entry : m_table) {
        if (!entry.hovered)
            continue;
        for (const auto &[first, last] : m_tooltipIds) {
            if (entry.id >= first && entry.id <= last) {
                m_tooltip->showText(QString::fromStdString(entry.tooltip(m_context.language)),
                                    QCursor::pos());
                return;
            }
        }
    }
    m_tooltip->dismiss();
}

void SkinnedDialog::applyFieldColours(QWidget *field)
{
    QPalette colours = field->palette();
    const QColor text = colourFromWindows(0x006FFF);
    const QColor dark = colourFromWindows(0x141414);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Base, dark);
        colours.setColor(group, QPalette::Window, dark);
    }
    field->setPalette(colours);
    field->setAutoFillBackground(true);
    if (auto *frame = qobject_cast<QFrame *>(field))
        frame->setFrameShape(QFrame::NoFrame);
}

QColor SkinnedDialog::captionColour(const DrawnButton &entry) const
{
    return colourFromWindows(entry.checked ? entry.checkedTextColor : entry.textColor);
}
