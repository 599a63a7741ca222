// The browser's half of the web back end: page elements for the windows,
// their menus and the line-input dialog, input turned into messages, the
// wait that sleeps in the browser's event loop, and text drawn by the 2D
// canvas. The C++ half (zemka/platform/web, under the emulated window
// system) keeps the library's state, its timers among it; this file only
// keeps page elements and the queue of input not yet taken.
//
// Input is kept here in arrival order as [window id, message, wparam,
// lparam] records; the C++ side takes them all at every peek, so nothing is
// ever called in the program's module while it is suspended in the wait.

var ZemkaWebLibrary = {
  $ZW__deps: ['$Asyncify'],
  $ZW: {
    WM_CLOSE: 16, WM_KEYDOWN: 256, WM_KEYUP: 257, WM_COMMAND: 273,
    WM_LBUTTONDOWN: 513, WM_KILLFOCUS: 8, WM_SIZE: 5,
    events: [],
    wake: null,
    windows: {},   // id -> {section, canvas, context, image, menus, resizeObserver}
    dialogs: {},   // id -> {overlay, body, controls: {id: element}, defaultButton, inerted, returnFocus, owner}
    recording: false,  // the Record Script item (id 5) is checked
    textCanvas: null,
    textContext: null,

    // Queues one input record and ends a wait in progress. After an abort
    // the module can take nothing more: the page lets its windows go.
    post: function(windowId, message, wparam, lparam) {
      if (ABORT) {
        ZW.shutdown();
        return;
      }
      ZW.events.push([windowId | 0, message | 0, wparam | 0, lparam | 0]);
      if (ZW.wake) {
        var wake = ZW.wake;
        ZW.wake = null;
        wake();
      }
    },

    // How main ends once it has waited: it returns or throws inside a
    // resumed wait, where the runtime's start no longer looks. Asyncify
    // hands the outcome of the resumed stack to these handlers, at once;
    // main's status then ends the runtime as if main had returned from the
    // start, and a trap (which by itself aborts nothing) aborts it. Both
    // throw on, as the runtime's exit and abort do, so that the callback
    // that resumed the program does not end it once more.
    outcome: {
      resolve: function(status) {
        if (!ABORT && !runtimeExited) exit(status | 0);
      },
      reject: function(e) {
        // The program's exit() has ended it already, its abort() has
        // stopped it; a trap stops it here.
        var crashed = e !== 'unwind' && !(e instanceof ExitStatus);
        if (crashed) ZW.shutdown();
        if (crashed && !ABORT && !runtimeExited) abort(e && e.message || String(e));
        throw e;
      },
    },
    watchOutcome: function() {
      if (!Asyncify.asyncPromiseHandlers) Asyncify.asyncPromiseHandlers = ZW.outcome;
    },

    host: function() {
      var host = document.getElementById('zemka-windows');
      if (!host) {
        host = document.createElement('div');
        host.id = 'zemka-windows';
        document.body.appendChild(host);
      }
      return host;
    },

    // Key codes the library knows: letters and digits as their upper-case
    // ASCII codes, and a few control keys.
    keyCode: function(e) {
      var k = e.keyCode | 0;
      if ((k >= 65 && k <= 90) || (k >= 48 && k <= 57)) return k;
      switch (e.key) {
        case 'Control': return 17;
        case 'Shift': return 16;
        case 'Alt': return 18;
        case 'Backspace': return 8;
        case 'Tab': return 9;
        case 'Enter': return 13;
        case 'Escape': return 27;
        case ' ': return 32;
        case 'ArrowLeft': return 37;
        case 'ArrowUp': return 38;
        case 'ArrowRight': return 39;
        case 'ArrowDown': return 40;
        case 'Delete': return 46;
      }
      return 0;
    },

    // The character a key press types, as a desktop toolkit reports it:
    // Ctrl + letter types the letter's control code.
    typedChar: function(e) {
      switch (e.key) {
        case 'Enter': return 13;
        case 'Backspace': return 8;
        case 'Tab': return 9;
        case 'Escape': return 27;
      }
      var chars = Array.from(e.key || '');
      if (chars.length !== 1) return 0;
      var c = chars[0].codePointAt(0);
      // The key message keeps 16 bits for the character: one beyond them
      // would come out as another character.
      if (c > 0xffff) return 0;
      if (e.ctrlKey && !e.altKey) {
        var upper = chars[0].toUpperCase().codePointAt(0);
        if (upper >= 64 && upper <= 95) return upper & 0x1f;
      }
      return c;
    },

    windowIdOf: function(element) {
      for (var id in ZW.windows)
        if (ZW.windows[id].canvas === element) return id | 0;
      return -1;
    },

    // "&Run" -> R underlined; "&&" is a plain ampersand.
    labelWithMnemonic: function(text) {
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
    },

    mnemonicOf: function(text) {
      var m = /&([^&])/.exec(text);
      return m ? m[1].toUpperCase() : '';
    },

    closeMenus: function(win) {
      for (var i = 0; i < win.menus.length; ++i) {
        win.menus[i].list.hidden = true;
        win.menus[i].button.classList.remove('open');
      }
    },

    openMenu: function(win, index) {
      ZW.closeMenus(win);
      var menu = win.menus[index];
      if (!menu) return;
      menu.list.hidden = false;
      menu.button.classList.add('open');
    },

    openMenuIndex: function(win) {
      for (var i = 0; i < win.menus.length; ++i)
        if (!win.menus[i].list.hidden) return i;
      return -1;
    },

    chooseItem: function(win, item) {
      ZW.closeMenus(win);
      if (item.grayed || item.separator) return;
      ZW.post(win.id, ZW.WM_COMMAND, item.id, 0);
    },

    // A recording is complete once the program has closed the file, which
    // it does right after taking the check mark off; the page then offers
    // the file for download.
    offerRecording: function() {
      setTimeout(function() {
        var data;
        try {
          data = FS.readFile('ZEMKA.SCR');
        } catch (e) {
          return;
        }
        var link = document.getElementById('zemka-recording');
        if (!link) return;
        if (link.href) URL.revokeObjectURL(link.href);
        link.href = URL.createObjectURL(new Blob([data], {type: 'text/plain'}));
        link.download = 'ZEMKA.SCR';
        link.hidden = false;
      }, 0);
    },

    // A recording still on when its window goes (the program ended or
    // stopped the library) was closed by the library just before: the page
    // offers it as if the mark had gone off.
    offerUnfinishedRecording: function() {
      if (!ZW.recording) return;
      ZW.recording = false;
      ZW.offerRecording();
    },

    retire: function(id) {
      var win = ZW.windows[id];
      if (!win) return;
      // Gone first: the canvas leaving the page takes its focus, and the
      // input that reports it may retire the windows once more.
      delete ZW.windows[id];
      ZW.closeMenus(win);
      ZW.offerUnfinishedRecording();
      win.section.classList.add('retired');
      // Its close box and menu take no more keys either.
      win.section.inert = true;
      if (win.resizeObserver) win.resizeObserver.disconnect();
      var fresh = win.canvas.cloneNode(false);  // drops the listeners
      fresh.getContext('2d').drawImage(win.canvas, 0, 0);
      win.canvas.replaceWith(fresh);
    },

    // The program has ended, with or without stopping the library: its
    // windows keep their pictures and take no more input.
    shutdown: function() {
      for (var id in ZW.windows) ZW.retire(id);
      ZW.offerUnfinishedRecording();
      for (var d in ZW.dialogs) ZW.closeDialog(d);
    },

    // Removes a dialog's layer, gives the page its keyboard back and the
    // focus to whoever had it when the dialog opened (or to the owner's
    // canvas when that element has left the page).
    closeDialog: function(id) {
      var dialog = ZW.dialogs[id];
      if (!dialog) return;
      delete ZW.dialogs[id];
      dialog.overlay.remove();
      for (var i = 0; i < dialog.inerted.length; ++i) dialog.inerted[i].inert = false;
      var back = dialog.returnFocus;
      if (!back || !back.isConnected || back === document.body) {
        var owner = ZW.windows[dialog.owner];
        back = owner ? owner.canvas : null;
      }
      if (back && back.isConnected) back.focus({preventScroll: true});
    },

    // A window's or dialog's caption with its close box.
    titleBar: function(text, onClose) {
      var bar = document.createElement('div');
      bar.className = 'zemka-title';
      var title = document.createElement('span');
      title.textContent = text;
      bar.appendChild(title);
      var close = document.createElement('button');
      close.className = 'zemka-close';
      close.title = 'Close';
      close.textContent = '\u00d7';
      close.addEventListener('click', onClose);
      bar.appendChild(close);
      return bar;
    },

    fontString: function(px, bold, fixed) {
      return (bold ? 'bold ' : '') + px + 'px ' + (fixed ? '"DejaVu Sans Mono", monospace' : '"DejaVu Sans", sans-serif');
    },

    textContextFor: function(width, height) {
      if (!ZW.textCanvas) {
        // A detached canvas of the page: it sees the fonts the page loaded.
        ZW.textCanvas = document.createElement('canvas');
        ZW.textContext = ZW.textCanvas.getContext('2d', {willReadFrequently: true});
      }
      if (ZW.textCanvas.width < width) ZW.textCanvas.width = width;
      if (ZW.textCanvas.height < height) ZW.textCanvas.height = height;
      return ZW.textContext;
    },

    metrics: function(px, bold, fixed) {
      var ctx = ZW.textContextFor(1, 1);
      ctx.font = ZW.fontString(px, bold, fixed);
      var m = ctx.measureText('Mg');
      var ascent = Math.round(m.fontBoundingBoxAscent !== undefined ? m.fontBoundingBoxAscent : px * 0.93);
      var descent = Math.round(m.fontBoundingBoxDescent !== undefined ? m.fontBoundingBoxDescent : px * 0.24);
      return [ascent, descent];
    },
  },

  zemka_web_create_window__deps: ['$ZW'],
  zemka_web_create_window: function(id, titlePtr, fixed, width, height) {
    var section = document.createElement('section');
    section.className = 'zemka-window';
    section.dataset.window = id;
    if (fixed) {
      section.classList.add('zemka-drawing');
      // The page's own buttons (an animation's start and stop) give the
      // drawing window commands, as its menu does.
      Module['zemkaCommand'] = function(command) { ZW.post(id, ZW.WM_COMMAND, command, 0); };
    }
    section.appendChild(ZW.titleBar(UTF8ToString(titlePtr), function() { ZW.post(id, ZW.WM_CLOSE, 0, 0); }));
    var menuBar = document.createElement('div');
    menuBar.className = 'zemka-menubar';
    menuBar.hidden = true;
    section.appendChild(menuBar);
    var canvas = document.createElement('canvas');
    canvas.className = 'zemka-client';
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = 0;
    var frame = null;
    if (fixed) {
      section.appendChild(canvas);
    } else {
      // A window of the resizable style: its client area is a frame the
      // user can drag larger or smaller; every new size goes to the
      // library, which resizes the surface and draws it anew.
      frame = document.createElement('div');
      frame.className = 'zemka-frame';
      frame.style.width = width + 'px';
      frame.style.height = height + 'px';
      frame.appendChild(canvas);
      section.appendChild(frame);
      var posted = [width, height];
      var resizeObserver = new ResizeObserver(function() {
        var w = Math.max(1, Math.min(4096, Math.round(frame.clientWidth)));
        var h = Math.max(1, Math.min(4096, Math.round(frame.clientHeight)));
        if (frame.closest('[hidden]') || (w === posted[0] && h === posted[1])) return;
        posted = [w, h];
        ZW.post(id, ZW.WM_SIZE, 0, (h << 16) | w);
      });
      resizeObserver.observe(frame);
    }
    section.hidden = true;
    ZW.host().appendChild(section);
    if (!ZW.shutdownRegistered) {
      ZW.shutdownRegistered = true;
      addOnExit(ZW.shutdown);
    }
    var win = {id: id, section: section, canvas: canvas, menuBar: menuBar, menus: [],
               context: canvas.getContext('2d'), image: null, resizeObserver: frame ? resizeObserver : null};
    ZW.windows[id] = win;

    canvas.addEventListener('mousedown', function(e) {
      // The point is taken before the focus could scroll the page.
      var r = canvas.getBoundingClientRect();
      canvas.focus({preventScroll: true});
      ZW.closeMenus(win);
      if (e.button !== 0) return;
      e.preventDefault();
      var x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
      var y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
      ZW.post(id, ZW.WM_LBUTTONDOWN, 1, ((y & 0xffff) << 16) | (x & 0xffff));
    });
    canvas.addEventListener('keydown', function(e) {
      var open = ZW.openMenuIndex(win);
      if (open >= 0) {
        // An open menu takes the keys: Escape closes it, a mnemonic chooses.
        e.preventDefault();
        if (e.key === 'Escape') { ZW.closeMenus(win); return; }
        var letter = (e.key || '').toUpperCase();
        var items = win.menus[open].items;
        for (var i = 0; i < items.length; ++i)
          if (!items[i].separator && ZW.mnemonicOf(items[i].text) === letter) {
            ZW.chooseItem(win, items[i]);
            return;
          }
        return;
      }
      if (e.altKey && !e.ctrlKey) {
        var key = (e.key || '').toUpperCase();
        for (var j = 0; j < win.menus.length; ++j)
          if (ZW.mnemonicOf(win.menus[j].title) === key) {
            e.preventDefault();
            ZW.openMenu(win, j);
            return;
          }
      }
      if (e.key !== 'F5' && e.key !== 'F12') e.preventDefault();
      var typed = ZW.typedChar(e);
      ZW.post(id, ZW.WM_KEYDOWN, ZW.keyCode(e), (typed << 16) | 1);
    });
    canvas.addEventListener('keyup', function(e) {
      e.preventDefault();
      ZW.post(id, ZW.WM_KEYUP, ZW.keyCode(e), 0);
    });
    canvas.addEventListener('focusout', function(e) {
      // wparam names the library window that takes the focus (0: none).
      ZW.post(id, ZW.WM_KILLFOCUS, ZW.windowIdOf(e.relatedTarget) + 1, 0);
    });
  },

  zemka_web_show_window__deps: ['$ZW'],
  zemka_web_show_window: function(id, visible) {
    var win = ZW.windows[id];
    if (!win) return;
    var firstShown = visible && win.section.hidden && !win.shown;
    win.section.hidden = !visible;
    if (visible) win.shown = true;
    // The drawing window takes the keyboard when it first appears, whichever
    // window the program showed before it: its menu and keys work at once.
    if (firstShown && win.section.classList.contains('zemka-drawing')) win.canvas.focus({preventScroll: true});
  },

  // The program has stopped with its windows: their last pictures stay on
  // the page, without input.
  zemka_web_retire_window__deps: ['$ZW'],
  zemka_web_retire_window: function(id) { ZW.retire(id); },

  // Shows the window's surface: 0xffRRGGBB words become RGBA bytes.
  zemka_web_present__deps: ['$ZW'],
  zemka_web_present: function(id, pixels, width, height, stride) {
    var win = ZW.windows[id];
    if (!win || width <= 0 || height <= 0) return;
    if (win.canvas.width !== width || win.canvas.height !== height) {
      win.canvas.width = width;
      win.canvas.height = height;
    }
    if (!win.image || win.image.width !== width || win.image.height !== height)
      win.image = win.context.createImageData(width, height);
    var out = new Uint32Array(win.image.data.buffer);
    var base = pixels >> 2;
    for (var y = 0; y < height; ++y) {
      var row = base + y * stride, o = y * width;
      for (var x = 0; x < width; ++x) {
        var p = HEAPU32[row + x];
        out[o + x] = (p & 0xff00ff00) | ((p >>> 16) & 0xff) | ((p & 0xff) << 16);
      }
    }
    win.context.putImageData(win.image, 0, 0);
  },

  // Moves the input queued so far (at most max records) into buf, four
  // 32-bit words each; returns the number of records.
  zemka_web_take_events__deps: ['$ZW'],
  zemka_web_take_events: function(buf, max) {
    ZW.watchOutcome();
    var n = Math.min(max, ZW.events.length);
    for (var i = 0; i < n; ++i) {
      var ev = ZW.events[i];
      for (var k = 0; k < 4; ++k) HEAP32[(buf >> 2) + i * 4 + k] = ev[k];
    }
    ZW.events.splice(0, n);
    return n;
  },

  // Sleeps in the browser's event loop until input arrives or timeoutMs
  // pass (the next timer tick of the C++ half is due); a negative timeout
  // waits for input only. The sleep keeps the runtime alive, and the
  // program resumes as a callback of the runtime's: when main ends in it,
  // the runtime exits (and says so to the page) as after any callback.
  zemka_web_wait__deps: ['$ZW', '$Asyncify', '$callUserCallback', '$runtimeKeepalivePush', '$runtimeKeepalivePop'],
  zemka_web_wait: function(timeoutMs) {
    ZW.watchOutcome();
    return Asyncify.handleSleep(function(wakeUp) {
      runtimeKeepalivePush();
      var timer = null, woken = false;
      var done = function() {
        if (woken) return;  // the runtime is let go of once a sleep
        woken = true;
        if (timer !== null) clearTimeout(timer);
        if (ZW.wake === done) ZW.wake = null;
        runtimeKeepalivePop();
        callUserCallback(wakeUp);
      };
      if (ZW.events.length) {
        timer = setTimeout(done, 0);
        return;
      }
      ZW.wake = done;
      if (timeoutMs >= 0) timer = setTimeout(function() { timer = null; if (ZW.wake === done) done(); }, timeoutMs);
    });
  },

  zemka_web_screen_size: function(widthPtr, heightPtr) {
    HEAP32[widthPtr >> 2] = (typeof screen !== 'undefined' && screen.width) || 1024;
    HEAP32[heightPtr >> 2] = (typeof screen !== 'undefined' && screen.height) || 768;
  },

  // Menus: the bar of a window gets one popup after the other; items are
  // appended in order and keep their index.
  zemka_web_menu_add_popup__deps: ['$ZW'],
  zemka_web_menu_add_popup: function(id, titlePtr) {
    var win = ZW.windows[id];
    if (!win) return;
    var title = UTF8ToString(titlePtr);
    var index = win.menus.length;
    var holder = document.createElement('div');
    holder.className = 'zemka-menu';
    var button = document.createElement('button');
    button.className = 'zemka-menu-title';
    button.appendChild(ZW.labelWithMnemonic(title));
    var list = document.createElement('div');
    list.className = 'zemka-menu-list';
    list.hidden = true;
    holder.appendChild(button);
    holder.appendChild(list);
    // The client area keeps the keyboard focus while the menu is used.
    holder.addEventListener('mousedown', function(e) { e.preventDefault(); });
    button.addEventListener('click', function() {
      if (list.hidden) ZW.openMenu(win, index); else ZW.closeMenus(win);
    });
    win.menuBar.appendChild(holder);
    win.menuBar.hidden = false;
    win.menus.push({title: title, button: button, list: list, items: []});
  },

  zemka_web_menu_add_item__deps: ['$ZW'],
  zemka_web_menu_add_item: function(id, popup, itemId, flags, textPtr) {
    var win = ZW.windows[id];
    if (!win || !win.menus[popup]) return;
    var menu = win.menus[popup];
    var item = {id: itemId, text: UTF8ToString(textPtr), separator: (flags & 0x800) !== 0,
                grayed: (flags & 1) !== 0, checked: (flags & 8) !== 0};
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
      var tab = item.text.indexOf('\t');
      var label = ZW.labelWithMnemonic(tab >= 0 ? item.text.slice(0, tab) : item.text);
      label.className = 'zemka-label';
      var shortcut = document.createElement('span');
      shortcut.className = 'zemka-shortcut';
      shortcut.textContent = tab >= 0 ? item.text.slice(tab + 1) : '';
      row.appendChild(check);
      row.appendChild(label);
      row.appendChild(shortcut);
      row.addEventListener('click', function() { ZW.chooseItem(win, item); });
      item.check = check;
    }
    item.row = row;
    menu.list.appendChild(row);
    menu.items.push(item);
    if (item.check) item.check.textContent = item.checked ? '\u2713' : '';
  },

  zemka_web_menu_check__deps: ['$ZW'],
  zemka_web_menu_check: function(id, popup, index, checked) {
    var win = ZW.windows[id];
    if (!win || !win.menus[popup]) return;
    var item = win.menus[popup].items[index];
    if (!item || !item.check) return;
    var was = item.checked;
    item.checked = !!checked;
    item.check.textContent = item.checked ? '\u2713' : '';
    item.row.classList.toggle('checked', item.checked);
    // Item 5 is "Record Script": its mark going off ends a recording; a
    // mark still on when the window goes ends one too (see retire).
    if (item.id === 5) {
      ZW.recording = item.checked;
      if (was && !item.checked) ZW.offerRecording();
    }
  },

  // Text through the 2D canvas. Sizes are CSS pixels of the font's em.
  zemka_web_text_width__deps: ['$ZW'],
  zemka_web_text_width: function(px, bold, fixed, textPtr, length) {
    var ctx = ZW.textContextFor(1, 1);
    ctx.font = ZW.fontString(px, bold, fixed);
    // A huge text must not wrap round to a negative width in the int.
    return Math.min(Math.round(ctx.measureText(UTF8ToString(textPtr, length)).width), 0x7fffffff);
  },

  zemka_web_font_metrics__deps: ['$ZW'],
  zemka_web_font_metrics: function(px, bold, fixed, out) {
    var m = ZW.metrics(px, bold, fixed);
    HEAP32[out >> 2] = m[0];
    HEAP32[(out >> 2) + 1] = m[1];
  },

  // Draws the text in a scratch canvas and blends its coverage into the
  // surface (0xffRRGGBB words, stride in pixels): the surface's own pixels
  // stay under the glyphs' anti-aliased edges.
  zemka_web_text_draw__deps: ['$ZW'],
  zemka_web_text_draw: function(pixels, width, height, stride, px, bold, fixed, x, y, textPtr, length, color,
                                opaque, background) {
    var text = UTF8ToString(textPtr, length);
    var m = ZW.metrics(px, bold, fixed);
    var ctx = ZW.textContextFor(1, 1);
    ctx.font = ZW.fontString(px, bold, fixed);
    var textWidth = Math.ceil(ctx.measureText(text).width);
    var textHeight = m[0] + m[1];
    // Only the part inside the surface is drawn.
    var left = Math.max(0, x), top = Math.max(0, y);
    var right = Math.min(width, x + textWidth + 2), bottom = Math.min(height, y + textHeight);
    if (right <= left || bottom <= top) return;
    var w = right - left, h = bottom - top;
    ctx = ZW.textContextFor(w, h);
    // White on opaque black: the red channel is the glyphs' coverage (on a
    // transparent canvas the coverage would come out below full inside
    // the strokes).
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, w, h);
    ctx.font = ZW.fontString(px, bold, fixed);
    ctx.textBaseline = 'alphabetic';
    ctx.fillStyle = '#fff';
    ctx.fillText(text, x - left, y - top + m[0]);
    var coverage = ctx.getImageData(0, 0, w, h).data;
    var cr = (color >>> 16) & 0xff, cg = (color >>> 8) & 0xff, cb = color & 0xff;
    var base = pixels >> 2;
    var opaqueRight = Math.min(width, x + Math.round(ctx.measureText(text).width)) - left;
    for (var row = 0; row < h; ++row) {
      var line = base + (top + row) * stride + left;
      for (var col = 0; col < w; ++col) {
        var a = coverage[(row * w + col) * 4];
        if (opaque && col < opaqueRight) HEAPU32[line + col] = background >>> 0;
        if (a === 0) continue;
        var p = HEAPU32[line + col];
        var r = (p >>> 16) & 0xff, g = (p >>> 8) & 0xff, b = p & 0xff;
        r = (cr * a + r * (255 - a) + 127) / 255 | 0;
        g = (cg * a + g * (255 - a) + 127) / 255 | 0;
        b = (cb * a + b * (255 - a) + 127) / 255 | 0;
        HEAPU32[line + col] = (0xff000000 | (r << 16) | (g << 8) | b) >>> 0;
      }
    }
  },

  // The line-input dialog as a modal layer over the page.
  zemka_web_dialog_open__deps: ['$ZW'],
  zemka_web_dialog_open: function(id, captionPtr, width, height, owner, x, y) {
    var overlay = document.createElement('div');
    overlay.className = 'zemka-modal';
    var box = document.createElement('div');
    box.className = 'zemka-dialog';
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-modal', 'true');
    // Closing asks the dialog's procedure, as Escape does.
    var bar = ZW.titleBar(UTF8ToString(captionPtr), function() { ZW.post(-id, ZW.WM_COMMAND, 2, 0); });
    var body = document.createElement('div');
    body.className = 'zemka-dialog-body';
    body.style.width = width + 'px';
    body.style.height = height + 'px';
    box.appendChild(bar);
    box.appendChild(body);
    overlay.appendChild(box);
    // A click on the layer around the box does not take the focus away.
    overlay.addEventListener('mousedown', function(e) {
      if (e.target === overlay) e.preventDefault();
    });
    box.addEventListener('keydown', function(e) {
      var dialog = ZW.dialogs[id];
      if (!dialog) return;
      if (e.key === 'Escape') {
        e.preventDefault();
        ZW.post(-id, ZW.WM_COMMAND, 2, 0);
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
    // The dialog's client area at (x, y) from the owner's canvas, as the
    // template asks, kept inside the page's view; without an owner the
    // layer centres it.
    var win = ZW.windows[owner];
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
    ZW.dialogs[id] = {overlay: overlay, body: body, controls: {}, defaultButton: null, inerted: inerted,
                      returnFocus: returnFocus, owner: owner};
  },

  // kind: 0 static text, 1 single-line edit, 2 multi-line edit, 3 button,
  // 4 default button.
  zemka_web_dialog_add__deps: ['$ZW'],
  zemka_web_dialog_add: function(id, kind, controlId, x, y, width, height, textPtr) {
    var dialog = ZW.dialogs[id];
    if (!dialog) return;
    var text = UTF8ToString(textPtr);
    var element;
    if (kind === 1) {
      element = document.createElement('input');
      element.type = 'text';
      element.value = text;
    } else if (kind === 2) {
      element = document.createElement('textarea');
      element.value = text;
    } else if (kind >= 3) {
      element = document.createElement('button');
      element.appendChild(ZW.labelWithMnemonic(text));
      element.addEventListener('click', function() { ZW.post(-id, ZW.WM_COMMAND, controlId, 0); });
      if (kind === 4) {
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
  },

  zemka_web_dialog_focus_first__deps: ['$ZW'],
  zemka_web_dialog_focus_first: function(id) {
    var dialog = ZW.dialogs[id];
    if (!dialog) return;
    var field = dialog.body.querySelector('input, textarea');
    if (field) field.focus();
  },

  zemka_web_dialog_text__deps: ['$ZW'],
  zemka_web_dialog_text: function(id, controlId, buffer, maxBytes) {
    var dialog = ZW.dialogs[id];
    var element = dialog && dialog.controls[controlId];
    var text = '';
    if (element) text = 'value' in element && !(element instanceof HTMLButtonElement) ? element.value
                                                                                       : element.textContent;
    return stringToUTF8(text, buffer, maxBytes);
  },

  zemka_web_dialog_close__deps: ['$ZW'],
  zemka_web_dialog_close: function(id) { ZW.closeDialog(id); },

  // A setting from the page address: ZEMKA_PLAY_LIMIT is play_limit=...
  // (the full name works too). Values the page prepared before the start
  // (a fetched script's path) take precedence.
  zemka_web_setting__deps: ['$ZW', 'malloc'],
  zemka_web_setting: function(namePtr) {
    var name = UTF8ToString(namePtr);
    var prepared = Module['zemkaSettings'] || {};
    var value = null;
    if (Object.prototype.hasOwnProperty.call(prepared, name)) {
      value = prepared[name];
    } else if (typeof location !== 'undefined') {
      var params = new URLSearchParams(location.search);
      var short = name.replace(/^ZEMKA_/, '').toLowerCase();
      if (params.has(name)) value = params.get(name);
      else if (params.has(short)) value = params.get(short);
    }
    if (value === null || value === undefined) return 0;
    value = String(value);
    var size = lengthBytesUTF8(value) + 1;
    var copy = _malloc(size);  // the C++ side frees it
    if (copy) stringToUTF8(value, copy, size);
    return copy;
  },
};

autoAddDeps(ZemkaWebLibrary, '$ZW');
mergeInto(LibraryManager.library, ZemkaWebLibrary);
