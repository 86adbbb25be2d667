#include "SheetRun.h"

#include "editor/Zor.EditorPaint.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

// The editor's paint pass over a label of 5,000 elements (rectangles, circles, lines, texts and
// Code 128 symbols in a grid over a 400 x 300 mm page, all in view at 100 %), against a bare
// loop painting the same primitives with QPainter into an image of the surface's size; and a
// new selection on that label, which redraws only around the elements whose state changed.

namespace {

constexpr int Columns = 100;
constexpr int Rows = 50;
constexpr int64_t PitchX = 4000, PitchY = 6000; // micrometres
constexpr double Dpi = 96.0;

QByteArray CodeOf(int i)
{
    return QByteArray("QD-") + QByteArray::number(100000 + i);
}

struct Scene {
    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;

    Scene()
    {
        label.Measure().SetPaperWidth(400000);
        label.Measure().SetPaperHeight(300000);
        for (int i = 0; i < Columns * Rows; ++i) {
            const int64_t x = 2000 + (i % Columns) * PitchX, y = 2000 + (i / Columns) * PitchY;
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
        editor = std::make_unique<TZOREditor>();
        editor->SetDPIOverride(int32_t(Dpi));
        editor->resize(1700, 1300);
        editor->show();
        editor->SetLabel(&label);
    }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

// The whole picture: elements, rulers and handles.
void EditorRepaint(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state) {
        s.editor->DrawEditor();
        benchmark::DoNotOptimize(s.editor->Surface().BackImage().constBits());
    }
    state.SetItemsProcessed(state.iterations() * Columns * Rows);
}

// One element selected after another: handles and the element layer around the two elements.
void EditorSelectionChange(benchmark::State& state)
{
    Scene& s = TheScene();
    s.editor->DrawEditor();
    int i = 0;
    for (auto _ : state) {
        s.label.Select(s.label.GetItem(1 + (i++ * 37) % (Columns * Rows)));
        benchmark::DoNotOptimize(s.editor->Surface().BackImage().constBits());
    }
    s.label.UnSelectAll();
}

// The same primitives with QPainter alone, into an image of the surface's size.
void BarePainter(benchmark::State& state)
{
    Scene& s = TheScene();
    const QSize size = s.editor->Surface().size();
    const TZOREditorGeometry& G = s.editor->Surface().G;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const double k = Dpi / 25400.0;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(int(bench::Px(3.5, Dpi)));
    for (auto _ : state) {
        image.fill(Qt::lightGray);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(G.X0(), G.Y0(), G.D.ZoomW, G.D.ZoomH), Qt::white);
        p.translate(G.X0(), G.Y0());
        p.setFont(font);
        for (int i = 0; i < Columns * Rows; ++i) {
            const double x = (2000 + (i % Columns) * PitchX) * k, y = (2000 + (i / Columns) * PitchY) * k;
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
            case 3:
                p.drawText(QPointF(x, y + bench::Px(3.5, Dpi)), QStringLiteral("T%1").arg(i));
                break;
            default:
                // The symbol alone: the baseline label puts it 5 mm right and 14 mm down.
                bench::PaintLabel(p, bench::Code128, { QByteArray(), CodeOf(i) }, x - bench::Px(5, Dpi),
                    y - bench::Px(14, Dpi), Dpi);
                break;
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * Columns * Rows);
}

} // namespace

BENCHMARK(BarePainter)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorSelectionChange)->Unit(benchmark::kMillisecond);
