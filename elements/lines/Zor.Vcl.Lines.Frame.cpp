#include "Zor.Vcl.Lines.Frame.h"

#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Shared.Screen.h"
#include "drawing/Zor.Vcl.Shared.Terms.h"

#include <algorithm>

namespace zor {

namespace {

// Arrow heads of every line end of these kinds open by π / 8 to each side.
constexpr int16_t LineEndOpening = 8;
// One join for both targets: the screen's and the printer's defaults differ (4 and 10), which
// would cut sharp corners of a thick outline on one and not on the other.
constexpr float MiterLimit = 4.0f;

} // namespace

TZORStroke TZORStroke::Of(const TZORBaseItem& item, bool roundCap)
{
    return { item.GetColor(), item.GetPenWidth(), item.GetLineType(), item.GetItemState(), roundCap };
}

TZORFigurePaint FigurePaint(const TZOR2DItem& item, TZORTarget target, bool alphaTest)
{
    TZORFigurePaint how;
    const bool seen = target == TZORTarget::Print || !alphaTest || item.Alpha() > 0;
    if (item.GetFilled() && seen)
        how.Fill = item.GetBackColor();
    if (item.GetPenWidth() > 0.0f)
        how.Outline = TZORStroke::Of(item);
    return how;
}

TZORPainter::TZORPainter(TZORBaseDraw& D, TZORTarget target)
    : fD(static_cast<TZORDraw&>(D))
    , fTarget(target)
{
    if (fD.kP)
        fPaint = *fD.kP;
    if (fD.aP)
        fPen = *fD.aP;
    if (fD.aB)
        fBrush = *fD.aB;
}

TZORPainter::~TZORPainter()
{
    if (fPaint && fD.kP)
        *fD.kP = *fPaint;
    if (fPen && fD.aP)
        *fD.aP = *fPen;
    if (fBrush && fD.aB)
        *fD.aB = *fBrush;
}

bool TZORPainter::CanPaint() const
{
    return OnScreen() ? fD.kC && fD.kP : fD.aG && fD.aP && fD.aB;
}

QPointF TZORPainter::At(const TZORPto& p) const
{
    if (OnScreen())
        return { fD.fOrgFX + p.DrawX(fD), fD.fOrgFY + p.DrawY(fD) };
    return { fD.fOrgX + p.DrawX(fD), fD.fOrgY + p.DrawY(fD) };
}

QPointF TZORPainter::AtWhole(const TZORPto& p) const
{
    if (OnScreen())
        return At(p);
    return QPointF(fD.fOrgX + p.PrintX(fD), fD.fOrgY + p.PrintY(fD));
}

std::vector<QPointF> TZORPainter::Points(const TZORBaseItem& item) const
{
    std::vector<QPointF> points;
    for (int32_t i = 1; i <= item.NumPoints(); ++i)
        points.push_back(At(item.GetPoint(i)));
    return points;
}

double TZORPainter::Pixels(double mm) const
{
    return OnScreen() ? BasePtoY(mm, fD) : DrawBasePtoX(mm, fD);
}

void TZORPainter::ApplyScreenStroke(const TZORStroke& stroke)
{
    TSkPaint& paint = *fD.kP;
    paint.SetColor(stroke.Color);
    paint.SetStrokeCap(stroke.RoundCap ? TSkStrokeCap::Round : TSkStrokeCap::Butt);
    paint.SetStrokeJoin(TSkStrokeJoin::Miter);
    paint.SetStrokeMiter(MiterLimit);
    paint.SetStrokeWidth(Pixels(stroke.PenWidth));
    AdjustLineType(fD, stroke.LineType, stroke.ItemState);
    paint.SetAntiAlias(stroke.AntiAlias);
}

void TZORPainter::ApplyPrintStroke(const TZORStroke& stroke)
{
    TGPPen& pen = *fD.aP;
    AdjustPrintLineType(fD, stroke.PenWidth, stroke.LineType);
    pen.SetDashOffset(0.0f);
    const TLineCap cap = stroke.RoundCap ? TLineCap::Round : TLineCap::Flat;
    pen.SetStartCap(cap);
    pen.SetEndCap(cap);
    pen.SetLineJoin(TLineJoin::Miter);
    pen.SetMiterLimit(MiterLimit);
    pen.SetColor(AlphaColorToGPColor(stroke.Color));
    pen.SetWidth(static_cast<float>(Pixels(stroke.PenWidth)));
}

void TZORPainter::Stroke(const TGPGraphicsPath& path, const TZORStroke& stroke)
{
    if (!CanPaint())
        return;
    if (OnScreen()) {
        ApplyScreenStroke(stroke);
        fD.kC->DrawPath(path.Path(), *fD.kP);
        return;
    }
    ApplyPrintStroke(stroke);
    fD.aG->DrawPath(*fD.aP, path);
    fD.aP->SetDashStyle(TDashStyle::Solid);
}

void TZORPainter::Fill(const TGPGraphicsPath& path, TAlphaColor color)
{
    if (!CanPaint())
        return;
    if (OnScreen()) {
        TSkPaint& paint = *fD.kP;
        paint.SetPathEffect({});
        paint.SetAntiAlias(true);
        paint.SetColor(color);
        paint.SetStyle(TSkPaintStyle::Fill);
        fD.kC->DrawPath(path.Path(), paint);
        return;
    }
    fD.aB->SetColor(AlphaColorToGPColor(color));
    fD.aG->FillPath(*fD.aB, path);
}

void TZORPainter::FillThenOutline(const TGPGraphicsPath& shape, const TZORFigurePaint& how)
{
    FillThenOutline(shape, shape, how);
}

void TZORPainter::FillThenOutline(
    const TGPGraphicsPath& shape, const TGPGraphicsPath& outline, const TZORFigurePaint& how)
{
    if (how.Fill)
        Fill(shape, *how.Fill);
    if (how.Outline)
        Stroke(outline, *how.Outline);
}

void TZORPainter::LineEnd(
    const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip, const QPointF& from)
{
    PaintLineEnd(end, stroke, tip, from, false);
}

void TZORPainter::LineEndByAngle(
    const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip, double angle)
{
    PaintLineEnd(end, stroke, tip, QPointF(angle, 0.0), true);
}

void TZORPainter::PaintLineEnd(
    const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip, const QPointF& dir, bool byAngle)
{
    if (end.Kind == TZORTermType::None || !CanPaint())
        return;
    // The symbol's outline takes the line's colour and pen whether or not the line was stroked
    // just before (a curve of pen width 0 still shows its ends).
    const double half = Pixels(end.Size) / 2.0;
    if (OnScreen()) {
        ApplyScreenStroke(stroke);
        DrawTermType(fD, end.Kind, stroke.Color, end.FillColor, static_cast<float>(half),
            static_cast<float>(tip.x()), static_cast<float>(tip.y()), static_cast<float>(dir.x()),
            static_cast<float>(dir.y()), LineEndOpening, byAngle);
        return;
    }
    ApplyPrintStroke(stroke);
    fD.aB->SetColor(AlphaColorToGPColor(end.FillColor));
    PrintTermType(fD, end.Kind, tip, dir, static_cast<int32_t>(Round(half)), LineEndOpening, byAngle);
}

void TZORPainter::Caption(const TZORCaption& caption)
{
    if (caption.Text.isEmpty())
        return;
    if (OnScreen())
        ScreenCaption(caption);
    else
        PrintCaption(caption);
}

void TZORPainter::ScreenCaption(const TZORCaption& caption)
{
    if (!CanPaint())
        return;
    const TSkFont font(caption.FontName, GetFontStyle(caption.Bold, caption.Italic),
        caption.FontHeight * double(fD.fPixMM) * caption.Ratio);
    // A plain fill: a stroke around the glyphs would take whatever width the paint last had.
    TSkPaint& paint = *fD.kP;
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Fill);
    paint.SetAntiAlias(true);
    paint.SetColor(caption.Color);
    const QPointF at = At(caption.DrawPos);
    TSkCanvas& canvas = *fD.kC;
    canvas.Save();
    canvas.Translate(at.x(), at.y());
    if (caption.Angle != 0.0f)
        canvas.Rotate(RadToDeg(caption.Angle));
    canvas.DrawSimpleText(caption.Text, 0.0, 0.0, font, paint);
    canvas.Restore();
}

void TZORPainter::PrintCaption(const TZORCaption& caption)
{
    if (!fD.aC)
        return;
    TCanvas& canvas = *fD.aC;
    const TFont kept = canvas.Font;
    const uint32_t keptAlign = canvas.SetTextAlign(TA_LEFT | TA_TOP);
    canvas.Font.Name = caption.FontName;
    canvas.Font.Height = -static_cast<int>(Trunc(caption.FontHeight * double(fD.fPixMM) * caption.Ratio));
    canvas.Font.Style = { caption.Bold, caption.Italic, caption.Underline, false };
    canvas.Font.Color = AlphaColorToColor(caption.Color);
    // GDI counts tenths of a degree counter-clockwise; the caption's angle turns clockwise.
    canvas.Font.Escapement
        = caption.Angle != 0.0f ? static_cast<int>(Round(RadToDeg(caption.Angle) * -10.0)) : 0;
    const QPointF at = AtWhole(caption.PrintPos);
    canvas.TextOut(at.x(), at.y(), caption.Text);
    canvas.Font = kept;
    canvas.SetTextAlign(keptAlign);
}

TGPGraphicsPath RoundedBox(const QRectF& box, double rx, double ry)
{
    const QRectF b = box.normalized();
    TGPGraphicsPath path;
    // Radii too large for the box shrink by one factor, so that the corners keep their shape: a
    // radius beyond half the shorter side still gives round corners, not an ellipse.
    rx = std::max(rx, 0.0);
    ry = std::max(ry, 0.0);
    double fit = 1.0;
    if (2.0 * rx > b.width())
        fit = b.width() / (2.0 * rx);
    if (2.0 * ry > b.height())
        fit = std::min(fit, b.height() / (2.0 * ry));
    rx *= fit;
    ry *= fit;
    if (rx <= 0.0 || ry <= 0.0) {
        path.AddRectangle(b);
        return path;
    }
    const double dx = 2.0 * rx, dy = 2.0 * ry;
    path.AddArc(b.left(), b.top(), dx, dy, 180.0, 90.0);
    path.AddArc(b.right() - dx, b.top(), dx, dy, 270.0, 90.0);
    path.AddArc(b.right() - dx, b.bottom() - dy, dx, dy, 0.0, 90.0);
    path.AddArc(b.left(), b.bottom() - dy, dx, dy, 90.0, 90.0);
    path.CloseFigure();
    return path;
}

TZORTextMetrics MeasureCaption(
    const QString& text, const QString& font, int32_t height, bool bold, bool italic)
{
    TZORTextMetrics m;
    TZORCalc::FontSettings(text, font, height, bold, italic, m.Ascent, m.Descent, m.Width, m.Ratio);
    return m;
}

} // namespace zor
