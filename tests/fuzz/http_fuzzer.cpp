// Fuzzes the server's HTTP framing with arbitrary bytes on a real connection: request lines,
// headers, chunked bodies with extensions and trailers, pipelined requests, HEAD before
// others. The server runs in this process on the loopback; each input is one connection,
// half-closed once sent. Whatever comes back must be HTTP/1.1 answers, and the connection must
// end within seconds: a server that crashes, hangs or swells fails here (libFuzzer's memory
// limit counts the server too).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

#include "service/http_server.h"

namespace {

std::atomic<unsigned short> port{0};

void Check(bool condition) {
    if (!condition) std::abort();
}

void StartServer() {
    std::thread([] {
        chenggu::service::ServerOptions options;
        options.port = 0;
        options.threads = 2;
        options.accessLog = false;
        chenggu::service::Serve(options, chenggu::service::WebFiles(),
                                [](unsigned short bound) { port = bound; });
    }).detach();
    while (port == 0) std::this_thread::yield();
}

int Connect() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Check(socket >= 0 && connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    return socket;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = (StartServer(), true);
    (void)started;
    const int connection = Connect();
    // Written whole while the answers are read, so that neither side waits on a full buffer.
    std::string received;
    std::size_t sent = 0;
    bool closed = false;
    if (size == 0) shutdown(connection, SHUT_WR);
    // The server ends a half-closed connection at once; ten seconds is a hang.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!closed) {
        Check(std::chrono::steady_clock::now() < deadline);
        pollfd wait{connection, static_cast<short>(POLLIN | (sent < size ? POLLOUT : 0)), 0};
        Check(poll(&wait, 1, 1) >= 0);
        if (sent < size && (wait.revents & POLLOUT) != 0) {
            const ssize_t n = send(connection, data + sent, size - sent, MSG_NOSIGNAL);
            sent = n > 0 ? sent + static_cast<std::size_t>(n) : size;  // a reset ends the sending
            if (sent == size) shutdown(connection, SHUT_WR);
        }
        if ((wait.revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            char buffer[65536];
            const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closed = true;
            } else {
                received.append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    close(connection);
    Check(received.empty() || received.starts_with("HTTP/1.1 "));
    return 0;
}
