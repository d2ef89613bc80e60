#include "net/curl_session.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "files/file_ops.h"
#include "net/answer_mapping.h"

namespace vistello::testing {
namespace {

// A one-request HTTP server on the loopback: it reads the request, body and all, then answers
// with `reply`, or keeps silent when there is none.
class OneRequestServer {
public:
    explicit OneRequestServer(std::string reply) : m_reply(std::move(reply)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~OneRequestServer() {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/a%20b"; }

private:
    void Serve() {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0) return;
        char block[65536];
        std::string request;
        bool continued = false;
        while (m_reply.empty() || !WholeRequest(request)) {
            const ssize_t read = ::recv(connection, block, sizeof block, 0);
            if (read <= 0) break;
            request.append(block, static_cast<size_t>(read));
            if (!continued && request.find("Expect: 100") != std::string::npos) {
                ::send(connection, "HTTP/1.1 100 Continue\r\n\r\n", 25, MSG_NOSIGNAL);
                continued = true;
            }
        }
        if (!m_reply.empty()) ::send(connection, m_reply.data(), m_reply.size(), MSG_NOSIGNAL);
        ::close(connection);
    }

    // The headers and as many bytes after them as they announce.
    static bool WholeRequest(const std::string& request) {
        const size_t end = request.find("\r\n\r\n");
        const size_t length = request.find("Content-Length: ");
        if (end == std::string::npos || length == std::string::npos) return false;
        return request.size() - end - 4 >= std::stoul(request.substr(length + 16));
    }

    std::string m_reply;
    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
};

// A request the server never answers ends within a second of the stop.
TEST(CurlSessionTest, StopEndsAWaitingRequestWithinASecond) {
    OneRequestServer server("");
    std::atomic<bool> stop{false};
    CurlSession session(stop);
    session.Begin(server.Url());
    std::thread raise([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    const auto start = std::chrono::steady_clock::now();
    const ServerAnswer answer = HttpAnswer(session.Perform());
    raise.join();
    EXPECT_EQ(answer.kind, ServerAnswer::Kind::Stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

// An upload goes whole with or without a progress to tell; a progress that says no stops it.
TEST(CurlSessionTest, UploadsTellProgressAndStopWhenItSaysNo) {
    RealFileOps files;
    SendSource source;
    source.inMemory = true;
    source.bytes.assign(1200 * 1024, 'x');
    for (const bool refuse : {false, true}) {
        OneRequestServer server("HTTP/1.1 201 Created\r\nContent-Length: 0\r\n\r\n");
        const std::atomic<bool> stop{false};
        CurlSession session(stop);
        SourceReader reader(files, source);
        std::uint64_t told = 0;
        const SendProgress progress = [&](std::uint64_t sent) {
            told = sent;
            return !refuse;
        };
        session.Begin(server.Url());
        session.Upload(reader, refuse ? &progress : nullptr);
        const ServerAnswer answer = HttpAnswer(session.Perform());
        EXPECT_EQ(answer.kind, refuse ? ServerAnswer::Kind::Stopped : ServerAnswer::Kind::Done);
        EXPECT_EQ(told > 0, refuse);
    }
    OneRequestServer server("HTTP/1.1 201 Created\r\nContent-Length: 0\r\n\r\n");
    const std::atomic<bool> stop{false};
    CurlSession session(stop);
    SourceReader reader(files, source);
    const SendProgress none;
    session.Begin(server.Url());
    session.Upload(reader, &none);
    EXPECT_TRUE(HttpAnswer(session.Perform()).Ok());
}

}  // namespace
}  // namespace vistello::testing
