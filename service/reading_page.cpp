#include "service/reading_page.h"

#include <algorithm>
#include <ctime>

#include "chenggu/birth_reading.h"
#include "interface/html_text.h"
#include "interface/link_json.h"
#include "interface/reading_markup.h"

namespace chenggu::service {
namespace {

// Replaces the first occurrence of what; a page without it (one of --web's own) is left so.
void Replace(std::string& html, std::string_view what, std::string_view with) {
    const std::size_t at = html.find(what);
    if (at != std::string::npos) html.replace(at, what.size(), with);
}

// The part between two markers, markers included.
void ReplaceBetween(std::string& html, std::string_view open, std::string_view close,
                    std::string_view with) {
    const std::size_t from = html.find(open);
    const std::size_t to = from == std::string::npos ? from : html.find(close, from);
    if (to != std::string::npos) html.replace(from, to + close.size() - from, with);
}

// Today and its hour in Beijing, where the page's readers mostly are: 2026-12-08T14:30.
std::string BeijingNow(std::chrono::system_clock::time_point now) {
    const std::time_t beijing = std::chrono::system_clock::to_time_t(now) + 8 * 3600;
    std::tm utc{};
    gmtime_r(&beijing, &utc);
    char text[24];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M", &utc);
    return text;
}

bool PlainHost(std::string_view host) {
    return !host.empty() && host.size() <= 255 &&
           std::all_of(host.begin(), host.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
           });
}

}  // namespace

std::string PageBase(std::string_view publicUrl, std::string_view host) {
    if (!publicUrl.empty()) {
        std::string base(publicUrl);
        if (base.back() != '/') base += '/';
        return base;
    }
    return PlainHost(host) ? "http://" + std::string(host) + "/" : "";
}

ReadingPage RenderReadingPage(std::string_view page, const PageRequest& request) {
    const LinkReading link = ReadLink(request.query, BeijingNow(request.now), request.script);
    const Script script = link.request.script;
    ReadingPage rendered{std::string(page), link.fromLink && link.today};
    std::string& html = rendered.html;
    // The links of a page sent by the server carry the birth in the query, which it reads.
    const std::size_t share = html.find("<meta name=\"share-pages\" content=\"");
    if (share != std::string::npos) {
        const std::size_t end = html.find('"', share + 34);
        if (end != std::string::npos) html.replace(share + 34, end - share - 34, "");
    }
    // Without a link the page is the same for everyone (and kept by caches); its script reads
    // today's reading by the reader's own clock.
    if (!link.fromLink) return rendered;
    const Result<BirthReading> reading = Read(link.request.birth, link.request.options);
    if (!reading) return rendered;  // ReadLink gives only requests that read

    const std::string base = PageBase(request.publicUrl, request.host);
    const std::string query = PageQuery(request.query);
    const std::string pageUrl = base.empty() ? "" : base + (query.empty() ? "" : "?" + query);
    const std::string imageUrl = base.empty() ? "" : base + PreviewPicturePath(reading->totalWeight, script);
    ReplaceBetween(html, "<!--preview-->", "<!--/preview-->",
                   PreviewHead(reading->totalWeight, script, pageUrl, imageUrl));
    const ReadingMarkup markup = MarkupOf(*reading, script);
    Replace(html, "<!--headline-->", markup.headline);
    Replace(html, "<!--details-->", markup.details);
    Replace(html, "<body data-state=\"loading\">", "<body data-state=\"rendered\">");
    if (script == Script::Traditional) Replace(html, "<html lang=\"zh-CN\">", "<html lang=\"zh-Hant\">");
    if (!link.message.empty()) {
        Replace(html, "<p id=\"message\" class=\"message\" role=\"alert\" hidden></p>",
                "<p id=\"message\" class=\"message\" role=\"alert\">" + HtmlText(link.message) + "</p>");
    }
    // The birth time's fields are open when the link gives any of them, as the page opens them.
    if (!link.time.empty() || !link.place.empty() || !link.lon.empty() || !link.zone.empty()) {
        Replace(html, "<details class=\"where\" id=\"where\">", "<details class=\"where\" id=\"where\" open>");
    }
    return rendered;
}

}  // namespace chenggu::service
