#include "Zor.Utils.h"
#include "Zor.Vcl.Lines.h"
#include "drawing/Zor.Vcl.Shared.Screen.h"

#include <cmath>
#include <numbers>

using zor::DrawData;
using zor::TGPGraphicsPath;

TGPGraphicsPath TZORLevel::GetPath(const zor::TZORPainter& P, const TZORLevelArc& arc) const
{
    const QRectF disc = P.Box(GetPoint(1), GetPoint(2));
    TGPGraphicsPath path;
    path.AddArc(disc.x(), disc.y(), disc.width(), disc.height(), arc.Start, arc.Sweep);
    path.CloseFigure();
    return path;
}

void TZORLevel::CalcValues(int16_t aFlag)
{
    TZORBaseLevel::CalcValues(aFlag);
    if (GetText().isEmpty())
        return;
    const TZORTextMetrics m
        = zor::MeasureCaption(GetText(), GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic());
    const int64_t scale = DrawScale();
    SetTextRatio(m.Ratio);
    SetCaptionMetrics(zor::ClampToInt32(m.Ascent * scale), zor::ClampToInt32(m.Descent * scale));
}

void TZORLevel::Draw(TZORBaseDraw& D) const
{
    Paint(D, zor::TZORTarget::Screen, ShownValue(D.fDrawState), ShownText(D.fDrawState));
}

void TZORLevel::Print(TZORBaseDraw& D) const
{
    if (FillType() == 0)
        return Paint(D, zor::TZORTarget::Print, GetValue(), GetText());
    const QString data = D.DataValue(GetOwner(), FillName(), GetFormat(), FillType());
    Paint(D, zor::TZORTarget::Print, DataNumber(data), data);
}

// The screen and the paper draw a gauge alike: the disc, then a vessel's segment and outline or
// a ring; they differ only where every figure does (the screen leaves out a transparent fill)
// and in the value and text a bound gauge shows.
void TZORLevel::Paint(TZORBaseDraw& D, zor::TZORTarget target, float value, const QString& text) const
{
    zor::TZORPainter P(D, target);
    const TZORDrawState state = P.OnScreen() ? D.fDrawState : TZORDrawState::Printer;
    const TZORLevelArc arc = LevelArc(value);
    const bool vessel = GetLevelType() <= TZORLevelType::SegmentLeft;
    // The ring and the outline have the disc's own projection, so that they meet on every target.
    const QRectF box = P.Box(GetPoint(1), GetPoint(2));
    TGPGraphicsPath disc;
    disc.AddEllipse(box.x(), box.y(), box.width(), box.height());
    if (const auto fill = zor::FigurePaint(*this, target, true).Fill)
        P.Fill(disc, vessel && arc.Full ? GetLevelColor() : *fill);
    // Always solid, whatever the line type and the selection.
    const zor::TZORStroke pen { GetColor(), GetPenWidth() };
    if (vessel) {
        if (arc.Segment)
            P.Fill(GetPath(P, arc), GetLevelColor());
        if (GetPenWidth() > 0.0f)
            P.Stroke(disc, pen);
    } else if (arc.Ring) {
        TGPGraphicsPath ring;
        ring.AddArc(box.x(), box.y(), box.width(), box.height(), arc.Start, arc.Sweep);
        P.Stroke(ring, pen);
    }
    PaintCaption(P, text);
    if (state == TZORDrawState::Editor && GetIsData()) {
        const QPointF corner = P.At(GetPoint(1));
        DrawData(P.Context(), float(corner.x()), float(corner.y()));
    }
}

void TZORLevel::PaintCaption(zor::TZORPainter& P, const QString& text) const
{
    if (text.isEmpty())
        return;
    const TZORTextMetrics m
        = zor::MeasureCaption(text, GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic());
    const int32_t scale = DrawScale();
    const double ascent = double(m.Ascent) * scale, descent = double(m.Descent) * scale;
    // Centred on the circle's centre in its quarter turn: the corner where the text's top edge
    // starts, then its baseline an ascent further along the turned text's downward direction.
    const TZORPto &p1 = GetPoint(1), &p2 = GetPoint(2);
    const QPointF top = zor::DrawTxtPos(double(p1.X) + double(p2.X - p1.X) / 2.0,
        double(p1.Y) + double(p2.Y - p1.Y) / 2.0, 0.0, 0.0, double(m.Width) * scale, ascent + descent,
        TZORHorzAlign::Center, TZORVertAlign::Center, GetAngle());
    const double angle = -double(zor::Ord(GetAngle())) * std::numbers::pi / 2.0;
    const QPointF baseline = top + QPointF(-std::sin(angle), std::cos(angle)) * ascent;
    const auto pto = [](const QPointF& p) { return TZORPto { zor::Round(p.x()), zor::Round(p.y()) }; };
    P.Caption({ text, GetFontName(), GetFontHeight(), zor::SaneRatio(m.Ratio), GetBold(), GetItalic(),
        GetUnderline(), GetFontColor(), pto(baseline), pto(top), float(angle) });
}
