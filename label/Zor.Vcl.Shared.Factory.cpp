#include "Zor.Vcl.Shared.Factory.h"

#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <type_traits>
#include <vector>

using zor::TDraw2D;
using zor::TDraw2DCircle;

namespace {

// --- Coordinates ---

// Base-unit values pass through; label-unit ones are converted with the label's unit as it is
// at the call.
TZORPto At(const TZORBaseLabel&, int64_t x, int64_t y)
{
    return { x, y };
}

TZORPto At(const TZORBaseLabel& label, double x, double y)
{
    TZORPto p;
    p.Define(x, y, label.GetUnits());
    return p;
}

int64_t Base(const TZORBaseLabel& label, float v)
{
    return zor::SetValue(v, label.GetUnits());
}

// Sums of base units saturate instead of overflowing; sums of label units are formed in double
// precision before they are converted.
int64_t Plus(int64_t a, int64_t b)
{
    int64_t s;
    if (!__builtin_add_overflow(a, b, &s))
        return s;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

int64_t Minus(int64_t a, int64_t b)
{
    int64_t s;
    if (!__builtin_sub_overflow(a, b, &s))
        return s;
    return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

double Plus(float a, float b)
{
    return double(a) + double(b);
}

double Minus(float a, float b)
{
    return double(a) - double(b);
}

template <class C> std::array<TZORPto, 1> One(const TZORBaseLabel& l, C x, C y)
{
    return { At(l, x, y) };
}

template <class C> std::array<TZORPto, 2> Two(const TZORBaseLabel& l, C x1, C y1, C x2, C y2)
{
    return { At(l, x1, y1), At(l, x2, y2) };
}

// The box (x, y)-(x + w, y + h).
template <class C> std::array<TZORPto, 2> Box(const TZORBaseLabel& l, C x, C y, C w, C h)
{
    return { At(l, x, y), At(l, Plus(x, w), Plus(y, h)) };
}

// The box round the ellipse of radii rx, ry about (cx, cy); a square for a circle.
template <class C> std::array<TZORPto, 2> Around(const TZORBaseLabel& l, C cx, C cy, C rx, C ry)
{
    return { At(l, Minus(cx, rx), Minus(cy, ry)), At(l, Plus(cx, rx), Plus(cy, ry)) };
}

// The points of a flat array; an odd number of values raises, and so do fewer than minPoints
// points, which is looked at first.
template <class C>
std::vector<TZORPto> RunPoints(const TZORBaseLabel& l, std::span<const C> coords, size_t minPoints)
{
    if (coords.size() < 2 * minPoints)
        throw zor::Error(QStringLiteral("Polygon"));
    if (coords.size() % 2 != 0)
        throw zor::Error(QStringLiteral("EventNumber"));
    std::vector<TZORPto> points;
    points.reserve(coords.size() / 2);
    for (size_t i = 0; i < coords.size(); i += 2)
        points.push_back(At(l, coords[i], coords[i + 1]));
    return points;
}

struct TCircle {
    int64_t Cx;
    int64_t Cy;
    int64_t R;
};

TCircle Rounded(const TDraw2DCircle& c)
{
    return { zor::Round(c.Cx), zor::Round(c.Cy), zor::Round(c.R) };
}

TCircle CircleOf(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return Rounded(TDraw2D::CircleTwoPoints(double(x1), double(y1), double(x2), double(y2)));
}

TCircle CircleOf(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    TDraw2DCircle c;
    if (!TDraw2D::CircleThreePoints(
            double(x1), double(y1), double(x2), double(y2), double(x3), double(y3), c))
        throw zor::Error(QStringLiteral("CirclePoints"));
    return Rounded(c);
}

// The point at distance r from (cx, cy) in direction angle.
TZORPto Polar(int64_t cx, int64_t cy, double r, double angle)
{
    return { Plus(cx, zor::Round(r * std::cos(angle))), Plus(cy, zor::Round(r * std::sin(angle))) };
}

// --- Layer defaults ---

// What a kind takes from the active layer: colour, pen width, back colour, the font's face (name
// and height), its colour, its style (bold, italic).
enum TLayerDefault : uint8_t {
    ldColor = 1,
    ldPen = 2,
    ldBack = 4,
    ldFontFace = 8,
    ldFontColor = 16,
    ldFontStyle = 32,
    ldFont = ldFontFace | ldFontColor | ldFontStyle,
    ldCP = ldColor | ldPen,
    ldCPB = ldColor | ldPen | ldBack,
    ldCPBF = ldCPB | ldFont,
};

// Looked up anew for every value the element takes from it.
const TZORLayer& ActiveLayer(const TZORBaseLabel& label)
{
    return *label.GetActiveLayer();
}

template <uint8_t D, class T> void TakeLayer(const TZORBaseLabel& label, T& e)
{
    if constexpr ((D & ldColor) != 0)
        e.SetColor(ActiveLayer(label).GetColor());
    if constexpr ((D & ldPen) != 0)
        e.SetPenWidth(ActiveLayer(label).GetPenWidth());
    if constexpr ((D & ldBack) != 0)
        e.SetBackColor(ActiveLayer(label).GetBackColor());
    if constexpr ((D & ldFontFace) != 0) {
        e.SetFontName(ActiveLayer(label).GetFontName());
        e.SetFontHeight(ActiveLayer(label).GetFontHeight());
    }
    if constexpr ((D & ldFontColor) != 0)
        e.SetFontColor(ActiveLayer(label).GetFontColor());
    if constexpr ((D & ldFontStyle) != 0) {
        e.SetBold(ActiveLayer(label).GetBold());
        e.SetItalic(ActiveLayer(label).GetItalic());
    }
}

// --- Making and entering ---

// The text kinds have a constructor of their own without the preview flag.
template <class T> std::unique_ptr<T> New(TZORBaseLabel& label)
{
    if constexpr (std::is_constructible_v<T, TZORBaseLabel*>)
        return std::make_unique<T>(&label);
    else
        return std::make_unique<T>(&label, false);
}

// Gives a new element what its kind sets and the layer defaults D, then enters it.
template <uint8_t D, class T, class... Set>
T* Enter(TZORBaseLabel& label, std::unique_ptr<T> e, const Set&... set)
{
    (set(*e), ...);
    TakeLayer<D>(label, *e);
    T* added = e.get();
    label.AddItem(std::move(e));
    label.SortItemsZLayer();
    return added;
}

template <uint8_t D, class T, class... Set>
T* Finish(TZORBaseLabel& label, std::unique_ptr<T> e, std::span<const TZORPto> points, const Set&... set)
{
    e->AssignPoints(points);
    return Enter<D>(label, std::move(e), set...);
}

template <class T, uint8_t D, class... Set>
T* Place(TZORBaseLabel& label, std::span<const TZORPto> points, const Set&... set)
{
    return Finish<D>(label, New<T>(label), points, set...);
}

// A kind made of a run of points, numbered from 1 in array order.
template <class T, uint8_t D, class C>
T* Run(TZORBaseLabel& label, std::span<const C> coords, size_t minPoints = 0)
{
    const std::vector<TZORPto> points = RunPoints(label, coords, minPoints);
    return Finish<D>(label, std::make_unique<T>(&label, int32_t(points.size()), false), points);
}

auto SectorAngles(float start, float gap)
{
    return [start, gap](TZORSector& s) {
        s.SetAngleStart(start);
        s.SetAngleGap(gap);
    };
}

TZORSector* Sector(TZORBaseLabel& label, const TCircle& c, float start, float gap)
{
    return Place<TZORSector, ldCPB>(label, Around(label, c.Cx, c.Cy, c.R, c.R), SectorAngles(start, gap));
}

auto Barcode(const QByteArray& code, TZORBarType barType)
{
    return [&code, barType](TZORBarcode& b) {
        b.SetCode(code);
        b.SetCodeType(barType);
    };
}

template <class T, class Code> auto SetCode(const Code& code)
{
    return [&code](T& e) { e.SetCode(code); };
}

auto ImageFile(const QString& fileName)
{
    return [&fileName](TZORImage& e) { e.SetFileName(fileName); };
}

auto FlowShape(TZORFlowType flowType)
{
    return [flowType](TZORFlow& e) { e.SetFlowType(flowType); };
}

TZORSymbol* Symbol(TZORBaseLabel& label, const TZORPto& at)
{
    const std::array<TZORPto, 1> points { at };
    return Place<TZORSymbol, 0>(
        label, points, [&label](TZORSymbol& e) { e.SetSymbol(label.GetCurrentSymbol()); });
}

// --- Links ---

TZORLink* Join(TZORBaseLabel& label, std::unique_ptr<TZORLink> link, std::span<const TZORPto> points,
    int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex, TZORinkType linkType)
{
    return Finish<ldCP>(label, std::move(link), points, [&](TZORLink& e) {
        e.SetLinkType(linkType);
        e.SetFromID(fromID);
        e.SetToID(toID);
        e.SetFromIndex(fromIndex);
        e.SetToIndex(toIndex);
        e.CalcLinkPoints(true);
    });
}

template <class C>
TZORLink* PolyLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex, int16_t toIndex,
    TZORinkType linkType, std::span<const C> coords)
{
    const std::vector<TZORPto> points = RunPoints(label, coords, 0);
    auto link = std::make_unique<TZORLink>(&label, int32_t(points.size()), false);
    return Join(label, std::move(link), points, fromID, toID, fromIndex, toIndex, linkType);
}

// A library symbol's own anchors follow its 50 reserved ones.
constexpr int16_t SymbolAnchorOffset = 50;

// One end of a link by name. Elements have no name of their own: the name is the element's ID
// as a decimal number. ID 0 when no element has it.
struct TLinkEnd {
    int32_t ID = 0;
    int16_t Offset = 0;
};

TLinkEnd FindEnd(const TZORBaseLabel& label, const QString& name)
{
    bool ok = false;
    const int32_t id = name.toInt(&ok);
    const TZORBaseItem* item = ok && id > 0 ? label.SearchItem(id) : nullptr;
    if (!item)
        return {};
    return { item->GetID(), item->TypeCode() == TZORItemType::Symbol ? SymbolAnchorOffset : int16_t(0) };
}

// An anchor index moved by the offset, kept within 16 bits: an index past the range finds no
// anchor, as it should, instead of wrapping round to a small one.
int16_t Shifted(int16_t index, int16_t offset)
{
    return int16_t(std::min<int32_t>(int32_t(index) + offset, std::numeric_limits<int16_t>::max()));
}

// --- Dimensions ---

TZORDim* Dim(TZORBaseLabel& label, TZRDimType type, std::span<const TZORPto> points)
{
    // A new dimension shows what it measures; its text and layout are made once its points are.
    const auto measure = [](TZORDim& d) {
        d.AssignText();
        d.CalcValues(0);
    };
    return Finish<ldCP>(label, std::make_unique<TZORDim>(&label, type, false), points, measure);
}

TZORDim* Radial(TZORBaseLabel& label, TZRDimType type, int64_t cx, int64_t cy, int64_t r, float angle)
{
    return Dim(label, type, TZORBaseDim::CalcRadialPoints(&label, type, cx, cy, r, angle));
}

TZORDim* RadialUnits(TZORBaseLabel& label, TZRDimType form, float cx, float cy, float r, float angle)
{
    return Radial(label, form, Base(label, cx), Base(label, cy), Base(label, r), angle);
}

// The direction (radians) of the line from (x1, y1) to (x2, y2), turned round when the arc's
// point lies behind it as seen from the centre.
double Facing(int64_t x1, int64_t y1, int64_t x2, int64_t y2, double toArcX, double toArcY)
{
    const double dx = double(x2) - double(x1), dy = double(y2) - double(y1);
    const double a = std::atan2(dy, dx);
    return TDraw2D::NormalizeAngle(dx * toArcX + dy * toArcY < 0.0 ? a + std::numbers::pi : a);
}

} // namespace

// --- Lines ---

TZORPoint* TZORFactory::AddBasePoint(TZORBaseLabel& label, int64_t x, int64_t y)
{
    return Place<TZORPoint, ldColor>(label, One(label, x, y));
}

TZORPoint* TZORFactory::AddPoint(TZORBaseLabel& label, float x, float y)
{
    return Place<TZORPoint, ldColor>(label, One(label, x, y));
}

TZORLine* TZORFactory::AddBaseLine(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return Place<TZORLine, ldCP>(label, Two(label, x1, y1, x2, y2));
}

TZORLine* TZORFactory::AddLine(TZORBaseLabel& label, float x1, float y1, float x2, float y2)
{
    return Place<TZORLine, ldCP>(label, Two(label, x1, y1, x2, y2));
}

TZORArrowLine* TZORFactory::AddBaseArrowLine(
    TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return Place<TZORArrowLine, ldCP>(label, Two(label, x1, y1, x2, y2));
}

TZORArrowLine* TZORFactory::AddArrowLine(TZORBaseLabel& label, float x1, float y1, float x2, float y2)
{
    return Place<TZORArrowLine, ldCP>(label, Two(label, x1, y1, x2, y2));
}

TZORArc* TZORFactory::AddBaseArc(
    TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float start, float sweep)
{
    return Enter<ldCP>(label, std::make_unique<TZORArc>(&label, cx, cy, r, start, sweep, false));
}

TZORArc* TZORFactory::AddArc(TZORBaseLabel& label, float cx, float cy, float r, float start, float sweep)
{
    return AddBaseArc(label, Base(label, cx), Base(label, cy), Base(label, r), start, sweep);
}

TZORArc* TZORFactory::AddBaseArc(
    TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    return Enter<ldCP>(label, std::make_unique<TZORArc>(&label, x1, y1, x2, y2, x3, y3, false));
}

TZORArc* TZORFactory::AddArc(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3)
{
    return AddBaseArc(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2),
        Base(label, x3), Base(label, y3));
}

TZORPolyLine* TZORFactory::AddBasePolyLine(TZORBaseLabel& label, std::span<const int64_t> coords)
{
    return Run<TZORPolyLine, ldCP>(label, coords);
}

TZORPolyLine* TZORFactory::AddPolyLine(TZORBaseLabel& label, std::span<const float> coords)
{
    return Run<TZORPolyLine, ldCP>(label, coords);
}

// --- Figures ---

TZORBezier* TZORFactory::AddBaseBezier(TZORBaseLabel& label, std::span<const int64_t> coords)
{
    return Run<TZORBezier, ldCP>(label, coords);
}

TZORBezier* TZORFactory::AddBezier(TZORBaseLabel& label, std::span<const float> coords)
{
    return Run<TZORBezier, ldCP>(label, coords);
}

TZORPolygon* TZORFactory::AddBasePolygon(TZORBaseLabel& label, std::span<const int64_t> coords)
{
    return Run<TZORPolygon, ldCPB>(label, coords, 3);
}

// Only the base-unit polygon asks for three points: the label-unit one takes any whole number of
// points, as a polyline does (fewer than two draw nothing).
TZORPolygon* TZORFactory::AddPolygon(TZORBaseLabel& label, std::span<const float> coords)
{
    return Run<TZORPolygon, ldCPB>(label, coords);
}

TZORRectangle* TZORFactory::AddBaseRectangle(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORRectangle, ldCPB>(label, Box(label, x, y, w, h));
}

TZORRectangle* TZORFactory::AddRectangle(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORRectangle, ldCPB>(label, Box(label, x, y, w, h));
}

TZORCircle* TZORFactory::AddBaseCircle(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r)
{
    return Place<TZORCircle, ldCPB>(label, Around(label, cx, cy, r, r));
}

TZORCircle* TZORFactory::AddCircle(TZORBaseLabel& label, float cx, float cy, float r)
{
    return Place<TZORCircle, ldCPB>(label, Around(label, cx, cy, r, r));
}

TZORCircle* TZORFactory::AddBaseCircle2P(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    const TCircle c = CircleOf(x1, y1, x2, y2);
    return AddBaseCircle(label, c.Cx, c.Cy, c.R);
}

TZORCircle* TZORFactory::AddCircle2P(TZORBaseLabel& label, float x1, float y1, float x2, float y2)
{
    return AddBaseCircle2P(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2));
}

TZORCircle* TZORFactory::AddBaseCircle3P(
    TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    const TCircle c = CircleOf(x1, y1, x2, y2, x3, y3);
    return AddBaseCircle(label, c.Cx, c.Cy, c.R);
}

TZORCircle* TZORFactory::AddCircle3P(
    TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3)
{
    return AddBaseCircle3P(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2),
        Base(label, x3), Base(label, y3));
}

TZOREllipse* TZORFactory::AddBaseEllipse(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t rx, int64_t ry)
{
    return Place<TZOREllipse, ldCPB>(label, Around(label, cx, cy, rx, ry));
}

TZOREllipse* TZORFactory::AddEllipse(TZORBaseLabel& label, float cx, float cy, float rx, float ry)
{
    return Place<TZOREllipse, ldCPB>(label, Around(label, cx, cy, rx, ry));
}

TZORSector* TZORFactory::AddBaseSector(
    TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float start, float gap)
{
    return Sector(label, { cx, cy, r }, start, gap);
}

TZORSector* TZORFactory::AddSector(TZORBaseLabel& label, float cx, float cy, float r, float start, float gap)
{
    return AddBaseSector(label, Base(label, cx), Base(label, cy), Base(label, r), start, gap);
}

TZORSector* TZORFactory::AddBaseSector2P(
    TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, float start, float gap)
{
    return Sector(label, CircleOf(x1, y1, x2, y2), start, gap);
}

TZORSector* TZORFactory::AddSector2P(
    TZORBaseLabel& label, float x1, float y1, float x2, float y2, float start, float gap)
{
    return AddBaseSector2P(
        label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2), start, gap);
}

TZORSector* TZORFactory::AddBaseSector3P(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
    int64_t x3, int64_t y3, float start, float gap)
{
    return Sector(label, CircleOf(x1, y1, x2, y2, x3, y3), start, gap);
}

TZORSector* TZORFactory::AddSector3P(
    TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3, float start, float gap)
{
    return AddBaseSector3P(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2),
        Base(label, x3), Base(label, y3), start, gap);
}

TZORLevel* TZORFactory::AddBaseLevel(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r)
{
    return Place<TZORLevel, ldCPB>(label, Around(label, cx, cy, r, r));
}

TZORLevel* TZORFactory::AddLevel(TZORBaseLabel& label, float cx, float cy, float r)
{
    return Place<TZORLevel, ldCPB>(label, Around(label, cx, cy, r, r));
}

TZORPackage* TZORFactory::AddBasePackage(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORPackage, ldCPB | ldFontColor>(label, Box(label, x, y, w, h));
}

TZORPackage* TZORFactory::AddPackage(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORPackage, ldCPB | ldFontColor>(label, Box(label, x, y, w, h));
}

// --- Texts, images and codes ---

TZORText* TZORFactory::AddBaseText(TZORBaseLabel& label, int64_t x, int64_t y)
{
    return Place<TZORText, ldColor | ldFont>(label, Two(label, x, y, x, y));
}

TZORText* TZORFactory::AddText(TZORBaseLabel& label, float x, float y)
{
    return Place<TZORText, ldColor | ldFont>(label, Two(label, x, y, x, y));
}

TZORParagraph* TZORFactory::AddBaseParagraph(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORParagraph, ldCPBF>(label, Box(label, x, y, w, h));
}

TZORParagraph* TZORFactory::AddParagraph(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORParagraph, ldCPBF>(label, Box(label, x, y, w, h));
}

TZORRichText* TZORFactory::AddBaseRichText(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORRichText, ldCPBF>(label, Box(label, x, y, w, h));
}

TZORRichText* TZORFactory::AddRichText(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORRichText, ldCPBF>(label, Box(label, x, y, w, h));
}

TZORImage* TZORFactory::AddBaseImage(
    TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h, const QString& fileName)
{
    return Place<TZORImage, ldCP>(label, Box(label, x, y, w, h), ImageFile(fileName));
}

TZORImage* TZORFactory::AddImage(
    TZORBaseLabel& label, float x, float y, float w, float h, const QString& fileName)
{
    return Place<TZORImage, ldCP>(label, Box(label, x, y, w, h), ImageFile(fileName));
}

TZORBarcode* TZORFactory::AddBaseBarcode(
    TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code, TZORBarType barType)
{
    return Place<TZORBarcode, ldColor>(label, One(label, x, y), Barcode(code, barType));
}

TZORBarcode* TZORFactory::AddBarcode(
    TZORBaseLabel& label, float x, float y, const QByteArray& code, TZORBarType barType)
{
    return Place<TZORBarcode, ldColor | ldFontFace>(label, One(label, x, y), Barcode(code, barType));
}

TZORPDF417* TZORFactory::AddBasePDF417(TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code)
{
    return Place<TZORPDF417, ldColor>(label, One(label, x, y), SetCode<TZORPDF417>(code));
}

TZORPDF417* TZORFactory::AddPDF417(TZORBaseLabel& label, float x, float y, const QByteArray& code)
{
    return Place<TZORPDF417, ldColor>(label, One(label, x, y), SetCode<TZORPDF417>(code));
}

TZORDataMatrix* TZORFactory::AddBaseDataMatrix(
    TZORBaseLabel& label, int64_t x, int64_t y, const QByteArray& code)
{
    return Place<TZORDataMatrix, ldColor>(label, One(label, x, y), SetCode<TZORDataMatrix>(code));
}

TZORDataMatrix* TZORFactory::AddDataMatrix(TZORBaseLabel& label, float x, float y, const QByteArray& code)
{
    return Place<TZORDataMatrix, ldColor>(label, One(label, x, y), SetCode<TZORDataMatrix>(code));
}

TZORQRCode* TZORFactory::AddBaseQRCode(TZORBaseLabel& label, int64_t x, int64_t y, const QString& code)
{
    return Place<TZORQRCode, ldColor>(label, One(label, x, y), SetCode<TZORQRCode>(code));
}

TZORQRCode* TZORFactory::AddQRCode(TZORBaseLabel& label, float x, float y, const QString& code)
{
    return Place<TZORQRCode, ldColor>(label, One(label, x, y), SetCode<TZORQRCode>(code));
}

// --- Composite elements ---

TZORFlow* TZORFactory::AddBaseFlow(
    TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h, TZORFlowType flowType)
{
    return Place<TZORFlow, ldCPBF>(label, Box(label, x, y, w, h), FlowShape(flowType));
}

TZORFlow* TZORFactory::AddFlow(
    TZORBaseLabel& label, float x, float y, float w, float h, TZORFlowType flowType)
{
    return Place<TZORFlow, ldCPBF>(label, Box(label, x, y, w, h), FlowShape(flowType));
}

TZORLink* TZORFactory::AddBaseLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
    int16_t toIndex, TZORinkType linkType)
{
    return Join(
        label, std::make_unique<TZORLink>(&label, false), {}, fromID, toID, fromIndex, toIndex, linkType);
}

TZORLink* TZORFactory::AddBasePolyLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
    int16_t toIndex, TZORinkType linkType, std::span<const int64_t> coords)
{
    return PolyLink(label, fromID, toID, fromIndex, toIndex, linkType, coords);
}

TZORLink* TZORFactory::AddPolyLink(TZORBaseLabel& label, int32_t fromID, int32_t toID, int16_t fromIndex,
    int16_t toIndex, TZORinkType linkType, std::span<const float> coords)
{
    return PolyLink(label, fromID, toID, fromIndex, toIndex, linkType, coords);
}

TZORLink* TZORFactory::AddLink(TZORBaseLabel& label, const QString& fromName, const QString& toName,
    int16_t fromIndex, int16_t toIndex, TZORinkType linkType)
{
    const TLinkEnd from = FindEnd(label, fromName);
    if (from.ID <= 0)
        return nullptr;
    const TLinkEnd to = FindEnd(label, toName);
    if (to.ID <= 0)
        return nullptr;
    return AddBaseLink(
        label, from.ID, to.ID, Shifted(fromIndex, from.Offset), Shifted(toIndex, to.Offset), linkType);
}

TZORTable* TZORFactory::AddBaseTable(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORTable, ldCPB>(label, Box(label, x, y, w, h));
}

TZORTable* TZORFactory::AddTable(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORTable, ldCPB>(label, Box(label, x, y, w, h));
}

TZORPolyText* TZORFactory::AddBasePolyText(TZORBaseLabel& label, int64_t x, int64_t y)
{
    return Place<TZORPolyText, ldColor>(label, Two(label, x, y, x, y));
}

TZORPolyText* TZORFactory::AddPolyText(TZORBaseLabel& label, float x, float y)
{
    return Place<TZORPolyText, ldColor>(label, One(label, x, y));
}

TZORRank* TZORFactory::AddBaseRank(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORRank, ldCPB>(label, Box(label, x, y, w, h));
}

TZORRank* TZORFactory::AddRank(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORRank, ldCPB>(label, Box(label, x, y, w, h));
}

TZORNutriScore* TZORFactory::AddBaseNutriScore(
    TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h)
{
    return Place<TZORNutriScore, ldCPB>(label, Box(label, x, y, w, h));
}

TZORNutriScore* TZORFactory::AddNutriScore(TZORBaseLabel& label, float x, float y, float w, float h)
{
    return Place<TZORNutriScore, ldCPB>(label, Box(label, x, y, w, h));
}

TZORSymbol* TZORFactory::AddBaseSymbol(TZORBaseLabel& label, int64_t x, int64_t y)
{
    return Symbol(label, At(label, x, y));
}

TZORSymbol* TZORFactory::AddSymbol(TZORBaseLabel& label, float x, float y)
{
    return Symbol(label, At(label, x, y));
}

TZORSymbol* TZORFactory::AddSymbol(
    TZORBaseLabel& label, float x, float y, const QString& library, const QString& name)
{
    return dynamic_cast<TZORSymbol*>(label.AddSymbol(x, y, library, name));
}

// --- Dimensions ---

TZORDim* TZORFactory::AddBaseDim(
    TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3)
{
    std::array<TZORPto, 6> derived;
    const TZRDimType type = TZORBaseDim::CalcDimPoints(&label, x1, y1, x2, y2, x3, y3, derived);
    const std::array<TZORPto, 8> points { TZORPto { x1, y1 }, TZORPto { x2, y2 }, derived[0], derived[1],
        derived[2], derived[3], derived[4], derived[5] };
    return Dim(label, type, points);
}

TZORDim* TZORFactory::AddDim(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3, float y3)
{
    return AddBaseDim(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2),
        Base(label, x3), Base(label, y3));
}

TZORDim* TZORFactory::AddBaseDimAngle(TZORBaseLabel& label, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
    int64_t x3, int64_t y3, int64_t x4, int64_t y4, int64_t x5, int64_t y5)
{
    QPointF meet;
    if (!TDraw2D::IntersectLines(double(x1), double(y1), double(x2), double(y2), double(x3), double(y3),
            double(x4), double(y4), false, false, meet))
        return nullptr;
    const int64_t cx = zor::Round(meet.x()), cy = zor::Round(meet.y());
    const double toX = double(x5) - double(cx), toY = double(y5) - double(cy);
    const double ref = TDraw2D::NormalizeAngle(std::atan2(toY, toX));
    const double a1 = Facing(x1, y1, x2, y2, toX, toY);
    const double a2 = Facing(x3, y3, x4, y4, toX, toY);
    // The arc runs clockwise from line 1 to line 2 when that sweep takes in the arc's point,
    // and from line 2 to line 1 otherwise.
    const auto turn = [](double a) { return a < 0.0 ? a + 2.0 * std::numbers::pi : a; };
    const bool inside = turn(a2 - a1) >= turn(ref - a1);
    const double start = inside ? a1 : a2, end = inside ? a2 : a1;
    const double r = std::max(std::hypot(toX, toY), 1.0);
    const std::array<TZORPto, 8> points { TZORPto { x1, y1 }, TZORPto { x2, y2 }, TZORPto { x3, y3 },
        TZORPto { x4, y4 }, Polar(cx, cy, r, start), Polar(cx, cy, r, end), Polar(cx, cy, r, ref),
        TZORPto { x5, y5 } };
    return Dim(label, TZRDimType::Angle, points);
}

TZORDim* TZORFactory::AddDimAngle(TZORBaseLabel& label, float x1, float y1, float x2, float y2, float x3,
    float y3, float x4, float y4, float x5, float y5)
{
    return AddBaseDimAngle(label, Base(label, x1), Base(label, y1), Base(label, x2), Base(label, y2),
        Base(label, x3), Base(label, y3), Base(label, x4), Base(label, y4), Base(label, x5), Base(label, y5));
}

TZORDim* TZORFactory::AddBaseDimRadial1(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle)
{
    return Radial(label, TZRDimType::Radius, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddBaseDimRadial2(TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle)
{
    return Radial(label, TZRDimType::RadiusOut, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddBaseDimDiameter1(
    TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle)
{
    return Radial(label, TZRDimType::Diameter, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddBaseDimDiameter2(
    TZORBaseLabel& label, int64_t cx, int64_t cy, int64_t r, float angle)
{
    return Radial(label, TZRDimType::DiameterOut, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddDimRadial1(TZORBaseLabel& label, float cx, float cy, float r, float angle)
{
    return RadialUnits(label, TZRDimType::Radius, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddDimRadial2(TZORBaseLabel& label, float cx, float cy, float r, float angle)
{
    return RadialUnits(label, TZRDimType::RadiusOut, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddDimDiameter1(TZORBaseLabel& label, float cx, float cy, float r, float angle)
{
    return RadialUnits(label, TZRDimType::Diameter, cx, cy, r, angle);
}

TZORDim* TZORFactory::AddDimDiameter2(TZORBaseLabel& label, float cx, float cy, float r, float angle)
{
    return RadialUnits(label, TZRDimType::DiameterOut, cx, cy, r, angle);
}

// --- Resolution ---

void TZORFactory::SetDPI(int32_t x, int32_t y)
{
    fDPIX.store(x, std::memory_order_relaxed);
    fDPIY.store(y, std::memory_order_relaxed);
}

// --- Layer defaults ---

namespace {

template <uint8_t D, class T> void Take(const TZORBaseLabel& label, TZORBaseItem& item)
{
    if (auto* e = dynamic_cast<T*>(&item))
        TakeLayer<D>(label, *e);
}

} // namespace

void TZORFactory::TakeLayerDefaults(const TZORBaseLabel& label, TZORBaseItem& item)
{
    switch (item.TypeCode()) {
    case TZORItemType::Point:
        return Take<ldColor, TZORPoint>(label, item);
    case TZORItemType::Line:
        return Take<ldCP, TZORLine>(label, item);
    case TZORItemType::ArrowLine:
        return Take<ldCP, TZORArrowLine>(label, item);
    case TZORItemType::PolyLine:
        return Take<ldCP, TZORPolyLine>(label, item);
    case TZORItemType::Arc:
        return Take<ldCP, TZORArc>(label, item);
    case TZORItemType::Bezier:
        return Take<ldCP, TZORBezier>(label, item);
    case TZORItemType::Dim:
        return Take<ldCP, TZORDim>(label, item);
    case TZORItemType::Image:
        return Take<ldCP, TZORImage>(label, item);
    case TZORItemType::Link:
        return Take<ldCP, TZORLink>(label, item);
    case TZORItemType::Rectangle:
        return Take<ldCPB, TZORRectangle>(label, item);
    case TZORItemType::Polygon:
        return Take<ldCPB, TZORPolygon>(label, item);
    case TZORItemType::Circle:
        return Take<ldCPB, TZORCircle>(label, item);
    case TZORItemType::Ellipse:
        return Take<ldCPB, TZOREllipse>(label, item);
    case TZORItemType::Sector:
        return Take<ldCPB, TZORSector>(label, item);
    case TZORItemType::Level:
        return Take<ldCPB, TZORLevel>(label, item);
    case TZORItemType::Table:
        return Take<ldCPB, TZORTable>(label, item);
    case TZORItemType::Rank:
        return Take<ldCPB, TZORRank>(label, item);
    case TZORItemType::NutriScore:
        return Take<ldCPB, TZORNutriScore>(label, item);
    case TZORItemType::Package:
        return Take<ldCPB | ldFontColor, TZORPackage>(label, item);
    case TZORItemType::Text:
        return Take<ldColor | ldFont, TZORText>(label, item);
    case TZORItemType::Paragraph:
        return Take<ldCPBF, TZORParagraph>(label, item);
    case TZORItemType::RichText:
        return Take<ldCPBF, TZORRichText>(label, item);
    case TZORItemType::Flow:
        return Take<ldCPBF, TZORFlow>(label, item);
    case TZORItemType::Barcode:
        return Take<ldColor | ldFontFace, TZORBarcode>(label, item);
    case TZORItemType::PDF417:
        return Take<ldColor, TZORPDF417>(label, item);
    case TZORItemType::DataMatrix:
        return Take<ldColor, TZORDataMatrix>(label, item);
    case TZORItemType::QRCode:
        return Take<ldColor, TZORQRCode>(label, item);
    case TZORItemType::PolyText:
        return Take<ldColor, TZORPolyText>(label, item);
    default:
        return; // a symbol takes nothing
    }
}
