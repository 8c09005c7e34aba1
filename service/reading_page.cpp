#include "service/reading_page.h"

#include <algorithm>
#include <ctime>

#include "chenggu/birth_reading.h"
#include "interface/html_text.h"
#include "interface/link_json.h"
#include "interface/reading_markup.h"
#include "service/routes.h"

namespace chenggu::service {
namespace {

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

PageTemplate::PageTemplate(std::string_view page) : plain_(page) {
    // The links of a page sent by the server carry the birth in the query, which it reads.
    const std::string share = "<meta name=\"share-pages\" content=\"";
    if (const std::size_t at = plain_.find(share); at != std::string::npos) {
        const std::size_t end = plain_.find('"', at + share.size());
        if (end != std::string::npos) plain_.erase(at + share.size(), end - at - share.size());
    }
    const std::string_view html = plain_;
    const std::pair<Slot, std::string_view> slots[] = {
        {Slot::Language, "<html lang=\"zh-CN\">"},
        {Slot::Preview, "<!--preview-->"},
        {Slot::State, "<body data-state=\"loading\">"},
        {Slot::Message, "<p id=\"message\" class=\"message\" role=\"alert\" hidden></p>"},
        {Slot::Headline, "<!--headline-->"},
        {Slot::Where, "<details class=\"where\" id=\"where\">"},
        {Slot::Details, "<!--details-->"},
    };
    std::size_t from = 0;
    for (const auto& [slot, marker] : slots) {
        std::size_t at = html.find(marker, from);
        if (at == std::string_view::npos) continue;
        std::size_t length = marker.size();
        if (slot == Slot::Preview) {  // the page's own title and tags, up to the closing marker
            const std::size_t end = html.find("<!--/preview-->", at);
            if (end == std::string_view::npos) continue;
            length = end + 15 - at;
        }
        parts_.push_back({html.substr(from, at - from), slot, html.substr(at, length)});
        from = at + length;
    }
    tail_ = html.substr(from);
    pageTag_ = EntityTag(plain_);
}

ReadingPage PageTemplate::Render(const PageRequest& request) const {
    const LinkReading link = ReadLink(request.query, BeijingNow(request.now), request.script);
    // Without a link the page is the same for everyone (and kept by caches); its script reads
    // today's reading by the reader's own clock.
    if (!link.fromLink || parts_.empty()) return {plain_, false};
    const std::optional<BirthReading>& reading = link.reading;
    if (!reading) return {plain_, false};

    const Script script = link.request.script;
    const std::string base = PageBase(request.publicUrl, request.host);
    const std::string query = PageQuery(request.query);
    const std::string pageUrl = base.empty() ? "" : base + (query.empty() ? "" : "?" + query);
    const std::string imageUrl = base.empty() ? "" : base + PreviewPicturePath(reading->totalWeight, script);
    const ReadingMarkup markup = MarkupOf(*reading, script);
    // The birth time's fields are open when the link gives any of them, as the page opens them.
    const bool where = !link.time.empty() || !link.place.empty() || !link.lon.empty() || !link.zone.empty();

    ReadingPage page{{}, link.today,
                     pageTag_ + '\n' + query + '\n' + base + '\n' + std::string(ScriptName(script)) + '\n' +
                         (link.today ? IsoDate(reading->birth.date) + " " + std::to_string(reading->period().index) : "")};
    page.html.reserve(plain_.size() + markup.headline.size() + markup.details.size() + 2048);
    for (const Part& part : parts_) {
        page.html += part.text;
        switch (part.slot) {
            case Slot::Language:
                page.html += script == Script::Traditional ? "<html lang=\"zh-Hant\">" : part.marker;
                break;
            case Slot::Preview:
                page.html += PreviewHead(reading->totalWeight, script, pageUrl, imageUrl);
                break;
            case Slot::State: page.html += "<body data-state=\"rendered\">"; break;
            case Slot::Message:
                page.html += link.message.empty() ? std::string(part.marker)
                                                  : "<p id=\"message\" class=\"message\" role=\"alert\">" +
                                                        HtmlText(link.message) + "</p>";
                break;
            case Slot::Headline: page.html += markup.headline; break;
            case Slot::Where:
                page.html += where ? "<details class=\"where\" id=\"where\" open>" : part.marker;
                break;
            case Slot::Details: page.html += markup.details; break;
        }
    }
    page.html += tail_;
    return page;
}

}  // namespace chenggu::service
