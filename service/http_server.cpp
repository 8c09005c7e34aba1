#include "service/http_server.h"

#include <atomic>
#include <functional>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <unordered_set>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <nlohmann/json.hpp>

#include "service/metrics.h"
#include "service/reading_page.h"
#include "service/routes.h"

namespace chenggu::service {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

// A link's query may carry a long value (a place of 5,000 characters is 45 KB escaped): the
// page sends it back with its message rather than refusing it.
constexpr std::size_t LargestHeader = 64 * 1024;
// What a connection reads ahead of the parser: a header, a chunk's size line with its
// extensions, or a trailer must fit in it, so none of them can grow without end.
constexpr std::size_t LargestReadAhead = 128 * 1024;
// After an answer sent before its request was read whole (413, 431, 400), what the client
// still sends is read and dropped, up to this much and for this long, so that closing does
// not reset the connection before the client has read the answer.
constexpr std::size_t MostDrained = 16u << 20;
constexpr std::chrono::seconds DrainTime{3};

std::string_view Std(beast::string_view text) { return {text.data(), text.size()}; }
constexpr std::size_t BatchChunk = 64 * 1024;  // bytes of answers a batch writes at a time

class Session;

// The ids of requests that bring none (X-Request-Id): this process's random prefix and a count,
// 32 hexadecimal digits, unique across copies and restarts.
class RequestIds {
  public:
    RequestIds() {
        std::random_device device;
        prefix_ = (std::uint64_t{device()} << 32) ^ device();
    }
    std::string Next() {
        const std::uint64_t count = count_.fetch_add(1) + 1;
        char text[33];
        std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(prefix_),
                      static_cast<unsigned long long>(count));
        return text;
    }

  private:
    std::uint64_t prefix_ = 0;
    std::atomic<std::uint64_t> count_{0};
};

// A caller's request id is kept when it is 1 to 128 printable ASCII characters without spaces
// or quotes, so that a log line can be found by it; any other is replaced.
bool UsableRequestId(std::string_view id) {
    return !id.empty() && id.size() <= 128 && std::all_of(id.begin(), id.end(), [](char c) {
        return c > ' ' && c < 0x7f && c != '"' && c != '\'';
    });
}

// What every connection shares: the options, the answers' context, the counts, and the
// connections open, so that a stop can close the idle ones.
struct Shared {
    ServerOptions options;
    WebFiles web;
    Metrics metrics;
    ServiceContext context;
    std::atomic<std::size_t> open{0};
    std::atomic<bool> draining{false};  // from a stop's signal: not ready, still serving
    std::atomic<bool> stopping{false};  // after the drain: no new connections or requests
    RequestIds ids;
    net::io_context* io = nullptr;  // stopped once stopping and no connection is left
    std::mutex sessionsMutex;
    std::unordered_set<Session*> sessions;
};

// One line of JSON on standard error: when, which request, what, how it ended and how long it
// took. The query is left out: it holds people's birth dates and places. Whatever bytes the
// request held, the line is valid JSON in valid UTF-8 (a byte that is not UTF-8 becomes U+FFFD).
void LogAccess(std::string_view id, std::string_view method, std::string_view target, int status,
               std::uint64_t microseconds) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                            now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char when[40];
    const std::size_t length = std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(when + length, sizeof when - length, ".%03dZ", static_cast<int>(millis));
    nlohmann::ordered_json line = nlohmann::ordered_json::object();
    line["time"] = when;
    line["id"] = std::string(id);
    line["method"] = std::string(method.substr(0, 16));
    line["path"] = std::string(target.substr(0, std::min<std::size_t>(target.find('?'), 512)));
    line["status"] = status;
    line["us"] = microseconds;
    const std::string text =
        line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

class Session : public std::enable_shared_from_this<Session> {
  public:
    Session(tcp::socket socket, Shared& shared) : stream_(std::move(socket)), shared_(shared) {
        shared_.open.fetch_add(1);
        const std::lock_guard lock(shared_.sessionsMutex);
        shared_.sessions.insert(this);
    }
    ~Session() {
        if (shared_.open.fetch_sub(1) == 1 && shared_.stopping) shared_.io->stop();
        const std::lock_guard lock(shared_.sessionsMutex);
        shared_.sessions.erase(this);
    }

    void Start(bool refuse) {
        net::dispatch(stream_.get_executor(), [self = shared_from_this(), refuse] {
            if (refuse) {
                self->Send(Busy(Language::Chinese), false);
            } else {
                self->ReadHeader();
            }
        });
    }

    // From the stop: a connection waiting for a request closes now; one answering closes
    // once its answer is written.
    void Stop() {
        std::shared_ptr<Session> alive = weak_from_this().lock();  // not one being destroyed
        if (!alive) return;
        net::post(stream_.get_executor(), [self = std::move(alive)] {
            if (self->waiting_) self->stream_.socket().close();
        });
    }

  private:
    void ReadHeader() {
        if (shared_.stopping) return Close();
        // Nothing of the last request is carried to the next: an error answered before this
        // one's header is read is no HEAD answer and is logged as what it is.
        method_ = "-";
        target_ = "-";
        requestId_.clear();
        head_ = false;
        status_ = 0;
        language_ = Language::Chinese;
        waiting_ = true;
        parser_.emplace();
        parser_->header_limit(LargestHeader);
        parser_->body_limit(LargestBatchBody);
        stream_.expires_after(shared_.options.headerTimeout);
        http::async_read_header(stream_, buffer_, *parser_,
                                beast::bind_front_handler(&Session::OnHeader, shared_from_this()));
    }

    void OnHeader(beast::error_code error, std::size_t) {
        waiting_ = false;
        started_ = Clock::now();
        if (error) return Refused(error);
        const auto& header = parser_->get();
        method_ = std::string(header.method_string());
        target_ = std::string(header.target());
        const std::string_view id = Std(header["X-Request-Id"]);
        if (UsableRequestId(id)) requestId_ = id;
        language_ = LanguageOf(Std(header[http::field::accept_language]));
        const bool batch = RouteOf(target_, shared_.web) == Route::Readings;
        const std::size_t limit = batch ? LargestBatchBody : LargestBody;
        if (parser_->content_length() && *parser_->content_length() > limit) {
            return Send(TooLarge(limit, language_), false);
        }
        parser_->body_limit(limit);
        if (parser_->is_done()) return Answer();
        stream_.expires_after(shared_.options.bodyTimeout);
        // An HTTP/1.0 client's expectation is ignored (RFC 9110): it knows no interim answer.
        if (header.version() >= 11 && beast::iequals(header[http::field::expect], "100-continue")) {
            auto proceed = std::make_shared<http::response<http::empty_body>>(
                http::status::continue_, 11);
            return http::async_write(stream_, *proceed,
                                     [self = shared_from_this(), proceed](beast::error_code e, std::size_t) {
                                         if (e) return self->Close();
                                         self->ReadBody();
                                     });
        }
        ReadBody();
    }

    void ReadBody() {
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             if (error) return self->Refused(error);
                             self->Answer();
                         });
    }

    // A request the parser refused or a connection that ended: a problem for what a client
    // can be told, else the connection closes.
    void Refused(beast::error_code error) {
        if (error == http::error::body_limit) {
            return Send(TooLarge(RouteOf(target_, shared_.web) == Route::Readings ? LargestBatchBody
                                                                                  : LargestBody,
                                 language_),
                        false);
        }
        if (error == http::error::header_limit) return Send(HeaderTooLarge(language_), false);
        if (error == http::error::buffer_overflow) return Send(LineTooLong(language_), false);
        const bool malformed = error.category() == make_error_code(http::error::bad_method).category() &&
                               error != http::error::end_of_stream &&
                               error != http::error::partial_message &&
                               error != http::error::short_read;
        if (malformed) return Send(NotHttp(language_), false);
        Close();  // the client left, or its time ran out
    }

    void Answer() {
        const auto& request = parser_->get();
        const HttpRequest view{method_,
                               target_,
                               request.body(),
                               Std(request[http::field::accept_language]),
                               Std(request[http::field::if_none_match]),
                               Std(request[http::field::origin]),
                               Std(request[http::field::host]),
                               Std(request[http::field::content_type]),
                               Std(request["MCP-Protocol-Version"])};
        keepAlive_ = request.keep_alive() && !shared_.stopping && !shared_.draining;
        head_ = request.method() == http::verb::head;
        if (request.method() == http::verb::post && RouteOf(target_, shared_.web) == Route::Readings) {
            HttpResponse tooMany = CheckBatch(request.body(), language_);
            if (tooMany.status != 0) return Send(std::move(tooMany), keepAlive_);
            return StartBatch(parser_->release().body());
        }
        Send(service::Answer(view, shared_.context), keepAlive_);
    }

    template <class Message>
    void CommonFields(Message& message) {
        // A request the parser refused, or one without a usable id, gets one of its own.
        if (requestId_.empty()) requestId_ = shared_.ids.Next();
        message.set("X-Request-Id", requestId_);
        message.set(http::field::server, "chenggu");
        message.set(http::field::access_control_allow_origin, "*");
        message.set(http::field::access_control_expose_headers, "ETag, X-Request-Id");
        message.set(http::field::vary, "Accept-Language");
    }

    void Send(HttpResponse answer, bool keepAlive) {
        // While draining, each answer closes its connection, so that a client's next request
        // goes through the balancer to a copy that is ready.
        keepAlive_ = keepAlive && !shared_.stopping && !shared_.draining;
        status_ = answer.status;
        auto message = std::make_shared<http::response<http::string_body>>(
            static_cast<http::status>(answer.status), 11);
        CommonFields(*message);
        if (!answer.contentType.empty()) message->set(http::field::content_type, answer.contentType);
        for (const auto& [name, value] : answer.headers) message->set(name, value);
        const std::size_t size = answer.body.size();
        message->body() = std::move(answer.body);
        message->keep_alive(keepAlive_);
        // No Content-Length on a 204, nor on a 304, whose would have to be the 200's.
        if (answer.status != 204 && answer.status != 304) message->prepare_payload();
        if (head_) {
            message->body().clear();
            message->content_length(size);
        }
        stream_.expires_after(shared_.options.writeTimeout);
        http::async_write(stream_, *message,
                          [self = shared_from_this(), message](beast::error_code error, std::size_t) {
                              self->Finished(error);
                          });
    }

    void StartBatch(std::string body) {
        status_ = 200;
        batch_.emplace(std::move(body), language_);
        batchHeader_.emplace(http::status::ok, 11);
        CommonFields(*batchHeader_);
        batchHeader_->set(http::field::content_type, "application/x-ndjson");
        batchHeader_->chunked(true);
        batchHeader_->keep_alive(keepAlive_);
        serializer_.emplace(*batchHeader_);
        stream_.expires_after(shared_.options.writeTimeout);
        http::async_write_header(stream_, *serializer_,
                                 [self = shared_from_this()](beast::error_code error, std::size_t) {
                                     if (error) return self->Finished(error);
                                     self->WriteBatch();
                                 });
    }

    // The next answers of the batch as a chunk, each computed when the one before is written:
    // the batch streams in constant memory and shares its thread with other connections.
    void WriteBatch() {
        if (batch_->Done()) {
            stream_.expires_after(shared_.options.writeTimeout);
            return net::async_write(stream_, http::make_chunk_last(),
                                    [self = shared_from_this()](beast::error_code error, std::size_t) {
                                        self->batch_.reset();
                                        self->Finished(error);
                                    });
        }
        chunk_ = batch_->Next(BatchChunk);
        if (chunk_.empty()) return WriteBatch();
        stream_.expires_after(shared_.options.writeTimeout);
        net::async_write(stream_, http::make_chunk(net::buffer(chunk_)),
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             if (error) return self->Finished(error);  // the client left
                             self->WriteBatch();
                         });
    }

    void Finished(beast::error_code error) {
        const auto microseconds = static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started_).count());
        shared_.metrics.Count(RouteOf(target_, shared_.web), status_, microseconds);
        if (shared_.options.accessLog) LogAccess(requestId_, method_, target_, status_, microseconds);
        if (error) return Close();
        if (!keepAlive_) return parser_ && parser_->is_done() ? Close() : Drain();
        ReadHeader();
    }

    void Drain() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.expires_after(DrainTime);
        drained_ = 0;
        DrainSome();
    }

    void DrainSome() {
        buffer_.consume(buffer_.size());
        stream_.async_read_some(buffer_.prepare(LargestReadAhead),
                                [self = shared_from_this()](beast::error_code error, std::size_t bytes) {
                                    self->drained_ += bytes;
                                    if (error || self->drained_ > MostDrained) return self->Close();
                                    self->DrainSome();
                                });
    }

    void Close() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.socket().close(ignored);
    }

    beast::tcp_stream stream_;
    Shared& shared_;
    beast::flat_buffer buffer_{LargestReadAhead};
    std::size_t drained_ = 0;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::optional<BatchAnswers> batch_;
    std::optional<http::response<http::empty_body>> batchHeader_;
    std::optional<http::response_serializer<http::empty_body>> serializer_;
    std::string chunk_;
    std::string method_ = "-", target_ = "-";
    std::string requestId_;
    Language language_ = Language::Chinese;
    Clock::time_point started_ = Clock::now();
    int status_ = 0;
    bool keepAlive_ = false;
    bool head_ = false;
    bool waiting_ = false;
};

class Listener : public std::enable_shared_from_this<Listener> {
  public:
    Listener(net::io_context& context, tcp::acceptor& acceptor, Shared& shared)
        : context_(context), acceptor_(acceptor), shared_(shared) {}

    void Accept() {
        acceptor_.async_accept(net::make_strand(context_),
                               beast::bind_front_handler(&Listener::OnAccept, shared_from_this()));
    }

  private:
    void OnAccept(beast::error_code error, tcp::socket socket) {
        if (shared_.stopping || error == net::error::operation_aborted) return;
        if (!error) {
            const bool full = shared_.open.load() >= shared_.options.maxConnections;
            std::make_shared<Session>(std::move(socket), shared_)->Start(full);
        }
        Accept();  // a failed accept (no file descriptors left) does not stop the others
    }

    net::io_context& context_;
    tcp::acceptor& acceptor_;
    Shared& shared_;
};

}  // namespace

int Serve(const ServerOptions& options, WebFiles web,
          const std::function<void(unsigned short port)>& listening) {
    Shared shared;
    shared.options = options;
    shared.web = std::move(web);
    std::optional<PageTemplate> page;
    if (const WebFile* index = shared.web.Find("/index.html")) page.emplace(index->content);
    shared.context = {&shared.web, &shared.metrics, &shared.options.mcpOrigins,
                      shared.options.publicUrl, page ? &*page : nullptr, &shared.draining};
    const unsigned threads =
        options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());

    net::io_context context(static_cast<int>(threads));
    beast::error_code error;
    const std::string host = options.host == "localhost" ? "127.0.0.1" : options.host;
    const net::ip::address address = net::ip::make_address(host, error);
    if (error) {
        std::fprintf(stderr, "chenggu serve: %s is not an IP address (127.0.0.1, ::1, 0.0.0.0)\n",
                     host.c_str());
        return 1;
    }
    tcp::acceptor acceptor(context);
    const tcp::endpoint endpoint(address, options.port);
    acceptor.open(endpoint.protocol(), error);
    if (!error) acceptor.set_option(net::socket_base::reuse_address(true), error);
    if (!error) acceptor.bind(endpoint, error);
    if (!error) acceptor.listen(net::socket_base::max_listen_connections, error);
    if (error) {
        std::fprintf(stderr, "chenggu serve: cannot listen on %s port %u: %s\n", host.c_str(),
                     static_cast<unsigned>(options.port), error.message().c_str());
        return 1;
    }
    std::make_shared<Listener>(context, acceptor, shared)->Accept();

    // The stop: no new connections, idle ones closed, answers in flight finished; whatever is
    // still running after 4 seconds is cut off so that the process ends within 5.
    net::signal_set signals(context, SIGINT, SIGTERM);
    net::steady_timer deadline(context);
    shared.io = &context;
    const auto stop = [&] {
        if (shared.stopping.exchange(true)) return;
        if (shared.open.load() == 0) return context.stop();
        beast::error_code ignored;
        acceptor.close(ignored);
        {
            const std::lock_guard lock(shared.sessionsMutex);
            for (Session* session : shared.sessions) session->Stop();
        }
        deadline.expires_after(std::chrono::seconds(4));
        deadline.async_wait([&](beast::error_code e) {
            if (!e) context.stop();
        });
    };
    // The first signal starts the drain: /readyz answers 503 while every request is still
    // served, so that a balancer's checks take the copy out before it stops accepting. A
    // second signal, or the drain's end, stops.
    net::steady_timer drain(context);
    std::function<void(beast::error_code, int)> onSignal = [&](beast::error_code signalError, int) {
        if (signalError) return;
        if (shared.draining.exchange(true) || options.drain.count() == 0) return stop();
        drain.expires_after(options.drain);
        drain.async_wait([&](beast::error_code e) {
            if (!e) stop();
        });
        signals.async_wait(onSignal);
    };
    signals.async_wait(onSignal);
    std::fprintf(stderr, "chenggu serve: listening on http://%s%s%s:%u/ with %u threads\n",
                 address.is_v6() ? "[" : "", host.c_str(), address.is_v6() ? "]" : "",
                 static_cast<unsigned>(acceptor.local_endpoint().port()), threads);

    if (listening) listening(acceptor.local_endpoint().port());
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i) pool.emplace_back([&] { context.run(); });
    context.run();
    for (std::thread& thread : pool) thread.join();
    return 0;
}

}  // namespace chenggu::service
