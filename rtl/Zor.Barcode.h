#pragma once

#include "Zor.Line.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Codes of the model: the linear barcode's symbologies, the interface through which the drawing
// layer reads a barcode, the encoder that turns a code text into a bar pattern (see TBarcode in
// Zor.Utils.h for the pattern's characters), and the code element kinds.

// Symbologies, as stored in label files. Values from BarTypeCount on are kept as read and
// never encode.
enum class TZORBarType : uint8_t {
    EAN13 = 0,
    EAN8 = 1,
    UPCA = 2,
    UPCE = 3,
    Code39 = 4,
    Code39Full = 5, // full ASCII
    Code93 = 6,
    Code93Full = 7, // full ASCII
    Codabar = 8,
    Code128A = 9,
    Code128B = 10,
    Code128 = 11, // code sets switched automatically
    Code128C = 12,
    EAN128A = 13, // GS1-128
    EAN128B = 14,
    EAN128 = 15,
    EAN128C = 16,
    Interleaved2of5 = 17,
    Industrial2of5 = 18,
    Matrix2of5 = 19,
    Code11 = 20,
    MSI = 21,
    PostNet = 22
};

// Which Code 128 code sets an encoding may use. PrepareBarcode decides it from the
// symbology, FillBarPattern obeys it.
enum class TZOR128AutoType : uint8_t {
    None = 0, // not a Code 128 symbology: nothing to decide
    AllSets = 1, // A, B and C, switched where that gives the shortest symbol
    NoSetC = 2 // A and B only: digits stay one symbol character each
};

namespace zor {

inline constexpr int BarTypeCount = 23;

constexpr bool IsRetailBarType(TZORBarType type)
{
    return Ord(type) <= Ord(TZORBarType::UPCE);
}

// The human-readable text of a retail code split as it is written around the symbol: the
// leading digit left of the bars, one or two groups under them, the check digit right of
// them. A text shorter than its symbology's full length gives shorter or empty parts; nothing
// beyond its end is read. No value for the other symbologies, whose text is written whole.
struct TZORRetailText {
    QByteArray Lead;
    QByteArray Group1;
    QByteArray Group2;
    QByteArray Trail;
};
std::optional<TZORRetailText> SplitRetailText(const QByteArray& text, TZORBarType type);

} // namespace zor

// A linear barcode as the drawing layer reads it. Lengths are millimetres; GetDrawValue and
// GetPrintValue turn them into device pixels at a resolution (dots per inch), as a float for
// shapes and rounded (halves to even) for text positions. The two conversions are paper
// lengths: they follow the resolution only, so that GetDrawValue(GetBarHeight(), DPI Y)
// equals GetBarHeight() × the context's pixels per millimetre.
class IZORBarcode {
public:
    virtual ~IZORBarcode() = default;

    virtual float GetBarWidth() const = 0; // narrow module
    virtual float GetBarHeight() const = 0;
    virtual float GetPaddingX() const = 0; // along the symbol
    virtual float GetPaddingY() const = 0; // across the symbol
    virtual float GetFactor() const = 0; // wide bar ÷ narrow module
    virtual TZORHorzAlign GetHorzAlign() const = 0;
    virtual TZORAngle GetAngle() const = 0;
    virtual float GetFontHeight() const = 0;
    virtual bool GetShowNumber() const = 0;
    virtual TZORBarType GetBarType() const = 0;
    virtual QByteArray GetAnsiCode() const = 0; // the prepared code (Latin-1)
    virtual QByteArray GetBarPattern() const = 0;
    virtual QString GetFontName() const = 0;
    virtual float GetDrawValue(float length, int32_t dpi) const;
    virtual int32_t GetPrintValue(float length, int32_t dpi) const;

protected:
    IZORBarcode() = default;
    IZORBarcode(const IZORBarcode&) = default;
    IZORBarcode& operator=(const IZORBarcode&) = default;
};

// The encoder of linear barcodes, on libzint. Code texts are 8-bit (Latin-1) strings. Every
// call encodes on its own, so the print and export workers may call it alongside the user
// interface.
//
// A barcode element keeps two option flags and uses the encoder in three steps:
//
//   if (TZORBarEncoder::IsValidCode(code, type, addCheck, removeAccents)) {
//       TZOR128AutoType autoType;
//       prepared = TZORBarEncoder::PrepareBarcode(code, type, addCheck, removeAccents, autoType);
//       pattern = TZORBarEncoder::FillBarPattern(prepared, type, autoType, showNumber);
//   }
//   width = TZORBarEncoder::BarCodeWidth(pattern, barWidthMM, factor);
//
// The prepared code is both what the symbol encodes and the text written under it:
// - EAN-13, EAN-8, UPC-A and UPC-E take their code with or without the check digit (12 or
//   13, 7 or 8, 11 or 12 digits; UPC-E 6 digits, or 7 or 8 with the number system 0 or 1
//   first). A check digit given must be right; the prepared code always has full length.
// - With addCheck, the symbologies whose check character is optional get it appended to the
//   prepared code: Code 39 (modulo 43), Codabar (modulo 16, before the stop character), the
//   2 of 5 codes (modulo 10, weights 3 and 1), Code 11 (the two digits C and K) and MSI
//   (modulo 10). Code 39 full ASCII has none, since its check character need not be a
//   character of its own. Code 93, Code 128, EAN-128 and PostNet carry their mandatory check
//   characters in the bars only.
// - With removeAccents, accented letters lose their accents first (RemoveAccented).
// - Code 39 and Codabar take lower-case letters as upper-case ones.
// - Interleaved 2 of 5 gets a leading 0 when its digit count is odd.
// - Codabar codes begin and end with one of A, B, C, D.
// - Code 128 C and EAN-128 C take an even number of digits.
// - EAN-128 takes its element string with the application identifiers in brackets
//   ("[01]09501101530003") or parentheses ("(01)09501101530003"), which are checked, or
//   any other printable text, which is encoded after an FNC1 as it stands.
// - PostNet takes 5, 9 or 11 digits.
class TZORBarEncoder {
public:
    // Characters of the symbologies with a set of their own (key filters use them too).
    static constexpr std::string_view ValidFullCode39 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    static constexpr std::string_view ValidCode93 = ValidFullCode39;
    static constexpr std::string_view ValidCodabar = "0123456789-$:/.+ABCD";
    static constexpr std::string_view ValidCode11 = "0123456789-";

    static bool IsValidCode(const QByteArray& code, TZORBarType type, bool addCheck, bool removeAccents);
    // Empty, with autoType None, for a code that IsValidCode rejects.
    static QByteArray PrepareBarcode(const QByteArray& code, TZORBarType type, bool addCheck,
        bool removeAccents, TZOR128AutoType& autoType);
    // The bar pattern of a prepared code; empty when the code does not encode. Two-width
    // symbologies (Code 39, Codabar, the 2 of 5 codes, Code 11, MSI) use the narrow and the
    // wide width class only, so that the element's width factor sets their ratio; the others
    // use whole modules. The guard bars of EAN and UPC (and the bars of UPC-A's first and
    // last digit) are guard bars when the number is shown, full bars otherwise, since
    // without digits there is no text line to reach into. PostNet has full and short bars.
    static QByteArray FillBarPattern(
        const QByteArray& prepared, TZORBarType type, TZOR128AutoType autoType, bool showNumber);
    // The length of a pattern along the symbol, in micrometres, for a narrow module of
    // barWidthMM millimetres and wide elements of factor modules.
    static int64_t BarCodeWidth(QByteArrayView pattern, double barWidthMM, double factor);
    // Letters with accents (and with a stroke: Ø, Ł, Đ) become their base letters; every other
    // character stays.
    static QString RemoveAccented(const QString& text);

    // The symbol's modules as libzint lays them out, one row of '0' and '1' per row of the
    // symbol (PostNet: the upper half of the tall bars, then the bar band every bar fills);
    // empty when the code does not encode.
    static std::vector<QByteArray> ModuleRows(
        const QByteArray& prepared, TZORBarType type, TZOR128AutoType autoType);
};

// A code element anchored at point 1: its code text, the size of its modules (narrow bar and bar
// height of a linear barcode, module width and row height of a PDF417, the square modules of the
// matrix codes) in millimetres, and its quarter turn.
class TZORCodeItem : public TZORFixedItem<TZOR2DItem, 1> {
public:
    static constexpr float MinModule = 0.01f; // millimetres
    static constexpr float MaxModule = 1000.0f;
    static constexpr float DefaultModule = 0.5f;

    using TZORFixedItem::TZORFixedItem;

    float GetBarWidth() const { return fBarWidth; }
    float GetBarHeight() const { return fBarHeight; }
    void SetBarWidth(float w) { fBarWidth = SaneModule(w); }
    void SetBarHeight(float h) { fBarHeight = SaneModule(h); }
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a) { fAngle = TZORAngle(zor::Ord(a) & 3); }

protected:
    static const TZORFields<TZORBaseItem>& CodeFields();
    void AfterRead() override;

    QString fCode;
    float fBarWidth = DefaultModule;
    float fBarHeight = DefaultModule;

private:
    static float SaneModule(float v) { return zor::ClampFloat(v, MinModule, MaxModule, DefaultModule); }

    TZORAngle fAngle = TZORAngle::Angle0;
};

// A code of 8-bit characters (Latin-1), as the encoders of these kinds take it.
template <class Base> class TZORAnsiCode : public Base {
public:
    using Base::Base;

    QByteArray GetCode() const { return this->fCode.toLatin1(); }
    void SetCode(const QByteArray& code) { this->fCode = QString::fromLatin1(code); }

protected:
    // A character of a file's code that 8 bits cannot hold becomes '?', as the encoder sees it.
    void AfterRead() override
    {
        this->fCode = QString::fromLatin1(this->fCode.toLatin1());
        Base::AfterRead();
    }
};

// A linear barcode (type code 12): the symbology, the width factor of the two-width codes, and
// the human-readable text under the bars in the element's font.
class TZORBaseBarcode : public TZORFontItem<TZORAnsiCode<TZORCodeItem>> {
public:
    static constexpr float DefaultBarWidth = 0.33f; // millimetres
    static constexpr float DefaultBarHeight = 15.0f;
    static constexpr float MinFactor = 1.0f;
    static constexpr float MaxFactor = 10.0f;
    static constexpr float DefaultFactor = 2.5f;

    TZORBaseBarcode(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseBarcode(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Barcode; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    TZORBarType GetCodeType() const { return fCodeType; }
    void SetCodeType(TZORBarType t) { fCodeType = t; }
    // Wide elements of the two-width symbologies, in narrow modules.
    float GetFactor() const { return fFactor; }
    void SetFactor(float f) { fFactor = zor::ClampFloat(f, MinFactor, MaxFactor, DefaultFactor); }
    bool GetShowNumber() const { return fShowNumber; }
    void SetShowNumber(bool s) { fShowNumber = s; }

protected:
    void AfterRead() override;

private:
    TZORBarType fCodeType = TZORBarType::EAN13;
    float fFactor = DefaultFactor;
    bool fShowNumber = true;
};

// A PDF417 symbol (type code 13); its rows are taller than its modules are wide.
class TZORBasePDF417 : public TZORAnsiCode<TZORCodeItem> {
public:
    static constexpr float DefaultBarWidth = 0.33f; // millimetres
    static constexpr float DefaultRowHeight = 1.0f;

    TZORBasePDF417(TZORBaseLabel* aOwner, bool aPreview);
    TZORBasePDF417(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::PDF417; }
    const TZORFields<TZORBaseItem>& GetFields() const override { return CodeFields(); }
};

// A DataMatrix ECC 200 symbol (type code 14).
class TZORBaseDataMatrix : public TZORAnsiCode<TZORCodeItem> {
public:
    using TZORAnsiCode::TZORAnsiCode;

    TZORItemType TypeCode() const override { return TZORItemType::DataMatrix; }
    const TZORFields<TZORBaseItem>& GetFields() const override { return CodeFields(); }
};

// A QR code (type code 15); its code is any text.
class TZORBaseQRCode : public TZORCodeItem {
public:
    using TZORCodeItem::TZORCodeItem;

    TZORItemType TypeCode() const override { return TZORItemType::QRCode; }
    const TZORFields<TZORBaseItem>& GetFields() const override { return CodeFields(); }

    const QString& GetCode() const { return fCode; }
    void SetCode(const QString& code) { fCode = code; }
};
