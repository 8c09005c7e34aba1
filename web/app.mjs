// The page: four lists for the birth, three for the conventions, and the reading of the
// engine (engine.mjs, the project's C++ in WebAssembly), which answers with the JSON of
// chenggu --json. The state lives in the address, so that a reading can be shared as a link.
import createEngine from './engine.mjs';

const BRANCHES = [...'子丑寅卯辰巳午未申酉戌亥'];
const FIRST_YEAR = 1901;
const LAST_YEAR = 2050;

// The twelve periods in full, with the two halves of 子 right after it.
const PERIODS = BRANCHES.flatMap((branch, i) => {
  const from = (2 * i + 23) % 24;
  const period = { value: branch, label: `${branch}时 ${from}:00–${(from + 1) % 24}:59` };
  return i > 0 ? [period] : [period,
    { value: '早子', label: '早子时 0:00–0:59' },
    { value: '晚子', label: '晚子时 23:00–23:59' }];
});

// The conventions: address parameter, list id and values, the default first.
const CONVENTIONS = [
  { name: 'lateZi', id: 'late-zi', values: ['same-day', 'next-day'] },
  { name: 'yearStart', id: 'year-start', values: ['new-year', 'spring'] },
  { name: 'leapMonth', id: 'leap-month', values: ['whole', 'split'] },
];

const LUNAR_ERRORS = {
  NoSuchMonth: '农历月份只有一至十二月',
  NoSuchLeapMonth: '这一年没有这个闰月',
  NoSuchDay: '这个月没有这一天',
  OutsideRange: '超出可测算的范围（农历 1900年冬月十一 至 2050年冬月十八）',
};

const $ = (id) => document.getElementById(id);
let engine;
let state;

// The engine's C functions as JavaScript functions of numbers, booleans and names.
async function loadEngine() {
  const module = await createEngine();
  const wrap = (name, result, count, strings = 0) => module.cwrap(`chenggu_${name}`, result,
    [...Array(count - strings).fill('number'), ...Array(strings).fill('string')]);
  const json = (call) => (...args) => JSON.parse(call(...args));
  const read = json(wrap('read', 'string', 10, 3));
  const monthDays = wrap('lunar_month_days', 'number', 3);
  const toGregorian = json(wrap('lunar_to_gregorian', 'string', 4));
  const monthName = wrap('lunar_month_name', 'string', 2);
  return {
    read: (s, period, zi) => read(s.calendar === 'lunar' ? 1 : 0, s.year, s.month, s.day,
      s.leap ? 1 : 0, period, zi, s.lateZi, s.yearStart, s.leapMonth),
    gregorianMonthDays: wrap('gregorian_month_days', 'number', 2),
    lunarLeapMonth: wrap('lunar_leap_month', 'number', 1),
    lunarMonthDays: (year, month, leap) => monthDays(year, month, leap ? 1 : 0),
    lunarToGregorian: (year, month, day, leap) => toGregorian(year, month, day, leap ? 1 : 0),
    gregorianToLunar: json(wrap('gregorian_to_lunar', 'string', 3)),
    lunarMonthName: (month, leap) => monthName(month, leap ? 1 : 0),
    lunarDayName: wrap('lunar_day_name', 'string', 1),
  };
}

const pad = (n) => String(n).padStart(2, '0');
const isoDate = ({ year, month, day }) => `${year}-${pad(month)}-${pad(day)}`;

// Today's date and period, inside the calendar's range.
function today() {
  const now = new Date();
  const hour = now.getHours();
  let date = { year: now.getFullYear(), month: now.getMonth() + 1, day: now.getDate() };
  if (date.year < FIRST_YEAR) date = { year: FIRST_YEAR, month: 1, day: 1 };
  if (date.year > LAST_YEAR) date = { year: LAST_YEAR, month: 12, day: 31 };
  const period = hour === 23 ? '晚子' : hour === 0 ? '早子' : BRANCHES[Math.floor((hour + 1) / 2) % 12];
  return { calendar: 'gregorian', ...date, leap: false, period,
    lateZi: 'same-day', yearStart: 'new-year', leapMonth: 'whole' };
}

// --- Dates --------------------------------------------------------------------------------

// The first and last days of the range in each calendar, and an order of dates in which a
// leap month follows the month of its number.
const ENDS = {
  gregorian: [{ year: 1901, month: 1, day: 1 }, { year: 2050, month: 12, day: 31 }],
  lunar: [{ year: 1900, month: 11, day: 11 }, { year: 2050, month: 11, day: 18 }],
};
const order = ({ year, month, leap = false, day }) => ((year * 13 + month) * 2 + leap) * 31 + day;

// Whether a real date of the state's calendar lies inside the range.
function inRange(s) {
  const [first, last] = ENDS[s.calendar];
  return order(first) <= order(s) && order(s) <= order(last);
}

function monthDays(s) {
  return s.calendar === 'gregorian'
    ? engine.gregorianMonthDays(s.year, s.month)
    : engine.lunarMonthDays(s.year, s.month, s.leap);
}

// Brings a state whose year or month changed back to a real date inside the range: a leap
// month the year lacks becomes the regular month, a day past the month's end its last day,
// and a date outside the range the nearest end of the range.
function settle(s) {
  if (s.leap && engine.lunarLeapMonth(s.year) !== s.month) s.leap = false;
  s.day = Math.min(s.day, monthDays(s));
  if (inRange(s)) return s;
  const [first, last] = ENDS[s.calendar];
  return Object.assign(s, order(s) < order(first) ? first : last, { leap: false });
}

function switchCalendar(s, calendar) {
  if (calendar === s.calendar) return s;
  const date = calendar === 'lunar'
    ? engine.gregorianToLunar(s.year, s.month, s.day)
    : engine.lunarToGregorian(s.year, s.month, s.day, s.leap);
  return { ...s, calendar, year: date.year, month: date.month, day: date.day, leap: !!date.leap };
}

// --- Lists --------------------------------------------------------------------------------

function fill(select, options, selected) {
  select.replaceChildren(...options.map(({ value, label, disabled }) => {
    const option = new Option(label, value, false, String(value) === String(selected));
    option.disabled = !!disabled;
    return option;
  }));
}

const range = (from, to) => Array.from({ length: to - from + 1 }, (_, i) => from + i);

// What the lists were last filled for: a list is filled again only when what it offers
// changes, so that a pick costs little.
const filled = {};

function fillLists() {
  const s = state;
  const lunar = s.calendar === 'lunar';
  const years = s.calendar;
  const months = `${years} ${s.year}`;
  const days = `${months} ${s.month} ${s.leap}`;
  if (filled.years !== years) {
    fill($('year'), range(lunar ? FIRST_YEAR - 1 : FIRST_YEAR, LAST_YEAR)
      .map((y) => ({ value: y, label: `${y}年` })), s.year);
  }
  if (filled.months !== months) {
    const list = range(1, 12).map((m) => ({ value: m, month: m, leap: false }));
    const leap = lunar ? engine.lunarLeapMonth(s.year) : 0;
    if (leap) list.splice(leap, 0, { value: `闰${leap}`, month: leap, leap: true });
    // A month is offered when one of its days lies inside the range.
    const [first, last] = ENDS[s.calendar];
    fill($('month'), list.map((m) => ({
      value: m.value,
      label: lunar ? engine.lunarMonthName(m.month, m.leap) : `${m.month}月`,
      disabled: order({ ...m, year: s.year, day: 31 }) < order(first) ||
        order({ ...m, year: s.year, day: 1 }) > order(last),
    })), s.leap ? `闰${s.month}` : s.month);
  }
  if (filled.days !== days) {
    fill($('day'), range(1, monthDays(s)).map((d) => ({
      value: d,
      label: lunar ? engine.lunarDayName(d) : `${d}日`,
      disabled: !inRange({ ...s, day: d }),
    })), s.day);
  }
  Object.assign(filled, { years, months, days });
  $('calendar').value = s.calendar;
  $('year').value = s.year;
  $('month').value = s.leap ? `闰${s.month}` : s.month;
  $('day').value = s.day;
  $('period').value = s.period;
  for (const c of CONVENTIONS) $(c.id).value = s[c.name];
}

function readLists() {
  const month = $('month').value;
  const next = {
    ...state,
    year: Number($('year').value),
    month: Number(month.replace('闰', '')),
    leap: month.startsWith('闰'),
    day: Number($('day').value),
    period: $('period').value,
  };
  for (const c of CONVENTIONS) next[c.name] = $(c.id).value;
  return next;
}

// --- The reading --------------------------------------------------------------------------

function show(field, value, text = value) {
  for (const element of document.querySelectorAll(`[data-field="${field}"]`)) {
    element.dataset.value = typeof value === 'string' ? value : JSON.stringify(value);
    if (text !== null) element.textContent = text;
  }
}

// The period list's value as a period index and a half of 子 (1 early, 2 late).
function periodArguments(period) {
  if (period === '早子') return [0, 1];
  if (period === '晚子') return [0, 2];
  return [BRANCHES.indexOf(period), 0];
}

function readingOf(s) {
  return engine.read(s, ...periodArguments(s.period));
}

function verseElement(lines) {
  return lines.map((line) => Object.assign(document.createElement('p'), { textContent: line }));
}

function render() {
  const r = readingOf(state);
  if (r.error) {
    // The one pick that cannot be read: a late 子 on the last day, read on the next.
    say('晚子时算次日时，2050年12月31日的次日已超出可测算的范围（至 2050年12月31日）。');
    $('solar-date').textContent = '';
    for (const field of document.querySelectorAll('[data-field]')) {
      field.dataset.value = '';
      field.replaceChildren();
    }
    return;
  }
  const [y, m, d] = r.date.split('-').map(Number);
  const reading = r.readingDate === r.date ? '' : `（晚子时算次日，按 ${r.readingDate.replaceAll('-', '.')} 论）`;
  $('solar-date').textContent = `${y}年${m}月${d}日 ${PERIODS.find((p) => p.value === state.period).label}${reading}`;

  show('lunarYear', r.lunarYear, `${r.lunarYear}年`);
  show('lunarMonth', r.lunarMonth, r.lunarMonthName);
  show('lunarDay', r.lunarDay, r.lunarDayName);
  $('leap-month-date').textContent = r.leapMonthDate
    ? `同一天若在闰${r.lunarMonthName}，是公历 ${r.leapMonthDate.split('-').map(Number).join('.')}` : '';
  show('leapMonth', r.leapMonth, r.leapMonth ? '闰月' : '');
  for (const name of ['yearStemBranch', 'monthStemBranch', 'dayStemBranch', 'periodBranch',
    'yearWeight', 'monthWeight', 'dayWeight', 'periodWeight', 'totalWeight', 'weightText']) {
    show(name, r[name], String(r[name]));
  }
  show('verse', r.verseLines.join('\n'), null);
  document.querySelector('[data-field="verse"]').replaceChildren(...verseElement(r.verseLines));

  // 算法：晚子时算当日；年份以正月初一为界；闰月整月按所闰之月, from the lists' labels.
  $('conventions').textContent = `算法：${CONVENTIONS.map(({ id }) =>
    $(id).labels[0].textContent + $(id).selectedOptions[0].textContent).join('；')}`;

  const alternatives = r.alternatives;
  show('alternatives', alternatives.map((a) => ({ conventions: a.conventions, totalWeight: a.totalWeight })), null);
  const box = document.querySelector('[data-field="alternatives"]');
  if (alternatives.length === 0) {
    box.replaceChildren();
  } else {
    const items = alternatives.map((a) => {
      const item = document.createElement('li');
      item.append(`${a.condition}：总骨重 ${a.totalWeight} 钱，${a.weightText}`);
      const verse = Object.assign(document.createElement('span'), { className: 'alt-verse' });
      verse.textContent = a.verseLines.join('');
      item.append(verse);
      return item;
    });
    const list = document.createElement('ul');
    list.append(...items);
    box.replaceChildren(Object.assign(document.createElement('h2'), { textContent: '其他算法' }), list);
  }
}

// --- The address --------------------------------------------------------------------------

function addressOf(s) {
  const params = new URLSearchParams();
  if (s.calendar === 'lunar') params.set('lunar', `${s.year}-${s.leap ? '闰' : ''}${s.month}-${s.day}`);
  else params.set('date', isoDate(s));
  params.set('period', s.period);
  for (const c of CONVENTIONS) if (s[c.name] !== c.values[0]) params.set(c.name, s[c.name]);
  return `?${params}`;
}

// The state a link asks for, or a message saying why it cannot be read.
function stateFromAddress(search) {
  const params = new URLSearchParams(search);
  const s = today();
  if (![...params.keys()].length) return { state: s };
  const fail = (message) => ({ state: today(), message: `无法打开链接：${message}。已显示今天的测算。` });

  const lunar = params.get('lunar');
  const date = params.get('date');
  if (lunar !== null && date !== null) return fail('date 和 lunar 只能给出一个');
  if (lunar !== null) {
    const match = /^(\d{4})-(闰|L|l)?(\d{1,2})-(\d{1,2})$/.exec(lunar);
    if (!match) return fail(`农历日期“${lunar}”应写作 年-月-日，闰月在月份前加“闰”，如 2020-闰4-1`);
    Object.assign(s, { calendar: 'lunar', year: +match[1], month: +match[3], day: +match[4], leap: !!match[2] });
    const converted = engine.lunarToGregorian(s.year, s.month, s.day, s.leap);
    if (converted.error) return fail(`农历 ${lunar} ${LUNAR_ERRORS[converted.error]}`);
  } else if (date !== null) {
    const match = /^(\d{4})-(\d{1,2})-(\d{1,2})$/.exec(date);
    if (!match) return fail(`日期“${date}”应写作 年-月-日，如 1990-01-30`);
    Object.assign(s, { year: +match[1], month: +match[2], day: +match[3] });
    const days = engine.gregorianMonthDays(s.year, s.month);
    if (!days || s.day < 1 || s.day > days) return fail(`公历 ${date} 这一天不存在`);
    if (s.year < FIRST_YEAR || s.year > LAST_YEAR) return fail(`公历 ${date} 超出可测算的范围（1901-01-01 至 2050-12-31）`);
  }

  const period = params.get('period');
  if (period !== null) {
    const name = period.replace(/时$/, '');
    if (!PERIODS.some((p) => p.value === name)) return fail(`无法识别的时辰“${period}”，可用 子…亥、早子、晚子`);
    s.period = name;
  } else if (lunar !== null || date !== null) {
    s.period = '子';
  }
  for (const c of CONVENTIONS) {
    const value = params.get(c.name);
    if (value === null) continue;
    if (!c.values.includes(value)) return fail(`${c.name} 的值“${value}”无法识别，可用 ${c.values.join(' 或 ')}`);
    s[c.name] = value;
  }
  if (readingOf(s).error) return fail('晚子时算次日时，2050年12月31日的次日已超出可测算的范围');
  return { state: s };
}

// --- Events -------------------------------------------------------------------------------

function say(message) {
  $('message').textContent = message ?? '';
  $('message').hidden = !message;
}

// The address follows once the new reading is on the screen: replacing it can take the
// browser longer than the reading itself.
const whenIdle = window.requestIdleCallback ?? ((callback) => setTimeout(callback, 0));
let addressPending = false;

function keepInAddress() {
  if (addressPending) return;
  addressPending = true;
  whenIdle(() => {
    addressPending = false;
    history.replaceState(null, '', addressOf(state));
  }, { timeout: 200 });
}

function update(next) {
  state = settle(next);
  fillLists();
  render();
  keepInAddress();
}

function onChange(event) {
  say('');
  const next = event.target.id === 'calendar'
    ? switchCalendar(state, event.target.value)
    : readLists();
  update(next);
}

async function start() {
  performance.mark('module');
  engine = await loadEngine();
  performance.mark('engine');
  const { state: first, message } = stateFromAddress(location.search);
  state = settle(first);
  fill($('period'), PERIODS, state.period);
  fillLists();
  performance.mark('lists');
  render();
  say(message);
  if (!message) keepInAddress();
  $('birth').addEventListener('change', onChange);
  document.body.dataset.state = 'ready';
  performance.mark('first-reading');
}

start();
