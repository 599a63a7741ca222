// The playground: an editor, a compiler in a worker, and the program run
// beside them by the web back end's page half (ZemkaWeb, zemka_page.js).
import {EditorView, keymap, lineNumbers, highlightActiveLine, highlightActiveLineGutter, drawSelection,
        highlightSpecialChars} from '@codemirror/view';
import {EditorState} from '@codemirror/state';
import {defaultKeymap, history, historyKeymap, indentWithTab} from '@codemirror/commands';
import {syntaxHighlighting, defaultHighlightStyle, indentOnInput, bracketMatching} from '@codemirror/language';
import {searchKeymap, highlightSelectionMatches} from '@codemirror/search';
import {lintGutter, lintKeymap, setDiagnostics} from '@codemirror/lint';
import {cpp} from '@codemirror/lang-cpp';
import {deflateSync, Inflate} from 'fflate';

const $ = id => document.getElementById(id);
const params = new URLSearchParams(location.search);
const setState = state => { document.body.dataset.state = state; };
const status = text => { $('status').textContent = text; };
const notice = text => { $('notice').textContent = text; $('notice').hidden = !text; };

const DEFAULT_PROGRAM = `/* My first program: a circle wherever you click.
 *
 * (0, 0) is the middle of the picture; x grows to the right, y upwards.
 * Colours are numbers: 0 is black, 2 red, 4 blue.
 * Run it with the Run button (or Ctrl+Enter); Ctrl+Q quits it.
 */
#include <zemka/zemka.h>

int main(void) {
    int x, y, kind;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(4, -120, 60, 24, "Click me!");
    /* Wait for the next event; every click draws a red circle. */
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE)
            ZEMKA_draw_circle(2, x, y, 20);
    ZEMKA_stop();
    return 0;
}
`;

// ---- Saved programs: one list in localStorage, read again before every
// write so that two tabs do not undo each other's work.
const STORE = 'zemka-playground';
const LANGUAGES = ['c', 'cpp'];
function readStore() {
  let data = null;
  try { data = JSON.parse(localStorage.getItem(STORE)); } catch { /* unreadable: start again */ }
  const programs = Array.isArray(data?.programs) ? data.programs.filter(p =>
    p && typeof p.id === 'string' && typeof p.name === 'string' && typeof p.text === 'string' &&
    LANGUAGES.includes(p.language)) : [];
  return {programs, current: typeof data?.current === 'string' ? data.current : null};
}
let storageWarned = false;
function writeStore(change) {
  const store = readStore();
  change(store);
  try {
    localStorage.setItem(STORE, JSON.stringify(store));
  } catch {
    if (!storageWarned) notice('This browser does not keep the program: use "Download source" to keep it.');
    storageWarned = true;
  }
  return store;
}
const newId = () => `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
function uniqueName(programs, wanted) {
  const names = new Set(programs.map(p => p.name));
  if (!names.has(wanted)) return wanted;
  for (let n = 2; ; ++n) if (!names.has(`${wanted} ${n}`)) return `${wanted} ${n}`;
}

let program = null;  // the entry in the editor: {id, name, language, text, lesson?}
function saveProgram() {
  writeStore(store => {
    const i = store.programs.findIndex(p => p.id === program.id);
    if (i >= 0) store.programs[i] = program; else store.programs.push(program);
    store.current = program.id;
  });
}
function addProgram(fields) {
  writeStore(store => {
    program = {id: newId(), ...fields, name: uniqueName(store.programs, fields.name)};
    store.programs.push(program);
    store.current = program.id;
  });
  showProgram();
}

// ---- The editor.
let view = null;
function editorState(text, language) {
  return EditorState.create({
    doc: text,
    extensions: [
      lineNumbers(), highlightActiveLineGutter(), highlightSpecialChars(), history(), drawSelection(),
      indentOnInput(), bracketMatching(), highlightActiveLine(), highlightSelectionMatches(),
      syntaxHighlighting(defaultHighlightStyle, {fallback: true}), cpp(), lintGutter(),
      keymap.of([...defaultKeymap, ...historyKeymap, ...searchKeymap, ...lintKeymap, indentWithTab]),
      EditorView.contentAttributes.of({'aria-label': `${language === 'cpp' ? 'C++' : 'C'} program`}),
      EditorView.updateListener.of(update => {
        if (!update.docChanged) return;
        program.text = update.state.doc.toString();
        saveProgram();
      }),
    ],
  });
}
function showProgram() {
  view.setState(editorState(program.text, program.language));
  $('language').value = program.language;
  $('program-name').value = program.name;
  const list = $('programs');
  list.replaceChildren(...readStore().programs.map(p => new Option(p.name, p.id, false, p.id === program.id)));
  showDiagnostics([]);
}

// ---- Compiler messages: "file:line:col: error: text" lines of the
// program's file, each a link to its line and a mark in the gutter.
const MESSAGE = /^(.*?):(\d+):(\d+): (fatal error|error|warning|note): (.*)$/;
const TOOL_MESSAGE = /^(?:[\w.+-]+: )?(error|warning): (.*)$/;
function parseMessages(output, file) {
  const messages = [];
  for (const line of output.split('\n')) {
    const m = MESSAGE.exec(line);
    if (m && m[1] === file) {
      const entry = {line: Number(m[2]), column: Number(m[3]), severity: m[4] === 'warning' ? 'warning' : 'error',
                     text: line};
      if (m[4] === 'note') {
        if (messages.length) messages[messages.length - 1].text += `\n${line}`;
        continue;
      }
      messages.push(entry);
    } else if (!m && TOOL_MESSAGE.test(line)) {
      messages.push({line: 0, column: 0, severity: TOOL_MESSAGE.exec(line)[1], text: line});
    }
  }
  return messages;
}
function goToLine(line, column) {
  const doc = view.state.doc;
  const l = doc.line(Math.min(Math.max(line, 1), doc.lines));
  view.dispatch({selection: {anchor: Math.min(l.from + Math.max(column - 1, 0), l.to)}, scrollIntoView: true});
  view.focus();
}
function showDiagnostics(messages) {
  const list = $('diagnostics');
  list.replaceChildren(...messages.map(m => {
    const item = document.createElement(m.line ? 'a' : 'div');
    item.className = m.severity;
    item.textContent = m.text;
    if (m.line) {
      item.dataset.line = String(m.line);
      item.href = `#line-${m.line}`;
      item.addEventListener('click', e => { e.preventDefault(); goToLine(m.line, m.column); });
    }
    return item;
  }));
  const doc = view.state.doc;
  const marks = messages.filter(m => m.line >= 1 && m.line <= doc.lines).map(m => {
    const l = doc.line(m.line);
    const from = Math.min(l.from + Math.max(m.column - 1, 0), l.to);
    return {from, to: Math.max(from, l.to), severity: m.severity, message: m.text};
  });
  view.dispatch(setDiagnostics(view.state, marks));
}

// ---- The compiler worker.
const compiler = new Worker('compiler_worker.js', {type: 'module'});
const builds = new Map();
let buildCount = 0;
let compilerLoaded = false;
compiler.onmessage = ({data}) => {
  if (data.type === 'progress') {
    const mb = n => (n / 1e6).toFixed(1);
    $('progress').max = data.total || 1;
    $('progress').value = data.done;
    $('progress-text').textContent = data.total ? `Loading the compiler: ${mb(data.done)} of ${mb(data.total)} MB`
                                                : 'Loading the compiler';
  } else if (data.type === 'loaded') {
    compilerLoaded = true;
    $('loading').hidden = true;
    if (document.body.dataset.state === 'loading') { setState('ready'); status('Ready'); }
  } else if (data.type === 'load-failed') {
    $('loading').hidden = true;
    notice(`The compiler could not be loaded: ${data.message}`);
    setState('failed');
  } else if (data.type === 'built') {
    builds.get(data.id)?.(data);
    builds.delete(data.id);
  }
};
function compile(language, source) {
  const id = ++buildCount;
  return new Promise(resolve => {
    builds.set(id, resolve);
    compiler.postMessage({type: 'build', id, language, source});
  });
}

// The program just compiled, for Run and "Download page".
let built = null;  // {language, source, wasm, asyncified?}
async function build() {
  const language = program.language, source = view.state.doc.toString();
  if (built && built.language === language && built.source === source) return built;
  setState('compiling');
  status(compilerLoaded ? 'Compiling\u2026' : 'Compiling (the compiler is still loading)\u2026');
  const result = await compile(language, source);
  const messages = parseMessages(result.output, result.file);
  if (!result.ok && !messages.some(m => m.severity === 'error'))
    messages.push({line: 0, column: 0, severity: 'error', text: result.output.trim() || 'The program could not be built.'});
  showDiagnostics(messages);
  if (!result.ok) {
    setState('failed');
    status('The program has mistakes: nothing runs until they are mended');
    return null;
  }
  built = {language, source, wasm: result.wasm};
  return built;
}

// ---- Asyncify, for browsers without Promise Integration and for pages
// given to others (which must run in every browser).
let binaryenModule = null;
function loadBinaryen() {
  return binaryenModule ??= (async () => {
    const response = await fetch('binaryen/index.js.gz');
    if (!response.ok) throw new Error(`binaryen/index.js.gz: ${response.status}`);
    const text = await new Response(response.body.pipeThrough(new DecompressionStream('gzip'))).blob();
    const url = URL.createObjectURL(new Blob([text], {type: 'text/javascript'}));
    try { return (await import(/* webpackIgnore: true */ url)).default; } finally { URL.revokeObjectURL(url); }
  })();
}
async function asyncified(entry) {
  if (!entry.asyncified) {
    status('Preparing the program for this browser\u2026');
    entry.asyncified = ZemkaPage.asyncify(entry.wasm, await loadBinaryen());
  }
  return entry.asyncified;
}
const wantAsyncify = () => params.get('suspend') === 'asyncify' || !ZemkaWeb.supportsPromiseIntegration();

// ---- Settings of the address, passed to the program as on zemka web pages.
const SETTINGS = {play: 'ZEMKA_PLAY', quit_after_play: 'ZEMKA_QUIT_AFTER_PLAY', play_limit: 'ZEMKA_PLAY_LIMIT',
                  echo: 'ZEMKA_ECHO', movie: 'ZEMKA_MOVIE', movie_every: 'ZEMKA_MOVIE_EVERY',
                  movie_limit: 'ZEMKA_MOVIE_LIMIT'};
const safeName = name => name.replace(/[^A-Za-z0-9_.+-]/g, '_').replace(/^\.+/, '_').slice(0, 100) || 'file';
async function runSettings() {
  const settings = {}, files = {};
  for (const [key, value] of params) {
    const name = SETTINGS[key] || (Object.values(SETTINGS).includes(key) ? key : null);
    if (name && name !== 'ZEMKA_PLAY') settings[name] = value;
  }
  const play = params.get('play') ?? params.get('ZEMKA_PLAY');
  if (play) {
    const name = safeName(play.split('/').pop());
    settings.ZEMKA_PLAY = name;
    try {
      const response = await fetch(new URL(play, location.href));
      if (response.ok) files[name] = new Uint8Array(await response.arrayBuffer());
    } catch { /* the program says the file is missing, as on the desktop */ }
  } else if (params.has('script')) {
    settings.ZEMKA_PLAY = 'script.scr';
    files['script.scr'] = new TextEncoder().encode(params.get('script').replace(/;[ \t]*/g, ';\n'));
  }
  return {settings, files};
}

// ---- Run and Stop.
let running = null;  // the ZemkaWeb run object
let runCount = 0;
function stop() {
  if (!running) return;
  running.stop();
}
function appendOutput(text) {
  const out = $('output');
  // A program that prints without end keeps only its latest lines here.
  out.textContent = (out.textContent + text + (text.endsWith('\n') ? '' : '\n')).slice(-100000);
  out.hidden = false;
  out.scrollTop = out.scrollHeight;
}
function offerFile(name, bytes) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes]));
  link.download = safeName(name);
  link.textContent = `Download ${safeName(name)}`;
  $('files').append(link);
  $('files').hidden = false;
}
function ended(outcome) {
  if (outcome.how === 'stopped') { setState('stopped'); status('Stopped'); return; }
  setState('ended');
  if (outcome.how === 'error') status(`The program stopped with an error${outcome.message ? `: ${outcome.message}` : ''}`);
  else status(outcome.status ? `The program ended with status ${outcome.status}` : 'The program ended');
}
async function run() {
  const mine = ++runCount;
  stop();
  notice('');
  const entry = await build();
  if (!entry || mine !== runCount) return;
  let wasm = entry.wasm, suspend = 'auto';
  try {
    if (wantAsyncify()) { wasm = await asyncified(entry); suspend = 'asyncify'; }
  } catch (e) {
    setState('ended');
    status(`The program could not be prepared for this browser: ${e && e.message || e}`);
    return;
  }
  const {settings, files} = await runSettings();
  if (mine !== runCount) return;
  $('windows').replaceChildren();
  $('output').textContent = '';
  $('output').hidden = true;
  try {
    const thisRun = ZemkaWeb.run({
      wasm, host: $('windows'), settings, files, suspend, workerUrl: 'sdk/zemka_worker.js', fontBase: 'sdk/fonts/',
      onEnd: outcome => { if (running === thisRun) { running = null; ended(outcome); } },
      onOutput: appendOutput,
      onFile: offerFile,
    });
    running = thisRun;
    setState('running');
    status('Running (Escape or Stop ends it)');
  } catch (e) {
    setState('ended');
    status(`The program could not start: ${e && e.message || e}`);
  }
}

// ---- Share link, Download page, Download source.
function base64url(bytes) {
  let s = '';
  for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(s).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}
const SHARED_LIMIT = 1 << 20;
function unshare(code) {
  if (!/^[A-Za-z0-9_-]*$/.test(code) || code.length > SHARED_LIMIT) throw new Error('not base64url');
  const raw = atob(code.replace(/-/g, '+').replace(/_/g, '/') + '='.repeat((4 - code.length % 4) % 4));
  const bytes = Uint8Array.from(raw, c => c.charCodeAt(0));
  // Inflated a little at a time: a small link may not grow without bound.
  const parts = [];
  let size = 0, finished = false;
  const inflate = new Inflate((chunk, final) => { parts.push(chunk); size += chunk.length; finished ||= final; });
  for (let i = 0; i < bytes.length && size <= SHARED_LIMIT; i += 1024)
    inflate.push(bytes.subarray(i, i + 1024), i + 1024 >= bytes.length);
  if (size > SHARED_LIMIT) throw new Error('too large');
  if (!finished) throw new Error('cut short');
  const all = new Uint8Array(size);
  let at = 0;
  for (const p of parts) { all.set(p, at); at += p.length; }
  return new TextDecoder('utf-8', {fatal: true}).decode(all);
}
function shareLink() {
  const code = base64url(deflateSync(new TextEncoder().encode(view.state.doc.toString()), {level: 9}));
  const language = program.language === 'cpp' ? '?language=cpp' : '';
  const link = `${location.href.split(/[?#]/)[0]}${language}#c=${code}`;
  $('share-link').value = link;
  $('share-link').hidden = false;
  $('share-link').select();
  navigator.clipboard?.writeText(link).then(() => status('The link is copied: paste it where you like'),
                                            () => status('Copy the link from the box'));
}
const fileBase = () => safeName(program.name.trim().replace(/\s+/g, '_')) || 'program';
function download(name, blob) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}
async function sdkFile(name, how) {
  const response = await fetch(`sdk/${name}`);
  if (!response.ok) throw new Error(`sdk/${name}: ${response.status}`);
  return how === 'text' ? response.text() : new Uint8Array(await response.arrayBuffer());
}
async function downloadPage() {
  const before = document.body.dataset.state;
  const entry = await build();
  if (!entry) return;
  if (document.body.dataset.state === 'compiling') setState(running ? 'running' : before === 'loading' ? 'ready' : before);
  try {
    status('Making the page\u2026');
    const wasm = await asyncified(entry);
    const fontNames = JSON.parse(await sdkFile('fonts.json', 'text'));
    const fonts = {};
    await Promise.all(fontNames.map(async name => { fonts[name] = await sdkFile(`fonts/${name}`); }));
    const [template, pageScript, workerScript] = await Promise.all(
      ['page.html', 'zemka_page.js', 'zemka_worker.js'].map(name => sdkFile(name, 'text')));
    const name = fileBase();
    const html = ZemkaPage.oneFile({template, title: `ZEMKA: ${name}`, pageScript, workerScript, fonts, wasm,
                                    sources: [{name: `${name}.${entry.language}`, text: entry.source}]});
    download(`${name}.html`, new Blob([html], {type: 'text/html'}));
    status(`${name}.html is made: it opens from disk in any browser`);
  } catch (e) {
    status(`The page could not be made: ${e && e.message || e}`);
  }
}

// ---- The controls.
async function openLesson(name) {
  const response = await fetch('lessons.json');
  const lessons = response.ok ? await response.json() : [];
  const lesson = lessons.find(l => l.name === name);
  if (!lesson) { notice(`There is no lesson "${name}".`); return; }
  // A lesson opened before comes back with the learner's changes.
  const kept = readStore().programs.find(p => p.lesson === name);
  if (kept) { program = kept; saveProgram(); showProgram(); }
  else addProgram({name: lesson.title.replace(/\.$/, ''), language: lesson.language, text: lesson.source, lesson: name});
}
async function fillLessons() {
  try {
    const response = await fetch('lessons.json');
    if (!response.ok) return;
    for (const lesson of await response.json()) $('lessons').append(new Option(lesson.title, lesson.name));
  } catch { /* no lessons menu then */ }
}
function wire() {
  $('run').addEventListener('click', run);
  $('stop').addEventListener('click', stop);
  $('language').addEventListener('change', () => {
    program.language = $('language').value === 'cpp' ? 'cpp' : 'c';
    saveProgram();
  });
  $('lessons').addEventListener('change', () => {
    const name = $('lessons').value;
    $('lessons').selectedIndex = 0;
    if (name) openLesson(name);
  });
  $('programs').addEventListener('change', () => {
    const chosen = readStore().programs.find(p => p.id === $('programs').value);
    if (chosen) { program = chosen; saveProgram(); showProgram(); }
  });
  $('program-name').addEventListener('input', () => {
    program.name = $('program-name').value.slice(0, 200);
    saveProgram();
    const option = Array.from($('programs').options).find(o => o.value === program.id);
    if (option) option.textContent = program.name;
  });
  $('new-program').addEventListener('click', () => addProgram({name: 'My program', language: 'c', text: DEFAULT_PROGRAM}));
  $('delete-program').addEventListener('click', () => {
    if (!confirm(`Delete "${program.name}"? Its text is then gone.`)) return;
    const store = writeStore(s => { s.programs = s.programs.filter(p => p.id !== program.id); });
    if (store.programs.length) { program = store.programs[0]; saveProgram(); showProgram(); }
    else addProgram({name: 'My program', language: 'c', text: DEFAULT_PROGRAM});
  });
  $('share').addEventListener('click', shareLink);
  $('download-page').addEventListener('click', downloadPage);
  $('download-source').addEventListener('click', () =>
    download(`${fileBase()}.${program.language}`, new Blob([view.state.doc.toString()], {type: 'text/plain'})));
  window.addEventListener('keydown', e => {
    if (e.key === 'Enter' && (e.ctrlKey || e.metaKey)) {
      e.preventDefault();
      e.stopPropagation();
      run();
    } else if (e.key === 'Escape' && running) {
      e.preventDefault();
      e.stopPropagation();
      stop();
    }
  }, true);
  // Another tab's changes to the list show here.
  window.addEventListener('storage', e => {
    if (e.key !== STORE) return;
    $('programs').replaceChildren(...readStore().programs.map(p => new Option(p.name, p.id, false, p.id === program.id)));
  });
}

async function start() {
  setState('loading');
  status('Loading the compiler\u2026');
  view = new EditorView({parent: $('editor')});
  wire();
  fillLessons();
  const store = readStore();
  program = store.programs.find(p => p.id === store.current) || store.programs[0] || null;
  const hash = location.hash.startsWith('#c=') ? location.hash.slice(3) : null;
  if (hash !== null) {
    // A shared program is a new entry: the learner's own are left as they are.
    try {
      const text = unshare(hash);
      const language = params.get('language') === 'cpp' ? 'cpp' : 'c';
      const same = store.programs.find(p => p.text === text && p.language === language);
      if (same) program = same;
      else addProgram({name: 'Shared program', language, text});
    } catch {
      notice('The program in this link could not be read: the link is cut short or damaged.');
    }
    // window's: the editor's undo history is imported as `history`.
    window.history.replaceState(null, '', location.href.split('#')[0]);
  }
  if (!program) {
    const name = 'My program';
    addProgram({name, language: params.get('language') === 'cpp' ? 'cpp' : 'c', text: DEFAULT_PROGRAM});
  } else {
    saveProgram();
    showProgram();
  }
  if (params.get('lesson')) await openLesson(params.get('lesson'));
  if (compilerLoaded && document.body.dataset.state === 'loading') setState('ready');
  if (params.get('run') === '1') run();
}
start();
