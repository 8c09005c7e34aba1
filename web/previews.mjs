// What a link to the page previews as, made when the page is built:
//   node previews.mjs pictures PACKAGE SITE
//     the preview picture of every total in both scripts (SITE/preview/42.png,
//     42-traditional.png), drawn by the page's own picture code (picture.mjs) in Debian's
//     Chromium, with the engine's words for each total (the npm package at PACKAGE), as
//     8-bit palettes;
//   node previews.mjs pages PACKAGE SITE PUBLIC_URL
//     for a static host at PUBLIC_URL: a share page per total and script (SITE/share-42.html,
//     share-42-traditional.html), the page itself with that total's title, description and
//     picture in its head and its total and verse shown before any script runs; and the page
//     told (meta share-pages) to give links to them.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const [what, packageFolder, site, publicUrl] = process.argv.slice(2);
const chenggu = await import(pathToFileURL(path.join(packageFolder, 'chenggu.mjs')).href);
const here = path.dirname(fileURLToPath(import.meta.url));
const SCRIPTS = ['simplified', 'traditional'];
const TOTALS = Array.from({ length: 52 }, (_, i) => 21 + i);  // every total with a verse
const suffix = (script) => (script === 'traditional' ? '-traditional' : '');

// The page's fonts, as its style sheet names them for each script.
function fontsOf(script) {
  const css = fs.readFileSync(path.join(here, 'style.css'), 'utf8');
  const rule = script === 'traditional' ? /:root:lang\(zh-Hant\)\s*\{[^}]*font-family:([^;]+);/ : /:root\s*\{[^}]*font-family:([^;]+);/;
  return rule.exec(css)[1].replace(/\s+/g, ' ').trim();
}

async function pictures() {
  const { default: puppeteer } = await import('puppeteer-core');
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await browser.newPage();
    await page.setContent('<!doctype html><meta charset="utf-8"><body></body>');
    const picture = fs.readFileSync(path.join(here, 'picture.mjs'), 'utf8').replace(/^export /gm, '');
    await page.addScriptTag({ content: picture });
    fs.mkdirSync(path.join(site, 'preview'), { recursive: true });
    for (const script of SCRIPTS) {
      const items = TOTALS.map((totalWeight) => {
        const preview = chenggu.preview({ totalWeight, script });
        return { file: preview.picture, font: fontsOf(script), name: preview.name,
          weightText: preview.weightText, total: preview.totalText, verseLines: preview.verseLines };
      });
      const drawn = await page.evaluate(async (list) => {
        await document.fonts.ready;
        return list.map((item) => {
          const canvas = document.createElement('canvas');
          drawPreview(canvas, item);  // eslint-disable-line no-undef
          return canvas.toDataURL('image/png');
        });
      }, items);
      drawn.forEach((url, i) => {
        // As a palette of 64 (paper, ink, accent and their blends at the edges of strokes):
        // a quarter of the size, the same to the eye (ImageMagick, Debian's imagemagick).
        const file = path.join(site, items[i].file);
        fs.writeFileSync(file, Buffer.from(url.split(',')[1], 'base64'));
        execFileSync('/usr/bin/convert', [file, '-colors', '64', '-define', 'png:exclude-chunks=date,time',
          '-strip', `PNG8:${file}`]);
      });
    }
  } finally {
    await browser.close();
  }
}

function pages() {
  const base = new URL(publicUrl.endsWith('/') ? publicUrl : `${publicUrl}/`);
  const indexFile = path.join(site, 'index.html');
  const page = fs.readFileSync(indexFile, 'utf8').replace('<meta name="share-pages" content="">',
    `<meta name="share-pages" content="${base.href.replace(/"/g, '&quot;')}">`);
  fs.writeFileSync(indexFile, page);
  for (const script of SCRIPTS) {
    for (const totalWeight of TOTALS) {
      const name = `share-${totalWeight}${suffix(script)}.html`;
      const preview = chenggu.preview({ totalWeight, script, pageUrl: new URL(name, base).href,
        imageUrl: new URL(`preview/${totalWeight}${suffix(script)}.png`, base).href });
      let html = page.replace(/<!--preview-->[\s\S]*<!--\/preview-->/, preview.head)
        .replace('<!--headline-->', preview.headline)
        .replace('<body data-state="loading">', '<body data-state="headline">');
      if (script === 'traditional') html = html.replace('<html lang="zh-CN">', '<html lang="zh-Hant">');
      fs.writeFileSync(path.join(site, name), html);
    }
  }
}

if (what === 'pictures') await pictures();
else if (what === 'pages') pages();
else throw new Error('usage: node previews.mjs pictures PACKAGE SITE | pages PACKAGE SITE PUBLIC_URL');
