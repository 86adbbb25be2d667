// Grid snapping in the live editor at two zooms and two drawing scales: a pixel of the page
// comes back as base units on the scale's grid and snaps to the nearest grid line.

#include "Zor.Act.h"
#include "editor/Zor.Vcl.Editor.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <memory>

TEST(EditorGridSnap, APixelSnapsToTheGridAtEveryZoomAndScale)
{
    const struct {
        TZORZoom zoom;
        int32_t scale;
    } cases[] = { { TZORZoom::zm100, 1 }, { TZORZoom::zm400, 1 }, { TZORZoom::zm100, 50 },
        { TZORZoom::zm400, 50 } };
    // Paper millimetres and the 5 mm grid line each snaps to.
    const struct {
        double mm;
        int64_t snapped;
    } points[] = { { 41, 40000 }, { 43, 45000 }, { 12.4, 10000 }, { 57.6, 60000 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.zoom) << " 1:" << c.scale);
        TZORLabelVCL label;
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(80000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(80000);
        label.Measure().SetDrawScale(c.scale);
        TZOREditor editor;
        editor.SetDPIOverride(96);
        editor.resize(400, 300);
        editor.show();
        editor.SetLabel(&label);
        editor.SetZoom(c.zoom);
        // The grid step is in the drawing's unit: 5 mm of paper.
        editor.Grid().SetIncX(5.0 * c.scale);
        editor.Grid().SetIncY(5.0 * c.scale);
        const TZORBackEditor& s = editor.Surface();
        const TZOREditorGeometry& g = s.G;
        EXPECT_EQ(s.GridX(41000 * c.scale), -1) << "snap off";
        editor.SetSnap(2);
        for (const auto& p : points) {
            const int64_t base = int64_t(p.mm * 1000) * c.scale;
            const int64_t bx = g.BaseMMX(g.ScreenMMX(base)), by = g.BaseMMY(g.ScreenMMY(base));
            EXPECT_EQ(bx % c.scale, 0) << p.mm;
            EXPECT_EQ(s.GridX(bx), p.snapped * c.scale) << p.mm;
            EXPECT_EQ(s.GridY(by), p.snapped * c.scale) << p.mm;
        }
    }
}
