#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdint>

class QPainter;
class TZORLabelVCL;

// The run every export benchmark measures: an A4 sheet of 3 columns by 8 rows of 70 x 37 mm
// labels, 0.5 mm from the top, each with a text bound to the field `name` and a code bound to
// the field `code` of a CSV file of generated records. Beside it the pieces of a baseline that
// draws the same content with QPainter and libzint and nothing else.
namespace bench {

inline constexpr int Columns = 3;
inline constexpr int Rows = 8;
inline constexpr int LabelsPerSheet = Columns * Rows;
inline constexpr double LabelW = 70.0, LabelH = 37.0, MarginTop = 0.5; // millimetres
inline constexpr double PaperW = 210.0, PaperH = 297.0;

enum TCode : int { Code128 = 0, QRCode = 1 };

// The folder the runs write into (removed at exit).
QString Folder();
// Removes the files of the folder whose names start with prefix: each run writes into an empty
// folder, so that no run pays for deleting the files of the run before.
void ClearOutputs(const QString& prefix);
// The CSV file of n records (name;code), written once per size.
QString CsvFile(int64_t n);
// The label of the run, bound to csv, its run prepared.
void MakeLabel(TZORLabelVCL& label, TCode code, const QString& csv);

// The run of n records of csv written to pdf: by the library (zor::ExportLabel), or by the
// baseline straight onto a QPdfWriter at 300 dpi (PaintSheetLabel for every record).
void LibraryPdf(TCode code, const QString& csv, const QString& pdf);
void BaselinePdf(TCode code, const QString& csv, int64_t n, const QString& pdf);

// Millimetres as device pixels at dpi.
double Px(double mm, double dpi);
// The baseline's label at (x, y) device pixels: the name as one text in the painter's font and
// the code's symbol, encoded by libzint and filled as one rectangle per run of dark modules.
// Returns the symbol's width in pixels.
double PaintLabel(QPainter& p, TCode code, const QList<QByteArray>& fields, double x, double y, double dpi);

// The baseline's fonts at dpi: the name's (4 mm) and the human-readable line's (3.5 mm).
struct TFonts {
    QFont name;
    QFont code;
};
TFonts Fonts(double dpi);
// The label as the library's sheet shows it: PaintLabel, a 0.2 mm frame around the name and,
// for Code 128, the human-readable line centred under the bars.
void PaintSheetLabel(QPainter& p, const TFonts& fonts, TCode code, const QList<QByteArray>& fields, double x,
    double y, double dpi);
// The top left corner of the position-th label of a sheet (from 0), device pixels.
QPointF LabelCorner(int64_t position, double dpi);

// Memory: the kernel's high-water mark, restarted from the present size (returned, kB).
int64_t ResetPeak();
int64_t PeakKb();
// Items per second and the peak counters of a run.
void Report(benchmark::State& state, int64_t items, int64_t growthKb);

} // namespace bench
