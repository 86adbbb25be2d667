#pragma once

#include "Zor.Vcl.Print.h"

#include <QImage>
#include <QString>

#include <optional>

struct _cups_raster_s;

namespace zor {

// How a queue takes raster pages straight to its printer: Apple raster (URF) or PWG raster, in
// colour or grey.
struct TRasterRoute {
    bool apple = false;
    bool colour = false;
    int dpi = 300; // the printer's finest resolution for it
};

// The pages of a print job painted into images at the printer's resolution and sent to a CUPS
// queue as one raster document that the queue passes to the printer as it is. A custom paper reaches the
// printer at its exact size this way: the PDF and PostScript routes of CUPS cut page sizes to whole points
// (up to 0.35 mm short). The page is painted as the label's paper stands; a landscape paper is turned onto
// the portrait media, as the system's printing does.
class TRasterPages : public TPrintPages {
public:
    // A job for queue titled title, on the media of mode.
    TRasterPages(
        const QString& queue, const QString& title, const TDeviceMode& mode, const TRasterRoute& route);
    // Cancels a job that did not end.
    ~TRasterPages() override;
    TRasterPages(const TRasterPages&) = delete;
    TRasterPages& operator=(const TRasterPages&) = delete;

    bool Begin(QPainter& painter) override;
    bool NewPage(QPainter& painter) override;
    bool End(QPainter& painter) override;
    QSize Dpi() const override { return { fRoute.dpi, fRoute.dpi }; }
    QSize PageSize() const override;

private:
    bool StartPage(QPainter& painter);
    bool SendPage(QPainter& painter);

    QString fQueue;
    QString fTitle;
    TDeviceMode fMode;
    TRasterRoute fRoute;
    int fJobId = 0; // a job that has not ended yet
    bool fDocumentOpen = false;
    _cups_raster_s* fRaster = nullptr;
    QImage fPage; // portrait, as the media runs through the printer
};

// True when the printer has a paper of its own of the mode's size (within 0.1 mm): CUPS sends
// such sizes exactly by name, and any route serves.
bool IsNamedPaper(const QString& printer, const TDeviceMode& mode);
// The raster the queue's printer takes as it is; none when it takes neither (the queue then
// converts whatever it is given, and the system's way serves as well as any).
std::optional<TRasterRoute> RasterRoute(const QString& queue);

} // namespace zor
