#include "Zor.Vcl.Print.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

// The side of printing that talks to the system's printers through Qt Print Support; it
// belongs to the print library (quindle_print).

namespace zor {

void ApplyDeviceMode(QPrinter& printer, const TDeviceMode& mode)
{
    if (mode.paperWidth > 0 && mode.paperLength > 0) {
        const QSizeF mm(mode.paperWidth / 10.0, mode.paperLength / 10.0);
        printer.setPageSize(QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    }
    printer.setPageOrientation(mode.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    if (mode.setCopies)
        printer.setCopyCount(mode.copies);
}

QStringList PrinterNames()
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.sort(Qt::CaseSensitive);
    return names;
}

TPrinterPages::TPrinterPages(QPrinter& printer, const QString& docName)
    : fPrinter(printer)
{
    // Labels are placed from the paper's edge, as the margins of the measure are meant.
    fPrinter.setFullPage(true);
    fPrinter.setDocName(docName);
}

bool TPrinterPages::Begin(QPainter& painter)
{
    return painter.begin(&fPrinter);
}

bool TPrinterPages::NewPage(QPainter&)
{
    return fPrinter.newPage();
}

bool TPrinterPages::End(QPainter& painter)
{
    return painter.end();
}

QSize TPrinterPages::Dpi() const
{
    return { fPrinter.logicalDpiX(), fPrinter.logicalDpiY() };
}

QSize TPrinterPages::PageSize() const
{
    return { fPrinter.width(), fPrinter.height() };
}

} // namespace zor
