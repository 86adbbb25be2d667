#include "Zor.Utils.h"

#include <algorithm>
#include <array>
#include <string_view>

using zor::TBarcode;

namespace {

// Pattern characters by bar class (rows, TZORDrawBar order) and width class (columns).
constexpr std::array<std::string_view, 4> PatternChars = { "012345", "abcdef", "ghijkl", "ABCDEF" };

// Digit groups of the retail codes in modules from the start of the first bar: a group runs
// from its first module up to (not including) its last, and End is the module after the
// last bar, where a trailing check digit starts one module further on.
struct TModuleSpan {
    double First;
    double Last;
    double Centre() const { return (First + Last) / 2.0; }
};

constexpr TModuleSpan Ean13Left { 3, 45 }, Ean13Right { 50, 92 };
constexpr TModuleSpan Ean8Left { 3, 31 }, Ean8Right { 36, 64 };
// The first and the last digit of UPC-A have guard-length bars and are written outside.
constexpr TModuleSpan UpcaLeft { 10, 45 }, UpcaRight { 50, 85 };
constexpr double UpcaEnd = 95;
constexpr TModuleSpan UpceDigits { 3, 45 };
constexpr double UpceEnd = 51;
constexpr double CheckDigitGap = 1;

// Module k of the standard layout along the pattern, never beyond the pattern's own end.
double AtModule(QByteArrayView pattern, double m, double factor, double k)
{
    return std::min(k * m, TBarcode::PatternWidth(pattern, m, factor));
}

} // namespace

void TBarcode::FillBarData(char c, TZORDrawWidth& width, TZORDrawBar& bar)
{
    for (size_t b = 0; b < PatternChars.size(); ++b) {
        const size_t w = PatternChars[b].find(c);
        if (w != std::string_view::npos) {
            width = static_cast<TZORDrawWidth>(w);
            bar = static_cast<TZORDrawBar>(b);
            return;
        }
    }
    width = TZORDrawWidth::Previous;
    bar = TZORDrawBar::Space;
}

char TBarcode::BarChar(TZORDrawWidth width, TZORDrawBar bar)
{
    const size_t b = zor::Ord(bar), w = zor::Ord(width);
    return b < PatternChars.size() && w < PatternChars[b].size() ? PatternChars[b][w] : '?';
}

double TBarcode::ElementWidth(TZORDrawWidth width, double m, double factor, double previous)
{
    switch (width) {
    case TZORDrawWidth::Narrow:
        return m;
    case TZORDrawWidth::Wide:
        return m * factor;
    case TZORDrawWidth::Double:
        return 2 * m;
    case TZORDrawWidth::Triple:
        return 3 * m;
    case TZORDrawWidth::Quadruple:
        return 4 * m;
    case TZORDrawWidth::OneAndHalf:
        return 3 * m / 2;
    case TZORDrawWidth::Previous:
        break;
    }
    return previous;
}

double TBarcode::PatternWidth(QByteArrayView pattern, double m, double factor)
{
    double total = 0.0, previous = m;
    for (const char c : pattern) {
        TZORDrawWidth width;
        TZORDrawBar bar;
        FillBarData(c, width, bar);
        previous = ElementWidth(width, m, factor, previous);
        total += previous;
    }
    return total;
}

void TBarcode::Ean13Pos(QByteArrayView pattern, double m, double factor, double& left, double& right)
{
    left = AtModule(pattern, m, factor, Ean13Left.Centre());
    right = AtModule(pattern, m, factor, Ean13Right.Centre());
}

void TBarcode::Ean8Pos(QByteArrayView pattern, double m, double factor, double& left, double& right)
{
    left = AtModule(pattern, m, factor, Ean8Left.Centre());
    right = AtModule(pattern, m, factor, Ean8Right.Centre());
}

void TBarcode::UPCAPos(
    QByteArrayView pattern, double m, double factor, double& left, double& right, double& check)
{
    left = AtModule(pattern, m, factor, UpcaLeft.Centre());
    right = AtModule(pattern, m, factor, UpcaRight.Centre());
    check = AtModule(pattern, m, factor, UpcaEnd) + CheckDigitGap * m;
}

void TBarcode::UPCEPos(QByteArrayView pattern, double m, double factor, double& centre, double& check)
{
    centre = AtModule(pattern, m, factor, UpceDigits.Centre());
    check = AtModule(pattern, m, factor, UpceEnd) + CheckDigitGap * m;
}
