// Figures of the web page in headless Chromium on this machine: the bytes a first visit
// transfers (and their gzip-compressed size), the time from navigation to the first
// reading, each load in a new browser with a new profile, against an empty page served the
// same way (as is, and with the CPU slowed four times, as on a phone), and the time from a
// pick in a list to the new reading; and a shared link as chenggu serve sends it, with its
// reading in the page: the time to its first contentful paint, against an empty page of one
// character sent by the same server.
// Usage: node bench/web.mjs WEB_DIR [RUNS] [CHENGGU]
import { gzipSync } from 'node:zlib';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { startServe } from '../tests/chenggu_serve.mjs';
import { launch, serve, waitReady } from '../tests/web/harness.mjs';


const [webDir, runsText = '7', chenggu = 'build/native/cli/chenggu'] = process.argv.slice(2);
const runs = Number(runsText);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

// The empty page marks its "first reading" as soon as its one script runs; so does the page's
// own HTML and style without its scripts (the page laid out with nothing read), which shows
// what the document alone costs, its Chinese fonts among it.
const emptyDir = mkdtempSync(join(tmpdir(), 'empty-page-'));
const staticDir = mkdtempSync(join(tmpdir(), 'static-page-'));
const marking = '<script type="module">performance.mark("first-reading")</script>';
writeFileSync(join(emptyDir, 'index.html'), `<!doctype html><meta charset="utf-8"><title>空</title>${marking}`);
writeFileSync(join(staticDir, 'index.html'), readFileSync(join(webDir, 'index.html'), 'utf8')
  .replace(/<link rel="preload" href="engine.js" as="script">\s*<script src="app.js" defer><\/script>/, marking)
  .replace(/<meta http-equiv="Content-Security-Policy"[^>]*>/, '')
  .replace('<body data-state="loading">', '<body data-state="ready">'));
const server = await serve(webDir);
const empty = await serve(emptyDir);
const bare = await serve(staticDir);
// The same two pages sent by chenggu serve: a shared link with its reading in the page, and
// an empty page of one character (a contentful paint needs text).
const paintDir = mkdtempSync(join(tmpdir(), 'paint-page-'));
writeFileSync(join(paintDir, 'index.html'), '<!doctype html><meta charset="utf-8"><title>空</title><p>空</p>');
const service = await startServe(chenggu, '--quiet', '--web', webDir);
service.url = `${service.base}/`;
const emptyService = await startServe(chenggu, '--quiet', '--web', paintDir);
emptyService.url = `${emptyService.base}/`;
try {
  // Navigation to the first reading, in a new browser with a new profile each time: right
  // after the browser has started, and once it has finished starting (a second later), so
  // that the page's own time shows apart from the browser's start-up.
  const loadTimes = async (at, settleMs, slowdown = 1) => {
    const times = [];
    for (let i = 0; i < runs; i++) {
      const browser = await launch();
      const [page] = await browser.pages();
      await new Promise((resolve) => setTimeout(resolve, settleMs));
      const cdp = await page.createCDPSession();
      await cdp.send('Emulation.setCPUThrottlingRate', { rate: slowdown });
      await page.goto(`${at.url}?date=1990-01-30&period=子`);
      await page.waitForFunction(() => performance.getEntriesByName('first-reading').length > 0);
      times.push(await page.evaluate(() => performance.getEntriesByName('first-reading')[0].startTime));
      await browser.close();
    }
    return times;
  };
  const cold = await loadTimes(server, 0);
  const coldSlowed = await loadTimes(server, 0, 4);
  const settled = await loadTimes(server, 1000);
  const slowed = await loadTimes(server, 1000, 4);
  const emptyCold = await loadTimes(empty, 0);
  const emptyColdSlowed = await loadTimes(empty, 0, 4);
  const emptySettled = await loadTimes(empty, 1000);
  const emptySlowed = await loadTimes(empty, 1000, 4);
  const bareColdSlowed = await loadTimes(bare, 0, 4);
  const bareSlowed = await loadTimes(bare, 1000, 4);

  // Navigation to the first contentful paint of a shared link from chenggu serve (its reading
  // is in the page's HTML, shown by its style alone).
  const paintOf = async (at, settleMs, slowdown) => {
    const browser = await launch();
    const [page] = await browser.pages();
    await new Promise((resolve) => setTimeout(resolve, settleMs));
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: slowdown });
    await page.goto(`${at.url}?date=2024-02-04&time=10:00&place=${encodeURIComponent('北京')}`);
    await page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length > 0);
    const times = await page.evaluate(() => ({ fcp: performance.getEntriesByName('first-contentful-paint')[0].startTime }));
    await browser.close();
    return times;
  };
  // The shared link and the empty page in turn, so that the machine's drift falls on both.
  const paintTimes = async (settleMs, slowdown) => {
    const shared = [];
    const emptied = [];
    for (let i = 0; i < runs; i++) {
      shared.push(await paintOf(service, settleMs, slowdown));
      emptied.push(await paintOf(emptyService, settleMs, slowdown));
    }
    return [shared, emptied];
  };
  const [sharedPaints, emptyPaints] = await paintTimes(0, 4);
  const [sharedSettledPaints, emptySettledPaints] = await paintTimes(1000, 4);

  // What one visit asked for, raw and gzip-compressed.
  const first = new Set();
  for (const request of server.requests) first.add(request.path.replace(/^\/chenggu\//, '') || 'index.html');
  let raw = 0;
  let gzip = 0;
  const files = [];
  for (const file of first) {
    const bytes = readFileSync(join(webDir, file));
    const packed = gzipSync(bytes, { level: 9 }).length;
    raw += bytes.length;
    gzip += packed;
    files.push(`${file} ${bytes.length} B (${packed} B gzip)`);
  }

  // A pick: the change event's handler up to the new reading in the page, then to the
  // next frame.
  const browser = await launch();
  const page = await browser.newPage();
  await page.goto(`${server.url}?date=1990-01-30&period=子`);
  await waitReady(page);
  const picks = await page.evaluate(async (count) => {
    const handler = [];
    const frame = [];
    const day = document.getElementById('day');
    for (let i = 0; i < count; i++) {
      const start = performance.now();
      day.value = String((i % 28) + 1);
      day.dispatchEvent(new Event('change', { bubbles: true }));
      handler.push(performance.now() - start);
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
      frame.push(performance.now() - start);
    }
    return { handler, frame };
  }, 101);
  await browser.close();

  console.log(`first visit: ${files.join(', ')}`);
  console.log(`first visit in all: ${(raw / 1024).toFixed(1)} KiB, ${(gzip / 1024).toFixed(1)} KiB gzip-compressed`);
  const pairs = [['right after start', cold, emptyCold], ['right after start, CPU slowed 4×', coldSlowed, emptyColdSlowed],
    ['once started', settled, emptySettled], ['once started, CPU slowed 4×', slowed, emptySlowed],
    ['the page without its scripts, right after start, CPU slowed 4×', bareColdSlowed, emptyColdSlowed],
    ['the page without its scripts, once started, CPU slowed 4×', bareSlowed, emptySlowed]];
  for (const [what, loads, emptyLoads] of pairs) {
    console.log(`navigation to first reading, ${runs} new browsers, ${what}: ` +
      `median ${ms(median(loads))} (min ${ms(Math.min(...loads))}); empty page ${ms(median(emptyLoads))}: ` +
      `${(median(loads) / median(emptyLoads)).toFixed(2)}×`);
  }
  for (const [what, shared, emptied] of [['right after start', sharedPaints, emptyPaints],
    ['once started', sharedSettledPaints, emptySettledPaints]]) {
    const fcp = median(shared.map((t) => t.fcp));
    const emptyFcp = median(emptied.map((t) => t.fcp));
    console.log(`shared link from chenggu serve, ${runs} new browsers, ${what}, CPU slowed 4×: first contentful ` +
      `paint ${ms(fcp)} (min ${ms(Math.min(...shared.map((t) => t.fcp)))}); empty page ${ms(emptyFcp)}: ` +
      `${(fcp / emptyFcp).toFixed(2)}×`);
  }
  console.log(`pick to new reading (${picks.handler.length} picks): median ${ms(median(picks.handler))}, ` +
    `to the next frame ${ms(median(picks.frame))}`);
} finally {
  await server.close();
  await empty.close();
  await bare.close();
  service.close();
  emptyService.close();
  rmSync(paintDir, { recursive: true });
  rmSync(emptyDir, { recursive: true });
  rmSync(staticDir, { recursive: true });
}
