#include "Zor.TileJob.h"

#include "Zor.LazyLibrary.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <curl/curl.h>
#include <memory>
#include <optional>

namespace zor {

namespace {

// A tile is 256 pixels; anything much larger is not a tile and would only cost memory.
constexpr int MaxTileSide = 4 * TZORMapping::TileSize;
constexpr int CrossHalf = 10;
// An XML reply is a server's error report; this much of it goes into the message.
constexpr qsizetype MaxReportChars = 300;

// The functions of libcurl the tile job calls.
struct TCurl {
    decltype(&curl_global_init) global_init;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_info_read) multi_info_read;
};

std::optional<TCurl> LoadCurl()
{
    const TLazyLibrary library(QUINDLE_CURL_LIBRARY);
    TCurl c {};
    const bool found = library.Resolve(c.global_init, "curl_global_init")
        && library.Resolve(c.easy_init, "curl_easy_init")
        && library.Resolve(c.easy_cleanup, "curl_easy_cleanup")
        && library.Resolve(c.easy_setopt, "curl_easy_setopt")
        && library.Resolve(c.easy_getinfo, "curl_easy_getinfo")
        && library.Resolve(c.easy_strerror, "curl_easy_strerror")
        && library.Resolve(c.multi_init, "curl_multi_init")
        && library.Resolve(c.multi_cleanup, "curl_multi_cleanup")
        && library.Resolve(c.multi_add_handle, "curl_multi_add_handle")
        && library.Resolve(c.multi_remove_handle, "curl_multi_remove_handle")
        && library.Resolve(c.multi_perform, "curl_multi_perform")
        && library.Resolve(c.multi_poll, "curl_multi_poll")
        && library.Resolve(c.multi_info_read, "curl_multi_info_read");
    if (!found || c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return std::nullopt;
    return c;
}

// libcurl, loaded and initialised when the first map is downloaded, or null when it cannot be.
const TCurl* Curl()
{
    static const std::optional<TCurl> curl = LoadCurl();
    return curl ? &*curl : nullptr;
}

struct TMultiFree {
    void operator()(CURLM* m) const { Curl()->multi_cleanup(m); }
};
struct TEasyFree {
    void operator()(CURL* e) const { Curl()->easy_cleanup(e); }
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
    const auto set = Curl()->easy_setopt;
    set(e, CURLOPT_URL, t.Url.constData());
    set(e, CURLOPT_WRITEFUNCTION, &Collect);
    set(e, CURLOPT_WRITEDATA, &t);
    set(e, CURLOPT_ERRORBUFFER, t.ErrorText);
    set(e, CURLOPT_NOSIGNAL, 1L);
    set(e, CURLOPT_CONNECTTIMEOUT_MS, long(o.ConnectTimeout));
    set(e, CURLOPT_TIMEOUT_MS, long(o.Timeout));
    set(e, CURLOPT_USERAGENT, o.UserAgent.constData());
    set(e, CURLOPT_FOLLOWLOCATION, 1L);
    set(e, CURLOPT_MAXREDIRS, 5L);
    set(e, CURLOPT_PROTOCOLS_STR, "http,https");
    set(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(e, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
}

void Finish(TTransfer& t, CURLcode code)
{
    THttpReply& r = *t.Reply;
    if (code != CURLE_OK) {
        r.Error = t.TooLarge ? QStringLiteral("reply larger than %1 bytes").arg(t.MaxBytes)
            : t.ErrorText[0] ? QString::fromUtf8(t.ErrorText)
                             : QString::fromUtf8(Curl()->easy_strerror(code));
        r.Body.clear();
        return;
    }
    Curl()->easy_getinfo(t.Easy.get(), CURLINFO_RESPONSE_CODE, &r.Status);
    const char* type = nullptr;
    Curl()->easy_getinfo(t.Easy.get(), CURLINFO_CONTENT_TYPE, &type);
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
    std::vector<THttpReply> replies(size_t(urls.size()));
    const TCurl* curl = Curl();
    if (!curl) {
        for (THttpReply& r : replies)
            r.Error
                = QStringLiteral("cannot load the HTTP client (%1)").arg(QLatin1String(QUINDLE_CURL_LIBRARY));
        return replies;
    }
    std::vector<TTransfer> transfers(size_t(urls.size()));
    std::unique_ptr<CURLM, TMultiFree> multi(curl->multi_init());
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
        t.Easy.reset(curl->easy_init());
        if (!t.Easy) {
            replies[i].Error = QStringLiteral("cannot start the HTTP client");
            continue;
        }
        Prepare(t, options);
        curl->easy_setopt(t.Easy.get(), CURLOPT_PRIVATE, &t);
        curl->multi_add_handle(multi.get(), t.Easy.get());
    }
    // Every transfer has its own time-out, so this loop ends.
    int running = 0;
    do {
        if (curl->multi_perform(multi.get(), &running) != CURLM_OK)
            break;
        if (running > 0)
            curl->multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    } while (running > 0);
    int left = 0;
    while (CURLMsg* msg = curl->multi_info_read(multi.get(), &left)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        TTransfer* t = nullptr;
        curl->easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &t);
        if (t)
            Finish(*t, msg->data.result);
    }
    for (TTransfer& t : transfers)
        if (t.Easy)
            curl->multi_remove_handle(multi.get(), t.Easy.get());
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
