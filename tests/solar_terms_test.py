#!/usr/bin/python3
"""The solar terms and new moons of 1901-2100 against a second, independent computation:
Debian's astropy, whose Sun comes from the IAU's SOFA routines (ERFA: the Earth's orbit,
precession and nutation of IAU 2006/2000A) and whose Moon from its own lunar theory, sharing no
code with PyEphem, which the tables were made with. Every term that `chenggu --terms` lists and
every new moon of tests/generated/new_moons.txt must lie within 60 seconds of the instant at
which astropy finds the Sun at the term's longitude, or the Moon at the Sun's. Both are
compared in Terrestrial Time, with the ΔT the tables were made with: how far UT will lag in
2100 is a model, not an astronomical fact.
Usage: solar_terms_test.py CHENGGU SOURCE_DIR"""
import datetime
import json
import pathlib
import subprocess
import sys
import warnings

import numpy as np

warnings.simplefilter("ignore")  # astropy's warnings about stale leap-second files
from astropy import units  # noqa: E402
from astropy.coordinates import GeocentricTrueEcliptic, get_body, get_sun  # noqa: E402
from astropy.time import Time, TimeDelta  # noqa: E402

chenggu, source = sys.argv[1], pathlib.Path(sys.argv[2])
Tolerance = 60.0


def when(text):
    return datetime.datetime.fromisoformat(text.rstrip("Z")).replace(tzinfo=datetime.timezone.utc)


# The new moons, with the ΔT the tables were made with at each.
moons = [line.split() for line in (source / "tests/generated/new_moons.txt").read_text().splitlines()
         if not line.startswith("#")]
assert len(moons) > 2490, len(moons)
moon_utc = np.array([when(utc).timestamp() for utc, _ in moons])
moon_delta_t = np.array([float(delta_t) for _, delta_t in moons])


def terrestrial(utc_seconds):
    """TT of UTC instants (POSIX seconds), by the tables' ΔT (it changes by well under a
    second in a month, so the new moons' values are interpolated)."""
    delta_t = np.interp(utc_seconds, moon_utc, moon_delta_t)
    return Time(2440587.5 + (utc_seconds + delta_t) / 86400, format="jd", scale="tt")


def longitude(body, at):
    frame = GeocentricTrueEcliptic(equinox=at)
    return body(at).transform_to(frame).lon


def seconds_off(angle, rate):
    """How many seconds an angle (wrapped to ±180°) is, at a rate of degrees per second."""
    return ((angle.to(units.deg).value + 180) % 360 - 180) / rate


# The terms: where astropy's Sun stands at each instant, against where the term puts it.
listed = []
for year in range(1901, 2101):
    answer = json.loads(subprocess.run([chenggu, "--terms", str(year), "--json"],
                                       capture_output=True, text=True, check=True).stdout)
    assert answer["year"] == year and len(answer["terms"]) == 24
    for k, term in enumerate(answer["terms"]):
        assert when(term["beijing"]) - when(term["utc"]) == datetime.timedelta(hours=8), term
        listed.append((when(term["utc"]).timestamp(),
                       (285 + 15 * k) % 360, term["name"], year))
at = terrestrial(np.array([utc for utc, _, _, _ in listed]))
target = np.array([degrees for _, degrees, _, _ in listed]) * units.deg
sun = longitude(get_sun, at)
rate = seconds_off(longitude(get_sun, at + TimeDelta(600, format="sec")) - sun, 1) / 600
term_gaps = np.abs(seconds_off(sun - target, rate))

# The new moons: the Moon's elongation from the Sun at each instant.
at = terrestrial(moon_utc)
elongation = longitude(get_body_moon := (lambda t: get_body("moon", t)), at) - longitude(get_sun, at)
later = at + TimeDelta(600, format="sec")
rate = seconds_off(longitude(get_body_moon, later) - longitude(get_sun, later) - elongation, 1) / 600
moon_gaps = np.abs(seconds_off(elongation, rate))

worst_term, worst_moon = int(np.argmax(term_gaps)), int(np.argmax(moon_gaps))
print(f"astropy against the tables, 1901-2100: {len(listed)} terms within "
      f"{term_gaps[worst_term]:.1f} s (median {np.median(term_gaps):.1f} s), {len(moons)} new "
      f"moons within {moon_gaps[worst_moon]:.1f} s (median {np.median(moon_gaps):.1f} s)")
failed = False
for gap, (_, _, name, year) in zip(term_gaps, listed):
    if gap > Tolerance:
        print(f"{name} {year}: {gap:.1f} s from astropy's")
        failed = True
for gap, (utc, _) in zip(moon_gaps, moons):
    if gap > Tolerance:
        print(f"the new moon of {utc}: {gap:.1f} s from astropy's")
        failed = True
sys.exit(1 if failed else 0)
