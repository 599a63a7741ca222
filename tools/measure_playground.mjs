// Measures the playground in headless Chromium with a fresh profile
// (figures, no verdicts): the time from navigation to the first Run's
// 'running' (the toolchain fetched from 127.0.0.1), the time of a second
// Run of a 100-line program after an edit, and the bytes served on the
// first visit.
//   node tools/measure_playground.mjs SITE_DIR
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const puppeteer = (await import(new URL('../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js',
                                        import.meta.url))).default;
const site = path.resolve(process.argv[2] || '.');
if (!fs.existsSync(path.join(site, 'playground/index.html'))) {
  console.error('usage: node tools/measure_playground.mjs SITE_DIR (with playground/index.html)');
  process.exit(2);
}

// A hundred lines: a picture drawn at start, then the usual wait.
const lines = ['#include <zemka/zemka.h>', '', 'int main(void) {', '    int x, y;', '    char key;',
               '    ZEMKA_start(0, 0, "", 1);', '    ZEMKA_clear_canvas();'];
for (let i = 0; lines.length < 96; ++i)
  lines.push(`    ZEMKA_draw_circle(${i % 24}, ${(i * 37) % 560 - 280}, ${(i * 53) % 460 - 230}, ${5 + i % 20});`);
lines.push('    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {}', '    ZEMKA_stop();', '    return 0;', '}');
const program = lines.join('\n') + '\n';

let served = 0;
const server = http.createServer((req, res) => {
  const pathname = decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname);
  const file = path.join(site, path.normalize(pathname).replace(/\/$/, '/index.html'));
  fs.readFile(file, (err, data) => {
    if (err || !file.startsWith(site + path.sep)) { res.writeHead(404); res.end(); return; }
    const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css'};
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    res.end(data);
    served += data.length;
  });
});
await new Promise(r => server.listen(0, '127.0.0.1', r));
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zemka-playground-measure-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage();
  await page.setViewport({width: 1400, height: 1000});
  // Each state with its time since the navigation began, and the last click on Run.
  await page.evaluateOnNewDocument(() => {
    window.zemkaTimes = [];
    new MutationObserver(() => {
      const s = document.body?.dataset.state;
      if (s && window.zemkaTimes.at(-1)?.[0] !== s) window.zemkaTimes.push([s, performance.now()]);
    }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-state']});
    addEventListener('click', e => { if (e.target.id === 'run') window.zemkaClicked = performance.now(); }, true);
  });
  const code = zlib.deflateRawSync(Buffer.from(program)).toString('base64url');
  await page.goto(`http://127.0.0.1:${server.address().port}/playground/?run=1#c=${code}`);
  const waitRunning = async after => {
    const end = Date.now() + 300000;
    for (;;) {
      const times = await page.evaluate(() => window.zemkaTimes);
      const hit = times.find(([s, t]) => t >= after && (s === 'running' || s === 'failed' || s === 'ended'));
      if (hit) {
        if (hit[0] !== 'running')
          throw new Error(`the program did not run: ${times.map(t => t[0]).join(' ')}: ${
            await page.$eval('#diagnostics', e => e.textContent)}`);
        return hit[1];
      }
      if (Date.now() > end) throw new Error('no Run in five minutes');
      await new Promise(r => setTimeout(r, 20));
    }
  };
  const first = await waitRunning(0);
  const firstBytes = served;
  // An edit, so that the second Run compiles again, once the drawing
  // window has shown (it takes the keyboard when it first appears).
  await page.waitForSelector('.zemka-drawing:not([hidden]) canvas');
  await new Promise(r => setTimeout(r, 500));
  await page.click('.cm-content');
  await page.keyboard.down('Control');
  await page.keyboard.press('End');
  await page.keyboard.up('Control');
  await page.keyboard.type('/* edited */\n');
  const clickedBefore = await page.evaluate(() => performance.now());
  await page.click('#run');
  const clicked = await page.evaluate(() => window.zemkaClicked);
  const second = await waitRunning(clickedBefore) - clicked;
  console.log(`first Run in a fresh profile: ${(first / 1000).toFixed(2)} s from navigation to running`);
  console.log(`second Run of a ${lines.length}-line program: ${(second / 1000).toFixed(2)} s from the click to running`);
  console.log(`first visit download: ${firstBytes} bytes (${(firstBytes / 1e6).toFixed(1)} MB)`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, {recursive: true, force: true});
}
