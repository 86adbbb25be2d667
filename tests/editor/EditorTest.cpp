// The editor control over a real label: page geometry and conversions, zoom and fit, the wheel,
// the link to the label, mouse drags through the label's tools, and what the surface shows.

#include "ShownEditor.h"
#include "dialogs/Zor.Settings.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using zor::acSelect;
using zor::TAct;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr TAlphaColor Red { 0xFFFF0000u };
const QColor QRed(255, 0, 0);
const QColor Silver(0xC0, 0xC0, 0xC0);

// A page of 100 x 60 mm with a red filled box from (10, 10) to (30, 20) mm.
class Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(60000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        box = label.AddBaseRectangle(10000, 10000, 20000, 10000);
        box->SetFilled(true);
        box->SetBackColor(Red);
        box->SetColor(Red);
        editor = zor::test::ShownEditor(label, { 500, 400 });
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    TZOREditorGeometry& G() { return editor->Surface().G; }
    QImage Shown() { return editor->Surface().grab().toImage().convertToFormat(QImage::Format_ARGB32); }
    // The surface pixel of a paper point in millimetres.
    QPoint At(double xmm, double ymm)
    {
        return { G().ScreenMMX(int64_t(xmm * 1000)), G().ScreenMMY(int64_t(ymm * 1000)) };
    }
    // A move with the left button held, sent as it comes from the window system.
    void DragTo(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), editor->Surface().mapToGlobal(QPointF(p)),
            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&editor->Surface(), &move);
    }
    void Wheel(QPoint p, int delta, Qt::KeyboardModifiers keys)
    {
        QWheelEvent wheel(QPointF(p), editor->Surface().mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta),
            Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&editor->Surface(), &wheel);
    }

    TZORLabelVCL label;
    TZORRectangle* box = nullptr;
    std::unique_ptr<TZOREditor> editor;
};

} // namespace

// Base units to surface pixels and back at several zooms, drawing scales and scroll positions:
// the origin is margin + ruler - scroll, and a pixel comes back as a multiple of the scale.
TEST(EditorGeometry, ConversionsRoundTripAtZoomsScalesAndScrolls)
{
    const struct {
        float zoom;
        int32_t scale;
        int32_t scroll;
        int64_t base;
        int32_t px;
    } rows[] = {
        { 1.0f, 1, 0, 25400, 96 + 33 },
        { 1.0f, 1, 20, 25400, 96 + 13 },
        { 4.0f, 1, 0, 25400, 384 + 33 },
        { 4.0f, 1, 100, 12700, 192 + 33 - 100 },
        { 0.25f, 1, 0, 25400, 24 + 33 },
        { 1.0f, 50, 0, 1270000, 96 + 33 },
        { 4.0f, 50, 37, 1270000, 384 + 33 - 37 },
    };
    for (const auto& r : rows) {
        TZOREditorGeometry g;
        g.ZScale = r.zoom;
        g.Scale = r.scale;
        g.D.MarginL = g.D.MarginT = 15;
        g.D.RulerL = g.D.RulerT = 18;
        g.D.ScrollX = g.D.ScrollY = r.scroll;
        EXPECT_EQ(g.ScreenMMX(r.base), r.px) << r.zoom << " " << r.scale << " " << r.scroll;
        EXPECT_EQ(g.ScreenMMY(r.base), r.px);
        EXPECT_EQ(g.BaseMMX(r.px), r.base);
        // Any base value comes back as the nearest value a pixel can show, a multiple of the scale.
        const int64_t back = g.BaseMMX(g.ScreenMMX(r.base + 777));
        EXPECT_EQ(back % r.scale, 0);
        EXPECT_LE(std::abs(back - (r.base + 777)), int64_t(25400 * r.scale / (96 * r.zoom)) / 2 + r.scale);
        EXPECT_DOUBLE_EQ(g.WorldX(r.px, true), double(r.base) / 1000.0);
    }
}

TEST(EditorGeometry, PixelsPerUnitAndGridRounding)
{
    TZOREditorGeometry g;
    const struct {
        TZORUnits unit;
        double fx;
    } units[] = { { TZORUnits::Millimetre, 96 / 25.4 }, { TZORUnits::Inch, 96.0 },
        { TZORUnits::Foot, 1152.0 }, { TZORUnits::Yard, 3456.0 } };
    for (const auto& u : units) {
        g.Units = u.unit;
        EXPECT_NEAR(g.FX(), u.fx, 1e-9);
    }
    const struct {
        int64_t v, step, expected;
    } grid[] = { { 1500, 1000, 1000 }, { 1501, 1000, 2000 }, { -1700, 1000, -1000 }, { 2500, 5000, 0 },
        { 2501, 5000, 5000 }, { 1234, 0, 1234 } };
    for (const auto& r : grid)
        EXPECT_EQ(TZOREditorGeometry::GridRound(r.v, r.step), r.expected) << r.v << " " << r.step;
}

// The live editor converts the same way at every zoom and scroll position it takes.
TEST_F(Editor, ScreenAndWorldRoundTripInTheLiveEditor)
{
    for (TZORZoom z : { TZORZoom::zm100, TZORZoom::zm400, TZORZoom::zm50 }) {
        editor->SetZoom(z);
        for (int scroll : { 0, 50 }) {
            editor->HorzScroll().setValue(scroll);
            editor->VertScroll().setValue(scroll);
            const int32_t x0 = 15 + 18 - G().D.ScrollX;
            EXPECT_EQ(G().ScreenMMX(25400), x0 + int(96 * G().ZScale)) << int(z) << " " << scroll;
            EXPECT_EQ(G().BaseMMX(G().ScreenMMX(50800)), 50800);
            EXPECT_EQ(G().BaseMMY(G().ScreenMMY(25400)), 25400);
        }
    }
}

TEST_F(Editor, PublishedSettingsAreClampedThroughTheirProperties)
{
    const struct {
        const char* name;
        int set, expected;
    } rows[] = { { "Gap", 40, 30 }, { "Gap", -3, 0 }, { "Margin", 150, 100 }, { "Margin", -1, 0 },
        { "SizeRef", 1, 2 }, { "SizeRef", 30, 24 } };
    for (const auto& r : rows) {
        ASSERT_TRUE(editor->setProperty(r.name, r.set)) << r.name;
        EXPECT_EQ(editor->property(r.name).toInt(), r.expected) << r.name << " " << r.set;
    }
    editor->SetSizePoint(0);
    EXPECT_EQ(editor->GetSizePoint(), 1);
    editor->Rulers().SetSize(10);
    EXPECT_EQ(editor->Rulers().GetSize(), 18);
    editor->Rulers().SetSize(40);
    EXPECT_EQ(editor->Rulers().GetSize(), 30);
    editor->Grid().SetIncX(0.05);
    EXPECT_DOUBLE_EQ(editor->Grid().GetIncX(), 0.1);
    // Move steps in the label's unit: raised to 0.1 mm, lowered to 1 m.
    editor->setProperty("MoveX", 0.01);
    EXPECT_DOUBLE_EQ(editor->property("MoveX").toDouble(), 0.1);
    editor->setProperty("MoveY", 5000.0);
    EXPECT_DOUBLE_EQ(editor->property("MoveY").toDouble(), 1000.0);
}

TEST_F(Editor, EveryPublishedPropertyIsVisibleThroughTheMetaObject)
{
    const QMetaObject* m = editor->metaObject();
    for (const char* name :
        { "Quindle", "Gap", "SizeRef", "MoveX", "MoveY", "Snap", "OrtoLines", "Margin", "MarginColor", "Zoom",
            "LabelPosition", "Options", "BorderStyle", "EnabledMouseFilter", "ShowRefLines" })
        EXPECT_GE(m->indexOfProperty(name), 0) << name;
    EXPECT_EQ(editor->property("Quindle").value<TZORLabelVCL*>(), &label);
    EXPECT_EQ(editor->property("Options").toUInt(), 0x00FFu);
    EXPECT_EQ(editor->property("Zoom").toInt(), int(TZORZoom::zm100));
}

TEST_F(Editor, ZoomStopsAtItsEndsAndAnUnchangedZoomDoesNotRedraw)
{
    const int before = editor->Surface().RenderCount();
    editor->SetZoom(TZORZoom::zm100);
    EXPECT_EQ(editor->Surface().RenderCount(), before);
    editor->SetZoom(TZORZoom::zm500);
    editor->IncZoom();
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm500);
    EXPECT_FLOAT_EQ(editor->GetZScale(), 5.0f);
    EXPECT_EQ(editor->ZoomButton().text(), QStringLiteral("500 %"));
    editor->SetZoom(TZORZoom::zm25);
    editor->DecZoom();
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm25);
    EXPECT_FLOAT_EQ(editor->GetZScale(), 0.25f);
}

// Fitting to the width puts the page, its margins and the left ruler exactly across the surface:
// nothing left to scroll sideways. Fitting the height does the same downwards.
TEST_F(Editor, FitToWidthAndHeightFillTheSurface)
{
    editor->SetZoom(TZORZoom::zmWidth);
    const int w = editor->Surface().width();
    EXPECT_NEAR(G().D.ZoomW + 2 * 15 + 18, w, 1);
    EXPECT_FALSE(editor->HorzScroll().isEnabled());
    EXPECT_NEAR(G().ZScale, double(w - 48) / 378, 1e-5);

    editor->SetZoom(TZORZoom::zmHeight);
    const int h = editor->Surface().height();
    EXPECT_NEAR(G().D.ZoomH + 2 * 15 + 18, h, 1);
    EXPECT_FALSE(editor->VertScroll().isEnabled());

    editor->SetZoom(TZORZoom::zmFitAll);
    EXPECT_LE(G().D.ZoomW + 48, w + 1);
    EXPECT_LE(G().D.ZoomH + 48, h + 1);
}

// In an editor too small for its margins a fitted zoom stays above 0, and the conversions stay finite.
TEST_F(Editor, AFitInATinyEditorKeepsAPositiveZoom)
{
    editor->resize(60, 60);
    editor->SetZoom(TZORZoom::zmFitAll);
    EXPECT_GT(G().ZScale, 0.0f);
    EXPECT_EQ(G().BaseMMX(G().ScreenMMX(0)), 0);
}

TEST_F(Editor, TheWheelScrollsAndCtrlWheelZoomsAboutThePointer)
{
    editor->SetZoom(TZORZoom::zm200);
    const int step = 10 * QApplication::wheelScrollLines();
    ASSERT_TRUE(editor->VertScroll().isEnabled());
    ASSERT_TRUE(editor->HorzScroll().isEnabled());
    Wheel({ 100, 100 }, -120, Qt::NoModifier);
    EXPECT_EQ(editor->VertScroll().value(), step);
    EXPECT_EQ(G().D.ScrollY, step);
    Wheel({ 100, 100 }, 120, Qt::NoModifier);
    EXPECT_EQ(editor->VertScroll().value(), 0);
    Wheel({ 100, 100 }, -120, Qt::ShiftModifier);
    EXPECT_EQ(editor->HorzScroll().value(), step);
    EXPECT_EQ(editor->VertScroll().value(), 0);
    // Ctrl with Shift is not Ctrl: it scrolls down.
    Wheel({ 100, 100 }, -120, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->VertScroll().value(), step);
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm200);

    const QPoint pointer(150, 120);
    const int64_t bx = G().BaseMMX(pointer.x()), by = G().BaseMMY(pointer.y());
    Wheel(pointer, 120, Qt::ControlModifier);
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm250);
    // The paper point under the pointer is still under it, to the pixel.
    EXPECT_NEAR(G().ScreenMMX(bx), pointer.x(), 1);
    EXPECT_NEAR(G().ScreenMMY(by), pointer.y(), 1);
    Wheel(pointer, -120, Qt::ControlModifier);
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm200);

    // With the wheel option off nothing moves.
    editor->SetOptions(editor->GetOptions() & ~eoWheel);
    Wheel(pointer, -120, Qt::NoModifier);
    EXPECT_EQ(editor->VertScroll().value(), step);
}

TEST_F(Editor, TheSurfaceShowsMarginPaperAndTheElement)
{
    const QImage shown = Shown();
    const SaveOnFailure keep(shown, QStringLiteral("editor-page"));
    EXPECT_TRUE(ColourNear(shown, At(20, 15), QRed, 40));
    EXPECT_TRUE(ColourNear(shown, At(60, 40), Qt::white, 0));
    EXPECT_TRUE(ColourNear(shown, QPoint(5, 5), Silver, 0));
    EXPECT_TRUE(ColourNear(shown, At(101, 30), Silver, 0));
    // At 400 % the box's corner region grows with the zoom.
    editor->SetZoom(TZORZoom::zm400);
    const QImage zoomed = Shown();
    EXPECT_TRUE(ColourNear(zoomed, At(12, 12), QRed, 40));
    EXPECT_TRUE(ColourNear(zoomed, At(9, 12), Qt::white, 0));
}

// The surface shows the label being edited, not the sheet it is printed on: a label of 100 x 50
// mm on A4 paper ends at 100 x 50 mm, where the margin colour starts, and fitting and scrolling
// follow it. A drawing is edited on its page.
TEST_F(Editor, TheEditedAreaIsTheLabelNotThePaper)
{
    label.Measure().SetWidth(100000);
    label.Measure().SetHeight(50000);
    label.Measure().SetPaperWidth(210000);
    label.Measure().SetPaperHeight(297000);
    label.Notify(TZRChange::PaperSize, { 210000, 297000 });
    EXPECT_EQ(G().D.PaperW, 378);
    EXPECT_EQ(G().D.PaperH, 189);
    const QImage shown = Shown();
    const SaveOnFailure keep(shown, QStringLiteral("editor-label-area"));
    EXPECT_TRUE(ColourNear(shown, At(99, 49), Qt::white, 0));
    EXPECT_TRUE(ColourNear(shown, At(60, 52), Silver, 0));
    EXPECT_TRUE(ColourNear(shown, At(102, 20), Silver, 0));
    editor->SetZoom(TZORZoom::zmHeight);
    EXPECT_NEAR(G().D.ZoomH + 2 * 15 + 18, editor->Surface().height(), 1);

    label.SetEditorMode(1);
    label.Notify(TZRChange::Settings, { 210000, 297000 });
    EXPECT_EQ(G().D.PaperW, 794);
}

// The rotate button turns the selection left with the left button and right with the right one.
TEST_F(Editor, TheRotateButtonTurnsLeftAndRight)
{
    TZORLabelVCL reference;
    const auto line = [](TZORLabelVCL& l) { return l.AddBaseLine(10000, 10000, 40000, 10000); };
    TZORBaseItem* mine = line(label);
    TZORBaseItem* theirs = line(reference);
    label.UnSelectAll();
    label.Select(mine);
    reference.Select(theirs);
    QToolButton& rotate = editor->RotateButton();
    QTest::mouseClick(&rotate, Qt::LeftButton);
    reference.RotateSelectionLeft();
    EXPECT_EQ(mine->GetPoint(1), theirs->GetPoint(1));
    EXPECT_EQ(mine->GetPoint(2), theirs->GetPoint(2));
    QTest::mouseClick(&rotate, Qt::RightButton);
    QTest::mouseClick(&rotate, Qt::RightButton);
    reference.RotateSelectionRight();
    reference.RotateSelectionRight();
    EXPECT_EQ(mine->GetPoint(1), theirs->GetPoint(1));
    EXPECT_EQ(mine->GetPoint(2), theirs->GetPoint(2));
}

// The zoom button is its menu of steps: a click opens the menu and changes no zoom of its own.
TEST_F(Editor, TheZoomButtonOpensItsMenu)
{
    bool opened = false;
    QObject::connect(&editor->ZoomMenu(), &QMenu::aboutToShow, [&opened] {
        opened = true;
        QTimer::singleShot(0, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
    });
    QTest::mouseClick(&editor->ZoomButton(), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_EQ(editor->GetZoom(), TZORZoom::zm100);
}

// The label asking for its selection to be seen scrolls half the way that would centre it.
TEST_F(Editor, ScrollingToTheSelectionGoesHalfTheWay)
{
    label.Measure().SetWidth(400000);
    label.Measure().SetHeight(400000);
    label.Notify(TZRChange::PaperSize, { 0, 0 });
    TZORBaseItem* far = label.AddBaseRectangle(290000, 300000, 20000, 20000);
    label.UnSelectAll();
    label.Select(far);
    const QScrollBar& h = editor->HorzScroll();
    const QScrollBar& v = editor->VertScroll();
    ASSERT_TRUE(h.isEnabled() && v.isEnabled());
    const int cx = int(G().BaseToScreenX(300000) * G().ZScale) + G().D.MarginL + G().D.RulerL
        - editor->Surface().width() / 2;
    const int cy = int(G().BaseToScreenY(310000) * G().ZScale) + G().D.MarginT + G().D.RulerT
        - editor->Surface().height() / 2;
    label.Notify(TZRChange::ScrollToSelection);
    EXPECT_EQ(h.value(), cx / 2);
    EXPECT_EQ(v.value(), cy / 2);
}

// Option bit 11 reaches the drawing context the elements draw with.
TEST_F(Editor, OptionBitElevenReachesTheDrawingContext)
{
    editor->SetOptions(uint16_t(editor->GetOptions() | eoLabelFlag));
    (void)editor->Surface().BackImage();
    EXPECT_TRUE(editor->Surface().Draw().fEditor);
    editor->SetOptions(uint16_t(editor->GetOptions() & ~eoLabelFlag));
    (void)editor->Surface().BackImage();
    EXPECT_FALSE(editor->Surface().Draw().fEditor);
}

// Model changes reach the surface through the observer: a new paper colour shows at once.
TEST_F(Editor, TheObserverRepaintsOnModelChanges)
{
    const int before = editor->Surface().RenderCount();
    label.SetBackSurf(TAlphaColor { 0xFF00FF00u });
    EXPECT_GT(editor->Surface().RenderCount(), before);
    EXPECT_TRUE(ColourNear(Shown(), At(60, 40), QColor(0, 255, 0), 0));
    // A bracket holds the pictures back until it closes.
    label.BeginUpdate();
    label.SetBackSurf(TAlphaColor { 0xFF0000FFu });
    const int held = editor->Surface().RenderCount();
    label.EndUpdate();
    EXPECT_GT(editor->Surface().RenderCount(), held);
    EXPECT_TRUE(ColourNear(Shown(), At(60, 40), QColor(0, 0, 255), 0));
}

// Linking the same label twice attaches once; linking another leaves the first; either side may
// go first.
TEST_F(Editor, ItAttachesOnceAndDetachesWhenEitherSideGoes)
{
    editor->SetLabel(&label);
    int before = editor->Surface().RenderCount();
    label.Notify(TZRChange::Redraw);
    EXPECT_EQ(editor->Surface().RenderCount(), before + 1);

    TZORLabelVCL other;
    editor->SetLabel(&other);
    before = editor->Surface().RenderCount();
    label.Notify(TZRChange::Redraw);
    EXPECT_EQ(editor->Surface().RenderCount(), before);
    other.Notify(TZRChange::Redraw);
    EXPECT_EQ(editor->Surface().RenderCount(), before + 1);

    {
        auto gone = std::make_unique<TZORLabelVCL>();
        editor->SetLabel(gone.get());
    }
    EXPECT_EQ(editor->GetLabel(), nullptr);
    editor->DrawEditor();

    editor->SetLabel(&label);
    editor.reset();
    label.Notify(TZRChange::Redraw); // nothing left to tell
}

// A drag of 96 pixels right and 48 down at 100 % and 96 dpi moves the box by exactly one inch and
// half an inch; at 200 % the same drag moves it half as far.
TEST_F(Editor, AMouseDragMovesTheElementByTheExactAmount)
{
    const struct {
        TZORZoom zoom;
        int64_t dx, dy;
    } rows[] = { { TZORZoom::zm100, 25400, 12700 }, { TZORZoom::zm200, 12700, 6350 } };
    for (const auto& r : rows) {
        editor->SetZoom(r.zoom);
        const TZORRect start = box->GetBounds();
        // Inside the box, away from its handles (the box stays selected from the row before).
        const QPoint press = At(start.Left / 1000.0 + 5, start.Top / 1000.0 + 5);
        QTest::mousePress(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, press);
        ASSERT_EQ(label.Select(), box);
        DragTo(press + QPoint(40, 20));
        DragTo(press + QPoint(96, 48));
        QTest::mouseRelease(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, press + QPoint(96, 48));
        const TZORRect end = box->GetBounds();
        EXPECT_EQ(end.Left - start.Left, r.dx) << int(r.zoom);
        EXPECT_EQ(end.Top - start.Top, r.dy);
        EXPECT_EQ(end.GetWidth(), start.GetWidth());
        EXPECT_EQ(TAct::fCurAction, zor::acSelect);
        EXPECT_TRUE(ColourNear(Shown(), At(end.Left / 1000.0 + 10, end.Top / 1000.0 + 5), QRed, 40));
    }
}

// With the grid on, a drag lands the box's corner on the grid.
TEST_F(Editor, AGridDragLandsOnTheGrid)
{
    editor->SetSnap(2);
    editor->Grid().SetIncX(5);
    editor->Grid().SetIncY(5);
    const QPoint press = At(20, 10);
    QTest::mousePress(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, press);
    DragTo(press + QPoint(30, 12));
    QTest::mouseRelease(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, press + QPoint(30, 12));
    const TZORRect b = box->GetBounds();
    EXPECT_EQ(b.Left % 5000, 0) << b.Left;
    EXPECT_EQ(b.Top % 5000, 0) << b.Top;
    EXPECT_EQ(b.Left, 20000); // 10 mm + 7.9 mm to the nearest 5 mm
}

TEST_F(Editor, ChildrenFollowTheOptionBits)
{
    const struct {
        uint16_t options;
        bool zoom, units, settings, rotate, orto, snap;
    } rows[] = {
        { 0x00FF, true, true, true, true, true, true },
        { 0x0000, false, false, false, false, false, false },
        { 0x0001, true, false, false, false, false, false },
        { 0x0024, false, false, true, false, false, true },
    };
    for (const auto& r : rows) {
        editor->SetOptions(r.options);
        EXPECT_EQ(editor->ZoomButton().isVisible(), r.zoom) << r.options;
        EXPECT_EQ(editor->UnitsButton().isVisible(), r.units) << r.options;
        EXPECT_EQ(editor->SettingsButton().isVisible(), r.settings) << r.options;
        EXPECT_EQ(editor->RotateButton().isVisible(), r.rotate) << r.options;
        EXPECT_EQ(editor->OrtoIndicator().isVisible(), r.orto) << r.options;
        EXPECT_EQ(editor->SnapIndicator().isVisible(), r.snap) << r.options;
        // Nothing overlaps the surface, and the horizontal bar starts after what stands left of it.
        const QRect surface = editor->Surface().geometry();
        for (QWidget* w : std::initializer_list<QWidget*> { &editor->HorzScroll(), &editor->VertScroll(),
                 &editor->ZoomButton(), &editor->UnitsButton(), &editor->SettingsButton(),
                 &editor->RotateButton() }) {
            if (w->isVisible()) {
                EXPECT_FALSE(surface.intersects(w->geometry())) << r.options;
            }
        }
        int left = 0;
        for (QWidget* w : std::initializer_list<QWidget*> {
                 &editor->ZoomButton(), &editor->UnitsButton(), &editor->OrtoIndicator() })
            if (w->isVisible())
                left = std::max(left, w->geometry().right());
        EXPECT_GT(editor->HorzScroll().x(), left) << r.options;
    }
}

TEST_F(Editor, TheSnapIndicatorShowsARedSquareWhenOn)
{
    TZORInfoEd& snap = editor->SnapIndicator();
    const QPoint centre(snap.width() / 2, snap.height() / 2);
    editor->SetSnap(2);
    EXPECT_EQ(snap.GetState(), TZORStateInfo::On);
    EXPECT_TRUE(ColourNear(snap.grab().toImage(), centre + QPoint(1, 1), QRed, 0));
    EXPECT_TRUE(ColourNear(snap.grab().toImage(), QPoint(1, 1), Qt::white, 0));
    editor->SetSnap(0);
    EXPECT_TRUE(ColourNear(snap.grab().toImage(), QPoint(1, 1), Silver, 0));
    // Once None, it stays None and paints nothing of its own.
    snap.SetState(TZORStateInfo::None);
    editor->SetSnap(2);
    EXPECT_EQ(snap.GetState(), TZORStateInfo::None);
}

TEST_F(Editor, TheUnitsButtonCyclesByEditorMode)
{
    const struct {
        uint8_t mode;
        TZORUnits from, to;
    } rows[] = { { 0, TZORUnits::Millimetre, TZORUnits::Inch },
        { 0, TZORUnits::Centimetre, TZORUnits::Millimetre },
        { 0, TZORUnits::Decimetre, TZORUnits::Decimetre }, { 2, TZORUnits::Centimetre, TZORUnits::Decimetre },
        { 2, TZORUnits::Yard, TZORUnits::Millimetre } };
    for (const auto& r : rows) {
        label.SetEditorMode(r.mode);
        label.SetUnits(r.from);
        editor->UnitsButton().click();
        EXPECT_EQ(label.GetUnits(), r.to) << int(r.mode) << " " << int(r.from);
    }
    label.SetUnits(TZORUnits::Inch);
    EXPECT_EQ(editor->UnitsButton().text(), QStringLiteral("in"));
}

// The guides are base units: aligning lands the selection's edge on them in any unit.
TEST_F(Editor, AligningLandsTheSelectionOnTheGuides)
{
    label.Select(box);
    editor->Rulers().fAlignLeft = 5000;
    editor->Rulers().fAlignTop = 25400;
    for (TZORUnits u : { TZORUnits::Millimetre, TZORUnits::Inch }) {
        label.SetUnits(u);
        editor->AlignSelectedLeft();
        EXPECT_EQ(box->GetBounds().Left, 5000) << int(u);
        editor->AlignSelectedBottom();
        EXPECT_EQ(box->GetBounds().Bottom, 25400) << int(u);
        editor->AlignSelectedRight();
        EXPECT_EQ(box->GetBounds().Right, 5000) << int(u);
        editor->AlignSelectedTop();
        EXPECT_EQ(box->GetBounds().Top, 25400) << int(u);
    }
}

// The settings dialog shows the editor's values; OK writes them back, Cancel changes nothing.
TEST_F(Editor, TheSettingsDialogWritesItsValuesBack)
{
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    editor->SetGap(5);
    editor->SettingsButton().click();
    EXPECT_EQ(editor->GetGap(), 5);

    TZOREditorSettings wanted = editor->CurrentSettings();
    EXPECT_EQ(wanted.gap, 5);
    wanted.gap = 12;
    wanted.snap = 0x12;
    wanted.ortoLines = true;
    wanted.gridStyle = 2;
    wanted.rulerRight = true;
    editor->ApplySettings(wanted);
    EXPECT_EQ(editor->GetGap(), 12);
    EXPECT_EQ(editor->GetSnap(), 0x12);
    EXPECT_TRUE(editor->GetOrtoLines());
    EXPECT_EQ(editor->OrtoIndicator().GetState(), TZORStateInfo::On);
    EXPECT_EQ(editor->Grid().GetStyle(), TZORGridDraw::Lines);
    EXPECT_EQ(editor->Rulers().GetVisible(), rvLeft | rvTop | rvRight);
    EXPECT_EQ(G().D.RulerR, 18);

    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Accepted); });
    editor->EditSettings();
    EXPECT_EQ(editor->CurrentSettings(), wanted);
}

// A drawing tool takes its clicks from the surface; with the grid on they land on the grid, so
// the new box has exact corners.
TEST_F(Editor, ADrawingToolTakesItsClicksOnTheGrid)
{
    editor->SetSnap(2);
    editor->Grid().SetIncX(5);
    editor->Grid().SetIncY(5);
    TAct::SetCurAction(zor::acRectangle);
    label.Notify(TZRChange::Tool);
    EXPECT_EQ(editor->Surface().State().CursorId, 9);
    QTest::mouseClick(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, At(41, 29));
    QTest::mouseMove(&editor->Surface(), At(50, 40));
    QTest::mouseClick(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, At(61.5, 51));
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.GetItem(2)->GetBounds().Normalized(), (TZORRect { 40000, 30000, 60000, 50000 }));
    const QImage shown = Shown();
    // Its left edge shows on the white paper.
    EXPECT_GT(InkCount(shown, Ink {}, QRect(At(40, 40) - QPoint(1, 1), QSize(3, 3))), 0);
    EXPECT_EQ(InkCount(shown, Ink {}, QRect(At(50, 40) - QPoint(1, 1), QSize(3, 3))), 0);
}
