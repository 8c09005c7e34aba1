// Where a request's time goes inside chenggu serve, apart from the network: the route's
// answer for a reading (the query read, the library's request and answer, the ETag) against
// the health route's, the library's reading of the same request alone, and the page of a
// link with its reading in it.
#include <benchmark/benchmark.h>

#include "chenggu/json.h"
#include "service/reading_page.h"
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

// The page of a link with its reading in it, from the page's own template (build/web, as
// chenggu serve reads it once), when the page has been built.
void Page(benchmark::State& state, const char* target) {
    const chenggu::Result<WebFiles> web = WebFiles::FromFolder(CHENGGU_WEB_FOLDER);
    if (!web) return state.SkipWithError("no page: scripts/web --build makes build/web");
    const PageTemplate page(web->Find("/index.html")->content);
    ServiceContext context{&*web, nullptr};
    context.page = &page;
    for (auto _ : state) {
        HttpResponse response = Answer({"GET", target, "", "", "", "", "127.0.0.1:8080"}, context);
        benchmark::DoNotOptimize(response);
    }
}
BENCHMARK_CAPTURE(Page, link, "/?date=1990-01-30&period=%E5%AD%90");
BENCHMARK_CAPTURE(Page, linkAtPlace, "/?date=2024-02-04&time=10:00&place=%E5%8C%97%E4%BA%AC&yearStart=spring");

void LibraryReadJson(benchmark::State& state) {
    for (auto _ : state) {
        std::string answer = chenggu::ReadJson(R"({"date":"1990-01-30","period":"子"})");
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(LibraryReadJson);

}  // namespace

BENCHMARK_MAIN();
