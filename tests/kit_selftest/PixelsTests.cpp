#include "kit/Pixels.h"

#include <QFileInfo>
#include <QPainter>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zor::test {
namespace {

// White 100x60 with a red 30x10 bar at (10, 20) and a blue 20x40 block at (60, 5).
QImage TwoShapes()
{
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(10, 20, 30, 10), Qt::red);
    painter.fillRect(QRect(60, 5, 20, 40), Qt::blue);
    return image;
}

TEST(KitPixels, ColourNearReportsTheColourFoundAndHonoursTheTolerance)
{
    const QImage image = TwoShapes();
    EXPECT_TRUE(ColourNear(image, { 15, 25 }, Qt::red));
    EXPECT_TRUE(ColourNear(image, { 15, 25 }, QColor(250, 6, 0), 6));

    const ::testing::AssertionResult off = ColourNear(image, { 15, 25 }, QColor(250, 6, 0), 5);
    EXPECT_FALSE(off);
    EXPECT_THAT(off.message(), ::testing::HasSubstr("#ffff0000"));
    EXPECT_THAT(off.message(), ::testing::HasSubstr("off by 6"));

    const ::testing::AssertionResult outside = ColourNear(image, { 100, 0 }, Qt::white);
    EXPECT_FALSE(outside);
    EXPECT_THAT(outside.message(), ::testing::HasSubstr("outside"));
}

TEST(KitPixels, InkBoundsAndCountsCoverTheShapesAndOnlyThem)
{
    const QImage image = TwoShapes();
    EXPECT_EQ(InkBounds(image), QRect(10, 5, 70, 40));
    EXPECT_EQ(InkCount(image), 30 * 10 + 20 * 40);
    EXPECT_EQ(InkBounds(image, {}, QRect(0, 0, 50, 60)), QRect(10, 20, 30, 10));
    EXPECT_EQ(InkCount(image, {}, QRect(70, 0, 100, 100)), 10 * 40); // clipped to the image
    EXPECT_TRUE(InkBounds(image, {}, QRect(0, 0, 10, 60)).isNull());
    // on a red background only the white paper and the blue block differ
    EXPECT_EQ(InkCount(image, { .background = Qt::red }), 100 * 60 - 30 * 10);
}

TEST(KitPixels, ToleranceSeparatesFaintFringesFromInk)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 4, qRgb(230, 230, 230));
    image.setPixel(12, 15, qRgb(180, 180, 180));
    EXPECT_EQ(InkBounds(image), QRect(12, 15, 1, 1));
    EXPECT_EQ(InkBounds(image, { .tolerance = 0 }), QRect(3, 4, 10, 12));
}

TEST(KitPixels, TransparentPaperIsNotInkWhateverItsColourChannels)
{
    QImage image(30, 30, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(255, 255, 255, 0)); // invisible, though not "transparent black"
    QPainter painter(&image);
    painter.fillRect(QRect(5, 6, 7, 8), Qt::black);
    painter.end();
    EXPECT_EQ(InkBounds(image, { .background = Qt::transparent }), QRect(5, 6, 7, 8));
}

TEST(KitPixels, InkMaskIsBlackInkOnWhiteAndKeepsTheInk)
{
    const QImage image = TwoShapes();
    const QImage mask = InkMask(image);
    ASSERT_EQ(mask.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(mask.pixelColor(15, 25), QColor(Qt::black));
    EXPECT_EQ(mask.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(InkBounds(mask), InkBounds(image));
    EXPECT_EQ(InkCount(mask), InkCount(image));
}

TEST(KitPixels, InkIoUMeasuresOverlapAndScalesTheSecondImage)
{
    QImage left(40, 20, QImage::Format_RGB32);
    left.fill(Qt::white);
    QImage shifted = left;
    QPainter(&left).fillRect(QRect(0, 0, 10, 10), Qt::black);
    QPainter(&shifted).fillRect(QRect(5, 0, 10, 10), Qt::black);
    EXPECT_DOUBLE_EQ(InkIoU(left, left), 1.0);
    EXPECT_DOUBLE_EQ(InkIoU(left, shifted), 50.0 / 150.0);

    QImage blank(40, 20, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_DOUBLE_EQ(InkIoU(blank, blank), 1.0);
    EXPECT_DOUBLE_EQ(InkIoU(left, blank), 0.0);
    EXPECT_DOUBLE_EQ(InkIoU(left, QImage()), 0.0);

    // the same page at three times the resolution, as print against screen
    QImage large(300, 180, QImage::Format_RGB32);
    large.fill(Qt::white);
    QPainter painter(&large);
    painter.scale(3, 3);
    painter.fillRect(QRect(10, 20, 30, 10), Qt::red);
    painter.fillRect(QRect(60, 5, 20, 40), Qt::blue);
    painter.end();
    EXPECT_GT(InkIoU(TwoShapes(), large), 0.95);
    EXPECT_LT(InkIoU(TwoShapes(), large.mirrored(true, false)), 0.5);
}

TEST(KitPixels, RunsAlongARowAndAColumnGiveDashesAndGaps)
{
    QImage image(30, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const int x : { 4, 13 })
        painter.fillRect(QRect(x, 2, 6, 1), Qt::black);
    painter.fillRect(QRect(22, 2, 2, 1), Qt::black);
    painter.fillRect(QRect(7, 10, 1, 5), Qt::black);
    painter.fillRect(QRect(7, 18, 1, 22), Qt::black);
    painter.end();

    const std::vector<PixelRun> row = RowRuns(image, 2);
    const std::vector<PixelRun> expected { { false, 0, 4 }, { true, 4, 6 }, { false, 10, 3 }, { true, 13, 6 },
        { false, 19, 3 }, { true, 22, 2 }, { false, 24, 6 } };
    EXPECT_EQ(row, expected);
    EXPECT_EQ(InkLengths(row), (std::vector<int> { 6, 6, 2 }));
    EXPECT_EQ(GapLengths(row), (std::vector<int> { 3, 3 }));

    const std::vector<PixelRun> column = ColumnRuns(image, 7);
    EXPECT_EQ(InkLengths(column), (std::vector<int> { 1, 5, 22 })); // the row's first dash crosses it
    EXPECT_EQ(GapLengths(column), (std::vector<int> { 7, 3 }));
    EXPECT_TRUE(RowRuns(image, 40).empty());
    EXPECT_TRUE(ColumnRuns(image, -1).empty());
}

TEST(KitPixels, SaveForInspectionWritesAPngNamedAfterTheTest)
{
    const QString path = SaveForInspection(TwoShapes(), QStringLiteral("two shapes"));
    EXPECT_THAT(path.toStdString(),
        ::testing::HasSubstr(
            "/test-output/KitPixels.SaveForInspectionWritesAPngNamedAfterTheTest-two_shapes.png"));
    const QImage back(path);
    EXPECT_EQ(back.size(), QSize(100, 60));
    EXPECT_TRUE(ColourNear(back, { 15, 25 }, Qt::red));
    EXPECT_TRUE(QFile::remove(path));
}

TEST(KitPixels, SaveOnFailureSavesNothingWhenTheTestPasses)
{
    const QString path = SaveForInspection(TwoShapes(), QStringLiteral("guard"));
    ASSERT_TRUE(QFile::remove(path));
    {
        const SaveOnFailure guard(TwoShapes(), QStringLiteral("guard"));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
} // namespace zor::test
