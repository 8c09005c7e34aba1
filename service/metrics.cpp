#include "service/metrics.h"

#include <algorithm>

namespace chenggu::service {

void Metrics::Count(Route route, int status, std::uint64_t microseconds) {
    const auto r = static_cast<std::size_t>(route);
    const auto s = static_cast<std::size_t>(
        std::find(Statuses.begin(), Statuses.end() - 1, status) - Statuses.begin());
    const auto b = static_cast<std::size_t>(
        std::lower_bound(Bounds.begin(), Bounds.end(), microseconds) - Bounds.begin());
    requests_[r][s].fetch_add(1, std::memory_order_relaxed);
    buckets_[r][b].fetch_add(1, std::memory_order_relaxed);
    microseconds_[r].fetch_add(microseconds, std::memory_order_relaxed);
}

std::string Metrics::Text() const {
    std::string text =
        "# HELP chenggu_http_requests_total HTTP requests answered, by route and status.\n"
        "# TYPE chenggu_http_requests_total counter\n";
    for (std::size_t r = 0; r < RouteCount; ++r) {
        for (std::size_t s = 0; s < Statuses.size(); ++s) {
            const std::uint64_t count = requests_[r][s].load(std::memory_order_relaxed);
            if (count == 0) continue;
            text += "chenggu_http_requests_total{route=\"" +
                    std::string(RouteName(static_cast<Route>(r))) + "\",status=\"" +
                    (Statuses[s] != 0 ? std::to_string(Statuses[s]) : std::string("other")) +
                    "\"} " + std::to_string(count) + "\n";
        }
    }
    text +=
        "# HELP chenggu_http_request_duration_seconds Time from a request's header to its "
        "answer written.\n"
        "# TYPE chenggu_http_request_duration_seconds histogram\n";
    for (std::size_t r = 0; r < RouteCount; ++r) {
        std::uint64_t cumulative = 0;
        for (std::size_t b = 0; b <= Bounds.size(); ++b) {
            cumulative += buckets_[r][b].load(std::memory_order_relaxed);
        }
        if (cumulative == 0) continue;
        const std::string route = std::string(RouteName(static_cast<Route>(r)));
        cumulative = 0;
        for (std::size_t b = 0; b <= Bounds.size(); ++b) {
            cumulative += buckets_[r][b].load(std::memory_order_relaxed);
            const std::string bound =
                b < Bounds.size() ? std::to_string(static_cast<double>(Bounds[b]) / 1e6) : "+Inf";
            text += "chenggu_http_request_duration_seconds_bucket{route=\"" + route + "\",le=\"" +
                    bound + "\"} " + std::to_string(cumulative) + "\n";
        }
        const double seconds =
            static_cast<double>(microseconds_[r].load(std::memory_order_relaxed)) / 1e6;
        text += "chenggu_http_request_duration_seconds_sum{route=\"" + route + "\"} " +
                std::to_string(seconds) + "\n";
        text += "chenggu_http_request_duration_seconds_count{route=\"" + route + "\"} " +
                std::to_string(cumulative) + "\n";
    }
    return text;
}

}  // namespace chenggu::service
