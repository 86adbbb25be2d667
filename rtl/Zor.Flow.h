#pragma once

#include "Zor.F2d.h"
#include "Zor.RtlExport.h"
#include "Zor.Text.h"

#include <QPointF>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// How a flowchart node's fill may shade: kept and edited, drawn as a plain fill. Values beyond
// the named ones are kept as read.
enum class TZORGradient : uint8_t { None = 0, Horizontal = 1, Vertical = 2, Radial = 3 };

// A flowchart node (type code 17): a shape in the box between points 1 and 2 with its text,
// wrapped inside the shape within the box less its paddings. Shapes beyond the named ones are
// kept as read and show their text alone.
class QUINDLE_RTL_EXPORT TZORBaseFlow : public TZORPadded<TZORFontItem<TZORBoxItem>, 1000> {
public:
    static constexpr float MinSpacing = 0.1f;
    static constexpr float MaxSpacing = 10.0f;
    static constexpr float MaxShadow = 1000.0f; // millimetres either way

    using TZORPadded::TZORPadded;

    TZORItemType TypeCode() const override { return TZORItemType::Flow; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // A node is joined in the middle of its sides: 1 top, 2 right, 3 bottom, 4 left; a link may
    // join anywhere along the side of its anchor.
    enum TAnchor : int16_t { TopAnchor = 1, RightAnchor = 2, BottomAnchor = 3, LeftAnchor = 4 };
    int32_t GetAnchorsCount() const override { return 4; }
    TZORPto GetAnchor(int32_t index) const override;
    TZORPto GetAnchorAlong(int32_t index, float along) const override;

    TZORFlowType GetFlowType() const { return fFlowType; }
    void SetFlowType(TZORFlowType t) { fFlowType = t; }
    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    // Kept and edited; the node's text is never struck out.
    bool GetStrikeout() const { return fStrikeout; }
    void SetStrikeout(bool s) { fStrikeout = s; }

    // Line spacing: 1.0 is single spacing.
    float GetScaleX() const { return fScaleX; }
    void SetScaleX(float s) { fScaleX = zor::ClampFloat(s, MinSpacing, MaxSpacing, 1.0f); }

    // Shading and shadow, kept and edited for the hosts that show them.
    TZORGradient GetGradient() const { return fGradient; }
    void SetGradient(TZORGradient g) { fGradient = g; }
    zor::TAlphaColor GetGradientToColor() const { return fGradientToColor; }
    void SetGradientToColor(zor::TAlphaColor c) { fGradientToColor = c; }
    float GetShadowDX() const { return fShadowDX; }
    float GetShadowDY() const { return fShadowDY; }
    void SetShadowDX(float d) { fShadowDX = SaneShadow(d); }
    void SetShadowDY(float d) { fShadowDY = SaneShadow(d); }
    zor::TAlphaColor GetShadowColor() const { return fShadowColor; }
    void SetShadowColor(zor::TAlphaColor c) { fShadowColor = c; }

    // The box in paper micrometres (base units over the drawing scale), whichever way round
    // its corners lie.
    int64_t BaseScaleWidth() const { return std::abs(GetBaseWidth()) / DrawScale(); }
    int64_t BaseScaleHeight() const { return std::abs(GetBaseHeight()) / DrawScale(); }
    // The box less its paddings on all four sides, paper micrometres; 0 or less when the
    // paddings leave no room.
    int64_t TextWidth() const { return BaseScaleWidth() - 2 * int64_t { GetBasePadX() }; }
    int64_t TextHeight() const { return BaseScaleHeight() - 2 * int64_t { GetBasePadY() }; }

protected:
    void AfterRead() override;

private:
    static float SaneShadow(float d) { return zor::ClampFloat(d, -MaxShadow, MaxShadow, 0.0f); }

    TZORFlowType fFlowType = TZORFlowType::Process;
    QString fText;
    bool fStrikeout = false;
    float fScaleX = 1.0f;
    TZORGradient fGradient = TZORGradient::None;
    zor::TAlphaColor fGradientToColor = zor::claWhite;
    float fShadowDX = 0.0f;
    float fShadowDY = 0.0f;
    zor::TAlphaColor fShadowColor = zor::claGray;
    // Derived, never stored.
};

// How a link runs between its ends. Values beyond Spline are kept as read and draw nothing.
enum class TZORinkType : uint8_t {
    Straight = 0, // from the start to the end
    Route1 = 1, // one bend: across first, then up or down
    Route2 = 2, // one bend: up or down first, then across
    Route3 = 3, // two bends, the middle leg halfway between the ends
    Arc = 4, // a circular arc through link point 1
    Curve = 5, // one cubic Bézier curve leaving each end square to its element's side
    Points = 6, // a polyline through the link points as they were given
    Spline = 7 // the two-bend route of Route3 with rounded corners: five cubic Bézier curves
};

namespace zor {

// Kinds whose link points the model lays out from the ends.
constexpr bool IsRoutedLink(TZORinkType t)
{
    return (t >= TZORinkType::Route1 && t <= TZORinkType::Route3) || t == TZORinkType::Spline;
}

// The number of link points a routed kind lays out: 14 for the spline (five curves between its
// ends), 1 for the one-bend routes, 2 for the two-bend route.
QUINDLE_RTL_EXPORT int32_t RoutedPointCount(TZORinkType t);

// The course of a link in base units. A polyline through Points (Cubic false), or a chain of
// cubic Bézier curves (Cubic true): Points[0] starts it and each curve adds its two control
// points and its end. Either has at least two points when it is not empty.
struct QUINDLE_RTL_EXPORT TZORLinkCourse {
    std::vector<QPointF> Points;
    bool Cubic = false;

    // Where the line comes from into each end, for the markers: the nearest point along the
    // course that is not the end itself (the end when the course has no length).
    QPointF StartFrom() const;
    QPointF EndFrom() const;
};

// The direction (a unit step along X or Y) in which a line leaves an anchor on an element with
// the given bounds: square out of the side the anchor lies on, and of the two sides at a corner
// the one facing `toward` more. An element without area gives the axis along which `toward`
// lies farther.
QUINDLE_RTL_EXPORT QPointF AnchorDirection(
    const TZORRect& bounds, const QPointF& anchor, const QPointF& toward);

// Control points of the curve from a to b that leaves a along dirA and enters b from dirB (unit
// steps, or zero to head straight for the other end), each half the distance between the ends
// away from its end.
QUINDLE_RTL_EXPORT void CurvePoints(
    const QPointF& a, const QPointF& b, const QPointF& dirA, const QPointF& dirB, QPointF& c1, QPointF& c2);

// The link points a routed kind lays out between start and end; `acrossFirst` decides whether
// the two-bend routes leave the start along X (else along Y). Other kinds give none.
QUINDLE_RTL_EXPORT std::vector<TZORPto> RouteLink(
    TZORinkType t, const TZORPto& start, const TZORPto& end, bool acrossFirst);

// The course of a link of kind t from start to end. Routed kinds follow their route; the arc
// passes through link point 1 (a straight line without it, or through three points on one line);
// the curve leaves its ends along dirStart and dirEnd; the polyline takes the link points as
// given. Kinds beyond the spline have no course.
QUINDLE_RTL_EXPORT TZORLinkCourse LinkCourse(TZORinkType t, const TZORPto& start, const TZORPto& end,
    std::span<const TZORPto> linkPoints, const QPointF& dirStart, const QPointF& dirEnd);

} // namespace zor

// A connector between two elements of the label (type code 18), joined by their IDs at one of
// their anchor points each, with a marker at each end. The element's points are the link points
// between the ends; the start and end points follow the joined elements and are not stored.
// Markers are as large as the label settings' line-end size.
class QUINDLE_RTL_EXPORT TZORBaseLink : public TZOREndMarks<TZORBaseItem> {
public:
    TZORBaseLink(TZORBaseLabel* aOwner, bool aPreview)
        : TZORBaseLink(aOwner, nullptr, 0, aPreview)
    {
    }
    // With aNumPoints link points at the origin; a negative count gives none.
    TZORBaseLink(TZORBaseLabel* aOwner, int32_t aNumPoints, bool aPreview)
        : TZORBaseLink(aOwner, nullptr, aNumPoints, aPreview)
    {
    }
    TZORBaseLink(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
        : TZORBaseLink(aOwner, aLayer, 0, aPreview)
    {
    }

    TZORItemType TypeCode() const override { return TZORItemType::Link; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // Refreshes the ends and the route, then the bounds.
    void CalcValues(int16_t aFlag) override;
    // The ends as last found and the link points.
    void UpdateBounds() override;

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
    // Where each end lies along the side of its anchor, on elements whose anchors lie on sides
    // (flowchart nodes): 0 the side's left or top end, 1 its other end, 0.5 the anchor itself.
    // It stays at that share of the side when the element moves or changes its size.
    static constexpr float MiddleAlong = 0.5f;
    float GetFromAlong() const { return fFromAlong; }
    float GetToAlong() const { return fToAlong; }
    void SetFromAlong(float a) { fFromAlong = SaneAlong(a); }
    void SetToAlong(float a) { fToAlong = SaneAlong(a); }

    // The markers' size, millimetres on paper: the label's line-end size.
    float GetTermSize() const;

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
    // Finds the joined elements, takes the ends from their anchors and lays the routed kinds'
    // link points out between them; false, with the ends and link points left as they were,
    // while either element or anchor is missing. aNew, for a link just made: the routed kinds
    // drop their link points first, so that a link without ends has no stale route.
    bool CalcLinkPoints(bool aNew);

    // The course as the joined elements stand now, found afresh without changing the link (the
    // painters call this while a print job may read the same link); nothing while an end is
    // missing or for a kind beyond the spline.
    std::optional<zor::TZORLinkCourse> Course() const;

protected:
    void AfterRead() override;

private:
    static float SaneAlong(float a) { return zor::ClampFloat(a, 0.0f, 1.0f, MiddleAlong); }

    // A link ends in a filled arrow unless told otherwise.
    TZORBaseLink(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t aNumPoints, bool aPreview)
        : TZOREndMarks(aOwner, aLayer, aNumPoints, aPreview)
    {
        fToType = TZORTermType::FilledArrow;
    }

    // An end's element, or none.
    const TZORBaseItem* Joined(int32_t id) const;
    bool FindAnchor(int32_t id, int16_t index, float along, TZORPto& p) const;
    bool FindEnds(TZORPto& start, TZORPto& end) const;
    // The direction in which the line leaves the anchor at `at` of element `id` toward `toward`.
    QPointF Direction(int32_t id, const TZORPto& at, const TZORPto& toward) const;

    TZORinkType fLinkType = TZORinkType::Straight;
    int32_t fFromID = 0;
    int32_t fToID = 0;
    int16_t fFromIndex = 0;
    int16_t fToIndex = 0;
    float fFromAlong = MiddleAlong;
    float fToAlong = MiddleAlong;
    // Derived from the joined elements, never stored.
    TZORPto fStart;
    TZORPto fEnd;
    bool fHasEnds = false;
};
