#pragma once

#include "layout/ButtonTable.h"
#include "layout/EntryRole.h"
#include "skin/CaptionFit.h"
#include "skin/DialogContext.h"
#include "skin/FaceCanvas.h"
#include "skin/SkinImages.h"

#include <quillodev/MessageTarget.h>

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class DialogMessageTarget;
class FontTable;
class FrameAccessibility;
class FrameFocus;
class SkinTooltip;

// The frame every window of the program shares: a frameless modal dialog whose whole face is
// composed from its skin images and its table of drawn buttons and labels, at base size, and
// stretched once onto the window. Pixels of the colour key are transparent to sight and
// clicks; any free spot drags the window; button releases go to buttonClicked(); messages
// posted through messageHandle() arrive in postedMessage() on the GUI thread. The keyboard
// reaches every drawn control (frameFocus()) and assistive technology sees them as the
// children of the window (accessibility()); dialogs say what their entries are through the
// entry hooks below.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    SkinnedDialog(const DialogContext &context, std::size_t tableSize, std::uint32_t colourKey,
                  QWidget *parent = nullptr);
    ~SkinnedDialog() override;

    // Runs initialise(), then the modal loop; a failed initialisation returns result() at once.
    int exec() override;
    // The dialog's initialisation, once; later calls return the first answer.
    bool initialise();

    ButtonTable &table() { return m_table; }
    const ButtonTable &table() const { return m_table; }
    std::uint32_t colourKey() const { return m_colourKey; }
    // Client pixels per base pixel, in Qt's logical pixels: the scale factor divided by the
    // screen's device pixel ratio, so that the window covers base x factor device pixels.
    // Table rectangles, child widgets and their fonts are all sized with it.
    float scale() const;
    // The scale factor itself: device pixels per base pixel.
    float deviceScale() const;
    // A rectangle in base pixels as client pixels, for placing child widgets in the face.
    QRect clientRect(const ButtonRect &base) const;
    // A font for child widgets whose characters are `baseHeight` base pixels high.
    QFont clientFont(int baseHeight) const;
    // Size of the background image, or empty without a skin.
    QSize baseSize() const { return m_canvas.size(); }
    QPoint lastMousePoint() const { return m_lastMousePoint; }

    // Hover and checked images must have the background's size; others show the background.
    // Faces with an alpha channel are transparent where alpha is 0, opaque ones in the key
    // colour. A face with the outline of the one it replaces (another page of the same
    // dialog) keeps the window's shape as it is.
    void setSkin(SkinImages images, bool sameOutline = false);
    // A hover face asked for only when a hover first shows, rather than before the first frame;
    // the next setSkin() drops it.
    void setDeferredHover(std::function<FacePatches()> source);

    // Where the device library and workers post to this dialog; safe to use after it is gone.
    WindowHandle messageHandle() const;
    std::shared_ptr<MessageTarget> messageTarget() const;

    // The face as the next paint shows it, at base size; its transparent pixels are of alpha 0
    // or, for an opaque skin where the window takes no shape, in the key colour.
    const QImage &composeFace();
    bool isTransparentAt(const QPoint &clientPoint);
    // The window as its last paint showed it, child widgets included, in bands of at most
    // `rows` device rows from the top, its face not composed anew: a picture of the window
    // that is never held whole. `take` gets each band and its top row; false stops.
    void grabAsShown(int rows, const std::function<bool(const QImage &band, int top)> &take);
    // The part of the window that is seen and clicked, in client pixels.
    QRegion shapeRegion();

    // Keyboard focus over the drawn entries and what assistive technology sees of them.
    FrameFocus &frameFocus() const { return *m_focus; }
    FrameAccessibility *accessibility() const { return m_access.get(); }
    // Presses table entry `index` as a click's release on it would, if it is a focus stop.
    virtual void pressEntry(int index);

    // The group of the keys of a keyboard drawing (focusGroup()).
    static constexpr int KeyboardGroup = 1 << 20;

    // Orange on dark, the look of the text fields embedded in a face.
    static void applyFieldColours(QWidget *field);
    // Layout flags of a drawn caption (centred 1, right 2, vertical centre 4, bottom 8,
    // word break 0x10) as Qt alignment and text flags.
    static int textFlags(std::uint32_t textFormat);

protected:
    const DialogContext &context() const { return m_context; }
    // The program's language as it is now, "zh-CN" or "en-US".
    const std::string &language() const { return m_context.language; }
    bool chinese() const { return m_context.chinese(); }
    const FontTable &fonts() const { return m_context.fonts; }
    // The faces as setSkin() prepared them, for dialogs that copy more than highlights; the
    // background is null where the face is composed in place.
    const SkinImages &skinImages() const { return m_skin; }
    // For a window that stays open: its face is composed over its background's own pixels,
    // and only drawnArea() of the background is kept aside (see FaceCanvas). Call before
    // setSkin(), and hand the background over unshared.
    void composeInPlace();
    // Where the painting steps below may draw, in base pixels, for composeInPlace(); nothing is
    // drawn elsewhere. Default: every entry's rectangle, with a margin for antialiasing.
    virtual QRegion drawnArea() const;

    // Default: setupFrame(), fillTable(), table scaled to client pixels; true. Dialogs that
    // do more call it from their own and return false to end before the modal loop.
    virtual bool initDialog();
    // Writes the entries in base pixels.
    virtual void fillTable(ButtonTable &table) = 0;
    // Sizes the window to base size x scale() client pixels, which is base size x factor device
    // pixels, centred on the primary screen or over its owner.
    void setupFrame();
    // Recomputes the window's shape from the face; call when decorations change transparency.
    void refreshShape();

    // The first entry under a left-button release; the table stays valid meanwhile.
    virtual void buttonClicked(int /*index*/, DrawnButton & /*entry*/) {}
    virtual void postedMessage(unsigned int /*message*/, std::uintptr_t /*wParam*/,
                               std::intptr_t /*lParam*/)
    {}

    // Ids (inclusive ranges) whose buttons show their tooltip while hovered.
    void setTooltipIds(std::vector<std::pair<int, int>> ranges);
    // Hover and tooltip worked out afresh for the last pointer position, after the entries
    // shown have changed.
    void refreshHover();

    // Whether an entry is shown, hovered and hit at the moment (a paged dialog shows one page).
    virtual bool isEntryShown(const DrawnButton &) const { return true; }

    // What entries are to the keyboard and to screen readers. Default: labels are text, keys
    // (entries with a key number) buttons of the keyboard group, other buttons push buttons;
    // names come from the text drawn on a button, its caption or its tooltip.
    virtual EntryRole entryRole(const DrawnButton &entry) const;
    virtual QString entryName(const DrawnButton &entry) const;
    virtual QString entryDescription(const DrawnButton &) const { return {}; }
    virtual bool isEntryChecked(const DrawnButton &entry) const { return entry.checked; }
    // A control that does nothing at the moment is shown but unavailable.
    virtual bool isEntryEnabled(const DrawnButton &) const { return true; }
    // Entries of one group are one Tab stop; the arrow keys move between them. 0: none.
    virtual int focusGroup(const DrawnButton &entry) const;
    virtual QString focusGroupName(int group) const;
    // Where an arrow key (or Home, End) moves the focus from entry `index`; -1 stays. Default:
    // the nearest member of its group that way.
    virtual int arrowTarget(int index, Qt::Key key);
    // While true every key goes to keyPressEvent() untouched (a recording runs).
    virtual bool keyboardCaptured() const { return false; }
    // The place of an entry of table() in it.
    int indexOf(const DrawnButton &entry) const;

    // Painting steps, in the order they run on the base-size face.
    virtual void beforeEntries(QPainter &) {}
    virtual bool paintsEntry(const DrawnButton &) const { return true; }
    virtual void decorateEntry(QPainter &, const DrawnButton &, const QRect & /*base*/) {}
    virtual bool showsHover(const DrawnButton &) const { return true; }
    virtual void afterSkinCopy(QPainter &, const DrawnButton &, const QRect & /*base*/) {}
    virtual QColor captionColour(const DrawnButton &entry) const;
    // Where an entry's caption is laid out, in base pixels: its place (a label's inside the
    // button it lies on, see CaptionPlace; else its rectangle) unless a dialog moves it.
    virtual QRect captionRect(const DrawnButton &, const QRect &place) const { return place; }
    // A caption too long for its place is drawn smaller (see CaptionFit); true cuts it short in
    // its own size instead.
    virtual bool elidesCaption(const DrawnButton &) const { return false; }
    virtual void afterEntry(QPainter &, DrawnButton &, const QRect & /*base*/, bool /*hovered*/) {}
    virtual void afterEntries(QPainter &) {}

    // An entry's rectangle in base pixels (labels already are).
    QRect baseRect(const DrawnButton &entry) const;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;

private:
    friend class FrameAccessibility;
    friend class FrameTree;
    friend class FrameFocus;

    // The face composed anew within `baseArea` only (empty: all of it); the rest stays as the
    // last paint left it.
    const QImage &composeFace(const QRect &baseArea);
    QImage prepareFace(QImage image) const;
    const FacePatches &hoverFace();
    void trackPointer(const QPoint &point);
    ButtonTable::EntryFilter shownFilter() const;
    void updateTooltip();
    void paintEntries(QPainter &painter);
    QRegion computeShape();
    static bool platformHasMasks();

    const DialogContext m_context;
    ButtonTable m_table;
    std::uint32_t m_colourKey;
    const bool m_shaped;       // the platform takes window shapes
    const double m_pixelRatio; // of the primary screen, where the window is placed
    SkinImages m_skin;
    std::function<FacePatches()> m_hoverSource;
    bool m_keyedByAlpha = false; // the skin's transparent pixels are alpha 0, not the key
    FaceCanvas m_canvas;
    QRegion m_shape;
    QSize m_shapeSize;
    QPoint m_lastMousePoint{0, 0};
    std::shared_ptr<DialogMessageTarget> m_target;
    SkinTooltip *m_tooltip = nullptr;
    CaptionFit m_captionFit;
    std::unique_ptr<FrameFocus> m_focus;
    std::unique_ptr<FrameAccessibility> m_access;
    std::vector<std::pair<int, int>> m_tooltipIds;
    int m_initialised = -1; // -1 not yet, else the answer of initDialog()
    bool m_pressedOnButton = false;
    bool m_manualDrag = false;
    bool m_showingAsIs = false; // paints show the face of the last paint, for grabAsShown()
    QPoint m_dragOffset;
};
