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

  window.__zelvoraBridge = {
    report: function () {
      ready();
      broadcast();
    },
  };

  window.addEventListener('message', function (event) {
    const data = event.data;
    if (data && data.zelvoraBridge === 'report' && event.source === window.parent) {
      window.__zelvoraBridge.report();
    }
  });

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
