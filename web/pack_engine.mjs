// Carries the engine's WebAssembly in the page as a string of its bytes rather than base64:
// each byte one character (two bytes of UTF-8 above 127), so that gzip finds the same
// repeats as in the binary, and the first visit downloads about a seventh less. The page
// keeps working from disk, where a separate .wasm file could not be fetched.
// Usage: node web/pack_engine.mjs ENGINE.mjs OUTPUT.mjs
import { readFileSync, writeFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';

const [input, output] = process.argv.slice(2);
const engine = readFileSync(input, 'utf8');
const inline = /wasmBinaryFile="data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/;
const found = inline.exec(engine);
const moduleLine = 'var Module=typeof createEngine!="undefined"?createEngine:{}';
if (!found || !engine.includes(moduleLine)) {
  console.error(`${input}: emscripten's loader is not the one this step knows`);
  process.exit(1);
}
// Escaped for a string in an inline <script>: the quote, the backslash, line ends (which HTML
// would also fold), NUL, and < (so that no </script or <!-- can appear).
const escapes = { 0: '\\x00', 10: '\\n', 13: '\\r', 34: '\\"', 60: '\\x3c', 92: '\\\\' };
const wasm = Buffer.from(found[1], 'base64');
const shifted = (shift, bytes = wasm) => {
  let text = '';
  for (const byte of bytes) {
    const code = (byte + shift) & 255;
    text += escapes[code] ?? String.fromCharCode(code);
  }
  return text;
};
// Each byte moved by the shift that compresses best (the commonest bytes onto characters of
// one byte and no escape): some 4 % less than the bytes as they are. Every shift is tried on
// sixteen pieces of 4 KiB from all through the module, and the best eight on the whole.
const size = (bytes, shift) => gzipSync(Buffer.from(shifted(shift, bytes)), { level: 9 }).length;
const step = Math.max(4096, Math.floor(wasm.length / 16));
const sample = Buffer.concat(Array.from({ length: Math.ceil(wasm.length / step) },
  (_, i) => wasm.subarray(i * step, i * step + 4096)));
const candidates = Array.from({ length: 256 }, (_, shift) => ({ shift, size: size(sample, shift) }))
  .sort((a, b) => a.size - b.size).slice(0, 8);
const best = candidates.map(({ shift }) => ({ shift, size: size(wasm, shift) }))
  .sort((a, b) => a.size - b.size)[0];
// Decoded by a plain loop: a callback per byte (Uint8Array.from) takes ten times as long.
const bytes = 'Module["wasmBinary"]??=(s=>{const b=new Uint8Array(s.length);' +
  `for(let i=0;i<s.length;i++)b[i]=s.charCodeAt(i)-${best.shift}&255;return b})` +
  `("${shifted(best.shift)}")`;
// Replaced by functions: the bytes may hold $& and the like, which a replacement string reads.
writeFileSync(output, engine.replace(found[0], () => 'wasmBinaryFile="data:,"')
  .replace(moduleLine, () => `${moduleLine};${bytes}`));
