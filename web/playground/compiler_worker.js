// The playground's compiler: clang and wasm-ld built as WebAssembly, in a
// module worker so that a compile never holds up the page. The toolchain's
// files lie gzipped beside it (static servers do not compress); they are
// fetched once, kept in the Cache API, and unpacked as they stream in.
//   in:  {type: 'build', id, language: 'c'|'cpp', source}
//   out: {type: 'progress', done, total} while the toolchain loads,
//        {type: 'loaded'} | {type: 'load-failed', message},
//        {type: 'built', id, ok, wasm?, output, file}
const base = new URL('./toolchain/', import.meta.url);
const sdkBase = new URL('./sdk/', import.meta.url);
const realFetch = globalThis.fetch.bind(globalThis);
const CACHE_PREFIX = 'zemka-toolchain-';

let manifest = null;
let cache = null;
let progress = {done: 0, total: 0};

function report() {
  postMessage({type: 'progress', done: progress.done, total: progress.total});
}

async function openCache() {
  if (!globalThis.caches) return null;  // file:// and other insecure origins
  try {
    const name = CACHE_PREFIX + manifest.version;
    for (const old of await caches.keys())
      if (old.startsWith(CACHE_PREFIX) && old !== name) await caches.delete(old);
    return await caches.open(name);
  } catch {
    return null;
  }
}

async function loadManifest() {
  const url = new URL('manifest.json', base);
  try {
    const response = await realFetch(url, {cache: 'no-cache'});
    if (!response.ok) throw new Error(`${url.pathname}: ${response.status}`);
    return await response.json();
  } catch (e) {
    // Offline: the manifest a cache was made with.
    if (globalThis.caches) {
      for (const name of (await caches.keys()).filter(n => n.startsWith(CACHE_PREFIX))) {
        const kept = await (await caches.open(name)).match(url);
        if (kept) return kept.json();
      }
    }
    throw e;
  }
}

// The gzipped file, from the cache or else from the network (counted on
// the progress bar and then kept).
async function gzipped(name) {
  const url = new URL(`${name}.gz`, base);
  let response = cache && await cache.match(url);
  if (!response) {
    response = await realFetch(url);
    if (!response.ok) throw new Error(`${url.pathname}: ${response.status} ${response.statusText}`);
    const chunks = [];
    const reader = response.body.getReader();
    for (;;) {
      const {value, done} = await reader.read();
      if (done) break;
      chunks.push(value);
      progress.done += value.length;
      report();
    }
    const blob = new Blob(chunks);
    if (cache) {
      try { await cache.put(url, new Response(blob)); } catch { /* full: fetched again next time */ }
    }
    response = new Response(blob);
  }
  return response;
}

globalThis.fetch = async (input, init) => {
  const url = new URL(input instanceof Request ? input.url : String(input), self.location.href);
  const name = url.href.startsWith(base.href) ? url.href.slice(base.href.length) : null;
  if (!manifest || !name || !(name in manifest.files)) return realFetch(input, init);
  const body = (await gzipped(name)).body.pipeThrough(new DecompressionStream('gzip'));
  return new Response(body, {headers: {'Content-Type': name.endsWith('.wasm') ? 'application/wasm' : 'application/octet-stream'}});
};

let toolchain = null;
const ready = (async () => {
  manifest = await loadManifest();
  cache = await openCache();
  for (const [name, size] of Object.entries(manifest.files)) {
    if (!(cache && await cache.match(new URL(`${name}.gz`, base)))) progress.total += size;
  }
  report();
  toolchain = await import(new URL('bundle.js', base).href);
  await toolchain.runClang(null, {}, {fetchProgress: () => {}});
  postMessage({type: 'loaded'});
})();
ready.catch(e => postMessage({type: 'load-failed', message: String(e && e.message || e)}));

// What every compile reads: the recipe, the headers and the library.
let sdk = null;
async function loadSdk() {
  const get = async (name, how) => {
    const response = await realFetch(new URL(name, sdkBase), {cache: 'no-cache'});
    if (!response.ok) throw new Error(`sdk/${name}: ${response.status}`);
    return how === 'json' ? response.json() : new Uint8Array(await response.arrayBuffer());
  };
  const [recipe, headers, library] = await Promise.all([get('build.json', 'json'), get('headers.json', 'json'),
                                                        get('libzemka.a')]);
  const include = {};
  await Promise.all(headers.map(async name => {
    const data = await get(`include/${name}`);
    const parts = name.split('/');
    let node = include;
    for (const part of parts.slice(0, -1)) node = node[part] ??= {};
    node[parts[parts.length - 1]] = data;
  }));
  return {recipe, include, library};
}

async function build({language, source}) {
  sdk ??= await loadSdk();
  const file = language === 'cpp' ? 'program.cpp' : 'program.c';
  const tree = {'zemka-sdk': {include: sdk.include, 'libzemka.a': sdk.library}, [file]: new TextEncoder().encode(source)};
  const output = [];
  const options = {
    stdout: bytes => { if (bytes) output.push(new Uint8Array(bytes)); },
    stderr: bytes => { if (bytes) output.push(new Uint8Array(bytes)); },
    decodeASCII: false,
  };
  const text = () => new TextDecoder().decode(new Uint8Array(Array.prototype.concat(...output.map(b => Array.from(b)))));
  const steps = [
    [language === 'cpp' ? 'clang++' : 'clang', ...(language === 'cpp' ? sdk.recipe.cxx : sdk.recipe.c), '-c', file,
     '-o', 'program.o'],
    ['clang++', 'program.o', ...sdk.recipe.link, '-o', 'program.wasm'],
  ];
  let files = tree;
  for (const args of steps) {
    try {
      files = await toolchain.runClang(args, files, options);
    } catch (e) {
      if (e instanceof toolchain.Exit) return {ok: false, output: text(), file};
      throw e;
    }
  }
  if (!(files['program.wasm'] instanceof Uint8Array)) return {ok: false, output: text() || 'the linker wrote no program', file};
  return {ok: true, wasm: files['program.wasm'].slice(), output: text(), file};
}

// One build at a time, in the order asked.
let queue = Promise.resolve();
self.onmessage = ({data}) => {
  if (data?.type !== 'build') return;
  queue = queue.then(async () => {
    let result;
    try {
      await ready;
      result = await build(data);
    } catch (e) {
      result = {ok: false, output: `The compiler stopped: ${e && e.message || e}`, file: ''};
    }
    if (result.wasm) postMessage({type: 'built', id: data.id, ...result}, [result.wasm.buffer]);
    else postMessage({type: 'built', id: data.id, ...result});
  });
};
