#include "kit/HttpServer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace zor::test {
namespace {

using namespace std::chrono_literals;

struct Fetched {
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
};

// GET (or POST when `postBody` is given) through Qt's client in a local event loop.
Fetched Fetch(const QString& url, const std::optional<QByteArray>& postBody = std::nullopt)
{
    QNetworkAccessManager manager;
    QNetworkRequest request { QUrl(url) };
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("quindle-kit/1.0"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("text/plain"));
    request.setTransferTimeout(10000);
    std::unique_ptr<QNetworkReply> reply(postBody ? manager.post(request, *postBody) : manager.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return { reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
        reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), reply->readAll(), reply->error() };
}

// A blocking client on the test's own thread, as libcurl would be: the server must answer
// without any help from this thread's event loop.
class RawClient {
public:
    RawClient(int port, const QByteArray& request)
    {
        fSocket.connectToHost(QHostAddress::LocalHost, quint16(port));
        if (fSocket.waitForConnected(5000)) {
            fSocket.write(request);
            fSocket.waitForBytesWritten(5000);
        }
    }

    // Everything the server sent until it closed the connection.
    QByteArray Answer()
    {
        QByteArray answer;
        while (fSocket.waitForReadyRead(10000))
            answer += fSocket.readAll();
        return answer + fSocket.readAll();
    }

private:
    QTcpSocket fSocket;
};

TEST(KitHttpServer, AnswersByPathAndQueryAndLogsEveryRequest)
{
    const HttpServer server(
        { { "/a", { 200, "text/plain", "alpha", {}, {} } }, { "/b", { 200, "text/plain", "any b", {}, {} } },
            { "/b?x=1", { 201, "application/json", R"({"x":1})", {}, {} } } });
    EXPECT_EQ(server.BaseUrl(), QStringLiteral("http://127.0.0.1:%1").arg(server.Port()));

    const Fetched a = Fetch(server.Url("/a"));
    EXPECT_EQ(a.status, 200);
    EXPECT_EQ(a.body, "alpha");
    EXPECT_EQ(a.contentType, "text/plain");
    const Fetched exact = Fetch(server.Url("/b?x=1"));
    EXPECT_EQ(exact.status, 201);
    EXPECT_EQ(exact.body, R"({"x":1})");
    EXPECT_EQ(exact.contentType, "application/json");
    EXPECT_EQ(Fetch(server.Url("/b?x=2")).body, "any b");
    const Fetched missing = Fetch(server.Url("/missing?b"));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.error, QNetworkReply::ContentNotFoundError);

    const std::vector<HttpRequest> log = server.Requests();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1].target, "/b?x=1");
    EXPECT_EQ(log[2].Path(), "/b");
    EXPECT_EQ(log[3].target, "/missing?b");
    for (const HttpRequest& request : log) {
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.Header("user-agent"), "quindle-kit/1.0");
        EXPECT_EQ(request.Header("Host"), QStringLiteral("127.0.0.1:%1").arg(server.Port()).toUtf8());
    }
    EXPECT_FALSE(server.WaitForRequests(5, 20ms));
}

TEST(KitHttpServer, RoutesAddedWhileRunningAndRequestBodiesAndExtraHeaders)
{
    HttpServer server;
    EXPECT_EQ(Fetch(server.Url("/geo")).status, 404);
    server.SetRoute("/geo", { 200, "application/json", "[]", {}, { { "X-Kit", "yes" } } });
    EXPECT_EQ(Fetch(server.Url("/geo"), QByteArray("q=Berlin")).body, "[]");

    const std::vector<HttpRequest> log = server.Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].method, "POST");
    EXPECT_EQ(log[1].body, "q=Berlin");

    const QByteArray head = RawClient(server.Port(), "HEAD /geo HTTP/1.1\r\nHost: x\r\n\r\n").Answer();
    EXPECT_TRUE(head.startsWith("HTTP/1.1 200 OK\r\n")) << head.toStdString();
    EXPECT_THAT(head.toStdString(), ::testing::HasSubstr("\r\nX-Kit: yes\r\n"));
    EXPECT_THAT(head.toStdString(), ::testing::HasSubstr("\r\nContent-Length: 2\r\n"));
    EXPECT_TRUE(head.endsWith("\r\n\r\n")) << "HEAD has no body";
}

TEST(KitHttpServer, BlockingClientOnTheTestThreadGetsItsAnswer)
{
    const HttpServer server({ { "/tile.png", { 200, "image/png", "PNG bytes", 50ms, {} } } });
    const QByteArray answer = RawClient(server.Port(), "GET /tile.png HTTP/1.1\r\nHost: x\r\n\r\n").Answer();
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 200 OK\r\n")) << answer.toStdString();
    EXPECT_THAT(answer.toStdString(), ::testing::HasSubstr("\r\nConnection: close\r\n"));
    EXPECT_TRUE(answer.endsWith("\r\n\r\nPNG bytes")) << answer.toStdString();

    EXPECT_TRUE(RawClient(server.Port(), "nonsense\r\n\r\n").Answer().startsWith("HTTP/1.1 400 Bad Request"));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(KitHttpServer, DroppedConnectionsAndTheConnectionLimit)
{
    const HttpServer server(
        { { "/drop", { 0, {}, {}, {}, {} } }, { "/a", { 200, "text/plain", "alpha", {}, {} } } },
        { .maxConnections = 2 });
    EXPECT_TRUE(RawClient(server.Port(), "GET /drop HTTP/1.1\r\n\r\n").Answer().isEmpty());
    EXPECT_TRUE(RawClient(server.Port(), "GET /a HTTP/1.1\r\n\r\n").Answer().endsWith("alpha"));
    EXPECT_TRUE(RawClient(server.Port(), "GET /a HTTP/1.1\r\n\r\n").Answer().startsWith("HTTP/1.1 503"));
    EXPECT_EQ(server.Requests().size(), 2u);
}

// Were the delay waited out, the test would hang until the test runner kills it.
TEST(KitHttpServer, StoppingCutsALongDelayShort)
{
    auto server = std::make_unique<HttpServer>(
        HttpServer::Routes { { "/slow", { 200, "text/plain", "late", 10min, {} } } });
    RawClient client(server->Port(), "GET /slow HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(server->WaitForRequests(1, 10s));
    server.reset();
    EXPECT_TRUE(client.Answer().isEmpty());
}

} // namespace
} // namespace zor::test
