"""The bone-weight reading (称骨算命) of a birth date and period.

    >>> import chenggu
    >>> chenggu.read("1990-01-30", "子")["totalWeight"]
    46

read() returns exactly the JSON object of `chenggu --json` as Python values: the lunar
date, the stem-branch names, the four weights in qian, the total, its verse, the
conventions followed and the readings under the others where they change the total.
Input the engine cannot read raises ChengguError (a ValueError) with the engine's reason and
a stable code.
"""

import ctypes
import datetime
import json
import pathlib

__all__ = ["read", "places", "months", "date", "terms", "birthdays", "ChengguError", "__version__"]

# The library's C interface: JSON request in, newly allocated JSON answer out.
_library = ctypes.CDLL(str(pathlib.Path(__file__).with_name("libchenggu.so.1")))
for _name in ("read", "places", "months", "date", "terms", "birthdays"):
    _function = getattr(_library, f"chenggu_{_name}_json")
    _function.argtypes = [ctypes.c_char_p]
    _function.restype = ctypes.c_void_p
_library.chenggu_free.argtypes = [ctypes.c_void_p]
_library.chenggu_free.restype = None
_library.chenggu_version.argtypes = []
_library.chenggu_version.restype = ctypes.c_char_p

__version__ = _library.chenggu_version().decode()


class ChengguError(ValueError):
    """A request the engine refused. str() is its reason (in the language asked for);
    code is its stable code, such as "no-such-date" or "unknown-place", for programs."""

    def __init__(self, reason, code):
        super().__init__(reason)
        self.reason = reason
        self.code = code


def _answer(function, request):
    """The engine's answer to a request, or ChengguError with its reason and code."""
    try:
        text = json.dumps(request, ensure_ascii=False).encode()
    except (TypeError, ValueError) as error:
        raise ChengguError(f"the request cannot be written as JSON: {error}",
                           "bad-request") from None
    answer = function(text)
    if answer is None:
        raise MemoryError("the answer could not be made: out of memory")
    try:
        result = json.loads(ctypes.string_at(answer).decode())
    finally:
        _library.chenggu_free(answer)
    if isinstance(result, dict) and result.keys() == {"error", "code"}:
        raise ChengguError(result["error"], result["code"])
    return result


def read(date, period=None, *, lunar=False, place=None, longitude=None, zone=None,
         late_zi="same-day", year_start="new-year", leap_month="whole", solar_time=None,
         calendar_rule="printed", script="simplified", language="en"):
    """The reading of a birth, as `chenggu --json` gives it.

    date: "1990-01-30", a datetime.date, or a datetime.datetime whose time is the clock time
        of the birth (to the minute; its zone, when it has a zoneinfo one, is the zone of the
        clock); with lunar=True a lunar date such as "2020-闰4-1", the month of a leap month
        written with 闰.
    period: an earthly branch ("子" … "亥", "子时"), "早子" or "晚子", or a clock time
        "23:30"; None gives the list of the day's twelve readings (or, for a datetime, the
        reading of its time).
    late_zi: "same-day" or "next-day"; year_start: "new-year" or "spring";
        leap_month: "whole" or "split"; calendar_rule: "printed" (the calendar as issued at
        the time) or "computed" (the modern computation at UTC+8; they differ on some days
        before 1929); script: "simplified" or "traditional" (the characters of the answer's
        Chinese texts).
    place, longitude, zone: where, for a period given as a clock time: a place's name
        ("成都", "四川成都", "New York"), or a longitude in degrees east (104.07, "74W") with
        an IANA zone (Asia/Shanghai when left out). The reading then follows the sun there;
        its answer has a "birthTime" with each step.
    solar_time: "true" (the default with a place), "mean" or "clock".
    language: "en" or "zh", the language of a refusal's reason.

    Dates and periods are read as people write them: 1990年1月30日, 1990/1/30, the lunar
    1990年正月初四, 子時, 23点, full-width digits.

    Raises ChengguError (a ValueError) with the engine's reason and code for input it cannot
    read.
    """
    if isinstance(date, datetime.datetime) and not lunar:
        if period is None:
            period = f"{date.hour:02d}:{date.minute:02d}"
        if zone is None and getattr(date.tzinfo, "key", None):
            zone = date.tzinfo.key
        date = date.date()
    if isinstance(date, datetime.date) and not lunar:
        date = date.isoformat()
    request = {"date": date, "period": period, "lunar": lunar, "lateZi": late_zi,
               "yearStart": year_start, "leapMonth": leap_month, "calendarRule": calendar_rule,
               "script": script,
               "language": language}
    for name, value in (("place", place), ("longitude", longitude), ("zone", zone),
                        ("solarTime", solar_time)):
        if value is not None:
            request[name] = value
    return _answer(_library.chenggu_read_json, request)


def places(query, limit=20, *, near=None, script="simplified", language="en"):
    """Places whose names hold query, best first: dicts with name, fullName, region,
    englishName, longitude (degrees east), zone and, for a county read at its prefecture's
    point, longitudeOf, as `chenggu --places QUERY --json`. near: a place's full name (the one
    chosen before) whose city's places come first."""
    request = {"query": query, "limit": limit, "script": script, "language": language}
    if near is not None:
        request["near"] = near
    return _answer(_library.chenggu_places_json, request)["places"]


def months(year, calendar="gregorian", *, script="simplified", language="en"):
    """A year's months for forms that offer dates in lists: {"calendar", "year",
    "firstYear", "lastYear", "months": [{"month", "leap", "name", "days", "firstDay",
    "lastDay"}, …], "dayNames", "periods"}. calendar: "gregorian" or "lunar"."""
    request = {"calendar": calendar, "year": year, "script": script, "language": language}
    return _answer(_library.chenggu_months_json, request)


def date(day, lunar=False, *, language="en"):
    """A day in both calendars: {"date", "lunarYear", "lunarMonth", "lunarDay",
    "leapMonth", "lunarDate"}. day: "2020-05-23" or a datetime.date; with lunar=True a lunar
    date such as "2020-闰4-1"."""
    if isinstance(day, datetime.datetime):
        day = day.date()
    if isinstance(day, datetime.date) and not lunar:
        day = day.isoformat()
    return _answer(_library.chenggu_date_json, {"date": day, "lunar": lunar,
                                                "language": language})


def terms(year, *, script="simplified", language="en"):
    """The 24 solar terms of a Gregorian year from 1645 to 2100, 小寒 first: dicts with name,
    utc ("2024-02-04T08:26:50Z") and beijing ("2024-02-04T16:26:50", UTC+8), as
    `chenggu --terms YEAR --json` lists them."""
    request = {"year": year, "script": script, "language": language}
    return _answer(_library.chenggu_terms_json, request)["terms"]


def birthdays(day, lunar=False, *, start=None, end=None, script="simplified", language="en"):
    """Lunar birthdays: the Gregorian day the birth's lunar date comes round in each lunar year
    from start to end (default: this lunar year and the 29 after it), and an iCalendar file of
    them: {"birth", "from", "to", "birthdays": [{"lunarYear", "lunarMonth", "lunarDay",
    "leapMonth", "date"}, ...], "ics"}. A birth in a leap month is kept in that leap month in
    years that have it, else in the month of the same number; a 30th falls on the 29th in a
    month of 29 days. day: "1990-01-30" or a datetime.date; with lunar=True a lunar date."""
    if isinstance(day, datetime.datetime):
        day = day.date()
    if isinstance(day, datetime.date) and not lunar:
        day = day.isoformat()
    request = {"date": day, "lunar": lunar, "script": script, "language": language}
    if start is not None:
        request["from"] = start
    if end is not None:
        request["to"] = end
    return _answer(_library.chenggu_birthdays_json, request)
