// One editor takes another's label and settings; each keeps its own surface and option
// objects.

#include "ShownEditor.h"
#include "editor/Zor.Vcl.Editor.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

using zor::TColor;

TEST(EditorAssign, TakesTheLabelAndEverySetting)
{
    TZORLabelVCL label;
    auto source = zor::test::ShownEditor(label, { 600, 400 });
    source->SetGap(12);
    source->SetSizeRef(9);
    source->SetSnap(2);
    source->SetZoom(TZORZoom::zm200);
    source->SetMarginColor(TColor { 0x123456 });
    source->SetLabelPos(TZORLabelPos::Center);
    source->SetOptions(uint16_t(source->GetOptions() & ~1u));
    source->SetEnabledMouseFilter(true);
    source->SetShowRefLines(true);
    source->Rulers().SetShowSize(true);
    source->Rulers().fAlignLeft = 42000;
    source->Grid().SetStepColor(TColor { 0x00FF00 });

    TZOREditor target;
    target.resize(600, 400);
    target.Assign(*source);
    EXPECT_EQ(target.GetLabel(), &label);
    EXPECT_EQ(target.GetGap(), 12);
    EXPECT_EQ(target.GetSizeRef(), 9);
    EXPECT_EQ(target.GetSnap(), 2);
    EXPECT_EQ(target.GetZoom(), TZORZoom::zm200);
    EXPECT_EQ(target.GetMarginColor(), (TColor { 0x123456 }));
    EXPECT_EQ(target.GetLabelPos(), TZORLabelPos::Center);
    EXPECT_EQ(target.GetOptions(), source->GetOptions());
    EXPECT_TRUE(target.GetEnabledMouseFilter());
    EXPECT_TRUE(target.GetShowRefLines());
    EXPECT_TRUE(target.Rulers().GetShowSize());
    EXPECT_EQ(target.Rulers().fAlignLeft, 42000);
    EXPECT_EQ(target.Grid().GetStepColor(), (TColor { 0x00FF00 }));
    // Its own option objects and surface, not the source's.
    EXPECT_NE(&target.Rulers(), &source->Rulers());
    EXPECT_NE(&target.Surface(), &source->Surface());
    // The source may go: the target keeps showing the label.
    source.reset();
    EXPECT_EQ(target.GetLabel(), &label);
    target.Assign(target);
    EXPECT_EQ(target.GetGap(), 12);
}
