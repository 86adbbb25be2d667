#include "Zor.Vcl.Flow.h"

#include "Zor.Utils.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <optional>
#include <span>

using zor::TGPGraphicsPath;
using zor::TxtLines;

namespace zor {

namespace {

// Builds figures from the current point: quadratic curves become the cubic curves that trace
// them exactly, so that every target draws the same curve.
class TFigure {
public:
    explicit TFigure(TGPGraphicsPath& path)
        : fPath(path)
    {
    }

    TFigure& Move(double x, double y)
    {
        fPath.StartFigure();
        fAt = QPointF(x, y);
        return *this;
    }
    TFigure& Line(double x, double y)
    {
        fPath.AddLine(fAt.x(), fAt.y(), x, y);
        fAt = QPointF(x, y);
        return *this;
    }
    TFigure& Quad(double cx, double cy, double x, double y)
    {
        const QPointF c(cx, cy), e(x, y);
        return Cubic(fAt + (c - fAt) * (2.0 / 3.0), e + (c - e) * (2.0 / 3.0), e);
    }
    TFigure& Cubic(const QPointF& c1, const QPointF& c2, const QPointF& e)
    {
        fPath.AddBezier(fAt, c1, c2, e);
        fAt = e;
        return *this;
    }
    void Close() { fPath.CloseFigure(); }

private:
    TGPGraphicsPath& fPath;
    QPointF fAt;
};

// Shapes that are polygons, as fractions of the box's width and height from its top-left corner.
struct TCorner {
    double X;
    double Y;
};
struct TPolygonShape {
    TZORFlowType Type;
    size_t Count;
    std::array<TCorner, 6> Corners;
};

constexpr std::array<TPolygonShape, 6> PolygonShapes = { {
    { TZORFlowType::Decision, 4, { { { 0.5, 0 }, { 1, 0.5 }, { 0.5, 1 }, { 0, 0.5 } } } },
    { TZORFlowType::InputOutput, 4, { { { 0.125, 0 }, { 1, 0 }, { 0.875, 1 }, { 0, 1 } } } },
    { TZORFlowType::ManualInput, 4, { { { 0, 0.125 }, { 1, 0 }, { 1, 1 }, { 0, 1 } } } },
    { TZORFlowType::ManualOperation, 4, { { { 0, 0 }, { 1, 0 }, { 0.875, 1 }, { 0.125, 1 } } } },
    { TZORFlowType::Preparation, 6,
        { { { 0.25, 0 }, { 0.75, 0 }, { 1, 0.5 }, { 0.75, 1 }, { 0.25, 1 }, { 0, 0.5 } } } },
    { TZORFlowType::Subroutine, 6,
        { { { 0, 0 }, { 0.875, 0 }, { 1, 0.5 }, { 0.875, 1 }, { 0, 1 }, { 0.125, 0.5 } } } },
} };

// The box's edges and sides, device pixels.
struct TBox {
    double L, T, R, B, W, H;

    explicit TBox(const QRectF& r)
        : L(r.left())
        , T(r.top())
        , R(r.right())
        , B(r.bottom())
        , W(r.width())
        , H(r.height())
    {
    }
};

// The bottom edge of a document: a wave below the edge in its left half and above it in its
// right half, from the left edge to `right`.
void Wave(TFigure& f, const TBox& b, double right)
{
    f.Move(b.L, b.B)
        .Quad(b.L + b.W / 4, b.B + b.H / 6, b.L + b.W / 2, b.B)
        .Quad(b.R - b.W / 4, b.B - b.H / 6, right, b.B);
}

void MultiDocument(TGPGraphicsPath& path, const TBox& b)
{
    const double m = b.W / 30, m2 = 2 * m;
    TFigure f(path);
    // The strips of the two sheets behind, then the front sheet.
    f.Move(b.L + m2, b.T).Line(b.R, b.T).Line(b.R, b.B - m2).Line(b.R - m, b.B - m2).Line(b.R - m, b.T + m);
    f.Line(b.L + m2, b.T + m).Close();
    f.Move(b.L + m, b.T + m).Line(b.R - m, b.T + m).Line(b.R - m, b.B - m).Line(b.R - m2, b.B - m);
    f.Line(b.R - m2, b.T + m2).Line(b.L + m, b.T + m2).Close();
    Wave(f, b, b.R - m2);
    f.Line(b.R - m2, b.T + m2).Line(b.L, b.T + m2).Close();
}

// The figures of the shapes with curves or several figures.
void CurvedShape(TGPGraphicsPath& path, TZORFlowType type, const TBox& b)
{
    TFigure f(path);
    switch (type) {
    case TZORFlowType::Document:
        Wave(f, b, b.R);
        f.Line(b.R, b.T).Line(b.L, b.T).Close();
        break;
    case TZORFlowType::MultiDocument:
        MultiDocument(path, b);
        break;
    case TZORFlowType::Database: {
        const double m2 = b.H / 20;
        f.Move(b.L, b.B - m2).Line(b.L, b.T + m2).Quad(b.L + b.W / 2, b.T - m2, b.R, b.T + m2);
        f.Line(b.R, b.B - m2).Quad(b.L + b.W / 2, b.B + m2, b.L, b.B - m2).Close();
        break;
    }
    case TZORFlowType::StartEnd:
        f.Move(b.L + b.W / 8, b.T).Line(b.R - b.W / 8, b.T).Line(b.R, b.T + b.H / 2).Line(b.R - b.W / 8, b.B);
        f.Line(b.L + b.W / 8, b.B)
            .Cubic({ b.L, b.B - b.H / 4 }, { b.L, b.T + b.H / 4 }, { b.L + b.W / 8, b.T })
            .Close();
        break;
    case TZORFlowType::LoopStop:
        f.Move(b.L, b.T).Line(b.R - b.W / 8, b.T);
        f.Cubic({ b.R, b.T + b.H / 4 }, { b.R, b.B - b.H / 4 }, { b.R - b.W / 8, b.B });
        f.Line(b.L, b.B).Line(b.L + b.W / 8, b.T + b.H / 2).Close();
        break;
    default:
        break;
    }
}

TGPGraphicsPath ShapePath(TZORFlowType type, const QRectF& box)
{
    const TBox b(box);
    TGPGraphicsPath path;
    const auto polygon = std::find_if(PolygonShapes.begin(), PolygonShapes.end(),
        [type](const TPolygonShape& s) { return s.Type == type; });
    if (polygon != PolygonShapes.end()) {
        std::vector<QPointF> corners;
        for (const TCorner& c : std::span(polygon->Corners).first(polygon->Count))
            corners.emplace_back(b.L + c.X * b.W, b.T + c.Y * b.H);
        path.AddPolygon(corners);
        return path;
    }
    switch (type) {
    case TZORFlowType::Terminal: {
        // Semicircular ends on the shorter sides.
        const double r = std::min(b.W, b.H) / 2;
        return RoundedBox(box, r, r);
    }
    case TZORFlowType::Process:
    case TZORFlowType::Link:
        path.AddRectangle(box);
        break;
    case TZORFlowType::Connector:
        path.AddEllipse(b.L, b.T, b.W, b.H);
        break;
    default:
        CurvedShape(path, type, b);
        break;
    }
    return path;
}

// Where the line square to a side of the shape's box at `at` (along X for the top and bottom,
// along Y for the left and right) first meets the shape's outline coming in from that side:
// the crossing nearest the side, outside the box too where the outline leaves it (a document's
// wave). None when the line misses the shape.
std::optional<double> FirstCrossing(const QPainterPath& shape, int32_t side, double at)
{
    const bool vertical = side == TZORBaseFlow::TopAnchor || side == TZORBaseFlow::BottomAnchor;
    const bool fromLow = side != TZORBaseFlow::RightAnchor && side != TZORBaseFlow::BottomAnchor;
    const auto along = [vertical](const QPointF& p) { return vertical ? p.x() : p.y(); };
    const auto across = [vertical](const QPointF& p) { return vertical ? p.y() : p.x(); };
    std::optional<double> first;
    const auto take = [&](double c) {
        if (!first || (fromLow ? c < *first : c > *first))
            first = c;
    };
    for (const QPolygonF& polygon : shape.toSubpathPolygons()) {
        for (qsizetype i = 0; i < polygon.size(); ++i) {
            const QPointF& p = polygon[i];
            const QPointF& q = polygon[(i + 1) % polygon.size()];
            const double u = along(p) - at, v = along(q) - at;
            if (u * v > 0.0)
                continue;
            if (u == v) {
                take(across(p));
                take(across(q));
            } else
                take(across(p) + (across(q) - across(p)) * u / (u - v));
        }
    }
    return first;
}

} // namespace

void AddLinkBars(TGPGraphicsPath& path, const QRectF& b)
{
    for (const double x : { b.left() + b.width() / 15, b.right() - b.width() / 15 }) {
        path.StartFigure();
        path.AddLine(x, b.top(), x, b.bottom());
    }
}

TZORFlowPaths FlowPaths(TZORFlowType type, const QRectF& box)
{
    const QRectF b = box.normalized();
    TZORFlowPaths paths { ShapePath(type, b), ShapePath(type, b) };
    // A link's bars a fifteenth of the width inside its sides belong to the outline.
    if (type == TZORFlowType::Link)
        AddLinkBars(paths.Outline, b);
    return paths;
}

} // namespace zor

TZORPto TZORFlow::GetAnchorAlong(int32_t index, float along) const
{
    TZORPto p = TZORBaseFlow::GetAnchorAlong(index, along);
    const TZORFlowType type = GetFlowType();
    if (along == TZORBaseLink::MiddleAlong || type == TZORFlowType::Process || type == TZORFlowType::Link)
        return p;
    const TZORPto& a = GetPoint(1);
    const TZORPto& b = GetPoint(2);
    const QRectF box = QRectF(QPointF(a.X, a.Y), QPointF(b.X, b.Y)).normalized();
    const bool vertical = index == TopAnchor || index == BottomAnchor;
    const std::optional<double> at
        = zor::FirstCrossing(zor::ShapePath(type, box).Path(), index, vertical ? p.X : p.Y);
    if (at)
        (vertical ? p.Y : p.X) = std::llround(*at);
    return p;
}

TxtLines TZORFlow::LayOut(TZORFontMetrics& metrics) const
{
    metrics = zor::FontMetricsOf(GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic());
    TxtLines lines;
    // A box with no room inside its paddings holds no text (a height of 0 would mean no limit).
    if (GetText().isEmpty() || TextWidth() <= 0 || TextHeight() <= 0)
        return lines;
    const auto clamp = [](int64_t v) { return static_cast<int>(std::min<int64_t>(v, INT32_MAX)); };
    // The paddings are the box's own: the lines fill the padded box from its corner.
    TZORCalc::CalcFlowTxtPoints(
        GetText(), nullptr, lines, clamp(TextWidth()), clamp(TextHeight()), 0, 0, GetFlowType(), GetScaleX());
    return lines;
}

void TZORFlow::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORElementPainter P(D, target);
    const QRectF box = P.Box(GetPoint(1), GetPoint(2)).normalized();
    const zor::TZORFlowPaths paths = zor::FlowPaths(GetFlowType(), box);
    P.FillThenOutline(paths.Shape, paths.Outline, zor::FigurePaint(*this, target, true));
    // Without an outline, paper still shows a link's bars, as hairlines in the line colour.
    if (target == zor::TZORTarget::Print && GetFlowType() == TZORFlowType::Link && GetPenWidth() <= 0.0f) {
        TGPGraphicsPath bars;
        zor::AddLinkBars(bars, box);
        P.Stroke(bars, { GetColor(), 0.0f, TZORineType::Solid, TZORItemState::Normal, false });
    }
    PaintText(P, box);
}

void TZORFlow::PaintText(zor::TZORElementPainter& P, const QRectF& box) const
{
    if (GetText().isEmpty())
        return;
    TZORFontMetrics metrics;
    const TxtLines lines = LayOut(metrics);
    const zor::TZORTurn turn
        = zor::TurnBox(box, P.MMX(GetPaddingX()), P.MMY(GetPaddingY()), TZORAngle::Angle0);
    zor::PaintLines(P, turn, GetText(), lines, zor::LinesFontOf(*this, metrics));
}
