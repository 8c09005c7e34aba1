#!/usr/bin/env python3
"""Clock times against Python's zoneinfo, an independent reader of the system's tzdata (its
POSIX rules after 2037 included): around every transition of every zone from 1645 to 2100
(as the zone's TZif file lists them, then as its rule makes them), the clock time just before,
inside the change and just after must give chenggu's utcOffsetMinutes, localMeanTime (tzdata's
LMT, before a place kept a standard time) and summerTime (the
clocks set ahead: where tzdata's summer time is negative, as Ireland's winter, the larger of the
two offsets), a refusal for a time clocks jumped over, and the first occurrence (the offset
before) for a time they went through twice.
Usage: time_zones_test.py CHENGGU"""
import datetime as dt
import json
import struct
import subprocess
import sys
import zoneinfo

chenggu = sys.argv[1]
UTC = dt.timezone.utc
FIRST, LAST = dt.datetime(1645, 2, 1), dt.datetime(2100, 12, 29)
zones = sorted(z for z in zoneinfo.available_timezones() if z not in ("Factory", "localtime"))



def transitions_of(zone, info):
    """The instants a zone's offset changed: those its TZif file lists, and after them the
    changes of its POSIX rule up to 2101, found day by day and then to the second."""
    with open(f"/usr/share/zoneinfo/{zone}", "rb") as f:
        data = f.read()
    counts = struct.unpack(">6l", data[20:44])
    skip = 44 + counts[3] * 5 + counts[4] * 6 + counts[5] + counts[2] * 8 + counts[1] + counts[0]
    counts = struct.unpack(">6l", data[skip + 20:skip + 44])
    listed = struct.unpack(f">{counts[3]}q", data[skip + 44:skip + 44 + 8 * counts[3]])
    first = dt.datetime(1645, 1, 1, tzinfo=UTC).timestamp()
    found = [dt.datetime(1970, 1, 1, tzinfo=UTC) + dt.timedelta(seconds=t)
             for t in listed if first < t < 4133980800]
    day = max([dt.datetime(2037, 1, 1, tzinfo=UTC), *found]) + dt.timedelta(days=1)
    offset = day.astimezone(info).utcoffset()
    while day.year < 2101:
        later = day + dt.timedelta(days=1)
        if later.astimezone(info).utcoffset() != offset:
            low, high = day, later
            while high - low > dt.timedelta(seconds=1):
                middle = low + (high - low) / 2
                if middle.astimezone(info).utcoffset() == offset:
                    low = middle
                else:
                    high = middle
            found.append(high.replace(microsecond=0))
            offset = later.astimezone(info).utcoffset()
        day = later
    return found


def summer(local, instants):
    """Whether the clocks were set ahead: tzdata's daylight saving, but where it is negative
    (a winter's offset marked as daylight saving, between standard ones larger on both sides),
    the other way round."""
    utc = local.astimezone(UTC)
    before = [i for i in instants if i <= utc]
    after = [i for i in instants if i > utc]
    here = (before[-1] if before else utc)
    prev_instant = before[-2] if len(before) >= 2 else None

    def negative_winter(moment, left, right):
        """Whether the offset at moment is daylight saving smaller than standard either side."""
        info = local.tzinfo
        at = moment.astimezone(info)
        if not at.dst():
            return False
        sides = [(t - dt.timedelta(seconds=1)).astimezone(info) for t in left] + \
                [t.astimezone(info) for t in right]
        return bool(sides) and all(not s.dst() and s.utcoffset() > at.utcoffset() for s in sides)

    saving = local.dst()
    if saving:
        return not negative_winter(utc, before[-1:], after[:1])
    # A standard offset next to a negative winter is the summer's.
    if after and negative_winter(after[0], [after[0]], after[1:2]):
        return True
    if before and negative_winter(before[-1] - dt.timedelta(seconds=1), before[-2:-1], before[-1:]):
        return True
    return False


requests, expected = [], []
for zone in zones:
    info = zoneinfo.ZoneInfo(zone)
    instants = transitions_of(zone, info) or [dt.datetime(1990, 7, 1, tzinfo=UTC)]
    for instant in instants:
        before = (instant - dt.timedelta(seconds=1)).astimezone(info).utcoffset()
        after = instant.astimezone(info).utcoffset()
        change = instant.replace(tzinfo=None) + before  # the clock reading when it changed
        span = abs(after - before)
        for clock in {change - dt.timedelta(minutes=31), change + span / 2,
                      change + span + dt.timedelta(minutes=1)}:
            clock = clock.replace(second=0, microsecond=0)
            if not FIRST <= clock <= LAST:
                continue
            local = clock.replace(tzinfo=info)
            real = local.astimezone(UTC).astimezone(info).replace(tzinfo=None) == clock
            requests.append(f"{clock:%Y-%m-%d %H:%M} 0 {zone}")
            expected.append((local.utcoffset().total_seconds() / 60, local.tzname() == "LMT",
                             summer(local, instants)) if real else None)

done = subprocess.run([chenggu, "--batch"], input="\n".join(requests) + "\n",
                      capture_output=True, text=True, env={"LC_ALL": "C.UTF-8"})
answers = [json.loads(line) for line in done.stdout.splitlines()]
assert len(answers) == len(requests), (len(answers), len(requests))
failures = []
for request, want, answer in zip(requests, expected, answers):
    if want is None:
        if "error" not in answer or "never happened" not in answer["error"] and "没有" not in answer["error"]:
            failures.append(f"{request}: should be refused, got {answer.get('birthTime')}")
        continue
    if "error" in answer:
        failures.append(f"{request}: {answer['error']}")
        continue
    time = answer["birthTime"]
    got = (time["utcOffsetMinutes"], time["localMeanTime"], time["summerTime"])
    if abs(got[0] - want[0]) > 1e-6 or got[1:] != want[1:]:
        failures.append(f"{request}: chenggu {got}, zoneinfo {want}")
print(f"{len(requests)} clock times in {len(zones)} zones, {len(failures)} differ")
for failure in failures[:20]:
    print(failure)
sys.exit(1 if failures else 0)
