// The image element: where its picture comes from, how it fits, turns and is filtered inside its
// frames, on screen and on paper, with pictures made by the tests.

#include "elements/RenderHarness.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using zor::ImageFilterName;
using zor::MakeColor;
using zor::Ord;
using zor::TAlphaColor;
using zor::TCanvas;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;

namespace {

using namespace zor::test;
constexpr int Dpi = 300;
constexpr TTarget Targets[] = { TTarget::Export, TTarget::Print };

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

// A picture of w × h pixels: its left half red and its right half blue, so that turns show.
QImage TwoColours(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Blue);
    QPainter(&image).fillRect(0, 0, w / 2, h, Red);
    return image;
}

QImage Plain(const QColor& colour, int w = 40, int h = 40)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray Png(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// An image element in the box from (10, 10) to (30, 30) millimetres holding `picture`.
TZORImage& Framed(TScene& scene, const QByteArray& picture)
{
    TZORImage& image = scene.Add<TZORImage>();
    image.AssignPoints(std::vector<TZORPto> { scene.Pt(10, 10), scene.Pt(30, 30) });
    image.SetImageBytes(picture);
    return image;
}

// The device rectangle of a paper rectangle (millimetres from the label's origin).
QRect Area(double l, double t, double r, double b)
{
    return QRectF(PixelF(Dpi, l, t), PixelF(Dpi, r, b)).toAlignedRect();
}

::testing::AssertionResult NearRect(const QRect& got, const QRect& want, int tolerance = 2)
{
    const bool near = std::abs(got.left() - want.left()) <= tolerance
        && std::abs(got.top() - want.top()) <= tolerance && std::abs(got.right() - want.right()) <= tolerance
        && std::abs(got.bottom() - want.bottom()) <= tolerance;
    if (near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "ink (" << got.left() << ", " << got.top() << ")-(" << got.right() << ", " << got.bottom()
        << "), expected (" << want.left() << ", " << want.top() << ")-(" << want.right() << ", "
        << want.bottom() << ")";
}

::testing::AssertionResult ColourAt(
    const QImage& image, double xmm, double ymm, const QColor& colour, int tolerance = 8)
{
    return ColourNear(image, Pixel(Dpi, xmm, ymm), colour, tolerance);
}

// --- Fitting and turning ---

// A 400 × 200 picture in a 20 mm square keeps its proportions in a band of 20 × 10 mm, wherever
// its alignment puts it; without keeping them it fills the box.
TEST(Image, AKeptProportionLiesWhereItsAlignmentSays)
{
    const struct {
        bool keep;
        uint8_t align;
        QRect ink;
    } cases[] = {
        { true, 0, Area(10, 10, 30, 20) },
        { true, 1, Area(10, 15, 30, 25) },
        { true, 2, Area(10, 20, 30, 30) },
        { false, 1, Area(10, 10, 30, 30) },
    };
    for (const int scale : Scales)
        for (const auto& c : cases)
            for (const TTarget target : Targets) {
                SCOPED_TRACE(testing::Message() << "keep " << c.keep << " align " << int(c.align) << " scale "
                                                << scale << " " << Name(target));
                TScene scene(scale);
                TZORImage& image = Framed(scene, Png(TwoColours(400, 200)));
                image.SetKeepAspect(c.keep);
                image.SetImageAlign(c.align);
                EXPECT_TRUE(NearRect(InkBounds(scene.Render(target, Dpi)), c.ink));
            }
}

// A kept proportion is fitted inside the frame's border and padding: a 400 × 200 picture in a
// 20 mm square with 2 mm of padding fills a band of 16 × 8 mm, never a squashed one.
TEST(Image, AKeptProportionFitsInsideThePadding)
{
    for (const TTarget target : Targets) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORImage& image = Framed(scene, Png(TwoColours(400, 200)));
        image.SetFrame(TZORFrame::Rectangle);
        image.SetPenWidth(0.0f);
        image.SetPadding(2.0f);
        image.SetKeepAspect(true);
        image.SetImageAlign(0);
        EXPECT_TRUE(NearRect(InkBounds(scene.Render(target, Dpi)), Area(12, 12, 28, 20)));
    }
}

// Turned counter-clockwise, the picture is fitted at its turned size: a quarter turn stands the
// red left half at the bottom.
TEST(Image, TurnsTakeThePictureWithThem)
{
    const struct {
        TZORAngle angle;
        QRect ink;
        QPointF red, blue;
    } cases[] = {
        { TZORAngle::Angle0, Area(10, 15, 30, 25), { 13, 20 }, { 27, 20 } },
        { TZORAngle::Angle90, Area(15, 10, 25, 30), { 20, 27 }, { 20, 13 } },
        { TZORAngle::Angle180, Area(10, 15, 30, 25), { 27, 20 }, { 13, 20 } },
        { TZORAngle::Angle270, Area(15, 10, 25, 30), { 20, 13 }, { 20, 27 } },
    };
    for (const auto& c : cases)
        for (const TTarget target : Targets) {
            SCOPED_TRACE(testing::Message() << "angle " << zor::Ord(c.angle) << " " << Name(target));
            TScene scene;
            TZORImage& image = Framed(scene, Png(TwoColours(400, 200)));
            image.SetAngle(c.angle);
            const QImage rendered = scene.Render(target, Dpi);
            EXPECT_TRUE(NearRect(InkBounds(rendered), c.ink));
            EXPECT_TRUE(ColourAt(rendered, c.red.x(), c.red.y(), Red));
            EXPECT_TRUE(ColourAt(rendered, c.blue.x(), c.blue.y(), Blue));
            if (target == TTarget::Export) {
                EXPECT_EQ(image.GetTurnedWidth(), zor::Ord(c.angle) % 2 == 0 ? 400 : 200);
                EXPECT_EQ(image.GetTurnedHeight(), zor::Ord(c.angle) % 2 == 0 ? 200 : 400);
            }
        }
}

// --- Frames ---

// A probe of a render: a paper position and the colour expected there.
struct TProbe {
    QPointF At;
    QColor Colour;
    int Tolerance = 8;
};

// The rectangle's border runs along the box's edge (inside it on screen, without a fill) and the
// picture starts inside the border and the padding. A circle's diameter is the box's shorter side, centred
// along the longer one; the picture fills the square inscribed in it, or is clipped to it by frame 3.
TEST(Image, FramesBorderAndHoldThePicture)
{
    const double half = 5.0 * std::sqrt(0.5) - 0.1; // the inscribed square less half the pen
    const struct {
        const char* name;
        QRectF box;
        TZORFrame frame;
        float pen, padding;
        std::vector<TProbe> probes;
    } cases[] = {
        { "rectangle", { 10, 10, 20, 20 }, TZORFrame::Rectangle, 0.5f, 1.0f,
            {
                { { 10.15, 20.0 }, Qt::black, 16 }, // the border along the edge
                { { 9.6, 20.0 }, Qt::white }, // outside it
                { { 10.7, 20.0 }, Qt::white }, // the padding
                { { 11.5, 20.0 }, Red },
                { { 28.5, 28.5 }, Red },
                { { 29.3, 29.3 }, Qt::white },
            } },
        { "circle", { 10, 10, 20, 10 }, TZORFrame::Circle, 0.2f, 0.0f,
            {
                { { 15.0, 15.0 }, Qt::black, 40 }, // the circle's left edge
                { { 12.0, 15.0 }, Qt::white },
                { { 20.0 - half + 0.15, 15.0 }, Red },
                { { 20.0 - half - 0.15, 15.0 }, Qt::white },
                { { 20.0, 15.0 + half - 0.15 }, Red },
                { { 20.0, 15.0 + half + 0.15 }, Qt::white },
            } },
        { "circle clip", { 10, 10, 20, 20 }, TZORFrame::CircleClip, 0.0f, 0.0f,
            {
                { { 11.0, 11.0 }, Qt::white },
                { { 29.0, 29.0 }, Qt::white },
                { { 20.0, 10.5 }, Red },
                { { 20.0, 20.0 }, Red },
            } },
    };
    for (const auto& c : cases)
        for (const TTarget target : Targets) {
            SCOPED_TRACE(testing::Message() << c.name << " " << Name(target));
            TScene scene;
            TZORImage& image = scene.Add<TZORImage>();
            image.AssignPoints(std::vector<TZORPto> {
                scene.Pt(c.box.left(), c.box.top()), scene.Pt(c.box.right(), c.box.bottom()) });
            image.SetImageBytes(Png(Plain(Red)));
            image.SetKeepAspect(false);
            image.SetFrame(c.frame);
            image.SetPenWidth(c.pen);
            image.SetPadding(c.padding);
            const QImage rendered = scene.Render(target, Dpi);
            for (const TProbe& probe : c.probes)
                EXPECT_TRUE(ColourAt(rendered, probe.At.x(), probe.At.y(), probe.Colour, probe.Tolerance));
        }
}

// A rectangle's border: paper strokes it on the box's edge; the screen too over an opaque fill,
// but inside the box, inset by half its width, without one.
TEST(Image, TheScreenInsetsTheBorderOfAnUnfilledRectangle)
{
    const struct {
        TTarget target;
        bool filled;
        bool outside; // ink just outside the box's edge
    } cases[] = {
        { TTarget::Export, false, false },
        { TTarget::Export, true, true },
        { TTarget::Print, false, true },
        { TTarget::Print, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Name(c.target) << (c.filled ? ", filled" : ""));
        TScene scene;
        TZORImage& image = Framed(scene, Png(Plain(Red)));
        image.SetFrame(TZORFrame::Rectangle);
        image.SetPenWidth(0.5f);
        image.SetFilled(c.filled);
        image.SetBackColor(TAlphaColor { 0xFF00FF00 });
        image.SetPadding(1.0f);
        const QImage rendered = scene.Render(c.target, Dpi);
        EXPECT_EQ(ColourAt(rendered, 9.85, 20.0, Qt::black, 60), c.outside);
        EXPECT_TRUE(ColourAt(rendered, 10.15, 20.0, Qt::black, 60)); // inside the edge
    }
}

// The filters' names, as lists of choices show them.
TEST(Image, FiltersHaveTheirNames)
{
    EXPECT_EQ(zor::ImageFilterName(TZORImgFilter::None), QStringLiteral("None"));
    EXPECT_EQ(zor::ImageFilterName(TZORImgFilter::Grayscale), QStringLiteral("Grayscale"));
    EXPECT_EQ(zor::ImageFilterName(TZORImgFilter::BlackAndWhite), QStringLiteral("Black and White"));
    EXPECT_TRUE(zor::ImageFilterName(TZORImgFilter(7)).isEmpty());
}

// A frameless image shows a light outline in the editor only, where the picture leaves room.
TEST(Image, AFramelessImageIsOutlinedInTheEditorOnly)
{
    TScene scene;
    Framed(scene, Png(TwoColours(400, 200)));
    const QColor grey(0xC0, 0xC0, 0xC0);
    EXPECT_TRUE(ColourAt(scene.Render(TTarget::Editor, Dpi), 20.0, 10.0, grey, 24));
    EXPECT_TRUE(ColourAt(scene.Render(TTarget::Editor, Dpi), 10.0, 12.0, grey, 24));
    EXPECT_TRUE(ColourAt(scene.Render(TTarget::Export, Dpi), 20.0, 10.0, Qt::white, 0));
    EXPECT_TRUE(ColourAt(scene.Render(TTarget::Print, Dpi), 20.0, 10.0, Qt::white, 0));
}

// --- Filters ---

// Grey weighs 0.299, 0.587, 0.114 on screen and 0.3, 0.59, 0.11 on paper; black and white
// triples the sum by a half.
TEST(Image, FiltersMixTheColours)
{
    const struct {
        TZORImgFilter filter;
        QColor in;
        int screen, paper;
    } cases[] = {
        { TZORImgFilter::Grayscale, QColor(0, 0, 255), 29, 28 },
        { TZORImgFilter::Grayscale, QColor(200, 100, 50), 124, 124 },
        { TZORImgFilter::BlackAndWhite, QColor(30, 20, 10), 90, 90 },
        { TZORImgFilter::BlackAndWhite, QColor(60, 60, 60), 255, 255 },
        { TZORImgFilter::None, QColor(30, 20, 10), -1, -1 },
    };
    for (const auto& c : cases)
        for (const TTarget target : Targets) {
            SCOPED_TRACE(testing::Message() << "filter " << zor::Ord(c.filter) << " " << Name(target));
            TScene scene;
            TZORImage& image = Framed(scene, Png(Plain(c.in)));
            image.SetFilter(c.filter);
            const int v = target == TTarget::Print ? c.paper : c.screen;
            EXPECT_TRUE(ColourAt(scene.Render(target, Dpi), 20, 20, v < 0 ? c.in : QColor(v, v, v), 1));
        }
}

// --- Sources ---

// Scenes whose label takes its pictures from the folder "pictures" of the test's folder.
class ImageFiles : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ASSERT_TRUE(QDir(DirPath()).mkdir(QStringLiteral("pictures")));
        Fresh();
    }

    QString InFolder(const QString& name) const { return Path(QStringLiteral("pictures/") + name); }

    TScene& Fresh()
    {
        fScene = std::make_unique<TScene>();
        fScene->Label().SetImageFolder(Path(QStringLiteral("pictures")));
        return *fScene;
    }

    TZORImage& FromFile(const QString& name)
    {
        TZORImage& image = Framed(*fScene, {});
        image.SetFileName(name);
        image.SetKeepAspect(false);
        return image;
    }

    QImage Render(TTarget target, int dpi = Dpi) const { return fScene->Render(target, dpi); }
    QColor Centre(TTarget target) const { return Render(target).pixelColor(Pixel(Dpi, 20, 20)); }

    std::unique_ptr<TScene> fScene;
};

// Nothing to show, or nothing that decodes, is no picture: the element draws and prints nothing,
// and the editor shows only the marker of a bound image.
TEST_F(ImageFiles, WithoutAPictureOnlyTheDataMarkerShows)
{
    ASSERT_TRUE(WriteFile(InFolder("text.png"), "not a picture"));
    const std::function<void(TZORImage&)> sources[] = {
        [](TZORImage& i) { i.SetFileName(QStringLiteral("missing.png")); },
        [](TZORImage& i) { i.SetFileName(QStringLiteral("text.png")); },
        [](TZORImage& i) { i.SetImageBytes("\x89PNG but broken"); },
        [](TZORImage& i) { i.SetFileName({}); },
    };
    for (size_t k = 0; k < std::size(sources); ++k) {
        SCOPED_TRACE(k);
        TZORImage& image = Framed(Fresh(), {});
        sources[k](image);
        image.SetFrame(TZORFrame::Rectangle);
        image.SetFilled(true);
        image.SetFillType(1);
        for (const TTarget target : Targets)
            EXPECT_EQ(InkCount(Render(target)), 0) << Name(target);
        const QImage editor = Render(TTarget::Editor, 96);
        EXPECT_TRUE(ColourNear(editor, Pixel(96, 10, 10), QColor(0x90, 0xEE, 0x90), 8));
        const QRect ink = InkBounds(editor);
        EXPECT_LE(ink.width(), 9);
        EXPECT_LE(ink.height(), 9);
        EXPECT_EQ(image.GetImageWidth(), 0);
        EXPECT_EQ(image.GetImageHeight(), 0);
    }
}

// An embedding image takes its file's picture as PNG when the label brings it up to date (after
// reading it, after a change of its properties), never while it is drawn; from then on the file
// is not needed.
TEST_F(ImageFiles, AnEmbeddingImageKeepsItsPictureOnceShown)
{
    ASSERT_TRUE(WriteFile(InFolder("red.png"), Png(Plain(Red))));
    TZORImage& image = FromFile(QStringLiteral("red.png"));
    image.SetEmbedImage(true);
    EXPECT_EQ(Centre(TTarget::Export), Red);
    EXPECT_TRUE(image.GetImageBytes().isEmpty());
    image.CalcValues(0);
    ASSERT_TRUE(image.GetImageBytes().startsWith("\x89PNG\r\n\x1a\n"));
    ASSERT_TRUE(QFile::remove(InFolder("red.png")));
    image.ReloadImage();
    EXPECT_EQ(Centre(TTarget::Export), Red);
    EXPECT_EQ(Centre(TTarget::Print), Red);
}

// Embedded bytes win over the file on both targets, embedding wanted or not.
TEST_F(ImageFiles, ScreenAndPaperShowTheSameSource)
{
    ASSERT_TRUE(WriteFile(InFolder("blue.png"), Png(Plain(Blue))));
    for (const bool embed : { false, true }) {
        SCOPED_TRACE(embed);
        Fresh();
        TZORImage& image = FromFile(QStringLiteral("blue.png"));
        image.SetImageBytes(Png(Plain(Red)));
        image.SetEmbedImage(embed);
        EXPECT_EQ(Centre(TTarget::Export), Red);
        EXPECT_EQ(Centre(TTarget::Print), Red);
        // Without bytes, the file.
        image.SetImageBytes({});
        EXPECT_EQ(Centre(TTarget::Export), Blue);
        EXPECT_EQ(Centre(TTarget::Print), Blue);
    }
}

// A file name is taken inside the image folder only.
TEST_F(ImageFiles, NamesLeadingOutOfTheFolderShowNothing)
{
    ASSERT_TRUE(WriteFile(Path("outside.png"), Png(Plain(Red))));
    ASSERT_TRUE(WriteFile(InFolder("inside.png"), Png(Plain(Blue))));
    const struct {
        QString name;
        bool shown;
    } cases[] = {
        { QStringLiteral("../outside.png"), false },
        { QStringLiteral("sub/../../outside.png"), false },
        { Path("outside.png"), false },
        { QStringLiteral("sub/../inside.png"), true },
        { QStringLiteral("./inside.png"), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        Fresh();
        FromFile(c.name);
        for (const TTarget target : Targets)
            EXPECT_EQ(InkCount(Render(target)) > 0, c.shown) << Name(target);
    }
}

// --- Bound pictures ---

// A label whose data records hold pictures.
class TPictureLabel : public TZORLabelVCL {
public:
    std::vector<QByteArray> Pictures;
    int Current = 0;

    QByteArray DataGraphic(const QString&) const override
    {
        return Current < int(Pictures.size()) ? Pictures[size_t(Current)] : QByteArray();
    }
};

// One element printed alone at 300 dpi on a 40 mm page, its label's origin 2 mm in.
QImage PrintAlone(TZORBaseItem& item)
{
    QImage page(472, 472, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    QPainter painter(&page);
    TCanvas canvas(painter);
    TGPGraphics graphics(painter);
    TGPPen pen(MakeColor(0xFF, 0, 0, 0));
    TGPSolidBrush brush(MakeColor(0xFF, 0, 0, 0));
    TZORDraw D;
    D.SetupPrint(
        &canvas, &graphics, &pen, &brush, Dpi, Dpi, page.width(), page.height(), 1, TZORUnits::Millimetre);
    D.fOrgX = D.fOrgY = 24;
    item.PrintElement(D);
    return page;
}

TEST(Image, ABoundImagePrintsEachRecordsPicture)
{
    TPictureLabel label;
    label.Pictures = { Png(Plain(Red)), Png(Plain(Blue)), QByteArray("no picture") };
    TZORImage image(&label, false);
    image.AssignPoints(std::vector<TZORPto> { { 10000, 10000 }, { 30000, 30000 } });
    image.SetImageBytes(Png(Plain(Qt::green)));
    image.SetFillType(1);
    image.SetFillName(QStringLiteral("Photo"));
    const QPoint centre = Pixel(Dpi, 20, 20);
    EXPECT_EQ(PrintAlone(image).pixelColor(centre), Red);
    label.Current = 1;
    EXPECT_EQ(PrintAlone(image).pixelColor(centre), Blue);
    for (const int record : { 2, 3 }) {
        label.Current = record;
        EXPECT_EQ(InkCount(PrintAlone(image)), 0) << record;
    }
}

} // namespace
