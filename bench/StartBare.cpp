#include "BareLabel.h"

#include <QGuiApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>

// The bare program the start benchmark measures `quindle export` against: a Qt Gui program that
// writes one 70 x 37 mm label (the baseline's, with the record of bench/one-label.json) to the
// PDF file named by its argument, and nothing else.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    constexpr int dpi = 300;
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QSizeF(bench::LabelW, bench::LabelH), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF());
    QPainter p(&writer);
    bench::PaintSheetLabel(p, bench::Fonts(dpi), bench::Code128, { "Article 1", "QD-100001" }, 0, 0, dpi);
    return 0;
}
