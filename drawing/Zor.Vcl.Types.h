#pragma once

#include "Zor.BaseDraw.h"
#include "Zor.Canvas.h"
#include "Zor.GdiPlus.h"
#include "Zor.Paint.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QIODevice>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>

// The drawing context every element draws and prints with, the colour and line-type helpers
// of the three painting layers, the text-metrics service and the text layouts.

// The drawing context. It holds references only: the canvases, paint, pen and brush belong to
// the code that prepares the context for its target, and must outlive the pass. The paint, pen
// and brush are shared by every element of a pass and never restored: whoever draws sets what
// it relies on.
// The printer-side drawing objects of one page's painter, made alike for every print pass: the
// text canvas (writing without a background), the graphics, and a pen and a brush that every
// element sets before it uses them.
struct QUINDLE_VCL_EXPORT TZORPrintKit {
    explicit TZORPrintKit(QPainter& painter);

    zor::TCanvas Canvas;
    zor::TGPGraphics Graphics;
    zor::TGPPen Pen;
    zor::TGPSolidBrush Brush;
};

class QUINDLE_VCL_EXPORT TZORDraw : public TZORBaseDraw {
public:
    TZORDraw();

    zor::TCanvas* aC = nullptr; // text canvas of the target
    zor::tagXFORM xM; // world transform for turned printer text
    zor::ISkCanvas kC; // screen canvas of the pass
    zor::ISkPaint kP; // screen paint shared by the pass
    zor::TGPGraphics* aG = nullptr; // printer graphics; none on screen
    zor::TGPPen* aP = nullptr;
    zor::TGPSolidBrush* aB = nullptr;
    int32_t aPos = 0; // caret in the rich text edited in place; -1 for none
    float aPosx = 0.0f; // working position of the table renderer
    float aPosy = 0.0f;
    int32_t aPosIx = 0;
    int32_t aPosIy = 0;
    float aMaxX = 0.0f; // working extents of the composite renderers
    float aMaxY = 0.0f;
    QString aTxt; // plain text of the rich text edited in place
    TZORDrawConf aConf; // state of the library symbol being drawn
    float aW = 0.0f; // working sizes of the table and image renderers
    float aH = 0.0f;
    float aHT = 0.0f;
    float aHH = 0.0f;
    float aFH = 0.0f;
    float aFE = 0.0f;
    float aFP = 0.0f;
    float w05 = 0.0f; // device length of 0.5, 1, 2, 3 and 4 pen-length units
    float w1 = 0.0f;
    float w2 = 0.0f;
    float w3 = 0.0f;
    float w4 = 0.0f;
    bool aDrawLinkPto = false; // draw the connection points of library symbols
    zor::TAlphaColor aLinkPoint { 0 };
    bool aFocused = false; // the editor has the keyboard focus
    int32_t aAction = 0; // the editor's tool while it paints (in-place editing shows a caret); 0 elsewhere
    int32_t aSelStart = 0; // selection of the rich text edited in place
    int32_t aSelEnd = 0;

    void ResetMatrix(TZORDrawState state);
    void ResetText();

    // Device pixels to micrometres, sign dropped; 0 at a resolution of 0.
    int64_t BaseValueX(float px) const;
    int64_t BaseValueY(float px) const;
    // Micrometres to device pixels.
    float DrawValueX(int64_t v) const;
    float DrawValueY(int64_t v) const;

    // The dash unit lengths by index: 0 → w05, 1 → w1, 2 → w2, 3 → w3, 4 → w4.
    float DashUnit(size_t index) const;

    // Preparation for each target. Every one sets the draw state, the resolution and drawing
    // scale (one projection for all targets), the zoom, pixels per millimetre and the dash
    // units, zeroes the origins, and stores the target's canvases; a screen target gets a new
    // anti-aliased paint. Callers set the per-label origin and the sheet position themselves.
    void SetupEditor(const zor::ISkCanvas& canvas, int32_t dpi, float zoom, int32_t scale, bool editorOption,
        bool focused);
    void SetupPreview(
        zor::TCanvas* canvas, const zor::ISkCanvas& skCanvas, int32_t dpi, float zoom, int32_t scale);
    void SetupLibraryViewer(const zor::ISkCanvas& canvas, int32_t dpi, int32_t scale);
    // `canvas` is the bitmap's text canvas for images and none for documents.
    void SetupExport(zor::TCanvas* canvas, const zor::ISkCanvas& skCanvas, int32_t dpi, float exportScale,
        int32_t scale, bool document);
    // Also prepares the graphics (anti-aliased, cleared to white) and the pen (width 1, round
    // caps, centred).
    void SetupPrint(zor::TCanvas* canvas, zor::TGPGraphics* graphics, zor::TGPPen* pen,
        zor::TGPSolidBrush* brush, int32_t dpiX, int32_t dpiY, int32_t pageWidth, int32_t pageHeight,
        int32_t scale, TZORUnits units);
    void SetupPrint(TZORPrintKit& kit, int32_t dpiX, int32_t dpiY, int32_t pageWidth, int32_t pageHeight,
        int32_t scale, TZORUnits units);

private:
    void Prepare(TZORDrawState state, int32_t dpiX, int32_t dpiY, int32_t scale, float zoom);
    void UseScreen(zor::TCanvas* canvas, const zor::ISkCanvas& skCanvas);
};

// Colours and line types.

namespace zor {

QUINDLE_VCL_EXPORT TAlphaColor ColorToARGB(TColor c);
QUINDLE_VCL_EXPORT TAlphaColor ColorToARGB(TColor c, uint8_t alpha);
QUINDLE_VCL_EXPORT TAlphaColor AlphaColorToARGB(TAlphaColor c);
QUINDLE_VCL_EXPORT TColor AlphaColorToRGB(TAlphaColor c);
QUINDLE_VCL_EXPORT TAlphaColor GPColorToAlphaColor(TGPColor c);
QUINDLE_VCL_EXPORT TGPColor AlphaColorToGPColor(TAlphaColor c);

// Dash and gap lengths of each line type, in pen-length units, alternating dash and gap.
struct QUINDLE_VCL_EXPORT TDashRow {
    size_t Count = 0;
    std::array<float, 4> Units {};
};
inline constexpr std::array<TDashRow, 12> DashTable = { {
    { 0, {} },
    { 2, { 0.5f, 0.5f } },
    { 2, { 1, 1 } },
    { 2, { 2, 1 } },
    { 2, { 1, 2 } },
    { 2, { 2, 2 } },
    { 2, { 3, 1 } },
    { 2, { 3, 3 } },
    { 2, { 4, 1 } },
    { 2, { 4, 2 } },
    { 2, { 4, 4 } },
    { 4, { 4, 1, 1, 1 } },
} };

// The fixed patterns of selected (1) and marked (2) items in the design view, device pixels.
inline constexpr std::array<double, 2> SelectedDash = { 12, 6 };
inline constexpr std::array<double, 2> MarkedDash = { 4, 2 };

// Prepares the screen paint for a stroke of the line type. In the design view selected and
// marked items get their fixed patterns; a line type outside the table draws solid.
QUINDLE_VCL_EXPORT void AdjustLineType(TZORDraw& D, TZORineType lineType, TZORItemState itemState);
// Prepares the printer pen for a stroke of the line type at the pen width (millimetres); a
// width of 0 or below, or an unknown type, draws solid.
QUINDLE_VCL_EXPORT void AdjustPrintLineType(TZORDraw& D, float penWidth, TZORineType lineType);
// Round or flat pen caps, as the symbol configuration asks.
QUINDLE_VCL_EXPORT void AdjustPrintRoundCap(TZORDraw& D);

} // namespace zor

// Text metrics. Each thread keeps its own state: the print and export workers measure while
// the user interface does. Lengths are in the unit of the height passed to FontSettings.
class QUINDLE_VCL_EXPORT TZORCalc {
public:
    TZORCalc() = delete;

    // The font of `height` cell height becomes the thread's current font. Ascent, descent and
    // the underline flag are those of that font; `ratio` is the character height of a font
    // over its cell height (em ÷ (ascent + descent)), 1.0 when there is no cell.
    static void FontSettings(const QString& fontName, int height, bool bold, bool italic, int& ascent,
        int& descent, int& underline, int& outHeight, double& ratio);
    // The same, plus the width of `text` in that font.
    static void FontSettings(const QString& text, const QString& fontName, int height, bool bold, bool italic,
        int& ascent, int& descent, int& width, double& ratio);
    // Width and cell height of `text` in the current font.
    static QSize CalcTxtSize(const QString& text);
    // The font of the bitmap canvas: a character height of height div 10 pixels; metrics × 10.
    static void BitmapFontSettings(const QString& fontName, int height, bool bold, bool italic, int& ascent,
        int& descent, int& underline);
    // Forgets the cached font.
    static void Reset();
    // Fonts made on this thread since it started: a cache hit makes none.
    static int FontsMade();

    // Word wrap with the current font (see Zor.TextLayout.h for the rules).
    static int CalcTxtPts(const QString& text, TZORDraw* D, zor::TxtLines& lines, int W, int H, int marginX,
        int marginY, TZORHorzAlign hAlign, TZORVertAlign vAlign, float spacing);
    static int CalcFlowTxtPoints(const QString& text, TZORDraw* D, zor::TxtLines& lines, int W, int H,
        int unused, int marginY, TZORFlowType flowType, float spacing);
    static int CalcBitmapTxtPts(const QString& text, TZORDraw* D, zor::TxtLines& lines, int W, int H,
        int marginX, int marginY, TZORHorzAlign hAlign, TZORVertAlign vAlign);
};

// Layouts with fonts of their own.

namespace zor {

// A font of `height` character height (0.01 mm at the reference screen), lines from the top.
QUINDLE_VCL_EXPORT int CalcTxtPts(const QString& text, const QString& fontName, TZORDraw* D, TxtLines& lines,
    int W, int H, int marginX, int marginY, int height, TZORHorzAlign hAlign, TZORVertAlign vAlign, bool bold,
    bool italic, int& ascent, int& descent, int& underline);
// Measured with a screen font; positions stored in micrometres at D's resolution.
QUINDLE_VCL_EXPORT float CalcTxtPoints(const QString& text, const TZORDraw& D, const TSkFont& font,
    TxtLines& lines, float W, float H, float marginX, float marginY, float lh, TZORHorzAlign hAlign,
    TZORVertAlign vAlign);
// Measured with the printer canvas's font, in printer pixels. `grow` lifts the height limit,
// `shrink` keeps the lines at the top. The result is the extent the lines take: Round(top of
// the last line + lh), 0 when there is none.
QUINDLE_VCL_EXPORT int PrintTxtPoints(const QString& text, const TZORDraw& D, TxtLines& lines, int H, int W,
    float lh, TZORHorzAlign hAlign, TZORVertAlign vAlign, bool grow, bool shrink);

// Small helpers.

// Word-broken text in `r` with an ellipsis where a line is too wide; the height of its box.
QUINDLE_VCL_EXPORT int DrawTextRect(TCanvas& canvas, const QRect& r, const QString& text,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, bool draw, bool keepHeight);
// One line centred in `r`, unclipped, ending in an ellipsis when too wide.
QUINDLE_VCL_EXPORT int DrawCenteredTextWithEllipsis(TCanvas& canvas, const QString& text, const QRect& r);
// Box of a text: `height` and the results in micrometres, quantised to 10 µm as the metric
// screen measures.
QUINDLE_VCL_EXPORT void SizeText(const QString& text, const QString& fontName, bool bold, bool italic,
    int height, int& width, int& ascent, int& descent);
// The same, unquantised.
QUINDLE_VCL_EXPORT void SizeBaseText(const QString& text, const QString& fontName, bool bold, bool italic,
    int height, int& width, int& ascent, int& descent);

// Image formats the framework's own image classes read.
enum class TGraphicClass : uint8_t { None = 0, Bitmap, JPEG, Metafile, Icon };

QUINDLE_VCL_EXPORT bool FindGraphicClass(const void* buffer, int64_t size, TGraphicClass& cls);
// Looks at the bytes at the device's position and leaves the position where it was.
QUINDLE_VCL_EXPORT bool FindGraphicClass(QIODevice& stream, TGraphicClass& cls);

} // namespace zor
