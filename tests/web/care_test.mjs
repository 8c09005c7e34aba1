// The page for every reader, in Debian's Chromium: 关怀模式 to the age-friendly rules (text of
// 24 px and more, lines 1.5 apart, targets of 60 × 60, one column, axe-core's WCAG 2.2 A and
// AA rules without a violation, kept across visits, opened by a large default text, nothing cut
// at 200 % on a phone), the verse read aloud through a speech synthesis that records what it is
// asked to say, and the lunar birthdays' calendar file the page gives.
// Usage: node care_test.mjs WEB_DIR NPM_PACKAGE
import assert from 'node:assert/strict';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import ICAL from 'ical.js';
import { launch, listsCut, serve, shownFields, waitReady } from './harness.mjs';

const [webDir, packageDir] = process.argv.slice(2);
const engine = await import(pathToFileURL(path.join(packageDir, 'chenggu.mjs')).href);
const axeSource = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const LINK = '?lunar=2020-闰4-29&period=晚子&leapMonth=split';

let server;
let browser;
before(async () => {
  server = await serve(webDir);
  browser = await launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// A page of its own profile (its own storage), at a default text size and a width.
async function newPage({ fontSize = 16, width = 360 } = {}) {
  const page = await (await browser.createBrowserContext()).newPage();
  await page.setBypassCSP(true);  // for axe-core, added to the page
  await page.setViewport({ width, height: 740 });
  const client = await page.createCDPSession();
  await client.send('Page.setFontSizes', { fontSizes: { standard: fontSize, fixed: Math.round(fontSize * 13 / 16) } });
  return page;
}

async function open(page, address = LINK) {
  await page.goto(server.url + address);
  await waitReady(page);
}

const caring = (page) => page.evaluate(() => document.documentElement.classList.contains('care'));

// What the rules measure, over every element shown: text sizes and line heights, targets.
const measure = (page) => page.evaluate(() => {
  const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden' &&
    !e.closest('.hidden-label, [hidden], noscript, option') &&
    !(e.closest('details:not([open])') && !e.closest('summary'));
  const texts = [...document.querySelectorAll('body *')].filter((e) => shown(e) &&
    [...e.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.nodeValue.trim()));
  const small = texts.map((e) => [e, parseFloat(getComputedStyle(e).fontSize), getComputedStyle(e).lineHeight])
    .filter(([, size, line]) => size < 24 || (line !== 'normal' && parseFloat(line) < 1.3 * size))
    .map(([e, size, line]) => `${e.tagName}#${e.id}.${e.className} ${size}/${line} ${e.textContent.trim().slice(0, 12)}`);
  const targets = [...document.querySelectorAll('button, select, input, summary, a[href]')].filter(shown)
    .map((e) => [e, e.getBoundingClientRect()]).filter(([, box]) => box.width < 60 || box.height < 60)
    .map(([e, box]) => `${e.tagName}#${e.id} ${box.width.toFixed(0)}×${box.height.toFixed(0)}`);
  return { small, targets, width: document.documentElement.scrollWidth };
});

async function violations(page) {
  await page.addScriptTag({ path: axeSource });
  return page.evaluate(async () => (await globalThis.axe.run(document, {
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] },
  })).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
}

test('关怀模式: the first control, its sizes, targets, one column, contrast, and kept across visits', async () => {
  const page = await newPage();
  await open(page);
  assert.equal(await caring(page), false);
  assert.deepEqual(await violations(page), [], 'without the mode');
  // The first stop of the keyboard, named with its state.
  await page.keyboard.press('Tab');
  assert.deepEqual(await page.evaluate(() => [document.activeElement.id, document.activeElement.textContent,
    document.activeElement.getAttribute('aria-pressed')]), ['care', '关怀模式', 'false']);
  const before = await shownFields(page);
  await page.keyboard.press('Enter');
  assert.equal(await caring(page), true);
  assert.equal(await page.$eval('#care', (e) => e.getAttribute('aria-pressed')), 'true');
  const { small, targets, width } = await measure(page);
  assert.deepEqual(small, [], 'every text at least 24 px, lines at least 1.3 apart');
  assert.deepEqual(targets, [], 'every target at least 60 × 60');
  assert.equal(width, 360);
  const sizes = await page.evaluate(() => ['.total', '.verse'].map((s) => parseFloat(getComputedStyle(document.querySelector(s)).fontSize)));
  assert.ok(sizes.every((size) => size > 24), `the total and the verse larger: ${sizes}`);
  // One column: no two fields side by side.
  const beside = await page.evaluate(() => {
    const boxes = [...document.querySelectorAll('#birth .field')]
      .filter((e) => e.getClientRects().length && !e.closest('details:not([open])'))
      .map((e) => e.getBoundingClientRect()).sort((a, b) => a.top - b.top);
    return boxes.filter((box, i) => i > 0 && box.top < boxes[i - 1].bottom - 1).length;
  });
  assert.equal(beside, 0, 'fields side by side');
  assert.deepEqual(await violations(page), [], 'in the mode');
  // The reading is the same; the mode is no part of the link, and is kept for the next visit.
  assert.deepEqual(await shownFields(page), before);
  assert.ok(!page.url().includes('care'));
  await open(page);
  assert.equal(await caring(page), true);
  await page.click('#care');
  await open(page);
  assert.equal(await caring(page), false);
  await page.close();
});

test('a browser whose text is 20 px opens in 关怀模式; at 200 % on a phone nothing is cut, in it or not', async () => {
  const large = await newPage({ fontSize: 20 });
  await open(large);
  assert.equal(await caring(large), true);
  await large.close();
  const page = await newPage({ fontSize: 32 });
  for (const address of [LINK, `${LINK}&script=traditional`, '?date=1990-07-15&time=14:30&place=朝阳']) {
    await open(page, address);
    for (const care of [true, false]) {
      if (care !== await caring(page)) await page.click('#care');
      const cut = await listsCut(page);
      assert.deepEqual(cut, [], `${address}, care ${care}: lists cut`);
      assert.equal((await measure(page)).width, 360, `${address}, care ${care}: wider than the phone`);
    }
  }
  await page.close();
});

// A speech synthesis that records what it is asked to say, with the given voices.
function speechWith(voices) {
  return (list) => {
    globalThis.spoken = [];
    const synthesis = new EventTarget();
    Object.assign(synthesis, {
      speaking: false,
      pending: false,
      getVoices: () => list.map(([lang, name]) => ({ lang, name, voiceURI: name, localService: true, default: false })),
      speak(utterance) {
        globalThis.spoken.push({ text: utterance.text, lang: utterance.lang, voice: utterance.voice?.name });
        this.speaking = true;
      },
      cancel() {
        globalThis.spoken.push('cancel');
        this.speaking = false;
      },
    });
    // Chromium's own utterance takes only its own voices.
    globalThis.SpeechSynthesisUtterance = function Utterance(text) { this.text = text; };
    Object.defineProperty(globalThis, 'speechSynthesis', { value: synthesis, configurable: true });
  };
}

test('朗读 reads the total, the verse and its meaning in a Chinese voice, and stops', async () => {
  const page = await newPage();
  await page.evaluateOnNewDocument(speechWith([]), [['en-US', 'English'], ['zh-CN', 'Tingting'], ['zh-TW', 'Meijia']]);
  await open(page, '?date=1990-01-30&period=子');
  assert.equal(await page.$eval('#speak', (e) => e.hidden), false);
  const reading = engine.read({ date: '1990-01-30', period: '子' });
  await page.click('#speak');
  assert.deepEqual(await page.evaluate(() => globalThis.spoken.filter((s) => s !== 'cancel')),
    [{ text: `总骨重${reading.weightText}。${reading.verseLines.join('')}${reading.verseExplanation}`, lang: 'zh-CN', voice: 'Tingting' }]);
  assert.equal(await page.$eval('#speak', (e) => e.getAttribute('aria-pressed')), 'true');
  await page.click('#speak');  // a second press stops
  assert.equal(await page.evaluate(() => globalThis.spoken.at(-1)), 'cancel');
  await page.click('#speak');
  await page.select('#period', '午');  // a new reading stops it too
  assert.equal(await page.evaluate(() => globalThis.spoken.at(-1)), 'cancel');
  // In Traditional, a Traditional voice.
  await page.select('#script', 'traditional');
  await page.waitForFunction(() => document.documentElement.lang === 'zh-Hant');
  await page.click('#speak');
  assert.equal(await page.evaluate(() => globalThis.spoken.at(-1).lang), 'zh-TW');
  await page.close();
  // Without a Chinese voice, or without speech synthesis, no button.
  for (const voices of [[['en-US', 'English']], null]) {
    const silent = await newPage();
    if (voices) await silent.evaluateOnNewDocument(speechWith([]), voices);
    else await silent.evaluateOnNewDocument(() => Object.defineProperty(globalThis, 'speechSynthesis', { value: undefined }));
    await open(silent);
    assert.equal(await silent.$eval('#speak', (e) => e.hidden), true, JSON.stringify(voices));
    await silent.close();
  }
});

test('添加农历生日到日历 gives the calendar file of the birth\'s lunar birthdays', async () => {
  const page = await newPage();
  // The file the page hands to the browser, read back from its address.
  await page.evaluateOnNewDocument(() => {
    const click = HTMLAnchorElement.prototype.click;
    HTMLAnchorElement.prototype.click = function clicked() {
      if (this.download) globalThis.downloaded = { name: this.download, href: this.href };
      else click.call(this);
    };
  });
  await open(page, '?lunar=2020-闰4-1&period=午');
  await page.click('#birthdays');
  await page.waitForFunction(() => globalThis.downloaded, { timeout: 20000 });
  const { name, text } = await page.evaluate(async () => ({ name: globalThis.downloaded.name,
    text: await (await fetch(globalThis.downloaded.href)).text() }));
  assert.equal(name, '农历生日.ics');
  const events = new ICAL.Component(ICAL.parse(text)).getAllSubcomponents('vevent');
  const expected = engine.birthdays({ date: '2020-闰4-1', lunar: true }).birthdays.map((b) => b.date);
  assert.equal(events.length, 30);
  assert.deepEqual(events.map((e) => e.getFirstPropertyValue('dtstart').toString()), expected);
  assert.equal(events[0].getFirstPropertyValue('summary'), '农历生日（闰四月初一）');
  await page.close();
});
