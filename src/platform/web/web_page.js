// The page's side of the browser edition, run before the program (--pre-js).
// It takes this tab's lock on the saves (a second tab says so and starts
// nothing), loads the saves from IndexedDB, starts the game, copies every
// change of the saves back, and writes the last-play stamp when the page is
// hidden or closed. It also gives tests the game's state.
Module.noInitialRun = true;
Module.pelmotSyncing = false;

(function () {
  const kSaves = '/saves';
  const kLockName = 'pelmot-saves';
  let syncAgain = false;
  let syncFailing = false;  // the last copy failed: the player has been told

  function tell(what, text) {
    document.body.dataset.pelmot = what;
    const status = document.getElementById('status');
    if (status) {
      status.textContent = text || '';
      status.hidden = !text;
    }
  }

  Module.pelmotTell = function (what) {
    if (what === 'playing') tell('playing', '');
    else if (what === 'ended') {
      // The last picture would still ask the question just answered.
      const canvas = document.getElementById('canvas');
      const context = canvas && canvas.getContext('2d');
      if (context) context.clearRect(0, 0, canvas.width, canvas.height);
      tell('ended', 'ゲームは終了しました。ページを読み込み直すと、また始まります。');
    }
    else tell(what, 'ゲームを始められませんでした。');
  };

  let savesUnreadable = false;  // never copied back: that could overwrite the real saves

  // Tells the game that IndexedDB refused to give the saves (`reading`) or
  // to take them.
  function reportSyncFailure(error, reading) {
    const reason = String(error && error.message ? error.message : error);
    console.error('pelmot: cannot ' + (reading ? 'read the saves from' : 'write the saves to') +
                  ' IndexedDB: ' + reason);
    const size = lengthBytesUTF8(reason) + 1;
    const text = _malloc(size);
    stringToUTF8(reason, text, size);
    Module._pelmot_saves_sync_failed(reading ? 1 : 0, text);
    _free(text);
  }

  // One copy at a time; one asked for meanwhile follows it. Input waits
  // while pelmotSyncing is set.
  Module.pelmotSyncSaves = function () {
    if (savesUnreadable) return;
    if (Module.pelmotSyncing) {
      syncAgain = true;
      return;
    }
    Module.pelmotSyncing = true;
    FS.syncfs(false, function (error) {
      // One box for a run of failed copies (a save's slot and stamp would
      // otherwise bring two); a copy that succeeds ends the run.
      if (error && !syncFailing) reportSyncFailure(error, false);
      syncFailing = !!error;
      if (syncAgain) {
        syncAgain = false;
        Module.pelmotSyncing = false;
        Module.pelmotSyncSaves();
      } else {
        Module.pelmotSyncing = false;
      }
    });
  };

  Module.preRun = Module.preRun || [];
  // Emscripten's IndexedDB file system stops the program where the browser
  // has no IndexedDB at all: then the saves stay in memory only.
  const noIndexedDB = typeof indexedDB === 'undefined' || !indexedDB;
  Module.preRun.push(function () {
    FS.mkdir(kSaves);
    if (!noIndexedDB) FS.mount(IDBFS, {}, kSaves);
  });

  function loadSavesAndPlay() {
    if (noIndexedDB) {
      savesUnreadable = true;
      Module.callMain([]);
      reportSyncFailure('this browser has no IndexedDB', true);
      return;
    }
    FS.syncfs(true, function (error) {
      // Saves that cannot be read are left alone: the game plays without
      // them and copies nothing back, and says so.
      savesUnreadable = !!error;
      Module.callMain([]);
      if (error) reportSyncFailure(error, true);
    });
  }

  function onHidden() {
    if (document.body.dataset.pelmot === 'playing') Module._pelmot_page_hidden();
  }

  Module.onRuntimeInitialized = function () {
    document.addEventListener('visibilitychange', function () {
      if (document.visibilityState === 'hidden') onHidden();
    });
    window.addEventListener('pagehide', onHidden);
    if (!navigator.locks) {
      loadSavesAndPlay();  // a browser without Web Locks: one tab is the player's word
      return;
    }
    navigator.locks.request(kLockName, {ifAvailable: true}, function (lock) {
      if (!lock) {
        tell('locked', 'このゲームは別のタブで遊ばれています。そちらを閉じてから、このページを読み込み直してください。');
        return undefined;
      }
      loadSavesAndPlay();
      return new Promise(function () {});  // held while the page lives
    });
  };

  // For tests: the state as the headless `state` command prints it, where a
  // player presses for a row of the list on screen, and the frames presented
  // so far.
  window.pelmotState = function () {
    return Module._pelmot_state ? UTF8ToString(Module._pelmot_state()) : 'null';
  };
  window.pelmotPickPoint = function (row) {
    const at = Module._pelmot_pick_point ? Module._pelmot_pick_point(row) : -1;
    return at < 0 ? null : {x: at % 10000, y: Math.floor(at / 10000)};
  };
  window.pelmotFrames = function () {
    return Module._pelmot_frames ? Module._pelmot_frames() : 0;
  };
})();

// --- Moving the saves: the two buttons under the canvas -------------------
// "Export saves" downloads every data file as one tar archive, made by the
// game's own code; "Import saves" takes such an archive, has the game check
// every file as a load would, asks which files it would replace, and stages
// them with their journal in IndexedDB; the page then loads again and the
// start puts them in place before the game reads any. Every word the
// buttons show or say is in kSavesWords.
(function () {
  const kSavesWords = {
    exportButton: 'Export saves',
    importButton: 'Import saves',
    archiveName: 'pelmot-saves.tar',
    exported: (count, leftOut) => 'Exported ' + count + ' file(s).' +
        (leftOut.length ? ' Left out, as the game could not load them: ' + leftOut.join('; ') : ''),
    cannotExport: (why) => 'The saves cannot be exported: ' + why,
    refused: (why) => 'The archive was refused, nothing was changed: ' + why,
    sameAlready: 'These saves are here already; nothing to change.',
    ask: (replaced, added) => 'Import these saves?' +
        (replaced.length ? '\n\nThey replace: ' + replaced.join(', ') : '') +
        (added.length ? '\n\nThey add: ' + added.join(', ') : '') +
        '\n\nThe page then loads again with them.',
    notImported: 'Nothing was imported.',
    notPlaying: 'The saves can be moved while the game plays in this tab.',
  };

  function say(text) {
    const line = document.getElementById('saves-message');
    if (line) line.textContent = text;
  }

  function told() { return JSON.parse(UTF8ToString(Module._pelmot_saves_text())); }

  function playing() {
    if (document.body.dataset.pelmot === 'playing') return true;
    say(kSavesWords.notPlaying);
    return false;
  }

  function exportSaves() {
    if (!playing()) return;
    const size = Module._pelmot_export_saves();
    const info = told();
    if (size < 0) return say(kSavesWords.cannotExport(info.refused));
    const at = Module._pelmot_saves_bytes();
    const url = URL.createObjectURL(new Blob([HEAPU8.slice(at, at + size)], {type: 'application/x-tar'}));
    const link = document.createElement('a');
    link.href = url;
    link.download = kSavesWords.archiveName;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
    say(kSavesWords.exported(info.count, info.leftOut));
  }

  // Once the staged files are in IndexedDB the page loads again; the game
  // that played writes nothing more on the way out.
  function reloadWhenCopied() {
    document.body.dataset.pelmot = 'importing';
    (function wait() {
      if (Module.pelmotSyncing) return setTimeout(wait, 50);
      location.reload();
    })();
  }

  function importBytes(bytes) {
    const at = _malloc(Math.max(1, bytes.length));
    HEAPU8.set(bytes, at);
    const result = Module._pelmot_check_import(at, bytes.length);
    _free(at);
    const info = told();
    if (result === 0) return say(kSavesWords.refused(info.refused));
    if (result === 1) return say(kSavesWords.sameAlready);
    if (!confirm(kSavesWords.ask(info.replaced, info.added))) return say(kSavesWords.notImported);
    if (Module._pelmot_stage_import() !== 1) return say(kSavesWords.refused(told().refused));
    reloadWhenCopied();
  }

  function setUp() {
    const exportButton = document.getElementById('export-saves');
    const importButton = document.getElementById('import-saves');
    const chooser = document.getElementById('import-file');
    if (!exportButton || !importButton || !chooser) return;
    exportButton.textContent = kSavesWords.exportButton;
    importButton.textContent = kSavesWords.importButton;
    exportButton.addEventListener('click', exportSaves);
    importButton.addEventListener('click', function () {
      if (playing()) chooser.click();
    });
    chooser.addEventListener('change', function () {
      const file = chooser.files && chooser.files[0];
      chooser.value = '';
      if (file) file.arrayBuffer().then(function (buffer) { importBytes(new Uint8Array(buffer)); });
    });
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', setUp);
  else setUp();
})();
// --- end of moving the saves -----------------------------------------------
