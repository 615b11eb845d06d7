#pragma once

#include "skin/FacePatches.h"

#include <QImage>

// The three faces of one dialog: background, hover and checked image, all of one size. The
// hover and checked faces are kept only where they differ from the background.
struct SkinImages {
    QImage background;
    FacePatches hover;
    FacePatches checked;

    bool isComplete() const
    {
        return !background.isNull() && hover.size() == background.size()
               && checked.size() == background.size();
    }
};
