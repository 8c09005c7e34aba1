// The lunar calendar from astronomy: every new moon and every one of the 24 solar terms of
// 1900-2101 as an instant (UTC to the second, ΔT as npm astronomy-engine models it), and from
// them, by the rules of GB/T 33661-2017, the packed lunar tables of lunar years 2051-2100.
// The same computation of 1901-2050 must give the committed tables of those years
// (calendar/lunar_tables.h) month for month and term day for term day, or nothing is written.
//
// Usage: node scripts/solar-terms.mjs OUT   (OUT: the folder the generated files go under)
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const require = createRequire(path.join(root, 'package.json'));
const Astronomy = require('astronomy-engine');
const version = JSON.parse(fs.readFileSync(path.join(root, 'node_modules/astronomy-engine/package.json'), 'utf8')).version;
const out = process.argv[2];

const fail = (message) => {
  console.error(`scripts/solar-terms: ${message}`);
  process.exit(1);
};

const FirstYear = 1900, LastYear = 2101;
const TermNames = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满',
  '芒种', '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪',
  '大雪', '冬至'];
const Day = 86400;
// Seconds since 1901-01-01T00:00Z, the engine's epoch, of a Date, to the second.
const Epoch = Date.UTC(1901, 0, 1) / 1000;
const seconds = (date) => Math.round(date.getTime() / 1000) - Epoch;

// The terms of each Gregorian year, in year order: term k is where the Sun's apparent
// longitude reaches 285° + 15° k (小寒 at 285°, 立春 315°, 春分 0°, 冬至 270°).
const terms = [];
for (let year = FirstYear; year <= LastYear; ++year) {
  const row = [];
  for (let k = 0; k < 24; ++k) {
    const start = new Date(Date.UTC(year, 0, 1) + (15.2 * k - 8) * Day * 1000);
    const found = Astronomy.SearchSunLongitude((285 + 15 * k) % 360, start, 30);
    if (!found) fail(`no ${TermNames[k]} in ${year}`);
    row.push(seconds(found.date));
  }
  for (let k = 1; k < 24; ++k) {
    if (!(row[k] > row[k - 1])) fail(`the terms of ${year} are out of order`);
  }
  terms.push(row);
}

// Every new moon from December 1899 to January 2102.
const newMoons = [];
for (let t = Astronomy.MakeTime(new Date(Date.UTC(1899, 11, 1)));;) {
  const found = Astronomy.SearchMoonPhase(0, t, 40);
  if (found.date >= new Date(Date.UTC(2102, 1, 1))) break;
  newMoons.push(seconds(found.date));
  t = found.AddDays(20);
}

// Civil days in Beijing time, UTC+8, for every year (GB/T 33661-2017).
const beijing = (instant) => instant + 8 * 3600;
const dayOf = (instant) => Math.floor(beijing(instant) / Day);  // days since 1901-01-01
const civil = (days) => {
  const d = new Date((Epoch + days * Day) * 1000);
  return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()];
};
const termDay = (year, k) => dayOf(terms[year - FirstYear][k]);

// Lunar months: from the day of one new moon to the day before the next. A month is numbered
// by the principal term (中气) it holds: 冬至 (k = 23) makes month 11, 大寒 month 12, 雨水 month
// 1 …; in a year from one 冬至 month to the next with 13 months, the first month without a
// principal term is the leap month, and takes the number of the month before it.
const monthStarts = newMoons.map(dayOf);
const principal = [];  // days of the principal terms, in order
for (let year = FirstYear; year <= LastYear; ++year) {
  for (let k = 1; k < 24; k += 2) principal.push({ day: termDay(year, k), k });
}
const months = [];
for (let i = 0; i + 1 < monthStarts.length; ++i) {
  const start = monthStarts[i], end = monthStarts[i + 1];
  const held = principal.filter((p) => p.day >= start && p.day < end);
  months.push({ start, days: end - start, held });
}
// Number the months between consecutive 冬至 months.
const solsticeMonths = months.map((m, i) => (m.held.some((p) => p.k === 23) ? i : -1))
  .filter((i) => i >= 0);
for (let s = 0; s + 1 < solsticeMonths.length; ++s) {
  const from = solsticeMonths[s], to = solsticeMonths[s + 1];
  const leapYear = to - from === 13;
  let number = 11, leapTaken = false;
  for (let i = from; i < to; ++i) {
    const m = months[i];
    if (i > from) {
      if (leapYear && !leapTaken && m.held.length === 0) {
        m.leap = true;
        leapTaken = true;
        m.number = number;
        continue;
      }
      number = number % 12 + 1;
    }
    m.number = number;
    m.leap = false;
  }
}

// The packed tables of a lunar year: month sizes from bit 15 down, the leap month's number,
// and per Gregorian month the day of its sectional term (high nibble 15 - day) and of its
// principal term (low nibble day - 15).
const lunarYears = new Map();  // lunar year -> its months from month 1, in order
let lunarYear = 1899;
for (const m of months) {
  if (m.number === undefined) continue;
  if (m.number === 1 && !m.leap) lunarYear = civil(m.start)[0];
  if (!lunarYears.has(lunarYear)) lunarYears.set(lunarYear, []);
  lunarYears.get(lunarYear).push(m);
}
const packedYear = (year) => {
  const list = lunarYears.get(year) ?? [];
  const leap = list.find((m) => m.leap)?.number ?? 0;
  const count = leap ? 13 : 12;
  if (list.length !== count || list[0].number !== 1) fail(`lunar ${year} has ${list.length} months`);
  let sizes = 0;
  for (let p = 0; p < count; ++p) {
    const days = list[p].days;
    if (days !== 29 && days !== 30) fail(`a month of lunar ${year} has ${days} days`);
    if (days === 30) sizes |= 1 << (15 - p);
  }
  return { sizes, leap };
};
const termByte = (year, month) => {
  const sectional = civil(termDay(year, 2 * (month - 1)))[2];
  const mid = civil(termDay(year, 2 * (month - 1) + 1))[2];
  return ((15 - sectional) << 4) | (mid - 15);
};

// The committed tables of 1901-2050, as calendar/lunar_tables.h holds them.
const committed = fs.readFileSync(path.join(root, 'calendar/lunar_tables.h'), 'utf8')
  .replace(/\/\/[^\n]*/g, '');
const numbers = (name) => {
  const body = committed.slice(committed.indexOf(`${name}{`));
  return [...body.slice(0, body.indexOf('};')).matchAll(/0x([0-9a-f]+)/g)]
    .map((m) => parseInt(m[1], 16));
};
const sizes = numbers('MonthSizes'), leaps = numbers('LeapMonths'), sectionals = numbers('SectionalTerms');
if (sizes.length !== 150 || leaps.length !== 75 || sectionals.length !== 1800) {
  fail('calendar/lunar_tables.h does not hold the tables of 1901-2050');
}
const differences = [];
for (let year = 1901; year <= 2050; ++year) {
  const i = year - 1901;
  const computed = packedYear(year);
  const leap = i % 2 === 0 ? leaps[i >> 1] >> 4 : leaps[i >> 1] & 0xf;
  if (computed.sizes !== sizes[i] || computed.leap !== leap) {
    differences.push(`lunar ${year}: astronomy gives months 0x${computed.sizes.toString(16)}, ` +
                     `leap ${computed.leap}; the tables hold 0x${sizes[i].toString(16)}, leap ${leap}`);
  }
  for (let month = 1; month <= 12; ++month) {
    const held = sectionals[12 * i + month - 1] >> 4;
    const computedDay = 15 - (termByte(year, month) >> 4);
    if (15 - held !== computedDay) {
      differences.push(`the sectional term of ${year}-${month}: astronomy gives day ` +
                       `${computedDay}, the tables hold ${15 - held}`);
    }
  }
}

if (differences.length) fail(`not the committed tables:\n  ${differences.join('\n  ')}`);

// Events within ten minutes of a Beijing midnight, 2051-2100, where published tables may
// fall on the other side.
const nearMidnight = [];
const noteIfNear = (instant, what) => {
  const second = ((beijing(instant) % Day) + Day) % Day;
  const distance = Math.min(second, Day - second);
  if (distance <= 600) {
    const [y, m, d] = civil(dayOf(instant));
    const clock = new Date((Epoch + beijing(instant)) * 1000).toISOString().slice(11, 19);
    nearMidnight.push(`${y}-${String(m).padStart(2, '0')}-${String(d).padStart(2, '0')} ` +
                      `${clock} ${what}`);
  }
};
for (const moon of newMoons) {
  if (civil(dayOf(moon))[0] >= 2051 && civil(dayOf(moon))[0] <= 2100) noteIfNear(moon, '朔');
}
for (let year = 2051; year <= 2100; ++year) {
  for (let k = 0; k < 24; ++k) noteIfNear(terms[year - FirstYear][k], TermNames[k]);
}

// The terms as the engine reads them: per term, a line through its instants (the instant of
// 1900 and seconds per year), and per year how far the instant lies from the line (at most
// a few hours, so 16 bits), the sectional terms (节, even k) and the principal (中气) apart.
const lines = [];
const deviations = { sectional: [], principal: [] };
for (let k = 0; k < 24; ++k) {
  const first = terms[0][k], last = terms[LastYear - FirstYear][k];
  const slope = Math.round((last - first) / (LastYear - FirstYear));
  lines.push([first, slope]);
}
for (let year = FirstYear; year <= LastYear; ++year) {
  for (let k = 0; k < 24; ++k) {
    const [base, slope] = lines[k];
    const deviation = terms[year - FirstYear][k] - base - slope * (year - FirstYear);
    if (Math.abs(deviation) > 32767) fail(`${TermNames[k]} ${year} lies too far from its line`);
    deviations[k % 2 === 0 ? 'sectional' : 'principal'].push(deviation);
  }
}

const header = (what) => `// Generated by scripts/solar-terms from npm astronomy-engine ${version} (MIT); do not edit.
// ${what}
#pragma once
`;
const rows = (values, perRow, format = String) => {
  const lines = [];
  for (let i = 0; i < values.length; i += perRow) {
    lines.push('    ' + values.slice(i, i + perRow).map(format).join(', ') + ',');
  }
  return lines.join('\n');
};
const yearRows = (values, perYear) => values.map((v) => String(v)).reduce((acc, v, i) => {
  if (i % perYear === 0) acc.push([]);
  acc[acc.length - 1].push(v);
  return acc;
}, []).map((row, i) => `    ${row.join(', ')},  // ${FirstYear + i}`).join('\n');

const termsHeader = `${header(`The instants of the 24 solar terms of the Gregorian years ${FirstYear}-${LastYear}, in
// seconds of UTC since 1901-01-01T00:00Z: the Sun's apparent longitude reaching 285° + 15° k
// for the term k of a year (小寒 k = 0, 大寒 1, 立春 2, … 冬至 23), ΔT as the library models it.`)}
#include <array>
#include <cstdint>

namespace chenggu::SolarTermTables {

inline constexpr int FirstYear = ${FirstYear};
inline constexpr int LastYear = ${LastYear};
inline constexpr int YearCount = LastYear - FirstYear + 1;

// Per term k, a line through its instants: the instant in ${FirstYear}, and seconds per year.
struct TermLine {
    std::int64_t first;
    std::int32_t perYear;
};
inline constexpr std::array<TermLine, 24> TermLines{{
${lines.map(([first, slope], k) => `    {${first}, ${slope}},  // ${TermNames[k]}`).join('\n')}
}};

// The instant of term k in year y is TermLines[k].first + TermLines[k].perYear × (y - ${FirstYear})
// plus its deviation: for the sectional terms (节, k even) SectionalDeviations[12 (y - ${FirstYear}) +
// k / 2], for the principal terms (中气, k odd) PrincipalDeviations[12 (y - ${FirstYear}) + k / 2].
// clang-format off
inline constexpr std::array<std::int16_t, 12 * YearCount> SectionalDeviations{
${yearRows(deviations.sectional, 12)}
};
inline constexpr std::array<std::int16_t, 12 * YearCount> PrincipalDeviations{
${yearRows(deviations.principal, 12)}
};
// clang-format on

}  // namespace chenggu::SolarTermTables
`;

const hex = (width) => (v) => `0x${v.toString(16).padStart(width, '0')}`;
const later = [];
for (let year = 2051; year <= 2100; ++year) later.push(packedYear(year));
const leapPairs = [];
for (let i = 0; i < later.length; i += 2) leapPairs.push((later[i].leap << 4) | later[i + 1].leap);
const laterTerms = [];
for (let year = 2051; year <= 2100; ++year) {
  for (let month = 1; month <= 12; ++month) laterTerms.push(termByte(year, month));
}
const lunarHeader = `${header(`The packed lunar tables of lunar years 2051-2100 and the terms of Gregorian 2051-2100, in
// the form of calendar/lunar_tables.h, from the new moons and terms of astronomy in Beijing
// time (UTC+8) by the rules of GB/T 33661-2017.`)}
#include <array>
#include <cstdint>

namespace chenggu::LunarTables {

// Month sizes of lunar 2051-2100 (bit set: 30 days), ten years to a row.
inline constexpr std::array<std::uint16_t, 50> LaterMonthSizes{
${rows(later.map((y) => y.sizes), 10, hex(4))}
};
// Leap months of lunar 2051-2100, a nibble a year, ten years to a row.
inline constexpr std::array<std::uint8_t, 25> LaterLeapMonths{
${rows(leapPairs, 5, hex(2))}
};
// Sectional and principal terms of Gregorian 2051-2100, a byte a month, a year to a row.
inline constexpr std::array<std::uint8_t, 600> LaterSectionalTerms{
${rows(laterTerms, 12, hex(2))}
};
}  // namespace chenggu::LunarTables
`;

const moonsText = `# Generated by scripts/solar-terms from npm astronomy-engine ${version} (MIT); do not edit.
# Every new moon from December 1899 to January 2102, UTC.
${newMoons.map((s) => new Date((Epoch + s) * 1000).toISOString().replace('.000', '')).join('\n')}
`;
const nearText = `# Generated by scripts/solar-terms from npm astronomy-engine ${version} (MIT); do not edit.
# New moons (朔) and solar terms of 2051-2100 within ten minutes of a Beijing midnight (UTC+8):
# the day, the Beijing time, the event. Published tables may put these on the other side.
${nearMidnight.join('\n')}
`;

for (const [file, text] of [['calendar/generated/solar_terms.h', termsHeader],
                            ['calendar/generated/lunar_tables_2051_2100.h', lunarHeader],
                            ['tests/generated/new_moons.txt', moonsText],
                            ['calendar/generated/near_midnight.txt', nearText]]) {
  fs.mkdirSync(path.dirname(path.join(out, file)), { recursive: true });
  fs.writeFileSync(path.join(out, file), text);
}
