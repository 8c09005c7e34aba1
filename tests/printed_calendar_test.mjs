// The calendar from 1645-01-28 to 2100-12-31 under both rules, as chenggu --calendar lists it:
// every row of data/printed-calendar.tsv is honoured by the printed rule, and every day is
// compared with a second source (npm lunar-javascript: lunar dates from the calendars as
// printed, terms of its own computation); a disagreement of a kind the README does not list
// fails.
//
//   node tests/printed_calendar_test.mjs CHENGGU
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { Solar } = require('lunar-javascript');
const root = new URL('..', import.meta.url);
const [chenggu] = process.argv.slice(2);

// Each rule's calendar, a day to a line: {date, lunar ("1645-L6-1"), year, month, day pillars}.
function calendar(rule) {
  const text = execFileSync(chenggu, ['--calendar', '1645-01-28', '2100-12-31', '--calendar-rule', rule],
    { encoding: 'utf8', maxBuffer: 1 << 28 });
  return text.trim().split('\n').slice(1).map((line) => {
    const [date, year, month, leap, day, yearPillar, monthPillar, dayPillar] = line.split('\t');
    return { date, lunar: `${year}-${leap === '1' ? 'L' : ''}${Number(month)}-${Number(day)}`, yearPillar, monthPillar, dayPillar };
  });
}
const printed = calendar('printed');
const computed = calendar('computed');
const index = new Map(printed.map((day, i) => [day.date, i]));

const rows = readFileSync(new URL('data/printed-calendar.tsv', root), 'utf8').split('\n')
  .filter((line) => line && !line.startsWith('#') && !line.startsWith('kind\t'))
  .map((line) => { const [kind, year, what, printedDay, computedAt] = line.split('\t'); return { kind, year, what, printedDay, computedAt }; });

const dayAfter = (date) => new Date(Date.parse(`${date}T00:00:00Z`) + 86400000).toISOString().slice(0, 10);

test('every row of the list of the calendars as printed is honoured', () => {
  assert.equal(rows.length, 276);
  for (const row of rows) {
    if (row.kind !== 'leap-month' && row.printedDay < printed[0].date) continue;  // before lunar 1645
    if (row.kind === 'new-moon') {
      // The printed day opens the month.
      const month = row.what.startsWith('leap') ? `L${row.what.split(' ')[1]}` : row.what;
      assert.equal(printed[index.get(row.printedDay)].lunar, `${row.year.slice(1)}-${month}-1`, `new moon ${row.printedDay}`);
    } else if (row.kind === 'leap-month') {
      const year = row.year.slice(1);
      const leaps = new Set(printed.filter((d) => d.lunar.startsWith(`${year}-L`)).map((d) => d.lunar.split('-')[1]));
      assert.deepEqual([...leaps], [`L${row.printedDay}`], `leap month of ${year}`);
    } else if (row.what.startsWith('J')) {
      // A sectional term opens its stem-branch month on its printed day.
      const i = index.get(row.printedDay);
      assert.notEqual(printed[i].monthPillar, printed[i - 1].monthPillar, `${row.what} ${row.printedDay}`);
      assert.equal(printed[i + 1].monthPillar, printed[i].monthPillar);
    } else {
      // A principal term lies in the month it names (Z1 雨水 in the first, Z11 冬至 in the
      // eleventh), or in the month before when that one holds two, or, on the first day of a
      // leap month, was counted in the month before (1645).
      const number = Number(row.what.split(' ')[0].slice(1));
      const [, month, day] = printed[index.get(row.printedDay)].lunar.split('-');
      const before = String(number === 1 ? 12 : number - 1);
      assert.ok([String(number), before].includes(month) || (month === `L${number}` && day === '1'),
        `${row.what} ${row.printedDay}: ${month}`);
    }
  }
});

// The README's list of the kinds of day on which lunar-javascript disagrees, and the days of the
// kinds that are not computed here from the list.
const readme = readFileSync(new URL('README.md', root), 'utf8');
const section = readme.slice(readme.indexOf('### Checked against lunar-javascript'));
const ends = [section.indexOf('\n## '), section.indexOf('\n### ', 4)].filter((i) => i > 0);
const listed = section.slice(0, Math.min(...ends));
const datesIn = (kind) => {
  const item = listed.split('\n- ').find((text) => text.replace(/\s+/g, ' ').includes(kind));
  assert.ok(item, `the README lists ${kind}`);
  return new Set(item.match(/\d{4}-\d\d-\d\d/g));
};

// The days from a term's printed day to its computed one, or back: the month pillar there
// follows the list under the printed rule, the computation in lunar-javascript.
const movedTermDays = new Set();
for (const row of rows.filter((r) => r.kind === 'solar-term' && r.what.startsWith('J'))) {
  const computedDay = row.computedAt.slice(0, 10);
  let [from, to] = [row.printedDay, computedDay].sort();
  for (; from < to; from = dayAfter(from)) movedTermDays.add(from);
}

test('every day agrees with lunar-javascript but on the kinds of day the README lists', () => {
  const newMoonAtMidnight = datesIn('new moon at 23:59:50');
  const [firstOf2057, lastOf2057] = [...newMoonAtMidnight].sort();
  const termsAtMidnight = datesIn('within a minute after midnight');
  const seen = new Map();
  const note = (kind) => seen.set(kind, (seen.get(kind) ?? 0) + 1);
  for (let i = 0; i < printed.length; i++) {
    const [y, m, d] = printed[i].date.split('-').map(Number);
    const lunar = Solar.fromYmd(y, m, d).getLunar();
    const theirs = {
      lunar: `${lunar.getYear()}-${lunar.getMonth() < 0 ? 'L' : ''}${Math.abs(lunar.getMonth())}-${lunar.getDay()}`,
      yearPillar: lunar.getYearInGanZhiByLiChun(), monthPillar: lunar.getMonthInGanZhi(), dayPillar: lunar.getDayInGanZhi(),
    };
    for (const [rule, ours] of [['printed', printed[i]], ['computed', computed[i]]]) {
      assert.equal(ours.date, printed[i].date);
      assert.equal(ours.dayPillar, theirs.dayPillar, ours.date);
      const date = ours.date;
      if (ours.lunar !== theirs.lunar) {
        if (date >= firstOf2057 && date <= lastOf2057) note('2057');
        else if (rule === 'computed' && printed[i].lunar === theirs.lunar) note('computed lunar date');
        else assert.fail(`${rule} ${date}: lunar ${ours.lunar}, lunar-javascript ${theirs.lunar}`);
      }
      if (ours.monthPillar !== theirs.monthPillar || ours.yearPillar !== theirs.yearPillar) {
        if (termsAtMidnight.has(date)) note('term at midnight');
        else if (rule === 'printed' && movedTermDays.has(date)) note('printed term');
        else assert.fail(`${rule} ${date}: ${ours.yearPillar}${ours.monthPillar}, lunar-javascript ${theirs.yearPillar}${theirs.monthPillar}`);
      }
    }
  }
  // Each kind the README lists occurs: the list is not wider than the disagreements.
  assert.deepEqual([...seen.keys()].sort(), ['2057', 'computed lunar date', 'printed term', 'term at midnight']);
});

test('under the computed rule the calendar of 1901-2100 is the modern computation', () => {
  // The printed rule differs from it only before 1929, and there only where the list says.
  for (let i = 0; i < printed.length; i++) {
    if (printed[i].date >= '1929-02-10') assert.deepEqual(printed[i], computed[i]);
  }
  const changed = printed.filter((day, i) => day.date >= '1901' && day.lunar !== computed[i].lunar).length;
  assert.equal(changed, 90);  // the months of 1914, 1916 and 1920 that began a day earlier
});
