#include "Zor.Item.h"

#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Shape.h"
#include "Zor.Stream.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <cmath>

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonArray;
using zor::TJsonObject;

namespace {

// A point record: two 64-bit coordinates.
constexpr int64_t PointBytes = 16;

// A point read from a file. Coordinates beyond MaxCoordinate come only from a damaged file, and
// sums and differences of them could overflow.
TZORPto ReadPoint(int64_t x, int64_t y)
{
    constexpr int64_t m = TZORBaseItem::MaxCoordinate;
    if (x < -m || x > m || y < -m || y > m)
        throw zor::Error(QStringLiteral("PointRange"), QString::number(x), QString::number(y));
    TZORPto p;
    p.DefineBase(x, y);
    return p;
}

} // namespace

TZORBaseItem::TZORBaseItem(TZORBaseLabel* aOwner, bool aPreview)
    : fOwner(aOwner)
    , fPreview(aPreview)
{
}

TZORBaseItem::TZORBaseItem(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t nPoints, bool aPreview)
    : fOwner(aOwner)
    , fPreview(aPreview)
{
    if (aOwner && aLayer)
        fLayer = aOwner->IndexOfLayer(aLayer);
    SetPointsCount(nPoints);
}

TZORBaseItem::~TZORBaseItem() = default;

const TZORFields<TZORBaseItem>& TZORBaseItem::BaseFields()
{
    using I = TZORBaseItem;
    static const TZORFields<I> fields {
        Field<I, &I::fID>("ID"),
        Field<I, &I::fLayer>("Layer"),
        Field<I, &I::fOptions>("Options"),
        Field<I, &I::fColor>("Color"),
        Field<I, &I::fPenWidth>("PenWidth"),
        Field<I, &I::fLineType>("LineType"),
        Field<I, &I::fFillType>("FillType"),
        Field<I, &I::fFillName>("FillName"),
        Field<I, &I::fFormat>("Format"),
    };
    return fields;
}

const TZORFields<TZORBaseItem>& TZORBaseItem::GetFields() const
{
    return BaseFields();
}

TZORLayer* TZORBaseItem::GetLayer() const
{
    return fOwner ? fOwner->GetLayer(fLayer) : nullptr;
}

int64_t TZORBaseItem::GetRefX(int32_t index) const
{
    return GetPoint(index).X;
}

int64_t TZORBaseItem::GetRefY(int32_t index) const
{
    return GetPoint(index).Y;
}

TZORPto TZORBaseItem::GetAnchor(int32_t index) const
{
    TZORPto p;
    p.DefineBase(GetRefX(index), GetRefY(index));
    return p;
}

TZORPto TZORBaseItem::GetAnchorAlong(int32_t index, float) const
{
    return GetAnchor(index);
}

bool TZORBaseItem::Pick(int64_t x, int64_t y, int32_t tol, bool) const
{
    return zor::PickShape(*this, x, y, tol);
}

bool TZORBaseItem::SearchRect(const TZORRect& r, bool aCross) const
{
    const TZORRect area = r.Normalized();
    const TZORRect b = fBounds.Normalized();
    if (!aCross)
        return area.Contains(b.Left, b.Top) && area.Contains(b.Right, b.Bottom);
    if (b.Left > area.Right || b.Right < area.Left || b.Top > area.Bottom || b.Bottom < area.Top)
        return false;
    return zor::ItemShape(*this).Meets(area);
}

TJsonObject TZORBaseItem::WriteJson() const
{
    TJsonObject o;
    o.SetI("Type", zor::Ord(TypeCode()));
    zor::FieldsToJson(o, *this, GetFields());
    TJsonArray points = o.NewA("Points");
    for (const TZORPto& p : fPoints) {
        TJsonArray xy = points.AddArray();
        xy.Add(p.X);
        xy.Add(p.Y);
    }
    return o;
}

bool TZORBaseItem::GetIsData() const
{
    return fFillType != 0;
}

void TZORBaseItem::CheckFit(int64_t&, int64_t&, int64_t&, int64_t&) { }

void TZORBaseItem::ReadJson(int32_t, const TJsonObject& o)
{
    zor::FieldsFromJson(o, *this, GetFields());
    if (!o.Contains("Points"))
        return;
    const TJsonArray points = o.A("Points");
    std::vector<TZORPto> read(static_cast<size_t>(points.Count()));
    for (int i = 0; i < points.Count(); ++i) {
        const TJsonArray xy = points.A(i);
        if (xy.Count() != 2)
            throw zor::Error(QStringLiteral("InvalidPoint"));
        read[size_t(i)] = ReadPoint(xy.L(0), xy.L(1));
    }
    // Bounds and derived points wait for AfterRead: the values read are not checked yet.
    fPoints = std::move(read);
}

void TZORBaseItem::UpdateBounds()
{
    if (fPoints.empty()) {
        fBounds = {};
        return;
    }
    TZORRect b { fPoints[0].X, fPoints[0].Y, fPoints[0].X, fPoints[0].Y };
    for (const TZORPto& p : fPoints)
        b = b.United({ p.X, p.Y, p.X, p.Y });
    fBounds = b;
}

void TZORBaseItem::UpdatePoints() { }

void TZORBaseItem::RotateLeft()
{
    const TZORPto c = CenterPoint();
    for (TZORPto& p : fPoints)
        p.DefineBase(c.X + (p.Y - c.Y), c.Y - (p.X - c.X));
    Update();
}

void TZORBaseItem::RotateRight()
{
    const TZORPto c = CenterPoint();
    for (TZORPto& p : fPoints)
        p.DefineBase(c.X - (p.Y - c.Y), c.Y + (p.X - c.X));
    Update();
}

void TZORBaseItem::FillData(bool) { }

void TZORBaseItem::WriteData(TBinaryWriter& w) const
{
    zor::WriteFields(w, *this, GetFields());
    w.WriteInt32(int32_t(fPoints.size()));
    for (const TZORPto& p : fPoints) {
        w.WriteInt64(p.X);
        w.WriteInt64(p.Y);
    }
}

void TZORBaseItem::ReadData(int32_t, TBinaryReader& r, TZORReadType)
{
    zor::ReadFields(r, *this, GetFields());
    const int32_t n = r.ReadCount(INT32_MAX, PointBytes);
    std::vector<TZORPto> read(static_cast<size_t>(n));
    for (TZORPto& p : read) {
        const int64_t x = r.ReadInt64();
        p = ReadPoint(x, r.ReadInt64());
    }
    // Bounds and derived points wait for AfterRead: the values read are not checked yet.
    fPoints = std::move(read);
}

void TZORBaseItem::CalcValues(int16_t) { }

int32_t TZORBaseItem::NumPoints() const
{
    return int32_t(fPoints.size());
}

TZORPto TZORBaseItem::CenterPoint() const
{
    const TZORRect b = fBounds.Normalized();
    TZORPto c;
    c.DefineBase(b.Left + b.GetWidth() / 2, b.Top + b.GetHeight() / 2);
    return c;
}

void TZORBaseItem::InsertPoint(int64_t x, int64_t y, int32_t index)
{
    if (FixedPoints() != 0)
        return;
    const size_t at = size_t(std::clamp(index, 1, int32_t(fPoints.size()) + 1) - 1);
    TZORPto p;
    p.DefineBase(x, y);
    fPoints.insert(fPoints.begin() + std::ptrdiff_t(at), p);
    Update();
}

void TZORBaseItem::Move(double dx, double dy)
{
    const int64_t mx = zor::Round(dx), my = zor::Round(dy);
    for (TZORPto& p : fPoints)
        p.DefineBase(p.X + mx, p.Y + my);
    Update();
}

void TZORBaseItem::Write(TBinaryWriter& w) const
{
    w.WriteInt32(zor::Ord(TypeCode()));
    WriteData(w);
}

const TZORPto& TZORBaseItem::GetPoint(int32_t i) const
{
    if (i < 1 || i > int32_t(fPoints.size()))
        throw zor::Error(QStringLiteral("PointIndex"));
    return fPoints[size_t(i - 1)];
}

void TZORBaseItem::AssignPoints(std::span<const TZORPto> points)
{
    fPoints.assign(points.begin(), points.end());
    Update();
}

void TZORBaseItem::SetBase(int32_t i, int64_t x, int64_t y)
{
    if (i < 1)
        throw zor::Error(QStringLiteral("PointIndex"));
    if (i > int32_t(fPoints.size()))
        fPoints.resize(size_t(i));
    fPoints[size_t(i - 1)].DefineBase(x, y);
    UpdateBounds();
}

void TZORBaseItem::SetPointsCount(int32_t n)
{
    fPoints.resize(size_t(std::max(n, 0)));
}

const TZORFields<TZORBaseItem>& TZOR2DItem::FigureFields()
{
    using I = TZOR2DItem;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &I::fFilled>("Filled"),
              Field<TZORBaseItem, &I::fBackColor>("BackColor"),
          };
    return fields;
}

const TZORFields<TZORBaseItem>& TZOR2DItem::GetFields() const
{
    return FigureFields();
}

uint8_t TZOR2DItem::Alpha() const
{
    return uint8_t(zor::Ord(fBackColor) >> 24);
}

void TZORBaseItem::AfterRead()
{
    if (GetPointsCount() < FixedPoints()) {
        const std::string_view kind = zor::ItemTypeName(TypeCode());
        throw zor::Error(QStringLiteral("ItemPoints"),
            QString::fromLatin1(kind.data(), qsizetype(kind.size())), QString::number(FixedPoints()));
    }
    Update();
}

void TZORBaseItem::Update()
{
    UpdatePoints();
    UpdateBounds();
}

TZORUnits TZORBaseItem::Units() const
{
    return fOwner ? fOwner->GetUnits() : TZORUnits::Millimetre;
}

int32_t TZORBaseItem::DrawScale() const
{
    // The measure's field is read from files as it stands, so a scale below 1 can reach here.
    return fOwner ? std::max(fOwner->Measure().GetDrawScale(), 1) : 1;
}

float TZORBaseItem::ToUnits(int64_t base) const
{
    return float(zor::GetValue(base, Units()));
}

int64_t TZORBaseItem::FromUnits(float v) const
{
    return zor::SetValue(v, Units());
}
