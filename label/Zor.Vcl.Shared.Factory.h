#pragma once

#include "Zor.Barcode.h"
#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <span>

class TZORBaseLabel;
class TZORBaseItem;
class TZORPoint;
class TZORLine;
class TZORArrowLine;
class TZORPolyLine;
class TZORArc;
class TZORRectangle;
class TZORPolygon;
class TZORCircle;
class TZOREllipse;
class TZORBezier;
class TZORSector;
class TZORLevel;
class TZORPackage;
class TZORDim;
class TZORText;
class TZORParagraph;
class TZORRichText;
class TZORImage;
class TZORBarcode;
class TZORPDF417;
class TZORDataMatrix;
class TZORQRCode;
class TZORFlow;
class TZORLink;
class TZORTable;
class TZORPolyText;
class TZORRank;
class TZORNutriScore;
class TZORSymbol;
namespace zor {

class TMermaidParser;
struct TMermaidLeftOut;

} // namespace zor

// Makes every kind of element on a label, with its geometry and the defaults of the label's
// active layer (colour, pen width, back colour, font name and height, as the kind takes them),
// and enters it in the label; the label's items are then re-ordered by layer.
//
// Each kind has two creators. AddBase... take whole micrometres. Add... take floats in the
// label's own unit, read from the label at each call; angles are never converted (sectors take
// degrees, arcs and dimensions radians). Flat coordinate arrays run x1, y1, x2, y2, ...
//
// An element is built completely before it enters the label: a creator that raises leaves the
// label as it was.
class QUINDLE_VCL_EXPORT TZORFactory {
public:
    TZORFactory() = delete;

    // --- Lines ---
    static TZORPoint* AddBasePoint(TZORBaseLabel& label, int64_t x, int64_t y);
    static TZORPoint* AddPoint(TZORBaseLabel& label, float x, float y);
    static TZORLine* AddBaseLine(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    static TZORLine* AddLine(TZORBaseLabel& label, float x1, float y1, float x2, float y2);
    static TZORArrowLine* AddBaseArrowLine(
        TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    static TZORArrowLine* AddArrowLine(TZORBaseLabel& label, float x1, float y1, float x2, float y2);
    // The arc of the circle (cx, cy, r) from start, turning by sweep (radians).
    static TZORArc* AddBaseArc(
        TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float start, float sweep);
    static TZORArc* AddArc(TZORBaseLabel& label, float cx, float cy, float r, float start, float sweep);
    // The arc from the first point through the second to the third; points on one line raise.
    static TZORArc* AddBaseArc(
        TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    static TZORArc* AddArc(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3);
    // Point arrays: an odd number of values raises; an empty array gives an element without points.
    static TZORPolyLine* AddBasePolyLine(TZORBaseLabel& label, std::span<const int64_t> coords);
    static TZORPolyLine* AddPolyLine(TZORBaseLabel& label, std::span<const float> coords);

    // --- Figures ---
    static TZORBezier* AddBaseBezier(TZORBaseLabel& label, std::span<const int64_t> coords);
    static TZORBezier* AddBezier(TZORBaseLabel& label, std::span<const float> coords);
    // Fewer than three points raise before an odd number of values does.
    static TZORPolygon* AddBasePolygon(TZORBaseLabel& label, std::span<const int64_t> coords);
    static TZORPolygon* AddPolygon(TZORBaseLabel& label, std::span<const float> coords);
    static TZORRectangle* AddBaseRectangle(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORRectangle* AddRectangle(TZORBaseLabel& label, float x, float y, float w, float h);
    static TZORCircle* AddBaseCircle(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r);
    static TZORCircle* AddCircle(TZORBaseLabel& label, float cx, float cy, float r);
    // The circle whose diameter joins the two points.
    static TZORCircle* AddBaseCircle2P(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    static TZORCircle* AddCircle2P(TZORBaseLabel& label, float x1, float y1, float x2, float y2);
    // The circle through the three points; points on one line raise.
    static TZORCircle* AddBaseCircle3P(
        TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    static TZORCircle* AddCircle3P(
        TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3);
    static TZOREllipse* AddBaseEllipse(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t rx, int64_t ry);
    static TZOREllipse* AddEllipse(TZORBaseLabel& label, float cx, float cy, float rx, float ry);
    // Sectors: start and gap (the sweep) in degrees.
    static TZORSector* AddBaseSector(
        TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float start, float gap);
    static TZORSector* AddSector(TZORBaseLabel& label, float cx, float cy, float r, float start, float gap);
    static TZORSector* AddBaseSector2P(
        TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, float start, float gap);
    static TZORSector* AddSector2P(
        TZORBaseLabel& label, float x1, float y1, float x2, float y2, float start, float gap);
    static TZORSector* AddBaseSector3P(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
        int64_t x3, int64_t y3, float start, float gap);
    static TZORSector* AddSector3P(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3,
        float y3, float start, float gap);
    static TZORLevel* AddBaseLevel(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r);
    static TZORLevel* AddLevel(TZORBaseLabel& label, float cx, float cy, float r);
    static TZORPackage* AddBasePackage(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORPackage* AddPackage(TZORBaseLabel& label, float x, float y, float w, float h);

    // --- Texts, images and codes ---
    static TZORText* AddBaseText(TZORBaseLabel& label, int64_t x, int64_t y);
    static TZORText* AddText(TZORBaseLabel& label, float x, float y);
    static TZORParagraph* AddBaseParagraph(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORParagraph* AddParagraph(TZORBaseLabel& label, float x, float y, float w, float h);
    static TZORRichText* AddBaseRichText(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORRichText* AddRichText(TZORBaseLabel& label, float x, float y, float w, float h);
    static TZORImage* AddBaseImage(
        TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h, const QString& fileName);
    static TZORImage* AddImage(
        TZORBaseLabel& label, float x, float y, float w, float h, const QString& fileName);
    // The base form keeps the barcode's own font; the label-unit form takes the layer's.
    static TZORBarcode* AddBaseBarcode(
        TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code, TZORBarType barType);
    static TZORBarcode* AddBarcode(
        TZORBaseLabel& label, float x, float y, const QByteArray& code, TZORBarType barType);
    static TZORPDF417* AddBasePDF417(TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code);
    static TZORPDF417* AddPDF417(TZORBaseLabel& label, float x, float y, const QByteArray& code);
    static TZORDataMatrix* AddBaseDataMatrix(
        TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code);
    static TZORDataMatrix* AddDataMatrix(TZORBaseLabel& label, float x, float y, const QByteArray& code);
    static TZORQRCode* AddBaseQRCode(TZORBaseLabel& label, int64_t x, int64_t y, const QString& code);
    static TZORQRCode* AddQRCode(TZORBaseLabel& label, float x, float y, const QString& code);

    // --- Composite elements ---
    static TZORFlow* AddBaseFlow(
        TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h, TZORFlowType flowType);
    static TZORFlow* AddFlow(TZORBaseLabel& label, float x, float y, float w, float h, TZORFlowType flowType);
    // A link between the elements of IDs fromID and toID, at their anchors fromIndex and toIndex.
    static TZORLink* AddBaseLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
        int16_t toIndex, TZORinkType linkType);
    // The same with link points.
    static TZORLink* AddBasePolyLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
        int16_t toIndex, TZORinkType linkType, std::span<const int64_t> coords);
    static TZORLink* AddPolyLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
        int16_t toIndex, TZORinkType linkType, std::span<const float> coords);
    // A link between two elements named by their IDs written as decimal numbers (elements have
    // no other name). An end on a library symbol takes the symbol's anchors, numbered from 51.
    // Null, and nothing made, when either name finds no element.
    static TZORLink* AddLink(TZORBaseLabel& label, const QString& fromName, const QString& toName,
        int16_t fromIndex, int16_t toIndex, TZORinkType linkType);
    static TZORTable* AddBaseTable(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORTable* AddTable(TZORBaseLabel& label, float x, float y, float w, float h);
    static TZORPolyText* AddBasePolyText(TZORBaseLabel& label, int64_t x, int64_t y);
    static TZORPolyText* AddPolyText(TZORBaseLabel& label, float x, float y);
    static TZORRank* AddBaseRank(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORRank* AddRank(TZORBaseLabel& label, float x, float y, float w, float h);
    static TZORNutriScore* AddBaseNutriScore(
        TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h);
    static TZORNutriScore* AddNutriScore(TZORBaseLabel& label, float x, float y, float w, float h);
    // The label's current library symbol; a symbol takes no layer defaults.
    static TZORSymbol* AddBaseSymbol(TZORBaseLabel& label, int64_t x, int64_t y);
    static TZORSymbol* AddSymbol(TZORBaseLabel& label, float x, float y);
    // Symbol name of the library file library (TZORBaseLabel::LoadSymbolByName) at (x, y), in
    // the label's unit; null when the label cannot load it.
    static TZORSymbol* AddSymbol(
        TZORBaseLabel& label, float x, float y, const QString& library, const QString& name);

    // --- Dimensions ---
    // The linear dimension of the measured points 1 and 2 whose line passes through point 3.
    static TZORDim* AddBaseDim(
        TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    static TZORDim* AddDim(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3);
    // The angle between the lines (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4), its arc through
    // (x5, y5) round the lines' meeting point. Null, and nothing made, for parallel lines.
    static TZORDim* AddBaseDimAngle(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
        int64_t x3, int64_t y3, int64_t x4, int64_t y4, int64_t x5, int64_t y5);
    static TZORDim* AddDimAngle(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3,
        float y3, float x4, float y4, float x5, float y5);
    // Radius and diameter of the circle (cx, cy, r), measured in direction angle (radians); the
    // second forms put the text outside the circle.
    static TZORDim* AddBaseDimRadial1(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle);
    static TZORDim* AddBaseDimRadial2(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle);
    static TZORDim* AddBaseDimDiameter1(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle);
    static TZORDim* AddBaseDimDiameter2(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle);
    static TZORDim* AddDimRadial1(TZORBaseLabel& label, float cx, float cy, float r, float angle);
    static TZORDim* AddDimRadial2(TZORBaseLabel& label, float cx, float cy, float r, float angle);
    static TZORDim* AddDimDiameter1(TZORBaseLabel& label, float cx, float cy, float r, float angle);
    static TZORDim* AddDimDiameter2(TZORBaseLabel& label, float cx, float cy, float r, float angle);

    // --- Diagram imports ---
    // Empties the label and draws the Mermaid flowchart (one row of flowchart nodes joined by
    // links, those that cannot run straight between neighbours round the row) or sequence
    // diagram of the text (TMermaidParser, Zor.Mermaid.h); a flowchart larger than the
    // paper grows the paper to hold it. Texts show "<br>" as line breaks and entity codes
    // as their characters. A text with an error raises EZORError naming the line and leaves
    // the label as it was.
    static bool LoadMermaid(TZORBaseLabel& label, const QString& text);
    // The same, giving the statements the drawing leaves out or shows only in part (edge texts,
    // other link kinds, subgraphs, styles, sequence blocks, activations), each once with its
    // line, so that a host can tell its user; empty when the drawing shows the whole text.
    static bool LoadMermaid(
        TZORBaseLabel& label, const QString& text, std::vector<zor::TMermaidLeftOut>& leftOut);
    // The statements left out as one message for the user, one line each ("Line 3: A -.-> B").
    static QString LeftOutMessage(const std::vector<zor::TMermaidLeftOut>& leftOut);
    // Empties the label and draws the parsed sequence diagram on a paper that holds it; a
    // diagram without participants draws nothing.
    static void DrawSequenceDiagram(TZORBaseLabel& label, const zor::TMermaidParser& parser);
    // Empties the label and draws the Gantt text (TGanttParser, Zor.Vcl.Gantt.h): a title and
    // one bar per top-level task. A text with an error raises EZORError naming the line and
    // leaves the label as it was.
    static bool LoadGantt(TZORBaseLabel& label, const QString& text);

    // --- Layer defaults ---
    // What a new element of item's kind takes from the label's active layer, as the creators
    // above give it (the label's drawing tools make their elements through NewItem).
    static void TakeLayerDefaults(const TZORBaseLabel& label, TZORBaseItem& item);

    // --- Resolution ---
    // The resolution the host works at, shared by the whole process; 96 by 96 until set. Kept
    // for the callers: nothing here reads it.
    static void SetDPI(int32_t x, int32_t y);
    static int32_t GetDPIX() { return fDPIX.load(std::memory_order_relaxed); }
    static int32_t GetDPIY() { return fDPIY.load(std::memory_order_relaxed); }

private:
    static inline std::atomic<int32_t> fDPIX { 96 };
    static inline std::atomic<int32_t> fDPIY { 96 };
};
