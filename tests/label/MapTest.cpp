#include "Zor.Error.h"
#include "drawing/Zor.Paint.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/HttpServer.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.TileJob.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using zor::ISkCanvas;
using zor::TSkCanvas;

namespace {

using namespace zor::test;
using namespace std::chrono_literals;

QByteArray Encoded(const QColor& colour, const char* format)
{
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, format);
    return bytes;
}

const QByteArray RedPng = Encoded(Qt::red, "PNG");
const QByteArray GreenJpeg = Encoded(Qt::green, "JPEG");

HttpResponse Reply(int status, const QByteArray& type, const QByteArray& body)
{
    return { status, type, body, 0ms, {} };
}

// Four tiles in the quadrants of a 512 x 512 map: tile 0 is always a red PNG.
std::vector<TZORTileInfo> Quadrants(const HttpServer& server, const QByteArray& second)
{
    return { { server.Url("/red"), 0, 0 }, { server.Url(second), 256, 0 }, { server.Url("/none"), 0, 256 },
        { QString(), 256, 256 } };
}

zor::THttpOptions Quick()
{
    zor::THttpOptions o;
    o.ConnectTimeout = 1000;
    o.Timeout = 1000;
    return o;
}

TEST(MapTiles, EachReplyIsDrawnByItsContentType)
{
    const struct {
        const char* name;
        HttpResponse reply;
        QColor colour; // the second tile's centre
        const char* error; // the second tile's error text begins so; empty for none
    } table[] = {
        { "png", Reply(200, "image/png", RedPng), Qt::red, "" },
        { "jpeg, type in capitals", Reply(200, "IMAGE/JPEG", GreenJpeg), Qt::green, "" },
        { "not found", Reply(404, "image/png", RedPng), Qt::white, "Error HTTP 404 to load tile 1: http://" },
        { "map server error",
            Reply(200, "application/vnd.ogc.se_xml", "<ServiceException>no layer</ServiceException>"),
            Qt::white, "Error WMS: <ServiceException>no layer" },
        { "web page", Reply(200, "text/html", "<html></html>"), Qt::white,
            "Content-Type not expected: text/html" },
        { "garbage", Reply(200, "image/png", "\x89PNG but not really"), Qt::white, "Error loading image: " },
        { "jpeg said to be png", Reply(200, "image/png", GreenJpeg), Qt::white, "Error loading image: " },
        { "other image type", Reply(200, "image/webp", "RIFF"), Qt::white, "" },
        { "connection dropped", Reply(0, "", ""), Qt::white, "Error on tile 1: " },
    };
    HttpServer::Routes routes { { "/red", Reply(200, "image/png", RedPng) } };
    for (size_t i = 0; i < std::size(table); ++i)
        routes["/case" + QByteArray::number(qulonglong(i))] = table[i].reply;
    const HttpServer server(routes);
    for (size_t i = 0; i < std::size(table); ++i) {
        const auto& row = table[i];
        SCOPED_TRACE(row.name);
        QStringList errors;
        const QImage map = zor::ComposeMap(
            Quadrants(server, "/case" + QByteArray::number(qulonglong(i))), 512, 512, false, Quick(), errors);
        ASSERT_EQ(map.size(), QSize(512, 512));
        EXPECT_TRUE(ColourNear(map, { 128, 128 }, Qt::red, 0)); // the other tiles go on
        EXPECT_TRUE(ColourNear(map, { 384, 128 }, row.colour, 12));
        EXPECT_TRUE(ColourNear(map, { 128, 384 }, Qt::white, 0)); // 404
        EXPECT_TRUE(ColourNear(map, { 384, 384 }, Qt::white, 0)); // no URL
        // One error for the missing third tile, and the second tile's own.
        const QString own = QString::fromUtf8(row.error);
        ASSERT_EQ(errors.size(), own.isEmpty() ? 1 : 2) << errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(
            errors.first().startsWith(own.isEmpty() ? QStringLiteral("Error HTTP 404 to load tile 2") : own))
            << errors.first().toStdString();
        EXPECT_TRUE(errors.last().startsWith(QStringLiteral("Error HTTP 404 to load tile 2")));
    }
}

TEST(MapTiles, OnlyTilesWithAUrlAreRequestedAndTheyCarryAUserAgent)
{
    const HttpServer server({ { "/red", Reply(200, "image/png", RedPng) } });
    QStringList errors;
    zor::ComposeMap(
        { { QString(), 0, 0 }, { server.Url("/red"), 256, 0 } }, 512, 256, false, Quick(), errors);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/red");
    EXPECT_TRUE(requests[0].Header("User-Agent").startsWith("QUINDLE_VCL/1.0 ("));
    EXPECT_TRUE(errors.isEmpty());
}

TEST(MapTiles, AStallingServerEndsByTimeOut)
{
    HttpResponse slow = Reply(200, "image/png", RedPng);
    slow.delay = 30s;
    const HttpServer server({ { "/slow", slow }, { "/red", Reply(200, "image/png", RedPng) } });
    QElapsedTimer timer;
    timer.start();
    QStringList errors;
    const QImage map = zor::ComposeMap(
        { { server.Url("/slow"), 0, 0 }, { server.Url("/red"), 256, 0 } }, 512, 256, false, Quick(), errors);
    // Far below the server's delay: the transfer gave up on its own.
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_TRUE(ColourNear(map, { 128, 128 }, Qt::white, 0));
    EXPECT_TRUE(ColourNear(map, { 384, 128 }, Qt::red, 0));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Error on tile 0: "))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("timed out"))) << errors[0].toStdString();
}

TEST(MapTiles, TheCentreCross)
{
    QStringList errors;
    const QImage map = zor::ComposeMap({}, 400, 300, true, Quick(), errors);
    // Ten pixels either side of the centre, ends included: 21 long each way.
    for (const QPoint p :
        { QPoint(190, 150), QPoint(210, 150), QPoint(200, 140), QPoint(200, 160), QPoint(200, 150) })
        EXPECT_TRUE(ColourNear(map, p, Qt::red, 0)) << p.x() << "," << p.y();
    for (const QPoint p :
        { QPoint(189, 150), QPoint(211, 150), QPoint(200, 139), QPoint(200, 161), QPoint(201, 151) })
        EXPECT_TRUE(ColourNear(map, p, Qt::white, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(InkCount(map), 2 * 21 - 1);
}

// A label whose maps come from a loopback server serving the four tiles of a 512-pixel map of
// zoom 1 centred on (0, 0), red but for a missing bottom-right tile.
class MapJob : public TempDirTest {
protected:
    MapJob()
        : server({ { "/1/0/0.png", Reply(200, "image/png", RedPng) },
            { "/1/1/0.png", Reply(200, "image/png", RedPng) },
            { "/1/0/1.png", Reply(200, "image/png", RedPng) } })
    {
    }

    void SetUp() override
    {
        TempDirTest::SetUp();
        label.SetImageFolder(DirPath());
        label.Mapping().SetBaseUrl(server.BaseUrl());
        label.Mapping().SetConnectTimeout(1000);
        label.Mapping().SetTimeout(1000);
        label.OnComposeImage = [this](TZORLabelVCL& sender) {
            ++events;
            EXPECT_EQ(&sender, &label);
            busyAtEvent = sender.Mapping().GetBusy();
            eventOnMainThread = QThread::currentThread() == label.thread();
        };
    }

    HttpServer server;
    TZORLabelVCL label;
    int events = 0;
    bool busyAtEvent = true;
    bool eventOnMainThread = false;
};

TEST_F(MapJob, ComposedAfterTheCallReturnedThenReported)
{
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    label.ComposeImage(QStringLiteral("0"), QStringLiteral("0"), 1, 512, 512);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(label.Mapping().GetBusy());
    EXPECT_TRUE(server.Requests().empty());

    ASSERT_TRUE(done.wait(15000));
    QTest::qWait(50);
    EXPECT_EQ(events, 1);
    EXPECT_FALSE(busyAtEvent);
    EXPECT_TRUE(eventOnMainThread);
    EXPECT_FALSE(label.Mapping().GetBusy());
    ASSERT_EQ(done.count(), 1);
    EXPECT_EQ(done[0][0].toString(), QStringLiteral("0_0_1.png"));
    EXPECT_TRUE(done[0][1].toString().isEmpty());
    // The name is relative to the image folder, as layers and image elements join it.
    EXPECT_EQ(label.Mapping().GetFileName(), QStringLiteral("0_0_1.png"));
    const QImage map(QDir(DirPath()).filePath(QStringLiteral("0_0_1.png")));
    ASSERT_EQ(map.size(), QSize(512, 512));
    EXPECT_TRUE(ColourNear(map, { 128, 128 }, Qt::red, 0));
    EXPECT_TRUE(ColourNear(map, { 384, 384 }, Qt::white, 0));
    ASSERT_EQ(label.GetComposeErrors().size(), 1);
    EXPECT_TRUE(label.GetComposeErrors()[0].startsWith(QStringLiteral("Error HTTP 404 to load tile 3")));
    EXPECT_EQ(server.Requests().size(), 4u);

    // The map becomes the background of a layer by its name.
    TZORLayer* layer = label.GetLayer(1);
    layer->SetOptions(loDefault | loBackMap);
    layer->SetFileImg(label.Mapping().GetFileName());
    label.Measure().SetWidth(40000);
    label.Measure().SetHeight(40000);
    QImage page(400, 400, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
        TZORDraw D;
        D.SetupEditor(sk, 254, 1.0f, 1, false, false);
        EXPECT_TRUE(label.DrawBackImage(sk, D));
    }
    EXPECT_TRUE(ColourNear(page, { 100, 100 }, Qt::red, 8));
    EXPECT_TRUE(ColourNear(page, { 300, 300 }, Qt::white, 8));
}

TEST_F(MapJob, QueuedJobsKeepTheirOwnPlaceAndTheBusyFlagUntilTheLast)
{
    std::vector<bool> busy;
    QObject::connect(&label, &TZORLabelVCL::ComposeDone, [&] { busy.push_back(label.Mapping().GetBusy()); });
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    label.ComposeImage(QStringLiteral("0"), QStringLiteral("1,5"), 1, 64, 64);
    label.ComposeImage(QStringLiteral("0"), QStringLiteral("-1.5"), 1, 64, 64);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.count() == 2; }, 15000));
    EXPECT_EQ(busy, (std::vector<bool> { true, false }));
    EXPECT_EQ(events, 2);
    EXPECT_EQ(done[0][0].toString(), QStringLiteral("0_15_1.png"));
    EXPECT_EQ(done[1][0].toString(), QStringLiteral("0_-15_1.png"));
    EXPECT_TRUE(QFile::exists(QDir(DirPath()).filePath(QStringLiteral("0_15_1.png"))));
    EXPECT_TRUE(QFile::exists(QDir(DirPath()).filePath(QStringLiteral("0_-15_1.png"))));
    EXPECT_EQ(label.Mapping().GetFileName(), QStringLiteral("0_-15_1.png"));
}

TEST_F(MapJob, AFolderThatCannotTakeTheFileReportsAndClearsBusy)
{
    label.Mapping().SetFileName(QStringLiteral("before.png"));
    label.SetImageFolder(QDir(DirPath()).filePath(QStringLiteral("missing/folder")));
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    label.ComposeImage(QStringLiteral("0"), QStringLiteral("0"), 1, 64, 64);
    ASSERT_TRUE(done.wait(15000));
    EXPECT_FALSE(done[0][1].toString().isEmpty());
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(label.Mapping().GetBusy());
    EXPECT_EQ(label.Mapping().GetFileName(), QStringLiteral("before.png"));
}

TEST_F(MapJob, NoImageFolderIsRefusedBeforeAnythingStarts)
{
    label.SetImageFolder(QString());
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    EXPECT_THROW(label.ComposeImage(QStringLiteral("0"), QStringLiteral("0"), 1, 64, 64), EZORError);
    EXPECT_FALSE(label.Mapping().GetBusy());
    EXPECT_FALSE(done.wait(300));
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(MapJob, APlaceTheMappingRefusesStartsNothing)
{
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    label.ComposeImage(QStringLiteral("north"), QStringLiteral("0"), 1, 64, 64);
    EXPECT_FALSE(label.Mapping().GetBusy());
    EXPECT_FALSE(done.wait(300));
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(MapJob, AStallingServerDoesNotHangTheJob)
{
    HttpResponse slow = Reply(200, "image/png", RedPng);
    slow.delay = 30s;
    server.SetRoute("/1/0/0.png", slow);
    QSignalSpy done(&label, &TZORLabelVCL::ComposeDone);
    label.ComposeImage(QStringLiteral("0"), QStringLiteral("0"), 1, 512, 512);
    ASSERT_TRUE(done.wait(15000));
    EXPECT_EQ(events, 1);
    EXPECT_FALSE(label.Mapping().GetBusy());
    const QImage map(QDir(DirPath()).filePath(label.Mapping().GetFileName()));
    EXPECT_TRUE(ColourNear(map, { 128, 128 }, Qt::white, 0));
    EXPECT_TRUE(ColourNear(map, { 384, 128 }, Qt::red, 0));
}

} // namespace
