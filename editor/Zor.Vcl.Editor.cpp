#include "Zor.Vcl.Editor.h"

#include "Zor.Edit.h"
#include "Zor.EditorInput.h"
#include "Zor.EditorPaint.h"
#include "Zor.EditorText.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.LabelDialogs.h"
#include "dialogs/Zor.Settings.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.Paint.h"
#include "drawing/Zor.Vcl.Types.h"
#include "label/Zor.Vcl.Observe.h"
#include "label/Zor.Vcl.Shared.Factory.h"

#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>

using zor::AlphaColorToColor;
using zor::ColorToAlphaColor;
using zor::TAct;
using zor::TColor;

namespace {

constexpr std::array<float, 14> ZoomScales
    = { 0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f, 4.5f, 5.0f };
constexpr std::array<const char*, 7> UnitSymbols = { "mm", "in", "cm", "dm", "m", "ft", "yd" };

bool IsFitted(TZORZoom z)
{
    return z >= TZORZoom::zmWidth;
}

// The menu tag of a zoom step: its percentage, or 1, 2, 3 for the fitted steps.
int ZoomTag(TZORZoom z)
{
    return IsFitted(z) ? int(z) - int(TZORZoom::zmWidth) + 1 : zor::Round(ZoomScales[size_t(z)] * 100);
}

QColor Colour(TColor c)
{
    return zor::ToQColor(c);
}

// The area being edited: one label of the sheet; a drawing is its page, whose set-up writes
// only the paper.
TZRChangeValue EditedArea(const TZORLabelVCL& label)
{
    const TZORMeasure& m = label.Measure();
    const bool drawing = label.GetEditorMode() != 0;
    return { m.GetSize(drawing ? TZORSizeKind::PaperWidth : TZORSizeKind::LabelWidth),
        m.GetSize(drawing ? TZORSizeKind::PaperHeight : TZORSizeKind::LabelHeight) };
}

// Calls press with the mouse button that went down on the watched widget.
class TPressFilter : public QObject {
public:
    TPressFilter(QObject* parent, std::function<void(Qt::MouseButton)> press)
        : QObject(parent)
        , fPress(std::move(press))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            fPress(static_cast<QMouseEvent*>(e)->button());
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void(Qt::MouseButton)> fPress;
};

} // namespace

// ============================== Surface ==============================

TZORBackEditor::TZORBackEditor(TZORBaseEditor& editor)
    : QWidget(&editor)
    , fEditor(editor)
    , fDrw(std::make_unique<TZORDraw>())
    , fPaint(std::make_unique<TZOREditorPaint>(*this))
{
    fInput = std::make_unique<TZOREditorInput>(editor, *this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Click-move-click tools follow the pointer with no button held.
    setMouseTracking(true);
    GetDPIs();
}

TZORBackEditor::~TZORBackEditor() = default;

void TZORBackEditor::GetDPIs()
{
    const int32_t o = fEditor.DPIOverride();
    G.DPIX = o > 0 ? o : std::max(1, logicalDpiX());
    G.DPIY = o > 0 ? o : std::max(1, logicalDpiY());
    TZORFactory::SetDPI(G.DPIX, G.DPIY);
}

bool TZORBackEditor::event(QEvent* e)
{
    // Tab selects the next element here instead of moving the focus.
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    // Moved to a screen of another resolution: the page is laid out again at the new one.
    if (e->type() == QEvent::ScreenChangeInternal) {
        GetDPIs();
        fEditor.PaperChanged({ G.D.PaperBaseW, G.D.PaperBaseH });
    }
    return QWidget::event(e);
}

void TZORBackEditor::Resize()
{
    if (width() <= 0 || height() <= 0)
        return;
    fState.Ready = false;
    fEditor.CheckDScroll();
    auto range = [](QScrollBar& bar, int32_t total, int32_t view) {
        const QSignalBlocker block(&bar);
        if (view < total) {
            bar.setRange(0, total - view);
            bar.setPageStep(view);
            bar.setEnabled(true);
        } else {
            bar.setRange(0, 0);
            bar.setEnabled(false);
        }
        return bar.value();
    };
    G.D.ViewW = width();
    G.D.ViewH = height();
    G.D.RangeX = std::max(0, G.D.TotalW - width());
    G.D.RangeY = std::max(0, G.D.TotalH - height());
    G.D.ScrollX = range(fEditor.HorzScroll(), G.D.TotalW, width());
    G.D.ScrollY = range(fEditor.VertScroll(), G.D.TotalH, height());
    SetGap();
    fState.Ready = true;
    DrawEditor();
}

void TZORBackEditor::SetGap()
{
    fState.Gap
        = zor::Round(fEditor.GetGap() * TZOREditorGeometry::MicrometresPerInch / (G.DPIX * double(G.ZScale)));
}

int64_t TZORBackEditor::GridX(int64_t v) const
{
    if (!(fEditor.GetSnap() & 2))
        return -1;
    return TZOREditorGeometry::GridRound(v, fEditor.fGrid->BaseIncX());
}

int64_t TZORBackEditor::GridY(int64_t v) const
{
    if (!(fEditor.GetSnap() & 2))
        return -1;
    return TZOREditorGeometry::GridRound(v, fEditor.fGrid->BaseIncY());
}

void TZORBackEditor::DrawEditor()
{
    fPaint->InvalidateElements();
    if (!fState.Ready)
        return;
    Render();
    update();
}

void TZORBackEditor::DrawOverlay()
{
    if (!fState.Ready)
        return;
    fOverlayDue = true;
    update();
}

const QImage& TZORBackEditor::BackImage()
{
    if (fOverlayDue)
        Render();
    return fImage;
}

int TZORBackEditor::ElementRenderCount() const
{
    return fPaint->ElementRenderCount();
}

void TZORBackEditor::Render()
{
    fOverlayDue = false;
    ++fRenderCount;
    fPaint->Render(fImage);
}

void TZORBackEditor::paintEvent(QPaintEvent*)
{
    if (fOverlayDue && fState.Ready)
        Render();
    QPainter painter(this);
    if (fImage.isNull()) {
        painter.fillRect(rect(), Colour(fEditor.GetMarginColor()));
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, fImage);
}

void TZORBackEditor::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!fEditor.fIni)
        Resize();
}

std::array<TZORBackEditor::TBarPosition, 2> TZORBackEditor::CentreOn(const TZORBaseItem& item) const
{
    const TZORRect b = item.GetBounds().Normalized();
    const int64_t cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
    return { { { &fEditor.HorzScroll(),
                   int(G.BaseToScreenX(cx) * G.ZScale) + G.D.MarginL + G.D.RulerL - width() / 2 },
        { &fEditor.VertScroll(),
            int(G.BaseToScreenY(cy) * G.ZScale) + G.D.MarginT + G.D.RulerT - height() / 2 } } };
}

void TZORBackEditor::EnsureItemVisible(const TZORBaseItem& item)
{
    if (!fState.Ready)
        return;
    const TZORRect b = item.GetBounds().Normalized();
    if (rect().contains(G.ScreenMMX((b.Left + b.Right) / 2), G.ScreenMMY((b.Top + b.Bottom) / 2)))
        return;
    for (const TBarPosition& p : CentreOn(item))
        if (p.bar->isEnabled())
            p.bar->setValue(std::clamp(p.value, 0, p.bar->maximum()));
}

void TZORBackEditor::ScrollItem(const TZORBaseItem& item)
{
    if (!fState.Ready)
        return;
    for (const TBarPosition& p : CentreOn(item)) {
        const int v = std::max(0, p.value) / 2;
        if (p.bar->isEnabled() && v >= p.bar->minimum() && v <= p.bar->maximum())
            p.bar->setValue(v);
    }
}

void TZORBackEditor::mousePressEvent(QMouseEvent* e)
{
    fInput->MouseDown(*e);
}

void TZORBackEditor::mouseMoveEvent(QMouseEvent* e)
{
    fInput->MouseMove(*e);
}

void TZORBackEditor::mouseReleaseEvent(QMouseEvent* e)
{
    fInput->MouseUp(*e);
}

void TZORBackEditor::mouseDoubleClickEvent(QMouseEvent* e)
{
    fInput->DoubleClick(*e);
}

void TZORBackEditor::keyPressEvent(QKeyEvent* e)
{
    fInput->KeyDown(*e);
    if (!e->isAccepted())
        QWidget::keyPressEvent(e);
}

void TZORBackEditor::wheelEvent(QWheelEvent* e)
{
    if (!(fEditor.GetOptions() & eoWheel)) {
        e->ignore();
        return;
    }
    e->accept();
    const Qt::KeyboardModifiers keys
        = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
    if (keys == Qt::ControlModifier) {
        fEditor.ZoomAbout(delta >= 1, e->position().toPoint());
        return;
    }
    QScrollBar& bar = keys == Qt::ShiftModifier ? fEditor.HorzScroll() : fEditor.VertScroll();
    if (!bar.isEnabled())
        return;
    const int step = 10 * QApplication::wheelScrollLines();
    bar.setValue(bar.value() + (delta <= 0 ? step : -step));
}

// ============================== Editor ==============================

TZORBaseEditor::TZORBaseEditor(QWidget* parent)
    : QFrame(parent)
    , fRulers(std::make_unique<TZORRulers>(this))
    , fGrid(std::make_unique<TZORGrid>(this))
    , fSelColors(std::make_unique<TZORSelColors>(this))
{
    zor::InstallLabelDialogs();
    TAct::Reset();
    setFrameShape(QFrame::NoFrame);
    fHorzScroll = new QScrollBar(Qt::Horizontal, this);
    fVertScroll = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : { fHorzScroll, fVertScroll }) {
        bar->setSingleStep(10);
        connect(bar, &QScrollBar::valueChanged, this, &TZORBaseEditor::ChangeScroll);
    }
    fBackEdit = new TZORBackEditor(*this);

    fEbZoom = new QToolButton(this);
    fPopZoom = new QMenu(fEbZoom);
    auto* group = new QActionGroup(fPopZoom);
    auto addZoom = [&](const QString& caption, int tag) {
        QAction* a = fPopZoom->addAction(caption);
        a->setData(tag);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, tag] {
            for (int z = 0; z <= int(TZORZoom::zmFitAll); ++z)
                if (ZoomTag(TZORZoom(z)) == tag)
                    SetZoom(TZORZoom(z));
        });
    };
    for (float s : ZoomScales)
        addZoom(QStringLiteral("%1 %").arg(zor::Round(s * 100)), int(zor::Round(s * 100)));
    fPopZoom->addSeparator();
    addZoom(TZORMsg::GetPropValue(QStringLiteral("Width")), 1);
    addZoom(TZORMsg::GetPropValue(QStringLiteral("Height")), 2);
    addZoom(TZORMsg::GetDialogsValue(QStringLiteral("Fit")), 3);
    connect(fPopZoom, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : fPopZoom->actions())
            if (!a->isSeparator())
                a->setChecked(a->data().toInt() == ZoomTag(fZoom));
    });
    fEbZoom->setMenu(fPopZoom);
    // The button is its menu of steps: a press anywhere on it opens the menu.
    fEbZoom->setPopupMode(QToolButton::InstantPopup);

    fEbUnits = new QToolButton(this);
    connect(fEbUnits, &QToolButton::clicked, this, &TZORBaseEditor::ClickUnits);
    fEbSettings = new QToolButton(this);
    fEbSettings->setText(QStringLiteral("\u2699"));
    connect(fEbSettings, &QToolButton::clicked, this, &TZORBaseEditor::EditSettings);
    fEbRotate = new QToolButton(this);
    fEbRotate->setText(QStringLiteral("\u21BB"));
    fEbRotate->installEventFilter(new TPressFilter(fEbRotate, [this](Qt::MouseButton button) {
        if (!fBaseLab)
            return;
        if (button == Qt::LeftButton)
            fBaseLab->RotateSelectionLeft();
        else if (button == Qt::RightButton)
            fBaseLab->RotateSelectionRight();
    }));
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(7);
    for (QToolButton* b : { fEbZoom, fEbUnits, fEbSettings, fEbRotate }) {
        b->setFont(small);
        b->setFocusPolicy(Qt::NoFocus);
    }
    fInfoEdOrto = new TZORInfoEd(this, TZORTypeInfo::Orto);
    fInfoEdSnap = new TZORInfoEd(this, TZORTypeInfo::SnapToGrid);
    fText = new TZOREditorText(*this);

    DrawLinkPointColor();
    fIni = false;
    ShowZoom();
    ShowUnits();
    AdjustCtrls();
}

TZORBaseEditor::~TZORBaseEditor()
{
    // The surface outlives this body (QWidget deletes it later): its last events must not reach
    // the text editing, which would call back into an editor half destroyed.
    fBackEdit->removeEventFilter(fText);
    fBackEdit->State().Ready = false;
    if (fBaseLab)
        fBaseLab->Detach(this);
}

// --- The label ---

void TZORBaseEditor::SetLabel(TZORLabelVCL* label)
{
    // An editor shows one label: it leaves the one before.
    if (!zor::Observe(*this, *this, fBaseLab, label, fLabelGone, [this] { LabelGone(); }))
        return;
    if (label) {
        fBackColor = AlphaColorToColor(label->GetBackSurf());
        PaperChanged(EditedArea(*label));
    } else {
        fBackEdit->DrawEditor();
    }
    ShowUnits();
    ShowZoom();
}

void TZORBaseEditor::LabelGone()
{
    fBaseLab = nullptr;
    fBackEdit->DrawEditor();
}

int32_t TZORBaseEditor::DrawScale() const
{
    return fBaseLab ? std::max(1, fBaseLab->Measure().GetDrawScale()) : 1;
}

TZORUnits TZORBaseEditor::Units() const
{
    return fBaseLab ? fBaseLab->GetUnits() : TZORUnits::Millimetre;
}

void TZORBaseEditor::PaperChanged(const TZRChangeValue& value)
{
    TZOREditorGeometry& G = fBackEdit->G;
    const int64_t scale = DrawScale();
    G.D.PaperBaseW = value.v1;
    G.D.PaperBaseH = value.v2;
    G.D.PaperScaledW = value.v1 * scale;
    G.D.PaperScaledH = value.v2 * scale;
    G.D.PaperW = int32_t(zor::Round(double(value.v1) * G.DPIX / TZOREditorGeometry::MicrometresPerInch));
    G.D.PaperH = int32_t(zor::Round(double(value.v2) * G.DPIY / TZOREditorGeometry::MicrometresPerInch));
    G.D.PaperMMW = value.v1 / 1000.0;
    G.D.PaperMMH = value.v2 / 1000.0;
    fBackEdit->Resize();
}

void TZORBaseEditor::UpdateCtrl(TZRChange change, const TZRChangeValue& value)
{
    if (!fBaseLab)
        return;
    switch (change) {
    case TZRChange::Settings:
        fBackColor = AlphaColorToColor(fBaseLab->GetBackSurf());
        PaperChanged(EditedArea(*fBaseLab));
        break;
    case TZRChange::PaperColor:
        fBackColor = AlphaColorToColor(fBaseLab->GetBackSurf());
        DrawEditor();
        break;
    // The change names the paper; the editor shows the area being edited.
    case TZRChange::PaperSize:
        PaperChanged(EditedArea(*fBaseLab));
        break;
    // A redraw of the selection alone redraws only the elements whose state changed.
    case TZRChange::Redraw:
        if (value.flag)
            fBackEdit->DrawOverlay();
        else
            DrawEditor();
        break;
    case TZRChange::SelectionGeometry:
        DrawEditor();
        break;
    case TZRChange::RedrawTool:
        DrawEditor();
        ApplyToolStep(zor::ToolStep(fBaseLab->GetAction(), fBaseLab->GetState()));
        break;
    case TZRChange::Selection:
        fBackEdit->DrawOverlay();
        break;
    case TZRChange::Units:
        UpdateRulers(false);
        ShowUnits();
        break;
    case TZRChange::Update:
        if (value.v1 == 0)
            BeginUpdate();
        else
            EndUpdate();
        break;
    case TZRChange::Action:
        ApplyToolStep(zor::ActionStep(fBaseLab->GetAction(), fBaseLab->GetState()));
        break;
    case TZRChange::Tool:
        ApplyToolStep(zor::ToolStep(fBaseLab->GetAction(), fBaseLab->GetState()));
        emit ToolChanged(fBaseLab->GetAction());
        break;
    case TZRChange::ScrollToSelection:
        if (TZORBaseItem* item = fBaseLab->Select())
            fBackEdit->ScrollItem(*item);
        DrawEditor();
        break;
    case TZRChange::EndText:
        fBackEdit->State().Inserting = false;
        fText->Ended();
        DrawEditor();
        break;
    case TZRChange::StartText:
    case TZRChange::RefreshText:
        if (change == TZRChange::StartText)
            FillEditText();
        else if (fBaseLab->GetTextObject())
            fText->Refreshed();
        DrawEditor();
        break;
    case TZRChange::ChooseSymbol:
        if (SelectSymbol())
            ApplyToolStep({ 10, zor::TZOREdition::Start, zor::TZORToolEffect::None });
        break;
    default:
        break;
    }
}

// --- Settings ---

void TZORBaseEditor::SetGap(int g)
{
    g = std::clamp(g, 0, 30);
    if (g == fGap)
        return;
    fGap = g;
    fBackEdit->SetGap();
}

void TZORBaseEditor::SetSizeRef(int s)
{
    fSizeRef = std::clamp(s, 2, 24);
}

void TZORBaseEditor::SetSizePoint(int s)
{
    fSizePoint = std::clamp(s, 1, 24);
}

void TZORBaseEditor::SetMargin(int m)
{
    m = std::clamp(m, 0, 100);
    if (m == fMargin)
        return;
    fMargin = m;
    fBackEdit->Resize();
}

// Only the moves and picks read it; the picture does not change.
void TZORBaseEditor::SetShowRefLines(bool s)
{
    fShowRefLines = s;
}

void TZORBaseEditor::SetMarginColor(TColor c)
{
    if (c == fMarginColor)
        return;
    fMarginColor = c;
    DrawEditor();
}

void TZORBaseEditor::SetZoom(TZORZoom z)
{
    if (z == fZoom || int(z) > int(TZORZoom::zmFitAll))
        return;
    fZoom = z;
    if (!IsFitted(z))
        fBackEdit->G.ZScale = ZoomScales[size_t(z)];
    fBackEdit->Resize();
    ShowZoom();
}

void TZOREditor::SetZoomValue(int z)
{
    if (z >= 0 && z <= int(TZORZoom::zmFitAll))
        SetZoom(TZORZoom(z));
}

void TZORBaseEditor::IncZoom()
{
    // From a fitted step the next is the next fitted one; the fit of both is the last.
    if (fZoom != TZORZoom::zm500 && fZoom != TZORZoom::zmFitAll)
        SetZoom(TZORZoom(int(fZoom) + 1));
}

void TZORBaseEditor::DecZoom()
{
    if (fZoom != TZORZoom::zm25)
        SetZoom(TZORZoom(int(fZoom) - 1));
}

void TZORBaseEditor::ZoomAbout(bool in, QPoint pos)
{
    TZOREditorGeometry& G = fBackEdit->G;
    const int64_t bx = G.BaseMMX(pos.x()), by = G.BaseMMY(pos.y());
    if (in)
        IncZoom();
    else
        DecZoom();
    // The paper point under the pointer stays under it, as far as the scroll ranges allow.
    fHorzScroll->setValue(fHorzScroll->value() + G.ScreenMMX(bx) - pos.x());
    fVertScroll->setValue(fVertScroll->value() + G.ScreenMMY(by) - pos.y());
}

void TZORBaseEditor::ShowZoom()
{
    fEbZoom->setText(QStringLiteral("%1 %").arg(zor::Round(double(fBackEdit->G.ZScale) * 100)));
}

void TZORBaseEditor::SetLabelPos(TZORLabelPos p)
{
    if (p == fLabelPos)
        return;
    fLabelPos = p;
    fBackEdit->Resize();
}

void TZORBaseEditor::SetOptions(uint16_t o)
{
    if (o == fOptions)
        return;
    fOptions = o;
    AdjustCtrls();
    DrawEditor();
}

void TZORBaseEditor::SetSnap(uint16_t s)
{
    if (s == fSnap)
        return;
    fSnap = s;
    fInfoEdSnap->SetState(s & 2 ? TZORStateInfo::On : TZORStateInfo::Off);
}

void TZORBaseEditor::SetOrtoLines(bool o)
{
    if (o == fOrtoLines)
        return;
    fOrtoLines = o;
    fInfoEdOrto->SetState(o ? TZORStateInfo::On : TZORStateInfo::Off);
}

void TZORBaseEditor::SetBorder(bool b)
{
    setFrameShape(b ? QFrame::Box : QFrame::NoFrame);
    AdjustCtrls();
}

void TZORBaseEditor::SetDPIOverride(int32_t dpi)
{
    fDPIOverride = std::max(0, dpi);
    fBackEdit->GetDPIs();
    PaperChanged({ fBackEdit->G.D.PaperBaseW, fBackEdit->G.D.PaperBaseH });
}

double TZORBaseEditor::ReadMove(int32_t& step)
{
    if (!fBaseLab)
        return 0.0;
    const int64_t d = DrawScale();
    step = int32_t(std::clamp<int64_t>(step, 100, std::max<int64_t>(100, 1000000 / d)));
    return zor::GetValue(step * d, Units());
}

void TZORBaseEditor::WriteMove(int32_t& step, double v)
{
    if (!fBaseLab)
        return;
    const int64_t d = DrawScale();
    step = int32_t(
        std::clamp<int64_t>(zor::SetValue(v, Units()) / d, 100, std::max<int64_t>(100, 1000000 / d)));
}

double TZORBaseEditor::MinMoveValue() const
{
    return fBaseLab ? zor::GetValue(int64_t(DrawScale()) * 100, Units()) : 0.0;
}

double TZORBaseEditor::MaxMoveValue() const
{
    if (!fBaseLab)
        return 0.0;
    const int64_t d = DrawScale();
    return zor::GetValue(std::max<int64_t>(100, 1000000 / d) * d, Units());
}

// --- Layout ---

int TZORBaseEditor::ScrollMetric() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void TZORBaseEditor::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    if (!fIni)
        AdjustCtrls();
}

void TZORBaseEditor::AdjustCtrls()
{
    if (fIni)
        return;
    const QRect c = contentsRect();
    const int s = ScrollMetric();
    const double k = fBackEdit->G.DPIX / 96.0;
    auto px = [k](int v) { return int(zor::Round(v * k)); };
    const bool zoom = fOptions & eoZoomButton, units = fOptions & eoUnitsButton;
    fEbZoom->setVisible(zoom);
    fEbUnits->setVisible(units);
    const int hTop = c.bottom() + 1 - 4 - s;
    int left = (zoom ? px(2) + px(60) : 0) + (units ? px(2) + px(40) : 0) + (zoom && units ? px(2) : 0);
    fInfoEdOrto->setVisible(fOptions & eoOrtoIndicator);
    if (fOptions & eoOrtoIndicator) {
        fInfoEdOrto->setGeometry(c.left() + left + px(2), hTop, s, s);
        fInfoEdOrto->SetState(fOrtoLines ? TZORStateInfo::On : TZORStateInfo::Off);
        left += px(2) + s;
    }
    left += px(4);
    const int vLeft = c.right() + 1 - 4 - s;
    fHorzScroll->setGeometry(c.left() + left, hTop, std::max(0, vLeft - 4 - c.left() - left), s);
    fEbZoom->setGeometry(c.left() + px(2), hTop - 2, px(60), s + 4);
    fEbUnits->setGeometry(c.left() + px(2) + (zoom ? px(60) + px(2) : 0), hTop - 2, px(40), s + 4);

    const bool settings = fOptions & eoSettingsButton, rotate = fOptions & eoRotateButton;
    fEbSettings->setVisible(settings);
    fEbRotate->setVisible(rotate);
    fEbSettings->setGeometry(vLeft - 2, c.top() + px(2), s + 4, px(24));
    fEbRotate->setGeometry(vLeft - 2, c.top() + (settings ? px(2) + px(24) + px(2) : px(2)), s + 4, px(24));
    const int vTop = c.top() + 2 + (settings ? px(24) + 2 : 0) + (rotate ? px(24) + 2 : 0);
    fVertScroll->setGeometry(vLeft, vTop, s, std::max(0, hTop - 4 - vTop));
    fInfoEdSnap->setVisible(fOptions & eoSnapIndicator);
    if (fOptions & eoSnapIndicator) {
        fInfoEdSnap->setGeometry(vLeft, hTop, s, s);
        fInfoEdSnap->SetState(fSnap & 2 ? TZORStateInfo::On : TZORStateInfo::Off);
    }
    const QRect surface(QPoint(c.left() + 2, c.top() + 2), QPoint(vLeft - 4 - 2 - 1, hTop - 4 - 2 - 1));
    if (surface.isValid() && surface != fBackEdit->geometry())
        fBackEdit->setGeometry(surface);
    else
        fBackEdit->Resize();
}

void TZORBaseEditor::CustomZoom()
{
    if (!IsFitted(fZoom))
        return;
    TZOREditorGeometry& G = fBackEdit->G;
    const int32_t dpi = G.DPIX;
    auto ruler = [&](uint8_t side) {
        return fRulers->GetVisible() & side ? int(zor::Round(fRulers->GetSize() * dpi / 96.0)) : 0;
    };
    // The paper fills the surface less the margins and the rulers; never a zoom of 0 or below.
    const double w
        = double(fBackEdit->width() - 2 * fMargin - ruler(rvLeft) - ruler(rvRight)) / std::max(1, G.D.PaperW);
    const double h = double(fBackEdit->height() - 2 * fMargin - ruler(rvTop) - ruler(rvBottom))
        / std::max(1, G.D.PaperH);
    const double z = fZoom == TZORZoom::zmWidth ? w : fZoom == TZORZoom::zmHeight ? h : std::min(w, h);
    G.ZScale = std::max(TZOREditorGeometry::MinZoom, float(z));
    ShowZoom();
}

void TZORBaseEditor::CheckDScroll()
{
    TZOREditorGeometry& G = fBackEdit->G;
    G.Scale = DrawScale();
    G.Units = Units();
    CustomZoom();
    TZORDimScroll& D = G.D;
    D.RulerMM = G.CoordX(fRulers->GetSize() - 1) / G.ZScale;
    D.ZoomW = int32_t(zor::Round(D.PaperW * double(G.ZScale)));
    D.ZoomH = int32_t(zor::Round(D.PaperH * double(G.ZScale)));
    const uint8_t visible = fRulers->GetVisible();
    auto ruler = [&](uint8_t side, int32_t dpi) {
        return visible & side ? int32_t(zor::Round(fRulers->GetSize() * dpi / 96.0)) : 0;
    };
    D.RulerL = ruler(rvLeft, G.DPIX);
    D.RulerR = ruler(rvRight, G.DPIX);
    D.RulerT = ruler(rvTop, G.DPIY);
    D.RulerB = ruler(rvBottom, G.DPIY);
    auto place = [&](int32_t content, int32_t view, int32_t& nearM, int32_t& farM) {
        if (fLabelPos == TZORLabelPos::Center && content + 2 * fMargin < view) {
            nearM = (view - content) / 2;
            farM = view - content - nearM;
        } else {
            nearM = fMargin;
            farM = fLabelPos == TZORLabelPos::TopLeft && content + 2 * fMargin < view
                ? view - content - fMargin
                : fMargin;
        }
        return content + nearM + farM;
    };
    D.TotalW = place(D.ZoomW + D.RulerL + D.RulerR, fBackEdit->width(), D.MarginL, D.MarginR);
    D.TotalH = place(D.ZoomH + D.RulerT + D.RulerB, fBackEdit->height(), D.MarginT, D.MarginB);
}

void TZORBaseEditor::ChangeScroll()
{
    TZORDimScroll& D = fBackEdit->G.D;
    if (!fBackEdit->State().Ready)
        return;
    const int32_t x = std::min(fHorzScroll->value(), D.RangeX);
    const int32_t y = std::min(fVertScroll->value(), D.RangeY);
    // The points held in surface pixels move with the page.
    const QPoint shift(D.ScrollX - x, D.ScrollY - y);
    fBackEdit->State().Press += shift;
    fBackEdit->State().Pointer += shift;
    D.ScrollX = x;
    D.ScrollY = y;
    // The elements stay as they were: the paint pass moves them and draws what comes into view.
    fBackEdit->DrawOverlay();
}

// --- Units ---

void TZORBaseEditor::ShowUnits()
{
    fEbUnits->setText(QString::fromLatin1(UnitSymbols[std::min<size_t>(zor::Ord(Units()), 6)]));
}

void TZORBaseEditor::ClickUnits()
{
    if (!fBaseLab)
        return;
    using U = TZORUnits;
    const U u = fBaseLab->GetUnits();
    U next = u;
    if (fBaseLab->GetEditorMode() <= 1) {
        // A sheet of labels offers the three small units; others stay as they are.
        if (u == U::Millimetre)
            next = U::Inch;
        else if (u == U::Inch)
            next = U::Centimetre;
        else if (u == U::Centimetre)
            next = U::Millimetre;
    } else {
        next = u == U::Yard ? U::Millimetre : U(zor::Ord(u) + 1);
    }
    if (next != u)
        fBaseLab->SetUnits(next);
    ShowUnits();
}

// --- Commands ---

void TZORBaseEditor::AlignSelected(int side)
{
    if (!fBaseLab || fBaseLab->GetSelectionCount() == 0)
        return;
    const TZORRect b = fBaseLab->SelectionBounds().Normalized();
    const int64_t edge = side == 1 ? b.Left : side == 2 ? b.Right : side == 3 ? b.Top : b.Bottom;
    // The guides and the bounds are both base units; the move goes in the label's unit.
    const int64_t d = (side <= 2 ? fRulers->fAlignLeft : fRulers->fAlignTop) - edge;
    if (d == 0)
        return;
    const float v = float(zor::GetValue(d, Units()));
    fBaseLab->MoveSelection(side <= 2 ? v : 0.0f, side <= 2 ? 0.0f : v, fShowRefLines, true);
    DrawEditor();
}

void TZORBaseEditor::ScrollToItem(TZORBaseItem* item)
{
    if (item)
        fBackEdit->EnsureItemVisible(*item);
}

void TZORBaseEditor::Assign(const TZORBaseEditor& source)
{
    if (&source == this)
        return;
    SetLabel(source.fBaseLab);
    fRulers->Assign(*source.fRulers);
    fGrid->Assign(*source.fGrid);
    fBackColor = source.fBackColor;
    SetMarginColor(source.fMarginColor);
    SetLabelPos(source.fLabelPos);
    SetSnap(source.fSnap);
    SetGap(source.fGap);
    SetSizeRef(source.fSizeRef);
    SetZoom(source.fZoom);
    SetOptions(source.fOptions);
    fMouseFilter = source.fMouseFilter;
    fShowRefLines = source.fShowRefLines;
    AdjustCtrls();
    DrawEditor();
}

float TZORBaseEditor::SizeSelection(int16_t kind) const
{
    return fBaseLab ? fBaseLab->SizeSelection(kind) : -1.0f;
}

TZOREditorSettings TZORBaseEditor::CurrentSettings()
{
    TZOREditorSettings s;
    const uint8_t v = fRulers->GetVisible();
    s.rulerLeft = v & rvLeft;
    s.rulerTop = v & rvTop;
    s.rulerRight = v & rvRight;
    s.rulerBottom = v & rvBottom;
    s.showSize = fRulers->GetShowSize();
    s.sizeColor = fRulers->GetSizeColor();
    s.showAlign = fRulers->GetShowAlign();
    s.ortoLines = fOrtoLines;
    s.gap = fGap;
    s.snap = fSnap;
    s.showRefLines = fShowRefLines;
    s.moveX = GetMoveX();
    s.moveY = GetMoveY();
    s.minMove = MinMoveValue();
    s.maxMove = MaxMoveValue();
    s.gridStyle = int(fGrid->GetStyle());
    s.incX = fGrid->GetIncX();
    s.incY = fGrid->GetIncY();
    s.minInc = fGrid->MinInc();
    s.maxInc = fGrid->MaxInc();
    s.stepColor = fGrid->GetStepColor();
    s.unitsColor = fGrid->GetUnitsColor();
    s.refLine = fSelColors->fRefLine;
    s.align = fSelColors->fAlign;
    s.alignText = fSelColors->fAlignText;
    return s;
}

void TZORBaseEditor::ApplySettings(const TZOREditorSettings& s)
{
    fRulers->SetVisible(uint8_t((s.rulerRight ? rvRight : 0) | (s.rulerLeft ? rvLeft : 0)
        | (s.rulerTop ? rvTop : 0) | (s.rulerBottom ? rvBottom : 0)));
    fRulers->SetShowSize(s.showSize);
    fRulers->SetSizeColor(s.sizeColor);
    fShowRefLines = s.showRefLines;
    fSelColors->fRefLine = s.refLine;
    fRulers->SetShowAlign(s.showAlign);
    fSelColors->fAlign = s.align;
    fSelColors->fAlignText = s.alignText;
    SetOrtoLines(s.ortoLines);
    SetGap(s.gap);
    SetSnap(uint16_t(s.snap & 0x1FF));
    SetMoveX(s.moveX);
    SetMoveY(s.moveY);
    fGrid->SetStepColor(s.stepColor);
    fGrid->SetUnitsColor(s.unitsColor);
    fGrid->SetIncX(s.incX);
    fGrid->SetIncY(s.incY);
    fGrid->SetStyle(TZORGridDraw(std::clamp(s.gridStyle, 0, 2)));
}

void TZORBaseEditor::EditSettings()
{
    if (!fBaseLab)
        return;
    TfSettings dialog(this);
    dialog.Ini(*fBaseLab, CurrentSettings());
    if (zor::DialogService().Exec(dialog) != QDialog::Accepted || !fBaseLab)
        return;
    BeginUpdate();
    ApplySettings(dialog.GetValues());
    dialog.WriteLabelSettings(*fBaseLab);
    EndUpdate();
}

// --- Painting ---

void TZORBaseEditor::BeginUpdate()
{
    fBackEdit->State().Ready = false;
}

void TZORBaseEditor::EndUpdate()
{
    fBackEdit->State().Ready = true;
    fBackEdit->DrawEditor();
}

void TZORBaseEditor::DrawEditor()
{
    fBackEdit->DrawEditor();
}

void TZORBaseEditor::UpdateRulers(bool full)
{
    if (full)
        fBackEdit->Resize();
    else
        fBackEdit->DrawOverlay();
}

void TZORBaseEditor::DrawLinkPointColor()
{
    fBackEdit->Draw().aLinkPoint = ColorToAlphaColor(fSelColors->GetLinkPoint());
}
