// The page: four lists for the birth, an optional clock time and birthplace, four lists for
// the conventions, and the reading of the npm package chenggu (the project's C++ in
// WebAssembly), which answers with the JSON of chenggu --json. The page starts with the engine
// without the tables of zones and places, and loads the whole one (birthplace.js) when a
// birthplace is first asked for. Ranges, names, periods and messages are the engine's. The state lives in
// the address, so that a reading can be shared as a link. The page's own words come in
// Simplified or Traditional characters: every Chinese text below is written as t('…'), and
// generated/traditional.mjs holds OpenCC's Traditional form of each (scripts/traditional-texts),
// read in as traditional.js when the page first shows Traditional.
import * as chenggu from './chenggu.mjs';

const LANGUAGE = 'zh';

// The conventions: address parameter, list id and values, the default first.
const CONVENTIONS = [
  { name: 'lateZi', id: 'late-zi', values: ['same-day', 'next-day'] },
  { name: 'yearStart', id: 'year-start', values: ['new-year', 'spring'] },
  { name: 'leapMonth', id: 'leap-month', values: ['whole', 'split'] },
  { name: 'calendarRule', id: 'calendar-rule', values: ['printed', 'computed'] },
];
// The birth time's fields: address parameter and id.
const WHERE = [
  { name: 'time', id: 'time' },
  { name: 'place', id: 'place' },
  { name: 'lon', id: 'longitude' },
  { name: 'zone', id: 'zone' },
];
const $ = (id) => document.getElementById(id);
let state;
let engine = chenggu;

// --- The whole engine -----------------------------------------------------------------------

let wholeEngine;
function loadWholeEngine() {
  wholeEngine ??= new Promise((resolve, reject) => {
    const script = Object.assign(document.createElement('script'), { src: 'birthplace.js' });
    script.onload = () => globalThis.chengguWithPlaces.then(resolve, reject);
    script.onerror = () => {
      wholeEngine = undefined;
      reject(new Error(t('无法载入地名与时区数据，请检查网络后重试')));
    };
    document.head.append(script);
  }).then((whole) => { engine = whole; });
  return wholeEngine;
}

// A clock time with a birthplace (or a longitude, or a zone) is read at the birthplace.
const atBirthplace = (s) => !!(s.time && (s.place || s.lon || s.zone));
// The first engine's calendar begins with lunar 1901: the whole engine reads earlier years.
const needsWhole = (s) => atBirthplace(s) || s.year < 1902;

// --- Words ----------------------------------------------------------------------------------

// One of the page's texts in the characters shown.
let traditional = null;
const t = (text) => (state?.script === 'traditional' ? traditional?.[text] ?? text : text);

// The page's words in Traditional characters (traditional.js), read in when first shown.
let traditionalTexts;
function loadTraditional() {
  traditionalTexts ??= new Promise((resolve, reject) => {
    document.head.append(Object.assign(document.createElement('script'), {
      src: 'traditional.js',
      onload: () => resolve(traditional = globalThis.chengguTraditional),
      onerror: () => {
        traditionalTexts = undefined;
        reject(new Error('无法载入繁体字表，请检查网络后重试'));
      },
    }));
  });
  return traditionalTexts;
}

// Simplified unless the browser asks for Traditional first.
function browserScript() {
  const first = (navigator.languages ?? [navigator.language ?? ''])[0] ?? '';
  return /^zh-(TW|HK|MO)|^zh-Hant/i.test(first) ? 'traditional' : 'simplified';
}

// The page's fixed words (the HTML's text and the attributes people read) in the characters
// shown; each node keeps its Simplified text to switch back. What the engine or the code
// below writes is already in the characters shown, and the switch shows each script in its
// own characters.
const DYNAMIC = '#headline, #details, #year, #month, #day, #period, #script, #message, #status, #announce, ' +
  '#conventions, #where-summary, #places, .field-message, #poster-image';
const ATTRIBUTES = ['title', 'aria-label', 'placeholder'];
const simplifiedTexts = new WeakMap();
function showScript() {
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.parentElement.closest(DYNAMIC)) continue;
    if (!simplifiedTexts.has(node)) simplifiedTexts.set(node, node.nodeValue);
    const simplified = simplifiedTexts.get(node);
    const trimmed = simplified.trim();
    if (trimmed) node.nodeValue = simplified.replace(trimmed, t(trimmed));
  }
  for (const element of document.querySelectorAll(ATTRIBUTES.map((name) => `[${name}]`).join())) {
    if (!simplifiedTexts.has(element)) {
      simplifiedTexts.set(element, ATTRIBUTES.filter((name) => element.hasAttribute(name))
        .map((name) => [name, element.getAttribute(name)]));
    }
    for (const [name, simplified] of simplifiedTexts.get(element)) element.setAttribute(name, t(simplified));
  }
  // The zones offered, named in the characters shown.
  for (const option of $('zones').options) {
    option.dataset.simplified ??= option.value;
    option.value = t(option.dataset.simplified);
  }
  document.documentElement.lang = state.script === 'traditional' ? 'zh-Hant' : 'zh-CN';
  document.title = t('称骨算命');
}

// --- The calendar, as the engine lists it ---------------------------------------------------

// A year's months in a calendar, with their names, days and the days inside the range; a
// year's list never changes, so each is asked for once (in each script).
const monthLists = new Map();
function monthsOf(calendar, year) {
  const script = state?.script ?? 'simplified';
  const key = `${calendar} ${year} ${script}`;
  if (!monthLists.has(key)) monthLists.set(key, engine.months({ calendar, year, script, language: LANGUAGE }));
  return monthLists.get(key);
}

const periods = () => monthsOf('gregorian', 2000).periods;
const yearsOf = (calendar) => {
  const { firstYear, lastYear } = monthsOf(calendar, 2000);
  return [firstYear, lastYear];
};

// The date of a state as the engine reads it: 1990-1-30, or the lunar 2020-闰4-1.
const dateText = (s) => `${s.year}-${s.leap ? '闰' : ''}${s.month}-${s.day}`;

// Now on this device's clock, as the engine takes it for a link without a date: 2026-12-08T14:30.
function now() {
  const d = new Date();
  const two = (n) => String(n).padStart(2, '0');
  return `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())}T${two(d.getHours())}:${two(d.getMinutes())}`;
}

// The period list's value of a reading: its branch, or 早子/晚子.
function periodValue(reading) {
  if (reading.periodHalf === 'early') return '早子';
  if (reading.periodHalf === 'late') return '晚子';
  return reading.periodBranch;
}

// Brings a state whose year or month changed back to a day inside the range: a leap month
// the year lacks becomes the regular month, a day past the month's end its last day, and a
// day outside the range the nearest day inside it.
function settle(s) {
  const [first, last] = yearsOf(s.calendar);
  s.year = Math.min(Math.max(s.year, first), last);
  const { months } = monthsOf(s.calendar, s.year);
  const same = (m) => m.month === s.month && m.leap === s.leap;
  let month = months.find(same) ?? months.find((m) => m.month === s.month && !m.leap) ??
    months.reduce((a, b) => (Math.abs(b.month - s.month) < Math.abs(a.month - s.month) ? b : a));
  let day = s.day;
  if (month.firstDay === null) {  // wholly outside the range: the nearest day inside it
    const inside = months.filter((m) => m.firstDay !== null);
    const after = months.indexOf(month) > months.indexOf(inside[0]);
    month = after ? inside[inside.length - 1] : inside[0];
    day = after ? month.lastDay : month.firstDay;
  }
  return { ...s, month: month.month, leap: month.leap,
    day: Math.min(Math.max(day, month.firstDay), month.lastDay) };
}

// A day in both calendars: the reading of its plain 子, which is read on the day itself.
const dayOf = (date, lunar) => engine.read({ date, lunar, period: '子', lateZi: 'same-day', language: LANGUAGE });

function switchCalendar(s, calendar) {
  if (calendar === s.calendar) return s;
  const day = dayOf(dateText(s), s.calendar === 'lunar');
  if (calendar === 'lunar') {
    return { ...s, calendar, year: day.lunarYear, month: day.lunarMonth, day: day.lunarDay, leap: day.leapMonth };
  }
  const [year, month, date] = day.date.split('-').map(Number);
  return { ...s, calendar, year, month, day: date, leap: false };
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
const monthValue = (m) => `${m.leap ? '闰' : ''}${m.month}`;

// What the lists were last filled for: a list is filled again only when what it offers
// changes, so that a pick costs little.
const filled = {};

function fillLists() {
  const s = state;
  const years = `${s.calendar} ${s.script}`;
  const months = `${years} ${s.year}`;
  const days = `${months} ${s.month} ${s.leap}`;
  const list = monthsOf(s.calendar, s.year);
  const month = list.months.find((m) => m.month === s.month && m.leap === s.leap);
  if (filled.periods !== s.script) {
    fill($('period'), periods().map((p) => ({ value: p.value, label: `${p.name} ${p.label}` })), s.period);
  }
  if (filled.years !== years) {
    fill($('year'), range(...yearsOf(s.calendar)).map((y) => ({ value: y, label: String(y) })), s.year);
  }
  if (filled.months !== months) {
    fill($('month'), list.months.map((m) => ({ value: monthValue(m), label: m.name, disabled: m.firstDay === null })),
      monthValue(s));
  }
  if (filled.days !== days) {
    fill($('day'), range(1, month.days).map((d) => ({
      value: d, label: list.dayNames[d - 1], disabled: d < month.firstDay || d > month.lastDay,
    })), s.day);
  }
  Object.assign(filled, { periods: s.script, years, months, days });
  $('calendar').value = s.calendar;
  $('year').value = s.year;
  $('month').value = monthValue(s);
  $('day').value = s.day;
  $('period').value = s.period;
  $('script').value = s.script;
  $('solar-time').value = s.solarTime;
  $('time').value = s.time;
  $('place').value = s.place;
  for (const c of CONVENTIONS) $(c.id).value = s[c.name];
}

// The longitude and zone the page filled in from the birthplace: what the user types over
// them is theirs, and goes into the address.
const filledIn = { longitude: '', zone: '' };
const typedIn = (id) => {
  const value = $(id).value.trim();
  return value === filledIn[id] ? '' : value;
};

function readLists() {
  const month = $('month').value;
  const next = {
    ...state,
    year: Number($('year').value),
    month: Number(month.replace('闰', '')),
    leap: month.startsWith('闰'),
    day: Number($('day').value),
    period: $('period').value,
    script: $('script').value,
    solarTime: $('solar-time').value,
    time: $('time').value,
    place: $('place').value.trim(),
    lon: typedIn('longitude'),
    zone: typedIn('zone'),
  };
  for (const c of CONVENTIONS) next[c.name] = $(c.id).value;
  return next;
}

// --- The reading --------------------------------------------------------------------------

function requestOf(s) {
  const request = { date: dateText(s), lunar: s.calendar === 'lunar', period: s.time || s.period,
    script: s.script, language: LANGUAGE };
  for (const c of CONVENTIONS) request[c.name] = s[c.name];
  if (atBirthplace(s)) {
    if (s.place) request.place = s.place;
    if (s.lon) request.longitude = s.lon;
    if (s.zone) request.zone = s.zone;
    Object.assign(request, { solarTime: s.solarTime, steps: true });
  }
  return request;
}

// The birthplace's fields a refusal is about: the reading before it stays on the screen, the
// field is marked and the message stands beside it.
const WHERE_ERRORS = { 'unknown-place': 'place', 'ambiguous-place': 'place',
  'bad-longitude': 'longitude', 'unknown-zone': 'zone' };
// The last state read without a refusal: what the address carries.
let lastGood = null;

function markWhere(field, message) {
  for (const id of ['place', 'longitude', 'zone']) {
    const input = $(id);
    const note = $(`${id}-message`);
    if (id === field) {
      input.setAttribute('aria-invalid', 'true');
      note.textContent = message;
      note.hidden = false;
    } else {
      input.removeAttribute('aria-invalid');
      note.hidden = true;
      note.textContent = '';
    }
  }
  if (field) {
    // The longitude and zone the refused place would have filled in are not shown for it.
    if (field === 'place') {
      filledIn.longitude = '';
      filledIn.zone = '';
      $('longitude').value = state.lon;
      $('zone').value = state.zone;
    }
    $(field).scrollIntoView({ block: 'nearest' });
  }
}

function render() {
  let r;
  try {
    r = engine.read({ ...requestOf(state), markup: true });
  } catch (error) {
    const field = WHERE_ERRORS[error.code];
    if (field && lastGood) {
      markWhere(field, `${error.message}${t('。')}`);
      return false;
    }
    // The one pick that cannot be read: a late 子 on the last day, read on the next.
    say(`${error.message}${t('。')}`);
    $('headline').replaceChildren();
    $('details').replaceChildren();
    return;
  }
  showReading(r);
  return true;
}

// A reading on the screen: the engine's markup of it (the same that chenggu serve puts in
// the page it sends), and what the page says around it.
let shown = null;
function showReading(r, { inPage = false } = {}) {
  markWhere(null);
  lastGood = { ...state };
  shown = r;
  // A clock time puts the period list at the period it falls in (by the sun, at a birthplace).
  if (state.time) $('period').value = state.period = periodValue(r);
  if (!inPage) {
    $('headline').innerHTML = r.markup.headline;
    $('details').innerHTML = r.markup.details;
  }
  stopSpeaking();
  showWhere(r.birthTime);
  $('conventions').textContent = $('details').querySelector('.rules-line').textContent;
  // One sentence for a screen reader and the tab, not every field that changed.
  const [y, m, d] = r.date.split('-').map(Number);
  const sentence = `${y}${t('年')}${m}${t('月')}${d}${t('日')}${periods().find((p) => p.value === periodValue(r)).name}` +
    `${t('，总骨重')}${r.weightText}`;
  if ($('announce').textContent !== sentence) $('announce').textContent = sentence;
  document.title = `${t('称骨算命')}${t('：')}${r.weightText}`;
}

// The longitude and zone the birthplace gave, and the summary of the birth time's fields.
function showWhere(time) {
  placeTaken = time?.place ?? '';
  filledIn.longitude = time && !state.lon ? String(time.longitude) : '';
  filledIn.zone = time && !state.zone ? time.zone : '';
  $('longitude').value = state.lon || filledIn.longitude;
  $('zone').value = state.zone || filledIn.zone;
  const where = state.place || (state.lon && `${t('经度 ')}${state.lon}`);
  $('where-summary').textContent = state.time
    ? [state.time, where, time && $('solar-time').selectedOptions[0].textContent].filter(Boolean).join(t('，'))
    : t('可按出生地的真太阳时定时辰');
}

// The place a shared name was read as has the others it could mean beside it, a button each
// (朝阳 is read as 辽宁省朝阳市, and 北京市朝阳区 is a tap away).
let placeTaken = '';
function choosePlace(event) {
  const button = event.target.closest('button[data-place]');
  if (!button) return;
  $('place').value = button.dataset.place;
  say('');
  update({ ...readLists(), lon: '', zone: '' });
}

// --- The address --------------------------------------------------------------------------

// The page's parameters of a state: date or lunar, period or time, the birthplace, the
// conventions that are not the defaults, the script when not the browser's.
function parametersOf(s) {
  const params = new URLSearchParams();
  if (s.calendar === 'lunar') params.set('lunar', `${s.year}-${s.leap ? '闰' : ''}${s.month}-${s.day}`);
  else params.set('date', `${s.year}-${String(s.month).padStart(2, '0')}-${String(s.day).padStart(2, '0')}`);
  if (s.time) params.set('time', s.time);
  else params.set('period', s.period);
  for (const w of WHERE.slice(1)) if (s[w.name]) params.set(w.name, s[w.name]);
  for (const c of CONVENTIONS) if (s[c.name] !== c.values[0]) params.set(c.name, s[c.name]);
  if (atBirthplace(s) && s.solarTime !== 'true') params.set('solarTime', s.solarTime);
  if (s.script !== browserScript()) params.set('script', s.script);
  return params;
}

// A static build for a public address has a page per total whose preview shows that total
// (share-42.html); its links carry the birth in the fragment, which never reaches a server's
// log. Elsewhere (chenggu serve, a plain build) the birth is the query, which the server reads.
const sharePages = document.querySelector('meta[name="share-pages"]')?.content ?? '';
const sharePage = () => `share-${shown?.totalWeight}${state.script === 'traditional' ? '-traditional' : ''}.html`;

function addressOf(s) {
  return sharePages && shown ? `${sharePage()}#${parametersOf(s)}` : `?${parametersOf(s)}`;
}

// The link to give others: on a static build for a public address, its share page there.
function shareLink() {
  return sharePages && shown ? new URL(addressOf(lastGood ?? state), sharePages).href : location.href;
}

// The state a link asks for, the reading of it, and a message when it cannot be read: the
// engine reads the link (its query, or on a share page its fragment) as chenggu serve does,
// in the forms people write (1990年1月30日, 2020年闰四月初一, 子時, 23:30).
function stateFromAddress(location) {
  const link = location.hash.length > 1 ? location.hash : location.search;
  state = { script: browserScript() };
  const answer = engine.link({ link, today: now(), script: state.script, markup: true, steps: true, language: LANGUAGE });
  const { request, reading } = answer;
  state.script = request.script;
  // A date in words (正月初四) is lunar even in date=: the lists show it as it was given.
  const day = dayOf(request.date, !!request.lunar);
  const [year, month, dayOfMonth] = day.date.split('-').map(Number);
  const s = 'leapMonthDate' in reading
    ? { calendar: 'lunar', year: day.lunarYear, month: day.lunarMonth, day: day.lunarDay, leap: day.leapMonth }
    : { calendar: 'gregorian', year, month, day: dayOfMonth, leap: false };
  for (const c of CONVENTIONS) s[c.name] = reading.conventions[c.name];
  const solarTime = reading.birthTime ? reading.conventions.solarTime : 'true';
  return {
    state: { ...s, time: answer.time, place: answer.place, lon: answer.lon, zone: answer.zone, solarTime,
      period: periodValue(reading), script: request.script },
    reading,
    message: answer.message,
    fromLink: answer.fromLink,
  };
}

// --- Events -------------------------------------------------------------------------------

function say(message) {
  $('message').textContent = message ?? '';
  $('message').hidden = !message;
}

// The status line is there from the start, empty, so that a screen reader hears what fills it.
function tell(message) {
  $('status').textContent = message ?? '';
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
    history.replaceState(null, '', addressOf(lastGood ?? state));
  }, { timeout: 200 });
}

// The total and the verse in view after a change, however much of the form is open above
// them (on a phone the lists and the reading share one screen).
function keepReadingInView() {
  const verse = document.querySelector('[data-field="verse"]');
  const total = document.querySelector('.total').getBoundingClientRect();
  if (total.top < 0 || verse.getBoundingClientRect().bottom > window.innerHeight) {
    verse.scrollIntoView({ block: 'end' });
  }
}

function update(next) {
  if (next.script === 'traditional' && !traditional) {
    loadTraditional().then(() => update(next), (error) => say(error.message));
    return;
  }
  if (needsWhole(next) && engine === chenggu) {
    tell(t('正在载入地名与时区数据……'));
    loadWholeEngine().then(() => {
      tell('');
      update(next);
    }, (error) => say(error.message));
    return;
  }
  const scriptChanged = next.script !== state.script;
  state = settle(next);
  if (scriptChanged) {
    showScript();
    offerSpeech();
  }
  fillLists();
  // While a birthplace field is being typed in, it stays in view rather than the reading.
  if (render() && !['place', 'longitude', 'zone'].includes(document.activeElement?.id)) keepReadingInView();
  keepInAddress();
}

function onChange(event) {
  say('');
  tell('');
  const next = event.target.id === 'calendar'
    ? switchCalendar(state, event.target.value)
    : readLists();
  // A period picked replaces the clock time; another place fills its own longitude and zone.
  if (event.target.id === 'period') next.time = '';
  if (event.target.id === 'place') Object.assign(next, { lon: '', zone: '' });
  if (!next.time && (next.place || next.lon || next.zone)) {
    tell(t('出生地要和出生时间一起填，才按当地的太阳时间定时辰。'));
  }
  update(next);
}

// Places as they are typed: the whole engine's search fills the list under the field, and a
// name picked from it is read at once.
let placeNames = [];
async function suggestPlaces(event) {
  const query = event.target.value.trim();
  if (placeNames.includes(query)) {
    onChange(event);
    return;
  }
  if (!query) return;
  await loadWholeEngine().catch((error) => say(error.message));
  if (engine === chenggu || event.target.value.trim() !== query) return;
  // Near the place read last: 朝阳 after 北京市海淀区 lists Beijing's district first.
  const found = engine.places({ query, limit: 12, ...(placeTaken && { near: placeTaken }) });
  placeNames = found.map((p) => p.fullName);
  fill($('places'), found.map((p) => ({ value: p.fullName,
    label: `${p.englishName ? `${p.englishName} ` : ''}${Math.abs(p.longitude)}°${p.longitude < 0 ? 'W' : 'E'} ${p.zone}` })));
}

// --- The share picture ---------------------------------------------------------------------

// The share picture's code: the QR code library (npm qrcode-generator) and the page's
// picture painter (picture.js), loaded when a picture is first asked for.
let pictureCode;
function loadPictureCode() {
  const load = (src) => new Promise((resolve, reject) => {
    const script = Object.assign(document.createElement('script'), { src });
    script.onload = resolve;
    script.onerror = reject;
    document.head.append(script);
  });
  pictureCode ??= Promise.all([load('qrcode.js'), load('picture.js')])
    .then(() => ({ qrcode: globalThis.qrcode, drawShare: globalThis.chengguPicture.drawShare }))
    .catch(() => {
      pictureCode = undefined;
      throw new Error(t('无法载入二维码程序，请检查网络后重试'));
    });
  return pictureCode;
}

// A picture of the reading, as chat apps preview pictures rather than pages: the dates, the
// pillars, the weights, the total, the verse and what it means, the conventions, and a QR code
// of the reading's address.
async function drawPoster(address) {
  const { qrcode, drawShare } = await loadPictureCode();
  const r = shown;
  const [y, m, d] = r.date.split('-').map(Number);
  const period = periods().find((p) => p.value === periodValue(r));
  const blocks = [
    { text: t('称骨算命'), size: 34, colour: 'accent' },
    { text: `${t('公历')} ${y}${t('年')}${m}${t('月')}${d}${t('日')} ${period?.name ?? ''}`, size: 20, gap: 18 },
    { text: `${t('农历')} ${r.lunarYear}${t('年')}${r.lunarMonthName}${r.lunarDayName}`, size: 20, gap: 6 },
    { text: `${t('干支')} ${r.yearStemBranch}${t('年')} ${r.monthStemBranch}${t('月')} ${r.dayStemBranch}${t('日')} ${r.periodStemBranch}${t('时')}`, size: 20, gap: 6 },
    { text: `${t('骨重：年')} ${r.yearWeight} ${t('钱（')}${r.weighedYearStemBranch}${t('年），月')} ${r.monthWeight} ${t('钱，日')} ${r.dayWeight} ${t('钱，时')} ${r.periodWeight} ${t('钱')}`, size: 18, colour: 'muted', gap: 6 },
    { text: `${t('总骨重')} ${r.totalWeight} ${t('钱，')}${r.weightText}`, size: 30, colour: 'accent', gap: 18 },
    ...r.verseLines.map((line) => ({ text: line, size: 22, gap: 8, wrap: true })),
    { text: `${t('释义')} ${r.verseExplanation}`, size: 17, gap: 16, wrap: true },
    { text: $('conventions').textContent, size: 14, colour: 'muted', gap: 14, wrap: true },
  ];
  const qr = qrcode(0, 'M');
  qr.addData(address);
  qr.make();
  const canvas = document.createElement('canvas');
  drawShare(canvas, { font: getComputedStyle(document.documentElement).fontFamily, blocks, qr,
    caption: t('扫码查看这次测算') });
  return { url: canvas.toDataURL('image/png'), weightText: r.weightText };
}

async function showPoster() {
  history.replaceState(null, '', addressOf(lastGood ?? state));
  tell(t('正在生成分享图……'));
  try {
    const { url, weightText } = await drawPoster(shareLink());
    const image = $('poster-image');
    image.src = url;
    image.alt = `${t('分享图：称骨算命，')}${weightText}`;
    $('poster-save').href = url;
    $('poster').hidden = false;
    $('poster').scrollIntoView({ block: 'nearest' });
    tell(t('分享图已生成：长按或右键可保存，也可点“保存图片”。'));
  } catch (error) {
    tell(error.message);
  }
}

// --- For every reader ------------------------------------------------------------------------

// 关怀模式: large text and targets, one column (care.js applies it before the first paint). The
// choice is this device's, kept across visits and never part of a link.
function showCare(on) {
  document.documentElement.classList.toggle('care', on);
  $('care').setAttribute('aria-pressed', String(on));
}
function toggleCare() {
  const on = !document.documentElement.classList.contains('care');
  showCare(on);
  try {
    localStorage.setItem('chenggu-care', on ? '1' : '0');
  } catch {
    // no storage: the mode holds for this visit
  }
}

// 朗读: the total in words, the verse and its meaning, in a Chinese voice of the script shown
// (zh-CN; zh-TW or zh-HK for Traditional where there is one). Without speech synthesis or a
// Chinese voice the button is not offered.
const speech = globalThis.speechSynthesis;
function chineseVoice() {
  const voices = speech?.getVoices() ?? [];
  const wanted = state?.script === 'traditional' ? /^zh[-_](TW|HK|Hant)/i : /^zh[-_](CN|Hans)/i;
  return voices.find((v) => wanted.test(v.lang)) ?? voices.find((v) => /^(zh|cmn)/i.test(v.lang));
}
function offerSpeech() {
  $('speak').hidden = !chineseVoice();
}
function stopSpeaking() {
  if (speech?.speaking || speech?.pending) speech.cancel();
  $('speak').setAttribute('aria-pressed', 'false');
}
function speak() {
  if ($('speak').getAttribute('aria-pressed') === 'true') return stopSpeaking();
  const voice = chineseVoice();
  const r = shown;
  if (!voice || !r) return;
  const words = new SpeechSynthesisUtterance(`${t('总骨重')}${r.weightText}。${r.verseLines.join('')}${r.verseExplanation}`);
  words.voice = voice;
  words.lang = voice.lang;
  words.onend = () => $('speak').setAttribute('aria-pressed', 'false');
  speech.cancel();
  speech.speak(words);
  $('speak').setAttribute('aria-pressed', 'true');
}

// 添加农历生日到日历: an iCalendar file of the birth's lunar birthday in this lunar year and the
// 29 after, from the whole engine; a phone offers it to its calendar.
async function downloadBirthdays() {
  tell(t('正在生成农历生日日历……'));
  try {
    await loadWholeEngine();
    const { ics } = engine.birthdays({ date: dateText(lastGood ?? state), lunar: (lastGood ?? state).calendar === 'lunar',
      script: state.script, language: LANGUAGE });
    const link = Object.assign(document.createElement('a'), {
      href: URL.createObjectURL(new Blob([ics], { type: 'text/calendar' })), download: `${t('农历生日')}.ics` });
    document.body.append(link);
    link.click();
    link.remove();
    tell(t('已生成农历生日日历文件，用手机打开即可加入日历。'));
  } catch (error) {
    tell(error.message);
  }
}

// Copies the reading's address (and offers the system's sharing where there is one).
async function share() {
  history.replaceState(null, '', addressOf(lastGood ?? state));
  const address = shareLink();
  let copied = false;
  try {
    await navigator.clipboard.writeText(address);
    copied = true;
  } catch {
    const field = Object.assign(document.createElement('textarea'), { value: address });
    document.body.append(field);
    field.select();
    copied = document.execCommand('copy');
    field.remove();
  }
  tell(copied ? t('已复制链接，可以粘贴给别人了。') : `${t('无法复制，请手动复制这个链接：')}${address}`);
  if (navigator.share) navigator.share({ title: document.title, url: address }).catch(() => {});
}

async function start() {
  performance.mark('engine');
  // A link with a birthplace, or a year before 1902, is read by the whole engine.
  const link = new URLSearchParams((location.hash.length > 1 ? location.hash : location.search).slice(1));
  if (WHERE.slice(1).some((w) => link.has(w.name)) || /^(1[6-8]|190[01])/.test(link.get('date') ?? link.get('lunar'))) {
    await loadWholeEngine().catch(() => {});
  }
  const { state: first, reading, message, fromLink } = stateFromAddress(location);
  if (first.script === 'traditional') await loadTraditional().catch(() => {});
  state = settle(first);
  showScript();
  fillLists();
  performance.mark('lists');
  // The link's reading, which chenggu serve may have put in the page already (the same markup,
  // written by the same engine): then it stays as it is.
  const inPage = document.body.dataset.state === 'rendered' && !message &&
    (document.documentElement.lang === 'zh-Hant') === (state.script === 'traditional');
  showReading(reading, { inPage });
  say(message);
  if (fromLink && !message) keepInAddress();
  $('birth').addEventListener('change', onChange);
  $('script').addEventListener('change', onChange);
  $('share').addEventListener('click', share);
  $('make-poster').addEventListener('click', showPoster);
  $('place').addEventListener('input', suggestPlaces);
  $('details').addEventListener('click', choosePlace);
  $('care').addEventListener('click', toggleCare);
  showCare(document.documentElement.classList.contains('care'));
  $('speak').addEventListener('click', speak);
  speech?.addEventListener?.('voiceschanged', offerSpeech);
  offerSpeech();
  $('birthdays').addEventListener('click', downloadBirthdays);
  if (state.time || state.place || state.lon || state.zone) $('where').open = true;
  document.body.dataset.state = 'ready';
  performance.mark('first-reading');
  keepForOffline();
}

// Once the first reading is on the screen: the service worker that keeps the page for the
// next visit without a network, and, through it, birthplace.js. Not from a file on disk.
function keepForOffline() {
  if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
  whenIdle(() => {
    navigator.serviceWorker.register('sw.js').then(() => navigator.serviceWorker.ready)
      .then((registration) => registration.active?.postMessage('keep-birthplaces'))
      .catch(() => {});
  });
}

start();
