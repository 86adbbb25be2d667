#include "Zor.Vcl.ItemTypes.h"

#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <array>

namespace zor {

namespace {

using TNewElement = std::unique_ptr<TZORBaseItem> (*)(TZORBaseLabel&, bool);

// The element class of each type code, code 1 first.
constexpr std::array<TNewElement, 29> ElementClasses {
    &TZORElementIO<TZORPoint>::New, // 1
    &TZORElementIO<TZORLine>::New,
    &TZORElementIO<TZORArrowLine>::New,
    &TZORElementIO<TZORPolyLine>::New,
    &TZORElementIO<TZORArc>::New, // 5
    &TZORElementIO<TZORRectangle>::New,
    &TZORElementIO<TZORPolygon>::New,
    &TZORElementIO<TZORCircle>::New,
    &TZORElementIO<TZOREllipse>::New,
    &TZORElementIO<TZORText>::New, // 10
    &TZORElementIO<TZORParagraph>::New,
    &TZORElementIO<TZORBarcode>::New,
    &TZORElementIO<TZORPDF417>::New,
    &TZORElementIO<TZORDataMatrix>::New,
    &TZORElementIO<TZORQRCode>::New, // 15
    &TZORElementIO<TZORImage>::New,
    &TZORElementIO<TZORFlow>::New,
    &TZORElementIO<TZORLink>::New,
    &TZORElementIO<TZORTable>::New,
    &TZORElementIO<TZORPolyText>::New, // 20
    &TZORElementIO<TZORRank>::New,
    &TZORElementIO<TZORNutriScore>::New,
    &TZORElementIO<TZORLevel>::New,
    &TZORElementIO<TZORSymbol>::New,
    &TZORElementIO<TZORBezier>::New, // 25
    &TZORElementIO<TZORDim>::New,
    &TZORElementIO<TZORSector>::New,
    &TZORElementIO<TZORPackage>::New,
    &TZORElementIO<TZORRichText>::New,
};

} // namespace

std::unique_ptr<TZORBaseItem> NewElement(TZORBaseLabel& label, int32_t code, bool aPreview)
{
    if (!IsItemType(code))
        return nullptr;
    return ElementClasses[size_t(code - 1)](label, aPreview);
}

} // namespace zor
