// The pictures of a reading, in one look (the page's paper, ink and accent, its fonts, lines
// laid out from the top left): the share picture the page draws (the whole reading and a QR
// code of its link; the page loads this code as picture.js on first use) and the preview
// pictures of the totals that chat apps show for a link, drawn from this same code when the
// page is built (web/previews.mjs).

export const COLOURS = { paper: '#fbf8f3', ink: '#1f1a17', muted: '#6b625b', accent: '#9b2c1f', line: '#ddd3c7' };
const LINE_HEIGHT = 1.35;

// Text in lines no wider than width, broken between characters (Chinese has no spaces).
function wrapped(context, text, width) {
  const lines = [];
  let line = '';
  for (const character of text) {
    if (context.measureText(line + character).width > width && line) {
      lines.push(line);
      line = '';
    }
    line += character;
  }
  return line ? [...lines, line] : lines;
}

// Blocks of text ({text, size, colour, gap before, wrap}) as lines [text, size, colour, gap]
// no wider than width.
function layOut(context, font, blocks, width) {
  return blocks.flatMap(({ text, size, colour = 'ink', gap = 0, wrap = false }) => {
    context.font = `${size}px ${font}`;
    const lines = wrap ? wrapped(context, text, width) : [text];
    return lines.map((line, i) => [line, size, COLOURS[colour], i ? Math.round(size / 5) : gap]);
  });
}

const heightOf = (lines) => lines.reduce((sum, [, size, , gap]) => sum + size * LINE_HEIGHT + gap, 0);

function paintLines(context, font, lines, left, top) {
  context.textBaseline = 'top';
  for (const [text, size, colour, gap] of lines) {
    top += gap;
    context.font = `${size}px ${font}`;
    context.fillStyle = colour;
    context.fillText(text, left, top);
    top += size * LINE_HEIGHT;
  }
  return top;
}

function paper(canvas, width, height, scale) {
  canvas.width = width * scale;
  canvas.height = Math.ceil(height) * scale;
  const context = canvas.getContext('2d');
  context.scale(scale, scale);
  context.fillStyle = COLOURS.paper;
  context.fillRect(0, 0, width, height);
  return context;
}

// The share picture: the reading's blocks, then the QR code of its link (qr: a
// qrcode-generator code) with its caption; 540 wide, as tall as it needs, at twice the size.
export function drawShare(canvas, { font, blocks, qr, caption }) {
  const width = 540;
  const margin = 40;
  const measure = canvas.getContext('2d');
  const lines = layOut(measure, font, blocks, width - 2 * margin);
  const modules = qr.getModuleCount();
  const cell = Math.max(2, Math.floor(150 / modules));
  const qrSize = cell * (modules + 8);  // a quiet zone of four modules
  const context = paper(canvas, width, margin + heightOf(lines) + 24 + qrSize + margin, 2);
  const top = paintLines(context, font, lines, margin, margin) + 24;
  context.fillStyle = '#fff';
  context.fillRect(margin, top, qrSize, qrSize);
  context.fillStyle = '#000';
  for (let row = 0; row < modules; row++) {
    for (let column = 0; column < modules; column++) {
      if (qr.isDark(row, column)) context.fillRect(margin + (column + 4) * cell, top + (row + 4) * cell, cell, cell);
    }
  }
  paintLines(context, font, [[caption, 16, COLOURS.muted, 0]], margin + 20 + qrSize, top + qrSize / 2 - 11);
}

// The preview picture of a total as a link shows it: the page's name, the total in words and
// its verse, 1200 × 630 (the 1.91:1 of link cards), the text centred top to bottom.
export function drawPreview(canvas, { font, name, weightText, total, verseLines }) {
  const width = 1200;
  const height = 630;
  const margin = 80;
  const context = paper(canvas, width, height, 1);
  const lines = layOut(context, font, [
    { text: name, size: 44, colour: 'accent' },
    { text: weightText, size: 120, colour: 'accent', gap: 18 },
    { text: total, size: 36, colour: 'muted', gap: 4 },
    ...verseLines.map((line, i) => ({ text: line, size: 54, gap: i ? 8 : 40, wrap: true })),
  ], width - 2 * margin - 24);
  context.fillStyle = COLOURS.accent;
  context.fillRect(margin - 28, (height - heightOf(lines)) / 2, 8, heightOf(lines));
  paintLines(context, font, lines, margin, (height - heightOf(lines)) / 2);
}
