#pragma once

#include "Zor.Base.h"
#include "Zor.RtlExport.h"
#include "Zor.Utils.h"

#include <QString>

#include <array>
#include <cmath>
#include <cstdint>

// The line element kinds of the model: line, arrow line, polyline, arc and dimension, with the
// line ends and caption fonts that the figure kinds share.

// Where a caption sits against its line: beside it (above, below, centred on it) or in it, the
// line being broken around the text (at the middle, a quarter from the start, a quarter from the
// end). Above and below are as the text reads.
enum class TZORTextPos : uint8_t {
    Above = 0,
    Below = 1,
    OnLine = 2,
    InLine = 3,
    InLineStart = 4,
    InLineEnd = 5
};

// Dimension types. The three linear ones measure along X, along Y and along the measured points.
enum class TZRDimType : uint8_t {
    Horizontal = 0,
    Vertical = 1,
    Aligned = 2,
    Radius = 3, // leader from the centre
    RadiusOut = 4, // leader from outside the circle
    Diameter = 5, // line across the circle
    DiameterOut = 6, // leader from outside the circle
    Angle = 7
};

// What the drawing layer measured of a caption, in paper micrometres: the font's ascent and
// descent, the text's advance width, and the ratio by which the font height is scaled to the
// drawing font's size.
struct QUINDLE_RTL_EXPORT TZORTextMetrics {
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t Width = 0;
    double Ratio = 1.0;
};

// A caption laid out along a line, in base units at the drawing scale: the ends of the gap left in
// the line for it, where its baseline starts (screen), where its top-left corner lies (print), and
// the direction in which it reads (radians, clockwise on screen).
struct QUINDLE_RTL_EXPORT TZORLineText {
    TZORPto GapStart;
    TZORPto GapEnd;
    TZORPto DrawPos;
    TZORPto PrintPos;
    float Angle = 0.0f;
};

namespace zor {

// A font ratio from the text metrics; anything that could not scale a font counts as 1.
inline double SaneRatio(double ratio)
{
    return std::isfinite(ratio) && ratio > 0.0 ? ratio : 1.0;
}

// Positions that break the line around the text.
constexpr bool IsInLine(TZORTextPos pos)
{
    return pos >= TZORTextPos::InLine && pos <= TZORTextPos::InLineEnd;
}

// Lays a caption of the given width and height (ascent + descent) out along the line from p1 to
// p2. The text runs along the line and never reads upside down (a line running leftwards, or
// straight down, is read the other way). Above and below leave the text's descent or ascent
// touching the line; the other positions centre the text block on it. The gap lies on the
// segment, as long as the text is wide, and shrinks at the line's ends. Positions that do not
// break the line give an empty gap at the caption's centre. A line of no length reads along X.
QUINDLE_RTL_EXPORT TZORLineText PosBaseLinesText(
    const TZORPto& p1, const TZORPto& p2, int64_t width, int64_t ascent, int64_t descent, TZORTextPos pos);

} // namespace zor

// The marks at a line's two ends: their kind and fill colour.
template <class Base> class TZOREndMarks : public Base {
public:
    using Base::Base;

    TZORTermType GetFromType() const { return fFromType; }
    TZORTermType GetToType() const { return fToType; }
    void SetFromType(TZORTermType t) { fFromType = t; }
    void SetToType(TZORTermType t) { fToType = t; }
    zor::TAlphaColor GetFromColor() const { return fFromColor; }
    zor::TAlphaColor GetToColor() const { return fToColor; }
    void SetFromColor(zor::TAlphaColor c) { fFromColor = c; }
    void SetToColor(zor::TAlphaColor c) { fToColor = c; }

protected:
    static TZORFields<TZORBaseItem> MarkFields()
    {
        using M = TZOREndMarks;
        return {
            zor::Field<TZORBaseItem, &M::fFromType>("FromType"),
            zor::Field<TZORBaseItem, &M::fToType>("ToType"),
            zor::Field<TZORBaseItem, &M::fFromColor>("FromColor"),
            zor::Field<TZORBaseItem, &M::fToColor>("ToColor"),
        };
    }

    TZORTermType fFromType = TZORTermType::None;
    TZORTermType fToType = TZORTermType::None;
    zor::TAlphaColor fFromColor = zor::claBlack;
    zor::TAlphaColor fToColor = zor::claBlack;
};

// Line ends at the first and the last point: their marks and sizes in millimetres.
template <class Base> class TZORLineEnds : public TZOREndMarks<Base> {
public:
    using TZOREndMarks<Base>::TZOREndMarks;

    static constexpr float MaxEndSize = 100.0f; // millimetres
    static constexpr float DefaultEndSize = 3.0f;

    float GetSizeFrom() const { return fSizeFrom; }
    float GetSizeTo() const { return fSizeTo; }
    void SetSizeFrom(float s) { fSizeFrom = zor::ClampFloat(s, 0.0f, MaxEndSize, DefaultEndSize); }
    void SetSizeTo(float s) { fSizeTo = zor::ClampFloat(s, 0.0f, MaxEndSize, DefaultEndSize); }

    // The tip of the line end at the first point (aLast: at the last one) and the neighbouring
    // point that gives its direction; false when the element has fewer than two points.
    bool EndSegment(bool aLast, TZORPto& tip, TZORPto& from) const
    {
        const int32_t n = this->NumPoints();
        if (n < 2)
            return false;
        tip = this->GetPoint(aLast ? n : 1);
        from = this->GetPoint(aLast ? n - 1 : 2);
        return true;
    }

protected:
    static TZORFields<TZORBaseItem> EndFields()
    {
        using E = TZORLineEnds;
        return TZOREndMarks<Base>::MarkFields()
            + TZORFields<TZORBaseItem> {
                  zor::Field<TZORBaseItem, &E::fSizeFrom>("SizeFrom"),
                  zor::Field<TZORBaseItem, &E::fSizeTo>("SizeTo"),
              };
    }
    void ClampEnds()
    {
        SetSizeFrom(fSizeFrom);
        SetSizeTo(fSizeTo);
    }
    void AfterRead() override
    {
        ClampEnds();
        Base::AfterRead();
    }

    float fSizeFrom = DefaultEndSize;
    float fSizeTo = DefaultEndSize;
};

// Room between an element's frame and its content, millimetres on paper, along (X) and across
// (Y); a value read from a file is brought into range. The default is given in micrometres (a
// whole number, as a template argument must be for the compilers we build with).
template <class Base, int DefaultPaddingMicrons = 0> class TZORPadded : public Base {
public:
    using Base::Base;

    static constexpr float MaxPadding = 1000.0f; // millimetres

    float GetPaddingX() const { return fPaddingX; }
    float GetPaddingY() const { return fPaddingY; }
    void SetPaddingX(float p) { fPaddingX = SanePadding(p); }
    void SetPaddingY(float p) { fPaddingY = SanePadding(p); }
    int32_t GetBasePadX() const { return int32_t(zor::Round(double(fPaddingX) * 1000.0)); }
    int32_t GetBasePadY() const { return int32_t(zor::Round(double(fPaddingY) * 1000.0)); }

protected:
    static TZORFields<TZORBaseItem> PaddingFields()
    {
        using P = TZORPadded;
        return {
            zor::Field<TZORBaseItem, &P::fPaddingX>("PaddingX"),
            zor::Field<TZORBaseItem, &P::fPaddingY>("PaddingY"),
        };
    }
    void AfterRead() override
    {
        SetPaddingX(fPaddingX);
        SetPaddingY(fPaddingY);
        Base::AfterRead();
    }
    static float SanePadding(float p) { return zor::ClampFloat(p, 0.0f, MaxPadding, 0.0f); }

    static constexpr float DefaultPadding = float(DefaultPaddingMicrons) / 1000.0f;

    float fPaddingX = DefaultPadding;
    float fPaddingY = DefaultPadding;
};

// The font of an element's caption. Heights are millimetres on paper.
template <class Base> class TZORFontItem : public Base {
public:
    using Base::Base;

    static constexpr float MinFontHeight = 0.1f;
    static constexpr float MaxFontHeight = 1000.0f;
    static constexpr float DefaultFontHeight = 3.5f;

    const QString& GetFontName() const { return fFontName; }
    void SetFontName(const QString& n) { fFontName = n; }
    float GetFontHeight() const { return fFontHeight; }
    void SetFontHeight(float h)
    {
        fFontHeight = zor::ClampFloat(h, MinFontHeight, MaxFontHeight, DefaultFontHeight);
    }
    // The height in paper micrometres, as the text metrics take it.
    int32_t GetBaseFontHeight() const { return int32_t(zor::Round(double(fFontHeight) * 1000.0)); }
    zor::TAlphaColor GetFontColor() const { return fFontColor; }
    void SetFontColor(zor::TAlphaColor c) { fFontColor = c; }
    bool GetBold() const { return fBold; }
    void SetBold(bool b) { fBold = b; }
    bool GetItalic() const { return fItalic; }
    void SetItalic(bool i) { fItalic = i; }
    bool GetUnderline() const { return fUnderline; }
    void SetUnderline(bool u) { fUnderline = u; }

protected:
    static TZORFields<TZORBaseItem> FontFields()
    {
        using F = TZORFontItem;
        return {
            zor::Field<TZORBaseItem, &F::fFontName>("FontName"),
            zor::Field<TZORBaseItem, &F::fFontHeight>("FontHeight"),
            zor::Field<TZORBaseItem, &F::fFontColor>("FontColor"),
            zor::Field<TZORBaseItem, &F::fBold>("Bold"),
            zor::Field<TZORBaseItem, &F::fItalic>("Italic"),
            zor::Field<TZORBaseItem, &F::fUnderline>("Underline"),
        };
    }
    void AfterRead() override
    {
        SetFontHeight(fFontHeight);
        Base::AfterRead();
    }

    QString fFontName = QStringLiteral("Arial");
    float fFontHeight = DefaultFontHeight;
    zor::TAlphaColor fFontColor = zor::claBlack;
    bool fBold = false;
    bool fItalic = false;
    bool fUnderline = false;
};

// A straight line from point 1 to point 2 (type code 2).
class QUINDLE_RTL_EXPORT TZORBaseLine : public TZORFixedItem<TZORBaseItem, 2> {
public:
    using TZORFixedItem::TZORFixedItem;

    TZORItemType TypeCode() const override { return TZORItemType::Line; }
};

// A line from point 1 to point 2 with a line end at each end and a one-line caption (type code
// 3). Points 3 and 4 are the ends of the gap that a caption in the line leaves; they are laid
// out with the caption and always present.
class QUINDLE_RTL_EXPORT TZORBaseArrowLine : public TZORFontItem<TZORLineEnds<TZORBaseItem>> {
public:
    TZORBaseArrowLine(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseArrowLine(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::ArrowLine; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // The two points the user places; the gap points follow from them.
    int32_t NumPoints() const override { return 2; }
    void UpdatePoints() override;
    // Grows the extent (least x, greatest x, least y, greatest y; -1 for a value not set yet) by
    // the line and, when the caption lies in it, the gap ends, each widened by half the pen.
    void CheckFit(int64_t& minX, int64_t& maxX, int64_t& minY, int64_t& maxY) override;

    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    TZORTextPos GetTextPos() const { return fTextPos; }
    void SetTextPos(TZORTextPos p);
    // The line is drawn in two pieces, from point 1 to 3 and from point 4 to 2.
    bool HasGap() const { return !fText.isEmpty() && zor::IsInLine(fTextPos); }

    // The caption's layout from what the drawing layer measured: stores the metrics (the width
    // scaled to the drawing), places the caption and the gap points.
    void LayoutCaption(const TZORTextMetrics& m);
    // A caption as it is drawn: its text, font ratio, place, angle and the gap it leaves.
    struct TCaption {
        QString text;
        double ratio = 1.0;
        TZORLineText at;
    };
    // The caption the line holds.
    TCaption Caption() const;
    // The caption a text measured m would have, the line left as it is (a record's value on
    // paper).
    TCaption CaptionOf(const QString& text, const TZORTextMetrics& m) const;
    int32_t GetCaptionAscent() const { return fAscent; }
    int32_t GetCaptionDescent() const { return fDescent; }
    // Base units at the drawing scale.
    int32_t GetCaptionWidth() const { return fCaptionWidth; }
    void SetCaptionWidth(int32_t w) { fCaptionWidth = w < 0 ? 0 : w; }
    double GetTextRatio() const { return fTextRatio; }
    float GetCaptionAngle() const { return fCaptionAngle; }
    const TZORPto& GetDrawCaption() const { return fDrawCaption; }
    const TZORPto& GetPrintCaption() const { return fPrintCaption; }

protected:
    int32_t FixedPoints() const override { return 2; }
    void AfterRead() override;

private:
    QString fText;
    TZORTextPos fTextPos = TZORTextPos::Above;
    // Caption layout: derived, never stored.
    int32_t fAscent = 0;
    int32_t fDescent = 0;
    int32_t fCaptionWidth = 0;
    double fTextRatio = 1.0;
    float fCaptionAngle = 0.0f;
    TZORPto fDrawCaption;
    TZORPto fPrintCaption;
};

// A run of any number of points, with the constructors of such kinds: (aOwner, aPreview),
// (aOwner, nPoints, aPreview) and (aOwner, aLayer, nPoints, aPreview).
template <class Base> class TZORRunItem : public Base {
public:
    TZORRunItem(TZORBaseLabel* aOwner, bool aPreview)
        : Base(aOwner, nullptr, 0, aPreview)
    {
    }
    TZORRunItem(TZORBaseLabel* aOwner, int32_t nPoints, bool aPreview)
        : Base(aOwner, nullptr, nPoints, aPreview)
    {
    }
    TZORRunItem(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t nPoints, bool aPreview)
        : Base(aOwner, aLayer, nPoints, aPreview)
    {
    }
};

// An open chain of straight segments through its points, with line ends (type code 4).
class QUINDLE_RTL_EXPORT TZORBasePolyLine : public TZORRunItem<TZORLineEnds<TZORBaseItem>> {
public:
    using TZORRunItem::TZORRunItem;

    TZORItemType TypeCode() const override { return TZORItemType::PolyLine; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
};

// A circular arc (type code 5). The circle (centre and radius in base units) and the angles
// (radians, clockwise on screen; the sweep runs from the start, clockwise when positive) are the
// arc; its points follow from them: points 1 and 2 are the corners of the square round the
// circle, points 3 to 5 (GetPto 1 to 3) the start, the middle and the end of the arc.
class QUINDLE_RTL_EXPORT TZORBaseArc : public TZORLineEnds<TZORBaseItem> {
public:
    TZORBaseArc(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseArc(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);
    // angEnd is the sweep, in radians like angStart. A negative radius counts as 0.
    TZORBaseArc(TZORBaseLabel* aOwner, int64_t cx, int64_t cy, int64_t r, float angStart, float angEnd,
        bool aPreview);
    // The arc from (x1, y1) through (x2, y2) to (x3, y3); points on one line raise.
    TZORBaseArc(TZORBaseLabel* aOwner, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3,
        bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Arc; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    int64_t GetBaseCenterX() const { return fCx; }
    int64_t GetBaseCenterY() const { return fCy; }
    int64_t GetBaseRadio() const { return fRadius; }
    double GetAngleStart() const { return fStart; }
    double GetAngleSweep() const { return fSweep; }
    // Start and sweep in radians: the start is brought into [0, 2π), the sweep kept within a
    // whole turn either way; values that are not finite count as 0.
    void SetAngles(double start, double sweep);
    // The direction flag: the arc runs clockwise on screen.
    bool GetClock() const { return fSweep >= 0.0; }
    // The whole arc anew: its circle and its angles (as SetAngles takes them).
    void SetArc(int64_t cx, int64_t cy, int64_t r, double start, double sweep);

    // Properties: start and end angle in radians; setting the end keeps the start.
    float GetStartAngle() const { return float(fStart); }
    void SetStartAngle(float a) { SetAngles(a, fSweep); }
    float GetEndAngle() const { return float(fStart + fSweep); }
    void SetEndAngle(float a) { SetAngles(fStart, double(a) - fStart); }

    // Defining point i (1 start, 2 middle, 3 end).
    const TZORPto& GetPto(int32_t i) const;
    // Defining point i in the label's unit. Moving one makes the arc through the three points
    // anew; a move that would put them on one line is refused.
    float GetPX(int32_t i) const;
    float GetPY(int32_t i) const;
    void SetPX(int32_t i, float v);
    void SetPY(int32_t i, float v);

    // The direction (radians) in which the line end at the start (aLast: at the end) runs toward
    // its tip: along the circle's tangent, coming from inside the arc.
    double EndDirection(bool aLast) const;

    TZORPto CenterPoint() const override;
    // Makes the arc through the defining points (when they give a circle) and its points anew.
    void UpdatePoints() override;
    // The box of the arc itself, not of its whole circle.
    void UpdateBounds() override;
    void Move(double dx, double dy) override;
    void RotateLeft() override;
    void RotateRight() override;

protected:
    int32_t FixedPoints() const override { return 5; }
    // The circle and the angles read win over the points read.
    void AfterRead() override;

private:
    void MoveDefining(int32_t i, int64_t x, int64_t y);
    bool FromDefiningPoints(const TZORPto& a, const TZORPto& b, const TZORPto& c);
    void Regenerate();
    void Turn(double radians);
    TZORPto OnArc(double angle) const;
    TZORRect ArcBounds() const;

    int64_t fCx = 0;
    int64_t fCy = 0;
    int64_t fRadius = 0;
    double fStart = 0.0;
    double fSweep = 0.0;
};

class TZORDimStyle;

// A dimension (type code 26): extension lines, a dimension line or arc, arrowheads and the
// measured text, in the look of one of the label's dimension styles (by its ID). The point roles
// depend on the type; points 1 to 8 are given, 9 and 10 are laid out with the text and always
// present.
class QUINDLE_RTL_EXPORT TZORBaseDim : public TZORBaseItem {
public:
    TZORBaseDim(TZORBaseLabel* aOwner, TZRDimType aType, bool aPreview);
    TZORBaseDim(TZORBaseLabel* aOwner, TZORLayer* aLayer, TZRDimType aType, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Dim; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    int32_t NumPoints() const override { return 8; }
    void UpdatePoints() override;
    // The points and the text's box.
    void UpdateBounds() override;
    void RotateLeft() override;
    void RotateRight() override;

    TZRDimType GetDimType() const { return fDimType; }
    void SetDimType(TZRDimType t);
    bool IsLinear() const { return fDimType <= TZRDimType::Aligned; }
    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    // The text is the user's own; otherwise the label fills it in from the measured value.
    bool GetDimExt() const { return fDimExt; }
    void SetDimExt(bool e) { fDimExt = e; }
    // The ID of the dimension style.
    int16_t GetDimStyle() const { return fStyleID; }
    void SetDimStyle(int16_t id) { fStyleID = id; }
    // The style of that ID; the label's first style when the label has none of that ID, and the
    // library's default look without a label.
    const TZORDimStyle& GetStyle() const;

    // What the dimension measures: a length in the label's unit, or for the angular type the
    // angle in degrees (0 when its arc points give no circle).
    double MeasuredValue() const;
    // The text of a measured value in a style: its prefix, the value by its format and its
    // suffix. Without a format a value with a fraction shows as a whole number ("0") and a whole
    // value with one decimal ("0.0"), as the dimension-style sample shows them.
    static QString DimText(const TZORDimStyle& style, double value);
    // Fills the text in from the measured value in the dimension's style, unless the text is the
    // user's own (DimExt). The label calls it where the measure changes (making the dimension,
    // moving its points); reading and laying out leave the text as it was stored.
    void AssignText();
    // The style's font height in paper micrometres, as the text metrics take it.
    int32_t GetBaseFontHeight() const;

    // The angular dimension's arc, from point 5 through point 7 to point 6; false when the three
    // give no circle.
    bool AngleArc(zor::TDraw2DArc& arc) const;
    // The direction (radians, clockwise on screen) from the tip of an angular dimension's arrow
    // head, at point tip of the arc, toward its tail: along the arc's tangent, turned to the side
    // where `through` (point 7, inside the arc) lies. When both tangents are equally far from it,
    // the arc's direction decides. The screen and the paper draw their heads by it.
    static double HeadDirection(const zor::TDraw2DArc& arc, const TZORPto& tip, const TZORPto& through);
    // The smaller angle between two directions (radians), 0 to π.
    static double AngleBetween(double u, double v);
    // The dimension line is drawn in two pieces, from point 5 to 9 and from point 10 to 6.
    bool HasGap() const;

    // The text's layout from what the drawing layer measured: stores the ratio and the width
    // (scaled to the drawing), places the text and points 9 and 10.
    void LayoutText(const TZORTextMetrics& m);
    int32_t GetTextWidth() const { return fTextWidth; }
    double GetTextRatio() const { return fTextRatio; }
    const TZORPto& GetDrawText() const { return fDrawText; }
    const TZORPto& GetPrintText() const { return fPrintText; }
    float GetTextAngle() const { return fTextAngle; }

    // Held while the dimension's values are calculated; a nested calculation finds Entered()
    // false and must do nothing. The flag is cleared however the calculation ends.
    class TCalcGuard {
    public:
        explicit TCalcGuard(TZORBaseDim& dim);
        ~TCalcGuard();
        TCalcGuard(const TCalcGuard&) = delete;
        TCalcGuard& operator=(const TCalcGuard&) = delete;
        bool Entered() const { return fEntered; }

    private:
        TZORBaseDim& fDim;
        bool fEntered;
    };
    bool GetCalculating() const { return fCalculating; }

    // A linear dimension of the measured points (x1, y1), (x2, y2) whose dimension line passes
    // through (x3, y3): beside the points' box it is horizontal or vertical, inside it aligned
    // with them. Gives the type and points 3 to 8; the extension lines keep the label's active
    // style's gap from the measured points and reach its extension size past the line.
    static TZRDimType CalcDimPoints(const TZORBaseLabel* label, int64_t x1, int64_t y1, int64_t x2,
        int64_t y2, int64_t x3, int64_t y3, std::array<TZORPto, 6>& points);
    // The eight points of a radius or diameter dimension (type 3 to 6) of the circle (cx, cy, r),
    // measured in direction angle (radians): the centre C, the point P on the circle in that
    // direction, the point opposite, the leader's bend Q outside the circle (the style's
    // extension size at the drawing scale past P) and the end of the text shelf, which runs
    // along X away from the circle (twice the extension size in thousandths from P, or twice
    // the scaled size from Q). The label's active style gives the extension size.
    static std::array<TZORPto, 8> CalcRadialPoints(
        const TZORBaseLabel* label, TZRDimType type, int64_t cx, int64_t cy, int64_t r, float angle);

protected:
    int32_t FixedPoints() const override { return 8; }
    void AfterRead() override;

private:
    void SwapLinear();
    void LayoutAngular(const TZORTextMetrics& m, int32_t scale);
    TZORRect TextBox() const;

    TZRDimType fDimType;
    QString fText;
    bool fDimExt = false;
    int16_t fStyleID = 1;
    // Text layout: derived, never stored.
    bool fCalculating = false;
    int32_t fTextWidth = 0;
    int32_t fTextHeight = 0;
    double fTextRatio = 1.0;
    TZORPto fDrawText;
    TZORPto fPrintText;
    float fTextAngle = 0.0f;
};
