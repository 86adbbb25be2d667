#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

// Pixel checks for rendered images: colours with a tolerance, where the ink is, how much of it
// there is, whether two renders put it in the same places, and dash/gap lengths along a line.
namespace zor::test {

// What counts as ink: a pixel that differs from the background by more than `tolerance` in any
// of red, green, blue or alpha (two fully transparent pixels never differ). The default
// tolerance lets faint anti-aliasing fringes count as paper.
struct Ink {
    QColor background = Qt::white;
    int tolerance = 32;
};

// Passes when every channel (r, g, b, a) of the pixel at `at` is within `tolerance` of
// `expected`; the message gives the colour found. A point outside the image fails.
::testing::AssertionResult ColourNear(
    const QImage& image, QPoint at, const QColor& expected, int tolerance = 0);

// Smallest rectangle holding all ink of `region` (the whole image when null), or a null
// QRect when there is none.
QRect InkBounds(const QImage& image, const Ink& ink = {}, QRect region = {});

// Number of ink pixels in `region` (the whole image when null).
int InkCount(const QImage& image, const Ink& ink = {}, QRect region = {});

// Format_Grayscale8 image of the same size: ink black (0), paper white (255). A mask is itself an
// image whose ink is found with the default Ink, so it can be saved, looked at and compared.
QImage InkMask(const QImage& image, const Ink& ink = {});

// Intersection over union of the ink of two images, in [0, 1]; 1 when neither has ink, 0 when
// either image is null.
// When the sizes differ, `b` is scaled (smoothly, ignoring aspect ratio) to the size of `a`
// before its ink is taken: a screen render at 96 dpi and a print render at 300 dpi of the same
// page compare directly. Thin strokes lose some overlap in the scaling, so expect values
// below 1 there.
double InkIoU(const QImage& a, const QImage& b, const Ink& ink = {});

// A stretch of equal pixels (all ink or all paper) along a row or a column.
struct PixelRun {
    bool ink = false;
    int start = 0; // x for a row, y for a column
    int length = 0;

    bool operator==(const PixelRun&) const = default;
};

// Alternating ink and paper runs covering the whole row `y` (or column `x`), in order.
std::vector<PixelRun> RowRuns(const QImage& image, int y, const Ink& ink = {});
std::vector<PixelRun> ColumnRuns(const QImage& image, int x, const Ink& ink = {});

// Lengths of the ink runs only (dashes), or of the paper runs between two ink runs (gaps).
std::vector<int> InkLengths(const std::vector<PixelRun>& runs);
std::vector<int> GapLengths(const std::vector<PixelRun>& runs);

// Saves `image` as PNG in the folder "test-output" beside the test program, named after the
// running test and `name`, and returns the path.
QString SaveForInspection(const QImage& image, const QString& name);

// Keeps a copy of an image and saves it with SaveForInspection when the test has failed by the
// time the guard goes out of scope, including through a fatal assertion.
class SaveOnFailure {
public:
    SaveOnFailure(const QImage& image, const QString& name)
        : fImage(image)
        , fName(name)
    {
    }
    ~SaveOnFailure();
    SaveOnFailure(const SaveOnFailure&) = delete;
    SaveOnFailure& operator=(const SaveOnFailure&) = delete;

private:
    QImage fImage;
    QString fName;
};

} // namespace zor::test
