// The program's side of the web back end: a Web Worker that runs the
// program's WebAssembly module (wasm32-wasi, over a WASI shim with the
// program's files in memory) and gives it the imports of module "zemka"
// (web_bridge.h). Windows, menus and dialogs are the page's (zemka_page.js):
// what concerns them is posted there, and the page posts input back. The
// program waits without blocking the worker: by Promise Integration where
// the browser has it, else by Asyncify (the module is then transformed,
// and exports asyncify_start_unwind). The page can end the worker at any
// time, even in a loop that never waits.
//
// Bundled with the WASI shim into one classic script by the build.
import { WASI, WASIProcExit, File, Directory, OpenFile, ConsoleStdout, PreopenDirectory } from '@bjorn3/browser_wasi_shim';

const P = ZemkaProtocol;  // zemka_web_protocol.js, put before this file by the build

let instance = null;
let root = null;            // the program's folder: a PreopenDirectory of "/"
const input = [];           // records not yet taken: [kind, id, a, b]
let wake = null;            // ends the wait in progress
const dialogTexts = {};     // dialog id -> {control id: text}, as the page last told
let settings = {};
let screen = [1024, 768];
let textCanvas = null, textContext = null;

const post = (message, transfer) => self.postMessage(message, transfer || []);
const bytes = () => new Uint8Array(instance.exports.memory.buffer);
const words = () => new Int32Array(instance.exports.memory.buffer);
const pixelWords = () => new Uint32Array(instance.exports.memory.buffer);
const decoder = new TextDecoder();
const encoder = new TextEncoder();
const text = (ptr, length) => {
  const b = bytes();
  if (length === undefined) { length = 0; while (b[ptr + length]) ++length; }
  return decoder.decode(b.subarray(ptr, ptr + length));
};
// Copies s as UTF-8 into the module, cut at a character to at most max - 1
// bytes, with a NUL; returns the bytes written.
function putText(s, ptr, max) {
  if (max <= 0) return 0;
  let data = encoder.encode(s);
  if (data.length > max - 1) {
    let cut = max - 1;
    while (cut > 0 && (data[cut] & 0xc0) === 0x80) --cut;
    data = data.subarray(0, cut);
  }
  bytes().set(data, ptr);
  bytes()[ptr + data.length] = 0;
  return data.length;
}

// --- Text, by the worker's own 2D canvas in the page's fonts ---------------
function fontString(px, bold, fixed) {
  return (bold ? 'bold ' : '') + px + 'px ' + (fixed ? '"DejaVu Sans Mono", monospace' : '"DejaVu Sans", sans-serif');
}
function textContextFor(width, height) {
  if (!textCanvas) {
    textCanvas = new OffscreenCanvas(1, 1);
    textContext = textCanvas.getContext('2d', { willReadFrequently: true });
  }
  if (textCanvas.width < width) textCanvas.width = width;
  if (textCanvas.height < height) textCanvas.height = height;
  return textContext;
}
function metrics(px, bold, fixed) {
  const ctx = textContextFor(1, 1);
  ctx.font = fontString(px, bold, fixed);
  const m = ctx.measureText('Mg');
  const ascent = Math.round(m.fontBoundingBoxAscent !== undefined ? m.fontBoundingBoxAscent : px * 0.93);
  const descent = Math.round(m.fontBoundingBoxDescent !== undefined ? m.fontBoundingBoxDescent : px * 0.24);
  return [ascent, descent];
}
// Draws the text in a scratch canvas and blends its coverage into the
// surface (0xffRRGGBB words, stride in pixels): the surface's own pixels
// stay under the glyphs' anti-aliased edges.
function drawText(pixels, width, height, stride, px, bold, fixed, x, y, s, color, opaque, background) {
  const m = metrics(px, bold, fixed);
  let ctx = textContextFor(1, 1);
  ctx.font = fontString(px, bold, fixed);
  const measured = ctx.measureText(s).width;
  const left = Math.max(0, x), top = Math.max(0, y);
  const right = Math.min(width, x + Math.ceil(measured) + 2), bottom = Math.min(height, y + m[0] + m[1]);
  if (right <= left || bottom <= top) return;
  const w = right - left, h = bottom - top;
  ctx = textContextFor(w, h);
  // White on opaque black: the red channel is the glyphs' coverage.
  ctx.fillStyle = '#000';
  ctx.fillRect(0, 0, w, h);
  ctx.font = fontString(px, bold, fixed);
  ctx.textBaseline = 'alphabetic';
  ctx.fillStyle = '#fff';
  ctx.fillText(s, x - left, y - top + m[0]);
  const coverage = ctx.getImageData(0, 0, w, h).data;
  const cr = (color >>> 16) & 0xff, cg = (color >>> 8) & 0xff, cb = color & 0xff;
  const heap = pixelWords();
  const base = pixels >>> 2;
  const opaqueRight = Math.min(width, x + Math.round(measured)) - left;
  for (let row = 0; row < h; ++row) {
    const line = base + (top + row) * stride + left;
    for (let col = 0; col < w; ++col) {
      const a = coverage[(row * w + col) * 4];
      if (opaque && col < opaqueRight) heap[line + col] = background >>> 0;
      if (a === 0) continue;
      const p = heap[line + col];
      const r = (cr * a + ((p >>> 16) & 0xff) * (255 - a) + 127) / 255 | 0;
      const g = (cg * a + ((p >>> 8) & 0xff) * (255 - a) + 127) / 255 | 0;
      const b = (cb * a + (p & 0xff) * (255 - a) + 127) / 255 | 0;
      heap[line + col] = (0xff000000 | (r << 16) | (g << 8) | b) >>> 0;
    }
  }
}

// --- Files ----------------------------------------------------------------
// The file at path in the program's folder, or null.
function fileAt(path) {
  let node = root.dir;
  const parts = path.split('/').filter(p => p && p !== '.');
  for (let i = 0; i < parts.length; ++i) {
    const next = node instanceof Directory ? node.contents.get(parts[i]) : null;
    if (!next) return null;
    node = next;
  }
  return node instanceof File ? node : null;
}
// A file the page gives (a script picked to play): put in place whole, so
// a stream that has the old one open keeps reading what it opened.
function putFile(name, data) {
  const clean = String(name).replace(/^.*\//, '');
  if (!clean || clean === '.' || clean === '..') return;
  root.dir.contents.set(clean, new File(new Uint8Array(data)));
}

// --- Waiting ----------------------------------------------------------------
// Resolves when input arrives or timeoutMs pass (negative: input only).
function inputOrTimeout(timeoutMs) {
  return new Promise(resolve => {
    if (input.length) { resolve(); return; }
    let timer = null;
    const done = () => {
      if (timer !== null) clearTimeout(timer);
      if (wake === done) wake = null;
      resolve();
    };
    wake = done;
    if (timeoutMs >= 0) timer = setTimeout(done, timeoutMs);
  });
}
const oneTurn = () => new Promise(resolve => setTimeout(resolve, 0));

// Asyncify's way: a suspending import unwinds the stack into the module's
// unwind area and leaves the promise here; the start is called again to
// rewind once it settles.
const asyncify = { on: false, state: 'normal', pending: null, area: 0 };
function suspending(fn) {
  if (!asyncify.on) return new WebAssembly.Suspending(fn);
  return (...args) => {
    const e = instance.exports;
    if (asyncify.state === 'rewinding') {
      e.asyncify_stop_rewind();
      asyncify.state = 'normal';
      return;
    }
    asyncify.pending = fn(...args);
    const w = words();
    w[asyncify.area >>> 2] = asyncify.area + 8;
    w[(asyncify.area >>> 2) + 1] = asyncify.area + e.zemka_web_unwind_area_size();
    e.asyncify_start_unwind(asyncify.area);
    asyncify.state = 'unwinding';
  };
}
async function runAsyncified(start) {
  const e = instance.exports;
  asyncify.area = e.zemka_web_unwind_area();
  for (;;) {
    start();
    if (asyncify.state !== 'unwinding') return;
    e.asyncify_stop_unwind();
    asyncify.state = 'normal';
    await asyncify.pending;
    e.asyncify_start_rewind(asyncify.area);
    asyncify.state = 'rewinding';
  }
}

// --- The imports of module "zemka" ------------------------------------------
const toPage = name => (...args) => post({ type: 'call', name, args });
function zemkaImports() {
  return {
    create_window: (id, title, fixed, width, height) =>
      post({ type: 'call', name: 'createWindow', args: [id, text(title), fixed, width, height] }),
    show_window: toPage('showWindow'),
    retire_window: toPage('retireWindow'),
    present: (id, ptr, width, height, stride) => {
      if (width <= 0 || height <= 0) return;
      const heap = pixelWords();
      const out = new Uint32Array(width * height);
      const base = ptr >>> 2;
      for (let y = 0; y < height; ++y) {
        const row = base + y * stride, o = y * width;
        for (let x = 0; x < width; ++x) {
          const p = heap[row + x];
          out[o + x] = (p & 0xff00ff00) | ((p >>> 16) & 0xff) | ((p & 0xff) << 16);
        }
      }
      post({ type: 'present', id, width, height, pixels: out.buffer }, [out.buffer]);
    },
    take_input: (ptr, max) => {
      const n = Math.min(max, input.length);
      const w = words();
      for (let i = 0; i < n; ++i) w.set(input[i], (ptr >>> 2) + i * 4);
      input.splice(0, n);
      return n;
    },
    wait: suspending(inputOrTimeout),
    yield: suspending(oneTurn),
    screen_size: (wPtr, hPtr) => {
      const w = words();
      w[wPtr >>> 2] = screen[0];
      w[hPtr >>> 2] = screen[1];
    },
    menu_add_popup: (id, title) => post({ type: 'call', name: 'menuAddPopup', args: [id, text(title)] }),
    menu_add_item: (id, popup, itemId, flags, label) =>
      post({ type: 'call', name: 'menuAddItem', args: [id, popup, itemId, flags, text(label)] }),
    menu_check: toPage('menuCheck'),
    text_width: (px, bold, fixed, ptr, length) => {
      const ctx = textContextFor(1, 1);
      ctx.font = fontString(px, bold, fixed);
      // A huge text must not wrap round to a negative width in the int.
      return Math.min(Math.round(ctx.measureText(text(ptr, length)).width), 0x7fffffff);
    },
    font_metrics: (px, bold, fixed, out) => {
      const m = metrics(px, bold, fixed);
      words().set(m, out >>> 2);
    },
    text_draw: (pixels, width, height, stride, px, bold, fixed, x, y, ptr, length, color, opaque, background) =>
      drawText(pixels, width, height, stride, px, bold, fixed, x, y, text(ptr, length), color, opaque, background),
    dialog_open: (id, caption, width, height, owner, x, y) => {
      dialogTexts[id] = {};
      post({ type: 'call', name: 'dialogOpen', args: [id, text(caption), width, height, owner, x, y] });
    },
    dialog_add: (id, kind, control, x, y, width, height, label) => {
      const s = text(label);
      if (dialogTexts[id]) dialogTexts[id][control] = s;
      post({ type: 'call', name: 'dialogAdd', args: [id, kind, control, x, y, width, height, s] });
    },
    dialog_focus_first: toPage('dialogFocusFirst'),
    dialog_text: (id, control, ptr, max) => putText((dialogTexts[id] || {})[control] || '', ptr, max),
    dialog_close: id => {
      delete dialogTexts[id];
      post({ type: 'call', name: 'dialogClose', args: [id] });
    },
    setting: (namePtr, ptr, max) => {
      const name = text(namePtr);
      if (!Object.prototype.hasOwnProperty.call(settings, name)) return -1;
      const data = encoder.encode(String(settings[name]));
      bytes().set(data.subarray(0, Math.max(0, Math.min(max, data.length))), ptr);
      return data.length;
    },
    offer_file: pathPtr => {
      const path = text(pathPtr);
      const file = fileAt(path);
      if (!file) return;
      const data = file.data.slice();
      post({ type: 'file', name: path.replace(/^.*\//, ''), bytes: data.buffer }, [data.buffer]);
    },
  };
}

async function loadFonts(fonts) {
  if (!self.fonts || typeof FontFace === 'undefined') return;
  const faces = [['DejaVu Sans', 'DejaVuSans.ttf', 'normal'], ['DejaVu Sans', 'DejaVuSans-Bold.ttf', 'bold'],
                 ['DejaVu Sans Mono', 'DejaVuSansMono.ttf', 'normal'], ['DejaVu Sans Mono', 'DejaVuSansMono-Bold.ttf', 'bold']];
  await Promise.all(faces.map(async ([family, file, weight]) => {
    if (!fonts[file]) return;
    try {
      const face = new FontFace(family, fonts[file], { weight });
      self.fonts.add(await face.load());
    } catch (e) {
      post({ type: 'output', text: `ZEMKA: font ${file} could not be loaded` });
    }
  }));
}

async function start(message) {
  settings = message.settings || {};
  screen = message.screen || screen;
  await loadFonts(message.fonts || {});
  const contents = new Map();
  for (const [name, data] of Object.entries(message.files || {})) contents.set(name.replace(/^.*\//, ''), new File(new Uint8Array(data)));
  root = new PreopenDirectory('/', contents);
  const out = ConsoleStdout.lineBuffered(line => post({ type: 'output', text: line }));
  const err = ConsoleStdout.lineBuffered(line => post({ type: 'output', text: line, error: true }));
  const env = Object.entries(settings).map(([k, v]) => `${k}=${v}`);
  const wasi = new WASI([message.name || 'program'], env, [new OpenFile(new File([])), out, err, root], { debug: false });
  // Files in memory never block: the library's clearing of O_NONBLOCK on
  // a file it opened succeeds (the shim would refuse it).
  wasi.wasiImport.fd_fdstat_set_flags = () => 0;
  const module = await WebAssembly.compile(message.wasm);
  asyncify.on = WebAssembly.Module.exports(module).some(e => e.name === 'asyncify_start_unwind');
  if (!asyncify.on && typeof WebAssembly.Suspending !== 'function') {
    post({ type: 'end', how: 'error', message: 'this browser cannot pause a program: it has no WebAssembly Promise Integration' });
    return;
  }
  instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport, zemka: zemkaImports() });
  wasi.inst = instance;
  post({ type: 'started' });
  try {
    if (asyncify.on) await runAsyncified(() => instance.exports._start());
    else await WebAssembly.promising(instance.exports._start)();
    post({ type: 'end', how: 'exit', status: 0 });
  } catch (e) {
    if (e instanceof WASIProcExit) post({ type: 'end', how: 'exit', status: e.code });
    else post({ type: 'end', how: 'error', message: e && e.message || String(e) });
  }
}

self.onmessage = event => {
  const m = event.data;
  if (m.type === 'start') {
    start(m).catch(e => post({ type: 'end', how: 'error', message: e && e.message || String(e) }));
  } else if (m.type === 'input') {
    if (m.dialogTexts && m.record[0] === P.INPUT_DIALOG) Object.assign(dialogTexts[m.record[1]] || {}, m.dialogTexts);
    input.push(m.record);
    if (wake) wake();
  } else if (m.type === 'file' && root) {
    // A script to play goes where the library's Playback Script reads.
    const name = m.script && instance ? text(instance.exports.zemka_web_script_path()) : m.name;
    putFile(name, m.bytes);
  }
};
