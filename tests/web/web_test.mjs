// End-to-end tests of the web pages in headless Chromium, driven with real
// mouse and keyboard input. The pages are served from 127.0.0.1 on a free
// port.
//   node web_test.mjs SITE_DIR [REFERENCE_PNG]
// REFERENCE_PNG: the Linux painter's picture after replaying
// weather-demo.scr; without it the replay comparison is skipped.
// ZEMKA_WEB_ONLY=NAME,... runs only the tests of those names (painterTests,
// endingTests, ...).
import fs from 'node:fs';
import path from 'node:path';
import {spawnSync} from 'node:child_process';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {canvasPixels, launchBrowser, serveFiles, verdicts, waitFor} from './browser_support.mjs';

const site = path.resolve(process.argv[2] || '.');
const reference = process.argv[3] ? path.resolve(process.argv[3]) : null;
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const programs = path.join(root, 'tests/web/programs');
// The tests' own programs and pages.
const work = fs.mkdtempSync('/tmp/zemka-web-work-');

// Logical point (x, y) of the painter is canvas pixel (300 + x, 250 - y).
const px = (x, y) => ({x: 300 + x, y: 250 - y});
const SNOW_BUTTON = px(-250, 195), BLUE_BUTTON = px(-250, 90), SKY = px(-95, 120);
const BLUE = [0, 0, 255];
// Where the painter and the examples draw text: fonts may differ by a
// pixel between the desktop and the browser, so these are not compared.
const TEXT_RECTS = [
  {left: 0, top: 0, right: 112, bottom: 262},   // the button labels
  {left: 8, top: 455, right: 430, bottom: 495},  // "Click a weather type ..."
];

const {check, summary} = verdicts();

function serve() {
  return serveFiles(url => {
    // /own/ is the page that zemka web made of a program of one's own.
    const own = process.env.ZEMKA_OWN_WEB;
    const ownReference = process.env.ZEMKA_OWN_REFERENCE;
    let file = path.join(site, path.normalize(url.pathname));
    if (url.pathname === '/reference.png' && reference) file = reference;
    else if (url.pathname === '/own-reference.png' && ownReference) file = ownReference;
    else if (own && url.pathname.startsWith('/own/')) file = path.join(own, path.normalize(url.pathname.slice(5)));
    return file.startsWith(site) || file === reference || file === ownReference || (own && file.startsWith(own)) ?
      file : null;
  });
}

// RGBA bytes of a w x h area of the drawing window's canvas.
function canvasArea(page, x, y, w, h) {
  return page.evaluate((x, y, w, h) => {
    const c = document.querySelector('.zemka-drawing canvas');
    return c ? Array.from(c.getContext('2d').getImageData(x, y, w, h).data) : null;
  }, x, y, w, h);
}

// The points of an area that have the given colour, as "x,y" strings.
function pointsOf(rgba, w, color) {
  const out = [];
  for (let i = 0; i < rgba.length / 4; ++i)
    if (rgba[i * 4] === color[0] && rgba[i * 4 + 1] === color[1] && rgba[i * 4 + 2] === color[2])
      out.push([i % w, Math.floor(i / w)]);
  return out;
}

async function canvasOrigin(page) {
  return page.evaluate(() => {
    const r = document.querySelector('.zemka-drawing canvas').getBoundingClientRect();
    return {x: r.left, y: r.top};
  });
}

async function clickCanvas(page, point) {
  const o = await canvasOrigin(page);
  await page.mouse.click(o.x + point.x + 0.5, o.y + point.y + 0.5);
}

async function ctrl(page, key) {
  await page.keyboard.down('Control');
  await page.keyboard.press(key);
  await page.keyboard.up('Control');
}

async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 900, height: 1200});
  const errors = [];
  page.on('pageerror', e => errors.push(String(e)));
  await page.goto(url);
  await waitFor(() => page.evaluate(() => !!document.querySelector('.zemka-drawing canvas') &&
                                           document.getElementById('zemka-status').textContent !== 'Loading\u2026'),
                10000);
  return {page, errors};
}

function menuState(page) {
  return page.evaluate(() => Array.from(document.querySelectorAll('.zemka-drawing .zemka-menu-list > *')).map(e => ({
    separator: e.tagName === 'HR',
    text: e.querySelector ? (e.querySelector('.zemka-label')?.textContent || '') : '',
    shortcut: e.querySelector ? (e.querySelector('.zemka-shortcut')?.textContent || '') : '',
    grayed: e.classList.contains('grayed'),
    checked: (e.querySelector ? e.querySelector('.zemka-check')?.textContent : '') === '\u2713',
  })));
}

async function clickMenuItem(page, label) {
  await page.click('.zemka-drawing .zemka-menu-title');
  const items = await page.$$('.zemka-drawing .zemka-item');
  for (const item of items)
    if ((await item.evaluate(e => e.querySelector('.zemka-label').textContent)) === label) {
      await item.click();
      return true;
    }
  return false;
}

async function painterTests(browser, base) {
  const {page, errors} = await openPage(browser, `${base}/weather-painter.html`);
  // The program's windows arrive from its worker one after the other.
  const titles = await waitFor(() => page.evaluate(() => {
    const all = Array.from(document.querySelectorAll('.zemka-title span'), e => e.textContent);
    return all.length >= 2 && all;
  })) || [];
  check('painter: "ZEMKA Graphics" and "ZEMKA Text" windows', titles.join('|') === 'ZEMKA Graphics|ZEMKA Text',
        titles.join('|'));
  const size = await page.evaluate(() => {
    const c = document.querySelector('.zemka-drawing canvas');
    return [c.width, c.height];
  });
  check('painter: the drawing canvas is 600 x 500', size[0] === 600 && size[1] === 500, size.join(' x '));
  // The text window is shown first, yet the drawing canvas has the keys.
  const focused = await waitFor(() => page.evaluate(() =>
    document.activeElement === document.querySelector('.zemka-drawing canvas')), 2000);
  check('painter: the drawing canvas has the keyboard at start', focused);

  // A blue flake planted in the halted picture, then one frame on.
  await clickCanvas(page, SNOW_BUTTON);
  await ctrl(page, 'KeyH');
  await clickCanvas(page, BLUE_BUTTON);
  const box = {x: SKY.x - 25, y: SKY.y - 25, w: 51, h: 60};
  const stable = async () => {
    let last = null;
    return waitFor(async () => {
      const now = JSON.stringify(await canvasArea(page, box.x, box.y, box.w, box.h));
      const same = now === last;
      last = now;
      return same ? JSON.parse(now) : null;
    }, 5000, 150);
  };
  const before = pointsOf(await stable(), box.w, BLUE);
  check('painter: no blue in the sky before the click', before.length === 0, `${before.length} blue pixels`);
  await clickCanvas(page, SKY);
  const planted = pointsOf(await waitFor(async () => {
    const a = await canvasArea(page, box.x, box.y, box.w, box.h);
    return pointsOf(a, box.w, BLUE).length ? a : null;
  }) || [], box.w, BLUE);
  const near = planted.length > 0 && planted.every(([x, y]) => Math.abs(x - 25) <= 15 && Math.abs(y - 25) <= 15) &&
               planted.some(([x, y]) => Math.abs(x - 25) <= 2 && Math.abs(y - 25) <= 2);
  check('painter: Snow, Blue and a click plant a blue flake at the point', near, `${planted.length} blue pixels`);
  await new Promise(r => setTimeout(r, 400));
  const halted = pointsOf(await canvasArea(page, box.x, box.y, box.w, box.h), box.w, BLUE);
  check('painter: Ctrl+H halts the flake', JSON.stringify(halted) === JSON.stringify(planted));
  await ctrl(page, 'KeyF');
  const moved = pointsOf(await waitFor(async () => {
    const a = await canvasArea(page, box.x, box.y, box.w, box.h);
    return JSON.stringify(pointsOf(a, box.w, BLUE)) !== JSON.stringify(planted) ? a : null;
  }) || [], box.w, BLUE);
  const shifted = planted.map(([x, y]) => `${x},${y + 3}`).sort().join(' ');
  check('painter: Ctrl+F moves the flake exactly 3 units down', moved.length > 0 &&
        moved.map(([x, y]) => `${x},${y}`).sort().join(' ') === shifted);

  // The Run menu: sixteen items, and check marks that follow the commands.
  const menu = await menuState(page);
  const labels = menu.filter(i => !i.separator).map(i => i.text);
  check('menu: 16 items with 4 separators and 4 grayed lines',
        menu.length === 16 && menu.filter(i => i.separator).length === 4 && menu.filter(i => i.grayed).length === 4 &&
        labels[0] === 'Animate' && labels[4] === 'Record Script' && menu[0].shortcut === 'Ctrl+A' &&
        labels[8] === 'ZEMKA v2.2 July 1997', JSON.stringify(labels));
  check('menu: Logging is unchecked once the painter switched it off', !menu[4].checked);
  await clickMenuItem(page, 'Logging');
  const logOn = await waitFor(async () => (await menuState(page))[4].checked);
  await ctrl(page, 'KeyL');
  const logOff = await waitFor(async () => !(await menuState(page))[4].checked);
  check('menu: choosing Logging checks it and Ctrl+L unchecks it', logOn && logOff);

  // The menu's mnemonics: Alt+R opens "&Run", L chooses "&Logging".
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyR');
  await page.keyboard.up('Alt');
  const opened = await page.evaluate(() => !document.querySelector('.zemka-drawing .zemka-menu-list').hidden);
  await page.keyboard.press('KeyL');
  const byMnemonic = await waitFor(async () => (await menuState(page))[4].checked);
  const closed = await page.evaluate(() => document.querySelector('.zemka-drawing .zemka-menu-list').hidden);
  await ctrl(page, 'KeyL');
  await waitFor(async () => !(await menuState(page))[4].checked);
  check('menu: Alt+R opens the Run menu and L chooses Logging', opened && byMnemonic && closed);

  // A recording: the menu starts it, a click is recorded, Ctrl+R ends it
  // and the page offers the file.
  await clickMenuItem(page, 'Record Script');
  const recOn = await waitFor(async () => (await menuState(page))[6].checked);
  await clickCanvas(page, px(150, 100));
  await new Promise(r => setTimeout(r, 200));
  await ctrl(page, 'KeyR');
  const recOff = await waitFor(async () => !(await menuState(page))[6].checked);
  const recorded = await waitFor(() => page.evaluate(async () => {
    const link = document.getElementById('zemka-recording');
    if (link.hidden || !link.href) return null;
    return (await fetch(link.href)).text();
  }));
  check('menu: Record Script is checked while recording and unchecked by Ctrl+R', recOn && recOff);
  check('recording: the download holds the recorded click', typeof recorded === 'string' &&
        recorded.split('\n').includes('ZEMKA_MOUSE(150, 100);'), JSON.stringify(recorded));

  // A script the user picks plays from the menu: the demo's first blue
  // flake, planted at (-150, 230), falls 18 steps of 3 while it plays.
  const picker = await page.$('#zemka-script');
  await picker.uploadFile(path.join(site, 'weather-demo.scr'));
  await waitFor(() => page.evaluate(() => /is ready/.test(document.getElementById('zemka-status').textContent)));
  // The replay may end before a poll could see the mark: the page notes
  // every mark the item shows.
  await page.evaluate(() => {
    const check = document.querySelectorAll('.zemka-drawing .zemka-menu-list > *')[7].querySelector('.zemka-check');
    window.__playbackMarks = [];
    new MutationObserver(() => window.__playbackMarks.push(check.textContent))
      .observe(check, {childList: true, characterData: true, subtree: true});
  });
  await clickMenuItem(page, 'Playback Script');
  const playOn = await waitFor(() => page.evaluate(() => window.__playbackMarks.includes('\u2713')));
  const playOff = await waitFor(async () => !(await menuState(page))[7].checked);
  const landed = px(-150, 230 - 54);
  const flake = pointsOf(await canvasArea(page, landed.x - 12, landed.y - 12, 25, 25), 25, BLUE);
  check('playback: a picked script plays from the menu until it ends', playOn && playOff && flake.length > 0,
        `checked ${playOn}, ended ${playOff}, ${flake.length} blue pixels at the flake`);

  // "Save picture" downloads the 600 x 500 canvas as a PNG.
  const downloads = fs.mkdtempSync('/tmp/zemka-web-downloads-');
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  await page.click('#zemka-save');
  const png = await waitFor(() => {
    const file = path.join(downloads, 'zemka.png');
    return fs.existsSync(file) && fs.statSync(file).size > 24 ? fs.readFileSync(file) : null;
  });
  check('save picture: a 600 x 500 PNG is downloaded',
        !!png && png.toString('latin1', 1, 4) === 'PNG' && png.readUInt32BE(16) === 600 && png.readUInt32BE(20) === 500);
  fs.rmSync(downloads, {recursive: true, force: true});

  // Dragging the text window's corner resizes it: the surface follows the
  // frame, and the console's lines are still shown.
  const frame = await page.evaluate(() => {
    const r = document.querySelector('.zemka-frame').getBoundingClientRect();
    return {x: r.right, y: r.bottom, w: r.width, h: r.height};
  });
  await page.mouse.move(frame.x - 3, frame.y - 3);
  await page.mouse.down();
  await page.mouse.move(frame.x - 3 - 150, frame.y - 3 + 60, {steps: 5});
  await page.mouse.up();
  const want = [frame.w - 150, frame.h + 60];
  const resized = await waitFor(() => page.evaluate(([w, h]) => {
    const c = document.querySelector('.zemka-frame canvas');
    if (c.width !== w || c.height !== h) return null;
    const rgba = c.getContext('2d').getImageData(0, 0, w, h).data;
    let ink = 0;
    for (let i = 0; i < rgba.length; i += 4) if (rgba[i] + rgba[i + 1] + rgba[i + 2] < 200) ++ink;
    return {w: c.width, h: c.height, ink};
  }, want));
  check('text window: dragging its corner resizes it, and its lines stay',
        !!resized && resized.ink > 20, `${JSON.stringify(resized)}, wanted ${want.join(' x ')}`);

  // Closing the text window hides it; the drawing window goes on.
  await page.click('.zemka-window:not(.zemka-drawing) .zemka-close');
  const hidden = await waitFor(() => page.evaluate(() => document.querySelector('.zemka-window:not(.zemka-drawing)').hidden));
  check('text window: its close box hides it', hidden);

  // A recording still on when the program ends is offered all the same.
  const offered = await page.evaluate(() => document.getElementById('zemka-recording').href);
  await clickCanvas(page, px(-100, 0));
  await ctrl(page, 'KeyR');
  const recording = await waitFor(async () => (await menuState(page))[6].checked);
  await clickCanvas(page, px(120, 60));
  await new Promise(r => setTimeout(r, 200));
  await ctrl(page, 'KeyQ');
  const lastRecording = await waitFor(() => page.evaluate(async before => {
    const link = document.getElementById('zemka-recording');
    if (link.hidden || !link.href || link.href === before) return null;
    return (await fetch(link.href)).text();
  }, offered));
  check('recording: one still on when Ctrl+Q ends the program is offered with its click',
        recording && typeof lastRecording === 'string' && lastRecording.split('\n').includes('ZEMKA_MOUSE(120, 60);'),
        `recording ${recording}: ${JSON.stringify(lastRecording)}`);
  check('painter: no script errors on the page', errors.length === 0, errors.join('; '));
  await page.close();
}

// The other examples, built unchanged, run and draw their first picture.
async function examplesTest(browser, base) {
  for (const name of ['shapes', 'bouncing_ball', 'scribble']) {
    const {page, errors} = await openPage(browser, `${base}/${name}.html`);
    const drawn = await waitFor(async () => {
      const rgba = await canvasArea(page, 0, 0, 600, 500);
      return rgba && rgba.some((v, i) => i % 4 !== 3 && v !== 255);
    });
    check(`${name}: runs and draws in the page`, drawn && errors.length === 0, errors.join('; '));
    await page.close();
  }
}

async function askNameTest(browser, base) {
  const {page, errors} = await openPage(browser, `${base}/ask_name.html`);
  const field = await waitFor(() => page.$('.zemka-dialog textarea'));
  const caption = await page.evaluate(() => document.querySelector('.zemka-dialog .zemka-title span')?.textContent);
  check('ask_name: the dialog appears with its caption', !!field && caption === 'ZEMKA_gets', caption);
  if (!field) return;
  // The template puts the dialog's client area 50 x 50 dialog units from
  // the canvas, and the text box 167 x 37 units large: the box gives the
  // units in pixels.
  const place = await page.evaluate(() => {
    const canvas = document.querySelector('.zemka-drawing .zemka-client').getBoundingClientRect();
    const body = document.querySelector('.zemka-dialog-body').getBoundingClientRect();
    const edit = document.querySelector('.zemka-dialog textarea').getBoundingClientRect();
    return {dx: body.left - canvas.left, dy: body.top - canvas.top,
            ux: edit.width / 167, uy: edit.height / 37};
  });
  check('ask_name: the dialog stands where its template puts it',
        Math.abs(place.dx - 50 * place.ux) <= 1.5 && Math.abs(place.dy - 50 * place.uy) <= 1.5,
        JSON.stringify(place));
  // Tab and Shift+Tab go round the dialog and never reach the page.
  const outside = [];
  const focusOutside = () => page.evaluate(() => {
    const e = document.activeElement;
    return document.querySelector('.zemka-dialog').contains(e) ? '' : `${e?.tagName}.${e?.className}`;
  });
  await page.keyboard.down('Shift');
  for (let i = 1; i <= 4; ++i) {
    await page.keyboard.press('Tab');
    const where = await focusOutside();
    if (where) outside.push(`Shift+Tab ${i}: ${where}`);
  }
  await page.keyboard.up('Shift');
  for (let i = 1; i <= 5; ++i) {
    await page.keyboard.press('Tab');
    const where = await focusOutside();
    if (where) outside.push(`Tab ${i}: ${where}`);
  }
  check('ask_name: Tab and Shift+Tab keep the keyboard in the dialog', outside.length === 0, outside.join(', '));
  await field.focus();
  await page.keyboard.type('Ada');
  await page.keyboard.press('Escape');
  await new Promise(r => setTimeout(r, 200));
  check('ask_name: Escape does not end the dialog', !!(await page.$('.zemka-dialog')));
  await page.keyboard.press('Enter');
  const gone = await waitFor(async () => !(await page.$('.zemka-dialog')));
  // "Hello, Ada!" in blue, 40 pixels high, from logical (-250, 60).
  const blue = await waitFor(async () =>
    pointsOf(await canvasArea(page, 40, 130, 400, 80), 400, BLUE).length);
  const consoleText = await page.evaluate(() => document.title);
  check('ask_name: Enter gives the answer, which the program draws', gone && blue > 100,
        `${blue} blue pixels (${consoleText})`);
  const refocused = await page.evaluate(() => {
    const e = document.activeElement;
    return e === document.querySelector('.zemka-drawing canvas') ? '' : `${e?.tagName}.${e?.className}`;
  });
  check('ask_name: the closed dialog gives the keyboard back to the drawing canvas', refocused === '', refocused);
  check('ask_name: no script errors on the page', errors.length === 0, errors.join('; '));
  await page.close();
}

async function replayTest(browser, base) {
  const {page, errors} = await openPage(browser, `${base}/weather-painter.html?play=weather-demo.scr&quit_after_play=1`);
  const ended = await waitFor(() => page.evaluate(() => document.body.dataset.ended), 15000);
  check('replay: the program ends after the replay with status 0', ended === '0', String(ended));
  const status = await page.evaluate(() => document.getElementById('zemka-status').textContent);
  check('replay: the page says that the program ended', status === 'The program has ended.', status);
  if (!reference) {
    console.log('SKIP replay: no reference picture');
    return;
  }
  const result = await page.evaluate(async rects => {
    const shown = document.querySelector('.zemka-drawing canvas');
    const img = new Image();
    img.src = '/reference.png';
    await img.decode();
    const ref = document.createElement('canvas');
    ref.width = img.width;
    ref.height = img.height;
    ref.getContext('2d').drawImage(img, 0, 0);
    if (img.width < shown.width || img.height < shown.height) return {size: [img.width, img.height]};
    const a = shown.getContext('2d').getImageData(0, 0, shown.width, shown.height).data;
    const b = ref.getContext('2d').getImageData(0, 0, shown.width, shown.height).data;
    let differ = 0, compared = 0, first = null;
    for (let y = 0; y < shown.height; ++y)
      for (let x = 0; x < shown.width; ++x) {
        if (rects.some(r => x >= r.left && x < r.right && y >= r.top && y < r.bottom)) continue;
        ++compared;
        const i = (y * shown.width + x) * 4;
        if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) {
          ++differ;
          if (!first) first = [x, y, a[i], a[i + 1], a[i + 2], b[i], b[i + 1], b[i + 2]];
        }
      }
    return {differ, compared, first};
  }, TEXT_RECTS);
  check('replay: the canvas equals the Linux replay outside the text', result.differ === 0 && result.compared > 250000,
        JSON.stringify(result));
  check('replay: no script errors on the page', errors.length === 0, errors.join('; '));
  await page.close();
}

// A script that cannot be fetched, or is fetched but has a name that
// cannot be a file ("weather-demo.scr?/" ends in "/"), ends an unattended
// replay with status 2, and the page says why.
async function replayMissingTest(browser, base) {
  const cases = [['a missing script', 'missing.scr'], ['a script without a file name', 'weather-demo.scr?/']];
  for (const [what, play] of cases) {
    const {page} = await openPage(browser,
                                  `${base}/weather-painter.html?play=${encodeURIComponent(play)}&quit_after_play=1`);
    const ended = await waitFor(() => page.evaluate(() => document.body.dataset.ended), 10000);
    const status = await page.evaluate(() => document.getElementById('zemka-status').textContent);
    check(`replay: ${what} ends the program with status 2`, ended === '2' && /could not be loaded/.test(status),
          `${ended}: ${status}`);
    await page.close();
  }
}

// The RGBA bytes of a picture the server has, as seen by the browser: an
// image opened as a page of its own.
async function imagePixels(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  const pixels = await page.evaluate(async () => {
    const img = document.images[0];
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.naturalWidth;
    c.height = img.naturalHeight;
    c.getContext('2d').drawImage(img, 0, 0);
    return {width: c.width, height: c.height, data: Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data)};
  });
  await page.close();
  return pixels;
}
function differingPixels(a, b) {
  if (a.width > b.width || a.height > b.height) return -1;
  let differ = 0;
  for (let y = 0; y < a.height; ++y)
    for (let x = 0; x < a.width; ++x) {
      const i = (y * a.width + x) * 4, j = (y * b.width + x) * 4;
      if (a.data[i] !== b.data[j] || a.data[i + 1] !== b.data[j + 1] || a.data[i + 2] !== b.data[j + 2]) ++differ;
    }
  return differ;
}

// A program of one's own (tests/support/own_program.sh) made a page by
// `zemka web`, served over 127.0.0.1 and replaying ?play=, and made one file
// by `zemka web --single-file`, opened from disk and replaying the script
// given in the address (?script=): both end as the Linux replay did, pixel
// for pixel (the program draws no text).
async function ownProgramTests(browser, base) {
  if (!process.env.ZEMKA_OWN_WEB) {
    console.log('SKIP own program: no zemka web output given');
    return;
  }
  const reference = await imagePixels(browser, `${base}/own-reference.png`);
  const script = encodeURIComponent(fs.readFileSync(process.env.ZEMKA_OWN_SCRIPT, 'utf8'));
  const cases = [
    ['zemka web, served', `${base}/own/boxes.html?play=boxes.scr&quit_after_play=1&movie=boxes.gif`],
    ['zemka web --single-file, from file://',
     `file://${process.env.ZEMKA_OWN_SINGLE}?script=${script}&quit_after_play=1&movie=boxes.gif`],
  ];
  const movie = fs.readFileSync(process.env.ZEMKA_OWN_MOVIE).toString('base64');
  for (const [what, url] of cases) {
    const {page, errors} = await openPage(browser, url);
    const ended = await waitFor(() => page.evaluate(() => document.body.dataset.ended), 15000);
    check(`${what}: the replay ends the program with status 0`, ended === '0', String(ended));
    const shown = await canvasPixels(page);
    const differ = differingPixels(shown, reference);
    check(`${what}: the canvas equals the Linux replay`, differ === 0 && shown.width === 600 && shown.height === 500,
          `${differ} pixels differ (${shown.width} x ${shown.height})`);
    // The animation of the replay (movie= in the address) is the Linux
    // one, byte for byte, and the page offers it.
    const made = await waitFor(() => page.evaluate(async () => {
      const link = document.getElementById('zemka-animation');
      if (link.hidden || !link.href) return '';
      const bytes = new Uint8Array(await (await fetch(link.href)).arrayBuffer());
      let s = '';
      for (const b of bytes) s += String.fromCharCode(b);
      return btoa(s);
    }), 5000);
    check(`${what}: the animation equals the Linux one`, made === movie, `${made.length} / ${movie.length} base64 bytes`);
    const offered = await page.evaluate(() => document.getElementById('zemka-animation').textContent);
    check(`${what}: the page offers the animation`, offered === 'Download animation (boxes.gif)', offered);
    check(`${what}: no script errors on the page`, errors.length === 0, errors.join('; '));
    await page.close();
  }
  // "Record animation", two clicks, "Stop and save": the page offers a
  // GIF with a frame for each click at least.
  const {page, errors} = await openPage(browser, `${base}/own/boxes.html`);
  await page.click('#zemka-movie-start');
  await new Promise(r => setTimeout(r, 300));
  await clickCanvas(page, {x: 100, y: 100});
  await new Promise(r => setTimeout(r, 300));
  await clickCanvas(page, {x: 200, y: 300});
  await new Promise(r => setTimeout(r, 300));
  await page.click('#zemka-movie-stop');
  const href = await waitFor(() => page.evaluate(() => {
    const a = document.getElementById('zemka-animation');
    return !a.hidden && a.href;
  }), 5000);
  const gif = href ? await page.evaluate(async url => {
    const bytes = new Uint8Array(await (await fetch(url)).arrayBuffer());
    let frames = 0;
    for (let i = 0; i + 2 < bytes.length; ++i)
      if (bytes[i] === 0x21 && bytes[i + 1] === 0xf9 && bytes[i + 2] === 0x04) ++frames;
    return {magic: String.fromCharCode(...bytes.slice(0, 6)), frames};
  }, href) : null;
  check('animation buttons: Stop and save offers a GIF with the clicks\' frames',
        gif && gif.magic === 'GIF89a' && gif.frames >= 3, JSON.stringify(gif));
  check('animation buttons: no script errors on the page', errors.length === 0, errors.join('; '));
  await page.close();
}

// The gallery: the index has a card for every program, the painter first,
// each with its animated picture loaded; every program's page runs it, shows
// its source with a copy button and links back; nothing logs an error. The
// gallery folder of one-file pages does the same from disk.
async function galleryTest(browser, base) {
  const pages = fs.readdirSync(site).filter(f => f.endsWith('.html') && f !== 'index.html').map(f => f.slice(0, -5));
  const gallery = process.env.ZEMKA_GALLERY;
  for (const [where, root] of [['served', base], ['from disk', gallery ? `file://${gallery}` : null]]) {
    if (!root) {
      console.log(`SKIP gallery ${where}: no gallery folder given`);
      continue;
    }
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', e => errors.push(String(e)));
    page.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
    await page.goto(`${root}/index.html`);
    const cards = await waitFor(() => page.evaluate(() => {
      const all = Array.from(document.querySelectorAll('.card'));
      if (!all.every(c => c.querySelector('img').complete)) return null;
      return all.map(c => ({program: c.dataset.program, title: c.querySelector('h2').textContent,
                            width: c.querySelector('img').naturalWidth, height: c.querySelector('img').naturalHeight}));
    }), 15000);
    const names = (cards || []).map(c => c.program);
    check(`gallery ${where}: a card for every program, the painter first`,
          cards && names[0] === 'weather-painter' && names.length === pages.length && pages.every(p => names.includes(p)),
          JSON.stringify(names));
    check(`gallery ${where}: every card's animated picture is loaded`,
          cards && cards.every(c => c.width === 600 && c.height === 500 && c.title.length > 3),
          JSON.stringify((cards || []).filter(c => c.width !== 600)));
    check(`gallery ${where}: the index logs no error`, errors.length === 0, errors.join('; '));
    await page.close();
    // Every program's page from the served gallery; from disk, two of them.
    const visit = where === 'served' ? names : ['lesson04_ticks', 'lesson12_tree'];
    const bad = [];
    for (const name of visit) {
      const {page: p, errors: e} = await openPage(browser, `${root}/${name}.html`);
      const ok = await waitFor(() => p.evaluate(() => {
        const c = document.querySelector('.zemka-drawing canvas');
        const code = document.querySelector('#zemka-source .zemka-code');
        const back = document.getElementById('zemka-back');
        if (!c || !code || !back) return false;
        const rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let drawn = false;
        for (let i = 0; i < rgba.length && !drawn; i += 4) drawn = rgba[i] !== 255 || rgba[i + 1] !== 255 || rgba[i + 2] !== 255;
        const text = Array.from(document.querySelectorAll('#zemka-source .zemka-code'), e => e.textContent).join('\n');
        return drawn && /ZEMKA_start/.test(text) && code.querySelector('.kw') !== null &&
               !!document.getElementById('zemka-copy') && /index\.html$/.test(back.href);
      }), name === 'ask_name' || name.endsWith('_gets') || name.endsWith('_chart') ? 1500 : 8000);
      // The programs that ask first show their dialog and draw later.
      const asking = await p.evaluate(() => !!document.querySelector('.zemka-dialog'));
      if ((!ok && !asking) || e.length) bad.push(`${name}: ${ok ? '' : 'not running with its source'} ${e.join('; ')}`);
      await p.close();
    }
    check(`gallery ${where}: every page runs its program beside its source, no errors`, bad.length === 0, bad.join(' | '));
  }
}

// A command of the checkout: its status and what it printed.
function runTool(command, args, cwd, env = {}) {
  const r = spawnSync(command, args, {cwd, encoding: 'utf8', timeout: 900000, env: {...process.env, ...env}});
  return {status: r.status, out: r.stdout || '', err: r.stderr || String(r.error || '')};
}
const zemkaWeb = (args, cwd) => runTool(path.join(root, 'tools/zemka'), ['web', ...args], cwd);

// Builds one of tests/web/programs as a one-file page in its own folder.
function ownPage(source) {
  const dir = fs.mkdtempSync(path.join(work, 'page-'));
  fs.copyFileSync(path.join(programs, source), path.join(dir, source));
  const built = zemkaWeb(['--single-file', source, '-o', 'page.html'], dir);
  check(`${source}: zemka web makes its page`, built.status === 0, built.err);
  return built.status === 0 ? pathToFileURL(path.join(dir, 'page.html')).href : null;
}

// A page opened with what it does against the test noted: its uncaught
// errors, and (in problems) those, console errors, failed loads and
// dialogs.
async function watchedPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 900, height: 1200});
  const errors = [], problems = [];
  page.on('pageerror', e => { errors.push(String(e)); problems.push(String(e)); });
  page.on('console', m => { if (m.type() === 'error') problems.push(m.text()); });
  page.on('response', r => { if (r.status() >= 400) problems.push(`${r.status()}: ${r.url()}`); });
  page.on('dialog', d => { problems.push(`dialog: ${d.message()}`); d.dismiss().catch(() => {}); });
  await page.goto(url);
  return {page, errors, problems};
}

const pageState = page => page.evaluate(() => ({ended: document.body.dataset.ended,
                                                 status: document.getElementById('zemka-status').textContent}));

// Every way out of a program (tests/web/programs/ending.c) driven by real
// keys and clicks, and by a script in the address whose events end at ";":
// the page says that the program ended, and how.
async function endingTests(browser) {
  const url = ownPage('ending.c');
  if (!url) return;
  const quit = page => ctrl(page, 'KeyQ');
  const press = key => page => page.keyboard.press(key);
  const stopped = /^The program stopped with an error(: \S.*|\.)$/;
  const cases = [
    ['Ctrl+Q', '', quit, '0', 'The program has ended.'],
    ['a click, then q, which ends its loop', '', async page => {
      await clickCanvas(page, {x: 400, y: 300});
      await page.keyboard.press('KeyQ');
    }, '1', 'The program has ended (exit status 1).'],
    ['exit(7)', '', press('KeyE'), '7', 'The program has ended (exit status 7).'],
    ['Ctrl+Q with movie=/', '?movie=/', quit, '0', 'The program has ended.'],
    ['Ctrl+Q with movie=.', '?movie=.', quit, '0', 'The program has ended.'],
    ['a trap', '', press('KeyT'), 'abort', stopped],
    ['abort()', '', press('KeyA'), 'abort', stopped],
    // Two clicks, three ticks and q: 2 + 10 * 3.
    ['script=ZEMKA_MOUSE(0,0);ZEMKA_KBD(113);', '?script=ZEMKA_MOUSE(0,0);ZEMKA_KBD(113);', null, '1',
     'The program has ended (exit status 1).', [[300, 250]]],
    ['script= with ";", "+" and %0A', '?script=ZEMKA_MOUSE(0,0);ZEMKA_PERIODIC(3);+ZEMKA_MOUSE(10,-20);%0AZEMKA_KBD(113);',
     null, '32', 'The program has ended (exit status 32).', [[300, 250], [310, 270]]],
  ];
  for (const [what, query, act, ended, status, dots = []] of cases) {
    const {page, errors} = await watchedPage(browser, url + query);
    if (act) {
      const ready = await waitFor(() => page.evaluate(() =>
        document.getElementById('zemka-status').textContent === 'Running.' &&
        document.activeElement === document.querySelector('.zemka-drawing canvas')), 10000);
      if (ready) await act(page);
    }
    await waitFor(async () => (await pageState(page)).ended, 10000);
    const state = await pageState(page);
    const retired = await page.evaluate(() => document.querySelector('.zemka-drawing').classList.contains('retired'));
    const magenta = [];
    for (const [x, y] of dots) magenta.push((await canvasArea(page, x, y, 1, 1)).slice(0, 3).join(','));
    const clean = ended !== 'abort';
    check(`ending: ${what} is told on the page`,
          state.ended === ended && (clean ? state.status === status : status.test(state.status)) &&
          retired && magenta.every(m => m === '255,0,255') && (!clean || errors.length === 0),
          `${JSON.stringify(state)}, retired ${retired}, dots ${magenta.join(' ')}; ${errors.join('; ')}`);
    await page.close();
  }
}

// A program that draws a line of text and asks at once (before any wait),
// then draws another line and asks again at once: each line is in the
// drawing window behind its question.
async function behindDialogTest(browser) {
  const url = ownPage('behind.c');
  if (!url) return;
  const {page, problems} = await watchedPage(browser, url);
  const RED = [255, 0, 0];
  // The lines are 40 pixels high, standing on logical (-250, -150) and
  // (-250, -220).
  const questions = [['Is the blue text behind me?', BLUE, 340], ['Is the red text behind me?', RED, 410]];
  for (const [question, color, top] of questions) {
    const asked = await waitFor(() => page.evaluate(q =>
      document.querySelector('.zemka-dialog .zemka-static')?.textContent.trim() === q, question), 10000);
    const ink = async () => pointsOf(await canvasArea(page, 40, top, 540, 80), 540, color).length;
    const shown = await waitFor(async () => (await ink()) > 150, 3000);
    check(`behind: the text drawn before "${question}" is in the window behind it`, asked && shown,
          `asked ${asked}, ${await ink()} pixels of the colour; ${problems.join('; ')}`);
    if (!asked) break;
    await page.keyboard.type('yes');
    await page.keyboard.press('Enter');
  }
  await page.close();
}

// Names, comments and addresses full of markup: zemka web --source --back
// and the gallery of tools/build-web.sh put them into pages as text, run
// none of them, and refuse a javascript: link back and a name that cannot
// be one.
async function markupTests(browser) {
  const expectClean = async (what, page, problems) => {
    const pwned = await page.evaluate(() => window.__pwned);
    check(`markup: ${what} runs nothing of it`, pwned === undefined && problems.length === 0,
          `__pwned ${pwned}; ${problems.join('; ')}`);
  };
  const tricks = fs.readFileSync(path.join(programs, 'tricks.c'), 'utf8');
  const helper = fs.readFileSync(path.join(programs, 'tricks_helper.c'), 'utf8');

  // zemka web --single-file --source --back, two files of awkward names.
  const dir = fs.mkdtempSync(path.join(work, 'markup-'));
  const names = [`a"><img src=x onerror=window.__pwned=6>'&.c`, `b<!--&'<script>window.__pwned=7.c`];
  fs.writeFileSync(path.join(dir, names[0]), tricks);
  fs.writeFileSync(path.join(dir, names[1]), helper);
  const back = `index.html?from="><script>window.__pwned=8</script>&x='&y=<!--`;
  const built = zemkaWeb(['--single-file', '--source', '--back', back, '-o', 'page.html', ...names], dir);
  check('markup: zemka web makes the page of files with markup in their names', built.status === 0, built.err);
  if (built.status === 0) {
    const {page, problems} = await watchedPage(browser, pathToFileURL(path.join(dir, 'page.html')).href);
    await waitFor(() => page.evaluate(() => document.getElementById('zemka-status').textContent === 'Running.'), 10000);
    const shown = await page.evaluate(() => ({
      names: Array.from(document.querySelectorAll('#zemka-source-bar strong'), e => e.textContent),
      code: Array.from(document.querySelectorAll('#zemka-source .zemka-code'), e => e.textContent),
      back: document.getElementById('zemka-back')?.getAttribute('href'),
    }));
    check('markup: zemka web --source --back shows the names, the files and the address as they are',
          JSON.stringify(shown) === JSON.stringify({names, code: [tricks, helper], back}), JSON.stringify(shown));
    await expectClean('zemka web --source --back', page, problems);
    await page.close();
  }
  for (const [what, args] of [['a javascript: link back', ['--back', 'javascript:window.__pwned=9']],
                              ['a name with markup', ['--name', 'x"><img src=x onerror=window.__pwned=9>']]]) {
    const refused = zemkaWeb(['--single-file', ...args, '-o', 'refused.html', names[0]], dir);
    const lines = refused.err.split('\n').filter(l => l !== '');
    check(`markup: zemka web refuses ${what} in one line`, refused.status === 2 && lines.length === 1 &&
          lines[0].startsWith('zemka: ') && !fs.existsSync(path.join(dir, 'refused.html')),
          `status ${refused.status}: ${refused.err}`);
  }

  // The gallery of a program whose file name and opening comment hold
  // markup: its card shows the title and the first sentence after it as
  // text, whole.
  const own = fs.mkdtempSync(path.join(work, 'gallery-programs-'));
  const file = `c"><img src=x onerror=window.__pwned=10>'&`;
  fs.writeFileSync(path.join(own, `${file}.c`), tricks);
  fs.writeFileSync(path.join(own, `${file}.scr`), 'ZEMKA_MOUSE(0, 0);\n');
  const gallery = path.join(work, 'gallery');
  const made = runTool(path.join(root, 'tools/build-web.sh'), [path.join(work, 'site')], root,
                       {ZEMKA_WEB_PROGRAMS: own, ZEMKA_WEB_GALLERY: gallery, ZEMKA_WEB_SDK: path.join(work, 'sdk')});
  check('markup: tools/build-web.sh makes the gallery of such a program', made.status === 0, made.err.slice(-2000));
  if (made.status !== 0) return;
  const title = tricks.split('\n')[0].slice(3, -1);
  const summary = 'Steps of 0.5 are kept in ZEMKA.SCR, as "x < y" says.';
  const name = file.replace(/[^A-Za-z0-9_.+-]/g, '_');
  // The index (the same in both forms) opened from disk.
  {
    const {page, problems} = await watchedPage(browser, pathToFileURL(path.join(gallery, 'index.html')).href);
    const cards = await waitFor(() => page.evaluate(() => {
      const all = Array.from(document.querySelectorAll('.card'));
      if (!all.length || !all.every(c => c.querySelector('img').complete)) return null;
      return all.map(c => ({title: c.querySelector('h2').textContent, line: c.querySelector('p').textContent,
                            alt: c.querySelector('img').alt, width: c.querySelector('img').naturalWidth,
                            href: c.getAttribute('href')}));
    }), 10000);
    check('markup: the gallery shows the title and its first sentence as text',
          JSON.stringify(cards) === JSON.stringify([{title, line: summary, alt: `${title}, at work`, width: 600,
                                                     href: `${name}.html`}]), JSON.stringify(cards));
    await expectClean('the gallery', page, problems);
    await page.close();
  }
}

const server = await serve();
const base = `http://127.0.0.1:${server.address().port}`;
const profile = fs.mkdtempSync('/tmp/zemka-web-chromium-');
const browser = await launchBrowser('chromium', profile);
try {
  const only = process.env.ZEMKA_WEB_ONLY ? process.env.ZEMKA_WEB_ONLY.split(',') : null;
  for (const test of [painterTests, askNameTest, examplesTest, replayTest, replayMissingTest, ownProgramTests,
                      galleryTest, endingTests, behindDialogTest, markupTests]) {
    if (only && !only.includes(test.name)) continue;
    try {
      await test(browser, base);
    } catch (e) {
      check(test.name, false, String(e && e.stack || e));
    }
  }
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, {recursive: true, force: true});
  fs.rmSync(work, {recursive: true, force: true});
}
process.exit(summary());
