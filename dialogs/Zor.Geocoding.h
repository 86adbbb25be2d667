#pragma once

#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.TileJob.h"

#include <QString>

#include <cstdint>
#include <functional>

class QObject;

// Place search for the map dialog: a place text is sent to a geocoding service and the first
// place of its reply gives latitude and longitude. The request runs on a worker with time-outs,
// so the dialog stays usable while it waits.
namespace zor {

// The services, in the order the map dialog offers them.
enum class TGeocoder : uint8_t { Nominatim = 0, Google = 1 };

// Where the services are and how long they may take; process-wide, set by the host (or a test).
struct QUINDLE_WIDGETS_EXPORT TGeocodingSettings {
    // Scheme, host and port of each service; the paths are the services' own.
    QString NominatimUrl = QStringLiteral("https://nominatim.openstreetmap.org");
    QString GoogleUrl = QStringLiteral("https://maps.googleapis.com");
    // The key the map dialog gives a label's mapping that holds none. It is never part of the
    // sources: the host sets it, or the environment variable QUINDLE_GOOGLE_MAPS_KEY supplies it.
    QString BuiltInKey;
    int32_t ConnectTimeout = 10000; // milliseconds
    int32_t Timeout = 15000; // milliseconds for the whole transfer
    int64_t MaxBytes = 1 << 20; // a larger reply is cut off and fails
};

QUINDLE_WIDGETS_EXPORT TGeocodingSettings& GeocodingSettings();

// The request of a place: the text and the key percent-encoded into the service's query.
QUINDLE_WIDGETS_EXPORT QString GeocodingUrl(TGeocoder service, const QString& place, const QString& key);

struct QUINDLE_WIDGETS_EXPORT TGeocodeResult {
    bool Found = false;
    double Latitude = 0.0;
    double Longitude = 0.0;
    // Why the request failed (no answer, a reply too large, text that is not JSON); empty when
    // the service answered, found or not.
    QString Error;
};

// Reads a reply: only a status of 200 is read; the first place of the reply (Nominatim: an
// array of places with "lat" and "lon"; Google: "results" with "geometry"."location"."lat" and
// "lng"), numbers or decimal texts with a point. Any other shape, an empty list or coordinates
// outside the world find nothing.
QUINDLE_WIDGETS_EXPORT TGeocodeResult ReadGeocodeReply(TGeocoder service, const THttpReply& reply);

// Sends the request on a worker and calls done on context's thread when it has ended; never
// when context is destroyed first.
QUINDLE_WIDGETS_EXPORT void GeocodeAsync(TGeocoder service, const QString& place, const QString& key,
    QObject* context, std::function<void(const TGeocodeResult&)> done);

} // namespace zor
