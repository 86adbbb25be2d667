#include "Zor.EditorGeometry.h"

#include "Zor.Utils.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ToPixel(double v)
{
    const int64_t r = zor::Round(v);
    return int32_t(std::clamp<int64_t>(r, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

double TZOREditorGeometry::UnitsPerInch(TZORUnits u)
{
    return MicrometresPerInch / double(zor::UnitMicrometres(u));
}

int64_t TZOREditorGeometry::BaseMMX(int32_t px) const
{
    return zor::Round((px - X0()) * MicrometresPerInch / (DPIX * double(ZScale))) * Scale;
}

int64_t TZOREditorGeometry::BaseMMY(int32_t py) const
{
    return zor::Round((py - Y0()) * MicrometresPerInch / (DPIY * double(ZScale))) * Scale;
}

int32_t TZOREditorGeometry::ScreenMMX(int64_t base) const
{
    return ToPixel(double(base) * DPIX * double(ZScale) / (Scale * MicrometresPerInch)) + X0();
}

int32_t TZOREditorGeometry::ScreenMMY(int64_t base) const
{
    return ToPixel(double(base) * DPIY * double(ZScale) / (Scale * MicrometresPerInch)) + Y0();
}

double TZOREditorGeometry::BaseToScreenX(int64_t base) const
{
    return double(base) * DPIX / (Scale * MicrometresPerInch);
}

double TZOREditorGeometry::BaseToScreenY(int64_t base) const
{
    return double(base) * DPIY / (Scale * MicrometresPerInch);
}

int32_t TZOREditorGeometry::CoordDX(double value, bool withOffset) const
{
    return ToPixel(value * DPIX * double(ZScale) / (Scale * K())) + (withOffset ? X0() : 0);
}

int32_t TZOREditorGeometry::CoordDY(double value, bool withOffset) const
{
    return ToPixel(value * DPIY * double(ZScale) / (Scale * K())) + (withOffset ? Y0() : 0);
}

int32_t TZOREditorGeometry::DrawDMMX(double value, bool withOffset) const
{
    return ToPixel(value * double(ZScale)) + (withOffset ? X0() : 0);
}

int32_t TZOREditorGeometry::DrawDMMY(double value, bool withOffset) const
{
    return ToPixel(value * double(ZScale)) + (withOffset ? Y0() : 0);
}

double TZOREditorGeometry::WorldX(int32_t px, bool withOffset) const
{
    return (px - (withOffset ? X0() : 0)) * K() * Scale / (DPIX * double(ZScale));
}

double TZOREditorGeometry::WorldY(int32_t py, bool withOffset) const
{
    return (py - (withOffset ? Y0() : 0)) * K() * Scale / (DPIY * double(ZScale));
}

double TZOREditorGeometry::CoordX(int32_t px) const
{
    return px * 25.4 / DPIX;
}

double TZOREditorGeometry::FX() const
{
    return DPIX * double(ZScale) / K();
}

double TZOREditorGeometry::FY() const
{
    return DPIY * double(ZScale) / K();
}

int64_t TZOREditorGeometry::BaseMM(double value) const
{
    return zor::SetValue(value, Units);
}

int64_t TZOREditorGeometry::GridRound(int64_t v, int64_t step)
{
    if (step <= 0)
        return v;
    int64_t n = v / step;
    if (v % step > step / 2)
        ++n;
    return n * step;
}
