#include "Zor.Dimsample.h"

#include "Zor.Base.h"
#include "Zor.Format.h"
#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <numbers>

using zor::TAlphaColor;
using zor::TDraw2D;

namespace {

constexpr int SampleDotsPerMetre = 3780; // 96 dots per inch
constexpr double HeadStrokeAngle = std::numbers::pi / 4;
const QColor PartColor(192, 192, 192);

QColor Col(TAlphaColor c)
{
    return QColor::fromRgba(zor::Ord(c));
}

// A pen of the colour, width and line type. The dash table is in pixels and Qt scales dash
// patterns by the pen width, so each entry is divided by it; a width of 0 (a hairline) has no
// length to divide by and draws solid, as does a type outside the table.
QPen LinePen(TAlphaColor colour, double width, TZORineType type)
{
    QPen pen(Col(colour));
    pen.setWidthF(width);
    pen.setCapStyle(Qt::SquareCap);
    const size_t t = zor::Ord(type);
    if (width > 0 && t < zor::DashTable.size() && zor::DashTable[t].Count > 0) {
        QList<qreal> pattern;
        for (size_t i = 0; i < zor::DashTable[t].Count; ++i)
            pattern << zor::DashTable[t].Units[i] / width;
        pen.setDashPattern(pattern);
    }
    return pen;
}

QPointF Unit(const QPointF& v)
{
    const double len = std::hypot(v.x(), v.y());
    return len > 0 ? v / len : QPointF();
}

QPointF Turned(const QPointF& v, double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    return { v.x() * c - v.y() * s, v.x() * s + v.y() * c };
}

// One dimension of the sample: the measured edge from a to b, the unit direction away from
// the part, the angle of its text in degrees and its value.
struct TSampleDim {
    QPointF a, b, out;
    double textAngle = 0;
    double value = 0;
    bool aligned = false; // the slanted edge: its line is never split
};

class TSample {
public:
    TSample(QPainter& g, const TZORDimStyle& s)
        : g(g)
        , s(s)
        , E(s.GetExtSize() * zor::DimSamplePixels)
        , G(s.GetExtGap() * zor::DimSamplePixels)
        , B(s.GetDimBreak() * zor::DimSamplePixels)
        , D(E - G)
        , S(s.GetHeadSize() * zor::DimSamplePixels)
    {
        QFont font(s.fFontName);
        font.setPointSizeF(std::max(0.1, double(s.GetFontHeight()) * zor::DimSampleFontFactor));
        font.setBold(s.fBold);
        font.setItalic(s.fItalic);
        g.setFont(font);
    }

    void Draw(const TSampleDim& d)
    {
        // The aligned dimension works on whole pixels, as its offsets do.
        const auto at = [&](const QPointF& p, double dist) {
            return d.aligned ? QPointF(std::round(p.x()), std::round(p.y())) + d.out * std::round(dist)
                             : p + d.out * dist;
        };
        g.setPen(LinePen(s.fExtColor, s.GetExtPenWidth() * zor::DimSamplePixels, TZORineType::Solid));
        g.drawLine(at(d.a, B), at(d.a, E));
        g.drawLine(at(d.b, B), at(d.b, E));
        const QPointF start = at(d.a, D), end = at(d.b, D);
        const QString text = zor::DimSampleText(s, d.value);
        const QFontMetricsF fm(g.font());
        const double w = fm.horizontalAdvance(text), h = fm.height();
        const QPointF mid = (start + end) / 2, along = Unit(end - start);
        g.setPen(LinePen(s.fDimColor, s.GetDimPenWidth() * zor::DimSamplePixels, s.fDimLineType));
        if (s.fTextPos == 3 && !d.aligned) {
            g.drawLine(start, mid - along * (w / 2));
            g.drawLine(mid + along * (w / 2), end);
        } else {
            g.drawLine(start, end);
        }
        Head(start, end);
        Head(end, start);
        Text(text, mid, d.textAngle, w, h, fm.ascent());
    }

private:
    void Head(const QPointF& p, const QPointF& towards)
    {
        g.setPen(LinePen(s.fHeadColor, s.GetDimPenWidth() * zor::DimSamplePixels, TZORineType::Solid));
        g.setBrush(Col(s.fFillColor));
        const QRectF box(p.x() - S / 2, p.y() - S / 2, S, S);
        const QPolygonF diamond = { QPointF(p.x(), p.y() - S / 2), QPointF(p.x() + S / 2, p.y()),
            QPointF(p.x(), p.y() + S / 2), QPointF(p.x() - S / 2, p.y()) };
        const TZORArrow arrow = TDraw2D::DrawArrow(towards, p, std::round(S), s.fArrowOpen);
        const QPointF back = Unit(towards - p) * std::round(S / 2);
        const QLineF falling(p - Turned(back, HeadStrokeAngle), p + Turned(back, HeadStrokeAngle));
        const QLineF rising(p - Turned(back, -HeadStrokeAngle), p + Turned(back, -HeadStrokeAngle));
        switch (s.fHeadType) {
        case TZORTermType::Circle:
            g.setBrush(Qt::NoBrush);
            g.drawEllipse(box);
            break;
        case TZORTermType::FilledCircle:
            g.drawEllipse(box);
            break;
        case TZORTermType::OpenArrow:
            g.drawLine(p, arrow.Wing1);
            g.drawLine(p, arrow.Wing2);
            break;
        case TZORTermType::FilledArrow:
            g.drawPolygon(QPolygonF { p, arrow.Wing1, arrow.Wing2 });
            break;
        case TZORTermType::Square:
            g.setBrush(Qt::NoBrush);
            g.drawRect(box);
            break;
        case TZORTermType::FilledSquare:
            g.drawRect(box);
            break;
        case TZORTermType::Diamond:
            g.setBrush(Qt::NoBrush);
            g.drawPolygon(diamond);
            break;
        case TZORTermType::FilledDiamond:
            g.setPen(Qt::NoPen);
            g.drawPolygon(diamond);
            break;
        case TZORTermType::FallingTick:
            g.drawLine(falling);
            break;
        case TZORTermType::RisingTick:
            g.drawLine(rising);
            break;
        case TZORTermType::Cross:
            g.drawLine(falling);
            g.drawLine(rising);
            break;
        default:
            break;
        }
        g.setBrush(Qt::NoBrush);
    }

    // The text along its line: above it (text position 0), below it (1) or on it (2 and 3),
    // centred on the middle of the line.
    void Text(const QString& text, const QPointF& mid, double angle, double w, double h, double ascent)
    {
        const double rad = angle * std::numbers::pi / 180.0;
        const QPointF xAxis(std::cos(rad), std::sin(rad)), yAxis(-std::sin(rad), std::cos(rad));
        const double across = s.fTextPos == 1 ? 0.0 : s.fTextPos == 2 || s.fTextPos == 3 ? -0.5 : -1.0;
        const QPointF origin = mid - xAxis * (w / 2) + yAxis * (across * h);
        g.save();
        g.setPen(Col(s.fFontColor));
        g.translate(origin);
        g.rotate(angle);
        g.drawText(QPointF(0, ascent), text);
        g.restore();
    }

    QPainter& g;
    const TZORDimStyle& s;
    const double E, G, B, D, S;
};

} // namespace

namespace zor {

QString DimSampleText(const TZORDimStyle& style, double v)
{
    QString value;
    if (!style.fFormat.isEmpty())
        value = FormatFloat(style.fFormat, v);
    else
        value = FormatFloat(v - std::trunc(v) > 0 ? QStringLiteral("0") : QStringLiteral("0.0"), v);
    return style.fPrefix + value + style.fSuffix;
}

void DrawDimSample(QImage& image, const TZORDimStyle& style)
{
    image.setDotsPerMeterX(SampleDotsPerMetre);
    image.setDotsPerMeterY(SampleDotsPerMetre);
    QPainter g(&image);
    g.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    g.fillRect(image.rect(), Qt::white);
    const auto& P = DimSamplePart;
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(PartColor);
    g.drawPolygon(P.data(), int(P.size()));
    g.setBrush(Qt::NoBrush);

    const QPointF p2(std::round(P[2].x()), std::round(P[2].y())),
        p3(std::round(P[3].x()), std::round(P[3].y()));
    // Away from the part, square to its slanted edge.
    const QPointF slant = Unit(p3 - p2);
    const double length = std::round(TDraw2D::Distance(p2, p3));
    const TSampleDim dims[] = {
        { P[0], P[1], QPointF(0, -1), 0, (P[1].x() - P[0].x()) * DimSampleValueFactor, false },
        { p2, p3, QPointF(slant.y(), -slant.x()), std::atan2(slant.y(), slant.x()) * 180 / std::numbers::pi,
            length * DimSampleValueFactor, true },
        { P[4], P[5], QPointF(0, 1), 0, (P[4].x() - P[5].x()) * DimSampleValueFactor, false },
        { P[5], P[0], QPointF(-1, 0), -90, (P[5].y() - P[0].y()) * DimSampleValueFactor, false },
    };
    TSample sample(g, style);
    for (const TSampleDim& d : dims)
        sample.Draw(d);
}

void DrawHeadSymbol(QPainter& g, int type, const QRect& r, const QColor& pen, const QColor& brush)
{
    constexpr int s = 8;
    const int cx = r.center().x(), t = r.top() + 1, b = r.bottom() - 1, m = r.center().y();
    const int side = r.height() - 2;
    const QRect box(cx - side / 2, r.top() + 1, side, side);
    const QPolygon diamond
        = { QPoint(cx, r.top()), QPoint(cx - s, m), QPoint(cx, r.bottom()), QPoint(cx + s, m) };
    g.save();
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(pen);
    g.setBrush(brush);
    switch (type) {
    case 1:
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(box);
        break;
    case 2:
        g.drawEllipse(box);
        break;
    case 3:
        g.drawLine(cx, t, cx - s, b);
        g.drawLine(cx, t, cx + s, b);
        break;
    case 4:
        g.drawPolygon(QPolygon { QPoint(cx, t), QPoint(cx - s, b), QPoint(cx + s, b) });
        break;
    case 5:
        g.setBrush(Qt::NoBrush);
        g.drawRect(box);
        break;
    case 6:
        g.drawRect(box);
        break;
    case 7:
        g.setBrush(Qt::NoBrush);
        g.drawPolygon(diamond);
        break;
    case 8:
        g.drawPolygon(diamond);
        break;
    case 9:
        g.drawLine(cx - s, t, cx + s, b);
        break;
    case 10:
        g.drawLine(cx + s, t, cx - s, b);
        break;
    case 11:
        g.drawLine(cx - s, t, cx + s, b);
        g.drawLine(cx + s, t, cx - s, b);
        break;
    default:
        break;
    }
    g.restore();
}

} // namespace zor
