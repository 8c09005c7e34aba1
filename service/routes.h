// The service's routes, apart from the network: an HTTP request in, its response out. The
// server (http_server) only moves bytes; every answer is made here, so the tests read them
// without a socket.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chenggu/error.h"
#include "service/web_files.h"

namespace chenggu::service {

struct HttpRequest {
    std::string_view method;  // GET, POST, …
    std::string_view target;  // the path and query as sent: /v1/reading?date=1990-01-30
    std::string_view body;
    std::string_view acceptLanguage;
    std::string_view ifNoneMatch;
    std::string_view origin;           // Origin, for the protocol's route
    std::string_view host;             // Host
    std::string_view contentType;      // Content-Type
    std::string_view protocolVersion;  // MCP-Protocol-Version
};

struct HttpResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // besides Content-Type
    // What the body is made from, when that is shorter to hash for its ETag than the body
    // (a page of 17 KB from its link); empty: the body.
    std::string madeFrom;
};

// The routes, for the metrics' labels and the description's paths. Other is any path that is
// none of them.
enum class Route {
    Page, Healthz, Readyz, Metrics, OpenApi, Reading, Readings, Places, Calendar, Months, Date,
    Terms, Birthdays, Mcp, Other
};
inline constexpr std::size_t RouteCount = 15;
std::string_view RouteName(Route route);  // "/v1/reading", …; "other"
// The route of a target's path, and the methods it takes ("GET, POST"); Page also covers the
// page's own files.
Route RouteOf(std::string_view target, const WebFiles& web);
std::string_view MethodsOf(Route route);

// Limits of what one request may hold.
inline constexpr std::size_t LargestBody = 1 << 20;            // 1 MiB
inline constexpr std::size_t LargestBatchBody = 64u << 20;     // 64 MiB
inline constexpr std::size_t MostBatchLines = 100'000;

class Metrics;
class PageTemplate;

// What the answers need besides the request: the page's files and the counts of the metrics.
struct ServiceContext {
    const WebFiles* web = nullptr;
    const Metrics* metrics = nullptr;
    // Origins besides the server's own whose pages may call /mcp ("*": any).
    const std::vector<std::string>* mcpOrigins = nullptr;
    // The page's public address (https://example.org/chenggu/), for the absolute links of
    // previews; empty: the request's Host.
    std::string_view publicUrl;
    // The page's index.html read once; without it, read at each request of the page.
    const PageTemplate* page = nullptr;
    // Set from a stop's signal on: the copy finishes its work but takes no new (/readyz 503).
    const std::atomic<bool>* draining = nullptr;
};

// The response to a request of any route but POST /v1/readings, whose answer the server
// streams (BatchAnswers) once CheckBatch lets it. Never throws but for allocation.
HttpResponse Answer(const HttpRequest& request, const ServiceContext& context);

// The language of an error's detail: Accept-Language's first choice of English or Chinese
// (Traditional for zh-TW, zh-HK, zh-MO, zh-Hant), Chinese when it names neither.
Language LanguageOf(std::string_view acceptLanguage);

// RFC 9457 problem details: {"type", "title", "status", "detail", "code"}, as
// application/problem+json.
HttpResponse Problem(int status, std::string_view code, std::string_view detail,
                     Language language);
HttpResponse Problem(const Error& error, Language language);
// The problem for a request the HTTP parser refused before any route saw it.
HttpResponse TooLarge(std::size_t limit, Language language);
HttpResponse HeaderTooLarge(Language language);
// A chunk's size line (with its extensions) or a trailer longer than a connection reads ahead.
HttpResponse LineTooLong(Language language);
HttpResponse NotHttp(Language language);
HttpResponse Busy(Language language);

// A batch's body before streaming: a 413 problem for more than MostBatchLines lines, or
// nothing (status 0).
HttpResponse CheckBatch(std::string_view body, Language language);

// The answers to a batch, one JSON line per non-blank line of the body, in order; a line that
// cannot be read gives {"line": N, "input": "…", "error": "…", "code": "…"}.
class BatchAnswers {
  public:
    BatchAnswers(std::string body, Language language)
        : body_(std::move(body)), language_(language) {}
    bool Done() const { return position_ >= body_.size(); }
    // The answers of the next lines, about bytes long or the rest; "" once Done.
    std::string Next(std::size_t bytes);

  private:
    std::string body_;
    Language language_;
    std::size_t position_ = 0;
    std::size_t line_ = 0;
};

// The cache validator of a body: a strong ETag, and whether If-None-Match names it.
std::string EntityTag(std::string_view body);
bool Matches(std::string_view ifNoneMatch, std::string_view tag);

}  // namespace chenggu::service
