#include "Zor.EditorRuler.h"

#include "Zor.Utils.h"
#include "Zor.Vcl.Editor.h"
#include "drawing/Zor.Canvas.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The steps a ruler's ticks may take in each unit: a fine step taken when it is 5 pixels or
// more, then the coarser ones taken when they are more than 4.
struct TickRow {
    double Fine;
    std::vector<double> Coarse;
};

const TickRow& TickRowOf(TZORUnits units)
{
    static const TickRow mm { 0.5, { 1, 2, 5, 10 } };
    static const TickRow inch { 0.1, { 0.2, 0.5, 1, 2, 5, 10 } };
    static const TickRow cm { 0.2, { 0.5, 1, 2, 5, 10 } };
    static const TickRow large { 0.1, { 0.2, 0.5, 1, 2, 5, 10, 50, 100 } };
    switch (units) {
    case TZORUnits::Millimetre:
        return mm;
    case TZORUnits::Inch:
        return inch;
    case TZORUnits::Centimetre:
        return cm;
    default:
        return large;
    }
}

constexpr std::array<double, 9> LabelIntervals = { 0.1, 0.2, 0.5, 1, 2, 5, 10, 50, 100 };

// One pair of rulers seen along its length: "along" runs down the vertical pair and across the
// horizontal one; "across" runs from the near ruler (left or top) to the far one.
struct Axis {
    bool Vertical;
    int Along; // surface length along the pair
    int Across; // surface length across it
    int NearT, FarT; // thickness of the near and the far ruler (0 when hidden)
    int StartT, EndT; // thickness of the rulers at the two ends of the pair

    QPointF P(double along, double across) const { return Vertical ? QPointF(across, along) : QPointF(along, across); }
    QRectF R(double a1, double c1, double a2, double c2) const { return QRectF(P(a1, c1), P(a2, c2)).normalized(); }
};

QString Number(double v, int decimals)
{
    return QLocale::system().toString(v, 'f', decimals);
}

// "0.#": one decimal at most.
QString NumberOneDecimal(double v)
{
    const double r = std::round(v * 10.0) / 10.0;
    return Number(r, zor::NearWhole(r) ? 0 : 1);
}

class PairPainter {
public:
    PairPainter(QPainter& p, TZORBackEditor& s, const Axis& a, const QFont& font)
        : P(p)
        , S(s)
        , E(s.Editor())
        , A(a)
        , Fm(font)
    {
    }

    void Paint(zor::TRulerSteps& steps)
    {
        PaintExtent();
        PaintTicks(steps);
        PaintGuideMarker();
    }

private:
    int32_t Pos(double v) const { return A.Vertical ? S.G.CoordDY(v, true) : S.G.CoordDX(v, true); }
    int32_t Pixels(double v) const { return A.Vertical ? S.G.CoordDY(v, false) : S.G.CoordDX(v, false); }
    double Value(int64_t base) const { return zor::GetValue(base, S.G.Units); }
    int Limit() const { return A.EndT > 0 ? A.Along - A.EndT : A.Along; }

    void PaintExtent()
    {
        const TZORLabelVCL* label = E.GetLabel();
        if (!E.Rulers().GetShowSize() || !label || label->GetSelectionCount() == 0)
            return;
        const TZORRect b = label->SelectionBounds().Normalized();
        const int a1 = std::max(Pos(Value(A.Vertical ? b.Top : b.Left)), A.StartT);
        const int a2 = std::min(Pos(Value(A.Vertical ? b.Bottom : b.Right)), Limit());
        if (a1 >= Limit())
            return;
        const QColor c = zor::ToQColor(E.Rulers().GetSizeColor());
        if (A.NearT > 0)
            P.fillRect(A.R(a1, A.NearT - 2, a2, A.NearT), c);
        if (A.FarT > 0)
            P.fillRect(A.R(a1, A.Across - A.FarT, a2, A.Across - A.FarT + 2), c);
    }

    void PaintTicks(zor::TRulerSteps& steps)
    {
        const double paper = Value(A.Vertical ? S.G.D.PaperScaledH : S.G.D.PaperScaledW);
        const double edge = A.Vertical ? S.G.WorldY(A.Along, true) : S.G.WorldX(A.Along, true);
        const double maxUnit = std::min(paper, edge);
        steps = zor::RulerSteps(S.G.Units, [this](double v) { return Pixels(v); }, steps.Label);
        const int t = A.NearT > 0 ? A.NearT : A.FarT;
        const int half = t / 2;
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setPen(QPen(zor::ToQColor(E.Rulers().GetTickColor()), 0));
        // Each value is a multiple of the step, so no error builds up along the ruler.
        for (int64_t n = 0;; ++n) {
            const double v = double(n) * steps.Tick;
            if (v > maxUnit + 1e-9)
                break;
            const int a = Pos(v);
            if (a > Limit())
                break;
            if (a < t)
                continue;
            const bool labelled = zor::NearWhole(v / steps.Label);
            const int len = labelled ? 3 : zor::NearWhole(v) ? 8 : 4;
            // A tick of len pixels from the band's inner edge, all of it inside the band.
            if (A.NearT > 0)
                P.drawLine(A.P(a, A.NearT - 1), A.P(a, A.NearT - len));
            if (A.FarT > 0)
                P.drawLine(A.P(a, A.Across - A.FarT), A.P(a, A.Across - A.FarT + len - 1));
            if (labelled) {
                const QString text = Number(v, steps.Label >= 1 || zor::NearWhole(v) ? 0 : 1);
                if (A.NearT > 0)
                    Centred(text, A.P(a, half));
                if (A.FarT > 0)
                    Centred(text, A.P(a, A.Across - half));
            }
        }
    }

    void Centred(const QString& text, QPointF centre)
    {
        const double w = Fm.horizontalAdvance(text);
        P.drawText(QPointF(centre.x() - w / 2, centre.y() + (Fm.ascent() - Fm.descent()) / 2), text);
    }

    void PaintGuideMarker()
    {
        const TZORRulers& r = E.Rulers();
        if (!r.GetShowAlign())
            return;
        const int a = A.Vertical ? S.G.ScreenMMY(r.fAlignTop) : S.G.ScreenMMX(r.fAlignLeft);
        if (a < A.StartT || a > A.Along - A.EndT)
            return;
        P.setRenderHint(QPainter::Antialiasing, true);
        P.setPen(Qt::NoPen);
        P.setBrush(zor::ToQColor(E.SelectionColors().fAlign));
        auto triangle = [&](int base, int dir) {
            P.drawPolygon(QPolygonF({ A.P(a, base + 2 * dir), A.P(a - 4, base + 8 * dir), A.P(a + 4, base + 8 * dir) }));
        };
        if (A.NearT > 0)
            triangle(A.NearT, -1);
        if (A.FarT > 0)
            triangle(A.Across - A.FarT, 1);
        P.setBrush(Qt::NoBrush);
    }

    QPainter& P;
    TZORBackEditor& S;
    TZORBaseEditor& E;
    const Axis& A;
    QFontMetricsF Fm;
};

} // namespace

namespace zor {

bool NearWhole(double v)
{
    return std::abs(v - std::round(v)) < 0.001;
}

TRulerSteps RulerSteps(TZORUnits units, const std::function<int32_t(double)>& pixels, double previousLabel)
{
    TRulerSteps s;
    s.Label = previousLabel > 0.0 ? previousLabel : 100.0;
    const TickRow& row = TickRowOf(units);
    if (pixels(row.Fine) >= 5) {
        s.Tick = row.Fine;
    } else {
        const auto it = std::find_if(row.Coarse.begin(), row.Coarse.end(), [&](double v) { return pixels(v) > 4; });
        s.Tick = it != row.Coarse.end() ? *it : 1000.0;
    }
    for (double v : LabelIntervals) {
        // Labels fall on ticks: a step of 0.2 passes over 0.5, a step of 2 over 5.
        if ((s.Tick == 0.2 && v == 0.5) || (s.Tick == 2.0 && v == 5.0))
            continue;
        if (pixels(v) >= 21) {
            s.Label = v;
            break;
        }
    }
    return s;
}

void TZORRulerPainter::Paint(QPainter& painter, TZORBackEditor& surface)
{
    const TZORDimScroll& D = surface.G.D;
    if (D.RulerL + D.RulerT + D.RulerR + D.RulerB == 0)
        return;
    TZORBaseEditor& editor = surface.Editor();
    const TZORRulers& rulers = editor.Rulers();
    const int W = surface.width(), H = surface.height();
    const QColor band = zor::ToQColor(rulers.GetColor());
    painter.fillRect(QRect(0, 0, D.RulerL, H), band);
    painter.fillRect(QRect(W - D.RulerR, 0, D.RulerR, H), band);
    painter.fillRect(QRect(0, 0, W, D.RulerT), band);
    painter.fillRect(QRect(0, H - D.RulerB, W, D.RulerB), band);

    QFont font = rulers.GetFont();
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(zor::Round(font.pixelSize() * surface.G.DPIY / 96.0))));
    painter.setFont(font);
    const Axis vertical { true, H, W, D.RulerL, D.RulerR, D.RulerT, D.RulerB };
    const Axis horizontal { false, W, H, D.RulerT, D.RulerB, D.RulerL, D.RulerR };
    if (D.RulerL + D.RulerR > 0)
        PairPainter(painter, surface, vertical, font).Paint(fVertical);
    if (D.RulerT + D.RulerB > 0)
        PairPainter(painter, surface, horizontal, font).Paint(fHorizontal);

    // The guides' values in the corner where the top and the left ruler meet.
    if (!rulers.GetShowAlign() || D.RulerT == 0 || D.RulerL == 0)
        return;
    const QFontMetricsF fm(font);
    const double h = fm.ascent() - fm.descent();
    painter.setPen(zor::ToQColor(editor.SelectionColors().fAlignText));
    const QString left = NumberOneDecimal(zor::GetValue(rulers.fAlignLeft, surface.G.Units));
    const QString top = NumberOneDecimal(zor::GetValue(rulers.fAlignTop, surface.G.Units));
    const double y = (D.RulerT / 2.0 + h) / 2.0 - 2.0;
    painter.drawText(QPointF((D.RulerL - fm.horizontalAdvance(left)) / 2.0, y), left);
    painter.drawText(QPointF((D.RulerL - fm.horizontalAdvance(top)) / 2.0, D.RulerT / 2.0 + y), top);
}

} // namespace zor
