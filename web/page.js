// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the browser game: sizes the picture, starts the program (to play, or to watch a
// proved game of the list), hands keys and sound to it as browsers allow, and offers the files the
// game writes for download.
'use strict';
(function () {
  var script = document.currentScript;
  var files = { 'vorlanix.js': script.dataset.js, 'vorlanix.wasm': script.dataset.wasm, 'vorlanix.data': script.dataset.data };
  var stage = document.getElementById('buehne');
  var canvas = document.getElementById('canvas');
  // The right button reloads in the game; the browser's menu stays away from the picture.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  // A click asks for the pointer lock while a game runs. Chromium refuses it for a moment after
  // Escape freed the pointer; the refusal is no fault, and the next click asks again.
  var requestLock = canvas.requestPointerLock;
  canvas.requestPointerLock = function () {
    try {
      var asked = requestLock.apply(canvas, arguments);
      if (asked && asked.catch) asked.catch(function () {});
      return asked;
    } catch (e) { return undefined; }
  };
  var params = new URLSearchParams(location.search);
  var watchId = /^[0-9]{1,18}$/.test(params.get('ansehen') || '') ? params.get('ansehen') : null;
  var speed = [1, 2, 4].indexOf(Number(params.get('tempo'))) >= 0 ? Number(params.get('tempo')) : 1;
  var dataDir = '/vorlanix';
  var stateFile = '/tmp/vorlanix-state.json';

  document.querySelectorAll('[data-nur]').forEach(function (el) {
    el.hidden = el.dataset.nur !== (watchId ? 'ansehen' : 'spielen');
  });
  if (watchId) {
    document.getElementById('titel').textContent = 'Eintrag ' + watchId + ' ansehen';
    document.title = 'Ansehen – Vorlanix';
  }

  // The largest whole multiple of 640 x 480 that fits is drawn with hard pixel edges; a stage
  // smaller than the picture gets it scaled down smoothly.
  function layout() {
    var w = stage.clientWidth, h = stage.clientHeight;
    var fit = Math.min(w / 640, h / 480);
    var whole = fit >= 1;
    var factor = whole ? Math.floor(fit) : fit;
    // Device pixels: a whole factor on a screen with fractional pixel ratio still lands on whole pixels.
    var ratio = window.devicePixelRatio || 1;
    if (whole && ratio !== 1) factor = Math.max(1, Math.floor(fit * ratio)) / ratio;
    stage.style.setProperty('--bild-breite', Math.floor(640 * factor) + 'px');
    stage.style.setProperty('--bild-hoehe', Math.floor(480 * factor) + 'px');
    stage.style.setProperty('--bild-schaerfe', whole ? 'pixelated' : 'auto');
  }
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  layout();

  document.getElementById('vollbild').addEventListener('click', function () {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(function () {});
    canvas.focus();
  });

  // Keys: Escape belongs to the browser (it frees the pointer) and never reaches the game; the
  // End key (and the button) gives the game its Escape. F11 and F12 stay the browser's.
  var passing = false;
  function sendEscape() {
    passing = true;
    ['keydown', 'keyup'].forEach(function (type) {
      window.dispatchEvent(new KeyboardEvent(type, { key: 'Escape', code: 'Escape', keyCode: 27, which: 27, bubbles: true }));
    });
    passing = false;
  }
  function sendText(text) {
    passing = true;
    for (var i = 0; i < text.length; ++i) {
      var c = text.charCodeAt(i);
      window.dispatchEvent(new KeyboardEvent('keypress', { key: text[i], charCode: c, which: c, bubbles: true }));
    }
    passing = false;
  }
  ['keydown', 'keyup', 'keypress'].forEach(function (type) {
    window.addEventListener(type, function (e) {
      if (passing) return;
      if (e.key === 'Escape' || e.key === 'F11' || e.key === 'F12') {
        e.stopImmediatePropagation();
        return;
      }
      if (e.key === 'End') {
        e.stopImmediatePropagation();
        e.preventDefault();
        if (type === 'keydown' && !e.repeat) sendEscape();
      }
    }, true);
  });
  document.getElementById('beenden').addEventListener('click', sendEscape);

  // Watching: + and - change the speed in the program; the buttons step there.
  function showSpeed() {
    document.querySelectorAll('[data-tempo]').forEach(function (b) {
      b.classList.toggle('gewaehlt', Number(b.dataset.tempo) === speed);
    });
  }
  document.querySelectorAll('[data-tempo]').forEach(function (b) {
    b.addEventListener('click', function () {
      var want = Number(b.dataset.tempo);
      while (speed < want) { sendText('+'); speed *= 2; }
      while (speed > want) { sendText('-'); speed /= 2; }
      showSpeed();
      canvas.focus();
    });
  });
  showSpeed();

  // Browsers start sound only after the visitor has done something on the page.
  function wakeSound() {
    var sdl = window.Module && Module.SDL2;
    if (sdl && sdl.audioContext && sdl.audioContext.state === 'suspended') sdl.audioContext.resume();
  }
  ['pointerdown', 'keydown', 'touchend'].forEach(function (type) {
    window.addEventListener(type, wakeSound, true);
  });

  // The upload files and the game's replays, offered for download once an upload file exists.
  var links = {};
  function offer(path) {
    var name = path.split('/').pop();
    var bytes = Module.FS.readFile(path);
    if (links[path]) URL.revokeObjectURL(links[path].href);
    else {
      var item = document.createElement('li');
      links[path] = document.createElement('a');
      item.appendChild(links[path]);
      document.getElementById('dateiliste').appendChild(item);
    }
    links[path].href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    links[path].download = name;
    // last.vxr is the last game whatever its result; a result in the list keeps a dated copy too.
    links[path].textContent = /\.qhs$/.test(name) ? 'Upload-Datei ' + name
      : name === 'last.vxr' ? 'Aufzeichnung des letzten Spiels' : 'Aufzeichnung ' + name;
  }
  function offerFiles() {
    var found = [];
    function scan(dir) {
      var names;
      try { names = Module.FS.readdir(dir); } catch (e) { return; }
      names.forEach(function (n) {
        if (n === '.' || n === '..') return;
        var p = dir + '/' + n;
        if (Module.FS.isDir(Module.FS.stat(p).mode)) scan(p);
        else if (/\.(qhs|vxr)$/.test(n)) found.push(p);
      });
    }
    scan(dataDir);
    if (!found.some(function (p) { return /\.qhs$/.test(p); })) return;
    found.sort().forEach(offer);
    document.getElementById('dateien').hidden = false;
  }

  var running = false;
  // The program's end travels up as an ExitStatus through the browser's timer that woke it: it
  // is the end, not a fault.
  window.addEventListener('error', function (e) {
    if (e.error && e.error.name === 'ExitStatus') e.preventDefault();
  });
  var args = ['--window', '--scale', '1', '--state-file', stateFile];
  window.Module = {
    canvas: canvas,
    dataDirectory: dataDir,
    arguments: watchId ? args.concat(['--replay', '/ansehen.vxr', '--replay-speed', String(speed)])
                       : args.concat(['--data-dir', dataDir, '--config', dataDir + '/vorlanix.conf']),
    print: function (text) { console.log(text); },
    printErr: function (text) { console.log(text); },
    locateFile: function (name, prefix) { return (files[name] || name); },
    onFileWritten: function (path) { if (/\.(qhs|vxr)$/.test(path)) offerFiles(); },
    onRuntimeInitialized: function () {
      document.getElementById('laden').hidden = true;
      if (!watchId) offerFiles();
      canvas.focus();
    },
    // The program's end. Its first wait already returns from main (the rest runs on from the
    // browser's timers), which counts as an exit too, before postRun; onExit is not called for
    // an end from inside a wait, where the runtime is still held. Every file is written by then.
    postRun: [function () { running = true; }],
    quit: function (status, toThrow) {
      if (running) document.getElementById('ende').hidden = false;
      throw toThrow;
    },
    onAbort: function (what) {
      var end = document.getElementById('ende');
      end.firstChild.textContent = 'Das Spiel ist abgebrochen: ' + what + ' ';
      end.hidden = false;
    }
  };
  document.getElementById('neustart').addEventListener('click', function () { location.reload(); });

  // A test asks the program for its state: the signal makes it write its fields at the next pump.
  window.vorlanixState = function () {
    try { Module.FS.unlink(stateFile); } catch (e) { /* none yet */ }
    Module._raise(10);
    return new Promise(function (resolve, reject) {
      var tries = 0;
      (function poll() {
        try { resolve(JSON.parse(new TextDecoder().decode(Module.FS.readFile(stateFile)))); return; } catch (e) { /* not yet */ }
        if (++tries > 200) { reject(new Error('no state')); return; }
        setTimeout(poll, 25);
      })();
    });
  };

  function start() {
    var s = document.createElement('script');
    s.src = files['vorlanix.js'];
    document.body.appendChild(s);
  }
  if (!watchId) { start(); return; }
  fetch('/eintrag/' + watchId + '/aufzeichnung').then(function (r) {
    if (!r.ok) throw new Error(r.status === 404 ? 'Diesen Eintrag oder seine Aufzeichnung gibt es nicht.' : 'Fehler ' + r.status);
    return r.arrayBuffer();
  }).then(function (bytes) {
    Module.preRun = [function () { Module.FS.writeFile('/ansehen.vxr', new Uint8Array(bytes)); }];
    start();
  }).catch(function (error) {
    document.getElementById('laden').textContent = 'Die Aufzeichnung kann nicht geladen werden. ' + error.message;
  });
})();
