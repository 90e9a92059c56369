// tests/web/page_test.mjs: the browser build's page in Debian's chromium, played as a player plays it:
// real clicks and keys, the real canvas's pixels, the saved state in the page's IndexedDB. Run by ctest
// one case at a time (tests/web/web.cmake): node --test --test-name-pattern "^NAME$" page_test.mjs.
// Every case also requires a console without errors.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { clickToPlay, frames, hold, launchBrowser, openPage, pageState, pixels, poll, recordSound, same, servePage,
         settled, soundRunning, soundsStarted } from './page.mjs';
import { savedText, tables } from './saved_state.mjs';

const kBuild = process.env.WEB_BUILD;
const W = 800, H = 600;
const kLoadingCorner = 0x282850, kBlank = 0x000000;
const kTenSeconds = 2;   // the third game type
const kSeeded = 12345;   // a last score the seeded state holds

let server, browser;
before(async () => {
  server = await servePage(kBuild);
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// Regions of an 800 x 600 canvas: the top-left corner, the highscore panel, the carousel.
const corner = (page) => pixels(page, 2, 2, 20, 20);
const panel = (page) => pixels(page, 660, 40, 140, 440);
const carousel = (page) => pixels(page, 280, 440, 360, 120);

// Waits for the title menu: the corner shows neither a blank canvas nor the loading screen, and the
// highscore panel holds still. Returns the panel.
async function titleMenu(page) {
  const drawn = await poll(async () => {
    const [c] = await pixels(page, 5, 5, 1, 1);
    return c !== kLoadingCorner && c !== kBlank;
  });
  assert.ok(drawn, 'the title menu is drawn');
  return settled(page, 660, 40, 140, 440);
}

// The carousel moved `steps` items to the right (the 10-second game is two steps away).
async function chooseRight(page, steps) {
  for (let i = 0; i < steps; ++i) {
    const before = await carousel(page);
    assert.ok(await hold(page, 'ArrowRight', async () => !same(await carousel(page), before)), 'the carousel turns');
    await settled(page, 280, 440, 360, 120);
  }
}

const fs = (page) => ({
  read: () => page.evaluate(() => {
    const FS = window.zkPage.module.FS;
    return FS.analyzePath('/save/.zanthstate').exists ? FS.readFile('/save/.zanthstate', { encoding: 'utf8' }) : '';
  }),
  write: (text) => page.evaluate((t) => window.zkPage.module.FS.writeFile('/save/.zanthstate', t), text),
  kept: () => poll(() => page.evaluate(() => window.zkPage.module.zkSavesKept())),
});

// The click starts the program and its sound: the jingle plays while the title menu loads.
test('title menu after a click', async () => {
  const context = await browser.newContext({ viewport: { width: W, height: H } });
  await recordSound(context);
  const { page, errors } = await openPage(browser, server.url, { context });
  await poll(async () => await pageState(page) === 'ready');
  assert.match(await page.textContent('#panel'), /Click to play/);
  await clickToPlay(page);
  await titleMenu(page);
  assert.deepEqual(await page.evaluate(() => [canvas.width, canvas.height]), [W, H], 'the canvas is the window');
  assert.equal(await page.isVisible('#panel'), false);
  assert.ok(await soundRunning(page), 'the sound runs');
  assert.ok((await soundsStarted(page)).some((s) => s.seconds > 1), 'the jingle played');
  assert.deepEqual(errors, []);
});

// A returning player's state holds one 10-second score; a 10-second game played with the space bar to
// its end files its score ahead of it, saves, and the page's IndexedDB keeps that: after a reload the
// new program reads the same state and the title panel shows the same tables.
test('ten-second game filed and kept after a reload', async () => {
  const { page, errors } = await openPage(browser, server.url, { width: W, height: H });
  await poll(async () => await pageState(page) === 'ready');
  await fs(page).write(savedText({ [kTenSeconds]: [kSeeded] }));
  await clickToPlay(page);
  await titleMenu(page);
  await chooseRight(page, 2);
  const seededPanel = await panel(page), titleCorner = await corner(page);
  assert.ok(await hold(page, 'Enter', async () => !same(await corner(page), titleCorner)), 'the game starts');
  const end = Date.now() + 11000;
  while (Date.now() < end) {   // a ball comes every 100 updates; each press swings once
    await page.keyboard.press(' ', { delay: 80 });
    await page.waitForTimeout(250);
  }
  assert.ok(await poll(async () => same(await corner(page), titleCorner), 40000), 'back on the title menu');
  await fs(page).kept();
  const text = await fs(page).read();
  const { last } = tables(text, kTenSeconds);
  assert.equal(last[1], kSeeded, `the new score ${last[0]} is filed ahead of the old one`);
  const filedPanel = await settled(page, 660, 40, 140, 440);
  assert.ok(!same(filedPanel, seededPanel), 'the panel shows the new table');

  await page.reload();
  await clickToPlay(page);
  await titleMenu(page);
  assert.equal(await fs(page).read(), text, 'the reloaded program reads the kept state');
  await chooseRight(page, 2);
  assert.ok(same(await settled(page, 660, 40, 140, 440), filedPanel), 'the panel after the reload');
  assert.deepEqual(errors, []);
});

test('quit shows the thanks page and a click plays again', async () => {
  const { page, errors } = await openPage(browser, server.url, { width: W, height: H });
  await clickToPlay(page);
  await titleMenu(page);
  assert.ok(await hold(page, 'Escape', async () => await pageState(page) === 'ended'), 'Escape quits');
  assert.equal(await page.evaluate(() => window.zkPage.status), 0);
  assert.match(await page.textContent('#panel'), /Thanks for playing/);
  await page.mouse.click(10, 10);
  assert.ok(await poll(async () => await pageState(page) === 'playing'), 'a fresh program starts');
  await titleMenu(page);
  assert.deepEqual(errors, []);
});

// The canvas's drawing buffer follows the window, and the game scales to it at once; F11 asks the
// browser for fullscreen and back.
test('canvas follows the window and fullscreen', async () => {
  const { page, errors } = await openPage(browser, server.url, { width: W, height: H });
  await clickToPlay(page);
  await titleMenu(page);
  await page.setViewportSize({ width: 1000, height: 500 });
  assert.ok(await poll(() => page.evaluate(() => canvas.width === 1000 && canvas.height === 500)));
  const edge = await poll(async () => {   // the panel reaches the new right edge
    const strip = await pixels(page, 990, 100, 10, 300);
    return same(strip, await pixels(page, 990, 100, 10, 300)) && !strip.every((c) => c === strip[0]) && strip;
  });
  assert.ok(edge, 'the game draws to the new right edge');
  for (const want of [true, false]) {
    await page.keyboard.press('F11');
    assert.ok(await poll(() => page.evaluate((w) => (document.fullscreenElement === canvas) === w, want)),
              want ? 'fullscreen' : 'back in the page');
  }
  assert.deepEqual(errors, []);
});

// A pad the browser maps to its standard layout: the d-pad turns the carousel right and back left, back
// (button 8) quits from the title menu, and in the next play A (button 0) starts the chosen game. The
// page sees a pad the test holds (headless chromium has no pads of its own).
test('standard gamepad plays', async () => {
  const context = await browser.newContext({ viewport: { width: W, height: H } });
  await context.addInitScript(() => {
    const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
    window.testPad = { id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
                       axes: [0, 0, 0, 0], buttons };
    navigator.getGamepads = () => [window.testPad, null, null, null];
  });
  const { page, errors } = await openPage(browser, server.url, { context });
  // Holds a button until `done`, then lets the game see it released: a press in the update that sees
  // the last one released would find the game's press latch still set.
  const press = async (button, done) => {
    await page.evaluate((b) => { testPad.buttons[b].pressed = true; }, button);
    const seen = await poll(done);
    await page.evaluate((b) => { testPad.buttons[b].pressed = false; }, button);
    await frames(page, 3);
    return seen;
  };
  await clickToPlay(page);
  await titleMenu(page);
  const items = await settled(page, 280, 440, 360, 120);
  assert.ok(await press(15, async () => !same(await carousel(page), items)), 'd-pad right turns the carousel');
  await settled(page, 280, 440, 360, 120);
  assert.ok(await press(14, async () => same(await carousel(page), items)), 'd-pad left turns it back');
  assert.ok(await press(8, async () => await pageState(page) === 'ended'), 'back quits');
  await page.mouse.click(10, 10);
  await titleMenu(page);
  const titleCorner = await corner(page);
  assert.ok(await press(0, async () => !same(await corner(page), titleCorner)), 'A starts the game');
  assert.deepEqual(errors, []);
});

// A page put behind another tab gets no frames: it is suspended at once, which saves. (Headless chromium
// keeps its one tab shown, so the page is told it is hidden as the browser would tell it.)
test('hidden page saves', async () => {
  const { page, errors } = await openPage(browser, server.url, { width: W, height: H });
  await clickToPlay(page);
  await titleMenu(page);
  assert.equal(await fs(page).read(), '', 'nothing saved yet');
  const saved = await page.evaluate(() => {   // in one task: no frame runs before the file is read
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
    document.dispatchEvent(new Event('visibilitychange'));
    return window.zkPage.module.FS.analyzePath('/save/.zanthstate').exists;
  });
  assert.ok(saved, 'saved at once');
  await fs(page).kept();
  assert.deepEqual(errors, []);
});
