// Shared links as the people who receive them meet them: the chat apps' crawlers (their user
// agents, no script) fetching a link from chenggu serve and a share page from a static host,
// the preview picture read back by a Chinese OCR, the page with script disabled and enabled
// (the same reading before and after the engine starts, nothing moving), and hostile link
// values through the page's renderer. Traffic goes to 127.0.0.1 only.
// Usage: node share_test.mjs WEB_DIR CHENGGU NPM_PACKAGE
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import pngjs from 'pngjs';
import { startServe } from '../chenggu_serve.mjs';
import { expectedFields, launch, serve, shownFields, waitReady } from './harness.mjs';

const [webDir, chenggu, packageDir] = process.argv.slice(2);
const engine = await import(pathToFileURL(path.join(packageDir, 'chenggu.mjs')).href);
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

const CRAWLERS = {
  TelegramBot: 'TelegramBot (like TwitterBot)',
  Twitterbot: 'Twitterbot/1.0',
  facebookexternalhit: 'facebookexternalhit/1.1 (+http://www.facebook.com/externalhit_uatext.php)',
  WhatsApp: 'WhatsApp/2.23.20.0',
  Slackbot: 'Slackbot-LinkExpanding 1.0 (+https://api.slack.com/robots)',
  Discordbot: 'Mozilla/5.0 (compatible; Discordbot/2.0; +https://discordapp.com)',
  DingTalk: 'Mozilla/5.0 (Linux; Android 12) AppleWebKit/537.36 DingTalk/7.0.40',
  QQ: 'Mozilla/5.0 (Linux; Android 12) AppleWebKit/537.36 Mobile Safari/537.36 V1_AND_SQ_8.9.0 QQ/8.9.0',
  WeChat: 'Mozilla/5.0 (Linux; Android 12) AppleWebKit/537.36 Mobile Safari/537.36 MicroMessenger/8.0.40',
};

// A small seeded generator, so that every run checks the same links.
let seed = 20261208;
const random = (n) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
};
const pick = (list) => list[random(list.length)];
const PERIODS = [...'子丑寅卯辰巳午未申酉戌亥', '早子', '晚子'];
const PLACES = ['成都', '朝阳', '纽约', '香港', '北京市海淀区', '漠河'];

// Random births as the page's links: both calendars, periods, conventions, scripts, and one
// in four with a clock time and a birthplace; and the chenggu command line of each.
function randomCase() {
  const lunar = random(3) === 0;
  const year = 1901 + random(199);
  const date = lunar ? `${year}-${1 + random(12)}-${1 + random(29)}`
    : new Date(Date.UTC(1901, 0, 1) + random(73049) * 86400000).toISOString().slice(0, 10);
  const c = { [lunar ? 'lunar' : 'date']: date };
  const where = random(4) === 0;
  if (where) Object.assign(c, { time: `${String(random(24)).padStart(2, '0')}:${String(random(60)).padStart(2, '0')}`, place: pick(PLACES) });
  else c.period = pick(PERIODS);
  for (const [name, values] of [['lateZi', ['same-day', 'next-day']], ['yearStart', ['new-year', 'spring']], ['leapMonth', ['whole', 'split']]]) {
    if (random(2)) c[name] = pick(values);
  }
  if (random(3) === 0) c.script = 'traditional';
  return c;
}

function nativeReading(c) {
  const args = ['--json'];
  if (c.lunar) args.push('--lunar');
  for (const [name, option] of [['lateZi', '--late-zi'], ['yearStart', '--year-start'], ['leapMonth', '--leap-month'], ['script', '--script']]) {
    if (c[name]) args.push(option, c[name]);
  }
  args.push(c.lunar ?? c.date, ...(c.time ? [c.time, c.place] : [c.period]));
  return JSON.parse(execFileSync(chenggu, args, { encoding: 'utf8' }));
}

const linkOf = (c) => `?${new URLSearchParams(c)}`;


let service;
let browser;
before(async () => {
  service = await startServe(chenggu, '--quiet', '--web', webDir);
  service.base += '/';
  browser = await launch();
});
after(async () => {
  service?.close();
  await browser?.close();
});

// A page's head and chosen elements as a real HTML parser reads them.
async function parsed(html) {
  const page = await browser.newPage();
  try {
    return await page.evaluate((text) => {
      const d = new DOMParser().parseFromString(text, 'text/html');
      const meta = {};
      for (const m of d.querySelectorAll('meta')) {
        const key = m.getAttribute('property') ?? m.getAttribute('name') ?? m.getAttribute('itemprop');
        if (key) meta[`${m.hasAttribute('itemprop') ? 'itemprop:' : ''}${key}`] = m.getAttribute('content');
      }
      const attributes = [...d.querySelectorAll('*')].flatMap((e) => [...e.attributes].map((a) => [a.name, a.value]));
      return {
        title: d.title,
        meta,
        scripts: [...d.querySelectorAll('script')].map((s) => s.getAttribute('src')),
        handlers: attributes.filter(([name]) => name.startsWith('on')).length,
        scriptUrls: attributes.filter(([name, value]) => /^(href|src|content)$/.test(name) && /^\s*javascript:/i.test(value)).length,
        message: d.querySelector('#message')?.hidden === false ? d.querySelector('#message').textContent : null,
        headline: d.querySelector('#headline')?.textContent ?? '',
      };
    }, html);
  } finally {
    await page.close();
  }
}

// The preview picture at an absolute address: a PNG of 1200 × 630 under 300 KB; in Simplified
// characters, one that a Chinese OCR reads back as the total in words or the verse's first line.
async function checkPicture(url, reading, script) {
  assert.match(url, /^http:\/\/127\.0\.0\.1:\d+\/.*\.png$/);
  const response = await fetch(url);
  assert.equal(response.status, 200);
  const bytes = Buffer.from(await response.arrayBuffer());
  assert.ok(bytes.length < 300 * 1024, `${url}: ${bytes.length} bytes`);
  const png = pngjs.PNG.sync.read(bytes);
  assert.deepEqual([png.width, png.height], [1200, 630]);
  if (script === 'traditional') return;
  const file = path.join(os.tmpdir(), `chenggu-preview-${process.pid}.png`);
  fs.writeFileSync(file, bytes);
  const text = execFileSync('tesseract', [file, '-', '-l', 'chi_sim'], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] })
    .replace(/\s+/g, '');
  fs.rmSync(file);
  assert.ok(text.includes(reading.weightText) || text.includes(reading.verseLines[0]), `${url} read as ${text}`);
}

async function checkPreview(head, reading, script, pageUrl) {
  const title = `${script === 'traditional' ? '稱骨算命' : '称骨算命'}：${reading.weightText}`;
  const verse = reading.verseLines.join('');
  assert.equal(head.title, title);
  assert.equal(head.meta['og:title'], title);
  assert.equal(head.meta['og:description'], verse);
  assert.equal(head.meta.description, verse);
  assert.equal(head.meta['itemprop:name'], title);
  assert.equal(head.meta['itemprop:description'], verse);
  assert.equal(head.meta['twitter:card'], 'summary_large_image');
  assert.equal(head.meta['og:image:width'], '1200');
  assert.equal(head.meta['og:image:height'], '630');
  assert.equal(head.meta['og:url'], pageUrl);
  assert.equal(head.meta['itemprop:image'], head.meta['og:image']);
  assert.ok(head.meta['theme-color']);
}

test('chat apps\' crawlers find each link\'s reading, verse and picture, from chenggu serve', async () => {
  const cases = [{ date: '1990-01-30', period: '子' }, { date: '2024-02-04', time: '10:00', place: '北京', yearStart: 'spring' },
    { lunar: '2020-闰4-1', period: '晚子', leapMonth: 'split', script: 'traditional' }, randomCase(), randomCase()];
  const pictures = new Map();
  for (const [name, agent] of Object.entries(CRAWLERS)) {
    for (const c of cases) {
      const link = `${linkOf(c)}&from=singlemessage&isappinstalled=0`;
      const response = await fetch(`${service.base}${link}`, { headers: { 'User-Agent': agent } });
      assert.equal(response.status, 200);
      assert.match(response.headers.get('content-security-policy'), /script-src 'self' 'wasm-unsafe-eval'/);
      const head = await parsed(await response.text());
      const reading = nativeReading(c);
      // The card's link is the page's own parameters only.
      await checkPreview(head, reading, c.script, `${service.base}${linkOf(c)}`);
      assert.deepEqual(head.scripts, ['care.js', 'app.js'], name);
      pictures.set(head.meta['og:image'], [reading, c.script]);
      // Long-lived in caches, with a validator.
      const picture = await fetch(head.meta['og:image'], { method: 'HEAD' });
      assert.match(picture.headers.get('cache-control'), /max-age=\d{6,}/);
      assert.ok(picture.headers.get('etag'));
    }
  }
  for (const [url, [reading, script]] of pictures) await checkPicture(url, reading, script);
});

test('a static host\'s share pages preview their totals, and links to them carry the birth in the fragment', async () => {
  const site = fs.mkdtempSync(path.join(os.tmpdir(), 'chenggu-site-'));
  fs.cpSync(webDir, site, { recursive: true });
  const host = await serve(site);
  try {
    execFileSync('node', [path.join(root, 'web/previews.mjs'), 'pages', packageDir, site, host.url]);
    for (const [script, suffix] of [['simplified', ''], ['traditional', '-traditional']]) {
      for (const total of [21, 38, 42, 71]) {
        const pageUrl = `${host.url}share-${total}${suffix}.html`;
        const response = await fetch(pageUrl, { headers: { 'User-Agent': CRAWLERS.Twitterbot } });
        const head = await parsed(await response.text());
        const reading = { ...engine.preview({ totalWeight: total, script }), totalWeight: total };
        await checkPreview(head, reading, script, pageUrl);
        assert.match(head.headline.replace(/\s/g, ''), new RegExp(`${reading.weightText}.*${reading.verseLines[0]}`));
        if (total === 42) await checkPicture(head.meta['og:image'], reading, script);
      }
    }
    // The page opens a share link at its birth, and gives its own links in the same form.
    const page = await browser.newPage();
    await page.goto(`${host.url}share-46.html#date=1990-01-30&period=${encodeURIComponent('子')}`);
    await waitReady(page);
    assert.deepEqual(await shownFields(page), expectedFields(nativeReading({ date: '1990-01-30', period: '子' })));
    await page.select('#period', '午');
    const { totalWeight } = nativeReading({ date: '1990-01-30', period: '午' });
    await page.waitForFunction((total) => location.pathname.endsWith(`/share-${total}.html`), {}, totalWeight);
    assert.ok(decodeURIComponent(page.url()).endsWith(`share-${totalWeight}.html#date=1990-01-30&period=午`), page.url());
    await page.close();
  } finally {
    await host.close();
    fs.rmSync(site, { recursive: true });
  }
});

test('with script disabled the service\'s page shows the reading of chenggu --json', async () => {
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  for (let i = 0; i < 200; ++i) {
    const c = randomCase();
    await page.goto(`${service.base}${linkOf(c)}`);
    assert.deepEqual(await shownFields(page), expectedFields(nativeReading(c)), linkOf(c));
  }
  await page.close();
});

test('the engine takes the reading over unchanged, nothing moves, and the total and verse come first', async () => {
  const still = await browser.newPage();
  await still.setJavaScriptEnabled(false);
  const page = await browser.newPage();
  await page.setViewport({ width: 360, height: 740 });
  await still.setViewport({ width: 360, height: 740 });
  await page.evaluateOnNewDocument(() => {
    globalThis.shifted = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) if (!entry.hadRecentInput) globalThis.shifted += entry.value;
    }).observe({ type: 'layout-shift', buffered: true });
  });
  const text = (p) => p.evaluate(() => [document.querySelector('#headline').innerText, document.querySelector('#details').innerText]);
  const cases = [{ date: '2024-02-04', time: '10:00', place: '朝阳' }, { lunar: '2020-闰4-1', period: '晚子', script: 'traditional' },
    ...Array.from({ length: 18 }, randomCase)];
  for (const c of cases) {
    await still.goto(`${service.base}${linkOf(c)}`);
    await page.goto(`${service.base}${linkOf(c)}`);
    await waitReady(page);
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 200)));
    assert.deepEqual(await text(page), await text(still), linkOf(c));
    const shifted = await page.evaluate(() => globalThis.shifted);
    assert.ok(shifted < 0.01, `${linkOf(c)}: layout shift ${shifted}`);
    // On a phone the total and the verse are in view, above the form and the steps.
    const [headline, form] = await page.evaluate(() => ['#headline', '#birth'].map((s) => document.querySelector(s).getBoundingClientRect().toJSON()));
    assert.ok(headline.top >= 0 && headline.bottom <= 740 && headline.bottom <= form.top, linkOf(c));
  }
});

test('hostile link values are text wherever they stand, and the page runs only its own scripts', async () => {
  const values = ['<script>alert(1)</script>', '"><img src=x onerror=alert(1)>', "' onmouseover='alert(1)",
    'javascript:alert(1)', '\u0000\u0001\u0085\u2028\u009f', '&lt;b&gt;&amp;', '</title><script>x</script>',
    '-->\u003c!--', '哈'.repeat(5000), '%FF%FE', '\ud800'.slice(0, 1)];
  const today = new Date(Date.now() + 8 * 3600 * 1000).toISOString().slice(0, 16);
  for (const name of ['date', 'lunar', 'period', 'time', 'place', 'lon', 'zone', 'lateZi', 'solarTime', 'script', 'utm_source']) {
    for (const value of values) {
      const params = new URLSearchParams({ date: '1990-01-30', period: '子' });
      if (['time', 'place', 'lon', 'zone'].includes(name)) params.set('time', '12:00');
      if (name === 'lunar') params.delete('date');
      params.set(name, value);
      const link = `?${params}`;
      const response = await fetch(`${service.base}${link}`);
      assert.equal(response.status, 200, link);
      const html = await response.text();
      const page = await parsed(html);
      assert.deepEqual(page.scripts, ['care.js', 'app.js'], link);
      assert.equal(page.handlers, 0, link);
      assert.equal(page.scriptUrls, 0, link);
      // The message is the engine's, as text: what the page itself says for the same link.
      const expected = engine.link({ link, today, script: 'simplified' }).message;
      const shown = expected?.replace(/[\u0000-\u0008\u000b-\u001f\u007f-\u009f]/g, '\ufffd') ?? null;
      assert.equal(page.message, shown, link);
      if (name === 'utm_source') assert.ok(!html.includes(value.slice(0, 20)), `${link}: an unknown parameter is written nowhere`);
    }
  }
});
