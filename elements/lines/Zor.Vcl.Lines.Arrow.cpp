#include "Zor.Vcl.Lines.h"

using zor::TGPGraphicsPath;

void TZORArrowLine::CalcValues(int16_t aFlag)
{
    TZORBaseArrowLine::CalcValues(aFlag);
    if (GetText().isEmpty())
        return;
    LayoutCaption(zor::MeasureCaption(GetText(), GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic()));
}

void TZORArrowLine::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    const bool bound = FillType() != 0;
    if (P.OnScreen()) {
        // The preview shows what prints; a bound line without a text of its own waits for data.
        if (bound && GetText().isEmpty() && D.fDrawState == TZORDrawState::Preview)
            return;
        // The line lies over the caption where they cross.
        const TCaption own = Caption();
        PaintCaption(P, own);
        PaintLine(P, own);
        return;
    }
    // A bound line prints the record's value in its caption, laid out for that text; the line
    // itself keeps what the user wrote.
    TCaption shown = Caption();
    if (bound) {
        const QString value = D.DataValue(GetOwner(), FillName(), GetFormat(), FillType());
        // A record without a value prints no line at all.
        if (value.isEmpty())
            return;
        shown = CaptionOf(
            value, zor::MeasureCaption(value, GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic()));
    }
    // The caption lies over the line on paper.
    PaintLine(P, shown);
    PaintCaption(P, shown);
}

void TZORArrowLine::PaintLine(zor::TZORPainter& P, const TCaption& caption) const
{
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    const QPointF p1 = P.AtWhole(GetPoint(1)), p2 = P.AtWhole(GetPoint(2));
    TGPGraphicsPath line;
    if (!caption.text.isEmpty() && zor::IsInLine(GetTextPos())) {
        const QPointF p3 = P.AtWhole(caption.at.GapStart), p4 = P.AtWhole(caption.at.GapEnd);
        line.AddLine(p1.x(), p1.y(), p3.x(), p3.y());
        line.StartFigure();
        line.AddLine(p4.x(), p4.y(), p2.x(), p2.y());
    } else {
        line.AddLine(p1.x(), p1.y(), p2.x(), p2.y());
    }
    P.Stroke(line, stroke);
    // The ends sit on points 1 and 2 and point along the whole line, gap or not.
    P.LineEnd({ GetFromType(), GetFromColor(), GetSizeFrom() }, stroke, p1, p2);
    P.LineEnd({ GetToType(), GetToColor(), GetSizeTo() }, stroke, p2, p1);
}

void TZORArrowLine::PaintCaption(zor::TZORPainter& P, const TCaption& caption) const
{
    P.Caption({ caption.text, GetFontName(), GetFontHeight(), caption.ratio, GetBold(), GetItalic(),
        GetUnderline(), GetFontColor(), caption.at.DrawPos, caption.at.PrintPos, caption.at.Angle });
}
