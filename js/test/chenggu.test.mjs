// The installed package against the command line, under node's test runner: the same answer
// for every kind of request, and an Error with the engine's reason for every kind of refusal.
// CHENGGU names the native chenggu executable.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';
import { ChengguError, date, months, places, read, terms, version } from 'chenggu';

const chenggu = (...args) => JSON.parse(execFileSync(process.env.CHENGGU, ['--json', ...args], { encoding: 'utf8' }));

test('every kind of request answers as chenggu --json', () => {
  const cases = [
    [{ date: '1990-01-30', period: '子' }, ['1990-01-30', '子']],
    [{ date: '1990-01-30', period: '23:30', lateZi: 'next-day' }, ['--late-zi', 'next-day', '1990-01-30', '23:30']],
    [{ date: '2024-02-05', period: '午', yearStart: 'spring' }, ['--year-start', 'spring', '2024-02-05', '午']],
    [{ date: '1917-12-07', period: '午', calendarRule: 'computed' }, ['--calendar-rule', 'computed', '1917-12-07', '午']],
    [{ date: '2020-闰4-16', lunar: true, period: '晚子', leapMonth: 'split' },
      ['--lunar', '--leap-month', 'split', '2020-闰4-16', '晚子']],
    [{ date: '2020-4-1', lunar: true }, ['--lunar', '2020-4-1']],
    [{ date: '2100-12-31', period: null }, ['2100-12-31']],
    [{ date: '2024-02-04', period: '申' }, ['2024-02-04', '申']],
    [{ date: '1990-07-15', period: '14:30', place: '成都' }, ['--place', '成都', '1990-07-15', '14:30']],
    [{ date: '1995-03-15', period: '08:00', longitude: -74, zone: 'America/New_York', solarTime: 'mean' },
      ['--longitude=-74', '--zone', 'America/New_York', '--solar-time', 'mean', '1995-03-15', '08:00']],
  ];
  for (const [request, args] of cases) assert.deepEqual(read(request), chenggu(...args), JSON.stringify(request));
});

test('refusals throw a ChengguError with the engine\'s reason and code', () => {
  const cases = [
    [{ date: '2001-02-29', period: '子' }, 'no-such-date', /February 2001 has 28 days/],
    [{ date: '2001-02-29', language: 'zh' }, 'no-such-date', /只有 28 天/],
    [{ date: '2021-闰4-1', lunar: true }, 'no-such-leap-month', /has no leap month/],
    [{ date: '1990-01-30', period: '甲' }, 'bad-period', /not a birth period/],
    [{ date: '1990-01-30', lateZi: 'midnight' }, 'unknown-convention', /same-day or next-day/],
    [{ date: '2100-12-31', period: '晚子', lateZi: 'next-day' }, 'reading-day-outside-range', /2100-12-31/],
    [{ date: 19900130 }, 'bad-request', /must be a string/],
    [{}, 'bad-request', /needs a date/],
    [null, 'bad-request', /not a JSON object/],
    [undefined, 'bad-request', /not a JSON object/],
    [{ date: '1990-01-30', hour: 3 }, 'bad-request', /unknown member "hour"/],
    [{ date: '1988-04-17', period: '02:30', place: '北京' }, 'skipped-clock-time', /never happened/],
    [{ date: '1990-07-15', period: '午', place: '成都' }, 'no-clock-time', /clock time/],
    [{ date: '1990-07-15', period: '14:30', place: '不存在的地方' }, 'unknown-place', /unknown place/],
  ];
  for (const [request, code, message] of cases) {
    assert.throws(() => read(request), (error) => error instanceof ChengguError &&
                  error instanceof Error && error.code === code && message.test(error.message),
                  JSON.stringify(request));
  }
  assert.throws(() => places({ query: '成都', limit: '20', language: 'zh' }),
                (error) => error.code === 'bad-request' && /limit/.test(error.message));
});

test('the calendar a form needs, and the version', () => {
  const lunar2020 = months({ calendar: 'lunar', year: 2020 });
  assert.deepEqual(lunar2020.months.map((m) => m.name).slice(3, 6), ['四月', '闰四月', '五月']);
  assert.deepEqual(date({ date: '2020-闰4-1', lunar: true }).date, '2020-05-23');
  assert.throws(() => months({ calendar: 'lunar', year: 2101 }), /1645 to 2100/);
  assert.equal(version, execFileSync(process.env.CHENGGU, ['--version'], { encoding: 'utf8' }).trim().split(' ')[1]);
});

test('terms as chenggu --terms lists them', () => {
  assert.deepEqual(terms(2024), chenggu('--terms', '2024').terms);
  assert.deepEqual(terms(2024, { script: 'traditional' })[4].name, '驚蟄');
  assert.deepEqual(terms(1700), chenggu('--terms', '1700').terms);
  assert.throws(() => terms(1644), (error) => error.code === 'outside-range');
});

test('places as chenggu --places lists them', () => {
  assert.deepEqual(places({ query: '成都', limit: 50 }), chenggu('--places', '成都'));
  assert.deepEqual(places({ query: '行唐', script: 'traditional' }), chenggu('--places', '行唐', '--script', 'traditional'));
  assert.equal(places({ query: '朝阳', near: '北京市海淀区' })[0].fullName, '北京市朝阳区');
});
