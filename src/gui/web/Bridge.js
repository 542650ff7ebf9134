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

  // The text of the document for find and highlight: every text node of the body outside
  // scripts, styles and form fields, joined, with where each node starts. It is made again when
  // the document changed since.
  // Elements whose text is no text of the page (their text nodes are their own children).
  const kTextless = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEXTAREA', 'OPTION', 'OPTGROUP']);
  let textIndexCache = null;
  const textWatcher = new MutationObserver(function () {
    textIndexCache = null;
  });

  function textIndex() {
    if (textWatcher.takeRecords().length > 0) {
      textIndexCache = null;
    }
    if (textIndexCache && textIndexCache.body === document.body) {
      return textIndexCache;
    }
    const nodes = [];
    const starts = [];
    const parts = [];
    let length = 0;
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      if (node.data.length === 0 || kTextless.has(node.parentNode.nodeName)) {
        continue;
      }
      nodes.push(node);
      starts.push(length);
      parts.push(node.data);
      length += node.data.length;
    }
    textWatcher.disconnect();
    textWatcher.observe(document, {childList: true, subtree: true, characterData: true});
    textIndexCache = {body: document.body, nodes: nodes, starts: starts, text: parts.join('')};
    return textIndexCache;
  }

  // The index of the last node that starts at or before `offset`.
  function nodeAt(index, offset) {
    let low = 0;
    let high = index.nodes.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (index.starts[middle] <= offset) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    return low;
  }

  // The offset in the document's text of a boundary point (a node and an offset in it).
  function offsetOf(index, container, offset) {
    const point = document.createRange();
    point.setStart(container, offset);
    if (container.nodeType === Node.TEXT_NODE) {
      const at = index.nodes.indexOf(container);
      if (at >= 0) {
        return index.starts[at] + offset;
      }
    }
    // The first indexed text that lies after the point.
    let low = 0;
    let high = index.nodes.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (point.comparePoint(index.nodes[middle], 0) < 0) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low < index.nodes.length ? index.starts[low] : index.text.length;
  }

  // A search text as a pattern: taken literally, any run of blanks matching any run of blanks,
  // a whole word not part of a longer one.
  function searchPattern(text, wholeWords, matchCase) {
    let source = wellFormed(text).replace(/[\\^$.*+?()[\]{}|/]/g, '\\$&').replace(/\s+/g, '\\s+');
    if (wholeWords) {
      source = '(?<![\\p{L}\\p{N}_])(?:' + source + ')(?![\\p{L}\\p{N}_])';
    }
    return new RegExp(source, matchCase ? 'gu' : 'giu');
  }

  function textRange(index, start, end) {
    const first = nodeAt(index, start);
    let last = nodeAt(index, end);
    if (last > first && index.starts[last] === end) {
      last -= 1;  // an end at a node's start is the end of the node before
    }
    const range = document.createRange();
    range.setStart(index.nodes[first], start - index.starts[first]);
    range.setEnd(index.nodes[last], end - index.starts[last]);
    return range;
  }

  function shown(range) {
    const element = range.startContainer.parentElement;
    return element !== null && element.getClientRects().length > 0;
  }

  function scrollTo(range) {
    range.startContainer.parentElement.scrollIntoView({block: 'nearest', inline: 'nearest'});
    const box = range.getBoundingClientRect();
    if (box.top < 0 || box.bottom > window.innerHeight || box.left < 0 ||
        box.right > window.innerWidth) {
      window.scrollBy(box.left < 0 || box.right > window.innerWidth ?
                          box.left - window.innerWidth / 2 : 0,
                      box.top - window.innerHeight / 2);
    }
  }

  // Find next: steps over the selected match, or starts at the click point, or at the start (the
  // end, backward) of the document. The match found becomes the selection.
  handlers.find = function (id, args) {
    const index = textIndex();
    const text = index.text;
    const pattern = searchPattern(String(args.text), args.wholeWords, args.matchCase);
    const selection = window.getSelection();
    let from = args.backward ? text.length : 0;
    if (selection.rangeCount > 0 && selection.toString() !== '') {
      const range = selection.getRangeAt(0);
      from = args.backward ? offsetOf(index, range.endContainer, range.endOffset) - 1 :
                             offsetOf(index, range.startContainer, range.startOffset) + 1;
    } else if (args.x || args.y) {
      const caret = document.caretRangeFromPoint(args.x, args.y);
      if (caret) {
        from = offsetOf(index, caret.startContainer, caret.startOffset);
      }
    }
    for (;;) {
      let match = null;
      pattern.lastIndex = 0;
      if (args.backward) {
        // The last match that ends by `from`; the text after it still counts for whole words.
        const before = text.slice(0, Math.min(text.length, from + 1));
        for (let found = pattern.exec(before); found; found = pattern.exec(before)) {
          if (found.index + found[0].length > from) {
            break;
          }
          match = found;
          pattern.lastIndex = found.index + 1;
        }
      } else if (from <= text.length) {
        pattern.lastIndex = from;
        match = pattern.exec(text);
      }
      if (!match) {
        answer(id, {found: false});
        return;
      }
      const range = textRange(index, match.index, match.index + match[0].length);
      if (shown(range)) {
        selection.removeAllRanges();
        selection.addRange(range);
        scrollTo(range);
        answer(id, {found: true});
        return;
      }
      // Hidden text is no match: look on from it.
      from = args.backward ? match.index + match[0].length - 1 : match.index + 1;
    }
  };

  // Highlighting: every match wrapped in a span of the highlight colour, the spans of an earlier
  // highlighting unwrapped first. The work goes in slices and stops when the program asks (the
  // user holds Shift): what was done stays, and the answer says how far it came.
  const kHighlightId = 'zelvora_c';
  let highlighting = null;
  // Each change makes the page lay its text out again before it paints; on a large page that
  // costs more than the change itself, so a slice changes only so many places.
  const kChangesPerSlice = 500;

  function mergeTexts(parent, first, after) {
    let node = first ? first : parent.firstChild;
    while (node && node !== after) {
      const next = node.nextSibling;
      if (node.nodeType === Node.TEXT_NODE && next && next !== after &&
          next.nodeType === Node.TEXT_NODE) {
        node.appendData(next.data);
        parent.removeChild(next);
      } else {
        node = next;
      }
    }
    if (node && node === after && after.nodeType === Node.TEXT_NODE && after.previousSibling &&
        after.previousSibling.nodeType === Node.TEXT_NODE) {
      after.previousSibling.appendData(after.data);
      parent.removeChild(after);
    }
  }

  function unwrap(span) {
    const parent = span.parentNode;
    if (!parent) {
      return;
    }
    const before = span.previousSibling;
    const after = span.nextSibling;
    while (span.firstChild) {
      parent.insertBefore(span.firstChild, span);
    }
    parent.removeChild(span);
    mergeTexts(parent, before, after);
  }

  // Wraps [start, end) of the text node at `at` in the index. `rests` knows, for each node split
  // so far, the node that holds the rest of its text and where that rest starts.
  function wrapPiece(index, at, start, end, style, rests) {
    const rest = rests.get(at);
    let node = rest ? rest.node : index.nodes[at];
    const base = rest ? rest.start : index.starts[at];
    if (start > base) {
      node = node.splitText(start - base);
    }
    const after = end - start < node.data.length ? node.splitText(end - start) : null;
    const span = document.createElement('span');
    span.setAttribute('id', kHighlightId);
    span.setAttribute('style', style);
    node.parentNode.insertBefore(span, node);
    span.appendChild(node);
    if (after) {
      rests.set(at, {node: after, start: end});
    }
  }

  function runHighlight(id, args) {
    const job = {id: id, removed: 0, inserted: 0};
    highlighting = job;
    const spans = Array.from(document.querySelectorAll('span[id="' + kHighlightId + '"]'));
    const text = String(args.text || '');
    let matches = null;
    let next = 0;
    const rests = new Map();
    const style = 'background-color: ' + String(args.colour).replace(/[^#0-9A-F]/g, '');

    function finish(stopped) {
      if (highlighting === job) {
        highlighting = null;
      }
      answer(id, {removed: job.removed, inserted: job.inserted, stopped: stopped});
    }

    function slice() {
      if (cancelled.has(id)) {
        finish(true);
        return;
      }
      const end = performance.now() + kSliceMilliseconds;
      let changes = 0;
      try {
        while (next < spans.length && changes < kChangesPerSlice && performance.now() < end) {
          for (const stop = Math.min(spans.length, next + 50); next < stop; next += 1) {
            unwrap(spans[next]);
            job.removed += 1;
            changes += 1;
          }
        }
        if (next >= spans.length && matches === null && changes < kChangesPerSlice) {
          if ((job.removed > 0 && !args.force) || text.trim() === '') {
            finish(false);
            return;
          }
          const index = textIndex();
          const pattern = searchPattern(text, args.wholeWords, args.matchCase);
          matches = [];
          for (let found = pattern.exec(index.text); found; found = pattern.exec(index.text)) {
            if (found[0].length === 0) {
              break;
            }
            matches.push([found.index, found.index + found[0].length]);
          }
          matches.index = index;
          next = 0;
        }
        while (matches && next < matches.length && changes < kChangesPerSlice &&
               performance.now() < end) {
          const [start, stop] = matches[next];
          const index = matches.index;
          for (let at = nodeAt(index, start); at < index.nodes.length &&
               index.starts[at] < stop; at += 1) {
            const nodeEnd = at + 1 < index.starts.length ? index.starts[at + 1] : index.text.length;
            wrapPiece(index, at, Math.max(start, index.starts[at]), Math.min(stop, nodeEnd),
                      style, rests);
          }
          job.inserted += 1;
          changes += 1;
          next += 1;
        }
      } catch (e) {
        finish(true);
        return;
      }
      if (matches && next >= matches.length) {
        finish(false);
        return;
      }
      progress(id, next, matches ? matches.length : spans.length);
      nextSlice(slice);
    }
    nextSlice(slice);
  }

  handlers.highlight = function (id, args) {
    if (highlighting) {
      // One highlighting at a time: the earlier one stops at its next slice, before this starts.
      cancelled.add(highlighting.id);
    }
    runHighlight(id, args);
  };

  // The selection as plain text or as HTML; empty when nothing is selected.
  handlers.selection = function (id, args) {
    const selection = window.getSelection();
    if (!selection || selection.rangeCount === 0 || selection.toString() === '') {
      answer(id, {text: ''});
      return;
    }
    if (args.html) {
      const copy = selectionDocument();
      answer(id, {text: copy ? wellFormed(copy.body.innerHTML) : ''});
    } else {
      answer(id, {text: wellFormed(selection.toString())});
    }
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
