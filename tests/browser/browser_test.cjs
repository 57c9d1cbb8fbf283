// The browser edition in Debian's Chromium, headless, as a player meets it:
// the logo, the title, a new game, Shift held to the first choice and a
// pick, a save to slot 3 through the system menu; then the page loaded
// again, the slot loaded, and the state and the text on the canvas checked;
// the game's keys, the browser's own among them; last, English chosen in
// the settings, with each line copied and spoken.
// A second tab on the same saves says so and starts nothing.
//
// Usage: node browser_test.cjs BUILD_WEB_DIR [SHOTS_DIR]
'use strict';
const fs = require('fs');
const path = require('path');
const {serve, launch, until, Player} = require('./page_driver.cjs');

const kTextFace = [240, 240, 240];  // the text's face colour
// The story's lines after the load are written on the whole picture (a
// page), rows of 32 pixels from the top; the first row holds a line.
const kRowPitch = 32;

const root = path.resolve(process.argv[2] || 'build-web');
const shots = process.argv[3] || '';
let failures = 0;

function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAIL'} - ${what}`);
  if (!ok) ++failures;
}

async function shot(page, name) {
  if (shots) await page.screenshot({path: path.join(shots, name)});
}

// Clicks the middle of the picture until the title menu waits.
async function toTitleMenu(player) {
  await until('the title menu', async () => {
    const s = await player.state();
    if (!s.ClickAdvances && s.MenuItems[0] === 'ゲームスタート') return true;
    await player.click(400, 300);
    return false;
  });
}

async function firstVisit(player, page) {
  await player.playing();
  // The logo movie (630 x 220 at 85, 190) fades in; nothing bright around it.
  await until('the logo', async () => (await player.bright(85, 190, 630, 220)) > 2000, 5000);
  const around = (await player.bright(0, 0, 800, 190)) + (await player.bright(0, 410, 800, 190));
  check((await player.state()).MoviePath !== '' && around === 0, 'the logo movie plays, black around it');
  await shot(page, 'logo.png');
  await toTitleMenu(player);
  await shot(page, 'title.png');
  await player.pick(0);
  let s = await player.state();
  check(s.FlowMode === 1 && s.SceneNo === 0, 'ゲームスタート starts scene 0');
  // Shift held skips to the first choice.
  await page.keyboard.down('Shift');
  await until('the first choice', async () => !(await player.state()).ClickAdvances, 30000);
  await page.keyboard.up('Shift');
  s = await player.state();
  check(s.SceneNo === 0 && s.StepNo[1] === 69, `Shift skips to the first choice (scene ${s.SceneNo}, step ${s.StepNo[1]})`);
  await player.page.mouse.move(0, 0);
  await shot(page, 'choice.png');
  await player.pick(1);
  s = await player.state();
  check(s.ClickAdvances || s.StepNo[1] !== 69, 'the second option is taken');
  // A line on: the system menu, セーブ, slot 3, はい.
  await player.click(400, 300);
  for (let i = 0; i < 2 && (await player.state()).MenuItems[0] !== 'セーブ'; ++i) await player.click(400, 300, 'right');
  check((await player.state()).MenuItems[0] === 'セーブ', 'a right click opens the system menu');
  await player.pick(0);
  await player.pick(2);
  check((await player.state()).MenuItems[0] === 'はい', 'saving over slot 3 is asked');
  await player.pick(0);
  s = await player.state();
  check(s.SaveDate[2] !== '', `slot 3 is saved at "${s.SaveDate[2]}"`);
  await player.click(400, 300);  // back to the story
  check((await player.state()).SaveDate[10] === '', 'no last-play stamp while the page is shown');
  return s;
}

async function secondVisit(player, page, saved) {
  await player.playing();
  check((await player.state()).SaveDate[10] !== '', 'the last-play stamp was written as the page went away');
  // A wide page: the picture keeps its shape, centred, and the presses
  // from here on land where they are aimed.
  await page.setViewport({width: 1200, height: 450, hasTouch: true});
  const box = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return {left: r.left, top: r.top, width: r.width, height: r.height};
  });
  check(Math.abs(box.width - 600) < 1 && Math.abs(box.height - 450) < 1 && Math.abs(box.left - 300) < 1,
        `a 1200 x 450 page shows the picture at 600 x 450, centred (${JSON.stringify(box)})`);
  await toTitleMenu(player);
  await fullScreen(player, page);
  // ロード, by a tap.
  const load = await player.page.evaluate(() => window.pelmotPickPoint(1));
  await player.touch(load.x, load.y);
  let s = await player.state();
  check(/^データ３/.test(s.MenuItems[2] || ''), `the load list shows slot 3 ("${s.MenuItems[2]}")`);
  await player.pick(2);
  if ((await player.state()).MenuItems[0] === 'はい') await player.pick(0);
  await until('the loaded game', async () => (await player.state()).FlowMode === 1, 5000);
  s = await player.state();
  check(s.SceneNo === saved.SceneNo && JSON.stringify(s.Params) === JSON.stringify(saved.Params) &&
        s.DayNo === saved.DayNo, `the slot brings back scene ${saved.SceneNo}, day ${saved.DayNo}, ${JSON.stringify(saved.Params)}`);
  await until('the line after the load', async () => (await player.count(0, 0, 800, kRowPitch, kTextFace)) > 0, 5000)
    .catch(() => {});
  const ink = await player.count(0, 0, 800, kRowPitch, kTextFace);
  const rest = await player.count(0, kRowPitch, 800, 600 - kRowPitch, kTextFace);
  const perRow = rest / ((600 - kRowPitch) / kRowPitch);
  check(ink >= 40, `the first row of the page is written in the face colour (${ink} pixels)`);
  check(ink > 4 * perRow, `the picture's other rows hold far less of it (${perRow.toFixed(1)} pixels a row)`);
  await shot(page, 'loaded.png');
  // A finger held still is a right click: as a right click does, it opens
  // the system menu (the first may only clear the page).
  for (let i = 0; i < 2 && (await player.state()).MenuItems[0] !== 'セーブ'; ++i) await player.touch(400, 300, 700);
  check((await player.state()).MenuItems[0] === 'セーブ', 'a long press opens the system menu');
}

// F1 takes the page's stage into the browser's full screen, the canvas
// filling it with its shape kept; F1 again leaves it.
async function fullScreen(player, page) {
  const stage = () => page.evaluate(() => {
    const c = document.getElementById('canvas').getBoundingClientRect();
    return {full: document.fullscreenElement ? document.fullscreenElement.id : '', width: c.width, height: c.height,
            screenWidth: window.innerWidth, screenHeight: window.innerHeight};
  });
  await page.keyboard.press('F1');
  const full = await until('the full screen', async () => { const s = await stage(); return s.full ? s : null; }, 5000)
    .catch(() => null);
  check(full && full.full === 'stage' && Math.abs(full.width * 3 - full.height * 4) < 4 &&
        (Math.abs(full.width - full.screenWidth) < 2 || Math.abs(full.height - full.screenHeight) < 2),
        `F1 shows the stage full screen, the picture filling it at 4:3 (${JSON.stringify(full)})`);
  await page.keyboard.press('F1');
  const back = await until('the page again', async () => { const s = await stage(); return s.full ? null : s; }, 5000)
    .catch(() => null);
  check(back !== null, 'F1 again leaves the full screen');
  await player.settled();
}

// Through the system menu into slot `row`, confirming when asked; the last
// press (the one that writes) does not wait for the copy to IndexedDB.
async function saveTo(player, row) {
  for (let i = 0; i < 2 && (await player.state()).MenuItems[0] !== 'セーブ'; ++i) await player.click(400, 300, 'right');
  await player.pick(0);
  const asked = async () => (await player.state()).MenuItems[0] === 'はい';
  await player.pick(row, false);
  if (await asked()) await player.pick(0, false);
}

// The copy to IndexedDB, held back or failing, through the page's FS.syncfs.
async function storage(player, page) {
  await page.evaluate(() => {
    window.realSyncfs = FS.syncfs;
    window.heldCopies = [];
    FS.syncfs = (populate, done) => window.heldCopies.push(() => window.realSyncfs(populate, done));
  });
  await saveTo(player, 3);
  const before = await player.state();
  check(await page.evaluate(() => Module.pelmotSyncing && window.heldCopies.length === 1),
        'a save starts a copy to IndexedDB');
  await player.click(400, 300, 'left', false);
  await new Promise(r => setTimeout(r, 300));
  const during = await player.state();
  check(during.StepNo[1] === before.StepNo[1] && during.LineNo === before.LineNo,
        'no click is taken while the copy runs');
  // The save wrote the slot and then its stamp: a second copy follows the first.
  await until('the held copies to finish', () => page.evaluate(() => {
    while (window.heldCopies.length) window.heldCopies.shift()();
    return !Module.pelmotSyncing;
  }));
  await player.settled();
  const after = await player.state();
  check(after.StepNo[1] !== before.StepNo[1] || after.LineNo !== before.LineNo,
        'the click waiting is taken once the copy is done');

  await page.evaluate(() => {
    FS.syncfs = (populate, done) => setTimeout(() => done(new Error('QuotaExceededError: the quota is full')), 0);
  });
  await saveTo(player, 4);
  await player.settled();
  const failed = await player.state();
  check(/ブラウザに保存できませんでした[\s\S]*QuotaExceededError/.test(failed.LastMessage || ''),
        'a copy that fails says so in a box, with the reason');
  await page.evaluate(() => { FS.syncfs = window.realSyncfs; });
  await page.keyboard.press('Enter');
  await player.settled();
  check((await player.state()).LastMessage === null, 'Enter closes the box');
}

// Every key the game takes is the game's in the page, those the browser
// uses itself included; S quick-saves as F5 does, and F9 loads it back.
async function keys(player, page) {
  await player.settled();
  let s = await player.state();
  if (!s.ClickAdvances) await player.click(400, 300);
  const quickSave = () => page.evaluate(() => FS.analyzePath('/saves/TORMVEL/PELMOT/PELMOTQUICK.DAT').exists);
  const had = await quickSave();
  const at = (await player.state()).StepNo[1];
  await page.keyboard.press('KeyS');
  await player.settled();
  check(!had && (await quickSave()), 'S writes the quick save');
  for (let i = 0; i < 5 && (await player.state()).StepNo[1] === at; ++i) await player.click(400, 300);
  check((await player.state()).StepNo[1] !== at, 'clicks go on after the quick save');
  await page.keyboard.press('F9');
  await player.settled();
  s = await player.state();
  check(s.StepNo[1] === at && s.FlowMode === 1, `S quick-saves and F9 loads it back (step ${s.StepNo[1]}, saved ${at})`);
  // What the page's own handler did with each key, seen by a handler after it.
  await page.evaluate(() => {
    window.keysPrevented = {};
    window.addEventListener('keydown', e => { window.keysPrevented[e.code] = e.defaultPrevented; });
  });
  const game = ['ArrowUp', 'ArrowDown', 'PageUp', 'PageDown', 'Home', 'End', 'ControlLeft', 'KeyA', 'F2', 'F3', 'F5',
                'F9', 'KeyS'];
  for (const code of [...game, 'KeyQ', 'F12']) await page.keyboard.press(code);
  await player.settled();
  const prevented = await page.evaluate(() => window.keysPrevented);
  const missed = game.filter(code => prevented[code] !== true);
  check(missed.length === 0, `the browser does nothing with the game's keys (missed: ${missed.join(', ')})`);
  check(prevented.KeyQ === false && prevented.F12 === false, 'the browser keeps its other keys');
}

// ゲームを終了する at the title, はい: the page says the game has ended and
// shows no picture.
async function quit(player, page) {
  await page.reload();
  await player.playing();
  await toTitleMenu(player);
  await player.pick(3);
  await player.pick(0);
  await until('the end', async () => (await player.phase()) === 'ended', 5000).catch(() => {});
  const status = await page.evaluate(() => document.getElementById('status').textContent);
  check((await player.phase()) === 'ended' && /終了しました/.test(status), 'quitting at the title ends the game in the page');
  check((await player.bright(0, 0, 800, 600, 0)) === 0, 'the canvas is left empty');
}

// A browser that gives no saves (its IndexedDB refuses to open, or it has
// none): the game plays, says in a box that nothing will be kept, and copies
// nothing back, so the saves stored in the browser stay as they were.
// The settings screen switches to the shipped English: the title menu is
// drawn again in it at once, and with copying and speaking on, each line
// goes to the page's clipboard and voice in English.
async function language(player, page) {
  await page.reload();
  await player.playing();
  await page.evaluate(() => {
    window.copied = [];
    window.spoken = [];
    if (navigator.clipboard) navigator.clipboard.writeText = text => (window.copied.push(text), Promise.resolve());
    speechSynthesis.speak = utterance => window.spoken.push({text: utterance.text, lang: utterance.lang});
  });
  await toTitleMenu(player);
  const canvas = () => page.evaluate(() => document.getElementById('canvas').toDataURL());
  const japanese = await canvas();
  // The settings' last rows, from Close up: speak, copy, bilingual, language.
  const press = async (...codes) => {
    for (const code of codes) await page.keyboard.press(code);
    await player.settled();
  };
  await press('F2', 'PageDown', 'PageDown', 'ArrowUp', 'Enter', 'ArrowUp', 'Enter', 'ArrowUp', 'ArrowUp', 'Enter',
              'Escape');
  let s = await player.state();
  check(s.Language === 'en' && /^\nNew Game\nLoad Game/.test(s.ShownText) && s.MenuItems[0] === 'ゲームスタート',
        `the settings switch the title menu to English at once (${JSON.stringify(s.ShownText)})`);
  check((await canvas()) !== japanese, 'the canvas shows the English menu');
  await shot(page, 'english.png');
  await player.pick(0);
  await player.click(400, 300);
  s = await player.state();
  const copied = await page.evaluate(() => window.copied);
  const spoken = await page.evaluate(() => window.spoken);
  check(/^Scene 0 s\d/.test(s.LastCopied || '') && copied[copied.length - 1] === s.LastCopied,
        `the line shown goes to the page's clipboard in English (${JSON.stringify(copied.slice(-1))})`);
  const last = spoken[spoken.length - 1] || {};
  check(last.text === s.LastCopied && last.lang === 'en', `and is spoken in English (${JSON.stringify(last)})`);
}

async function unreadableSaves(browser, url, how) {
  const page = await browser.newPage();
  if (how === 'refused') {
    await page.evaluateOnNewDocument(() => {
      IDBFactory.prototype.open = () => { throw new Error('SecurityError: storage is blocked'); };
    });
  } else {
    await page.evaluateOnNewDocument(() => Object.defineProperty(window, 'indexedDB', {value: undefined}));
  }
  await page.goto(url);
  const player = new Player(page);
  await player.playing();
  const s = await player.state();
  check(/読み込めませんでした[\s\S]*保存されません/.test(s.LastMessage || ''),
        `saves that cannot be read are told in a box (IndexedDB ${how})`);
  await page.keyboard.press('Enter');
  await player.settled();
  // The box takes the key on the page's next frames, which a slow machine
  // may give it later than the two settled() waits for.
  let after = await player.state();
  for (let waited = 0; after.LastMessage !== null && waited < 3000; waited += 100) {
    await new Promise(r => setTimeout(r, 100));
    after = await player.state();
  }
  const syncing = await page.evaluate(() => Module.pelmotSyncing);
  check(after.LastMessage === null && !syncing,
        `the game plays on, copying nothing back (box ${JSON.stringify(after.LastMessage)}, copying ${!!syncing})`);
  await page.close({runBeforeUnload: false});
}

async function secondTab(browser, url) {
  const other = await browser.newPage();
  await other.goto(url);
  const player = new Player(other);
  await until('the second tab to give way', async () => (await player.phase()) === 'locked', 10000);
  const status = await other.evaluate(() => document.getElementById('status').textContent);
  check(/別のタブ/.test(status), 'a second tab says another tab plays');
  check((await player.frames()) === 0, 'a second tab starts nothing');
  await other.close();
}

// A visit in a browser context of its own (a cold cache, no saves), from a
// server of its own (`hold` as serve takes it); without `worker` the page
// has no service worker. Runs `play` with the page, its player and the
// server's counts, then closes both.
async function freshVisit(browser, {hold, worker = true}, play) {
  const {server, sent, log, url} = await serve(root, hold);
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    if (!worker) await page.evaluateOnNewDocument(() => { delete Navigator.prototype.serviceWorker; });
    const errors = [];
    page.on('console', m => { if (['error', 'warn', 'warning'].includes(m.type())) errors.push(m.text()); });
    await page.goto(url);
    const player = new Player(page);
    await player.playing();
    await play({page, player, server, sent, log, errors});
  } finally {
    await context.close();
    server.close();
  }
}

// A first visit on a cold cache: what comes before the logo's first frame
// (the program and the content packed for it) is at most 4 MB, counted as
// the test server sends it; the fonts and the pictures come after it.
async function coldStart(browser) {
  await freshVisit(browser, {}, async ({page, player, log, sent}) => {
    // The requests the page made before its first frame, each answered once,
    // and what the server sent for them (the service worker's own copies come
    // later).
    const first = await page.evaluate(() => ({
      ms: Module.pelmotFirstFrameMs,
      before: performance.getEntriesByType('resource').filter(e => e.startTime < Module.pelmotFirstFrameMs)
        .map(e => decodeURIComponent(new URL(e.name).pathname)),
    }));
    const names = ['index.html', ...first.before.map(name => path.basename(name))];
    const answers = log.slice();
    const bytes = names.reduce((sum, name) => {
      const at = answers.findIndex(a => a.name === name);
      return at < 0 ? sum : sum + answers.splice(at, 1)[0].bytes;
    }, 0);
    const late = first.before.filter(name => /\/content\//.test(name));
    check(bytes <= 4e6 && late.length === 0,
          `${(bytes / 1e6).toFixed(2)} MB fetched before the first frame at ${first.ms.toFixed(0)} ms ` +
          `(${names.join(', ')}), nothing of content/ among them`);
    await until('the fonts', () => page.evaluate(() => !Module.pelmotLateState('font/ipag.ttf')), 20000);
    check((sent['ipag.ttf'] || 0) > 0 && (sent['DejaVuSans.ttf'] || 0) > 0, 'the fonts come after the first frame');
    await toTitleMenu(player);
    check((await player.state()).MenuItems[0] === 'ゲームスタート', 'the title menu waits, its fonts come');
    await shot(page, 'cold-title.png');
  });
}

// After one visit the service worker keeps every file: with the server
// gone and the browser offline, a reload plays the logo, the title and the
// story's first pictures.
async function offlineReload(browser) {
  await freshVisit(browser, {}, async ({page, player, server}) => {
    await until('the service worker to keep every file', () => page.evaluate(() =>
      !!navigator.serviceWorker.controller && window.pelmotFilesComing() === 0), 60000);
    server.closeAllConnections();
    server.close();
    await page.setOfflineMode(true);
    await page.reload();
    await player.playing();
    await until('the logo offline', async () => (await player.bright(85, 190, 630, 220)) > 2000, 5000);
    await toTitleMenu(player);
    check((await player.state()).MenuItems[0] === 'ゲームスタート', 'offline, a reload plays to the title menu');
    await shot(page, 'offline-title.png');
    await player.pick(0);
    for (let i = 0; i < 6; ++i) await player.click(400, 300);
    const s = await player.state();
    check(s.FlowMode === 1 && s.LastMessage === null && (await player.bright(0, 0, 800, 600)) > 10000,
          `offline, the story plays on with its pictures (step ${s.StepNo[1]}, picture ${s.ShownPic})`);
    await shot(page, 'offline-story.png');
  });
}

// A picture still on its way when the player clicks: the step waits for it
// with the last picture on the canvas, the page's loading mark shows after
// 300 ms, and the click is taken once the picture is here. (No service
// worker here: every picture comes from the server, which holds picture 2
// back until the checks are made.)
async function slowPicture(browser) {
  let release;
  const released = new Promise(r => { release = r; });
  // Picture 1, which the first line shows without a hint before it, is
  // slow too: the read that needs it fetches it while the step waits.
  const slow = () => new Promise(r => setTimeout(r, 3000));
  const hold = name => name === '2.png' ? released : name === '1.png' ? slow() : null;
  await freshVisit(browser, {hold, worker: false}, async ({page, player, log}) => {
    await toTitleMenu(player);
    // The first line shows picture 1; the look-ahead names picture 2 next.
    // The pick's own mouse-up may be the first input that waits.
    const picked = Date.now();
    await player.pick(0, false);
    await until('the first picture', async () => (await player.state()).ShownPic === 1, 5000);
    await page.evaluate(() => new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r))));
    const fetches = log.filter(a => a.name === '1.png').length;
    check((await player.count(0, 0, 800, 600, [96, 96, 96])) < 1000 && (await player.bright(0, 0, 800, 600)) > 10000,
          `a picture read before it arrived is drawn, not a placeholder (answered ${fetches} times)`);
    const before = await player.state();
    await player.keepCanvas();
    const coming = await page.evaluate(() => Module.pelmotLateState('PELMOTPIC/2.png'));
    await player.click(400, 300, 'left', false);
    const mark = await until('the loading mark', () => page.evaluate(() => !document.getElementById('loading').hidden),
                             5000).catch(() => false);
    const markMs = Date.now() - picked;
    const during = await player.state();
    check(coming === 1 && during.StepNo[1] === before.StepNo[1] && during.LineNo === before.LineNo,
          `a click waits while the next picture is on its way (step ${before.StepNo[1]}, then ${during.StepNo[1]})`);
    const changed = await player.changedSinceKept();
    const seen = changed ? `rows ${changed.first} to ${changed.last} changed, ${changed.pixels} pixels, ` +
                           `picture ${during.ShownPic}, mode ${during.FlowMode}` : 'unchanged';
    check(!changed && mark && markMs >= 300,
          `the last picture stays on the canvas (${seen}), the loading mark over it after ${markMs} ms`);
    await shot(page, 'slow-picture.png');
    release();
    await until('the late picture', async () => (await player.state()).StepNo[1] !== before.StepNo[1], 10000);
    await player.settled();
    check(await page.evaluate(() => document.getElementById('loading').hidden),
          'once it is here the click is taken and the mark goes');
  }).finally(release);
}

// A picture that cannot be fetched at all: after its tries the step goes
// on, and the game shows its placeholder for it (grey, the number in large
// digits), as for a picture file that cannot be read.
async function lostPicture(browser) {
  const hold = name => name === '2.png' ? 'missing' : null;
  await freshVisit(browser, {hold, worker: false}, async ({page, player, errors}) => {
    await toTitleMenu(player);
    await player.pick(0);
    await until('picture 2', async () => (await player.state()).ShownPic === 2 || (await player.click(400, 300), false),
                20000);
    const grey = await player.count(0, 0, 800, 600, [96, 96, 96]);
    check(grey > 100000 && errors.some(e => /cannot fetch PELMOTPIC\/2\.png/.test(e)) &&
          errors.some(e => /cannot read picture \/content\/PELMOTPIC\/2\.png/.test(e)),
          `a picture that cannot be fetched shows the placeholder (${grey} grey pixels; ${errors.length} errors)`);
    await shot(page, 'lost-picture.png');
  });
}

// The two buttons under the canvas: "Export saves" downloads a tar archive
// of the data files, slot 3 among them; "Import saves" takes it back after
// slot 3 changed, asks naming it, and the page loads again with the slot as
// exported. A damaged archive is refused, nothing changed, nothing asked.
async function movingSaves(browser, player, page) {
  // The members of a tar archive by name (ustar headers: the name, then the
  // size in octal at 124).
  const tarMembers = (tar) => {
    const members = {};
    for (let at = 0; at + 512 <= tar.length && tar[at] !== 0;) {
      const name = tar.subarray(at, at + 100).toString('latin1').replace(/\0.*$/s, '');
      const size = parseInt(tar.subarray(at + 124, at + 136).toString('latin1').replace(/\0.*$/s, ''), 8);
      members[name] = tar.subarray(at + 512, at + 512 + size);
      at += 512 + Math.ceil(size / 512) * 512;
    }
    return members;
  };
  const slotPath = '/saves/TORMVEL/PELMOT/PELMOTDAT03.DAT';
  const slot = () => page.evaluate(p => Array.from(FS.readFile(p)).join(','), slotPath);
  await page.reload();
  await player.playing();
  const downloads = fs.mkdtempSync(path.join(require('os').tmpdir(), 'pelmot-downloads-'));
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  await page.click('#export-saves');
  const file = path.join(downloads, 'pelmot-saves.tar');
  await until('the download', async () => fs.existsSync(file) && fs.statSync(file).size > 0, 10000);
  const members = tarMembers(fs.readFileSync(file));
  const saved = await slot();
  check(members['PELMOTDAT03.DAT'] && Array.from(members['PELMOTDAT03.DAT']).join(',') === saved &&
        'SAVEDATE.DAT' in members, `the download is a tar of the data files, slot 3 as saved (${Object.keys(members)})`);

  const choose = async (archive) => {
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#import-saves')]);
    await chooser.accept([archive]);
  };
  const message = () => page.evaluate(() => document.getElementById('saves-message').textContent);
  let asked = '';
  page.on('dialog', async (dialog) => {
    asked = dialog.message();
    await dialog.accept();
  });
  const damaged = path.join(downloads, 'damaged.tar');
  fs.writeFileSync(damaged, fs.readFileSync(file).subarray(0, 700));
  await choose(damaged);
  await until('the refusal', async () => /refused/.test(await message()), 5000).catch(() => {});
  check(/refused/.test(await message()) && asked === '' && (await slot()) === saved,
        `a damaged archive is refused, nothing asked or changed ("${await message()}")`);

  await page.evaluate(p => FS.writeFile(p, new Uint8Array(30)), slotPath);
  await Promise.all([page.waitForNavigation(), choose(file)]);
  check(/replace: .*PELMOTDAT03\.DAT/.test(asked), `importing asks first, naming slot 3 ("${asked}")`);
  await player.playing();
  check((await slot()) === saved, 'after the page loads again slot 3 is the one exported');
  check(await page.evaluate(() => !FS.analyzePath('/saves/TORMVEL/PELMOT/pelmot-import.journal').exists),
        'the import is finished at the start: no journal is left');
  fs.rmSync(downloads, {recursive: true, force: true});
}

(async () => {
  if (shots) fs.mkdirSync(shots, {recursive: true});
  const {server, url} = await serve(root);
  const {browser, profile} = await launch();
  try {
    await coldStart(browser);
    await offlineReload(browser);
    await slowPicture(browser);
    await lostPicture(browser);
    await unreadableSaves(browser, url, 'refused');
    await unreadableSaves(browser, url, 'missing');
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768, hasTouch: true});
    page.on('pageerror', e => check(false, 'page error: ' + e.message));
    await page.goto(url);
    const player = new Player(page);
    const saved = await firstVisit(player, page);
    await secondTab(browser, url);
    await page.reload();
    await secondVisit(player, page, saved);
    await storage(player, page);
    await keys(player, page);
    await quit(player, page);
    await language(player, page);
    await movingSaves(browser, player, page);
  } catch (e) {
    check(false, e.stack || String(e));
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  console.log(failures ? `${failures} failed` : 'all passed');
  process.exit(failures ? 1 : 0);
})();
