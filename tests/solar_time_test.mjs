// True solar time against an independent astronomical model (npm astronomy-engine: the Sun's
// apparent right ascension and Greenwich apparent sidereal time): for random instants over
// 1901-2100, longitudes and zones, the package's trueSolar must lie within 10 s (Meeus' formula, whole seconds) of the Sun's
// hour angle + 12 h, and the period and reading day must be the Sun's wherever its time is
// more than a minute from a boundary.  Usage: node solar_time_test.mjs PACKAGE/chenggu.mjs
import assert from 'node:assert/strict';
import test from 'node:test';
import * as Astronomy from 'astronomy-engine';

const chenggu = await import(process.argv[2]);
const zones = ['Asia/Shanghai', 'Asia/Urumqi', 'Asia/Hong_Kong', 'Asia/Taipei', 'Asia/Tokyo',
               'Asia/Kolkata', 'Europe/London', 'Europe/Berlin', 'America/New_York',
               'America/Los_Angeles', 'America/Sao_Paulo', 'Australia/Sydney', 'Pacific/Auckland',
               'Africa/Cairo', 'Etc/UTC'];

// A small seeded generator, so that a failure can be run again.
let seed = 20261207;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);

const pad = n => String(n).padStart(2, '0');
const seconds = text => {  // seconds since 1970 of a local time text, read as if UTC
  return Date.parse(`${text.length === 16 ? text + ':00' : text}Z`) / 1000;
};

// The Sun's local apparent time at a UTC instant and a longitude, as seconds of the day.
function sunTime(utcSeconds, longitude) {
  const time = Astronomy.MakeTime(new Date(utcSeconds * 1000));
  const sidereal = Astronomy.SiderealTime(time);  // hours
  const sun = Astronomy.Equator(Astronomy.Body.Sun, time, new Astronomy.Observer(0, longitude, 0),
                                true, true);
  const hours = ((sidereal + longitude / 15 - sun.ra + 12) % 24 + 24) % 24;
  return hours * 3600;
}

const periodAt = second => (Math.floor(second / 3600) + 1) % 24 >> 1;

test('true solar time and the reading it gives, against the Sun', () => {
  let worst = 0, checkedPeriods = 0;
  for (let i = 0; i < 3000; i++) {
    const year = 1901 + Math.floor(random() * 200);
    const date = `${year}-${pad(1 + Math.floor(random() * 12))}-${pad(2 + Math.floor(random() * 26))}`;
    const clock = `${pad(Math.floor(random() * 24))}:${pad(Math.floor(random() * 60))}`;
    const longitude = Math.round((random() * 360 - 180) * 1e4) / 1e4;
    const zone = zones[Math.floor(random() * zones.length)];
    let r;
    try {
      r = chenggu.read({ date, period: clock, longitude, zone });
    } catch (error) {
      // A clock time summer time skipped, or a sun's day outside the range.
      assert.match(error.message, /never happened|outside/, `${date} ${clock} ${zone}`);
      continue;
    }
    const t = r.birthTime;
    const utc = seconds(t.clock) - t.utcOffsetMinutes * 60;
    const expected = sunTime(utc, longitude);
    const got = seconds(t.trueSolar) % 86400;
    const difference = Math.abs(((got - expected) % 86400 + 86400 + 43200) % 86400 - 43200);
    worst = Math.max(worst, difference);
    assert.ok(difference <= 10, `${date} ${clock} ${longitude} ${zone}: ${t.trueSolar}, ` +
              `the Sun ${(expected / 3600).toFixed(4)} h`);
    // The Sun's own day: the mean solar day moved by the equation of time.
    const sunDay = Math.floor((seconds(t.meanSolar) + (expected - seconds(t.meanSolar) % 86400 +
                               43200 + 86400 * 2) % 86400 - 43200) / 86400);
    const fromBoundary = Math.abs(((expected - 3600) % 7200 + 7200 + 3600) % 7200 - 3600);
    const fromMidnight = Math.min(expected, 86400 - expected);
    if (fromBoundary > 60 && fromMidnight > 60 && r.conventions.lateZi === 'same-day') {
      assert.equal(r.period, periodAt(expected), `${date} ${clock} ${longitude} ${zone}`);
      assert.equal(r.readingDate, new Date(sunDay * 86400000).toISOString().slice(0, 10));
      checkedPeriods++;
    }
  }
  assert.ok(checkedPeriods > 2500);
  console.log(`worst difference ${worst.toFixed(1)} s`);
});
