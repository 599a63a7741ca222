// The report page opened from disk in Chromium: failures first, the sort
// buttons clicked with the mouse, every picture of the page loaded.
//   node report_page.mjs NODE_MODULES REPORT/index.html
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [modules, page_file] = process.argv.slice(2);
const puppeteer = createRequire(path.join(modules, 'x.js'))('puppeteer-core');
const fail = (what) => { console.error(`FAIL: the report page: ${what}`); process.exitCode = 1; };
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
});
try {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(pathToFileURL(page_file).href, {waitUntil: 'load'});
  const order = () => page.$$eval('#cards > section', (s) => s.map((c) => c.dataset.name).join(' '));
  const first = await order();
  if (first !== 'carl dora emil gus hal ivy bob ada fay') fail(`the first order is ${first}`);
  await page.click('button:nth-of-type(1)');
  if (await order() !== 'ada bob carl dora emil fay gus hal ivy') fail(`by name: ${await order()}`);
  await page.click('button:nth-of-type(3)');
  if (!(await order()).startsWith('bob ')) fail(`by difference: ${await order()}`);
  await page.click('button:nth-of-type(2)');
  if (await order() !== first) fail(`by status again: ${await order()}`);
  const broken = await page.$$eval('img', (all) => all.filter((i) => !i.complete || i.naturalWidth === 0).map((i) => i.src));
  const count = await page.$$eval('img', (all) => all.length);
  if (broken.length || count < 10) fail(`${count} pictures, not loaded: ${broken.join(' ')}`);
  if (errors.length) fail(`script errors: ${errors.join('; ')}`);
} finally {
  await browser.close();
  fs.rmSync(profile, {recursive: true, force: true});
}
