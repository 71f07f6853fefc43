// Figures of the browser build, measured in the system's headless Chromium:
// the time of a live frame (tick, render, conversion, upload to the canvas)
// averaged over the whole show at 60 fps, the time from opening the page to
// its start screen, and the size of the folder.
//
//   node web_bench.mjs PAGE_URL PAGE_DIR DRIVER_DIR
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';

const [url, pageDir, driverDir] = process.argv.slice(2);
const puppeteer = createRequire(`${resolve(driverDir)}/`)('puppeteer-core');

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

// A module of its own, on a virtual clock at 60 fps, driven through the same
// exported frame step as the page's loop and drawn into a canvas.
async function frameTime(page) {
  return page.evaluate(async () => {
    let now = 0;
    const vok = await createVokdemo({
      showClockMs: () => now, coreText: () => {}, allowSound: () => {}, playMusic: () => {},
    });
    vok.FS.mkdir('/data');
    const names = vok.UTF8ToString(vok._vokCoreFiles()).split('\n');  // the core's data table
    for (const name of names) {
      vok.FS.writeFile(`/data/${name}`, new Uint8Array(await (await fetch(`data/${name}`)).arrayBuffer()));
    }
    const canvas = document.createElement('canvas');
    canvas.width = 320;
    canvas.height = 240;
    document.body.append(canvas);
    const context = canvas.getContext('2d', { alpha: false });
    if (vok._vokStartShow() !== 0) throw new Error('the show did not start');
    const image = new ImageData(new Uint8ClampedArray(vok.HEAPU8.buffer, vok._vokCanvasPixels(), 320 * 240 * 4), 320, 240);
    let frames = 0;
    const start = performance.now();
    for (;;) {
      now = Math.floor(frames * 1000 / 60);
      const going = vok._vokStep();
      context.putImageData(image, 0, 0);
      if (!going) break;
      ++frames;
    }
    context.getImageData(0, 0, 1, 1);  // waits for the last upload
    return { frames, ms: (performance.now() - start) / (frames + 1) };
  });
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: process.env.VOK_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--hide-scrollbars'],
  });
  try {
    const loads = [];
    for (let run = 0; run < 5; ++run) {
      const page = await browser.newPage();
      await page.goto(`${url}index.html`);
      await page.waitForFunction(() => performance.getEntriesByName('vok-start-screen').length > 0);
      loads.push(await page.evaluate(() => performance.getEntriesByName('vok-start-screen')[0].startTime));
      await page.close();
    }
    const page = await browser.newPage();
    // A request the page refuses at once: it has loaded the module's script
    // and runs nothing of its own meanwhile.
    await page.goto(`${url}index.html?render=0`);
    const frame = await frameTime(page);
    const bytes = Number(execFileSync('du', ['-sb', pageDir], { encoding: 'utf8' }).split('\t')[0]);
    console.log(`frame (tick, render, conversion, upload), mean over ${frame.frames + 1} frames at 60 fps: ${frame.ms.toFixed(3)} ms`);
    console.log(`page opened to start screen, median of ${loads.length}: ${median(loads).toFixed(0)} ms`);
    console.log(`folder: ${(bytes / 1e6).toFixed(2)} MB`);
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(`web_bench: ${error.message}`);
  process.exit(1);
});
