#pragma once

#include "Zor.Line.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
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
struct QUINDLE_RTL_EXPORT TZORRetailText {
    QByteArray Lead;
    QByteArray Group1;
    QByteArray Group2;
    QByteArray Trail;
};
QUINDLE_RTL_EXPORT std::optional<TZORRetailText> SplitRetailText(const QByteArray& text, TZORBarType type);

} // namespace zor

// A linear barcode as the drawing layer reads it. Lengths are millimetres; GetDrawValue and
// GetPrintValue turn them into device pixels at a resolution (dots per inch), as a float for
// shapes and rounded (halves to even) for text positions. The two conversions are paper
// lengths: they follow the resolution only, so that GetDrawValue(GetBarHeight(), DPI Y)
// equals GetBarHeight() × the context's pixels per millimetre.
class QUINDLE_RTL_EXPORT IZORBarcode {
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
class QUINDLE_RTL_EXPORT TZORBarEncoder {
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

// --- Two-dimensional codes ---

// Error correction of a PDF417: a level from 0 (2 correction codewords) to 8 (512), or Auto,
// the level the standard recommends for the amount of data (2 to 5).
enum class TZORPdf417CorrectionLevel : uint8_t {
    Auto = 0,
    Level0 = 1,
    Level1 = 2,
    Level2 = 3,
    Level3 = 4,
    Level4 = 5,
    Level5 = 6,
    Level6 = 7,
    Level7 = 8,
    Level8 = 9
};

namespace zor {

// The size of a DataMatrix ECC 200 symbol: Auto (the smallest that holds the data, of the sizes
// the shape allows) or one of the 48 sizes in the standards' order: 1 to 24 the squares from
// 10 × 10 to 144 × 144 modules, 25 to 30 the rectangles from 8 × 18 to 16 × 48 (rows × columns),
// 31 to 48 the extended rectangles of ISO/IEC 21471 from 8 × 48 to 26 × 64.
enum class TECC200Size : uint8_t { Auto = 0 };

// The sizes an automatic DataMatrix chooses from: squares only, squares and rectangles, or
// those and the extended rectangles.
enum class TECC200Shape : uint8_t { Square = 0, Any = 1, AnyExtended = 2 };

// QR code error correction: about 7, 15, 25 and 30 % of the symbol restorable.
enum class TErrorCorrectionLevel : uint8_t { L = 0, M = 1, Q = 2, H = 3 };

} // namespace zor

// How a QR code's text becomes bytes. Auto takes the character set that holds the text (Latin-1,
// else Shift JIS, else UTF-8 marked by ECI 26); UTF8 is always UTF-8 marked by ECI 26; Latin1
// is one byte per character, '?' for a character Latin-1 lacks.
enum class TZORQREncoding : uint8_t { Auto = 0, UTF8 = 1, Latin1 = 2 };

namespace zor {

inline constexpr int Pdf417LevelCount = 10; // Auto and levels 0 to 8
inline constexpr int Pdf417MaxColumns = 30;
inline constexpr int Pdf417MaxRows = 90;
inline constexpr int ECC200SizeCount = 48;
inline constexpr int ECC200ShapeCount = 3;
inline constexpr int QRLevelCount = 4;
inline constexpr int QREncodingCount = 3;
inline constexpr int QRMaxVersion = 40;

// The settings of the two-dimensional codes brought into range: a value that names none falls
// back to the default (Auto, Square, M).
constexpr TZORPdf417CorrectionLevel SanePdf417Level(TZORPdf417CorrectionLevel l)
{
    return Ord(l) < Pdf417LevelCount ? l : TZORPdf417CorrectionLevel::Auto;
}
constexpr TECC200Size SaneMatrixSize(TECC200Size s)
{
    return Ord(s) <= ECC200SizeCount ? s : TECC200Size::Auto;
}
constexpr TECC200Shape SaneMatrixShape(TECC200Shape s)
{
    return Ord(s) < ECC200ShapeCount ? s : TECC200Shape::Square;
}
constexpr TErrorCorrectionLevel SaneQRLevel(TErrorCorrectionLevel l)
{
    return Ord(l) < QRLevelCount ? l : TErrorCorrectionLevel::M;
}
constexpr TZORQREncoding SaneQREncoding(TZORQREncoding e)
{
    return Ord(e) < QREncodingCount ? e : TZORQREncoding::Auto;
}

} // namespace zor

// The modules of a two-dimensional code as its encoder laid them out: Rows rows of Columns
// modules, row by row from the top (a PDF417 row is one row of its symbol). Empty when the
// value did not encode.
struct QUINDLE_RTL_EXPORT TZORCodeSymbol {
    int16_t Rows = 0;
    int16_t Columns = 0;
    std::vector<uint8_t> Modules; // Rows × Columns; 1 marks a dark module
    int16_t CodeColumns = 0; // PDF417: data columns
    int16_t EccLevel = -1; // PDF417: 0 to 8; QR code: 0 to 3 (L to H); -1 for the others

    bool IsEmpty() const { return Rows < 1 || Columns < 1; }
    bool Dark(int row, int column) const
    {
        return Modules[size_t(row) * size_t(Columns) + size_t(column)] == 1;
    }
};

struct QUINDLE_RTL_EXPORT TZORPdf417Options {
    TZORPdf417CorrectionLevel Level = TZORPdf417CorrectionLevel::Auto;
    int Columns = 0; // data columns, 0 for the encoder's choice
    int Rows = 0; // 0 for the encoder's choice; a row count too small for the data grows
    bool Truncated = false; // compact form: no right row indicator, a one-module stop bar
};

// The encoders of the two-dimensional codes, on libzint. Each call encodes with a symbol of
// its own, so the print and export workers may encode while the user interface does. A value
// that does not encode (empty, too long for the size asked for) gives an empty symbol.
class QUINDLE_RTL_EXPORT TZORCodeEncoder {
public:
    // 8-bit data, byte for byte. The symbol is (CodeColumns + 4) × 17 + 1 modules wide, or
    // (CodeColumns + 2) × 17 + 1 truncated.
    static TZORCodeSymbol PDF417(const QByteArray& data, const TZORPdf417Options& options);
    // DataMatrix ECC 200 of 8-bit data, byte for byte; Latin-1 is the reader's default reading.
    static TZORCodeSymbol CalcECC200(const QByteArray& data, zor::TECC200Size size, zor::TECC200Shape shape);
    // QR code of the text; version 1 to 40 asks for that size, 0 for the smallest that holds it.
    static TZORCodeSymbol QRCode(
        const QString& text, TZORQREncoding encoding, zor::TErrorCorrectionLevel level, int version);
};

// --- Code elements ---

// A code element anchored at point 1: its code text, the size of its modules (narrow bar and bar
// height of a linear barcode, module width and row height of a PDF417, the modules of the matrix
// codes) in millimetres, paddings, horizontal alignment and quarter turn.
//
// The symbol lies at point 1 as a text block does (zor::DrawTxtPos): left alignment puts it
// padding X to the right of the point, right alignment padding X to its left, centring
// centres it on the point; likewise across the symbol. Its frame, the symbol grown by the
// paddings on every side, is the element's bounds; both turn about point 1.
class QUINDLE_RTL_EXPORT TZORCodeItem : public TZORFixedItem<TZOR2DItem, 1> {
public:
    static constexpr float MinModule = 0.01f; // millimetres
    static constexpr float MaxModule = 1000.0f;
    static constexpr float DefaultModule = 0.5f;
    static constexpr float MaxPadding = 1000.0f; // millimetres

    using TZORFixedItem::TZORFixedItem;

    float GetBarWidth() const { return fBarWidth; }
    float GetBarHeight() const { return fBarHeight; }
    void SetBarWidth(float w);
    void SetBarHeight(float h);
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a);
    // Room around the symbol, millimetres: along it (X) and across it (Y).
    float GetPaddingX() const { return fPaddingX; }
    float GetPaddingY() const { return fPaddingY; }
    void SetPaddingX(float p);
    void SetPaddingY(float p);
    // Left, centre or right; justified counts as centred.
    TZORHorzAlign GetHorzAlign() const { return fHorzAlign; }
    void SetHorzAlign(TZORHorzAlign a);

    // The frame of the symbol the element shows.
    void UpdateBounds() override;

    // Where a symbol of `size` (paper millimetres along and across it) lies before it turns:
    // millimetres from point 1, u along the symbol, v across it.
    QRectF SymbolRect(const QSizeF& size) const;
    // Its frame in base units: the symbol grown by the paddings, turned about point 1.
    TZORRect FrameRect(const QSizeF& size) const;

protected:
    static const TZORFields<TZORBaseItem>& CodeFields();
    void AfterRead() override;

    // Makes the derived symbol anew after a setting it depends on changed.
    virtual void Derive() = 0;
    // The size of the symbol the element shows, paper millimetres along and across it.
    virtual QSizeF SymbolSize() const = 0;
    virtual TZORVertAlign SymbolVertAlign() const { return TZORVertAlign::Top; }

    QString fCode;
    float fBarWidth = DefaultModule;
    float fBarHeight = DefaultModule;

private:
    static float SaneModule(float v) { return zor::ClampFloat(v, MinModule, MaxModule, DefaultModule); }
    static float SanePadding(float p) { return zor::ClampFloat(p, 0.0f, MaxPadding, 0.0f); }
    static TZORHorzAlign SaneAlign(TZORHorzAlign a);

    TZORAngle fAngle = TZORAngle::Angle0;
    float fPaddingX = 0.0f;
    float fPaddingY = 0.0f;
    TZORHorzAlign fHorzAlign = TZORHorzAlign::Left;
};

// A code of 8-bit characters (Latin-1), as the encoders of these kinds take it.
template <class Base> class TZORAnsiCode : public Base {
public:
    using Base::Base;

    QByteArray GetCode() const { return this->fCode.toLatin1(); }
    void SetCode(const QByteArray& code)
    {
        this->fCode = QString::fromLatin1(code);
        this->Derive();
    }

protected:
    // A character of a file's code that 8 bits cannot hold becomes '?', as the encoder sees it.
    void AfterRead() override
    {
        this->fCode = QString::fromLatin1(this->fCode.toLatin1());
        Base::AfterRead();
    }
};

// A linear barcode printed from its code and bar pattern.
struct QUINDLE_RTL_EXPORT TZORPreparedCode {
    QByteArray Code; // what the symbol encodes and the text under it
    QByteArray Pattern; // empty when the value is not a valid code
};

namespace zor {

// The prepared code and bar pattern of a code text; both empty when it does not encode.
QUINDLE_RTL_EXPORT TZORPreparedCode PrepareLinearCode(
    const QByteArray& code, TZORBarType type, bool addCheck, bool removeAccents, bool showNumber);

} // namespace zor

// The linear code of an element, and the IZORBarcode through which the drawing layer reads it:
// symbology, width factor of the two-width codes, the digits under the bars (in the element's
// font), the optional check character, and the prepared code and bar pattern derived from them.
// The linear barcode and the poly text's joined code are both one; each says when its code is
// derived again and what it derives from.
template <class Base> class TZORLinearCode : public Base, public IZORBarcode {
public:
    static constexpr float MinFactor = 1.0f;
    static constexpr float MaxFactor = 10.0f;
    static constexpr float DefaultFactor = 2.5f;

    using Base::Base;

    TZORBarType GetCodeType() const { return fCodeType; }
    void SetCodeType(TZORBarType t)
    {
        fCodeType = t;
        this->Derive();
    }
    void SetFactor(float f)
    {
        fFactor = SaneFactor(f);
        this->UpdateBounds();
    }
    // The guard bars of the retail codes depend on whether the number is shown.
    void SetShowNumber(bool s)
    {
        fShowNumber = s;
        this->Derive();
    }
    // Append the optional check character.
    bool GetAddCheck() const { return fAddCheck; }
    void SetAddCheck(bool a)
    {
        fAddCheck = a;
        this->Derive();
    }

    bool GetCodeValid() const { return fCodeValid; }
    const QByteArray& GetPreparedCode() const { return fPreparedCode; }
    // The character height of the digits' font over its cell height, as the renderer measured it.
    double GetFontRatio() const { return fFontRatio; }
    void SetFontRatio(double r) { fFontRatio = zor::SaneRatio(r); }

    // The symbol of a pattern in paper millimetres: its bars along it and the bar height and the
    // text line (when shown) across it. A code that never was valid has no bars; its symbol is
    // a square, so that the element still has room for the red cross and for the pointer.
    QSizeF PatternSize(QByteArrayView pattern) const
    {
        const double across = double(this->fBarHeight) + (fShowNumber ? double(GetFontHeight()) : 0.0);
        if (pattern.isEmpty())
            return { across, across };
        return { double(TZORBarEncoder::BarCodeWidth(pattern, this->fBarWidth, fFactor)) / 1000.0, across };
    }

    // IZORBarcode
    float GetBarWidth() const override { return this->fBarWidth; }
    float GetBarHeight() const override { return this->fBarHeight; }
    float GetPaddingX() const override { return Base::GetPaddingX(); }
    float GetPaddingY() const override { return Base::GetPaddingY(); }
    float GetFactor() const override { return fFactor; }
    TZORHorzAlign GetHorzAlign() const override { return Base::GetHorzAlign(); }
    TZORAngle GetAngle() const override { return Base::GetAngle(); }
    bool GetShowNumber() const override { return fShowNumber; }
    TZORBarType GetBarType() const override { return fCodeType; }
    QByteArray GetAnsiCode() const override { return fPreparedCode; }
    QByteArray GetBarPattern() const override { return fBarPattern; }

protected:
    static float SaneFactor(float f) { return zor::ClampFloat(f, MinFactor, MaxFactor, DefaultFactor); }

    TZORPreparedCode PrepareCode(const QByteArray& code, bool removeAccents) const
    {
        return zor::PrepareLinearCode(code, fCodeType, fAddCheck, removeAccents, fShowNumber);
    }
    // Takes a newly prepared code. An invalid one clears the valid flag; `keepLast` keeps the
    // code and pattern of the last valid one, else they are cleared with it.
    void TakeCode(const TZORPreparedCode& prepared, bool keepLast)
    {
        fCodeValid = !prepared.Pattern.isEmpty();
        if (fCodeValid || !keepLast) {
            fPreparedCode = prepared.Code;
            fBarPattern = prepared.Pattern;
        }
    }

    TZORBarType fCodeType = TZORBarType::EAN13;
    float fFactor = DefaultFactor;
    bool fShowNumber = true;
    bool fAddCheck = false;

private:
    // Derived, never stored.
    bool fCodeValid = false;
    QByteArray fPreparedCode;
    QByteArray fBarPattern;
    double fFontRatio = 1.0;
};

// A linear barcode (type code 12): the symbology, the width factor of the two-width codes, and
// the human-readable text under the bars in the element's font. It is also the IZORBarcode that
// the drawing layer reads; the code it hands there is the prepared code.
//
// The own code is validated whenever it or a setting it depends on changes, and by CalcValues
// of kinds 0 (after reading) to 2: a valid code gets its prepared code and bar pattern, an
// invalid one clears CodeValid and keeps the previous ones.
class QUINDLE_RTL_EXPORT TZORBaseBarcode : public TZORLinearCode<TZORFontItem<TZORAnsiCode<TZORCodeItem>>> {
public:
    static constexpr float DefaultBarWidth = 0.33f; // millimetres
    static constexpr float DefaultBarHeight = 15.0f;

    TZORBaseBarcode(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseBarcode(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Barcode; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    void CalcValues(int16_t aFlag) override;

    void SetFontHeight(float h);
    // The encoder's other option: drop accents.
    bool GetRemoveAccents() const { return fRemoveAccents; }
    void SetRemoveAccents(bool r);

    // A value prepared with the element's settings, for printing; the element is not changed.
    TZORPreparedCode PrepareValue(const QByteArray& value) const
    {
        return PrepareCode(value, fRemoveAccents);
    }

    // The metrics of the text's font, measured by the renderer: ascent, descent, underline and
    // height in micrometres, and the character height over the cell height.
    void SetFontMetrics(int32_t ascent, int32_t descent, int32_t underline, int32_t height, double ratio);

    // IZORBarcode
    float GetFontHeight() const override { return fFontHeight; }
    QString GetFontName() const override { return fFontName; }

protected:
    void AfterRead() override;
    void Derive() override;
    QSizeF SymbolSize() const override { return PatternSize(GetBarPattern()); }

private:
    bool fRemoveAccents = false;
    // Derived.
    int32_t fFontAscent = 0;
    int32_t fFontDescent = 0;
    int32_t fFontUnderline = 0;
    int32_t fFontMetricHeight = 0;
};

// A two-dimensional code: a grid of modules GetBarWidth wide and GetBarHeight high, placed by
// both alignments. The element keeps the symbol of its own code, encoded whenever the code or a
// setting of the encoding changes and by every CalcValues; printing encodes its value into a
// symbol of its own.
class QUINDLE_RTL_EXPORT TZORMatrixCode : public TZORCodeItem {
public:
    using TZORCodeItem::TZORCodeItem;

    void CalcValues(int16_t aFlag) override;

    TZORVertAlign GetVertAlign() const { return fVertAlign; }
    void SetVertAlign(TZORVertAlign a);

    // The symbol of the own code, and its size in modules.
    const TZORCodeSymbol& GetSymbol() const { return fSymbol; }
    int16_t GetRowCount() const { return fSymbol.Rows; }
    int16_t GetColCount() const { return fSymbol.Columns; }
    // Encodes the own code again and refreshes the bounds.
    void Encode();
    // The symbol of a value with the element's settings; the element is not changed.
    virtual TZORCodeSymbol EncodeValue(const QString& value) const = 0;
    // A symbol's grid in paper millimetres.
    QSizeF GridSize(const TZORCodeSymbol& symbol) const;

protected:
    static const TZORFields<TZORBaseItem>& MatrixFields();
    void AfterRead() override;
    void Derive() override { Encode(); }
    QSizeF SymbolSize() const override { return GridSize(fSymbol); }
    TZORVertAlign SymbolVertAlign() const override { return fVertAlign; }

private:
    TZORVertAlign fVertAlign = TZORVertAlign::Top;
    TZORCodeSymbol fSymbol; // derived
};

// A PDF417 symbol (type code 13) of 8-bit data; its rows are taller than its modules are wide.
class QUINDLE_RTL_EXPORT TZORBasePDF417 : public TZORAnsiCode<TZORMatrixCode> {
public:
    static constexpr float DefaultBarWidth = 0.33f; // millimetres
    static constexpr float DefaultRowHeight = 1.0f;

    TZORBasePDF417(TZORBaseLabel* aOwner, bool aPreview);
    TZORBasePDF417(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::PDF417; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    TZORCodeSymbol EncodeValue(const QString& value) const override;

    TZORPdf417CorrectionLevel GetCorrectionLevel() const { return fCorrectionLevel; }
    void SetCorrectionLevel(TZORPdf417CorrectionLevel l);
    // Data columns and rows asked for; 0 lets the encoder choose.
    uint8_t GetColumns() const { return fColumns; }
    void SetColumns(uint8_t c);
    uint8_t GetRows() const { return fRows; }
    void SetRows(uint8_t r);
    bool GetTruncated() const { return fTruncated; }
    void SetTruncated(bool t);

    // The own code's symbol: its data columns, rows and correction level.
    int16_t GetCodeColumns() const { return GetSymbol().CodeColumns; }
    int16_t GetCodeRows() const { return GetSymbol().Rows; }
    int16_t GetEccLevel() const { return GetSymbol().EccLevel; }

protected:
    void AfterRead() override;

private:
    TZORPdf417Options Options() const;

    TZORPdf417CorrectionLevel fCorrectionLevel = TZORPdf417CorrectionLevel::Auto;
    uint8_t fColumns = 0;
    uint8_t fRows = 0;
    bool fTruncated = false;
};

// A DataMatrix ECC 200 symbol (type code 14) of 8-bit data.
class QUINDLE_RTL_EXPORT TZORBaseDataMatrix : public TZORAnsiCode<TZORMatrixCode> {
public:
    using TZORAnsiCode::TZORAnsiCode;

    TZORItemType TypeCode() const override { return TZORItemType::DataMatrix; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    TZORCodeSymbol EncodeValue(const QString& value) const override;

    zor::TECC200Size GetSize() const { return fSize; }
    void SetSize(zor::TECC200Size s);
    zor::TECC200Shape GetShape() const { return fShape; }
    void SetShape(zor::TECC200Shape s);

protected:
    void AfterRead() override;

private:
    zor::TECC200Size fSize = zor::TECC200Size::Auto;
    zor::TECC200Shape fShape = zor::TECC200Shape::Square;
};

// A QR code (type code 15); its code is any text. Accents are dropped before encoding, on screen
// and on paper alike, so that the symbol shown is the symbol printed.
class QUINDLE_RTL_EXPORT TZORBaseQRCode : public TZORMatrixCode {
public:
    using TZORMatrixCode::TZORMatrixCode;

    TZORItemType TypeCode() const override { return TZORItemType::QRCode; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    TZORCodeSymbol EncodeValue(const QString& value) const override;

    const QString& GetCode() const { return fCode; }
    void SetCode(const QString& code);
    zor::TErrorCorrectionLevel GetLevel() const { return fLevel; }
    void SetLevel(zor::TErrorCorrectionLevel l);
    TZORQREncoding GetEncoding() const { return fEncoding; }
    void SetEncoding(TZORQREncoding e);
    // 1 to 40 asks for that size, 0 for the smallest that holds the code.
    uint8_t GetVersion() const { return fVersion; }
    void SetVersion(uint8_t v);

protected:
    void AfterRead() override;

private:
    zor::TErrorCorrectionLevel fLevel = zor::TErrorCorrectionLevel::M;
    TZORQREncoding fEncoding = TZORQREncoding::Auto;
    uint8_t fVersion = 0;
};
