#include "Zor.Fonts.h"
#include "Zor.TextLayout.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Types.h"

#include <cmath>
#include <functional>

namespace {

constexpr double MicrometresPerInch = 25400.0;

// Pixels to micrometres keeping the sign; 0 at a resolution of 0.
int64_t ToBase(double px, int32_t dpi)
{
    return dpi > 0 ? zor::Round(px * MicrometresPerInch / dpi) : 0;
}

zor::TWrapRules<double> PixelRules(double W, double H, double lh, double leftX, double rightMargin,
    TZORHorzAlign hAlign, bool halveToInteger, std::function<double(QStringView)> width)
{
    zor::TWrapRules<double> rules;
    rules.Width = std::move(width);
    rules.Usable = [W](double) { return W; };
    rules.X = [=](double w, double) {
        const double centre = halveToInteger ? std::trunc((W - w) / 2.0) : (W - w) / 2.0;
        return zor::ByAlign(hAlign, leftX, centre, W - w - rightMargin, 0.0);
    };
    rules.Lh = lh;
    rules.BoxH = rules.NextH = H;
    return rules;
}

} // namespace

int zor::CalcTxtPts(const QString& text, const QString& fontName, TZORDraw*, TxtLines& lines, int W, int H,
    int marginX, int marginY, int height, TZORHorzAlign hAlign, TZORVertAlign vAlign, bool bold, bool italic,
    int& ascent, int& descent, int& underline)
{
    // The height is a character height in 0.01 mm, as the metric screen at 96 dpi takes it.
    const zor::TScaledFont face(fontName, bold, italic);
    const double em = std::max(height, 0);
    ascent = static_cast<int>(zor::Round(face.Ascent() * em));
    descent = static_cast<int>(zor::Round(face.Descent() * em));
    underline = 0;
    const int64_t internalLeading = ascent + descent - zor::Round(em);
    const int64_t lh = ascent + descent + internalLeading + zor::Round(face.Leading() * em);
    return zor::LayoutPlainTxt(text, lines, W, H, marginX, marginY, hAlign, vAlign, lh, 0, 0,
        [&](QStringView s) { return zor::Round(face.Advance(s) * em); });
}

float zor::CalcTxtPoints(const QString& text, const TZORDraw& D, const TSkFont& font, TxtLines& lines,
    float W, float H, float marginX, float marginY, float lh, TZORHorzAlign hAlign, TZORVertAlign vAlign)
{
    lines.clear();
    if (text.isEmpty())
        return 0.0f;
    zor::TWrapRules<double> rules = PixelRules(
        W, H, lh, marginX, marginX, hAlign, false, [&](QStringView s) { return font.MeasureText(s); });
    rules.MarginY = marginY;
    zor::TWrapResult<double> r = zor::WrapText<double>(text, rules);
    for (auto& line : r.Lines)
        line.Y += marginY;
    const double n = static_cast<double>(r.Lines.size());
    if (!r.Failed && H > 0.0f && n > 0 && !r.Overflow) {
        if (vAlign == TZORVertAlign::Center && r.Y + lh < H)
            for (auto& line : r.Lines)
                line.Y += (H - r.Y - lh) / 2.0;
        else if (vAlign == TZORVertAlign::Bottom)
            for (size_t k = 0; k < r.Lines.size(); ++k)
                r.Lines[k].Y = H - lh - (n - 1.0 - double(k)) * lh;
    }
    for (const auto& line : r.Lines)
        lines.push_back({ line.Start, line.Count, ToBase(line.X, D.fDPIX), ToBase(line.Y, D.fDPIY) });
    if (r.Failed)
        return 0.0f;
    return H != 0.0f ? H : static_cast<float>(r.Y + lh);
}

int zor::PrintTxtPoints(const QString& text, const TZORDraw& D, TxtLines& lines, int H, int W, float lh,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, bool grow, bool shrink)
{
    lines.clear();
    if (text.isEmpty() || !D.aC)
        return 0;
    const TCanvas& canvas = *D.aC;
    const zor::TWrapRules<double> rules = PixelRules(W, grow ? 0 : H, lh, 0.0, 0.0, hAlign, true,
        [&](QStringView s) { return double(canvas.TextWidth(s.toString())); });
    zor::TWrapResult<double> r = zor::WrapText<double>(text, rules);
    const size_t n = r.Lines.size();
    const double rest = H - double(n) * lh;
    if (!shrink && !r.Failed && !r.Overflow && H > 0 && n > 0) {
        for (size_t k = 0; k < n; ++k) {
            if (vAlign == TZORVertAlign::Center && rest > 0.0)
                r.Lines[k].Y = std::trunc(rest / 2.0 + double(k) * lh);
            else if (vAlign == TZORVertAlign::Bottom)
                r.Lines[k].Y = std::max(0.0, H - double(n - k) * lh);
        }
    }
    for (const auto& line : r.Lines)
        lines.push_back({ line.Start, line.Count, zor::Round(line.X), zor::Round(line.Y) });
    return n > 0 ? static_cast<int>(zor::Round(r.Lines.back().Y + lh)) : 0;
}
