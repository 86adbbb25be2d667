#include "Zor.TileJob.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace zor {

namespace {

// A tile is 256 pixels; anything much larger is not a tile and would only cost memory.
constexpr int MaxTileSide = 4 * TZORMapping::TileSize;
constexpr int CrossHalf = 10;
// An XML reply is a server's error report; this much of it goes into the message.
constexpr qsizetype MaxReportChars = 300;

void InitCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TMultiFree {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct TEasyFree {
    void operator()(CURL* e) const { curl_easy_cleanup(e); }
};

struct TTransfer {
    std::unique_ptr<CURL, TEasyFree> Easy;
    QByteArray Url;
    THttpReply* Reply = nullptr;
    int64_t MaxBytes = 0;
    bool TooLarge = false;
    char ErrorText[CURL_ERROR_SIZE] = {};
};

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<TTransfer*>(user);
    const size_t n = size * count;
    if (int64_t(t->Reply->Body.size()) + int64_t(n) > t->MaxBytes) {
        t->TooLarge = true;
        return 0; // ends the transfer with a write error
    }
    t->Reply->Body.append(data, qsizetype(n));
    return n;
}

void Prepare(TTransfer& t, const THttpOptions& o)
{
    CURL* e = t.Easy.get();
    curl_easy_setopt(e, CURLOPT_URL, t.Url.constData());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.ErrorText);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(o.ConnectTimeout));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long(o.Timeout));
    curl_easy_setopt(e, CURLOPT_USERAGENT, o.UserAgent.constData());
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
}

void Finish(TTransfer& t, CURLcode code)
{
    THttpReply& r = *t.Reply;
    if (code != CURLE_OK) {
        r.Error = t.TooLarge ? QStringLiteral("reply larger than %1 bytes").arg(t.MaxBytes)
            : t.ErrorText[0] ? QString::fromUtf8(t.ErrorText)
                             : QString::fromUtf8(curl_easy_strerror(code));
        r.Body.clear();
        return;
    }
    curl_easy_getinfo(t.Easy.get(), CURLINFO_RESPONSE_CODE, &r.Status);
    const char* type = nullptr;
    curl_easy_getinfo(t.Easy.get(), CURLINFO_CONTENT_TYPE, &type);
    r.ContentType = type ? QByteArray(type) : QByteArray();
}

// The body decoded as the given format, or why not.
QImage DecodeTile(const QByteArray& body, const char* format, QString& error)
{
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.width() > MaxTileSide || size.height() > MaxTileSide) {
        error = QStringLiteral("tile of %1 x %2 pixels").arg(size.width()).arg(size.height());
        return {};
    }
    QImage tile = reader.read();
    if (tile.isNull())
        error = reader.errorString();
    return tile;
}

} // namespace

THttpOptions HttpOptions(const TZORMapping& mapping)
{
    THttpOptions o;
    o.ConnectTimeout = mapping.GetConnectTimeout();
    o.Timeout = mapping.GetTimeout();
    return o;
}

std::vector<THttpReply> HttpGetAll(const QStringList& urls, const THttpOptions& options)
{
    InitCurl();
    std::vector<THttpReply> replies(size_t(urls.size()));
    std::vector<TTransfer> transfers(size_t(urls.size()));
    std::unique_ptr<CURLM, TMultiFree> multi(curl_multi_init());
    if (!multi) {
        for (THttpReply& r : replies)
            r.Error = QStringLiteral("cannot start the HTTP client");
        return replies;
    }
    for (size_t i = 0; i < transfers.size(); ++i) {
        TTransfer& t = transfers[i];
        t.Url = urls[qsizetype(i)].toUtf8();
        t.Reply = &replies[i];
        t.MaxBytes = options.MaxBytes;
        t.Easy.reset(curl_easy_init());
        if (!t.Easy) {
            replies[i].Error = QStringLiteral("cannot start the HTTP client");
            continue;
        }
        Prepare(t, options);
        curl_easy_setopt(t.Easy.get(), CURLOPT_PRIVATE, &t);
        curl_multi_add_handle(multi.get(), t.Easy.get());
    }
    // Every transfer has its own time-out, so this loop ends.
    int running = 0;
    do {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
            break;
        if (running > 0)
            curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    } while (running > 0);
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        TTransfer* t = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &t);
        if (t)
            Finish(*t, msg->data.result);
    }
    for (TTransfer& t : transfers)
        if (t.Easy)
            curl_multi_remove_handle(multi.get(), t.Easy.get());
    return replies;
}

QString DrawTile(QImage& image, const TZORTileInfo& tile, int32_t index, const THttpReply& reply)
{
    if (!reply.Error.isEmpty())
        return QStringLiteral("Error on tile %1: %2 - URL: %3").arg(index).arg(reply.Error, tile.Url);
    if (reply.Status != 200)
        return QStringLiteral("Error HTTP %1 to load tile %2: %3").arg(reply.Status).arg(index).arg(tile.Url);
    const QByteArray type = reply.ContentType.toLower();
    if (type.contains("xml"))
        return QStringLiteral("Error WMS: ") + QString::fromUtf8(reply.Body).left(MaxReportChars);
    if (!type.contains("image/"))
        return QStringLiteral("Content-Type not expected: ") + QString::fromLatin1(reply.ContentType);
    const char* format = type.contains("image/png") ? "PNG" : type.contains("image/jpeg") ? "JPEG" : nullptr;
    if (!format)
        return {};
    QString error;
    const QImage picture = DecodeTile(reply.Body, format, error);
    if (picture.isNull())
        return QStringLiteral("Error loading image: ") + error;
    QPainter painter(&image);
    painter.drawImage(QPoint(tile.X, tile.Y), picture);
    return {};
}

QImage ComposeMap(const std::vector<TZORTileInfo>& tiles, int32_t width, int32_t height, bool showCenter,
    const THttpOptions& options, QStringList& errors)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QStringList urls;
    std::vector<int32_t> requested;
    for (size_t t = 0; t < tiles.size(); ++t)
        if (!tiles[t].Url.isEmpty()) {
            urls << tiles[t].Url;
            requested.push_back(int32_t(t));
        }
    const std::vector<THttpReply> replies = HttpGetAll(urls, options);
    for (size_t i = 0; i < replies.size(); ++i) {
        const int32_t t = requested[i];
        const QString error = DrawTile(image, tiles[size_t(t)], t, replies[i]);
        if (!error.isEmpty())
            errors << error;
    }
    if (showCenter) {
        // Both strokes reach CrossHalf pixels either side of the centre, their ends included.
        const int cx = width / 2, cy = height / 2;
        QPainter painter(&image);
        painter.fillRect(QRect(cx - CrossHalf, cy, 2 * CrossHalf + 1, 1), Qt::red);
        painter.fillRect(QRect(cx, cy - CrossHalf, 1, 2 * CrossHalf + 1), Qt::red);
    }
    return image;
}

} // namespace zor
