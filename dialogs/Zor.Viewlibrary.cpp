#include "Zor.Viewlibrary.h"

#include "Zor.Error.h"
#include "Zor.Msg.h"
#include "drawing/Zor.BackingImage.h"
#include "drawing/Zor.Paint.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/composite/Zor.Vcl.Symbol.h"
#include "label/Zor.Vcl.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <limits>

using zor::ISkCanvas;
using zor::TAlphaColor;
using zor::TSkCanvas;

namespace {

constexpr double MicrometresPerInch = 25400.0;
// The room left round a symbol inside its cell.
constexpr double CellPadding = 5.0;

QColor ToColor(TAlphaColor c)
{
    return QColor::fromRgba(zor::Ord(c));
}

} // namespace

TZORViewLibrary::TZORViewLibrary(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ZORViewLibrary"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    fDPIX = logicalDpiX();
    fDPIY = logicalDpiY();
}

void TZORViewLibrary::SetQuindle(TZORLabelVCL* label)
{
    if (label == fBaseLab)
        return;
    fBaseLab = label;
    fSymLib = label ? std::make_unique<TZORLibrary>() : nullptr;
}

void TZORViewLibrary::SetColor(TAlphaColor c)
{
    fColor = c;
    Draw();
}

void TZORViewLibrary::SetFrameColor(TAlphaColor c)
{
    fFrameColor = c;
    Draw();
}

void TZORViewLibrary::SetSelectionColor(TAlphaColor c)
{
    fSelectionColor = c;
    Draw();
}

int TZORViewLibrary::ClientWidth() const
{
    return contentsRect().width();
}

int TZORViewLibrary::ClientHeight() const
{
    return contentsRect().height();
}

QString TZORViewLibrary::GetCatList(const QString& fileName)
{
    try {
        return TZORLibrary::CategoryList(fileName);
    } catch (const EZORError&) {
        return QString();
    }
}

void TZORViewLibrary::LoadSymbols(const QString& fileName, const QString& category)
{
    fReady = false;
    fIdxSymbol = fIdxPosition = fIdxLastPos = 0;
    fNumSym = 0;
    const bool room = ClientWidth() > 0 && ClientHeight() > 0;
    if (fSymLib && room) {
        try {
            if (fileName.compare(TZORMsg::GetDialogsValue(QStringLiteral("CurDrawing")), Qt::CaseInsensitive)
                == 0)
                fSymLib->AssignLib(*fBaseLab);
            else if (QFileInfo(fileName).isFile())
                fSymLib->LoadFromFile(fileName, category);
            else
                fSymLib->Clear();
        } catch (const EZORError&) {
            fSymLib->Clear();
        }
        fNumSym = fSymLib->GetNumSymbols();
    }
    ComputeGrid();
    AdjustSizes();
    fReady = true;
    UpdateScrollBars();
    Draw();
}

void TZORViewLibrary::ComputeGrid()
{
    fRows = fCols = 0;
    if (fNumSym == 0)
        return;
    const auto grid = [this](int width) {
        // A viewer narrower than one cell still shows one column.
        fCols = std::clamp((width - fGap) / (fSymbolWidth + fGap), 1, int(fNumSym));
        fRows = (fNumSym + fCols - 1) / fCols;
    };
    grid(ClientWidth());
    if (fRows * (fSymbolHeight + fGap) + fGap > ClientHeight())
        grid(ClientWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

void TZORViewLibrary::AdjustSizes()
{
    fContentHeight = fMaxHeight = 0;
    fMarginLeft = fGap;
    if (ClientWidth() <= 0 || ClientHeight() <= 0 || fCols == 0)
        return;
    int width = fCols * fSymbolWidth + (fCols + 1) * fGap;
    if (fRows >= 5)
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    fMarginLeft = width < ClientWidth() ? (ClientWidth() - width) / 2 : fGap;
    fContentHeight = fRows * fSymbolHeight + (fRows + 1) * fGap;
    fMaxHeight = std::max(0, fContentHeight - ClientHeight() + fGap);
}

void TZORViewLibrary::UpdateScrollBars()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, fContentHeight > ClientHeight() ? fMaxHeight : 0);
    bar->setPageStep(std::max(1, ClientHeight()));
    bar->setSingleStep(fSymbolHeight + fGap);
}

void TZORViewLibrary::Draw()
{
    if (!fReady)
        return;
    fBackSurf = zor::BackingImage(viewport()->size(), viewport()->devicePixelRatioF());
    fBackSurf.fill(ToColor(fColor));
    if (fCols > 0 && fSymLib && !fBackSurf.isNull()) {
        QPainter painter(&fBackSurf);
        painter.translate(0, -verticalScrollBar()->value());
        const ISkCanvas canvas = std::make_shared<TSkCanvas>(painter);
        TZORDraw D;
        D.SetupLibraryViewer(canvas, fDPIX, 1);
        int x = fMarginLeft, y = fGap;
        for (int32_t i = 1; i <= fNumSym; ++i) {
            if (const TZORLibSymbol* symbol = fSymLib->GetSymbol(i))
                DrawCell(painter, D, *symbol, x, y, i == fIdxSymbol);
            if (i % fCols == 0) {
                x = fMarginLeft;
                y += fGap + fSymbolHeight;
            } else {
                x += fGap + fSymbolWidth;
            }
        }
    }
    viewport()->update();
}

void TZORViewLibrary::DrawCell(
    QPainter& painter, TZORDraw& D, const TZORLibSymbol& symbol, int x, int y, bool selected)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect cell(x, y, fSymbolWidth, fSymbolHeight);
    painter.fillRect(cell, Qt::white);
    painter.setBrush(Qt::NoBrush);
    if (selected) {
        painter.setPen(QPen(ToColor(fSelectionColor), 2));
        painter.drawRect(cell.adjusted(1, 1, -1, -1));
    } else {
        painter.setPen(QPen(ToColor(fFrameColor), 1));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    // The symbol's box fitted into the cell, centred across the side that has room to spare; a
    // box without width or height is fitted by its other side, or drawn at its own size.
    const TZORRect box = symbol.GetBounds();
    const double px = fDPIX / MicrometresPerInch, py = fDPIY / MicrometresPerInch;
    const double w = double(box.GetWidth()) * px, h = double(box.GetHeight()) * py;
    constexpr double none = std::numeric_limits<double>::infinity();
    const double sx = w > 0 ? (fSymbolWidth - 2 * CellPadding) / w : none;
    const double sy = h > 0 ? (fSymbolHeight - 2 * CellPadding) / h : none;
    const double k = std::min(sx, sy) == none ? 1.0 : std::min(sx, sy);
    const double ox = (fSymbolWidth - w * k) / 2, oy = (fSymbolHeight - h * k) / 2;
    painter.save();
    painter.setClipRect(cell);
    painter.translate(x + ox - double(box.Left) * px * k, y + oy - double(box.Top) * py * k);
    painter.scale(k, k);
    painter.setRenderHint(QPainter::Antialiasing, true);
    D.aConf.Reset();
    TZORSymbol::DrawSymbol(D, &symbol, 1.0f);
    painter.restore();
}

void TZORViewLibrary::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (ClientWidth() <= 0 || ClientHeight() <= 0)
        return;
    fReady = false;
    AdjustSizes();
    fReady = true;
    UpdateScrollBars();
    Draw();
}

void TZORViewLibrary::paintEvent(QPaintEvent*)
{
    if (!fReady)
        return;
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, fBackSurf);
}

void TZORViewLibrary::scrollContentsBy(int, int)
{
    Draw();
}

int32_t TZORViewLibrary::SymbolAt(const QPoint& pos) const
{
    if (fCols <= 0 || pos.x() < fMarginLeft)
        return 0;
    const int down = pos.y() + verticalScrollBar()->value() - fGap;
    if (down < 0 || down % (fSymbolHeight + fGap) >= fSymbolHeight)
        return 0;
    const int row = down / (fSymbolHeight + fGap) + 1;
    // Right of the last column there is no symbol, not the next row's first.
    const int column = (pos.x() - fMarginLeft) / (fSymbolWidth + fGap) + 1;
    if (row > fRows || column > fCols)
        return 0;
    const int32_t index = (row - 1) * fCols + column;
    return index <= fNumSym ? index : 0;
}

void TZORViewLibrary::PointerAt(const QPoint& pos)
{
    if (fCols <= 0 || pos.x() < fMarginLeft)
        return;
    const int32_t index = SymbolAt(pos);
    if (index == 0) {
        const bool was = fIdxLastPos != 0;
        fIdxPosition = fIdxLastPos = 0;
        if (was && OnChangePos)
            OnChangePos(*this, QString(), QString(), TZORUnits::Millimetre);
        return;
    }
    fIdxPosition = index;
    if (index == fIdxLastPos)
        return;
    fIdxLastPos = index;
    const TZORLibSymbol* symbol = fSymLib->GetSymbol(index);
    if (fShowHintOnMove) {
        setToolTip(symbol->GetName());
        QToolTip::showText(viewport()->mapToGlobal(pos), symbol->GetName(), viewport());
    }
    if (OnChangePos)
        OnChangePos(*this, symbol->GetName(), symbol->GetCategory(), symbol->GetUnits());
}

void TZORViewLibrary::mouseMoveEvent(QMouseEvent* event)
{
    PointerAt(event->position().toPoint());
}

void TZORViewLibrary::mousePressEvent(QMouseEvent* event)
{
    PointerAt(event->position().toPoint());
    if (fIdxPosition >= 1) {
        fIdxSymbol = fIdxPosition;
        Draw();
    }
}

std::unique_ptr<TZORLibSymbol> TZORViewLibrary::GetSelection() const
{
    return fIdxSymbol >= 1 && fSymLib ? fSymLib->CopySymbol(fIdxSymbol) : nullptr;
}
