// The toolkit conformance test (tests/conformance/toolkit_conformance_test.cpp)
// for the web back end, in a real browser: programs/conformance.c made a
// page by `zemka web`, driven with real mouse and keyboard input in one
// page. Its cases, one for one: a click, a typed k, the screen after a
// draw, the close box (last, since it ends the program); and what the web
// back end adds: the Run menu's check marks and ZEMKA_gets' dialog. The
// events come back as the console lines the program prints (echo=1 in the
// address sends them to the page's console); the screen is the drawing
// window's canvas, against the same program's picture from
// `zemka run --headless` after the same draw.
//   node conformance_test.mjs PAGE_DIR --reference PNG [--browser chromium|firefox]
//   node conformance_test.mjs --write-program DIR
// --write-program writes conformance.c and draw.scr (the key d, which
// draws). PAGE_DIR: what `zemka web conformance.c -o PAGE_DIR` wrote; PNG:
// the ZEMKA_SNAPSHOT of `zemka run --headless conformance.c` replaying
// draw.scr.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {canvasPixels, fileUnder, launchBrowser, rgbAt, serveFiles, verdicts, waitFor} from './browser_support.mjs';

const args = process.argv.slice(2);
const option = name => { const i = args.indexOf(name); return i >= 0 ? args.splice(i, 2)[1] : undefined; };
const writeDir = option('--write-program');
if (writeDir) {
  fs.mkdirSync(writeDir, {recursive: true});
  const program = fileURLToPath(new URL('programs/conformance.c', import.meta.url));
  fs.copyFileSync(program, path.join(writeDir, 'conformance.c'));
  fs.writeFileSync(path.join(writeDir, 'draw.scr'), `ZEMKA_KBD(${'d'.charCodeAt(0)});\n`);
  process.exit(0);
}
const browserName = option('--browser') || 'chromium';
const reference = option('--reference');
const pageDir = path.resolve(args[0] || '.');
if (!['chromium', 'firefox'].includes(browserName) || !reference ||
    !fs.existsSync(path.join(pageDir, 'conformance.html'))) {
  console.error('usage: node conformance_test.mjs PAGE_DIR --reference PNG [--browser chromium|firefox]');
  process.exit(2);
}
const {check, summary} = verdicts(`conformance (${browserName})`);

// The drawing window's client area is its canvas; what the library shows
// in it, and what the snapshot holds, is the canvas's top-left 600 x 500.
const SHOWN = {width: 600, height: 500};
// Client (310, 237) is logical (10, 13); (320, 240) lies in the drawn
// rectangle.
const CLICK = {x: 310, y: 237}, DRAWN = {x: 320, y: 240};

const server = await serveFiles(url => url.pathname === '/reference.png' ? path.resolve(reference) :
                                       fileUnder(pageDir, url.pathname));
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), `zemka-conformance-${browserName}-`));
const browser = await launchBrowser(browserName, tmp).catch(e => {
  fs.rmSync(tmp, {recursive: true, force: true});
  server.close();
  throw e;
});

// The program's console lines, and the library's, as the page's console
// gets them.
const lines = page => page.evaluate(() => window.zemkaLines.slice());
// The first line from index `from` on that matches, once there is one.
async function lineAfter(page, from, pattern, timeoutMs = 5000) {
  const found = await waitFor(async () => (await lines(page)).slice(from).find(l => pattern.test(l)), timeoutMs);
  return found || null;
}
// What the program's wait returned first after index `from`.
const eventAfter = (page, from, timeoutMs) => lineAfter(page, from, /^event: /, timeoutMs);
const shownCheck = page => page.evaluate(() => {
  for (const row of document.querySelectorAll('.zemka-drawing .zemka-item'))
    if (row.querySelector('.zemka-label').textContent === 'Logging')
      return row.querySelector('.zemka-check').textContent;
  return null;
});

async function chooseLogging(page) {
  await page.click('.zemka-drawing .zemka-menu-title');
  for (const row of await page.$$('.zemka-drawing .zemka-item'))
    if (await row.evaluate(e => e.querySelector('.zemka-label').textContent) === 'Logging') {
      await row.click();
      return true;
    }
  return false;
}

// Presses d and tells whether the wait returned the key, then the frame,
// and which of Logging's lines for the drawing came in between.
async function draw(page) {
  const from = (await lines(page)).length;
  await page.keyboard.press('KeyD');
  const key = await eventAfter(page, from);
  const frame = await lineAfter(page, from, /^event: periodic$/);
  const got = await lines(page);
  const between = got.slice(from, frame ? got.indexOf(frame, from) : got.length);
  const rectangle = between.some(l => /^blue rectangle .*filled$/.test(l));
  const line = between.some(l => /^white line .*width 7$/.test(l));
  return {key, frame, logged: rectangle && line, silent: !rectangle && !line, lines: between};
}

async function conformanceTests() {
  const page = await browser.newPage();
  await page.setViewport({width: 1000, height: 900});
  const errors = [];
  page.on('pageerror', e => errors.push(String(e)));
  await page.evaluateOnNewDocument(() => {
    window.zemkaLines = [];
    for (const kind of ['log', 'error']) {
      const write = console[kind].bind(console);
      console[kind] = (...parts) => {
        window.zemkaLines.push(parts.join(' '));
        write(...parts);
      };
    }
  });
  await page.goto(`http://127.0.0.1:${server.address().port}/conformance.html?echo=1`);
  const ready = await waitFor(() => page.evaluate(() =>
    document.getElementById('zemka-status').textContent === 'Running.' &&
    document.activeElement === document.querySelector('.zemka-drawing canvas')), 15000);
  check('the page runs the program, its drawing canvas has the keyboard', ready,
        await page.evaluate(() => document.getElementById('zemka-status').textContent));
  if (!ready) return;
  const area = await page.evaluate(() => {
    const c = document.querySelector('.zemka-drawing canvas');
    const r = c.getBoundingClientRect();
    return {width: c.width, height: c.height, shownWidth: r.width, shownHeight: r.height, left: r.left, top: r.top};
  });
  check('the client area is a 600 x 500 canvas shown pixel for pixel',
        area.width === SHOWN.width && area.height === SHOWN.height &&
        area.shownWidth === SHOWN.width && area.shownHeight === SHOWN.height, JSON.stringify(area));

  let from = (await lines(page)).length;
  // Whole page pixels (Firefox's input takes no fractions), inside the
  // client pixel.
  await page.mouse.click(Math.ceil(area.left + CLICK.x), Math.ceil(area.top + CLICK.y));
  let event = await eventAfter(page, from);
  check('a click at client (310, 237) comes back at logical (10, 13)', event === 'event: mouse at (10, 13)',
        event ?? 'no event');

  from = (await lines(page)).length;
  await page.keyboard.press('KeyK');
  event = await eventAfter(page, from);
  check('a typed k comes back as a key event', event === `event: key ${'k'.charCodeAt(0)}`, event ?? 'no event');

  // The screen after a draw: the canvas the page shows, equal to the
  // library's own picture of the same draw.
  const expected = await canvasPixels(page, '/reference.png');
  check('the reference is the shown 600 x 500', expected.width === SHOWN.width && expected.height === SHOWN.height,
        `${expected.width} x ${expected.height}`);
  const before = await canvasPixels(page);
  const drawn = await draw(page);
  check('d comes back as a key event, its one frame as a periodic one',
        drawn.key === `event: key ${'d'.charCodeAt(0)}` && drawn.frame === 'event: periodic',
        JSON.stringify(drawn.lines));
  check('the draw changes what the window shows', rgbAt(before, DRAWN.x, DRAWN.y) !== rgbAt(expected, DRAWN.x, DRAWN.y),
        `${rgbAt(before, DRAWN.x, DRAWN.y)} before, ${rgbAt(expected, DRAWN.x, DRAWN.y)} drawn`);
  let differing = -1, shown = null;
  await waitFor(async () => {
    shown = await canvasPixels(page);
    differing = shown.width !== SHOWN.width || shown.height !== SHOWN.height ? -1 : 0;
    for (let y = 0; differing >= 0 && y < SHOWN.height; ++y)
      for (let x = 0; x < SHOWN.width; ++x) {
        const i = (y * shown.width + x) * 4, j = (y * expected.width + x) * 4;
        if (shown.data.compare(expected.data, j, j + 3, i, i + 3)) ++differing;
      }
    return differing === 0;
  }, 3000, 100);
  check('after the draw the canvas equals the library\'s picture, pixel for pixel', differing === 0,
        differing < 0 ? `${shown.width} x ${shown.height} shown` : `${differing} pixels differ`);

  // The Run menu's Logging, which the library starts checked: choosing it
  // takes the shown mark off and the drawing's lines with it; choosing it
  // again brings both back.
  const title = await page.evaluate(() => document.querySelector('.zemka-drawing .zemka-menu-title').textContent);
  check('the drawing window has the Run menu, Logging checked, and drawing logged',
        title === 'Run' && await shownCheck(page) === '\u2713' && drawn.logged, `${title}: ${await shownCheck(page)}`);
  const chosen = await chooseLogging(page);
  const off = await waitFor(async () => await shownCheck(page) === '', 3000);
  const quiet = await draw(page);
  check('choosing Logging takes its mark off, and the program\'s drawing is no longer logged',
        chosen && off && quiet.frame && quiet.silent, `${await shownCheck(page)}: ${JSON.stringify(quiet.lines)}`);
  await chooseLogging(page);
  const on = await waitFor(async () => await shownCheck(page) === '\u2713', 3000);
  const loud = await draw(page);
  check('choosing Logging again checks it, and the drawing is logged again', on && loud.frame && loud.logged,
        `${await shownCheck(page)}: ${JSON.stringify(loud.lines)}`);

  // ZEMKA_gets: its dialog takes the typed answer, Enter gives it to the
  // program.
  from = (await lines(page)).length;
  await page.keyboard.press('KeyG');
  const asked = await waitFor(() => page.evaluate(() => {
    const field = document.querySelector('.zemka-dialog textarea, .zemka-dialog input');
    const question = document.querySelector('.zemka-dialog .zemka-static');
    return field && document.activeElement === field && question ? question.textContent.trim() : null;
  }));
  check('g opens ZEMKA_gets\' dialog with its question and the text box focused', asked === 'Your answer?', asked);
  await page.keyboard.type('Ada 42');
  await page.keyboard.press('Enter');
  const answer = await lineAfter(page, from, /^answer: /);
  const gone = await waitFor(() => page.evaluate(() => !document.querySelector('.zemka-dialog')), 3000);
  check('the typed answer and Enter reach the program', answer === 'answer: [Ada 42]' && gone,
        `${answer ?? 'no answer'}, closed ${gone}`);

  // The close box ends the run: the wait returns the quit, and the program
  // ends normally.
  from = (await lines(page)).length;
  await page.click('.zemka-drawing .zemka-close');
  event = await eventAfter(page, from);
  const ended = await waitFor(() => page.evaluate(() => document.body.dataset.ended), 5000);
  const retired = await page.evaluate(() => document.querySelector('.zemka-drawing').classList.contains('retired'));
  check('the close box ends the run with a quit', event === 'event: quit' && ended === '0' && retired,
        `${event}, ended ${ended}, retired ${retired}`);
  check('no script errors on the page', errors.length === 0, errors.join('; '));
  await page.close();
}

try {
  await conformanceTests();
} catch (e) {
  check('conformanceTests', false, String(e && e.stack || e));
} finally {
  await browser.close();
  server.close();
  fs.rmSync(tmp, {recursive: true, force: true});
}
process.exit(summary());
