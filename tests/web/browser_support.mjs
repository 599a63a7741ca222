// What the browser tests share: serving files from 127.0.0.1 on a free
// port, launching Debian's headless Chromium or Firefox ESR, waiting for a
// page to get somewhere, reading a drawing window's canvas, and counting
// verdicts.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
               '.ttf': 'font/ttf', '.png': 'image/png', '.scr': 'text/plain'};

// Serves the file that fileOf(url) names for a request (an absolute path),
// 403 where it names none. Resolves to the listening server.
export function serveFiles(fileOf) {
  const server = http.createServer((req, res) => {
    const file = fileOf(new URL(req.url, 'http://127.0.0.1'));
    if (!file) {
      res.writeHead(403);
      res.end();
      return;
    }
    fs.readFile(file, (err, data) => {
      if (err) { res.writeHead(404); res.end(); return; }
      res.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
      res.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The file under dir that a URL's path names; null outside dir.
export function fileUnder(dir, pathname) {
  const file = path.join(dir, path.normalize(pathname));
  return file === dir || file.startsWith(dir + path.sep) ? file : null;
}

// Headless Chromium (CHROMIUM names another one) or Firefox ESR, with its
// profile in dir; downloads, when given, go to that folder.
export function launchBrowser(name, dir, downloads) {
  const firefox = name === 'firefox';
  return puppeteer.launch({
    browser: firefox ? 'firefox' : 'chrome',
    executablePath: firefox ? '/usr/bin/firefox-esr' : process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(dir, 'profile'),
    args: firefox ? [] : ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                          '--disable-component-update', '--disable-sync'],
    downloadBehavior: firefox || !downloads ? undefined : {policy: 'allow', downloadPath: downloads},
    extraPrefsFirefox: downloads ? {'browser.download.dir': downloads, 'browser.download.folderList': 2,
                                    'browser.download.useDownloadDir': true,
                                    'browser.download.always_ask_before_handling_new_types': false} : {},
  });
}

// fn's first truthy value, polled every stepMs; its last value after
// timeoutMs.
export async function waitFor(fn, timeoutMs = 5000, stepMs = 25) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await fn();
    if (value || Date.now() > end) return value;
    await new Promise(r => setTimeout(r, stepMs));
  }
}

// The drawing window's canvas as RGBA bytes {width, height, data: Buffer},
// or, with source, the picture at that address as the browser decodes it;
// null without a canvas.
export function canvasPixels(page, source) {
  return page.evaluate(async source => {
    let c = document.querySelector('.zemka-drawing canvas');
    if (source) {
      const img = new Image();
      img.src = source;
      await img.decode();
      c = document.createElement('canvas');
      c.width = img.width;
      c.height = img.height;
      c.getContext('2d').drawImage(img, 0, 0);
    }
    if (!c) return null;
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode(...d.subarray(i, i + 0x8000));
    return {width: c.width, height: c.height, data: btoa(s)};
  }, source).then(p => p && {...p, data: Buffer.from(p.data, 'base64')});
}

// "R,G,B" of a pixel of canvasPixels' result.
export function rgbAt(p, x, y) {
  const i = (y * p.width + x) * 4;
  return Array.from(p.data.subarray(i, i + 3)).join(',');
}

// PASS and FAIL lines, each named after tag when there is one, and the
// "N passed, N failed" line at the end.
export function verdicts(tag = '') {
  const counts = {passed: 0, failed: 0};
  return {
    counts,
    check(name, ok, detail = '') {
      if (ok) ++counts.passed; else ++counts.failed;
      console.log(`${ok ? 'PASS' : 'FAIL'} ${tag ? tag + ': ' : ''}${name}${ok || !detail ? '' : ': ' + detail}`);
    },
    summary() {
      console.log(`${counts.passed} passed, ${counts.failed} failed`);
      return counts.failed ? 1 : 0;
    },
  };
}
