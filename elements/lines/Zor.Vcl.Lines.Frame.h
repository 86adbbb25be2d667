#pragma once

#include "Zor.Item.h"
#include "Zor.Line.h"
#include "Zor.Types.h"
#include "drawing/Zor.Vcl.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// The frame every line and figure renderer paints through. A renderer describes its element
// once, in device coordinates of the target it is given, and hands the strokes, fills, line ends
// and captions to a painter, which carries them out on the screen canvas or on the printer with
// the recipes both targets share. Where the screen and the paper differ on purpose, the renderer
// asks the painter which target it paints.
//
// Shapes are GDI+-like paths: one path object serves both targets, the screen painting the
// Qt path it holds. Filled shapes use the alternate (even-odd) rule on both.

namespace zor {

enum class TZORTarget : uint8_t { Screen = 0, Print = 1 };

// How an outline is stroked: colour, pen width (millimetres on paper), dash pattern, the item
// state the design view shows, and the caps (butt, or round).
struct QUINDLE_VCL_EXPORT TZORStroke {
    TAlphaColor Color {};
    float PenWidth = 0.0f;
    TZORineType LineType = TZORineType::Solid;
    TZORItemState ItemState = TZORItemState::Normal;
    bool RoundCap = false;
    bool AntiAlias = true; // on screen

    // The element's own colour, pen width, line type and item state.
    static TZORStroke Of(const TZORBaseItem& item, bool roundCap = false);
};

// A line-end symbol: its kind (None draws nothing), fill colour and size (millimetres).
struct QUINDLE_VCL_EXPORT TZORLineEnd {
    TZORTermType Kind = TZORTermType::None;
    TAlphaColor FillColor {};
    float Size = 0.0f;
};

// A one-line caption laid out by the model: where its baseline starts on screen and its
// top-left corner in print (base units at the drawing scale) and the angle it reads at
// (radians, clockwise on screen). The font height is millimetres on paper, scaled by the ratio
// the text metrics gave to the character height.
// The metrics of a caption in the given font (height in base units), as the model's caption
// layouts take them: ascent, descent, width and font ratio.
QUINDLE_VCL_EXPORT TZORTextMetrics MeasureCaption(
    const QString& text, const QString& font, int32_t height, bool bold, bool italic);

struct QUINDLE_VCL_EXPORT TZORCaption {
    QString Text;
    QString FontName;
    float FontHeight = 0.0f;
    double Ratio = 1.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false; // paper only: the screen caption shows bold and italic alone
    TAlphaColor Color {};
    TZORPto DrawPos;
    TZORPto PrintPos;
    float Angle = 0.0f;
};

// What a closed figure paints: a fill colour when it fills, a stroke when it is outlined.
struct QUINDLE_VCL_EXPORT TZORFigurePaint {
    std::optional<TAlphaColor> Fill;
    std::optional<TZORStroke> Outline;
};

// The usual rule for a fillable figure: it fills when it is filled (on screen only when its fill
// colour is not fully transparent, if alphaTest asks for that; paper always takes the fill) and is
// outlined when its pen width is above 0.
QUINDLE_VCL_EXPORT TZORFigurePaint FigurePaint(const TZOR2DItem& item, TZORTarget target, bool alphaTest);

// Paints one element on one target. The paint, pen and brush of the pass are put back as they
// were when the painter goes, so that nothing an element sets (caps, dashes, joins, colours)
// reaches the element after it; every stroke sets all it relies on.
class QUINDLE_VCL_EXPORT TZORPainter {
public:
    TZORPainter(TZORBaseDraw& D, TZORTarget target);
    ~TZORPainter();
    TZORPainter(const TZORPainter&) = delete;
    TZORPainter& operator=(const TZORPainter&) = delete;

    bool OnScreen() const { return fTarget == TZORTarget::Screen; }
    TZORTarget Target() const { return fTarget; }
    TZORDraw& Context() const { return fD; }

    // A model point on the device: the target's origin (float on screen, whole printer pixels on
    // paper) plus the point's projection.
    QPointF At(const TZORPto& p) const;
    // The same with the projection rounded to whole pixels on paper (PrintX, PrintY); the screen
    // keeps fractions.
    QPointF AtWhole(const TZORPto& p) const;
    // Every point of the item, in order.
    std::vector<QPointF> Points(const TZORBaseItem& item) const;
    // The box from point a to point b.
    QRectF Box(const TZORPto& a, const TZORPto& b) const { return QRectF(At(a), At(b)); }
    // A pen width or a size in millimetres on paper, in device pixels.
    double Pixels(double mm) const;

    void Stroke(const TGPGraphicsPath& path, const TZORStroke& stroke);
    void Fill(const TGPGraphicsPath& path, TAlphaColor color);
    // Fills `shape`, then outlines `outline` (by default the shape itself).
    void FillThenOutline(const TGPGraphicsPath& shape, const TZORFigurePaint& how);
    void FillThenOutline(
        const TGPGraphicsPath& shape, const TGPGraphicsPath& outline, const TZORFigurePaint& how);

    // A line end at `tip`, outlined with the stroke's colour and pen, the line coming from
    // `from`, or (by angle) running into the tip in direction `angle` (radians).
    void LineEnd(const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip, const QPointF& from);
    void LineEndByAngle(const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip, double angle);

    // The caption: from its baseline with the screen font, from its top-left corner with the
    // printer canvas's font. The canvas font is left as it was.
    void Caption(const TZORCaption& caption);

private:
    bool CanPaint() const;
    void ApplyScreenStroke(const TZORStroke& stroke);
    void ApplyPrintStroke(const TZORStroke& stroke);
    void PaintLineEnd(const TZORLineEnd& end, const TZORStroke& stroke, const QPointF& tip,
        const QPointF& dir, bool byAngle);
    void ScreenCaption(const TZORCaption& caption);
    void PrintCaption(const TZORCaption& caption);

    TZORDraw& fD;
    TZORTarget fTarget;
    std::optional<TSkPaint> fPaint;
    std::optional<TGPPen> fPen;
    std::optional<TGPSolidBrush> fBrush;
};

// A closed rectangle, or one with rounded corners of radii rx and ry (both shrunk by one factor
// where either is more than half its side):
// four quarter arcs from the top-left corner on, clockwise on the page.
QUINDLE_VCL_EXPORT TGPGraphicsPath RoundedBox(const QRectF& box, double rx, double ry);

} // namespace zor
