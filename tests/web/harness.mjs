// What the browser test and the web figures share: a static file server that records every
// request, and Debian's Chromium started the way this machine needs it.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves root on 127.0.0.1 under the path prefix (so that the page is tested away from
// the server's root, as any host may put it). Returns {url, requests, close}.
export async function serve(root, prefix = '/chenggu/') {
  const requests = [];
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    let status = 404;
    let body = 'not found';
    let type = 'text/plain';
    if (path.startsWith(prefix)) {
      const file = normalize(join(root, path.slice(prefix.length) || 'index.html'));
      try {
        body = await readFile(file.startsWith(normalize(root)) ? file : '/nonexistent');
        status = 200;
        type = TYPES[extname(file)] ?? 'application/octet-stream';
      } catch {
        // stays 404
      }
    }
    requests.push({ path, status, bytes: body.length });
    response.writeHead(status, { 'content-type': type, 'cache-control': 'no-store' });
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}${prefix}`,
    requests,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

// A headless Chromium with a new, empty profile. Without the background-networking flags
// it keeps trying hosts this machine cannot reach.
export function launch() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// Everything the page shows through data-field/data-value, by field name.
export function shownFields(page) {
  return page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll('[data-field]')].map((e) => [e.dataset.field, e.dataset.value])));
}

// What the page must show for a reading of chenggu --json.
export function expectedFields(r) {
  const fields = Object.fromEntries(['lunarYear', 'lunarMonth', 'lunarDay', 'leapMonth', 'yearWeight',
    'monthWeight', 'dayWeight', 'periodWeight', 'totalWeight'].map((name) => [name, JSON.stringify(r[name])]));
  for (const name of ['yearStemBranch', 'monthStemBranch', 'dayStemBranch', 'periodBranch', 'periodStemBranch',
    'weighedYearStemBranch', 'weightText', 'verseExplanation']) {
    fields[name] = r[name];
  }
  fields.verse = r.verseLines.join('\n');
  fields.alternatives = JSON.stringify(r.alternatives.map((a) =>
    ({ conventions: a.conventions, totalWeight: a.totalWeight })));
  fields.birthTime = r.birthTime ? JSON.stringify(r.birthTime) : '';
  fields.solarTerm = r.solarTerm ? JSON.stringify(r.solarTerm) : '';
  return fields;
}

// The lists too narrow for the value they show: a copy of each at its own width is wider.
export function listsCut(page) {
  return page.evaluate(() => [...document.querySelectorAll('select')].filter((s) => {
    const copy = s.cloneNode(true);
    copy.removeAttribute('id');
    copy.style.cssText = 'position: absolute; width: auto; min-width: 0; visibility: hidden';
    copy.value = s.value;
    s.parentElement.append(copy);
    const need = copy.getBoundingClientRect().width;
    copy.remove();
    return s.getBoundingClientRect().width + 0.5 < need;
  }).map((s) => `#${s.id} ${s.getBoundingClientRect().width.toFixed(0)} px`));
}

export async function waitReady(page) {
  await page.waitForSelector('body[data-state="ready"]', { timeout: 10000 });
}
