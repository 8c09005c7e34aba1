"""The bone-weight reading (称骨算命) of a birth date and period.

    >>> import chenggu
    >>> chenggu.read("1990-01-30", "子")["totalWeight"]
    46

read() returns exactly the JSON object of `chenggu --json` as Python values: the lunar
date, the stem-branch names, the four weights in qian, the total, its verse, the
conventions followed and the readings under the others where they change the total.
"""

import ctypes
import datetime
import json
import pathlib

__all__ = ["read", "__version__"]

# The library's C interface: JSON request in, newly allocated JSON answer out.
_library = ctypes.CDLL(str(pathlib.Path(__file__).with_name("libchenggu.so.1")))
_library.chenggu_read_json.argtypes = [ctypes.c_char_p]
_library.chenggu_read_json.restype = ctypes.c_void_p
_library.chenggu_free.argtypes = [ctypes.c_void_p]
_library.chenggu_free.restype = None
_library.chenggu_version.argtypes = []
_library.chenggu_version.restype = ctypes.c_char_p

__version__ = _library.chenggu_version().decode()


def read(date, period=None, *, lunar=False, late_zi="same-day", year_start="new-year",
         leap_month="whole", script="simplified"):
    """The reading of a birth, as `chenggu --json` gives it.

    date: "1990-01-30" (or a datetime.date); with lunar=True a lunar date such as
        "2020-闰4-1", the month of a leap month written with 闰.
    period: an earthly branch ("子" … "亥", "子时"), "早子" or "晚子", or a clock time
        "23:30"; None gives the list of the day's twelve readings.
    late_zi: "same-day" or "next-day"; year_start: "new-year" or "spring";
        leap_month: "whole" or "split"; script: "simplified" or "traditional" (the
        characters of the answer's Chinese texts).

    Dates and periods are read as people write them: 1990年1月30日, 1990/1/30, the lunar
    1990年正月初四, 子時, 23点, full-width digits.

    Raises ValueError with the engine's reason for input it cannot read.
    """
    if isinstance(date, datetime.date) and not lunar:
        date = date.isoformat()
    request = {"date": date, "period": period, "lunar": lunar, "lateZi": late_zi,
               "yearStart": year_start, "leapMonth": leap_month, "script": script}
    try:
        text = json.dumps(request, ensure_ascii=False).encode()
    except TypeError as error:
        raise ValueError(f"the request cannot be written as JSON: {error}") from None
    answer = _library.chenggu_read_json(text)
    if answer is None:
        raise MemoryError("the reading could not be made: out of memory")
    try:
        result = json.loads(ctypes.string_at(answer).decode())
    finally:
        _library.chenggu_free(answer)
    if isinstance(result, dict) and result.keys() == {"error"}:
        raise ValueError(result["error"])
    return result
