#include "Zor.Barcode.h"
#include "Zor.Utils.h"

#include <zint.h>

#include <algorithm>
#include <array>
#include <memory>

using zor::IsRetailBarType;
using zor::Ord;
using zor::TBarcode;
using zor::TZORRetailText;

namespace {

// Characters a symbology takes; Code39 is the set that Code 93 shares.
enum class TChars : uint8_t { Digits, Code39, Codabar, Code11, Ascii, Ascii0To95, Ascii32To127 };

// Optional check characters that PrepareBarcode appends.
enum class TCheck : uint8_t { None, Mod43, Mod16, Mod10Weighted, Code11, Luhn };

// How a code text reaches libzint.
enum class TFamily : uint8_t { Retail, Plain, Code128, GS1 };

struct TRule {
    int symbology;
    TChars chars;
    TCheck check;
    TFamily family;
    int option2; // libzint's check-character option: ours are in the data already
    bool twoWidth; // bars and spaces are narrow or wide
    bool pairs; // an even number of digits
    bool foldCase; // lower-case letters stand for upper-case ones
};

constexpr TRule Rule(int symbology, TChars chars, TFamily family = TFamily::Plain)
{
    return { symbology, chars, TCheck::None, family, 0, false, false, false };
}

constexpr TRule TwoWidth(int symbology, TChars chars, TCheck check, int option2 = 0, bool foldCase = false)
{
    return { symbology, chars, check, TFamily::Plain, option2, true, false, foldCase };
}

constexpr TRule Pairs(TRule rule)
{
    rule.pairs = true;
    return rule;
}

// Indexed by TZORBarType.
constexpr std::array<TRule, zor::BarTypeCount> Rules = {
    Rule(BARCODE_EANX, TChars::Digits, TFamily::Retail), // EAN13
    Rule(BARCODE_EANX, TChars::Digits, TFamily::Retail), // EAN8
    Rule(BARCODE_UPCA, TChars::Digits, TFamily::Retail), // UPCA
    Rule(BARCODE_UPCE, TChars::Digits, TFamily::Retail), // UPCE
    TwoWidth(BARCODE_CODE39, TChars::Code39, TCheck::Mod43, 0, true), // Code39
    TwoWidth(BARCODE_EXCODE39, TChars::Ascii, TCheck::None), // Code39Full
    Rule(BARCODE_CODE93, TChars::Code39), // Code93
    Rule(BARCODE_CODE93, TChars::Ascii), // Code93Full
    TwoWidth(BARCODE_CODABAR, TChars::Codabar, TCheck::Mod16, 0, true), // Codabar
    Rule(BARCODE_CODE128, TChars::Ascii0To95, TFamily::Code128), // Code128A
    Rule(BARCODE_CODE128, TChars::Ascii32To127, TFamily::Code128), // Code128B
    Rule(BARCODE_CODE128, TChars::Ascii, TFamily::Code128), // Code128
    Pairs(Rule(BARCODE_CODE128, TChars::Digits, TFamily::Code128)), // Code128C
    Rule(BARCODE_GS1_128, TChars::Ascii0To95, TFamily::GS1), // EAN128A
    Rule(BARCODE_GS1_128, TChars::Ascii32To127, TFamily::GS1), // EAN128B
    Rule(BARCODE_GS1_128, TChars::Ascii32To127, TFamily::GS1), // EAN128
    Pairs(Rule(BARCODE_GS1_128, TChars::Digits, TFamily::GS1)), // EAN128C
    TwoWidth(BARCODE_C25INTER, TChars::Digits, TCheck::Mod10Weighted), // Interleaved2of5
    TwoWidth(BARCODE_C25IND, TChars::Digits, TCheck::Mod10Weighted), // Industrial2of5
    TwoWidth(BARCODE_C25STANDARD, TChars::Digits, TCheck::Mod10Weighted), // Matrix2of5
    TwoWidth(BARCODE_CODE11, TChars::Code11, TCheck::Code11, 2), // Code11
    TwoWidth(BARCODE_MSI_PLESSEY, TChars::Digits, TCheck::Luhn), // MSI
    Rule(BARCODE_POSTNET, TChars::Digits), // PostNet
};

// Modules [First, Last) of a retail symbol whose bars reach into the text line.
struct TSpan {
    int First;
    int Last;
};

struct TRetail {
    int withCheck; // libzint's symbology for the code with its check digit
    qsizetype fullLength;
    std::array<qsizetype, 2> shortLengths; // without the check digit
    std::array<TSpan, 3> guards;
};

// Indexed by TZORBarType. EANX tells EAN-13 from EAN-8 by the length of the code.
constexpr std::array<TRetail, 4> Retail = { {
    { BARCODE_EANX_CHK, 13, { 12, 12 }, { { { 0, 3 }, { 45, 50 }, { 92, 95 } } } },
    { BARCODE_EANX_CHK, 8, { 7, 7 }, { { { 0, 3 }, { 31, 36 }, { 64, 67 } } } },
    { BARCODE_UPCA_CHK, 12, { 11, 11 }, { { { 0, 10 }, { 45, 50 }, { 85, 95 } } } },
    { BARCODE_UPCE_CHK, 8, { 6, 7 }, { { { 0, 3 }, { 45, 51 }, { 0, 0 } } } },
} };

// Retail text parts as (first character, count); a count of 0 is no part.
struct TPart {
    qsizetype from;
    qsizetype count;
};
struct TRetailLayout {
    TPart lead, group1, group2, trail;
};
constexpr std::array<TRetailLayout, 4> RetailLayouts = { {
    { { 0, 1 }, { 1, 6 }, { 7, 6 }, { 0, 0 } },
    { { 0, 0 }, { 0, 4 }, { 4, 4 }, { 0, 0 } },
    { { 0, 1 }, { 1, 5 }, { 6, 5 }, { 11, 1 } },
    { { 0, 1 }, { 1, 6 }, { 0, 0 }, { 7, 1 } },
} };

constexpr std::string_view DigitChars = "0123456789";
constexpr std::string_view CodabarStartStop = "ABCD";
constexpr std::string_view UpceNumberSystems = "01";

// Width classes of runs of 1 to 4 modules in the symbologies that use whole modules.
constexpr std::array<TZORDrawWidth, 4> ModuleWidths
    = { TZORDrawWidth::Narrow, TZORDrawWidth::Double, TZORDrawWidth::Triple, TZORDrawWidth::Quadruple };

// Accented letters that have no decomposition.
constexpr std::array<std::pair<char16_t, char16_t>, 6> StrokeLetters
    = { { { u'\u00D8', u'O' }, { u'\u00F8', u'o' }, { u'\u0141', u'L' }, { u'\u0142', u'l' },
        { u'\u0110', u'D' }, { u'\u0111', u'd' } } };

bool IsBarType(TZORBarType type)
{
    return zor::Ord(type) < zor::BarTypeCount;
}

const TRule& RuleOf(TZORBarType type)
{
    return Rules[zor::Ord(type)];
}

const TRetail& RetailOf(TZORBarType type)
{
    return Retail[zor::Ord(type)];
}

bool InSet(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

bool Accepts(char ch, TChars chars)
{
    const auto c = static_cast<unsigned char>(ch);
    switch (chars) {
    case TChars::Digits:
        return InSet(ch, DigitChars);
    case TChars::Code39:
        return InSet(ch, TZORBarEncoder::ValidFullCode39);
    case TChars::Codabar:
        return InSet(ch, TZORBarEncoder::ValidCodabar);
    case TChars::Code11:
        return InSet(ch, TZORBarEncoder::ValidCode11);
    case TChars::Ascii:
        return c < 128;
    case TChars::Ascii0To95:
        return c < 96;
    case TChars::Ascii32To127:
        return c >= 32 && c < 128;
    }
    return false;
}

bool HasRetailLength(qsizetype length, const TRetail& retail)
{
    return length == retail.fullLength
        || std::ranges::find(retail.shortLengths, length) != retail.shortLengths.end();
}

// What our own rules demand of a text before libzint sees it.
bool Accepts(const QByteArray& text, TZORBarType type)
{
    const TRule& rule = RuleOf(type);
    if (text.isEmpty() || text.size() > ZINT_MAX_DATA_LEN)
        return false;
    if (!std::ranges::all_of(text, [&](char c) { return Accepts(c, rule.chars); }))
        return false;
    if (rule.family == TFamily::Retail && !HasRetailLength(text.size(), RetailOf(type)))
        return false;
    if (rule.pairs && text.size() % 2 != 0)
        return false;
    if (type == TZORBarType::Codabar)
        return text.size() >= 2 && InSet(text.front(), CodabarStartStop)
            && InSet(text.back(), CodabarStartStop);
    // libzint would take any other number system for 0.
    if (type == TZORBarType::UPCE && text.size() > 6)
        return InSet(text.front(), UpceNumberSystems);
    return true;
}

// Sum of the characters' values (positions in set) weighted by their place counted from the
// right, 0 for the last character.
template <class Weight> int WeightedSum(const QByteArray& text, std::string_view set, Weight weight)
{
    int sum = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i)
        sum += static_cast<int>(set.find(text[n - 1 - i])) * weight(static_cast<int>(i));
    return sum;
}

char Mod43(const QByteArray& text)
{
    const std::string_view set = TZORBarEncoder::ValidFullCode39;
    return set[WeightedSum(text, set, [](int) { return 1; }) % 43];
}

char Mod16(const QByteArray& text)
{
    const std::string_view set = TZORBarEncoder::ValidCodabar;
    return set[(16 - WeightedSum(text, set, [](int) { return 1; }) % 16) % 16];
}

char Mod10Weighted(const QByteArray& text)
{
    const int sum = WeightedSum(text, DigitChars, [](int i) { return i % 2 == 0 ? 3 : 1; });
    return DigitChars[(10 - sum % 10) % 10];
}

char Code11Check(const QByteArray& text, int cycle)
{
    const std::string_view set = TZORBarEncoder::ValidCode11;
    return set[WeightedSum(text, set, [cycle](int i) { return i % cycle + 1; }) % 11];
}

// Every other digit from the last one doubled, the digits of the products summed.
char Luhn(const QByteArray& text)
{
    int sum = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int d = text[n - 1 - i] - '0';
        sum += i % 2 == 0 ? (2 * d) / 10 + (2 * d) % 10 : d;
    }
    return DigitChars[(10 - sum % 10) % 10];
}

QByteArray WithCheck(QByteArray text, TCheck check)
{
    switch (check) {
    case TCheck::None:
        break;
    case TCheck::Mod43:
        text.append(Mod43(text));
        break;
    case TCheck::Mod16: // before the stop character
        text.insert(text.size() - 1, Mod16(text));
        break;
    case TCheck::Mod10Weighted:
        text.append(Mod10Weighted(text));
        break;
    case TCheck::Code11:
        text.append(Code11Check(text, 10));
        text.append(Code11Check(text, 9));
        break;
    case TCheck::Luhn:
        text.append(Luhn(text));
        break;
    }
    return text;
}

TZOR128AutoType AutoTypeOf(TZORBarType type)
{
    if (type == TZORBarType::Code128B)
        return TZOR128AutoType::NoSetC;
    const TFamily family = RuleOf(type).family;
    return family == TFamily::Code128 || family == TFamily::GS1 ? TZOR128AutoType::AllSets
                                                                : TZOR128AutoType::None;
}

// What libzint is asked to encode.
struct TZintInput {
    int symbology;
    int inputMode;
    int option2;
    QByteArray data;
};

TZintInput ZintInput(const QByteArray& text, TZORBarType type, TZOR128AutoType autoType)
{
    const TRule& rule = RuleOf(type);
    TZintInput in { rule.symbology, DATA_MODE, rule.option2, text };
    switch (rule.family) {
    case TFamily::Plain:
        break;
    case TFamily::Retail:
        if (text.size() == RetailOf(type).fullLength)
            in.symbology = RetailOf(type).withCheck;
        break;
    case TFamily::Code128:
        if (autoType == TZOR128AutoType::NoSetC)
            in.symbology = BARCODE_CODE128B;
        break;
    case TFamily::GS1:
        // Application identifiers in brackets or parentheses are checked; any other text
        // follows an empty identifier, which libzint writes as the FNC1 alone.
        if (text.startsWith('['))
            in.inputMode = GS1_MODE;
        else if (text.startsWith('('))
            in.inputMode = GS1_MODE | GS1PARENS_MODE;
        else {
            in.inputMode = GS1_MODE | GS1NOCHECK_MODE;
            in.data.prepend("[]");
        }
        break;
    }
    return in;
}

using TSymbol = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

// A symbol of our own per call: libzint keeps all of an encoding's state in it. Warnings
// count as failures, since they flag symbols that readers may refuse (a PostNet code of a
// non-standard length, a GS1 check digit that is wrong).
TSymbol Encode(const TZintInput& in)
{
    TSymbol symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (!symbol || in.data.size() > ZINT_MAX_DATA_LEN)
        return TSymbol(nullptr, &ZBarcode_Delete);
    symbol->symbology = in.symbology;
    symbol->input_mode = in.inputMode;
    symbol->option_2 = in.option2;
    symbol->warn_level = WARN_FAIL_ALL;
    const auto* data = reinterpret_cast<const unsigned char*>(in.data.constData());
    if (ZBarcode_Encode(symbol.get(), data, static_cast<int>(in.data.size())) != 0 || symbol->rows < 1
        || symbol->width < 1)
        return TSymbol(nullptr, &ZBarcode_Delete);
    return symbol;
}

std::vector<QByteArray> RowsOf(const zint_symbol& symbol)
{
    std::vector<QByteArray> rows;
    for (int r = 0; r < symbol.rows; ++r) {
        QByteArray row(symbol.width, '0');
        for (int c = 0; c < symbol.width; ++c)
            if ((symbol.encoded_data[r][c >> 3] >> (c & 7)) & 1)
                row[c] = '1';
        rows.push_back(row);
    }
    return rows;
}

// The bar class of every module column: a postal code's upper row holds the tall part of
// its full bars, its lower rows the band every bar fills.
std::vector<TZORDrawBar> ColumnBars(const std::vector<QByteArray>& rows)
{
    std::vector<TZORDrawBar> bars(rows.front().size(), TZORDrawBar::Space);
    for (size_t c = 0; c < bars.size(); ++c) {
        if (rows.front()[c] == '1')
            bars[c] = TZORDrawBar::Full;
        else if (std::ranges::any_of(
                     rows.begin() + 1, rows.end(), [c](const QByteArray& r) { return r[c] == '1'; }))
            bars[c] = TZORDrawBar::Short;
    }
    return bars;
}

void MarkGuards(std::vector<TZORDrawBar>& bars, const TRetail& retail)
{
    for (const TSpan& span : retail.guards)
        for (int c = span.First; c < span.Last && c < static_cast<int>(bars.size()); ++c)
            if (bars[c] == TZORDrawBar::Full)
                bars[c] = TZORDrawBar::Guard;
}

struct TRun {
    TZORDrawBar bar;
    int length;
};

std::vector<TRun> Runs(const std::vector<TZORDrawBar>& bars)
{
    std::vector<TRun> runs;
    for (const TZORDrawBar bar : bars) {
        if (!runs.empty() && runs.back().bar == bar)
            ++runs.back().length;
        else
            runs.push_back({ bar, 1 });
    }
    return runs;
}

// libzint draws the wide elements of a two-width symbology as its narrowest run above one
// module; a longer run (the 4-module start bar of Matrix 2 of 5) is wide elements and
// narrow ones side by side, so that it keeps its share at any width factor.
void AppendTwoWidth(QByteArray& pattern, const TRun& run, int wide)
{
    const int wides = wide > 1 ? run.length / wide : 0;
    pattern.append(wides, TBarcode::BarChar(TZORDrawWidth::Wide, run.bar));
    pattern.append(run.length - wides * wide, TBarcode::BarChar(TZORDrawWidth::Narrow, run.bar));
}

void AppendModules(QByteArray& pattern, const TRun& run)
{
    for (int left = run.length; left > 0; left -= static_cast<int>(ModuleWidths.size())) {
        const int n = std::min(left, static_cast<int>(ModuleWidths.size()));
        pattern.append(TBarcode::BarChar(ModuleWidths[n - 1], run.bar));
    }
}

QByteArray PatternOf(const std::vector<QByteArray>& rows, TZORBarType type, bool showNumber)
{
    std::vector<TZORDrawBar> bars = ColumnBars(rows);
    if (zor::IsRetailBarType(type) && showNumber)
        MarkGuards(bars, RetailOf(type));
    const std::vector<TRun> runs = Runs(bars);
    QByteArray pattern;
    if (RuleOf(type).twoWidth) {
        int wide = 0;
        for (const TRun& run : runs)
            if (run.length > 1 && (wide == 0 || run.length < wide))
                wide = run.length;
        for (const TRun& run : runs)
            AppendTwoWidth(pattern, run, wide);
    } else {
        for (const TRun& run : runs)
            AppendModules(pattern, run);
    }
    return pattern;
}

TSymbol EncodePrepared(const QByteArray& prepared, TZORBarType type, TZOR128AutoType autoType)
{
    if (!IsBarType(type) || !Accepts(prepared, type))
        return TSymbol(nullptr, &ZBarcode_Delete);
    return Encode(ZintInput(prepared, type, autoType));
}

// libzint's human-readable text; for the retail codes all digits, the check digit included.
QByteArray HumanText(const zint_symbol& symbol)
{
    return QByteArray(reinterpret_cast<const char*>(symbol.text));
}

} // namespace

float IZORBarcode::GetDrawValue(float length, int32_t dpi) const
{
    return length * static_cast<float>(dpi / 25.4);
}

int32_t IZORBarcode::GetPrintValue(float length, int32_t dpi) const
{
    return static_cast<int32_t>(zor::Round(GetDrawValue(length, dpi)));
}

std::optional<zor::TZORRetailText> zor::SplitRetailText(const QByteArray& text, TZORBarType type)
{
    if (!IsRetailBarType(type))
        return std::nullopt;
    const TRetailLayout& layout = RetailLayouts[zor::Ord(type)];
    const auto part = [&text](TPart p) { return p.count > 0 ? text.mid(p.from, p.count) : QByteArray(); };
    return TZORRetailText { part(layout.lead), part(layout.group1), part(layout.group2), part(layout.trail) };
}

bool TZORBarEncoder::IsValidCode(const QByteArray& code, TZORBarType type, bool addCheck, bool removeAccents)
{
    TZOR128AutoType autoType;
    return !PrepareBarcode(code, type, addCheck, removeAccents, autoType).isEmpty();
}

QByteArray TZORBarEncoder::PrepareBarcode(
    const QByteArray& code, TZORBarType type, bool addCheck, bool removeAccents, TZOR128AutoType& autoType)
{
    autoType = TZOR128AutoType::None;
    if (!IsBarType(type))
        return {};
    const TRule& rule = RuleOf(type);
    QByteArray text = removeAccents ? RemoveAccented(QString::fromLatin1(code)).toLatin1() : code;
    if (rule.foldCase)
        text = text.toUpper();
    if (!Accepts(text, type))
        return {};
    if (addCheck)
        text = WithCheck(text, rule.check);
    if (type == TZORBarType::Interleaved2of5 && text.size() % 2 != 0)
        text.prepend('0');
    const TZOR128AutoType wanted = AutoTypeOf(type);
    const TSymbol symbol = EncodePrepared(text, type, wanted);
    if (!symbol)
        return {};
    autoType = wanted;
    return rule.family == TFamily::Retail ? HumanText(*symbol) : text;
}

QByteArray TZORBarEncoder::FillBarPattern(
    const QByteArray& prepared, TZORBarType type, TZOR128AutoType autoType, bool showNumber)
{
    const std::vector<QByteArray> rows = ModuleRows(prepared, type, autoType);
    return rows.empty() ? QByteArray() : PatternOf(rows, type, showNumber);
}

int64_t TZORBarEncoder::BarCodeWidth(QByteArrayView pattern, double barWidthMM, double factor)
{
    return zor::Round(TBarcode::PatternWidth(pattern, barWidthMM * 1000.0, factor));
}

QString TZORBarEncoder::RemoveAccented(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar ch : decomposed) {
        const char16_t u = ch.unicode();
        if (u >= 0x0300 && u <= 0x036F) // combining diacritical marks
            continue;
        const auto stroke = std::ranges::find(StrokeLetters, u, &std::pair<char16_t, char16_t>::first);
        out.append(stroke != StrokeLetters.end() ? QChar(stroke->second) : ch);
    }
    return out.normalized(QString::NormalizationForm_C);
}

std::vector<QByteArray> TZORBarEncoder::ModuleRows(
    const QByteArray& prepared, TZORBarType type, TZOR128AutoType autoType)
{
    const TSymbol symbol = EncodePrepared(prepared, type, autoType);
    return symbol ? RowsOf(*symbol) : std::vector<QByteArray>();
}
