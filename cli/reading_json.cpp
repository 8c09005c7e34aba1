#include "cli/reading_json.h"

#include <nlohmann/json.hpp>

#include "cli/reading_text.h"
#include "cli/utf8.h"
#include "reading/verses.h"

namespace {

using Json = nlohmann::ordered_json;

Json ReadingObject(const GregorianDate& date, const LunarDate& lunar, int period,
                   const Reading& r) {
    Json object;
    object["date"] = FormatDate(date);
    object["period"] = period;
    object["periodLabel"] = Utf8(BirthPeriods[static_cast<std::size_t>(period)].periodLabel);
    object["lunarYear"] = r.lunarYear;
    object["lunarMonth"] = r.lunarMonth;
    object["lunarDay"] = r.lunarDay;
    object["periodBranch"] = Utf8(r.periodBranch);
    object["yearStemBranch"] = Utf8(r.yearStemBranch);
    object["monthStemBranch"] = Utf8(r.monthStemBranch);
    object["dayStemBranch"] = Utf8(r.dayStemBranch);
    object["yearWeight"] = r.yearWeight;
    object["monthWeight"] = r.monthWeight;
    object["dayWeight"] = r.dayWeight;
    object["periodWeight"] = r.periodWeight;
    object["totalWeight"] = r.totalWeight;
    object["verse"] = Utf8(r.verse);
    object["leapMonth"] = lunar.leapMonth;
    object["weightText"] = WeightText(r.totalWeight);
    return object;
}

}  // namespace

std::string ReadingJson(const GregorianDate& date, const LunarDate& lunar, int period,
                        const Reading& reading) {
    return ReadingObject(date, lunar, period, reading).dump(2) + "\n";
}

std::string ReadingsJson(const GregorianDate& date, const LunarDate& lunar,
                         const std::array<Reading, 12>& readings) {
    Json array = Json::array();
    for (std::size_t period = 0; period < readings.size(); ++period) {
        array.push_back(ReadingObject(date, lunar, static_cast<int>(period), readings[period]));
    }
    return array.dump(2) + "\n";
}
