#include "Zor.Base.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Lines.h"
#include "drawing/Zor.Vcl.Shared.Terms.h"

#include <array>
#include <cmath>

using zor::AlphaColorToGPColor;
using zor::DrawTermType;
using zor::PrintTermType;
using zor::TDraw2DArc;
using zor::TGPGraphicsPath;
using zor::TSkStrokeCap;

namespace {

// Two points of the dimension by number; 0 for none.
struct TPair {
    int32_t A = 0;
    int32_t B = 0;
};

// What each dimension type strokes with its dimension pen, and its arrow heads (tip, then the
// point the head's tail faces).
struct TDimForm {
    std::array<TPair, 2> Lines;
    std::array<TPair, 2> Heads;
};

constexpr TDimForm Linear { { { { 5, 6 }, {} } }, { { { 5, 6 }, { 6, 5 } } } };
constexpr TDimForm FromCentre { { { { 1, 2 }, { 3, 4 } } }, { { { 2, 1 }, {} } } };
constexpr TDimForm FromOutside { { { { 3, 2 }, { 3, 4 } } }, { { { 2, 3 }, {} } } };
constexpr TDimForm Across { { { { 1, 2 }, { 3, 4 } } }, { { { 1, 2 }, { 2, 1 } } } };
// By TZRDimType, the angular type aside.
constexpr std::array<TDimForm, 7> DimForms
    = { Linear, Linear, Linear, FromCentre, FromOutside, Across, FromOutside };
// A linear dimension line broken round its text.
constexpr std::array<TPair, 2> BrokenLine = { { { 5, 9 }, { 10, 6 } } };

} // namespace

void TZORDim::CalcValues(int16_t aFlag)
{
    const TCalcGuard guard(*this);
    if (!guard.Entered())
        return;
    // Phase 3 asks for the text's layout alone.
    if (aFlag != 3)
        TZORBaseDim::CalcValues(aFlag);
    if (GetText().isEmpty()) {
        UpdateBounds();
        return;
    }
    const TZORDimStyle& style = GetStyle();
    LayoutText(
        zor::MeasureCaption(GetText(), style.fFontName, GetBaseFontHeight(), style.fBold, style.fItalic));
}

void TZORDim::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    // The screen lays the lines over the text, the paper the text over the lines.
    if (P.OnScreen()) {
        PaintCaption(P);
        PaintLines(P);
        return;
    }
    PaintLines(P);
    PaintCaption(P);
}

void TZORDim::PaintLines(zor::TZORPainter& P) const
{
    const TZORDimStyle& style = GetStyle();
    // Lines along the axes stay crisp on screen, except in the preview.
    const TZORPto &p1 = GetPoint(1), &p2 = GetPoint(2);
    const bool smooth = P.Context().fDrawState == TZORDrawState::Preview || (p1.X != p2.X && p1.Y != p2.Y);
    const auto add = [&](TGPGraphicsPath& path, const TPair& line) {
        if (line.A == 0)
            return;
        const QPointF a = P.AtWhole(GetPoint(line.A)), b = P.AtWhole(GetPoint(line.B));
        path.StartFigure();
        path.AddLine(a.x(), a.y(), b.x(), b.y());
    };
    if (IsLinear()) {
        TGPGraphicsPath extension;
        add(extension, { 3, 7 });
        add(extension, { 4, 8 });
        P.Stroke(extension,
            { style.fExtColor, style.fExtPenWidth, style.fExtLineType, GetItemState(), false, smooth });
    }
    const zor::TZORStroke stroke { style.fDimColor, style.fDimPenWidth, style.fDimLineType, GetItemState(),
        false, smooth };
    if (GetDimType() == TZRDimType::Angle) {
        PaintAngle(P, stroke);
        return;
    }
    const TDimForm& form = DimForms[zor::Ord(GetDimType())];
    TGPGraphicsPath path;
    for (const TPair& line : HasGap() ? BrokenLine : form.Lines)
        add(path, line);
    P.Stroke(path, stroke);
    for (const TPair& head : form.Heads)
        if (head.A != 0)
            PaintHead(P, GetPoint(head.A), P.AtWhole(GetPoint(head.B)), smooth);
}

void TZORDim::PaintAngle(zor::TZORPainter& P, const zor::TZORStroke& stroke) const
{
    TDraw2DArc arc;
    // Points 5, 7 and 6 on one line make no arc: the text stands alone.
    if (!AngleArc(arc))
        return;
    const auto corner = [&](double dx, double dy) {
        return TZORPto { zor::Round(arc.Cx + dx), zor::Round(arc.Cy + dy) };
    };
    const QRectF oval = P.Box(corner(-arc.R, -arc.R), corner(arc.R, arc.R));
    TGPGraphicsPath path;
    path.AddArc(
        oval.x(), oval.y(), oval.width(), oval.height(), zor::RadToDeg(arc.Start), zor::RadToDeg(arc.Sweep));
    P.Stroke(path, stroke);
    // Each head lies along the arc's tangent at its tip, its tail toward the inside of the arc.
    const double length = P.Pixels(GetStyle().fHeadSize);
    for (int32_t tip : { 5, 6 }) {
        const double toward = HeadDirection(arc, GetPoint(tip), GetPoint(7));
        const QPointF at = P.AtWhole(GetPoint(tip));
        PaintHead(
            P, GetPoint(tip), at + QPointF(std::cos(toward), std::sin(toward)) * length, stroke.AntiAlias);
    }
}

void TZORDim::PaintHead(zor::TZORPainter& P, const TZORPto& tip, const QPointF& from, bool smooth) const
{
    // The style's own opening, where the frame's line ends take a fixed one: the heads are drawn
    // here, outlined with the dimension pen in the head colour and filled with the fill colour,
    // and on screen as crisp or as smooth as the dimension's lines.
    const TZORDimStyle& style = GetStyle();
    TZORDraw& D = P.Context();
    const QPointF at = P.AtWhole(tip);
    const double half = P.Pixels(style.fHeadSize) / 2.0, pen = P.Pixels(style.fDimPenWidth);
    if (P.OnScreen()) {
        if (!D.kP)
            return;
        D.kP->SetStrokeWidth(pen);
        D.kP->SetStrokeCap(TSkStrokeCap::Butt);
        D.kP->SetAntiAlias(smooth);
        DrawTermType(D, style.fHeadType, style.fHeadColor, style.fFillColor, float(half), float(at.x()),
            float(at.y()), float(from.x()), float(from.y()), style.fArrowOpen, false);
        return;
    }
    if (!D.aP || !D.aB)
        return;
    D.aP->SetColor(AlphaColorToGPColor(style.fHeadColor));
    D.aP->SetWidth(float(pen));
    D.aB->SetColor(AlphaColorToGPColor(style.fFillColor));
    PrintTermType(D, style.fHeadType, at, from, int32_t(zor::Round(half)), style.fArrowOpen, false);
}

void TZORDim::PaintCaption(zor::TZORPainter& P) const
{
    const TZORDimStyle& style = GetStyle();
    P.Caption({ GetText(), style.fFontName, style.fFontHeight, GetTextRatio(), style.fBold, style.fItalic,
        style.fUnderline, style.fFontColor, GetDrawText(), GetPrintText(), GetTextAngle() });
}
