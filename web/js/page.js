// The page as the game's window: a black root filling the viewport, the
// background canvas, and the elements the game places in pixels (labels, the
// text box, outlines, the falling piece's blocks, windows drawn in the page).
//
// The background is painted as a desktop window's is: drawing goes onto the
// window, and while the retained drawing is switched on also into an
// off-screen canvas, which alone comes back when the window is repainted.
// The page repaints when it becomes visible again.
mergeInto(LibraryManager.library, {
  $Pagina: {
    root: null,
    canvas: null,
    ctx: null,
    retained: null,
    rctx: null,
    ratio: 1,
    pictures: [],
    elements: [null],

    start: function () {
      var root = document.createElement('div');
      root.id = 'tumblara';
      root.style.cssText = 'position:fixed;inset:0;overflow:hidden;background:#000;visibility:hidden;' +
        'user-select:none;-webkit-user-select:none;cursor:default';
      var w = window.innerWidth, h = window.innerHeight;
      Pagina.ratio = window.devicePixelRatio || 1;
      Pagina.canvas = Pagina.newCanvas(w, h);
      Pagina.canvas.style.cssText = 'position:absolute;left:0;top:0;width:' + w + 'px;height:' + h + 'px';
      Pagina.retained = Pagina.newCanvas(w, h);
      Pagina.ctx = Pagina.context(Pagina.canvas);
      Pagina.rctx = Pagina.context(Pagina.retained);
      root.appendChild(Pagina.canvas);
      document.body.appendChild(root);
      Pagina.root = Pagina.elements[0] = root;
      document.addEventListener('visibilitychange', function () {
        if (document.visibilityState === 'visible') Pagina.repaint();
      });
      return [w, h];
    },

    newCanvas: function (w, h) {
      var c = document.createElement('canvas');
      c.width = Math.max(1, Math.round(w * Pagina.ratio));
      c.height = Math.max(1, Math.round(h * Pagina.ratio));
      return c;
    },

    context: function (canvas) {
      var ctx = canvas.getContext('2d', { alpha: false });
      ctx.setTransform(Pagina.ratio, 0, 0, Pagina.ratio, 0, 0);
      ctx.fillStyle = '#000';
      ctx.fillRect(0, 0, canvas.width, canvas.height);
      ctx.imageSmoothingQuality = 'high';
      return ctx;
    },

    paint: function (ctx, d) {
      if (d.picture === 0) {
        ctx.fillStyle = '#000';
        ctx.fillRect(d.x, d.y, d.w, d.h);
      } else {
        ctx.drawImage(Pagina.pictures[d.picture], d.x, d.y, d.w, d.h);
      }
    },

    // The window system's repaint: the retained drawing everywhere, and
    // what was drawn on the window alone is gone.
    repaint: function () {
      var ctx = Pagina.ctx;
      ctx.save();
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.drawImage(Pagina.retained, 0, 0);
      ctx.restore();
    },

    // Every drawing is opaque and the newest shows; only a retained one
    // comes back at a repaint.
    draw: function (d, retained) {
      if (d.picture !== 0 && !Pagina.pictures[d.picture]) return;
      if (retained) Pagina.paint(Pagina.rctx, d);
      Pagina.paint(Pagina.ctx, d);
    },

    // Below 0: the page's own colour.
    colour: function (bgr) {
      if (bgr < 0) return '';
      return 'rgb(' + (bgr & 255) + ',' + ((bgr >> 8) & 255) + ',' + ((bgr >> 16) & 255) + ')';
    },

    element: function (id) {
      return Pagina.elements[id];
    },

    drawSprite: function (e) {
      var ctx = e.getContext('2d'), picture = Pagina.pictures[e.tumblaraPicture];
      ctx.clearRect(0, 0, e.width, e.height);
      if (picture) {
        ctx.imageSmoothingQuality = 'high';
        ctx.drawImage(picture, 0, 0, e.width, e.height);
      }
      e.style.visibility = picture ? 'visible' : 'hidden';
    },
  },

  tp_start__deps: ['$Pagina'],
  tp_start: function (width, height) {
    var size = Pagina.start();
    HEAP32[width >> 2] = size[0];
    HEAP32[height >> 2] = size[1];
  },

  // Picture 1..7 from side x side RGBA bytes.
  tp_picture__deps: ['$Pagina'],
  tp_picture: function (picture, rgba, side) {
    var c = document.createElement('canvas');
    c.width = c.height = side;
    var img = new ImageData(new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + side * side * 4)), side, side);
    c.getContext('2d').putImageData(img, 0, 0);
    Pagina.pictures[picture] = c;
  },

  // Picture 0 is a black fill.
  tp_draw__deps: ['$Pagina'],
  tp_draw: function (x, y, w, h, picture, retained) {
    Pagina.draw({ x: x, y: y, w: w, h: h, picture: picture }, retained !== 0);
  },

  // Kinds: 1 label, 2 text box, 3 outline, 4 block sprite, 5 window. Parent 0
  // is the page's root; a window's children are placed in its own pixels.
  tp_create__deps: ['$Pagina'],
  tp_create: function (kind, parent) {
    var e = document.createElement(kind === 4 ? 'canvas' : 'div');
    var s = e.style;
    s.position = 'absolute';
    s.left = s.top = '0px';
    s.margin = s.padding = '0';
    s.boxSizing = 'border-box';
    s.whiteSpace = kind === 2 ? 'pre-line' : 'pre';
    s.font = '9pt system-ui, sans-serif';
    if (kind === 2) {
      s.background = '#e0e0e0';
      s.border = '1px solid #808080';
      s.color = '#000';
      s.textAlign = 'center';
      s.overflow = 'hidden';
    }
    if (kind === 3) {
      s.border = '1px solid currentColor';
      s.pointerEvents = 'none';
    }
    if (kind === 4) s.visibility = 'hidden';
    if (kind === 5) s.overflow = 'hidden';
    e.tumblaraKind = kind;
    e.tumblaraId = Pagina.elements.length;
    Pagina.elements.push(e);
    (parent ? Pagina.element(parent) : Pagina.root).appendChild(e);
    return e.tumblaraId;
  },

  // A width or height below 0 follows the text.
  tp_place__deps: ['$Pagina'],
  tp_place: function (id, left, top, width, height) {
    var e = Pagina.element(id), s = e.style;
    s.left = left + 'px';
    s.top = top + 'px';
    s.width = width < 0 ? '' : width + 'px';
    s.height = height < 0 ? '' : height + 'px';
    if (e.tumblaraKind === 4 && width >= 0) {
      e.width = e.height = Math.max(1, Math.round(width * Pagina.ratio));
      Pagina.drawSprite(e);
    }
  },

  tp_move__deps: ['$Pagina'],
  tp_move: function (id, left, top) {
    var s = Pagina.element(id).style;
    s.left = left + 'px';
    s.top = top + 'px';
  },

  tp_text__deps: ['$Pagina'],
  tp_text: function (id, text) {
    Pagina.element(id).textContent = UTF8ToString(text);
  },

  tp_colours__deps: ['$Pagina'],
  tp_colours: function (id, text, back) {
    var s = Pagina.element(id).style;
    s.color = Pagina.colour(text);
    s.background = Pagina.colour(back);
  },

  tp_font__deps: ['$Pagina'],
  // An empty family is the platform's user-interface font, 0 points its usual size.
  tp_font: function (id, family, points, bold) {
    var name = UTF8ToString(family);
    Pagina.element(id).style.font = (bold ? 'bold ' : '') + (points || 9) + 'pt ' +
      (name ? '"' + name + '", serif' : 'system-ui, sans-serif');
  },

  tp_centred__deps: ['$Pagina'],
  tp_centred: function (id, on) {
    Pagina.element(id).style.textAlign = on ? 'center' : 'left';
  },

  tp_visible__deps: ['$Pagina'],
  tp_visible: function (id, on) {
    var e = Pagina.element(id), s = e.style;
    if (e.tumblaraKind === 1) {
      s.willChange = 'opacity';
      s.opacity = on ? '1' : '0';
      s.pointerEvents = on ? '' : 'none';
    } else s.visibility = on ? 'visible' : 'hidden';
  },

  // A block sprite shows picture 1..7 stretched to its size; 0 shows nothing.
  tp_sprite_picture__deps: ['$Pagina'],
  tp_sprite_picture: function (id, picture) {
    var e = Pagina.element(id);
    if (e.tumblaraPicture === picture) return;
    e.tumblaraPicture = picture;
    Pagina.drawSprite(e);
  },

  tp_remove__deps: ['$Pagina'],
  tp_remove: function (id) {
    var e = Pagina.element(id);
    if (e && e.parentNode) e.parentNode.removeChild(e);
    Pagina.elements[id] = null;
  },

  // The main window's caption is the page's title, where the browser lists pages.
  tp_title: function (text) {
    document.title = UTF8ToString(text);
  },

  // Seconds since local midnight.
  tp_time_of_day: function () {
    var d = new Date();
    return d.getHours() * 3600 + d.getMinutes() * 60 + d.getSeconds() + d.getMilliseconds() / 1000;
  },
});
