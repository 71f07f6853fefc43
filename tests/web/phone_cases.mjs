// The page on a phone (Chromium's touch emulation) and offline.
import { execFileSync } from 'node:child_process';
import { once } from 'node:events';
import { cpSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { afterPause, afterSeek, check, landingOf, moment, open, serve, state } from './harness.mjs';

const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const turned = { ...phone, width: 844, height: 390, isLandscape: true };

const box = (page, selector) => page.$eval(selector, (e) => {
  const r = e.getBoundingClientRect();
  return { x: r.x, y: r.y, width: r.width, height: r.height, bottom: r.bottom, visible: getComputedStyle(e).visibility === 'visible' };
});
const fullScreen = (page, on) => page.waitForFunction((v) => (document.fullscreenElement !== null) === v, { timeout: 5000 }, on)
  .catch(() => { throw new Error(`full screen is not ${on ? 'on' : 'off'}`); });
const soundOn = (page) => page.waitForFunction(() => document.body.dataset.sound === 'on', { timeout: 30000 })
  .catch(() => { throw new Error('the music does not play'); });

// A finger from x0 to x1 across the picture, held still at the end before
// it lifts: a finger lifted while moving starts a fling, and Chromium takes
// the next tap (on the full-screen button) for stopping it, without a click.
async function swipe(page, x0, x1, y) {
  await page.touchscreen.touchStart(x0, y);
  await page.touchscreen.touchMove((x0 + x1) / 2, y);
  await page.touchscreen.touchMove(x1, y);
  await new Promise((r) => setTimeout(r, 150));
  await page.touchscreen.touchMove(x1, y);
  await page.touchscreen.touchEnd();
}

// Two taps sent together, so that a slow machine cannot make them two single taps.
async function doubleTap(page, x, y) {
  const session = await page.target().createCDPSession();
  const touch = (type) => session.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
  await Promise.all([touch('touchStart'), touch('touchEnd'), touch('touchStart'), touch('touchEnd')]);
  await session.detach();
}

// Headless Chromium lets sound start without a gesture whatever it is told,
// so the page's own audio contexts are watched instead: the event each was
// made in (window.audioContexts), which must be the viewer's.
function watchAudio() {
  const Original = window.AudioContext;
  window.audioContexts = [];
  window.AudioContext = class extends Original {
    constructor(...options) {
      super(...options);
      window.audioContexts.push(window.event?.isTrusted ? window.event.type : 'none');
    }
  };
}

// The scale for a few screens: [width, height, ratio, filling the viewport, factor].
const factors = [
  [390, 844, 3, false, 3],        // portrait: a whole factor across
  [320, 568, 2, false, 2],        // exactly twice across
  [360, 640, 1, false, 1.125],    // twice does not fit: the width's own factor
  [300, 500, 1, false, 0.9375],   // nor once
  [844, 390, 3, false, 4],        // landscape: the largest whole factor that fits
  [390, 844, 3, true, 3.65625],   // filling the viewport
  [500, 300, 1, false, 1],        // landscape, not even once: once, as before
];

// The files of the page folder the offline copy keeps: all but the service
// worker itself, and those of its data folder.
function pageFiles(folder) {
  const top = readdirSync(folder, { withFileTypes: true }).filter((e) => e.isFile() && e.name !== 'sw.js').map((e) => e.name);
  return [...top, ...readdirSync(join(folder, 'data')).map((name) => `data/${name}`)].sort();
}

// The page's caches once its service worker is active: their names, and the
// paths the first one holds.
const cacheReport = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  const names = await caches.keys();
  const requests = names.length ? await (await caches.open(names[0])).keys() : [];
  return { names, paths: requests.map((r) => new URL(r.url).pathname.slice(1)).sort() };
});

export const phoneCases = {
  // Portrait on a 390x844 phone: sound is made ready only by the tap on the
  // start button; a tap
  // on the picture pauses and resumes, a swipe seeks 5 s, a touch shows the
  // scene bar, the button and a double tap toggle full screen; turned to
  // landscape and back while playing; full screen without the Fullscreen API.
  async touch(browser, url) {
    const { page, log } = await open(browser, `${url}index.html`, { viewport: phone, before: watchAudio });
    await state(page, 'start');
    const got = await page.evaluate(async (table) => {
      const { pictureFactor } = await import('./screen_fit.js');
      return table.map(([w, h, r, fill]) => pictureFactor(w, h, r, fill));
    }, factors);
    factors.forEach(([w, h, r, fill, factor], i) => check(got[i] === factor,
      `${w}x${h} at ${r}${fill ? ', filled' : ''}: factor ${got[i]}, not ${factor}`));
    const hints = await page.evaluate(() => ['.touch-hint', '.key-hint'].map((s) => getComputedStyle(document.querySelector(s)).display));
    check(hints[0] !== 'none' && hints[1] === 'none', `touch hints ${hints[0]}, key hints ${hints[1]} on the start screen`);
    check(await page.evaluate(() => window.audioContexts.length) === 0, 'sound was made ready before the tap');

    await page.tap('#play');
    await state(page, 'playing', 10000);
    await soundOn(page);
    const contexts = await page.evaluate(() => window.audioContexts);
    check(contexts.join() === 'click', `the sound was made ready in these events: ${contexts.join()}, not in the tap's click`);
    await page.waitForFunction(() => window.vokdemo?.shownMs > 0, { timeout: 10000 });
    const picture = await box(page, '#screen');
    const button = await box(page, '#fullscreen');
    check(picture.width === 320 && picture.height === 240 && picture.x === 35,
      `portrait: the picture is ${picture.width}x${picture.height} at x ${picture.x}, not 320x240 at 35 (x3 across)`);
    check(button.visible && button.y >= picture.bottom, `the full-screen button is not below the picture (${JSON.stringify(button)})`);

    const middle = { x: picture.x + picture.width / 2, y: picture.y + picture.height / 2 };
    const paused = await afterPause(page, () => page.touchscreen.tap(middle.x, middle.y), 'a tap');
    check(paused.pauses.paused, 'a tap does not pause');
    check(await page.evaluate(() => document.body.classList.contains('pointing')), 'a touch does not show the scene bar');
    check((await box(page, '#bar')).visible, 'the scene bar is not visible after a touch');
    const resumed = await afterPause(page, () => page.touchscreen.tap(middle.x, middle.y), 'a tap');
    check(!resumed.pauses.paused && resumed.pauses.atMs === paused.pauses.atMs,
      `a second tap resumes at ${resumed.pauses.atMs} ms, paused at ${paused.pauses.atMs} ms`);
    for (const [x0, x1, key] of [[60, 330, 'ArrowRight'], [330, 60, 'ArrowLeft']]) {
      const { landing } = await afterSeek(page, () => swipe(page, x0, x1, middle.y), `a swipe ${x0} to ${x1}`);
      check(landing.toMs === landingOf(key, landing.fromMs),
        `a swipe from ${x0} to ${x1} lands at ${landing.toMs} ms from ${landing.fromMs} ms`);
    }

    await page.tap('#fullscreen');
    await fullScreen(page, true);
    const before = (await moment(page)).pauses.count;
    await doubleTap(page, middle.x, middle.y);
    await fullScreen(page, false);
    await new Promise((r) => setTimeout(r, 500));  // a single tap would have acted by now
    check((await moment(page)).pauses.count === before, 'a double tap paused the show');

    // Turned while playing: the picture is fitted again and the show plays on.
    for (const [viewport, width] of [[turned, 1280 / 3], [phone, 320]]) {
      await page.setViewport(viewport);
      await page.waitForFunction((w) => Math.abs(document.getElementById('screen').getBoundingClientRect().width - w) < 0.05,
        { timeout: 5000 }, width).catch(() => { throw new Error(`turned to ${viewport.width}x${viewport.height}: not ${width} wide`); });
      const at = (await moment(page)).shownMs;
      await page.waitForFunction((ms) => window.vokdemo.shownMs > ms, { timeout: 10000 }, at)
        .catch(() => { throw new Error(`turned to ${viewport.width}x${viewport.height}: the show stopped`); });
      check(await page.evaluate(() => document.body.dataset.state) === 'playing', 'turning ended the show');
    }
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
    await page.close();

    // Without the Fullscreen API the button makes the picture fill the
    // viewport; a touch shows the controls again, and the button undoes it.
    const noApi = () => Object.defineProperty(Document.prototype, 'fullscreenEnabled', { get: () => false });
    const other = await open(browser, `${url}index.html?autostart`, { viewport: phone, before: noApi });
    await state(other.page, 'playing');
    await other.page.tap('#fullscreen');
    const filled = await box(other.page, '#screen');
    check(filled.width === 390 && Math.abs(filled.y - (844 - 292.5) / 2) < 0.01,
      `filling the viewport: the picture is ${filled.width} wide at y ${filled.y}, not 390 at ${(844 - 292.5) / 2}`);
    await other.page.touchscreen.tap(5, 5);
    await other.page.tap('#fullscreen');
    check((await box(other.page, '#screen')).width === 320, 'the button does not undo filling the viewport');
    check(other.log.errors.length === 0, `console errors: ${other.log.errors.join(' | ')}`);
  },

  // After one visit the page plays with the server gone, from a cache named
  // for the release; a new release's cache replaces it; a ?data= folder is
  // never kept.
  async offline(browser, url, { sourceDir, pageDir }) {
    const folder = mkdtempSync(join(tmpdir(), 'vok-offline-'));
    cpSync(pageDir, folder, { recursive: true });
    let { server, url: site } = await serve(sourceDir, folder);
    try {
      const release = readFileSync(join(sourceDir, 'CMakeLists.txt'), 'utf8').match(/project\(vokdemo VERSION ([0-9.]+)/)[1];
      const { page, log } = await open(browser, `${site}index.html?autostart`);
      await state(page, 'playing');
      const first = await cacheReport(page);
      check(first.names.length === 1 && first.names[0].includes(` ${release}-`), `caches after a visit: ${first.names}`);
      const missed = pageFiles(folder).filter((file) => !first.paths.includes(file));
      check(missed.length === 0 && first.paths.length === pageFiles(folder).length,
        `the cache holds ${first.paths.length} files; not kept: ${missed.join(' ')}`);

      // The manifest's icons are the pictures it says.
      const icons = await page.evaluate(async () => {
        const manifest = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
        return Promise.all(manifest.icons.map(async (icon) => {
          const picture = new Image();
          picture.src = icon.src;
          await picture.decode();
          return `${icon.src} ${icon.sizes} ${picture.naturalWidth}x${picture.naturalHeight}`;
        }));
      });
      check(icons.length >= 2 && icons.every((line) => line.split(' ')[1] === line.split(' ')[2]), `icons: ${icons.join(', ')}`);

      // A data folder of one's own, read from the network and never kept.
      const mine = join(folder, 'mine');
      mkdirSync(mine);
      cpSync(join(folder, 'data'), mine, { recursive: true });
      const own = await open(browser, `${site}index.html?render=1&data=mine/`);
      await state(own.page, 'done', 60000);
      await own.page.close();
      check(!(await cacheReport(page)).paths.some((path) => path.startsWith('mine/')), '?data= files were kept');

      // A new release: its cache replaces the old one.
      execFileSync(join(sourceDir, 'app/web/make_service_worker.sh'), [folder, '99.0.0']);
      await page.reload();
      await page.waitForFunction(async () => {
        const names = await caches.keys();
        return names.length === 1 && names[0].includes(' 99.0.0-');
      }, { timeout: 30000, polling: 200 }).catch(async () => {
        throw new Error(`after a new release the caches are ${(await cacheReport(page)).names}`);
      });
      check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
      await page.close();

      // The server goes: the page loads and plays from its cache, with its music.
      server.kill();
      await once(server, 'exit');
      const away = await open(browser, `${site}index.html?autostart#t=30`);
      await state(away.page, 'playing');
      await soundOn(away.page);
      const landed = (await moment(away.page)).landing;
      check(landed.toMs === 30000 && landed.scene === 4, `offline, #t=30 lands at ${landed.toMs} ms in scene ${landed.scene}`);
      const at = (await moment(away.page)).shownMs;
      await away.page.waitForFunction((ms) => window.vokdemo.shownMs > ms, { timeout: 10000 }, at)
        .catch(() => { throw new Error('offline, the show does not play'); });
      check(away.log.errors.length === 0, `offline: console errors: ${away.log.errors.join(' | ')}`);
      // The own data folder is not there offline: the loader says a mesh is missing.
      const gone = await open(browser, `${site}index.html?autostart&data=mine/`);
      await state(gone.page, 'failed');
      const message = await gone.page.$eval('#message-text', (e) => e.textContent);
      check(message.includes('ase'), `offline with ?data=: the page says "${message}"`);
    } finally {
      server.kill();
      rmSync(folder, { recursive: true, force: true });
    }
  },
};
