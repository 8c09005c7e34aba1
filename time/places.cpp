// Places by name: a name matches a place when it is the place's name, with or without its
// kind (市, 县, 自治州 …), optionally after the names of the places it lies in (四川成都).
#include "chenggu/places.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chenggu/written_input.h"
#include "text/edit_distance.h"
#include "text/messages.h"
#include "text/utf8.h"
#include "time/generated/place_table.h"
#include "time/generated/zone_table.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

using solar::NoLongitude;
using solar::NoPlace;
using solar::PlaceLevel;
using solar::PlaceRecord;
using solar::PlaceRecords;

// The kinds of division a name may end in, longest first, in both scripts.
constexpr std::array<std::string_view, 29> Kinds{
    "特别行政区", "特別行政區", "维吾尔自治区", "維吾爾自治區", "壮族自治区", "壯族自治區",
    "回族自治区", "自治区",     "自治區",       "自治州",       "自治县",     "自治縣",
    "自治旗",     "地区",       "地區",         "林区",         "林區",       "特区",
    "特區",       "新区",       "新區",         "省",           "市",         "盟",
    "县",         "縣",         "区",           "區",           "旗"};

// Peoples named in autonomous divisions' names (甘孜藏族自治州 → 甘孜), in both scripts.
constexpr std::array<std::string_view, 24> Peoples{
    "蒙古族", "蒙古",   "藏族", "羌族",   "彝族",   "朝鲜族", "朝鮮族",   "土家族",
    "苗族",   "布依族", "侗族", "哈尼族", "壮族",   "壯族",   "傣族",     "景颇族",
    "景頗族", "傈僳族", "白族", "回族",   "哈萨克", "哈薩克", "柯尔克孜", "柯爾克孜"};

std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return count;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A name without its kind, when two characters remain: 成都市 → 成都, 兴县 stays.
std::string_view ShortName(std::string_view name) {
    for (const std::string_view kind : Kinds) {
        if (!EndsWith(name, kind) || CodePoints(name) - CodePoints(kind) < 2) continue;
        std::string_view stem = name.substr(0, name.size() - kind.size());
        if (kind.starts_with("自治")) {
            for (bool changed = true; changed;) {
                changed = false;
                for (const std::string_view people : Peoples) {
                    if (EndsWith(stem, people) && CodePoints(stem) - CodePoints(people) >= 2) {
                        stem.remove_suffix(people.size());
                        changed = true;
                    }
                }
            }
        }
        return stem;
    }
    return name;
}

// English names are matched in lower case without blanks and punctuation.
bool Skipped(char c) { return c == ' ' || c == '-' || c == '\'' || c == ',' || c == '.'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view text) {
    std::string folded;
    for (const char c : text) {
        if (!Skipped(c)) folded += Lower(c);
    }
    return folded;
}

struct Names {
    std::string_view simplified, traditional, english;
};

Names NamesOf(const PlaceRecord& record) {
    const std::string_view all =
        solar::PlaceTexts[record.text >> 16].substr(record.text & 0xffff, record.length);
    const std::size_t first = all.find('|'), second = all.find('|', first + 1);
    return {all.substr(0, first), all.substr(first + 1, second - first - 1),
            all.substr(second + 1)};
}

// Whether text ends with an English name, letter case, blanks and punctuation aside; the
// length of text it took, or nothing.
std::optional<std::size_t> EndsWithEnglish(std::string_view text, std::string_view english) {
    std::size_t t = text.size(), e = english.size();
    while (e > 0) {
        if (Skipped(english[e - 1])) {
            --e;
            continue;
        }
        if (t == 0 || text[t - 1] != Lower(english[e - 1])) return std::nullopt;
        --t;
        --e;
    }
    return text.size() - t;
}

// The last two characters of a text (its last two UTF-8 sequences, their bytes packed), in
// lower case for ASCII letters: every form of a place that a query matches is two characters
// or more, and ends in the query's last two.
std::uint64_t Ending(std::string_view text) {
    std::size_t start = text.size();
    for (int characters = 0; characters < 2 && start > 0; ++characters) {
        while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xc0) == 0x80) --start;
        if (start > 0) --start;
    }
    std::uint64_t key = 0;
    for (const char c : text.substr(start, 8))
        key = key << 8 | static_cast<unsigned char>(Lower(c));
    return key;
}

// The places' names without their kinds, and the places by the last two characters of their
// forms, so that a name is matched against the few places that can match it rather than all
// of them. Made once, on first use, and never changed after.
class PlaceIndex {
  public:
    PlaceIndex() : shortNames_(PlaceRecords.size()) {
        for (std::uint16_t i = 0; i < PlaceRecords.size(); ++i) {
            const Names names = NamesOf(PlaceRecords[i]);
            shortNames_[i] = {ShortName(names.simplified), ShortName(names.traditional)};
            for (const std::string_view name : {names.simplified, names.traditional}) {
                if (name.empty()) continue;
                entries_.push_back({Ending(name), i});
                entries_.push_back({Ending(ShortName(name)), i});
            }
            std::string english = Folded(names.english);
            if (!english.empty()) entries_.push_back({Ending(english), i});
            if (english.ends_with("city") && english.size() > 4) {
                english.resize(english.size() - 4);
                entries_.push_back({Ending(english), i});
            }
        }
        std::sort(entries_.begin(), entries_.end());
        entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
    }

    // The places a query may name, in the table's order.
    std::vector<std::uint16_t> Candidates(std::string_view query) const {
        const std::uint64_t last = Ending(query);
        const auto first = std::lower_bound(entries_.begin(), entries_.end(), Entry{last, 0});
        std::vector<std::uint16_t> places;
        for (auto it = first; it != entries_.end() && it->character == last; ++it) {
            places.push_back(it->place);
        }
        return places;
    }

    // The simplified and traditional names of a place without their kinds.
    const std::array<std::string_view, 2>& ShortNames(std::uint16_t place) const {
        return shortNames_[place];
    }

  private:
    struct Entry {
        std::uint64_t character;
        std::uint16_t place;
        auto operator<=>(const Entry&) const = default;
    };
    std::vector<std::array<std::string_view, 2>> shortNames_;
    std::vector<Entry> entries_;
};

const PlaceIndex& Index() {
    static const PlaceIndex index;
    return index;
}

// The lengths of the forms of a place that text ends with: its name with and without its
// kind, in both scripts, and its English name (New York City also as New York).
template <class Each>
void ForEachEnding(std::string_view text, std::uint16_t place, Each each) {
    const Names names = NamesOf(PlaceRecords[place]);
    const std::array<std::string_view, 2>& shortNames = Index().ShortNames(place);
    for (std::size_t script = 0; script < 2; ++script) {
        const std::string_view name = script == 0 ? names.simplified : names.traditional;
        if (name.empty()) continue;
        const std::string_view short_ = shortNames[script];
        if (EndsWith(text, name)) each(name.size());
        if (short_.size() != name.size() && EndsWith(text, short_)) each(short_.size());
    }
    if (!names.english.empty()) {
        if (const auto length = EndsWithEnglish(text, names.english)) each(*length);
        if (EndsWith(names.english, " City")) {
            const std::string_view town = names.english.substr(0, names.english.size() - 5);
            if (const auto length = EndsWithEnglish(text, town)) each(*length);
        }
    }
}

// Whether text is a sequence of forms of places that contain one another, from the outermost
// down to some place inside the one at index (which is not itself included).
bool AncestorsMatch(std::string_view text, std::uint16_t index) {
    if (text.empty()) return true;
    for (std::uint16_t above = PlaceRecords[index].parent; above != NoPlace;
         above = PlaceRecords[above].parent) {
        bool matched = false;
        ForEachEnding(text, above, [&](std::size_t length) {
            matched = matched || AncestorsMatch(text.substr(0, text.size() - length), above);
        });
        if (matched) return true;
    }
    return false;
}

bool Matches(std::string_view query, std::uint16_t index) {
    bool matched = false;
    ForEachEnding(query, index, [&](std::size_t length) {
        matched = matched || AncestorsMatch(query.substr(0, query.size() - length), index);
    });
    return matched;
}

bool Within(std::uint16_t inner, std::uint16_t outer) {
    for (std::uint16_t above = PlaceRecords[inner].parent; above != NoPlace;
         above = PlaceRecords[above].parent) {
        if (above == outer) return true;
    }
    return false;
}

std::uint16_t Root(std::uint16_t index) {
    while (PlaceRecords[index].parent != NoPlace) index = PlaceRecords[index].parent;
    return index;
}

// A place's name after those of the places it lies in (a city its country's name shares is
// named once: 香港), in either script.
std::string FullNameOf(std::uint16_t index, Script script) {
    const auto nameIn = [script](std::uint16_t place) {
        const Names names = NamesOf(PlaceRecords[place]);
        return script == Script::Traditional && !names.traditional.empty() ? names.traditional
                                                                           : names.simplified;
    };
    const std::string_view name = nameIn(index);
    std::string fullName;
    for (std::uint16_t above = PlaceRecords[index].parent; above != NoPlace;
         above = PlaceRecords[above].parent) {
        const std::string_view outer = nameIn(above);
        if (outer != name) fullName.insert(0, outer);
    }
    return fullName += name;
}

Place PlaceOf(std::uint16_t index) {
    const PlaceRecord& record = PlaceRecords[index];
    const Names names = NamesOf(record);
    Place place;
    place.name = names.simplified;
    place.englishName = names.english;
    place.region = NamesOf(PlaceRecords[Root(index)]).simplified;
    place.fullName = FullNameOf(index, Script::Simplified);
    place.longitude = record.longitude / 10000.0;
    if (record.longitude == NoLongitude) {
        // The generator places every county in a prefecture or province with a point.
        place.longitude = PlaceRecords[record.parent].longitude / 10000.0;
        place.longitudeOf = NamesOf(PlaceRecords[record.parent]).simplified;
    }
    if (record.zone < solar::ZoneNames.size()) place.zone = solar::ZoneNames[record.zone].name;
    return place;
}

// The query as places are matched: the engine's folding, blanks dropped, and for ASCII
// English names lower case.
std::string QueryForm(std::string_view name) {
    std::string query;
    for (const char c : NormalizedInput(name)) {
        if (c != ' ') query += c;
    }
    bool ascii = std::all_of(query.begin(), query.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? Folded(query) : query;
}

// The code points of UTF-8 text.
std::u32string CodePointsOf(std::string_view text) {
    std::u32string points;
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Character c = DecodeUtf8(text, pos);
        points += c.code;
        pos += std::max<std::size_t>(1, c.length);
    }
    return points;
}

// The country or province a query begins with (美国西雅国), and the rest of it.
std::pair<std::uint16_t, std::string_view> LeadingRegion(std::string_view query) {
    std::pair<std::uint16_t, std::string_view> best{NoPlace, query};
    for (std::uint16_t i = 0; i < PlaceRecords.size(); ++i) {
        const PlaceRecord& record = PlaceRecords[i];
        if (record.level != PlaceLevel::Country && record.level != PlaceLevel::Province) continue;
        const Names names = NamesOf(record);
        for (const std::string_view form : {names.simplified, names.traditional,
                                            Index().ShortNames(i)[0], Index().ShortNames(i)[1]}) {
            if (!form.empty() && query.starts_with(form) && form.size() < query.size() &&
                query.size() - form.size() < best.second.size()) {
                best = {i, query.substr(form.size())};
            }
        }
    }
    return best;
}

// Which of two places ranks first: provinces, prefectures, counties, then cities abroad, the
// more populous first.
bool Larger(std::uint16_t a, std::uint16_t b) {
    const PlaceRecord &first = PlaceRecords[a], &second = PlaceRecords[b];
    if (first.level != second.level) return first.level < second.level;
    return first.people > second.people;
}

// Suggestions when no place has a name: the places nearest it by spelling (fewest characters
// to change, at most half of them), in the country or province it begins with if any.
std::vector<std::uint16_t> Nearest(std::string_view query, std::size_t count) {
    const auto [region, rest] = LeadingRegion(query);
    const std::u32string wanted = CodePointsOf(rest);
    const std::size_t most = (wanted.size() + 1) / 2;
    std::vector<std::pair<std::size_t, std::uint16_t>> scored;
    for (std::uint16_t i = 0; i < PlaceRecords.size(); ++i) {
        const PlaceRecord& record = PlaceRecords[i];
        if (record.level == PlaceLevel::Country || (region != NoPlace && !Within(i, region)))
            continue;
        const Names names = NamesOf(record);
        const std::array<std::string_view, 2>& shortNames = Index().ShortNames(i);
        std::size_t best = most + 1;
        // Names whose lengths alone differ by more than the best so far are not compared.
        const auto compare = [&](const std::u32string& form) {
            const std::size_t apart = form.size() > wanted.size() ? form.size() - wanted.size()
                                                                  : wanted.size() - form.size();
            if (apart < best) best = std::min(best, EditDistance(wanted, form));
        };
        for (const std::string_view form :
             {names.simplified, names.traditional, shortNames[0], shortNames[1]}) {
            if (!form.empty()) compare(CodePointsOf(form));
        }
        if (!names.english.empty()) compare(CodePointsOf(Folded(names.english)));
        if (best <= most) scored.emplace_back(best, i);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (a.first == b.first && Larger(a.second, b.second));
    });
    // The nearest alone: 西雅国 → 西雅图, not every name two characters away.
    std::vector<std::uint16_t> nearest;
    for (std::size_t i = 0; i < scored.size() && i < count && scored[i].first == scored[0].first;
         ++i) {
        nearest.push_back(scored[i].second);
    }
    return nearest;
}

std::vector<std::string> FullNames(const std::vector<std::uint16_t>& places) {
    std::vector<std::string> names;
    for (const std::uint16_t index : places) names.push_back(PlaceOf(index).fullName);
    return names;
}

// The place a name means and the others it could (see FindPlace).
struct Found {
    std::uint16_t place;
    std::vector<std::uint16_t> others;
};

// Of several places of a name, the one it usually means: the only province or prefecture-level
// city among them (西安 is the city, not the 西安区 of 辽源 or 牡丹江), or a city abroad at least
// twice the size of the others (奥克兰 is Auckland, not Oakland).
std::optional<std::uint16_t> Usual(const std::vector<std::uint16_t>& places) {
    const auto senior = [](std::uint16_t i) { return PlaceRecords[i].level <= PlaceLevel::Prefecture; };
    if (std::count_if(places.begin(), places.end(), senior) == 1) {
        return *std::find_if(places.begin(), places.end(), senior);
    }
    if (!std::all_of(places.begin(), places.end(),
                     [](std::uint16_t i) { return PlaceRecords[i].level == PlaceLevel::City; })) {
        return std::nullopt;
    }
    std::vector<std::uint16_t> bySize = places;
    std::sort(bySize.begin(), bySize.end(), Larger);
    if (PlaceRecords[bySize[0]].people >= PlaceRecords[bySize[1]].people + 8) return bySize[0];
    return std::nullopt;
}

Result<Found> FindPlaceIndex(std::string_view name) {
    if (LongerThan(name, LongestPlaceName)) return refusal::PlaceNameTooLong(name, LongestPlaceName);
    const std::string query = QueryForm(name);
    std::vector<std::uint16_t> found;
    if (!query.empty()) {
        for (const std::uint16_t i : Index().Candidates(query)) {
            if (Matches(query, i)) found.push_back(i);
        }
    }
    // A country is no place to be born in, but a city of its name is (香港).
    std::erase_if(found, [&](std::uint16_t country) {
        return PlaceRecords[country].level == PlaceLevel::Country &&
               std::any_of(found.begin(), found.end(), [&](std::uint16_t city) {
                   return PlaceRecords[city].parent == country;
               });
    });
    // A place that lies in another that matched is not what was meant: 乌鲁木齐 is the city,
    // not its county.
    std::erase_if(found, [&](std::uint16_t inner) {
        return std::any_of(found.begin(), found.end(), [&](std::uint16_t outer) {
            return PlaceRecords[outer].level != PlaceLevel::Country && Within(inner, outer);
        });
    });
    std::stable_sort(found.begin(), found.end(), Larger);
    // A country alone: its cities are what it could mean.
    if (found.size() == 1 && PlaceRecords[found[0]].level == PlaceLevel::Country) {
        std::vector<std::uint16_t> cities;
        for (std::uint16_t i = 0; i < PlaceRecords.size() && cities.size() < 8; ++i) {
            if (PlaceRecords[i].parent == found[0]) cities.push_back(i);
        }
        return refusal::AmbiguousPlace(name, FullNames(cities));
    }
    if (found.empty()) return refusal::UnknownPlace(name, FullNames(Nearest(query, 5)));
    if (found.size() == 1) return Found{found[0], {}};
    const std::optional<std::uint16_t> usual = Usual(found);
    if (!usual) return refusal::AmbiguousPlace(name, FullNames(found));
    std::erase(found, *usual);
    return Found{*usual, found};
}

}  // namespace

Result<Place> FindPlace(std::string_view name) {
    const Result<Found> found = FindPlaceIndex(name);
    if (!found) return found.error();
    Place place = PlaceOf(found->place);
    place.otherPlaces = FullNames(found->others);
    return place;
}

std::string PlaceNameIn(std::string_view fullName, Script script) {
    if (script == Script::Simplified) return std::string(fullName);
    const Result<Found> found = FindPlaceIndex(fullName);
    if (!found) return std::string(fullName);
    const Names names = NamesOf(PlaceRecords[found->place]);
    if (fullName == names.simplified) {  // a name alone stays alone: 广州市 → 廣州市
        return std::string(names.traditional.empty() ? names.simplified : names.traditional);
    }
    return FullNameOf(found->place, script);
}

Birthplace Place::AsBirthplace() const {
    return {longitude, std::string(zone), fullName, std::string(longitudeOf), otherPlaces};
}

std::vector<Place> SearchPlaces(std::string_view query, std::size_t limit, std::string_view near) {
    if (LongerThan(query, LongestPlaceName)) return {};
    const std::string folded = QueryForm(query);
    std::vector<std::uint16_t> matches;
    if (folded.empty()) return {};
    // The places the query names whole (北京朝阳), through the index; then every place whose
    // names hold it (English names only for a query in Latin letters).
    std::vector<bool> whole(PlaceRecords.size());
    for (const std::uint16_t i : Index().Candidates(folded)) whole[i] = Matches(folded, i);
    const bool latin = std::all_of(folded.begin(), folded.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    for (std::uint16_t i = 0; i < PlaceRecords.size(); ++i) {
        const PlaceRecord& record = PlaceRecords[i];
        if (record.level == PlaceLevel::Country) continue;
        const Names names = NamesOf(record);
        if (whole[i] || names.simplified.find(folded) != std::string_view::npos ||
            (!names.traditional.empty() &&
             names.traditional.find(folded) != std::string_view::npos) ||
            (latin && !names.english.empty() &&
             Folded(names.english).find(folded) != std::string::npos)) {
            matches.push_back(i);
        }
    }
    // Places in what near names or lies in (朝阳 after 北京市海淀区: Beijing's districts).
    std::vector<std::uint16_t> around;
    if (!near.empty()) {
        if (const Result<Found> nearby = FindPlaceIndex(near)) {
            around.push_back(nearby->place);
            const std::uint16_t parent = PlaceRecords[nearby->place].parent;
            if (parent != NoPlace && PlaceRecords[parent].level != PlaceLevel::Country)
                around.push_back(parent);
        }
    }
    const auto isAround = [&](std::uint16_t i) {
        return std::any_of(around.begin(), around.end(),
                           [&](std::uint16_t a) { return i == a || Within(i, a); });
    };
    // Whole-name matches first, then those around near, then larger places first; each
    // place's rank worked out once rather than at every comparison.
    struct Ranked {
        bool whole, around;
        std::uint16_t place;
    };
    std::vector<Ranked> ranked;
    for (const std::uint16_t i : matches) ranked.push_back({whole[i], isAround(i), i});
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.whole != b.whole) return a.whole;
        if (a.around != b.around) return a.around;
        return Larger(a.place, b.place);
    });
    if (ranked.size() > limit) ranked.resize(limit);
    std::vector<Place> places;
    for (const Ranked& r : ranked) places.push_back(PlaceOf(r.place));
    return places;
}

Result<Birthplace> BirthplaceOf(std::optional<std::string_view> place,
                                std::optional<double> longitude,
                                std::optional<std::string_view> zone) {
    Birthplace birthplace;
    if (place) {
        const Result<Place> found = FindPlace(*place);
        if (!found) return found.error();
        birthplace = found->AsBirthplace();
    } else if (!longitude) {
        return refusal::ZoneWithoutLongitude();
    }
    if (longitude) {
        if (!std::isfinite(*longitude) || std::abs(*longitude) > 180) {
            return refusal::NotALongitude(*longitude);
        }
        birthplace.longitude = *longitude;
        birthplace.longitudeOf.clear();
    }
    if (zone) {
        const Result<std::string_view> named = ParseZone(*zone);
        if (!named) return named.error();
        birthplace.zone = *named;
    }
    return birthplace;
}

CHENGGU_END_NAMESPACE
