#pragma once

#include "Zor.RtlExport.h"

#include <QElapsedTimer>

#include <cstdint>

// Object snapping: the kinds of element points a moving pointer is drawn to, the record of the
// point found, the record of a link anchor found, and the filter that thins out mouse moves.
namespace zor {

// The snap kinds; bit n of the editor's snap set enables kind n (1 is the grid, not a point).
enum class TZORSnap : uint8_t {
    Point = 0, // construction points and the insertion points of one-point elements
    Grid = 1,
    Middle = 2, // middles of straight segments and of arcs
    Centre = 3, // centres of circles, ellipses, arcs, sectors and rectangles
    End = 4, // ends and vertices of lines, runs, arcs, curves and boxes
    RefSymbol = 5, // insertion points and connection points of library symbols
    Cross = 6, // where two strokes cross
    Tangent = 7, // the point where a line from the base point touches a circle or arc
    Perpendicular = 8, // the foot of the perpendicular from the base point on a stroke
};

constexpr uint16_t SnapBit(TZORSnap s)
{
    return uint16_t(1u << uint8_t(s));
}

} // namespace zor

// The point a snap found: where it lies (X, Y), the point a tangent or perpendicular is sought
// from (-1, -1 for none), its screen position and the marker the editor draws for it (0 square,
// 1 circle, 2 cross). Valid while the point stands; Snapped is the editor's.
struct QUINDLE_RTL_EXPORT TZORRef {
    int64_t X = 0;
    int64_t Y = 0;
    int64_t BaseX = -1;
    int64_t BaseY = -1;
    int32_t ScreenX = 0;
    int32_t ScreenY = 0;
    uint8_t Marker = 0;
    bool Snapped = false;
    bool Valid = false;

    // Forgets the point; keepBase keeps the base point.
    void Reset(bool keepBase);
};

// The anchor a link tool found: the element's ID, the anchor's number (the same in both
// fields), and where it lies.
struct QUINDLE_RTL_EXPORT TZORink {
    int32_t Item = 0;
    int16_t StartPoint = 0;
    int16_t EndPoint = 0;
    int64_t X = 0;
    int64_t Y = 0;
    bool Found = false;
};

namespace zor {

// Thins out the moves of a drag: a move passes when it comes at least 1000 / rate milliseconds
// after the last one that passed, or lies at least `distance` pixels from it. The first move
// after ResetPos always passes.
class QUINDLE_RTL_EXPORT TMouseFilter {
public:
    TMouseFilter(int32_t rate, int32_t distance);

    bool FilterMouseMove(int32_t x, int32_t y);
    // The same at a given time (milliseconds on any steady clock).
    bool FilterMouseMoveAt(int32_t x, int32_t y, int64_t msec);
    void ResetPos();

private:
    int64_t fInterval;
    int64_t fDistance;
    bool fHasLast = false;
    int32_t fLastX = 0;
    int32_t fLastY = 0;
    int64_t fLastTime = 0;
    QElapsedTimer fClock;
};

} // namespace zor
