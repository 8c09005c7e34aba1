// Fuzzes the service's answers with arbitrary requests: a method, a target, an
// Accept-Language, an If-None-Match and a body, one a line (the last takes the rest), or, when
// the input starts with '{' or '[', a Model Context Protocol message. Every answer must be a
// status the server can send, a problem must be JSON with a code, and a protocol answer must be
// JSON-RPC 2.0. The page is a template with the places the reading goes into: whatever a link
// holds, the page sent has no element the template lacks (its two scripts, no other).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "service/mcp.h"
#include "service/routes.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string_view Line(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chenggu::service;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && (text.front() == '{' || text.front() == '[')) {
        if (const auto answer = McpAnswer(text)) {
            const auto json = nlohmann::json::parse(*answer, nullptr, false);
            Check(json.is_object() && json["jsonrpc"] == "2.0");
            Check(json.contains("result") != json.contains("error"));
        }
        return 0;
    }
    HttpRequest request;
    request.method = Line(text);
    request.target = Line(text);
    request.acceptLanguage = Line(text);
    request.ifNoneMatch = Line(text);
    request.body = text;
    static const WebFiles web = WebFiles::Of({{"/index.html", "text/html; charset=utf-8",
        "<!doctype html><html lang=\"zh-CN\"><head><!--preview--><title>t</title><!--/preview-->"
        "<meta name=\"share-pages\" content=\"\"><script src=\"engine.js\" defer></script>"
        "<script type=\"module\" src=\"app.js\"></script></head><body data-state=\"loading\">"
        "<p id=\"message\" class=\"message\" role=\"alert\" hidden></p><section><!--headline-->"
        "</section><details class=\"where\" id=\"where\"></details><div><!--details--></div></body></html>"}});
    const HttpResponse response = Answer(request, {&web, nullptr});
    if (response.status == 200 && response.contentType.starts_with("text/html")) {
        const auto count = [&](std::string_view what) {
            std::size_t n = 0;
            for (std::size_t at = response.body.find(what); at != std::string::npos; at = response.body.find(what, at + 1)) ++n;
            return n;
        };
        Check(count("<script") == 2 && count("<body") == 1 && count("</html>") == 1);  // the template's
    }
    Check(response.status >= 200 && response.status <= 599);
    if (response.contentType == "application/problem+json") {
        const auto problem = nlohmann::json::parse(response.body, nullptr, false);
        Check(problem.is_object() && problem["status"] == response.status);
        Check(problem["code"].is_string() && problem["detail"].is_string());
    } else if (response.contentType == "application/json" && response.status == 200) {
        Check(!nlohmann::json::parse(response.body, nullptr, false).is_discarded());
    }
    return 0;
}
