// The page's content after the first frame (--pre-js, beside web_page.js).
// What the first frame needs is packed into content.data and loaded before
// the program starts; the rest (Module.pelmotLateFiles, from late.js: the
// fonts, then the story's pictures) is fetched from content/ once the first
// frame is on screen and written into the file system under /content. A
// picture the game's look-ahead asks for (pelmotHurry) goes first; the rest
// follow in the background once the service worker keeps the files (then
// they come from its cache). The service worker is registered once the fonts
// are here, so its copy of every file never competes with them.
Module.pelmotInputWaits = false;

(function () {
  const kFolder = '/content/';
  const kUrl = 'content/';
  const kParallel = 4;
  const kTries = 4;         // a file that fails this often is given up: the game reads it as missing
  const kMarkAfterMs = 300; // the loading mark, once a wait has lasted this long
  const kComing = 1, kFailed = 2;
  const state = {};         // name -> kComing or kFailed; a name not here has arrived
  const urgent = [];        // the fonts and the pictures asked for, in turn
  const rest = [];          // the other pictures, fetched in the background
  const flying = new Set(); // fetched now
  let running = 0;
  let started = false;
  let background = false;
  let workerAsked = false;

  for (const name of Module.pelmotLateFiles || []) {
    state[name] = kComing;
    (name.startsWith('font/') ? urgent : rest).push(name);
  }

  function store(name, bytes) {
    if (state[name] !== kComing) return;
    const path = kFolder + name;
    FS.mkdirTree(path.substring(0, path.lastIndexOf('/')));
    FS.writeFile(path, bytes);
    delete state[name];
  }

  function fontsDone() {
    return !Object.keys(state).some(name => name.startsWith('font/') && state[name] === kComing);
  }

  function fetchOne(name, attempt) {
    fetch(kUrl + name)
      .then(response => {
        if (!response.ok) throw new Error('HTTP ' + response.status);
        return response.arrayBuffer();
      })
      .then(buffer => {
        store(name, new Uint8Array(buffer));
        done(name);
      })
      .catch(error => {
        if (state[name] !== kComing) return done(name);
        if (attempt + 1 < kTries) {
          setTimeout(() => fetchOne(name, attempt + 1), 500 * 2 ** attempt);
          return;
        }
        console.error('pelmot: cannot fetch ' + name + ': ' + error);
        state[name] = kFailed;
        done(name);
      });
  }

  function done(name) {
    flying.delete(name);
    --running;
    if (fontsDone()) askForWorker();
    pump();
  }

  function next() {
    for (const list of background ? [urgent, rest] : [urgent]) {
      while (list.length) {
        const name = list.shift();
        if (state[name] === kComing && !flying.has(name)) return name;
      }
    }
    return null;
  }

  function pump() {
    while (started && running < kParallel) {
      const name = next();
      if (!name) return;
      ++running;
      flying.add(name);
      fetchOne(name, 0);
    }
  }

  function fetchTheRest() {
    background = true;
    pump();
  }

  // The service worker keeps every file of this build for playing offline.
  // Until it does, only what the game asks for is fetched.
  function askForWorker() {
    if (workerAsked) return;
    workerAsked = true;
    if (!('serviceWorker' in navigator)) return fetchTheRest();
    if (navigator.serviceWorker.controller) fetchTheRest();
    else navigator.serviceWorker.addEventListener('controllerchange', fetchTheRest, {once: true});
    navigator.serviceWorker.register('sw.js').catch(error => {
      console.error('pelmot: no service worker, no offline play: ' + error);
      fetchTheRest();
    });
  }

  Module.pelmotFirstFrame = function () {
    started = true;
    pump();
  };

  // 0 arrived (or never late), 1 coming, 2 failed.
  Module.pelmotLateState = name => state[name] || 0;

  Module.pelmotHurry = function (name) {
    if (state[name] !== kComing) return;
    const queued = urgent.indexOf(name);
    if (queued >= 0) urgent.splice(queued, 1);
    if (flying.has(name)) return;
    // After the fonts, the picture asked for last first.
    let at = urgent.findIndex(n => !n.startsWith('font/'));
    if (at < 0) at = urgent.length;
    urgent.splice(at, 0, name);
    pump();
  };

  // A read that cannot wait: the file is fetched while the page waits.
  Module.pelmotFetchNow = function (name) {
    for (let attempt = 0; attempt < 2 && state[name] === kComing; ++attempt) {
      const request = new XMLHttpRequest();
      request.open('GET', kUrl + name, false);
      request.overrideMimeType('text/plain; charset=x-user-defined');
      try {
        request.send();
      } catch (error) {
        continue;
      }
      if (request.status !== 200) continue;
      const text = request.responseText;
      const bytes = new Uint8Array(text.length);
      for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) & 0xFF;
      store(name, bytes);
    }
    if (state[name] === kComing) {
      console.error('pelmot: cannot fetch ' + name);
      state[name] = kFailed;
    }
    return state[name] ? 0 : 1;
  };

  let markTimer = 0;
  Module.pelmotLoadingMark = function (on) {
    Module.pelmotInputWaits = on;
    const mark = document.getElementById('loading');
    clearTimeout(markTimer);
    if (!mark) return;
    if (on) markTimer = setTimeout(() => { mark.hidden = false; }, kMarkAfterMs);
    else mark.hidden = true;
  };

  // For tests: the files still coming.
  window.pelmotFilesComing = () => Object.keys(state).filter(name => state[name] === kComing).length;
})();
