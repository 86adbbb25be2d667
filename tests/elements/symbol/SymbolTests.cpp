// Library symbols: one display-list interpreter for the screen and paper, the pen-width rule, paths
// and connection points.

#include "Zor.Json.h"
#include "Zor.Library.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/RenderHarness.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QPainter>

#include <gtest/gtest.h>

using zor::ISkCanvas;
using zor::TAlphaColor;
using zor::TJsonObject;
using zor::TSkCanvas;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor Red { 0xFFFF0000 };
const QColor QRed = QColor(255, 0, 0);
const QColor QBlue = QColor(0, 0, 255);

QString Definition(const QString& id, const QString& def)
{
    return QStringLiteral(R"({"Name":"%1","Category":"Test","ID":"%1","Def":%2})").arg(id, def);
}

const TZORLibSymbol& Hold(TScene& scene, const QString& id, const QString& def)
{
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    EXPECT_TRUE(symbol->ReadJson(TJsonObject::Parse(Definition(id, def)), error)) << error.toStdString();
    return *scene.Label().AddSymbol(std::move(symbol), false);
}

TZORSymbol& Place(TScene& scene, const TZORLibSymbol& definition, double xmm, double ymm, float scale = 1.0f,
    float angle = 0.0f)
{
    TZORSymbol& s = scene.Add<TZORSymbol>();
    s.AssignPoints(std::vector { scene.Pt(xmm, ymm) });
    s.SetSymbol(&definition);
    s.SetScale(scale);
    s.SetAngleDeg(angle);
    return s;
}

// A drawing of every kind: a filled path of a polyline, an arc and a Bézier; a dashed rounded
// rectangle; a filled circle, ellipse and sector; a turned, centred text; lines with round caps.
const QString Everything = QStringLiteral(R"([
    {"Kind":"PenWidth","Value":0.4},{"Kind":"ForeColor","Value":"#0000FF"},{"Kind":"BackColor","Value":"#FF0000"},
    {"Kind":"Fill","Value":true},
    {"Kind":"Path","Value":true},
    {"Kind":"Polyline","Points":[[0,0],[8,0]]},
    {"Kind":"Arc","Center":[8,4],"Radius":4,"Start":270,"Sweep":180},
    {"Kind":"Bezier","Points":[[8,8],[5,10],[3,10],[0,8]]},
    {"Kind":"Path","Value":false},
    {"Kind":"LineType","Value":5},
    {"Kind":"Rectangle","Points":[[14,0],[22,6]],"Radius":1},
    {"Kind":"LineType","Value":0},
    {"Kind":"Circle","Center":[4,14],"Radius":2},
    {"Kind":"Ellipse","Center":[12,14],"RadiusX":3,"RadiusY":1.5},
    {"Kind":"Sector","Center":[19,14],"Radius":3,"Start":0,"Sweep":120},
    {"Kind":"FontHeight","Value":3},{"Kind":"FontColor","Value":"#008000"},{"Kind":"FontName","Value":"DejaVu Sans"},
    {"Kind":"Text","Text":"Ab","At":[4,20],"Angle":20,"HAlign":1,"VAlign":1},
    {"Kind":"RoundCap","Value":true},{"Kind":"PenWidth","Value":0.8},
    {"Kind":"Line","Points":[[14,20],[22,22]]}
])");

QImage Render(TScene& scene, TTarget target)
{
    return scene.Render(target, Dpi);
}

// Thickness in pixels of the ink crossing column x of the image.
int Thickness(const QImage& image, int x)
{
    const std::vector<int> lengths = InkLengths(ColumnRuns(image, x));
    return lengths.empty() ? 0 : lengths.front();
}

// The symbol drawn the way the library viewer draws it: DrawSymbol on a canvas translated to
// (xmm, ymm).
QImage ViewerImage(const TZORLibSymbol& symbol, bool links)
{
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const ISkCanvas canvas = std::make_shared<TSkCanvas>(painter);
    TZORDraw D;
    D.SetupLibraryViewer(canvas, Dpi, 1);
    D.aDrawLinkPto = links;
    D.aLinkPoint = Red;
    canvas->Translate(100, 100);
    D.aConf.Reset();
    TZORSymbol::DrawSymbol(D, &symbol, 1.0f);
    return image;
}

} // namespace

// The screen and paper walk the same list: the same outlines, fills, dashes and text land in the
// same places, also scaled and turned.
TEST(Symbol, ScreenAndPaperPutTheSameInkInTheSamePlaces)
{
    const struct {
        float scale;
        float angle;
    } cases[] = { { 1.0f, 0.0f }, { 0.8f, 90.0f }, { 1.2f, 33.0f } };
    for (const auto& c : cases) {
        TScene scene;
        const TZORLibSymbol& def = Hold(scene, QStringLiteral("all"), Everything);
        Place(scene, def, 10, 10, c.scale, c.angle);
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " angle " << c.angle);
        const TScreenAndPaper both(scene, Dpi, 2, QStringLiteral("symbol"));
        EXPECT_GT(InkCount(both.Screen), 2000);
        EXPECT_GT(both.Near, 0.97);
    }
}

// The filled outline is the polyline, the arc and the curve together, on paper as on screen; the
// dashed rectangle is dashed on both.
TEST(Symbol, PathsJoinEveryOpenPrimitiveAndRectanglesTakeTheLineType)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        Place(scene, Hold(scene, QStringLiteral("all"), Everything), 10, 10);
        const QImage image = Render(scene, target);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 14, 14), QRed, 16)); // inside the outline
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 14), QRed, 16)); // inside the arc's bulge
        // Just above the filled rectangle, on the outer half of its outline.
        const int left = Pixel(Dpi, 24.5, 0).x(), right = Pixel(Dpi, 31.5, 0).x();
        const QImage edge = image.copy(QRect(left, Pixel(Dpi, 0, 10 - 0.1).y(), right - left, 1));
        EXPECT_GE(GapLengths(RowRuns(edge, 0)).size(), 1u) << "the rectangle is not dashed";
    }
}

// A Bézier curve that continues an outline is joined to it by a straight line to its own start
// point and then runs through the points it defines, on paper as on screen.
TEST(Symbol, ACurveContinuingAnOutlineKeepsItsOwnStart)
{
    const QString def = QStringLiteral(R"([
        {"Kind":"PenWidth","Value":0.4},{"Kind":"ForeColor","Value":"#0000FF"},
        {"Kind":"Path","Value":true},
        {"Kind":"Line","Points":[[0,0],[4,0]]},
        {"Kind":"Bezier","Points":[[8,4],[8,8],[8,8],[8,12]]},
        {"Kind":"Path","Value":false}
    ])");
    for (TTarget target : BothTargets) {
        TScene scene;
        Place(scene, Hold(scene, QStringLiteral("joined"), def), 10, 10);
        const QImage image = Render(scene, target);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 16, 12), QBlue, 40)); // the join, from (4, 0) to (8, 4)
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 18, 15), QBlue, 40)); // the curve's straight run down x = 8
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 18, 20), QBlue, 40));
    }
}

// Without ScalePen a pen keeps its width whatever the symbol's scale; with it the pen grows with
// the symbol.
TEST(Symbol, ScalePenDecidesWhetherPensGrowWithTheSymbol)
{
    const double pen = 0.5;
    for (bool scalePen : { false, true })
        for (TTarget target : BothTargets) {
            TScene scene;
            const QString def = QStringLiteral(
                R"([{"Kind":"ScalePen","Value":%1},{"Kind":"PenWidth","Value":0.5},{"Kind":"Line","Points":[[0,0],[10,0]]}])")
                                    .arg(scalePen ? "true" : "false");
            Place(scene, Hold(scene, QStringLiteral("line"), def), 5, 20, 2.0f);
            const QImage image = Render(scene, target);
            const double expected = Pixels(Dpi, pen * (scalePen ? 2.0 : 1.0));
            EXPECT_NEAR(Thickness(image, Pixel(Dpi, 15, 20).x()), expected, 1.5)
                << "ScalePen " << scalePen << " " << Name(target);
        }
}

// The link circles show only when the viewer asks for them, and never on paper.
TEST(Symbol, ConnectionPointsShowOnlyWhenAsked)
{
    TScene scene;
    const TZORLibSymbol& def = Hold(scene, QStringLiteral("links"),
        QStringLiteral(R"([{"Kind":"Fill","Value":true},{"Kind":"Link","At":[2,2]}])"));
    EXPECT_EQ(InkCount(ViewerImage(def, false)), 0);
    const QImage shown = ViewerImage(def, true);
    const QRect ink = InkBounds(shown);
    const double centre = 100 + Pixels(Dpi, 2), radius = Pixels(Dpi, 1);
    EXPECT_NEAR(ink.center().x(), centre, 1.5);
    EXPECT_NEAR(ink.width(), 2 * radius, 2.5);
    EXPECT_TRUE(ColourNear(shown, QPoint(int(centre + radius), int(centre)), QRed, 100));
    Place(scene, def, 10, 10);
    EXPECT_EQ(InkCount(Render(scene, TTarget::Print)), 0);
}

// A path end with nothing open draws nothing; a second begin drops the outline it opens over.
TEST(Symbol, UnbalancedPathBracketsAreHarmless)
{
    const QString def = QStringLiteral(R"([
        {"Kind":"Fill","Value":true},{"Kind":"BackColor","Value":"#FF0000"},
        {"Kind":"Path","Value":false},
        {"Kind":"Path","Value":true},{"Kind":"Polyline","Points":[[0,0],[5,0],[5,5]]},
        {"Kind":"Path","Value":true},{"Kind":"Polyline","Points":[[10,0],[15,0],[15,5]]},
        {"Kind":"Path","Value":false},{"Kind":"Path","Value":false}])");
    for (TTarget target : BothTargets) {
        TScene scene;
        Place(scene, Hold(scene, QStringLiteral("p"), def), 5, 5);
        const QImage image = Render(scene, target);
        SCOPED_TRACE(Name(target));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 19, 7), QRed, 16)); // the second triangle
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 9, 7), Qt::white, 16)); // the dropped one
    }
}

// Glyphs are filled only: a thick pen before a text does not thicken it.
TEST(Symbol, TextIgnoresThePenWidth)
{
    int ink[2] = {};
    for (int i = 0; i < 2; ++i) {
        TScene scene;
        const QString def = QStringLiteral(
            R"([{"Kind":"PenWidth","Value":%1},{"Kind":"FontHeight","Value":5},)"
            R"({"Kind":"FontName","Value":"DejaVu Sans"},{"Kind":"Text","Text":"Wm","At":[0,0]}])")
                                .arg(i == 0 ? 0 : 3);
        Place(scene, Hold(scene, QStringLiteral("t"), def), 5, 5);
        ink[i] = InkCount(Render(scene, TTarget::Export));
    }
    EXPECT_GT(ink[0], 500);
    EXPECT_EQ(ink[0], ink[1]);
}

// A symbol element draws its label's definition, read from a library file by category.
class SymbolFromLibrary : public TempDirTest { };

TEST_F(SymbolFromLibrary, ASymbolLoadedByCategoryDrawsOnBothTargets)
{
    const QString file = Path(QStringLiteral("lib.lyp"));
    ASSERT_TRUE(WriteFile(file,
        QStringLiteral("[%1,%2]")
            .arg(Definition(QStringLiteral("box"),
                     QStringLiteral(
                         R"([{"Kind":"PenWidth","Value":0.5},{"Kind":"ForeColor","Value":"#0000FF"},)"
                         R"({"Kind":"Rectangle","Points":[[0,0],[10,6]]}])")),
                QStringLiteral(R"({"Name":"Other","Category":"Else","ID":"o","Def":[]})"))
            .toUtf8()));
    TZORLibrary lib;
    lib.LoadFromFile(file, QStringLiteral("test"));
    ASSERT_EQ(lib.GetNumSymbols(), 1);
    for (TTarget target : BothTargets) {
        TScene scene;
        Place(scene, *scene.Label().AddSymbol(lib.CopySymbol(1), true), 10, 10);
        const QImage image = Render(scene, target);
        SCOPED_TRACE(Name(target));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 15, 10), QBlue, 16));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 13), QBlue, 16));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 15, 13), Qt::white, 16));
    }
}
