#include "Zor.Inspector.h"

#include "Zor.Inspector.Draw.h"
#include "dialogs/Zor.LabelDialogs.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QComboBox>
#include <QPalette>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

using zor::TJsonArray;
using zor::TJsonDataType;
using zor::TJsonObject;

TZORBaseInspector::TZORBaseInspector(QWidget* parent)
    : QWidget(parent)
{
    zor::InstallLabelDialogs();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // System colours come from the palette as they are, never through a conversion that reads
    // them as plain RGB values.
    const QPalette pal = palette();
    BackColor = pal.color(QPalette::Base);
    EditColor = pal.color(QPalette::Base);
    TitleColor = pal.color(QPalette::Text);
    ValueColor = QColor(0, 0, 255);
    SelColor = pal.color(QPalette::Highlight);
    SelTextColor = pal.color(QPalette::HighlightedText);
    SelButColor = SelColor;
    ArrowColor = QColor(0x80, 0x80, 0x80);
    ButColor = pal.color(QPalette::Button);
    ButPresColor = SelButColor;
    CapButColor = pal.color(QPalette::ButtonText);
    CapButPresColor = SelTextColor;
    CheckBorder = QColor(0x80, 0x80, 0x80);
    CheckLine = pal.color(QPalette::Text);

    fScroll = new QScrollBar(Qt::Vertical, this);
    fScroll->setFocusPolicy(Qt::NoFocus);
    fScroll->hide();
    connect(fScroll, &QScrollBar::valueChanged, this, [this](int v) {
        if (!fSettingScroll)
            VScroll(TScroll::Thumb, v);
    });
    fComboList = new QComboBox(this);
    fComboList->setObjectName(QStringLiteral("fComboList"));
    fComboList->hide();
    fListDelegate = new TZORListDelegate(*this);
    fComboList->setItemDelegate(fListDelegate);
    connect(fComboList, qOverload<int>(&QComboBox::activated), this, &TZORBaseInspector::ListChosen);
    fTimer.setInterval(100);
    connect(&fTimer, &QTimer::timeout, this, [this] { fTimerUp ? IncValue() : DecValue(); });
    resize(DesignWidth, DesignWidth);
    setMinimumWidth(DesignWidth);
    setMaximumWidth(DesignWidth);
    ResetValue();
}

TZORBaseInspector::~TZORBaseInspector()
{
    if (fBaseLab)
        fBaseLab->Detach(this);
}

void TZORBaseInspector::Assign(const TZORBaseInspector& source)
{
    if (&source == this)
        return;
    fOptions = source.fOptions;
    TitleColor = source.TitleColor;
    ValueColor = source.ValueColor;
    EditColor = source.EditColor;
    SelColor = source.SelColor;
    SelButColor = source.SelButColor;
    ArrowColor = source.ArrowColor;
    update();
}

void TZORBaseInspector::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::StyleChange || !fScroll)
        return;
    fScroll->setStyle(style());
    UpdateScrollBars();
    update();
}

void TZORBaseInspector::SetLabel(TZORLabelVCL* label)
{
    if (label == fBaseLab)
        return;
    if (fBaseLab) {
        fBaseLab->Detach(this);
        disconnect(fBaseLab, nullptr, this, nullptr);
    }
    fBaseLab = label;
    if (fBaseLab) {
        fBaseLab->Attach(this);
        connect(fBaseLab, &QObject::destroyed, this, [this] {
            fBaseLab = nullptr;
            Rebuild();
            FillInspector(true);
        });
    }
    Rebuild();
    FillInspector(true);
}

QString TZORBaseInspector::K(const char* key, int slot)
{
    return QString::fromLatin1(key) + QString::number(slot);
}

void TZORBaseInspector::Rebuild()
{
    std::vector<const TZORBaseItem*> selection;
    for (int32_t i = 1; fBaseLab && i <= fBaseLab->GetSelectionCount(); ++i)
        selection.push_back(fBaseLab->GetSelection(i));
    fJsonA = zor::InspectorRows(selection);
    // Point rows asked for stay until the selection changes.
    for (int i = 0; i < fPointRows; ++i)
        AppendPointRows();
}

void TZORBaseInspector::AppendPointRows()
{
    const TZORBaseItem* first = fBaseLab ? fBaseLab->Select() : nullptr;
    if (!first)
        return;
    const TJsonArray points = zor::PointRows(*first);
    for (int i = 0; i < points.Count(); ++i)
        fJsonA.Add(points.O(i));
}

void TZORBaseInspector::UpdateCtrl(TZRChange change, const TZRChangeValue& value)
{
    if (fToldAfter) {
        fToldAfter->emplace_back(change, value);
        return;
    }
    switch (change) {
    case TZRChange::Redraw:
    case TZRChange::StartText:
        Rebuild();
        FillInspector(false);
        break;
    case TZRChange::Selection:
        fPointRows = 0;
        Rebuild();
        FillInspector(true);
        break;
    case TZRChange::SelectionGeometry:
    case TZRChange::RefreshText:
        Rebuild();
        FillInspector(true);
        break;
    case TZRChange::EditProperty:
        if ((fOptions & OptEditProperty) && value.flag)
            OpenPropertyEditor(value.prop, value.pos);
        break;
    case TZRChange::PointRows:
        ++fPointRows;
        AppendPointRows();
        FillInspector(false);
        break;
    default:
        break;
    }
}

void TZORBaseInspector::OpenPropertyEditor(uint8_t prop, int32_t pos)
{
    for (int r = 0; r < fJsonA.Count(); ++r) {
        const TJsonObject row = Row(r);
        for (int k = 1; k <= row.I("N", 0); ++k)
            if (row.I(K("Prop", k), -1) == prop && row.I(K("P", k), -1) == pos) {
                PropEditor(r, k);
                return;
            }
    }
}

void TZORBaseInspector::FillInspector(bool reset)
{
    if (reset) {
        fEdit.Reset();
        fTopIndex = 0;
    }
    fNumRows = fJsonA.Count();
    fVisibleRows = 0;
    int sum = 0;
    for (int r = 0; r < fNumRows; ++r) {
        const int h = zor::ScalePos(Row(r).I("H", 0), fDPIY);
        if (sum + h < height())
            ++fVisibleRows;
        sum += h;
    }
    if (fEdit.Active && fEdit.Row >= fNumRows)
        fEdit.Reset();
    UpdateScrollBars();
    update();
}

bool TZORBaseInspector::ScrollBarShown() const
{
    return !fScroll->isHidden();
}

void TZORBaseInspector::UpdateScrollBars()
{
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool shown = fNumRows > fVisibleRows;
    if (shown) {
        fLeftGap = 2;
        fRightGap = barWidth;
        fSize24 = (DesignWidth - barWidth) / 24.0 * fDPIX / 96.0;
        fSettingScroll = true;
        // A line down may go one row past the last full page, as the arrows allow.
        fScroll->setRange(0, std::max(0, fNumRows - fVisibleRows + 1));
        fScroll->setPageStep(std::max(1, fVisibleRows));
        fScroll->setValue(fTopIndex);
        fSettingScroll = false;
        fScroll->setGeometry(width() - barWidth, 0, barWidth, height());
        fScroll->show();
    } else {
        fTopIndex = 0;
        fLeftGap = 11;
        fRightGap = 4;
        fSize24 = 10.0 * fDPIX / 96.0;
        fScroll->hide();
    }
}

void TZORBaseInspector::SetTopIndex(int top)
{
    top = std::max(0, top);
    if (top == fTopIndex)
        return;
    fTopIndex = top;
    CloseEditor();
    fSettingScroll = true;
    fScroll->setValue(fTopIndex);
    fSettingScroll = false;
    update();
}

void TZORBaseInspector::VScroll(TScroll code, int pos)
{
    switch (code) {
    case TScroll::LineUp:
        if (fTopIndex > 0)
            SetTopIndex(fTopIndex - 1);
        break;
    case TScroll::LineDown:
        if (fTopIndex + fVisibleRows <= fNumRows)
            SetTopIndex(fTopIndex + 1);
        break;
    case TScroll::PageUp:
        SetTopIndex(std::max(0, fTopIndex - fVisibleRows));
        break;
    case TScroll::PageDown:
        SetTopIndex(std::min(fTopIndex + fVisibleRows, std::max(0, fNumRows - fVisibleRows)));
        break;
    case TScroll::Thumb:
        SetTopIndex(std::clamp(pos, 0, std::max(0, fNumRows - 1)));
        break;
    }
}

void TZORBaseInspector::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (!(fOptions & OptWheel) || !ScrollBarShown() || event->angleDelta().y() == 0)
        return;
    const int lines = QApplication::wheelScrollLines();
    if (event->angleDelta().y() < 0)
        SetTopIndex(std::min(fTopIndex + lines, std::max(0, fNumRows - fVisibleRows)));
    else
        SetTopIndex(std::max(0, fTopIndex - lines));
}

void TZORBaseInspector::resizeEvent(QResizeEvent*)
{
    if (width() > 0 && height() > 0)
        FillInspector(true);
}

void TZORBaseInspector::ResetValue()
{
    fJsonV = TJsonObject();
    fJsonV.SetS("txt", QString());
    fJsonV.SetI("int", 0);
    fJsonV.SetF("ext", 0.0);
    fJsonV.SetL("i64", 0);
    fJsonV.SetB("bol", false);
}

TJsonObject TZORBaseInspector::Commit(int row, int slot, const char* key, int pos, const QString& valueKey)
{
    if (!fBaseLab || row < 0 || row >= fJsonA.Count())
        return {};
    // What the label tells its views of the change is taken in once UpdateProp has returned (it
    // may rebuild the rows); the reply then goes into the row as it is afterwards.
    const TJsonObject r = Row(row);
    const uint8_t prop = uint8_t(r.I(K("Prop", slot), 0));
    const int32_t kind = r.I("Kind", 0);
    const int32_t type = r.I("Type", 0);
    TJsonObject reply;
    {
        std::vector<std::pair<TZRChange, TZRChangeValue>> told;
        fToldAfter = &told;
        const auto tell = qScopeGuard([this, &told] {
            fToldAfter = nullptr;
            for (const auto& [change, value] : told)
                UpdateCtrl(change, value);
        });
        reply = fBaseLab->UpdateProp(prop, kind, type, pos < 0 ? r.I(K("P", slot), 0) : pos, fJsonV);
    }
    if (row < fJsonA.Count() && reply.Contains(key)) {
        TJsonObject now = Row(row);
        CopyValue(now, valueKey.isEmpty() ? K("Value", slot) : valueKey, reply, key);
    }
    UpdateLinkedProp(reply);
    update();
    return reply;
}

void TZORBaseInspector::CopyValue(
    TJsonObject& to, const QString& toKey, const TJsonObject& from, const char* key)
{
    switch (from.Types(key)) {
    case TJsonDataType::jdtString:
        to.SetS(toKey, from.S(key));
        break;
    case TJsonDataType::jdtBool:
        to.SetB(toKey, from.B(key));
        break;
    case TJsonDataType::jdtFloat:
        to.SetF(toKey, from.F(key));
        break;
    case TJsonDataType::jdtInt:
    case TJsonDataType::jdtLong:
    case TJsonDataType::jdtULong:
        to.SetL(toKey, from.L(key));
        break;
    default:
        break;
    }
}

void TZORBaseInspector::UpdateLinkedProp(const TJsonObject& reply)
{
    if (!reply.Contains("Link"))
        return;
    const TJsonArray links = reply.A("Link");
    // Every row showing a linked value takes it, also rows scrolled out of view, which would
    // otherwise show a stale value when scrolled back.
    for (int l = 0; l < links.Count(); ++l) {
        const TJsonObject link = links.O(l);
        const char* key = nullptr;
        for (const char* k : { "ext", "int", "txt", "i64", "bol" })
            if (link.Contains(k))
                key = k;
        if (!key)
            continue;
        for (int r = 0; r < fJsonA.Count(); ++r) {
            TJsonObject row = Row(r);
            if (row.I("Kind", -1) != link.I("Kind", 0) || row.I("Type", -1) != link.I("Type", 0))
                continue;
            for (int k = 1; k <= row.I("N", 0); ++k)
                if (row.I(K("P", k), -1) == link.I("Pos", 0))
                    CopyValue(row, K("Value", k), link, key);
        }
    }
    update();
}

int TZORBaseInspector::RowTop(int row) const
{
    if (row < fTopIndex || row >= fJsonA.Count())
        return -1;
    int top = 0;
    for (int r = fTopIndex; r < row; ++r)
        top += zor::ScalePos(Row(r).I("H", 0), fDPIY);
    if (top + zor::ScalePos(Row(row).I("H", 0), fDPIY) > height())
        return -1;
    return top;
}

QRect TZORBaseInspector::ValueCell(int row, int slot) const
{
    const int top = RowTop(row);
    if (top < 0)
        return {};
    const TJsonObject r = Row(row);
    const int col = r.I(K("C", slot), 0);
    const int prop = r.I(K("Prop", slot), 0);
    return QRectF(zor::XPosCtrl(col, prop, fSize24), top + r.I(K("TV", slot), 0),
        zor::WidthCtrl(col, prop, fSize24), zor::HeightCtrl(prop, fDPIY))
        .toRect();
}

void TZORBaseInspector::focusOutEvent(QFocusEvent*)
{
    if (fComboList->isVisible() && fComboList->hasFocus())
        return;
    CloseEditor();
}

bool TZORBaseInspector::focusNextPrevChild(bool next)
{
    // Tab goes on from slot to slot, and leaves the inspector after the last one.
    if (NextTypedRow(next) >= 0)
        return false;
    CloseEditor();
    return QWidget::focusNextPrevChild(next);
}

void TZORBaseInspector::CloseEditor()
{
    if (fEdit.Active)
        update();
    fEdit.Reset();
}

TZORInspector::TZORInspector(QWidget* parent)
    : TZORBaseInspector(parent)
{
}
