#include "kit/Pixels.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace zor::test {

namespace {

int ChannelDistance(QRgb a, QRgb b)
{
    if (qAlpha(a) == 0 && qAlpha(b) == 0)
        return 0;
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b)) });
}

// Reads pixels through one known format, so that every helper sees the same unpremultiplied
// colours whatever the render produced.
class InkReader {
public:
    InkReader(const QImage& image, const Ink& ink)
        : fImage(image.convertToFormat(QImage::Format_ARGB32))
        , fBackground(ink.background.rgba())
        , fTolerance(ink.tolerance)
    {
    }

    bool At(int x, int y) const
    {
        const auto* line = reinterpret_cast<const QRgb*>(fImage.constScanLine(y));
        return ChannelDistance(line[x], fBackground) > fTolerance;
    }

    QRect Clip(QRect region) const { return region.isNull() ? fImage.rect() : region & fImage.rect(); }
    QSize Size() const { return fImage.size(); }

private:
    QImage fImage;
    QRgb fBackground;
    int fTolerance;
};

template <typename Visit> void ForEachInk(const InkReader& reader, QRect region, Visit visit)
{
    const QRect r = reader.Clip(region);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (reader.At(x, y))
                visit(x, y);
}

std::vector<PixelRun> Runs(int count, const auto& inkAt)
{
    std::vector<PixelRun> runs;
    for (int i = 0; i < count; ++i) {
        const bool ink = inkAt(i);
        if (runs.empty() || runs.back().ink != ink)
            runs.push_back({ ink, i, 1 });
        else
            ++runs.back().length;
    }
    return runs;
}

QString FileStem(const QString& name)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString test = info ? QStringLiteral("%1.%2").arg(
                             QString::fromUtf8(info->test_suite_name()), QString::fromUtf8(info->name()))
                              : QStringLiteral("outside-test");
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    return QString(test + QLatin1Char('-') + name).replace(unsafe, QStringLiteral("_"));
}

} // namespace

::testing::AssertionResult ColourNear(const QImage& image, QPoint at, const QColor& expected, int tolerance)
{
    const QString want = expected.name(QColor::HexArgb);
    if (!image.rect().contains(at))
        return ::testing::AssertionFailure() << "pixel (" << at.x() << ", " << at.y() << ") is outside the "
                                             << image.width() << "x" << image.height() << " image";
    const QColor actual = image.pixelColor(at);
    const int distance = ChannelDistance(actual.rgba(), expected.rgba());
    auto result = distance <= tolerance ? ::testing::AssertionSuccess() : ::testing::AssertionFailure();
    return result << "pixel (" << at.x() << ", " << at.y() << ") is "
                  << actual.name(QColor::HexArgb).toStdString() << ", expected " << want.toStdString()
                  << " within " << tolerance << " (off by " << distance << ")";
}

QRect InkBounds(const QImage& image, const Ink& ink, QRect region)
{
    QRect bounds;
    ForEachInk(InkReader(image, ink), region, [&](int x, int y) { bounds |= QRect(x, y, 1, 1); });
    return bounds;
}

int InkCount(const QImage& image, const Ink& ink, QRect region)
{
    int count = 0;
    ForEachInk(InkReader(image, ink), region, [&](int, int) { ++count; });
    return count;
}

QImage InkMask(const QImage& image, const Ink& ink)
{
    QImage mask(image.size(), QImage::Format_Grayscale8);
    mask.fill(255);
    ForEachInk(InkReader(image, ink), {}, [&](int x, int y) { mask.scanLine(y)[x] = 0; });
    return mask;
}

double InkIoU(const QImage& a, const QImage& b, const Ink& ink)
{
    if (a.isNull() || b.isNull())
        return 0.0;
    const QImage scaledB
        = b.size() == a.size() ? b : b.scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const InkReader inkA(a, ink);
    const InkReader inkB(scaledB, ink);
    long both = 0;
    long either = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inA = inkA.At(x, y);
            const bool inB = inkB.At(x, y);
            both += inA && inB;
            either += inA || inB;
        }
    }
    return either == 0 ? 1.0 : double(both) / double(either);
}

std::vector<PixelRun> RowRuns(const QImage& image, int y, const Ink& ink)
{
    const InkReader reader(image, ink);
    if (y < 0 || y >= reader.Size().height())
        return {};
    return Runs(reader.Size().width(), [&](int x) { return reader.At(x, y); });
}

std::vector<PixelRun> ColumnRuns(const QImage& image, int x, const Ink& ink)
{
    const InkReader reader(image, ink);
    if (x < 0 || x >= reader.Size().width())
        return {};
    return Runs(reader.Size().height(), [&](int y) { return reader.At(x, y); });
}

std::vector<int> InkLengths(const std::vector<PixelRun>& runs)
{
    std::vector<int> lengths;
    for (const PixelRun& run : runs)
        if (run.ink)
            lengths.push_back(run.length);
    return lengths;
}

std::vector<int> GapLengths(const std::vector<PixelRun>& runs)
{
    std::vector<int> lengths;
    for (size_t i = 1; i + 1 < runs.size(); ++i)
        if (!runs[i].ink)
            lengths.push_back(runs[i].length);
    return lengths;
}

QString SaveForInspection(const QImage& image, const QString& name)
{
    const QDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/test-output"));
    dir.mkpath(QStringLiteral("."));
    const QString path = dir.filePath(FileStem(name) + QStringLiteral(".png"));
    if (!image.save(path, "PNG"))
        ADD_FAILURE() << "could not save " << path.toStdString();
    return path;
}

SaveOnFailure::~SaveOnFailure()
{
    if (!::testing::Test::HasFailure())
        return;
    std::cerr << "image saved to " << SaveForInspection(fImage, fName).toStdString() << '\n';
}

} // namespace zor::test
