#pragma once

#include "skin/CaptionFit.h"

#include <QFont>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

class ButtonTable;
class FontTable;
class QPainter;
struct DrawnButton;

// The virtual keyboard's texts, drawn over its stretched face at the screen's own resolution
// rather than stretched from the base-pixel face: the legend of every key, in the look of its
// cap (plain, under the pointer, picked), and the texts of the labels. Each is fitted into its
// place at that resolution: made smaller where it is too wide or too tall, and cut short with
// an ellipsis only below the smallest readable size.
class VirtualKeyCaptions {
public:
    // Legends are never drawn smaller than this, in device pixels.
    static constexpr int SmallestPixels = 7;

    struct Fit {
        QFont font;
        QString text;
    };
    // The largest size up to the font's own at which `text` fits in `rect`, both width and
    // height (of its lines, or `byInk` of its glyphs alone); elided lines at the smallest size
    // when none does.
    static Fit fit(const QFont &font, const QRect &rect, int flags, const QString &text,
                   bool byInk = false);
    // Where a key's legend lines sit and how large they may be, in client pixels, for a key
    // whose cap has the base rectangle `base` at `scale` client pixels per base pixel.
    struct Line {
        QRect rect;
        QString text;
        QFont font;
        bool accent;
        bool byInk; // symbols and single characters: their glyphs must fit, not their lines
    };
    static std::vector<Line> legendLines(const QRect &base, const QString &caption, float scale);

    // Draws the texts of the entries that meet `dirty` (client pixels). Key rectangles are in
    // client pixels, labels in base pixels, as the frame keeps them; `pointer` is the last
    // pointer position, which decides the hovered key.
    void paint(QPainter &painter, const ButtonTable &table, float scale,
               const std::string &language, const QPoint &pointer, const FontTable &fonts,
               const QRect &dirty);

private:
    void paintLegend(QPainter &painter, const DrawnButton &entry, float scale, bool hovered);
    const Fit &cachedFit(const QFont &font, const QRect &rect, int flags, const QString &text,
                         bool byInk);

    QHash<QString, Fit> m_fits;
    CaptionFit m_labels;
};
