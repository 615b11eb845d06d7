#pragma once

#include <QImage>

// The three faces of one dialog: background, hover and checked image, all of one size.
struct SkinImages {
    QImage background;
    QImage hover;
    QImage checked;

    bool isComplete() const
    {
        return !background.isNull() && hover.size() == background.size()
               && checked.size() == background.size();
    }
};
