#pragma once

#include "Zor.Mapping.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The map tile job: tiles are downloaded with libcurl (all of them at once, each with its
// time-outs), drawn into one white image by the type their server says they are, and the
// failures collected as texts instead of reaching the user.
namespace zor {

struct QUINDLE_VCL_EXPORT THttpOptions {
    int32_t ConnectTimeout = 10000; // milliseconds
    int32_t Timeout = 30000; // milliseconds for the whole transfer
    QByteArray UserAgent = TZORMapping::UserAgent;
    int64_t MaxBytes = 16 << 20; // a larger reply is cut off and fails
};

// The options of a mapping's time-outs.
QUINDLE_VCL_EXPORT THttpOptions HttpOptions(const TZORMapping& mapping);

struct QUINDLE_VCL_EXPORT THttpReply {
    long Status = 0; // 0 when no answer came
    QByteArray ContentType; // as the server sent it
    QByteArray Body;
    QString Error; // why the transfer failed (time-out, refused, too large); empty when it ended
};

// GETs every URL at once and waits for all of them; one reply per URL, in order. Redirects are
// followed (HTTP and HTTPS only); loopback addresses never go through a proxy.
QUINDLE_VCL_EXPORT std::vector<THttpReply> HttpGetAll(const QStringList& urls, const THttpOptions& options);

// Draws the reply of tile number index at its place on image by its content type: PNG and
// JPEG images are drawn, other image types ignored. Empty when done, else the failure: another
// status than 200, an XML reply (a map server's error report), no image, bytes that do not
// decode, or a transfer that failed.
QUINDLE_VCL_EXPORT QString DrawTile(
    QImage& image, const TZORTileInfo& tile, int32_t index, const THttpReply& reply);

// The composed map: width x height pixels, white, with every tile that came and decoded, and a
// red cross of 20 pixels on the centre with showCenter. Tiles without a URL are not requested.
// errors receives a text for each failed tile.
QUINDLE_VCL_EXPORT QImage ComposeMap(const std::vector<TZORTileInfo>& tiles, int32_t width, int32_t height,
    bool showCenter, const THttpOptions& options, QStringList& errors);

} // namespace zor
