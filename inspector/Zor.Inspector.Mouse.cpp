// Clicks on the rows: caret editors and spin buttons, check boxes, alignment buttons, the
// drop-down lists and the dialogs a slot opens.

#include "Zor.Inspector.Draw.h"
#include "Zor.Inspector.h"
#include "Zor.Msg.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.Edpolytext.h"
#include "dialogs/Zor.Edtable.h"
#include "dialogs/Zor.Mem.h"
#include "dialogs/Zor.Selmap.h"
#include "label/Zor.Vcl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

using zor::InsListSources;
using zor::TJsonObject;

namespace {

// The list source of an element's FillName.
constexpr int FillNameSource = 9;

// What a FillName may name: the counters, value lists or questions when the (first) selected
// element is bound to one of those, else the data's fields and counters (a counter by its mark).
QStringList FillNames(TZORLabelVCL& label)
{
    TZORData& data = label.Data();
    const TZORBaseItem* bound = label.Select();
    QStringList names;
    switch (bound ? TZORFillType(bound->FillType()) : TZORFillType::None) {
    case TZORFillType::Counter:
        for (int32_t c = 1; c <= data.GetCounterCount(); ++c)
            names << data.GetCounter(c)->GetName();
        return names;
    case TZORFillType::List:
        for (int32_t l = 1; l <= data.GetNumListVal(); ++l)
            names << data.GetListVal(l)->GetName();
        return names;
    case TZORFillType::Ask:
        for (int32_t q = 1; q <= data.GetNumQuestions(); ++q)
            names << data.GetAskField(q)->GetName();
        return names;
    default:
        return zor::ListEntries(label, FillNameSource, nullptr);
    }
}

bool HasButton(TZORInsProp prop)
{
    return prop == TZORInsProp::ImagePath || prop == TZORInsProp::Memo || prop == TZORInsProp::Table
        || prop == TZORInsProp::PolyText || prop == TZORInsProp::Align || prop == TZORInsProp::Align2;
}

bool CaretKind(TZORInsProp prop)
{
    return prop == TZORInsProp::Text || prop == TZORInsProp::Float || prop == TZORInsProp::Integer
        || prop == TZORInsProp::FormatInt || prop == TZORInsProp::BarText;
}

} // namespace

bool TZORBaseInspector::HitSlot(QPoint pos, int& row, int& slot) const
{
    int top = 0;
    for (int r = fTopIndex; r < fJsonA.Count(); ++r) {
        const TJsonObject o = Row(r);
        const int h = zor::ScalePos(o.I("H", 0), fDPIY);
        if (top + h > height())
            return false;
        if (pos.y() >= top && pos.y() < top + h) {
            for (int k = 1; k <= o.I("N", 0); ++k) {
                const auto prop = TZORInsProp(o.I(K("Prop", k), -1));
                const QRect cell = ValueCell(r, k);
                // Slots with buttons take the whole row; the others their value cell.
                if (HasButton(prop)
                    || (pos.y() >= cell.top() && pos.y() <= cell.bottom() && pos.x() >= cell.left()
                        && pos.x() <= cell.right())) {
                    row = r;
                    slot = k;
                    return true;
                }
            }
            return false;
        }
        top += h;
    }
    return false;
}

void TZORBaseInspector::mousePressEvent(QMouseEvent* event)
{
    fTimer.stop();
    if (!fBaseLab || fNumRows == 0 || !fBaseLab->GetEditable())
        return;
    fComboList->hide();
    setFocus(Qt::MouseFocusReason);
    int row = -1, slot = -1;
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !HitSlot(pos, row, slot)) {
        CloseEditor();
        return;
    }
    const auto prop = TZORInsProp(Row(row).I(K("Prop", slot), -1));
    if (CaretKind(prop)) {
        const QRect box(fEdit.X, fEdit.Y, fEdit.W, fEdit.H);
        if (!fEdit.Active || !box.contains(pos)) {
            CloseEditor();
            OpenCaretEditor(row, slot);
        } else if ((fEdit.Kind == 2 || fEdit.Kind == 3) && pos.x() >= fEdit.X + fEdit.W - 12) {
            const bool up = pos.y() < fEdit.Y + fEdit.H / 2;
            up ? IncValue() : DecValue();
            StartSpin(up);
        }
        return;
    }
    CloseEditor();
    if (prop == TZORInsProp::ImagePath)
        ClickImagePath(row, slot, pos);
    else if (prop == TZORInsProp::Align || prop == TZORInsProp::Align2)
        ClickAlign(row, slot, pos);
    else
        PropEditor(row, slot);
}

void TZORBaseInspector::mouseReleaseEvent(QMouseEvent*)
{
    fTimer.stop();
}

void TZORBaseInspector::mouseMoveEvent(QMouseEvent* event)
{
    int row = -1, slot = -1;
    if (!HitSlot(event->position().toPoint(), row, slot)) {
        unsetCursor();
        return;
    }
    switch (TZORInsProp(Row(row).I(K("Prop", slot), -1))) {
    case TZORInsProp::Text:
    case TZORInsProp::Float:
    case TZORInsProp::Integer:
    case TZORInsProp::BarText:
        break;
    case TZORInsProp::Color:
    case TZORInsProp::Check:
    case TZORInsProp::ImagePath:
    case TZORInsProp::Memo:
    case TZORInsProp::Table:
    case TZORInsProp::PolyText:
    case TZORInsProp::Align:
    case TZORInsProp::Align2:
        setCursor(Qt::PointingHandCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void TZORBaseInspector::ClickAlign(int row, int slot, QPoint pos)
{
    const TJsonObject r = Row(row);
    const int top = RowTop(row);
    const bool two = r.I(K("Prop", slot), -1) == int(TZORInsProp::Align2);
    for (int group = 0; group < (two ? 2 : 1); ++group)
        for (int i = 0; i < 3; ++i) {
            const QRectF button = AlignButton(r, slot, top, group, i);
            if (!button.adjusted(1, 1, -1, -1).contains(pos))
                continue;
            const QString valueKey = QStringLiteral("Value%1").arg(group + 1);
            if (r.I(valueKey, -1) == i)
                return;
            fJsonV.SetI("int", i);
            Commit(row, slot, "int", two ? group + 1 : -1, valueKey);
            return;
        }
}

void TZORBaseInspector::ClickImagePath(int row, int slot, QPoint pos)
{
    const int button = zor::ScalePos(22, fDPIX) + zor::ScalePos(2, fDPIX);
    const int right = ClientWidth();
    if (pos.x() > right - button) {
        fImgMap = false;
        PropEditor(row, slot);
    } else if ((fOptions & OptMapButton) && pos.x() > right - 2 * button) {
        fImgMap = true;
        PropEditor(row, slot);
    }
}

void TZORBaseInspector::PropEditor(int row, int slot)
{
    if (!fBaseLab || row < 0 || row >= fJsonA.Count())
        return;
    const TJsonObject r = Row(row);
    const QString valueKey = K("Value", slot);
    switch (TZORInsProp(r.I(K("Prop", slot), -1))) {
    case TZORInsProp::Check:
        fJsonV.SetB("bol", !r.B(valueKey, false));
        Commit(row, slot, "bol");
        break;
    case TZORInsProp::Color:
        ChooseColor(row, slot);
        break;
    case TZORInsProp::ImagePath:
        fImgMap ? ChooseMap(row, slot) : ChoosePicture(row, slot);
        break;
    case TZORInsProp::Memo:
        EditMemo(row, slot);
        break;
    case TZORInsProp::Table: {
        TfEdTable dialog(this);
        dialog.Ini(*fBaseLab);
        zor::DialogService().Exec(dialog);
        break;
    }
    case TZORInsProp::PolyText: {
        TfEdPolyText dialog(this);
        dialog.Ini(*fBaseLab);
        zor::DialogService().Exec(dialog);
        break;
    }
    case TZORInsProp::List:
        OpenList(row, slot);
        break;
    case TZORInsProp::Align:
    case TZORInsProp::Align2:
        break;
    default:
        CloseEditor();
        OpenCaretEditor(row, slot);
        break;
    }
}

void TZORBaseInspector::CommitText(int row, int slot, const QString& text)
{
    fJsonV.SetS("txt", text);
    Commit(row, slot, "txt");
}

void TZORBaseInspector::ChooseColor(int row, int slot)
{
    const uint32_t old = uint32_t(Row(row).L(K("Value", slot), 0));
    const std::optional<QColor> chosen = zor::DialogService().Color(
        this, QColor::fromRgb(old & 0xFFFFFFu), Row(row).S(K("Name", slot), QString()), false);
    if (!chosen)
        return;
    // The colour dialog chooses red, green and blue; the alpha stays.
    fJsonV.SetL("i64", int64_t((old & 0xFF000000u) | (chosen->rgb() & 0xFFFFFFu)));
    Commit(row, slot, "i64");
}

void TZORBaseInspector::ChoosePicture(int row, int slot)
{
    const QString name = zor::DialogService().OpenFileName(this,
        TZORMsg::GetDialogsValue(QStringLiteral("OpenPicture")), fBaseLab->GetImageFolder(),
        QStringLiteral(
            "All (*.png *.jpg *.jpeg *.gif);;Portable Network Graphics (*.png);;JPEG Image File (*.jpg);;"
            "JPEG Image File (*.jpeg);;GIF Image File (*.gif)"));
    if (!name.isEmpty())
        CommitText(row, slot, name);
}

void TZORBaseInspector::ChooseMap(int row, int slot)
{
    TfSelMap dialog(this);
    dialog.Ini(*fBaseLab, false, 0, 0);
    if (zor::DialogService().Exec(dialog) == QDialog::Accepted)
        CommitText(row, slot, fBaseLab->Mapping().GetFileName());
}

void TZORBaseInspector::EditMemo(int row, int slot)
{
    const QString old = Row(row).S(K("Value", slot), QString());
    const TZORBaseItem* first = fBaseLab->Select();
    TfMem dialog(this);
    dialog.Ini(old, first && first->TypeCode() == TZORItemType::RichText);
    if (zor::DialogService().Exec(dialog) == QDialog::Accepted && dialog.GetText() != old)
        CommitText(row, slot, dialog.GetText());
}

void TZORBaseInspector::OpenList(int row, int slot)
{
    const int top = RowTop(row);
    const TJsonObject r = Row(row);
    const int source = r.I(K("List", slot), -1);
    if (top < 0 || !fBaseLab || source < 0 || source >= InsListSources)
        return;
    CloseEditor();
    QStringList entries
        = source == FillNameSource ? FillNames(*fBaseLab) : zor::ListEntries(*fBaseLab, source, this);
    if (source == 4 && entries.isEmpty())
        entries = QFontDatabase::families();
    const bool index = zor::IsIndexList(source);
    fComboList->hide();
    fComboList->clear();
    fComboList->setEditable(!index);
    fComboList->setInsertPolicy(QComboBox::NoInsert);
    fComboList->addItems(entries);
    fListDelegate->SetSource(source);
    if (index) {
        fComboList->setCurrentIndex(r.I(K("Value", slot), -1));
    } else {
        fComboList->setCurrentIndex(int(entries.indexOf(r.S(K("Value", slot), QString()))));
        fComboList->setEditText(r.S(K("Value", slot), QString()));
        connect(fComboList->lineEdit(), &QLineEdit::returnPressed, this, &TZORBaseInspector::ListTextEntered,
            Qt::UniqueConnection);
    }
    fListRow = row;
    fListSlot = slot;
    fListSource = source;
    fComboList->setGeometry(ValueCell(row, slot));
    // The list opens as wide as its longest entry needs (a long font family shows whole).
    int widest = 0;
    for (const QString& e : entries)
        widest = std::max(widest, fComboList->view()->fontMetrics().horizontalAdvance(e));
    fComboList->view()->setMinimumWidth(widest + 2 * fComboList->view()->frameWidth()
        + fComboList->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + zor::ScalePos(12, fDPIX));
    fComboList->show();
    fComboList->setFocus();
}

void TZORBaseInspector::ListTextEntered()
{
    ListChosen(-1);
}

void TZORBaseInspector::ListChosen(int index)
{
    fComboList->hide();
    setFocus();
    if (fListRow < 0 || fListRow >= fJsonA.Count())
        return;
    const TJsonObject r = Row(fListRow);
    const QString valueKey = K("Value", fListSlot);
    const bool several = fBaseLab && fBaseLab->GetSelectionCount() >= 2;
    if (zor::IsIndexList(fListSource)) {
        // Typing into the list gives no entry (-1): nothing is sent.
        if (index < 0 || (index == r.I(valueKey, -1) && !several))
            return;
        fJsonV.SetI("int", index);
        Commit(fListRow, fListSlot, "int");
        return;
    }
    const QString text = index < 0 ? fComboList->currentText() : fComboList->itemText(index);
    if (text == r.S(valueKey, QString()) && !several)
        return;
    CommitText(fListRow, fListSlot, text);
}
