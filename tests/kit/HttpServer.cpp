#include "kit/HttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace zor::test {

namespace {

using Clock = std::chrono::steady_clock;

struct Reason {
    int status;
    const char* text;
};

constexpr Reason kReasons[] = {
    { 200, "OK" },
    { 201, "Created" },
    { 204, "No Content" },
    { 301, "Moved Permanently" },
    { 302, "Found" },
    { 304, "Not Modified" },
    { 400, "Bad Request" },
    { 403, "Forbidden" },
    { 404, "Not Found" },
    { 429, "Too Many Requests" },
    { 500, "Internal Server Error" },
    { 503, "Service Unavailable" },
};

QByteArray ReasonOf(int status)
{
    const auto* found = std::find_if(
        std::begin(kReasons), std::end(kReasons), [&](const Reason& r) { return r.status == status; });
    return found == std::end(kReasons) ? QByteArray("Status") : QByteArray(found->text);
}

const HttpResponse kNotFound { 404, "text/plain", "not found", {}, {} };
const HttpResponse kBusy { 503, "text/plain", "busy", {}, {} };
const HttpResponse kBadRequest { 400, "text/plain", "bad request", {}, {} };

[[noreturn]] void SystemFailure(const char* what)
{
    throw std::runtime_error(std::string("HttpServer: ") + what + ": " + std::strerror(errno));
}

// poll()'s time-out: -1 waits without a deadline.
int MillisecondsLeft(Clock::time_point deadline)
{
    if (deadline == Clock::time_point::max())
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, 1 << 30));
}

QByteArray Serialize(const HttpResponse& response, bool withBody)
{
    QByteArray out
        = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + ReasonOf(response.status) + "\r\n";
    out += "Content-Type: " + response.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    out += "Connection: close\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    if (withBody)
        out += response.body;
    return out;
}

// Request line and header lines; false when the request line is not "METHOD TARGET VERSION".
bool ParseHead(const QByteArray& head, HttpRequest& request)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() != 3 || !first[1].startsWith('/'))
        return false;
    request.method = first[0];
    request.target = first[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({ lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed() });
    }
    return true;
}

} // namespace

QByteArray HttpRequest::Header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

struct HttpServer::State {
    HttpLimits limits;
    int listenFd = -1;
    int wakeRead = -1; // readable once the server stops: every wait also polls it
    int wakeWrite = -1;
    int port = 0;

    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    Routes routes;
    std::vector<HttpRequest> requests;

    std::atomic<int> open { 0 };
    int accepted = 0;
    std::thread acceptor;
    std::vector<std::thread> workers; // touched by the acceptor only, until it has been joined

    void Listen();
    void AcceptLoop();
    void Serve(int fd);
    // Waits for `events` on `fd`; false when the deadline passed or the server stops.
    bool WaitFor(int fd, short events, Clock::time_point deadline) const;
    bool Stopping() const;
    std::optional<HttpRequest> ReadRequest(int fd);
    bool ReadUntil(int fd, QByteArray& data, qsizetype size, Clock::time_point deadline) const;
    void Send(int fd, const QByteArray& bytes) const;
    void Close(int fd) const;
    HttpResponse Lookup(const QByteArray& target) const;
};

bool HttpServer::State::WaitFor(int fd, short events, Clock::time_point deadline) const
{
    while (true) {
        pollfd fds[2] = { { fd, events, 0 }, { wakeRead, POLLIN, 0 } };
        const int ready = ::poll(fds, 2, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0 && fds[1].revents == 0 && fds[0].revents != 0;
    }
}

bool HttpServer::State::Stopping() const
{
    pollfd wake { wakeRead, POLLIN, 0 };
    return ::poll(&wake, 1, 0) > 0;
}

void HttpServer::State::Listen()
{
    listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd < 0)
        SystemFailure("socket");
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0)
        SystemFailure("bind");
    if (::listen(listenFd, 64) != 0)
        SystemFailure("listen");
    if (::getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        SystemFailure("getsockname");
    port = ntohs(address.sin_port);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        SystemFailure("pipe");
    wakeRead = pipeFds[0];
    wakeWrite = pipeFds[1];
}

void HttpServer::State::AcceptLoop()
{
    while (WaitFor(listenFd, POLLIN, Clock::time_point::max())) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;
        if (accepted >= limits.maxConnections || open >= limits.maxConcurrent) {
            Send(fd, Serialize(kBusy, true));
            Close(fd);
            continue;
        }
        ++accepted;
        ++open;
        workers.emplace_back([this, fd] {
            Serve(fd);
            Close(fd);
            --open;
        });
    }
}

bool HttpServer::State::ReadUntil(int fd, QByteArray& data, qsizetype size, Clock::time_point deadline) const
{
    char buffer[16384];
    while (data.size() < size) {
        if (!WaitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        data.append(buffer, n);
        if (data.size() > limits.maxRequestBytes)
            return false;
    }
    return true;
}

// Nothing when the client went away, was too slow or sent too much; a request without a method
// when its request line is malformed.
std::optional<HttpRequest> HttpServer::State::ReadRequest(int fd)
{
    const auto deadline = Clock::now() + limits.ioTimeout;
    QByteArray data;
    qsizetype headEnd = -1;
    while ((headEnd = data.indexOf("\r\n\r\n")) < 0)
        if (!ReadUntil(fd, data, data.size() + 1, deadline))
            return std::nullopt;
    HttpRequest request;
    if (!ParseHead(data.left(headEnd), request))
        return request;
    const qsizetype bodyStart = headEnd + 4;
    const qsizetype bodySize = std::max<qsizetype>(0, request.Header("Content-Length").toLongLong());
    if (bodySize > limits.maxRequestBytes || !ReadUntil(fd, data, bodyStart + bodySize, deadline))
        return std::nullopt;
    request.body = data.mid(bodyStart, bodySize);
    return request;
}

HttpResponse HttpServer::State::Lookup(const QByteArray& target) const
{
    std::lock_guard lock(mutex);
    auto route = routes.find(target);
    if (route == routes.end())
        route = routes.find(target.left(target.indexOf('?')));
    return route == routes.end() ? kNotFound : route->second;
}

void HttpServer::State::Serve(int fd)
{
    const std::optional<HttpRequest> request = ReadRequest(fd);
    if (!request)
        return;
    if (request->method.isEmpty())
        return Send(fd, Serialize(kBadRequest, true));
    {
        std::lock_guard lock(mutex);
        requests.push_back(*request);
    }
    arrived.notify_all();
    const HttpResponse response = Lookup(request->target);
    if (response.delay.count() > 0)
        WaitFor(wakeRead, POLLIN, Clock::now() + response.delay);
    if (response.status == 0 || Stopping())
        return;
    Send(fd, Serialize(response, request->method != "HEAD"));
}

void HttpServer::State::Send(int fd, const QByteArray& bytes) const
{
    const auto deadline = Clock::now() + limits.ioTimeout;
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        if (!WaitFor(fd, POLLOUT, deadline))
            return;
    }
}

// Closing a socket with unread input resets the connection, and the client may then lose the
// answer: shut down the sending side and let the client close first.
void HttpServer::State::Close(int fd) const
{
    ::shutdown(fd, SHUT_WR);
    const auto deadline
        = Clock::now() + std::min<std::chrono::milliseconds>(limits.ioTimeout, std::chrono::seconds(1));
    char buffer[4096];
    while (WaitFor(fd, POLLIN, deadline)) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            break;
    }
    ::close(fd);
}

HttpServer::HttpServer(Routes routes, HttpLimits limits)
    : f(std::make_unique<State>())
{
    f->limits = limits;
    f->routes = std::move(routes);
    try {
        f->Listen();
    } catch (...) {
        for (const int fd : { f->listenFd, f->wakeRead, f->wakeWrite })
            if (fd >= 0)
                ::close(fd);
        throw;
    }
    f->acceptor = std::thread([state = f.get()] { state->AcceptLoop(); });
}

HttpServer::~HttpServer()
{
    const char stop = 1;
    [[maybe_unused]] const ssize_t written = ::write(f->wakeWrite, &stop, 1);
    f->acceptor.join();
    for (std::thread& worker : f->workers)
        worker.join();
    for (const int fd : { f->listenFd, f->wakeRead, f->wakeWrite })
        ::close(fd);
}

int HttpServer::Port() const
{
    return f->port;
}

QString HttpServer::BaseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(f->port);
}

QString HttpServer::Url(const QByteArray& target) const
{
    return BaseUrl() + QString::fromUtf8(target);
}

void HttpServer::SetRoute(const QByteArray& key, const HttpResponse& response)
{
    std::lock_guard lock(f->mutex);
    f->routes[key] = response;
}

std::vector<HttpRequest> HttpServer::Requests() const
{
    std::lock_guard lock(f->mutex);
    return f->requests;
}

bool HttpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(f->mutex);
    return f->arrived.wait_for(lock, timeout, [&] { return f->requests.size() >= count; });
}

} // namespace zor::test
