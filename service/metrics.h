// The server's counts in the Prometheus text format: requests by route and status, and a
// histogram of their latency by route. Counted with relaxed atomics from every thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "service/routes.h"

namespace chenggu::service {

class Metrics {
  public:
    void Count(Route route, int status, std::uint64_t microseconds);
    std::string Text() const;

  private:
    // The statuses the routes answer; any other is counted as the last.
    static constexpr std::array<int, 13> Statuses{200, 202, 204, 304, 400, 404, 405,
                                                  408, 413, 431, 500, 503, 0};
    // Upper bounds of the latency buckets, in microseconds (+Inf after the last).
    static constexpr std::array<std::uint64_t, 12> Bounds{100,    250,    500,     1000,
                                                          2500,   5000,   10000,   25000,
                                                          50000,  100000, 250000,  1000000};
    std::array<std::array<std::atomic<std::uint64_t>, Statuses.size()>, RouteCount> requests_{};
    std::array<std::array<std::atomic<std::uint64_t>, Bounds.size() + 1>, RouteCount> buckets_{};
    std::array<std::atomic<std::uint64_t>, RouteCount> microseconds_{};
};

}  // namespace chenggu::service
