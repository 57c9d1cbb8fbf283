// The browser edition in headless Chromium: page load to the first picture
// of the logo with a cold cache (a fresh profile each run), the bytes the
// page transfers, and the time of a step (a click that advances a line: the
// browser's event handler plus the frame that draws it).
//
// Usage: node web_bench.cjs BUILD_WEB_DIR [LOAD_RUNS] [STEPS]
'use strict';
const fs = require('fs');
const path = require('path');
const {serve, launch, until, Player} = require('../tests/browser/page_driver.cjs');

const root = path.resolve(process.argv[2] || 'build-web');
const loadRuns = Number(process.argv[3] || 5);
const steps = Number(process.argv[4] || 200);

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// One cold load: a new profile, so nothing is cached; the first picture's
// time is measured by the page from the start of the navigation.
async function coldLoad(url) {
  const {browser, profile} = await launch();
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768});
    await page.goto(url);
    return await until('the first frame', () => page.evaluate(() => Module.pelmotFirstFrameMs), 30000);
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

// A click in the middle of the canvas, dispatched as the browser would;
// the handler's time, then the drawing frame's own.
async function step(page) {
  const before = await page.evaluate(() => window.pelmotFrames());
  const handler = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const r = canvas.getBoundingClientRect();
    const at = {clientX: r.left + r.width / 2, clientY: r.top + r.height / 2, button: 0, bubbles: true};
    const began = performance.now();
    canvas.dispatchEvent(new MouseEvent('mousedown', at));
    canvas.dispatchEvent(new MouseEvent('mouseup', at));
    return performance.now() - began;
  });
  await until('the frame', async () => (await page.evaluate(() => window.pelmotFrames())) > before, 5000);
  const frame = await page.evaluate(() => Module.pelmotLastFrameMs);
  return {handler, frame, total: handler + frame};
}

(async () => {
  const {server, sent, url} = await serve(root);
  const loads = [];
  for (let i = 0; i < loadRuns; ++i) loads.push(await coldLoad(url));
  const perLoad = {};
  for (const [name, bytes] of Object.entries(sent)) perLoad[name] = bytes / loadRuns;

  const {browser, profile} = await launch();
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 768});
  await page.goto(url);
  const player = new Player(page);
  await player.playing();
  await until('the title menu', async () => {
    const s = await player.state();
    if (!s.ClickAdvances && s.MenuItems[0] === 'ゲームスタート') return true;
    await player.click(400, 300);
    return false;
  });
  await player.pick(0);
  const times = [];
  while (times.length < steps) {
    const s = await player.state();
    if (s.ClickAdvances) {
      times.push(await step(page));
    } else {
      // A choice or menu: its first row, if it has one; else the story has ended.
      if (!(await page.evaluate(() => window.pelmotPickPoint(0)))) break;
      await player.pick(0);
    }
  }
  await browser.close();
  fs.rmSync(profile, {recursive: true, force: true});
  server.close();

  console.log(`page load to the first logo frame, cold cache: median ${median(loads).toFixed(0)} ms ` +
              `(runs: ${loads.map(v => v.toFixed(0)).join(' ')}) (goal: under 1500 ms)`);
  let total = 0;
  for (const name of Object.keys(perLoad).sort()) {
    console.log(`  transferred ${name.padEnd(13)} ${Math.round(perLoad[name]).toString().padStart(9)} bytes`);
    total += perLoad[name];
  }
  console.log(`  transferred in all    ${Math.round(total).toString().padStart(9)} bytes`);
  const totals = times.map(t => t.total);
  console.log(`step (click to drawn line): median ${median(totals).toFixed(2)} ms over ${times.length} steps, ` +
              `max ${Math.max(...totals).toFixed(2)} ms (goal: median 1 ms or less)`);
  console.log(`  of which the event handler ${median(times.map(t => t.handler)).toFixed(2)} ms, ` +
              `the frame that draws ${median(times.map(t => t.frame)).toFixed(2)} ms (medians; the browser's ` +
              `clock counts in steps of 0.1 ms)`);
  console.log(`load average: ${require('os').loadavg().map(v => v.toFixed(2)).join(' ')}`);
})().catch(e => {
  console.error(e.stack || String(e));
  process.exit(1);
});
