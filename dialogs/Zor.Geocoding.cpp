#include "Zor.Geocoding.h"

#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>

#include <cmath>
#include <memory>

namespace zor {

namespace {

QString Encoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// A coordinate as the services send it: a JSON number, or a text with a decimal point (never
// read in the user's locale).
bool Coordinate(const QJsonValue& v, double& out)
{
    bool ok = v.isDouble();
    double value = v.toDouble();
    if (v.isString())
        value = v.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

TGeocodeResult Place(const QJsonValue& lat, const QJsonValue& lon)
{
    TGeocodeResult r;
    r.Found = Coordinate(lat, r.Latitude) && Coordinate(lon, r.Longitude) && std::abs(r.Latitude) <= 90.0
        && std::abs(r.Longitude) <= 180.0;
    return r;
}

TGeocodeResult Failed(const QString& error)
{
    TGeocodeResult r;
    r.Error = error;
    return r;
}

// Both services get the product's name: Nominatim's usage policy asks every program to name
// itself.
THttpOptions Options()
{
    const TGeocodingSettings& s = GeocodingSettings();
    THttpOptions o;
    o.ConnectTimeout = s.ConnectTimeout;
    o.Timeout = s.Timeout;
    o.MaxBytes = s.MaxBytes;
    return o;
}

TGeocodeResult Geocode(TGeocoder service, const QString& url, const THttpOptions& options)
{
    const std::vector<THttpReply> replies = HttpGetAll({ url }, options);
    return ReadGeocodeReply(service, replies.front());
}

} // namespace

TGeocodingSettings& GeocodingSettings()
{
    static TGeocodingSettings settings = [] {
        TGeocodingSettings s;
        s.BuiltInKey = qEnvironmentVariable("QUINDLE_GOOGLE_MAPS_KEY");
        return s;
    }();
    return settings;
}

QString GeocodingUrl(TGeocoder service, const QString& place, const QString& key)
{
    const TGeocodingSettings& s = GeocodingSettings();
    if (service == TGeocoder::Google)
        return s.GoogleUrl + QStringLiteral("/maps/api/geocode/json?address=%1&key=%2").arg(Encoded(place), Encoded(key));
    return s.NominatimUrl + QStringLiteral("/search?q=%1&format=json&limit=1").arg(Encoded(place));
}

TGeocodeResult ReadGeocodeReply(TGeocoder service, const THttpReply& reply)
{
    if (!reply.Error.isEmpty())
        return Failed(reply.Error);
    if (reply.Status != 200)
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reply.Body, &error);
    if (error.error != QJsonParseError::NoError)
        return Failed(error.errorString());
    if (service == TGeocoder::Nominatim) {
        const QJsonObject first = document.array().at(0).toObject();
        return Place(first.value(QLatin1String("lat")), first.value(QLatin1String("lon")));
    }
    const QJsonObject location = document.object()
                                     .value(QLatin1String("results"))
                                     .toArray()
                                     .at(0)
                                     .toObject()
                                     .value(QLatin1String("geometry"))
                                     .toObject()
                                     .value(QLatin1String("location"))
                                     .toObject();
    return Place(location.value(QLatin1String("lat")), location.value(QLatin1String("lng")));
}

void GeocodeAsync(TGeocoder service, const QString& place, const QString& key, QObject* context,
    std::function<void(const TGeocodeResult&)> done)
{
    auto promise = std::make_shared<QPromise<TGeocodeResult>>();
    auto* watcher = new QFutureWatcher<TGeocodeResult>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start(
        [promise, service, url = GeocodingUrl(service, place, key), options = Options()] {
            promise->addResult(Geocode(service, url, options));
            promise->finish();
        });
}

} // namespace zor
