// Places as JSON, for chenggu --places --json (the C interface's answer wraps the same list).
#pragma once

#include <string>
#include <vector>

#include "chenggu/places.h"

CHENGGU_BEGIN_NAMESPACE

// Best match first: [{"name": "成都市", "fullName": "四川省成都市", "region": "四川省",
// "englishName": "", "longitude": 104.0667, "zone": "Asia/Shanghai"}, …]. indent: spaces a
// level, or -1 for a single line.
// In the characters asked for.
std::string PlacesJson(const std::vector<Place>& places, int indent = -1,
                       Script script = Script::Simplified);

CHENGGU_END_NAMESPACE
