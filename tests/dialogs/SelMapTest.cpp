#include "dialogs/Zor.Geocoding.h"
#include "dialogs/Zor.Selmap.h"
#include "kit/Widgets.h"
#include "kit/Dialogs.h"
#include "kit/HttpServer.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "label/Zor.Vcl.Shared.Factory.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace zor::test;
using namespace std::chrono_literals;

HttpResponse Json(int status, const QByteArray& body, std::chrono::milliseconds delay = 0ms)
{
    return { status, "application/json", body, delay, {} };
}

const QByteArray MadridNominatim = R"([{"place_id":1,"lat":"40.4168","lon":"-3.7038","display_name":"Madrid"}])";
const QByteArray MadridGoogle
    = R"({"results":[{"geometry":{"location":{"lat":40.4168,"lng":-3.7038}}}],"status":"OK"})";

// The geocoding services of the process pointed at a server for the life of a test.
class ServicesAt {
public:
    ServicesAt(const QString& base, int32_t timeout)
        : fSaved(zor::GeocodingSettings())
    {
        zor::TGeocodingSettings& s = zor::GeocodingSettings();
        s.NominatimUrl = base;
        s.GoogleUrl = base;
        s.ConnectTimeout = timeout;
        s.Timeout = timeout;
    }
    ~ServicesAt() { zor::GeocodingSettings() = fSaved; }
    ServicesAt(const ServicesAt&) = delete;
    ServicesAt& operator=(const ServicesAt&) = delete;

private:
    zor::TGeocodingSettings fSaved;
};

class SelMap : public TempDirTest {
protected:
    void Open(int32_t width = 64, int32_t height = 64, bool showScale = false)
    {
        label.SetImageFolder(DirPath());
        label.Mapping().SetBaseUrl(server.BaseUrl());
        form.Ini(label, showScale, width, height);
    }

    // Types the place, chooses the service and searches; the click returns at once.
    void StartSearch(const QString& place, bool google = false)
    {
        Child<QLineEdit>(form, "edLocation").setText(place);
        Child<QRadioButton>(form, google ? "rbGoogle" : "rbNominatim").setChecked(true);
        Child<QPushButton>(form, "butSearch").click();
    }

    bool Finished() { return QTest::qWaitFor([&] { return !form.Searching(); }, 10000); }

    QString Latitude() { return Child<QLineEdit>(form, "edLatitude").text(); }
    QString Longitude() { return Child<QLineEdit>(form, "edLongitude").text(); }

    TScriptedDialogs dialogs;
    HttpServer server;
    ServicesAt services { server.BaseUrl(), 1500 };
    TZORLabelVCL label;
    TfSelMap form;
};

TEST_F(SelMap, OpensWithTheMappingsPlaceProvidersAndLevel15)
{
    label.Mapping().SetLatitude(40.4168);
    label.Mapping().SetLongitude(-3.7038);
    label.Mapping().SetProviders(0b1000000000101);
    label.Mapping().SetProvider(2);
    Open();
    EXPECT_EQ(Latitude(), QStringLiteral("40,41680"));
    EXPECT_EQ(Longitude(), QStringLiteral("-3,70380"));
    auto& providers = Child<QComboBox>(form, "cbMapProvider");
    ASSERT_EQ(providers.count(), 3);
    EXPECT_EQ(providers.itemText(0), QStringLiteral("OpenStreetMap"));
    EXPECT_EQ(providers.itemText(1), QStringLiteral("ESRI"));
    EXPECT_EQ(providers.itemText(2), QStringLiteral("Carto - Dark Matter"));
    EXPECT_EQ(providers.currentIndex(), 1);
    auto& zoom = Child<QComboBox>(form, "cbZoom");
    ASSERT_EQ(zoom.count(), 21);
    EXPECT_EQ(zoom.currentText(), QStringLiteral("Level 15"));
    EXPECT_EQ(zoom.itemText(0), QStringLiteral("Level 0"));
    EXPECT_FALSE(Child<QPushButton>(form, "butOK").isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(form, "rbNominatim").isChecked());
}

TEST_F(SelMap, NoProviderOfferedLeavesTheListEmpty)
{
    label.Mapping().SetProviders(0);
    Open();
    EXPECT_EQ(Child<QComboBox>(form, "cbMapProvider").count(), 0);
}

TEST_F(SelMap, ASizeOfZeroTakesTheSelectedElementAt96Dpi)
{
    TZORBaseItem* item = TZORFactory::AddBaseRectangle(label, 0, 0, 25400, 12700);
    ASSERT_NE(item, nullptr);
    label.Select(item);
    Open(0, 0);
    EXPECT_EQ(form.ImageWidth(), 96);
    EXPECT_EQ(form.ImageHeight(), 48);
}

TEST_F(SelMap, NominatimFindsAPlaceWithoutBlockingTheDialog)
{
    server.SetRoute("/search", Json(200, MadridNominatim, 300ms));
    Open();
    StartSearch(QStringLiteral("Puerta del Sol"));
    // The click has returned while the service is still answering: the dialog goes on.
    EXPECT_TRUE(form.Searching());
    EXPECT_FALSE(Child<QPushButton>(form, "butSearch").isEnabled());
    Child<QLineEdit>(form, "edLocation").setText(QStringLiteral("typed meanwhile"));
    ASSERT_TRUE(Finished());
    EXPECT_EQ(Latitude(), QStringLiteral("40,416800"));
    EXPECT_EQ(Longitude(), QStringLiteral("-3,703800"));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_TRUE(Child<QPushButton>(form, "butSearch").isEnabled());
    const std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, QByteArray("/search?q=Puerta%20del%20Sol&format=json&limit=1"));
    EXPECT_TRUE(requests[0].Header("User-Agent").startsWith("QUINDLE_VCL/1.0 ("));
}

// The services write coordinates with a decimal point, whatever the user's locale.
TEST_F(SelMap, RepliedCoordinatesAreNotReadInTheUsersLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    server.SetRoute("/search", Json(200, R"([{"lat":"1.250","lon":"-1,5"}])"));
    Open();
    StartSearch(QStringLiteral("Sol"));
    const bool finished = Finished();
    QLocale::setDefault(saved);
    ASSERT_TRUE(finished);
    // "-1,5" is no coordinate of the service's: nothing is found.
    EXPECT_EQ(dialogs.Messages, (QStringList { "Location not found" }));
    server.SetRoute("/search", Json(200, R"([{"lat":"1.250","lon":"-1.5"}])"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    StartSearch(QStringLiteral("Sol"));
    const bool again = Finished();
    QLocale::setDefault(saved);
    ASSERT_TRUE(again);
    EXPECT_EQ(Latitude(), QStringLiteral("1,250000"));
    EXPECT_EQ(Longitude(), QStringLiteral("-1,500000"));
}

TEST_F(SelMap, GoogleReadsItsReplyShapeWithTheMappingsKey)
{
    server.SetRoute("/maps/api/geocode/json", Json(200, MadridGoogle));
    label.Mapping().SetKey(QStringLiteral("my key&"));
    Open();
    StartSearch(QStringLiteral("Sol"), true);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(Latitude(), QStringLiteral("40,416800"));
    EXPECT_EQ(Longitude(), QStringLiteral("-3,703800"));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, QByteArray("/maps/api/geocode/json?address=Sol&key=my%20key%26"));
}

// Each way a search can fail ends in "Location not found", after the reason where the request
// itself failed; the place shown stays and the dialog can search again.
TEST_F(SelMap, FailedSearchesEndInLocationNotFound)
{
    struct Case {
        const char* name;
        HttpResponse reply;
        bool google;
        bool reason; // "Geocoding failed: ..." comes first
    };
    const Case cases[] = {
        { "empty list", Json(200, "[]"), false, false },
        { "not found", Json(404, "[]"), false, false },
        { "invalid JSON", Json(200, "[{\"lat\": "), false, true },
        { "an object, not a list", Json(200, R"({"lat":"1","lon":"2"})"), false, false },
        { "coordinates that are no numbers", Json(200, R"([{"lat":"north","lon":"-3.7"}])"), false, false },
        { "coordinates outside the world", Json(200, R"([{"lat":"140","lon":"-3.7"}])"), false, false },
        { "no results", Json(200, R"({"results":[],"status":"ZERO_RESULTS"})"), true, false },
        { "a stalled server", Json(200, MadridNominatim, 4000ms), false, true },
        { "a dropped connection", Json(0, ""), false, true },
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.SetRoute(c.google ? "/maps/api/geocode/json" : "/search", c.reply);
        dialogs.Messages.clear();
        StartSearch(QStringLiteral("Nowhere"), c.google);
        EXPECT_TRUE(form.Searching());
        ASSERT_TRUE(Finished());
        ASSERT_EQ(dialogs.Messages.size(), c.reason ? 2 : 1) << dialogs.Messages.join(u'|').toStdString();
        if (c.reason) {
            EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Geocoding failed: ")));
        }
        EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("Location not found"));
        EXPECT_EQ(Latitude(), QStringLiteral("0,00000"));
        EXPECT_TRUE(Child<QPushButton>(form, "butSearch").isEnabled());
    }
}

TEST_F(SelMap, ARefusedPortIsReportedAsAFailedRequest)
{
    int port = 0;
    {
        HttpServer closed;
        port = closed.Port();
    }
    const ServicesAt nowhere(QStringLiteral("http://127.0.0.1:%1").arg(port), 1500);
    Open();
    StartSearch(QStringLiteral("Sol"));
    ASSERT_TRUE(Finished());
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Geocoding failed: ")));
    EXPECT_EQ(dialogs.Messages[1], QStringLiteral("Location not found"));
}

TEST_F(SelMap, AHugeReplyIsCutOff)
{
    zor::GeocodingSettings().MaxBytes = 4096;
    server.SetRoute("/search", Json(200, "[" + QByteArray(100000, ' ') + "]"));
    Open();
    StartSearch(QStringLiteral("Sol"));
    ASSERT_TRUE(Finished());
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Geocoding failed: ")));
}

TEST_F(SelMap, AnEmptyPlaceSendsNothing)
{
    Open();
    StartSearch(QStringLiteral("   "));
    EXPECT_FALSE(form.Searching());
    QTest::qWait(100);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(SelMap, ClosingWhileASearchRunsDropsItsAnswer)
{
    server.SetRoute("/search", Json(200, MadridNominatim, 300ms));
    label.SetImageFolder(DirPath());
    {
        TfSelMap shortLived;
        shortLived.Ini(label, false, 64, 64);
        Child<QLineEdit>(shortLived, "edLocation").setText(QStringLiteral("Sol"));
        Child<QPushButton>(shortLived, "butSearch").click();
        EXPECT_TRUE(shortLived.Searching());
    }
    ASSERT_TRUE(server.WaitForRequests(1, 5s));
    QTest::qWait(600);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

QByteArray RedPng()
{
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    return bytes;
}

// "Get map" has the label compose the tiles of the loopback server; the composed image enables
// OK, and the mapping names it.
TEST_F(SelMap, GetMapComposesFromTheTilesThenEnablesOk)
{
    for (const QByteArray path : { "/1/0/0.png", "/1/1/0.png", "/1/0/1.png", "/1/1/1.png" })
        server.SetRoute(path, { 200, "image/png", RedPng(), 0ms, {} });
    label.Mapping().SetBaseUrl(server.BaseUrl());
    label.Mapping().SetProviders(1);
    int hostEvents = 0;
    label.OnComposeImage = [&](TZORLabelVCL&) { ++hostEvents; };
    {
        TfSelMap map;
        label.SetImageFolder(DirPath());
        map.Ini(label, false, 128, 96);
        Child<QLineEdit>(map, "edLatitude").setText(QStringLiteral("0"));
        Child<QLineEdit>(map, "edLongitude").setText(QStringLiteral("0"));
        Child<QComboBox>(map, "cbZoom").setCurrentIndex(1);
        Child<QCheckBox>(map, "ckShowCenter").setChecked(false);
        Child<QPushButton>(map, "butGetMap").click();
        auto& ok = Child<QPushButton>(map, "butOK");
        EXPECT_FALSE(ok.isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return ok.isEnabled(); }, 15000));
        EXPECT_EQ(hostEvents, 1);
    }
    // The host's handler is the label's again.
    label.OnComposeImage(label);
    EXPECT_EQ(hostEvents, 2);
    EXPECT_EQ(label.Mapping().GetFileName(), QStringLiteral("0_0_1.png"));
    const QImage composed(QDir(DirPath()).filePath(label.Mapping().GetFileName()));
    ASSERT_EQ(composed.size(), QSize(128, 96));
    EXPECT_TRUE(ColourNear(composed, { 10, 10 }, Qt::red, 0));
    EXPECT_TRUE(ColourNear(composed, { 120, 90 }, Qt::red, 0));
}

TEST_F(SelMap, GetMapKeepsAKeyTheLabelHolds)
{
    const QString builtIn = zor::GeocodingSettings().BuiltInKey;
    zor::GeocodingSettings().BuiltInKey = QStringLiteral("built-in");
    label.Mapping().SetKey(QStringLiteral("the user's"));
    Open();
    Child<QPushButton>(form, "butGetMap").click();
    EXPECT_EQ(label.Mapping().GetKey(), QStringLiteral("the user's"));
    label.Mapping().SetKey(QString());
    Child<QPushButton>(form, "butGetMap").click();
    EXPECT_EQ(label.Mapping().GetKey(), QStringLiteral("built-in"));
    zor::GeocodingSettings().BuiltInKey = builtIn;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !label.Mapping().GetBusy(); }, 15000));
}

TEST_F(SelMap, WithoutAnImageFolderGetMapReportsIt)
{
    form.Ini(label, false, 64, 64);
    Child<QPushButton>(form, "butGetMap").click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0], QStringLiteral("Choose an image folder for the label before composing a map"));
    EXPECT_FALSE(Child<QPushButton>(form, "butOK").isEnabled());
}

TEST_F(SelMap, TheLabelChoosesAMapThroughThisDialog)
{
    label.SetImageFolder(DirPath());
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("TfSelMap"));
        auto& map = static_cast<TfSelMap&>(d);
        EXPECT_EQ(map.ImageWidth(), 96);
        EXPECT_EQ(map.ImageHeight(), 48);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(label.AddBaseImage(0, 0, 25400, 12700, true, QString()), nullptr);
}

} // namespace
