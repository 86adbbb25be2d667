#pragma once

#include "Zor.RtlExport.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

// Shared types of the label model: the enumerations that files, the drawing layer and the
// views exchange as ordinals, the two colour forms, and the point and rectangle records.
// Every enumeration is one byte wide so that a value read from a file outside the named
// range can be held (and dealt with by its user) instead of being undefined.

class TZORBaseDraw;

namespace zor {

template <class E> constexpr std::underlying_type_t<E> Ord(E e) noexcept
{
    return static_cast<std::underlying_type_t<E>>(e);
}

} // namespace zor

// Who paints: the renderers branch on it. Design view (1) behaves like the editor (0).
enum class TZORDrawState : uint8_t {
    Editor = 0,
    Design = 1,
    Preview = 2,
    Export = 3,
    Printer = 4,
    Library = 5
};

// Selection state of an item as the editor shows it; 1 and 2 draw with fixed dash patterns.
enum class TZORItemState : uint8_t { Normal = 0, Selected = 1, Marked = 2 };

// Line types, named after their dash pattern in pen-length units (dash, gap, ...).
enum class TZORineType : uint8_t {
    Solid = 0,
    Dot = 1, // 0.5, 0.5
    Dash1_1 = 2,
    Dash2_1 = 3,
    Dash1_2 = 4,
    Dash2_2 = 5,
    Dash3_1 = 6,
    Dash3_3 = 7,
    Dash4_1 = 8,
    Dash4_2 = 9,
    Dash4_4 = 10,
    DashDot = 11 // 4, 1, 1, 1
};

// Line-end symbols; 12 and above are kept as read and draw nothing.
enum class TZORTermType : uint8_t {
    None = 0,
    Circle = 1,
    FilledCircle = 2,
    OpenArrow = 3,
    FilledArrow = 4,
    Square = 5,
    FilledSquare = 6,
    Diamond = 7,
    FilledDiamond = 8,
    FallingTick = 9,
    RisingTick = 10,
    Cross = 11
};

// Justify (3) is a paragraph alignment; a single line is placed as if centred.
enum class TZORHorzAlign : uint8_t { Left = 0, Center = 1, Right = 2, Justify = 3 };
enum class TZORVertAlign : uint8_t { Top = 0, Center = 1, Bottom = 2 };

enum class TZORUnits : uint8_t {
    Millimetre = 0,
    Inch = 1,
    Centimetre = 2,
    Decimetre = 3,
    Metre = 4,
    Foot = 5,
    Yard = 6
};
enum class TZORExt : uint8_t { Binary = 0, Json = 1 };
enum class TZORExport : uint8_t { PDF = 0, XPS = 1, BMP = 2, PNG = 3, GIF = 4, JPEG = 5 };
enum class TZORReadType : uint8_t { Load = 0, Paste = 1, SheetCopy = 2 };

// Quarter turns, counter-clockwise as seen on the page. Only the two low bits count.
enum class TZORAngle : uint8_t { Angle0 = 0, Angle90 = 1, Angle180 = 2, Angle270 = 3 };

// Element type codes shared by the binary and the JSON label forms.
enum class TZORItemType : uint8_t {
    Point = 1,
    Line,
    ArrowLine,
    PolyLine,
    Arc,
    Rectangle,
    Polygon,
    Circle,
    Ellipse,
    Text,
    Paragraph,
    Barcode,
    PDF417,
    DataMatrix,
    QRCode,
    Image,
    Flow,
    Link,
    Table,
    PolyText,
    Rank,
    NutriScore,
    Level,
    Symbol,
    Bezier,
    Dim,
    Sector,
    Package,
    RichText
};

namespace zor {

// Index 0 belongs to code 1.
inline constexpr std::array<std::string_view, 29> ItemTypeNames = { "Point", "Line", "ArrowLine", "PolyLine",
    "Arc", "Rectangle", "Polygon", "Circle", "Ellipse", "Text", "Paragraph", "Barcode", "PDF417",
    "DataMatrix", "QRCode", "Image", "Flow", "Link", "Table", "PolyText", "Rank", "NutriScore", "Level",
    "Symbol", "Bezier", "Dim", "Sector", "Package", "RichText" };

// Codes come from files as 32-bit integers (or JSON numbers): check before casting.
constexpr bool IsItemType(int64_t code) noexcept
{
    return code >= 1 && code <= static_cast<int64_t>(ItemTypeNames.size());
}

// Empty for a value that is not a kind.
constexpr std::string_view ItemTypeName(TZORItemType type) noexcept
{
    return IsItemType(Ord(type)) ? ItemTypeNames[Ord(type) - 1] : std::string_view {};
}

// The framework colour (00BBGGRR, red in the lowest byte) and the model's alpha colour
// (AARRGGBB). Two distinct types, so that a red framework colour can never reach a painter
// as blue. A framework colour with its high byte set names a system colour; the drawing
// layer resolves those against the palette before converting.
enum class TColor : uint32_t {};
enum class TAlphaColor : uint32_t {};

constexpr bool IsSystemColor(TColor c) noexcept
{
    return (zor::Ord(c) >> 24) != 0;
}

// The high byte of the framework colour is ignored: resolve system colours first.
constexpr TAlphaColor ColorToAlphaColor(TColor c, uint8_t alpha = 0xFF) noexcept
{
    const uint32_t v = zor::Ord(c);
    const uint32_t r = v & 0xFF, g = (v >> 8) & 0xFF, b = (v >> 16) & 0xFF;
    return TAlphaColor { (uint32_t { alpha } << 24) | (r << 16) | (g << 8) | b };
}

// The alpha channel is dropped.
constexpr TColor AlphaColorToColor(TAlphaColor c) noexcept
{
    const uint32_t v = zor::Ord(c);
    const uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
    return TColor { r | (g << 8) | (b << 16) };
}

} // namespace zor

// Outline of a flowchart node; the value decides how wide a text line may be at its height.
// Values beyond 14 are kept as read and lay out like a plain box.
enum class TZORFlowType : uint8_t {
    Terminal = 0,
    Process = 1,
    Document = 2,
    MultiDocument = 3,
    Decision = 4,
    InputOutput = 5,
    Database = 6,
    Link = 7,
    ManualInput = 8,
    ManualOperation = 9,
    Preparation = 10,
    Connector = 11,
    StartEnd = 12,
    Subroutine = 13,
    LoopStop = 14
};

namespace zor {

// Alpha colours the model uses as defaults.
inline constexpr TAlphaColor claBlack { 0xFF000000u };
inline constexpr TAlphaColor claWhite { 0xFFFFFFFFu };
inline constexpr TAlphaColor claGray { 0xFF808080u };

} // namespace zor

// A point of the model in base units (micrometres). The projections give device pixels
// relative to the context's origin; callers add the origin of their target.
struct QUINDLE_RTL_EXPORT TZORPto {
    int64_t X = 0;
    int64_t Y = 0;

    void Define(double x, double y, TZORUnits units);
    void DefineBase(int64_t x, int64_t y)
    {
        X = x;
        Y = y;
    }

    double DrawX(const TZORBaseDraw& D) const;
    double DrawY(const TZORBaseDraw& D) const;
    // Round of DrawX/DrawY, so that printed and drawn positions never part by a pixel.
    int PrintX(const TZORBaseDraw& D) const;
    int PrintY(const TZORBaseDraw& D) const;
    // The projection of the point moved by gap base units along the axis.
    double DrawGapX(int64_t gap, const TZORBaseDraw& D) const;
    double DrawGapY(int64_t gap, const TZORBaseDraw& D) const;

    friend bool operator==(const TZORPto&, const TZORPto&) = default;
};

// A rectangle in base units. Right and Bottom are edges, not the last unit inside, so an
// empty rectangle has Left == Right or Top == Bottom.
struct QUINDLE_RTL_EXPORT TZORRect {
    int64_t Left = 0;
    int64_t Top = 0;
    int64_t Right = 0;
    int64_t Bottom = 0;

    int64_t GetWidth() const { return Right - Left; }
    int64_t GetHeight() const { return Bottom - Top; }

    TZORRect Normalized() const;
    bool IsEmpty() const;
    // Edges count as inside; a rectangle with swapped corners answers as its normal form.
    bool Contains(int64_t x, int64_t y) const;
    bool Contains(const TZORPto& p) const { return Contains(p.X, p.Y); }
    // The box around both, empty ones included: bounds of single points must grow too.
    TZORRect United(const TZORRect& other) const;

    friend bool operator==(const TZORRect&, const TZORRect&) = default;
};

// One laid-out line of a text: the characters it holds and where its cell starts.
struct QUINDLE_RTL_EXPORT TZORTxtInf {
    int32_t start = 0; // 1-based index of the line's first UTF-16 code unit in the text
    int32_t count = 0; // code units of the line, its line-break characters and end spaces included
    int64_t x = 0; // left edge in the box's coordinate system
    int64_t y = 0; // top of the line's cell

    friend bool operator==(const TZORTxtInf&, const TZORTxtInf&) = default;
};

namespace zor {

using TxtLines = std::vector<TZORTxtInf>;

} // namespace zor
