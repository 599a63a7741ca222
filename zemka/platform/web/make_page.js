// A program's page, made from the page template (page.html): served (the
// page beside NAME.wasm, zemka_page.js, zemka_worker.js and fonts/) or as
// one file that carries all of them. `zemka web` makes pages with this
// file under node; the playground's "Download page" makes them with it in
// the browser, so both give the same page.
//
// In a browser: the global ZemkaPage {oneFile, served, asyncify}.
// Under node:
//   node make_page.js --sdk DIR --page PAGE.json [--fonts DIR] [--asyncify]
//        (--single-file OUT.html | --served OUT_DIR) WASM
// PAGE.json: {name, title, back, playground, sources: [{name, text}]}, as
// text already (the caller decides how a file's bytes are shown). The
// served form writes NAME.html and NAME.wasm. (--asyncify makes the module
// run without Promise Integration; the page then runs in every browser.)
var ZemkaPage = (function() {
  'use strict';
  var FONT_FILES = ['DejaVuSans.ttf', 'DejaVuSans-Bold.ttf', 'DejaVuSansMono.ttf', 'DejaVuSansMono-Bold.ttf'];
  // The waits of the library that a module suspends in.
  var SUSPENDING_IMPORTS = 'zemka.wait,zemka.yield';

  function escapeText(s) {
    return String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  }
  function escapeAttribute(s) { return escapeText(s).replace(/"/g, '&quot;').replace(/'/g, '&#39;'); }
  // A script as the text of a <script> element: nothing in it may end the
  // element or open an HTML comment there.
  function inlineScript(js) { return String(js).replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--'); }
  // A value as a JavaScript literal inside a <script> element.
  function literal(value) {
    return JSON.stringify(value).replace(/</g, '\\u003c').replace(/\u2028/g, '\\u2028').replace(/\u2029/g, '\\u2029');
  }
  // Only an http(s) or a relative address may be a page's link: a
  // javascript: or data: one would run in the page.
  function safeAddress(address) {
    if (/[\u0000-\u001f\u007f]/.test(address) || address !== address.trim()) return false;
    var scheme = /^([A-Za-z][A-Za-z0-9+.-]*):/.exec(address);
    return !scheme || /^https?$/i.test(scheme[1]);
  }
  function base64(bytes) {
    bytes = bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes);
    if (typeof Buffer !== 'undefined') return Buffer.from(bytes.buffer, bytes.byteOffset, bytes.length).toString('base64');
    var s = '';
    for (var i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(s);
  }

  // What goes where the template says {{{ SCRIPT }}}: the program's files
  // when they are shown, a link back, then what starts the program.
  function fill(options, start) {
    var insert = '';
    (options.sources || []).forEach(function(file) {
      insert += '<pre class="zemka-source-file" hidden data-file="' + escapeAttribute(file.name) + '">' +
                escapeText(file.text) + '</pre>\n';
    });
    // A link back (to a gallery), and one that opens the program's lesson
    // in the playground.
    [['back', 'zemka-back'], ['playground', 'zemka-playground']].forEach(function(link) {
      var address = options[link[0]];
      if (address === undefined || address === null) return;
      if (!safeAddress(String(address))) throw new Error('--' + link[0] + ': not an http(s) or relative address');
      insert += '<a id="' + link[1] + '" hidden href="' + escapeAttribute(address) + '">' + link[0] + '</a>\n';
    });
    insert += start;
    var title = '<title>' + escapeText(options.title || 'ZEMKA') + '</title>';
    // Functions as replacements: a "$" in the text stays a "$".
    return String(options.template).replace('<title>ZEMKA</title>', function() { return title; })
                                   .replace('{{{ SCRIPT }}}', function() { return insert; });
  }

  // options: {template, title, sources: [{name, text}], back, wasm (bytes),
  // pageScript, workerScript (texts), fonts: {file name: bytes}}.
  function oneFile(options) {
    var fonts = {};
    FONT_FILES.forEach(function(file) {
      if (options.fonts && options.fonts[file]) fonts[file] = 'data:font/ttf;base64,' + base64(options.fonts[file]);
    });
    return fill(options,
      '<script>\n' + inlineScript(options.pageScript) + '\n</script>\n' +
      '<script>\nzemkaStart({wasmBase64: ' + literal(base64(options.wasm)) + ',\n  workerScript: ' +
      literal(String(options.workerScript)) + ',\n  fonts: ' + literal(fonts) + '});\n</script>\n');
  }

  // options: {template, title, sources, back, name}: the page of NAME.wasm.
  function served(options) {
    return fill(options,
      '<script src="zemka_page.js"></script>\n' +
      '<script>zemkaStart({wasmUrl: ' + literal(options.name + '.wasm') +
      ', workerUrl: "zemka_worker.js", fontBase: "fonts/"});</script>\n');
  }

  // The Asyncify-transformed module for a browser without Promise
  // Integration: binaryen (its npm module, loaded by the caller) makes
  // every function that can reach a wait resumable.
  function asyncify(wasmBytes, binaryen) {
    var module = binaryen.readBinary(new Uint8Array(wasmBytes));
    try {
      binaryen.setPassArgument('asyncify-imports', SUSPENDING_IMPORTS);
      binaryen.setOptimizeLevel(1);
      binaryen.setShrinkLevel(1);
      module.runPasses(['asyncify']);
      module.optimize();
      return module.emitBinary();
    } finally {
      module.dispose();
    }
  }

  return {oneFile: oneFile, served: served, asyncify: asyncify, safeAddress: safeAddress,
          SUSPENDING_IMPORTS: SUSPENDING_IMPORTS};
})();

if (typeof module === 'object' && typeof require === 'function' && require.main === module) {
  try {
    var fs = require('fs'), path = require('path');
    var args = process.argv.slice(2), o = {};
    var valued = {'--sdk': 'sdk', '--page': 'page', '--fonts': 'fonts', '--single-file': 'single', '--served': 'served'};
    while (args.length) {
      var a = args.shift();
      if (a === '--asyncify') o.asyncify = true;
      else if (valued[a] && args.length) o[valued[a]] = args.shift();
      else if (!a.startsWith('--') && !o.wasm) o.wasm = a;
      else throw new Error('make_page.js: unexpected argument ' + a);
    }
    if (!o.sdk || !o.page || !o.wasm || !(o.single || o.served)) throw new Error('make_page.js: missing arguments');
    var sdkFile = function(name) { return fs.readFileSync(path.join(o.sdk, name)); };
    var wasm = fs.readFileSync(o.wasm);
    if (o.asyncify) {
      // Binaryen's wasm-opt, the same pass as asyncify() below.
      var os = require('os'), child = require('child_process');
      var folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zemka-page-'));
      try {
        var made = child.spawnSync('wasm-opt', [o.wasm, '--asyncify', '--pass-arg=asyncify-imports@' +
                                                ZemkaPage.SUSPENDING_IMPORTS, '-O1', '-o', path.join(folder, 'p.wasm')],
                                   {stdio: ['ignore', 'ignore', 'inherit']});
        if (made.status !== 0) throw new Error('wasm-opt (Debian package binaryen) could not transform the program');
        wasm = fs.readFileSync(path.join(folder, 'p.wasm'));
      } finally {
        fs.rmSync(folder, {recursive: true, force: true});
      }
    }
    var page = JSON.parse(fs.readFileSync(o.page, 'utf8'));
    page.template = sdkFile('page.html').toString('utf8');
    if (o.single) {
      var fonts = {};
      ['DejaVuSans.ttf', 'DejaVuSans-Bold.ttf', 'DejaVuSansMono.ttf', 'DejaVuSansMono-Bold.ttf'].forEach(function(f) {
        fonts[f] = fs.readFileSync(path.join(o.fonts || path.join(o.sdk, 'fonts'), f));
      });
      page.wasm = wasm;
      page.fonts = fonts;
      page.pageScript = sdkFile('zemka_page.js').toString('utf8');
      page.workerScript = sdkFile('zemka_worker.js').toString('utf8');
      fs.writeFileSync(o.single, ZemkaPage.oneFile(page));
    } else {
      fs.writeFileSync(path.join(o.served, page.name + '.html'), ZemkaPage.served(page));
      fs.writeFileSync(path.join(o.served, page.name + '.wasm'), wasm);
    }
  } catch (e) {
    console.error('make_page.js: ' + (e && e.message || e));
    process.exitCode = 1;
  }
}
