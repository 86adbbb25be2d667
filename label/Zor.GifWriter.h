#pragma once

#include <QByteArray>
#include <QImage>

namespace zor {

// The image as a GIF file (GIF89a, one frame, 8 bits). An image of at most 256 colours keeps
// them exactly; a richer one is reduced by median cut to 256. With transparentWhite, pixels of
// exactly opaque white become the transparent index (kept apart from the quantised colours).
// Raises EZORError when giflib fails.
QByteArray EncodeGif(const QImage& image, bool transparentWhite);

} // namespace zor
