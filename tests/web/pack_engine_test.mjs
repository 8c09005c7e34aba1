// The page's engines as the page gets them: the WebAssembly each carries as a string of its
// bytes decodes to the very module emscripten built (every byte value, escapes and shift
// included), and a first visit stays within 100 KiB gzip-compressed.
// Usage: node tests/web/pack_engine_test.mjs WEB_DIR CORE_ENGINE.mjs WHOLE_ENGINE.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

const [webDir, coreEngine, wholeEngine] = process.argv.slice(2);

const built = (engine) => Buffer.from(
  /data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/.exec(readFileSync(engine, 'utf8'))[1], 'base64');

// The module the page's script hands to the engine: its Module["wasmBinary"] expression,
// evaluated as the browser would.
const carried = (script) => {
  const at = script.indexOf('Module["wasmBinary"]??=');
  assert.ok(at >= 0, 'the script carries its module');
  // The string ends at the first quote no backslash escapes.
  let end = script.indexOf('("', at) + 2;
  while (script[end] !== '"') end += script[end] === '\\' ? 2 : 1;
  const Module = {};
  new Function('Module', `${script.slice(at, end + 1)})`)(Module);
  return Buffer.from(Module.wasmBinary);
};

test('each engine carries the module emscripten built, byte for byte', () => {
  for (const [file, engine] of [['engine.js', coreEngine], ['birthplace.js', wholeEngine]]) {
    const wasm = built(engine);
    assert.ok(new Set(wasm).size === 256, `${engine} holds every byte value`);
    assert.ok(carried(readFileSync(join(webDir, file), 'utf8')).equals(wasm), file);
  }
});

test('a first visit is within 100 KiB gzip-compressed', () => {
  const files = ['index.html', 'care.js', 'app.js', 'engine.js', 'manifest.webmanifest', 'sw.js', 'icon-192.png', 'icon-512.png'];
  const size = files.reduce((sum, file) => sum + gzipSync(readFileSync(join(webDir, file)), { level: 9 }).length, 0);
  assert.ok(size <= 100 * 1024, `${size} bytes`);
});
