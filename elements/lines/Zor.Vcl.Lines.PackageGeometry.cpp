#include "Zor.Vcl.Lines.PackageGeometry.h"

#include "Zor.Format.h"
#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Types.h"

#include <algorithm>
#include <numbers>
#include <span>

namespace zor {

namespace {

// Paper lengths of the layout, in micrometres at drawing scale 1.
constexpr double NameIndent = 2000.0; // the block's names from the frame's left edge
constexpr double NameGap = 1500.0; // between the widest name and the widest value
constexpr double LeftCaptionGap = 1000.0; // the screen keeps the upright flat caption off the box
constexpr double SizeBlockShare = 0.35; // of the frame's width, taken by the block
constexpr double ScreenLineSpacing = 1.2; // the screen spaces the block's lines wider than paper

// The box's eight corners are numbered by bits: 1 takes the width, 2 the length, 4 the height.
constexpr std::array<std::array<uint8_t, 2>, 12> EdgeCorners = { {
    { 0, 1 },
    { 1, 3 },
    { 3, 2 },
    { 2, 6 },
    { 2, 0 },
    { 0, 4 },
    { 4, 5 },
    { 1, 5 },
    { 3, 7 },
    { 6, 4 },
    { 5, 7 },
    { 7, 6 },
} };
// Top, left side (no width), right side (no length).
constexpr std::array<std::array<uint8_t, 4>, 3> FaceCorners
    = { { { 0, 1, 3, 2 }, { 2, 0, 4, 6 }, { 0, 4, 5, 1 } } };

// Which text stands on which line of the block, counted from the frame's middle: a size's name,
// or its value on the line below.
struct TBlockLine {
    bool Value;
    int Size; // width, length, height
    int Line;
};
constexpr TBlockLine FlatBlock[] = { { false, 0, -2 }, { true, 0, -1 }, { false, 1, 0 }, { true, 1, 1 } };
constexpr TBlockLine BoxBlock[] = { { false, 0, -3 }, { true, 0, -2 }, { false, 1, -1 }, { true, 1, 0 },
    { false, 2, 1 }, { true, 2, 2 } };

TZORPto Pto(const QPointF& p)
{
    return { Round(p.x()), Round(p.y()) };
}

QString FontFace()
{
    return QStringLiteral("Arial");
}

TPackageFont Font(float height, int32_t baseHeight, const TZORTextMetrics& m, int32_t scale)
{
    return { height, baseHeight, m.Ratio, double(m.Ascent) * scale, double(m.Descent) * scale };
}

// A caption whose text box has its top-left corner at `topLeft`, reading along X or, `upward`,
// from bottom to top. The screen draws it from its baseline, an ascent below its top edge.
TZORCaption Caption(
    const QString& text, const TPackageFont& font, TAlphaColor color, const QPointF& topLeft, bool upward)
{
    TZORCaption c;
    c.Text = text;
    c.FontName = FontFace();
    c.FontHeight = font.Height;
    c.Ratio = font.Ratio;
    c.Color = color;
    c.PrintPos = Pto(topLeft);
    c.DrawPos = Pto(topLeft + (upward ? QPointF(font.Ascent, 0.0) : QPointF(0.0, font.Ascent)));
    c.Angle = upward ? -float(std::numbers::pi / 2.0) : 0.0f;
    return c;
}

std::vector<TZORCaption> SizeBlock(
    const TZORBasePackage& p, int32_t scale, const TPackageFont& font, const TTextWidth& width)
{
    const std::array<QString, 3> names = { p.GetNameWidth(), p.GetNameLength(), p.GetNameHeight() };
    const std::array<QString, 3> values
        = { SizeText(p, p.GetSizeWidth()), SizeText(p, p.GetSizeLength()), SizeText(p, p.GetSizeHeight()) };
    const std::span<const TBlockLine> lines = p.IsFlat() ? std::span<const TBlockLine>(FlatBlock) : BoxBlock;
    // Every name widens the name column, the height's even when the box is flat.
    double nameWidth = 0.0, valueWidth = 0.0;
    for (const QString& name : names)
        nameWidth = std::max(nameWidth, width(name, font));
    for (const TBlockLine& line : lines)
        if (line.Value)
            valueWidth = std::max(valueWidth, width(values[size_t(line.Size)], font));

    const TZORPto& corner = p.GetPoint(1);
    const TZORRect bounds = p.GetBounds().Normalized();
    const double nameX = double(corner.X) + NameIndent * scale;
    const double shareX = double(corner.X + Round(SizeBlockShare * double(bounds.GetWidth())));
    // Values are right-aligned on the share's edge, or further right when the names need it.
    const double valueX = std::max(shareX, nameX + nameWidth + NameGap * scale + valueWidth);
    const double middle = double(corner.Y + Round(0.5 * double(bounds.GetHeight())));
    const double h = font.TextHeight();
    std::vector<TZORCaption> block;
    for (const TBlockLine& line : lines) {
        const QString& text = line.Value ? values[size_t(line.Size)] : names[size_t(line.Size)];
        const double x = line.Value ? valueX - width(text, font) : nameX;
        TZORCaption c = Caption(text, font, p.GetFontColor(), { x, middle + line.Line * h }, false);
        c.DrawPos.Y = Round(middle + line.Line * ScreenLineSpacing * h + font.Ascent);
        block.push_back(c);
    }
    return block;
}

void FlatCaptions(TPackageLayout& L, const TZORBasePackage& p, int32_t scale, const TPackageFont& font,
    const TTextWidth& width)
{
    const QRectF& b = L.Box;
    const TZORFlatCaptions sizes = p.FlatCaptions(b.width(), b.height());
    const QString below = SizeText(p, sizes.Below), left = SizeText(p, sizes.Left);
    const double belowWidth = width(below, font), leftWidth = width(left, font);
    L.Captions.push_back(Caption(below, font, p.GetFontColor(),
        { b.center().x() - belowWidth / 2.0, b.bottom() + font.Descent }, false));
    // On paper the upright caption's text box ends on the box's edge; the screen leaves a gap.
    TZORCaption upright = Caption(left, font, p.GetFontColor(),
        { b.left() - font.TextHeight(), b.center().y() + leftWidth / 2.0 }, true);
    upright.DrawPos.X = Round(b.left() - font.Descent - LeftCaptionGap * scale);
    L.Captions.push_back(upright);
}

void FlatHoles(TPackageLayout& L, const TZORBasePackage& p)
{
    const QRectF& b = L.Box;
    QPointF at, to;
    for (int32_t i = 0; i < p.GetNumDrills(); ++i) {
        const TDrillPoint& hole = p.GetDrillPoint(i);
        if (!p.MapPoint(b, hole.X, hole.Y, at))
            return;
        const double d = p.MapLength(b, hole.Diameter);
        L.Holes.push_back(QRectF(at.x() - d / 2.0, at.y() - d / 2.0, d, d));
    }
    for (int32_t i = 0; i < p.GetNumSlots(); ++i) {
        const TSlot& slot = p.GetSlot(i);
        if (!p.MapPoint(b, slot.X1, slot.Y1, at) || !p.MapPoint(b, slot.X2, slot.Y2, to))
            return;
        L.Slots.push_back(CalculateSlotPolygon(at.x(), at.y(), to.x(), to.y(), p.MapLength(b, slot.Width)));
    }
}

void LayoutFlat(TPackageLayout& L, const TZORBasePackage& p, const TZORRect& r, int32_t scale,
    const TPackageFont& font, const TTextWidth& width)
{
    const TZORRect box = TDraw2D::CenteredRect(p.GetSizeWidth(), p.GetSizeLength(), r);
    L.Box = QRectF(double(box.Left), double(box.Top), double(box.GetWidth()), double(box.GetHeight()));
    if (!(L.Box.width() > 0.0 && L.Box.height() > 0.0))
        return;
    L.Shown = true;
    const TZORPackageStyle style = p.GetStyle();
    if (style != TZORPackageStyle::Holes)
        FlatCaptions(L, p, scale, font, width);
    if (style == TZORPackageStyle::Holes || style == TZORPackageStyle::HolesCaptions)
        FlatHoles(L, p);
}

void LayoutIsometric(TPackageLayout& L, const TZORBasePackage& p, const TZORRect& r, const TPackageFont& font,
    const TTextWidth& width)
{
    TZORIsometric iso;
    const QRectF area(double(r.Left), double(r.Top), double(r.GetWidth()), double(r.GetHeight()));
    if (!p.FitIsometric(area, iso))
        return;
    L.Shown = true;
    L.Flat = false;
    std::array<QPointF, 8> corner;
    for (size_t k = 0; k < corner.size(); ++k)
        corner[k] = iso.Project(
            k & 1 ? p.GetSizeWidth() : 0.0, k & 2 ? p.GetSizeLength() : 0.0, k & 4 ? p.GetSizeHeight() : 0.0);
    for (size_t f = 0; f < FaceCorners.size(); ++f)
        for (size_t i = 0; i < 4; ++i)
            L.Faces[f][i] = corner[FaceCorners[f][i]];
    for (size_t e = 0; e < EdgeCorners.size(); ++e)
        L.Edges[e] = QLineF(corner[EdgeCorners[e][0]], corner[EdgeCorners[e][1]]);

    const TAlphaColor color = p.GetFontColor();
    const QString height = SizeText(p, p.GetSizeHeight()), length = SizeText(p, p.GetSizeLength()),
                  across = SizeText(p, p.GetSizeWidth());
    // The height reads upward beside the front right edge, the length ends under the bottom
    // left edge's middle, the width starts under the bottom right edge's middle.
    const QPointF right = (corner[1] + corner[5]) / 2.0;
    const QPointF leftEdge = (corner[4] + corner[6]) / 2.0, rightEdge = (corner[4] + corner[5]) / 2.0;
    L.Captions.push_back(
        Caption(height, font, color, { corner[1].x(), right.y() + width(height, font) / 2.0 }, true));
    L.Captions.push_back(
        Caption(length, font, color, { leftEdge.x() - width(length, font), leftEdge.y() }, false));
    L.Captions.push_back(Caption(across, font, color, rightEdge, false));
}

} // namespace

TPackageFont SizesFont(const TZORBasePackage& p, int32_t scale)
{
    return Font(p.GetFontHeightSizes(), p.GetBaseFontHeightSizes(), p.GetSizesMetrics(), scale);
}

TPackageFont BoxFont(const TZORBasePackage& p, int32_t scale)
{
    return Font(p.GetFontHeightBox(), p.GetBaseFontHeightBox(), p.GetBoxMetrics(), scale);
}

double MeasuredWidth(const QString& text, const TPackageFont& font, int32_t scale)
{
    if (text.isEmpty())
        return 0.0;
    int ascent = 0, descent = 0, width = 0;
    double ratio = 1.0;
    TZORCalc::FontSettings(text, FontFace(), font.BaseHeight, false, false, ascent, descent, width, ratio);
    return double(width) * scale;
}

QString SizeText(const TZORBasePackage& p, float size)
{
    return FormatFloat(p.GetFormat().isEmpty() ? QStringLiteral("0") : p.GetFormat(), double(size));
}

TPackageLayout LayoutPackage(const TZORBasePackage& p, int32_t scale, const TTextWidth& width)
{
    TPackageLayout L;
    const TPackageFont sizes = SizesFont(p, scale);
    if (p.HasSizeBlock())
        L.SizeBlock = SizeBlock(p, scale, sizes, width);
    const TZORRect r = p.ContentRect();
    if (!(r.GetWidth() > 0 && r.GetHeight() > 0))
        return L;
    // Style 5 captions its box in the sizes font.
    const TPackageFont font = p.GetStyle() == TZORPackageStyle::HolesCaptions ? sizes : BoxFont(p, scale);
    if (p.IsFlat())
        LayoutFlat(L, p, r, scale, font, width);
    else
        LayoutIsometric(L, p, r, font, width);
    return L;
}

} // namespace zor
