// Where a request's time goes inside chenggu serve, apart from the network: the route's
// answer for a reading (the query read, the library's request and answer, the ETag) against
// the health route's, and the library's reading of the same request alone.
#include <benchmark/benchmark.h>

#include "chenggu/json.h"
#include "service/routes.h"

namespace {

using namespace chenggu::service;

void Route(benchmark::State& state, const char* target) {
    const WebFiles web;
    for (auto _ : state) {
        HttpResponse response = Answer({"GET", target, "", "", ""}, {&web, nullptr});
        benchmark::DoNotOptimize(response);
    }
}
BENCHMARK_CAPTURE(Route, healthz, "/healthz");
BENCHMARK_CAPTURE(Route, reading, "/v1/reading?date=1990-01-30&period=%E5%AD%90");
BENCHMARK_CAPTURE(Route, readingAtPlace,
                  "/v1/reading?date=2024-02-04&time=10:00&place=%E5%8C%97%E4%BA%AC&yearStart=spring");

void LibraryReadJson(benchmark::State& state) {
    for (auto _ : state) {
        std::string answer = chenggu::ReadJson(R"({"date":"1990-01-30","period":"子"})");
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(LibraryReadJson);

}  // namespace

BENCHMARK_MAIN();
