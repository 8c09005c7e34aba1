// chenggu serve: the routes over HTTP/1.1 on Boost.Beast and Asio. Every connection is
// asynchronous on a pool of threads, with a deadline for each request's header, its body and
// each write, and a cap on open connections; SIGTERM and SIGINT stop it gracefully.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "service/web_files.h"

namespace chenggu::service {

struct ServerOptions {
    std::string host = "127.0.0.1";
    unsigned short port = 8080;
    unsigned threads = 0;  // 0: the machine's cores
    std::size_t maxConnections = 1024;
    // For a request's whole header however it trickles in, counted from the end of the last
    // answer on the connection; for its whole body; for each write of an answer.
    std::chrono::seconds headerTimeout{10};
    std::chrono::seconds bodyTimeout{30};
    std::chrono::seconds writeTimeout{30};
    bool accessLog = true;                   // a JSON line a request on standard error
    // After SIGTERM or SIGINT, how long the copy keeps serving while /readyz answers 503 (so
    // that a balancer stops sending it new work) before it stops accepting.
    std::chrono::seconds drain{5};
    // Origins besides the server's own whose pages may call /mcp (scheme://host[:port]; "*"
    // for any).
    std::vector<std::string> mcpOrigins;
    // The page's public address, for the absolute links of its previews; empty: the Host.
    std::string publicUrl;
};

// Serves until SIGTERM or SIGINT; then drains (serves on, not ready, for options.drain; a
// second signal ends the drain), stops accepting, finishes the requests in flight (for at
// most 4 s) and returns 0. Returns 1, with a message on standard error, when the address
// cannot be had.
// listening, when given, is told the port once the server listens (of use with port 0).
int Serve(const ServerOptions& options, WebFiles web,
          const std::function<void(unsigned short port)>& listening = {});

}  // namespace chenggu::service
