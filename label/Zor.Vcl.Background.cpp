#include "Zor.Vcl.Background.h"

#include "Zor.Utils.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <array>
#include <cmath>

namespace zor {

namespace {

QImage Decode(QIODevice* device)
{
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QImage DecodeBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Decode(&buffer);
}

QByteArray EncodePng(const QImage& picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

bool ShowsBackground(const TZORLayer& layer, TZORDrawState state)
{
    if (!layer.HasOption(loView) || (layer.GetOptions() & (loBackImage | loBackMap)) == 0)
        return false;
    switch (state) {
    case TZORDrawState::Preview:
    case TZORDrawState::Printer:
        return layer.HasOption(loPrintBack);
    case TZORDrawState::Export:
        return layer.HasOption(loExportBack);
    default:
        return true;
    }
}

TBackMargins BackMargins(const TZORLayer& layer, TZORUnits units)
{
    const auto base = [units](float v) { return double(SetValue(double(v), units)); };
    return { base(layer.GetImgMarLeft()), base(layer.GetImgMarTop()), base(layer.GetImgMarRight()),
        base(layer.GetImgMarBottom()) };
}

TBackPlacement BackPlacement(QPointF origin, double kx, double ky, int64_t width, int64_t height,
    const TBackMargins& margins, uint8_t orientation)
{
    const int turns = orientation & 3;
    // The picture's margins, left, top, right, bottom, as they land on the page once turned.
    const std::array<double, 4> own = { margins.Left, margins.Top, margins.Right, margins.Bottom };
    const auto side = [&](int i) { return own[size_t((i + turns) % 4)]; };
    const double left = origin.x() + side(0) * kx;
    const double top = origin.y() + side(1) * ky;
    const double right = origin.x() + (double(width) - side(2)) * kx;
    const double bottom = origin.y() + (double(height) - side(3)) * ky;
    return { QRectF(QPointF(left, top), QPointF(right, bottom)), turns };
}

bool PaintBackground(QPainter& painter, const QImage& picture, const TBackPlacement& placement)
{
    const QRectF& box = placement.Box;
    if (picture.isNull() || !(box.width() > 0.0) || !(box.height() > 0.0) || !std::isfinite(box.left())
        || !std::isfinite(box.top()))
        return false;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(box.center());
    painter.rotate(-90.0 * placement.Turns);
    const bool across = placement.Turns % 2 == 1;
    const double w = across ? box.height() : box.width();
    const double h = across ? box.width() : box.height();
    painter.drawImage(QRectF(-w / 2.0, -h / 2.0, w, h), picture);
    painter.restore();
    return true;
}

const QImage& TBackImageCache::Get(TZORLayer& layer, const QString& folder, bool reload)
{
    const QByteArray& bytes = layer.GetImgBytes();
    const QString path = bytes.isEmpty() ? layer.BackImagePath(folder) : QString();
    if (fValid && !reload && fBytes.constData() == bytes.constData() && fBytes.size() == bytes.size()
        && fPath == path)
        return fImage;
    fBytes = bytes;
    fPath = path;
    fValid = true;
    if (!bytes.isEmpty()) {
        fImage = DecodeBytes(bytes);
        return fImage;
    }
    fImage = QImage();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return fImage;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        fImage = Decode(&file);
    if (layer.GetKeepBytes() && !fImage.isNull()) {
        layer.SetImgBytes(EncodePng(fImage));
        // The bytes are the picture just decoded: they need no decoding of their own.
        fBytes = layer.GetImgBytes();
        fPath.clear();
    }
    return fImage;
}

} // namespace zor
