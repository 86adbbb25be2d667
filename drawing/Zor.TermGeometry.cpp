#include "Zor.TermGeometry.h"

#include "Zor.Utils.h"

namespace zor {

namespace {

using TFigure = TTermGeometry::TFigure;

// The corners of the arrow head: tip, then the two wings.
std::vector<QPointF> ArrowCorners(
    const QPointF& tip, const TTermDirection& direction, double length, double opening)
{
    const TZORArrow head = direction.ByAngle ? TDraw2D::DrawArrow(tip, direction.Angle, length, opening)
                                             : TDraw2D::DrawArrow(direction.From, tip, length, opening);
    return { tip, head.Wing1, head.Wing2 };
}

// Top, right, bottom, left: the order in which the outline runs.
std::vector<QPointF> DiamondCorners(const QPointF& c, double r)
{
    return { { c.x(), c.y() - r }, { c.x() + r, c.y() }, { c.x(), c.y() + r }, { c.x() - r, c.y() } };
}

QLineF FallingTick(const QPointF& c, double r)
{
    return { c.x() - r, c.y() - r, c.x() + r, c.y() + r };
}

QLineF RisingTick(const QPointF& c, double r)
{
    return { c.x() + r, c.y() - r, c.x() - r, c.y() + r };
}

TTermGeometry Boxed(TFigure figure, const QPointF& c, double r)
{
    TTermGeometry g;
    g.Figure = figure;
    g.Box = QRectF(c.x() - r, c.y() - r, r + r, r + r);
    return g;
}

TTermGeometry Stroked(std::vector<QLineF> strokes)
{
    TTermGeometry g;
    g.Figure = TFigure::Strokes;
    g.Strokes = std::move(strokes);
    return g;
}

// A filled figure keeps its closed outline; an open one is drawn as the lines `open` gives.
TTermGeometry Cornered(bool filled, std::vector<QPointF> corners, std::vector<QLineF> open)
{
    if (!filled)
        return Stroked(std::move(open));
    TTermGeometry g;
    g.Figure = TFigure::Polygon;
    g.Outline = std::move(corners);
    return g;
}

TTermGeometry Shape(TTermSymbol symbol, const QPointF& tip, double r, const TTermDirection& direction,
    double headLength, double opening)
{
    switch (symbol.Shape) {
    case TTermShape::None:
        break;
    case TTermShape::Circle:
        return Boxed(TFigure::Ellipse, tip, r);
    case TTermShape::Square:
        return Boxed(TFigure::Rectangle, tip, r);
    case TTermShape::Arrow: {
        const std::vector<QPointF> p = ArrowCorners(tip, direction, headLength, opening);
        return Cornered(symbol.Filled, p, { { p[0], p[1] }, { p[0], p[2] } });
    }
    case TTermShape::Diamond: {
        const std::vector<QPointF> p = DiamondCorners(tip, r);
        return Cornered(symbol.Filled, p, { { p[0], p[1] }, { p[1], p[2] }, { p[2], p[3] }, { p[3], p[0] } });
    }
    case TTermShape::FallingTick:
        return Stroked({ FallingTick(tip, r) });
    case TTermShape::RisingTick:
        return Stroked({ RisingTick(tip, r) });
    case TTermShape::Cross:
        return Stroked({ FallingTick(tip, r), RisingTick(tip, r) });
    }
    return {};
}

} // namespace

TTermSymbol TermSymbol(TZORTermType kind)
{
    return Ord(kind) < TermSymbols.size() ? TermSymbols[Ord(kind)] : TTermSymbol {};
}

TTermGeometry TermGeometry(TZORTermType kind, const QPointF& tip, double half,
    const TTermDirection& direction, double headLength, double opening)
{
    const TTermSymbol symbol = TermSymbol(kind);
    TTermGeometry g = Shape(symbol, tip, half, direction, headLength, opening);
    g.Filled = symbol.Filled && g.Figure != TFigure::None;
    return g;
}

} // namespace zor
