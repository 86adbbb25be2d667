#pragma once

#include "Zor.Fonts.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <memory>
#include <vector>

class QPainter;

// The screen painting layer: a canvas and a paint in the manner of Skia over one QPainter.
// The paint is a plain state record shared by every element of a pass; each canvas call
// applies it to the painter, so whatever a renderer does not set keeps the value the previous
// one left. Lengths are in the canvas's current coordinates, angles in degrees clockwise with
// y pointing down.

namespace zor {

// A path of an arc of the ellipse in `oval`, from `startDeg` over `sweepDeg` (both clockwise
// on screen, as Skia and GDI+ count them); with `useCenter` the centre closes it to a pie.
QUINDLE_VCL_EXPORT QPainterPath ArcPath(const QRectF& oval, double startDeg, double sweepDeg, bool useCenter);

// The "on" stretches of `path` under a dash pattern of absolute lengths starting `phase`
// into the pattern; every subpath starts the pattern again. Curves are flattened finely
// enough for `toDevice` (the painter's transform). A pattern with an odd count, a negative
// entry or no positive length gives the path unchanged.
QUINDLE_VCL_EXPORT QPainterPath DashPath(
    const QPainterPath& path, const std::vector<double>& intervals, double phase, const QTransform& toDevice);

// Pen and brush colours of the model's alpha colour.
QUINDLE_VCL_EXPORT QColor ToQColor(TAlphaColor c);

// Fills the painter's whole device with `c`, ignoring transform and blending.
QUINDLE_VCL_EXPORT void ClearDevice(QPainter& painter, const QColor& c);

// The entry of a style table for an enumeration value; values beyond it take the first.
template <class T, size_t N> constexpr T TableAt(const T (&table)[N], size_t index)
{
    return table[index < N ? index : 0];
}

enum class TSkPaintStyle : uint8_t { Fill = 0, Stroke = 1, StrokeAndFill = 2 };
enum class TSkStrokeCap : uint8_t { Butt = 0, Round = 1, Square = 2 };
enum class TSkStrokeJoin : uint8_t { Miter = 0, Round = 1, Bevel = 2 };
enum class TSkFontStyle : uint8_t { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

// What a paint does to a shape's geometry before it is painted: nothing, dashes, or the
// stroke-and-fill effect that captions use (under the fill style a plain fill).
class QUINDLE_VCL_EXPORT TSkPathEffect {
public:
    enum class TKind : uint8_t { None, Dash, StrokeAndFill };

    TSkPathEffect() = default;
    static TSkPathEffect MakeDash(std::vector<double> intervals, double phase);
    static TSkPathEffect MakeStrokeAndFill();

    TKind Kind() const { return fKind; }
    const std::vector<double>& Intervals() const { return fIntervals; }
    double Phase() const { return fPhase; }
    // A dash that changes the stroke: all-zero, negative or odd-count intervals do not.
    bool Dashes() const;

    friend bool operator==(const TSkPathEffect&, const TSkPathEffect&) = default;

private:
    TKind fKind = TKind::None;
    std::vector<double> fIntervals;
    double fPhase = 0.0;
};

class QUINDLE_VCL_EXPORT TSkPaint {
public:
    TSkPaint() = default;

    TAlphaColor GetColor() const { return fColor; }
    void SetColor(TAlphaColor c) { fColor = c; }
    TSkPaintStyle GetStyle() const { return fStyle; }
    void SetStyle(TSkPaintStyle s) { fStyle = s; }
    // 0 draws a hairline: one device pixel whatever the transform.
    double GetStrokeWidth() const { return fStrokeWidth; }
    void SetStrokeWidth(double w) { fStrokeWidth = w > 0.0 ? w : 0.0; }
    TSkStrokeCap GetStrokeCap() const { return fCap; }
    void SetStrokeCap(TSkStrokeCap c) { fCap = c; }
    TSkStrokeJoin GetStrokeJoin() const { return fJoin; }
    void SetStrokeJoin(TSkStrokeJoin j) { fJoin = j; }
    double GetStrokeMiter() const { return fMiter; }
    void SetStrokeMiter(double m) { fMiter = m; }
    bool GetAntiAlias() const { return fAntiAlias; }
    void SetAntiAlias(bool on) { fAntiAlias = on; }
    const TSkPathEffect& GetPathEffect() const { return fEffect; }
    void SetPathEffect(const TSkPathEffect& e) { fEffect = e; }

    // The pen of the stroke part, without the dash (which the canvas applies to the geometry).
    QPen Pen() const;

private:
    TAlphaColor fColor { 0xFF000000 };
    TSkPaintStyle fStyle = TSkPaintStyle::Fill;
    double fStrokeWidth = 0.0;
    TSkStrokeCap fCap = TSkStrokeCap::Butt;
    TSkStrokeJoin fJoin = TSkStrokeJoin::Miter;
    double fMiter = 4.0;
    bool fAntiAlias = false;
    TSkPathEffect fEffect;
};

// A typeface at a size in canvas units. Ascent in the metrics is negative (above the baseline)
// and descent positive, as Skia gives them.
class QUINDLE_VCL_EXPORT TSkFont {
public:
    struct TMetrics {
        double Ascent = 0.0;
        double Descent = 0.0;
        double Leading = 0.0;
        double UnderlinePosition = 0.0; // below the baseline
    };

    TSkFont(const QString& family, TSkFontStyle style, double size, double scaleX = 1.0, double skewX = 0.0);

    double GetSize() const { return fSize; }
    double GetScaleX() const { return fScaleX; }
    double MeasureText(QStringView text) const;
    TMetrics GetMetrics() const;
    const zor::TScaledFont& Typeface() const { return fFace; }

private:
    zor::TScaledFont fFace;
    double fSize;
    double fScaleX;
    double fSkewX;

    friend class TSkCanvas;
};

class QUINDLE_VCL_EXPORT TSkCanvas {
public:
    // The painter stays the caller's; it must outlive the canvas.
    explicit TSkCanvas(QPainter& painter);

    void Clear(TAlphaColor c);
    void DrawLine(double x0, double y0, double x1, double y1, const TSkPaint& paint);
    void DrawRect(const QRectF& r, const TSkPaint& paint);
    void DrawRoundRect(const QRectF& r, double rx, double ry, const TSkPaint& paint);
    void DrawOval(const QRectF& oval, const TSkPaint& paint);
    void DrawCircle(double cx, double cy, double radius, const TSkPaint& paint);
    void DrawArc(const QRectF& oval, double startDeg, double sweepDeg, bool useCenter, const TSkPaint& paint);
    void DrawPath(const QPainterPath& path, const TSkPaint& paint);
    // The baseline of the text starts at (x, y).
    void DrawSimpleText(const QString& text, double x, double y, const TSkFont& font, const TSkPaint& paint);

    void Save();
    void Restore();
    void Translate(double dx, double dy);
    // Clockwise on screen for a positive angle.
    void Rotate(double degrees);
    void Scale(double sx, double sy);

    QPainter& Painter() { return fPainter; }

private:
    QPainter& fPainter;
};

// The references a drawing context holds, shared like the interfaces they stand for.
using ISkCanvas = std::shared_ptr<TSkCanvas>;
using ISkPaint = std::shared_ptr<TSkPaint>;
using ISkFont = std::shared_ptr<TSkFont>;

} // namespace zor
