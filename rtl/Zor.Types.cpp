#include "Zor.Types.h"

#include "Zor.BaseDraw.h"
#include "Zor.Utils.h"

#include <algorithm>

void TZORPto::Define(double x, double y, TZORUnits units)
{
    X = zor::SetValue(x, units);
    Y = zor::SetValue(y, units);
}

double TZORPto::DrawX(const TZORBaseDraw& D) const
{
    return D.GetDrawX(static_cast<double>(X));
}

double TZORPto::DrawY(const TZORBaseDraw& D) const
{
    return D.GetDrawY(static_cast<double>(Y));
}

int TZORPto::PrintX(const TZORBaseDraw& D) const
{
    return zor::PrintFromBaseX(static_cast<double>(X), D);
}

int TZORPto::PrintY(const TZORBaseDraw& D) const
{
    return zor::PrintFromBaseY(static_cast<double>(Y), D);
}

double TZORPto::DrawGapX(int64_t gap, const TZORBaseDraw& D) const
{
    return D.GetDrawX(static_cast<double>(X + gap));
}

double TZORPto::DrawGapY(int64_t gap, const TZORBaseDraw& D) const
{
    return D.GetDrawY(static_cast<double>(Y + gap));
}

TZORRect TZORRect::Normalized() const
{
    return { std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom) };
}

bool TZORRect::IsEmpty() const
{
    return Left == Right || Top == Bottom;
}

bool TZORRect::Contains(int64_t x, int64_t y) const
{
    const TZORRect n = Normalized();
    return x >= n.Left && x <= n.Right && y >= n.Top && y <= n.Bottom;
}

TZORRect TZORRect::United(const TZORRect& other) const
{
    const TZORRect a = Normalized();
    const TZORRect b = other.Normalized();
    return { std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
        std::max(a.Bottom, b.Bottom) };
}
