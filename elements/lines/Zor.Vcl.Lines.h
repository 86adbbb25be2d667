#pragma once

#include "Zor.F2d.h"
#include "Zor.Line.h"
#include "Zor.Vcl.Lines.Frame.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

#include <cstdint>

// The renderers of the line and figure kinds. Each derives from the model class of its kind,
// which holds every value and all behaviour that does not paint, and adds the painting: Draw on
// the screen canvas (editor, preview, library viewer, export) and Print on the printer. Both
// entries describe the element once (Paint) and differ only where the screen and the paper are
// meant to differ.

// A construction point: a small circle round the point on screen, never on paper.
class QUINDLE_VCL_EXPORT TZORPoint : public TZORBasePoint, public TZORElementIO<TZORPoint> {
public:
    using TZORBasePoint::TZORBasePoint;

    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw&) const override { }
};

class QUINDLE_VCL_EXPORT TZORLine : public TZORBaseLine, public TZORElementIO<TZORLine> {
public:
    using TZORBaseLine::TZORBaseLine;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

// A line with line ends and a caption beside it or in it. A caption bound to data prints the
// value of the current record.
class QUINDLE_VCL_EXPORT TZORArrowLine : public TZORBaseArrowLine, public TZORElementIO<TZORArrowLine> {
public:
    using TZORBaseArrowLine::TZORBaseArrowLine;

    // Measures the caption and lays it out (caption metrics, points 3 and 4).
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
    void PaintLine(zor::TZORPainter& P, const TCaption& caption) const;
    void PaintCaption(zor::TZORPainter& P, const TCaption& caption) const;
};

class QUINDLE_VCL_EXPORT TZORPolyLine : public TZORBasePolyLine, public TZORElementIO<TZORPolyLine> {
public:
    using TZORBasePolyLine::TZORBasePolyLine;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }
    // The chain through every point, in device coordinates of the painter's target.
    zor::TGPGraphicsPath GetPath(const zor::TZORPainter& P) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORArc : public TZORBaseArc, public TZORElementIO<TZORArc> {
public:
    using TZORBaseArc::TZORBaseArc;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORRectangle : public TZORBaseRectangle, public TZORElementIO<TZORRectangle> {
public:
    using TZORBaseRectangle::TZORBaseRectangle;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORPolygon : public TZORBasePolygon, public TZORElementIO<TZORPolygon> {
public:
    using TZORBasePolygon::TZORBasePolygon;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }
    // The closed outline through every point, in device coordinates of the painter's target.
    zor::TGPGraphicsPath GetPath(const zor::TZORPainter& P) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORCircle : public TZORBaseCircle, public TZORElementIO<TZORCircle> {
public:
    using TZORBaseCircle::TZORBaseCircle;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZOREllipse : public TZORBaseEllipse, public TZORElementIO<TZOREllipse> {
public:
    using TZORBaseEllipse::TZORBaseEllipse;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORBezier : public TZORBaseBezier, public TZORElementIO<TZORBezier> {
public:
    using TZORBaseBezier::TZORBaseBezier;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }
    // The whole segments of the curve, closed when it is filled, in device coordinates of the
    // painter's target; empty below four points.
    zor::TGPGraphicsPath GetPath(const zor::TZORPainter& P) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

class QUINDLE_VCL_EXPORT TZORSector : public TZORBaseSector, public TZORElementIO<TZORSector> {
public:
    using TZORBaseSector::TZORBaseSector;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }
    // The slice (or, for a whole turn, the circle), in device coordinates of the painter's target.
    zor::TGPGraphicsPath GetPath(const zor::TZORPainter& P) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};

// A level gauge: a vessel filled up to its value or a ring run round to it, with a caption on
// its centre. A bound gauge shows its record's value and text in the preview and on paper; an
// unbound one shows its own everywhere. Outlines and rings are always solid.
class QUINDLE_VCL_EXPORT TZORLevel : public TZORBaseLevel, public TZORElementIO<TZORLevel> {
public:
    using TZORBaseLevel::TZORBaseLevel;

    // Measures the caption of the gauge's own text (its font ratio and metrics).
    void CalcValues(int16_t aFlag) override;
    // The screen shows the value and text of ShownValue and ShownText.
    void Draw(TZORBaseDraw& D) const override;
    // A bound gauge prints its field's value for the record being printed.
    void Print(TZORBaseDraw& D) const override;
    // The vessel's segment of `arc` closed by its chord, in device coordinates of the painter's
    // target.
    zor::TGPGraphicsPath GetPath(const zor::TZORPainter& P, const TZORLevelArc& arc) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target, float value, const QString& text) const;
    void PaintCaption(zor::TZORPainter& P, const QString& text) const;
};

// A dimension: extension lines, a dimension line or arc with arrow heads, and its measured text,
// in the look of its dimension style.
class QUINDLE_VCL_EXPORT TZORDim : public TZORBaseDim, public TZORElementIO<TZORDim> {
public:
    using TZORBaseDim::TZORBaseDim;
    // The form the readers build with: a horizontal dimension until its record says otherwise.
    TZORDim(TZORBaseLabel* aOwner, bool aPreview)
        : TZORBaseDim(aOwner, TZRDimType::Horizontal, aPreview)
    {
    }

    // Measures the text and lays it out with points 9 and 10, then the bounds; an empty text
    // keeps its layout. Phase 3 leaves the model's own calculation out. A call made while one
    // runs does nothing. The text itself is the label's to fill in (AssignText), when it makes
    // the dimension or moves its points, so that reading a dimension never changes it.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
    void PaintLines(zor::TZORPainter& P) const;
    void PaintAngle(zor::TZORPainter& P, const zor::TZORStroke& stroke) const;
    void PaintHead(zor::TZORPainter& P, const TZORPto& tip, const QPointF& from, bool smooth) const;
    void PaintCaption(zor::TZORPainter& P) const;
};

// A package box inside a rectangle's frame: flat or isometric, captioned with its sizes, with a
// block of named sizes and with drill holes and slots as its style says. A bound box prints its
// record's sizes and keeps its own.
class QUINDLE_VCL_EXPORT TZORPackage : public TZORBasePackage, public TZORElementIO<TZORPackage> {
public:
    using TZORBasePackage::TZORBasePackage;

    // Measures the sizes font and the box font.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};
