#include "Zor.Json.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Lines.PackageGeometry.h"
#include "Zor.Vcl.Lines.h"
#include "Zor.Version.h"

#include <array>
#include <span>
#include <vector>

using zor::TGPGraphicsPath;

namespace {

// Line widths of the box, millimetres on paper: the screen's flat outline and every isometric
// line, the paper's flat outline; the paper strokes holes two device pixels wide.
constexpr float ScreenBoxPen = 0.2f;
constexpr float PaperBoxPen = 0.5f;
constexpr float IsometricPen = 0.2f;
constexpr double PaperHolePixels = 2.0;

TZORTextMetrics MeasureFont(int32_t height)
{
    TZORTextMetrics m;
    int underline = 0, cell = 0;
    TZORCalc::FontSettings(
        QStringLiteral("Arial"), height, false, false, m.Ascent, m.Descent, underline, cell, m.Ratio);
    return m;
}

// The frame is a rectangle's, drawn by the rectangle's own renderer.
void PaintFrame(const TZORBasePackage& box, TZORBaseDraw& D, zor::TZORTarget target)
{
    TZORRectangle frame(box.GetOwner(), false);
    frame.AssignPoints(std::vector { box.GetPoint(1), box.GetPoint(2) });
    frame.SetColor(box.GetColor());
    frame.SetPenWidth(box.GetPenWidth());
    frame.SetLineType(box.GetLineType());
    frame.SetItemState(box.GetItemState());
    frame.SetFilled(box.GetFilled());
    frame.SetBackColor(box.GetBackColor());
    frame.SetBaseRadio(box.GetBaseRadio());
    if (target == zor::TZORTarget::Screen)
        frame.Draw(D);
    else
        frame.Print(D);
}

// A point of the layout (base units) on the painter's device.
QPointF Device(const zor::TZORPainter& P, const QPointF& base)
{
    return P.At({ zor::Round(base.x()), zor::Round(base.y()) });
}

std::vector<QPointF> Device(const zor::TZORPainter& P, std::span<const QPointF> corners)
{
    std::vector<QPointF> points;
    for (const QPointF& c : corners)
        points.push_back(Device(P, c));
    return points;
}

bool FilledStyle(TZORPackageStyle style)
{
    return style == TZORPackageStyle::Filled || style == TZORPackageStyle::FilledSizes;
}

void PaintFlatBox(zor::TZORPainter& P, const TZORBasePackage& box, const zor::TPackageLayout& L)
{
    TGPGraphicsPath path;
    path.AddRectangle(QRectF(Device(P, L.Box.topLeft()), Device(P, L.Box.bottomRight())));
    if (FilledStyle(box.GetStyle())) {
        P.Fill(path, box.GetBoxColor());
        return;
    }
    P.Stroke(path, { box.GetBoxColor(), P.OnScreen() ? ScreenBoxPen : PaperBoxPen });
}

void PaintIsometricBox(zor::TZORPainter& P, const TZORBasePackage& box, const zor::TPackageLayout& L)
{
    // The screen draws these lines solid, the paper in the element's line type.
    const TZORineType lineType = P.OnScreen() ? TZORineType::Solid : box.GetLineType();
    if (FilledStyle(box.GetStyle())) {
        for (const auto& face : L.Faces) {
            TGPGraphicsPath path;
            path.AddPolygon(Device(P, face));
            P.Fill(path, box.GetBoxColor());
            P.Stroke(path, { box.GetColor(), IsometricPen, lineType });
        }
        return;
    }
    TGPGraphicsPath edges;
    for (const QLineF& edge : L.Edges) {
        const QPointF a = Device(P, edge.p1()), b = Device(P, edge.p2());
        edges.StartFigure();
        edges.AddLine(a.x(), a.y(), b.x(), b.y());
    }
    P.Stroke(edges, { box.GetBoxColor(), IsometricPen, lineType });
}

// Drill holes and slots: dotted hairlines on screen, solid lines two pixels wide on paper.
void PaintHoles(zor::TZORPainter& P, const TZORBasePackage& box, const zor::TPackageLayout& L)
{
    if (L.Holes.empty() && L.Slots.empty())
        return;
    TGPGraphicsPath path;
    for (const QRectF& hole : L.Holes) {
        const QRectF d(Device(P, hole.topLeft()), Device(P, hole.bottomRight()));
        path.AddEllipse(d.x(), d.y(), d.width(), d.height());
    }
    for (const auto& slot : L.Slots)
        path.AddPolygon(Device(P, slot));
    if (P.OnScreen()) {
        P.Stroke(path, { box.GetBoxColor(), 0.0f, TZORineType::Dot });
        return;
    }
    const double perMM = P.Pixels(1.0);
    P.Stroke(path, { box.GetBoxColor(), perMM > 0.0 ? float(PaperHolePixels / perMM) : 0.0f });
}

} // namespace

void TZORPackage::CalcValues(int16_t aFlag)
{
    TZORBasePackage::CalcValues(aFlag);
    SetSizesMetrics(MeasureFont(GetBaseFontHeightSizes()));
    SetBoxMetrics(MeasureFont(GetBaseFontHeightBox()));
}

void TZORPackage::Print(TZORBaseDraw& D) const
{
    if (FillType() == 0 || !GetOwner())
        return Paint(D, zor::TZORTarget::Print);
    // A bound box prints the sizes of its record from a copy: printing never changes what the
    // user set, nor the box other labels of the sheet (or other threads) draw. A value without
    // sizes leaves the box's own (SetDat answers false).
    TZORPackage shown(GetOwner(), false);
    shown.ReadJson(ZORFileVersion, WriteJson());
    shown.AfterRead();
    shown.CalcValues(0);
    shown.SetDat(D.DataValue(GetOwner(), FillName(), GetFormat(), FillType()));
    shown.Paint(D, zor::TZORTarget::Print);
}

void TZORPackage::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    PaintFrame(*this, D, target);
    zor::TZORPainter P(D, target);
    const int32_t scale = DrawScale();
    const zor::TPackageLayout L
        = zor::LayoutPackage(*this, scale, [scale](const QString& text, const zor::TPackageFont& font) {
              return zor::MeasuredWidth(text, font, scale);
          });
    // The block comes first: a box reaching into its strip covers it.
    for (const zor::TZORCaption& line : L.SizeBlock)
        P.Caption(line);
    if (!L.Shown)
        return;
    if (L.Flat)
        PaintFlatBox(P, *this, L);
    else
        PaintIsometricBox(P, *this, L);
    for (const zor::TZORCaption& caption : L.Captions)
        P.Caption(caption);
    PaintHoles(P, *this, L);
}
