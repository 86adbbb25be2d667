// The code elements on screen and on paper: what a scanner reads from them at every angle, how
// bound codes print each record, and where their frames and backgrounds go.

#include "Zor.Json.h"
#include "Zor.Version.h"
#include "elements/RenderHarness.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

using zor::Ord;
using zor::TAlphaColor;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;

namespace {

using namespace zor::test;
// Screen renders at ten pixels per millimetre, paper at 300 dpi.
constexpr int ScreenDpi = 254;
constexpr int PrintDpi = 300;
constexpr TTarget Targets[] = { TTarget::Export, TTarget::Print };
constexpr TAlphaColor Green { 0xFF00A000 };

// Every code is centred on this point of the label, so that it stays on the page at every angle.
constexpr double Centre = 18.0;

// Reads the one symbol of a render, cut to its ink with a quiet zone around it.
std::optional<Decoded> ReadCode(const QImage& image)
{
    const QRect ink = InkBounds(image);
    if (ink.isNull()) {
        ADD_FAILURE() << "nothing drawn";
        return std::nullopt;
    }
    return DecodeOne(image, { ZXing::BarcodeFormat::Any, ink, 40, true });
}

template <class T> T& Centred(TScene& scene)
{
    T& code = scene.Add<T>();
    code.AssignPoints(std::vector<TZORPto> { scene.Pt(Centre, Centre) });
    code.SetHorzAlign(TZORHorzAlign::Center);
    return code;
}

template <class T> T& CentredMatrix(TScene& scene)
{
    T& code = Centred<T>(scene);
    code.SetVertAlign(TZORVertAlign::Center);
    return code;
}

struct TCodeKind {
    const char* Name;
    std::function<TZORCodeItem&(TScene&)> Make;
    const char* Format; // as zxing-cpp names it
    const char* Text;
    const char* EcLevel;
    bool Matrix; // a two-dimensional code, whose first module's corner the reader reports
};

const TCodeKind CodeKinds[] = {
    { "QR code",
        [](TScene& s) -> TZORCodeItem& {
            auto& qr = CentredMatrix<TZORQRCode>(s);
            qr.SetCode(QStringLiteral("Quindle QR"));
            qr.SetLevel(TErrorCorrectionLevel::Q);
            return qr;
        },
        "QRCode", "Quindle QR", "Q", true },
    { "square DataMatrix",
        [](TScene& s) -> TZORCodeItem& {
            auto& dm = CentredMatrix<TZORDataMatrix>(s);
            dm.SetCode("DataMatrix 42");
            return dm;
        },
        "DataMatrix", "DataMatrix 42", "", true },
    { "rectangular DataMatrix",
        [](TScene& s) -> TZORCodeItem& {
            auto& dm = CentredMatrix<TZORDataMatrix>(s);
            dm.SetCode("Rect 12x36");
            dm.SetSize(TECC200Size(28));
            return dm;
        },
        "DataMatrix", "Rect 12x36", "", true },
    { "PDF417",
        [](TScene& s) -> TZORCodeItem& {
            auto& pdf = CentredMatrix<TZORPDF417>(s);
            pdf.SetCode("PDF417 label");
            pdf.SetBarWidth(0.3f);
            pdf.SetBarHeight(0.9f);
            pdf.SetColumns(2);
            pdf.SetCorrectionLevel(TZORPdf417CorrectionLevel::Level2);
            return pdf;
        },
        "PDF417", "PDF417 label", "2", false },
    { "EAN-13",
        [](TScene& s) -> TZORCodeItem& {
            auto& ean = Centred<TZORBarcode>(s);
            ean.SetBarHeight(10.0f);
            ean.SetFontHeight(3.0f);
            ean.SetCode("590123412345");
            ean.CalcValues(1);
            return ean;
        },
        "EAN-13", "5901234123457", "", false },
    { "Code 128",
        [](TScene& s) -> TZORCodeItem& {
            auto& code = Centred<TZORBarcode>(s);
            code.SetCodeType(TZORBarType::Code128);
            code.SetBarWidth(0.254f);
            code.SetBarHeight(10.0f);
            code.SetFontHeight(3.0f);
            code.SetCode("QDL-128");
            code.CalcValues(1);
            return code;
        },
        "Code128", "QDL-128", "", false },
};

// Where the symbol's first module lies on the page once it turns counter-clockwise: its top-left
// corner goes to the bottom-left, then the bottom-right, then the top-right of the ink.
QPoint FirstCorner(const QRect& ink, TZORAngle angle)
{
    switch (angle) {
    case TZORAngle::Angle90:
        return ink.bottomLeft();
    case TZORAngle::Angle180:
        return ink.bottomRight();
    case TZORAngle::Angle270:
        return ink.topRight();
    case TZORAngle::Angle0:
        break;
    }
    return ink.topLeft();
}

int Dpi(TTarget target)
{
    return target == TTarget::Print ? PrintDpi : ScreenDpi;
}

TEST(CodeRender, EveryKindReadsBackOnScreenAndPaperAtEveryAngle)
{
    for (const TCodeKind& kind : CodeKinds)
        for (int a = 0; a < 4; ++a)
            for (const TTarget target : Targets) {
                SCOPED_TRACE(testing::Message() << kind.Name << " angle " << a << " " << Name(target));
                TScene scene;
                kind.Make(scene).SetAngle(TZORAngle(a));
                const QImage image = scene.Render(target, Dpi(target));
                SaveOnFailure keep(image, QString::fromLatin1(kind.Name));
                const auto read = ReadCode(image);
                ASSERT_TRUE(read);
                EXPECT_EQ(read->format, kind.Format);
                EXPECT_EQ(read->text, kind.Text);
                EXPECT_EQ(read->ecLevel, kind.EcLevel);
                if (!kind.Matrix)
                    continue;
                const QPoint corner = FirstCorner(InkBounds(image), TZORAngle(a));
                EXPECT_LE((read->position.point(0) - corner).manhattanLength(), Dpi(target) / 25)
                    << "first corner at " << read->position.point(0).x() << ", "
                    << read->position.point(0).y();
            }
}

// Screen and paper place the same symbol alike, at every drawing scale.
TEST(CodeRender, ScreenAndPaperAgree)
{
    for (const int scale : Scales)
        for (const TCodeKind& kind : CodeKinds)
            for (int a = 0; a < 4; ++a) {
                SCOPED_TRACE(testing::Message() << kind.Name << " angle " << a << " scale " << scale);
                TScene scene(scale);
                kind.Make(scene).SetAngle(TZORAngle(a));
                // The bars and modules; the linear codes' text is measured on each device.
                const TScreenAndPaper both(scene, PrintDpi, 1, QString::fromUtf8(kind.Name));
                EXPECT_GT(both.Near, 0.97);
            }
}

class BoundCodes : public TempDirTest { };

// Three records print three symbols through the print path into a PDF; the screen keeps the own
// code, and the print leaves the symbol the screen shows as it was.
TEST_F(BoundCodes, AQRCodePrintsEachRecordWithoutItsAccents)
{
    TScene scene;
    scene.Label().Records
        = { QStringLiteral("Crème brûlée"), QStringLiteral("Zoë 2"), QStringLiteral("Ångström 3") };
    auto& qr = CentredMatrix<TZORQRCode>(scene);
    qr.SetCode(QStringLiteral("own"));
    qr.SetFillType(1);
    qr.SetFillName(QStringLiteral("Dessert"));
    const std::vector<uint8_t> shown = qr.GetSymbol().Modules;

    const QString pdf = Path("codes.pdf");
    scene.PrintPdf(pdf, PrintDpi, 3, [&scene](int page) { scene.Label().Current = page; });
    std::set<QString> texts;
    for (const QImage& page : PdfPages(pdf, PrintDpi)) {
        const auto read = ReadCode(page);
        ASSERT_TRUE(read);
        texts.insert(read->text);
    }
    EXPECT_EQ(texts, (std::set<QString> { "Creme brulee", "Zoe 2", "Angstrom 3" }));
    EXPECT_EQ(qr.GetSymbol().Modules, shown);

    const auto own = ReadCode(scene.Render(TTarget::Export, ScreenDpi));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->text, "own");
}

TEST(CodeRender, BoundCodesPrintTheirRecordAndShowTheirOwnCode)
{
    const struct {
        const char* name;
        std::function<TZORCodeItem&(TScene&)> make;
    } cases[] = {
        { "DataMatrix",
            [](TScene& s) -> TZORCodeItem& {
                auto& dm = CentredMatrix<TZORDataMatrix>(s);
                dm.SetCode("own");
                return dm;
            } },
        { "PDF417",
            [](TScene& s) -> TZORCodeItem& {
                auto& pdf = CentredMatrix<TZORPDF417>(s);
                pdf.SetBarWidth(0.3f);
                pdf.SetColumns(2);
                pdf.SetCode("own");
                return pdf;
            } },
        { "Code 128",
            [](TScene& s) -> TZORCodeItem& {
                auto& code = Centred<TZORBarcode>(s);
                code.SetCodeType(TZORBarType::Code128);
                code.SetCode("own");
                code.SetBarHeight(10.0f);
                return code;
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TScene scene;
        scene.Label().Records = { QStringLiteral("first"), QStringLiteral("second") };
        TZORCodeItem& code = c.make(scene);
        code.SetFillType(1);
        code.SetFillName(QStringLiteral("Field"));
        for (int record = 0; record < 2; ++record) {
            scene.Label().Current = record;
            const auto printed = ReadCode(scene.Render(TTarget::Print, PrintDpi));
            ASSERT_TRUE(printed);
            EXPECT_EQ(printed->text, scene.Label().Records[record]);
        }
        const auto shown = ReadCode(scene.Render(TTarget::Export, ScreenDpi));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->text, "own");
    }
}

// The editor marks a bound code at its point; no other target does.
TEST(CodeRender, TheEditorMarksBoundCodes)
{
    TScene scene;
    auto& qr = scene.Add<TZORQRCode>();
    qr.AssignPoints(std::vector<TZORPto> { scene.Pt(5.0, 5.0) });
    qr.SetPaddingX(2.0f); // the marker lies under the symbol: keep them apart
    qr.SetPaddingY(2.0f);
    qr.SetCode(QStringLiteral("marked"));
    qr.SetFillType(1);
    const QPoint at = Pixel(96, 5.0, 5.0);
    EXPECT_TRUE(ColourNear(scene.Render(TTarget::Editor, 96), at, QColor(0x90, 0xEE, 0x90), 8));
    EXPECT_FALSE(ColourNear(scene.Render(TTarget::Export, 96), at, QColor(0x90, 0xEE, 0x90), 8));
}

// A symbol's width in modules: (columns + 4) × 17 + 1, or (columns + 2) × 17 + 1 truncated.
TEST(CodeRender, APDF417IsAsWideAsItsColumnsSay)
{
    for (const bool truncated : { false, true })
        for (const int columns : { 1, 2, 4 }) {
            SCOPED_TRACE(testing::Message() << columns << " columns" << (truncated ? ", truncated" : ""));
            TScene scene;
            auto& pdf = scene.Add<TZORPDF417>();
            // Three pixels per module, the symbol starting on a whole pixel.
            pdf.AssignPoints(std::vector<TZORPto> { scene.Pt(25.4 * 12 / PrintDpi, 5.0) });
            pdf.SetBarWidth(0.254f);
            pdf.SetBarHeight(0.762f);
            pdf.SetColumns(uint8_t(columns));
            pdf.SetTruncated(truncated);
            pdf.SetCorrectionLevel(TZORPdf417CorrectionLevel::Level1);
            pdf.SetCode("1234567890");
            ASSERT_EQ(pdf.GetCodeColumns(), columns);
            const int modules = (columns + (truncated ? 2 : 4)) * 17 + 1;
            for (const TTarget target : Targets) {
                const QImage image = scene.Render(target, PrintDpi);
                const QRect ink = InkBounds(image);
                EXPECT_NEAR(ink.width(), 3 * modules, 1) << Name(target);
                EXPECT_NEAR(ink.height(), 9 * pdf.GetCodeRows(), 1) << Name(target);
                const auto read = ReadCode(image);
                ASSERT_TRUE(read);
                EXPECT_EQ(read->ecLevel, "1");
            }
        }
}

// The background fills the symbol's frame, paddings included, and on paper follows the symbol
// printed: a longer record gets a larger one.
TEST(CodeRender, BackgroundsFrameTheSymbolTheyBack)
{
    TScene scene;
    scene.Label().Records = { QString(80, 'x') };
    auto& qr = scene.Add<TZORQRCode>();
    qr.AssignPoints(std::vector<TZORPto> { scene.Pt(5.0, 5.0) });
    qr.SetCode(QStringLiteral("x")); // 21 modules of 0.5 mm
    qr.SetFilled(true);
    qr.SetBackColor(Green);
    qr.SetPaddingX(1.0f);
    qr.SetPaddingY(1.0f);
    const QColor green(0, 0xA0, 0);
    for (const TTarget target : Targets) {
        SCOPED_TRACE(Name(target));
        const QImage image = scene.Render(target, PrintDpi);
        EXPECT_TRUE(ColourNear(image, Pixel(PrintDpi, 5.3, 5.3), green, 8)); // the first padding
        EXPECT_TRUE(ColourNear(image, Pixel(PrintDpi, 17.2, 17.2), green, 8)); // the last one
        EXPECT_TRUE(ColourNear(image, Pixel(PrintDpi, 17.7, 17.7), Qt::white, 8)); // beyond the frame
    }
    // The record needs 37 modules: its frame ends at 25.5 mm.
    qr.SetFillType(1);
    const QImage bound = scene.Render(TTarget::Print, PrintDpi);
    EXPECT_TRUE(ColourNear(bound, Pixel(PrintDpi, 25.2, 25.2), green, 8));
    EXPECT_TRUE(ColourNear(bound, Pixel(PrintDpi, 25.7, 25.7), Qt::white, 8));
}

// A record that does not encode prints no modules; a QR code and a DataMatrix still print the
// background of a symbol of no modules (its paddings), a PDF417 prints nothing.
TEST(CodeRender, ARefusedRecordPrintsTheBackgroundOfNoModules)
{
    const struct {
        const char* name;
        std::function<TZORMatrixCode&(TScene&)> make;
        bool background;
    } cases[] = {
        { "QR code", [](TScene& s) -> TZORMatrixCode& { return s.Add<TZORQRCode>(); }, true },
        { "DataMatrix", [](TScene& s) -> TZORMatrixCode& { return s.Add<TZORDataMatrix>(); }, true },
        { "PDF417", [](TScene& s) -> TZORMatrixCode& { return s.Add<TZORPDF417>(); }, false },
    };
    const QColor green(0, 0xA0, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TScene scene;
        scene.Label().Records = { QString(5000, 'x') }; // more than any of these symbols holds
        TZORMatrixCode& code = c.make(scene);
        code.AssignPoints(std::vector<TZORPto> { scene.Pt(5.0, 5.0) });
        code.SetFilled(true);
        code.SetBackColor(Green);
        code.SetPaddingX(1.0f);
        code.SetPaddingY(1.0f);
        code.SetFillType(1);
        const QImage image = scene.Render(TTarget::Print, PrintDpi);
        EXPECT_EQ(ColourNear(image, Pixel(PrintDpi, 6.0, 6.0), green, 8), c.background);
        // Two paddings wide, and no module anywhere.
        const QRect ink = InkBounds(image);
        if (c.background)
            EXPECT_LE(std::max(ink.width(), ink.height()), Pixels(PrintDpi, 2.0) + 2);
        else
            EXPECT_TRUE(ink.isNull());
    }
}

// --- Linear codes ---

TEST(LinearCodeRender, AnInvalidCodeShowsARedCrossAndPrintsNothing)
{
    TScene scene;
    auto& ean = scene.Add<TZORBarcode>();
    ean.AssignPoints(std::vector<TZORPto> { scene.Pt(5.0, 5.0) });
    ean.SetCode("590123412345");
    ean.CalcValues(1);
    ean.SetFilled(true);
    ean.SetBackColor(Green);
    ean.SetCode("59012341234X");
    ASSERT_FALSE(ean.GetCodeValid());

    const QImage screen = scene.Render(TTarget::Export, ScreenDpi);
    const TZORRect b = ean.GetBounds();
    const QRectF box(PixelF(ScreenDpi, b.Left / 1000.0, b.Top / 1000.0),
        PixelF(ScreenDpi, b.Right / 1000.0, b.Bottom / 1000.0));
    int red = 0, onDiagonals = 0, other = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const QColor c = screen.pixelColor(x, y);
            if (std::min({ c.red(), c.green(), c.blue() }) > 223)
                continue; // paper, or the faintest fringe of a dot
            if (c.red() < 200 || std::abs(c.green() - c.blue()) > 30) {
                ++other;
                continue;
            }
            ++red;
            // Distance to the nearer diagonal of the box, along y.
            const double t = (x - box.left()) / box.width();
            const double down = box.top() + t * box.height(), up = box.bottom() - t * box.height();
            onDiagonals += std::min(std::abs(y - down), std::abs(y - up)) < 3.0 ? 1 : 0;
        }
    EXPECT_GT(red, 100);
    EXPECT_EQ(onDiagonals, red);
    EXPECT_EQ(other, 0); // neither bars nor background
    EXPECT_EQ(InkCount(scene.Render(TTarget::Print, PrintDpi)), 0);
}

// The reader's calculation after a read (kind 0) checks and measures a linear code, so that one
// read from a file shows its bars, or its red cross, at once.
TEST(LinearCodeRender, ACodeReadFromAFileIsCheckedAndMeasuredAsItEnters)
{
    for (const char* code : { "590123412345", "59012341234X" }) {
        SCOPED_TRACE(code);
        TScene scene;
        auto& made = Centred<TZORBarcode>(scene);
        made.SetBarHeight(10.0f);
        made.SetFontHeight(3.0f);
        made.SetCode(code);
        made.CalcValues(1);
        const auto* read = TZORBarcode::ReadFromJson(scene.Label(), ZORFileVersion, made.WriteJson());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetCodeValid(), made.GetCodeValid());
        EXPECT_EQ(read->GetBarPattern(), made.GetBarPattern());
        EXPECT_EQ(read->GetBarPattern().isEmpty(), !read->GetCodeValid());
        EXPECT_EQ(read->GetFontRatio(), made.GetFontRatio());
        const TZORRect a = read->GetBounds(), b = made.GetBounds();
        EXPECT_EQ(QRect(int(a.Left), int(a.Top), int(a.GetWidth()), int(a.GetHeight())),
            QRect(int(b.Left), int(b.Top), int(b.GetWidth()), int(b.GetHeight())));
    }
}

TEST(LinearCodeRender, ABoundValueThatIsNoCodePrintsNothingWhileTheScreenShowsItsOwn)
{
    TScene scene;
    scene.Label().Records = { QStringLiteral("not digits") };
    auto& ean = Centred<TZORBarcode>(scene);
    ean.SetCode("590123412345");
    ean.SetFilled(true);
    ean.SetBackColor(TAlphaColor { 0xFFFFFF80 }); // light, for the reader
    ean.SetFillType(1);
    ean.CalcValues(1);
    EXPECT_EQ(InkCount(scene.Render(TTarget::Print, PrintDpi)), 0);
    const auto shown = ReadCode(scene.Render(TTarget::Export, ScreenDpi));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "5901234123457");
}

} // namespace
