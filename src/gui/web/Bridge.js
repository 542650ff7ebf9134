// The bridge between a frame's document and Zelvora. It runs in every frame, in a world of its
// own that the page's scripts cannot see, and reports the document's events as console lines
// that start with the run's secret (put in place of the marker below when the script is
// installed). Page scripts can write to the console too, but without the secret their lines are
// ignored.
(function () {
  'use strict';
  const secret = '@SECRET@';
  if (window.__zelvoraBridge) {
    return;
  }

  // The frame's place in the page: its index among its parent's frames, from the top down.
  // Frames compare equal across origins, so this works in cross-origin frames too.
  function framePath() {
    const steps = [];
    let current = window;
    try {
      while (current !== current.parent) {
        const parent = current.parent;
        let index = 0;
        while (index < parent.frames.length && parent.frames[index] !== current) {
          index += 1;
        }
        steps.unshift(index);
        current = parent;
      }
    } catch (e) {
      // A frame that cannot see its ancestors reports what it found so far.
    }
    return steps.join('.');
  }

  const documentToken =
    Math.random().toString(36).slice(2) + Date.now().toString(36);

  function send(kind, x, y) {
    const fields = [
      secret,
      kind,
      encodeURIComponent(framePath()),
      encodeURIComponent(documentToken),
      String(Math.trunc(x || 0)),
      String(Math.trunc(y || 0)),
      encodeURIComponent(String(location.href)),
      encodeURIComponent(String(document.title || '')),
    ];
    console.log(fields.join('|'));
  }

  let readySent = false;
  function ready() {
    if (document.body) {
      readySent = true;
      send('ready', 0, 0);
    }
  }

  // Asks every frame below this one to report itself again (attaching a whole page).
  function broadcast() {
    for (let index = 0; index < window.frames.length; index += 1) {
      try {
        window.frames[index].postMessage({zelvoraBridge: 'report'}, '*');
      } catch (e) {
        // A frame that is going away.
      }
    }
  }

  // Requests of the program. The program asks the top document's bridge, which hands a request
  // for a frame down to that frame's bridge; whatever the frame's origin, it answers on its own
  // console line. A request carries no secret (a page could see it on its way down); the
  // program takes an answer only when it carries the secret and the id of a request it sent to
  // that frame. Reading never calls into the page's own scripts.
  const handlers = {};
  const cancelled = new Set();

  // Texts as the console carries them: lone surrogates would not survive the trip.
  function wellFormed(text) {
    return String(text).replace(
        /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
  }

  function answer(id, result) {
    cancelled.delete(id);
    console.log([
      secret, 'answer', String(id), encodeURIComponent(framePath()),
      encodeURIComponent(documentToken), JSON.stringify(result === undefined ? null : result),
    ].join('|'));
  }

  function progress(id, done, total) {
    console.log([secret, 'progress', String(id), String(done), String(total)].join('|'));
  }

  // Work in slices, so that the page stays responsive and a cancel is seen between them. A
  // private message channel yields to the page without the throttling of timers.
  const slicer = new MessageChannel();
  const slices = [];
  slicer.port1.onmessage = function () {
    const slice = slices.shift();
    if (slice) {
      slice();
    }
  };
  function nextSlice(slice) {
    slices.push(slice);
    slicer.port2.postMessage(0);
  }
  const kSliceMilliseconds = 20;

  // Calls step(i) for i = 0 .. count - 1 in slices; then done(), unless the request was
  // cancelled. Progress goes out after every slice.
  function walk(id, count, step, report, done) {
    let index = 0;
    function slice() {
      if (cancelled.has(id)) {
        cancelled.delete(id);
        return;
      }
      const end = performance.now() + kSliceMilliseconds;
      try {
        while (index < count && performance.now() < end) {
          for (const stop = Math.min(count, index + 64); index < stop; index += 1) {
            step(index);
          }
        }
      } catch (e) {
        answer(id, null);
        return;
      }
      report(index);
      if (index < count) {
        nextSlice(slice);
      } else {
        done();
      }
    }
    slice();
  }

  function handle(id, kind, args) {
    const handler = handlers[kind];
    if (handler && args && args.complete && document.readyState !== 'complete') {
      window.addEventListener('load', function () {
        handle(id, kind, args);
      }, {once: true});
      return;
    }
    if (!handler || !document.body) {
      answer(id, null);
      return;
    }
    try {
      handler(id, args || {});
    } catch (e) {
      // A document that changed under the reading: no answer rather than half of one.
      answer(id, null);
    }
  }

  // The frame at a path below this (the top) window; null when there is none.
  function frameAt(path) {
    let current = window;
    for (const step of path.split('.')) {
      const next = current.frames[Number(step)];
      if (!next) {
        return null;
      }
      current = next;
    }
    return current;
  }

  function request(path, id, kind, args) {
    if (!path) {
      handle(id, kind, args);
      return;
    }
    const target = frameAt(path);
    if (!target) {
      answer(id, null);
      return;
    }
    target.postMessage({zelvoraRequest: {id: id, kind: kind, args: args}}, '*');
  }

  function cancel(path, id) {
    if (!path) {
      cancelled.add(id);
      return;
    }
    const target = frameAt(path);
    if (target) {
      target.postMessage({zelvoraCancel: id}, '*');
    }
  }

  window.__zelvoraBridge = {
    report: function () {
      ready();
      broadcast();
    },
    request: request,
    cancel: cancel,
  };

  window.addEventListener('message', function (event) {
    const data = event.data;
    if (!data) {
      return;
    }
    if (data.zelvoraBridge === 'report' && event.source === window.parent) {
      window.__zelvoraBridge.report();
    } else if (data.zelvoraRequest && event.source === window.top && window !== window.top) {
      const message = data.zelvoraRequest;
      handle(Number(message.id), String(message.kind), message.args);
    } else if (data.zelvoraCancel && event.source === window.top) {
      cancelled.add(Number(data.zelvoraCancel));
    }
  });

  // The links and images of the document, or of the selection when there is one: the selected
  // part is copied into a document of its own that has no window, so nothing in it runs or
  // loads, with the page's base address so that relative links resolve as in the page.
  function baseAddress() {
    for (const base of document.getElementsByTagName('base')) {
      if (base.getAttribute('href')) {
        return base.href;
      }
    }
    return document.URL;
  }

  // The node at the same place in a copy of `root` as `node` in `root`.
  function samePlace(root, copy, node) {
    const steps = [];
    for (let current = node; current !== root; current = current.parentNode) {
      steps.unshift(Array.prototype.indexOf.call(current.parentNode.childNodes, current));
    }
    let target = copy;
    for (const step of steps) {
      target = target.childNodes[step];
    }
    return target;
  }

  function selectionDocument() {
    const selection = window.getSelection();
    if (!selection || selection.isCollapsed || selection.rangeCount === 0) {
      return null;
    }
    const inert = document.implementation.createHTMLDocument('');
    const base = inert.createElement('base');
    base.setAttribute('href', baseAddress());
    inert.head.appendChild(base);
    for (let index = 0; index < selection.rangeCount; index += 1) {
      const range = selection.getRangeAt(index);
      const root = range.commonAncestorContainer;
      if (root.nodeType === Node.DOCUMENT_NODE) {
        // The whole document is selected.
        inert.body.appendChild(inert.importNode(document.body, true));
        continue;
      }
      const copy = inert.importNode(root, true);
      const copied = inert.createRange();
      copied.setStart(samePlace(root, copy, range.startContainer), range.startOffset);
      copied.setEnd(samePlace(root, copy, range.endContainer), range.endOffset);
      inert.body.appendChild(copied.cloneContents());
    }
    return inert;
  }

  handlers.links = function (id, args) {
    const source = selectionDocument() || document;
    // Copies: the page may change its collections while the reading yields to it.
    const links = Array.from(source.links);
    const images = args.images ? Array.from(source.images) : [];
    const total = links.length + images.length;
    const result = {title: wellFormed(document.title), url: wellFormed(document.URL),
                    links: [], images: []};
    walk(id, links.length, function (index) {
      const link = links[index];
      const text = link.innerText;
      const record = [wellFormed(link.href), wellFormed(text)];
      if (text === '' || text === ' ') {
        record.push(wellFormed(link.innerHTML));
      }
      result.links.push(record);
    }, function (done) {
      progress(id, done, total);
    }, function () {
      walk(id, images.length, function (index) {
        const image = images[index];
        result.images.push([wellFormed(image.src), wellFormed(image.alt)]);
      }, function (done) {
        progress(id, links.length + done, total);
      }, function () {
        answer(id, result);
      });
    });
  };

  let lastMove = 0;
  document.addEventListener('mousedown', function (event) {
    send('mousedown', event.clientX, event.clientY);
  }, true);
  document.addEventListener('mousemove', function (event) {
    // Enough to know where the mouse is; not a line for every pixel.
    const now = Date.now();
    if (now - lastMove >= 100) {
      lastMove = now;
      send('mousemove', event.clientX, event.clientY);
    }
  }, true);
  document.addEventListener('mouseup', function (event) {
    send('mouseup', event.clientX, event.clientY);
  }, true);
  document.addEventListener('selectstart', function () {
    send('selectstart', 0, 0);
  }, true);
  document.addEventListener('contextmenu', function (event) {
    send('contextmenu', event.clientX, event.clientY);
  }, true);
  window.addEventListener('focus', function () {
    send('focus', 0, 0);
  }, true);
  window.addEventListener('beforeunload', function () {
    send('beforeunload', 0, 0);
  });
  window.addEventListener('pagehide', function () {
    send('unload', 0, 0);
  });

  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', ready);
  } else {
    ready();
  }
  window.addEventListener('load', function () {
    if (!readySent) {
      ready();
    }
  });
})();
