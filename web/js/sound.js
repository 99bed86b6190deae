// The game's three effects through Web Audio. The files are fetched at start
// and decoded once the first press has let sound start, as browsers require.
// The newest effect cuts the one still playing; a missing or broken file is
// silent, and it still cuts. A second after the last effect the context
// sleeps: a running one costs the processor even in silence.
mergeInto(LibraryManager.library, {
  $Suoni: {
    context: null,
    bytes: {},
    buffers: {},
    playing: null,
    ended: false,
    sleep: 0,

    decode: function (name) {
      Suoni.context.decodeAudioData(Suoni.bytes[name].slice(0)).then(function (buffer) {
        Suoni.buffers[name] = buffer;
      }, function () {});
    },

    unlock: function () {
      if (Suoni.context || Suoni.ended || typeof AudioContext !== 'function') return;
      Suoni.context = new AudioContext();
      Object.keys(Suoni.bytes).forEach(Suoni.decode);
    },

    stop: function () {
      var playing = Suoni.playing;
      Suoni.playing = null;
      if (playing) playing.stop();
    },

    close: function () {
      Suoni.ended = true;
      Suoni.stop();
      if (Suoni.context) Suoni.context.close();
    },
  },

  tp_preload__deps: ['$Suoni'],
  tp_preload: function (file) {
    var name = UTF8ToString(file);
    fetch(name).then(function (r) { return r.ok ? r.arrayBuffer() : null; }).then(function (data) {
      if (!data) return;
      Suoni.bytes[name] = data;
      if (Suoni.context) Suoni.decode(name);
    }, function () {});
  },

  tp_play__deps: ['$Suoni'],
  tp_play: function (file) {
    var context = Suoni.context;
    if (!context || Suoni.ended) return;
    Suoni.stop();
    var buffer = Suoni.buffers[UTF8ToString(file)];
    if (!buffer) return;
    clearTimeout(Suoni.sleep);
    if (context.state === 'suspended') context.resume();
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.onended = function () {
      if (Suoni.playing !== source) return;
      Suoni.playing = null;
      Suoni.sleep = setTimeout(function () { if (!Suoni.ended) context.suspend(); }, 1000);
    };
    source.start();
    Suoni.playing = source;
  },
});
