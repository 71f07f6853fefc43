// One case of the browser suite: serves the page (scripts/serve-web), opens it
// in the system's headless Chromium through puppeteer-core and checks what a
// viewer would see: the frames against the native renderer, the picture, the
// screens, the console.
//
//   node web_test.mjs CASE SOURCE_DIR PAGE_DIR NATIVE_PROGRAM DATA_DIR
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import puppeteer from 'puppeteer-core';
import {
  Skip, check, checkLock, desktop, installLockMeter, landingOf, moment, open, pressPause, pressSeek, sceneAt,
  sceneStarts, serve, state,
} from './harness.mjs';
import { phoneCases } from './phone_cases.mjs';

const [caseName, sourceDir, pageDir, nativeProgram, dataDir] = process.argv.slice(2);
const scale = 3;  // the picture in the desktop viewport

// The screenshot, decoded in the page itself: how many picture pixels are
// lit, and whether every scale x scale block of the picture is one colour
// (pixelated, not smoothed) with black all around it.
async function inspectScreenshot(page) {
  const png = await page.screenshot({ encoding: 'base64' });
  return page.evaluate(async (png, scale) => {
    const img = new Image();
    img.src = `data:image/png;base64,${png}`;
    await img.decode();
    const c = new OffscreenCanvas(img.width, img.height).getContext('2d');
    c.drawImage(img, 0, 0);
    const { data, width, height } = c.getImageData(0, 0, img.width, img.height);
    const left = (width - 320 * scale) / 2, top = (height - 240 * scale) / 2;
    const at = (x, y) => data.slice(4 * (y * width + x), 4 * (y * width + x) + 3).join();
    let lit = 0, smooth = 0, border = 0;
    for (let y = 0; y < height; ++y) {
      for (let x = 0; x < width; ++x) {
        const inside = x >= left && x < left + 320 * scale && y >= top && y < top + 240 * scale;
        const colour = at(x, y);
        if (!inside) { if (colour !== '0,0,0') ++border; continue; }
        if (colour !== '0,0,0') ++lit;
        const bx = left + Math.floor((x - left) / scale) * scale, by = top + Math.floor((y - top) / scale) * scale;
        if (colour !== at(bx, by)) ++smooth;
      }
    }
    return { width, height, lit: lit / (scale * scale), smooth, border };
  }, png, scale);
}

// A copy of the data set with one pixel of `name`, in the middle of the
// picture, painted magenta through the kit, as someone making their own
// data set would.
function changedPicture(name) {
  const folder = mkdtempSync(join(tmpdir(), 'vok-web-'));
  cpSync(dataDir, folder, { recursive: true });
  const png = join(folder, 'changed.png');
  try {
    execFileSync('convert', [join(dataDir, name), '-fill', '#ff00ff', '-draw', 'point 160,120', png]);
  } catch (error) {
    rmSync(folder, { recursive: true });
    throw new Skip(`ImageMagick's convert could not make the picture: ${error.message}`);
  }
  execFileSync(join(dirname(nativeProgram), 'tools/kit/vokkit'), ['picture', png, join(folder, name)], { stdio: 'ignore' });
  return folder;
}

function nativeLines(fps, data = dataDir) {
  const text = execFileSync(nativeProgram, ['--render', '--fps', String(fps), '--hash', '--data', data],
    { maxBuffer: 1 << 28, encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  return text.split('\n').filter((l) => l.startsWith('frame ')).join('\n');
}

// The page's clock (music.js) on a made-up device of 10 ms callbacks, one in
// ten of them 30 ms late, as a busy machine's audio thread is, read every
// millisecond for 2 s: the music it reads never goes back (which would hold
// the picture) and never falls behind the device's last time stamp.
async function stalledDevice() {
  const { ShowClock } = await import('./music.js');
  const pageNow = performance.now;
  let now = 1000, due = 1010, callbacks = 0;
  const stamp = { contextTime: 1, performanceTime: now };
  const context = { baseLatency: 0.01, getOutputTimestamp: () => ({ ...stamp }) };
  performance.now = () => now;
  try {
    const clock = new ShowClock();
    clock.followAudio(context, 1, 0);
    let back = 0, behind = 0, last = 0;
    for (; now < 3000; ++now) {
      if (now >= due) {
        [stamp.contextTime, stamp.performanceTime] = [stamp.contextTime + 0.01, now];
        due = now + (++callbacks % 10 === 0 ? 40 : 10);
      }
      clock.now();
      if (clock.heard < last) ++back;
      if (clock.heard < stamp.contextTime) ++behind;
      last = clock.heard;
    }
    return { back, behind };
  } finally {
    performance.now = pageNow;
  }
}

const desktopCases = {
  // The verification mode against the native renderer, every frame.
  async frames(browser, url) {
    for (const fps of [60, 24]) {
      const { page, log } = await open(browser, `${url}index.html?render=${fps}&data=data/`);
      await state(page, 'done', 150000);
      const web = (await page.$eval('#frames', (e) => e.textContent)).trimEnd();
      const native = nativeLines(fps);
      const w = web.split('\n'), n = native.split('\n');
      const first = n.findIndex((line, i) => line !== w[i]);
      check(first < 0 && w.length === n.length,
        `${fps} fps: ${w.length} lines against ${n.length}; first difference at line ${first}:\n  web    ${w[first]}\n  native ${n[first]}`);
      check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
      console.log(`${fps} fps: ${n.length} frames equal`);
      await page.close();
    }
  },

  // The page as a viewer meets it: the title picture from 2 s, scaled and
  // pixelated, with sound; Escape, the end screen, and playing again.
  async page(browser, url) {
    // The start screen warns of the flashes where the show fails, by scene
    // and time, and offers the gentle show, which has no warning.
    for (const [query, warned] of [['', true], ['?gentle', false]]) {
      const { page: start } = await open(browser, `${url}index.html${query}`);
      await start.waitForFunction(() => document.body.dataset.flashWarning, { timeout: 30000 });
      const sentence = await start.$eval('#flash-warning', (e) => (e.hidden ? '' : e.textContent));
      check(warned === /seizures.*scene \d+, .* \(\d+:\d\d to \d+:\d\d\).*gently/.test(sentence),
        `start screen${query}: the warning reads "${sentence}"`);
      await start.close();
    }
    const { page, log } = await open(browser, `${url}index.html?autostart`);
    await page.waitForFunction(() => window.vokdemo?.shownMs >= 2000, { timeout: 30000 });
    const shot = await inspectScreenshot(page);
    check(shot.lit > 20000, `the picture at 2 s is nearly black (${shot.lit} lit pixels)`);
    check(shot.smooth === 0, `${shot.smooth} screen pixels differ from their block: not pixelated at ${scale}x`);
    check(shot.border === 0, `${shot.border} pixels around the picture are not black`);
    // The music joins once decoded, which a busy machine takes seconds for.
    await page.waitForFunction(() => document.body.dataset.sound === 'on', { timeout: 30000 })
      .catch(() => { throw new Error('the music does not play'); });
    await page.setViewport({ width: 700, height: 500 });  // fits twice
    await page.waitForFunction(() => document.getElementById('screen').getBoundingClientRect().width === 640,
      { timeout: 5000 }).catch(() => { throw new Error('the picture is not rescaled with the window'); });
    await page.keyboard.press('f');
    await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 5000 })
      .catch(() => { throw new Error('F does not go full screen'); });
    await page.keyboard.press('f');
    await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 5000 })
      .catch(() => { throw new Error('F does not leave full screen'); });
    await page.keyboard.press('Escape');
    await state(page, 'ended', 5000);
    check(await page.$eval('#end', (e) => !e.hidden), 'no end screen after Escape');
    check(await page.evaluate(() => document.body.dataset.sound) === 'off', 'the music goes on after Escape');
    await page.click('#again');
    await state(page, 'playing', 5000);
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
  },

  // The viewer's keys and links, from the page's own report of each seek as
  // it happened (window.vokdemo.landing: the time it was asked at, the time
  // and scene it landed on), never from the time read after it: links open
  // at their scene (or, with a sentence, at the beginning); each key lands
  // where it should from where it was pressed, with the music within one
  // audio buffer of the picture and the address naming the moment; the next
  // scene from every scene and a 2 s pause that holds the picture, paused
  // first; a burst of 1,000 keys.
  async keys(browser, url) {
    const links = [
      ['#t=60', 60000, false], ['#scene=12', sceneStarts[12], false], ['#t=abc', null, true],
      ['#t=200', null, true], ['#scene=14', null, true], ['#t=-5', null, true],
    ];
    for (const [hash, landsAt, sentence] of links) {
      const { page, log } = await open(browser, `${url}index.html?autostart${hash}`);
      await state(page, 'playing');
      await page.waitForFunction(() => window.vokdemo, { timeout: 10000 });
      const m = await moment(page);
      if (landsAt === null) check(m.seeks === 0, `${hash} seeks to ${m.landing.toMs} ms instead of playing from the beginning`);
      else check(m.seeks === 1 && m.landing.toMs === landsAt, `${hash} opens at ${m.landing.toMs} ms, not ${landsAt}`);
      check(await page.$eval('#notice', (e) => !e.hidden) === sentence, `${hash}: the sentence is ${sentence ? 'missing' : 'shown'}`);
      check(log.errors.length === 0, `${hash}: console errors: ${log.errors.join(' | ')}`);
      await page.close();
    }

    const { page, log } = await open(browser, `${url}index.html?autostart#t=30`);
    await page.waitForFunction(() => document.body.dataset.sound === 'on', { timeout: 30000 })
      .catch(() => { throw new Error('the music does not play'); });
    const buffer = 25;  // ms: one audio buffer and then some
    for (const key of ['Home', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowLeft', 'PageDown', 'PageUp', '.', ',', 'Home']) {
      const { landing, hash } = await pressSeek(page, key);
      const wanted = landingOf(key, landing.fromMs);
      check(landing.toMs === wanted && landing.scene === sceneAt(wanted),
        `${key} from ${landing.fromMs} ms: scene ${landing.scene} at ${landing.toMs} ms, not scene ${sceneAt(wanted)} at ${wanted} ms`);
      check(Math.round(Number(hash.replace('#t=', '')) * 1000) === wanted, `${key}: the address says ${hash} after landing at ${wanted} ms`);
      // The show's time and the music's at one reading of the audio clock, once the music plays again.
      const n = await page.waitForFunction(() => window.vokdemo.rendered && window.vokdemo.musicNowMs >= 0 && window.vokdemo,
        { timeout: 5000, polling: 'raf' }).then((h) => h.jsonValue());
      check(Math.abs(n.nowMs - n.musicNowMs) <= buffer, `${key}: the music at ${n.musicNowMs} ms, the picture at ${n.nowMs} ms`);
    }

    // Paused first, so that the show cannot move on between the keys.
    check((await pressPause(page)).pauses.paused, 'Space does not pause');
    await pressSeek(page, 'Home');
    const last = sceneStarts.length - 2;
    for (let scene = 1; scene <= last; ++scene) {
      const { landing } = await pressSeek(page, 'PageDown');
      check(landing.scene === scene && landing.toMs === sceneStarts[scene],
        `the next scene lands in scene ${landing.scene} at ${landing.toMs} ms, not at ${sceneStarts[scene]} ms in scene ${scene}`);
    }
    // I: the overlay names the scene (once its frame is drawn); S: the
    // frame downloads, named with the time and the scene.
    await page.waitForFunction((scene) => window.vokdemo.scene === scene, { timeout: 10000 }, last);
    await page.keyboard.press('i');
    const overlay = await page.$eval('#overlay', (e) => (e.hidden ? '' : e.textContent));
    check(overlay.includes(`scene ${last} `), `the overlay says "${overlay}"`);
    await page.keyboard.press('i');
    const downloads = mkdtempSync(join(tmpdir(), 'vok-web-'));
    const session = await page.target().createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.keyboard.press('s');
    let shots = [];
    for (let i = 0; i < 100 && !shots.length; ++i) {
      await new Promise((r) => setTimeout(r, 100));
      const seconds = String(Math.floor(sceneStarts[last] / 1000)).padStart(3, '0');
      shots = readdirSync(downloads).filter((name) => new RegExp(`^vokdemo-${seconds}\\.\\d{3}s-scene${last}\\.png$`).test(name));
    }
    rmSync(downloads, { recursive: true });
    check(shots.length === 1, `S downloaded ${shots.length} pictures of scene ${last}`);

    // Still paused: Home lands at the beginning and holds there for 2 s.
    const home = await pressSeek(page, 'Home');
    check(home.paused && home.landing.toMs === 0, `Home while paused: ${JSON.stringify(home)}`);
    await page.waitForFunction(() => window.vokdemo.scene === 0, { timeout: 10000 });
    const held = await moment(page);
    const shot = await page.screenshot({ encoding: 'base64' });
    await new Promise((r) => setTimeout(r, 2000));
    const still = await moment(page);
    check(held.paused && still.shownMs === held.shownMs && still.heardMs === -1,
      `paused at ${held.shownMs} ms, ${still.shownMs} ms 2 s later, music at ${still.heardMs} ms`);
    check(await page.screenshot({ encoding: 'base64' }) === shot, 'the picture moved while paused');
    const { pauses } = await pressPause(page);
    check(!pauses.paused && pauses.atMs === home.landing.toMs,
      `resumed at ${pauses.atMs} ms after a pause at ${home.landing.toMs} ms`);
    await page.waitForFunction((ms) => window.vokdemo.shownMs > ms, { timeout: 10000 }, held.shownMs)
      .catch(() => { throw new Error('the show does not go on after the pause'); });

    // The burst goes to the page's own key listener at once, held keys among them.
    await page.evaluate(() => {
      const burst = [' ', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown', 'Home', ',', '.', 'i'];
      for (let i = 0; i < 1000; ++i) {
        const key = burst[(i * 7 + (i >> 3)) % burst.length];
        dispatchEvent(new KeyboardEvent('keydown', { key, repeat: i % 5 === 0 }));
      }
    });
    if ((await moment(page)).paused) await pressPause(page);
    const after = await pressSeek(page, 'Home');
    check(!after.paused && after.landing.scene === 0 && after.landing.toMs === 0,
      `after the burst: scene ${after.landing.scene}, ${after.paused ? 'paused' : 'playing'}`);
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
  },

  // ?verify, with the core's own SHA-256 and table check: the page's data
  // set against its frames.sha256 (the build's, checked against the
  // committed table): identical, and the table is the native renderer's
  // lines; with one pixel of the logo changed (through vokkit picture), the
  // first frame that draws it, named with its time and scene; a table that
  // is missing, empty, has a bad line or too few lines: one sentence each.
  async verify(browser, url, { pageDir }) {
    const lines = nativeLines(60).split('\n');
    const shipped = readFileSync(join(pageDir, 'data/frames.sha256'), 'utf8').trimEnd().split('\n');
    check(shipped.join('\n') === lines.join('\n'), 'the page\'s frames.sha256 is not the native renderer\'s lines');
    const verdict = async (answers = {}, missing = []) => {
      const { page, log } = await open(browser, `${url}index.html?verify`, { answers, missing });
      await page.waitForFunction(() => ['done', 'failed'].includes(document.body.dataset.state), { timeout: 150000 });
      const result = await page.evaluate(() => ({
        state: document.body.dataset.state,
        verdict: document.body.dataset.verdict,
        text: document.getElementById(document.body.dataset.state === 'done' ? 'frames' : 'message-text').textContent.trim(),
      }));
      await page.close();
      return { ...result, errors: log.errors };
    };
    let got = await verdict();
    check(got.state === 'done' && got.verdict === 'identical' && got.text === `verified: ${lines.length} frames identical`,
      `the page's own table: ${got.state}, "${got.text}"`);
    check(got.errors.length === 0, `console errors: ${got.errors.join(' | ')}`);

    const changed = changedPicture('vok_logo.pcx');
    try {
      const other = nativeLines(60, changed).split('\n');
      const first = other.findIndex((line, k) => line !== lines[k]);
      const [, frame, ms, scene] = other[first].split(' ');
      got = await verdict({ 'vok_logo.pcx': readFileSync(join(changed, 'vok_logo.pcx')) });
      const expected = `differs: frame ${frame} at ${(ms / 1000).toFixed(3)} s, scene ${scene} (`;
      check(got.state === 'done' && got.verdict === 'differs' && got.text.startsWith(expected),
        `one pixel changed: "${got.text}", not "${expected}..."`);
    } finally {
      rmSync(changed, { recursive: true });
    }

    const bad = [
      [{}, ['frames.sha256'], 'data/frames.sha256: cannot be fetched'],
      [{ 'frames.sha256': '' }, [], 'it has 0 lines'],
      [{ 'frames.sha256': lines.map((l, k) => (k === 5 ? 'frame 5 x' : l)).join('\n') }, [], 'line 6 is not'],
      [{ 'frames.sha256': lines.slice(0, 100).join('\n') }, [], `it has 100 lines; the show has ${lines.length} frames`],
    ];
    for (const [answers, missing, sentence] of bad) {
      got = await verdict(answers, missing);
      check(got.state === 'failed' && got.text.startsWith('cannot verify: ') && got.text.includes(sentence),
        `a bad table: "${got.text}" does not say "${sentence}"`);
    }
  },

  // Picture and sound together: over 30 s of playing, with a seek and a
  // pause in it, the show's time and the music the listener hears stay
  // locked (harness.mjs, checkLock).
  async lock(browser, url) {
    const { page, log } = await open(browser, `${url}index.html?autostart`);
    await page.waitForFunction(() => document.body.dataset.sound === 'on', { timeout: 30000 })
      .catch(() => { throw new Error('the music does not play'); });
    await installLockMeter(page);
    const lock = await page.evaluate(() => new Promise((done) => {
      const key = (k) => dispatchEvent(new KeyboardEvent('keydown', { key: k }));
      const started = performance.now(), meter = window.newLockMeter();
      const step = () => {
        meter.sample(window.vokdemo);
        if (performance.now() - started < 30000) requestAnimationFrame(step);
        else done(meter.result);
      };
      setTimeout(() => key('ArrowRight'), 8000);
      setTimeout(() => key(' '), 16000);
      setTimeout(() => key(' '), 18000);
      requestAnimationFrame(step);
    }));
    checkLock(lock, 'clock lock', 300);
    const stalled = await page.evaluate(stalledDevice);
    check(stalled.back === 0 && stalled.behind === 0, `a device whose callbacks stall: the clock's reading of the `
      + `music went back ${stalled.back} times, fell behind its last stamp ${stalled.behind} times`);
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
  },

  // ?loop: from 95 s the show plays through its end and begins again at 0,
  // the music with it; after a seek to 96 s it does so once more. After each
  // new beginning, for 2 s, the show's time and the music's at one reading
  // of the audio clock stay locked (checkLock); the end screen never shows.
  async loop(browser, url) {
    const { page, log } = await open(browser, `${url}index.html?autostart&loop#t=95`);
    await page.waitForFunction(() => document.body.dataset.sound === 'on', { timeout: 30000 })
      .catch(() => { throw new Error('the music does not play'); });
    await installLockMeter(page);
    for (const round of [1, 2]) {
      if (round === 2) await page.evaluate(() => { location.hash = '#t=96'; });
      const result = await page.evaluate((round) => new Promise((done) => {
        const started = performance.now(), meter = window.newLockMeter();
        let since = null;
        const step = () => {
          const m = window.vokdemo;
          if (document.body.dataset.state !== 'playing' || performance.now() - started > 30000) {
            return done({ state: document.body.dataset.state, ...m.loop });
          }
          if (m.loop.count >= round) {
            since ??= performance.now();
            meter.sample(m);
            if (performance.now() - since > 2000) return done({ state: 'playing', ...m.loop, lock: meter.result });
          }
          requestAnimationFrame(step);
        };
        requestAnimationFrame(step);
      }), round);
      console.log(`round ${round}: ${JSON.stringify(result)}`);
      check(result.state === 'playing' && result.count === round,
        `round ${round}: the show is ${result.state} and began again ${result.count} times`);
      check(result.firstMs < 50, `round ${round}: the first frame after the end is at ${result.firstMs} ms`);
      checkLock(result.lock, `round ${round}`, 30);
    }
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);
  },

  // What goes wrong outside the page's control, each with its visible result.
  async 'bad-input'(browser, url) {
    // The music cannot be fetched: the picture plays in silence.
    let { page, log } = await open(browser, `${url}index.html?autostart`, { missing: ['zumber.opus'] });
    await page.waitForFunction(() => window.vokdemo?.shownMs >= 1500, { timeout: 30000 });
    check((await inspectScreenshot(page)).lit > 10000, 'no picture without the music');
    check(await page.evaluate(() => document.body.dataset.sound) === 'off', 'sound claimed without music');
    check(log.warnings.some((w) => w.includes('zumber.opus')), 'no warning about the music');
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);

    // A picture cannot be fetched: the frames are those of the native
    // renderer without that file, and the console has its warning.
    ({ page, log } = await open(browser, `${url}index.html?render=2`, { missing: ['vok_logo.pcx'] }));
    await state(page, 'done', 60000);
    check(log.warnings.some((w) => w.includes('missing picture: vok_logo.pcx')), 'no warning for the picture');
    const partial = mkdtempSync(join(tmpdir(), 'vok-web-'));
    cpSync(dataDir, partial, { recursive: true });
    rmSync(join(partial, 'vok_logo.pcx'));
    const native = nativeLines(2, partial);
    rmSync(partial, { recursive: true });
    check((await page.$eval('#frames', (e) => e.textContent)).trimEnd() === native,
      'the frames without the picture differ from the native ones');

    // A mesh cannot be fetched: the loader's message on the page.
    ({ page, log } = await open(browser, `${url}index.html?autostart`, { missing: ['k.ase'] }));
    await state(page, 'failed');
    const message = await page.$eval('#message-text', (e) => e.textContent);
    check(message.startsWith('ia pas le file k.ase'), `the page says "${message}"`);
    check(log.errors.length === 0, `console errors: ${log.errors.join(' | ')}`);

    // A verification request that makes no sense is refused in words.
    ({ page } = await open(browser, `${url}index.html?render=0`));
    await state(page, 'failed');
    check((await page.$eval('#message-text', (e) => e.textContent)).includes('from 1 to 1000'), 'render=0 accepted');

    // Browsers without WebAssembly, or without Web Audio.
    ({ page } = await open(browser, `${url}index.html`, { before: () => { delete window.WebAssembly; } }));
    await state(page, 'failed');
    check((await page.$eval('#message-text', (e) => e.textContent)).includes('WebAssembly'), 'no WebAssembly sentence');
    ({ page } = await open(browser, `${url}index.html`, { before: () => { delete window.AudioContext; } }));
    await state(page, 'start');
    check((await page.$eval('#start-note', (e) => e.textContent)).includes('Web Audio'), 'no Web Audio sentence');
  },
};

async function main() {
  const cases = { ...desktopCases, ...phoneCases };
  check(cases[caseName], `no case "${caseName}"`);
  const context = { sourceDir, pageDir };
  const { server, url } = await serve(sourceDir, pageDir);
  const browser = await puppeteer.launch({
    executablePath: process.env.VOK_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--autoplay-policy=no-user-gesture-required',
      `--window-size=${desktop.width},${desktop.height}`],
  });
  try {
    await cases[caseName](browser, url, context);
    console.log(`${caseName}: ok`);
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((error) => {
  if (error instanceof Skip) {
    console.log(`skipped: ${error.message}`);
    process.exit(77);
  }
  console.error(`FAIL (${caseName}): ${error.message}`);
  process.exit(1);
});
