#include "Zor.Mapping.h"

#include <QLocale>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct TProvider {
    const char* Name;
    const char* Host; // scheme and host, replaced by the base URL
    const char* Path; // the rest of the template
};

// Indexed by TZORMapProvider. The Spanish services answer the same Web-Mercator grid through
// their WMTS "GoogleMapsCompatible" tile matrix set.
constexpr TProvider Providers[TZORMapping::ProviderCount] = {
    { "OpenStreetMap", "https://tile.openstreetmap.org", "/{z}/{x}/{y}.png" },
    { "CartoDB", "https://a.basemaps.cartocdn.com", "/light_all/{z}/{x}/{y}.png" },
    { "ESRI", "https://server.arcgisonline.com",
        "/ArcGIS/rest/services/World_Imagery/MapServer/tile/{z}/{y}/{x}" },
    { "OpenTopo", "https://a.tile.opentopomap.org", "/{z}/{x}/{y}.png" },
    { "SIGPAC", "https://sigpac-hubcloud.es",
        "/wmts?service=WMTS&request=GetTile&version=1.0.0&layer=recinto&style=default"
        "&tilematrixset=GoogleMapsCompatible&format=image/png&tilematrix={z}&tilerow={y}&tilecol={x}" },
    { "IGN - Mapa Base", "https://www.ign.es",
        "/wmts/ign-base?service=WMTS&request=GetTile&version=1.0.0&layer=IGNBaseTodo&style=default"
        "&tilematrixset=GoogleMapsCompatible&format=image/jpeg&tilematrix={z}&tilerow={y}&tilecol={x}" },
    { "IGN - Ortofoto PNOA", "https://www.ign.es",
        "/wmts/pnoa-ma?service=WMTS&request=GetTile&version=1.0.0&layer=OI.OrthoimageCoverage&style=default"
        "&tilematrixset=GoogleMapsCompatible&format=image/jpeg&tilematrix={z}&tilerow={y}&tilecol={x}" },
    { "Google Maps - Road", "https://mt1.google.com", "/vt/lyrs=m&x={x}&y={y}&z={z}" },
    { "Google Maps - Satellite", "https://mt1.google.com", "/vt/lyrs=s&x={x}&y={y}&z={z}" },
    { "Google Maps - Terrain", "https://mt1.google.com", "/vt/lyrs=p&x={x}&y={y}&z={z}" },
    { "Google Maps - Hybrid", "https://mt1.google.com", "/vt/lyrs=y&x={x}&y={y}&z={z}" },
    { "Here Maps - Normal", "https://maps.hereapi.com", "/v3/base/mc/{z}/{x}/{y}/png?apiKey={key}" },
    { "Carto - Dark Matter", "https://a.basemaps.cartocdn.com", "/dark_all/{z}/{x}/{y}.png" },
    { "Carto - Voyager", "https://a.basemaps.cartocdn.com", "/rastertiles/voyager/{z}/{x}/{y}.png" },
};

bool IsProvider(int32_t p)
{
    return p >= 0 && p < TZORMapping::ProviderCount;
}

// Floor division for tile indices, which are negative left of and above the world's origin.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The place in world pixels at zoom z (Web Mercator).
struct TWorldPoint {
    double X;
    double Y;
};

TWorldPoint WorldPixel(double latitude, double longitude, int32_t z)
{
    const double world = double(TZORMapping::TileSize) * double(int64_t(1) << z);
    const double lat = latitude * std::numbers::pi / 180.0;
    return { (longitude + 180.0) / 360.0 * world,
        (1.0 - std::asinh(std::tan(lat)) / std::numbers::pi) / 2.0 * world };
}

} // namespace

QString TZORMapping::ProviderName(int32_t p)
{
    return IsProvider(p) ? QString::fromLatin1(Providers[p].Name) : QString();
}

void TZORMapping::SetProvider(int32_t p)
{
    if (IsProvider(p))
        fProvider = p;
}

void TZORMapping::SetZoom(int32_t z)
{
    fZoom = std::clamp(z, 0, MaxZoom);
}

bool TZORMapping::ParseCoordinate(const QString& text, double& value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

QString TZORMapping::TileUrl(int64_t x, int64_t y) const
{
    const int64_t n = int64_t(1) << fZoom;
    if (y < 0 || y >= n || !IsProvider(fProvider))
        return {};
    const TProvider& p = Providers[fProvider];
    QString url = (fBaseUrl.isEmpty() ? QString::fromLatin1(p.Host) : fBaseUrl) + QString::fromLatin1(p.Path);
    url.replace(QLatin1String("{z}"), QString::number(fZoom));
    url.replace(QLatin1String("{x}"), QString::number(((x % n) + n) % n));
    url.replace(QLatin1String("{y}"), QString::number(y));
    url.replace(QLatin1String("{key}"), QString::fromLatin1(QUrl::toPercentEncoding(fKey)));
    return url;
}

bool TZORMapping::LoadMap(const QString& latitude, const QString& longitude, int32_t width, int32_t height)
{
    double lat = 0.0, lon = 0.0;
    if (!ParseCoordinate(latitude, lat) || !ParseCoordinate(longitude, lon) || std::abs(lat) > MaxLatitude
        || std::abs(lon) > 180.0 || width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide
        || !IsProvider(fProvider))
        return false;
    const TWorldPoint centre = WorldPixel(lat, lon, fZoom);
    const int64_t left = int64_t(std::floor(centre.X)) - width / 2;
    const int64_t top = int64_t(std::floor(centre.Y)) - height / 2;
    std::vector<TZORTileInfo> tiles;
    for (int64_t ty = FloorDiv(top, TileSize); ty <= FloorDiv(top + height - 1, TileSize); ++ty)
        for (int64_t tx = FloorDiv(left, TileSize); tx <= FloorDiv(left + width - 1, TileSize); ++tx)
            tiles.push_back({ TileUrl(tx, ty), int32_t(tx * TileSize - left), int32_t(ty * TileSize - top) });
    fTiles = std::move(tiles);
    fWidth = width;
    fHeight = height;
    fLatitude = lat;
    fLongitude = lon;
    fBusy = true;
    return true;
}

int32_t TZORMapping::ScaleAt96Dpi() const
{
    constexpr double EquatorMetresPerPixel = 2 * std::numbers::pi * 6378137.0 / TileSize; // at zoom 0
    constexpr double PaperMetresPerPixel = 0.0254 / 96;
    const double ground = EquatorMetresPerPixel * std::cos(fLatitude * std::numbers::pi / 180.0) / std::ldexp(1.0, fZoom);
    const double scale = std::round(ground / PaperMetresPerPixel);
    return std::isfinite(scale) ? int32_t(std::clamp(scale, 1.0, double(INT32_MAX))) : 1;
}

TZORTileInfo TZORMapping::GetTile(int32_t t) const
{
    return t >= 0 && t < GetTileCount() ? fTiles[size_t(t)] : TZORTileInfo {};
}

QString TZORMapping::FileNameFor(const QString& latitude, const QString& longitude, int32_t zoom)
{
    const auto clean = [](const QString& text) {
        QString out;
        for (const QChar c : text)
            if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-'))
                out += c;
        return out;
    };
    return clean(latitude) + QLatin1Char('_') + clean(longitude) + QLatin1Char('_') + QString::number(zoom)
        + QLatin1String(".png");
}
