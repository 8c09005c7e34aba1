#include "service/service_command.h"

#include <thread>

#include <CLI/CLI.hpp>

#include "service/http_server.h"
#include "service/mcp.h"
#include "service/say.h"

namespace chenggu::service {
namespace {

bool English(std::string_view locale) {
    return !locale.empty() && locale.rfind("zh", 0) != 0 && locale != "C.UTF-8";
}

}  // namespace

bool IsServiceCommand(const std::vector<std::string>& arguments) {
    return !arguments.empty() && (arguments[0] == "serve" || arguments[0] == "mcp");
}

int RunServiceCommand(const std::vector<std::string>& arguments, std::istream& in,
                      std::ostream& out, std::ostream& err, std::string_view locale) {
    const bool english = English(locale);
    const auto say = [&](std::string_view en, std::string_view zh) {
        return english ? std::string(en) : std::string(zh);
    };
    ServerOptions options;
    std::string web;
    CLI::App app(say("chenggu serve: the reading over HTTP (the API, its OpenAPI description "
                     "and the web page); chenggu mcp: the reading as Model Context Protocol "
                     "tools over standard input and output",
                     "chenggu serve：通过 HTTP 提供称骨测算（接口、OpenAPI 说明和网页）；"
                     "chenggu mcp：通过标准输入输出以模型上下文协议（MCP）提供工具"),
                 "chenggu");
    app.require_subcommand(1);
    CLI::App* serve = app.add_subcommand("serve", say("serve the API and the page over HTTP",
                                                      "以 HTTP 提供接口和网页"));
    serve->add_option("--host", options.host,
                      say("address to listen on (127.0.0.1; 0.0.0.0 or :: for every interface)",
                          "监听的地址（127.0.0.1；0.0.0.0 或 :: 为所有网卡）"))
        ->capture_default_str();
    serve->add_option("--port", options.port, say("port to listen on (0: any free one)", "监听的端口（0：任一空闲端口）"))
        ->capture_default_str();
    serve->add_option("--threads", options.threads,
                      say("threads answering requests (default: the machine's cores)",
                          "处理请求的线程数（默认：本机核数）"))
        ->check(CLI::Range(1u, 256u));
    serve->add_option("--max-connections", options.maxConnections,
                      say("connections open at once; more are answered 503",
                          "同时打开的连接数上限，超出的答 503"))
        ->capture_default_str()
        ->check(CLI::Range(std::size_t{1}, std::size_t{100000}));
    unsigned headerSeconds = 10, bodySeconds = 30;
    serve->add_option("--header-timeout", headerSeconds,
                      say("seconds a request's header may take to arrive, counted from the "
                          "connection's last answer",
                          "请求头须在多少秒内到齐（从连接上一次回答算起）"))
        ->capture_default_str()
        ->check(CLI::Range(1u, 3600u));
    serve->add_option("--body-timeout", bodySeconds,
                      say("seconds a request's body may take to arrive",
                          "请求正文须在多少秒内到齐"))
        ->capture_default_str()
        ->check(CLI::Range(1u, 3600u));
    unsigned drainSeconds = 5;
    serve->add_option("--drain", drainSeconds,
                      say("seconds to keep serving after SIGTERM while /readyz answers 503, so that "
                          "a balancer stops sending new work first (0: stop at once)",
                          "收到 SIGTERM 后继续服务的秒数，其间 /readyz 答 503，让负载均衡先停止派发新请求（0：立即停止）"))
        ->capture_default_str()
        ->check(CLI::Range(0u, 300u));
    serve->add_option("--web", web,
                      say("serve the page from this folder (scripts/web --build makes build/web) "
                          "instead of the one built in",
                          "从这个文件夹提供网页（scripts/web --build 生成 build/web），而不用内置的"));
    serve->add_option("--mcp-origin", options.mcpOrigins,
                      say("an origin (https://example.org) whose pages may call /mcp besides the "
                          "server's own; may be given more than once, * for any",
                          "除本站外，允许其网页调用 /mcp 的来源（https://example.org）；可给多次，* 表示任何来源"));
    serve->add_option("--public-url", options.publicUrl,
                      say("the page's public address (https://example.org/chenggu/) for the "
                          "absolute links of link previews; without it, the request's Host",
                          "网页的公开地址（https://example.org/chenggu/），用于链接预览的绝对地址；"
                          "不给则按请求的 Host"))
        ->check([](const std::string& url) {
            const bool absolute = (url.starts_with("https://") || url.starts_with("http://")) &&
                                  url.find_first_of(" \"'<>?#") == std::string::npos;
            return absolute ? std::string() : std::string("an absolute http(s) URL without query or fragment");
        });
    bool quiet = false;
    serve->add_flag("--quiet", quiet, say("no access log on standard error", "不在标准错误输出访问日志"));
    app.add_subcommand("mcp", say("answer Model Context Protocol messages on standard input",
                                  "在标准输入上回答模型上下文协议（MCP）消息"));
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            out << app.help();
            return 0;
        }
        err << "chenggu: " << error.what() << "\n";
        return 2;
    }
    if (app.got_subcommand("mcp")) return RunMcp(in, out);

    options.accessLog = !quiet;
    options.headerTimeout = std::chrono::seconds(headerSeconds);
    options.bodyTimeout = std::chrono::seconds(bodySeconds);
    options.drain = std::chrono::seconds(drainSeconds);
    WebFiles files = WebFiles::Embedded();
    if (!web.empty()) {
        Result<WebFiles> folder = WebFiles::FromFolder(web);
        if (!folder) {
            err << "chenggu: " << folder.error().Reason(english ? Language::English : Language::Chinese)
                << "\n";
            return 2;
        }
        files = std::move(*folder);
    }
    return Serve(options, std::move(files));
}

}  // namespace chenggu::service
