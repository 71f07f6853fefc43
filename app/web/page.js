// The page: fetches the data set and the music, then either plays the show
// (start screen, the picture scaled to the window, end screen) or, with
// ?render=FPS or ?verify, runs a verification mode (checks.js). After one
// visit a service worker keeps it for playing offline.
import { ShowKeys, parseLink, repeats, showKey } from './keys.js';
import { Music, ShowClock } from './music.js';
import { render, tableFile, verify } from './checks.js';
import { dataDirectory, dataFetch, element, fail, params, setState, startFailed } from './page_state.js';
import { gentle, showFlashWarning } from './flash_warning.js';
import { fitCanvas, toggleFullScreen } from './screen_fit.js';
import { listenForTouch } from './touch.js';

const musicFile = 'zumber.opus';

// The core's progress text, in pieces: whole lines go to the console; the
// last line, finished or not, is kept to say why a show could not start.
class TextLines {
  constructor() {
    this.pending = '';
    this.last = '';
  }

  add(text) {
    const lines = (this.pending + text).split('\n');
    this.pending = lines.pop();
    for (const line of lines) console.log(line);
    if (lines.length) this.last = lines.at(-1);
  }

  lastLine() {
    return this.pending || this.last;
  }
}

// The module calls back for the clock, its text, and the music's two steps
// in the start-up (web_show.cpp); the verification mode has no music.
async function loadCore(clock, output, music) {
  return createVokdemo({
    showClockMs: () => clock.now(),
    coreText: (text) => output.add(text),
    allowSound: () => music?.allow(),
    playMusic: () => music?.start(clock, clock.now()),
    pauseMusic: () => music?.pause(),
    musicFrom: (seconds) => music?.playFrom(seconds),
  });
}

// The files the picture is made from, as the core names them (its data
// table, less the music); it reads them from /data.
function coreFiles(vok) {
  return vok.UTF8ToString(vok._vokCoreFiles()).split('\n');
}

// Each data file's bytes, or null for one that cannot be fetched: that one
// is left out, so the core treats it as missing, as it does natively.
function fetchData(names, directory) {
  return Promise.all(names.map(async (name) => {
    try {
      const response = await fetch(directory + name, dataFetch);
      if (!response.ok) throw new Error(`HTTP ${response.status}`);
      return [name, new Uint8Array(await response.arrayBuffer())];
    } catch (error) {
      console.warn(`${directory}${name}: ${error.message}`);
      return [name, null];
    }
  }));
}

function storeData(vok, files) {
  vok.FS.mkdir('/data');
  for (const [name, bytes] of files) {
    if (bytes) vok.FS.writeFile(`/data/${name}`, bytes);
  }
}


class Player {
  constructor(vok, music, clock, output) {
    Object.assign(this, { vok, music, clock, output });
    this.canvas = element('screen');
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.image = null;
    this.frameRequest = 0;
    this.playing = false;
  }

  // The shared start-up; it lets sound start and starts the music itself.
  // A second start while it plays (a key and the button's click) is none.
  start() {
    if (this.playing) return;
    for (const id of ['start', 'end']) element(id).hidden = true;
    this.clock.restart();
    this.vok._vokSetGentle(gentle ? 1 : 0);
    if (this.vok._vokStartShow(params.has('loop') ? 1 : 0) !== 0) {
      fail(startFailed(this.output));
      return;
    }
    this.keys.openAtLink();
    this.playing = true;
    setState('playing');
    document.body.classList.add('playing');
    this.canvas.hidden = false;
    this.frameRequest = requestAnimationFrame(() => this.frame());
  }

  // One frame of the loop: tick, draw, convert, then show. The end step's
  // frame shows the last picture once more before the end screen.
  // While paused nothing is drawn: the canvas keeps the held picture.
  frame() {
    const due = this.vok._vokFrameDue();
    const going = due ? this.vok._vokStep() : 1;
    if (due) this.draw();
    this.keys.afterFrame(due);
    if (going) this.frameRequest = requestAnimationFrame(() => this.frame());
    else this.end();
  }

  // The canvas reads the converted frame straight from the module's memory;
  // the view is made again only when that memory has grown.
  draw() {
    const heap = this.vok.HEAPU8.buffer;
    if (!this.image || this.image.data.buffer !== heap) {
      const pixels = new Uint8ClampedArray(heap, this.vok._vokCanvasPixels(), 320 * 240 * 4);
      this.image = new ImageData(pixels, 320, 240);
    }
    this.context.putImageData(this.image, 0, 0);
  }

  end() {
    if (!this.playing) return;
    this.playing = false;
    cancelAnimationFrame(this.frameRequest);
    this.music.stop();
    this.keys.ended();
    document.body.classList.remove('playing');
    element('end').hidden = false;
    element('again').focus();
    setState('ended');
  }
}

// A touch device lists its gestures on the start screen; one whose main
// pointer is a finger leaves the keys out.
function markTouch() {
  document.body.classList.toggle('touch', navigator.maxTouchPoints > 0 || matchMedia('(any-pointer: coarse)').matches);
  document.body.classList.toggle('coarse', matchMedia('(pointer: coarse)').matches);
}

// Gestures on the picture while the show plays (touch.js); a touch anywhere
// shows the scene bar and the controls as a mouse move does.
function listenToFingers(player) {
  const playing = () => document.body.dataset.state === 'playing';
  listenForTouch(player.canvas, {
    tap: () => playing() && player.keys.pressKey(showKey.Pause),
    swipe: (direction) => playing() && player.keys.pressKey(direction > 0 ? showKey.Forward : showKey.Back),
    doubleTap: () => playing() && toggleFullScreen(player.canvas),
  });
  addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'mouse' && playing()) player.keys.showBar();
  });
}

function listen(player, autostart) {
  const canvas = player.canvas;
  fitCanvas(canvas);
  addEventListener('resize', () => fitCanvas(canvas));
  // A double click is the mouse's; a finger's double tap is touch.js's.
  let pointer = 'mouse';
  addEventListener('pointerdown', (event) => { pointer = event.pointerType; }, true);
  addEventListener('dblclick', () => pointer === 'mouse' && toggleFullScreen(canvas));
  element('fullscreen').addEventListener('click', () => toggleFullScreen(canvas));
  listenToFingers(player);
  addEventListener('keydown', (event) => {
    // Browser shortcuts and modifier keys alone are not meant for the page.
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.repeat && !(repeats(event) && document.body.dataset.state === 'playing')) return;
    if (['Shift', 'Control', 'Alt', 'Meta', 'Tab'].includes(event.key)) return;
    if (event.key === 'f' || event.key === 'F') toggleFullScreen(canvas);
    const state = document.body.dataset.state;
    if (state === 'start' && event.key !== 'Escape') player.start();
    else if (state === 'playing' && event.key === 'Escape') player.end();
    else if (state === 'playing' && player.keys.press(event)) event.preventDefault();
  });
  addEventListener('mousemove', () => {
    if (document.body.dataset.state === 'playing') player.keys.showBar();
  });
  // A moment typed into the address while the show plays.
  addEventListener('hashchange', () => {
    if (document.body.dataset.state !== 'playing') return;
    const link = parseLink(location.hash, player.keys.sceneStarts, player.keys.endMs);
    if (link.error) player.keys.say(link.error);
    else player.keys.seekTo(link.ms);
  });
  element('start').addEventListener('click', () => player.start());
  element('again').addEventListener('click', () => player.start());
  // With autostart the show may begin before the browser allows sound: the
  // first click, tap or key press lets the music join at the show's time (a
  // finger's is allowed once it is lifted).
  if (autostart) {
    for (const type of ['pointerdown', 'pointerup', 'keydown']) addEventListener(type, () => player.music.allow());
  }
}

function play(vok, music, clock, output) {
  const player = new Player(vok, music, clock, output);
  player.keys = new ShowKeys(vok, music, element);
  listen(player, params.has('autostart'));
  markTouch();
  if (!window.AudioContext) {
    element('start-note').textContent = 'This browser has no Web Audio: the show plays without its music.';
  }
  if (params.has('autostart')) {
    player.start();
  } else {
    showFlashWarning(vok, dataDirectory, dataFetch);
    element('start').hidden = false;
    setState('start');
    performance.mark('vok-start-screen');
  }
}

async function main() {
  if (typeof WebAssembly !== 'object') {
    return fail('This browser cannot run WebAssembly, which the show needs. A current browser plays it.');
  }
  const clock = new ShowClock();
  const output = new TextLines();
  const verifying = params.has('render') || params.has('verify');
  const music = verifying ? null : new Music(musicFile);
  let vok;
  try {
    vok = await loadCore(clock, output, music);
  } catch (error) {
    return fail(`The show could not load: ${error.message}`);
  }
  const names = params.has('verify') ? [...coreFiles(vok), tableFile(vok)] : coreFiles(vok);
  storeData(vok, await fetchData(names, dataDirectory));
  if (params.has('verify')) return verify(vok);
  if (verifying) return render(vok, output);
  return play(vok, music, clock, output);
}

// After one visit the page plays offline: sw.js keeps the program, the data
// and the music. Browsers offer service workers on https and localhost only.
function keepForOffline() {
  navigator.serviceWorker?.register('sw.js').catch((error) => console.warn(`No offline copy: ${error.message}`));
}

keepForOffline();
main();
