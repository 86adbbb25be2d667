// The controls on a high-density screen: CTest runs this program at scale factors 1, 1.25, 1.5
// and 2. Each control paints into a picture of the screen's device pixels, so that a line one
// logical pixel wide, or the edge of a letter, stays sharp instead of being scaled up.

#include "Zor.Base.h"
#include "Zor.F2d.h"
#include "dialogs/Zor.Dimstyles.h"
#include "dialogs/Zor.Preview.h"
#include "dialogs/Zor.Viewlibrary.h"
#include "editor/ShownEditor.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "inspector/Zor.Inspector.h"
#include "kit/Pixels.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The backing picture of widget holds its device pixels.
void ExpectDevicePixels(const QImage& backing, const QWidget& widget, const char* what)
{
    SCOPED_TRACE(what);
    const qreal dpr = widget.devicePixelRatioF();
    EXPECT_DOUBLE_EQ(backing.devicePixelRatio(), dpr);
    EXPECT_EQ(
        backing.size(), QSize(int(std::ceil(widget.width() * dpr)), int(std::ceil(widget.height() * dpr))));
}

// At a whole ratio of 2 a picture scaled up from logical pixels is made of equal 2 x 2 blocks;
// one drawn in device pixels has blocks whose pixels differ (edges of lines and letters).
void ExpectNotScaledUp(QWidget& widget, const char* what)
{
    SCOPED_TRACE(what);
    if (widget.devicePixelRatioF() != 2.0)
        return;
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const zor::test::SaveOnFailure keep(shown, QString::fromLatin1(what) + QStringLiteral("-x2"));
    int mixed = 0;
    for (int y = 0; y + 1 < shown.height(); y += 2)
        for (int x = 0; x + 1 < shown.width(); x += 2) {
            const QRgb p = shown.pixel(x, y);
            mixed
                += p != shown.pixel(x + 1, y) || p != shown.pixel(x, y + 1) || p != shown.pixel(x + 1, y + 1);
        }
    EXPECT_GT(mixed, 20);
}

class Sharp : public ::testing::Test {
protected:
    void SetUp() override
    {
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        TZORBaseItem* box = label.AddBaseRectangle(10000, 10000, 30000, 20000);
        label.AddBaseLine(10000, 40000, 80000, 55000);
        label.Select(box);
    }

    TZORLabelVCL label;
};

} // namespace

TEST_F(Sharp, TheEditorPaintsInDevicePixels)
{
    const std::unique_ptr<TZOREditor> editor = zor::test::ShownEditor(label, { 420, 320 });
    TZORBackEditor& surface = editor->Surface();
    ExpectDevicePixels(surface.BackImage(), surface, "editor");
    ExpectNotScaledUp(surface, "editor");
}

TEST_F(Sharp, ThePreviewPaintsInDevicePixels)
{
    TZORPreview preview;
    preview.resize(420, 320);
    preview.show();
    preview.SetLabel(&label);
    ExpectDevicePixels(preview.BackSurf(), *preview.viewport(), "preview");
    ExpectNotScaledUp(*preview.viewport(), "preview");
}

TEST_F(Sharp, TheSymbolViewerPaintsInDevicePixels)
{
    TZORViewLibrary view;
    view.resize(300, 240);
    view.show();
    view.SetQuindle(&label);
    view.resize(320, 240);
    ExpectDevicePixels(view.BackSurf(), *view.viewport(), "symbol viewer");
}

TEST_F(Sharp, TheDimensionStyleSampleIsDrawnInDevicePixels)
{
    QLocale::setDefault(QLocale::c());
    TfDimStls form;
    form.Ini(label);
    form.show();
    QWidget* sample = form.findChild<QWidget*>(QStringLiteral("paintLab"));
    ASSERT_TRUE(sample);
    ExpectDevicePixels(form.Sample(), *sample, "dimension sample");
    ExpectNotScaledUp(*sample, "dimension sample");
}

TEST_F(Sharp, TheInspectorPaintsInDevicePixels)
{
    TZORInspector inspector;
    inspector.resize(240, 400);
    inspector.show();
    inspector.SetLabel(&label);
    ExpectNotScaledUp(inspector, "inspector");
}
