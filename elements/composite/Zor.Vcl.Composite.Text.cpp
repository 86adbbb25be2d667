#include "Zor.Vcl.Composite.Text.h"

#include "drawing/Zor.Vcl.Types.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QPainter>

#include <cmath>

namespace zor {

QPainter* TargetPainter(TZORDraw& D, TZORTarget target)
{
    if (target == TZORTarget::Screen)
        return D.kC && D.kP ? &D.kC->Painter() : nullptr;
    return D.aG && D.aP && D.aB ? &D.aG->Painter() : nullptr;
}

void PaintGlyphs(TZORDraw& D, TZORTarget target, const TScaledFont& font, const QPointF& start,
    double degrees, double em, const QString& text, TAlphaColor color, double scaleX)
{
    QPainter* painter = TargetPainter(D, target);
    if (!painter)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(ToQColor(color));
    painter->translate(start);
    painter->rotate(degrees);
    font.Draw(*painter, QPointF(), em, text, scaleX);
    painter->restore();
}

void WriteText(TZORElementPainter& P, const TZORTurn& turn, double u, double v, const QString& text,
    const TZORTextLook& look)
{
    if (text.isEmpty())
        return;
    TZORDraw& D = P.Context();
    if (!P.OnScreen()) {
        if (!P.Canvas())
            return;
        P.SetPrinterFont(look.Family, look.HeightMM * double(D.fPixMM) * look.Ratio,
            { look.Bold, look.Italic, look.Underline, false }, look.Color);
        P.Canvas()->Brush.Style = TBrushStyle::Clear;
        P.Canvas()->SetTextAlign(TA_LEFT | TA_TOP);
        P.PrintText(turn, u, v, text);
        return;
    }
    if (!D.kC || !D.kP)
        return;
    const TSkFont font = ScreenFont(D, look.Family, look.Bold, look.Italic, look.HeightMM, look.Ratio);
    TSkPaint& paint = *D.kP;
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Fill);
    paint.SetAntiAlias(true);
    paint.SetColor(look.Color);
    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(turn.Origin.x(), turn.Origin.y());
    canvas.Rotate(turn.Degrees());
    canvas.DrawSimpleText(text, u, v + std::abs(font.GetMetrics().Ascent), font, paint);
    canvas.Restore();
}

} // namespace zor
