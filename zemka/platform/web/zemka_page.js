// The page's half of the web back end: page elements for the windows,
// their menus and the line-input dialog, input turned into records for the
// program, files the library offers made downloads. The program itself
// runs in a Web Worker (zemka_worker.js), so a program that never waits
// cannot freeze the page and can always be stopped. `zemka web` pages and
// the playground both start programs with ZemkaWeb.run.
//
// Needs zemka_web_protocol.js (ZemkaProtocol) before it.
var ZemkaWeb = (function() {
  'use strict';
  var P = ZemkaProtocol;
  var FONT_FILES = ['DejaVuSans.ttf', 'DejaVuSans-Bold.ttf', 'DejaVuSansMono.ttf', 'DejaVuSansMono-Bold.ttf'];
  // The widest a window may be shown on a narrow screen before it is
  // scaled down to the page's width.
  var MARGIN = 8;

  // How the windows, menus and dialogs look, wherever they are shown (a
  // zemka web page, the playground): put first in the page's head, so a
  // page's own rules can change it.
  var STYLE = [
    '.zemka-window { background: #f0f0f0; border: 1px solid #707070; box-shadow: 2px 2px 6px #0004; display: inline-block; }',
    '.zemka-window.retired .zemka-close, .zemka-window.retired .zemka-menubar { pointer-events: none; opacity: .5; }',
    '.zemka-title { background: #2b5797; color: #fff; padding: 3px 6px; display: flex; justify-content: space-between; align-items: center; user-select: none; }',
    '.zemka-close { background: none; border: none; color: #fff; font-size: 16px; cursor: pointer; padding: 0 4px; }',
    '.zemka-menubar { display: flex; border-bottom: 1px solid #b0b0b0; user-select: none; }',
    '.zemka-menu { position: relative; }',
    '.zemka-menu-title { background: none; border: none; padding: 3px 9px; font: inherit; cursor: default; }',
    '.zemka-menu-title.open, .zemka-menu-title:hover { background: #cce0f8; }',
    '.zemka-menu-list { position: absolute; z-index: 10; left: 0; top: 100%; background: #fafafa; border: 1px solid #888; box-shadow: 2px 2px 5px #0005; min-width: 290px; padding: 2px 0; }',
    '.zemka-item { display: grid; grid-template-columns: 22px 1fr auto; padding: 3px 12px 3px 2px; white-space: pre; cursor: default; }',
    '.zemka-item:hover:not(.grayed) { background: #cce0f8; }',
    '.zemka-item.grayed { color: #999; }',
    '.zemka-check { text-align: center; }',
    '.zemka-shortcut { padding-left: 24px; }',
    '.zemka-separator { border: none; border-top: 1px solid #ccc; margin: 3px 0; }',
    'canvas.zemka-client { display: block; outline: none; image-rendering: pixelated; }',
    '.zemka-frame { resize: both; overflow: hidden; min-width: 40px; min-height: 20px; max-width: min(4096px, calc(100vw - 16px)); max-height: 4096px; }',
    '.zemka-modal { position: fixed; inset: 0; background: #0003; display: flex; align-items: center; justify-content: center; z-index: 20; }',
    '.zemka-dialog { background: #f0f0f0; border: 1px solid #555; box-shadow: 3px 3px 10px #0006; }',
    '.zemka-dialog-body { position: relative; font: 12px "DejaVu Sans", sans-serif; }',
    '.zemka-dialog-body > * { position: absolute; box-sizing: border-box; font: inherit; margin: 0; }',
    '.zemka-dialog-body textarea { resize: none; }',
    '.zemka-dialog-body button.default { outline: 2px solid #2b5797; }',
    '.zemka-static { white-space: pre-wrap; overflow: hidden; }',
    '.zemka-keyboard-bar { display: flex; padding: 2px 4px; border-top: 1px solid #b0b0b0; }',
    '.zemka-keyboard-field { position: absolute; opacity: 0; width: 1px; height: 1px; border: 0; padding: 0; }',
    '@media (hover: hover) and (pointer: fine) { .zemka-keyboard-bar { display: none; } }'
  ].join('\n');
  function addStyle() {
    if (document.getElementById('zemka-style')) return;
    var style = document.createElement('style');
    style.id = 'zemka-style';
    style.textContent = STYLE;
    document.head.insertBefore(style, document.head.firstChild);
  }

  function supportsPromiseIntegration() {
    return typeof WebAssembly === 'object' && typeof WebAssembly.Suspending === 'function' &&
           typeof WebAssembly.promising === 'function';
  }

  // Key codes the library knows: letters and digits as their upper-case
  // ASCII codes, and a few control keys.
  var NAMED_KEYS = {Control: P.KEY_CONTROL, Shift: P.KEY_SHIFT, Alt: P.KEY_ALT, Backspace: P.KEY_BACKSPACE,
                    Tab: P.KEY_TAB, Enter: P.KEY_ENTER, Escape: P.KEY_ESCAPE, ' ': P.KEY_SPACE,
                    ArrowLeft: P.KEY_LEFT, ArrowUp: P.KEY_UP, ArrowRight: P.KEY_RIGHT, ArrowDown: P.KEY_DOWN,
                    Delete: P.KEY_DELETE};
  function keyCodeOf(key, keyCode) {
    var k = keyCode | 0;
    if ((k >= 65 && k <= 90) || (k >= 48 && k <= 57)) return k;
    var chars = Array.from(key || '');
    if (chars.length === 1) {
      var u = chars[0].toUpperCase().charCodeAt(0);
      if ((u >= 65 && u <= 90) || (u >= 48 && u <= 57)) return u;
    }
    return NAMED_KEYS[key] || 0;
  }

  // The character a key press types, as a desktop toolkit reports it:
  // Ctrl + letter types the letter's control code.
  function typedCharOf(key, ctrl, alt) {
    switch (key) {
      case 'Enter': return 13;
      case 'Backspace': return 8;
      case 'Tab': return 9;
      case 'Escape': return 27;
    }
    var chars = Array.from(key || '');
    if (chars.length !== 1) return 0;
    var c = chars[0].codePointAt(0);
    if (c > 0xffff) return 0;  // the key message keeps 16 bits for it
    if (ctrl && !alt) {
      var upper = chars[0].toUpperCase().codePointAt(0);
      if (upper >= 64 && upper <= 95) return upper & 0x1f;
    }
    return c;
  }

  // "&Run" -> R underlined; "&&" is a plain ampersand.
  function labelWithMnemonic(text) {
    var span = document.createElement('span');
    for (var i = 0; i < text.length; ++i) {
      if (text[i] === '&' && i + 1 < text.length) {
        ++i;
        if (text[i] !== '&') {
          var u = document.createElement('u');
          u.textContent = text[i];
          span.appendChild(u);
          continue;
        }
      }
      span.appendChild(document.createTextNode(text[i]));
    }
    return span;
  }
  function mnemonicOf(text) {
    var m = /&([^&])/.exec(text);
    return m ? m[1].toUpperCase() : '';
  }

  // A window's or dialog's caption with its close box.
  function titleBar(text, onClose) {
    var bar = document.createElement('div');
    bar.className = 'zemka-title';
    var title = document.createElement('span');
    title.textContent = text;
    bar.appendChild(title);
    var close = document.createElement('button');
    close.className = 'zemka-close';
    close.title = 'Close';
    close.type = 'button';
    close.textContent = '\u00d7';
    close.addEventListener('click', onClose);
    bar.appendChild(close);
    return bar;
  }

  // One running program: its worker and the page elements of its windows.
  function sizedBox(className, width, height) {
    var box = document.createElement('div');
    box.className = className;
    box.style.width = width + 'px';
    box.style.height = height + 'px';
    return box;
  }

  function Run(options) {
    var run = this;
    addStyle();
    this.host = options.host || document.getElementById('zemka-windows') || document.body;
    this.windows = {};   // id -> {id, section, canvas, context, menus, ...}
    this.dialogs = {};   // id -> {overlay, body, controls, defaultButton, inerted, returnFocus, owner}
    this.drawingWindow = 0;
    this.over = false;
    this.options = options;
    var settle;
    this.ended = new Promise(function(resolve) { settle = resolve; });
    this.settle = settle;
    this.fitter = function() { run.fitAll(); };
    window.addEventListener('resize', this.fitter);
    var worker;
    try {
      if (options.workerScript) {
        this.workerUrl = URL.createObjectURL(new Blob([options.workerScript], {type: 'text/javascript'}));
        worker = new Worker(this.workerUrl);
      } else {
        worker = new Worker(options.workerUrl || 'zemka_worker.js');
      }
    } catch (e) {
      this.end({how: 'error', message: 'the program could not be started (' + (e && e.message || e) + ')'});
      return;
    }
    this.worker = worker;
    worker.onmessage = function(event) { run.receive(event.data); };
    worker.onerror = function(event) {
      event.preventDefault();
      run.end({how: 'error', message: event.message || 'the program\'s worker failed'});
    };
    var wasm = options.wasm instanceof ArrayBuffer ? options.wasm.slice(0) : new Uint8Array(options.wasm).slice().buffer;
    var files = {};
    var transfer = [wasm];
    Object.keys(options.files || {}).forEach(function(name) {
      var data = new Uint8Array(options.files[name]).slice().buffer;
      files[name] = data;
      transfer.push(data);
    });
    loadFonts(options).then(function(fonts) {
      if (run.over) return;
      worker.postMessage({type: 'start', wasm: wasm, name: options.name || 'program', settings: options.settings || {},
                          files: files, fonts: fonts,
                          screen: [(window.screen && screen.width) || 1024, (window.screen && screen.height) || 768]},
                         transfer);
    });
  }

  // The fonts as bytes for the worker's canvas: given (a one-file page
  // carries them), or fetched.
  function loadFonts(options) {
    var fonts = {};
    return Promise.all(FONT_FILES.map(function(file) {
      if (options.fonts && options.fonts[file]) {
        fonts[file] = new Uint8Array(options.fonts[file]).slice().buffer;
        return null;
      }
      return fetch((options.fontBase || 'fonts/') + file).then(function(r) {
        if (!r.ok) throw new Error('HTTP status ' + r.status);
        return r.arrayBuffer();
      }).then(function(data) { fonts[file] = data; }, function() {
        console.error('ZEMKA: font ' + file + ' could not be loaded');
      });
    })).then(function() { return fonts; });
  }

  Run.prototype.post = function(kind, id, a, b, extra) {
    if (this.over || !this.worker) return;
    var message = {type: 'input', record: [kind | 0, id | 0, a | 0, b | 0]};
    if (extra) message.dialogTexts = extra;
    this.worker.postMessage(message);
  };

  Run.prototype.receive = function(m) {
    if (this.over) return;
    if (m.type === 'call') {
      var f = this[m.name];
      if (typeof f === 'function') f.apply(this, m.args);
    } else if (m.type === 'present') {
      this.present(m.id, m.width, m.height, m.pixels);
    } else if (m.type === 'output') {
      if (this.options.onOutput) this.options.onOutput(m.text, !!m.error);
      else if (m.error) console.error(m.text); else console.log(m.text);
    } else if (m.type === 'file') {
      if (this.options.onFile) this.options.onFile(m.name, new Uint8Array(m.bytes));
    } else if (m.type === 'started') {
      if (this.options.onStart) this.options.onStart();
    } else if (m.type === 'end') {
      this.end(m);
    }
  };

  // The program has ended (or was stopped): its windows keep their
  // pictures and take no more input; the worker goes.
  Run.prototype.end = function(outcome) {
    if (this.over) return;
    this.over = true;
    if (this.worker) this.worker.terminate();
    if (this.workerUrl) URL.revokeObjectURL(this.workerUrl);
    window.removeEventListener('resize', this.fitter);
    for (var id in this.windows) this.retireWindow(id);
    for (var d in this.dialogs) this.dialogClose(d);
    var result = {how: outcome.how, status: outcome.status | 0, message: outcome.message || ''};
    if (this.options.onEnd) this.options.onEnd(result);
    this.settle(result);
  };

  Run.prototype.stop = function() { this.end({how: 'stopped', message: 'stopped'}); };

  // The page's own buttons give the drawing window commands, as its menu does.
  Run.prototype.command = function(name) {
    var kinds = {'movie-start': P.INPUT_MOVIE_START, 'movie-stop': P.INPUT_MOVIE_STOP};
    if (kinds[name] && this.drawingWindow) this.post(kinds[name], this.drawingWindow, 0, 0);
  };

  // A file for the program's folder.
  Run.prototype.putFile = function(name, bytes) { this.sendFile({type: 'file', name: name}, bytes); };
  // A script for the Run menu's Playback Script to play.
  Run.prototype.putScript = function(bytes) { this.sendFile({type: 'file', script: true}, bytes); };
  Run.prototype.sendFile = function(message, bytes) {
    if (this.over || !this.worker) return;
    message.bytes = new Uint8Array(bytes).slice().buffer;
    this.worker.postMessage(message, [message.bytes]);
  };

  // --- Windows ---------------------------------------------------------------

  Run.prototype.windowIdOf = function(element) {
    for (var id in this.windows)
      if (this.windows[id].canvas === element) return id | 0;
    return 0;
  };

  // A window wider than the page is shown smaller (a phone): the canvas
  // keeps its pixels, clicks and taps are mapped back to them.
  Run.prototype.fit = function(win) {
    if (!win.fixed) return;
    var room = Math.max(100, (document.documentElement.clientWidth || window.innerWidth) - 2 * MARGIN -
                             (win.section.getBoundingClientRect().left > MARGIN ? win.section.getBoundingClientRect().left : 0));
    var scale = Math.min(1, room / win.canvas.width);
    win.canvas.style.width = scale < 1 ? Math.floor(win.canvas.width * scale) + 'px' : '';
    win.canvas.style.height = scale < 1 ? Math.floor(win.canvas.height * scale) + 'px' : '';
    win.section.style.maxWidth = scale < 1 ? Math.floor(win.canvas.width * scale) + 2 + 'px' : '';
  };
  Run.prototype.fitAll = function() {
    for (var id in this.windows) this.fit(this.windows[id]);
  };

  Run.prototype.createWindow = function(id, title, fixed, width, height) {
    var run = this;
    var section = document.createElement('section');
    section.className = 'zemka-window';
    section.dataset.window = id;
    if (fixed) {
      section.classList.add('zemka-drawing');
      this.drawingWindow = id;
    }
    section.appendChild(titleBar(title, function() { run.post(P.INPUT_CLOSE_BOX, id, 0, 0); }));
    var menuBar = document.createElement('div');
    menuBar.className = 'zemka-menubar';
    menuBar.hidden = true;
    section.appendChild(menuBar);
    var canvas = document.createElement('canvas');
    canvas.className = 'zemka-client';
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = 0;
    var win = {id: id, fixed: !!fixed, section: section, canvas: canvas, menuBar: menuBar, menus: [],
               context: canvas.getContext('2d'), resizeObserver: null};
    if (fixed) {
      section.appendChild(canvas);
      this.addKeyboardButton(win);
    } else {
      // A window of the resizable style: its client area is a frame the
      // user can drag larger or smaller; every new size goes to the
      // library, which resizes the surface and draws it anew.
      var frame = sizedBox('zemka-frame', width, height);
      frame.appendChild(canvas);
      section.appendChild(frame);
      var posted = [width, height];
      win.resizeObserver = new ResizeObserver(function() {
        var w = Math.max(1, Math.min(4096, Math.round(frame.clientWidth)));
        var h = Math.max(1, Math.min(4096, Math.round(frame.clientHeight)));
        if (frame.closest('[hidden]') || (w === posted[0] && h === posted[1])) return;
        posted = [w, h];
        run.post(P.INPUT_RESIZED, id, w, h);
      });
      win.resizeObserver.observe(frame);
    }
    section.hidden = true;
    this.host.appendChild(section);
    this.windows[id] = win;

    // A click or a tap at the canvas's pixel under it, however the canvas
    // is scaled. The point is taken before the focus could scroll the page.
    canvas.addEventListener('pointerdown', function(e) {
      var r = canvas.getBoundingClientRect();
      if (e.pointerType !== 'touch') canvas.focus({preventScroll: true});
      run.closeMenus(win);
      if (e.button !== 0) return;
      e.preventDefault();
      var x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
      var y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
      run.post(P.INPUT_CLICK, id, x, y);
    });
    canvas.addEventListener('keydown', function(e) { run.keyDown(win, e); });
    canvas.addEventListener('keyup', function(e) {
      e.preventDefault();
      run.post(P.INPUT_KEY_UP, id, keyCodeOf(e.key, e.keyCode), 0);
    });
    canvas.addEventListener('focusout', function(e) {
      run.post(P.INPUT_FOCUS_LOST, id, run.windowIdOf(e.relatedTarget), 0);
    });
  };

  Run.prototype.keyDown = function(win, e) {
    var open = this.openMenuIndex(win);
    if (open >= 0) {
      // An open menu takes the keys: Escape closes it, a mnemonic chooses.
      e.preventDefault();
      if (e.key === 'Escape') { this.closeMenus(win); return; }
      var letter = (e.key || '').toUpperCase();
      var items = win.menus[open].items;
      for (var i = 0; i < items.length; ++i)
        if (!items[i].separator && mnemonicOf(items[i].text) === letter) {
          this.chooseItem(win, items[i]);
          return;
        }
      return;
    }
    if (e.altKey && !e.ctrlKey) {
      var key = (e.key || '').toUpperCase();
      for (var j = 0; j < win.menus.length; ++j)
        if (mnemonicOf(win.menus[j].title) === key) {
          e.preventDefault();
          this.openMenu(win, j);
          return;
        }
    }
    if (e.key !== 'F5' && e.key !== 'F12') e.preventDefault();
    this.post(P.INPUT_KEY_DOWN, win.id, keyCodeOf(e.key, e.keyCode), typedCharOf(e.key, e.ctrlKey, e.altKey));
  };

  // On a touch screen there is no keyboard until a text field has the
  // focus: a button under the drawing opens the on-screen keyboard on a
  // field whose keys go to the program as the drawing's keys.
  Run.prototype.addKeyboardButton = function(win) {
    var run = this;
    var bar = document.createElement('div');
    bar.className = 'zemka-keyboard-bar';
    var button = document.createElement('button');
    button.type = 'button';
    button.className = 'zemka-keyboard-button';
    button.textContent = 'Keyboard';
    var field = document.createElement('input');
    field.type = 'text';
    field.className = 'zemka-keyboard-field';
    field.setAttribute('aria-label', 'Keys for the program');
    field.autocomplete = 'off';
    field.autocapitalize = 'off';
    field.spellcheck = false;
    button.addEventListener('click', function() { field.focus(); });
    // A physical key on the field is a key of the drawing.
    field.addEventListener('keydown', function(e) {
      if (e.isComposing || e.keyCode === 229) return;
      if (Array.from(e.key || '').length === 1 || NAMED_KEYS[e.key]) run.keyDown(win, e);
    });
    // What an on-screen keyboard types arrives as input only.
    field.addEventListener('input', function() {
      Array.from(field.value).forEach(function(ch) {
        var code = keyCodeOf(ch, 0);
        run.post(P.INPUT_KEY_DOWN, win.id, code, typedCharOf(ch, false, false));
        run.post(P.INPUT_KEY_UP, win.id, code, 0);
      });
      field.value = '';
    });
    bar.appendChild(button);
    bar.appendChild(field);
    win.section.appendChild(bar);
  };

  Run.prototype.showWindow = function(id, visible) {
    var win = this.windows[id];
    if (!win) return;
    var firstShown = visible && win.section.hidden && !win.shown;
    win.section.hidden = !visible;
    if (visible) {
      win.shown = true;
      this.fit(win);
    }
    // The drawing window takes the keyboard when it first appears, whichever
    // window the program showed before it: its menu and keys work at once.
    if (firstShown && win.fixed) win.canvas.focus({preventScroll: true});
  };

  Run.prototype.retireWindow = function(id) {
    var win = this.windows[id];
    if (!win) return;
    // Gone first: the canvas leaving the page takes its focus, and the
    // input that reports it may retire the windows once more.
    delete this.windows[id];
    this.closeMenus(win);
    win.section.classList.add('retired');
    win.section.inert = true;  // its close box and menu take no more keys either
    if (win.resizeObserver) win.resizeObserver.disconnect();
    var fresh = win.canvas.cloneNode(false);  // drops the listeners
    fresh.getContext('2d').drawImage(win.canvas, 0, 0);
    win.canvas.replaceWith(fresh);
  };

  Run.prototype.present = function(id, width, height, pixels) {
    var win = this.windows[id];
    if (!win || width <= 0 || height <= 0) return;
    if (win.canvas.width !== width || win.canvas.height !== height) {
      win.canvas.width = width;
      win.canvas.height = height;
      this.fit(win);
    }
    win.context.putImageData(new ImageData(new Uint8ClampedArray(pixels), width, height), 0, 0);
  };

  // --- Menus ---------------------------------------------------------------

  Run.prototype.closeMenus = function(win) {
    for (var i = 0; i < win.menus.length; ++i) {
      win.menus[i].list.hidden = true;
      win.menus[i].button.classList.remove('open');
    }
  };
  Run.prototype.openMenu = function(win, index) {
    this.closeMenus(win);
    var menu = win.menus[index];
    if (!menu) return;
    menu.list.hidden = false;
    menu.button.classList.add('open');
  };
  Run.prototype.openMenuIndex = function(win) {
    for (var i = 0; i < win.menus.length; ++i)
      if (!win.menus[i].list.hidden) return i;
    return -1;
  };
  Run.prototype.chooseItem = function(win, item) {
    this.closeMenus(win);
    if (item.grayed || item.separator) return;
    this.post(P.INPUT_MENU_CHOICE, win.id, item.id, 0);
  };

  // The bar of a window gets one popup after the other; items are appended
  // in order and keep their index.
  Run.prototype.menuAddPopup = function(id, title) {
    var run = this, win = this.windows[id];
    if (!win) return;
    var index = win.menus.length;
    var holder = document.createElement('div');
    holder.className = 'zemka-menu';
    var button = document.createElement('button');
    button.type = 'button';
    button.className = 'zemka-menu-title';
    button.appendChild(labelWithMnemonic(title));
    var list = document.createElement('div');
    list.className = 'zemka-menu-list';
    list.hidden = true;
    holder.appendChild(button);
    holder.appendChild(list);
    // The client area keeps the keyboard focus while the menu is used.
    holder.addEventListener('mousedown', function(e) { e.preventDefault(); });
    button.addEventListener('click', function() {
      if (list.hidden) run.openMenu(win, index); else run.closeMenus(win);
    });
    win.menuBar.appendChild(holder);
    win.menuBar.hidden = false;
    win.menus.push({title: title, button: button, list: list, items: []});
  };

  Run.prototype.menuAddItem = function(id, popup, itemId, flags, text) {
    var run = this, win = this.windows[id];
    if (!win || !win.menus[popup]) return;
    var item = {id: itemId, text: text, separator: (flags & P.ITEM_SEPARATOR) !== 0,
                grayed: (flags & P.ITEM_GRAYED) !== 0, checked: (flags & P.ITEM_CHECKED) !== 0};
    var row;
    if (item.separator) {
      row = document.createElement('hr');
      row.className = 'zemka-separator';
    } else {
      row = document.createElement('div');
      row.className = 'zemka-item' + (item.grayed ? ' grayed' : '');
      row.setAttribute('role', 'menuitem');
      var check = document.createElement('span');
      check.className = 'zemka-check';
      var tab = text.indexOf('\t');
      var label = labelWithMnemonic(tab >= 0 ? text.slice(0, tab) : text);
      label.className = 'zemka-label';
      var shortcut = document.createElement('span');
      shortcut.className = 'zemka-shortcut';
      shortcut.textContent = tab >= 0 ? text.slice(tab + 1) : '';
      row.appendChild(check);
      row.appendChild(label);
      row.appendChild(shortcut);
      row.addEventListener('click', function() { run.chooseItem(win, item); });
      item.check = check;
      check.textContent = item.checked ? '\u2713' : '';
    }
    item.row = row;
    win.menus[popup].list.appendChild(row);
    win.menus[popup].items.push(item);
  };

  Run.prototype.menuCheck = function(id, popup, index, checked) {
    var win = this.windows[id];
    var item = win && win.menus[popup] && win.menus[popup].items[index];
    if (!item || !item.check) return;
    item.checked = !!checked;
    item.check.textContent = item.checked ? '\u2713' : '';
    item.row.classList.toggle('checked', item.checked);
  };

  // --- The line-input dialog, a modal layer over the page -----------------

  Run.prototype.dialogTexts = function(id) {
    var dialog = this.dialogs[id], texts = {};
    if (!dialog) return texts;
    for (var control in dialog.controls) {
      var el = dialog.controls[control];
      if (el instanceof HTMLInputElement || el instanceof HTMLTextAreaElement) texts[control] = el.value;
    }
    return texts;
  };
  Run.prototype.dialogCommand = function(id, command) {
    this.post(P.INPUT_DIALOG, id, command, 0, this.dialogTexts(id));
  };

  Run.prototype.dialogOpen = function(id, caption, width, height, owner, x, y) {
    var run = this;
    var overlay = document.createElement('div');
    overlay.className = 'zemka-modal';
    var box = document.createElement('div');
    box.className = 'zemka-dialog';
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-modal', 'true');
    // Closing asks the dialog's procedure, as Escape does (IDCANCEL).
    var bar = titleBar(caption, function() { run.dialogCommand(id, 2); });
    var body = sizedBox('zemka-dialog-body', width, height);
    box.appendChild(bar);
    box.appendChild(body);
    overlay.appendChild(box);
    // A click on the layer around the box does not take the focus away.
    overlay.addEventListener('mousedown', function(e) {
      if (e.target === overlay) e.preventDefault();
    });
    box.addEventListener('keydown', function(e) {
      var dialog = run.dialogs[id];
      if (!dialog) return;
      if (e.key === 'Escape') {
        e.preventDefault();
        e.stopPropagation();
        run.dialogCommand(id, 2);
      } else if (e.key === 'Enter' && dialog.defaultButton && !(e.target instanceof HTMLButtonElement) &&
                 !e.isComposing && e.keyCode !== 229) {
        // Not the Enter that ends an input method's composition: that is the method's.
        e.preventDefault();
        dialog.defaultButton.click();
      } else if (e.key === 'Tab') {
        // Tab and Shift+Tab go round the dialog's own controls: past the
        // last one the browser would leave the page.
        e.preventDefault();
        var stops = Array.prototype.filter.call(box.querySelectorAll('button, input, textarea'), function(el) {
          return !el.disabled;
        });
        if (!stops.length) return;
        var at = stops.indexOf(document.activeElement);
        var next = e.shiftKey ? (at <= 0 ? stops.length - 1 : at - 1) : (at + 1) % stops.length;
        stops[next].focus();
      }
    });
    // Modal for the keyboard too: the rest of the page is inert while the
    // dialog is open (the dialog that closes lifts only what it set).
    var returnFocus = document.activeElement;
    var inerted = [];
    Array.prototype.forEach.call(document.body.children, function(child) {
      if (child.inert) return;
      child.inert = true;
      inerted.push(child);
    });
    document.body.appendChild(overlay);
    // The dialog's client area at (x, y) from the owner's canvas, kept
    // inside the page's view; without an owner the layer centres it.
    var win = this.windows[owner];
    if (win && win.canvas.isConnected) {
      var canvas = win.canvas.getBoundingClientRect();
      var outer = box.getBoundingClientRect();
      var inner = body.getBoundingClientRect();
      var left = canvas.left + x - (inner.left - outer.left);
      var top = canvas.top + y - (inner.top - outer.top);
      left = Math.max(0, Math.min(left, window.innerWidth - outer.width));
      top = Math.max(0, Math.min(top, window.innerHeight - outer.height));
      box.style.position = 'absolute';
      box.style.left = Math.round(left) + 'px';
      box.style.top = Math.round(top) + 'px';
    }
    this.dialogs[id] = {overlay: overlay, body: body, controls: {}, defaultButton: null, inerted: inerted,
                        returnFocus: returnFocus, owner: owner};
  };

  Run.prototype.dialogAdd = function(id, kind, controlId, x, y, width, height, text) {
    var run = this, dialog = this.dialogs[id];
    if (!dialog) return;
    var element;
    if (kind === P.CONTROL_EDIT) {
      element = document.createElement('input');
      element.type = 'text';
      element.value = text;
    } else if (kind === P.CONTROL_MULTILINE_EDIT) {
      element = document.createElement('textarea');
      element.value = text;
    } else if (kind === P.CONTROL_BUTTON || kind === P.CONTROL_DEFAULT_BUTTON) {
      element = document.createElement('button');
      element.type = 'button';
      element.appendChild(labelWithMnemonic(text));
      element.addEventListener('click', function() { run.dialogCommand(id, controlId); });
      if (kind === P.CONTROL_DEFAULT_BUTTON) {
        element.className = 'default';
        dialog.defaultButton = element;
      }
    } else {
      element = document.createElement('div');
      element.className = 'zemka-static';
      element.textContent = text;
    }
    element.style.left = x + 'px';
    element.style.top = y + 'px';
    element.style.width = width + 'px';
    element.style.height = height + 'px';
    element.dataset.control = controlId;
    dialog.body.appendChild(element);
    dialog.controls[controlId] = element;
  };

  Run.prototype.dialogFocusFirst = function(id) {
    var dialog = this.dialogs[id];
    var field = dialog && dialog.body.querySelector('input, textarea');
    if (field) field.focus();
  };

  // Removes a dialog's layer, gives the page its keyboard back and the
  // focus to whoever had it when the dialog opened (or to the owner's
  // canvas when that element has left the page).
  Run.prototype.dialogClose = function(id) {
    var dialog = this.dialogs[id];
    if (!dialog) return;
    delete this.dialogs[id];
    dialog.overlay.remove();
    for (var i = 0; i < dialog.inerted.length; ++i) dialog.inerted[i].inert = false;
    var back = dialog.returnFocus;
    if (!back || !back.isConnected || back === document.body) {
      var owner = this.windows[dialog.owner];
      back = owner ? owner.canvas : null;
    }
    if (back && back.isConnected) back.focus({preventScroll: true});
  };

  return {
    run: function(options) { return new Run(options); },
    supportsPromiseIntegration: supportsPromiseIntegration,
    keyCodeOf: keyCodeOf,
  };
})();
