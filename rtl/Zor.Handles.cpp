#include "Zor.Handles.h"

#include "Zor.Act.h"
#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Label.h"
#include "Zor.Line.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <cmath>

using namespace zor;

namespace {

void Add(std::vector<TZORHandle>& out, TZORBaseItem* item, uint8_t kind, int64_t x, int64_t y, int16_t index = 0)
{
    out.push_back({ x, y, x, y, kind, index, item });
}

void AddPoints(TZORBaseItem& item, uint8_t kind, std::vector<TZORHandle>& out)
{
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i)
        Add(out, &item, kind, item.GetPoint(i).X, item.GetPoint(i).Y, int16_t(i));
}

TZORPto Centre(const TZORRect& b)
{
    return { b.Left + b.GetWidth() / 2, b.Top + b.GetHeight() / 2 };
}

void AddRound(TZORBaseItem& item, std::vector<TZORHandle>& out)
{
    const TZORRect b = item.GetBounds().Normalized();
    const TZORPto c = Centre(b);
    Add(out, &item, hkCentre, c.X, c.Y);
    Add(out, &item, hkRadius, b.Right, c.Y);
}

void AddSector(TZORBaseSector& sector, std::vector<TZORHandle>& out)
{
    AddRound(sector, out);
    const TZORRect b = sector.GetBounds().Normalized();
    const TZORPto c = Centre(b);
    const double r = b.GetWidth() / 2.0;
    const double angles[2] = { DegToRad(sector.GetStartAngle()),
        DegToRad(double(sector.GetStartAngle()) + sector.GetSweepAngle()) };
    for (int16_t i = 0; i < 2; ++i)
        Add(out, &sector, hkAngle, c.X + Round(r * std::cos(angles[i])), c.Y + Round(r * std::sin(angles[i])),
            int16_t(i + 1));
}

void AddArc(TZORBaseArc& arc, std::vector<TZORHandle>& out)
{
    for (int16_t i = 1; i <= 3; ++i)
        Add(out, &arc, hkArcPoint, arc.GetPto(i).X, arc.GetPto(i).Y, i);
    Add(out, &arc, hkCentre, arc.GetBaseCenterX(), arc.GetBaseCenterY());
}

void AddBezier(TZORBaseItem& item, std::vector<TZORHandle>& out)
{
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i)
        Add(out, &item, (i - 1) % 3 == 0 ? hkPoint : hkControl, item.GetPoint(i).X, item.GetPoint(i).Y,
            int16_t(i));
}

void AddLink(TZORBaseLink& link, std::vector<TZORHandle>& out)
{
    Add(out, &link, hkFixed, link.GetStartPoint().X, link.GetStartPoint().Y);
    AddPoints(link, hkVertex, out);
    Add(out, &link, hkFixed, link.GetEndPoint().X, link.GetEndPoint().Y);
}

// The corner-radius handle lies on the top edge, as far from the corner as the radius, and never
// on the corner itself where the north-west handle would hide it.
void AddRectangle(TZORBaseRectangle& rect, std::vector<TZORHandle>& out)
{
    const TZORRect b = rect.GetBounds().Normalized();
    AddBoxHandles(b, &rect, out);
    const int64_t least = std::min(b.GetWidth(), b.GetHeight()) / 8;
    Add(out, &rect, hkCorner, b.Left + std::max<int64_t>(rect.GetBaseRadio(), least), b.Top);
}

// A paragraph's right edge sets its line width.
void AddPara(TZORBaseItem& item, std::vector<TZORHandle>& out)
{
    const TZORRect b = item.GetBounds().Normalized();
    std::vector<TZORHandle> box;
    AddBoxHandles(b, &item, box);
    for (const TZORHandle& h : box)
        if (h.Kind != hkE)
            out.push_back(h);
    Add(out, &item, hkWidth, b.Right, Centre(b).Y);
}

} // namespace

void zor::AddBoxHandles(const TZORRect& box, TZORBaseItem* item, std::vector<TZORHandle>& out)
{
    const TZORRect b = box.Normalized();
    const TZORPto c = Centre(b);
    const int64_t xs[3] = { b.Left, c.X, b.Right };
    const int64_t ys[3] = { b.Top, c.Y, b.Bottom };
    uint8_t kind = hkNW;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (row != 1 || col != 1)
                Add(out, item, kind++, xs[col], ys[row]);
}

bool zor::HasInsertPoint(const TZORBaseItem& item)
{
    switch (item.TypeCode()) {
    case TZORItemType::Point:
    case TZORItemType::Text:
    case TZORItemType::Barcode:
    case TZORItemType::PDF417:
    case TZORItemType::DataMatrix:
    case TZORItemType::QRCode:
    case TZORItemType::PolyText:
    case TZORItemType::Symbol:
        return item.GetPointsCount() > 0;
    default:
        return false;
    }
}

void zor::AddItemHandles(TZORBaseItem& item, std::vector<TZORHandle>& out)
{
    if (HasInsertPoint(item)) {
        Add(out, &item, hkInsert, item.GetPoint(1).X, item.GetPoint(1).Y, 1);
        return;
    }
    switch (item.TypeCode()) {
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
        for (int16_t i = 1; i <= std::min(2, item.GetPointsCount()); ++i)
            Add(out, &item, hkPoint, item.GetPoint(i).X, item.GetPoint(i).Y, i);
        break;
    case TZORItemType::Dim:
        for (int16_t i = 1; i <= std::min(2, item.GetPointsCount()); ++i)
            Add(out, &item, hkPoint, item.GetPoint(i).X, item.GetPoint(i).Y, i);
        break;
    case TZORItemType::PolyLine:
    case TZORItemType::Polygon:
        AddPoints(item, hkVertex, out);
        AddBoxHandles(item.GetBounds(), &item, out);
        break;
    case TZORItemType::Bezier:
        AddBezier(item, out);
        AddBoxHandles(item.GetBounds(), &item, out);
        break;
    case TZORItemType::Link:
        AddLink(static_cast<TZORBaseLink&>(item), out);
        break;
    case TZORItemType::Arc:
        AddArc(static_cast<TZORBaseArc&>(item), out);
        break;
    case TZORItemType::Circle:
    case TZORItemType::Level:
        AddRound(item, out);
        break;
    case TZORItemType::Sector:
        AddSector(static_cast<TZORBaseSector&>(item), out);
        break;
    case TZORItemType::Ellipse: {
        const TZORRect b = item.GetBounds().Normalized();
        const TZORPto c = Centre(b);
        Add(out, &item, hkCentre, c.X, c.Y);
        Add(out, &item, hkRadiusX, b.Right, c.Y);
        Add(out, &item, hkRadiusY, c.X, b.Bottom);
        break;
    }
    case TZORItemType::Rectangle:
        AddRectangle(static_cast<TZORBaseRectangle&>(item), out);
        break;
    case TZORItemType::Paragraph:
    case TZORItemType::RichText:
        AddPara(item, out);
        break;
    default:
        // Pictures, flowchart nodes, tables, ratings, scores and package boxes.
        AddBoxHandles(item.GetBounds(), &item, out);
        break;
    }
}

std::vector<TZORHandle> zor::SelectionHandles(const TZORBaseLabel& label)
{
    std::vector<TZORHandle> out;
    const int32_t n = label.GetSelectionCount();
    for (int32_t i = 1; i <= n; ++i) {
        TZORBaseItem* item = label.GetSelection(i);
        const TZORRect b = item->GetBounds().Normalized();
        out.push_back({ b.Left, b.Top, b.Right, b.Bottom, hkExtent, 0, item });
    }
    if (n == 1)
        AddItemHandles(*label.GetSelection(1), out);
    else if (n > 1)
        AddBoxHandles(label.SelectionBounds(), nullptr, out);
    return out;
}
