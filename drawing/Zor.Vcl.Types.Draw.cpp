#include "Zor.Utils.h"
#include "Zor.Vcl.Types.h"

#include <cmath>

using zor::ISkCanvas;
using zor::ISkPaint;
using zor::MakeColor;
using zor::tagXFORM;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TLineCap;
using zor::TPenAlignment;
using zor::TSkPaint;
using zor::TSmoothingMode;

namespace {

constexpr double MicrometresPerInch = 25400.0;

int64_t PixelsToBase(float px, int32_t dpi)
{
    return dpi > 0 ? std::abs(zor::Round(px * MicrometresPerInch / dpi)) : 0;
}

float BaseToPixels(int64_t v, int32_t dpi)
{
    return static_cast<float>(static_cast<double>(v) * dpi / MicrometresPerInch);
}

constexpr std::array<float TZORDraw::*, 5> DashUnits
    = { &TZORDraw::w05, &TZORDraw::w1, &TZORDraw::w2, &TZORDraw::w3, &TZORDraw::w4 };
constexpr std::array<double, 5> DashUnitLengths = { 0.5, 1.0, 2.0, 3.0, 4.0 };

// Device pixels per label unit, by the unit the label is measured in; 0 where none is set.
float PixelsPerUnit(int32_t dpi, TZORUnits units)
{
    switch (units) {
    case TZORUnits::Millimetre:
        return static_cast<float>(dpi / 25.4);
    case TZORUnits::Inch:
        return static_cast<float>(dpi);
    case TZORUnits::Centimetre:
        return static_cast<float>(dpi / 2.54);
    default:
        return 0.0f;
    }
}

// Every screen pass starts with a paint of its own, anti-aliased.
ISkPaint NewScreenPaint()
{
    auto paint = std::make_shared<TSkPaint>();
    paint->SetAntiAlias(true);
    return paint;
}

} // namespace

TZORDraw::TZORDraw()
{
    ResetMatrix(TZORDrawState::Editor);
    aDrawLinkPto = false;
}

void TZORDraw::ResetMatrix(TZORDrawState state)
{
    xM = tagXFORM {};
    fDrawState = state;
}

void TZORDraw::ResetText()
{
    aPos = -1;
    aTxt.clear();
    fDrawState = TZORDrawState::Editor;
}

int64_t TZORDraw::BaseValueX(float px) const
{
    return PixelsToBase(px, fDPIX);
}

int64_t TZORDraw::BaseValueY(float px) const
{
    return PixelsToBase(px, fDPIY);
}

float TZORDraw::DrawValueX(int64_t v) const
{
    return BaseToPixels(v, fDPIX);
}

float TZORDraw::DrawValueY(int64_t v) const
{
    return BaseToPixels(v, fDPIY);
}

float TZORDraw::DashUnit(size_t index) const
{
    return index < DashUnits.size() ? this->*DashUnits[index] : 0.0f;
}

void TZORDraw::Prepare(TZORDrawState state, int32_t dpiX, int32_t dpiY, int32_t scale, float zoom)
{
    fDrawState = state;
    SetProjection(dpiX, dpiY, scale);
    fZoom = zoom;
    fOrgX = fOrgY = 0;
    fOrgFX = fOrgFY = 0.0f;
    fPixUnitX = fPixUnitY = 0.0f;
    aAction = 0;
    // The dash units read the resolution only, so they are right once it is set.
    for (size_t i = 0; i < DashUnits.size(); ++i)
        this->*DashUnits[i] = static_cast<float>(zor::BasePtoY(DashUnitLengths[i], *this));
}

void TZORDraw::UseScreen(TCanvas* canvas, const ISkCanvas& skCanvas)
{
    aC = canvas;
    kC = skCanvas;
    kP = NewScreenPaint();
    aG = nullptr;
    aP = nullptr;
    aB = nullptr;
}

void TZORDraw::SetupEditor(
    const ISkCanvas& canvas, int32_t dpi, float zoom, int32_t scale, bool editorOption, bool focused)
{
    Prepare(TZORDrawState::Editor, dpi, dpi, scale, zoom);
    UseScreen(nullptr, canvas);
    fEditor = editorOption;
    aFocused = focused;
}

void TZORDraw::SetupPreview(
    TCanvas* canvas, const ISkCanvas& skCanvas, int32_t dpi, float zoom, int32_t scale)
{
    Prepare(TZORDrawState::Preview, dpi, dpi, scale, zoom);
    UseScreen(canvas, skCanvas);
}

void TZORDraw::SetupLibraryViewer(const ISkCanvas& canvas, int32_t dpi, int32_t scale)
{
    Prepare(TZORDrawState::Library, dpi, dpi, scale, 1.0f);
    UseScreen(nullptr, canvas);
}

void TZORDraw::SetupExport(
    TCanvas* canvas, const ISkCanvas& skCanvas, int32_t dpi, float exportScale, int32_t scale, bool document)
{
    Prepare(TZORDrawState::Export, dpi, dpi, scale, exportScale);
    fPixUnitX = fPixUnitY = document ? 1.0f : 0.0f;
    UseScreen(canvas, skCanvas);
}

TZORPrintKit::TZORPrintKit(QPainter& painter)
    : Canvas(painter)
    , Graphics(painter)
    , Pen(MakeColor(0xFF, 0, 0, 0))
    , Brush(MakeColor(0xFF, 0, 0, 0))
{
    Canvas.Brush.Style = TBrushStyle::Clear;
}

void TZORDraw::SetupPrint(TZORPrintKit& kit, int32_t dpiX, int32_t dpiY, int32_t pageWidth,
    int32_t pageHeight, int32_t scale, TZORUnits units)
{
    SetupPrint(
        &kit.Canvas, &kit.Graphics, &kit.Pen, &kit.Brush, dpiX, dpiY, pageWidth, pageHeight, scale, units);
}

void TZORDraw::SetupPrint(TCanvas* canvas, TGPGraphics* graphics, TGPPen* pen, TGPSolidBrush* brush,
    int32_t dpiX, int32_t dpiY, int32_t pageWidth, int32_t pageHeight, int32_t scale, TZORUnits units)
{
    Prepare(TZORDrawState::Printer, dpiX, dpiY, scale, 1.0f);
    fPageWidth = pageWidth;
    fPageHeight = pageHeight;
    fPixUnitX = PixelsPerUnit(fDPIX, units);
    fPixUnitY = PixelsPerUnit(fDPIY, units);
    aC = canvas;
    aG = graphics;
    aP = pen;
    aB = brush;
    kC.reset();
    kP.reset();
    if (aG) {
        aG->SetSmoothingMode(TSmoothingMode::AntiAlias);
        aG->Clear(MakeColor(0xFF, 0xFF, 0xFF, 0xFF));
    }
    if (aP) {
        aP->SetWidth(1.0f);
        aP->SetStartCap(TLineCap::Round);
        aP->SetEndCap(TLineCap::Round);
        aP->SetAlignment(TPenAlignment::Center);
    }
}
