// The editor's side of the label's tools: the tool cursor, starting an edition, and choosing the
// symbol the symbol tool places.
#include "Zor.Vcl.Editor.h"

#include "Zor.Edit.h"
#include "Zor.EditorInput.h"
#include "Zor.EditorText.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.Selsymbol.h"
#include "drawing/Zor.Vcl.Types.h"

void TZORBaseEditor::IniEdition(bool inserting)
{
    fBackEdit->State().Inserting = inserting;
    fBackEdit->Input().BeginEdition();
    fBackEdit->setFocus(Qt::OtherFocusReason);
}

void TZORBaseEditor::FillEditText()
{
    if (!fBaseLab || !fBaseLab->GetTextObject())
        return;
    fBackEdit->State().Inserting = false;
    fText->Started();
}

void TZORBaseEditor::ApplyToolStep(const zor::TZORToolStep& step)
{
    using zor::TZORToolEffect;
    TZORDraw& D = fBackEdit->Draw();
    switch (step.Effect) {
    case TZORToolEffect::ClearText:
        D.aTxt.clear();
        D.aPos = 0;
        break;
    case TZORToolEffect::FillText:
        FillEditText();
        break;
    case TZORToolEffect::ResetPointsKeepLink:
    case TZORToolEffect::ResetPoints:
        fBackEdit->State().Press = fBackEdit->State().Pointer = QPoint();
        break;
    case TZORToolEffect::StopText:
        fBackEdit->Input().ResetInputText(false);
        break;
    case TZORToolEffect::None:
        break;
    }
    if (step.Cursor != zor::KeepCursor) {
        fBackEdit->State().CursorId = step.Cursor;
        fBackEdit->setCursor(zor::ToolCursor(step.Cursor));
    }
    switch (step.Edition) {
    case zor::TZOREdition::Start:
        IniEdition(true);
        break;
    case zor::TZOREdition::StartText:
        IniEdition(false);
        break;
    case zor::TZOREdition::Stop:
        fBackEdit->State().Inserting = false;
        break;
    case zor::TZOREdition::Keep:
        break;
    }
}

bool TZORBaseEditor::SelectSymbol()
{
    if (!fBaseLab)
        return false;
    std::unique_ptr<TZORLibSymbol> chosen;
    QString lastCat;
    {
        TfSelSymbol picker(this);
        picker.Ini(*fBaseLab, fBaseLab->GetLibraryFolder(), fLastCat);
        if (zor::DialogService().Exec(picker) == QDialog::Accepted) {
            chosen = picker.GetSelection();
            lastCat = picker.LastCat();
        }
    }
    // The label may have gone while the picker was open.
    if (!fBaseLab)
        return false;
    if (!chosen) {
        fBaseLab->ResetAction();
        return false;
    }
    fLastCat = lastCat;
    fBaseLab->UseSymbol(std::move(chosen));
    return true;
}
