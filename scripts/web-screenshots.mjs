// Takes the README's pictures of the web page: docs/web-desktop.png and docs/web-phone.png.
// Usage: node scripts/web-screenshots.mjs WEB_DIR OUTPUT_DIR
import { launch, serve, waitReady } from '../tests/web/harness.mjs';

const [webDir, outputDir] = process.argv.slice(2);
const server = await serve(webDir);
const browser = await launch();
try {
  const page = await browser.newPage();
  const shots = [
    ['web-desktop.png', { width: 1000, height: 1000, deviceScaleFactor: 1 }, '?date=1990-07-15&time=01:00&place=乌鲁木齐'],
    ['web-phone.png', { width: 360, height: 780, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
      '?lunar=2020-闰4-16&period=午&leapMonth=split'],
  ];
  for (const [file, viewport, address] of shots) {
    await page.setViewport(viewport);
    await page.goto(server.url + address);
    await waitReady(page);
    await page.screenshot({ path: `${outputDir}/${file}`, fullPage: true });
  }
} finally {
  await browser.close();
  await server.close();
}
