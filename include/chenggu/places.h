// Places with their longitudes and time zones: China's provinces, prefecture-level cities and
// every county-level division (districts, counties, county-level cities, banners) by their
// Chinese names; Taiwan, Hong Kong and Macau; cities abroad of 100,000 people or more by Chinese
// or English name. Places in mainland China keep Beijing time (Asia/Shanghai), as birth records
// do. A county whose seat has no point in the sources is read at its prefecture's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/export.h"
#include "chenggu/birth_time.h"
#include "chenggu/error.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

struct Place {
    std::string_view name;  // 成都市, 纽约
    std::string fullName;   // 四川省成都市, 美国纽约
    std::string_view
        region;  // 四川省, 美国: the province or country it lies in (itself for a province)
    std::string_view englishName;  // New York City; empty for places in China
    double longitude = 0;          // degrees east
    std::string_view zone;
    std::string_view longitudeOf;  // 广州市: the prefecture whose longitude it is read at
    // The full names of other places the name could mean, when FindPlace took this one.
    std::vector<std::string> otherPlaces;

    // The birthplace it stands for.
    CHENGGU_EXPORT Birthplace AsBirthplace() const;
};

// The place a name means: 成都, 成都市, 四川成都, 四川省成都市, 北京朝阳, 浦东, 番禺, 乌鲁木齐,
// 纽约, New York, 香港, 台北, in Simplified or Traditional characters. A province stands for its
// capital. A name several places share means the one it usually does, and the others are in
// otherPlaces: a province or prefecture-level city before counties of its name (朝阳 is 辽宁
// 朝阳市, not 北京市朝阳区), a city abroad twice the size of any other of its name (奥克兰 is
// Auckland, not Oakland). Refused when no place is the usual one (the reason lists them with
// their provinces), or when none has the name (the reason names the nearest by spelling).
CHENGGU_EXPORT Result<Place> FindPlace(std::string_view name);
// A place's full name, as Place::fullName and Birthplace::place give it, in the characters
// asked for: 新疆维吾尔自治区乌鲁木齐市 → 新疆維吾爾自治區烏魯木齊市; a place's name alone stays
// alone (广州市 → 廣州市). A name the table does not hold comes back as it is.
CHENGGU_EXPORT std::string PlaceNameIn(std::string_view fullName, Script script);
// A birthplace from what people give: a place name, and a longitude and zone that override
// the place's (the zone Asia/Shanghai when only a longitude is given). Refused for what
// FindPlace, ParseZone and a longitude outside [-180, 180] refuse, and for a zone alone.
CHENGGU_EXPORT Result<Birthplace> BirthplaceOf(std::optional<std::string_view> place,
                                std::optional<double> longitude,
                                std::optional<std::string_view> zone);
// The most places a search answers, and the longest name looked up: no place's name is longer,
// and longer text is refused (FindPlace, ParseZone) or finds nothing (SearchPlaces) before
// any search.
inline constexpr std::size_t MostPlacesAnswered = 100;
inline constexpr std::size_t LongestPlaceName = 100;  // characters
// Places whose names hold the query, best first, at most limit of them: whole names first,
// and of those the places in or beside near (a full name, such as a place chosen before: 朝阳
// near 北京市海淀区 lists 北京市朝阳区 first), then larger places.
CHENGGU_EXPORT std::vector<Place> SearchPlaces(std::string_view query, std::size_t limit = 20,
                                               std::string_view near = {});

CHENGGU_END_NAMESPACE
