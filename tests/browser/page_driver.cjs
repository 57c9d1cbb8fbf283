// What the browser test and the browser benchmark share: a static server for
// build-web/ on a free port of 127.0.0.1, Debian's Chromium started headless
// through puppeteer-core, and the page's test hooks.
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};

// Serves `root`; `sent` adds up the bytes of each file served, `log` lists
// each answer in turn ({name, bytes}). A file is
// answered once what `hold(name)` returns (a promise, say) has settled;
// when that is 'missing', as a file that is not there.
function serve(root, hold = () => null) {
  const sent = {};
  const log = [];
  const server = http.createServer(async (request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    const missing = (await hold(path.basename(file))) === 'missing';
    if (missing || !file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const body = fs.readFileSync(file);
    sent[path.basename(file)] = (sent[path.basename(file)] || 0) + body.length;
    log.push({name: path.basename(file), bytes: body.length});
    response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                             'Cache-Control': 'no-store'});
    response.end(body);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () =>
    resolve({server, sent, log, url: `http://127.0.0.1:${server.address().port}/`})));
}

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pelmot-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.PELMOT_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--window-size=1024,768', '--disable-gpu', '--mute-audio'],
  });
  return {browser, profile};
}

async function until(what, check, timeoutMs = 20000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await new Promise(r => setTimeout(r, 30));
  }
}

// The page's hooks, and the player's hand on the canvas.
class Player {
  constructor(page) { this.page = page; }
  async state() { return JSON.parse(await this.page.evaluate(() => window.pelmotState())); }
  async frames() { return this.page.evaluate(() => window.pelmotFrames()); }
  async phase() { return this.page.evaluate(() => document.body.dataset.pelmot || ''); }
  async playing() {
    await until('the game to start', async () => (await this.phase()) === 'playing' && (await this.frames()) > 0);
  }
  // Client pixels (800 x 600) to page pixels, through the canvas's CSS box.
  async toPage(x, y) {
    const box = await this.page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return {left: r.left, top: r.top, width: r.width, height: r.height};
    });
    return {x: box.left + (x + 0.5) * box.width / 800, y: box.top + (y + 0.5) * box.height / 600};
  }
  // A click; unless `settle` is false, waits for what it wrote to be stored.
  async click(x, y, button = 'left', settle = true) {
    const at = await this.toPage(x, y);
    await this.page.mouse.move(at.x, at.y);
    await this.page.mouse.click(at.x, at.y, {button});
    if (settle) await this.settled();
  }
  // Input waits while the saves are copied to IndexedDB, or while a font or
  // picture the game needs is on its way; so does the test.
  async settled() {
    await until('the saves to be copied', () => this.page.evaluate(() => !Module.pelmotSyncing));
    await until('the content the game waits for', () => this.page.evaluate(() => !Module.pelmotInputWaits));
    await this.page.evaluate(() => new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r))));
  }
  // A finger on the canvas: a tap, or held for `holdMs` before it lifts.
  async touch(x, y, holdMs = 0) {
    const at = await this.toPage(x, y);
    await this.page.touchscreen.touchStart(at.x, at.y);
    if (holdMs) await new Promise(r => setTimeout(r, holdMs));
    await this.page.touchscreen.touchEnd();
    await this.settled();
  }
  async pick(row, settle = true) {
    const at = await until(`row ${row} to wait for a pick`, () => this.page.evaluate(r => window.pelmotPickPoint(r), row));
    await this.click(at.x, at.y, 'left', settle);
  }
  // How many canvas pixels in the rectangle (client pixels) are exactly `rgb`.
  async count(left, top, width, height, rgb) {
    return this.page.evaluate((l, t, w, h, c) => {
      const data = document.getElementById('canvas').getContext('2d').getImageData(l, t, w, h).data;
      let n = 0;
      for (let i = 0; i < data.length; i += 4)
        if (data[i] === c[0] && data[i + 1] === c[1] && data[i + 2] === c[2]) ++n;
      return n;
    }, left, top, width, height, rgb);
  }
  // Keeps the canvas's pixels as they are now, for `changedSinceKept`.
  async keepCanvas() {
    await this.page.evaluate(() => {
      window.pelmotKeptCanvas = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 800, 600).data;
    });
  }
  // Where the canvas differs from what `keepCanvas` kept: null when nowhere,
  // else the first and last rows that differ and how many pixels do.
  async changedSinceKept() {
    return this.page.evaluate(() => {
      const now = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 800, 600).data;
      const kept = window.pelmotKeptCanvas;
      let first = -1, last = -1, pixels = 0;
      for (let i = 0; i < now.length; i += 4) {
        if (now[i] === kept[i] && now[i + 1] === kept[i + 1] && now[i + 2] === kept[i + 2]) continue;
        const row = Math.floor(i / 3200);
        if (first < 0) first = row;
        last = row;
        ++pixels;
      }
      return first < 0 ? null : {first, last, pixels};
    });
  }
  // How many canvas pixels in the rectangle have a channel above `level`.
  async bright(left, top, width, height, level = 60) {
    return this.page.evaluate((l, t, w, h, v) => {
      const data = document.getElementById('canvas').getContext('2d').getImageData(l, t, w, h).data;
      let n = 0;
      for (let i = 0; i < data.length; i += 4)
        if (data[i] > v || data[i + 1] > v || data[i + 2] > v) ++n;
      return n;
    }, left, top, width, height, level);
  }
  async pixel(x, y) {
    return this.page.evaluate((px, py) =>
      Array.from(document.getElementById('canvas').getContext('2d').getImageData(px, py, 1, 1).data.slice(0, 3)), x, y);
  }
}

module.exports = {serve, launch, until, Player};
