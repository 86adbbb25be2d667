// The surface's layers and text commands under the names a host program calls them by; each
// hands on to the unit that does the work.

#include "Zor.EditorPaint.h"
#include "Zor.EditorText.h"
#include "Zor.RichTextBar.h"
#include "Zor.Vcl.Editor.h"

void TZORBackEditor::DrawGrid(QPainter& painter)
{
    fPaint->PaintGrid(painter);
}

void TZORBackEditor::DrawAlignLines(QPainter& painter)
{
    fPaint->PaintAlignLines(painter);
}

void TZORBackEditor::PaintRulers(QPainter& painter)
{
    fPaint->fRulers.Paint(painter, *this);
}

void TZORBackEditor::DrawSelPoints(QPainter& painter)
{
    if (TZORLabelVCL* label = fEditor.GetLabel())
        fPaint->PaintHandles(painter, *label);
}

int32_t TZORBackEditor::CalcCursorPosFromClick(int x) const
{
    return fEditor.TextEditing().CalcCursorPosFromClick(QPoint(x, fState.Press.y()));
}

int32_t TZORBackEditor::CalcRichTextCursorPosFromClick(QPoint p) const
{
    return fEditor.TextEditing().RichText() ? fEditor.TextEditing().CalcCursorPosFromClick(p) : 0;
}

void TZORBackEditor::ApplyFontNameToSelection(const QString& name)
{
    fEditor.TextEditing().ApplyFontName(name);
}

void TZORBackEditor::ApplySizeToSelection(int32_t millimetres)
{
    fEditor.TextEditing().ApplySize(millimetres);
}

void TZORBackEditor::HandleToolbarClick(int i)
{
    fEditor.TextEditing().Bar().Clicked(i);
}

void TZORBackEditor::ShowFontCombo()
{
    fEditor.TextEditing().Bar().ShowFonts();
}
