#include "Zor.Barcode.h"

#include <zint.h>

#include <algorithm>
#include <memory>

using zor::Ord;
using zor::TECC200Shape;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;

namespace {

using TSymbol = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

// What libzint is asked to encode; the options are its own, per symbology.
struct TRequest {
    int symbology = 0;
    int inputMode = DATA_MODE;
    int option1 = -1;
    int option2 = 0;
    int option3 = 0;
    int eci = 0;
    QByteArray data;
};

// A symbol of our own per call: libzint keeps all of an encoding's state in it. Warnings
// (an ECI added, rows grown to hold the data) leave a valid symbol.
TSymbol Encode(const TRequest& in)
{
    TSymbol symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (!symbol || in.data.isEmpty() || in.data.size() > ZINT_MAX_DATA_LEN)
        return TSymbol(nullptr, &ZBarcode_Delete);
    symbol->symbology = in.symbology;
    symbol->input_mode = in.inputMode;
    symbol->option_1 = in.option1;
    symbol->option_2 = in.option2;
    symbol->option_3 = in.option3;
    symbol->eci = in.eci;
    const auto* data = reinterpret_cast<const unsigned char*>(in.data.constData());
    if (ZBarcode_Encode(symbol.get(), data, static_cast<int>(in.data.size())) >= ZINT_ERROR
        || symbol->rows < 1 || symbol->width < 1)
        return TSymbol(nullptr, &ZBarcode_Delete);
    return symbol;
}

TZORCodeSymbol ModulesOf(const zint_symbol& symbol)
{
    TZORCodeSymbol out;
    out.Rows = static_cast<int16_t>(symbol.rows);
    out.Columns = static_cast<int16_t>(symbol.width);
    out.Modules.resize(size_t(symbol.rows) * size_t(symbol.width));
    for (int r = 0; r < symbol.rows; ++r)
        for (int c = 0; c < symbol.width; ++c)
            out.Modules[size_t(r) * size_t(symbol.width) + size_t(c)]
                = (symbol.encoded_data[r][c >> 3] >> (c & 7)) & 1;
    return out;
}

TZORCodeSymbol SymbolOf(const TRequest& in)
{
    const TSymbol symbol = Encode(in);
    return symbol ? ModulesOf(*symbol) : TZORCodeSymbol();
}

// Modules of a PDF417 row besides its data columns: start pattern and left row indicator,
// right row indicator and stop pattern (or the one-module stop bar of the truncated form),
// and the final bar's end.
constexpr int Pdf417Overhead = 4 * 17 + 1;
constexpr int TruncatedOverhead = 2 * 17 + 1;
constexpr int Pdf417Codeword = 17;

// The levels from which libzint's automatic choice is made, in the order it rises through them.
constexpr int AutoLevels[] = { 2, 3, 4, 5, 6, 7, 8 };

TRequest Pdf417Request(const QByteArray& data, const TZORPdf417Options& o)
{
    TRequest in;
    in.symbology = o.Truncated ? BARCODE_PDF417COMP : BARCODE_PDF417;
    in.option1 = o.Level == TZORPdf417CorrectionLevel::Auto ? -1 : zor::Ord(o.Level) - 1;
    in.option2 = std::clamp(o.Columns, 0, zor::Pdf417MaxColumns);
    in.option3 = o.Rows > 0 ? std::clamp(o.Rows, 3, zor::Pdf417MaxRows) : 0;
    in.data = data;
    return in;
}

// libzint does not report the level it chose by itself; the same data at the same columns
// gives the same symbol only at that level.
int16_t ChosenLevel(TRequest in, const TZORCodeSymbol& chosen)
{
    in.option2 = chosen.CodeColumns;
    for (const int level : AutoLevels) {
        in.option1 = level;
        const TZORCodeSymbol candidate = SymbolOf(in);
        if (candidate.Rows == chosen.Rows && candidate.Modules == chosen.Modules)
            return static_cast<int16_t>(level);
    }
    return -1;
}

} // namespace

TZORCodeSymbol TZORCodeEncoder::PDF417(const QByteArray& data, const TZORPdf417Options& options)
{
    const TRequest in = Pdf417Request(data, options);
    TZORCodeSymbol symbol = SymbolOf(in);
    if (symbol.IsEmpty())
        return symbol;
    const int overhead = options.Truncated ? TruncatedOverhead : Pdf417Overhead;
    symbol.CodeColumns = static_cast<int16_t>((symbol.Columns - overhead) / Pdf417Codeword);
    symbol.EccLevel = in.option1 >= 0 ? static_cast<int16_t>(in.option1) : ChosenLevel(in, symbol);
    return symbol;
}

TZORCodeSymbol TZORCodeEncoder::CalcECC200(const QByteArray& data, TECC200Size size, TECC200Shape shape)
{
    TRequest in;
    in.symbology = BARCODE_DATAMATRIX;
    in.option2 = zor::Ord(size) <= zor::ECC200SizeCount ? zor::Ord(size) : 0;
    in.option3 = shape == TECC200Shape::Square ? DM_SQUARE : shape == TECC200Shape::AnyExtended ? DM_DMRE : 0;
    in.data = data;
    return SymbolOf(in);
}

TZORCodeSymbol TZORCodeEncoder::QRCode(
    const QString& text, TZORQREncoding encoding, TErrorCorrectionLevel level, int version)
{
    constexpr int EciUtf8 = 26;
    TRequest in;
    in.symbology = BARCODE_QRCODE;
    in.option1 = std::min<int>(zor::Ord(level), zor::QRLevelCount - 1) + 1;
    in.option2 = std::clamp(version, 0, zor::QRMaxVersion);
    if (encoding == TZORQREncoding::Latin1) {
        in.data = text.toLatin1();
    } else {
        in.inputMode = UNICODE_MODE;
        in.eci = encoding == TZORQREncoding::UTF8 ? EciUtf8 : 0;
        in.data = text.toUtf8();
    }
    TZORCodeSymbol symbol = SymbolOf(in);
    if (!symbol.IsEmpty())
        symbol.EccLevel = static_cast<int16_t>(in.option1 - 1);
    return symbol;
}
