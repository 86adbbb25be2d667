#include "Zor.RasterPages.h"

#include "Zor.Utils.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>

#include <cmath>
#include <cups/cups.h>
#include <cups/raster.h>

namespace zor {

namespace {

constexpr double TenthsPerInch = 254.0;
constexpr double PaperTolerance = 0.1; // millimetres

// A side of the media in tenths of a millimetre as pixels at dpi.
int Pixels(int32_t tenths, int dpi)
{
    return std::max(1, int(Round(double(tenths) * dpi / TenthsPerInch)));
}

constexpr int MinDpi = 72;
constexpr int MaxDpi = 2400;

// The finest resolution of an Apple raster printer: "RS" names its resolutions, as "RS300" or
// "RS300-600".
int AppleDpi(ipp_attribute_t* urf)
{
    int best = 0;
    for (int i = 0; i < ippGetCount(urf); ++i) {
        const QString value = QString::fromUtf8(ippGetString(urf, i, nullptr));
        if (value.startsWith(QLatin1String("RS")))
            for (const QString& dpi : value.mid(2).split(u'-'))
                best = std::max(best, dpi.toInt());
    }
    return best;
}

// The finest resolution a PWG raster printer lists.
int PwgDpi(http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    ipp_attribute_t* res = cupsFindDestSupported(http, dest, info, "pwg-raster-document-resolution");
    int best = 0;
    for (int i = 0; res && i < ippGetCount(res); ++i) {
        int y = 0;
        ipp_res_t units;
        const int x = ippGetResolution(res, i, &y, &units);
        if (units == IPP_RES_PER_INCH)
            best = std::max(best, std::min(x, y));
    }
    return best;
}

// The raster stream writes into the job's document request.
ssize_t WriteDocument(void*, unsigned char* buffer, size_t length)
{
    const http_status_t s
        = cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char*>(buffer), length);
    return s == HTTP_STATUS_CONTINUE ? ssize_t(length) : -1;
}

pwg_media_t* MediaOf(const TDeviceMode& mode)
{
    return pwgMediaForSize(mode.paperWidth * 10, mode.paperLength * 10);
}

} // namespace

TRasterPages::TRasterPages(
    const QString& queue, const QString& title, const TDeviceMode& mode, const TRasterRoute& route)
    : fQueue(queue)
    , fTitle(title)
    , fMode(mode)
    , fRoute(route)
    , fPage(Pixels(mode.paperWidth, route.dpi), Pixels(mode.paperLength, route.dpi),
          route.colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8)
{
    fPage.setDotsPerMeterX(int(Round(fRoute.dpi / 0.0254)));
    fPage.setDotsPerMeterY(fPage.dotsPerMeterX());
}

TRasterPages::~TRasterPages()
{
    if (fRaster)
        cupsRasterClose(fRaster);
    const QByteArray queue = fQueue.toUtf8();
    if (fDocumentOpen)
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
    if (fJobId > 0)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), fJobId, 0);
}

QSize TRasterPages::PageSize() const
{
    return fMode.landscape ? fPage.size().transposed() : fPage.size();
}

bool TRasterPages::Begin(QPainter& painter)
{
    pwg_media_t* media = MediaOf(fMode);
    if (!media || fPage.isNull())
        return false;
    const QByteArray queue = fQueue.toUtf8();
    const QByteArray title = fTitle.toUtf8();
    cups_option_t* options = nullptr;
    int n = cupsAddOption("media", media->pwg, 0, &options);
    if (fMode.setCopies)
        n = cupsAddOption("copies", QByteArray::number(fMode.copies).constData(), n, &options);
    fJobId = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(), n, options);
    cupsFreeOptions(n, options);
    if (fJobId <= 0)
        return false;
    const char* format = fRoute.apple ? "image/urf" : "image/pwg-raster";
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), fJobId, title.constData(), format, 1)
        != HTTP_STATUS_CONTINUE)
        return false;
    fDocumentOpen = true;
    fRaster = cupsRasterOpenIO(
        WriteDocument, nullptr, fRoute.apple ? CUPS_RASTER_WRITE_APPLE : CUPS_RASTER_WRITE_PWG);
    return fRaster ? StartPage(painter) : false;
}

bool TRasterPages::StartPage(QPainter& painter)
{
    fPage.fill(Qt::white);
    if (!painter.begin(&fPage))
        return false;
    if (fMode.landscape) {
        // The top of the landscape page runs along the media's left edge.
        painter.translate(0, fPage.height());
        painter.rotate(-90);
    }
    return true;
}

bool TRasterPages::SendPage(QPainter& painter)
{
    if (!painter.end() || !fRaster)
        return false;
    cups_page_header2_t header;
    if (!cupsRasterInitPWGHeader(&header, MediaOf(fMode), fRoute.colour ? "srgb_8" : "sgray_8", fRoute.dpi,
            fRoute.dpi, "one-sided", nullptr))
        return false;
    const unsigned bytesPerPixel = fRoute.colour ? 3 : 1;
    header.cupsWidth = unsigned(fPage.width());
    header.cupsHeight = unsigned(fPage.height());
    header.cupsBytesPerLine = header.cupsWidth * bytesPerPixel;
    if (!cupsRasterWriteHeader2(fRaster, &header))
        return false;
    for (int y = 0; y < fPage.height(); ++y)
        if (cupsRasterWritePixels(fRaster, fPage.scanLine(y), header.cupsBytesPerLine) == 0)
            return false;
    return true;
}

bool TRasterPages::NewPage(QPainter& painter)
{
    return SendPage(painter) && StartPage(painter);
}

bool TRasterPages::End(QPainter& painter)
{
    if (!SendPage(painter))
        return false;
    cupsRasterClose(fRaster);
    fRaster = nullptr;
    fDocumentOpen = false;
    const ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, fQueue.toUtf8().constData());
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE)
        return false;
    fJobId = 0;
    return true;
}

bool IsNamedPaper(const QString& printer, const TDeviceMode& mode)
{
    const QSizeF want(mode.paperWidth / 10.0, mode.paperLength / 10.0);
    for (const QPageSize& size : QPrinterInfo::printerInfo(printer).supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        const QSizeF portrait(std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height()));
        if (std::abs(portrait.width() - want.width()) <= PaperTolerance
            && std::abs(portrait.height() - want.height()) <= PaperTolerance)
            return true;
    }
    return false;
}

std::optional<TRasterRoute> RasterRoute(const QString& queue)
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest)
        return std::nullopt;
    std::optional<TRasterRoute> route;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        // A queue made for a driverless printer passes Apple raster through when the printer
        // takes it, else PWG raster; their "-supported" values name the colour spaces.
        if (ipp_attribute_t* urf = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "urf"))
            route = TRasterRoute { true, ippContainsString(urf, "SRGB24") != 0, AppleDpi(urf) };
        else if (ipp_attribute_t* pwg
            = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "pwg-raster-document-type"))
            route = TRasterRoute { false, ippContainsString(pwg, "srgb_8") != 0,
                PwgDpi(CUPS_HTTP_DEFAULT, dest, info) };
        cupsFreeDestInfo(info);
        // A printer that names no usable resolution takes the system's way.
        if (route && (route->dpi < MinDpi || route->dpi > MaxDpi))
            route.reset();
    }
    cupsFreeDests(1, dest);
    return route;
}

} // namespace zor
