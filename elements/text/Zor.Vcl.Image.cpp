#include "Zor.Vcl.Image.h"

#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Text.Frame.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

using zor::Ord;
using zor::TAlphaColor;
using zor::TGPGraphicsPath;
using zor::TZORElementPainter;
using zor::TZORTarget;

namespace {

// How a filter mixes a pixel: red, green and blue out, each from red, green and blue in; alpha
// is kept and nothing is added.
using TColorMatrix = std::array<std::array<float, 3>, 3>;

constexpr TColorMatrix Identity = { { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } } };

constexpr TColorMatrix Mix(float r, float g, float b)
{
    return { { { r, g, b }, { r, g, b }, { r, g, b } } };
}

// A filter's name as the user reads it, and its colour matrices: the screen and the paper weigh
// grey slightly differently.
struct TFilter {
    const char* Name;
    TColorMatrix Screen;
    TColorMatrix Print;
};

// Indexed by TZORImgFilter: none, grey, black and white.
constexpr std::array<TFilter, TZORBaseImage::ImgFilterCount> Filters = { {
    { "None", Identity, Identity },
    { "Grayscale", Mix(0.299f, 0.587f, 0.114f), Mix(0.3f, 0.59f, 0.11f) },
    { "Black and White", Mix(1.5f, 1.5f, 1.5f), Mix(1.5f, 1.5f, 1.5f) },
} };

constexpr TAlphaColor DesignOutline { 0xFFC0C0C0 };
constexpr float DesignPenWidth = 0.1f; // millimetres

int Channel(const std::array<float, 3>& row, QRgb px)
{
    const float v = row[0] * qRed(px) + row[1] * qGreen(px) + row[2] * qBlue(px);
    return static_cast<int>(std::clamp<int64_t>(zor::Round(v), 0, 255));
}

QImage Filtered(const QImage& picture, TZORImgFilter filter, TZORTarget target)
{
    if (filter == TZORImgFilter::None)
        return picture;
    const TColorMatrix& m
        = target == TZORTarget::Screen ? Filters[zor::Ord(filter)].Screen : Filters[zor::Ord(filter)].Print;
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgba(
                Channel(m[0], line[x]), Channel(m[1], line[x]), Channel(m[2], line[x]), qAlpha(line[x]));
    }
    return out;
}

// Quarter turns counter-clockwise on the page, as the element turns.
QImage Turned(const QImage& picture, TZORAngle angle)
{
    const int turns = zor::Ord(angle) & 3;
    return turns == 0 ? picture : picture.transformed(QTransform().rotate(-90.0 * turns));
}

QImage Shown(const QImage& picture, const TZORBaseImage& image, TZORTarget target)
{
    return Filtered(Turned(picture, image.GetAngle()), image.GetFilter(), target);
}

// The finest resolution a label is drawn at: a document export at the largest scale.
constexpr double FinestDpi = 1500.0;
constexpr double MicronsPerInch = 25400.0;
constexpr int64_t BytesPerPixel = 4;
constexpr int64_t MegaByte = 1024 * 1024;
// However large the label, a picture decodes into no more than this, megabytes.
constexpr int MaxPictureMegabytes = 4096;

// Qt's decode bound holds for the whole process: it is raised once to MaxPictureMegabytes (a
// host's higher bound, or none, stays), and each picture is held to what its label needs before
// it is decoded. Answers Qt's bound as it was, megabytes (0: none).
int QtBound()
{
    static const int bound = [] {
        const int was = QImageReader::allocationLimit();
        if (was != 0 && was < MaxPictureMegabytes)
            QImageReader::setAllocationLimit(MaxPictureMegabytes);
        return was;
    }();
    return bound;
}

// The bytes a picture of the label may decode into: what a picture covering the label's paper at
// the finest resolution takes, up to MaxPictureMegabytes, and never less than Qt's own bound.
int64_t PictureBound(const TZORBaseLabel* label)
{
    const int64_t bound = int64_t(QtBound()) * MegaByte;
    if (bound == 0 || !label)
        return bound;
    const TZORMeasure& m = label->Measure();
    const double side = FinestDpi / MicronsPerInch;
    const double need = double(m.GetSize(TZORSizeKind::PaperWidth)) * side
        * double(m.GetSize(TZORSizeKind::PaperHeight)) * side * double(BytesPerPixel);
    return std::max(bound, int64_t(std::min(need, double(MaxPictureMegabytes * MegaByte))));
}

// A decoded picture, or why there is none (empty when there was nothing to decode).
struct TDecoded {
    QImage picture;
    QString error;
};

TDecoded Read(QImageReader& reader, const TZORBaseLabel* label)
{
    const int64_t bound = PictureBound(label);
    const QSize size = reader.size();
    if (bound > 0 && size.isValid() && int64_t(size.width()) * size.height() * BytesPerPixel > bound)
        return { {},
            QStringLiteral("%1 \u00D7 %2 pixels take more than the %3 MB a picture of this label may")
                .arg(size.width())
                .arg(size.height())
                .arg(bound / MegaByte) };
    TDecoded d { reader.read(), {} };
    if (d.picture.isNull())
        d.error = reader.errorString();
    return d;
}

TDecoded Decoded(const QByteArray& encoded, const TZORBaseLabel* label)
{
    if (encoded.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return Read(reader, label);
}

// One source for both targets: the embedded picture when there is one, else the file.
TDecoded Picture(const TZORBaseImage& image)
{
    if (!image.GetImageBytes().isEmpty())
        return Decoded(image.GetImageBytes(), image.GetOwner());
    const QString path = image.PicturePath();
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    return Read(reader, image.GetOwner());
}

// Tells the host (the label's OnInfoMsg: the status line, an export's messages) of a picture
// that cannot be drawn.
void Report(const TZORBaseImage& image, const TZORBaseDraw& D, const QString& error)
{
    D.Tell(image.GetOwner(),
        TZORMsg::GetErrorValue(QStringLiteral("PictureUndrawn")).arg(image.GetID()).arg(error));
}

QByteArray Png(const QImage& picture)
{
    constexpr int Quality = 80;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG", Quality);
    return buffer.data();
}

bool IsCircle(TZORFrame frame)
{
    return frame == TZORFrame::Circle || frame == TZORFrame::CircleClip;
}

// Where the frame and the picture go, device pixels.
struct TImageBoxes {
    QRectF Frame; // the box, or the circle's square centred on the box's longer side
    QRectF Inner; // inside the frame's outline and the padding: the circle clip of frame 3
    QRectF Picture; // where the picture is drawn
};

QRectF FrameOf(const TZORElementPainter& painter, const TZORBaseImage& image)
{
    const QRectF box = painter.Box(image.GetPoint(1), image.GetPoint(2)).normalized();
    if (!IsCircle(image.GetFrame()))
        return box;
    const double side = std::min(box.width(), box.height());
    QRectF square(0.0, 0.0, side, side);
    square.moveCenter(box.center());
    return square;
}

QRectF InnerOf(const TZORElementPainter& painter, const TZORBaseImage& image, const QRectF& frame)
{
    if (image.GetFrame() == TZORFrame::None)
        return frame;
    QRectF inner = frame;
    if (image.GetFrame() == TZORFrame::Circle) {
        // The square inscribed in the circle.
        const double side = frame.width() * std::numbers::sqrt2 / 2.0;
        inner = QRectF(0.0, 0.0, side, side);
        inner.moveCenter(frame.center());
    }
    const TZORDraw& D = painter.Context();
    const double t = painter.Pixels(image.GetPenWidth()) / 2.0;
    const double px = t + zor::DrawFromBaseX(image.GetBasePadding(), D);
    const double py = t + zor::DrawFromBaseY(image.GetBasePadding(), D);
    return inner.adjusted(px, py, -px, -py);
}

// A picture of w × h pixels kept in proportion inside the box, placed in the room left by the
// image's alignment.
QRectF Fitted(const QRectF& box, int w, int h, const TZORBaseImage& image)
{
    if (!image.GetKeepAspect() || box.width() <= 0.0 || box.height() <= 0.0)
        return box;
    const double share = image.GetImageAlign() / 2.0; // of the room left: 0, a half or all
    if (box.width() / box.height() <= double(w) / double(h)) {
        const double fitted = box.width() * h / w;
        return { box.left(), box.top() + (box.height() - fitted) * share, box.width(), fitted };
    }
    const double fitted = box.height() * w / h;
    return { box.left() + (box.width() - fitted) * share, box.top(), fitted, box.height() };
}

TImageBoxes BoxesOf(const TZORElementPainter& painter, const TZORBaseImage& image, const QImage& shown)
{
    TImageBoxes boxes;
    boxes.Frame = FrameOf(painter, image);
    boxes.Inner = InnerOf(painter, image, boxes.Frame);
    boxes.Picture = Fitted(boxes.Inner, shown.width(), shown.height(), image);
    return boxes;
}

// The editor's light outline of a frameless image, inside its box.
void DesignFrame(TZORElementPainter& painter, const TZORBaseImage& image, const QRectF& box)
{
    if (!painter.InEditor() || image.GetItemState() != TZORItemState::Normal)
        return;
    const double half = painter.Pixels(DesignPenWidth) / 2.0;
    const double r = painter.MMX(image.GetMMRadio());
    painter.Stroke(
        zor::RoundedBox(box.adjusted(half, half, -half, -half), r, painter.MMY(image.GetMMRadio())),
        { DesignOutline, DesignPenWidth, TZORineType::Solid, TZORItemState::Normal, false });
}

// Circles fill and stroke as the rectangle frame does, on their edge.
void CircleFrame(TZORElementPainter& painter, const TZORBaseImage& image, const QRectF& box)
{
    const zor::TZORFrameLook look = zor::TZORFrameLook::Of(image);
    zor::TZORFigurePaint how;
    if (look.Filled && (!painter.OnScreen() || (zor::Ord(look.Back) >> 24) > 0))
        how.Fill = look.Back;
    if (look.PenWidth > 0.0f)
        how.Outline
            = zor::TZORStroke { look.Line, look.PenWidth, TZORineType::Solid, TZORItemState::Normal, false };
    TGPGraphicsPath circle;
    circle.AddEllipse(box.x(), box.y(), box.width(), box.height());
    painter.FillThenOutline(circle, how);
}

void PaintFrame(TZORElementPainter& painter, const TZORBaseImage& image, const QRectF& box)
{
    switch (image.GetFrame()) {
    case TZORFrame::None:
        DesignFrame(painter, image, box);
        break;
    case TZORFrame::Rectangle:
        painter.Frame(box, zor::TZORFrameLook::Of(image, image.GetMMRadio()), zor::ParagraphFrame);
        break;
    case TZORFrame::Circle:
    case TZORFrame::CircleClip:
        CircleFrame(painter, image, box);
        break;
    }
}

QPainter* PainterOf(const TZORElementPainter& painter)
{
    const TZORDraw& D = painter.Context();
    if (painter.OnScreen())
        return D.kC ? &D.kC->Painter() : nullptr;
    return D.aG ? &D.aG->Painter() : nullptr;
}

// The frame, then the picture (turned and filtered already) in its box; frame 3 clips it to the
// circle inside the frame.
void PaintFramed(TZORElementPainter& painter, const TZORBaseImage& image, const QImage& shown)
{
    const TImageBoxes boxes = BoxesOf(painter, image, shown);
    PaintFrame(painter, image, boxes.Frame);
    QPainter* p = PainterOf(painter);
    if (!p || boxes.Picture.width() <= 0.0 || boxes.Picture.height() <= 0.0)
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::SmoothPixmapTransform);
    if (image.GetFrame() == TZORFrame::CircleClip) {
        QPainterPath clip;
        clip.addEllipse(boxes.Inner);
        p->setClipPath(clip, Qt::IntersectClip);
    }
    p->drawImage(boxes.Picture, shown);
    p->restore();
}

} // namespace

TZORImage::TScreenPicture TZORImage::ScreenPicture(const TZORBaseDraw& D) const
{
    const std::lock_guard lock(fMutex);
    if (LImage.isNull() || fDecodedVersion != PictureVersion()) {
        TDecoded decoded = Picture(*this);
        LImage = std::move(decoded.picture);
        fDecodedVersion = PictureVersion();
        fShownKey = -1;
        SetImageSize(LImage.width(), LImage.height());
        // Told once, not at every repaint.
        if (std::exchange(fPictureError, decoded.error) != decoded.error && !decoded.error.isEmpty())
            Report(*this, D, decoded.error);
    }
    const int key = zor::Ord(GetAngle()) + 4 * zor::Ord(GetFilter());
    if (!LImage.isNull() && key != fShownKey) {
        fShown = Shown(LImage, *this, TZORTarget::Screen);
        fShownKey = key;
    }
    return { LImage, fShown };
}

void TZORImage::CalcValues(int16_t aFlag)
{
    TZORBaseImage::CalcValues(aFlag);
    if (!GetEmbedImage() || !GetImageBytes().isEmpty() || PicturePath().isEmpty())
        return;
    const QImage picture = ScreenPicture(TZORBaseDraw()).Decoded;
    if (!picture.isNull())
        EmbedPicture(Png(picture));
}

void TZORImage::Draw(TZORBaseDraw& D) const
{
    TZORElementPainter painter(D, TZORTarget::Screen);
    const TScreenPicture picture = ScreenPicture(D);
    if (!picture.Decoded.isNull())
        PaintFramed(painter, *this, picture.Shown);
    painter.DataMarker(*this, painter.At(GetPoint(1)));
}

// Every print decodes afresh, so that a bound image prints each record's picture; nothing of it
// is kept.
void TZORImage::Print(TZORBaseDraw& D) const
{
    const TZORBaseLabel* label = GetOwner();
    const TDecoded decoded
        = FillType() != 0 ? Decoded(D.DataGraphic(label, FillName()), label) : Picture(*this);
    if (!decoded.error.isEmpty())
        Report(*this, D, decoded.error);
    if (decoded.picture.isNull())
        return;
    TZORElementPainter painter(D, TZORTarget::Print);
    PaintFramed(painter, *this, Shown(decoded.picture, *this, TZORTarget::Print));
}

QString zor::ImageFilterName(TZORImgFilter filter)
{
    const size_t i = size_t(zor::Ord(filter));
    return i < Filters.size() ? QString::fromLatin1(Filters[i].Name) : QString();
}
