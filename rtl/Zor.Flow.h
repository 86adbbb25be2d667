#pragma once

#include "Zor.F2d.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// A flowchart node (type code 17): a shape in the box between points 1 and 2 with its text.
// Shapes beyond the named ones are kept as read and take the plain box.
class TZORBaseFlow : public TZORFontItem<TZORBoxItem> {
public:
    using TZORFontItem::TZORFontItem;

    TZORItemType TypeCode() const override { return TZORItemType::Flow; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    TZORFlowType GetFlowType() const { return fFlowType; }
    void SetFlowType(TZORFlowType t) { fFlowType = t; }
    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }

private:
    TZORFlowType fFlowType = TZORFlowType::Process;
    QString fText;
};

// How a link runs between its ends. Values beyond Spline are kept as read and draw no line.
enum class TZORinkType : uint8_t {
    Straight = 0, // from the start to the end
    Route1 = 1, // Route1 to Route3: polylines that the model routes between the ends
    Route2 = 2,
    Route3 = 3,
    Arc = 4, // a circular arc through link point 1
    Curve = 5, // one cubic Bézier curve
    Points = 6, // a polyline through the link points as they were given
    Spline = 7 // five cubic Bézier curves through the link points
};

namespace zor {

// Kinds whose link points the model lays out from the ends.
constexpr bool IsRoutedLink(TZORinkType t)
{
    return (t >= TZORinkType::Route1 && t <= TZORinkType::Route3) || t == TZORinkType::Spline;
}

} // namespace zor

// A connector between two elements of the label (type code 18), joined by their IDs at one of
// their anchor points each. The element's points are the link points between the ends; the
// start and end points follow the joined elements and are not stored.
class TZORBaseLink : public TZORBaseItem {
public:
    TZORBaseLink(TZORBaseLabel* aOwner, bool aPreview)
        : TZORBaseItem(aOwner, nullptr, 0, aPreview)
    {
    }
    // With aNumPoints link points at the origin; a negative count gives none.
    TZORBaseLink(TZORBaseLabel* aOwner, int32_t aNumPoints, bool aPreview)
        : TZORBaseItem(aOwner, nullptr, aNumPoints, aPreview)
    {
    }
    TZORBaseLink(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
        : TZORBaseItem(aOwner, aLayer, 0, aPreview)
    {
    }

    TZORItemType TypeCode() const override { return TZORItemType::Link; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    TZORinkType GetLinkType() const { return fLinkType; }
    void SetLinkType(TZORinkType t) { fLinkType = t; }
    int32_t GetFromID() const { return fFromID; }
    int32_t GetToID() const { return fToID; }
    void SetFromID(int32_t id) { fFromID = id; }
    void SetToID(int32_t id) { fToID = id; }
    // The anchor of each end on its element: the element's reference point of that index.
    int16_t GetFromIndex() const { return fFromIndex; }
    int16_t GetToIndex() const { return fToIndex; }
    void SetFromIndex(int16_t i) { fFromIndex = i; }
    void SetToIndex(int16_t i) { fToIndex = i; }

    // Link points, 1-based.
    int32_t GetNumLinkPoints() const { return GetPointsCount(); }
    const TZORPto& GetLinkPoint(int32_t i) const { return GetPoint(i); }
    // Sets link point i in base units (an index past the last adds points up to it); aRecalc
    // refreshes the ends at once.
    void SetBasePoint(int32_t i, int64_t x, int64_t y, bool aRecalc);
    // The same in the label's unit.
    void SetLinkPoint(int32_t i, float x, float y);

    // The ends as last found on the joined elements.
    const TZORPto& GetStartPoint() const { return fStart; }
    const TZORPto& GetEndPoint() const { return fEnd; }
    // Finds the joined elements and takes the ends from their anchors; false, with the ends
    // left as they were, while either element or anchor is missing. aNew, for a link just made:
    // the routed kinds drop their link points so that their route starts afresh from the ends.
    bool CalcLinkPoints(bool aNew);

private:
    bool FindAnchor(int32_t id, int16_t index, TZORPto& p) const;

    TZORinkType fLinkType = TZORinkType::Straight;
    int32_t fFromID = 0;
    int32_t fToID = 0;
    int16_t fFromIndex = 0;
    int16_t fToIndex = 0;
    // Derived from the joined elements, never stored.
    TZORPto fStart;
    TZORPto fEnd;
};
