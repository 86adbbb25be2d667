#include "Zor.Vcl.Shared.Label.h"

#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

using zor::TBinaryWriter;

TZORSharedVCL::TZORSharedVCL(QObject* parent)
    : TZORBaseLabel(parent)
{
}

void TZORSharedVCL::SaveToFile(const QString& fileName, TZORExt kind)
{
    switch (kind) {
    case TZORExt::Binary: {
        QByteArray bytes;
        TBinaryWriter w(&bytes);
        WriteLabel(w);
        zor::SaveFileBytes(fileName, bytes);
        break;
    }
    case TZORExt::Json:
        GetJson().SaveToFile(fileName);
        break;
    default:
        return;
    }
    SetModified(false);
}

void TZORSharedVCL::SaveToStream(QIODevice* stream) const
{
    TBinaryWriter w(stream);
    WriteLabel(w);
}

// --- Element creators ---

TZORText* TZORSharedVCL::AddBaseText(int64_t x, int64_t y)
{
    return TZORFactory::AddBaseText(*this, x, y);
}

TZORParagraph* TZORSharedVCL::AddBaseParagraph(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseParagraph(*this, x, y, w, h);
}

TZORRichText* TZORSharedVCL::AddBaseRichText(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseRichText(*this, x, y, w, h);
}

TZORPoint* TZORSharedVCL::AddBasePoint(int64_t x, int64_t y)
{
    return TZORFactory::AddBasePoint(*this, x, y);
}

TZORLine* TZORSharedVCL::AddBaseLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return TZORFactory::AddBaseLine(*this, x1, y1, x2, y2);
}

TZORArrowLine* TZORSharedVCL::AddBaseArrowLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return TZORFactory::AddBaseArrowLine(*this, x1, y1, x2, y2);
}

TZORPolyLine* TZORSharedVCL::AddBasePolyLine(std::span<const int64_t> coords)
{
    return TZORFactory::AddBasePolyLine(*this, coords);
}

TZORBezier* TZORSharedVCL::AddBaseBezier(std::span<const int64_t> coords)
{
    return TZORFactory::AddBaseBezier(*this, coords);
}

TZORArc* TZORSharedVCL::AddBaseArc(int64_t cx, int64_t cy, int64_t r, float start, float sweep)
{
    return TZORFactory::AddBaseArc(*this, cx, cy, r, start, sweep);
}

TZORArc* TZORSharedVCL::AddBaseArc(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    return TZORFactory::AddBaseArc(*this, x1, y1, x2, y2, x3, y3);
}

TZORRectangle* TZORSharedVCL::AddBaseRectangle(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseRectangle(*this, x, y, w, h);
}

TZORPackage* TZORSharedVCL::AddBasePackage(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBasePackage(*this, x, y, w, h);
}

TZORPolygon* TZORSharedVCL::AddBasePolygon(std::span<const int64_t> coords)
{
    return TZORFactory::AddBasePolygon(*this, coords);
}

TZORCircle* TZORSharedVCL::AddBaseCircle(int64_t cx, int64_t cy, int64_t r)
{
    return TZORFactory::AddBaseCircle(*this, cx, cy, r);
}

TZORCircle* TZORSharedVCL::AddBaseCircle2P(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return TZORFactory::AddBaseCircle2P(*this, x1, y1, x2, y2);
}

TZORCircle* TZORSharedVCL::AddBaseCircle3P(
    int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    return TZORFactory::AddBaseCircle3P(*this, x1, y1, x2, y2, x3, y3);
}

TZORSector* TZORSharedVCL::AddBaseSector(int64_t cx, int64_t cy, int64_t r, float start, float gap)
{
    return TZORFactory::AddBaseSector(*this, cx, cy, r, start, gap);
}

TZORSector* TZORSharedVCL::AddBaseSector2P(
    int64_t x1, int64_t y1, int64_t x2, int64_t y2, float start, float gap)
{
    return TZORFactory::AddBaseSector2P(*this, x1, y1, x2, y2, start, gap);
}

TZORSector* TZORSharedVCL::AddBaseSector3P(
    int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3, float start, float gap)
{
    return TZORFactory::AddBaseSector3P(*this, x1, y1, x2, y2, x3, y3, start, gap);
}

TZORLevel* TZORSharedVCL::AddBaseLevel(int64_t cx, int64_t cy, int64_t r)
{
    return TZORFactory::AddBaseLevel(*this, cx, cy, r);
}

TZOREllipse* TZORSharedVCL::AddBaseEllipse(int64_t cx, int64_t cy, int64_t rx, int64_t ry)
{
    return TZORFactory::AddBaseEllipse(*this, cx, cy, rx, ry);
}

TZORBarcode* TZORSharedVCL::AddBaseBarcode(int64_t x, int64_t y, const QByteArray& code, TZORBarType barType)
{
    return TZORFactory::AddBaseBarcode(*this, x, y, code, barType);
}

TZORPDF417* TZORSharedVCL::AddBasePDF417(int64_t x, int64_t y, const QByteArray& code)
{
    return TZORFactory::AddBasePDF417(*this, x, y, code);
}

TZORDataMatrix* TZORSharedVCL::AddBaseDataMatrix(int64_t x, int64_t y, const QByteArray& code)
{
    return TZORFactory::AddBaseDataMatrix(*this, x, y, code);
}

TZORQRCode* TZORSharedVCL::AddBaseQRCode(int64_t x, int64_t y, const QString& code)
{
    return TZORFactory::AddBaseQRCode(*this, x, y, code);
}

TZORFlow* TZORSharedVCL::AddBaseFlow(int64_t x, int64_t y, int64_t w, int64_t h, TZORFlowType flowType)
{
    return TZORFactory::AddBaseFlow(*this, x, y, w, h, flowType);
}

TZORLink* TZORSharedVCL::AddBaseLink(
    int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex, TZORinkType linkType)
{
    return TZORFactory::AddBaseLink(*this, fromID, toID, fromIndex, toIndex, linkType);
}

TZORLink* TZORSharedVCL::AddBasePolyLink(int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex,
    TZORinkType linkType, std::span<const int64_t> coords)
{
    return TZORFactory::AddBasePolyLink(*this, fromID, toID, fromIndex, toIndex, linkType, coords);
}

TZORTable* TZORSharedVCL::AddBaseTable(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseTable(*this, x, y, w, h);
}

TZORPolyText* TZORSharedVCL::AddBasePolyText(int64_t x, int64_t y)
{
    return TZORFactory::AddBasePolyText(*this, x, y);
}

TZORRank* TZORSharedVCL::AddBaseRank(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseRank(*this, x, y, w, h);
}

TZORNutriScore* TZORSharedVCL::AddBaseNutriScore(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return TZORFactory::AddBaseNutriScore(*this, x, y, w, h);
}

TZORSymbol* TZORSharedVCL::AddBaseSymbol(int64_t x, int64_t y)
{
    return TZORFactory::AddBaseSymbol(*this, x, y);
}

TZORDim* TZORSharedVCL::AddBaseDim(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    return TZORFactory::AddBaseDim(*this, x1, y1, x2, y2, x3, y3);
}

TZORDim* TZORSharedVCL::AddBaseDimAngle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3,
    int64_t y3, int64_t x4, int64_t y4, int64_t x5, int64_t y5)
{
    return TZORFactory::AddBaseDimAngle(*this, x1, y1, x2, y2, x3, y3, x4, y4, x5, y5);
}

TZORDim* TZORSharedVCL::AddBaseDimRadial1(int64_t cx, int64_t cy, int64_t r, float angle)
{
    return TZORFactory::AddBaseDimRadial1(*this, cx, cy, r, angle);
}

TZORDim* TZORSharedVCL::AddBaseDimRadial2(int64_t cx, int64_t cy, int64_t r, float angle)
{
    return TZORFactory::AddBaseDimRadial2(*this, cx, cy, r, angle);
}

TZORDim* TZORSharedVCL::AddBaseDimDiameter1(int64_t cx, int64_t cy, int64_t r, float angle)
{
    return TZORFactory::AddBaseDimDiameter1(*this, cx, cy, r, angle);
}

TZORDim* TZORSharedVCL::AddBaseDimDiameter2(int64_t cx, int64_t cy, int64_t r, float angle)
{
    return TZORFactory::AddBaseDimDiameter2(*this, cx, cy, r, angle);
}
