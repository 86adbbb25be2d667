#include "Zor.XpsWriter.h"

#include "Zor.LazyLibrary.h"
#include "Zor.Msg.h"

#include <QBuffer>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <zip.h>

namespace {

constexpr const char* XpsNamespace = "http://schemas.microsoft.com/xps/2005/06";
constexpr const char* RelsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* XmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr double DotsPerMetre96 = 96.0 / 0.0254;

QString Num(double v)
{
    return QString::number(v, 'f', 3);
}

QString Argb(const QColor& c)
{
    return QStringLiteral("#%1").arg(c.rgba(), 8, 16, QLatin1Char('0')).toUpper();
}

// Path geometry in the XPS abbreviated syntax, scaled by unit.
QString PathData(const QPainterPath& path, double unit)
{
    QString d = path.fillRule() == Qt::WindingFill ? QStringLiteral("F 1") : QStringLiteral("F 0");
    const auto point = [unit](const QPainterPath::Element& e) {
        return Num(e.x * unit) + QLatin1Char(',') + Num(e.y * unit);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += QStringLiteral(" M ") + point(e);
        else if (e.isLineTo())
            d += QStringLiteral(" L ") + point(e);
        else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            d += QStringLiteral(" C ") + point(e) + QLatin1Char(' ') + point(path.elementAt(i + 1))
                + QLatin1Char(' ') + point(path.elementAt(i + 2));
            i += 2;
        }
    }
    return d;
}

QString Relationship(const QString& id, const QString& type, const QString& target)
{
    return QStringLiteral("  <Relationship Id=\"%1\" Type=\"%2\" Target=\"%3\"/>\n").arg(id, type, target);
}

[[noreturn]] void ZipFailed(const QString& reason)
{
    throw zor::Error(QStringLiteral("FileWrite"), QStringLiteral("XPS"), reason);
}

// The functions of libzip the package is written with.
struct TZipApi {
    decltype(&zip_error_init) error_init;
    decltype(&zip_error_fini) error_fini;
    decltype(&zip_error_strerror) error_strerror;
    decltype(&zip_source_buffer_create) source_buffer_create;
    decltype(&zip_open_from_source) open_from_source;
    decltype(&zip_source_keep) source_keep;
    decltype(&zip_source_free) source_free;
    decltype(&zip_discard) discard;
    decltype(&zip_source_buffer) source_buffer;
    decltype(&zip_strerror) strerror;
    decltype(&zip_file_add) file_add;
    decltype(&zip_close) close;
    decltype(&zip_source_stat) source_stat;
    decltype(&zip_source_open) source_open;
    decltype(&zip_source_read) source_read;
    decltype(&zip_source_close) source_close;
};

std::optional<TZipApi> LoadZip()
{
    const zor::TLazyLibrary library(QUINDLE_ZIP_LIBRARY);
    TZipApi z {};
    const bool found = library.Resolve(z.error_init, "zip_error_init")
        && library.Resolve(z.error_fini, "zip_error_fini")
        && library.Resolve(z.error_strerror, "zip_error_strerror")
        && library.Resolve(z.source_buffer_create, "zip_source_buffer_create")
        && library.Resolve(z.open_from_source, "zip_open_from_source")
        && library.Resolve(z.source_keep, "zip_source_keep")
        && library.Resolve(z.source_free, "zip_source_free") && library.Resolve(z.discard, "zip_discard")
        && library.Resolve(z.source_buffer, "zip_source_buffer")
        && library.Resolve(z.strerror, "zip_strerror") && library.Resolve(z.file_add, "zip_file_add")
        && library.Resolve(z.close, "zip_close") && library.Resolve(z.source_stat, "zip_source_stat")
        && library.Resolve(z.source_open, "zip_source_open")
        && library.Resolve(z.source_read, "zip_source_read")
        && library.Resolve(z.source_close, "zip_source_close");
    return found ? std::optional(z) : std::nullopt;
}

// libzip, loaded when the first XPS package is written.
const TZipApi& Zip()
{
    static const std::optional<TZipApi> zip = LoadZip();
    if (!zip)
        ZipFailed(QStringLiteral("cannot load %1").arg(QLatin1String(QUINDLE_ZIP_LIBRARY)));
    return *zip;
}

// The package built in memory: members are added, then the archive's bytes read back.
class TZip {
public:
    TZip()
        : fApi(Zip())
    {
        zip_error_t error;
        fApi.error_init(&error);
        fSource = fApi.source_buffer_create(nullptr, 0, 0, &error);
        fZip = fSource ? fApi.open_from_source(fSource, ZIP_TRUNCATE, &error) : nullptr;
        if (!fZip) {
            const QString reason = QString::fromUtf8(fApi.error_strerror(&error));
            fApi.error_fini(&error);
            if (fSource)
                fApi.source_free(fSource);
            ZipFailed(reason);
        }
        fApi.error_fini(&error);
        fApi.source_keep(fSource); // the bytes are read from it after zip_close
    }
    ~TZip()
    {
        if (fZip)
            fApi.discard(fZip);
        fApi.source_free(fSource);
    }
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    void Add(const QString& name, const QByteArray& bytes)
    {
        void* copy = std::malloc(size_t(std::max<qsizetype>(bytes.size(), 1)));
        if (!copy)
            ZipFailed(QStringLiteral("out of memory"));
        std::memcpy(copy, bytes.constData(), size_t(bytes.size()));
        zip_source_t* src = fApi.source_buffer(fZip, copy, zip_uint64_t(bytes.size()), 1);
        if (!src) {
            std::free(copy);
            ZipFailed(QString::fromUtf8(fApi.strerror(fZip)));
        }
        if (fApi.file_add(fZip, name.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            fApi.source_free(src);
            ZipFailed(QString::fromUtf8(fApi.strerror(fZip)));
        }
    }

    QByteArray Finish()
    {
        if (fApi.close(fZip) < 0)
            ZipFailed(QString::fromUtf8(fApi.strerror(fZip)));
        fZip = nullptr;
        zip_stat_t st;
        if (fApi.source_stat(fSource, &st) < 0 || fApi.source_open(fSource) < 0)
            ZipFailed(QStringLiteral("cannot read the package back"));
        QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
        const zip_int64_t read = fApi.source_read(fSource, bytes.data(), st.size);
        fApi.source_close(fSource);
        if (read != zip_int64_t(st.size))
            ZipFailed(QStringLiteral("cannot read the package back"));
        return bytes;
    }

private:
    const TZipApi& fApi;
    zip_source_t* fSource = nullptr;
    zip_t* fZip = nullptr;
};

} // namespace

namespace zor {

// Turns every painting call into filled paths and image brushes on the document's page.
class TXpsEngine : public QPaintEngine {
public:
    explicit TXpsEngine(TXpsDocument& doc)
        : QPaintEngine(PaintEngineFeatures(AllFeatures))
        , fDoc(doc)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override { }
    Type type() const override { return QPaintEngine::User; }

    void drawPath(const QPainterPath& path) override
    {
        const QTransform t = painter()->transform();
        const QBrush brush = painter()->brush();
        if (brush.style() != Qt::NoBrush)
            Fill(t.map(path), brush.color());
        const QPen pen = painter()->pen();
        if (pen.style() == Qt::NoPen)
            return;
        QPainterPathStroker stroker(pen);
        if (pen.isCosmetic()) {
            stroker.setWidth(std::max(1.0, pen.widthF()));
            Fill(stroker.createStroke(t.map(path)), pen.color());
        } else {
            Fill(t.map(stroker.createStroke(path)), pen.color());
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        if (mode != PolylineMode)
            path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        if (mode == PolylineMode) {
            const QBrush keep = painter()->brush();
            painter()->setBrush(Qt::NoBrush);
            drawPath(path);
            painter()->setBrush(keep);
            return;
        }
        drawPath(path);
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        const QString part = fDoc.AddImage(image.copy(sr.toAlignedRect()));
        const double u = fDoc.Unit();
        const QTransform t = painter()->transform();
        const QSize size = sr.toAlignedRect().size();
        fDoc.Append(
            QStringLiteral(
                "<Path RenderTransform=\"%1,%2,%3,%4,%5,%6\" Data=\"M %7,%8 L %9,%8 %9,%10 %7,%10 Z\">"
                "<Path.Fill><ImageBrush ImageSource=\"%11\" Viewbox=\"0,0,%12,%13\" "
                "ViewboxUnits=\"Absolute\" Viewport=\"%7,%8,%14,%15\" ViewportUnits=\"Absolute\" "
                "TileMode=\"None\"/></Path.Fill></Path>\n")
                .arg(Num(t.m11()), Num(t.m12()), Num(t.m21()), Num(t.m22()), Num(t.dx() * u), Num(t.dy() * u))
                .arg(Num(r.left() * u), Num(r.top() * u), Num(r.right() * u), Num(r.bottom() * u))
                .arg(part, Num(size.width()), Num(size.height()), Num(r.width() * u), Num(r.height() * u)));
    }

private:
    void Fill(const QPainterPath& devicePath, const QColor& color)
    {
        if (devicePath.isEmpty() || color.alpha() == 0)
            return;
        fDoc.Append(QStringLiteral("<Path Data=\"%1\" Fill=\"%2\"/>\n")
                        .arg(PathData(devicePath, fDoc.Unit()), Argb(color)));
    }

    TXpsDocument& fDoc;
};

TXpsDocument::TXpsDocument(const QSizeF& pageMM, int dpi)
    : fPageMM(pageMM)
    , fDpi(dpi)
    , fEngine(std::make_unique<TXpsEngine>(*this))
{
}

TXpsDocument::~TXpsDocument() = default;

QPaintEngine* TXpsDocument::paintEngine() const
{
    return fEngine.get();
}

bool TXpsDocument::newPage()
{
    fPages.append(QString());
    return true;
}

void TXpsDocument::Append(const QString& markup)
{
    fPages.last() += markup;
}

QString TXpsDocument::AddImage(const QImage& image)
{
    QImage copy = image;
    // The image brush's view box counts in 1/96 inch at the image's own resolution.
    copy.setDotsPerMeterX(int(DotsPerMetre96));
    copy.setDotsPerMeterY(int(DotsPerMetre96));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    copy.save(&buffer, "PNG");
    fImages.push_back(png);
    return QStringLiteral("/Resources/Images/%1.png").arg(fImages.size());
}

int TXpsDocument::metric(PaintDeviceMetric metric) const
{
    const double mmPerInch = 25.4;
    switch (metric) {
    case PdmWidth:
        return int(fPageMM.width() * fDpi / mmPerInch);
    case PdmHeight:
        return int(fPageMM.height() * fDpi / mmPerInch);
    case PdmWidthMM:
        return int(fPageMM.width());
    case PdmHeightMM:
        return int(fPageMM.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return fDpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

QString TXpsDocument::PageMarkup(const QString& body) const
{
    const double toUnits = 96.0 / 25.4;
    return QString::fromLatin1(XmlHead)
        + QStringLiteral("<FixedPage xmlns=\"%1\" xml:lang=\"en-US\" Width=\"%2\" Height=\"%3\">\n")
              .arg(QLatin1String(XpsNamespace), Num(fPageMM.width() * toUnits),
                  Num(fPageMM.height() * toUnits))
        + body + QStringLiteral("</FixedPage>\n");
}

QByteArray TXpsDocument::Package() const
{
    const QString rels = QString::fromLatin1(XmlHead)
        + QStringLiteral("<Relationships xmlns=\"%1\">\n").arg(QLatin1String(RelsNamespace));
    const QString required = QStringLiteral("http://schemas.microsoft.com/xps/2005/06/required-resource");
    TZip zip;
    zip.Add(QStringLiteral("[Content_Types].xml"),
        QByteArray(XmlHead)
            + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">\n"
              "  <Default Extension=\"rels\" "
              "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
              "  <Default Extension=\"fdseq\" "
              "ContentType=\"application/vnd.ms-package.xps-fixeddocumentsequence+xml\"/>\n"
              "  <Default Extension=\"fdoc\" "
              "ContentType=\"application/vnd.ms-package.xps-fixeddocument+xml\"/>\n"
              "  <Default Extension=\"fpage\" "
              "ContentType=\"application/vnd.ms-package.xps-fixedpage+xml\"/>\n"
              "  <Default Extension=\"png\" ContentType=\"image/png\"/>\n"
              "</Types>\n");
    zip.Add(QStringLiteral("_rels/.rels"),
        (rels
            + Relationship(QStringLiteral("R0"),
                QStringLiteral("http://schemas.microsoft.com/xps/2005/06/fixedrepresentation"),
                QStringLiteral("/FixedDocumentSequence.fdseq"))
            + QStringLiteral("</Relationships>\n"))
            .toUtf8());
    zip.Add(QStringLiteral("FixedDocumentSequence.fdseq"),
        (QString::fromLatin1(XmlHead)
            + QStringLiteral("<FixedDocumentSequence xmlns=\"%1\">\n  <DocumentReference "
                             "Source=\"/Documents/1/FixedDocument.fdoc\"/>\n</FixedDocumentSequence>\n")
                  .arg(QLatin1String(XpsNamespace)))
            .toUtf8());
    QString fdoc = QString::fromLatin1(XmlHead)
        + QStringLiteral("<FixedDocument xmlns=\"%1\">\n").arg(QLatin1String(XpsNamespace));
    for (qsizetype p = 1; p <= fPages.size(); ++p) {
        fdoc += QStringLiteral("  <PageContent Source=\"/Documents/1/Pages/%1.fpage\"/>\n").arg(p);
        const QString& body = fPages[p - 1];
        zip.Add(QStringLiteral("Documents/1/Pages/%1.fpage").arg(p), PageMarkup(body).toUtf8());
        QString pageRels = rels;
        for (size_t i = 1; i <= fImages.size(); ++i) {
            const QString part = QStringLiteral("/Resources/Images/%1.png").arg(i);
            if (body.contains(QLatin1Char('"') + part + QLatin1Char('"')))
                pageRels += Relationship(QStringLiteral("R%1").arg(i), required, part);
        }
        zip.Add(QStringLiteral("Documents/1/Pages/_rels/%1.fpage.rels").arg(p),
            (pageRels + QStringLiteral("</Relationships>\n")).toUtf8());
    }
    zip.Add(QStringLiteral("Documents/1/FixedDocument.fdoc"),
        (fdoc + QStringLiteral("</FixedDocument>\n")).toUtf8());
    for (size_t i = 1; i <= fImages.size(); ++i)
        zip.Add(QStringLiteral("Resources/Images/%1.png").arg(i), fImages[i - 1]);
    return zip.Finish();
}

} // namespace zor
