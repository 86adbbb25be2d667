#pragma once

#include "Zor.Label.h"
#include "Zor.Types.h"
#include "Zor.Vcl.Shared.Factory.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QString>

#include <span>

class QIODevice;

// The label as the runtime library shares it between the label component and the factory:
// the model label plus saving in the binary and the JSON form.
class QUINDLE_VCL_EXPORT TZORSharedVCL : public TZORBaseLabel {
    Q_OBJECT

public:
    explicit TZORSharedVCL(QObject* parent = nullptr);

    // Saves in the given form; the file name's extension is not looked at. A kind other than
    // binary or JSON writes nothing. The file is written through a temporary and renamed, so a
    // failed save leaves the old file whole and the label still modified.
    void SaveToFile(const QString& fileName, TZORExt kind);
    // Writes the binary label stream at the device's position.
    void SaveToStream(QIODevice* stream) const;

    // The element creators in base units (micrometres), as the drawing tools and the diagram
    // imports use them: each hands its arguments to the TZORFactory creator of the same name
    // and answers the new element (null where the factory makes none).
    TZORText* AddBaseText(int64_t x, int64_t y);
    TZORParagraph* AddBaseParagraph(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORRichText* AddBaseRichText(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORPoint* AddBasePoint(int64_t x, int64_t y);
    TZORLine* AddBaseLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    TZORArrowLine* AddBaseArrowLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    TZORPolyLine* AddBasePolyLine(std::span<const int64_t> coords);
    TZORBezier* AddBaseBezier(std::span<const int64_t> coords);
    TZORArc* AddBaseArc(int64_t cx, int64_t cy, int64_t r, float start, float sweep);
    TZORArc* AddBaseArc(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    TZORRectangle* AddBaseRectangle(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORPackage* AddBasePackage(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORPolygon* AddBasePolygon(std::span<const int64_t> coords);
    TZORCircle* AddBaseCircle(int64_t cx, int64_t cy, int64_t r);
    TZORCircle* AddBaseCircle2P(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    TZORCircle* AddBaseCircle3P(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    TZORSector* AddBaseSector(int64_t cx, int64_t cy, int64_t r, float start, float gap);
    TZORSector* AddBaseSector2P(int64_t x1, int64_t y1, int64_t x2, int64_t y2, float start, float gap);
    TZORSector* AddBaseSector3P(
        int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3, float start, float gap);
    TZORLevel* AddBaseLevel(int64_t cx, int64_t cy, int64_t r);
    TZOREllipse* AddBaseEllipse(int64_t cx, int64_t cy, int64_t rx, int64_t ry);
    TZORBarcode* AddBaseBarcode(int64_t x, int64_t y, const QByteArray& code, TZORBarType barType);
    TZORPDF417* AddBasePDF417(int64_t x, int64_t y, const QByteArray& code);
    TZORDataMatrix* AddBaseDataMatrix(int64_t x, int64_t y, const QByteArray& code);
    TZORQRCode* AddBaseQRCode(int64_t x, int64_t y, const QString& code);
    TZORFlow* AddBaseFlow(int64_t x, int64_t y, int64_t w, int64_t h, TZORFlowType flowType);
    TZORLink* AddBaseLink(
        int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex, TZORinkType linkType);
    TZORLink* AddBasePolyLink(int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex,
        TZORinkType linkType, std::span<const int64_t> coords);
    TZORTable* AddBaseTable(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORPolyText* AddBasePolyText(int64_t x, int64_t y);
    TZORRank* AddBaseRank(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORNutriScore* AddBaseNutriScore(int64_t x, int64_t y, int64_t w, int64_t h);
    TZORSymbol* AddBaseSymbol(int64_t x, int64_t y);
    TZORDim* AddBaseDim(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3);
    TZORDim* AddBaseDimAngle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3,
        int64_t x4, int64_t y4, int64_t x5, int64_t y5);
    TZORDim* AddBaseDimRadial1(int64_t cx, int64_t cy, int64_t r, float angle);
    TZORDim* AddBaseDimRadial2(int64_t cx, int64_t cy, int64_t r, float angle);
    TZORDim* AddBaseDimDiameter1(int64_t cx, int64_t cy, int64_t r, float angle);
    TZORDim* AddBaseDimDiameter2(int64_t cx, int64_t cy, int64_t r, float angle);
};
