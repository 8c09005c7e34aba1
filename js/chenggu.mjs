// The bone-weight reading (称骨算命) in JavaScript, for node and browsers: the engine's C++
// compiled to WebAssembly, called through its C interface. Every answer is the JSON of
// chenggu --json, as plain objects.
import createEngine from './engine.mjs';

const engine = await createEngine();

// A request in, the engine's JSON answer out. The request goes into the engine's memory as
// UTF-8; the answer comes back as text the engine allocated, which is released at once.
function call(name, request) {
  const text = JSON.stringify(request ?? null);
  const size = engine.lengthBytesUTF8(text) + 1;
  const pointer = engine._malloc(size);
  if (!pointer) throw new Error('out of memory');
  try {
    engine.stringToUTF8(text, pointer, size);
    const answer = engine[`_chenggu_${name}_json`](pointer);
    if (!answer) throw new Error('out of memory');
    try {
      return JSON.parse(engine.UTF8ToString(answer));
    } finally {
      engine._chenggu_free(answer);
    }
  } finally {
    engine._free(pointer);
  }
}

// A request the engine refused: message is its reason (in the language asked for), code its
// stable code ('no-such-date', 'unknown-place', …) for programs.
export class ChengguError extends Error {
  constructor(message, code) {
    super(message);
    this.name = 'ChengguError';
    this.code = code;
  }
}

// The answer, or the engine's refusal thrown as a ChengguError.
function answered(result) {
  const keys = Array.isArray(result) ? [] : Object.keys(result);
  if (keys.length === 2 && 'error' in result && 'code' in result) {
    throw new ChengguError(result.error, result.code);
  }
  return result;
}

// The reading of a birth: {date, period, lunar, place, longitude, zone, lateZi, yearStart,
// leapMonth, calendarRule, solarTime, script, language}.
export function read(request) {
  return answered(call('read', request));
}

// A year's months with their names and days: {calendar, year, language}.
export function months(request) {
  return answered(call('months', request));
}

// A day in both calendars: {date, lunar, language}.
export function date(request) {
  return answered(call('date', request));
}

// Places whose names hold a query, with longitudes and zones: {query, limit, language}.
export function places(request) {
  return answered(call('places', request)).places;
}

// The 24 solar terms of a year from 1645 to 2100, 小寒 first, at their instants: [{name, utc,
// beijing}, …]. options: {script, language}.
export function terms(year, options = {}) {
  return answered(call('terms', { ...options, year })).terms;
}

// A link to the web page as the page reads it: {link: '?date=…', today: '2026-12-08T14:30',
// script, markup, steps} gives {fromLink, request, time, place, lon, zone, message, reading}:
// the reading the link asks for, or today's with the message saying why not.
export function link(request) {
  return answered(call('link', request));
}

// What a shared link to a reading of a total previews as: {totalWeight, script, pageUrl,
// imageUrl} gives {totalWeight, weightText, title, description, picture, head, headline}
// (head and headline as HTML, every value escaped). Not in the web page's first engine.
export function preview(request) {
  return answered(call('preview', request));
}

// Lunar birthdays: {date, lunar, from, to, script, now} gives {birth, from, to, birthdays:
// [{lunarYear, lunarMonth, lunarDay, leapMonth, date}, …], ics}: the day the birth's lunar date
// comes round in each lunar year, and an iCalendar file of them. Not in the web page's first
// engine.
export function birthdays(request) {
  return answered(call('birthdays', request));
}

// The engine's version, "1.1.0".
export const version = engine.UTF8ToString(engine._chenggu_version());
