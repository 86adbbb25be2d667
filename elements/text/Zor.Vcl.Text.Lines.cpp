#include "Zor.Vcl.Text.h"

#include <cmath>

namespace zor {

namespace {

void DrawLines(TZORElementPainter& P, const TZORTurn& turn, const QString& text, const TxtLines& lines,
    const TZORLinesFont& look)
{
    TZORDraw& D = P.Context();
    if (!D.kC || !D.kP)
        return;
    const TSkFont font = ScreenFont(D, look.family, look.bold, look.italic, look.heightMM, look.ratio);
    const TSkFont::TMetrics m = font.GetMetrics();
    const double ascent = std::abs(m.Ascent);
    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(turn.Origin.x(), turn.Origin.y());
    canvas.Rotate(turn.Degrees());
    const double underline = P.MMAcross(turn, look.underlineOffset / 1000.0);
    for (const TZORTxtInf& line : lines) {
        const QString shown = LineText(text, line);
        const double x = P.MMAlong(turn, line.x / 1000.0);
        const double baseline = P.MMAcross(turn, line.y / 1000.0) + ascent;
        if (look.underline)
            DecorationLine(D, x, x + font.MeasureText(shown), baseline + underline, look.colour, true);
        TSkPaint& paint = *D.kP;
        paint.SetPathEffect({});
        paint.SetStyle(TSkPaintStyle::Fill);
        paint.SetAntiAlias(true);
        paint.SetColor(look.colour);
        canvas.DrawSimpleText(shown, x, baseline, font, paint);
    }
    canvas.Restore();
}

void PrintLines(TZORElementPainter& P, const TZORTurn& turn, const QString& text, const TxtLines& lines,
    const TZORLinesFont& look)
{
    if (!P.Canvas())
        return;
    P.SetPrinterFont(look.family, look.heightMM * double(P.Context().fPixMM) * look.ratio,
        { look.bold, look.italic, look.underline, false }, look.colour);
    P.Canvas()->Brush.Style = TBrushStyle::Clear;
    P.Canvas()->SetTextAlign(TA_LEFT | TA_TOP);
    for (const TZORTxtInf& line : lines)
        P.PrintText(
            turn, P.MMAlong(turn, line.x / 1000.0), P.MMAcross(turn, line.y / 1000.0), LineText(text, line));
}

} // namespace

QString LineText(const QString& text, const TZORTxtInf& line)
{
    QString s = text.mid(line.start - 1, line.count);
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

void PaintLines(TZORElementPainter& P, const TZORTurn& turn, const QString& text, const TxtLines& lines,
    const TZORLinesFont& font)
{
    if (P.OnScreen())
        DrawLines(P, turn, text, lines, font);
    else
        PrintLines(P, turn, text, lines, font);
}

} // namespace zor
