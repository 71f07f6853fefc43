// One case of the browser suite: serves the page (scripts/serve-web), opens it
// in the system's headless Chromium through puppeteer-core and checks what a
// viewer would see: the frames against the native renderer, the picture, the
// screens, the console.
//
//   node web_test.mjs CASE SOURCE_DIR PAGE_DIR NATIVE_PROGRAM DATA_DIR
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

const [caseName, sourceDir, pageDir, nativeProgram, dataDir] = process.argv.slice(2);
const viewport = { width: 1000, height: 760 };  // the picture fits 3 times: 960x720 at (20, 20)
const scale = 3;

function check(condition, message) {
  if (!condition) throw new Error(message);
}

async function serve() {
  const server = spawn(`${sourceDir}/scripts/serve-web`, ['0', pageDir], { stdio: ['ignore', 'pipe', 'inherit'] });
  const [line] = await once(server.stdout, 'data');
  return { server, url: line.toString().trim() };
}

// A page whose console is watched. `missing` names files the server is made
// to answer 404 for; the browser's own note about those is expected.
async function open(browser, url, { missing = [], before } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const log = { errors: [], warnings: [] };
  page.on('console', (m) => {
    const text = m.text();
    if (m.type() === 'error' && !(missing.length && text.startsWith('Failed to load resource'))) log.errors.push(text);
    if (m.type() === 'warn') log.warnings.push(text);
  });
  page.on('pageerror', (e) => log.errors.push(e.message));
  if (missing.length) {
    await page.setRequestInterception(true);
    page.on('request', (r) => {
      if (missing.some((name) => r.url().split('?')[0].endsWith(`/${name}`))) r.respond({ status: 404, body: '' });
      else r.continue();
    });
  }
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(url);
  return { page, log };
}

const state = (page, wanted, timeout = 30000) =>
  page.waitForFunction((s) => document.body.dataset.state === s, { timeout, polling: 50 }, wanted);

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

function nativeLines(fps, data = dataDir) {
  const text = execFileSync(nativeProgram, ['--render', '--fps', String(fps), '--hash', '--data', data],
    { maxBuffer: 1 << 28, encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  return text.split('\n').filter((l) => l.startsWith('frame ')).join('\n');
}

const cases = {
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

  // The page as a viewer meets it: the title picture at 2 s, scaled and
  // pixelated, with sound; Escape, the end screen, and playing again.
  async page(browser, url) {
    const { page, log } = await open(browser, `${url}index.html?autostart`);
    await state(page, 'playing');
    await new Promise((r) => setTimeout(r, 2000));
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

  // What goes wrong outside the page's control, each with its visible result.
  async 'bad-input'(browser, url) {
    // The music cannot be fetched: the picture plays in silence.
    let { page, log } = await open(browser, `${url}index.html?autostart`, { missing: ['zumber.opus'] });
    await state(page, 'playing');
    await new Promise((r) => setTimeout(r, 1500));
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
  check(cases[caseName], `no case "${caseName}"`);
  const { server, url } = await serve();
  const browser = await puppeteer.launch({
    executablePath: process.env.VOK_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--autoplay-policy=no-user-gesture-required',
      `--window-size=${viewport.width},${viewport.height}`],
  });
  try {
    await cases[caseName](browser, url);
    console.log(`${caseName}: ok`);
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((error) => {
  console.error(`FAIL (${caseName}): ${error.message}`);
  process.exit(1);
});
