#include "interface/reading_markup.h"

#include "chenggu/chinese_text.h"
#include "chenggu/places.h"
#include "interface/birth_time_writing.h"
#include "interface/html_text.h"
#include "interface/html_writer.h"
#include "interface/json_writer.h"
#include "interface/reading_members.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

std::string Number(std::int64_t value) { return std::to_string(value); }

// 1990.1.31, as the page's notes write a day.
std::string Dotted(const GregorianDate& date) {
    return Number(date.year) + "." + Number(date.month) + "." + Number(date.day);
}

void Headline(HtmlWriter& html, std::int32_t total) {
    const Script s = html.script();
    const std::array<std::string_view, 2> lines = VerseLines(total, s);
    html << "<p class=\"total\">";
    html.T("总骨重") << " <strong class=\"nowrap\">";
    html.Field("span", "totalWeight", Number(total), Number(total)) << " ";
    html.T("钱") << "</strong>";
    html.T("，");
    const std::string weight = WeightText(total, s);
    html.Field("strong", "weightText", weight, weight, " class=\"nowrap\"") << "</p>";
    html.Open("blockquote", "verse", std::string(lines[0]) + "\n" + std::string(lines[1]),
              " class=\"verse\"");
    for (const std::string_view line : lines) html << "<p>" << HtmlText(line) << "</p>";
    html.Close("blockquote");
}

// 公历: the date, the clock time when one was given, the period, and the day read when it is
// another.
void SolarDate(HtmlWriter& html, const BirthReading& r) {
    const Script s = html.script();
    const GregorianDate& date = r.birth.date;
    html << "<dd id=\"solar-date\"><span class=\"nowrap\">" << Number(date.year);
    html.T("年") << Number(date.month);
    html.T("月") << Number(date.day);
    html.T("日");
    if (r.birth.clock) {
        const ClockTime& clock = *r.birth.clock;
        html << " " << (clock.hour < 10 ? "0" : "") << Number(clock.hour) << ":" << (clock.minute < 10 ? "0" : "")
             << Number(clock.minute);
    }
    html << "</span> <span class=\"nowrap\">";
    html.Text(PeriodName(r.period(), s)) << " " << PeriodLabel(r.period()) << "</span>";
    if (r.readingDate != r.birth.date) {
        html << " <span class=\"nowrap\">";
        if (r.birthTime && r.options.solarTime.value_or(SolarTime::Clock) != SolarTime::Clock) {
            html.T("（").Text(ConventionText(r.birthTime->used, s)).T("是 ") << Dotted(r.readingDate);
            html.T("，按这天论）");
        } else {
            html.T("（晚子时算次日，按 ") << Dotted(r.readingDate);
            html.T(" 论）");
        }
        html << "</span>";
    }
    html << "</dd>";
}

void LunarDateRow(HtmlWriter& html, const BirthReading& r) {
    const Script s = html.script();
    const LunarDate& lunar = r.lunarDate;
    html << "<dt>";
    html.T("农历") << "</dt><dd><span class=\"nowrap\">";
    html.Field("span", "lunarYear", Number(lunar.year), Number(lunar.year) + T(s, "年"));
    html.Field("span", "lunarMonth", Number(lunar.month), LunarMonthName(lunar.month, lunar.leapMonth, s));
    html.Field("span", "lunarDay", Number(lunar.day), LunarDayName(lunar.day, s)) << "</span>";
    html.Field("span", "leapMonth", lunar.leapMonth ? "true" : "false", "", " hidden");
    html << "<small id=\"leap-month-date\" class=\"note\">";
    if (r.birth.lunarInput) {
        if (const auto twin = LeapMonthTwin(*r.birth.lunarInput, r.options.calendarRule)) {
            html.T("同一天若在闰").Text(LunarMonthName(lunar.month, false, s)).T("，是公历 ") << Dotted(*twin);
        }
    }
    html << "</small></dd>";
}

void Pillars(HtmlWriter& html, const BirthReading& r) {
    html << "<dt>";
    html.T("干支") << "</dt><dd class=\"pillars\">";
    const std::array<std::pair<std::string_view, std::string_view>, 4> pillars{{
        {"yearStemBranch", "年"}, {"monthStemBranch", "月"}, {"dayStemBranch", "日"}, {"periodStemBranch", "时"}}};
    const std::array<std::string_view, 4> values{r.yearStemBranch, r.monthStemBranch, r.dayStemBranch,
                                                 r.periodStemBranch};
    for (std::size_t i = 0; i < pillars.size(); ++i) {
        html << (i == 0 ? "" : " ") << "<span class=\"nowrap\">";
        html.Field("span", pillars[i].first, values[i], values[i]).T(pillars[i].second) << "</span>";
    }
    const std::string branch = T(html.script(), r.periodBranch);
    html.Field("span", "periodBranch", branch, branch, " hidden") << "</dd>";
}

void SolarTermRow(HtmlWriter& html, const BirthReading& r) {
    const std::string_view hidden = r.solarTerm ? "" : " hidden";
    html << "<dt class=\"term\"" << hidden << ">";
    html.T("节气") << "</dt>";
    const std::string data =
        r.solarTerm ? WrittenJson(-1, [&](JsonWriter& w) { WriteSolarTermObject(w, *r.solarTerm, html.script()); }) : "";
    html.Field("dd", "solarTerm", data, r.solarTerm ? SolarTermText(*r.solarTerm, html.script()) : "",
               std::string(" class=\"term\"") + std::string(hidden));
}

// 规则: the conventions read by, and at a birthplace the time the period follows.
void Rules(HtmlWriter& html, const BirthReading& r) {
    const Script s = html.script();
    html << "<dt>";
    html.T("规则") << "</dt><dd class=\"rules-line\">";
    html.Text(ConventionText(r.options.lateZi, s)).T("；").Text(ConventionText(r.options.yearStart, s));
    html.T("；").Text(ConventionText(r.options.leapMonth, s));
    html.T("；").Text(ConventionText(r.options.calendarRule, s));
    if (r.birthTime) html.T("；时辰").Text(ConventionText(r.birthTime->used, s));
    html << "</dd>";
}

void Weights(HtmlWriter& html, const BirthReading& r) {
    html << "<table class=\"weights\"><caption>";
    html.T("骨重（钱）") << "</caption><tr>";
    for (const std::string_view column : {"年", "月", "日", "时"}) {
        html << "<th scope=\"col\">";
        html.T(column) << "</th>";
    }
    html << "</tr><tr><td>";
    html.Field("span", "yearWeight", Number(r.yearWeight), Number(r.yearWeight));
    html << "<small class=\"weighed\">";
    html.T("（").Field("span", "weighedYearStemBranch", r.weighedYearStemBranch, r.weighedYearStemBranch);
    html.T("年）") << "</small></td>";
    html.Field("td", "monthWeight", Number(r.monthWeight), Number(r.monthWeight));
    html.Field("td", "dayWeight", Number(r.dayWeight), Number(r.dayWeight));
    html.Field("td", "periodWeight", Number(r.periodWeight), Number(r.periodWeight)) << "</tr></table>";
}

void Explanation(HtmlWriter& html, const BirthReading& r) {
    const std::string_view meaning = VerseExplanation(r.totalWeight, html.script());
    html << "<p class=\"explanation\"><span class=\"label\">";
    html.T("释义") << "</span> ";
    html.Field("span", "verseExplanation", meaning, meaning) << "</p>";
}

// The totals under the other conventions, each with its condition and verse.
void Alternatives(HtmlWriter& html, const BirthReading& r) {
    const Script s = html.script();
    const std::string data = WrittenJson(-1, [&](JsonWriter& w) {
        w.StartArray();
        for (const BirthReading& alternative : r.alternatives) {
            w.StartObject();
            WriteConventions(w, alternative.options);
            w.Member("totalWeight", alternative.totalWeight);
            w.EndObject();
        }
        w.EndArray();
    });
    html.Open("div", "alternatives", data, " class=\"alternatives\"");
    if (!r.alternatives.empty()) {
        html << "<h2>";
        html.T("其他算法") << "</h2><ul>";
        for (const BirthReading& alternative : r.alternatives) {
            const std::array<std::string_view, 2> lines = VerseLines(alternative.totalWeight, s);
            html << "<li>";
            html.Text(AlternativeCondition(r, alternative, s)).T("：总骨重 ") << Number(alternative.totalWeight);
            html.T(" 钱，").Text(WeightText(alternative.totalWeight, s)) << "<span class=\"alt-verse\">";
            html.Text(lines[0]).Text(lines[1]) << "</span></li>";
        }
        html << "</ul>";
    }
    html.Close("div");
}

}  // namespace

std::string HeadlineMarkup(std::int32_t totalWeight, Script script) {
    HtmlWriter html(script);
    Headline(html, totalWeight);
    return std::move(html).Take();
}

ReadingMarkup MarkupOf(const BirthReading& reading, Script script) {
    HtmlWriter details(script);
    details << "<dl class=\"dates\"><dt>";
    details.T("公历") << "</dt>";
    SolarDate(details, reading);
    BirthTimeRows(details, reading);
    LunarDateRow(details, reading);
    Pillars(details, reading);
    SolarTermRow(details, reading);
    Rules(details, reading);
    details << "</dl>";
    Weights(details, reading);
    Explanation(details, reading);
    Alternatives(details, reading);
    return {HeadlineMarkup(reading.totalWeight, script), std::move(details).Take()};
}

std::string PreviewPicturePath(std::int32_t totalWeight, Script script) {
    return "preview/" + Number(totalWeight) + (script == Script::Traditional ? "-traditional" : "") + ".png";
}

std::string PreviewHead(std::int32_t totalWeight, Script script, std::string_view pageUrl,
                        std::string_view imageUrl) {
    // The card is seen by the whole chat: it names the total and its verse, never the birth.
    const std::string title = T(script, "称骨算命") + T(script, "：") + WeightText(totalWeight, script);
    const std::array<std::string_view, 2> lines = VerseLines(totalWeight, script);
    const std::string verse = std::string(lines[0]) + std::string(lines[1]);
    HtmlWriter html(script);
    const auto meta = [&](std::string_view kind, std::string_view name, std::string_view content) {
        html << "\n  <meta";
        html.Attribute(kind, name).Attribute("content", content) << ">";
    };
    html << "<title>";
    html.Text(title) << "</title>";
    meta("name", "description", verse);
    meta("property", "og:type", "website");
    meta("property", "og:site_name", T(script, "称骨算命"));
    meta("property", "og:title", title);
    meta("property", "og:description", verse);
    if (!pageUrl.empty()) meta("property", "og:url", pageUrl);
    if (!imageUrl.empty()) {
        meta("property", "og:image", imageUrl);
        meta("property", "og:image:type", "image/png");
        meta("property", "og:image:width", Number(PreviewWidth));
        meta("property", "og:image:height", Number(PreviewHeight));
        meta("property", "og:image:alt", title);
    }
    meta("name", "twitter:card", imageUrl.empty() ? "summary" : "summary_large_image");
    meta("name", "twitter:title", title);
    meta("name", "twitter:description", verse);
    if (!imageUrl.empty()) meta("name", "twitter:image", imageUrl);
    // QQ reads schema.org's microdata.
    meta("itemprop", "name", title);
    meta("itemprop", "description", verse);
    if (!imageUrl.empty()) meta("itemprop", "image", imageUrl);
    if (!pageUrl.empty()) {
        html << "\n  <link rel=\"canonical\"";
        html.Attribute("href", pageUrl) << ">";
    }
    return std::move(html).Take();
}

CHENGGU_END_NAMESPACE
