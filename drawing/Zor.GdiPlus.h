#pragma once

#include "drawing/Zor.VclExport.h"

#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <cstdint>
#include <vector>

class QPainter;

// The print painting layer: graphics, pen, brush and path in the manner of GDI+ over the one
// QPainter of the printer (which the GDI text canvas shares). Coordinates are device pixels,
// angles degrees clockwise with y pointing down. Pen, brush and the smoothing mode are plain
// state; every drawing call applies them to the painter.

namespace zor {

// The GDI+ colour: AARRGGBB like the model's alpha colour, yet a type of its own so that the
// three colour forms never mix unnoticed.
enum class TGPColor : uint32_t {};

constexpr TGPColor MakeColor(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
{
    return TGPColor { (uint32_t { a } << 24) | (uint32_t { r } << 16) | (uint32_t { g } << 8) | b };
}

enum class TDashStyle : uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Custom = 5 };
enum class TLineCap : uint8_t { Flat = 0, Square = 1, Round = 2, Triangle = 3 };
enum class TLineJoin : uint8_t { Miter = 0, Bevel = 1, Round = 2, MiterClipped = 3 };
enum class TPenAlignment : uint8_t { Center = 0, Inset = 1 };
enum class TSmoothingMode : uint8_t { Default = 0, HighSpeed = 1, HighQuality = 2, None = 3, AntiAlias = 4 };
enum class TFillMode : uint8_t { Alternate = 0, Winding = 1 };

class QUINDLE_VCL_EXPORT TGPPen {
public:
    explicit TGPPen(TGPColor color, float width = 1.0f);

    TGPColor GetColor() const { return fColor; }
    void SetColor(TGPColor c) { fColor = c; }
    // 0 draws one device pixel wide.
    float GetWidth() const { return fWidth; }
    void SetWidth(float w) { fWidth = w > 0.0f ? w : 0.0f; }
    TDashStyle GetDashStyle() const { return fDashStyle; }
    void SetDashStyle(TDashStyle s) { fDashStyle = s; }
    // Dash and gap lengths in pen widths; setting a pattern makes the style custom.
    const std::vector<float>& GetDashPattern() const { return fDashPattern; }
    void SetDashPattern(std::vector<float> pattern);
    // Where the pattern starts, in pen widths.
    float GetDashOffset() const { return fDashOffset; }
    void SetDashOffset(float offset) { fDashOffset = offset; }
    TLineCap GetStartCap() const { return fStartCap; }
    void SetStartCap(TLineCap c) { fStartCap = c; }
    TLineCap GetEndCap() const { return fEndCap; }
    void SetEndCap(TLineCap c) { fEndCap = c; }
    TLineJoin GetLineJoin() const { return fJoin; }
    void SetLineJoin(TLineJoin j) { fJoin = j; }
    float GetMiterLimit() const { return fMiterLimit; }
    void SetMiterLimit(float m) { fMiterLimit = m; }
    // Inset strokes closed shapes (rectangles, ellipses, pies) inside their outline.
    TPenAlignment GetAlignment() const { return fAlignment; }
    void SetAlignment(TPenAlignment a) { fAlignment = a; }

    // The pattern in device lengths, or empty for a solid line.
    std::vector<double> DeviceDashes() const;
    // The Qt pen of a stroke: dashes are flat-capped, as GDI+ caps dashes; a solid line takes
    // the start cap for both ends.
    QPen Pen() const;

private:
    TGPColor fColor;
    float fWidth;
    TDashStyle fDashStyle = TDashStyle::Solid;
    std::vector<float> fDashPattern;
    float fDashOffset = 0.0f;
    TLineCap fStartCap = TLineCap::Flat;
    TLineCap fEndCap = TLineCap::Flat;
    TLineJoin fJoin = TLineJoin::Miter;
    float fMiterLimit = 10.0f;
    TPenAlignment fAlignment = TPenAlignment::Center;
};

class QUINDLE_VCL_EXPORT TGPSolidBrush {
public:
    explicit TGPSolidBrush(TGPColor color)
        : fColor(color)
    {
    }
    TGPColor GetColor() const { return fColor; }
    void SetColor(TGPColor c) { fColor = c; }

private:
    TGPColor fColor;
};

// A path of figures. Lines, arcs and curves added to an open figure join its last point; a
// rectangle, ellipse or polygon is a closed figure of its own.
class QUINDLE_VCL_EXPORT TGPGraphicsPath {
public:
    explicit TGPGraphicsPath(TFillMode mode = TFillMode::Alternate);

    void StartFigure() { fFigureOpen = false; }
    void CloseFigure();
    void AddLine(double x1, double y1, double x2, double y2);
    void AddLines(const std::vector<QPointF>& points);
    void AddArc(double x, double y, double w, double h, double startDeg, double sweepDeg);
    void AddBezier(const QPointF& p1, const QPointF& c1, const QPointF& c2, const QPointF& p2);
    void AddRectangle(const QRectF& r);
    void AddEllipse(double x, double y, double w, double h);
    void AddPolygon(const std::vector<QPointF>& points);

    TFillMode GetFillMode() const;
    void SetFillMode(TFillMode mode);
    const QPainterPath& Path() const { return fPath; }

private:
    void Connect(const QPointF& p);

    QPainterPath fPath;
    bool fFigureOpen = false;
};

class QUINDLE_VCL_EXPORT TGPGraphics {
public:
    // The painter stays the caller's; it must outlive the graphics.
    explicit TGPGraphics(QPainter& painter);

    TSmoothingMode GetSmoothingMode() const { return fSmoothing; }
    void SetSmoothingMode(TSmoothingMode m) { fSmoothing = m; }

    void Clear(TGPColor c);
    void DrawLine(const TGPPen& pen, double x1, double y1, double x2, double y2);
    void DrawLines(const TGPPen& pen, const std::vector<QPointF>& points);
    void DrawRectangle(const TGPPen& pen, double x, double y, double w, double h);
    void DrawEllipse(const TGPPen& pen, double x, double y, double w, double h);
    void DrawArc(const TGPPen& pen, double x, double y, double w, double h, double startDeg, double sweepDeg);
    void DrawPie(const TGPPen& pen, double x, double y, double w, double h, double startDeg, double sweepDeg);
    void DrawPolygon(const TGPPen& pen, const std::vector<QPointF>& points);
    void DrawBezier(
        const TGPPen& pen, const QPointF& p1, const QPointF& c1, const QPointF& c2, const QPointF& p2);
    void DrawPath(const TGPPen& pen, const TGPGraphicsPath& path);
    void FillRectangle(const TGPSolidBrush& brush, double x, double y, double w, double h);
    // Many rectangles of one brush in one go (the bars of a code): one painter state and one
    // rectangle operator each, which keeps printed documents small.
    void FillRectangles(const TGPSolidBrush& brush, const std::vector<QRectF>& rects);
    void FillEllipse(const TGPSolidBrush& brush, double x, double y, double w, double h);
    void FillPie(
        const TGPSolidBrush& brush, double x, double y, double w, double h, double startDeg, double sweepDeg);
    void FillPolygon(const TGPSolidBrush& brush, const std::vector<QPointF>& points,
        TFillMode mode = TFillMode::Alternate);
    void FillPath(const TGPSolidBrush& brush, const TGPGraphicsPath& path);

    // World transforms, applied before the painter's own transform.
    void TranslateTransform(double dx, double dy);
    // Clockwise on the page for a positive angle.
    void RotateTransform(double degrees);
    void ResetTransform();

    QPainter& Painter() { return fPainter; }

private:
    void Stroke(const TGPPen& pen, const QPainterPath& path);
    void Fill(const TGPSolidBrush& brush, const QPainterPath& path);

    QPainter& fPainter;
    QTransform fWorld;
    TSmoothingMode fSmoothing = TSmoothingMode::Default;
};

} // namespace zor
