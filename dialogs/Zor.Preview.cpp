#include "Zor.Preview.h"

#include "Zor.LabelDialogs.h"
#include "Zor.Utils.h"
#include "drawing/Zor.BackingImage.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.Vcl.Types.h"
#include "label/Zor.Vcl.Observe.h"
#include "label/Zor.Vcl.SheetPainter.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using zor::TBrushStyle;
using zor::TCanvas;
using zor::TColor;
using zor::TSkCanvas;

namespace {

constexpr double MicrometresPerInch = 25400.0;
// The largest page side laid out, pixels: far beyond any screen, and small enough that the
// content and the scroll range stay within int.
constexpr double MaxPageSide = 1 << 24;
// A system colour: the face of buttons, where the control shows nothing.
constexpr TColor ButtonFace { 0xFF00000F };

// A length in pixels, rounded half to even, or -1 when it cannot be shown (not finite, or beyond
// the largest page).
int32_t PagePixels(double v)
{
    if (!std::isfinite(v) || v > MaxPageSide)
        return -1;
    return int32_t(zor::Round(v));
}

// The label's current sheet of its run (1 for a run never prepared).
int64_t CurrentSheet(const TZORLabelVCL& label)
{
    const TZORPrintRun& run = label.PrintRun();
    return run.sheetCount > 0 ? std::clamp<int64_t>(run.sheetCounter, 1, run.sheetCount) : 1;
}

} // namespace

namespace zor {

TPreviewLayout PreviewLayout(
    double paperWidth, double paperHeight, QSize client, int32_t margin, TZORViewType viewType)
{
    const double W = client.width() - 2.0 * margin;
    const double H = client.height() - 2.0 * margin;
    // A paper of no size, or a window with no room inside its margins, shows no page.
    if (!(paperWidth > 0.0) || !(paperHeight > 0.0) || W < 1.0 || H < 1.0)
        return {};
    TPreviewLayout l;
    if (viewType == TZORViewType::WholePage) {
        l.pageHeight = PagePixels(W / paperWidth * paperHeight);
        l.pageWidth = int32_t(W);
        if (l.pageHeight < 0 || l.pageHeight > H) {
            l.pageHeight = int32_t(H);
            l.pageWidth = PagePixels(H / paperHeight * paperWidth);
        }
        l.contentWidth = client.width();
        l.contentHeight = client.height();
        l.left = (client.width() - l.pageWidth) / 2;
        l.top = (client.height() - l.pageHeight) / 2;
    } else {
        l.pageWidth = int32_t(W);
        l.pageHeight = PagePixels(W / paperWidth * paperHeight);
        if (l.pageHeight < 0)
            return {};
        l.contentWidth = client.width();
        l.contentHeight = l.pageHeight + 2 * margin;
        l.left = (client.width() - l.pageWidth) / 2;
        l.top = client.height() <= l.contentHeight ? margin : (client.height() - l.pageHeight) / 2;
    }
    if (l.pageWidth < 1 || l.pageHeight < 1)
        return {};
    l.zoom = l.pageWidth / paperWidth;
    return l;
}

} // namespace zor

TZORBasePreview::TZORBasePreview(QWidget* parent)
    : QAbstractScrollArea(parent)
    , fDrw(std::make_unique<TZORDraw>())
    , fColor(ButtonFace)
{
    zor::InstallLabelDialogs();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        fDPIX = int32_t(std::lround(screen->logicalDotsPerInchX()));
        fDPIY = int32_t(std::lround(screen->logicalDotsPerInchY()));
    }
    // The image is the whole picture: nothing needs erasing under it.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
}

TZORBasePreview::~TZORBasePreview()
{
    if (fBaseLab)
        fBaseLab->Detach(this);
}

void TZORBasePreview::SetLabel(TZORLabelVCL* label)
{
    // A preview shows one label: it leaves the one before.
    if (zor::Observe(*this, *this, fBaseLab, label, fLabelGone, [this] { UpdatePreview(); }))
        UpdatePreview();
}

void TZORBasePreview::SetViewType(TZORViewType viewType)
{
    if (viewType == fViewType)
        return;
    fViewType = viewType;
    fReady = false;
    AdjustSizes();
    fReady = true;
    UpdateScrollBars();
}

void TZORBasePreview::SetBackColor(TColor c)
{
    if (c == fBackColor)
        return;
    fBackColor = c;
    Draw();
}

void TZORBasePreview::SetColor(TColor c)
{
    if (c == fColor)
        return;
    fColor = c;
    Draw();
}

void TZORBasePreview::SetMargin(int32_t m)
{
    m = std::max(m, 0);
    if (m == fMargin)
        return;
    fMargin = m;
    UpdatePreview();
}

void TZORBasePreview::SetScrollBars(TZORScrollStyle s)
{
    if (s == fScrollBars)
        return;
    fScrollBars = s;
    UpdateScrollBars();
}

void TZORBasePreview::SetBorder(bool b)
{
    setFrameShape(b ? QFrame::StyledPanel : QFrame::NoFrame);
}

double TZORBasePreview::PixelsPerUnit(int32_t dpi) const
{
    const TZORUnits units = fBaseLab ? fBaseLab->GetUnits() : TZORUnits::Millimetre;
    return dpi * fLayout.zoom * double(zor::UnitMicrometres(units)) / MicrometresPerInch;
}

double TZORBasePreview::FX() const
{
    return PixelsPerUnit(fDPIX);
}

double TZORBasePreview::FY() const
{
    return PixelsPerUnit(fDPIY);
}

int32_t TZORBasePreview::HorzScrollPos() const
{
    return horizontalScrollBar()->value();
}

int32_t TZORBasePreview::VertScrollPos() const
{
    return verticalScrollBar()->value();
}

int32_t TZORBasePreview::DMX() const
{
    return fLayout.left - HorzScrollPos();
}

int32_t TZORBasePreview::DMY() const
{
    return fLayout.top - VertScrollPos();
}

QSize TZORBasePreview::Client() const
{
    return viewport()->size();
}

void TZORBasePreview::UpdateCtrl(TZRChange change, const TZRChangeValue&)
{
    switch (change) {
    case TZRChange::PaperSize:
        Resize();
        break;
    // Settings, the paper colour and the elements change the page as well as the run's
    // brackets and the tool do.
    case TZRChange::Settings:
    case TZRChange::PaperColor:
    case TZRChange::Redraw:
    case TZRChange::Update:
    case TZRChange::Action:
        UpdatePreview();
        break;
    default:
        break;
    }
}

void TZORBasePreview::UpdatePreview()
{
    fReady = false;
    AdjustSizes();
    fReady = true;
    UpdateScrollBars();
}

void TZORBasePreview::AdjustSizes()
{
    const QSize client = Client();
    if (client.isEmpty())
        return;
    fReady = false;
    if (!zor::IsBackingImage(fBackSurf, client, viewport()->devicePixelRatioF()))
        fBackSurf = zor::BackingImage(client, viewport()->devicePixelRatioF());
    fLayout = LayoutFor(client);
}

zor::TPreviewLayout TZORBasePreview::LayoutFor(QSize client) const
{
    if (!fBaseLab)
        return {};
    const TZORMeasure& m = fBaseLab->Measure();
    return zor::PreviewLayout(double(m.GetSize(TZORSizeKind::PaperWidth)) * fDPIX / MicrometresPerInch,
        double(m.GetSize(TZORSizeKind::PaperHeight)) * fDPIY / MicrometresPerInch, client, fMargin,
        fViewType);
}
void TZORBasePreview::UpdateScrollBars()
{
    // Whether a bar shows is decided for the window without bars, so that showing one, which
    // narrows the page, never takes back the reason it was shown.
    const QSize full = maximumViewportSize();
    const zor::TPreviewLayout unbarred = LayoutFor(full);
    const bool horz = (fScrollBars == TZORScrollStyle::Horizontal || fScrollBars == TZORScrollStyle::Both)
        && unbarred.contentWidth > full.width();
    const bool vert = (fScrollBars == TZORScrollStyle::Vertical || fScrollBars == TZORScrollStyle::Both)
        && unbarred.contentHeight > full.height();
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize client = Client();
    const QSignalBlocker hb(horizontalScrollBar());
    const QSignalBlocker vb(verticalScrollBar());
    horizontalScrollBar()->setRange(0, horz ? std::max(fLayout.contentWidth - client.width(), 0) : 0);
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setRange(0, vert ? std::max(fLayout.contentHeight - client.height(), 0) : 0);
    verticalScrollBar()->setPageStep(client.height());
    Draw();
}

void TZORBasePreview::Resize()
{
    if (Client().isEmpty())
        return;
    fReady = false;
    fBackSurf = zor::BackingImage(Client(), viewport()->devicePixelRatioF());
    AdjustSizes();
    fReady = true;
    UpdateScrollBars();
}

void TZORBasePreview::Draw()
{
    if (!fReady || fBackSurf.isNull())
        return;
    fReady = false;
    fBackSurf.fill(zor::ToQColor(fColor));
    if (fBaseLab && !fLayout.IsEmpty()) {
        try {
            DrawPage();
        } catch (...) {
            // The preview raises nothing (it draws from the event loop): a page that an element
            // cannot draw shows as far as it got.
        }
    }
    fReady = true;
    viewport()->update();
}

void TZORBasePreview::DrawPage()
{
    TZORLabelVCL& label = *fBaseLab;
    const int32_t scale = label.Measure().GetDrawScale();
    QPainter painter(&fBackSurf);
    // Elements bound to data show their record through their print pass; their screen pass shows
    // their own value. Its set-up clears the image, so it comes first.
    TZORPrintKit kit(painter);
    TZORDraw P;
    P.SetupPrint(kit, fDPIX, fDPIY, fBackSurf.width(), fBackSurf.height(), scale, label.GetUnits());
    painter.fillRect(fBackSurf.rect(), zor::ToQColor(fBackColor));
    const QRect paper(DMX(), DMY(), fLayout.pageWidth, fLayout.pageHeight);
    const uint32_t back = zor::Ord(label.GetBackSurf());
    painter.fillRect(paper, QColor::fromRgba(back));
    // What lies beyond the paper does not print.
    painter.setClipRect(paper);
    painter.translate(DMX(), DMY());
    painter.scale(fLayout.zoom, fLayout.zoom);
    TCanvas canvas(painter);
    canvas.Brush.Style = TBrushStyle::Clear;
    TZORDraw& D = *fDrw;
    D.SetupPreview(&canvas, std::make_shared<TSkCanvas>(painter), fDPIX, float(fLayout.zoom), scale);
    D.fPixUnitX = float(FX());
    D.fPixUnitY = float(FY());
    zor::TSheetPainter(label, zor::TSheetTarget::Preview, P, &D)
        .PaintSheet(CurrentSheet(label), fDPIX, fDPIY);
}

void TZORBasePreview::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Resize();
}

void TZORBasePreview::paintEvent(QPaintEvent*)
{
    if (!fReady)
        return;
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, fBackSurf);
}

void TZORBasePreview::wheelEvent(QWheelEvent* event)
{
    const Qt::KeyboardModifiers keys
        = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    event->accept();
    // Ctrl and the wheel mean zoom elsewhere; the preview's zoom is its view type.
    if (keys == Qt::ControlModifier)
        return;
    QScrollBar* bar = keys == Qt::ShiftModifier ? horizontalScrollBar() : verticalScrollBar();
    if (!bar->isVisible())
        return;
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const int step = 10 * QApplication::wheelScrollLines();
    bar->setValue(std::clamp(bar->value() + (delta > 0 ? -step : step), 0, bar->maximum()));
}

void TZORBasePreview::scrollContentsBy(int, int)
{
    Draw();
}
