#include "Zor.Barcode.h"
#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Shared.Barcode.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using zor::AdjustLineType;
using zor::DrawBarcode;
using zor::MakeColor;
using zor::Ord;
using zor::PrintBarcode;
using zor::TA_BASELINE;
using zor::TA_CENTER;
using zor::TA_LEFT;
using zor::tagXFORM;
using zor::TAlphaColor;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TColor;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TSkCanvas;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;

namespace {

using zor::test::InkBounds;
using zor::test::InkCount;
using zor::test::PixelRun;

constexpr TAlphaColor Black { 0xFF000000 };

// A barcode as an element would hand it over, encoded by the model's encoder.
class TTestBarcode : public IZORBarcode {
public:
    TTestBarcode(TZORBarType type, const QByteArray& text, bool addCheck = false)
        : fType(type)
    {
        Code = TZORBarEncoder::PrepareBarcode(text, type, addCheck, false, fAutoType);
        EXPECT_FALSE(Code.isEmpty()) << "cannot encode " << text.constData();
        Encode();
    }

    // The guard bars of EAN and UPC depend on whether the number is shown.
    void SetShowNumber(bool show)
    {
        ShowNumber = show;
        Encode();
    }
    // The symbol's length in base units at a drawing scale.
    int64_t Length(int scale = 1) const
    {
        return TZORBarEncoder::BarCodeWidth(Pattern, BarWidth, Factor) * scale;
    }

    float BarWidth = 2 * 25.4f / 96; // two pixels on a 96 dpi screen
    float BarHeight = 15.0f;
    float PaddingX = 0.0f;
    float PaddingY = 0.0f;
    float Factor = 3.0f;
    TZORHorzAlign Align = TZORHorzAlign::Center;
    TZORAngle Angle = TZORAngle::Angle0;
    float FontHeight = 3.0f;
    bool ShowNumber = true;
    QByteArray Code;
    QByteArray Pattern;

    float GetBarWidth() const override { return BarWidth; }
    float GetBarHeight() const override { return BarHeight; }
    float GetPaddingX() const override { return PaddingX; }
    float GetPaddingY() const override { return PaddingY; }
    float GetFactor() const override { return Factor; }
    TZORHorzAlign GetHorzAlign() const override { return Align; }
    TZORAngle GetAngle() const override { return Angle; }
    float GetFontHeight() const override { return FontHeight; }
    bool GetShowNumber() const override { return ShowNumber; }
    TZORBarType GetBarType() const override { return fType; }
    QByteArray GetAnsiCode() const override { return Code; }
    QByteArray GetBarPattern() const override { return Pattern; }
    QString GetFontName() const override { return QStringLiteral("Arial"); }

private:
    void Encode() { Pattern = TZORBarEncoder::FillBarPattern(Code, fType, fAutoType, ShowNumber); }

    TZORBarType fType;
    TZOR128AutoType fAutoType = TZOR128AutoType::None;
};

// Full bars only, with the number shown: the text line holds nothing but the digits.
void ClearTextLine(TTestBarcode& barcode)
{
    barcode.SetShowNumber(false);
    barcode.ShowNumber = true;
}

enum class TTarget { Screen, Print };

const char* Name(TTarget target)
{
    return target == TTarget::Screen ? "screen" : "print";
}

// The page a symbol is drawn on: its size and the element's reference point in millimetres.
struct TPage {
    double Width = 120.0;
    double Height = 120.0;
    QPointF Reference { 60.0, 60.0 };
    int Scale = 1;
    double FontFactor = 1.0;
};

TZORPto Position(const TPage& page)
{
    TZORPto p;
    p.DefineBase(zor::Round(page.Reference.x() * 1000 * page.Scale),
        zor::Round(page.Reference.y() * 1000 * page.Scale));
    return p;
}

QSize Pixels(const TPage& page, int dpi)
{
    return QSize(static_cast<int>(std::lround(page.Width * dpi / 25.4)),
        static_cast<int>(std::lround(page.Height * dpi / 25.4)));
}

// The element's box: its length lies along the width upright and along the height turned; the
// other side is given a different length, which must not be read.
void ScreenOn(QPainter& painter, const TTestBarcode& barcode, int dpi, const TPage& page)
{
    TZORDraw D;
    D.SetupEditor(std::make_shared<TSkCanvas>(painter), dpi, 1.0f, page.Scale, false, false);
    const int64_t length = barcode.Length(page.Scale);
    const bool upright = zor::Ord(barcode.Angle) % 2 == 0;
    DrawBarcode(D, barcode, Position(page), Black, static_cast<int32_t>(upright ? length : 3 * length),
        static_cast<int32_t>(upright ? 3 * length : length), page.FontFactor);
}

void PrintOn(QPainter& painter, const TTestBarcode& barcode, int dpi, const TPage& page)
{
    TCanvas canvas(painter);
    TGPGraphics g(painter);
    TGPPen pen(MakeColor(255, 0, 0, 0));
    TGPSolidBrush brush(MakeColor(255, 255, 255, 255));
    TZORDraw D;
    const QSize size = Pixels(page, dpi);
    D.SetupPrint(
        &canvas, &g, &pen, &brush, dpi, dpi, size.width(), size.height(), page.Scale, TZORUnits::Millimetre);
    PrintBarcode(D, barcode, Position(page), Black, static_cast<int32_t>(barcode.Length(page.Scale)), 0,
        page.FontFactor, barcode.Code, barcode.Pattern);
}

QImage Render(TTarget target, const TTestBarcode& barcode, int dpi, const TPage& page = {})
{
    QImage image(Pixels(page, dpi), QImage::Format_ARGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    if (target == TTarget::Screen)
        ScreenOn(painter, barcode, dpi, page);
    else
        PrintOn(painter, barcode, dpi, page);
    return image;
}

// The resolutions each path is tried at: the screen at its own, the printer at 300 dpi.
struct TPath {
    TTarget Target;
    int Dpi;
};
constexpr TPath Paths[] = { { TTarget::Screen, 96 }, { TTarget::Print, 300 } };

double PixelsPerMM(int dpi)
{
    return dpi / 25.4;
}

// A rectangle of the symbol's frame (u along, v across, from the reference point) on the
// device: turned counter-clockwise by quarter turns about the reference point.
QRectF FrameToDevice(const QRectF& frame, const QPointF& reference, int turns)
{
    const auto turn = [turns](QPointF p) {
        for (int k = 0; k < turns; ++k)
            p = QPointF(p.y(), -p.x());
        return p;
    };
    return QRectF(turn(frame.topLeft()), turn(frame.bottomRight())).normalized().translated(reference);
}

::testing::AssertionResult Near(const QRect& ink, const QRectF& expected, double tolerance)
{
    const bool ok = std::abs(ink.left() - expected.left()) <= tolerance
        && std::abs(ink.top() - expected.top()) <= tolerance
        && std::abs(ink.x() + ink.width() - expected.right()) <= tolerance
        && std::abs(ink.y() + ink.height() - expected.bottom()) <= tolerance;
    auto result = ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure();
    return result << "ink (" << ink.left() << ", " << ink.top() << ") - (" << ink.x() + ink.width() << ", "
                  << ink.y() + ink.height() << "), expected (" << expected.left() << ", " << expected.top()
                  << ") - (" << expected.right() << ", " << expected.bottom() << ")";
}

struct TReadable {
    TZORBarType type;
    QByteArray code;
    ZXing::BarcodeFormat format;
    QString text;
};

// Every symbology a scanner reads, at every quarter turn, on the screen and on paper.
TEST(BarcodeDrawing, EveryReadableSymbologyDecodesAtEveryAngleOnBothPaths)
{
    const TReadable table[] = {
        { TZORBarType::EAN13, "400638133393", ZXing::BarcodeFormat::EAN13, "4006381333931" },
        { TZORBarType::EAN8, "9638507", ZXing::BarcodeFormat::EAN8, "96385074" },
        { TZORBarType::UPCA, "03600029145", ZXing::BarcodeFormat::UPCA, "036000291452" },
        { TZORBarType::UPCE, "0425261", ZXing::BarcodeFormat::UPCE, "04252614" },
        { TZORBarType::Code128, "Quindle-128", ZXing::BarcodeFormat::Code128, "Quindle-128" },
        { TZORBarType::Code39, "CODE-39", ZXing::BarcodeFormat::Code39, "CODE-39" },
        { TZORBarType::Code93, "CODE 93", ZXing::BarcodeFormat::Code93, "CODE 93" },
        { TZORBarType::Codabar, "A40156B", ZXing::BarcodeFormat::Codabar, "40156" },
        { TZORBarType::Interleaved2of5, "12345670", ZXing::BarcodeFormat::ITF, "12345670" },
    };
    const TPath paths[] = { { TTarget::Screen, 96 }, { TTarget::Screen, 200 }, { TTarget::Print, 300 } };
    for (const TReadable& row : table) {
        TTestBarcode barcode(row.type, row.code);
        for (const TPath& path : paths) {
            for (uint8_t angle = 0; angle < 4; ++angle) {
                SCOPED_TRACE(::testing::Message()
                    << ZXing::ToString(row.format) << ", " << Name(path.Target) << " at " << path.Dpi
                    << " dpi, " << angle * 90 << " degrees");
                barcode.Angle = TZORAngle { angle };
                const QImage image = Render(path.Target, barcode, path.Dpi);
                // Read from the symbol with a quiet zone of its own: zxing-cpp 1.4 trips over EAN
                // symbols on a large empty page (its issue 740).
                const std::optional<zor::test::Decoded> read = zor::test::DecodeOne(image,
                    { .formats = row.format, .crop = InkBounds(image), .quietZone = 12 * path.Dpi / 96 });
                ASSERT_TRUE(read);
                EXPECT_EQ(read->text, row.text);
            }
        }
    }
}

// Ink runs along a row across the symbol, from the first ink to the last.
std::vector<int> InkAndGaps(const QImage& image, int y)
{
    std::vector<PixelRun> runs = zor::test::RowRuns(image, y);
    while (!runs.empty() && !runs.front().ink)
        runs.erase(runs.begin());
    while (!runs.empty() && !runs.back().ink)
        runs.pop_back();
    std::vector<int> lengths;
    for (const PixelRun& run : runs)
        lengths.push_back(run.length);
    return lengths;
}

// Run lengths of a module row ('1' bar, '0' space) at `module` pixels a module.
std::vector<int> ModuleRuns(const QByteArray& row, int module)
{
    const qsizetype first = row.indexOf('1'), last = row.lastIndexOf('1');
    std::vector<int> lengths;
    for (qsizetype i = first; i >= 0 && i <= last; ++i) {
        if (i == first || row[i] != row[i - 1])
            lengths.push_back(0);
        lengths.back() += module;
    }
    return lengths;
}

// The narrowest run of more than one module: libzint's wide element.
float WideModules(const QByteArray& row)
{
    int wide = 0, run = 0;
    for (qsizetype i = 0; i <= row.size(); ++i) {
        if (i < row.size() && i > 0 && row[i] == row[i - 1]) {
            ++run;
            continue;
        }
        if (run > 1 && (wide == 0 || run < wide))
            wide = run;
        run = 1;
    }
    return static_cast<float>(wide > 0 ? wide : 1);
}

::testing::AssertionResult SameRuns(const std::vector<int>& drawn, const std::vector<int>& zint)
{
    bool same = drawn.size() == zint.size();
    for (size_t i = 0; same && i < drawn.size(); ++i)
        same = std::abs(drawn[i] - zint[i]) <= 1;
    if (same)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "drawn";
    for (int r : drawn)
        failure << ' ' << r;
    failure << "\n   zint";
    for (int r : zint)
        failure << ' ' << r;
    return failure;
}

// Codes no scanner library here reads are compared with libzint's own modules: the drawn runs,
// with the width factor set to libzint's wide element, are its module runs pixel for pixel.
// PostNet is read at two heights: through the tall bars only, and through the band all bars fill.
TEST(BarcodeDrawing, CodesWithoutAReaderDrawLibzintsModules)
{
    const struct {
        TZORBarType type;
        QByteArray code;
        bool addCheck;
    } table[] = {
        { TZORBarType::Code11, "123-45", true },
        { TZORBarType::Code11, "0-9", false },
        { TZORBarType::MSI, "80523", true },
        { TZORBarType::Matrix2of5, "1234", false },
        { TZORBarType::PostNet, "12345", false },
        { TZORBarType::PostNet, "555551237", false },
    };
    for (const auto& row : table) {
        for (const TPath& path : Paths) {
            SCOPED_TRACE(::testing::Message() << row.code.constData() << ", " << Name(path.Target));
            TTestBarcode barcode(row.type, row.code, row.addCheck);
            TZOR128AutoType autoType;
            const QByteArray prepared
                = TZORBarEncoder::PrepareBarcode(row.code, row.type, row.addCheck, false, autoType);
            const std::vector<QByteArray> modules = TZORBarEncoder::ModuleRows(prepared, row.type, autoType);
            ASSERT_FALSE(modules.empty());
            const int module = path.Dpi == 96 ? 2 : 6;
            barcode.BarWidth = static_cast<float>(module / PixelsPerMM(path.Dpi));
            barcode.Factor = WideModules(modules.front());
            barcode.BarHeight = 8.0f;
            barcode.Align = TZORHorzAlign::Left;
            barcode.SetShowNumber(false);
            const TPage page { .Width = 140, .Height = 30, .Reference = { 5, 5 } };
            const QImage image = Render(path.Target, barcode, path.Dpi, page);
            zor::test::SaveOnFailure keep(
                image, QStringLiteral("%1-%2").arg(Name(path.Target)).arg(zor::Ord(row.type)));
            const double top = 5 * PixelsPerMM(path.Dpi), height = 8 * PixelsPerMM(path.Dpi);
            // Above the top two fifths only full bars stand; near the end of the bars every bar.
            const int tall = static_cast<int>(top + height * 0.3),
                      band = static_cast<int>(top + height * 0.8);
            EXPECT_TRUE(SameRuns(InkAndGaps(image, tall), ModuleRuns(modules.front(), module)));
            EXPECT_TRUE(SameRuns(InkAndGaps(image, band), ModuleRuns(modules.back(), module)));
        }
    }
}

// Left, centre and right alignment move the symbol back along its length by 0, L/2 and L; the
// paddings move it along and across; the frame turns about the reference point with both. At
// 90 degrees a left-aligned symbol starts at the height of the reference point moved up by the
// padding and its bars reach to the right.
TEST(BarcodeDrawing, AlignmentPaddingAndTurnPlaceTheBarsAboutTheReferencePoint)
{
    for (const TPath& path : Paths) {
        for (uint8_t angle = 0; angle < 4; ++angle) {
            for (TZORHorzAlign align : { TZORHorzAlign::Left, TZORHorzAlign::Center, TZORHorzAlign::Right }) {
                SCOPED_TRACE(::testing::Message() << Name(path.Target) << ", " << angle * 90
                                                  << " degrees, alignment " << int(zor::Ord(align)));
                TTestBarcode barcode(TZORBarType::Code128, "ABC");
                barcode.SetShowNumber(false);
                barcode.Angle = TZORAngle { angle };
                barcode.Align = align;
                barcode.PaddingX = 2.0f;
                barcode.PaddingY = 1.0f;
                barcode.BarHeight = 10.0f;
                const double px = PixelsPerMM(path.Dpi);
                const double length = barcode.Length() / 1000.0 * px;
                const double shift = align == TZORHorzAlign::Left ? 0
                    : align == TZORHorzAlign::Center              ? length / 2
                                                                  : length;
                const QRectF frame(2 * px - shift, 1 * px, length, 10 * px);
                const QRectF expected = FrameToDevice(frame, QPointF(60, 60) * px, angle);
                const QImage image = Render(path.Target, barcode, path.Dpi);
                // Paper shifts by whole pixels.
                EXPECT_TRUE(Near(InkBounds(image), expected, path.Target == TTarget::Screen ? 1.0 : 1.5));
            }
        }
    }
}

// The text stands on the side the bars end: under them upright, right of them at 90 degrees,
// above them at 180 and left of them at 270.
TEST(BarcodeDrawing, TheTextTurnsWithTheSymbol)
{
    for (const TPath& path : Paths) {
        for (uint8_t angle = 0; angle < 4; ++angle) {
            SCOPED_TRACE(::testing::Message() << Name(path.Target) << ", " << angle * 90 << " degrees");
            TTestBarcode barcode(TZORBarType::Code128, "Quindle");
            barcode.Angle = TZORAngle { angle };
            const double px = PixelsPerMM(path.Dpi);
            const QRectF bars = FrameToDevice(
                QRectF(-barcode.Length() / 2000.0 * px, 0, barcode.Length() / 1000.0 * px, 15 * px),
                QPointF(60, 60) * px, angle);
            const QRect ink = InkBounds(Render(path.Target, barcode, path.Dpi));
            const double text = 2.0 * px; // at least two thirds of the 3 mm font
            const double grows[4] = { ink.y() + ink.height() - bars.bottom(),
                ink.x() + ink.width() - bars.right(), bars.top() - ink.top(), bars.left() - ink.left() };
            for (int side = 0; side < 4; ++side) {
                if (side == angle)
                    EXPECT_GT(grows[side], text) << "side " << side;
                else
                    EXPECT_NEAR(grows[side], 0.0, 1.0) << "side " << side;
            }
        }
    }
}

// The same symbol drawn and printed at the same resolution covers the same pixels, at
// drawing scales 1 and 50.
TEST(BarcodeDrawing, ScreenAndPaperAgreeAtTheSameResolution)
{
    for (int scale : { 1, 50 }) {
        for (uint8_t angle = 0; angle < 4; ++angle) {
            SCOPED_TRACE(::testing::Message() << "scale " << scale << ", " << angle * 90 << " degrees");
            TTestBarcode barcode(TZORBarType::EAN13, "400638133393");
            barcode.SetShowNumber(false);
            barcode.Angle = TZORAngle { angle };
            barcode.PaddingX = 1.5f;
            barcode.PaddingY = 0.7f;
            const TPage page { .Scale = scale };
            const QImage screen = Render(TTarget::Screen, barcode, 300, page);
            const QImage paper = Render(TTarget::Print, barcode, 300, page);
            const QRect a = InkBounds(screen), b = InkBounds(paper);
            EXPECT_TRUE(Near(a, QRectF(b.x(), b.y(), b.width(), b.height()), 1.0));
            EXPECT_GT(zor::test::InkIoU(screen, paper), 0.9);
        }
    }
}

// Words of a text band: the columns holding ink in rows [top, bottom), grouped where they touch
// or lie closer than `gap` pixels. Each word is its first and last column and its lowest row.
struct TWord {
    int Left;
    int Right;
    int Bottom;
    double Centre() const { return (Left + Right + 1) / 2.0; }
};

std::vector<TWord> Words(const QImage& image, int top, int bottom, int gap)
{
    std::vector<TWord> words;
    for (int x = 0; x < image.width(); ++x) {
        const QRect ink = InkBounds(image, {}, QRect(x, top, 1, bottom - top));
        if (ink.isNull())
            continue;
        if (words.empty() || x - words.back().Right > gap)
            words.push_back({ x, x, ink.bottom() });
        words.back().Right = x;
        words.back().Bottom = std::max(words.back().Bottom, ink.bottom());
    }
    return words;
}

struct TRetailCase {
    TZORBarType type;
    QByteArray code;
    std::vector<double> centres; // digit groups, modules from the first bar
    bool lead;
    bool trail;
};

const TRetailCase RetailCases[] = {
    { TZORBarType::EAN13, "400638133393", { 24, 71 }, true, false },
    { TZORBarType::EAN8, "9638507", { 17, 50 }, false, false },
    { TZORBarType::UPCA, "03600029145", { 27.5, 67.5 }, true, true },
    { TZORBarType::UPCE, "0425261", { 24 }, true, true },
};

// Under the bars of a retail code only digits are inked: the leading digit, the groups centred on their
// modules and the trailing digit, all on one baseline. On screen the leading digit stands one module clear of
// the first bar, on paper it touches the first bar's position.
TEST(BarcodeDrawing, RetailDigitsStandInTheirGroupsOnOneBaseline)
{
    for (const TPath& path : Paths) {
        for (const TRetailCase& row : RetailCases) {
            SCOPED_TRACE(::testing::Message() << Name(path.Target) << ", " << row.code.constData());
            TTestBarcode barcode(row.type, row.code);
            ClearTextLine(barcode);
            barcode.Align = TZORHorzAlign::Left;
            const double px = PixelsPerMM(path.Dpi), m = barcode.BarWidth * px;
            const double start = 30 * px, barsEnd = (30 + 15) * px;
            const TPage page { .Width = 100, .Height = 60, .Reference = { 30, 30 } };
            const QImage image = Render(path.Target, barcode, path.Dpi, page);
            zor::test::SaveOnFailure keep(
                image, QStringLiteral("%1-%2").arg(Name(path.Target)).arg(zor::Ord(row.type)));
            const std::vector<TWord> words = Words(image, static_cast<int>(barsEnd) + 1,
                static_cast<int>(barsEnd + 4 * px), static_cast<int>(2 * m));
            const size_t expected = row.centres.size() + row.lead + row.trail;
            ASSERT_EQ(words.size(), expected);
            size_t w = 0;
            if (row.lead) {
                const double gap = start - (words[0].Right + 1);
                if (path.Target == TTarget::Screen)
                    EXPECT_NEAR(gap, m, 1.5) << "leading digit";
                else
                    EXPECT_LT(gap, 0.5 * m) << "leading digit";
                ++w;
            }
            for (double centre : row.centres)
                EXPECT_NEAR(words[w++].Centre(), start + centre * m, m + 1) << "group at " << centre;
            if (row.trail) {
                EXPECT_GT(words[w].Left, start + barcode.Length() / 1000.0 * px) << "trailing digit";
            }
            for (const TWord& word : words)
                EXPECT_NEAR(word.Bottom, words[0].Bottom, 1.0) << "baseline";
        }
    }
}

// Guard bars reach three quarters of the font height below the normal bars; every other bar
// ends with the bar height. Each module of an EAN-13 is looked at down its middle.
TEST(BarcodeDrawing, GuardBarsReachIntoTheTextLine)
{
    const auto guard = [](int k) { return k < 3 || (k >= 45 && k < 50) || k >= 92; };
    for (const TPath& path : Paths) {
        SCOPED_TRACE(Name(path.Target));
        TTestBarcode barcode(TZORBarType::EAN13, "400638133393");
        barcode.Align = TZORHorzAlign::Left;
        const double px = PixelsPerMM(path.Dpi), m = barcode.BarWidth * px;
        const double top = 30 * px, normalEnd = (30 + 15) * px, guardEnd = normalEnd + 0.75 * 3 * px;
        const TPage page { .Width = 100, .Height = 60, .Reference = { 30, 30 } };
        const QImage image = Render(path.Target, barcode, path.Dpi, page);
        int guards = 0, normals = 0;
        for (int k = 0; k < 95; ++k) {
            const auto runs = zor::test::ColumnRuns(image, static_cast<int>(top + (k + 0.5) * m));
            const auto bar = std::find_if(runs.begin(), runs.end(), [](const PixelRun& r) { return r.ink; });
            if (bar == runs.end() || std::abs(bar->start - top) > 1.0)
                continue;
            (guard(k) ? guards : normals) += 1;
            EXPECT_NEAR(bar->start + bar->length, guard(k) ? guardEnd : normalEnd, 1.0) << "module " << k;
        }
        EXPECT_EQ(guards, 6);
        EXPECT_GT(normals, 30);
    }
}

// A code printed into a PDF document at 300 dpi: the digit groups are words at their places.
class BarcodePdf : public zor::test::TempDirTest { };

TEST_F(BarcodePdf, TheDigitGroupsOfAnEan13StandUnderTheirHalves)
{
    const QString path = Path(QStringLiteral("ean13.pdf"));
    TTestBarcode barcode(TZORBarType::EAN13, "400638133393");
    barcode.BarWidth = 0.33f;
    barcode.Align = TZORHorzAlign::Left;
    const TPage page { .Width = 80, .Height = 50, .Reference = { 20, 10 } };
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        writer.setPageSize(
            QPageSize(QSizeF(page.Width, page.Height), QPageSize::Millimeter, {}, QPageSize::ExactMatch));
        writer.setPageMargins({}, QPageLayout::Millimeter);
        QPainter painter(&writer);
        PrintOn(painter, barcode, 300, page);
    }
    const std::vector<zor::test::PdfWord> words = zor::test::PdfWords(path);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text, QStringLiteral("4"));
    EXPECT_EQ(words[1].text, QStringLiteral("006381"));
    EXPECT_EQ(words[2].text, QStringLiteral("333931"));
    const double pt = 72.0 / 25.4, start = 20 * pt, m = 0.33 * pt;
    EXPECT_NEAR(words[0].Rect().right(), start, 0.5 * m);
    EXPECT_NEAR(words[1].Rect().center().x(), start + 24 * m, 0.5 * m);
    EXPECT_NEAR(words[2].Rect().center().x(), start + 71 * m, 0.5 * m);
    for (const zor::test::PdfWord& word : words) {
        EXPECT_NEAR(word.y, words[0].y, 0.2) << word.text.toStdString();
        EXPECT_GT(word.y, (10 + 15 - 1) * pt) << word.text.toStdString(); // under the bars
    }
}

// A code text too short for its symbology is never read past its end: the screen writes five
// characters or fewer whole and centred, longer ones (and on paper all) in the groups they
// fill, with missing groups left out.
TEST(BarcodeDrawing, ShortRetailTextsAreWrittenWithoutReadingPastTheirEnd)
{
    for (const TRetailCase& row : RetailCases) {
        TTestBarcode barcode(row.type, row.code);
        ClearTextLine(barcode);
        const QByteArray full = barcode.Code;
        for (qsizetype n = 0; n < full.size(); ++n) {
            barcode.Code = full.left(n);
            for (const TPath& path : Paths) {
                SCOPED_TRACE(
                    ::testing::Message() << Name(path.Target) << ", \"" << barcode.Code.constData() << '"');
                const double px = PixelsPerMM(path.Dpi);
                const QImage image = Render(path.Target, barcode, path.Dpi);
                const QRect text(
                    0, static_cast<int>((60 + 15) * px) + 1, image.width(), static_cast<int>(4 * px));
                EXPECT_EQ(InkCount(image, {}, text) > 0, n > 0);
            }
        }
    }

    const struct {
        TTarget target;
        QByteArray code;
        std::vector<double> centres; // modules from the first bar; the element's centre is 47.5
    } placed[] = {
        { TTarget::Screen, "12345", { 47.5 } },
        { TTarget::Print, "12345", { 24 } }, // and the leading digit
        { TTarget::Screen, "4006381", { 24 } },
        { TTarget::Screen, "40063813", { 24, 71 } },
    };
    for (const auto& row : placed) {
        SCOPED_TRACE(::testing::Message() << Name(row.target) << ", \"" << row.code.constData() << '"');
        TTestBarcode barcode(TZORBarType::EAN13, "400638133393");
        ClearTextLine(barcode);
        barcode.Code = row.code;
        const int dpi = row.target == TTarget::Screen ? 96 : 300;
        const double px = PixelsPerMM(dpi), m = barcode.BarWidth * px;
        const double start = 60 * px - barcode.Length() / 2000.0 * px;
        const QImage image = Render(row.target, barcode, dpi);
        std::vector<TWord> words = Words(image, static_cast<int>((60 + 15) * px) + 1,
            static_cast<int>((60 + 19) * px), static_cast<int>(2 * m));
        if (row.target == TTarget::Print || row.code.size() > 5) {
            ASSERT_FALSE(words.empty());
            EXPECT_LT(words.front().Right, start) << "leading digit";
            words.erase(words.begin());
        }
        ASSERT_EQ(words.size(), row.centres.size());
        for (size_t i = 0; i < words.size(); ++i)
            EXPECT_NEAR(words[i].Centre(), start + row.centres[i] * m, 0.6 * m + 1);
    }
}

// Whole texts are centred on the element's length: a padding along the symbol moves the bars,
// not the text.
TEST(BarcodeDrawing, APaddingMovesTheBarsButNotACentredText)
{
    for (const TPath& path : Paths) {
        SCOPED_TRACE(Name(path.Target));
        const double px = PixelsPerMM(path.Dpi);
        TTestBarcode barcode(TZORBarType::Code128, "Quindle");
        barcode.Align = TZORHorzAlign::Left;
        const auto measure = [&](float padding, QRect& bars, QRect& text) {
            barcode.PaddingX = padding;
            const QImage image = Render(path.Target, barcode, path.Dpi);
            bars = InkBounds(image, {}, QRect(0, 0, image.width(), static_cast<int>(75 * px)));
            text = InkBounds(
                image, {}, QRect(0, static_cast<int>(75 * px) + 1, image.width(), static_cast<int>(5 * px)));
        };
        QRect bars0, text0, bars5, text5;
        measure(0.0f, bars0, text0);
        measure(5.0f, bars5, text5);
        EXPECT_NEAR(bars5.left() - bars0.left(), 5 * px, 1.0);
        EXPECT_NEAR(text5.left(), text0.left(), 1.0);
        EXPECT_NEAR(text0.center().x(), 60 * px + barcode.Length() / 2000.0 * px, 1.5);
    }
}

TEST(BarcodeDrawing, TheFontFactorScalesTheText)
{
    for (const TPath& path : Paths) {
        SCOPED_TRACE(Name(path.Target));
        const double px = PixelsPerMM(path.Dpi);
        TTestBarcode barcode(TZORBarType::Code39, "HI");
        const QRect band(
            0, static_cast<int>(75 * px) + 1, static_cast<int>(120 * px), static_cast<int>(40 * px));
        const QRect single = InkBounds(Render(path.Target, barcode, path.Dpi), {}, band);
        const QRect twice
            = InkBounds(Render(path.Target, barcode, path.Dpi, { .FontFactor = 2.0 }), {}, band);
        EXPECT_NEAR(double(twice.height()) / single.height(), 2.0, 0.2);
        EXPECT_NEAR(double(twice.width()) / single.width(), 2.0, 0.2);
    }
}

// Hidden numbers leave only the bars; an empty pattern leaves only the text; an unknown pattern
// character is a space as wide as the element before it.
TEST(BarcodeDrawing, BarsAndTextStandOnTheirOwn)
{
    for (const TPath& path : Paths) {
        SCOPED_TRACE(Name(path.Target));
        const double px = PixelsPerMM(path.Dpi), m = 2.0 / 96 * path.Dpi;
        const int barsEnd = static_cast<int>(std::ceil(75 * px));
        TTestBarcode barcode(TZORBarType::Code39, "HIDE");
        barcode.SetShowNumber(false);
        QImage image = Render(path.Target, barcode, path.Dpi);
        EXPECT_LE(InkBounds(image).bottom(), barsEnd);

        barcode.SetShowNumber(true);
        barcode.Pattern.clear();
        image = Render(path.Target, barcode, path.Dpi);
        EXPECT_GT(InkBounds(image).top(), barsEnd - 1);
        EXPECT_GT(InkCount(image), 0);

        barcode.SetShowNumber(false);
        barcode.Pattern = "1x0";
        barcode.Align = TZORHorzAlign::Left;
        image = Render(path.Target, barcode, path.Dpi);
        const std::vector<int> runs = InkAndGaps(image, static_cast<int>(65 * px));
        ASSERT_EQ(runs.size(), 3u);
        const double edge = path.Target == TTarget::Screen ? 1.0 : 1.5; // smoothed edges on paper
        EXPECT_NEAR(runs[0], 3 * m, edge);
        EXPECT_NEAR(runs[1], 3 * m, edge);
        EXPECT_NEAR(runs[2], m, edge);
    }
}

TEST(BarcodeDrawing, TheScreenRestoresTheCanvasAndLeavesThePaintAsItLastUsedIt)
{
    for (bool show : { false, true }) {
        SCOPED_TRACE(show);
        QImage image(200, 200, QImage::Format_ARGB32);
        QPainter painter(&image);
        painter.translate(3, 4);
        const QTransform before = painter.transform();
        TZORDraw D;
        D.SetupEditor(std::make_shared<TSkCanvas>(painter), 96, 1.0f, 1, false, false);
        AdjustLineType(D, TZORineType::Dash2_2, TZORItemState::Normal);
        TTestBarcode barcode(TZORBarType::Code128, "state");
        barcode.Angle = TZORAngle::Angle90;
        barcode.SetShowNumber(show);
        DrawBarcode(D, barcode, TZORPto {}, TAlphaColor { 0xFF112233 }, 10000, 10000, 1.0);
        EXPECT_EQ(painter.transform(), before);
        EXPECT_EQ(D.kP->GetColor(), TAlphaColor { 0xFF112233 });
        EXPECT_EQ(D.kP->GetStyle(), TSkPaintStyle::Fill);
        EXPECT_EQ(D.kP->GetAntiAlias(), show);
        EXPECT_EQ(D.kP->GetPathEffect().Kind(),
            show ? TSkPathEffect::TKind::StrokeAndFill : TSkPathEffect::TKind::None);
    }
}

TEST(BarcodeDrawing, PrintingLeavesTheBrushInTheBarcodeColourAndTheFontUnturned)
{
    QImage image(400, 400, QImage::Format_ARGB32);
    QPainter painter(&image);
    TCanvas canvas(painter);
    TGPGraphics g(painter);
    TGPPen pen(MakeColor(255, 0, 0, 0));
    TGPSolidBrush brush(MakeColor(255, 255, 255, 255));
    TZORDraw D;
    D.SetupPrint(&canvas, &g, &pen, &brush, 300, 300, 400, 400, 1, TZORUnits::Millimetre);
    D.xM = { 0, 1, -1, 0, 5, 5 };
    canvas.SetTextAlign(TA_BASELINE | TA_CENTER);
    TTestBarcode barcode(TZORBarType::UPCE, "0425261");
    barcode.Angle = TZORAngle::Angle270;
    PrintBarcode(D, barcode, TZORPto {}, TAlphaColor { 0xFF112233 }, static_cast<int32_t>(barcode.Length()),
        0, 1.0, barcode.Code, barcode.Pattern);
    EXPECT_EQ(brush.GetColor(), MakeColor(0xFF, 0x11, 0x22, 0x33));
    EXPECT_EQ(canvas.Font.Escapement, 0);
    EXPECT_EQ(canvas.Font.Name, QStringLiteral("Arial"));
    EXPECT_EQ(canvas.Font.Height, -static_cast<int>(3 * 300 / 25.4));
    EXPECT_EQ(canvas.Font.Color, TColor { 0x00332211 });
    EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Solid);
    EXPECT_EQ(canvas.SetTextAlign(TA_LEFT), TA_BASELINE | TA_CENTER);
    EXPECT_EQ(D.xM, tagXFORM {});
    EXPECT_EQ(D.fDrawState, TZORDrawState::Printer);
}

TEST(BarcodeDrawing, ContextsWithoutTheirDrawingObjectsAreLeftAlone)
{
    TZORDraw D;
    TTestBarcode barcode(TZORBarType::Code39, "NONE");
    DrawBarcode(D, barcode, TZORPto {}, Black, 1000, 1000, 1.0);
    PrintBarcode(D, barcode, TZORPto {}, Black, 1000, 0, 1.0, barcode.Code, barcode.Pattern);
    EXPECT_FALSE(D.kP);
}

} // namespace
