#include "Zor.Label.h"
#include "Zor.Vcl.Lines.h"

#include <optional>

namespace {

// Shows another text on an arrow line while it prints, then gives the line its own text and
// caption layout back: printing a data record must not replace what the user wrote, nor what
// the next label of the job prints when the field is empty there.
class TShownText {
public:
    TShownText(TZORArrowLine& line, const QString& text)
        : fLine(line)
        , fKept(line.GetText())
        , fGapStart(line.GetPoint(3))
        , fGapEnd(line.GetPoint(4))
    {
        fLine.SetText(text);
        fLine.CalcValues(2);
    }
    ~TShownText()
    {
        fLine.SetText(fKept);
        fLine.SetBase(3, fGapStart.X, fGapStart.Y);
        fLine.SetBase(4, fGapEnd.X, fGapEnd.Y);
        fLine.CalcValues(2);
    }
    TShownText(const TShownText&) = delete;
    TShownText& operator=(const TShownText&) = delete;

private:
    TZORArrowLine& fLine;
    QString fKept;
    TZORPto fGapStart;
    TZORPto fGapEnd;
};

} // namespace

void TZORArrowLine::CalcValues(int16_t aFlag)
{
    TZORBaseArrowLine::CalcValues(aFlag);
    if (GetText().isEmpty())
        return;
    LayoutCaption(zor::MeasureCaption(GetText(), GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic()));
}

void TZORArrowLine::Paint(TZORBaseDraw& D, zor::TZORTarget target)
{
    zor::TZORPainter P(D, target);
    const bool bound = FillType() != 0;
    if (P.OnScreen()) {
        // The preview shows what prints; a bound line without a text of its own waits for data.
        if (bound && GetText().isEmpty() && D.fDrawState == TZORDrawState::Preview)
            return;
        // The line lies over the caption where they cross.
        PaintCaption(P);
        PaintLine(P);
        return;
    }
    std::optional<TShownText> shown;
    if (bound) {
        const QString value
            = GetOwner() ? GetOwner()->DataValue(FillName(), GetFormat(), FillType()) : QString();
        // A record without a value prints no line at all.
        if (value.isEmpty())
            return;
        shown.emplace(*this, value);
    }
    // The caption lies over the line on paper.
    PaintLine(P);
    PaintCaption(P);
}

void TZORArrowLine::PaintLine(zor::TZORPainter& P)
{
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    const QPointF p1 = P.AtWhole(GetPoint(1)), p2 = P.AtWhole(GetPoint(2));
    TGPGraphicsPath line;
    if (HasGap()) {
        const QPointF p3 = P.AtWhole(GetPoint(3)), p4 = P.AtWhole(GetPoint(4));
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

void TZORArrowLine::PaintCaption(zor::TZORPainter& P)
{
    P.Caption({ GetText(), GetFontName(), GetFontHeight(), GetTextRatio(), GetBold(), GetItalic(),
        GetUnderline(), GetFontColor(), GetDrawCaption(), GetPrintCaption(), GetCaptionAngle() });
}
