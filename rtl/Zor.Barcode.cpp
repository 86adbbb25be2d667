#include "Zor.Barcode.h"

#include <algorithm>

using zor::Field;
using zor::TDraw2D;
using zor::TECC200Shape;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;

// --- Code elements ---

const TZORFields<TZORBaseItem>& TZORCodeItem::CodeFields()
{
    using C = TZORCodeItem;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &C::fCode>("Code"),
              Field<TZORBaseItem, &C::fBarWidth>("BarWidth"),
              Field<TZORBaseItem, &C::fBarHeight>("BarHeight"),
              Field<TZORBaseItem, &C::fAngle>("Angle"),
              Field<TZORBaseItem, &C::fPaddingX>("PaddingX"),
              Field<TZORBaseItem, &C::fPaddingY>("PaddingY"),
              Field<TZORBaseItem, &C::fHorzAlign>("HorzAlign"),
          };
    return fields;
}

// The setters keep the bounds on the symbol; AfterRead leaves that to the reader's CalcValues.
void TZORCodeItem::AfterRead()
{
    fBarWidth = SaneModule(fBarWidth);
    fBarHeight = SaneModule(fBarHeight);
    fAngle = TZORAngle(zor::Ord(fAngle) & 3);
    fPaddingX = SanePadding(fPaddingX);
    fPaddingY = SanePadding(fPaddingY);
    fHorzAlign = SaneAlign(fHorzAlign);
    TZORFixedItem::AfterRead();
}

TZORHorzAlign TZORCodeItem::SaneAlign(TZORHorzAlign a)
{
    return a <= TZORHorzAlign::Right ? a : TZORHorzAlign::Center;
}

void TZORCodeItem::SetBarWidth(float w)
{
    fBarWidth = SaneModule(w);
    UpdateBounds();
}

void TZORCodeItem::SetBarHeight(float h)
{
    fBarHeight = SaneModule(h);
    UpdateBounds();
}

void TZORCodeItem::SetAngle(TZORAngle a)
{
    fAngle = TZORAngle(zor::Ord(a) & 3);
    UpdateBounds();
}

void TZORCodeItem::SetPaddingX(float p)
{
    fPaddingX = SanePadding(p);
    UpdateBounds();
}

void TZORCodeItem::SetPaddingY(float p)
{
    fPaddingY = SanePadding(p);
    UpdateBounds();
}

void TZORCodeItem::SetHorzAlign(TZORHorzAlign a)
{
    fHorzAlign = SaneAlign(a);
    UpdateBounds();
}

// A record read with too few points is refused after this; until then it has no frame.
void TZORCodeItem::UpdateBounds()
{
    if (GetPointsCount() < 1)
        TZORFixedItem::UpdateBounds();
    else
        fBounds = FrameRect(SymbolSize());
}

QRectF TZORCodeItem::SymbolRect(const QSizeF& size) const
{
    const QPointF at = zor::DrawTxtPos(0.0, 0.0, fPaddingX, fPaddingY, size.width(), size.height(),
        fHorzAlign, SymbolVertAlign(), TZORAngle::Angle0);
    return { at, size };
}

TZORRect TZORCodeItem::FrameRect(const QSizeF& size) const
{
    QRectF frame = SymbolRect(size).adjusted(-fPaddingX, -fPaddingY, fPaddingX, fPaddingY);
    TDraw2D::Rotate(frame, QPointF(), fAngle);
    // Paper millimetres are drawing micrometres times the drawing scale.
    const double base = 1000.0 * DrawScale();
    const TZORPto& p = GetPoint(1);
    return { p.X + zor::Round(frame.left() * base), p.Y + zor::Round(frame.top() * base),
        p.X + zor::Round(frame.right() * base), p.Y + zor::Round(frame.bottom() * base) };
}

// --- Linear barcode ---

TZORPreparedCode zor::PrepareLinearCode(
    const QByteArray& code, TZORBarType type, bool addCheck, bool removeAccents, bool showNumber)
{
    TZOR128AutoType autoType = TZOR128AutoType::None;
    TZORPreparedCode prepared;
    prepared.Code = TZORBarEncoder::PrepareBarcode(code, type, addCheck, removeAccents, autoType);
    if (!prepared.Code.isEmpty())
        prepared.Pattern = TZORBarEncoder::FillBarPattern(prepared.Code, type, autoType, showNumber);
    return prepared;
}

TZORBaseBarcode::TZORBaseBarcode(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseBarcode(aOwner, nullptr, aPreview)
{
}

TZORBaseBarcode::TZORBaseBarcode(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORLinearCode(aOwner, aLayer, aPreview)
{
    fBarWidth = DefaultBarWidth;
    fBarHeight = DefaultBarHeight;
}

const TZORFields<TZORBaseItem>& TZORBaseBarcode::GetFields() const
{
    using B = TZORBaseBarcode;
    static const TZORFields<TZORBaseItem> fields = CodeFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &B::fCodeType>("CodeType"),
              Field<TZORBaseItem, &B::fFactor>("Factor"),
              Field<TZORBaseItem, &B::fShowNumber>("ShowNumber"),
              Field<TZORBaseItem, &B::fAddCheck>("AddCheck"),
              Field<TZORBaseItem, &B::fRemoveAccents>("RemoveAccents"),
          };
    return fields;
}

void TZORBaseBarcode::AfterRead()
{
    fFactor = SaneFactor(fFactor);
    TZORLinearCode::AfterRead();
}

// Kind 0 is the reader's, after a load or a paste; 1 and 2 are the editor's.
void TZORBaseBarcode::CalcValues(int16_t aFlag)
{
    TZORLinearCode::CalcValues(aFlag);
    if (aFlag >= 0 && aFlag <= 2)
        Derive();
}

// An invalid code keeps the last valid code's bars on screen, marked invalid.
void TZORBaseBarcode::Derive()
{
    TakeCode(PrepareValue(GetCode()), true);
    UpdateBounds();
}

void TZORBaseBarcode::SetFontHeight(float h)
{
    TZORFontItem::SetFontHeight(h);
    UpdateBounds();
}

void TZORBaseBarcode::SetRemoveAccents(bool r)
{
    fRemoveAccents = r;
    Derive();
}

void TZORBaseBarcode::SetFontMetrics(
    int32_t ascent, int32_t descent, int32_t underline, int32_t height, double ratio)
{
    fFontAscent = ascent;
    fFontDescent = descent;
    fFontUnderline = underline;
    fFontMetricHeight = height;
    SetFontRatio(ratio);
}

// --- Two-dimensional codes ---

const TZORFields<TZORBaseItem>& TZORMatrixCode::MatrixFields()
{
    using M = TZORMatrixCode;
    static const TZORFields<TZORBaseItem> fields
        = CodeFields() + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &M::fVertAlign>("VertAlign") };
    return fields;
}

void TZORMatrixCode::AfterRead()
{
    fVertAlign = std::min(fVertAlign, TZORVertAlign::Bottom);
    TZORCodeItem::AfterRead();
}

void TZORMatrixCode::CalcValues(int16_t aFlag)
{
    TZORCodeItem::CalcValues(aFlag);
    Encode();
}

void TZORMatrixCode::SetVertAlign(TZORVertAlign a)
{
    fVertAlign = std::min(a, TZORVertAlign::Bottom);
    UpdateBounds();
}

void TZORMatrixCode::Encode()
{
    fSymbol = EncodeValue(fCode);
    UpdateBounds();
}

QSizeF TZORMatrixCode::GridSize(const TZORCodeSymbol& symbol) const
{
    return { symbol.Columns * double(fBarWidth), symbol.Rows * double(fBarHeight) };
}

// --- PDF417 ---

TZORBasePDF417::TZORBasePDF417(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBasePDF417(aOwner, nullptr, aPreview)
{
}

TZORBasePDF417::TZORBasePDF417(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORAnsiCode(aOwner, aLayer, aPreview)
{
    fBarWidth = DefaultBarWidth;
    fBarHeight = DefaultRowHeight;
}

const TZORFields<TZORBaseItem>& TZORBasePDF417::GetFields() const
{
    using P = TZORBasePDF417;
    static const TZORFields<TZORBaseItem> fields = MatrixFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &P::fCorrectionLevel>("CorrectionLevel"),
              Field<TZORBaseItem, &P::fColumns>("Columns"),
              Field<TZORBaseItem, &P::fRows>("Rows"),
              Field<TZORBaseItem, &P::fTruncated>("Truncated"),
          };
    return fields;
}

void TZORBasePDF417::AfterRead()
{
    fCorrectionLevel = zor::SanePdf417Level(fCorrectionLevel);
    fColumns = fColumns <= zor::Pdf417MaxColumns ? fColumns : 0;
    fRows = fRows <= zor::Pdf417MaxRows ? fRows : 0;
    TZORAnsiCode::AfterRead();
}

TZORPdf417Options TZORBasePDF417::Options() const
{
    return { fCorrectionLevel, fColumns, fRows, fTruncated };
}

TZORCodeSymbol TZORBasePDF417::EncodeValue(const QString& value) const
{
    return TZORCodeEncoder::PDF417(value.toLatin1(), Options());
}

void TZORBasePDF417::SetCorrectionLevel(TZORPdf417CorrectionLevel l)
{
    fCorrectionLevel = zor::SanePdf417Level(l);
    Encode();
}

void TZORBasePDF417::SetColumns(uint8_t c)
{
    fColumns = std::min<uint8_t>(c, zor::Pdf417MaxColumns);
    Encode();
}

void TZORBasePDF417::SetRows(uint8_t r)
{
    fRows = std::min<uint8_t>(r, zor::Pdf417MaxRows);
    Encode();
}

void TZORBasePDF417::SetTruncated(bool t)
{
    fTruncated = t;
    Encode();
}

// --- DataMatrix ---

const TZORFields<TZORBaseItem>& TZORBaseDataMatrix::GetFields() const
{
    using D = TZORBaseDataMatrix;
    static const TZORFields<TZORBaseItem> fields = MatrixFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &D::fSize>("Size"),
              Field<TZORBaseItem, &D::fShape>("Shape"),
          };
    return fields;
}

void TZORBaseDataMatrix::AfterRead()
{
    fSize = zor::SaneMatrixSize(fSize);
    fShape = zor::SaneMatrixShape(fShape);
    TZORAnsiCode::AfterRead();
}

TZORCodeSymbol TZORBaseDataMatrix::EncodeValue(const QString& value) const
{
    return TZORCodeEncoder::CalcECC200(value.toLatin1(), fSize, fShape);
}

void TZORBaseDataMatrix::SetSize(TECC200Size s)
{
    fSize = zor::SaneMatrixSize(s);
    Encode();
}

void TZORBaseDataMatrix::SetShape(TECC200Shape s)
{
    fShape = zor::SaneMatrixShape(s);
    Encode();
}

// --- QR code ---

const TZORFields<TZORBaseItem>& TZORBaseQRCode::GetFields() const
{
    using Q = TZORBaseQRCode;
    static const TZORFields<TZORBaseItem> fields = MatrixFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &Q::fLevel>("Level"),
              Field<TZORBaseItem, &Q::fEncoding>("Encoding"),
              Field<TZORBaseItem, &Q::fVersion>("Version"),
          };
    return fields;
}

void TZORBaseQRCode::AfterRead()
{
    fLevel = zor::SaneQRLevel(fLevel);
    fEncoding = zor::SaneQREncoding(fEncoding);
    fVersion = fVersion <= zor::QRMaxVersion ? fVersion : 0;
    TZORMatrixCode::AfterRead();
}

TZORCodeSymbol TZORBaseQRCode::EncodeValue(const QString& value) const
{
    return TZORCodeEncoder::QRCode(TZORBarEncoder::RemoveAccented(value), fEncoding, fLevel, fVersion);
}

void TZORBaseQRCode::SetCode(const QString& code)
{
    fCode = code;
    Encode();
}

void TZORBaseQRCode::SetLevel(TErrorCorrectionLevel l)
{
    fLevel = zor::SaneQRLevel(l);
    Encode();
}

void TZORBaseQRCode::SetEncoding(TZORQREncoding e)
{
    fEncoding = zor::SaneQREncoding(e);
    Encode();
}

void TZORBaseQRCode::SetVersion(uint8_t v)
{
    fVersion = std::min<uint8_t>(v, zor::QRMaxVersion);
    Encode();
}
