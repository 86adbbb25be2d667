#include "Zor.Base.h"

#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <algorithm>
#include <cmath>
#include <limits>

using zor::Field;
using zor::TAlphaColor;

TZORDimStyle::TZORDimStyle(
    const QString& name, TAlphaColor dimColor, TAlphaColor extColor, bool bold, bool italic)
    : fBold(bold)
    , fItalic(italic)
    , fDimColor(dimColor)
    , fExtColor(extColor)
    , fName(name)
{
}

const TZORFields<TZORDimStyle>& TZORDimStyle::Fields()
{
    using S = TZORDimStyle;
    static const TZORFields<S> fields {
        Field<S, &S::fID>("ID"),
        Field<S, &S::fName>("Name"),
        Field<S, &S::fFontName>("FontName"),
        Field<S, &S::fBold>("Bold"),
        Field<S, &S::fItalic>("Italic"),
        Field<S, &S::fUnderline>("Underline"),
        Field<S, &S::fFontHeight>("FontHeight"),
        Field<S, &S::fFontColor>("FontColor"),
        Field<S, &S::fTextPos>("TextPos"),
        Field<S, &S::fDimColor>("DimColor"),
        Field<S, &S::fDimLineType>("DimLineType"),
        Field<S, &S::fExtLineType>("ExtLineType"),
        Field<S, &S::fDimPenWidth>("DimPenWidth"),
        Field<S, &S::fExtColor>("ExtColor"),
        Field<S, &S::fExtPenWidth>("ExtPenWidth"),
        Field<S, &S::fHeadType>("HeadType"),
        Field<S, &S::fHeadColor>("HeadColor"),
        Field<S, &S::fFillColor>("FillColor"),
        Field<S, &S::fHeadSize>("HeadSize"),
        Field<S, &S::fArrowOpen>("ArrowOpen"),
        Field<S, &S::fExtSize>("ExtSize"),
        Field<S, &S::fExtGap>("ExtGap"),
        Field<S, &S::fDimBreak>("DimBreak"),
        Field<S, &S::fFormat>("Format"),
        Field<S, &S::fPrefix>("Prefix"),
        Field<S, &S::fSuffix>("Suffix"),
    };
    return fields;
}

namespace {

constexpr float MaxStyleLength = 1000.0f;
constexpr float MinFontHeight = 0.01f;

} // namespace

void TZORDimStyle::SetFontHeight(float v)
{
    fFontHeight = zor::ClampFloat(v, MinFontHeight, MaxStyleLength, fFontHeight);
}

void TZORDimStyle::SetHeadSize(float v)
{
    fHeadSize = zor::ClampFloat(v, 0.0f, MaxStyleLength, fHeadSize);
}

void TZORDimStyle::SetExtSize(float v)
{
    fExtSize = zor::ClampFloat(v, 0.0f, MaxStyleLength, fExtSize);
    fExtGap = std::min(fExtGap, fExtSize);
}

void TZORDimStyle::SetExtGap(float v)
{
    fExtGap = zor::ClampFloat(v, 0.0f, fExtSize, fExtGap);
}

void TZORDimStyle::SetDimBreak(float v)
{
    fDimBreak = zor::ClampFloat(v, 0.0f, MaxStyleLength, fDimBreak);
}

void TZORDimStyle::SetDimPenWidth(float v)
{
    fDimPenWidth = zor::ClampFloat(v, 0.0f, MaxStyleLength, fDimPenWidth);
}

void TZORDimStyle::SetExtPenWidth(float v)
{
    fExtPenWidth = zor::ClampFloat(v, 0.0f, MaxStyleLength, fExtPenWidth);
}

namespace zor {

float ClampFloat(float v, float lo, float hi, float fallback)
{
    return std::isfinite(v) ? std::clamp(v, lo, hi) : fallback;
}

int32_t ClampToInt32(int64_t v)
{
    return int32_t(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace zor
