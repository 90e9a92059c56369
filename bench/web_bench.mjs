// bench/web_bench.mjs: the browser build's figures for BENCHMARKS.md, in headless Debian chromium
// (software WebGL). Run by hand after `make web` (about a minute):
//   node bench/web_bench.mjs [build-web]
// It needs playwright-core from tests/web (make check-web installs it there).
//   1. download: every file the page loads, its size and gzipped size, and the gzipped total;
//   2. start: from navigation to "Click to play", to the first frame after the click and to the title
//      menu (the click comes as soon as the page offers it), and where the time goes: each file's
//      download, the WebAssembly compile, the saved state read back from IndexedDB, and in the loader's
//      frames the game's updates and renders with the WebGL texture uploads and error checks among them;
//   3. the busiest play frame: a 30-second game with the ball swung at every chance, 600 frames of play:
//      the frame function's updates and render on the main thread (performance.now around each part,
//      inside the program), and WebGL draw calls per frame.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

const here = new URL('.', import.meta.url).pathname;
const { clickToPlay, frames, hold, launchBrowser, openPage, pixels, poll, same, servePage, settled } =
  await import(join(here, '../tests/web/page.mjs'));

const build = process.argv[2] || join(here, '../build-web');
const kFiles = ['index.html', 'tolvane-golf.js', 'tolvane-golf.wasm', 'tolvane-golf.data'];
const kLoadingCorner = 0x282850, kBlank = 0;
const kPlayFrames = 600;

const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
};
const fixed = (x, digits = 2) => x.toFixed(digits);

// 1. Download sizes.
console.log('== download (bytes) ==');
let total = 0, totalGz = 0;
for (const file of kFiles) {
  const bytes = readFileSync(join(build, file));
  const gz = gzipSync(bytes, { level: 9 }).length;
  total += bytes.length, totalGz += gz;
  console.log(`${file.padEnd(20)} ${String(bytes.length).padStart(9)} ${String(gz).padStart(9)} gzipped`);
}
console.log(`${'total'.padEnd(20)} ${String(total).padStart(9)} ${String(totalGz).padStart(9)} gzipped`);

const server = await servePage(build);
const browser = await launchBrowser();
const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
// Every animation frame callback timed with its WebGL draw calls; the program's own split read after it.
// The WebGL calls that make textures and read errors, and the WebAssembly compile, are timed where they
// are called.
await context.addInitScript(() => {
  window.bench = { draws: 0, frames: [], gl: {}, wasm: null };
  const timed = (owner, name, record) => {
    const call = owner[name];
    owner[name] = function(...args) {
      const start = performance.now();
      const result = call.apply(this, args);
      const done = () => record(start, performance.now());
      if (result && typeof result.then === 'function') result.then(done); else done();
      return result;
    };
  };
  const proto = WebGLRenderingContext.prototype;
  for (const name of ['drawArrays', 'drawElements']) timed(proto, name, () => bench.draws++);
  for (const name of ['texImage2D', 'texSubImage2D', 'getError']) {
    timed(proto, name, (start, end) => {
      const total = bench.gl[name] || (bench.gl[name] = { calls: 0, ms: 0, loading: { calls: 0, ms: 0 } });
      const part = window.zkPage && window.zkPage.state === 'playing' && !bench.title ? total.loading : total;
      part.calls++, part.ms += end - start;
    });
  }
  for (const name of ['instantiateStreaming', 'instantiate']) {
    timed(WebAssembly, name, (start, end) => { bench.wasm = bench.wasm || { start, end }; });
  }
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => raf((time) => {
    const draws = bench.draws, start = performance.now();
    callback(time);
    const module = window.zkPage && window.zkPage.module;
    if (module && window.zkPage.state === 'playing' && bench.draws > draws) {
      bench.frames.push({ at: start, ms: performance.now() - start, draws: bench.draws - draws,
                          update: module._zk_web_frame_ms(0), render: module._zk_web_frame_ms(1) });
    }
  });
});
const { page, errors } = await openPage(browser, server.url, { context });

// 2. Start.
const ready = await poll(() => page.evaluate(() => window.zkPage.state === 'ready' && performance.now()));
await clickToPlay(page);
const title = await poll(async () => {
  const [corner] = await pixels(page, 5, 5, 1, 1);
  return corner !== kLoadingCorner && corner !== kBlank && await page.evaluate(() => (bench.title = performance.now()));
});
const start = await page.evaluate(() => ({
  files: performance.getEntriesByType('resource').map((r) => [r.name.replace(/.*\//, ''), r.startTime, r.responseEnd]),
  saves: performance.getEntriesByName('zk-saves-read').map((m) => [m.startTime, m.startTime + m.duration])[0],
  wasm: bench.wasm, gl: bench.gl,
  loading: bench.frames.filter((f) => f.at < bench.title),
}));
const span = (from, to) => `${fixed(from, 0)} to ${fixed(to, 0)}`;
const sum = (frames, key) => frames.reduce((total, f) => total + f[key], 0);
console.log('== start (ms from navigation) ==');
console.log(`click to play offered ${fixed(ready, 0)}, first frame ${fixed(start.loading[0].at, 0)}, title menu ${fixed(title, 0)}`);
for (const [file, from, to] of start.files) console.log(`  download ${file.padEnd(20)} ${span(from, to)}`);
if (start.wasm) console.log(`  WebAssembly compile      ${span(start.wasm.start, start.wasm.end)}`);
if (start.saves) console.log(`  saved state read back   ${span(...start.saves)}`);
const loading = start.loading;
console.log(`  loader: ${loading.length} frames from the first to the title, updates ${fixed(sum(loading, 'update'), 0)} ms, ` +
            `renders ${fixed(sum(loading, 'render'), 0)} ms, the frame callbacks ${fixed(sum(loading, 'ms'), 0)} ms`);
for (const [name, { loading: l }] of Object.entries(start.gl)) {
  console.log(`  loader's WebGL ${name.padEnd(14)} ${String(l.calls).padStart(4)} calls ${fixed(l.ms, 1).padStart(7)} ms`);
}

// 3. A 30-second game, swung at every chance; the frames of play only (the corner is no longer the
// title's).
await settled(page, 660, 40, 140, 440);
const titleCorner = await pixels(page, 2, 2, 20, 20);
await hold(page, 'Enter', async () => !same(await pixels(page, 2, 2, 20, 20), titleCorner));
await frames(page, 30);
const from = await page.evaluate(() => bench.frames.length);
while (await page.evaluate(() => bench.frames.length) < from + kPlayFrames) {
  await page.keyboard.press(' ', { delay: 60 });
  await page.waitForTimeout(150);
}
const play = (await page.evaluate(() => bench.frames)).slice(from, from + kPlayFrames);
const column = (key) => play.map((f) => f[key]);
console.log(`== busiest play frame (${play.length} frames of a 30-second game, ms) ==`);
for (const [name, key] of [['updates', 'update'], ['render', 'render'], ['frame function', 'ms']]) {
  console.log(`${name.padEnd(16)} median ${fixed(quantile(column(key), 0.5))}  p99 ${fixed(quantile(column(key), 0.99))}`);
}
console.log(`draw calls       median ${quantile(column('draws'), 0.5)}  max ${Math.max(...column('draws'))}`);
const seconds = (play[play.length - 1].at - play[0].at) / 1000;
console.log(`frames a second  ${fixed(play.length / seconds, 1)}`);
console.log(`console errors   ${errors.length}`);
console.log(`chromium         ${browser.version()}`);
await browser.close();
await server.close();
