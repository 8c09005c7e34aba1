// Lunar birthdays as calendar apps read them: the iCalendar files of chenggu --birthdays, the
// service's /v1/birthdays.ics and the Python module, parsed by two real readers (npm ical.js
// and Debian's python3-icalendar), each event's day checked against the lunar calendar as
// chenggu --calendar lists it, with the leap-month and 30th-day rules applied to it here:
// every birth day of a lunar year and every leap month of the range, 1901 to 2100.
//
//   node tests/birthdays_test.mjs CHENGGU PYTHON_STAGE
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test, after } from 'node:test';
import ICAL from 'ical.js';
import { startServe } from './chenggu_serve.mjs';

const [chenggu, pythonStage] = process.argv.slice(2);
const children = [];
after(() => children.forEach((child) => child.kill('SIGKILL')));

// The lunar calendar of the whole range: each lunar day's Gregorian date, and which months a
// lunar year has (its leap month, and how long each month is).
const days = new Map();
const months = new Map();
for (const line of execFileSync(chenggu, ['--calendar', '1901-01-01', '2100-12-31'], { encoding: 'utf8', maxBuffer: 1 << 26 })
  .trim().split('\n').slice(1)) {
  const [date, year, month, leap, day] = line.split('\t');
  days.set(`${year}-${leap === '1' ? 'L' : ''}${Number(month)}-${Number(day)}`, date);
  const key = `${year}-${leap === '1' ? 'L' : ''}${Number(month)}`;
  months.set(key, Math.max(months.get(key) ?? 0, Number(day)));
}

// The day a birth comes round in a lunar year, by the rules: in the leap month where the year
// has it, else in the month of its number; the 30th on the 29th of a month of 29 days.
function expected(birth, year) {
  const leap = birth.leap && months.has(`${year}-L${birth.month}`);
  const month = `${year}-${leap ? 'L' : ''}${birth.month}`;
  const day = birth.day === 30 && months.get(month) === 29 ? 29 : birth.day;
  return days.get(`${month}-${day}`) ?? null;
}

const lunarText = (birth) => `${birth.year}-${birth.leap ? '闰' : ''}${birth.month}-${birth.day}`;

// The events of files as both readers read them (Python's once for all the files).
function readBoth(files) {
  const byIcalJs = files.map((ics) => new ICAL.Component(ICAL.parse(ics)).getAllSubcomponents('vevent').map((event) => ({
    uid: event.getFirstPropertyValue('uid'),
    start: event.getFirstPropertyValue('dtstart').toString(),
    summary: event.getFirstPropertyValue('summary'),
  })));
  const byPython = JSON.parse(execFileSync('/usr/bin/python3', ['-c', `
import icalendar, json, sys
print(json.dumps([[{"uid": str(e["UID"]), "start": e.decoded("DTSTART").isoformat(), "summary": str(e["SUMMARY"])}
                   for e in icalendar.Calendar.from_ical(ics).walk("VEVENT")] for ics in json.load(sys.stdin)],
                 ensure_ascii=False))`], { input: JSON.stringify(files), encoding: 'utf8', maxBuffer: 1 << 28 }));
  assert.deepEqual(byPython, byIcalJs);
  return byIcalJs;
}

// A file's form (RFC 5545: CRLF, no line over 75 octets, folded only between characters), and
// its events' days against the calendar.
function checkFile(ics, events, birth, from, to) {
  assert.ok(!/[^\r]\n/.test(ics), 'every line ends in CRLF');
  for (const line of ics.split('\r\n')) assert.ok(Buffer.byteLength(line) <= 75, line);
  assert.equal(Buffer.from(ics.replace(/\r\n /g, '')).toString(), ics.replace(/\r\n /g, ''));
  const wanted = [];
  for (let year = from; year <= to; year++) {
    const date = expected(birth, year);
    if (date) wanted.push(date);
  }
  assert.deepEqual(events.map((e) => e.start), wanted, lunarText(birth));
  assert.equal(new Set(events.map((e) => e.uid)).size, events.length);
}

test('every birth day of a lunar year and every leap month of the range comes round on its day', () => {
  const births = [];
  for (const [key, length] of months) {
    const [year, month] = key.split('-');
    const leap = month.startsWith('L');
    const number = Number(month.replace('L', ''));
    if (year === '2023') for (let day = 1; day <= length; day++) births.push({ year: 2023, month: number, leap, day });
    else if (leap) births.push({ year: Number(year), month: number, leap, day: length }, { year: Number(year), month: number, leap, day: 1 });
  }
  assert.ok(births.length > 384 + 2 * 70, `${births.length} births`);
  const files = births.map((birth) => execFileSync(chenggu, ['--birthdays', lunarText(birth), '--lunar', '--from', '1901', '--to', '2100'], { encoding: 'utf8' }));
  const events = readBoth(files);
  births.forEach((birth, i) => checkFile(files[i], events[i], birth, 1901, 2100));
});

test('every face gives the same file: the command line, the service, the Python module', async () => {
  const birth = { year: 2020, month: 4, leap: true, day: 1 };
  const cli = execFileSync(chenggu, ['--birthdays', '2020-闰4-1', '--lunar', '--from', '2020', '--to', '2060'], { encoding: 'utf8' });
  const { child, base } = await startServe(chenggu, '--quiet');
  children.push(child);
  const response = await fetch(`${base}/v1/birthdays.ics?date=${encodeURIComponent('2020-闰4-1')}&lunar=true&from=2020&to=2060`);
  assert.equal(response.headers.get('content-type'), 'text/calendar; charset=utf-8');
  const served = await response.text();
  const python = execFileSync('/usr/bin/python3', ['-c', 'import chenggu, sys; sys.stdout.write(chenggu.birthdays("2020-闰4-1", lunar=True, start=2020, end=2060)["ics"])'],
    { encoding: 'utf8', env: { ...process.env, PYTHONPATH: pythonStage } });
  const withoutStamp = (ics) => ics.replace(/DTSTAMP:\d{8}T\d{6}Z/g, 'DTSTAMP');
  assert.equal(withoutStamp(served), withoutStamp(cli));
  assert.equal(withoutStamp(python), withoutStamp(cli));
  const [events] = readBoth([cli]);
  checkFile(cli, events, birth, 2020, 2060);
  assert.equal(events[0].summary, '农历生日（闰四月初一）');
  assert.match(events[0].uid, /^lunar-birthday-2020-L04-01-2020@chenggu$/);
  // Traditional, and the years a birthday falls past 2100 left out.
  const traditional = execFileSync(chenggu, ['--birthdays', '1990-12-20', '--lunar', '--from', '2099', '--to', '2100'], { encoding: 'utf8', env: { ...process.env, LC_ALL: 'zh_TW.UTF-8' } });
  const [[only, ...none]] = readBoth([traditional]);
  assert.equal(only.summary, '農曆生日（臘月二十）');
  assert.equal(only.start, '2100-01-29');
  assert.equal(none.length, 0);
});
