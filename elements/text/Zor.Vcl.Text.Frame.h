#pragma once

#include "Zor.Item.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>

// The frame every text, image, code and composite renderer shares: the background and border of
// the element's box, the editor's data marker, quarter-turned content and the value a bound
// element prints. A renderer works in device pixels of the target it is given; lengths that are
// paper millimetres (paddings, radii, font heights) become pixels through MMX and MMY whatever the
// drawing scale, while positions come from the model's points.
//
// Quarter turns (TZORAngle) go counter-clockwise on the page. Paddings keep to the page's axes at
// every angle: padding X is always room at the left and right of the box, padding Y at its top and
// bottom, on the screen and on paper alike.

namespace zor {

// How the screen shows a kind's frame. Paper always fills a filled element and strokes its outline
// on the box itself.
enum class TZORInset : uint8_t {
    Never = 0, // the outline runs on the box
    Always = 1, // the outline runs inside the box, inset by half its width
    WithoutFill = 2, // inset only when the screen draws no fill
};

struct QUINDLE_VCL_EXPORT TZORFrameRule {
    bool OpaqueFill = false; // the screen fills only a back colour that is not fully transparent
    TZORInset Inset = TZORInset::Never;
    bool ScreenOutline = true; // false: the screen shows the fill alone
};

// The rules of the kinds: the single-line text; the paragraph, the rich text and the image's
// rectangle; the four codes.
inline constexpr TZORFrameRule TextFrame { false, TZORInset::Always, true };
inline constexpr TZORFrameRule ParagraphFrame { true, TZORInset::WithoutFill, true };
inline constexpr TZORFrameRule CodeFrame { false, TZORInset::Never, false };

// What a frame looks like: filled or not, the back colour, the outline's pen width (millimetres on
// paper; 0 draws none) and colour, and the corner radius (millimetres on paper; 0 for square
// corners).
struct QUINDLE_VCL_EXPORT TZORFrameLook {
    bool Filled = false;
    TAlphaColor Back {};
    float PenWidth = 0.0f;
    TAlphaColor Line {};
    float Radius = 0.0f;

    // The element's own fill, back colour, pen width and line colour with the given radius.
    static TZORFrameLook Of(const TZOR2DItem& item, float radiusMM = 0.0f);
    bool Paints() const { return Filled || PenWidth > 0.0f; }
};

// Content turned by a quarter turn inside a box: local coordinates (u along the lines, v across
// them, both device pixels) start at Origin, the inner corner of the padded box where the first
// line begins; Along and Across are the padded box's extents in those directions (0 or more).
//   angle 0: lines run right from the top-left, advancing down;
//   angle 1: lines run up from the bottom-left, advancing right;
//   angle 2: lines run left from the bottom-right, advancing up;
//   angle 3: lines run down from the top-right, advancing left.
struct QUINDLE_VCL_EXPORT TZORTurn {
    QPointF Origin;
    TZORAngle Angle = TZORAngle::Angle0;
    double Along = 0.0;
    double Across = 0.0;

    // The device point of a local point.
    QPointF Map(double u, double v) const;
    // The device rectangle (axis-parallel, normalised) of a local rectangle.
    QRectF Map(const QRectF& local) const;
    // The local point (u, v) of a device point: Map turned back.
    QPointF Unmap(const QPointF& device) const;
    // The canvas rotation that turns local axes onto the device: 0, -90, -180 or -270 degrees.
    double Degrees() const;
};

// The turned frame of `box` less its paddings (device pixels).
QUINDLE_VCL_EXPORT TZORTurn TurnBox(const QRectF& box, double padX, double padY, TZORAngle angle);

// The value an element prints: its own when it is not bound to data, else the label's data value
// of its field.
QUINDLE_VCL_EXPORT QString PrintedValue(const TZORBaseItem& item, const QString& own, const TZORBaseDraw& D);

// A line and figure painter that also paints element frames and leaves the printer's text canvas
// (font, brush, alignment, world transform) as it found it.
class QUINDLE_VCL_EXPORT TZORElementPainter : public TZORPainter {
public:
    TZORElementPainter(TZORBaseDraw& D, TZORTarget target);
    ~TZORElementPainter();

    // A paper length in millimetres in device pixels along x and along y.
    double MMX(double mm) const;
    double MMY(double mm) const;
    // The same along the lines (u) and across them (v) of a turned frame.
    double MMAlong(const TZORTurn& turn, double mm) const;
    double MMAcross(const TZORTurn& turn, double mm) const;
    // Whether the editor (or the design view) paints: the data marker and editing belong there.
    bool InEditor() const;

    // The background and border in `box` (device pixels) by the kind's rule.
    void Frame(const QRectF& box, const TZORFrameLook& look, const TZORFrameRule& rule);
    // The editor's marker of an element bound to data, centred at `at`; nothing elsewhere.
    void DataMarker(const TZORBaseItem& item, const QPointF& at);

    // The printer's text canvas, or none on screen.
    TCanvas* Canvas() const;
    // Sets the canvas font: family, em (character height) in device pixels, styles and colour,
    // upright. The canvas takes whole pixels; PrintText writes at the exact em, so that printed
    // text is as wide as the screen's at any size.
    void SetPrinterFont(const QString& family, double em, const TFontStyles& style, TAlphaColor color);
    // Ascent and descent of that font at its exact em, device pixels.
    double PrinterAscent() const;
    double PrinterDescent() const;
    // Writes `text` on the printer with its cell's top-left (or, after SetTextAlign(TA_BASELINE),
    // its baseline start) at local (u, v) of `turn`, turned with it and stretched along its line by
    // scaleX.
    void PrintText(const TZORTurn& turn, double u, double v, const QString& text, double scaleX = 1.0);

private:
    double fEmScale = 1.0; // exact em over the canvas font's whole pixels
    double fEm = 0.0;
    std::optional<TFont> fFont;
    TBrushStyle fBrush = TBrushStyle::Clear;
    uint32_t fAlign = 0;
};

} // namespace zor
