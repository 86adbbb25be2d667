#include "Zor.BaseDraw.h"
#include "Zor.Utils.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

// The drawing layer derives its context and frees it through the base.
static_assert(std::has_virtual_destructor_v<TZORBaseDraw>);

TEST(BaseDraw, NewContextIsNeutral)
{
    const TZORBaseDraw D;
    EXPECT_EQ(D.fPixUnitX, 0.0f);
    EXPECT_EQ(D.fPixUnitY, 0.0f);
    EXPECT_EQ(D.fZoom, 1.0f);
    EXPECT_EQ(D.fOrgX, 0);
    EXPECT_EQ(D.fOrgY, 0);
    EXPECT_EQ(D.fOrgFX, 0.0f);
    EXPECT_EQ(D.fOrgFY, 0.0f);
    EXPECT_EQ(D.fDPIX, 0);
    EXPECT_EQ(D.fDPIY, 0);
    EXPECT_EQ(D.fPageWidth, 0);
    EXPECT_EQ(D.fPageHeight, 0);
    EXPECT_EQ(D.fPixMicroX, 0.0);
    EXPECT_EQ(D.fPixMicroY, 0.0);
    EXPECT_EQ(D.fPixMM, 0.0f);
    EXPECT_EQ(D.fScale, 1);
    EXPECT_EQ(D.fDrawState, TZORDrawState::Editor);
    EXPECT_FALSE(D.fEditor);
    EXPECT_EQ(D.fSheetRow, 0);
    EXPECT_EQ(D.fSheetCol, 0);
    EXPECT_EQ(D.GetDrawX(25400), 0.0);
}

TEST(BaseDraw, ProjectionDividesByTheDrawingScaleOnly)
{
    const struct {
        int dpiX, dpiY, scale;
        double microX, microY, mm;
        int storedScale;
    } table[] = {
        { 96, 96, 1, 96 / 25400.0, 96 / 25400.0, 96 / 25.4, 1 },
        { 300, 600, 50, 300 / (50 * 25400.0), 600 / (50 * 25400.0), 600 / 25.4, 50 },
        { 600, 600, 0, 600 / 25400.0, 600 / 25400.0, 600 / 25.4, 1 },
        { 600, 600, -5, 600 / 25400.0, 600 / 25400.0, 600 / 25.4, 1 },
        { -300, 1200, 2, 0.0, 1200 / (2 * 25400.0), 1200 / 25.4, 2 },
    };
    for (const auto& row : table) {
        TZORBaseDraw D;
        D.SetProjection(row.dpiX, row.dpiY, row.scale);
        SCOPED_TRACE(::testing::Message() << row.dpiX << "/" << row.dpiY << " 1:" << row.scale);
        EXPECT_DOUBLE_EQ(D.fPixMicroX, row.microX);
        EXPECT_DOUBLE_EQ(D.fPixMicroY, row.microY);
        EXPECT_FLOAT_EQ(D.fPixMM, static_cast<float>(row.mm));
        EXPECT_EQ(D.fScale, row.storedScale);
        EXPECT_GE(D.fDPIX, 0);
    }
}

TEST(BaseDraw, AnInchOnPaperIsTheResolutionAtEveryScale)
{
    for (int scale : { 1, 50 }) {
        TZORBaseDraw D;
        D.SetProjection(300, 600, scale);
        // A drawing length of scale inches is one inch of paper.
        EXPECT_DOUBLE_EQ(D.GetDrawX(25400.0 * scale), 300.0) << scale;
        EXPECT_DOUBLE_EQ(D.GetDrawY(25400.0 * scale), 600.0) << scale;
        // Pen widths are paper lengths whatever the scale.
        EXPECT_DOUBLE_EQ(D.DrawBasePtoX(25.4), 300.0) << scale;
    }
}

} // namespace
