#include "SheetRun.h"
#include "Zor.Act.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.Vcl.Types.h"
#include "editor/Zor.EditorPaint.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

using zor::TAct;
using zor::TSkCanvas;

// The editor's paint pass over labels of rectangles, circles, lines, texts and Code 128 symbols
// on a grid with a pitch of 4 x 6 mm:
// - 5,000 elements on a 400 x 300 mm page, all in view at 100 %: the editor's repaint against a
//   bare QPainter loop that draws what the editor draws (the symbols at the elements' own size
//   with their human-readable line, the frames around the texts, the rulers), and a new
//   selection on that label;
// - 50,000 elements on a 1,000 x 1,200 mm page, a tenth of it in view at 100 %: the editor's
//   repaint of the view, a scroll by 100 pixels and a new selection, against drawing every
//   element through the same renderers, into an image of the view's size (as the editor did
//   before it drew only what is in view) and into one that holds the page.

namespace {

constexpr int64_t PitchX = 4000, PitchY = 6000; // micrometres
constexpr double Dpi = 96.0;

QByteArray CodeOf(int i)
{
    return QByteArray("QD-") + QByteArray::number(100000 + i);
}

struct Scene {
    int columns, rows;
    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;

    Scene(int c, int r, QSize view)
        : columns(c)
        , rows(r)
    {
        label.Measure().SetPaperWidth(c * PitchX);
        label.Measure().SetPaperHeight(r * PitchY);
        label.Measure().SetWidth(c * PitchX);
        label.Measure().SetHeight(r * PitchY);
        // One sort of the elements by layer at the end instead of one per element.
        label.BeginUpdate();
        for (int i = 0; i < Count(); ++i)
            Add(i);
        label.EndUpdate();
        editor = std::make_unique<TZOREditor>();
        editor->SetDPIOverride(int32_t(Dpi));
        editor->resize(view);
        editor->show();
        editor->SetLabel(&label);
    }
    int Count() const { return columns * rows; }
    int64_t X(int i) const { return 2000 + (i % columns) * PitchX; }
    int64_t Y(int i) const { return 2000 + (i / columns) * PitchY; }
    void Add(int i)
    {
        const int64_t x = X(i), y = Y(i);
        switch (i % 5) {
        case 0:
            label.AddBaseRectangle(x, y, 3000, 4000);
            break;
        case 1:
            label.AddBaseCircle(x + 1500, y + 1500, 1500);
            break;
        case 2:
            label.AddBaseLine(x, y, x + 3000, y + 4000);
            break;
        case 3:
            if (TZORText* t = label.AddBaseText(x, y))
                t->SetText(QStringLiteral("T%1").arg(i));
            break;
        default:
            label.AddBaseBarcode(x, y, CodeOf(i), TZORBarType::Code128);
            break;
        }
    }
    TZORBackEditor& Surface() const { return editor->Surface(); }
    const QImage& Picture() const { return Surface().BackImage(); }
};

// The scenes are made once and never destroyed: their widgets must not outlive the application,
// which main ends before static objects go.

// 5,000 elements, all in view.
Scene& Small()
{
    static Scene& scene = *new Scene(100, 50, { 1700, 1300 });
    return scene;
}

// 50,000 elements, a tenth in view, scrolled into the middle of the page.
Scene& Large()
{
    static Scene& scene = *new Scene(250, 200, { 1500, 1200 });
    for (QScrollBar* bar : { &scene.editor->HorzScroll(), &scene.editor->VertScroll() })
        bar->setValue(bar->maximum() / 2);
    return scene;
}

// One element selected after another, spread over the elements (those in view for a stride
// that keeps within it): handles and the element layer around the two elements.
void SelectionChange(benchmark::State& state, Scene& s, int first, int stride, int span)
{
    s.editor->DrawEditor();
    int i = 0;
    for (auto _ : state) {
        s.label.Select(s.label.GetItem(1 + first + (i++ * stride) % span));
        benchmark::DoNotOptimize(s.Picture().constBits());
    }
    s.label.UnSelectAll();
}

// --- 5,000 elements ---

// The whole picture: elements, rulers and handles.
void EditorRepaint(benchmark::State& state)
{
    Scene& s = Small();
    for (auto _ : state) {
        s.editor->DrawEditor();
        benchmark::DoNotOptimize(s.Picture().constBits());
    }
    state.SetItemsProcessed(state.iterations() * s.Count());
}

void EditorSelectionChange(benchmark::State& state)
{
    Scene& s = Small();
    SelectionChange(state, s, 0, 37, s.Count());
}

// The ticks of a ruler past from up to extent, for a page whose edge lies at origin (pixels): one
// call per millimetre with its place, its length (longer every 5 and 10) and its number.
template <typename Tick>
void RulerTicks(double origin, double extent, double from, double thickness, double mm, Tick tick)
{
    for (int n = std::max(0, int(std::ceil((from - origin) / mm))); origin + n * mm < extent; ++n)
        tick(origin + n * mm, n % 10 == 0 ? thickness : n % 5 == 0 ? thickness / 2 : thickness / 4, n);
}

// The top and left rulers, numbered every 10 mm.
void PaintRulers(QPainter& p, const TZOREditorGeometry& G, int width, int height)
{
    const double mm = Dpi / 25.4 * double(G.ZScale);
    const double top = G.D.RulerT, left = G.D.RulerL;
    p.fillRect(QRectF(0, 0, width, top), Qt::white);
    p.fillRect(QRectF(0, 0, left, height), Qt::white);
    p.setPen(QPen(Qt::black, 0));
    RulerTicks(G.X0(), width, left + 1, top, mm, [&](double x, double length, int n) {
        p.drawLine(QPointF(x, top - length), QPointF(x, top));
        if (n % 10 == 0)
            p.drawText(QPointF(x + 2, top / 2.0), QString::number(n));
    });
    RulerTicks(G.Y0(), height, top + 1, left, mm, [&](double y, double length, int n) {
        p.drawLine(QPointF(left - length, y), QPointF(left, y));
        if (n % 10 == 0)
            p.drawText(QPointF(2, y - 2), QString::number(n));
    });
}

// What the editor draws, with QPainter and libzint alone, into an image of the surface's size.
void BarePainter(benchmark::State& state)
{
    Scene& s = Small();
    const QSize size = s.Surface().size();
    const TZOREditorGeometry& G = s.Surface().G;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const double k = Dpi / 25400.0;
    const bench::TFonts fonts = bench::Fonts(Dpi);
    QFont text(QStringLiteral("Arial"));
    text.setPixelSize(int(bench::Px(3.5, Dpi)));
    const QFontMetricsF textMetrics(text), codeMetrics(fonts.code);
    const QPen thin(Qt::black, bench::Px(0.2, Dpi));
    for (auto _ : state) {
        image.fill(Qt::lightGray);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(G.X0(), G.Y0(), G.D.ZoomW, G.D.ZoomH), Qt::white);
        PaintRulers(p, G, size.width(), size.height());
        p.translate(G.X0(), G.Y0());
        p.setPen(thin);
        for (int i = 0; i < s.Count(); ++i) {
            const double x = s.X(i) * k, y = s.Y(i) * k;
            switch (i % 5) {
            case 0:
                p.drawRect(QRectF(x, y, 3000 * k, 4000 * k));
                break;
            case 1:
                p.drawEllipse(QRectF(x, y, 3000 * k, 3000 * k));
                break;
            case 2:
                p.drawLine(QPointF(x, y), QPointF(x + 3000 * k, y + 4000 * k));
                break;
            case 3: {
                const QString t = QStringLiteral("T%1").arg(i);
                p.setFont(text);
                p.drawText(QPointF(x, y + textMetrics.ascent()), t);
                p.drawRect(QRectF(x, y, textMetrics.horizontalAdvance(t), textMetrics.height()));
                break;
            }
            default: {
                // The symbol at its own size (the baseline label puts it 5 mm right and 14 mm
                // down) and its human-readable line centred under the 12 mm bars.
                const double width = bench::PaintLabel(p, bench::Code128, { QByteArray(), CodeOf(i) },
                    x - bench::Px(5, Dpi), y - bench::Px(14, Dpi), Dpi);
                const QString value = QString::fromLatin1(CodeOf(i));
                p.setFont(fonts.code);
                p.drawText(QPointF(x + (width - codeMetrics.horizontalAdvance(value)) / 2.0,
                               y + bench::Px(12, Dpi) + codeMetrics.ascent()),
                    value);
                break;
            }
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * s.Count());
}

// --- 50,000 elements, a tenth in view ---

// Every element through the editor's renderers, over the paper, into image with the page's top
// left corner at corner.
void PaintEvery(benchmark::State& state, QImage& image, QPoint corner)
{
    Scene& s = Large();
    const TZOREditorGeometry& G = s.Surface().G;
    const QRect paper(corner, QSize(G.D.ZoomW, G.D.ZoomH));
    TZORDraw D;
    for (auto _ : state) {
        image.fill(Qt::lightGray);
        QPainter p(&image);
        D.SetupEditor(std::make_shared<TSkCanvas>(p), G.DPIX, G.ZScale, G.Scale, false, false);
        D.aAction = TAct::fCurAction;
        D.fPixUnitX = float(G.FX());
        D.fPixUnitY = float(G.FY());
        p.fillRect(paper, Qt::white);
        p.setClipRect(paper, Qt::IntersectClip);
        p.translate(corner);
        p.scale(G.ZScale, G.ZScale);
        for (int32_t i = 1; i <= s.label.GetItemsCount(); ++i)
            s.label.GetItem(i)->DrawElement(D);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * s.Count());
}

// Into an image of the view's size, at the view's scroll: the paint pass before it drew only
// what is in view.
void PaintEveryElementInView(benchmark::State& state)
{
    const TZOREditorGeometry& G = Large().Surface().G;
    QImage image(Large().Surface().size(), QImage::Format_ARGB32_Premultiplied);
    PaintEvery(state, image, { G.X0(), G.Y0() });
}

// Into an image that holds the page: each element drawn whole.
void PaintEveryElementWhole(benchmark::State& state)
{
    const TZOREditorGeometry& G = Large().Surface().G;
    QImage image(G.D.ZoomW, G.D.ZoomH, QImage::Format_ARGB32_Premultiplied);
    PaintEvery(state, image, {});
}

// The editor's whole repaint of the view.
void EditorViewRepaint(benchmark::State& state)
{
    Scene& s = Large();
    const int before = s.Surface().Painter().ItemDrawCount();
    for (auto _ : state) {
        s.editor->DrawEditor();
        benchmark::DoNotOptimize(s.Picture().constBits());
    }
    state.counters["drawn"]
        = double(s.Surface().Painter().ItemDrawCount() - before) / double(state.iterations());
}

// A scroll by 100 pixels, down and up in turn.
void EditorScroll100(benchmark::State& state)
{
    Scene& s = Large();
    QScrollBar& bar = s.editor->VertScroll();
    s.editor->DrawEditor();
    benchmark::DoNotOptimize(s.Picture().constBits());
    int step = 100;
    for (auto _ : state) {
        bar.setValue(bar.value() + step);
        step = -step;
        benchmark::DoNotOptimize(s.Picture().constBits());
    }
}

// One element in view selected after another.
void EditorViewSelectionChange(benchmark::State& state)
{
    Scene& s = Large();
    const int64_t x = s.Surface().G.BaseMMX(s.Surface().width() / 2);
    const int64_t y = s.Surface().G.BaseMMY(s.Surface().height() / 2);
    const int first = int((y - 2000) / PitchY) * s.columns + int((x - 2000) / PitchX);
    SelectionChange(state, s, first, 1, 20);
}

} // namespace

BENCHMARK(BarePainter)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorSelectionChange)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintEveryElementInView)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintEveryElementWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorViewRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorScroll100)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorViewSelectionChange)->Unit(benchmark::kMillisecond);
