// tests/web/page.mjs: the browser build's page in Debian's chromium, for the web tests and benchmark.
//
// servePage serves a build folder on a free local port; openPage launches headless chromium (playwright-
// core) with a page of its own, collects what the page writes to its console, and gives the page's real
// canvas pixels, real key and mouse input, and waits that poll for what they wait on. No threads are
// used, so the page needs no cross-origin isolation headers.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { chromium } from 'playwright-core';

const kTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                 '.data': 'application/octet-stream' };
// Waits are bounded only so that a broken build cannot hang the suite.
export const kWaitMs = 30000;

// Serves `folder` on 127.0.0.1 at a free port; resolves to { url, close }.
export async function servePage(folder) {
  const server = createServer(async (request, response) => {
    let path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (path.endsWith('/')) path += 'index.html';
    try {
      const body = await readFile(join(folder, path));
      response.writeHead(200, { 'Content-Type': kTypes[extname(path)] || 'application/octet-stream',
                                'Cache-Control': 'no-store' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`,
           close: () => new Promise((resolve) => server.close(resolve)) };
}

// Headless chromium with software WebGL, a window of `width` x `height`.
export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox'],
  });
}

// A page of the game opened in `browser` (a context of its own unless `context` is given, whose
// IndexedDB then carries saves between pages). `errors` collects console errors and page errors.
export async function openPage(browser, url, { width = 800, height = 600, context } = {}) {
  const ctx = context || await browser.newContext({ viewport: { width, height } });
  const page = await ctx.newPage();
  const errors = [];
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url);
  return { page, context: ctx, errors };
}

// Records, in every page the context opens, each sound the page starts through Web Audio (its length in
// seconds and channel count) and the state of its audio contexts: what reaches the speakers.
export async function recordSound(context) {
  await context.addInitScript(() => {
    window.soundLog = { started: [], contexts: [] };
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function(...args) {
      if (this.buffer) soundLog.started.push({ seconds: this.buffer.duration, channels: this.buffer.numberOfChannels });
      return start.apply(this, args);
    };
    const Context = window.AudioContext;
    window.AudioContext = function(...args) {
      const context = new Context(...args);
      soundLog.contexts.push(context);
      return context;
    };
  });
}
export const soundsStarted = (page) => page.evaluate(() => soundLog.started);
export const soundRunning = (page) => page.evaluate(() => soundLog.contexts.some((c) => c.state === 'running'));

// Polls `probe` (an async function) until it answers truthy; returns that answer, or null on time-out.
export async function poll(probe, ms = kWaitMs) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    const answer = await probe();
    if (answer) return answer;
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
  return null;
}

export const pageState = (page) => page.evaluate(() => window.zkPage.state);

// The click that starts the program: waits until the page offers it.
export async function clickToPlay(page) {
  if (!await poll(async () => await pageState(page) === 'ready')) throw new Error('the page never loaded');
  await page.mouse.click(10, 10);
}

// The canvas's pixels in a rectangle of its drawing buffer, as an array of 0xRRGGBB, read in the
// animation frame right after the game drew one (the buffer is whole only until the page shows it).
export function pixels(page, x, y, w, h) {
  return page.evaluate(([x, y, w, h]) => new Promise((resolve) => requestAnimationFrame(() => {
    const canvas = document.getElementById('canvas');
    const copy = window.pixelCopy || (window.pixelCopy = document.createElement('canvas'));   // one for all
    copy.width = w;
    copy.height = h;
    const context = copy.getContext('2d', { willReadFrequently: true });
    context.drawImage(canvas, x, y, w, h, 0, 0, w, h);
    const rgba = context.getImageData(0, 0, w, h).data;
    const out = [];
    for (let i = 0; i < rgba.length; i += 4) out.push((rgba[i] << 16) | (rgba[i + 1] << 8) | rgba[i + 2]);
    resolve(out);
  })), [x, y, w, h]);
}

const same = (a, b) => a.length === b.length && a.every((v, i) => v === b[i]);

// Waits until the rectangle has not changed for a quarter of a second and returns it.
export async function settled(page, x, y, w, h) {
  let last = await pixels(page, x, y, w, h), since = Date.now();
  await poll(async () => {
    const now = await pixels(page, x, y, w, h);
    if (!same(now, last)) last = now, since = Date.now();
    return Date.now() - since > 250;
  });
  return last;
}

// Waits until the page has drawn `count` more frames.
export function frames(page, count) {
  return page.evaluate((n) => new Promise((resolve) => {
    const next = () => (n-- > 0 ? requestAnimationFrame(next) : resolve());
    next();
  }), count);
}

// Holds `key` down until `done` (an async function) holds: a press and release sent together could slip
// between two updates.
export async function hold(page, key, done) {
  await page.keyboard.down(key);
  const seen = await poll(done);
  await page.keyboard.up(key);
  await frames(page, 3);   // seen released before any next press (the game latches presses)
  return seen;
}

export { same };
