#include "Zor.Poly.h"

#include "Zor.BaseDraw.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Stream.h"

#include <algorithm>

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TECC200Shape;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;
using zor::TJsonArray;
using zor::TJsonObject;

// The poly text's record, after its fields: the items (binary: an int32 count and each item's
// fields; JSON: "Items", an array of objects).

namespace {

// The smallest item record, for checking counts against the bytes left before allocating.
constexpr int64_t MinItemBytes = 1 + 1 + 1 + 1 + 1 + 4 + 4 + 3;

} // namespace

const TZORFields<TZORDataPoly>& TZORDataPoly::Fields()
{
    using P = TZORDataPoly;
    static const TZORFields<P> fields {
        Field<P, &P::Text>("Text"),
        Field<P, &P::FillType>("FillType"),
        Field<P, &P::FillName>("FillName"),
        Field<P, &P::Format>("Format"),
        Field<P, &P::FontName>("FontName"),
        Field<P, &P::FontHeight>("FontHeight"),
        Field<P, &P::FontColor>("FontColor"),
        Field<P, &P::Bold>("Bold"),
        Field<P, &P::Italic>("Italic"),
        Field<P, &P::Underline>("Underline"),
        Field<P, &P::IA>("IA", 3103),
        Field<P, &P::AddPar>("AddPar", 3103),
        Field<P, &P::BackColor>("BackColor", 3103),
        Field<P, &P::FillBack>("FillBack", 3103),
    };
    return fields;
}

QString TZORDataPoly::WithIdentifier(const QString& text) const
{
    if (IA.isEmpty())
        return text;
    return (AddPar ? QLatin1Char('(') + IA + QLatin1Char(')') : IA) + text;
}

void TZORDataPoly::Sanitize()
{
    using F = TZORFontItem<TZORBoxItem>;
    FontHeight = zor::ClampFloat(FontHeight, F::MinFontHeight, F::MaxFontHeight, F::DefaultFontHeight);
}

TZORBasePoly::TZORBasePoly(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBasePoly(aOwner, nullptr, aPreview)
{
}

TZORBasePoly::TZORBasePoly(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORLinearCode(aOwner, aLayer, aPreview)
{
    fCodeType = TZORBarType::Code128;
    fBarWidth = TZORBaseBarcode::DefaultBarWidth;
    fBarHeight = TZORBaseBarcode::DefaultBarHeight;
}

const TZORFields<TZORBaseItem>& TZORBasePoly::GetFields() const
{
    using P = TZORBasePoly;
    static const TZORFields<TZORBaseItem> fields = CodeFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &P::fOutput>("Output"),
              Field<TZORBaseItem, &P::fVertAlign>("VertAlign"),
              Field<TZORBaseItem, &P::fRadio>("Radio"),
              Field<TZORBaseItem, &P::fCodeType>("CodeType"),
              Field<TZORBaseItem, &P::fFactor>("Factor"),
              Field<TZORBaseItem, &P::fShowNumber>("ShowNumber"),
              Field<TZORBaseItem, &P::fAddCheck>("AddCheck"),
              Field<TZORBaseItem, &P::fFontName>("FontName"),
              Field<TZORBaseItem, &P::fFontHeight>("FontHeight"),
              Field<TZORBaseItem, &P::fLevel>("Level"),
              Field<TZORBaseItem, &P::fEncoding>("Encoding"),
              Field<TZORBaseItem, &P::fMatrixSize>("MatrixSize"),
              Field<TZORBaseItem, &P::fMatrixShape>("MatrixShape"),
          };
    return fields;
}

TJsonObject TZORBasePoly::WriteJson() const
{
    TJsonObject o = TZORCodeItem::WriteJson();
    TJsonArray a = o.NewA("Items");
    for (const TZORDataPoly& item : fItems) {
        TJsonObject e = a.AddObject();
        zor::FieldsToJson(e, item, TZORDataPoly::Fields());
    }
    return o;
}

void TZORBasePoly::ReadJson(int32_t version, const TJsonObject& o)
{
    TZORCodeItem::ReadJson(version, o);
    if (!o.Contains("Items"))
        return;
    const TJsonArray a = o.A("Items");
    std::vector<TZORDataPoly> items(size_t(std::clamp(a.Count(), 0, MaxItems)));
    for (size_t i = 0; i < items.size(); ++i)
        zor::FieldsFromJson(a.O(int(i)), items[i], TZORDataPoly::Fields());
    fItems = std::move(items);
}

void TZORBasePoly::WriteData(TBinaryWriter& w) const
{
    TZORCodeItem::WriteData(w);
    w.WriteInt32(int32_t(fItems.size()));
    for (const TZORDataPoly& item : fItems)
        zor::WriteFields(w, item, TZORDataPoly::Fields());
}

void TZORBasePoly::ReadData(int32_t version, TBinaryReader& r, TZORReadType readType)
{
    TZORCodeItem::ReadData(version, r, readType);
    std::vector<TZORDataPoly> items(size_t(r.ReadCount(MaxItems, MinItemBytes)));
    for (TZORDataPoly& item : items)
        zor::ReadFields(r, item, TZORDataPoly::Fields());
    fItems = std::move(items);
}

void TZORBasePoly::AfterRead()
{
    for (TZORDataPoly& item : fItems)
        item.Sanitize();
    fVertAlign = std::min(fVertAlign, TZORVertAlign::Bottom);
    SetRadio(fRadio);
    fFactor = SaneFactor(fFactor);
    fFontHeight = zor::ClampFloat(fFontHeight, TZORFontItem<TZORBoxItem>::MinFontHeight,
        TZORFontItem<TZORBoxItem>::MaxFontHeight, TZORFontItem<TZORBoxItem>::DefaultFontHeight);
    fLevel = zor::SaneQRLevel(fLevel);
    fEncoding = zor::SaneQREncoding(fEncoding);
    fMatrixSize = zor::SaneMatrixSize(fMatrixSize);
    fMatrixShape = zor::SaneMatrixShape(fMatrixShape);
    TZORLinearCode::AfterRead();
}

bool TZORBasePoly::GetIsData() const
{
    return std::any_of(fItems.begin(), fItems.end(), [](const TZORDataPoly& i) { return i.FillType != 0; });
}

void TZORBasePoly::CalcValues(int16_t aFlag)
{
    TZORLinearCode::CalcValues(aFlag);
    Derive();
}

// --- Items ---

const TZORDataPoly* TZORBasePoly::GetItem(int32_t i) const
{
    return i >= 1 && i <= GetItemCount() ? &fItems[size_t(i - 1)] : nullptr;
}

void TZORBasePoly::AddItem(const TZORDataPoly& item)
{
    if (GetItemCount() >= MaxItems)
        return;
    fItems.push_back(item);
    fItems.back().Sanitize();
    Derive();
}

void TZORBasePoly::SetItem(int32_t i, const TZORDataPoly& item)
{
    if (i < 1 || i > GetItemCount())
        return;
    fItems[size_t(i - 1)] = item;
    fItems[size_t(i - 1)].Sanitize();
    Derive();
}

void TZORBasePoly::ClearItems()
{
    fItems.clear();
    Derive();
}

// --- Settings ---

void TZORBasePoly::SetOutput(TZORPolyOutput o)
{
    fOutput = o;
    Derive();
}

void TZORBasePoly::SetVertAlign(TZORVertAlign a)
{
    fVertAlign = std::min(a, TZORVertAlign::Bottom);
    UpdateBounds();
}

void TZORBasePoly::SetFontHeight(float h)
{
    using F = TZORFontItem<TZORBoxItem>;
    fFontHeight = zor::ClampFloat(h, F::MinFontHeight, F::MaxFontHeight, F::DefaultFontHeight);
    UpdateBounds();
}

void TZORBasePoly::SetLevel(TErrorCorrectionLevel l)
{
    fLevel = zor::SaneQRLevel(l);
    Derive();
}

void TZORBasePoly::SetEncoding(TZORQREncoding e)
{
    fEncoding = zor::SaneQREncoding(e);
    Derive();
}

void TZORBasePoly::SetMatrixSize(TECC200Size s)
{
    fMatrixSize = zor::SaneMatrixSize(s);
    Derive();
}

void TZORBasePoly::SetMatrixShape(TECC200Shape s)
{
    fMatrixShape = zor::SaneMatrixShape(s);
    Derive();
}

// --- Codes ---

QString TZORBasePoly::PrintedText(const TZORDataPoly& item, const TZORBaseDraw& D) const
{
    if (item.FillType == 0 || !fOwner)
        return OwnText(item);
    return item.WithIdentifier(D.DataValue(fOwner, item.FillName, item.Format, item.FillType));
}

QString TZORBasePoly::JoinedText(const TZORBaseDraw* printed) const
{
    QString text;
    for (const TZORDataPoly& item : fItems)
        text += printed ? PrintedText(item, *printed) : OwnText(item);
    return text;
}

TZORPreparedCode TZORBasePoly::PrepareValue(const QString& text) const
{
    return PrepareCode(text.toLatin1(), true);
}

TZORCodeSymbol TZORBasePoly::EncodeValue(const QString& text) const
{
    if (text.isEmpty())
        return {};
    switch (fOutput) {
    case TZORPolyOutput::QRCode:
        return TZORCodeEncoder::QRCode(TZORBarEncoder::RemoveAccented(text), fEncoding, fLevel, 0);
    case TZORPolyOutput::DataMatrix:
        return TZORCodeEncoder::CalcECC200(text.toLatin1(), fMatrixSize, fMatrixShape);
    default:
        return {};
    }
}

// An invalid code keeps no pattern of an earlier one: the screen shows it as invalid, never as
// the symbol of a code it no longer holds.
void TZORBasePoly::Derive()
{
    fCode = JoinedText();
    TakeCode(fOutput == TZORPolyOutput::Barcode ? PrepareValue(fCode) : TZORPreparedCode {}, false);
    fSymbol = EncodeValue(fCode);
    UpdateBounds();
}

QSizeF TZORBasePoly::GridSize(const TZORCodeSymbol& symbol) const
{
    return { double(symbol.Columns) * fBarWidth, double(symbol.Rows) * fBarHeight };
}

QSizeF TZORBasePoly::RunsSize(const std::vector<TZORPolyRun>& runs)
{
    int64_t along = 0;
    int32_t across = 0;
    for (const TZORPolyRun& run : runs) {
        along += run.Width;
        across = std::max(across, run.Metrics.Ascent + run.Metrics.Descent);
    }
    return { double(along) / 1000.0, double(across) / 1000.0 };
}

void TZORBasePoly::SetRuns(std::vector<TZORPolyRun> runs)
{
    fRuns = std::move(runs);
    UpdateBounds();
}

QSizeF TZORBasePoly::SymbolSize() const
{
    switch (fOutput) {
    case TZORPolyOutput::Text:
        return RunsSize(fRuns);
    case TZORPolyOutput::Barcode:
        return PatternSize(GetBarPattern());
    case TZORPolyOutput::QRCode:
    case TZORPolyOutput::DataMatrix:
        return GridSize(fSymbol);
    }
    return { 0.0, 0.0 }; // the frame alone
}

TZORVertAlign TZORBasePoly::SymbolVertAlign() const
{
    return fOutput == TZORPolyOutput::Barcode ? TZORVertAlign::Top : fVertAlign;
}
