// Measures the painter's page in headless Chromium (figures, no verdicts):
// module size, time to the first frame, CPU while halted and idle, and the
// time of one frame with 500 flakes drawn by the library against the same
// primitives drawn with the browser's own 2D canvas.
//   node measure_web.mjs SITE_DIR PALETTE_CPP
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const site = path.resolve(process.argv[2] || '.');
const paletteSource = fs.readFileSync(process.argv[3], 'utf8');
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.ttf': 'font/ttf',
               '.scr': 'text/plain'};
const median = a => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
const sleep = ms => new Promise(r => setTimeout(r, ms));

// The palette's names and colours, read from the library's own table.
const colors = [...paletteSource.matchAll(/rgb\((\d+), (\d+), (\d+)\)/g)].map(m => `rgb(${m[1]},${m[2]},${m[3]})`);
const names = [...paletteSource.split('color_names')[1].matchAll(/"([^"]+)"/g)].map(m => m[1]);
const palette = Object.fromEntries(names.map((n, i) => [n, colors[i]]));

const server = http.createServer((req, res) => {
  const file = path.join(site, path.normalize(new URL(req.url, 'http://127.0.0.1').pathname));
  fs.readFile(file, (err, data) => {
    if (err || !file.startsWith(site)) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
    res.end(data);
  });
});
await new Promise(r => server.listen(0, '127.0.0.1', r));
const base = `http://127.0.0.1:${server.address().port}`;
const profile = fs.mkdtempSync('/tmp/zemka-web-measure-');
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});

const size = f => fs.statSync(path.join(site, f)).size;
const parts = ['weather-painter.wasm', 'zemka_page.js', 'zemka_worker.js'];
console.log(`${parts.join(' + ')}: ${parts.map(size).join(' + ')} = ${parts.map(size).reduce((a, b) => a + b)} bytes`);

// First frame: from the start of navigation to the first picture shown.
const firsts = [];
for (let i = 0; i < 5; ++i) {
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(() => {
    Object.defineProperty(window, '__zemkaFirst', {value: {t: 0}, writable: true});
    const original = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function(...args) {
      if (!window.__zemkaFirst.t) window.__zemkaFirst.t = performance.now();
      return original.apply(this, args);
    };
  });
  await page.goto(`${base}/weather-painter.html`);
  for (let k = 0; k < 200 && !(await page.evaluate(() => window.__zemkaFirst.t)); ++k) await sleep(25);
  firsts.push(await page.evaluate(() => window.__zemkaFirst.t));
  await page.close();
}
console.log(`first frame after navigation start: median ${median(firsts).toFixed(0)} ms of ${firsts.map(t => t.toFixed(0)).join(', ')}`);

// The browser's own idle CPU with a blank page, to compare with.
const blank = await browser.newPage();
await blank.goto('about:blank');
await sleep(1000);
console.log(`CPU with a blank page, by process: ${await cpuOver(10)}`);
await blank.close();
const page = await browser.newPage();
await page.setViewport({width: 900, height: 1200});
// A frame stepped with Ctrl+F is drawn at the next timer tick: its time
// runs from that tick to the picture on the page.
await page.evaluateOnNewDocument(() => {
  window.__frame = {armed: false, times: []};
  window.__lastTick = 0;
  const setIntervalOriginal = window.setInterval;
  window.setInterval = (fn, ms) => setIntervalOriginal(() => { window.__lastTick = performance.now(); fn(); }, ms);
  const original = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function(...args) {
    const r = original.apply(this, args);
    if (window.__frame.armed && this.canvas.closest('.zemka-drawing')) {
      this.getImageData(0, 0, 1, 1);
      window.__frame.times.push(performance.now() - window.__lastTick);
      window.__frame.armed = false;
    }
    return r;
  };
});
const logLines = [];
page.on('console', m => logLines.push(m.text()));
await page.goto(`${base}/weather-painter.html?echo=1`);
await page.waitForSelector('.zemka-drawing canvas');
await sleep(500);
const origin = await page.evaluate(() => {
  const r = document.querySelector('.zemka-drawing canvas').getBoundingClientRect();
  return {x: r.left, y: r.top};
});
const click = (x, y) => page.mouse.click(origin.x + 300 + x + 0.5, origin.y + 250 - y + 0.5);
const ctrl = async key => {
  await page.keyboard.down('Control');
  await page.keyboard.press(key);
  await page.keyboard.up('Control');
};
await click(-250, 195);  // Snow
await ctrl('KeyH');
await click(-250, 90);  // Blue

// CPU of the whole browser (every process) while the page is halted.
function browserTicks() {
  const root = browser.process().pid;
  const stats = fs.readdirSync('/proc').filter(d => /^\d+$/.test(d)).map(pid => {
    try {
      const f = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
      return {pid: +pid, ppid: +f[1], ticks: +f[11] + +f[12]};
    } catch { return null; }
  }).filter(Boolean);
  const tree = new Set([root]);
  for (let grown = true; grown;) {
    grown = false;
    for (const s of stats) if (!tree.has(s.pid) && tree.has(s.ppid)) { tree.add(s.pid); grown = true; }
  }
  const kind = pid => {
    try {
      return (/--type=([a-z-]+)/.exec(fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8')) || [, 'browser'])[1];
    } catch { return 'gone'; }
  };
  const byKind = {};
  for (const s of stats.filter(s => tree.has(s.pid))) byKind[kind(s.pid)] = (byKind[kind(s.pid)] || 0) + s.ticks;
  return byKind;
}
async function cpuOver(seconds) {
  const before = browserTicks();
  await sleep(seconds * 1000);
  const after = browserTicks();
  return Object.keys(after).map(k => `${k} ${((after[k] - (before[k] || 0)) / seconds).toFixed(1)} %`).join(', ');
}
await sleep(1000);
console.log(`CPU while the painter is halted and idle, by process: ${await cpuOver(10)}`);

// 500 flakes over the picture, then single frames.
for (let i = 0; i < 500; ++i) await click(-180 + (i * 37) % 460, -150 + (i * 53) % 390);
await sleep(500);
const libraryTimes = [];
for (let i = 0; i < 7; ++i) {
  await page.evaluate(() => { window.__frame.armed = true; });
  await ctrl('KeyF');
  for (let k = 0; k < 200 && (await page.evaluate(() => window.__frame.armed)); ++k) await sleep(10);
  await sleep(150);
}
libraryTimes.push(...await page.evaluate(() => window.__frame.times));

// The same frame's primitives, from the log lines of one frame.
await ctrl('KeyL');
await sleep(300);
logLines.length = 0;
await ctrl('KeyF');
await sleep(1500);
await ctrl('KeyL');
const frame = logLines.filter(l => / (pixel|circle|triangle|rectangle|oval|line|text) /.test(l));
const canvasTimes = await page.evaluate((lines, palette) => {
  const c = document.createElement('canvas');
  c.width = 600;
  c.height = 500;
  const ctx = c.getContext('2d');
  const X = x => 300 + x, Y = y => 250 - y;
  const nums = s => (s.match(/-?\d+/g) || []).map(Number);
  const ops = lines.map(line => {
    const color = palette[line.split(' ')[0]] || '#000';
    const n = nums(line);
    if (line.includes(' pixel at ')) return () => { ctx.fillStyle = color; ctx.fillRect(X(n[0]), Y(n[1]), 1, 1); };
    if (line.includes(' circle at ')) return () => {
      ctx.fillStyle = color; ctx.beginPath(); ctx.arc(X(n[0]), Y(n[1]), n[2], 0, 2 * Math.PI); ctx.fill();
    };
    if (line.includes(' triangle at ')) return () => {
      ctx.fillStyle = color; ctx.beginPath(); ctx.moveTo(X(n[0]), Y(n[1])); ctx.lineTo(X(n[2]), Y(n[3]));
      ctx.lineTo(X(n[4]), Y(n[5])); ctx.closePath(); ctx.fill();
    };
    if (line.includes(' rectangle ') || line.includes(' oval ')) {
      const oval = line.includes(' oval '), filled = line.includes('filled');
      return () => {
        const l = X(Math.min(n[0], n[2])), t = Y(Math.max(n[1], n[3]));
        const w = Math.abs(n[2] - n[0]), h = Math.abs(n[3] - n[1]);
        ctx.beginPath();
        if (oval) ctx.ellipse(l + w / 2, t + h / 2, w / 2, h / 2, 0, 0, 2 * Math.PI); else ctx.rect(l, t, w, h);
        if (filled) { ctx.fillStyle = color; ctx.fill(); } else { ctx.strokeStyle = color; ctx.lineWidth = n[4] || 1; ctx.stroke(); }
      };
    }
    if (line.includes(' line from ')) return () => {
      ctx.strokeStyle = color; ctx.lineWidth = n[4] || 1; ctx.beginPath(); ctx.moveTo(X(n[0]), Y(n[1]));
      ctx.lineTo(X(n[2]), Y(n[3])); ctx.stroke();
    };
    const text = (line.match(/"(.*)"/) || [, ''])[1];
    return () => { ctx.fillStyle = color; ctx.font = '12px "DejaVu Sans"'; ctx.fillText(text, X(n[0]), Y(n[1]) + 12); };
  });
  const times = [];
  for (let i = 0; i < 7; ++i) {
    const start = performance.now();
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, 600, 500);
    for (const op of ops) op();
    ctx.getImageData(0, 0, 1, 1);
    times.push(performance.now() - start);
  }
  return times;
}, frame, palette);
console.log(`one frame with 500 flakes (${frame.length} primitives):`);
console.log(`  the library in wasm, from the timer tick to the picture on the page: median ${median(libraryTimes).toFixed(2)} ms of ${libraryTimes.map(t => t.toFixed(1)).join(', ')}`);
console.log(`  the browser's 2D canvas, the same primitives: median ${median(canvasTimes).toFixed(2)} ms of ${canvasTimes.map(t => t.toFixed(1)).join(', ')}`);
await browser.close();
server.close();
fs.rmSync(profile, {recursive: true, force: true});
