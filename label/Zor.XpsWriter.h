#pragma once

#include <QByteArray>
#include <QImage>
#include <QPaintDevice>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPaintEngine;

namespace zor {

class TXpsEngine;

// A paint device that records pages as XPS FixedPage markup: fills, strokes (as outlines),
// text (as glyph outlines) and images (as PNG resources). Package() gives the whole XPS
// document (an OPC zip package); painting ends before it is asked for.
class TXpsDocument : public QPaintDevice {
public:
    // The page in millimetres; the painter works in device pixels at dpi.
    TXpsDocument(const QSizeF& pageMM, int dpi);
    ~TXpsDocument() override;

    QPaintEngine* paintEngine() const override;
    // Ends the page being drawn and starts the next.
    bool newPage();
    // The package; raises EZORError when libzip fails.
    QByteArray Package() const;

    // --- Used by the engine ---
    // Appends markup to the current page.
    void Append(const QString& markup);
    // Keeps an image as a resource and answers its part name.
    QString AddImage(const QImage& image);
    // Device pixels to XPS units (1/96 inch).
    double Unit() const { return 96.0 / fDpi; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QString PageMarkup(const QString& body) const;

    QSizeF fPageMM;
    int fDpi;
    std::unique_ptr<TXpsEngine> fEngine;
    QStringList fPages { QString() };
    std::vector<QByteArray> fImages; // PNG, in the order of their part numbers
};

} // namespace zor
