#include "Zor.EditorPaint.h"

#include "Zor.Act.h"
#include "Zor.EditorInput.h"
#include "Zor.EditorRefLines.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Editor.h"
#include "drawing/Zor.BackingImage.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.Vcl.Types.h"
#include "label/Zor.Vcl.Background.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

using zor::TAct;
using zor::TColor;
using zor::TDraw2D;
using zor::TDraw2DArc;
using zor::TDraw2DCircle;
using zor::TSkCanvas;

namespace {

QColor Colour(TColor c)
{
    return zor::ToQColor(c);
}

// Whether the background layer keeps margins round its picture.
bool HasBackMargins(const TZORLabelVCL& label)
{
    const TZORLayer* layer = label.GetLayer(label.GetBackLayer());
    if (!layer)
        return false;
    const zor::TBackMargins m = zor::BackMargins(*layer, label.GetUnits());
    return m.Left > 0 || m.Top > 0 || m.Right > 0 || m.Bottom > 0;
}

// The multiples n·step (n ≥ 1) of a grid axis below the extent whose pixels lie within the
// surface's [0, size): first and last n, none when last < first.
struct GridRange {
    int64_t First = 1;
    int64_t Last = 0;
};

GridRange VisibleSteps(double stepPx, double origin, int size, int64_t step, int64_t extent)
{
    GridRange r;
    r.First = std::max<int64_t>(1, int64_t(std::ceil(-origin / stepPx)));
    r.Last = std::min<int64_t>((extent - 1) / step, int64_t(std::floor((size - 1 - origin) / stepPx)));
    return r;
}

QPointF Screen(int32_t i, const TZOREditorGeometry& G)
{
    return QPointF(G.ScreenMMX(TAct::GetPointX(i)), G.ScreenMMY(TAct::GetPointY(i)));
}

QRectF CircleBox(double cx, double cy, double r)
{
    return QRectF(cx - r, cy - r, 2 * r, 2 * r);
}

// The line through lp parallel to p0–p1, between the feet of p0 and p1 on it.
QLineF ParallelLine(QPointF p0, QPointF p1, QPointF lp)
{
    const QPointF d = p1 - p0;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0.0)
        return QLineF(p0, lp);
    const QPointF n(-d.y() / len, d.x() / len);
    const double off = QPointF::dotProduct(lp - p0, n);
    return QLineF(p0 + n * off, p1 + n * off);
}

// Moves the pixels of image by d device pixels; the strips that come in keep what they held.
void ShiftPixels(QImage& image, QPoint d)
{
    const int bytes = image.depth() / 8;
    const size_t run = size_t(image.width() - std::abs(d.x())) * size_t(bytes);
    const size_t from = size_t(std::max(0, -d.x()) * bytes), to = size_t(std::max(0, d.x()) * bytes);
    auto move
        = [&](int y) { std::memmove(image.scanLine(y + d.y()) + to, image.constScanLine(y) + from, run); };
    if (d.y() > 0)
        for (int y = image.height() - 1 - d.y(); y >= 0; --y)
            move(y);
    else
        for (int y = -d.y(); y < image.height(); ++y)
            move(y);
}

// Copies the pixels under part (surface pixels) from one backing image to another of its size.
void CopyPixels(const QImage& from, QImage& to, const QRect& part)
{
    const qreal dpr = to.devicePixelRatio();
    const QRect r
        = QRectF(QPointF(part.topLeft()) * dpr, QSizeF(part.size()) * dpr).toAlignedRect() & to.rect();
    const int bytes = to.depth() / 8;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to.scanLine(y) + r.left() * bytes, from.constScanLine(y) + r.left() * bytes,
            size_t(r.width()) * size_t(bytes));
}

} // namespace

TZOREditorPaint::TZOREditorPaint(TZORBackEditor& surface)
    : fSurface(surface)
    , fState(surface.State())
{
}

void TZOREditorPaint::Render(QImage& image)
{
    const QSize size = fSurface.size();
    const qreal dpr = fSurface.devicePixelRatioF();
    TZORBaseEditor& editor = fSurface.Editor();
    TZORLabelVCL* label = editor.GetLabel();
    if (!zor::IsBackingImage(image, size, dpr))
        image = zor::BackingImage(size, dpr);
    if (!label) {
        image.fill(Colour(editor.GetMarginColor()));
        fStale = true;
        return;
    }
    fSurface.G.Scale = editor.DrawScale();
    fSurface.G.Units = editor.Units();
    if (fStale || !zor::IsBackingImage(fElements, size, dpr) || fZoom != fSurface.G.ZScale)
        RenderElements(*label);
    else {
        ScrollElements(*label);
        PatchStates(*label);
    }
    image = fElements;
    QPainter painter(&image);
    try {
        fRulers.Paint(painter, fSurface);
        PaintAlignLines(painter);
        PaintHandles(painter, *label);
        PaintPreview(painter);
        PaintSnapMark(painter);
    } catch (...) {
        // Painting raises nothing: the picture shows as far as it got.
    }
}

void TZOREditorPaint::RenderElements(TZORLabelVCL& label)
{
    const QSize size = fSurface.size();
    const qreal dpr = fSurface.devicePixelRatioF();
    if (!zor::IsBackingImage(fElements, size, dpr))
        fElements = zor::BackingImage(size, dpr);
    ++fElementRenders;
    fStale = false;
    fOrigin = Origin();
    fZoom = fSurface.G.ZScale;
    IndexItems(label);
    fMarked.clear();
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (const TZORBaseItem* item = label.GetItem(i); item->GetItemState() != TZORItemState::Normal)
            fMarked.insert(item);
    PaintLayer(label, QRegion(QRect(QPoint(), size)));
}

QPoint TZOREditorPaint::Origin() const
{
    return { fSurface.G.X0(), fSurface.G.Y0() };
}

void TZOREditorPaint::IndexItems(const TZORLabelVCL& label)
{
    std::vector<QRect> rects;
    rects.reserve(size_t(label.GetItemsCount()));
    const QPoint origin = Origin();
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        rects.push_back(ItemRect(*label.GetItem(i)).translated(-origin));
    fIndex.Build(std::move(rects));
}

// The page moved under the surface by whole device pixels: the layer moves with it and only the
// strips that come into view are drawn.
void TZOREditorPaint::ScrollElements(TZORLabelVCL& label)
{
    const QPoint by = Origin() - fOrigin;
    if (by.isNull())
        return;
    const qreal dpr = fElements.devicePixelRatio();
    const QRect view(QPoint(), fSurface.size());
    if (dpr != std::round(dpr) || !view.intersects(view.translated(by))) {
        RenderElements(label);
        return;
    }
    fOrigin = Origin();
    ShiftPixels(fElements, by * int(dpr));
    PaintLayer(label, QRegion(view) - QRegion(view.translated(by)));
}

void TZOREditorPaint::PatchStates(TZORLabelVCL& label)
{
    QRegion damaged;
    std::unordered_set<const TZORBaseItem*> marked;
    size_t kept = 0;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        const TZORBaseItem* item = label.GetItem(i);
        const bool now = item->GetItemState() != TZORItemState::Normal;
        const bool was = fMarked.contains(item);
        kept += was ? 1 : 0;
        if (now)
            marked.insert(item);
        if (now != was)
            damaged += ItemRect(*item);
    }
    // An element drawn marked is gone without the layer being told: render it whole.
    if (kept != fMarked.size()) {
        RenderElements(label);
        return;
    }
    fMarked.swap(marked);
    if (!damaged.isEmpty())
        PaintLayer(label, damaged);
}

// Margin, paper, backgrounds, grid and the elements that reach into region. A part of the view
// is drawn aside and copied in: there the elements are drawn clipped to the whole view, as a
// whole render draws them, since a line that a clip cuts is anti-aliased a shade apart.
void TZOREditorPaint::PaintLayer(TZORLabelVCL& label, const QRegion& region)
{
    const QRect view(QPoint(), fSurface.size());
    const bool whole = region == QRegion(view);
    if (!whole && !zor::IsBackingImage(fAside, view.size(), fElements.devicePixelRatio()))
        fAside = zor::BackingImage(view.size(), fElements.devicePixelRatio());
    // A pixel more round each part: at a fractional scale its edge pixels are drawn whole.
    QRegion grown;
    for (const QRect& part : region)
        grown += part.adjusted(-1, -1, 1, 1) & view;
    QPainter painter(whole ? &fElements : &fAside);
    PrepareDraw(painter);
    try {
        for (const QRect& part : grown) {
            painter.setClipRect(part);
            painter.fillRect(part, Colour(fSurface.Editor().GetMarginColor()));
            PaintPaper(painter, label);
            PaintGrid(painter);
            // Drawn whenever the label has any, whatever ShowRefLines says: a line the user has
            // just made must show.
            zor::DrawRefLines(
                painter, label, fSurface.G, Colour(fSurface.Editor().SelectionColors().fRefLine));
        }
        painter.setClipRect(view);
        PaintItems(painter, label, grown);
    } catch (...) {
        // Painting raises nothing: a page that an element cannot draw shows as far as it got.
    }
    painter.end();
    if (!whole)
        for (const QRect& part : region)
            CopyPixels(fAside, fElements, part);
}

void TZOREditorPaint::PrepareDraw(QPainter& painter)
{
    const TZOREditorGeometry& G = fSurface.G;
    TZORDraw& D = fSurface.Draw();
    const uint16_t options = fSurface.Editor().GetOptions();
    D.SetupEditor(std::make_shared<TSkCanvas>(painter), G.DPIX, G.ZScale, G.Scale,
        (options & eoLabelFlag) != 0, fSurface.hasFocus());
    D.aAction = TAct::fCurAction;
    D.aDrawLinkPto = (options & eoLinkPoints) != 0;
    D.fPixUnitX = float(G.FX());
    D.fPixUnitY = float(G.FY());
}

// Where an element draws on the surface, with room for its pen (half its width on either side of
// the bounds), line ends, selection frames and marks.
QRect TZOREditorPaint::ItemRect(const TZORBaseItem& item) const
{
    const TZOREditorGeometry& G = fSurface.G;
    const TZORRect b = item.GetBounds().Normalized();
    const int64_t reach = 2000 + int64_t(std::ceil(item.GetPenWidth() * 500.0f));
    const int pad = 6 + int(std::ceil(G.BaseToScreenX(reach * int64_t(G.Scale)) * G.ZScale));
    return QRect(
        QPoint(G.ScreenMMX(b.Left), G.ScreenMMY(b.Top)), QPoint(G.ScreenMMX(b.Right), G.ScreenMMY(b.Bottom)))
        .normalized()
        .adjusted(-pad, -pad, pad, pad);
}

void TZOREditorPaint::PageTransform(QPainter& painter) const
{
    const TZOREditorGeometry& G = fSurface.G;
    painter.setClipRect(QRect(G.X0(), G.Y0(), G.D.ZoomW, G.D.ZoomH),
        painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.translate(G.X0(), G.Y0());
    painter.scale(G.ZScale, G.ZScale);
}

// With background margins the paper lies under the picture; without them only where no
// picture is drawn.
void TZOREditorPaint::PaintPaper(QPainter& painter, TZORLabelVCL& label)
{
    const TZOREditorGeometry& G = fSurface.G;
    const QRect paper(G.X0(), G.Y0(), G.D.ZoomW, G.D.ZoomH);
    const QColor colour = Colour(fSurface.Editor().GetBackColor());
    const bool margins = HasBackMargins(label);
    if (margins)
        painter.fillRect(paper, colour);
    painter.save();
    PageTransform(painter);
    TZORDraw& D = fSurface.Draw();
    const bool drawn = label.DrawBackImage(D.kC, D);
    painter.restore();
    if (!drawn && !margins)
        painter.fillRect(paper, colour);
}

// Points on every crossing of the grid, or lines with every 10 millimetres of the drawing in
// the units colour; never on the paper's edges. Only the visible part is drawn, and a step
// under a pixel draws no grid at all (it would fill the paper).
void TZOREditorPaint::PaintGrid(QPainter& painter)
{
    const TZORGrid& grid = fSurface.Editor().Grid();
    const TZOREditorGeometry& G = fSurface.G;
    const int64_t ix = grid.BaseIncX(), iy = grid.BaseIncY();
    if (grid.GetStyle() == TZORGridDraw::None || ix <= 0 || iy <= 0)
        return;
    const int64_t xmax = G.D.PaperScaledW >= 1 ? G.D.PaperScaledW : G.D.PaperBaseW;
    const int64_t ymax = G.D.PaperScaledH >= 1 ? G.D.PaperScaledH : G.D.PaperBaseH;
    const double z = G.ZScale;
    const double sx = G.BaseToScreenX(ix) * z, sy = G.BaseToScreenY(iy) * z;
    if (sx < 1.0 || sy < 1.0)
        return;
    const GridRange cols = VisibleSteps(sx, G.X0(), fSurface.width(), ix, xmax);
    const GridRange rows = VisibleSteps(sy, G.Y0(), fSurface.height(), iy, ymax);
    auto px = [&](int64_t n) { return G.X0() + std::round(G.BaseToScreenX(n * ix) * z); };
    auto py = [&](int64_t n) { return G.Y0() + std::round(G.BaseToScreenY(n * iy) * z); };
    const QColor step = Colour(grid.GetStepColor());
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (grid.GetStyle() == TZORGridDraw::Points) {
        QPolygonF points;
        for (int64_t r = rows.First; r <= rows.Last; ++r)
            for (int64_t c = cols.First; c <= cols.Last; ++c)
                points << QPointF(px(c), py(r));
        painter.setPen(QPen(step, 0));
        painter.drawPoints(points);
        return;
    }
    const int64_t tens = int64_t(G.Scale) * 10000;
    const QColor units = Colour(grid.GetUnitsColor());
    const double left = px(0), top = py(0);
    const double right = G.X0() + std::round(G.BaseToScreenX(xmax) * z);
    const double bottom = G.Y0() + std::round(G.BaseToScreenY(ymax) * z);
    for (int64_t r = rows.First; r <= rows.Last; ++r) {
        painter.setPen(QPen((r * iy) % tens == 0 ? units : step, 0));
        painter.drawLine(QPointF(left, py(r)), QPointF(right, py(r)));
    }
    for (int64_t c = cols.First; c <= cols.Last; ++c) {
        painter.setPen(QPen((c * ix) % tens == 0 ? units : step, 0));
        painter.drawLine(QPointF(px(c), top), QPointF(px(c), bottom));
    }
}

// The elements whose rectangle meets region, by the index, in drawing order.
void TZOREditorPaint::PaintItems(QPainter& painter, TZORLabelVCL& label, const QRegion& region)
{
    painter.save();
    PageTransform(painter);
    TZORDraw& D = fSurface.Draw();
    const QPoint origin = Origin();
    const int32_t count = std::min(label.GetItemsCount(), fIndex.Size());
    for (int32_t i : fIndex.Query(region.translated(-origin))) {
        if (i >= count)
            break;
        TZORBaseItem* item = label.GetItem(i + 1);
        const TZORLayer* layer = item->GetLayer();
        if (layer && !layer->HasOption(loView))
            continue;
        ++fItemDraws;
        item->DrawElement(D);
    }
    painter.restore();
}

// The two alignment guides across the page, dashed, where they are off the rulers.
void TZOREditorPaint::PaintAlignLines(QPainter& painter)
{
    TZORBaseEditor& editor = fSurface.Editor();
    const TZORRulers& rulers = editor.Rulers();
    if (!rulers.GetShowAlign())
        return;
    const TZOREditorGeometry& G = fSurface.G;
    const int W = fSurface.width(), H = fSurface.height();
    QPen pen(Colour(editor.SelectionColors().fAlign), 1.0);
    pen.setDashPattern({ 4, 4 });
    pen.setCapStyle(Qt::FlatCap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    const int x = G.ScreenMMX(rulers.fAlignLeft);
    if (x > G.D.RulerL && x < W - G.D.RulerR)
        painter.drawLine(x, G.D.RulerT, x, H - G.D.RulerB);
    const int y = G.ScreenMMY(rulers.fAlignTop);
    if (y > G.D.RulerT && y < H - G.D.RulerB)
        painter.drawLine(G.D.RulerL, y, W - G.D.RulerR, y);
}

// The handles of the selection by kind; none while a text is edited in place.
void TZOREditorPaint::PaintHandles(QPainter& painter, TZORLabelVCL& label)
{
    if (TAct::fCurAction == zor::acTextEdit || TAct::fCurAction == zor::acTextSelect)
        return;
    TZORBaseEditor& editor = fSurface.Editor();
    const TZORSelColors& c = editor.SelectionColors();
    const TZOREditorGeometry& G = fSurface.G;
    const double s = editor.GetSizeRef();
    painter.setRenderHint(QPainter::Antialiasing, true);
    auto fill = [&](const QColor& colour) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
    };
    auto stroke = [&](const QColor& colour) {
        painter.setPen(QPen(colour, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
    };
    auto dot = [&](double x, double y, double r, const QColor& colour) {
        fill(colour);
        painter.drawEllipse(CircleBox(x, y, r));
    };
    auto upright = [&](double x, double y) {
        painter.drawLine(QPointF(x - s, y), QPointF(x + s, y));
        painter.drawLine(QPointF(x, y - s), QPointF(x, y + s));
    };
    auto diagonal = [&](double x, double y) {
        painter.drawLine(QPointF(x - s, y - s), QPointF(x + s, y + s));
        painter.drawLine(QPointF(x - s, y + s), QPointF(x + s, y - s));
    };
    const int32_t count = label.GetSelPointCount();
    for (int32_t i = 1; i <= count; ++i) {
        const TZORSelPoint sp = label.GetSelPoint(i);
        const double x = G.CoordDX(sp.X, true), y = G.CoordDY(sp.Y, true);
        const double x2 = G.CoordDX(sp.X2, true), y2 = G.CoordDY(sp.Y2, true);
        switch (sp.Kind) {
        case zor::hkBar:
            fill(Qt::black);
            painter.drawRect(QRectF(QPointF(x - 3, y - 2), QPointF(x + 3, y)));
            break;
        case zor::hkInsert:
            dot(x, y, editor.GetSizePoint(), Colour(c.fSelItem));
            break;
        case zor::hkPoint:
        case zor::hkVertex:
            dot(x, y, 3, Colour(sp.Index == TAct::fPos1 ? c.fRadio : c.fSizeColor));
            break;
        case zor::hkFixed:
        case zor::hkEdit:
            dot(x, y, 3, Colour(c.fFixColor));
            break;
        case zor::hkControl:
            dot(x, y, 3, Colour(c.fBezier));
            break;
        case zor::hkArcPoint:
        case zor::hkRadius:
        case zor::hkRadiusX:
        case zor::hkRadiusY:
        case zor::hkCorner:
        case zor::hkAngle:
            dot(x, y, 3, Colour(c.fRadio));
            break;
        case zor::hkRefCross:
            stroke(Qt::red);
            diagonal(x, y);
            diagonal(x2, y2);
            break;
        case zor::hkAlign:
        case zor::hkAlignCross:
            stroke(Colour(c.fAlign));
            upright(x, y);
            break;
        case zor::hkCentre:
            stroke(Colour(c.fCenter));
            upright(x, y);
            break;
        case zor::hkExtent:
            stroke(Colour(c.fSelItem));
            painter.drawRect(QRectF(QPointF(x - 1, y - 1), QPointF(x2 + 1, y2 + 1)).normalized());
            break;
        case zor::hkWidth:
            painter.setPen(QPen(Qt::black, 1.0));
            painter.setBrush(QColor(0xFF, 0xA5, 0x00));
            painter.drawRect(QRectF(QPointF(x - 4, y - 6), QPointF(x + 4, y + 6)));
            break;
        default: // the box handles and any other kind
            fill(Colour(c.fSizeColor));
            painter.drawRect(QRectF(QPointF(x - 3, y - 3), QPointF(x + 3, y + 3)));
            break;
        }
    }
    painter.setBrush(Qt::NoBrush);
}

QPainterPath TZOREditorPaint::GetPath(int32_t drawType, QPoint po, QPoint lp, const TZORBackEditor& surface)
{
    QPainterPath path;
    const double x0 = po.x(), y0 = po.y(), x1 = lp.x(), y1 = lp.y();
    const double w = std::abs(x1 - x0), h = std::abs(y1 - y0);
    switch (drawType) {
    case zor::dtPath:
        if (TAct::NumPoints() > 0) {
            path.moveTo(Screen(0, surface.G));
            for (int32_t i = 1; i < TAct::NumPoints(); ++i)
                path.lineTo(Screen(i, surface.G));
        }
        break;
    case zor::dtDocument: // a box with a wavy lower edge
        path.moveTo(x0, y1);
        path.cubicTo(x0 + w / 4, y1 + h / 4, x1 - w / 4, y1 - h / 4, x1, y1);
        path.lineTo(x1, y0);
        path.lineTo(x0, y0);
        path.lineTo(x0, y1);
        break;
    case zor::dtCurvedLeft: // pointed right side, curved left side
        path.moveTo(x0 + w / 8, y0);
        path.lineTo(x1 - w / 8, y0);
        path.lineTo(x1, y0 + h / 2);
        path.lineTo(x1 - w / 8, y1);
        path.lineTo(x0 + w / 8, y1);
        path.cubicTo(x0, y1 - h / 4, x0, y0 + h / 4, x0 + w / 8, y0);
        break;
    case zor::dtCurvedRight: // notched left side, curved right side
        path.moveTo(x1 - w / 8, y1);
        path.lineTo(x0, y1);
        path.lineTo(x0 + w / 8, y0 + h / 2);
        path.lineTo(x0, y0);
        path.lineTo(x1 - w / 8, y0);
        path.cubicTo(x1, y0 + h / 4, x1, y1 - h / 4, x1 - w / 8, y1);
        break;
    default:
        break;
    }
    return path;
}

// What the tool in use would make between the press point and the pointer.
void TZOREditorPaint::PaintPreview(QPainter& painter)
{
    const int32_t type = TAct::fDrawType;
    if (type == zor::dtNone)
        return;
    TZORBaseEditor& editor = fSurface.Editor();
    const TZOREditorGeometry& G = fSurface.G;
    const QPoint po = fState.Press, lp = fState.Pointer;
    const double x0 = po.x(), y0 = po.y(), x1 = lp.x(), y1 = lp.y();
    const double w = std::abs(x1 - x0), h = std::abs(y1 - y0);
    const bool both = x1 != x0 && y1 != y0;
    const int32_t state = TAct::fCurState;
    QPen pen(Colour(editor.SelectionColors().fDraw), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto aa = [&](bool on) { painter.setRenderHint(QPainter::Antialiasing, on); };
    auto polygon = [&](std::initializer_list<QPointF> points) { painter.drawPolygon(QPolygonF(points)); };
    const QRectF box = QRectF(QPointF(x0, y0), QPointF(x1, y1)).normalized();
    const QLineF line(x0, y0, x1, y1);
    switch (type) {
    case zor::dtWindow:
        if (!both)
            break;
        aa(false);
        // Right to left (or bottom to top) takes what the window touches: dashed.
        if (x1 < x0 || y1 < y0) {
            const double dash = std::max(1.0f, fSurface.Draw().w05);
            pen.setDashPattern({ dash, dash });
            painter.setPen(pen);
        }
        painter.drawRect(box);
        break;
    case zor::dtLine: {
        aa(!editor.GetOrtoLines());
        const int32_t action = TAct::fCurAction;
        if ((action == zor::acPolyLine || action == zor::acPolygon || action == zor::acBezier)
            && TAct::NumPoints() > 1)
            painter.drawPath(GetPath(zor::dtPath, po, lp, fSurface));
        if (lp != po)
            painter.drawLine(line);
        break;
    }
    case zor::dtRectangle:
        if (both) {
            aa(false);
            painter.drawRect(box);
        }
        break;
    case zor::dtCircle:
        if (both) {
            aa(true);
            painter.drawEllipse(CircleBox(x0, y0, TDraw2D::Distance(x0, y0, x1, y1)));
        }
        break;
    case zor::dtCircle2P:
        if (both) {
            aa(true);
            const TDraw2DCircle c = TDraw2D::CircleTwoPoints(x0, y0, x1, y1);
            painter.drawEllipse(CircleBox(c.Cx, c.Cy, c.R));
        }
        break;
    case zor::dtCircle3P:
    case zor::dtArc3P: {
        aa(true);
        const QPointF p0 = Screen(0, G);
        const QPointF p1 = state == zor::stSecond ? QPointF(po) : Screen(1, G);
        if (type == zor::dtCircle3P || state == zor::stSecond) {
            TDraw2DCircle c;
            if (TDraw2D::CircleThreePoints(p0.x(), p0.y(), p1.x(), p1.y(), x1, y1, c))
                painter.drawEllipse(CircleBox(c.Cx, c.Cy, c.R));
            break;
        }
        TDraw2DArc a;
        if (TDraw2D::ArcThreePoints(p0.x(), p0.y(), p1.x(), p1.y(), x1, y1, a)) {
            // The arc's angles run clockwise on screen; the painter's run the other way.
            const QRectF oval = CircleBox(a.Cx, a.Cy, a.R);
            const double start = -a.Start * 180.0 / std::numbers::pi,
                         sweep = -a.Sweep * 180.0 / std::numbers::pi;
            QPainterPath path;
            path.arcMoveTo(oval, start);
            path.arcTo(oval, start, sweep);
            painter.drawPath(path);
        }
        break;
    }
    case zor::dtEllipse:
        aa(true);
        if (state == zor::stRadiusX) {
            painter.drawLine(line);
        } else if (TAct::NumPoints() >= 2) {
            const QPointF co = Screen(0, G), p2 = Screen(1, G);
            painter.drawLine(QPointF(p2.x(), co.y()), co);
            painter.drawLine(co, QPointF(co.x(), y1));
        }
        break;
    case zor::dtDiamond:
        if (both) {
            aa(true);
            polygon({ { x0 + w / 2, y0 }, { x1, y0 + h / 2 }, { x0 + w / 2, y1 }, { x0, y0 + h / 2 } });
        }
        break;
    case zor::dtRounded:
        if (both) {
            aa(false);
            painter.drawRoundedRect(box, h, h);
        }
        break;
    case zor::dtParallelogram:
        if (both) {
            aa(true);
            polygon({ { x0 + w / 8, y0 }, { x1, y0 }, { x1 - w / 8, y1 }, { x0, y1 } });
        }
        break;
    case zor::dtLink:
    case zor::dtPolyLink:
        aa(true);
        if (type == zor::dtLink ? state == zor::stSecond : state == zor::stNext && lp != po)
            painter.drawLine(line);
        if (fSurface.Input().Link().Found)
            zor::PaintLinkMarker(painter, lp);
        break;
    case zor::dtHexagon:
        if (both) {
            aa(true);
            polygon({ { x0 + w / 4, y0 }, { x1 - w / 4, y0 }, { x1, y0 + h / 2 }, { x1 - w / 4, y1 },
                { x0 + w / 4, y1 }, { x0, y0 + h / 2 } });
        }
        break;
    case zor::dtOval:
        if (both) {
            aa(true);
            painter.drawEllipse(box);
        }
        break;
    case zor::dtPentagon:
        if (both) {
            aa(true);
            polygon({ { x0, y0 }, { x1 - w / 8, y0 }, { x1, y0 + h / 2 }, { x1 - w / 8, y1 }, { x0, y1 },
                { x0 + w / 8, y0 + h / 2 } });
        }
        break;
    case zor::dtDocument:
    case zor::dtCurvedLeft:
    case zor::dtCurvedRight:
        if (both) {
            aa(true);
            painter.drawPath(GetPath(type, po, lp, fSurface));
        }
        break;
    case zor::dtDim:
        aa(true);
        if (state == zor::stSecond)
            painter.drawLine(line);
        else if (TAct::NumPoints() >= 2)
            painter.drawLine(ParallelLine(Screen(0, G), Screen(1, G), QPointF(x1, y1)));
        break;
    default: // moving, a run's path alone, text: nothing follows the pointer
        break;
    }
}

// The snap point under the pointer: a square, a circle or a diagonal cross by the model's marker.
void TZOREditorPaint::PaintSnapMark(QPainter& painter)
{
    const TZORSnapMark& m = fState.SnapMark;
    if (!m.Shown)
        return;
    const TZOREditorGeometry& G = fSurface.G;
    const double x = G.ScreenMMX(m.X), y = G.ScreenMMY(m.Y);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Colour(fSurface.Editor().SelectionColors().fRefPoint), 2.0));
    painter.setBrush(Qt::NoBrush);
    const QRectF square(QPointF(x - 5, y - 5), QPointF(x + 6, y + 6));
    switch (m.Kind) {
    case 0:
        painter.drawRect(square);
        break;
    case 1:
        painter.drawEllipse(square);
        break;
    case 2:
        painter.drawLine(QPointF(x - 5, y - 5), QPointF(x + 6, y + 6));
        painter.drawLine(QPointF(x + 5, y - 5), QPointF(x - 6, y + 6));
        break;
    default:
        break;
    }
}
