// The page's input as one queue of events, in the order they happened, and
// the wait that the game's event pump blocks in: a promise that the next event
// or the timeout resolves. Nothing here polls, and nothing here calls the game:
// the game takes the events itself when it waits.
//
// Kinds: 1 key-down, 2 key-up, 3 pointer move, 4 button down, 5 click,
// 6 activation, 7 deactivation. Pointer events name the element under the
// pointer: 0 is the main window's bare background, a window's own id its bare
// background; the blocks of the falling piece name nothing.
mergeInto(LibraryManager.library, {
  $Eventi__deps: ['$Pagina', '$Suoni'],
  $Eventi: {
    queue: [],
    wake: null,
    ended: false,
    system: 0,
    name: 0,
    nameSize: 0,

    push: function (event) {
      if (Eventi.ended) return;
      event.time = performance.now();
      Eventi.queue.push(event);
      var wake = Eventi.wake;
      Eventi.wake = null;
      if (wake) wake();
    },

    wait: function (ms) {
      if (Eventi.queue.length || Eventi.ended) return Promise.resolve();
      return new Promise(function (resolve) {
        var timer = ms >= 0 ? setTimeout(function () { Eventi.wake = null; resolve(); }, Math.ceil(ms)) : 0;
        Eventi.wake = function () { clearTimeout(timer); resolve(); };
      });
    },

    // The game's element under the pointer, 0 for the main window's
    // background, -1 for what stands for no element of the game.
    target: function (node) {
      for (; node && node !== document.body; node = node.parentNode) {
        if (node === Pagina.root || node === Pagina.canvas) return 0;
        if (node.tumblaraKind === 4) return -1;
        if (node.tumblaraId) return node.tumblaraId;
      }
      return -1;
    },

    // The second press of a double click is no new press and no new click.
    pointer: function (kind) {
      return function (e) {
        if (kind === 5 && e.button !== 0) return;
        if (kind !== 3 && e.detail > 0 && e.detail % 2 === 0) return;
        var element = Eventi.target(e.target);
        if (element >= 0) Eventi.push({ kind: kind, element: element });
      };
    },

    // The game's keys never scroll the page or act as the browser's shortcuts;
    // the game says which they are now. The others stay the browser's.
    gameKey: function (e) {
      stringToUTF8(e.code || '', Eventi.name, Eventi.nameSize);
      return _tp_game_key(Eventi.system, Eventi.name, e.getModifierState('NumLock') ? 1 : 0) !== 0;
    },

    key: function (kind) {
      return function (e) {
        if (Eventi.ended) return;
        if (Eventi.gameKey(e)) e.preventDefault();
        Eventi.push({ kind: kind, code: e.code, repeat: kind === 1 && e.repeat,
                      numLock: e.getModifierState('NumLock') });
      };
    },

    // The first press of a button: full screen where the browser allows it,
    // and sound, which browsers start only after a gesture.
    firstPress: function () {
      window.removeEventListener('pointerdown', Eventi.firstPress, true);
      Suoni.unlock();
      var root = document.documentElement;
      if (document.fullscreenEnabled && !document.fullscreenElement && root.requestFullscreen) {
        root.requestFullscreen().catch(function () {});
      }
    },

    listen: function (system, name, size) {
      Eventi.system = system;
      Eventi.name = name;
      Eventi.nameSize = size;
      var root = Pagina.root;
      root.addEventListener('mousemove', Eventi.pointer(3));
      root.addEventListener('mousedown', Eventi.pointer(4));
      root.addEventListener('click', Eventi.pointer(5));
      root.addEventListener('contextmenu', function (e) { e.preventDefault(); });
      window.addEventListener('keydown', Eventi.key(1), true);
      window.addEventListener('keyup', Eventi.key(2), true);
      window.addEventListener('focus', function () { Eventi.push({ kind: 6 }); });
      window.addEventListener('blur', function () { Eventi.push({ kind: 7 }); });
      window.addEventListener('pointerdown', Eventi.firstPress, true);
      // The page shown is the window shown: its activation comes first.
      Eventi.push({ kind: 6 });
    },
  },

  tp_listen__deps: ['$Eventi'],
  tp_listen: function (system, name, size) {
    Eventi.listen(system, name, size);
  },

  // When the oldest waiting event happened (the pump's clock), or -1.
  tp_head_time__deps: ['$Eventi'],
  tp_head_time: function () {
    return Eventi.queue.length ? Eventi.queue[0].time : -1;
  },

  // Takes the oldest event: its kind, or 0 when there is none. `flags`: 1
  // an auto-repeated key-down, 2 Num Lock on.
  tp_take_event__deps: ['$Eventi'],
  tp_take_event: function (element, flags, code, size) {
    var e = Eventi.queue.shift();
    if (!e) return 0;
    HEAP32[element >> 2] = e.element || 0;
    HEAP32[flags >> 2] = (e.repeat ? 1 : 0) | (e.numLock ? 2 : 0);
    stringToUTF8(e.code || '', code, size);
    return e.kind;
  },

  // The program has ended: nothing of it acts any more, and the page says
  // how to play again.
  tp_end__deps: ['$Eventi', '$Pagina', '$Suoni'],
  tp_end: function () {
    Eventi.ended = true;
    Eventi.queue = [];
    Suoni.close();
    if (Pagina.root) Pagina.root.remove();
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    Module['tell']('Tumblara has ended. Reload the page to play again.');
  },
});
