#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

// A small HTTP/1.1 server on 127.0.0.1 for tests of code that downloads (map tiles, geocoding).
// It runs on threads of its own, so the test's thread may block in a synchronous client while it
// answers. Every connection carries one request and is closed after the answer.
namespace zor::test {

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

struct HttpResponse {
    int status = 200; // 0 closes the connection without an answer, as a broken server would
    QByteArray contentType = "text/plain";
    QByteArray body;
    std::chrono::milliseconds delay { 0 }; // waited before answering; cut short when the server stops
    HttpHeaders headers {}; // extra header lines (Location, Retry-After, ...)
};

struct HttpRequest {
    QByteArray method;
    QByteArray target; // path and query as sent: "/tiles/3/4/2.png?key=k"
    HttpHeaders headers;
    QByteArray body;

    // The value of header `name` (names compare without case), empty when it was not sent.
    QByteArray Header(const QByteArray& name) const;
    QByteArray Path() const { return target.left(target.indexOf('?')); }
};

struct HttpLimits {
    int maxConnections = 1000; // over the server's life; later ones get 503
    int maxConcurrent = 32; // open at once; more get 503
    std::chrono::milliseconds ioTimeout {
        5000
    }; // a client that sends or reads nothing for this long is dropped
    qsizetype maxRequestBytes = 1 << 20;
};

class HttpServer {
public:
    // A route's key is a path ("/geo"), which answers whatever the query, or a path with a query
    // ("/geo?q=Berlin"), which answers only that target and is preferred. Other targets get 404.
    using Routes = std::map<QByteArray, HttpResponse>;

    // Listens on 127.0.0.1 at a port the system chooses; throws std::runtime_error if it cannot.
    explicit HttpServer(Routes routes = {}, HttpLimits limits = {});
    // Stops listening, cuts delays short and waits for every connection to end.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int Port() const;
    QString BaseUrl() const; // "http://127.0.0.1:<port>"
    QString Url(const QByteArray& target) const; // BaseUrl() + target

    // Adds or replaces a route while the server runs.
    void SetRoute(const QByteArray& key, const HttpResponse& response);

    // Every request received so far, in order of arrival.
    std::vector<HttpRequest> Requests() const;
    // Waits until at least `count` requests have arrived; false on time-out.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    struct State;
    std::unique_ptr<State> f;
};

} // namespace zor::test
