#include "KindStubs.h"
#include "Zor.Barcode.h"
#include "Zor.Json.h"
#include "Zor.Version.h"
#include "kit/Barcodes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using zor::Ord;
using zor::Round;
using zor::TBarcode;
using zor::TECC200Shape;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;
using zor::TJsonObject;

using namespace zor::test;
namespace {

// A symbol as a scanner sees it: `module` pixels per module, `row` pixels per row, and a quiet
// zone of four modules.
QImage Picture(const TZORCodeSymbol& s, int module = 4, int row = 4)
{
    const int quiet = 4 * module;
    QImage image(s.Columns * module + 2 * quiet, s.Rows * row + 2 * quiet, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int r = 0; r < s.Rows; ++r)
        for (int c = 0; c < s.Columns; ++c)
            if (s.Dark(r, c))
                painter.fillRect(quiet + c * module, quiet + r * row, module, row, Qt::black);
    return image;
}

std::optional<Decoded> Read(const TZORCodeSymbol& s, int row = 4)
{
    EXPECT_FALSE(s.IsEmpty());
    return s.IsEmpty() ? std::nullopt : DecodeOne(Picture(s, 4, row));
}

QString Latin1(const char* s)
{
    return QString::fromLatin1(s);
}

} // namespace

// --- PDF417 ---

TEST(PDF417Encoder, LevelsReadBackAndTheWidthFollowsTheColumns)
{
    const QByteArray data = "Quindle PDF417 1234567890";
    const struct {
        TZORPdf417CorrectionLevel level;
        int columns;
        bool truncated;
        const char* ecLevel;
    } cases[] = {
        { TZORPdf417CorrectionLevel::Level0, 0, false, "0" },
        { TZORPdf417CorrectionLevel::Level2, 3, false, "2" },
        { TZORPdf417CorrectionLevel::Level8, 6, false, "8" },
        { TZORPdf417CorrectionLevel::Level2, 3, true, "2" },
        { TZORPdf417CorrectionLevel::Level5, 0, true, "5" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
            << "level " << c.ecLevel << " columns " << c.columns << " truncated " << c.truncated);
        const TZORCodeSymbol s = TZORCodeEncoder::PDF417(data, { c.level, c.columns, 0, c.truncated });
        if (c.columns > 0) {
            EXPECT_EQ(s.CodeColumns, c.columns);
        }
        EXPECT_EQ(s.Columns, (s.CodeColumns + (c.truncated ? 2 : 4)) * 17 + 1);
        EXPECT_EQ(s.EccLevel, zor::Ord(c.level) - 1);
        const auto read = Read(s, 12);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->format, "PDF417");
        EXPECT_EQ(read->text, QString::fromLatin1(data));
        EXPECT_EQ(read->ecLevel, c.ecLevel);
    }
}

TEST(PDF417Encoder, AnAutomaticLevelIsTheOneTheSymbolCarries)
{
    for (const int length : { 5, 120, 400 }) {
        SCOPED_TRACE(length);
        const TZORCodeSymbol s = TZORCodeEncoder::PDF417(QByteArray(length, 'x'), {});
        EXPECT_GE(s.EccLevel, 2);
        const auto read = Read(s, 12);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->ecLevel, QString::number(s.EccLevel));
    }
    // More data asks for more correction.
    EXPECT_LT(TZORCodeEncoder::PDF417("x", {}).EccLevel,
        TZORCodeEncoder::PDF417(QByteArray(400, 'x'), {}).EccLevel);
}

TEST(PDF417Encoder, RowsAskedForAreKeptOrGrownToHoldTheData)
{
    EXPECT_EQ(TZORCodeEncoder::PDF417("ABC", { TZORPdf417CorrectionLevel::Level1, 2, 12, false }).Rows, 12);
    const TZORCodeSymbol grown
        = TZORCodeEncoder::PDF417(QByteArray(60, 'q'), { TZORPdf417CorrectionLevel::Level1, 1, 3, false });
    EXPECT_GT(grown.Rows, 3);
    EXPECT_EQ(grown.CodeColumns, 1);
}

// --- DataMatrix ---

TEST(DataMatrixEncoder, SquaresAndRectanglesOfTheSizeAskedFor)
{
    const struct {
        TECC200Size size;
        TECC200Shape shape;
        int rows, columns;
    } cases[] = {
        { TECC200Size::Auto, TECC200Shape::Square, 12, 12 },
        { TECC200Size(5), TECC200Shape::Square, 18, 18 },
        { TECC200Size(25), TECC200Shape::Square, 8, 18 },
        { TECC200Size(30), TECC200Shape::Square, 16, 48 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zor::Ord(c.size));
        const TZORCodeSymbol s = TZORCodeEncoder::CalcECC200("ABC123", c.size, c.shape);
        EXPECT_EQ(s.Rows, c.rows);
        EXPECT_EQ(s.Columns, c.columns);
        const auto read = Read(s);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->format, "DataMatrix");
        EXPECT_EQ(read->text, "ABC123");
    }
}

TEST(DataMatrixEncoder, AutomaticShapesChooseAmongTheirSizes)
{
    const QByteArray data = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const TZORCodeSymbol square = TZORCodeEncoder::CalcECC200(data, TECC200Size::Auto, TECC200Shape::Square);
    EXPECT_EQ(square.Rows, square.Columns);
    // The extended rectangles hold this text in fewer modules than any square.
    const TZORCodeSymbol extended
        = TZORCodeEncoder::CalcECC200(data, TECC200Size::Auto, TECC200Shape::AnyExtended);
    EXPECT_LE(extended.Rows * extended.Columns, square.Rows * square.Columns);
}

TEST(DataMatrixEncoder, BytesBeyondAsciiReadAsLatin1)
{
    const auto read
        = Read(TZORCodeEncoder::CalcECC200("Gr\xfc\xdf", TECC200Size::Auto, TECC200Shape::Square));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, Latin1("Gr\xfc\xdf"));
}

// --- QR code ---

TEST(QREncoder, EveryLevelReadsBack)
{
    const struct {
        TErrorCorrectionLevel level;
        const char* read;
    } cases[] = {
        { TErrorCorrectionLevel::L, "L" },
        { TErrorCorrectionLevel::M, "M" },
        { TErrorCorrectionLevel::Q, "Q" },
        { TErrorCorrectionLevel::H, "H" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        const TZORCodeSymbol s
            = TZORCodeEncoder::QRCode("https://example.org/42", TZORQREncoding::Auto, c.level, 0);
        EXPECT_EQ(s.EccLevel, zor::Ord(c.level));
        const auto read = Read(s);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text, "https://example.org/42");
        EXPECT_EQ(read->ecLevel, c.read);
    }
}

TEST(QREncoder, VersionsFixTheSize)
{
    EXPECT_EQ(TZORCodeEncoder::QRCode("AB", TZORQREncoding::Auto, TErrorCorrectionLevel::M, 0).Rows, 21);
    const TZORCodeSymbol v5
        = TZORCodeEncoder::QRCode("AB", TZORQREncoding::Auto, TErrorCorrectionLevel::M, 5);
    EXPECT_EQ(v5.Rows, 37);
    EXPECT_EQ(v5.Columns, 37);
    // Too much for the size asked for: no symbol.
    EXPECT_TRUE(TZORCodeEncoder::QRCode(QString(60, 'A'), TZORQREncoding::Auto, TErrorCorrectionLevel::H, 1)
                    .IsEmpty());
}

TEST(QREncoder, EncodingsCarryTheTextTheyCan)
{
    const QString text = QStringLiteral("Ωmega café");
    const struct {
        TZORQREncoding encoding;
        QString read;
    } cases[] = {
        { TZORQREncoding::Auto, text },
        { TZORQREncoding::UTF8, text },
        { TZORQREncoding::Latin1, QStringLiteral("?mega café") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zor::Ord(c.encoding));
        const auto read = Read(TZORCodeEncoder::QRCode(text, c.encoding, TErrorCorrectionLevel::M, 0));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text, c.read);
    }
}

// --- All encoders ---

TEST(CodeEncoders, NothingEncodesToNoSymbol)
{
    EXPECT_TRUE(TZORCodeEncoder::PDF417({}, {}).IsEmpty());
    EXPECT_TRUE(TZORCodeEncoder::CalcECC200({}, TECC200Size::Auto, TECC200Shape::Square).IsEmpty());
    EXPECT_TRUE(TZORCodeEncoder::QRCode({}, TZORQREncoding::Auto, TErrorCorrectionLevel::M, 0).IsEmpty());
    // A size too small for the data.
    EXPECT_TRUE(
        TZORCodeEncoder::CalcECC200(QByteArray(40, 'Z'), TECC200Size(1), TECC200Shape::Square).IsEmpty());
}

// The print worker encodes while the user interface does: every call must keep to its own symbol.
TEST(CodeEncoders, CallsOnSeveralThreadsGetTheirOwnSymbols)
{
    const auto encode = [](int i) {
        const QString text = QStringLiteral("record %1").arg(i);
        return std::vector<TZORCodeSymbol> {
            TZORCodeEncoder::QRCode(text, TZORQREncoding::Auto, TErrorCorrectionLevel::Q, 0),
            TZORCodeEncoder::CalcECC200(text.toLatin1(), TECC200Size::Auto, TECC200Shape::Square),
            TZORCodeEncoder::PDF417(text.toLatin1(), {}),
        };
    };
    constexpr int Threads = 6, Rounds = 40;
    std::vector<std::vector<std::vector<uint8_t>>> expected;
    for (int t = 0; t < Threads; ++t) {
        expected.emplace_back();
        for (const TZORCodeSymbol& s : encode(t))
            expected.back().push_back(s.Modules);
    }
    std::vector<int> mismatches(Threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < Threads; ++t)
        workers.emplace_back([&, t] {
            for (int round = 0; round < Rounds; ++round) {
                const std::vector<TZORCodeSymbol> got = encode(t);
                for (size_t k = 0; k < got.size(); ++k)
                    mismatches[size_t(t)] += got[k].Modules != expected[size_t(t)][k] ? 1 : 0;
            }
        });
    for (std::thread& w : workers)
        w.join();
    for (int t = 0; t < Threads; ++t)
        EXPECT_EQ(mismatches[size_t(t)], 0) << "thread " << t;
}

// --- Code elements ---

TEST(CodeElements, ASymbolFollowsItsCodeAndSettings)
{
    TKindLabel label;
    auto* qr = Stub<TZORBaseQRCode>(label);
    EXPECT_TRUE(qr->GetSymbol().IsEmpty());
    qr->SetCode(QStringLiteral("hello"));
    EXPECT_EQ(qr->GetRowCount(), 21);
    qr->SetVersion(3);
    EXPECT_EQ(qr->GetRowCount(), 29);

    auto* dm = Stub<TZORBaseDataMatrix>(label);
    dm->SetCode("ABC123");
    dm->SetSize(TECC200Size(26));
    EXPECT_EQ(dm->GetRowCount(), 8);
    EXPECT_EQ(dm->GetColCount(), 32);

    auto* pdf = Stub<TZORBasePDF417>(label);
    pdf->SetCode("PDF417");
    pdf->SetColumns(4);
    pdf->SetCorrectionLevel(TZORPdf417CorrectionLevel::Level3);
    EXPECT_EQ(pdf->GetCodeColumns(), 4);
    EXPECT_EQ(pdf->GetEccLevel(), 3);
    pdf->SetTruncated(true);
    EXPECT_EQ(pdf->GetColCount(), (4 + 2) * 17 + 1);
}

// The symbol shown is the symbol printed: both drop the accents.
TEST(CodeElements, AQRCodeDropsAccentsOnScreenAndOnPaper)
{
    TKindLabel label;
    auto* qr = Stub<TZORBaseQRCode>(label);
    qr->SetCode(QStringLiteral("Crème brûlée"));
    const auto read = DecodeOne(Picture(qr->GetSymbol()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "Creme brulee");
    EXPECT_EQ(qr->EncodeValue(QStringLiteral("Ça")).Modules,
        TZORCodeEncoder::QRCode("Ca", TZORQREncoding::Auto, TErrorCorrectionLevel::M, 0).Modules);
}

// Bounds: the symbol placed at point 1 by the alignments, grown by the paddings on every side,
// turned about point 1; paper millimetres times the drawing scale in base units.
TEST(CodeElements, BoundsFrameTheSymbolWithItsPaddings)
{
    const struct {
        TZORHorzAlign h;
        TZORVertAlign v;
        TZORAngle angle;
        int scale;
        TZORRect bounds; // micrometres from point 1
    } cases[] = {
        // 21 modules of 0.5 mm: 10.5 mm, paddings 1 mm across and 2 mm along.
        { TZORHorzAlign::Left, TZORVertAlign::Top, TZORAngle::Angle0, 1, { 0, 0, 14500, 12500 } },
        { TZORHorzAlign::Center, TZORVertAlign::Center, TZORAngle::Angle0, 1, { -7250, -6250, 7250, 6250 } },
        { TZORHorzAlign::Right, TZORVertAlign::Bottom, TZORAngle::Angle0, 1, { -14500, -12500, 0, 0 } },
        // A quarter turn counter-clockwise: along the symbol is up the page.
        { TZORHorzAlign::Left, TZORVertAlign::Top, TZORAngle::Angle90, 1, { 0, -14500, 12500, 0 } },
        { TZORHorzAlign::Left, TZORVertAlign::Top, TZORAngle::Angle180, 1, { -14500, -12500, 0, 0 } },
        { TZORHorzAlign::Left, TZORVertAlign::Top, TZORAngle::Angle0, 50, { 0, 0, 725000, 625000 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
            << zor::Ord(c.h) << zor::Ord(c.v) << " angle " << zor::Ord(c.angle) << " scale " << c.scale);
        TKindLabel label;
        label.Measure().SetDrawScale(c.scale);
        auto* qr = Stub<TZORBaseQRCode>(label);
        SetPoints(*qr, { { 100000, 100000 } });
        qr->SetCode(QStringLiteral("hello"));
        qr->SetPaddingX(2.0f);
        qr->SetPaddingY(1.0f);
        qr->SetHorzAlign(c.h);
        qr->SetVertAlign(c.v);
        qr->SetAngle(c.angle);
        const TZORRect b = qr->GetBounds();
        EXPECT_EQ(
            (TZORRect { b.Left - 100000, b.Top - 100000, b.Right - 100000, b.Bottom - 100000 }), c.bounds);
    }
}

TEST(CodeElements, ReadSettingsComeIntoRangeAndTheSymbolIsMadeForThem)
{
    TKindLabel label;
    const auto read = [&label]<class T>(const char* json) {
        return static_cast<T*>(label.AddReadJson(std::make_unique<TStub<T>>(&label, false), ZORFileVersion,
            TJsonObject::Parse(QString::fromUtf8(json))));
    };
    auto* qr = read.operator()<TZORBaseQRCode>(
        R"({"Code":"x","Level":9,"Encoding":7,"Version":99,"VertAlign":8,"HorzAlign":7,"PaddingX":-1})");
    EXPECT_EQ(qr->GetLevel(), TErrorCorrectionLevel::M);
    EXPECT_EQ(qr->GetEncoding(), TZORQREncoding::Auto);
    EXPECT_EQ(qr->GetVersion(), 0);
    EXPECT_EQ(qr->GetVertAlign(), TZORVertAlign::Bottom);
    EXPECT_EQ(qr->GetHorzAlign(), TZORHorzAlign::Center);
    EXPECT_EQ(qr->GetPaddingX(), 0.0f);
    EXPECT_EQ(qr->GetRowCount(), 21); // encoded once read

    auto* pdf
        = read.operator()<TZORBasePDF417>(R"({"Code":"x","CorrectionLevel":10,"Columns":31,"Rows":91})");
    EXPECT_EQ(pdf->GetCorrectionLevel(), TZORPdf417CorrectionLevel::Auto);
    EXPECT_EQ(pdf->GetColumns(), 0);
    EXPECT_EQ(pdf->GetRows(), 0);
    EXPECT_FALSE(pdf->GetSymbol().IsEmpty());

    auto* dm = read.operator()<TZORBaseDataMatrix>(R"({"Code":"x","Size":49,"Shape":3})");
    EXPECT_EQ(dm->GetSize(), TECC200Size::Auto);
    EXPECT_EQ(dm->GetShape(), TECC200Shape::Square);
    EXPECT_EQ(dm->GetRowCount(), 10);

    // A linear barcode read is validated at once.
    auto* ean = read.operator()<TZORBaseBarcode>(R"({"Code":"590123412345","CodeType":0})");
    EXPECT_TRUE(ean->GetCodeValid());
    EXPECT_EQ(ean->GetPreparedCode(), QByteArray("5901234123457"));
}

TEST(CodeElements, ALinearCodeTurningInvalidKeepsItsLastBars)
{
    TKindLabel label;
    auto* ean = Stub<TZORBaseBarcode>(label);
    ean->SetCode("590123412345");
    ASSERT_TRUE(ean->GetCodeValid());
    const QByteArray pattern = ean->GetBarPattern();
    ean->SetCode("59012341234X");
    EXPECT_FALSE(ean->GetCodeValid());
    EXPECT_EQ(ean->GetPreparedCode(), QByteArray("5901234123457"));
    EXPECT_EQ(ean->GetBarPattern(), pattern);

    // A printed value is prepared on the side: the element stays as it is.
    const TZORPreparedCode printed = ean->PrepareValue("400638133393");
    EXPECT_EQ(printed.Code, QByteArray("4006381333931"));
    EXPECT_FALSE(printed.Pattern.isEmpty());
    EXPECT_TRUE(ean->PrepareValue("12").Pattern.isEmpty());
    EXPECT_EQ(ean->GetPreparedCode(), QByteArray("5901234123457"));
    EXPECT_FALSE(ean->GetCodeValid());
}

TEST(CodeElements, ALinearCodesBoundsHoldItsBarsAndText)
{
    TKindLabel label;
    auto* code = Stub<TZORBaseBarcode>(label);
    code->SetCodeType(TZORBarType::Code128);
    code->SetCode("ABC");
    code->SetBarWidth(0.5f);
    code->SetBarHeight(10.0f);
    code->SetFontHeight(3.0f);
    code->SetPaddingX(1.0f);
    code->SetPaddingY(0.5f);
    const double bars = TBarcode::PatternWidth(code->GetBarPattern(), 0.5, code->GetFactor());
    EXPECT_EQ(code->GetBounds().GetWidth(), zor::Round((bars + 2.0) * 1000.0));
    EXPECT_EQ(code->GetBounds().GetHeight(), 14000);
    code->SetShowNumber(false);
    EXPECT_EQ(code->GetBounds().GetHeight(), 11000);
    // A code that never was valid still has room for its cross.
    auto* never = Stub<TZORBaseBarcode>(label);
    never->SetCode("x");
    EXPECT_GT(never->GetBounds().GetWidth(), 0);
}
