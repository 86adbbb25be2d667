#include "Zor.Canvas.h"
#include "Zor.Vcl.Types.h"

using zor::TAlphaColor;
using zor::TColor;
using zor::TGPColor;
using zor::TSkPathEffect;

namespace {

std::optional<zor::TDashRow> DashRow(TZORineType lineType)
{
    if (zor::Ord(lineType) >= zor::DashTable.size())
        return std::nullopt;
    return zor::DashTable[zor::Ord(lineType)];
}

// Skia draws a dash from phase 1 of its pattern; the selection patterns start there too.
constexpr double DashPhase = 1.0;

TSkPathEffect ScreenDash(const TZORDraw& D, TZORineType lineType)
{
    const std::optional<zor::TDashRow> row = DashRow(lineType);
    if (!row || row->Count == 0)
        return {};
    std::vector<double> intervals;
    for (size_t i = 0; i < row->Count; ++i) {
        const float units = row->Units[i];
        const size_t index = units < 1.0f ? 0 : static_cast<size_t>(units);
        intervals.push_back(D.DashUnit(index));
    }
    return TSkPathEffect::MakeDash(std::move(intervals), DashPhase);
}

template <size_t N> TSkPathEffect FixedDash(const std::array<double, N>& pattern)
{
    return TSkPathEffect::MakeDash(std::vector<double>(pattern.begin(), pattern.end()), DashPhase);
}

bool DesignView(const TZORDraw& D)
{
    return D.fDrawState == TZORDrawState::Editor || D.fDrawState == TZORDrawState::Design;
}

} // namespace

TAlphaColor zor::ColorToARGB(TColor c)
{
    return ColorToARGB(c, 0xFF);
}

TAlphaColor zor::ColorToARGB(TColor c, uint8_t alpha)
{
    return ColorToAlphaColor(zor::ResolveSystemColor(c), alpha);
}

TAlphaColor zor::AlphaColorToARGB(TAlphaColor c)
{
    return c;
}

TColor zor::AlphaColorToRGB(TAlphaColor c)
{
    return AlphaColorToColor(c);
}

TAlphaColor zor::GPColorToAlphaColor(TGPColor c)
{
    return TAlphaColor { static_cast<uint32_t>(c) };
}

TGPColor zor::AlphaColorToGPColor(TAlphaColor c)
{
    return TGPColor { zor::Ord(c) };
}

void zor::AdjustLineType(TZORDraw& D, TZORineType lineType, TZORItemState itemState)
{
    if (!D.kP)
        return;
    D.kP->SetStyle(TSkPaintStyle::Stroke);
    if (DesignView(D) && itemState == TZORItemState::Selected)
        D.kP->SetPathEffect(FixedDash(zor::SelectedDash));
    else if (DesignView(D) && itemState == TZORItemState::Marked)
        D.kP->SetPathEffect(FixedDash(zor::MarkedDash));
    else
        D.kP->SetPathEffect(ScreenDash(D, lineType));
}

void zor::AdjustPrintLineType(TZORDraw& D, float penWidth, TZORineType lineType)
{
    if (!D.aP)
        return;
    const std::optional<zor::TDashRow> row = DashRow(lineType);
    // GDI+ scales the pattern by the pen width, which the renderer sets to the device length of
    // penWidth: dividing by it here makes one unit one pen-length unit on paper.
    if (!row || row->Count == 0 || !(penWidth > 0.0f)) {
        D.aP->SetDashStyle(TDashStyle::Solid);
        return;
    }
    std::vector<float> pattern;
    for (size_t i = 0; i < row->Count; ++i)
        pattern.push_back(row->Units[i] / penWidth);
    D.aP->SetDashPattern(std::move(pattern));
}

void zor::AdjustPrintRoundCap(TZORDraw& D)
{
    if (!D.aP)
        return;
    const TLineCap cap = D.aConf.RoundCap ? TLineCap::Round : TLineCap::Flat;
    D.aP->SetStartCap(cap);
    D.aP->SetEndCap(cap);
}
