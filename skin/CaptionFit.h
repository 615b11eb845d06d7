#pragma once

#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

class QFontMetrics;
class QPainter;

// Fits drawn captions into their rectangles: a caption that is too wide (or, over several
// lines, too tall) is drawn in the largest smaller size that fits, down to two thirds of its
// own, and cut short with an ellipsis below that. The program's windows and the skin
// generator fit alike, so that what the faces leave room for is what the windows draw. Where
// a smaller size would stand out among its neighbours (rows of a list), `shrink` false cuts
// the caption short in its own size.
class CaptionFit {
public:
    struct Fit {
        QFont font;
        QString text; // the caption, elided where even the smallest size is too wide
        // How far down a smaller line is drawn, so that it keeps the middle of the line the
        // caption's own size would take (top-aligned single lines only).
        int drop = 0;
    };

    static Fit fit(const QFont &font, const QRect &rect, int flags, const QString &text,
                   bool shrink = true);
    // Every line of `text` cut short with an ellipsis where it is wider than `width`.
    static QString elided(const QFontMetrics &metrics, int width, const QString &text);
    // Draws as fit() says; fits are remembered, since captions rarely change between paints.
    void draw(QPainter &painter, const QRect &rect, int flags, const QString &text,
              const QFont &font, bool shrink = true);

private:
    QHash<QString, Fit> m_fits;
};
