#include "drawing/Zor.Vcl.Shared.Screen.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using zor::BuildClosedPath;
using zor::DrawCenteredTextWithEllipsis;
using zor::DrawTextRect;
using zor::FindGraphicClass;
using zor::SizeBaseText;
using zor::SizeText;
using zor::TCanvas;
using zor::TGraphicClass;

namespace {

using zor::test::InkBounds;

// `size` bytes starting with `head`, the rest zero, with `tail` written at `at`.
QByteArray Bytes(QByteArray head, int size = 44, int at = 0, QByteArray tail = {})
{
    head.resize(size, '\0');
    if (!tail.isEmpty())
        head.replace(at, tail.size(), tail);
    return head;
}

TEST(GraphicClass, TheFirstBytesDecideInTheirOrder)
{
    const struct {
        const char* name;
        QByteArray bytes;
        TGraphicClass cls;
    } table[] = {
        { "bitmap", Bytes("BM"), TGraphicClass::Bitmap },
        { "a bitmap header one byte short", Bytes("BM", 43), TGraphicClass::None },
        { "bitmap before icon", Bytes(QByteArray("BM\x01\x00", 4)), TGraphicClass::Bitmap },
        { "JPEG", Bytes("\xFF\xD8\xFF\xE0"), TGraphicClass::JPEG },
        { "placeable metafile", Bytes("\xD7\xCD\xC6\x9A"), TGraphicClass::Metafile },
        { "enhanced metafile", Bytes(QByteArray("\x01\x00\x00\x00", 4), 44, 40, " EMF"),
            TGraphicClass::Metafile },
        { "record 1 without the signature", Bytes(QByteArray("\x01\x00\x00\x00", 4)), TGraphicClass::None },
        { "icon", Bytes(QByteArray("\x00\x00\x01\x00", 4)), TGraphicClass::Icon },
        { "TIFF", Bytes(QByteArray("II\x2A\x00", 4)), TGraphicClass::None },
        { "TIFF, big-endian", Bytes(QByteArray("MM\x00\x2A", 4)), TGraphicClass::None },
        { "TIFF before icon", Bytes(QByteArray("II\x2A\x00", 4)), TGraphicClass::None },
        { "PNG", Bytes("\x89PNG\r\n\x1A\n"), TGraphicClass::None },
        { "GIF", Bytes("GIF89a"), TGraphicClass::None },
        { "nothing known", Bytes("hello"), TGraphicClass::None },
    };
    for (const auto& row : table) {
        TGraphicClass cls = TGraphicClass::JPEG;
        EXPECT_EQ(
            FindGraphicClass(row.bytes.constData(), row.bytes.size(), cls), row.cls != TGraphicClass::None)
            << row.name;
        EXPECT_EQ(cls, row.cls) << row.name;
    }
    TGraphicClass cls = TGraphicClass::JPEG;
    EXPECT_FALSE(FindGraphicClass(nullptr, 100, cls));
    EXPECT_EQ(cls, TGraphicClass::None);
}

class GraphicClassStream : public zor::test::TempDirTest { };

TEST_F(GraphicClassStream, LooksAtThePositionAndLeavesItThere)
{
    const QByteArray data = "0123456789" + Bytes("BM");
    ASSERT_TRUE(zor::test::WriteFile(Path("image.bin"), data));
    QFile file(Path("image.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.seek(10));
    TGraphicClass cls = TGraphicClass::None;
    EXPECT_TRUE(FindGraphicClass(file, cls));
    EXPECT_EQ(cls, TGraphicClass::Bitmap);
    EXPECT_EQ(file.pos(), 10);
    ASSERT_TRUE(file.seek(12)); // only 42 bytes left
    EXPECT_FALSE(FindGraphicClass(file, cls));
    EXPECT_EQ(file.pos(), 12);

    QByteArray memory = data;
    QBuffer buffer(&memory);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ASSERT_TRUE(buffer.seek(10));
    EXPECT_TRUE(FindGraphicClass(buffer, cls));
    EXPECT_EQ(buffer.pos(), 10);
}

QImage Paper()
{
    QImage image(300, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

TEST(TextRect, MeasuringDrawsNothing)
{
    QImage image = Paper();
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.Font.Height = -20;
    const int lh = canvas.Ascent() + canvas.Descent();
    const QRect box(10, 10, 200, 150);
    // Two lines fit: the box keeps its height unless asked otherwise.
    EXPECT_EQ(DrawTextRect(canvas, box, QStringLiteral("two\nlines"), TZORHorzAlign::Left, TZORVertAlign::Top,
                  false, false),
        2 * lh);
    const QString longText
        = QStringLiteral("many words that need far more lines than the box can hold, one after "
                         "the other until the box is full and beyond it");
    EXPECT_EQ(DrawTextRect(canvas, QRect(10, 10, 100, 50), longText, TZORHorzAlign::Left, TZORVertAlign::Top,
                  false, false),
        50);
    EXPECT_GT(DrawTextRect(canvas, QRect(10, 10, 100, 50), longText, TZORHorzAlign::Left, TZORVertAlign::Top,
                  false, true),
        50);
    painter.end();
    EXPECT_EQ(zor::test::InkCount(image), 0);
}

TEST(TextRect, OneLineAtTheBottomOrInTheMiddle)
{
    const QRect box(10, 10, 280, 180);
    const auto draw = [&](TZORVertAlign vAlign, TZORHorzAlign hAlign) {
        QImage image = Paper();
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.Font.Height = -20;
        DrawTextRect(canvas, box, QStringLiteral("Label"), hAlign, vAlign, true, false);
        return image;
    };
    const QRect bottom = InkBounds(draw(TZORVertAlign::Bottom, TZORHorzAlign::Right));
    EXPECT_GT(bottom.top(), box.bottom() - 25);
    EXPECT_LE(bottom.bottom(), box.bottom());
    EXPECT_GT(bottom.left(), box.center().x());
    const QRect middle = InkBounds(draw(TZORVertAlign::Center, TZORHorzAlign::Center));
    EXPECT_NEAR(middle.center().x(), box.center().x(), 3);
    EXPECT_NEAR(middle.center().y(), box.center().y(), 6);
}

TEST(TextRect, ACentredLineEndsInAnEllipsisWhenTooWide)
{
    QImage image = Paper();
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.Font.Height = -20;
    const QRect box(100, 80, 100, 40);
    const int lh = canvas.Ascent() + canvas.Descent();
    EXPECT_EQ(DrawCenteredTextWithEllipsis(canvas, QStringLiteral("A header far too long for its cell"), box),
        (box.height() - lh) / 2 + lh);
    painter.end();
    const QRect ink = InkBounds(image);
    EXPECT_GE(ink.left(), box.left() - 1);
    EXPECT_LE(ink.right(), box.right() + 1);
    EXPECT_NEAR(ink.center().y(), box.center().y(), 6);
}

TEST(TextSize, TheMetricScreenMeasuresInTenMicrometres)
{
    int width = 0, ascent = 0, descent = 0, baseWidth = 0, baseAscent = 0, baseDescent = 0;
    const QString text = QStringLiteral("Measured text");
    SizeText(text, QStringLiteral("Arial"), false, false, 4005, width, ascent, descent);
    EXPECT_EQ(width % 10, 0);
    EXPECT_EQ(ascent % 10, 0);
    EXPECT_EQ(descent % 10, 0);
    SizeBaseText(text, QStringLiteral("Arial"), false, false, 4000, baseWidth, baseAscent, baseDescent);
    EXPECT_NEAR(width, baseWidth, 10);
    EXPECT_NEAR(ascent, baseAscent, 10);
    int boldWidth = 0;
    SizeText(text, QStringLiteral("Arial"), true, false, 4000, boldWidth, ascent, descent);
    EXPECT_GT(boldWidth, width);
}

TEST(ClosedPath, RunsThroughThePointsAndBack)
{
    QPainterPath path;
    const QPointF points[] = { { 0, 0 }, { 100, 0 }, { 0, 100 } };
    BuildClosedPath(path, points);
    EXPECT_TRUE(path.contains(QPointF(20, 20)));
    EXPECT_FALSE(path.contains(QPointF(80, 80)));
    EXPECT_EQ(path.currentPosition(), QPointF(0, 0));
    BuildClosedPath(path, {});
    EXPECT_TRUE(path.isEmpty());
}

} // namespace
