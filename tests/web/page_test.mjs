// The web page in Debian's Chromium: shared links and list picks, field by field through
// data-field/data-value, against the native chenggu on the same requests; bad links; the
// keyboard; a phone's width; and no console error or failed request anywhere.
// Usage: node page_test.mjs WEB_DIR CHENGGU
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { after, before, test } from 'node:test';
import jsQR from 'jsqr';
import pngjs from 'pngjs';
import { expectedFields, launch, listsCut, serve, shownFields, waitReady } from './harness.mjs';

const [webDir, chenggu] = process.argv.slice(2);
const BRANCHES = [...'子丑寅卯辰巳午未申酉戌亥'];
const PERIODS = [...BRANCHES, '早子', '晚子'];
const OPTIONS = { lateZi: ['same-day', 'next-day'], yearStart: ['new-year', 'spring'],
  leapMonth: ['whole', 'split'] };

// A small seeded generator, so that every run checks the same cases.
let seed = 20261207;
const random = (n) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
};
const pick = (list) => list[random(list.length)];

function gregorianCase(offset) {
  const date = new Date(Date.UTC(1645, 0, 28) + offset * 86400000).toISOString().slice(0, 10);
  return { calendar: 'gregorian', date };
}

// Lunar dates from the native calendar export: every leap month of the range once, and
// random days.
function sampleCases() {
  const lines = execFileSync(chenggu, ['--calendar', '1645-01-28', '2100-12-31'],
    { encoding: 'utf8', maxBuffer: 1 << 26 })
    .trim().split('\n').slice(1).map((line) => line.split('\t'));
  const lunarOf = ([, year, month, leap, day]) =>
    ({ calendar: 'lunar', date: `${year}-${leap === '1' ? '闰' : ''}${month}-${day}` });
  const leapMonths = new Map();
  for (const line of lines) {
    if (line[3] === '1' && !leapMonths.has(line[1])) leapMonths.set(line[1], []);
    if (line[3] === '1') leapMonths.get(line[1]).push(line);
  }
  const cases = [gregorianCase(0), gregorianCase(lines.length - 1), { calendar: 'lunar', date: '1645-1-1' },
    { calendar: 'gregorian', date: '1914-11-17' }, { calendar: 'gregorian', date: '1917-12-07' },
    { calendar: 'gregorian', date: '1990-01-30' }, { calendar: 'gregorian', date: '2024-02-05' }];
  for (const days of leapMonths.values()) cases.push(lunarOf(pick(days)));
  while (cases.length < 200) {
    cases.push(random(2) ? gregorianCase(random(lines.length)) : lunarOf(pick(lines)));
  }
  return cases.map((c) => ({ ...c, period: pick(PERIODS),
    ...Object.fromEntries(Object.entries(OPTIONS).map(([name, values]) => [name, pick(values)])) }))
    .filter((c) => !(c.date === '2100-12-31' && c.period === '晚子' && c.lateZi === 'next-day'));
}

// The native readings of the cases, one chenggu --batch run per calendar and conventions.
function nativeReadings(cases) {
  const groups = new Map();
  cases.forEach((c, i) => {
    const key = [c.calendar, c.lateZi, c.yearStart, c.leapMonth].join(' ');
    if (!groups.has(key)) groups.set(key, []);
    groups.get(key).push(i);
  });
  const readings = [];
  for (const [key, indices] of groups) {
    const [calendar, lateZi, yearStart, leapMonth] = key.split(' ');
    const args = ['--batch', '--late-zi', lateZi, '--year-start', yearStart, '--leap-month', leapMonth];
    if (calendar === 'lunar') args.push('--lunar');
    const input = indices.map((i) => `${cases[i].date} ${cases[i].period}`).join('\n');
    const output = execFileSync(chenggu, args, { input, encoding: 'utf8', maxBuffer: 1 << 26 }).trim().split('\n');
    indices.forEach((i, k) => { readings[i] = JSON.parse(output[k]); });
  }
  return readings;
}

function linkOf(c) {
  const params = new URLSearchParams({ [c.calendar === 'lunar' ? 'lunar' : 'date']: c.date, period: c.period });
  for (const name of Object.keys(OPTIONS)) params.set(name, c[name]);
  return `?${params}`;
}

let server;
let browser;
let page;
const problems = [];

async function open(address) {
  await page.goto(server.url + address);
  await waitReady(page);
}

before(async () => {
  server = await serve(webDir);
  browser = await launch();
  page = await browser.newPage();
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));
});

after(async () => {
  await browser?.close();
  await server?.close();
});

test('shared links show the readings of the native engine', async () => {
  const cases = sampleCases();
  const readings = nativeReadings(cases);
  for (const [i, c] of cases.entries()) {
    await open(linkOf(c));
    assert.deepEqual(await shownFields(page), expectedFields(readings[i]), `${linkOf(c)}`);
    assert.equal(await page.$eval('#message', (e) => e.hidden), true, linkOf(c));
  }
});

test('picks in the lists show the readings of the native engine, and the address keeps them', async () => {
  await open('');
  const cases = sampleCases().slice(0, 60);
  const readings = nativeReadings(cases);
  for (const [i, c] of cases.entries()) {
    const [, year, leap, month, day] = /^(\d{4})-(闰)?(\d+)-(\d+)$/.exec(c.date);
    await page.select('#calendar', c.calendar);
    await page.select('#year', String(Number(year)));
    // A year before 1902 loads the whole engine first, and then fills the lists.
    await page.waitForFunction(() => !document.getElementById('status').textContent);
    await page.select('#month', `${leap ?? ''}${Number(month)}`);
    await page.select('#day', String(Number(day)));
    await page.select('#period', c.period);
    await page.select('#late-zi', c.lateZi);
    await page.select('#year-start', c.yearStart);
    await page.select('#leap-month', c.leapMonth);
    const shown = await shownFields(page);
    assert.deepEqual(shown, expectedFields(readings[i]), `picked ${JSON.stringify(c)}`);
    if (i % 10 === 0) {  // the address, kept once the page is idle, reopens the same reading
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
      await open(new URL(page.url()).search);
      assert.deepEqual(await shownFields(page), shown, `reopened ${page.url()}`);
    }
  }
});

// Births with a clock time at a place, or at a longitude in a zone, under each solar-time
// convention: random days and times over the range, places at home and abroad, longitudes
// anywhere, zones with and without summer time.
function birthplaceCases() {
  const places = ['乌鲁木齐', '成都市', '黑龙江漠河', '拉萨', '上海', '香港', '臺北', '纽约', '伦敦', '悉尼'];
  const zones = ['Asia/Shanghai', 'Asia/Taipei', 'America/New_York', 'Europe/London', 'Europe/Dublin',
    'Australia/Sydney', 'Asia/Kolkata', 'America/St_Johns'];
  return Array.from({ length: 40 }, (_, i) => {
    const c = { ...gregorianCase(random(54786)), solarTime: pick(['true', 'mean', 'clock']),
      time: `${String(random(24)).padStart(2, '0')}:${String(random(60)).padStart(2, '0')}` };
    if (i % 2) return { ...c, place: pick(places) };
    return { ...c, lon: String((random(360001) - 180000) / 1000), zone: pick(zones) };
  });
}

// The native answers (readings or refusals) of birthplace cases, one --batch run per convention.
function nativeBirthplaceAnswers(cases) {
  const answers = [];
  for (const solarTime of ['true', 'mean', 'clock']) {
    const indices = cases.flatMap((c, i) => (c.solarTime === solarTime ? [i] : []));
    const input = indices.map((i) => [cases[i].date, cases[i].time, cases[i].place ?? cases[i].lon, cases[i].zone ?? '']
      .join(' ').trim()).join('\n');
    // (A refused line makes the run exit 2; its answer is on its line.)
    const output = spawnSync(chenggu, ['--batch', '--solar-time', solarTime], { input, encoding: 'utf8' })
      .stdout.trim().split('\n');
    indices.forEach((i, k) => { answers[i] = JSON.parse(output[k]); });
  }
  return answers;
}

const birthplaceLink = (c) => `?${new URLSearchParams({ date: c.date, time: c.time,
  ...(c.place ? { place: c.place } : { lon: c.lon, zone: c.zone }), solarTime: c.solarTime })}`;

test('links with a clock time and a birthplace show the readings of the native engine', async () => {
  const cases = birthplaceCases();
  const answers = nativeBirthplaceAnswers(cases);
  for (const [i, c] of cases.entries()) {
    await open(birthplaceLink(c));
    const message = await page.$eval('#message', (e) => (e.hidden ? '' : e.textContent));
    if (answers[i].error) {  // a clock time summer time skipped, or a solar date past the range
      assert.ok(message.includes(answers[i].error), `${birthplaceLink(c)}: ${message}`);
      continue;
    }
    assert.equal(message, '', birthplaceLink(c));
    assert.deepEqual(await shownFields(page), expectedFields(answers[i]), birthplaceLink(c));
    const steps = await page.$$eval('[data-field="birthTime"] li', (list) => list.map((e) => e.textContent));
    assert.match(steps.join('\n'), c.solarTime === 'clock' ? /钟表时间/ : /平太阳时[^]*真太阳时/, birthplaceLink(c));
  }
});

test('a clock time and a place typed in: the list of places, the period list, the address', async () => {
  const before = server.requests.length;
  await open('?date=1990-07-15&period=子');
  assert.ok(!server.requests.slice(before).some((r) => r.path.endsWith('birthplace.js')),
    'a visit without a birthplace loads no place');
  const expected = JSON.parse(execFileSync(chenggu, ['--json', '1990-07-15', '14:30', '成都'], { encoding: 'utf8' }));
  await page.click('#where summary');
  await page.$eval('#time', (e) => {
    e.value = '14:30';
    e.dispatchEvent(new Event('change', { bubbles: true }));
  });
  assert.equal(await page.$eval('#period', (e) => e.value), '未');  // by the clock, without a place
  await page.type('#place', '成都');
  await page.waitForFunction(() => document.querySelector('#places option')?.value === '四川省成都市');
  await page.$eval('#place', (e) => {
    e.value = '四川省成都市';
    e.dispatchEvent(new Event('input', { bubbles: true }));
  });
  await page.waitForFunction(() => document.querySelector('[data-field="birthTime"]').dataset.value);
  assert.deepEqual(await shownFields(page), expectedFields(expected));
  assert.equal(await page.$eval('#period', (e) => e.value), expected.periodBranch);
  assert.equal(await page.$eval('#longitude', (e) => e.value), String(expected.birthTime.longitude));

  // A longitude typed over the place's goes into the address; the address reopens the reading.
  const atLongitude = JSON.parse(execFileSync(chenggu, ['--json', '--place', '成都', '--longitude', '120',
    '1990-07-15', '14:30'], { encoding: 'utf8' }));
  await page.$eval('#longitude', (e) => {
    e.value = '120';
    e.dispatchEvent(new Event('change', { bubbles: true }));
  });
  assert.deepEqual(await shownFields(page), expectedFields(atLongitude));
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
  assert.match(page.url(), /time=14%3A30&place=.*&lon=120/);
  await open(new URL(page.url()).search);
  assert.deepEqual(await shownFields(page), expectedFields(atLongitude));

  // A period picked replaces the clock time.
  await page.select('#period', '子');
  assert.equal(await page.$eval('#time', (e) => e.value), '');
  assert.equal((await shownFields(page)).birthTime, '');
});

test('a shared place name: the place read is named, another is one tap away, and near it first', async () => {
  await open('?date=1990-07-15&time=14:30&place=朝阳');
  const choice = () => page.$eval('#place-choice', (e) =>
    ({ text: e.textContent, buttons: [...e.querySelectorAll('button')].map((b) => b.textContent) }));
  const shown = await choice();
  assert.match(shown.text, /^辽宁省朝阳市；改为/);
  assert.deepEqual(shown.buttons, ['北京市朝阳区', '吉林省长春市朝阳区']);
  await page.click('#place-choice button');
  await page.waitForFunction(() => !document.querySelector('#place-choice'));
  assert.equal(await page.$eval('#longitude', (e) => e.value), '116.4324');
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
  assert.match(decodeURIComponent(page.url()), /place=北京市朝阳区/);
  // Typed again after a place in Beijing, the list puts Beijing's district first.
  await page.$eval('#place', (e) => { e.value = ''; });
  await page.type('#place', '朝阳');
  await page.waitForFunction(() => document.querySelector('#places option')?.value === '北京市朝阳区');
});

test('an unknown or ambiguous place keeps the reading, marks the field and stays out of the link', async () => {
  await open('?date=1990-07-15&time=14:30&place=成都');
  const good = await shownFields(page);
  await page.click('#where summary');
  for (const [place, said] of [['火星', /火星/], ['通州', /北京市通州区/]]) {
    await page.$eval('#place', (e, value) => {
      e.value = value;
      e.dispatchEvent(new Event('change', { bubbles: true }));
    }, place);
    assert.deepEqual(await shownFields(page), good, place);
    assert.equal(await page.$eval('#place', (e) => e.getAttribute('aria-invalid')), 'true', place);
    assert.match(await page.$eval('#place-message', (e) => (e.hidden ? '' : e.textContent)), said, place);
    assert.equal(await page.$eval('#message', (e) => e.hidden), true, place);
    assert.equal(await page.$eval('#longitude', (e) => e.value), '', `${place}: the longitude it would have used`);
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
    assert.match(page.url(), /place=%E6%88%90%E9%83%BD/, place);
  }
  await page.$eval('#place', (e) => {
    e.value = '漠河';
    e.dispatchEvent(new Event('change', { bubbles: true }));
  });
  assert.notDeepEqual(await shownFields(page), good);
  assert.equal(await page.$eval('#place', (e) => e.hasAttribute('aria-invalid')), false);
  assert.equal(await page.$eval('#place-message', (e) => e.hidden), true);
  // A time in full-width digits, as a date may be.
  await open('?date=1990-07-15&time=１４：３０&place=成都');
  assert.deepEqual(await shownFields(page), good);
});

test('every zone the zone field offers reads, in both scripts, and the steps say it so', async () => {
  for (const script of ['simplified', 'traditional']) {
    await open(`?date=1990-07-15&time=14:30&lon=116.4&zone=UTC%2B8&script=${script}`);
    const zones = await page.$$eval('#zones option', (list) => list.map((o) => o.value));
    assert.ok(zones.length >= 20);
    for (const zone of zones) {
      await page.$eval('#zone', (e, value) => {
        e.value = value;
        e.dispatchEvent(new Event('change', { bubbles: true }));
      }, zone);
      assert.equal(await page.$eval('#zone-message', (e) => e.textContent), '', `${script}: ${zone}`);
      const steps = JSON.parse((await shownFields(page)).birthTime);
      assert.ok(steps.zone, zone);
    }
  }
});

test('the lists follow the calendar', async () => {
  await open('?lunar=2020-闰4-1&period=子');
  const options = (id) => page.$$eval(`#${id} option`, (list) => list.map((o) => [o.value, o.textContent, o.disabled]));
  const months = await options('month');
  assert.deepEqual(months.slice(3, 6).map(([v, t]) => [v, t]), [['4', '四月'], ['闰4', '闰四月'], ['5', '五月']]);
  assert.equal((await options('day')).length, 29);  // the leap fourth month of 2020
  const periods = (await options('period')).map(([v]) => v);
  assert.deepEqual(periods.slice(0, 4), ['子', '早子', '晚子', '丑']);
  assert.deepEqual((await options('year')).map(([v]) => v).slice(0, 1), ['1645']);

  // Lunar 1645, the first year, read by the whole engine: its leap month is the sixth, as
  // its calendar printed it.
  await page.select('#year', '1645');
  await page.waitForFunction(() => document.querySelector('#month option[value="闰6"]'));
  await page.select('#month', '1');
  await page.select('#day', '1');

  // Back to the Gregorian calendar on the same day, the first of the range.
  await page.select('#calendar', 'gregorian');
  assert.deepEqual(await page.$eval('#birth', () => ['year', 'month', 'day'].map((id) => document.getElementById(id).value)),
    ['1645', '1', '28']);
  assert.equal((await options('day')).filter(([, , disabled]) => !disabled)[0][0], '28');
});

test('links that cannot be read open on today with a message', async () => {
  const bad = ['?date=2001-02-29&period=子', '?date=2101-01-01&period=子', '?lunar=2021-闰4-1&period=午',
    '?lunar=2020-4-30x', '?date=1990-01-30&period=甲', '?date=1990-01-30&period=子&lateZi=midnight',
    '?date=2100-12-31&period=晚子&lateZi=next-day', '?lunar=2100-12-02&period=子',
    '?date=1988-04-17&time=02:30&place=成都', '?date=1990-07-15&time=14:30&place=火星', '?date=1990-07-15&place=成都',
    '?date=1990-07-15&time=25:00', '?date=1990-07-15&time=14:30&lon=200'];
  await open('');
  const todays = await shownFields(page);
  for (const address of bad) {
    await open(address);
    const message = await page.$eval('#message', (e) => (e.hidden ? '' : e.textContent));
    assert.match(message, /无法打开链接/, address);
    assert.deepEqual((({ lunarYear, lunarMonth, lunarDay }) => ({ lunarYear, lunarMonth, lunarDay }))(await shownFields(page)),
      (({ lunarYear, lunarMonth, lunarDay }) => ({ lunarYear, lunarMonth, lunarDay }))(todays), address);
  }
});

test('the keyboard alone changes the reading', async () => {
  await open('?date=1990-01-30&period=子');
  await page.focus('#day');
  await page.keyboard.press('ArrowDown');
  assert.equal(await page.$eval('#day', (e) => e.value), '31');
  assert.equal((await shownFields(page)).lunarDay, '5');
  const labels = await page.$$eval('select', (list) => list.map((s) => s.labels.length));
  assert.ok(labels.every((n) => n === 1), 'every list has its label');
});

test('a phone 360 px wide needs no horizontal scrolling', async () => {
  await page.setViewport({ width: 360, height: 740 });
  for (const address of ['?lunar=2020-闰4-16&period=晚子&leapMonth=split', '?date=1990-01-30&period=子']) {
    await open(address);
    const width = await page.evaluate(() => [document.documentElement.scrollWidth, window.innerWidth]);
    assert.ok(width[0] <= width[1], `${address}: ${width[0]} px wide in ${width[1]} px`);
  }
});

test('on a phone the total and the verse stay in view after a pick in any list', async () => {
  await page.setViewport({ width: 360, height: 740 });
  await open('?date=1990-01-30&period=子');
  const inView = () => page.evaluate(() => ['totalWeight', 'verse'].every((field) => {
    const box = document.querySelector(`[data-field="${field}"]`).getBoundingClientRect();
    return box.top >= 0 && box.bottom <= window.innerHeight;
  }));
  assert.ok(await inView(), 'on opening');
  const picks = [['calendar', 'lunar'], ['year', '1995'], ['month', '6'], ['day', '15'], ['period', '午'],
    ['script', 'traditional'], ['calendar', 'gregorian'], ['late-zi', 'next-day'], ['year-start', 'spring'],
    ['leap-month', 'split'], ['script', 'simplified']];
  await page.click('.rules summary');  // the conventions unfolded: the most the form can take
  for (const [id, value] of picks) {
    await page.select(`#${id}`, value);
    assert.ok(await inView(), `after picking ${value} in #${id}`);
  }
  await page.setViewport({ width: 1024, height: 768 });
});

test('large text: no list cuts its value, and the total and verse stay in view on a phone', async () => {
  const client = await page.createCDPSession();
  await page.setViewport({ width: 360, height: 740 });
  const cut = () => listsCut(page);
  for (const percent of [130, 150]) {
    await client.send('Page.setFontSizes', { fontSizes: { standard: Math.round(16 * percent / 100), fixed: Math.round(13 * percent / 100) } });
    for (const address of ['?date=1990-01-30&period=子', '?lunar=2020-闰4-29&period=晚子&leapMonth=split&script=traditional']) {
      await open(address);
      assert.deepEqual(await cut(), [], `${percent} %: ${address}`);
      await page.select('#day', '15');
      const inView = await page.evaluate(() => ['totalWeight', 'verse'].every((field) => {
        const box = document.querySelector(`[data-field="${field}"]`).getBoundingClientRect();
        return box.top >= 0 && box.bottom <= window.innerHeight;
      }));
      assert.ok(inView, `${percent} %: ${address}, the total and the verse after a pick`);
    }
  }
  await client.send('Page.setFontSizes', { fontSizes: { standard: 16, fixed: 13 } });
  await page.setViewport({ width: 1024, height: 768 });
});

test('heard as well as seen: one sentence a change, distinct names, no empty frame first', async () => {
  await open('?date=1990-01-30&period=午');
  const announced = () => page.$eval('#announce', (e) => e.textContent);
  assert.equal(await announced(), '1990年1月30日午时，总骨重' + (await shownFields(page)).weightText);
  assert.match(await page.title(), /^称骨算命：.+两/);
  await page.select('#period', '子');
  assert.match(await announced(), /^1990年1月30日子时，总骨重/);
  const live = await page.$$eval('[aria-live], [role="alert"], [role="status"]', (list) => list.map((e) => e.id));
  assert.deepEqual(live.sort(), ['announce', 'message', 'status']);
  const names = await page.evaluate(() => Object.fromEntries(['period', 'solar-time', 'script'].map((id) => {
    const e = document.getElementById(id);
    return [id, e.getAttribute('aria-label') ?? e.labels[0].textContent];
  })));
  assert.notEqual(names.period, names['solar-time']);
  assert.match(names.script, /简体|繁体/);
  // Before the engine answers: the title and nothing of the reading's frame or the lists.
  const blank = await browser.newPage();
  await blank.setJavaScriptEnabled(false);
  await blank.goto(server.url + '?date=1990-01-30&period=午');
  assert.deepEqual(await blank.$$eval('main > *', (elements) => elements.filter((e) => e.offsetParent !== null || e.getClientRects().length)
    .map((e) => e.tagName.toLowerCase())), ['header', 'noscript']);
  await blank.close();
});

test('Traditional characters: the switch, the link and the browser\'s language', async () => {
  const [c] = sampleCases().filter((x) => x.calendar === 'lunar').slice(0, 1);
  const request = { ...c, script: 'traditional' };
  const args = ['--json', '--script', 'traditional', '--late-zi', c.lateZi, '--year-start', c.yearStart,
    '--leap-month', c.leapMonth, ...(c.calendar === 'lunar' ? ['--lunar'] : []), c.date, c.period];
  const expected = expectedFields(JSON.parse(execFileSync(chenggu, args, { encoding: 'utf8' })));
  await open(`${linkOf(c)}&script=traditional`);
  assert.deepEqual(await shownFields(page), expected, JSON.stringify(request));
  assert.equal(await page.$eval('html', (e) => e.lang), 'zh-Hant');
  assert.match(await page.$eval('h1', (e) => e.textContent), /稱骨算命/);
  await page.select('#script', 'simplified');
  assert.match(await page.$eval('h1', (e) => e.textContent), /称骨算命/);
  const chinese = await browser.newPage();
  await chinese.setExtraHTTPHeaders({ 'Accept-Language': 'zh-TW' });
  await chinese.evaluateOnNewDocument(() => Object.defineProperty(navigator, 'languages', { get: () => ['zh-TW'] }));
  await chinese.goto(`${server.url}?date=1990-01-30&period=子`);
  await waitReady(chinese);
  assert.equal(await chinese.$eval('#script', (e) => e.value), 'traditional');
  assert.match(await chinese.$eval('[data-field="weightText"]', (e) => e.textContent), /四兩六錢/);
  await chinese.close();
});

test('links in the forms people write, and a parameter given twice refused', async () => {
  await open('?date=1990-01-30&period=子');
  const canonical = await shownFields(page);
  for (const address of ['?date=1990年1月30日&period=子時', '?date=1990/1/30&period=子', '?date=１９９０-０１-３０&period=子']) {
    await open(address);
    assert.deepEqual(await shownFields(page), canonical, address);
  }
  await open('?lunar=1990-1-4&period=晚子');
  const lunar = await shownFields(page);
  for (const address of ['?date=1990年正月初四&period=23:30', '?lunar=1990年正月初四&period=晚子時']) {
    await open(address);
    assert.deepEqual(await shownFields(page), lunar, address);
    assert.equal(await page.$eval('#calendar', (e) => e.value), 'lunar', address);
  }
  for (const address of ['?date=1990-01-30&date=1990-01-31', '?date=1990-01-30&period=子&period=丑']) {
    await open(address);
    assert.match(await page.$eval('#message', (e) => e.textContent), /无法打开链接.*不止一次/, address);
  }
});

test('links that came back through chat apps show the shared reading, and the address drops their parameters', async () => {
  await open('?date=1990-01-30&period=子&lateZi=next-day');
  const shared = await shownFields(page);
  for (const address of ['?date=1990-01-30&period=子&lateZi=next-day&from=singlemessage&isappinstalled=0',
    '?utm_source=wechat&date=1990-01-30&utm_source=x&period=子&lateZi=next-day&nsukey=abc%3D%3D']) {
    await open(address);
    assert.deepEqual(await shownFields(page), shared, address);
    assert.equal(await page.$eval('#message', (e) => e.hidden), true, address);
    await page.waitForFunction(() => !/from=|utm_|isappinstalled|nsukey/.test(location.search));
    assert.match(await page.evaluate(() => location.search), /lateZi=next-day/);
  }
  await open('?from=timeline');
  assert.equal(await page.$eval('#message', (e) => e.hidden), true);
});

test('a leap month is named once, and dates and times do not break', async () => {
  await open('?lunar=2020-闰4-16&period=晚子');
  const lunar = await page.$eval('[data-field="lunarYear"]', (e) => e.closest('dd').innerText);
  assert.equal(lunar.split('闰').length - 1, 1, lunar);
  const unbroken = await page.$$eval('.nowrap', (list) => list.every((e) => getComputedStyle(e).whiteSpace === 'nowrap'));
  assert.ok(unbroken);
});

test('the share button copies the current address', async () => {
  await browser.defaultBrowserContext().overridePermissions(new URL(server.url).origin,
    ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  await open('?date=1990-01-30&period=子');
  await page.select('#period', '午');
  await page.click('#share');
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
  const [copied, address] = await page.evaluate(async () => [await navigator.clipboard.readText(), location.href]);
  assert.equal(copied, address);
  assert.match(copied, /period=%E5%8D%88/);
  assert.match(await page.$eval('#status', (e) => e.textContent), /已复制链接/);
});

test('an app: installable, and the next visit opens without a network, at a birthplace too', async () => {
  const app = await browser.newPage();
  await app.goto(`${server.url}?date=1990-01-30&period=午`);
  await waitReady(app);
  const shown = await shownFields(app);
  await app.waitForFunction(async () => Boolean(await caches.match('birthplace.js')), { timeout: 20000 });
  const client = await app.createCDPSession();
  const { installabilityErrors } = await client.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  const manifest = await client.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  await app.setOfflineMode(true);
  await app.reload();
  await waitReady(app);
  assert.deepEqual(await shownFields(app), shown);
  await app.goto(`${server.url}?date=1990-07-15&time=14:30&place=成都`);
  await waitReady(app);
  assert.match((await shownFields(app)).birthTime, /四川省成都市/);
  await app.setOfflineMode(false);
  await app.close();
});

test('the share picture: a PNG whose QR code is the reading\'s link, in the page\'s script', async () => {
  for (const address of ['?date=1990-01-30&period=午&lateZi=next-day', '?lunar=2020-闰4-1&period=晚子&script=traditional']) {
    await open(address);
    await page.click('#make-poster');
    await page.waitForFunction(() => !document.getElementById('poster').hidden, { timeout: 10000 });
    const { src, href, alt, saved } = await page.evaluate(() => ({ src: document.getElementById('poster-image').src,
      href: location.href, alt: document.getElementById('poster-image').alt,
      saved: document.getElementById('poster-save').href }));
    assert.equal(saved, src);
    const png = pngjs.PNG.sync.read(Buffer.from(src.split(',')[1], 'base64'));
    const code = jsQR(new Uint8ClampedArray(png.data), png.width, png.height);
    assert.equal(code?.data, href, address);
    assert.match(alt, address.includes('traditional') ? /分享圖：稱骨算命，.+兩/ : /分享图：称骨算命，.+两/, address);
    assert.equal(await page.title(), `${address.includes('traditional') ? '稱骨算命' : '称骨算命'}：${alt.split('，')[1]}`);
  }
});

test('without JavaScript the page says why it cannot read', async () => {
  const bare = await browser.newPage();
  await bare.setJavaScriptEnabled(false);
  await bare.goto(server.url);
  assert.match(await bare.$eval('noscript', (e) => e.textContent), /JavaScript/);
  await bare.close();
});

test('no console error and no failed request', () => {
  const failed = server.requests.filter((r) => r.status !== 200).map((r) => `${r.status} ${r.path}`);
  assert.deepEqual([...problems, ...failed], []);
});
