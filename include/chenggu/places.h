// Places with their longitudes and time zones: China's provinces, prefecture-level cities and
// the counties whose seats have a known point, by their Chinese names; Taiwan, Hong Kong and
// Macau; cities abroad by Chinese or English name. Places in mainland China keep Beijing time
// (Asia/Shanghai), as birth records do.
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

    // The birthplace it stands for.
    CHENGGU_EXPORT Birthplace AsBirthplace() const;
};

// The place a name means: 成都, 成都市, 四川成都, 四川省成都市, 乌鲁木齐, 漠河, 纽约, New York,
// 香港, 台北, in Simplified or Traditional characters. A province stands for its capital. Refused
// when several places have the name (the reason lists them with their provinces), when none
// has it (the reason names the nearest), or when a county is known without a longitude (the
// reason names its prefecture).
CHENGGU_EXPORT Result<Place> FindPlace(std::string_view name);
// A place's full name, as Place::fullName and Birthplace::place give it, in the characters
// asked for: 新疆维吾尔自治区乌鲁木齐市 → 新疆維吾爾自治區烏魯木齊市. A name the table does
// not hold comes back as it is.
CHENGGU_EXPORT std::string PlaceNameIn(std::string_view fullName, Script script);
// A birthplace from what people give: a place name, and a longitude and zone that override
// the place's (the zone Asia/Shanghai when only a longitude is given). Refused for what
// FindPlace, ParseZone and a longitude outside [-180, 180] refuse, and for a zone alone.
CHENGGU_EXPORT Result<Birthplace> BirthplaceOf(std::optional<std::string_view> place,
                                std::optional<double> longitude,
                                std::optional<std::string_view> zone);
// Places whose names hold the query, best first, at most limit of them.
CHENGGU_EXPORT std::vector<Place> SearchPlaces(std::string_view query, std::size_t limit = 20);

CHENGGU_END_NAMESPACE
