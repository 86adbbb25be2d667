#pragma once

#include "Zor.RtlExport.h"

#include <QString>

#include <cstdint>
#include <vector>

// One tile of a map to compose: where to fetch it and where it goes in the composed image.
struct QUINDLE_RTL_EXPORT TZORTileInfo {
    QString Url; // empty: there is no tile here (beyond the poles)
    int32_t X = 0; // pixel position of the tile's top-left corner in the composed image
    int32_t Y = 0;
};

// Map tile providers, by the number the map dialog lists them with.
enum class TZORMapProvider : uint8_t {
    OpenStreetMap = 0,
    CartoDB = 1,
    ESRI = 2,
    OpenTopo = 3,
    SIGPAC = 4,
    IGNBase = 5,
    IGNOrtho = 6,
    GoogleRoad = 7,
    GoogleSatellite = 8,
    GoogleTerrain = 9,
    GoogleHybrid = 10,
    HereNormal = 11,
    CartoDarkMatter = 12,
    CartoVoyager = 13,
};

// The label's map settings and the tile plan of the map being composed. Maps are Web-Mercator
// tiles of 256 pixels; each provider has a URL template with {z}, {x}, {y} and {key}. The
// composed image is a PNG file in the label's image folder, named by FileNameFor.
class QUINDLE_RTL_EXPORT TZORMapping {
public:
    static constexpr int32_t ProviderCount = 14;
    static constexpr int32_t MaxZoom = 20;
    static constexpr int32_t TileSize = 256;
    // Largest side of a composed image, in pixels: (4096 / 256 + 1)² tiles at most.
    static constexpr int32_t MaxImageSide = 4096;
    // The Web-Mercator projection ends at this latitude, north and south.
    static constexpr double MaxLatitude = 85.0511287798;
    // Sent with every tile request.
    static constexpr const char* UserAgent = "QUINDLE_VCL/1.0 (https://github.com/quindle/quindle)";

    // The list text of provider p; empty for a number of no provider.
    static QString ProviderName(int32_t p);

    // Providers offered to the user: bit i = provider i.
    uint16_t GetProviders() const { return fProviders; }
    void SetProviders(uint16_t p) { fProviders = p; }
    int32_t GetProvider() const { return fProvider; }
    // A number of no provider is ignored.
    void SetProvider(int32_t p);
    int32_t GetZoom() const { return fZoom; }
    // Kept within 0 to MaxZoom.
    void SetZoom(int32_t z);
    double GetLatitude() const { return fLatitude; }
    void SetLatitude(double v) { fLatitude = v; }
    double GetLongitude() const { return fLongitude; }
    void SetLongitude(double v) { fLongitude = v; }
    // The key of the geocoding service and of providers that need one.
    const QString& GetKey() const { return fKey; }
    void SetKey(const QString& k) { fKey = k; }
    bool GetShowCenter() const { return fShowCenter; }
    void SetShowCenter(bool s) { fShowCenter = s; }
    // Set by LoadMap; cleared when the map job has ended, whatever its outcome.
    bool GetBusy() const { return fBusy; }
    void SetBusy(bool b) { fBusy = b; }
    // The last composed image, relative to the label's image folder.
    const QString& GetFileName() const { return fFileName; }
    void SetFileName(const QString& f) { fFileName = f; }

    // Scheme, host and port that replace every provider's own ("http://127.0.0.1:8080"), for a
    // tile cache or proxy of the host's, or a test server; empty: each provider's own.
    const QString& GetBaseUrl() const { return fBaseUrl; }
    void SetBaseUrl(const QString& url) { fBaseUrl = url; }
    // Time-outs of one tile request, milliseconds: to connect, and for the whole transfer.
    int32_t GetConnectTimeout() const { return fConnectTimeout; }
    void SetConnectTimeout(int32_t ms) { fConnectTimeout = ms > 0 ? ms : fConnectTimeout; }
    int32_t GetTimeout() const { return fTimeout; }
    void SetTimeout(int32_t ms) { fTimeout = ms > 0 ? ms : fTimeout; }

    // Plans the tiles of a map of width x height pixels centred on the place, at the current
    // zoom and provider. The coordinates are decimal texts with "." or "," as separator. False,
    // with the plan and the place unchanged, for a text that is no number, a place outside the
    // projection, a size outside 1 to MaxImageSide or no provider; true sets the busy flag.
    bool LoadMap(const QString& latitude, const QString& longitude, int32_t width, int32_t height);
    int32_t GetTileCount() const { return int32_t(fTiles.size()); }
    // Tile t (0-based) of the plan; an empty tile out of range.
    TZORTileInfo GetTile(int32_t t) const;
    const std::vector<TZORTileInfo>& Tiles() const { return fTiles; }
    int32_t GetWidth() const { return fWidth; }
    int32_t GetHeight() const { return fHeight; }

    // The scale 1:n of the composed map printed at 96 pixels per inch (the ground length of one
    // of its pixels at the latitude and zoom of the last plan, over a pixel's length on paper),
    // at least 1.
    int32_t ScaleAt96Dpi() const;

    // The URL of tile (x, y) at the current zoom and provider; x wraps around the world,
    // a y beyond the poles has no tile (empty).
    QString TileUrl(int64_t x, int64_t y) const;

    // The file name of a composed map: the two coordinate texts without their decimal separators
    // (signs kept, so that places east and west of Greenwich differ), the zoom, ".png"; every
    // character but digits and "-" is dropped, so the name never leaves the image folder.
    // ("40.4168", "-3.7038", 15) gives "404168_-37038_15.png".
    static QString FileNameFor(const QString& latitude, const QString& longitude, int32_t zoom);
    // A decimal number typed with "." or "," as separator; false for anything else.
    static bool ParseCoordinate(const QString& text, double& value);

private:
    uint16_t fProviders = (1u << ProviderCount) - 1;
    int32_t fProvider = 0;
    int32_t fZoom = 15;
    double fLatitude = 0.0;
    double fLongitude = 0.0;
    QString fKey;
    bool fShowCenter = false;
    bool fBusy = false;
    QString fFileName;
    QString fBaseUrl;
    int32_t fConnectTimeout = 10000;
    int32_t fTimeout = 30000;
    std::vector<TZORTileInfo> fTiles;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
};
