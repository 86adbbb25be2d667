#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QPointF>

#include <cstdint>

class QPainter;

// The sheet of the export benchmarks, an A4 sheet of 3 columns by 8 rows of 70 x 37 mm labels
// 0.5 mm from the top, and the baseline's label on it: the same content drawn with QPainter and
// libzint and nothing else. Qt Gui and libzint alone, so that a bare program can draw it.
namespace bench {

inline constexpr int Columns = 3;
inline constexpr int Rows = 8;
inline constexpr int LabelsPerSheet = Columns * Rows;
inline constexpr double LabelW = 70.0, LabelH = 37.0, MarginTop = 0.5; // millimetres
inline constexpr double PaperW = 210.0, PaperH = 297.0;

enum TCode : int { Code128 = 0, QRCode = 1 };

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

} // namespace bench
