// What every case of the browser suite shares: the server, a watched page,
// and the page's own report of the moment on the screen and of each seek and
// pause as it happened (window.vokdemo, keys.js).
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { dirname, join } from 'node:path';

export const desktop = { width: 1000, height: 760 };  // the picture fits 3 times: 960x720 at (20, 20)

export function check(condition, message) {
  if (!condition) throw new Error(message);
}

// Thrown by a case that cannot run here (a tool it needs is missing).
export class Skip extends Error {}

// Serves `pageDir` on 127.0.0.1 (a port of its own) with scripts/serve-web.
export async function serve(sourceDir, pageDir) {
  const server = spawn(`${sourceDir}/scripts/serve-web`, ['0', pageDir], { stdio: ['ignore', 'pipe', 'inherit'] });
  const [line] = await once(server.stdout, 'data');
  return { server, url: line.toString().trim() };
}

// A page whose console is watched. `missing` names files the server is made
// to answer 404 for; the browser's own note about those is expected.
// `answers` maps file names to the bytes answered in their place. `before`
// runs in the page before its scripts.
export async function open(browser, url, { missing = [], answers = {}, before, viewport = desktop } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const log = { errors: [], warnings: [] };
  page.on('console', (m) => {
    const text = m.text();
    if (m.type() === 'error' && !(missing.length && text.startsWith('Failed to load resource'))) log.errors.push(text);
    if (m.type() === 'warn') log.warnings.push(text);
  });
  page.on('pageerror', (e) => log.errors.push(e.message));
  if (missing.length || Object.keys(answers).length) {
    // Past the page's offline copy, which an earlier page of the case may have made.
    await page.setBypassServiceWorker(true);
    await page.setRequestInterception(true);
    page.on('request', (r) => {
      const name = r.url().split('?')[0].split('/').at(-1);
      if (missing.includes(name)) r.respond({ status: 404, body: '' });
      else if (name in answers) r.respond({ status: 200, body: answers[name] });
      else r.continue();
    });
  }
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(url);
  return { page, log };
}

export const state = (page, wanted, timeout = 30000) =>
  page.waitForFunction((s) => document.body.dataset.state === s, { timeout, polling: 50 }, wanted);

// The page's report of the moment on the screen and of the last seek
// (keys.js), with the address.
export const moment = (page) => page.evaluate(() => ({ ...window.vokdemo, hash: location.hash }));

// The first millisecond of every scene, then the end, from the scene table
// (the native build's probe; the native program is the case's fourth argument).
export const sceneStarts = execFileSync(join(dirname(process.argv[5]), 'tests/vok_player_probe'), ['scenes'],
  { encoding: 'utf8' }).trim().split('\n').map(Number);
export const sceneAt = (ms) => sceneStarts.findLastIndex((start) => start <= ms);

// Where a key of the show lands from `fromMs`, as the player's table of keys says.
export function landingOf(key, fromMs) {
  const scene = sceneAt(fromMs), last = sceneStarts.length - 1;
  switch (key) {
    case 'ArrowRight': return Math.min(fromMs + 5000, sceneStarts[last]);
    case 'ArrowLeft': return Math.max(fromMs - 5000, 0);
    case 'PageDown': case '.': return sceneStarts[Math.min(scene + 1, last)];
    case 'PageUp': case ',': return sceneStarts[Math.max(scene - 1, 0)];
    default: return 0;  // Home
  }
}

// Runs `action` (a key, a tap) and returns the page's report of the pause or
// resume it made, or of the seek it made.
export async function afterPause(page, action, what = 'Space') {
  const count = (await moment(page)).pauses.count;
  await action();
  await page.waitForFunction((n) => window.vokdemo.pauses.count > n, { timeout: 10000 }, count)
    .catch(() => { throw new Error(`${what} neither pauses nor resumes`); });
  return moment(page);
}

export async function afterSeek(page, action, what) {
  const seeks = (await moment(page)).seeks;
  await action();
  await page.waitForFunction((n) => window.vokdemo.seeks > n, { timeout: 10000 }, seeks)
    .catch(() => { throw new Error(`${what} does not seek`); });
  return moment(page);
}

export const pressPause = (page) => afterPause(page, () => page.keyboard.press(' '));
export const pressSeek = (page, key) => afterSeek(page, () => page.keyboard.press(key), key);

// How closely the picture follows the music, measured in the page after
// every frame from window.vokdemo: the show's time against the music heard,
// both at one reading of the audio clock. The picture never runs back, so
// when the browser's own audio clock steps back (its output stalled on a busy
// machine) the picture holds ahead of the music until the music catches up:
// such frames are counted, for the check to bound, and the others measured.
// Installed as window.newLockMeter(); its sample(report) runs once a frame.
function newLockMeter() {
  const result = { frames: 0, worst: 0, at: 0, held: 0, heldMost: 0 };
  return {
    result,
    sample(m) {
      if (!m.rendered || m.paused || m.musicNowMs < 0) return;
      ++result.frames;
      const offset = m.nowMs - m.musicNowMs;
      if (offset > 10) [result.held, result.heldMost] = [result.held + 1, Math.max(result.heldMost, offset)];
      else if (Math.abs(offset) > Math.abs(result.worst)) [result.worst, result.at] = [offset, m.nowMs];
    },
  };
}

export const installLockMeter = (page) => page.evaluate(`window.newLockMeter = ${newLockMeter}`);

// Locked: more than `fewest` frames with music, never behind it by more than
// 10 ms, and ahead of it by more only on 1 frame in 100; `what` names the
// stretch measured.
export function checkLock(lock, what, fewest) {
  console.log(`${what}: ${lock.frames} frames, largest offset ${lock.worst.toFixed(2)} ms (at ${lock.at} ms); `
    + `held ahead on ${lock.held} frames, at most ${lock.heldMost.toFixed(2)} ms`);
  check(lock.frames > fewest, `${what}: only ${lock.frames} frames with music`);
  check(Math.abs(lock.worst) <= 10, `${what}: the picture was ${lock.worst.toFixed(2)} ms from the music at ${lock.at} ms`);
  check(lock.held <= lock.frames / 100,
    `${what}: the picture was ahead of the music by more than 10 ms on ${lock.held} of ${lock.frames} frames`);
}
