// Dimensions: the eight types on screen and on paper, the text that breaks the line, and the
// measured text a printed document holds.

#include "elements/Kinds.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <numbers>
#include <string_view>
#include <vector>

using zor::Ord;
using zor::TAlphaColor;
using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr double Diagonal = std::numbers::sqrt2 / 2;
constexpr TAlphaColor White { 0xFFFFFFFF };

// The style every test draws with: each part in a colour of its own.
void Style(TScene& scene)
{
    TZORDimStyle& style = *scene.Label().GetActiveDimStyle();
    style.fDimColor = Blue;
    style.fExtColor = Green;
    style.fHeadColor = Red;
    style.fFillColor = Red;
    style.fDimPenWidth = 0.3f;
    style.fExtPenWidth = 0.3f;
    style.fHeadSize = 2.5f;
    style.fFontHeight = 3.0f;
    style.fFormat = QStringLiteral("0.0");
}

TZORDim& Dim(TScene& scene, TZRDimType type, std::initializer_list<QPointF> mm)
{
    TZORDim& dim = scene.Add<TZORDim>(type);
    std::vector<TZORPto> points;
    for (const QPointF& p : mm)
        points.push_back(scene.Pt(p.x(), p.y()));
    dim.AssignPoints(points);
    // As the label fills a new dimension's text in.
    dim.AssignText();
    dim.CalcValues(0);
    return dim;
}

// A linear dimension of the points (x1, y1) and (x2, y2) whose line passes through (x3, y3), its
// type and extension lines laid out as the label lays them out when it makes one.
TZORDim& Linear(TScene& scene, QPointF a, QPointF b, QPointF through)
{
    std::array<TZORPto, 6> derived;
    const TZORPto pa = scene.Pt(a.x(), a.y()), pb = scene.Pt(b.x(), b.y()),
                  pt = scene.Pt(through.x(), through.y());
    const TZRDimType type
        = TZORBaseDim::CalcDimPoints(&scene.Label(), pa.X, pa.Y, pb.X, pb.Y, pt.X, pt.Y, derived);
    TZORDim& dim = scene.Add<TZORDim>(type);
    dim.AssignPoints(
        std::vector { pa, pb, derived[0], derived[1], derived[2], derived[3], derived[4], derived[5] });
    dim.AssignText();
    dim.CalcValues(0);
    return dim;
}

// Pixels of `region` (the whole image when null) within 60 of `colour` in every channel.
int CountNear(const QImage& image, const QColor& colour, QRect region = {})
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    region = region.isNull() ? argb.rect() : region.intersected(argb.rect());
    const auto near = [](int a, int b) { return std::abs(a - b) <= 60; };
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb p = argb.pixel(x, y);
            count += near(qRed(p), colour.red()) && near(qGreen(p), colour.green())
                    && near(qBlue(p), colour.blue())
                ? 1
                : 0;
        }
    return count;
}

QRect Region(double left, double top, double right, double bottom)
{
    return QRect(Pixel(Dpi, left, top), Pixel(Dpi, right, bottom));
}

struct TProbe {
    QPointF At;
    TAlphaColor Colour;
};

struct TTypeCase {
    const char* Name;
    void (*Make)(TScene&);
    std::vector<TProbe> Probes;
    bool Extension; // extension lines are drawn
    std::array<double, 4> Text; // where the text's ink lies: left, top, right, bottom (millimetres)
};

// Points by role (see TZORBaseDim): a circle about (20, 20) of radius 8 for the radial and the
// diameter types, an arc about (20, 30) of radius 12 from the right to the top for the angle.
const std::vector<TTypeCase>& TypeCases()
{
    static const std::vector<TTypeCase> cases = {
        { "horizontal",
            [](TScene& s) {
                Linear(s, { 10, 25 }, { 30, 25 }, { 20, 15 });
            },
            { { { 10, 20 }, Green }, { { 30, 20 }, Green }, { { 15, 15 }, Blue }, { { 11.8, 15.35 }, Red },
                { { 28.2, 15.35 }, Red } },
            true, { 14, 9, 26, 14.8 } },
        { "vertical",
            [](TScene& s) {
                Linear(s, { 25, 10 }, { 25, 30 }, { 15, 20 });
            },
            { { { 20, 10 }, Green }, { { 20, 30 }, Green }, { { 15, 13 }, Blue }, { { 15.35, 11.8 }, Red },
                { { 15.35, 28.2 }, Red } },
            true, { 9, 14, 14.8, 26 } },
        { "aligned",
            [](TScene& s) {
                Linear(s, { 10, 30 }, { 30, 10 }, { 22, 22 });
            },
            { { { 11.5, 31.5 }, Green }, { { 31.5, 11.5 }, Green }, { { 16, 28 }, Blue } }, true, {} },
        { "radius from the centre",
            [](TScene& s) {
                Dim(s, TZRDimType::Radius,
                    { { 20, 20 }, { 28, 20 }, { 28, 20 }, { 34, 20 }, { 20, 20 }, { 28, 20 }, { 28, 20 },
                        { 34, 20 } });
            },
            { { { 23, 20 }, Blue }, { { 31, 20 }, Blue }, { { 26.8, 20.35 }, Red } }, false,
            { 20, 14, 28, 19.8 } },
        { "radius from outside",
            [](TScene& s) {
                Dim(s, TZRDimType::RadiusOut,
                    { { 20, 20 }, { 28, 20 }, { 34, 20 }, { 38, 20 }, { 20, 20 }, { 28, 20 }, { 28, 20 },
                        { 38, 20 } });
            },
            { { { 33, 20 }, Blue }, { { 37, 20 }, Blue }, { { 29.2, 20.35 }, Red }, { { 24, 20 }, White } },
            false, { 20, 14, 28, 19.8 } },
        { "diameter across",
            [](TScene& s) {
                Dim(s, TZRDimType::Diameter,
                    { { 12, 20 }, { 28, 20 }, { 12, 20 }, { 6, 20 }, { 12, 20 }, { 28, 20 }, { 28, 20 },
                        { 6, 20 } });
            },
            { { { 20, 20 }, Blue }, { { 8, 20 }, Blue }, { { 13.2, 20.35 }, Red }, { { 26.8, 20.35 }, Red } },
            false, { 14, 14, 26, 19.8 } },
        { "diameter from outside",
            [](TScene& s) {
                Dim(s, TZRDimType::DiameterOut,
                    { { 20, 20 }, { 28, 20 }, { 34, 20 }, { 38, 20 }, { 20, 20 }, { 28, 20 }, { 28, 20 },
                        { 38, 20 } });
            },
            { { { 33, 20 }, Blue }, { { 29.2, 20.35 }, Red }, { { 24, 20 }, White } }, false,
            { 20, 14, 28, 19.8 } },
        { "angle",
            [](TScene& s) {
                Dim(s, TZRDimType::Angle,
                    { { 14, 30 }, { 29, 30 }, { 14, 30 }, { 14, 15 }, { 26, 30 }, { 14, 18 },
                        { 14 + 12 * Diagonal, 30 - 12 * Diagonal }, { 24, 20 } });
            },
            { { { 14 + 12 * Diagonal, 30 - 12 * Diagonal }, Blue }, { { 26.3, 28.8 }, Red },
                { { 15.2, 17.7 }, Red }, { { 28, 30 }, White } },
            false, { 22, 14, 34, 24 } },
    };
    return cases;
}

// Each type strokes its own lines in the dimension colour, sets its heads in the head colour and
// shows its measured text; only the linear types have extension lines. Leaders and landings take
// the dimension colour on paper too.
TEST(Dim, EachTypeDrawsItsLinesHeadsAndText)
{
    for (const TTypeCase& c : TypeCases())
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                Style(scene);
                c.Make(scene);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << c.Name << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, QString::fromUtf8(c.Name) + QLatin1Char(' ') + Name(target));
                for (const TProbe& p : c.Probes)
                    EXPECT_TRUE(
                        ColourNear(image, Pixel(Dpi, p.At.x(), p.At.y()), zor::ToQColor(p.Colour), 60))
                        << p.At.x() << ", " << p.At.y();
                EXPECT_EQ(CountNear(image, zor::ToQColor(Green)) > 0, c.Extension);
                if (c.Text[2] > 0.0) {
                    const auto& t = c.Text;
                    EXPECT_GT(CountNear(image, Qt::black, Region(t[0], t[1], t[2], t[3])), 40);
                }
            }
}

// At the same resolution the screen and the paper put the same ink in the same places: the
// text's two origins (baseline start on screen, top-left corner on paper) name one position. The
// angular type's text is the exception the model makes: both origins on one point, so its printed
// text sits an ascent lower.
TEST(Dim, ScreenAndPaperAgree)
{
    for (const TTypeCase& c : TypeCases())
        for (int scale : Scales) {
            TScene scene(scale);
            Style(scene);
            c.Make(scene);
            const TScreenAndPaper both(scene, Dpi, 1, QString::fromUtf8(c.Name));
            SCOPED_TRACE(testing::Message() << c.Name << " scale " << scale << " near " << both.Near);
            if (std::string_view(c.Name) == "angle")
                EXPECT_LT(both.Near, 0.97);
            else
                EXPECT_GE(both.Near, 0.97);
        }
}

// A radius and a diameter drawn from outside the circle are the same lines and head.
TEST(Dim, BothLeadersFromOutsideDrawAlike)
{
    for (TTarget target : BothTargets) {
        QImage images[2];
        int i = 0;
        for (TZRDimType type : { TZRDimType::RadiusOut, TZRDimType::DiameterOut }) {
            TScene scene;
            Style(scene);
            TZORDim& dim = Dim(scene, type,
                { { 20, 20 }, { 28, 20 }, { 34, 25 }, { 38, 25 }, { 20, 20 }, { 28, 20 }, { 28, 20 },
                    { 38, 25 } });
            dim.SetDimExt(true);
            dim.SetText(QStringLiteral("12"));
            dim.CalcValues(0);
            images[i++] = scene.Render(target, Dpi);
        }
        EXPECT_EQ(images[0], images[1]) << Name(target);
        EXPECT_GT(InkCount(images[0]), 0);
    }
}

// Text positions 3 to 5 break the dimension line round the text; without a text the line is whole.
TEST(Dim, InLineTextBreaksTheLineOnlyWhenThereIsAText)
{
    const struct {
        TZORTextPos Pos;
        const char* Text;
        bool Gap;
    } cases[] = {
        { TZORTextPos::InLine, "        ", true },
        { TZORTextPos::InLineStart, "        ", true },
        { TZORTextPos::InLine, "", false },
        { TZORTextPos::Above, "        ", false },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                Style(scene);
                scene.Label().GetActiveDimStyle()->fTextPos = zor::Ord(c.Pos);
                scene.Label().GetActiveDimStyle()->fHeadType = TZORTermType::None;
                TZORDim& dim = Linear(scene, { 6, 25 }, { 34, 25 }, { 20, 15 });
                dim.SetDimExt(true);
                dim.SetText(QString::fromUtf8(c.Text));
                dim.CalcValues(0);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << int(zor::Ord(c.Pos)) << " '" << c.Text << "' scale " << scale << " " << Name(target));
                const std::vector<int> gaps = GapLengths(RowRuns(image, Pixel(Dpi, 0, 15).y()));
                // The extension lines stand at both ends of the dimension line.
                if (!c.Gap) {
                    EXPECT_TRUE(gaps.empty());
                    continue;
                }
                ASSERT_EQ(gaps.size(), 1u);
                const double width = double(dim.GetTextWidth()) / (1000.0 * scale);
                EXPECT_NEAR(gaps[0], Pixels(Dpi, width), 3.0);
            }
}

// An angular dimension whose arc points lie on one line shows its text alone.
TEST(Dim, AnAngleWithoutAnArcShowsOnlyItsText)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        Style(scene);
        TZORDim& dim = Dim(scene, TZRDimType::Angle,
            { { 5, 30 }, { 35, 30 }, { 5, 30 }, { 35, 30 }, { 10, 30 }, { 30, 30 }, { 20, 30 }, { 20, 25 } });
        dim.SetDimExt(true);
        dim.SetText(QStringLiteral("0"));
        dim.CalcValues(0);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_EQ(CountNear(image, zor::ToQColor(Blue)), 0) << Name(target);
        EXPECT_EQ(CountNear(image, zor::ToQColor(Red)), 0) << Name(target);
        EXPECT_GT(CountNear(image, Qt::black), 40) << Name(target);
    }
}

class DimPdf : public TempDirTest { };

// The printed document holds each measured text, in the label's unit, by the style's format,
// prefix and suffix.
TEST_F(DimPdf, PrintsTheMeasuredTexts)
{
    TScene scene;
    Style(scene);
    scene.Label().GetActiveDimStyle()->fSuffix = QStringLiteral("mm");
    Linear(scene, { 5, 35 }, { 27.5, 35 }, { 16, 30 });
    Linear(scene, { 36, 4 }, { 36, 16.5 }, { 33, 10 });
    Dim(scene, TZRDimType::Angle,
        { { 8, 22 }, { 20, 22 }, { 8, 22 }, { 8, 10 }, { 18, 22 }, { 8, 12 },
            { 8 + 10 * Diagonal, 22 - 10 * Diagonal }, { 15, 15 } });
    const QString pdf = Path(QStringLiteral("dims.pdf"));
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    QStringList words;
    for (const PdfWord& w : PdfWords(pdf))
        words << w.text;
    EXPECT_TRUE(words.contains(QStringLiteral("22.5mm"))) << words.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("12.5mm"))) << words.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("90.0mm"))) << words.join(QLatin1Char(' ')).toStdString();
}

// The text of a dimension follows its points when the label fills it in, unless it is the user's
// own; laying it out and printing leave the element as it was.
TEST(Dim, TheMeasuredTextFollowsThePoints)
{
    TScene scene;
    Style(scene);
    TZORDim& dim = Linear(scene, { 10, 25 }, { 30, 25 }, { 20, 15 });
    EXPECT_EQ(dim.GetText(), QStringLiteral("20.0"));
    dim.SetBase(2, scene.Base(35), scene.Base(25));
    dim.CalcValues(3);
    // Laying the text out leaves it as it is; the label fills the new measure in.
    EXPECT_EQ(dim.GetText(), QStringLiteral("20.0"));
    dim.AssignText();
    dim.CalcValues(3);
    EXPECT_EQ(dim.GetText(), QStringLiteral("25.0"));
    const TZORPto gapStart = dim.GetPoint(9);
    scene.Render(TTarget::Print, Dpi);
    EXPECT_EQ(dim.GetPoint(9), gapStart);
    dim.SetDimExt(true);
    dim.SetText(QStringLiteral("Ø 4"));
    dim.AssignText();
    EXPECT_EQ(dim.GetText(), QStringLiteral("Ø 4"));
}

// A calculation asked for while one runs (the layout moving points that notify back) does
// nothing; the one running still measures.
TEST(Dim, ANestedCalculationDoesNothing)
{
    TScene scene;
    Style(scene);
    TZORDim& dim = Linear(scene, { 10, 25 }, { 30, 25 }, { 20, 15 });
    const int32_t width = dim.GetTextWidth();
    dim.SetDimExt(true);
    dim.SetText(QStringLiteral("a much longer text"));
    {
        const TZORBaseDim::TCalcGuard running(dim);
        dim.CalcValues(0);
        EXPECT_EQ(dim.GetTextWidth(), width);
    }
    dim.CalcValues(0);
    EXPECT_GT(dim.GetTextWidth(), 2 * width);
    EXPECT_FALSE(dim.GetCalculating());
}

} // namespace

// A dimension whose points 1 and 2 share a coordinate draws its lines and its arrow heads without
// anti-aliasing on screen, but with it in the preview; a slanted one always with it.
TEST(Dim, LinesAlongTheAxesStayCrispOutsideThePreview)
{
    const struct {
        TTarget target;
        bool slanted;
        bool smooth;
    } cases[] = {
        { TTarget::Editor, false, false },
        { TTarget::Export, false, false },
        { TTarget::Preview, false, true },
        { TTarget::Editor, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Name(c.target) << (c.slanted ? ", slanted" : ""));
        TScene scene;
        Style(scene);
        // The line runs at y = 20 mm (at 20.1 mm from a point 1 that is 0.2 mm lower).
        const double y1 = c.slanted ? 10.2 : 10.0;
        Linear(scene, { 5, y1 }, { 30, 10 }, { 17, 20 });
        const QImage image = scene.Render(c.target, Dpi).convertToFormat(QImage::Format_ARGB32);
        const SaveOnFailure keep(image, Name(c.target));
        // Along a column through the dimension line, between the head and the text.
        const QPoint top = Pixel(Dpi, 10, 19), bottom = Pixel(Dpi, 10, 21);
        int inked = 0, blended = 0;
        for (int y = top.y(); y <= bottom.y(); ++y) {
            const QColor px = image.pixelColor(top.x(), y);
            const bool paper = px.red() > 247 && px.green() > 247 && px.blue() > 247;
            const bool blue = px.red() < 8 && px.green() < 8 && px.blue() > 247;
            inked += !paper;
            blended += !paper && !blue;
        }
        EXPECT_GT(inked, 2);
        EXPECT_EQ(blended > 0, c.smooth);
        // Round the filled head at point 5 every pixel is one of the style's colours or the paper,
        // or, smoothed, a blend of them.
        const QRect head(Pixel(Dpi, 5, 18.5), Pixel(Dpi, 8, 21.5));
        const QColor pure[] = { Qt::white, zor::ToQColor(Red), zor::ToQColor(Blue), zor::ToQColor(Green) };
        int headInk = 0, headBlended = 0;
        for (int y = head.top(); y <= head.bottom(); ++y)
            for (int x = head.left(); x <= head.right(); ++x) {
                const auto is = [&](const QColor& c) { return bool(ColourNear(image, { x, y }, c, 8)); };
                headInk += is(pure[1]);
                headBlended += std::none_of(std::begin(pure), std::end(pure), is);
            }
        EXPECT_GT(headInk, 20);
        EXPECT_EQ(headBlended > 0, c.smooth);
    }
}
