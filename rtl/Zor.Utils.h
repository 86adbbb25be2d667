#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QPoint>
#include <QPointF>
#include <QRectF>

#include <array>
#include <cstdint>
#include <numbers>
#include <vector>

// Rounding, units, projections and plane geometry shared by the model and every renderer.
// Angles of the model are radians that turn clockwise on screen (y grows downwards), the
// sense of the painters' arcs and rotations; quarter turns (TZORAngle) count the other way,
// counter-clockwise as seen on the page.
namespace zor {

// Halves go to the even neighbour: Round(0.5) = 0, Round(1.5) = 2, Round(2.5) = 2,
// Round(-0.5) = 0, Round(-1.5) = -2. NaN gives 0 and values beyond the range saturate.
QUINDLE_RTL_EXPORT int64_t Round(double x);
// Toward zero, with the same treatment of NaN and of values beyond the range.
QUINDLE_RTL_EXPORT int64_t Trunc(double x);

constexpr double RadToDeg(double radians)
{
    return radians * (180.0 / std::numbers::pi);
}
constexpr double DegToRad(double degrees)
{
    return degrees * (std::numbers::pi / 180.0);
}

// Base units (micrometres) per length unit, indexed by TZORUnits.
inline constexpr std::array<int64_t, 7> MicrometresPerUnit
    = { 1000, 25400, 10000, 100000, 1000000, 304800, 914400 };

// A unit outside the table counts as millimetres.
constexpr int64_t UnitMicrometres(TZORUnits units)
{
    return Ord(units) < MicrometresPerUnit.size() ? MicrometresPerUnit[Ord(units)] : 1000;
}

// A length in the given unit to base units (rounded), and back.
QUINDLE_RTL_EXPORT int64_t SetValue(double value, TZORUnits units);
QUINDLE_RTL_EXPORT double GetValue(int64_t base, TZORUnits units);

// A base-unit length in device pixels: as a float for shapes, rounded for text positions.
QUINDLE_RTL_EXPORT double DrawFromBaseX(double length, const TZORBaseDraw& D);
QUINDLE_RTL_EXPORT double DrawFromBaseY(double length, const TZORBaseDraw& D);
QUINDLE_RTL_EXPORT int PrintFromBaseX(double length, const TZORBaseDraw& D);
QUINDLE_RTL_EXPORT int PrintFromBaseY(double length, const TZORBaseDraw& D);

// A pen width in millimetres in device pixels: width × DPI / 25.4. It reads the resolution
// only, because the print path sets the pixels-per-millimetre member after its dash units.
QUINDLE_RTL_EXPORT double BasePtoY(double widthMM, const TZORBaseDraw& D);
QUINDLE_RTL_EXPORT double DrawBasePtoX(double widthMM, const TZORBaseDraw& D);

// Where a text block of w × h starts (the top-left corner of its first character, turned with
// the block) when it is placed at (x, y) by the alignments and turned about (x, y) by angle.
// Left and top alignment keep the padding between the point and the text, right and bottom
// alignment keep it on the other side, and centring ignores it. DrawTxtPos works in screen
// pixels; PrintTxtPos in whole printer pixels, halving with truncation toward zero.
QUINDLE_RTL_EXPORT QPointF DrawTxtPos(double x, double y, double padX, double padY, double w, double h,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, TZORAngle angle);
QUINDLE_RTL_EXPORT QPoint PrintTxtPos(int x, int y, int padX, int padY, int w, int h, TZORHorzAlign hAlign,
    TZORVertAlign vAlign, TZORAngle angle);

struct QUINDLE_RTL_EXPORT TDraw2DCircle {
    double Cx = 0.0;
    double Cy = 0.0;
    double R = 0.0;
};

// An arc through three points. Angles are radians measured from the positive X axis toward
// positive Y (clockwise on screen), Start and End in [0, 2π). Sweep runs from the first point
// through the second to the third: positive when that is clockwise on screen, then Clock is
// set, negative otherwise.
struct QUINDLE_RTL_EXPORT TDraw2DArc {
    double Cx = 0.0;
    double Cy = 0.0;
    double R = 0.0;
    double Start = 0.0;
    double End = 0.0;
    double Sweep = 0.0;
    bool Clock = false;
};

} // namespace zor

// The two back corners of an arrow head. Looking from the tail to the tip on screen, Wing1
// lies on the right of the line and Wing2 on the left.
struct QUINDLE_RTL_EXPORT TZORArrow {
    QPointF Wing1;
    QPointF Wing2;
};

namespace zor {

class QUINDLE_RTL_EXPORT TDraw2D {
public:
    static double Distance(double x1, double y1, double x2, double y2);
    static double Distance(const QPointF& a, const QPointF& b);

    // Into [0, 2π); a value that is not finite gives 0.
    static double NormalizeAngle(double radians);

    // Quarter turns about a centre, counter-clockwise as seen on the page: one turn takes the
    // offset (dx, dy) to (dy, -dx). A rectangle stays axis-parallel and comes out normalised.
    static void Rotate(QRectF& rect, const QPointF& centre, TZORAngle angle);
    static void RotatePoint(QPoint& p, const QPoint& centre, TZORAngle angle);
    static void RotatePoint(QPointF& p, const QPointF& centre, TZORAngle angle);
    // A turn by degrees, clockwise on screen for a positive angle (the painters' sense).
    static void RotatePoint(QPointF& p, const QPointF& centre, double degrees);

    // Arrow head at tip: the wings lie at distance length from the tip, each turned by
    // π / opening off the line, so 8 gives a head of 45 degrees and a larger opening a slimmer
    // one. Openings below 2 count as 2 (wings square to the line). By point the line comes
    // from `from`; by angle it runs in direction `angle` toward the tip.
    static TZORArrow DrawArrow(const QPointF& from, const QPointF& tip, double length, double opening);
    static TZORArrow DrawArrow(const QPointF& tip, double angle, double length, double opening);

    static TDraw2DCircle CircleTwoPoints(double x1, double y1, double x2, double y2);
    // False when the points are collinear, coincide or are not finite.
    static bool CircleThreePoints(
        double x1, double y1, double x2, double y2, double x3, double y3, TDraw2DCircle& circle);
    static bool ArcThreePoints(
        double x1, double y1, double x2, double y2, double x3, double y3, TDraw2DArc& arc);

    // The largest rectangle of proportions width : height centred in rect; a zero-size one at
    // the centre when a proportion is not positive or rect has no area.
    static QRectF CenteredRect(double width, double height, const QRectF& rect);
    static TZORRect CenteredRect(double width, double height, const TZORRect& rect);

    // Start and sweep, in degrees clockwise from the positive X axis, of the arc of a circle
    // whose chord bounds a vessel filled to ratio (0 to 1, clamped). The vessel fills from the
    // bottom, or from the left when fromLeft is set. The ratio is the height of the level as a
    // share of the diameter, or the filled share of the disc's area when byArea is set.
    static void AngleSegment(double ratio, bool byArea, bool fromLeft, double& startDeg, double& sweepDeg);

    // Where the line through (x1, y1) and (x2, y2) meets the line through (x3, y3) and (x4, y4).
    // aSegment1 and aSegment2 keep the meeting point on the first and the second segment (its
    // ends included). False for parallel lines, a line of no length, a meeting point off a kept
    // segment, or values that are not finite.
    static bool IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
        double y4, bool aSegment1, bool aSegment2, QPointF& p);
    // The same meeting as parameters: t along the first line (x1, y1) + t·(x2 − x1, y2 − y1) and
    // u along the second. False for parallel lines, a line of no length or values not finite.
    static bool CrossLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
        double y4, double& t, double& u);
    // Where the line through (x1, y1) and (x2, y2) meets the circle of centre (cx, cy) and radius
    // r, as parameters t of (x1, y1) + t·(x2 − x1, y2 − y1), the smaller first: two, one for a
    // tangent, none for a line that misses, a line of no length or values not finite.
    static std::vector<double> CrossLineCircle(
        double x1, double y1, double x2, double y2, double cx, double cy, double r);
    // Where two circles meet: two points, one where they touch, none otherwise (also for
    // circles with one centre).
    static std::vector<QPointF> CrossCircles(
        double cx1, double cy1, double r1, double cx2, double cy2, double r2);
    // The parameter t of the point of the line through (x1, y1) and (x2, y2) nearest to (x, y);
    // 0 for a line of no length.
    static double LineParameter(double x1, double y1, double x2, double y2, double x, double y);
};

} // namespace zor

// Linear barcodes: the bar pattern that the encoder writes and the drawing reads.
//
// A pattern holds one character per element (bar or space) along the symbol. Each character
// names a width class and a bar class:
//
//   width class           Narrow  Wide  Double  Triple  Quadruple  OneAndHalf
//   element width (m)        1    factor   2       3        4          1.5
//   full bar                '0'    '1'    '2'     '3'      '4'        '5'
//   short bar               'a'    'b'    'c'     'd'      'e'        'f'
//   guard bar               'g'    'h'    'i'     'j'      'k'        'l'
//   space                   'A'    'B'    'C'     'D'      'E'        'F'
//
// m is the narrow module and factor the element's wide-to-narrow ratio. Any other character
// is a space as wide as the element before it (m for the first), so a damaged pattern still
// lays out without reading anything but itself.
enum class TZORDrawWidth : uint8_t {
    Narrow = 0,
    Wide = 1,
    Double = 2,
    Triple = 3,
    Quadruple = 4,
    OneAndHalf = 5,
    Previous = 6
};

// Full bars fill the bar band; short bars its lower two fifths (postal codes); guard bars
// reach below it into the text line (EAN and UPC).
enum class TZORDrawBar : uint8_t { Full = 0, Short = 1, Guard = 2, Space = 3 };

namespace zor {

class QUINDLE_RTL_EXPORT TBarcode {
public:
    static void FillBarData(char c, TZORDrawWidth& width, TZORDrawBar& bar);
    // The pattern character for a width and a bar class; Previous has none and gives '?'.
    static char BarChar(TZORDrawWidth width, TZORDrawBar bar);

    // The width of one element, in the unit of m; previous is the element before it.
    static double ElementWidth(TZORDrawWidth width, double m, double factor, double previous);
    // The length of the whole pattern, in the unit of m.
    static double PatternWidth(QByteArrayView pattern, double m, double factor);

    // Where the digits of the retail codes go, measured along the symbol from the start of
    // the first bar, in the unit of m: the centres of the digit groups and the left end of
    // the check digit written after the symbol (one module clear of the last bar). The
    // positions follow the standard module layout of each symbology; a pattern shorter than
    // that layout clamps every position to its own end.
    static void Ean13Pos(QByteArrayView pattern, double m, double factor, double& left, double& right);
    static void Ean8Pos(QByteArrayView pattern, double m, double factor, double& left, double& right);
    static void UPCAPos(
        QByteArrayView pattern, double m, double factor, double& left, double& right, double& check);
    static void UPCEPos(QByteArrayView pattern, double m, double factor, double& centre, double& check);
};

} // namespace zor
