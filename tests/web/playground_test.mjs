// End-to-end tests of the playground in a real browser (headless Chromium
// or Firefox ESR), on programs written here, with real keys, clicks and taps.
//   node playground_test.mjs SITE_DIR [--browser chromium|firefox] [--reference PNG] [--script LINES]
//   node playground_test.mjs --write-program DIR
// --write-program writes typed.c and typed.scr, whose `zemka run --headless`
// replay is the --reference picture; --script replaces typed.scr's lines.
// ZEMKA_PLAYGROUND_ONLY=NAME,... runs only those tests (errorTest, ...).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {canvasPixels as pixels, launchBrowser, rgbAt, serveFiles, verdicts, waitFor} from './browser_support.mjs';

// Typed without indentation: the editor indents as it goes.
const TYPED = `#include <zemka/zemka.h>
int main(void) {
int x, y, kind;
char key;
ZEMKA_start(0, 0, "", 1);
ZEMKA_clear_canvas();
ZEMKA_draw_rectangle(4, -250, -200, -50, -20, 0);
ZEMKA_draw_text(0, -280, 230, 20, "Typed <here> & run");
while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
if (kind == ZEMKA_MOUSE) ZEMKA_draw_circle(2, x, y, 30);
}
ZEMKA_stop();
return 0;
}
`;
const TYPED_SCRIPT = 'ZEMKA_MOUSE(100, 50);\nZEMKA_MOUSE(-100, 100);\nZEMKA_MOUSE(200, -150);\n';
// Where TYPED draws text (fonts may differ by a pixel): not compared.
const TEXT_RECT = {left: 0, top: 0, right: 600, bottom: 70};

const CPP = `#include <zemka/zemka.h>
#include <algorithm>
#include <vector>

int main() {
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_clear_canvas();
    std::vector<Point> points{{-200, 0}, {0, 0}, {200, 0}};
    int drawn = 0;
    std::for_each(points.begin(), points.end(), [&drawn](const Point &p) {
        ZEMKA_draw_rectangle(4, p.x - 20, p.y - 20, p.x + 20, p.y + 20, 0);
        ++drawn;
    });
    if (drawn == 3) ZEMKA_draw_rectangle(3, -10, 150, 10, 170, 0);
    int x, y;
    char key;
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {}
    ZEMKA_stop();
}
`;
const BROKEN = `#include <zemka/zemka.h>
int main(void) {
    ZEMKA_start(0, 0, "", 1);
    int n = ;
    ZEMKA_stop();
    return 0;
}
`;
const BUSY = `#include <zemka/zemka.h>
int main(void) {
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_draw_rectangle(4, -50, -50, 50, 50, 0);
    while (1) {}
}
`;
const SHARED = `/* A shared program */
#include <zemka/zemka.h>
int main(void) { ZEMKA_start(0, 0, "", 1); ZEMKA_stop(); return 0; }
`;
// A blue square where it is clicked or tapped, a green one for the key k.
const TOUCH = `#include <zemka/zemka.h>
int main(void) {
    int x, y, kind;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_clear_canvas();
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_rectangle(4, x - 3, y - 3, x + 3, y + 3, 0);
        if (kind == ZEMKA_KBD && key == 'k') ZEMKA_draw_rectangle(3, -290, -240, -250, -200, 0);
    }
    ZEMKA_stop();
    return 0;
}
`;

const args = process.argv.slice(2);
const option = name => { const i = args.indexOf(name); return i >= 0 ? args.splice(i, 2)[1] : undefined; };
const writeDir = option('--write-program');
if (writeDir) {
  fs.mkdirSync(writeDir, {recursive: true});
  fs.writeFileSync(path.join(writeDir, 'typed.c'), TYPED);
  fs.writeFileSync(path.join(writeDir, 'typed.scr'), TYPED_SCRIPT);
  process.exit(0);
}
const browserName = option('--browser') || 'chromium';
const reference = option('--reference');
const scriptOption = option('--script');
const script = scriptOption === undefined ? TYPED_SCRIPT : fs.existsSync(scriptOption) ?
  fs.readFileSync(scriptOption, 'utf8') : scriptOption;
const scriptQuery = `script=${encodeURIComponent(script.split('\n').filter(l => l.trim()).join(''))}&quit_after_play=1`;
const site = path.resolve(args[0] || '.');
if (!['chromium', 'firefox'].includes(browserName) || !fs.existsSync(path.join(site, 'playground/index.html'))) {
  console.error('usage: node playground_test.mjs SITE_DIR [--browser chromium|firefox] [--reference PNG] [--script LINES]');
  process.exit(2);
}
const firefox = browserName === 'firefox';
const tag = `playground (${browserName})`;

const {check, summary} = verdicts(tag);
const share = text => zlib.deflateRawSync(Buffer.from(text)).toString('base64url');

const server = await serveFiles(url => {
  if (url.pathname === '/reference.png' && reference) return path.resolve(reference);
  const file = path.join(site, path.normalize(decodeURIComponent(url.pathname)).replace(/\/$/, '/index.html'));
  return file.startsWith(site + path.sep) ? file : null;
});
const base = `http://127.0.0.1:${server.address().port}/playground/`;
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), `zemka-playground-${browserName}-`));
const downloads = path.join(tmp, 'downloads');
fs.mkdirSync(downloads);
const browser = await launchBrowser(browserName, tmp, downloads)
  .catch(e => { fs.rmSync(tmp, {recursive: true, force: true}); server.close(); throw e; });
const errors = [];
// Firefox reports a worker ended inside a Promise Integration call as this
// page error: expected, and only then, when a running program is stopped.
let stopping = false;
const noteError = (where, e) => {
  if (!(firefox && stopping && String(e) === 'Error: uncaught exception: undefined')) errors.push(`${where}: ${e}`);
};

// A page whose states are all noted, so that a short one is not missed.
async function open(url, viewport = {width: 1400, height: 1000}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.on('pageerror', e => noteError(page.url().slice(0, 60), e));
  await page.evaluateOnNewDocument(() => {
    window.zemkaStates = [];
    new MutationObserver(() => {
      const s = document.body?.dataset.state;
      if (s && window.zemkaStates.at(-1) !== s) window.zemkaStates.push(s);
    }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-state']});
  });
  await page.goto(url);
  await waitFor(() => page.evaluate(() => !!document.querySelector('.cm-content')), 10000);
  return page;
}
const state = page => page.evaluate(() => document.body.dataset.state);
const states = page => page.evaluate(() => window.zemkaStates.join(' '));
const waitState = (page, wanted, ms = 120000) => waitFor(async () => wanted.includes(await state(page)), ms);
const editorText = page => page.evaluate(() =>
  Array.from(document.querySelectorAll('.cm-content .cm-line'), l => l.textContent).join('\n').trimEnd());
const saved = page => page.evaluate(() => JSON.parse(localStorage.getItem('zemka-playground')).programs);
const unindented = text => text.replace(/^[ \t]+/gm, '').trimEnd();

let referencePixels = null;
function compare(name, shown) {
  if (!referencePixels) { console.log(`SKIP ${tag}: ${name}: no reference picture`); return; }
  let differ = 0, compared = 0;
  const same = shown && shown.width === referencePixels.width && shown.height === referencePixels.height;
  for (let y = 0; same && y < shown.height; ++y)
    for (let x = 0; x < shown.width; ++x) {
      if (x >= TEXT_RECT.left && x < TEXT_RECT.right && y >= TEXT_RECT.top && y < TEXT_RECT.bottom) continue;
      ++compared;
      const i = (y * shown.width + x) * 4;
      if (shown.data.compare(referencePixels.data, i, i + 3, i, i + 3)) ++differ;
    }
  check(name, same && differ === 0 && compared > 200000,
        same ? `${differ} of ${compared} pixels differ` : `${shown?.width} x ${shown?.height} against the reference`);
}

async function typedTests() {
  // Typed, then Run with the replay in the address; then reloaded.
  const page = await open(`${base}?${scriptQuery}`);
  if (reference) referencePixels = await pixels(page, '/reference.png');
  await page.click('.cm-content');
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Control');
  await page.keyboard.press('Backspace');
  await page.keyboard.type(TYPED);
  const typed = await editorText(page);
  check('typed: the editor holds the typed program', unindented(typed) === unindented(TYPED), typed);
  await page.click('#run');
  const end = await waitState(page, ['ended', 'failed']);
  const seen = await states(page);
  check('typed: Run compiles, runs, and the replay ends the program',
        end && / compiling running ended$/.test(seen) &&
        await page.$eval('#status', e => e.textContent) === 'The program ended', seen);
  compare('typed: the canvas equals the Linux replay outside the text', await pixels(page));
  await page.reload();
  await waitFor(async () => (await editorText(page)).includes('ZEMKA_start'), 10000);
  check('reload: the editor keeps the typed text', await editorText(page) === typed, await editorText(page));
  await page.close();
  return typed;
}

async function cppTest() {
  // Opened as C, switched to C++ in the menu, run on the Asyncify path.
  const page = await open(`${base}?run=0&suspend=asyncify&${scriptQuery}#c=${share(CPP)}`);
  await page.select('#language', 'cpp');
  await page.click('#run');
  await waitState(page, ['ended', 'failed']);
  const shown = await pixels(page) || {width: 0, height: 0, data: Buffer.alloc(4 * 600 * 500)};
  const blue = [[100, 250], [300, 250], [500, 250]].map(([x, y]) => rgbAt(shown, x, y));
  check('C++: a vector and a lambda draw three blue squares and the green mark',
        (await states(page)).endsWith('running ended') && blue.every(c => c === '0,0,255') &&
        rgbAt(shown, 300, 90) === '0,255,0' && rgbAt(shown, 200, 250) !== '0,0,255',
        `${await states(page)}: ${blue.join(' ')} ${rgbAt(shown, 300, 90)} ${await page.$eval('#status', e => e.textContent)} ${
         await page.$eval('#diagnostics', e => e.textContent)}`);
  await page.close();
}

async function errorTest() {
  const page = await open(`${base}?run=1#c=${share(BROKEN)}`);
  await waitState(page, ['failed', 'ended', 'running']);
  const items = await page.$$eval('#diagnostics > *', list => list.map(e => e.dataset.line));
  check('error: one message, at line 4', items.length === 1 && items[0] === '4', JSON.stringify(items));
  const mark = await page.evaluate(() => {
    const m = document.querySelector('.cm-gutter-lint .cm-lint-marker-error');
    const line = document.querySelectorAll('.cm-content .cm-line')[3];
    return m && line ? Math.abs(m.getBoundingClientRect().top - line.getBoundingClientRect().top) : null;
  });
  check('error: an error mark in the gutter at line 4', mark !== null && mark < 4, String(mark));
  await new Promise(r => setTimeout(r, 500));
  check('error: the state is failed and nothing runs', await state(page) === 'failed' &&
        !(await states(page)).includes('running') && await page.$eval('#windows', e => e.children.length) === 0,
        await states(page));
  await page.close();
}

async function stopTest() {
  const page = await open(`${base}?run=1#c=${share(BUSY)}`);
  for (const how of ['Stop', 'Escape']) {
    if (how === 'Escape') await page.click('#run');
    await waitState(page, ['running', 'failed']);
    // The page answers while the program loops.
    await waitFor(() => page.evaluate(() => !!document.querySelector('.zemka-drawing canvas')), 10000);
    await new Promise(r => setTimeout(r, 500));
    const start = Date.now();
    stopping = true;
    if (how === 'Stop') await page.click('#stop'); else await page.keyboard.press('Escape');
    const stopped = await waitState(page, ['stopped'], 10000);
    const took = Date.now() - start;
    await new Promise(r => setTimeout(r, 300));
    stopping = false;
    check(`busy loop: ${how} ends it`, stopped && took < 3000, `${await states(page)} after ${took} ms`);
  }
  check('busy loop: the editor keeps its text', await editorText(page) === BUSY.trimEnd(), await editorText(page));
  await page.close();
}

async function shareTest(typed) {
  const page = await open(`${base}#c=${share(SHARED)}`);
  check('share link: the editor shows its program', await editorText(page) === SHARED.trimEnd(), await editorText(page));
  const programs = await saved(page);
  check('share link: the saved program is kept as it was', programs.some(p => p.text.trimEnd() === typed.trimEnd()),
        JSON.stringify(programs.map(p => p.name)));
  await page.close();
}

async function downloadTest() {
  const page = await open(`${base}#c=${share(TYPED)}`);
  await page.click('#download-page');
  const file = await waitFor(() => {
    const names = fs.readdirSync(downloads);
    const html = names.find(n => n.endsWith('.html'));
    return html && !names.some(n => /\.(crdownload|part)$/.test(n)) ? path.join(downloads, html) : null;
  }, 120000);
  await page.close();
  if (!file && firefox) { console.log(`SKIP ${tag}: download page: the download could not be caught`); return; }
  check('download page: a one-file page is downloaded', !!file, fs.readdirSync(downloads).join(' '));
  if (!file) return;
  const single = await browser.newPage();
  await single.setViewport({width: 1400, height: 1000});
  single.on('pageerror', e => noteError('file://', e));
  await single.goto(`file://${file}?${scriptQuery}`);
  const ended = await waitFor(() => single.evaluate(() => document.body.dataset.ended), 30000);
  check('download page: from file:// the replay ends the program with status 0', ended === '0', String(ended));
  compare('download page: the canvas equals the Linux replay outside the text', await pixels(single));
  await single.close();
}

async function phoneTest() {
  const page = await browser.newPage();
  try {
    await page.setViewport({width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true});
  } catch (e) {
    console.log(`SKIP ${tag}: phone: no touch emulation (${String(e.message || e).split('\n')[0]})`);
    await page.close();
    return;
  }
  page.on('pageerror', e => noteError(page.url().slice(0, 60), e));
  await page.goto(`${base}?run=1#c=${share(TOUCH)}`);
  await waitState(page, ['running', 'failed']);
  const box = await waitFor(() => page.evaluate(() => {
    const c = document.querySelector('.zemka-drawing canvas');
    const r = c && c.getBoundingClientRect();
    // Scaled once the page has its phone's width (a browser may settle it
    // after the window appears).
    return r && r.width && r.right <= document.documentElement.clientWidth + 1 ?
      {left: r.left, top: r.top, width: r.width, height: r.height} : null;
  }), 10000) || await page.evaluate(() => {
    const r = document.querySelector('.zemka-drawing canvas')?.getBoundingClientRect();
    return r ? {left: r.left, top: r.top, width: r.width, height: r.height} : null;
  });
  // The text window takes the width it is given a moment later.
  const wide = await waitFor(async () => {
    const w = await page.evaluate(() => document.documentElement.scrollWidth);
    return w <= 390 ? w : null;
  }, 3000) || await page.evaluate(() => document.documentElement.scrollWidth);
  check('phone: the window is scaled to the width', box && wide <= 390 && box.left >= 0 && box.left + box.width <= 390 &&
        box.width < 600 && Math.abs(box.height / box.width - 500 / 600) < 0.01, `${JSON.stringify(box)} in ${wide}`);
  if (firefox) {
    // Its WebDriver BiDi cannot synthesize touches.
    console.log(`SKIP ${tag}: phone: taps and the on-screen keyboard (no touch input in this browser)`);
    await page.close();
    return;
  }
  // Logical (100, 50) is canvas pixel (400, 200).
  await page.evaluate(() => document.querySelector('.zemka-drawing canvas').scrollIntoView());
  const r = await page.evaluate(() => document.querySelector('.zemka-drawing canvas').getBoundingClientRect().toJSON());
  await page.touchscreen.tap(r.left + 400.5 * r.width / 600, r.top + 200.5 * r.height / 500);
  const tapped = await waitFor(async () => {
    const p = await pixels(page);
    const blue = [];
    for (let y = 150; y < 250; ++y) for (let x = 350; x < 450; ++x) if (rgbAt(p, x, y) === '0,0,255') blue.push([x, y]);
    return blue.length ? blue : null;
  }, 5000);
  const centre = tapped && tapped.reduce((s, [x, y]) => [s[0] + x / tapped.length, s[1] + y / tapped.length], [0, 0]);
  check('phone: a tap is a click at its logical point', centre && Math.abs(centre[0] - 400) <= 1.5 &&
        Math.abs(centre[1] - 200) <= 1.5, JSON.stringify(centre));
  const button = await page.$('.zemka-drawing .zemka-keyboard-button');
  const b = await button.boundingBox();
  await page.touchscreen.tap(b.x + b.width / 2, b.y + b.height / 2);
  await page.keyboard.sendCharacter('k');
  const green = await waitFor(async () => rgbAt(await pixels(page), 30, 470) === '0,255,0', 5000);
  check('phone: a key after "Keyboard" reaches the program', green,
        await page.evaluate(() => document.activeElement.className));
  await page.close();
}

try {
  let typed = TYPED;
  for (const test of [typedTests, cppTest, errorTest, stopTest, shareTest, downloadTest, phoneTest]) {
    if (process.env.ZEMKA_PLAYGROUND_ONLY && !process.env.ZEMKA_PLAYGROUND_ONLY.split(',').includes(test.name)) continue;
    try {
      const result = await test(typed);
      if (test === typedTests) typed = result;
    } catch (e) {
      check(test.name, false, String(e && e.stack || e));
    }
  }
  check('no script errors on the pages', errors.length === 0, errors.join('; '));
} finally {
  await browser.close();
  server.close();
  fs.rmSync(tmp, {recursive: true, force: true});
}
process.exit(summary());
