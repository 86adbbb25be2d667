#include "Zor.Vcl.Nutri.h"

#include "Zor.Vcl.Composite.Text.h"
#include "elements/text/Zor.Vcl.Text.Frame.h"

#include <algorithm>

using zor::TAlphaColor;
using zor::TZORTarget;

// The score is laid out once in the turned frame of its content (u along the row of grades, v
// across it, device pixels) and painted on either target by the same steps.

namespace {

constexpr TAlphaColor Black { 0xFF000000 };
constexpr TAlphaColor White { 0xFFFFFFFF };
constexpr int GradeCount = 5;
const QString FontFamily = QStringLiteral("Arial");

// A part of the content: u0 and v0 its corner, du and dv its extents.
struct TArea {
    double U0 = 0.0;
    double V0 = 0.0;
    double DU = 0.0;
    double DV = 0.0;
};

class TNutriPainter {
public:
    TNutriPainter(const TZORBaseNutri& score, TZORBaseDraw& D, TZORTarget target)
        : fScore(score)
        , fD(static_cast<TZORDraw&>(D))
        , fTarget(target)
        , fP(D, target)
        , fFont(FontFamily, false, false)
        , fGap(D.GetDrawX(score.GetBaseGap()))
        , fPad(D.GetDrawX(score.GetBaseGapValue()))
    {
    }

    void Paint(QChar grade)
    {
        const QRectF box = fP.Box(fScore.GetPoint(1), fScore.GetPoint(2)).normalized();
        Frame(box);
        const double margin = fD.GetDrawX(fScore.GetBaseMargin());
        fTurn = zor::TurnBox(box, margin, margin, fScore.GetAngle());
        TArea row { 0.0, 0.0, fTurn.Along, fTurn.Across };
        if (fScore.GetShowTitle())
            row = Title(row);
        Grades(row, int(grade.unicode() - u'A'));
    }

private:
    bool Mono() const { return fScore.GetMonochrome(); }

    // The outer frame: a monochrome score is never filled and outlined in black.
    void Frame(const QRectF& box)
    {
        zor::TZORFigurePaint how;
        const bool seen = fTarget == TZORTarget::Print || fScore.Alpha() > 0;
        if (fScore.GetFilled() && seen && !Mono())
            how.Fill = fScore.GetBackColor();
        if (fScore.GetPenWidth() > 0.0f)
            how.Outline = zor::TZORStroke { Mono() ? Black : fScore.GetColor(), fScore.GetPenWidth(),
                TZORineType::Solid, TZORItemState::Normal, false };
        const double r = fD.GetDrawX(fScore.GetBaseRadio());
        fP.FillThenOutline(zor::RoundedBox(box, r, r), how);
    }

    // Text centred on local point (u, v), upright in the frame or a further quarter turn.
    void Letters(const QString& text, double u, double v, double em, TAlphaColor color, bool upward)
    {
        if (!(em > 0.0))
            return;
        const double w = fFont.Advance(text) * em;
        const double up = (fFont.Ascent() - fFont.Descent()) * em / 2.0;
        const QPointF start = upward ? fTurn.Map(u + up, v + w / 2.0) : fTurn.Map(u - w / 2.0, v + up);
        zor::PaintGlyphs(fD, fTarget, fFont, start, fTurn.Degrees() - (upward ? 90.0 : 0.0), em, text, color);
    }

    // The title's band (a third of the content across the row, or before it along the row, read
    // upwards) and the area left for the grades.
    TArea Title(const TArea& all)
    {
        const bool before = fScore.GetNutriType() == TZORNutriType::TitleBefore;
        const double band = (before ? all.DU : all.DV) / 3.0;
        const TAlphaColor color = Mono() ? Black : fScore.GetTitleColor();
        // As high as the band less the inner spacing, whatever the title's length.
        const double em = band - fPad;
        if (before) {
            Letters(fScore.GetTitle(), band / 2.0, all.DV / 2.0, em, color, true);
            return { band, 0.0, all.DU - band, all.DV };
        }
        Letters(fScore.GetTitle(), all.DU / 2.0, band / 2.0, em, color, false);
        return { 0.0, band, all.DU, all.DV - band };
    }

    void Grades(const TArea& row, int selected)
    {
        const TArea a { row.U0 + fPad, row.V0 + fPad, row.DU - 2.0 * fPad, row.DV - 2.0 * fPad };
        const double s = std::min((a.DU - (GradeCount - 1) * fGap) / GradeCount, a.DV);
        if (!(s > 0.0))
            return;
        const double u0 = a.U0 + (a.DU - GradeCount * s - (GradeCount - 1) * fGap) / 2.0;
        const double v0 = a.V0 + (a.DV - s) / 2.0;
        const auto box = [&](int i) { return TArea { u0 + i * (s + fGap), v0, s, s }; };
        // The selected grade last, on top of its neighbours and grown by the inner spacing.
        for (int i = 0; i < GradeCount; ++i)
            if (i != selected)
                Grade(i, box(i), false, s - 2.0 * fPad);
        const TArea b = box(selected);
        Grade(selected, { b.U0 - fPad, b.V0 - fPad, b.DU + 2.0 * fPad, b.DV + 2.0 * fPad }, true,
            s - 2.0 * fPad);
    }

    void Grade(int i, const TArea& b, bool selected, double em)
    {
        const QRectF rect = fTurn.Map(QRectF(b.U0, b.V0, b.DU, b.DV));
        const double r = fD.GetDrawX(fScore.GetBaseInnerRadio());
        zor::TZORFigurePaint how;
        if (!Mono())
            how.Fill = fScore.GetGradeColor(i);
        else if (selected)
            how.Fill = Black;
        else
            how.Outline = zor::TZORStroke { Black, fScore.GetPenWidth(), TZORineType::Solid,
                TZORItemState::Normal, false };
        fP.FillThenOutline(zor::RoundedBox(rect, r, r), how);
        TAlphaColor letter = selected ? fScore.GetValueColor() : fScore.GetCharColor();
        if (Mono())
            letter = selected ? White : Black;
        Letters(QString(QChar(TZORBaseNutri::Grades[i])), b.U0 + b.DU / 2.0, b.V0 + b.DV / 2.0, em, letter,
            false);
    }

    const TZORBaseNutri& fScore;
    TZORDraw& fD;
    TZORTarget fTarget;
    zor::TZORPainter fP;
    zor::TScaledFont fFont;
    double fGap;
    double fPad;
    zor::TZORTurn fTurn;
};

} // namespace

void TZORNutriScore::Paint(TZORBaseDraw& D, TZORTarget target) const
{
    // The screen shows the element's own grade; paper the bound data's, A for anything else.
    const QChar grade = target == TZORTarget::Screen
        ? GetValue()
        : TZORBaseNutri::GradeOf(zor::PrintedValue(*this, QString(GetValue()), D));
    TNutriPainter(*this, D, target).Paint(grade);
}
