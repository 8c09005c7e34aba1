// Types of the chenggu package: the answers of chenggu --json.

export type LateZi = 'same-day' | 'next-day';
export type YearStart = 'new-year' | 'spring';
export type LeapMonth = 'whole' | 'split';
export type SolarTime = 'true' | 'mean' | 'clock';
/** The calendar as issued at the time, or the modern computation at UTC+8 (they differ before 1929). */
export type CalendarRule = 'printed' | 'computed';
export type Language = 'en' | 'zh';

export interface Request {
  /** A Gregorian date, 1990-01-30; with lunar: true a lunar one, 2020-闰4-1. */
  date: string;
  /** 子 … 亥 (also 子时), 早子, 晚子, or a clock time 23:30. Left out or null: the twelve readings. */
  period?: string | null;
  lunar?: boolean;
  lateZi?: LateZi;
  yearStart?: YearStart;
  leapMonth?: LeapMonth;
  calendarRule?: CalendarRule;
  /** With a clock time as period: the birthplace by name (成都, 四川成都, New York)… */
  place?: string | null;
  /** …or by longitude, degrees east (a number, or text such as 104°04′E, 74W)… */
  longitude?: number | string | null;
  /** …and the zone of its clocks (an IANA name; a place sets its own, else Asia/Shanghai). */
  zone?: string | null;
  /** The time read by: true solar (the default with a place), mean solar, or the clock. */
  solarTime?: SolarTime;
  /** The characters of every Chinese text of the answer. */
  script?: 'simplified' | 'traditional';
  /** The language of the reason when the request is refused. */
  language?: Language;
  /** birthTime.steps, the steps in words. */
  steps?: boolean;
  /** markup: the web page's HTML of the reading. */
  markup?: boolean;
}

export interface Conventions {
  lateZi: LateZi;
  yearStart: YearStart;
  leapMonth: LeapMonth;
  solarTime: SolarTime;
  calendarRule: CalendarRule;
}

/** The steps from the clock to the time read by, for a birth with a place or longitude. */
export interface BirthTime {
  clock: string;
  zone: string;
  utcOffsetMinutes: number;
  summerTime: boolean;
  /** The later of a clock time that happened twice (clocks turned back). */
  secondOccurrence: boolean;
  /** The clock time happened twice, whichever occurrence this is. */
  repeated: boolean;
  longitude: number;
  place: string | null;
  /** 广州市: a county without a point of its own is read at its prefecture's longitude. */
  longitudeOf?: string;
  /** Other places the name given could mean (北京市朝阳区 when 朝阳 was read as 辽宁省朝阳市). */
  otherPlaces?: string[];
  meanSolar: string;
  equationOfTimeSeconds: number;
  trueSolar: string;
  /** The time read by lies within 5 minutes of a period's boundary. */
  nearBoundary: boolean;
}

export interface Reading {
  date: string;
  period: number;
  periodLabel: string;
  periodHalf: 'early' | 'late' | null;
  lunarYear: number;
  lunarMonth: number;
  lunarDay: number;
  lunarMonthName: string;
  lunarDayName: string;
  periodBranch: string;
  yearStemBranch: string;
  monthStemBranch: string;
  dayStemBranch: string;
  /** The hour pillar (时柱); a 晚子 takes the next day's 子 hour. */
  periodStemBranch: string;
  /** The year whose weight was taken: the lunar year's, or the 立春 year's under spring. */
  weighedYearStemBranch: string;
  yearWeight: number;
  monthWeight: number;
  dayWeight: number;
  periodWeight: number;
  totalWeight: number;
  verse: string;
  leapMonth: boolean;
  weightText: string;
  conventions: Conventions;
  readingDate: string;
  verseLines: [string, string];
  /** The verse in modern Chinese. */
  verseExplanation: string;
  /** On the day of a sectional term (节): its instant and the birth's side of it; else null. */
  solarTerm: { name: string; utc: string; beijing: string; birthIs: 'before' | 'after' | 'unknown' } | null;
  /** For lunar input only: the Gregorian date of the same day of the leap month, if any. */
  leapMonthDate?: string | null;
  birthTime?: BirthTime;
  /** The readings under each other convention that changes the total. */
  alternatives?: Alternative[];
  /** With markup: true, the reading as the web page shows it, as HTML whose elements carry
   * data-field and data-value, every value escaped: the total and verse, and the rest. */
  markup?: { headline: string; details: string };
}

export interface Alternative extends Omit<Reading, 'alternatives'> {
  switched: 'lateZi' | 'yearStart' | 'leapMonth' | 'solarTime' | 'calendarRule' | 'boundary' | 'secondOccurrence' | 'solarTerm';
  condition: string;
}

/** A refusal: message is the reason (in the language asked for), code its stable code. */
export class ChengguError extends Error {
  name: 'ChengguError';
  code: ErrorCode;
}

export type ErrorCode =
  | 'not-a-date' | 'no-such-date' | 'no-such-leap-month' | 'outside-range' | 'bad-period'
  | 'bad-time' | 'unknown-convention' | 'reading-day-outside-range' | 'bad-request'
  | 'request-too-large' | 'bad-longitude' | 'unknown-zone' | 'unknown-place' | 'ambiguous-place'
  | 'place-without-longitude' | 'no-clock-time' | 'skipped-clock-time' | 'solar-date-outside-range';

/** One reading, or the twelve of the day without a period. Throws ChengguError. */
export function read(request: Request & { period: string }): Reading;
export function read(request: Request): Reading | Reading[];

export interface Month {
  month: number;
  leap: boolean;
  name: string;
  days: number;
  /** The first and last days inside the range 1901-01-01 to 2100-12-31, or null. */
  firstDay: number | null;
  lastDay: number | null;
}

export interface Months {
  calendar: 'gregorian' | 'lunar';
  year: number;
  firstYear: number;
  lastYear: number;
  months: Month[];
  dayNames: string[];
  periods: { value: string; name: string; label: string }[];
}

/** A year's months, for forms with date lists. Throws ChengguError. */
export function months(request: {
  calendar: 'gregorian' | 'lunar'; year: number; script?: 'simplified' | 'traditional'; language?: Language;
}): Months;

export interface Day {
  date: string;
  lunarYear: number;
  lunarMonth: number;
  lunarDay: number;
  leapMonth: boolean;
  lunarDate: string;
}

/** A day in both calendars. Throws ChengguError. */
export function date(request: { date: string; lunar?: boolean; language?: Language }): Day;

export interface LinkReading {
  /** The link held any of the page's parameters. */
  fromLink: boolean;
  /** The library's request the link was read as (today's when it could not be read). */
  request: Request;
  /** The clock time (14:30) and birthplace fields the link gave. */
  time: string;
  place: string;
  lon: string;
  zone: string;
  /** Why the link could not be read, in Chinese; null when it could. */
  message: string | null;
  reading: Reading;
}

/** A link to the web page (?date=…&period=…, or its fragment) read as the page reads it; a
 * link that cannot be read gives today's reading (today: 2026-12-08T14:30) and a message. */
export function link(request: {
  link: string; today: string; script?: 'simplified' | 'traditional'; markup?: boolean; steps?: boolean;
  language?: Language;
}): LinkReading;

export interface Preview {
  totalWeight: number;
  weightText: string;
  /** 称骨算命 */
  name: string;
  /** 总骨重 42 钱 */
  totalText: string;
  verseLines: [string, string];
  /** 称骨算命：四两二钱 */
  title: string;
  /** The verse, its two lines in one. */
  description: string;
  /** The preview picture's path beside the page: preview/42.png. */
  picture: string;
  /** <title> and the meta tags chat apps read, as HTML. */
  head: string;
  /** The total and verse as the page shows them, as HTML. */
  headline: string;
}

/** What a shared link to a reading of a total (21 to 72 qian) previews as. Throws ChengguError. */
export function preview(request: {
  totalWeight: number; script?: 'simplified' | 'traditional'; pageUrl?: string; imageUrl?: string; language?: Language;
}): Preview;

export interface LunarBirthdays {
  birth: { date: string; lunarDate: string; leapMonth: boolean };
  from: number;
  to: number;
  birthdays: { lunarYear: number; lunarMonth: number; lunarDay: number; leapMonth: boolean; date: string }[];
  /** An iCalendar file (RFC 5545): one all-day event a year, CRLF line ends. */
  ics: string;
}

/** The lunar birthday of a birth in each lunar year from `from` to `to` (default: this lunar
 * year and the 29 after it). A leap-month birth is kept in that leap month in years that have
 * it, else in the month of the same number; a 30th falls on the 29th in a month of 29 days.
 * now: the file's DTSTAMP (2026-12-08T14:30:00Z). Throws ChengguError. */
export function birthdays(request: {
  date: string; lunar?: boolean; from?: number; to?: number; script?: 'simplified' | 'traditional';
  now?: string; language?: Language;
}): LunarBirthdays;

export const version: string;

export interface Place {
  name: string;
  fullName: string;
  region: string;
  englishName: string;
  longitude: number;
  zone: string;
  /** 广州市: the prefecture whose longitude a county without a point of its own is read at. */
  longitudeOf?: string;
}

/** Places whose names hold the query, best first; those in or beside near (a full name, such
 * as the place read last) before others of the same name. Throws ChengguError. */
export function places(request: { query: string; limit?: number; near?: string; script?: 'simplified' | 'traditional';
  language?: Language }): Place[];

export interface SolarTerm {
  /** 小寒 … 冬至. */
  name: string;
  /** The instant in UTC: 2024-02-04T08:26:50Z. */
  utc: string;
  /** The same in Beijing time (UTC+8): 2024-02-04T16:26:50. */
  beijing: string;
}

/** The 24 solar terms of a year from 1901 to 2100, 小寒 first. Throws ChengguError. */
export function terms(
  year: number, options?: { script?: 'simplified' | 'traditional'; language?: Language },
): SolarTerm[];
