// What every line and figure renderer shares: the classes of the type codes, the readers, the
// agreement of screen and paper, and the drawing state that one element leaves to the next.

#include "Kinds.h"
#include "Zor.Json.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"
#include "kit/Pixels.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <typeindex>

using zor::MakeColor;
using zor::Ord;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TCanvas;
using zor::TFont;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TJsonObject;
using zor::TLineCap;
using zor::TLineJoin;
using zor::TSkCanvas;
using zor::TSkPaint;
using zor::TSkPathEffect;
using zor::TSkStrokeCap;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

// --- Classes and readers ---

using TRead = TZORBaseItem* (*)(TZORLabelVCL&, int32_t, TBinaryReader&, TZORReadType);
using TReadJson = TZORBaseItem* (*)(TZORLabelVCL&, int32_t, const TJsonObject&);

template <class T> TZORBaseItem* ReadAs(TZORLabelVCL& l, int32_t v, TBinaryReader& r, TZORReadType t)
{
    return T::Read(l, v, r, t);
}

template <class T> TZORBaseItem* ReadJsonAs(TZORLabelVCL& l, int32_t v, const TJsonObject& o)
{
    return T::ReadFromJson(l, v, o);
}

struct TClassCase {
    TZORItemType Code;
    std::type_index Class;
    TRead Read;
    TReadJson ReadJson;
};

template <class T> TClassCase Class(TZORItemType code)
{
    return { code, typeid(T), &ReadAs<T>, &ReadJsonAs<T> };
}

const TClassCase ClassCases[] = {
    Class<TZORPoint>(TZORItemType::Point),
    Class<TZORLine>(TZORItemType::Line),
    Class<TZORArrowLine>(TZORItemType::ArrowLine),
    Class<TZORPolyLine>(TZORItemType::PolyLine),
    Class<TZORArc>(TZORItemType::Arc),
    Class<TZORRectangle>(TZORItemType::Rectangle),
    Class<TZORPolygon>(TZORItemType::Polygon),
    Class<TZORCircle>(TZORItemType::Circle),
    Class<TZOREllipse>(TZORItemType::Ellipse),
    Class<TZORLevel>(TZORItemType::Level),
    Class<TZORBezier>(TZORItemType::Bezier),
    Class<TZORDim>(TZORItemType::Dim),
    Class<TZORSector>(TZORItemType::Sector),
    Class<TZORPackage>(TZORItemType::Package),
};

TEST(Renderers, EachTypeCodeBuildsItsRendererClass)
{
    TZORLabelVCL label;
    for (const TClassCase& c : ClassCases) {
        const auto item = label.NewItem(zor::Ord(c.Code), false);
        ASSERT_TRUE(item) << int(zor::Ord(c.Code));
        const TZORBaseItem& ref = *item;
        EXPECT_EQ(std::type_index(typeid(ref)), c.Class) << int(zor::Ord(c.Code));
        EXPECT_EQ(item->TypeCode(), c.Code);
    }
}

// A record read for one label of a sheet makes a preview copy; a load, a paste and JSON do not.
// However it was read, the element writes back what it was made from.
TEST(Renderers, ReadersBuildTheKindFromItsRecordAndMarkSheetCopies)
{
    const TZORReadType readTypes[] = { TZORReadType::Load, TZORReadType::Paste, TZORReadType::SheetCopy };
    for (const TClassCase& c : ClassCases) {
        SCOPED_TRACE(int(zor::Ord(c.Code)));
        TZORLabelVCL label;
        const auto original = label.NewItem(zor::Ord(c.Code), false);
        original->SetColor(Green);
        original->SetPenWidth(0.7f);
        // Entering the label gives the element a layer and a free ID: compare the rest.
        original->SetLayerIndex(1);
        const auto same = [&](TZORBaseItem* read) {
            read->SetID(original->GetID());
            return read->WriteJson().ToJSON().toStdString();
        };
        QByteArray bytes;
        {
            TBinaryWriter w(&bytes);
            original->WriteData(w);
        }
        const std::string json = original->WriteJson().ToJSON().toStdString();
        for (TZORReadType readType : readTypes) {
            TBinaryReader r(bytes);
            TZORBaseItem* read = c.Read(label, ZORFileVersion, r, readType);
            ASSERT_TRUE(read);
            EXPECT_EQ(std::type_index(typeid(*read)), c.Class);
            EXPECT_EQ(read->IsPreview(), readType == TZORReadType::SheetCopy);
            EXPECT_EQ(same(read), json);
        }
        TZORBaseItem* fromJson = c.ReadJson(label, ZORFileVersion, original->WriteJson());
        ASSERT_TRUE(fromJson);
        EXPECT_FALSE(fromJson->IsPreview());
        EXPECT_EQ(same(fromJson), json);
        EXPECT_EQ(label.GetItemsCount(), 4);
    }
}

// --- Screen against paper ---

struct TAgreeCase {
    const char* Name;
    std::function<void(TScene&)> Make;
    // The two targets are meant to differ: the ink must then not agree either.
    bool Differ = false;
};

void LineEnds(TZORBaseItem& item)
{
    if (auto* ends = dynamic_cast<TZORLineEnds<TZORBaseItem>*>(&item)) {
        ends->SetFromType(TZORTermType::Circle);
        ends->SetToType(TZORTermType::FilledArrow);
        ends->SetToColor(Red);
    }
    if (auto* ends = dynamic_cast<TZORLineEnds<TZOR2DItem>*>(&item)) {
        ends->SetFromType(TZORTermType::FilledSquare);
        ends->SetToType(TZORTermType::FilledArrow);
        ends->SetToColor(Red);
    }
}

std::vector<TAgreeCase> AgreeCases()
{
    std::vector<TAgreeCase> cases;
    for (const TFigureKind& kind : FigureKinds()) {
        cases.push_back({ kind.Name, [&kind](TScene& s) {
                             TZOR2DItem& item = kind.Make(s);
                             item.SetFilled(true);
                             item.SetBackColor(Red);
                             item.SetPenWidth(0.5f);
                             item.SetLineType(TZORineType::Dash3_1);
                         } });
    }
    for (const TLineKind& kind : LineKinds()) {
        cases.push_back({ kind.Name, [&kind](TScene& s) {
                             TZORBaseItem& item = kind.Make(s);
                             item.SetPenWidth(0.3f);
                             LineEnds(item);
                         } });
    }
    // Dashes of a butt-capped line (a round-capped curve dashes flat on paper, as GDI+ pens do).
    cases.push_back({ "dashed polyline", [](TScene& s) {
                         TZORBaseItem& item = LineKinds()[2].Make(s);
                         item.SetPenWidth(0.5f);
                         item.SetLineType(TZORineType::DashDot);
                     } });
    cases.push_back({ "rounded rectangle", [](TScene& s) {
                         TZOR2DItem& item = FigureKinds()[0].Make(s);
                         static_cast<TZORRectangle&>(item).SetBaseRadio(int32_t(s.Base(4)));
                         item.SetFilled(true);
                         item.SetBackColor(Red);
                     } });
    cases.push_back({ "arrow caption", [](TScene& s) {
                         auto& arrow = static_cast<TZORArrowLine&>(LineKinds()[1].Make(s));
                         arrow.SetText(QStringLiteral("Label"));
                         arrow.SetFontHeight(5.0f);
                         arrow.CalcValues(0);
                     } });
    cases.push_back(
        { "point", [](TScene& s) { s.Add<TZORPoint>().AssignPoints(std::vector { s.Pt(20, 20) }); }, true });
    cases.push_back(
        { "unfilled rectangle", [](TScene& s) { FigureKinds()[0].Make(s).SetPenWidth(1.0f); }, true });
    cases.push_back({ "filled bezier with ends",
        [](TScene& s) {
            TZOR2DItem& item = FigureKinds()[4].Make(s);
            item.SetFilled(true);
            LineEnds(item);
            static_cast<TZORBezier&>(item).SetSizeTo(6.0f);
        },
        true });
    cases.push_back(
        { "polygon at pen 0", [](TScene& s) { FigureKinds()[1].Make(s).SetPenWidth(0.0f); }, true });
    return cases;
}

// At the same resolution the screen and the paper put the same ink in the same places, at every
// drawing scale, dashes and line ends included, except where they are meant to differ.
TEST(Renderers, ScreenAndPaperAgreeExceptWhereTheyAreMeantToDiffer)
{
    for (const TAgreeCase& c : AgreeCases())
        for (int scale : Scales) {
            TScene scene(scale);
            c.Make(scene);
            const TScreenAndPaper both(scene, Dpi, 1, QString::fromUtf8(c.Name));
            SCOPED_TRACE(testing::Message()
                << c.Name << " scale " << scale << " IoU " << both.IoU << " near " << both.Near);
            if (c.Differ) {
                EXPECT_LT(both.Near, 0.9);
                continue;
            }
            // Thin strokes, dash ends and glyph edges fall on a pixel or its neighbour.
            EXPECT_GT(both.IoU, 0.75);
            EXPECT_GE(both.Near, 0.97);
        }
}

// --- State one element leaves to the next ---

// A solid element after a dashed one: the line, the arrow line and the polyline along y = 35
// from x = 5 to x = 35.
struct TFollower {
    const char* Name;
    void (*Make)(TScene&);
};

template <class T> T& Along35(TScene& s)
{
    T& item = s.Add<T>();
    item.AssignPoints(std::vector { s.Pt(5, 35), s.Pt(35, 35) });
    item.SetPenWidth(0.5f);
    return item;
}

const TFollower Followers[] = {
    { "line", [](TScene& s) { Along35<TZORLine>(s); } },
    { "arrow line", [](TScene& s) { Along35<TZORArrowLine>(s).SetToType(TZORTermType::None); } },
    { "polyline", [](TScene& s) { Along35<TZORPolyLine>(s); } },
};

// Whatever dash, caps, pen and text the element before used, a solid element after it is one
// unbroken stroke with flat ends, on screen and on paper.
TEST(Renderers, NoDashOrCapReachesTheNextElement)
{
    const double pen = Pixels(Dpi, 0.5);
    for (const TPredecessor& before : Predecessors())
        for (const TFollower& after : Followers)
            for (TTarget target : BothTargets) {
                TScene scene;
                before.Make(scene);
                after.Make(scene);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(
                    testing::Message() << before.Name << " then " << after.Name << " " << Name(target));
                const SaveOnFailure keep(image, QStringLiteral("leak"));
                // The element before drew, above the row.
                EXPECT_GT(InkCount(image, {}, QRect(0, 0, image.width(), Pixel(Dpi, 0, 32).y())), 0);
                const std::vector<int> ink = InkLengths(RowRuns(image, Pixel(Dpi, 0, 35).y()));
                ASSERT_EQ(ink.size(), 1u);
                // Round or square caps would add half the pen at each end.
                EXPECT_NEAR(ink[0], Pixels(Dpi, 30), pen / 4);
            }
}

// The paint, the pen and the brush are the pass's: an element may use them but hands them on
// as it found them.
TEST(Renderers, EveryElementHandsThePaintPenAndBrushOnAsItFoundThem)
{
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    TCanvas canvas(painter);
    TGPGraphics graphics(painter);
    TGPPen pen(MakeColor(0xFF, 1, 2, 3), 3.0f);
    TGPSolidBrush brush(MakeColor(0xFF, 4, 5, 6));
    TZORDraw print;
    print.SetupPrint(&canvas, &graphics, &pen, &brush, Dpi, Dpi, 100, 100, 1, TZORUnits::Millimetre);
    pen.SetDashPattern({ 2.0f, 1.0f });
    pen.SetStartCap(TLineCap::Round);
    pen.SetLineJoin(TLineJoin::Bevel);
    const TGPPen penBefore = pen;
    const TFont fontBefore = canvas.Font;
    TZORDraw screen;
    screen.SetupExport(&canvas, std::make_shared<TSkCanvas>(painter), Dpi, 1.0f, 1, false);
    screen.kP->SetStrokeCap(TSkStrokeCap::Square);
    screen.kP->SetPathEffect(TSkPathEffect::MakeDash({ 3.0, 3.0 }, 0.0));
    const TSkPaint paintBefore = *screen.kP;
    for (const TAgreeCase& c : AgreeCases()) {
        SCOPED_TRACE(c.Name);
        TScene scene;
        c.Make(scene);
        for (const auto& item : scene.Items()) {
            item->PrintElement(print);
            item->DrawElement(screen);
        }
        EXPECT_EQ(pen.GetDashStyle(), penBefore.GetDashStyle());
        EXPECT_EQ(pen.GetDashPattern(), penBefore.GetDashPattern());
        EXPECT_EQ(pen.GetStartCap(), penBefore.GetStartCap());
        EXPECT_EQ(pen.GetEndCap(), penBefore.GetEndCap());
        EXPECT_EQ(pen.GetLineJoin(), penBefore.GetLineJoin());
        EXPECT_EQ(pen.GetColor(), penBefore.GetColor());
        EXPECT_EQ(pen.GetWidth(), penBefore.GetWidth());
        EXPECT_EQ(brush.GetColor(), MakeColor(0xFF, 4, 5, 6));
        EXPECT_EQ(canvas.Font.Escapement, fontBefore.Escapement);
        EXPECT_EQ(canvas.Font.Height, fontBefore.Height);
        EXPECT_EQ(screen.kP->GetPathEffect(), paintBefore.GetPathEffect());
        EXPECT_EQ(screen.kP->GetStrokeCap(), paintBefore.GetStrokeCap());
        EXPECT_EQ(screen.kP->GetStyle(), paintBefore.GetStyle());
        EXPECT_EQ(screen.kP->GetColor(), paintBefore.GetColor());
        EXPECT_EQ(screen.kP->GetStrokeWidth(), paintBefore.GetStrokeWidth());
    }
}

} // namespace
