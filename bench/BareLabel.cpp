#include "BareLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>

#include <zint.h>

#include <memory>

namespace {

bool Dark(const zint_symbol& s, int row, int column)
{
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

// The symbol as the library's defaults make it: Code 128 bars of 0.3 x 12 mm, a QR code of
// 0.8 mm square modules at correction level M. Returns its width in pixels.
double PaintSymbol(QPainter& p, bench::TCode code, const QByteArray& value, double x, double y, double dpi)
{
    std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> s(ZBarcode_Create(), &ZBarcode_Delete);
    s->symbology = code == bench::Code128 ? BARCODE_CODE128 : BARCODE_QRCODE;
    if (code == bench::QRCode)
        s->option_1 = 2; // M
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(value.constData()), int(value.size()))
        >= ZINT_ERROR)
        return 0.0;
    const double module = bench::Px(code == bench::Code128 ? 0.3 : 0.8, dpi);
    const double rowHeight = code == bench::Code128 ? bench::Px(12.0, dpi) : module;
    for (int r = 0; r < s->rows; ++r)
        for (int c = 0; c < s->width;) {
            if (!Dark(*s, r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < s->width && Dark(*s, r, end))
                ++end;
            p.fillRect(QRectF(x + c * module, y + r * rowHeight, (end - c) * module, rowHeight), Qt::black);
            c = end;
        }
    return s->width * module;
}

} // namespace

double bench::Px(double mm, double dpi)
{
    return mm * dpi / 25.4;
}

QPointF bench::LabelCorner(int64_t position, double dpi)
{
    return { Px(double(position % Columns) * LabelW, dpi),
        Px(MarginTop + double(position / Columns) * LabelH, dpi) };
}

double bench::PaintLabel(
    QPainter& p, TCode code, const QList<QByteArray>& fields, double x, double y, double dpi)
{
    p.drawText(QPointF(x + Px(5, dpi), y + Px(9, dpi)), QString::fromUtf8(fields.value(0)));
    return PaintSymbol(p, code, fields.value(1), code == Code128 ? x + Px(5, dpi) : x + Px(40, dpi),
        y + Px(code == Code128 ? 14 : 5, dpi), dpi);
}

bench::TFonts bench::Fonts(double dpi)
{
    TFonts fonts { QFont(QStringLiteral("Liberation Sans")), QFont(QStringLiteral("Liberation Sans")) };
    fonts.name.setPixelSize(int(Px(4.0, dpi)));
    fonts.code.setPixelSize(int(Px(3.5, dpi)));
    return fonts;
}

void bench::PaintSheetLabel(QPainter& p, const TFonts& fonts, TCode code, const QList<QByteArray>& fields,
    double x, double y, double dpi)
{
    p.setFont(fonts.name);
    const double width = PaintLabel(p, code, fields, x, y, dpi);
    const QString name = QString::fromUtf8(fields.value(0));
    const QFontMetricsF nameMetrics(fonts.name);
    p.setPen(QPen(Qt::black, Px(0.2, dpi)));
    p.drawRect(QRectF(x + Px(5, dpi), y + Px(9, dpi) - nameMetrics.ascent(),
        nameMetrics.horizontalAdvance(name), nameMetrics.height()));
    if (code != Code128)
        return;
    const QString value = QString::fromUtf8(fields.value(1));
    const QFontMetricsF codeMetrics(fonts.code);
    p.setFont(fonts.code);
    p.drawText(QPointF(x + Px(5, dpi) + (width - codeMetrics.horizontalAdvance(value)) / 2.0,
                   y + Px(26, dpi) + codeMetrics.ascent()),
        value);
}
