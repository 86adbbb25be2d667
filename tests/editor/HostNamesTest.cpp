// A program written against the documented names finds every operation a host calls under that
// name, on the class that documents it. The table is checked when this file compiles (a name
// missing or moved breaks the build); the test reads it back so that the list shows in a run.

#include "Zor.Label.h"
#include "dialogs/Zor.Eddata.h"
#include "dialogs/Zor.Spinfloat.h"
#include "editor/Zor.EditorInput.h"
#include "editor/Zor.EditorOptions.h"
#include "editor/Zor.ValueBox.h"
#include "editor/Zor.Vcl.Editor.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct THostName {
    const char* owner;
    const char* name;
    bool found;
};

// Names the member as a template argument: a name that is not there does not compile.
template <auto Member> constexpr bool Found = true;

// clang-format off
#define ZOR_HOST_NAME(Class, Member) THostName { #Class, #Member, Found<&Class::Member> }
// clang-format on

const std::vector<THostName>& HostNames()
{
    static const std::vector<THostName> names {
        // The editor control and its surface.
        ZOR_HOST_NAME(TZORBaseEditor, Assign),
        ZOR_HOST_NAME(TZORBaseEditor, SizeSelection),
        ZOR_HOST_NAME(TZORBaseEditor, EditSettings),
        ZOR_HOST_NAME(TZORBaseEditor, ClickUnits),
        ZOR_HOST_NAME(TZORBaseEditor, IncZoom),
        ZOR_HOST_NAME(TZORBaseEditor, DecZoom),
        ZOR_HOST_NAME(TZORBaseEditor, AlignSelectedLeft),
        ZOR_HOST_NAME(TZORBaseEditor, AlignSelectedRight),
        ZOR_HOST_NAME(TZORBaseEditor, AlignSelectedTop),
        ZOR_HOST_NAME(TZORBaseEditor, AlignSelectedBottom),
        ZOR_HOST_NAME(TZORBaseEditor, DrawEditor),
        ZOR_HOST_NAME(TZORBaseEditor, UpdateRulers),
        ZOR_HOST_NAME(TZORBaseEditor, DrawLinkPointColor),
        ZOR_HOST_NAME(TZORBaseEditor, CheckDScroll),
        ZOR_HOST_NAME(TZORBaseEditor, IniEdition),
        ZOR_HOST_NAME(TZORBaseEditor, SelectSymbol),
        ZOR_HOST_NAME(TZORBackEditor, DrawEditor),
        ZOR_HOST_NAME(TZORBackEditor, GetDPIs),
        ZOR_HOST_NAME(TZORBackEditor, SetGap),
        ZOR_HOST_NAME(TZORBackEditor, GridX),
        ZOR_HOST_NAME(TZORBackEditor, GridY),
        ZOR_HOST_NAME(TZORBackEditor, DrawGrid),
        ZOR_HOST_NAME(TZORBackEditor, DrawAlignLines),
        ZOR_HOST_NAME(TZORBackEditor, PaintRulers),
        ZOR_HOST_NAME(TZORBackEditor, DrawSelPoints),
        ZOR_HOST_NAME(TZORBackEditor, CalcCursorPosFromClick),
        ZOR_HOST_NAME(TZORBackEditor, CalcRichTextCursorPosFromClick),
        ZOR_HOST_NAME(TZORBackEditor, ApplyFontNameToSelection),
        ZOR_HOST_NAME(TZORBackEditor, ApplySizeToSelection),
        ZOR_HOST_NAME(TZORBackEditor, HandleToolbarClick),
        ZOR_HOST_NAME(TZORBackEditor, ShowFontCombo),
        ZOR_HOST_NAME(TZOREditorInput, CheckDown),
        ZOR_HOST_NAME(TZOREditorInput, CheckMove),
        ZOR_HOST_NAME(TZOREditorInput, SetBasePoint),
        ZOR_HOST_NAME(TZOREditorInput, ResetInputText),
        ZOR_HOST_NAME(TZORValueBox, DrawInput),
        // The option objects.
        ZOR_HOST_NAME(TZORRulers, Assign),
        ZOR_HOST_NAME(TZORGrid, Assign),
        ZOR_HOST_NAME(TZORSelColors, Assign),
        // The inspector and the spin edit.
        ZOR_HOST_NAME(TZORBaseInspector, Assign),
        ZOR_HOST_NAME(TZORBaseInspector, FillInspector),
        ZOR_HOST_NAME(TZORBaseInspector, VScroll),
        ZOR_HOST_NAME(TZORBaseInspector, PropEditor),
        ZOR_HOST_NAME(TZORSpinEditFloat, Assign),
        // The label: its dialogs, its selection and its events.
        ZOR_HOST_NAME(TZORLabelVCL, EditProperties),
        ZOR_HOST_NAME(TZORLabelVCL, EditLayers),
        ZOR_HOST_NAME(TZORLabelVCL, EditDimStyles),
        ZOR_HOST_NAME(TZORLabelVCL, Preview),
        ZOR_HOST_NAME(TZORBaseLabel, SizeSelection),
        ZOR_HOST_NAME(TZORBaseLabel, SetOrientation),
        ZOR_HOST_NAME(TZORBaseLabel, FireInfoEvent),
        ZOR_HOST_NAME(TZORBaseLabel, OnInfoMsg),
        ZOR_HOST_NAME(TZORBaseLabel, OnLabelRotate),
        // The data-binding dialog.
        ZOR_HOST_NAME(TfEdData, IniDialog),
        ZOR_HOST_NAME(TfEdData, FillDataInfo),
        ZOR_HOST_NAME(TfEdData, FindDataset),
        ZOR_HOST_NAME(TfEdData, DatasetPos),
        ZOR_HOST_NAME(TfEdData, FindFieldName),
        ZOR_HOST_NAME(TfEdData, IsDetail),
        ZOR_HOST_NAME(TfEdData, CheckDetail),
    };
    return names;
}

#undef ZOR_HOST_NAME

} // namespace

TEST(HostNames, EveryDocumentedNameIsFoundOnItsClass)
{
    for (const THostName& n : HostNames())
        EXPECT_TRUE(n.found) << n.owner << "::" << n.name;
    EXPECT_FALSE(HostNames().empty());
}
