// What a shared link to a reading of a total shows before anyone opens it, for pages written
// without the birth (a static host's share page) and with it (chenggu serve).
#pragma once

#include <string>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// {"totalWeight": 42, "script": "simplified", "pageUrl": "https://…/share-42.html",
//  "imageUrl": "https://…/preview/42.png"} answers {"totalWeight": 42, "weightText": "四两二钱",
// "name": "称骨算命", "totalText": "总骨重 42 钱", "title": "称骨算命：四两二钱", "description":
// "<the verse>", "verseLines": [two lines], "picture": "preview/42.png",
// "head": "<title>…</title><meta …>…", "headline": "<p class=\"total\">…"}: the head's tags and
// the headline markup escaped; or {"error", "code"} for a total outside 21-72 or a bad request.
std::string PreviewJson(std::string_view requestJson);

CHENGGU_END_NAMESPACE
