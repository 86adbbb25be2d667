#include "Zor.Vcl.Codes.h"
#include "drawing/Zor.Vcl.Types.h"

namespace zor {

void PaintModules(TZORElementPainter& painter, const TZORTurn& turn, double moduleW, double moduleH,
    const TZORCodeSymbol& symbol, TAlphaColor colour)
{
    // One rectangle per run of dark modules in a row.
    std::vector<QRectF> runs;
    for (int r = 0; r < symbol.Rows; ++r)
        for (int c = 0; c < symbol.Columns;) {
            if (!symbol.Dark(r, c)) {
                ++c;
                continue;
            }
            const int first = c;
            while (c < symbol.Columns && symbol.Dark(r, c))
                ++c;
            runs.push_back(turn.Map(QRectF(first * moduleW, r * moduleH, (c - first) * moduleW, moduleH)));
        }
    TZORDraw& D = painter.Context();
    if (painter.OnScreen()) {
        if (!D.kC || !D.kP)
            return;
        TSkPaint& paint = *D.kP;
        paint.SetPathEffect({});
        paint.SetStyle(TSkPaintStyle::Fill);
        paint.SetAntiAlias(false);
        paint.SetColor(colour);
        QPainterPath shape;
        for (const QRectF& run : runs)
            shape.addRect(run);
        D.kC->DrawPath(shape, paint);
        return;
    }
    if (!D.aG || !D.aB)
        return;
    D.aB->SetColor(AlphaColorToGPColor(colour));
    D.aG->FillRectangles(*D.aB, runs);
}

TCodePlace PlaceSymbol(const TZORElementPainter& painter, const TZORCodeItem& code, const QSizeF& size)
{
    // Millimetres along and across the symbol lie along the device's x or y as it turns.
    const bool upright = Ord(code.GetAngle()) % 2 == 0;
    const double along = upright ? painter.MMX(1.0) : painter.MMY(1.0);
    const double across = upright ? painter.MMY(1.0) : painter.MMX(1.0);
    const QRectF at = code.SymbolRect(size);
    TZORTurn turn { painter.At(code.GetPoint(1)), code.GetAngle() };
    turn.Origin = turn.Map(at.left() * along, at.top() * across);
    return { turn, code.GetBarWidth() * along, code.GetBarHeight() * across };
}

QRectF FrameBox(const TZORElementPainter& painter, const TZORRect& frame)
{
    return painter.Box({ frame.Left, frame.Top }, { frame.Right, frame.Bottom }).normalized();
}

TZORFrameLook CodeLook(const TZOR2DItem& code)
{
    // A code's frame is its background alone: its pen width outlines nothing.
    TZORFrameLook look = TZORFrameLook::Of(code);
    look.PenWidth = 0.0f;
    return look;
}

} // namespace zor

namespace {

using zor::TZORTarget;

// The background over the symbol's frame, the editor's data marker under the symbol, then its
// modules.
void PaintSymbol(const TZORMatrixCode& code, TZORBaseDraw& D, TZORTarget target, const TZORCodeSymbol& symbol)
{
    zor::TZORElementPainter painter(D, target);
    const QSizeF size = code.GridSize(symbol);
    painter.Frame(zor::FrameBox(painter, code.FrameRect(size)), zor::CodeLook(code), zor::CodeFrame);
    painter.DataMarker(code, painter.At(code.GetPoint(1)));
    const zor::TCodePlace place = zor::PlaceSymbol(painter, code, size);
    zor::PaintModules(painter, place.Turn, place.ModuleW, place.ModuleH, symbol, code.GetColor());
}

// What paper shows of a value that does not encode: nothing (PDF417), or the background of a
// symbol of no modules, its paddings alone (QR code, DataMatrix).
enum class TRefused { Nothing, Background };

// The printed value is encoded into a symbol of this call's own: the screen's symbol stays the
// own code's.
void PrintSymbol(const TZORMatrixCode& code, TZORBaseDraw& D, const QString& own, TRefused refused)
{
    const TZORCodeSymbol symbol = code.EncodeValue(zor::PrintedValue(code, own, D));
    if (!symbol.IsEmpty() || refused == TRefused::Background)
        PaintSymbol(code, D, TZORTarget::Print, symbol);
}

} // namespace

void TZORPDF417::Draw(TZORBaseDraw& D) const
{
    PaintSymbol(*this, D, TZORTarget::Screen, GetSymbol());
}

void TZORPDF417::Print(TZORBaseDraw& D) const
{
    PrintSymbol(*this, D, fCode, TRefused::Nothing);
}

void TZORDataMatrix::Draw(TZORBaseDraw& D) const
{
    PaintSymbol(*this, D, TZORTarget::Screen, GetSymbol());
}

void TZORDataMatrix::Print(TZORBaseDraw& D) const
{
    PrintSymbol(*this, D, fCode, TRefused::Background);
}

void TZORQRCode::Draw(TZORBaseDraw& D) const
{
    PaintSymbol(*this, D, TZORTarget::Screen, GetSymbol());
}

void TZORQRCode::Print(TZORBaseDraw& D) const
{
    PrintSymbol(*this, D, fCode, TRefused::Background);
}
