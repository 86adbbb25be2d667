#pragma once

#include "Zor.Line.h"
#include "Zor.RtlExport.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

// The figure element kinds of the model, all fillable: rectangle, polygon, circle, ellipse, level
// gauge, Bézier curve, sector and package box; then the image and the composite kinds: flowchart
// node, link, table, rating and nutrition score.

// An axis-parallel box between two corners, point 1 top-left and point 2 bottom-right. Lengths in
// the label's unit go through the Get/Set pairs; base units through GetBase....
class QUINDLE_RTL_EXPORT TZORBoxItem : public TZORFixedItem<TZOR2DItem, 2> {
public:
    using TZORFixedItem::TZORFixedItem;

    int64_t GetBaseCenterX() const;
    int64_t GetBaseCenterY() const;
    int64_t GetBaseWidth() const { return GetPoint(2).X - GetPoint(1).X; }
    int64_t GetBaseHeight() const { return GetPoint(2).Y - GetPoint(1).Y; }

    float GetCenterX() const { return ToUnits(GetBaseCenterX()); }
    float GetCenterY() const { return ToUnits(GetBaseCenterY()); }
    // Moves the box, keeping its size.
    void SetCenterX(float x);
    void SetCenterY(float y);
    float GetWidth() const { return ToUnits(GetBaseWidth()); }
    float GetHeight() const { return ToUnits(GetBaseHeight()); }
    // Keeps point 1; a size below 0 counts as 0.
    void SetWidth(float w);
    void SetHeight(float h);

    // Puts point 1 on the top-left and point 2 on the bottom-right corner.
    void UpdatePoints() override;

protected:
    void SetBox(int64_t left, int64_t top, int64_t right, int64_t bottom);
    // A size as the setters keep it: 0 or more, finite.
    static float SaneSize(float v) { return zor::ClampFloat(v, 0.0f, 1e9f, 0.0f); }
};

// A box kept square: the circle inscribed in it.
class QUINDLE_RTL_EXPORT TZORRoundItem : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    int32_t GetBaseRadio() const { return zor::ClampToInt32(GetBaseWidth() / 2); }
    float GetRadio() const { return ToUnits(GetBaseWidth() / 2); }
    // Keeps the centre; a radius below 0 counts as 0.
    void SetRadio(float r);
    // Squares the box on its larger side, keeping point 1.
    void UpdatePoints() override;
};

// A rectangle with optional rounded corners (type code 6).
class QUINDLE_RTL_EXPORT TZORBaseRectangle : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Rectangle; }
    const TZORFields<TZORBaseItem>& GetFields() const override { return RectangleFields(); }

    // The corner radius, 0 for square corners: in the label's unit, in base units, and in
    // millimetres on paper (base units divided by the drawing scale), so that the screen's base
    // units and the print's millimetres give the same length.
    float GetRadio() const { return ToUnits(fRadio); }
    int32_t GetBaseRadio() const { return fRadio; }
    float GetMMRadio() const { return float(double(fRadio) / (1000.0 * DrawScale())); }
    // A radius below 0 counts as 0.
    void SetRadio(float r);
    void SetBaseRadio(int32_t r) { fRadio = r < 0 ? 0 : r; }

protected:
    static const TZORFields<TZORBaseItem>& RectangleFields();
    void AfterRead() override;

    int32_t fRadio = 0;
};

// A closed polygon through its points (type code 7).
class QUINDLE_RTL_EXPORT TZORBasePolygon : public TZOR2DItem {
public:
    TZORBasePolygon(TZORBaseLabel* aOwner, bool aPreview)
        : TZOR2DItem(aOwner, nullptr, 0, aPreview)
    {
    }
    // Fewer than three points raise.
    TZORBasePolygon(TZORBaseLabel* aOwner, int32_t nPoints, bool aPreview);
    TZORBasePolygon(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t nPoints, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Polygon; }
};

// A circle (type code 8), inscribed in the square of its two points.
class QUINDLE_RTL_EXPORT TZORBaseCircle : public TZORRoundItem {
public:
    using TZORRoundItem::TZORRoundItem;

    TZORItemType TypeCode() const override { return TZORItemType::Circle; }
};

// An ellipse (type code 9), inscribed in the box of its two points.
class QUINDLE_RTL_EXPORT TZORBaseEllipse : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Ellipse; }

    float GetRadioX() const { return ToUnits(GetBaseWidth() / 2); }
    float GetRadioY() const { return ToUnits(GetBaseHeight() / 2); }
    // Keep the centre; a radius below 0 counts as 0.
    void SetRadioX(float r);
    void SetRadioY(float r);
};

// How a level gauge shows its value: a vessel filled by a circular segment from the bottom or
// from the left, or a ring with its gap centred at the bottom or at the right.
enum class TZORLevelType : uint8_t { SegmentBottom = 0, SegmentLeft = 1, RingBottom = 2, RingRight = 3 };

// What a level gauge draws for a value: start and sweep in degrees (clockwise, y down) of the
// segment's arc or of the ring, whether a vessel is full (its whole disc in the level colour),
// whether the segment and whether the ring are drawn.
struct QUINDLE_RTL_EXPORT TZORLevelArc {
    float Start = 0.0f;
    float Sweep = 0.0f;
    bool Full = false;
    bool Segment = false;
    bool Ring = false;
};

// A level gauge (type code 23): a circle showing a value against a maximum, with a caption.
class QUINDLE_RTL_EXPORT TZORBaseLevel : public TZORFontItem<TZORRoundItem> {
public:
    using TZORFontItem::TZORFontItem;

    TZORItemType TypeCode() const override { return TZORItemType::Level; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // A quarter turn turns the caption with the figure.
    void RotateLeft() override;
    void RotateRight() override;

    TZORLevelType GetLevelType() const { return fLevelType; }
    void SetLevelType(TZORLevelType t) { fLevelType = std::min(t, TZORLevelType::RingRight); }
    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a) { fAngle = TZORAngle(zor::Ord(a) & 3); }
    // Degrees of the ring left open, 0 to 360.
    float GetAngleGap() const { return fAngleGap; }
    void SetAngleGap(float g) { fAngleGap = zor::ClampFloat(g, 0.0f, 360.0f, 0.0f); }
    float GetValue() const { return fValue; }
    void SetValue(float v) { fValue = SaneValue(v); }
    // The value of a full gauge; 0 shows every value against a whole gauge.
    float GetMaxValue() const { return fMaxValue; }
    void SetMaxValue(float m) { fMaxValue = SaneValue(m); }
    zor::TAlphaColor GetLevelColor() const { return fLevelColor; }
    void SetLevelColor(zor::TAlphaColor c) { fLevelColor = c; }
    bool GetStrikeout() const { return fStrikeout; }
    void SetStrikeout(bool s) { fStrikeout = s; }

    // The text of the bound data field for the current record, and the value read from it
    // (0 when it holds no number).
    const QString& GetDataText() const { return fDataText; }
    float GetDataValue() const { return fDataValue; }
    void SetDataText(const QString& t);
    // The number a data text gives a gauge: read in C, then in the system's locale, kept within
    // the gauge's range; 0 when it is no number.
    static float DataNumber(const QString& t);
    // The value a target shows: a bound gauge shows its data value in the preview and in print,
    // its own value everywhere else.
    float ShownValue(TZORDrawState state) const;
    // The caption a target shows, by the same rule: the data text or the gauge's own text.
    const QString& ShownText(TZORDrawState state) const;
    // A bound gauge takes the text of its field for the label's current record.
    void FillData(bool aPreview) override;
    TZORLevelArc LevelArc(double value) const;

    // Caption state that the drawing layer keeps here: the font ratio and the caption's ascent
    // and descent of the gauge's own text as last measured (micrometres).
    double GetTextRatio() const { return fTextRatio; }
    void SetTextRatio(double r);
    int32_t GetCaptionAscent() const { return fCaptionAscent; }
    int32_t GetCaptionDescent() const { return fCaptionDescent; }
    void SetCaptionMetrics(int32_t ascent, int32_t descent);

protected:
    void AfterRead() override;

private:
    static float SaneValue(float v);

    TZORLevelType fLevelType = TZORLevelType::SegmentBottom;
    QString fText;
    TZORAngle fAngle = TZORAngle::Angle0;
    float fAngleGap = 90.0f;
    float fValue = 0.0f;
    float fMaxValue = 100.0f;
    zor::TAlphaColor fLevelColor { 0xFF1E90FFu };
    bool fStrikeout = false;
    // Derived, never stored.
    QString fDataText;
    float fDataValue = 0.0f;
    double fTextRatio = 1.0;
    int32_t fCaptionAscent = 0;
    int32_t fCaptionDescent = 0;
};

// A chain of cubic Bézier segments (type code 25): point 1 starts it, each segment adds a first
// control point, a second control point and an end point. Open with line ends, or closed and
// filled.
class QUINDLE_RTL_EXPORT TZORBaseBezier : public TZORRunItem<TZORLineEnds<TZOR2DItem>> {
public:
    using TZORRunItem::TZORRunItem;

    TZORItemType TypeCode() const override { return TZORItemType::Bezier; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // Whole segments; 0 below four points.
    int32_t NumSegments() const { return NumPoints() < 4 ? 0 : (NumPoints() - 1) / 3; }
    // Keeps 3k + 1 points: those after the last whole segment are dropped. Fewer than four
    // points are kept as they are (they make no curve).
    void UpdatePoints() override;
};

// A slice of a circle between two radii (type code 27). Angles in degrees, clockwise on screen:
// the start in [0, 360), the sweep from it in [-360, 360]; a sweep of exactly 360 is the whole
// circle.
class QUINDLE_RTL_EXPORT TZORBaseSector : public TZORRoundItem {
public:
    using TZORRoundItem::TZORRoundItem;

    TZORItemType TypeCode() const override { return TZORItemType::Sector; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    void RotateLeft() override;
    void RotateRight() override;

    float GetStartAngle() const { return fStartAngle; }
    float GetSweepAngle() const { return fSweepAngle; }
    // The start as the painters take it.
    float GetDrawStart() const { return fStartAngle; }
    void SetAngleStart(float a);
    // The sweep (the sector's own sense of "gap").
    void SetAngleGap(float sweep) { fSweepAngle = zor::ClampFloat(sweep, -360.0f, 360.0f, 0.0f); }
    bool IsFullCircle() const { return double(fSweepAngle) == 360.0; }

protected:
    void AfterRead() override;

private:
    float fStartAngle = 0.0f;
    float fSweepAngle = 90.0f;
};

// What a package box shows (see TZORBasePackage).
enum class TZORPackageStyle : uint8_t {
    Outline = 0,
    OutlineSizes = 1, // with the block of named sizes at the left
    Filled = 2,
    FilledSizes = 3,
    Holes = 4, // drill holes and slots, no captions
    HolesCaptions = 5 // drill holes and slots, captions in the sizes font
};

namespace zor {

// A drill hole: centre and diameter in the unit of the package's sizes, X from the box's left
// edge rightwards and Y from its bottom edge upwards.
struct QUINDLE_RTL_EXPORT TDrillPoint {
    double X = 0.0;
    double Y = 0.0;
    double Diameter = 0.0;
};

// A slot: the two ends of its centre line (measured as for drill holes) and its width.
struct QUINDLE_RTL_EXPORT TSlot {
    double X1 = 0.0;
    double Y1 = 0.0;
    double X2 = 0.0;
    double Y2 = 0.0;
    double Width = 0.0;
};

} // namespace zor

// The isometric projection of a package box: origin, scale and the 30-degree axes. X rises to
// the right, Y to the left, Z points down the page (z = 0 is the top face).
struct QUINDLE_RTL_EXPORT TZORIsometric {
    double OX = 0.0;
    double OY = 0.0;
    double S = 1.0;
    QPointF Project(double x, double y, double z) const;
};

// The two sizes a flat box is captioned with: below it and at its left.
struct QUINDLE_RTL_EXPORT TZORFlatCaptions {
    float Below = 0.0f;
    float Left = 0.0f;
};

// A package box (type code 28): a box of three sizes drawn flat (height 0) or isometric inside
// the frame of a rectangle, captioned with its sizes, with drill holes and slots in the flat view.
class QUINDLE_RTL_EXPORT TZORBasePackage : public TZORBaseRectangle {
public:
    using TZORBaseRectangle::TZORBaseRectangle;

    TZORItemType TypeCode() const override { return TZORItemType::Package; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // The record goes on with the drill holes and the slots.
    zor::TJsonObject WriteJson() const override;
    void ReadJson(int32_t version, const zor::TJsonObject& o) override;
    void WriteData(zor::TBinaryWriter& w) const override;
    void ReadData(int32_t version, zor::TBinaryReader& r, TZORReadType readType) override;

    // Sizes in the user's size unit, 0 or more.
    float GetSizeWidth() const { return fSizeWidth; }
    float GetSizeLength() const { return fSizeLength; }
    float GetSizeHeight() const { return fSizeHeight; }
    void SetSizeWidth(float v) { fSizeWidth = SaneSize(v); }
    void SetSizeLength(float v) { fSizeLength = SaneSize(v); }
    void SetSizeHeight(float v) { fSizeHeight = SaneSize(v); }
    // A height of exactly 0 shows the box flat.
    bool IsFlat() const { return fSizeHeight == 0.0f; }
    TZORPackageStyle GetStyle() const { return fStyle; }
    void SetStyle(TZORPackageStyle s) { fStyle = std::min(s, TZORPackageStyle::HolesCaptions); }
    bool HasSizeBlock() const;
    const QString& GetNameWidth() const { return fNameWidth; }
    const QString& GetNameLength() const { return fNameLength; }
    const QString& GetNameHeight() const { return fNameHeight; }
    void SetNameWidth(const QString& n) { fNameWidth = n; }
    void SetNameLength(const QString& n) { fNameLength = n; }
    void SetNameHeight(const QString& n) { fNameHeight = n; }
    zor::TAlphaColor GetBoxColor() const { return fBoxColor; }
    void SetBoxColor(zor::TAlphaColor c) { fBoxColor = c; }
    zor::TAlphaColor GetFontColor() const { return fFontColor; }
    void SetFontColor(zor::TAlphaColor c) { fFontColor = c; }
    // Font heights in millimetres on paper, and in paper micrometres for the text metrics.
    float GetFontHeightSizes() const { return fFontHeightSizes; }
    float GetFontHeightBox() const { return fFontHeightBox; }
    void SetFontHeightSizes(float h);
    void SetFontHeightBox(float h);
    int32_t GetBaseFontHeightSizes() const { return int32_t(zor::Round(double(fFontHeightSizes) * 1000.0)); }
    int32_t GetBaseFontHeightBox() const { return int32_t(zor::Round(double(fFontHeightBox) * 1000.0)); }

    // What the drawing layer measured of the two fonts: ascent and descent in paper micrometres
    // (base units at drawing scale 1), and the ratio.
    const TZORTextMetrics& GetSizesMetrics() const { return fSizesMetrics; }
    const TZORTextMetrics& GetBoxMetrics() const { return fBoxMetrics; }
    void SetSizesMetrics(const TZORTextMetrics& m) { fSizesMetrics = m; }
    void SetBoxMetrics(const TZORTextMetrics& m) { fBoxMetrics = m; }

    int32_t GetNumDrills() const { return int32_t(fDrills.size()); }
    const zor::TDrillPoint& GetDrillPoint(int32_t i) const;
    int32_t GetNumSlots() const { return int32_t(fSlots.size()); }
    const zor::TSlot& GetSlot(int32_t i) const;
    // Values that are not finite raise; a diameter or width below 0 counts as 0.
    void AddDrill(const zor::TDrillPoint& d);
    void AddSlot(const zor::TSlot& s);
    void ClearHoles();

    // A bound package takes the data value as its sizes: up to three numbers ("120 x 80 x 40",
    // "120×80", "120;80;40") for width, length and height; sizes it leaves out keep theirs. A
    // value without numbers changes nothing (answer false).
    bool SetDat(const QString& value);

    // The rectangle (base units) the box is laid out in: the frame less the size block's strip
    // and the caption margins, which take the measured text heights; the margins are paper
    // lengths, multiplied by the drawing scale.
    TZORRect ContentRect() const;
    TZORFlatCaptions FlatCaptions(double boxWidth, double boxHeight) const;
    // A point of the box (its size unit) on the flat box drawn as box; false when a size the
    // mapping divides by is 0. A length (diameter, width) maps with the width's scale.
    bool MapPoint(const QRectF& box, double x, double y, QPointF& p) const;
    double MapLength(const QRectF& box, double length) const;
    // The isometric projection of the box fitted and centred in r; false when the box or r has
    // no extent.
    bool FitIsometric(const QRectF& r, TZORIsometric& iso) const;

protected:
    void AfterRead() override;

private:
    void ReadHolesJson(const zor::TJsonObject& o);

    float fSizeWidth = 100.0f;
    float fSizeLength = 60.0f;
    float fSizeHeight = 0.0f;
    TZORPackageStyle fStyle = TZORPackageStyle::Outline;
    QString fNameWidth;
    QString fNameLength;
    QString fNameHeight;
    zor::TAlphaColor fBoxColor = zor::claGray;
    zor::TAlphaColor fFontColor = zor::claBlack;
    float fFontHeightSizes = 3.0f;
    float fFontHeightBox = 3.0f;
    std::vector<zor::TDrillPoint> fDrills;
    std::vector<zor::TSlot> fSlots;
    // Measured by the drawing layer: derived, never stored.
    TZORTextMetrics fSizesMetrics;
    TZORTextMetrics fBoxMetrics;
};

namespace zor {

// The outline of a slot of the given width round the segment (x1, y1)–(x2, y2): four corners in
// drawing order, first along one side from the first end to the second, then back along the
// other. A slot of no length is a line of its width, upright through the point.
QUINDLE_RTL_EXPORT std::array<QPointF, 4> CalculateSlotPolygon(
    double x1, double y1, double x2, double y2, double width);

} // namespace zor

// Colour filters of a picture.
enum class TZORImgFilter : uint8_t { None = 0, Grayscale = 1, BlackAndWhite = 2 };

// The frame of a picture: none, a rectangle, a circle with the picture in its inscribed square,
// or a circle the picture is clipped to. Circles are centred on the box's longer side.
enum class TZORFrame : uint8_t { None = 0, Rectangle = 1, Circle = 2, CircleClip = 3 };

// A picture in the box between points 1 and 2 (type code 16): a file in the label's image folder,
// or the encoded picture embedded in the element (which wins when present, on screen and on paper
// alike). Pictures are decoded by the renderer, which reports their size here.
class QUINDLE_RTL_EXPORT TZORBaseImage : public TZORBoxItem {
public:
    static constexpr int ImgFilterCount = 3;
    static constexpr int FrameCount = 4;

    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Image; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // A change of the picture's source asks for it to be decoded again.
    const QString& GetFileName() const { return fFileName; }
    void SetFileName(const QString& n);
    const QByteArray& GetImageBytes() const { return fImageBytes; }
    void SetImageBytes(const QByteArray& b);
    // A picture from a file is embedded (as PNG) when the renderer brings the element up to date
    // (CalcValues), never while it draws.
    bool GetEmbedImage() const { return fEmbedImage; }
    void SetEmbedImage(bool e);
    // The picture keeps its proportions inside the box instead of filling it.
    bool GetKeepAspect() const { return fKeepAspect; }
    void SetKeepAspect(bool k) { fKeepAspect = k; }
    // Where a kept-proportion picture lies in the room left: 0 top or left, 1 centred, 2 bottom
    // or right.
    uint8_t GetImageAlign() const { return fImageAlign; }
    void SetImageAlign(uint8_t a) { fImageAlign = std::min<uint8_t>(a, 2); }
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a) { fAngle = TZORAngle(zor::Ord(a) & 3); }
    TZORImgFilter GetFilter() const { return fFilter; }
    void SetFilter(TZORImgFilter f);
    TZORFrame GetFrame() const { return fFrame; }
    void SetFrame(TZORFrame f);
    // Corner radius of the rectangle frame: in the label's unit, in base units, and in paper
    // millimetres; below 0 counts as 0.
    float GetRadio() const { return ToUnits(fRadio); }
    int32_t GetBaseRadio() const { return fRadio; }
    float GetMMRadio() const { return float(double(fRadio) / (1000.0 * DrawScale())); }
    void SetRadio(float r) { fRadio = zor::ClampToInt32(FromUnits(SaneSize(r))); }
    // Room between the frame and the picture: in the label's unit and in base units.
    float GetPadding() const { return ToUnits(fPadding); }
    int32_t GetBasePadding() const { return fPadding; }
    void SetPadding(float p) { fPadding = zor::ClampToInt32(FromUnits(SaneSize(p))); }

    // The picture's pixel size as the renderer last decoded it (0 without a picture), and the
    // same turned by the angle: swapped for a quarter or three quarters of a turn. The renderer
    // reports it from whichever thread draws the element.
    int32_t GetImageWidth() const { return fImageWidth; }
    int32_t GetImageHeight() const { return fImageHeight; }
    int32_t GetTurnedWidth() const { return zor::Ord(fAngle) % 2 == 0 ? GetImageWidth() : GetImageHeight(); }
    int32_t GetTurnedHeight() const { return zor::Ord(fAngle) % 2 == 0 ? GetImageHeight() : GetImageWidth(); }
    void SetImageSize(int32_t w, int32_t h) const;
    // Asks the renderer to decode the picture again (a changed file on disk is seen only then);
    // every change of the picture's source asks it too. The renderer compares the version it
    // decoded with this one.
    void ReloadImage() { ++fPictureVersion; }
    uint32_t PictureVersion() const { return fPictureVersion; }

    // The picture's file: the image folder joined with the file name; empty without a name or
    // for a name that leads out of the folder (absolute, or climbing above it).
    QString PicturePath() const;
    // Embeds the encoding of the picture already decoded: nothing needs decoding again.
    void EmbedPicture(const QByteArray& encoded) { fImageBytes = encoded; }

protected:
    void AfterRead() override;

private:
    QString fFileName;
    QByteArray fImageBytes;
    bool fKeepAspect = true;
    TZORAngle fAngle = TZORAngle::Angle0;
    bool fEmbedImage = false;
    TZORImgFilter fFilter = TZORImgFilter::None;
    uint8_t fImageAlign = 1;
    TZORFrame fFrame = TZORFrame::None;
    int32_t fRadio = 0;
    int32_t fPadding = 0;
    // Derived.
    mutable std::atomic<int32_t> fImageWidth { 0 };
    mutable std::atomic<int32_t> fImageHeight { 0 };
    uint32_t fPictureVersion = 0;
};
