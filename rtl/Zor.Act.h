#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

// The numbers the editor, the model and the construction preview exchange: tools (actions),
// their steps (states), what the preview draws (draw types), what a drag changes (move types)
// and the kinds of the selection handles. They are ordinals of the views' contract.
namespace zor {

// Tools. 2 is a drag of the selection or of a handle; 16 and 17 edit a text in place.
enum TZORAction : int32_t {
    acNone = 0,
    acSelect = 1,
    acMove = 2,
    acPoint = 3,
    acLine = 4,
    acArrowLine = 5,
    acRectangle = 6,
    acPolyLine = 7,
    acArc3P = 8,
    acPolygon = 9,
    acBezier = 10,
    acCircle = 11, // centre, then a point on the circle
    acCircle2P = 12, // the ends of a diameter
    acCircle3P = 13,
    acEllipse = 14, // centre, radius along X, radius along Y
    acText = 15,
    acTextEdit = 16,
    acTextSelect = 17,
    acParagraph = 18,
    acRichText = 19,
    acTrim = 20,
    acRefLine = 21,
    acExtend = 22,
    acOffset = 23,
    acBarcode = 24,
    acPDF417 = 25,
    acDataMatrix = 26,
    acQRCode = 27,
    acImage = 28,
    acFlow = 29,
    acLink = 30,
    acPolyLink = 31,
    acTable = 32,
    acPolyText = 33,
    acRank = 34,
    acNutriScore = 35,
    acLevel = 36,
    acSymbol = 37,
    acDim = 38,
    acDimRadius = 39,
    acDimRadiusOut = 40,
    acDimDiameter = 41,
    acDimDiameterOut = 42,
    acSector = 43,
    acSector2P = 44,
    acSector3P = 45,
    acPackage = 46,
    acDimAligned = 47,
    acLast = acDimAligned,
};

// Steps of a tool.
enum TZORToolState : int32_t {
    stIdle = 0,
    stWindow = 1, // the select tool draws its selection window
    stFirst = 2, // the tool waits for its first point
    stSecond = 3,
    stThird = 4,
    stNext = 5, // a run of points: the next one, or the right button to end
    stFourth = 6,
    stCentre = 7, // the ellipse's centre
    stRadiusX = 8,
    stRadiusY = 9,
    stLinkEnd = 10,
    stTyping = 11, // a text takes the typed characters
    stRef1 = 12,
    stRef2 = 13,
    stPlace = 14,
    stDragging = 15,
    stDistance = 16, // a typed distance
    stAngle = 17,
    stTrimTarget = 18,
    stExtendTarget = 19,
    stSymbol = 20,
    stDone = 21,
    stSide = 22,
    stLast = stSide,
};

// What the construction preview draws between the press point and the pointer.
enum TZORDrawType : int32_t {
    dtNone = 0,
    dtWindow = 1,
    dtMoving = 2,
    dtLine = 3,
    dtPath = 4,
    dtRectangle = 5,
    dtCircle = 6,
    dtCircle2P = 7,
    dtCircle3P = 8,
    dtArc3P = 9,
    dtText = 10,
    dtEllipse = 11,
    dtDiamond = 12,
    dtDocument = 13,
    dtRounded = 14,
    dtParallelogram = 15,
    dtLink = 16,
    dtPolyLink = 17,
    dtHexagon = 18,
    dtOval = 19,
    dtCurvedLeft = 20,
    dtPentagon = 21,
    dtCurvedRight = 22,
    dtDim = 23,
    dtLast = dtDim,
};

// What a drag changes (TAct::fMoveType).
enum TZORMoveType : int32_t {
    mtNone = 0,
    mtSelection = 1, // the selected elements move
    mtRadius = 2,
    mtCorner = 3, // a rectangle's corner radius
    mtControl = 4, // a Bézier control point
    mtArcPoint = 5,
    mtPoint = 6,
    mtVertex = 7, // a vertex of a run, which Delete removes
    mtRadiusX = 8,
    mtRadiusY = 9,
    mtAngle = 10, // a sector's start (index 1) or end (index 2)
    mtNW = 11,
    mtN = 12,
    mtNE = 13,
    mtW = 14,
    mtE = 15,
    mtSW = 16,
    mtS = 17,
    mtSE = 18,
    mtGrid = 19,
    mtWidth = 20, // a paragraph's right edge
};

// Kinds of the selection handles (the editor draws and hit-tests them by kind).
enum TZORHandleKind : uint8_t {
    hkSquare = 0,
    hkBar = 1,
    hkInsert = 2, // the insertion point of a one-point element: dragging it moves the element
    hkPoint = 3,
    hkFixed = 4, // a link end held by its element
    hkVertex = 5,
    hkControl = 6,
    hkArcPoint = 7,
    hkNW = 8, // 8 to 15: the box, north-west to south-east
    hkN = 9,
    hkNE = 10,
    hkW = 11,
    hkE = 12,
    hkSW = 13,
    hkS = 14,
    hkSE = 15,
    hkEdit = 16,
    hkRefCross = 17,
    hkAlign = 18,
    hkCentre = 19,
    hkRadius = 20,
    hkRadiusX = 21,
    hkRadiusY = 22,
    hkCorner = 23,
    hkExtent = 24, // the element's extent, from the first point to the second
    hkAlignCross = 25,
    hkAngle = 26,
    hkWidth = 27,
    hkOther = 28,
};

// Keys and buttons held with a mouse or key event.
enum TZORShiftState : uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TZORShift = uint8_t;

// What MoveSize changes: narrower, wider, lower, higher.
enum class TZORMoveOpt : uint8_t { Narrower = 1, Wider = 2, Lower = 3, Higher = 4 };

// The tool state shared by every editor of the process: the current action (tool) and its step,
// what the construction preview draws, the points the tool has taken so far and the drag in
// progress. It lives on the user-interface thread; the action is atomic because the export
// worker reads it.
class QUINDLE_RTL_EXPORT TAct {
public:
    static std::atomic<int32_t> fCurAction;
    static int32_t fCurState;
    static int32_t fDrawType;
    static bool fCurEditor; // an existing element or the selection is being dragged
    static int32_t fCurLinkType; // the kind of link the link tools make
    static TZORFlowType fCurFlowType; // the shape the flowchart tool makes
    static int32_t fMoveType;
    static int32_t fPos1; // 1-based index of the current handle's point, 0 for none
    static QString fText;

    // Back to the select tool with nothing in progress.
    static void Reset();
    // A tool from its first step (states and draw types of zor::TZORAction); an action out of
    // range counts as the select tool.
    static void SetCurAction(int32_t action);
    static void SetState(int32_t state);
    // Readies a drag of the handle of move type moveType and point pos (0 for none): the action
    // becomes the drag; move type 0 ends it.
    static void SetMove(int32_t moveType, int32_t pos);

    // The points the tool has taken so far (base units), for the construction preview.
    static int32_t NumPoints() { return int32_t(fPoints.size()); }
    // Point i, 0-based; 0 out of range.
    static int64_t GetPointX(int32_t i);
    static int64_t GetPointY(int32_t i);
    static void AddPoint(int64_t x, int64_t y);
    static void ClearPoints() { fPoints.clear(); }
    static const std::vector<TZORPto>& Points() { return fPoints; }

    // The state and draw type a tool starts with.
    static int32_t FirstState(int32_t action);
    static int32_t ToolDrawType(int32_t action, int32_t state);

private:
    static std::vector<TZORPto> fPoints;
};

} // namespace zor
