#pragma once

#include "Zor.Types.h"
#include "label/Zor.Vcl.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TZORBaseItem;

// Renders elements the way the library's paint and print paths do: a screen pass in any draw
// state (editor, preview, export) through the Skia-like canvas, or a print pass through the
// GDI+-like graphics and the text canvas (into an image, or onto the pages of a PDF), at any
// resolution and drawing scale. Tests place elements in paper millimetres, so that the same
// numbers give the same picture at every drawing scale.
namespace zor::test {

// Design is the editor's pass in the design-view draw state.
enum class TTarget { Editor, Design, Preview, Export, Print };

const char* Name(TTarget target);

// A label whose data source is a list of records: every field of record n reads as
// Records[n] (empty beyond the list).
class TDataLabel : public TZORLabelVCL {
public:
    QStringList Records;
    int Current = 0;

    QString DataValue(const QString& name, const QString& format, uint8_t fillType) const override;
};

// A page of paper with elements on it, at one drawing scale. The elements belong to the scene;
// they know its label but do not enter it, so a test sees only what it placed.
class TScene {
public:
    static constexpr double PageMM = 40.0;
    // The label's origin sits this far into the page on both targets.
    static constexpr double MarginMM = 2.0;

    explicit TScene(int scale = 1);

    int Scale() const { return fScale; }
    TDataLabel& Label() { return fLabel; }

    // A paper length in base units at the scene's drawing scale, and a paper position.
    int64_t Base(double mm) const;
    TZORPto Pt(double xmm, double ymm) const;

    // A new element of class T, built as T(label, args..., aPreview = false).
    template <class T, class... A> T& Add(A&&... args)
    {
        auto item = std::make_unique<T>(&fLabel, std::forward<A>(args)..., false);
        T& ref = *item;
        fItems.push_back(std::move(item));
        return ref;
    }

    const std::vector<std::unique_ptr<TZORBaseItem>>& Items() const { return fItems; }

    // Every element, in the order added, drawn or printed in one pass at the resolution.
    QImage Render(TTarget target, int dpi) const;
    // A print pass at different horizontal and vertical resolutions.
    QImage Print(int dpiX, int dpiY) const;
    // A print pass onto `pages` pages of a PDF file; beforePage(i) runs before page i (from 0).
    void PrintPdf(
        const QString& fileName, int dpi, int pages, const std::function<void(int)>& beforePage) const;

private:
    int fScale;
    TDataLabel fLabel;
    std::vector<std::unique_ptr<TZORBaseItem>> fItems;
};

// The device pixel of a paper position (millimetres from the label's origin).
QPoint Pixel(int dpi, double xmm, double ymm);
QPointF PixelF(int dpi, double xmm, double ymm);
// A paper length in device pixels.
double Pixels(int dpi, double mm);

// The share of a's ink pixels that have ink of b within `radius` pixels (1 when a has none):
// with InkIoU, how two renders of the same page agree up to a pixel's rounding.
double InkWithin(const QImage& a, const QImage& b, int radius);

// A scene drawn for the screen (the export pass) and printed on paper at one resolution, and how
// far their ink agrees: IoU is InkIoU of the two, Near the smaller of the two shares of one's ink
// with ink of the other within `radius` pixels. Both images are saved, under the name, when the
// test has failed by the time this goes.
class TScreenAndPaper {
public:
    TScreenAndPaper(const TScene& scene, int dpi, int radius, const QString& name);
    ~TScreenAndPaper();
    TScreenAndPaper(const TScreenAndPaper&) = delete;
    TScreenAndPaper& operator=(const TScreenAndPaper&) = delete;

    const QImage Screen;
    const QImage Paper;
    const double IoU;
    const double Near;

private:
    QString fName;
};

// The scales every drawing test runs at.
inline constexpr int Scales[] = { 1, 50 };
// The screen and the paper.
inline constexpr TTarget BothTargets[] = { TTarget::Export, TTarget::Print };

} // namespace zor::test
