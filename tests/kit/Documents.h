#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

// Reading back the documents the library writes, through the command-line tools of poppler
// (PDF) and libgxps (XPS). Every helper throws ToolError when a tool is missing, fails or runs
// past its time-out; GoogleTest reports that as a failure of the test with the message, which
// for a missing tool names the Debian package to install.
namespace zor::test {

class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr int kToolTimeoutMs = 60000;

// Runs `program` with `arguments` and returns what it wrote to standard output. A non-zero exit
// is an error whose message holds the tool's standard error.
QByteArray RunTool(const QString& program, const QStringList& arguments, int timeoutMs = kToolTimeoutMs);

// A word of a PDF page as pdftotext places it: points, origin at the top left of the page,
// y growing downwards; `page` counts from 1.
struct PdfWord {
    QString text;
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
    int page = 1;

    QRectF Rect() const { return { x, y, w, h }; }
};

int PdfPageCount(const QString& pdf);
// Page size in points as pdfinfo reports it; `page` counts from 1.
QSizeF PdfPageSize(const QString& pdf, int page = 1);
// Text laid out as on the page (pdftotext -layout); pages end with a form feed. `page` 0 means
// every page.
QString PdfText(const QString& pdf, int page = 0);
// Every word of every page, in reading order.
std::vector<PdfWord> PdfWords(const QString& pdf);
// The words of each printed line, top to bottom (words on one baseline, to the pixel).
std::vector<QStringList> PrintedLines(const QString& pdf);

// Pages rendered at `dpi` (pdftoppm), in page order.
std::vector<QImage> PdfPages(const QString& pdf, int dpi);
QImage PdfPage(const QString& pdf, int page, int dpi);

// Pages of an XPS document rendered at `dpi` (xpstopng), in page order. At 96 dpi one XPS unit
// is one pixel.
std::vector<QImage> XpsPages(const QString& xps, int dpi);
QImage XpsPage(const QString& xps, int page, int dpi);

} // namespace zor::test
