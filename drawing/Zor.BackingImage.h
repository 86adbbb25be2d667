#pragma once

#include "drawing/Zor.VclExport.h"

#include <QImage>
#include <QSize>

namespace zor {

// A backing image for `size` logical pixels on a screen of device pixel ratio `dpr`: a painter
// on it draws in logical pixels and lands on every device pixel, so the picture stays sharp.
QUINDLE_VCL_EXPORT QImage BackingImage(QSize size, qreal dpr);

// Whether `image` is already the backing image BackingImage(size, dpr) would make.
QUINDLE_VCL_EXPORT bool IsBackingImage(const QImage& image, QSize size, qreal dpr);

} // namespace zor
