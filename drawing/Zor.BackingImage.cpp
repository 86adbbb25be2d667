#include "Zor.BackingImage.h"

#include <algorithm>
#include <cmath>

namespace {

QSize DeviceSize(QSize size, qreal dpr)
{
    return { int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)) };
}

} // namespace

namespace zor {

QImage BackingImage(QSize size, qreal dpr)
{
    dpr = std::max<qreal>(1.0, dpr);
    QImage image(DeviceSize(size, dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

bool IsBackingImage(const QImage& image, QSize size, qreal dpr)
{
    dpr = std::max<qreal>(1.0, dpr);
    return !image.isNull() && image.devicePixelRatio() == dpr && image.size() == DeviceSize(size, dpr);
}

} // namespace zor
