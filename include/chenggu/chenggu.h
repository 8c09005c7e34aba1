/* The bone-weight reading (称骨算命) from C and from any language that can call C.
 *
 * Every function takes a request as a UTF-8 JSON object and returns a newly allocated,
 * NUL-terminated UTF-8 JSON text, which the caller releases with chenggu_free. A request
 * that cannot be read or answered (NULL included) gets {"error": "<reason>"}; no function
 * crashes on bad input or keeps state between calls, and all may be called from any thread.
 * NULL is returned only when memory runs out. */
#ifndef CHENGGU_CHENGGU_H
#define CHENGGU_CHENGGU_H

#include "chenggu/export.h"
#include "chenggu/version.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The reading of a birth, exactly as chenggu --json writes it. The request:
 *   {"date": "1990-01-30", "period": "子", "lunar": false, "lateZi": "same-day",
 *    "yearStart": "new-year", "leapMonth": "whole"}
 * date is required (the lunar form 2020-闰4-1 when lunar is true); the rest is optional with
 * the defaults shown; without period the answer is the array of the day's twelve readings.
 * With a clock time as period, "place": "成都" or "longitude": 104.07 (and "zone":
 * "Asia/Shanghai") read the birth by the sun there; "solarTime": "true", "mean" or "clock"
 * chooses the time read by. "language": "zh" gives the reason of a refusal in Chinese. */
CHENGGU_EXPORT char* chenggu_read_json(const char* request_json);

/* A year's months with their names and days, for forms: {"calendar": "lunar", "year": 2020}.
 * See MonthsJson in chenggu/json.h. */
CHENGGU_EXPORT char* chenggu_months_json(const char* request_json);

/* A day in both calendars: {"date": "2020-闰4-1", "lunar": true}. See DateJson. */
CHENGGU_EXPORT char* chenggu_date_json(const char* request_json);

/* Places with their longitudes and zones: {"query": "成都", "limit": 20} answers
 * {"places": [{"name", "fullName", "region", "englishName", "longitude", "zone"}, ...]}. */
CHENGGU_EXPORT char* chenggu_places_json(const char* request_json);

/* The 24 solar terms of a year, 1645 to 2100, at their instants: {"year": 2024} answers
 * {"year": 2024, "terms": [{"name": "小寒", "utc": "2024-01-06T03:49:29Z",
 *  "beijing": "2024-01-06T11:49:29"}, ...]} (Beijing time is UTC+8). */
CHENGGU_EXPORT char* chenggu_terms_json(const char* request_json);

/* Lunar birthdays: {"date": "1990-01-30", "lunar": false, "from": 2026, "to": 2055} answers
 * {"birth", "from", "to", "birthdays": [{"lunarYear", "lunarMonth", "lunarDay", "leapMonth",
 * "date"}, ...], "ics": "BEGIN:VCALENDAR..."}: the day the birth's lunar date comes round in
 * each lunar year, and an iCalendar file of them. Without from, this lunar year; without to,
 * the 29 years after it. See chenggu/birthdays.h for the rules. */
CHENGGU_EXPORT char* chenggu_birthdays_json(const char* request_json);

/* A link to the web page read as the page reads it: {"link": "?date=1990-01-30&period=子",
 * "today": "2026-12-08T14:30", "script": "simplified", "markup": true} answers
 * {"fromLink", "request", "time", "place", "lon", "zone", "message", "reading"}:
 * the reading the link asks for (with the page's markup when asked), or today's with the
 * message that says why the link could not be read. Parameters the page does not know are
 * ignored. */
CHENGGU_EXPORT char* chenggu_link_json(const char* request_json);

/* What a shared link to a reading of a total previews as, for pages that carry it:
 * {"totalWeight": 42, "script": "simplified", "pageUrl": "https://…", "imageUrl": "https://…"}
 * answers {"totalWeight", "weightText", "title", "description", "picture", "head", "headline"}:
 * the <title> and meta tags chat apps read, and the total and verse as the page shows them,
 * as HTML with every value escaped. */
CHENGGU_EXPORT char* chenggu_preview_json(const char* request_json);

/* Releases a text returned by the functions above; NULL is allowed. */
CHENGGU_EXPORT void chenggu_free(char* text);

/* The library's version, "1.1.0": a constant string, not to be released. */
CHENGGU_EXPORT const char* chenggu_version(void);

#ifdef __cplusplus
}
#endif

#endif
