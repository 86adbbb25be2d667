#include "Zor.Vcl.Poly.h"

#include "Zor.Vcl.Composite.Text.h"
#include "drawing/Zor.Vcl.Shared.Barcode.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <exception>
#include <utility>
#include <vector>

using zor::DrawBarcode;
using zor::PrintBarcode;
using zor::TAlphaColor;
using zor::TGPGraphicsPath;
using zor::TZORElementPainter;

namespace {

constexpr TAlphaColor CrossColour { 0xFFFF0000 };
constexpr float CrossPenWidth = 0.1f; // millimetres

// The frame is the text kinds': the back colour and the outline inside the box.
constexpr zor::TZORFrameRule PolyFrame = zor::TextFrame;

// What one target shows: the texts of the runs as measured, or the code joined from them.
struct TContent {
    QStringList Texts;
    std::vector<TZORPolyRun> Runs;
    TZORPreparedCode Linear;
    TZORCodeSymbol Symbol;
};

std::vector<TZORPolyRun> MeasureRuns(const TZORBasePoly& poly, const QStringList& texts)
{
    std::vector<TZORPolyRun> runs;
    for (int32_t i = 1; i <= poly.GetItemCount(); ++i) {
        const TZORDataPoly& item = *poly.GetItem(i);
        TZORPolyRun run;
        run.Metrics = zor::FontMetricsOf(item.FontName, item.BaseFontHeight(), item.Bold, item.Italic);
        run.Width = TZORCalc::CalcTxtSize(texts.value(i - 1)).width();
        runs.push_back(run);
    }
    return runs;
}

// The texts of the parts: their own, or with D the printed ones (a bound part's data).
QStringList Texts(const TZORBasePoly& poly, const TZORBaseDraw* D = nullptr)
{
    QStringList texts;
    for (int32_t i = 1; i <= poly.GetItemCount(); ++i)
        texts << (D ? poly.PrintedText(*poly.GetItem(i), *D) : TZORBasePoly::OwnText(*poly.GetItem(i)));
    return texts;
}

// Both diagonals of the box, in fine red dots.
void RedCross(TZORElementPainter& P, const QRectF& box, TZORItemState state)
{
    TGPGraphicsPath cross;
    cross.AddLine(box.left(), box.top(), box.right(), box.bottom());
    cross.StartFigure();
    cross.AddLine(box.right(), box.top(), box.left(), box.bottom());
    P.Stroke(cross, { CrossColour, CrossPenWidth, TZORineType::Dot, state, false });
}

// The runs side by side along the symbol, each placed across it by the vertical alignment
// within the highest run; a run with a back colour fills its stretch of the symbol's height.
void PaintRuns(TZORElementPainter& P, const TZORBasePoly& poly, const TContent& c, const QSizeF& size)
{
    const zor::TCodePlace place = zor::PlaceSymbol(P, poly, size);
    int64_t along = 0;
    for (int32_t i = 1; i <= poly.GetItemCount() && size_t(i) <= c.Runs.size(); ++i) {
        const TZORDataPoly& item = *poly.GetItem(i);
        const TZORPolyRun& run = c.Runs[size_t(i - 1)];
        const double h = double(run.Metrics.Ascent + run.Metrics.Descent) / 1000.0;
        double v = 0.0;
        if (poly.GetVertAlign() == TZORVertAlign::Center)
            v = (size.height() - h) / 2.0;
        else if (poly.GetVertAlign() == TZORVertAlign::Bottom)
            v = size.height() - h;
        if (item.FillBack) {
            const QRectF band(P.MMAlong(place.Turn, double(along) / 1000.0), P.MMAcross(place.Turn, 0.0),
                P.MMAlong(place.Turn, double(run.Width) / 1000.0), P.MMAcross(place.Turn, size.height()));
            P.Fill(zor::RoundedBox(place.Turn.Map(band), 0, 0), item.BackColor);
        }
        zor::WriteText(P, place.Turn, P.MMAlong(place.Turn, double(along) / 1000.0),
            P.MMAcross(place.Turn, v), c.Texts.value(i - 1),
            { item.FontName, item.Bold, item.Italic, item.Underline, item.FontHeight, run.Metrics.Ratio,
                item.FontColor });
        along += run.Width;
    }
}

// The size of what the element shows, paper millimetres; nothing for the outputs beyond four.
QSizeF ContentSize(const TZORBasePoly& poly, const TContent& c)
{
    switch (poly.GetOutput()) {
    case TZORPolyOutput::Text:
        return TZORBasePoly::RunsSize(c.Runs);
    case TZORPolyOutput::Barcode:
        return poly.PatternSize(c.Linear.Pattern);
    case TZORPolyOutput::QRCode:
    case TZORPolyOutput::DataMatrix:
        return poly.GridSize(c.Symbol);
    }
    return { 0.0, 0.0 };
}

// The frame, then the content, on either target. An invalid linear code shows a red cross on
// screen and leaves the paper blank.
void Paint(TZORElementPainter& P, const TZORBasePoly& poly, const TContent& c)
{
    const bool invalidCode = poly.GetOutput() == TZORPolyOutput::Barcode && c.Linear.Pattern.isEmpty();
    const QSizeF size = ContentSize(poly, c);
    const TZORRect frame = poly.FrameRect(size);
    const QRectF box = zor::FrameBox(P, frame);
    if (invalidCode) {
        if (P.OnScreen())
            RedCross(P, box, poly.GetItemState());
        return;
    }
    P.Frame(box, zor::TZORFrameLook::Of(poly, poly.GetRadio()), PolyFrame);
    P.DataMarker(poly, P.At(poly.GetPoint(1)));
    switch (poly.GetOutput()) {
    case TZORPolyOutput::Text:
        PaintRuns(P, poly, c, size);
        break;
    case TZORPolyOutput::Barcode:
        if (P.OnScreen())
            DrawBarcode(P.Context(), poly, poly.GetPoint(1), poly.GetColor(),
                zor::ClampToInt32(frame.GetWidth()), zor::ClampToInt32(frame.GetHeight()),
                poly.GetFontRatio());
        else
            PrintBarcode(P.Context(), poly, poly.GetPoint(1), poly.GetColor(),
                zor::ClampToInt32(zor::Ord(poly.GetAngle()) % 2 == 0 ? frame.GetWidth() : frame.GetHeight()),
                0, poly.GetFontRatio(), c.Linear.Code, c.Linear.Pattern);
        break;
    case TZORPolyOutput::QRCode:
    case TZORPolyOutput::DataMatrix: {
        const zor::TCodePlace place = zor::PlaceSymbol(P, poly, size);
        zor::PaintModules(P, place.Turn, place.ModuleW, place.ModuleH, c.Symbol, poly.GetColor());
        break;
    }
    }
}

} // namespace

void TZORPolyText::CalcValues(int16_t aFlag)
{
    TZORBasePoly::CalcValues(aFlag);
    SetFontRatio(
        zor::FontMetricsOf(GetFontName(), int32_t(zor::Round(double(GetFontHeight()) * 1000.0)), false, false)
            .Ratio);
    SetRuns(MeasureRuns(*this, Texts(*this)));
}

void TZORPolyText::Draw(TZORBaseDraw& D) const
{
    TZORElementPainter P(D, zor::TZORTarget::Screen);
    if (!P.Context().kC || !P.Context().kP)
        return;
    const QStringList texts = Texts(*this);
    // Runs not measured since the texts changed are measured for this pass alone.
    std::vector<TZORPolyRun> runs
        = GetRuns().size() == size_t(GetItemCount()) ? GetRuns() : MeasureRuns(*this, texts);
    const TZORPreparedCode own { GetAnsiCode(), GetBarPattern() };
    Paint(P, *this, { texts, std::move(runs), own, GetSymbol() });
}

// The printed values are measured, joined and encoded for this call alone; any failure on the
// way leaves the element off the page and the job goes on.
void TZORPolyText::Print(TZORBaseDraw& D) const
{
    try {
        TZORElementPainter P(D, zor::TZORTarget::Print);
        if (!P.Context().aG)
            return;
        TContent c;
        c.Texts = Texts(*this, &D);
        switch (GetOutput()) {
        case TZORPolyOutput::Text:
            c.Runs = MeasureRuns(*this, c.Texts);
            break;
        case TZORPolyOutput::Barcode:
            c.Linear = PrepareValue(c.Texts.join(QString()));
            break;
        case TZORPolyOutput::QRCode:
        case TZORPolyOutput::DataMatrix:
            c.Symbol = EncodeValue(c.Texts.join(QString()));
            break;
        }
        Paint(P, *this, c);
    } catch (const std::exception&) {
    }
}
