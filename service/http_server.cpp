#include "service/http_server.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "service/metrics.h"
#include "service/routes.h"

namespace chenggu::service {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

constexpr std::size_t LargestHeader = 16 * 1024;

std::string_view Std(beast::string_view text) { return {text.data(), text.size()}; }
constexpr std::size_t BatchChunk = 64 * 1024;  // bytes of answers a batch writes at a time

class Session;

// What every connection shares: the options, the answers' context, the counts, and the
// connections open, so that a stop can close the idle ones.
struct Shared {
    ServerOptions options;
    WebFiles web;
    Metrics metrics;
    ServiceContext context;
    std::atomic<std::size_t> open{0};
    std::atomic<bool> stopping{false};
    net::io_context* io = nullptr;  // stopped once stopping and no connection is left
    std::mutex sessionsMutex;
    std::unordered_set<Session*> sessions;
};

// One line of JSON on standard error: when, what, how it ended and how long it took. The
// query is left out: it holds people's birth dates and places.
void LogAccess(std::string_view method, std::string_view target, int status,
               std::uint64_t microseconds) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                            now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &utc);
    // Quotes, backslashes and control bytes would break the line's JSON.
    const auto safe = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '?';
        }
        return out;
    };
    const std::string path = safe(target.substr(0, target.find('?')));
    const std::string m = safe(method);
    char line[1024];
    const int length = std::snprintf(
        line, sizeof line,
        "{\"time\":\"%s.%03dZ\",\"method\":\"%.16s\",\"path\":\"%.512s\",\"status\":%d,\"us\":%llu}\n",
        when, static_cast<int>(millis), m.c_str(), path.c_str(), status,
        static_cast<unsigned long long>(microseconds));
    if (length > 0) std::fwrite(line, 1, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1), stderr);
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
        language_ = LanguageOf(Std(header[http::field::accept_language]));
        const bool batch = RouteOf(target_, shared_.web) == Route::Readings;
        const std::size_t limit = batch ? LargestBatchBody : LargestBody;
        if (parser_->content_length() && *parser_->content_length() > limit) {
            return Send(TooLarge(limit, language_), false);
        }
        parser_->body_limit(limit);
        if (parser_->is_done()) return Answer();
        stream_.expires_after(shared_.options.bodyTimeout);
        if (beast::iequals(header[http::field::expect], "100-continue")) {
            auto proceed = std::make_shared<http::response<http::empty_body>>(
                http::status::continue_, header.version());
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
        const bool malformed = error.category() == make_error_code(http::error::bad_method).category() &&
                               error != http::error::end_of_stream &&
                               error != http::error::partial_message &&
                               error != http::error::short_read;
        if (malformed) return Send(NotHttp(language_), false);
        Close();  // the client left, or its time ran out
    }

    void Answer() {
        const auto& request = parser_->get();
        const HttpRequest view{method_, target_, request.body(),
                               Std(request[http::field::accept_language]),
                               Std(request[http::field::if_none_match])};
        keepAlive_ = request.keep_alive() && !shared_.stopping;
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
        message.set(http::field::server, "chenggu");
        message.set(http::field::access_control_allow_origin, "*");
        message.set(http::field::access_control_expose_headers, "ETag");
        message.set(http::field::vary, "Accept-Language");
    }

    void Send(HttpResponse answer, bool keepAlive) {
        keepAlive_ = keepAlive && !shared_.stopping;
        status_ = answer.status;
        auto message = std::make_shared<http::response<http::string_body>>(
            static_cast<http::status>(answer.status), 11);
        CommonFields(*message);
        if (!answer.contentType.empty()) message->set(http::field::content_type, answer.contentType);
        for (const auto& [name, value] : answer.headers) message->set(name, value);
        const std::size_t size = answer.body.size();
        message->body() = std::move(answer.body);
        message->keep_alive(keepAlive_);
        message->prepare_payload();
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
        if (shared_.options.accessLog) LogAccess(method_, target_, status_, microseconds);
        if (error || !keepAlive_) return Close();
        ReadHeader();
    }

    void Close() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.socket().close(ignored);
    }

    beast::tcp_stream stream_;
    Shared& shared_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::optional<BatchAnswers> batch_;
    std::optional<http::response<http::empty_body>> batchHeader_;
    std::optional<http::response_serializer<http::empty_body>> serializer_;
    std::string chunk_;
    std::string method_ = "-", target_ = "-";
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

int Serve(const ServerOptions& options, WebFiles web) {
    Shared shared;
    shared.options = options;
    shared.web = std::move(web);
    shared.context = {&shared.web, &shared.metrics};
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
    signals.async_wait([&](beast::error_code, int) {
        shared.stopping = true;
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
    });
    std::fprintf(stderr, "chenggu serve: listening on http://%s%s%s:%u/ with %u threads\n",
                 address.is_v6() ? "[" : "", host.c_str(), address.is_v6() ? "]" : "",
                 static_cast<unsigned>(acceptor.local_endpoint().port()), threads);

    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i) pool.emplace_back([&] { context.run(); });
    context.run();
    for (std::thread& thread : pool) thread.join();
    return 0;
}

}  // namespace chenggu::service
