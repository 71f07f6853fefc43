// The viewer's control of the show in the page, with the live player's keys:
// Space pause, Left/Right 5 s, Page Up/Down and , . the previous and next
// scene, Home the beginning, S a screenshot, I the overlay (F is the page's
// full screen, in page.js). Links to a moment (#t=SECONDS, #scene=N), the
// address following seeks, and a thin bar with the scene bounds that appears
// when the mouse moves and seeks where it is clicked.

// The core's ShowKey numbers (shell/show_control.h).
export const showKey = { Pause: 1, Back: 2, Forward: 3, PreviousScene: 4, NextScene: 5, Beginning: 6 };

const keyTable = {
  ' ': showKey.Pause,
  ArrowLeft: showKey.Back,
  ArrowRight: showKey.Forward,
  PageUp: showKey.PreviousScene,
  ',': showKey.PreviousScene,
  PageDown: showKey.NextScene,
  '.': showKey.NextScene,
  Home: showKey.Beginning,
};

// Held keys repeat only the 5 s seeks.
export const repeats = (event) => event.key === 'ArrowLeft' || event.key === 'ArrowRight';

// The moment a link asks for: { ms } or { error } with the sentence to show.
export function parseLink(hash, sceneStarts, endMs) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  const end = (endMs / 1000).toFixed(1);
  if (params.has('t')) {
    const text = params.get('t');
    const seconds = /^\s*\d+(\.\d*)?\s*$/.test(text) ? Number(text) : NaN;
    if (!(seconds * 1000 < endMs)) {
      return { error: `#t=${text} is not a time in the show (0 to ${end} s): it plays from the beginning.` };
    }
    return { ms: Math.floor(seconds * 1000) };
  }
  if (params.has('scene')) {
    const text = params.get('scene');
    const scene = /^\s*\d+\s*$/.test(text) ? Number(text) : NaN;
    if (!(scene < sceneStarts.length)) {
      return { error: `#scene=${text} is not a scene of the show (0 to ${sceneStarts.length - 1}): it plays from the beginning.` };
    }
    return { ms: sceneStarts[scene] };
  }
  return { ms: 0 };
}

export class ShowKeys {
  constructor(vok, music, element) {
    Object.assign(this, { vok, music, element });
    this.overlay = element('overlay');
    this.bar = element('bar');
    this.notice = element('notice');
    this.frameTimes = [];
    this.barTimer = 0;
    this.pauses = { count: 0, paused: false, atMs: 0 };  // the last pause or resume
    this.loop = { count: 0, firstMs: 0 };  // a looping show's beginnings again
    const count = vok._vokSceneCount();
    this.sceneStarts = Array.from({ length: count }, (_, k) => vok._vokSceneStartMs(k));
    this.endMs = vok._vokSceneStartMs(count);
    this.makeBar();
  }

  // A key of the show while it plays; true when it was one.
  press(event) {
    if (event.key === 's' || event.key === 'S') this.screenshot();
    else if (event.key === 'i' || event.key === 'I') this.toggleOverlay();
    else if (keyTable[event.key]) this.pressKey(keyTable[event.key]);
    else return false;
    return true;
  }

  // A key of the core's control (showKey), from a key or a gesture.
  pressKey(key) {
    this.apply(() => this.vok._vokPress(key));
  }

  // Runs a press or a seek; after a seek or a pause the address names the
  // moment it landed on, and the report gives the event itself.
  apply(action) {
    const seeks = this.vok._vokSeeks(), paused = this.vok._vokPaused();
    action();
    const pausing = this.vok._vokPaused();
    if (this.vok._vokSeeks() === seeks && pausing === paused) return;
    if (pausing !== paused) {
      this.pauses = { count: this.pauses.count + 1, paused: pausing !== 0, atMs: this.vok._vokShownMs() };
    }
    this.follow();
    this.report(false);
  }

  seekTo(ms) {
    this.apply(() => this.vok._vokSeekTo(ms));
  }

  // The address of the moment on the screen, for a link to be copied.
  follow() {
    const seconds = (this.vok._vokShownMs() / 1000).toFixed(3).replace(/\.?0+$/, '');
    history.replaceState(null, '', `${location.pathname}${location.search}#t=${seconds}`);
  }

  // Opens at the moment the address names (or at the beginning, with a sentence).
  openAtLink() {
    const link = parseLink(location.hash, this.sceneStarts, this.endMs);
    if (link.error) {
      this.say(link.error);
      history.replaceState(null, '', `${location.pathname}${location.search}`);
      return;
    }
    if (link.ms > 0) this.seekTo(link.ms);
  }

  say(text) {
    this.notice.textContent = text;
    this.notice.hidden = false;
    clearTimeout(this.noticeTimer);
    this.noticeTimer = setTimeout(() => { this.notice.hidden = true; }, 8000);
  }

  // After every pass of the page's loop: the bar's position and the overlay.
  afterFrame(rendered) {
    const now = performance.now();
    if (rendered) this.frameTimes.push(now);
    while (this.frameTimes.length && now - this.frameTimes[0] > 1000) this.frameTimes.shift();
    this.bar.style.setProperty('--played', `${(100 * this.vok._vokShownMs()) / this.endMs}%`);
    if (!this.overlay.hidden) this.updateOverlay();
    const loops = this.vok._vokLoops();
    if (loops !== this.loop.count) this.loop = { count: loops, firstMs: this.vok._vokShownMs() };
    this.report(rendered);
  }

  toggleOverlay() {
    this.overlay.hidden = !this.overlay.hidden;
    if (!this.overlay.hidden) this.updateOverlay();
  }

  updateOverlay() {
    const fps = this.vok._vokPaused() ? 0 : this.frameTimes.length;
    this.overlay.textContent = this.vok.UTF8ToString(this.vok._vokOverlayText(fps, this.music?.heardMs() ?? -1));
  }

  // The moment on the screen, for tests and tools to read (window.vokdemo),
  // after every frame and every seek or pause: the picture's show time and
  // scene, the music the listener hears, the show's time and the music's at
  // one reading of the audio clock, and the last seek and the last pause or
  // resume as they happened (the time a seek was asked at, the time and scene
  // it landed on; the time a pause held or a resume went on from); with
  // ?loop, how often the show began again and its first frame's time then.
  report(rendered) {
    const vok = this.vok;
    const landedMs = vok._vokLandingToMs();
    window.vokdemo = {
      shownMs: vok._vokShownMs(),
      scene: vok._vokScene(),
      paused: vok._vokPaused() !== 0,
      rendered,
      heardMs: this.music?.heardMs() ?? -1,
      nowMs: vok._vokShowMsNow(),
      musicNowMs: this.music?.heardMs(this.music.clock?.heard) ?? -1,
      seeks: vok._vokSeeks(),
      landing: { fromMs: vok._vokLandingFromMs(), toMs: landedMs, scene: vok._vokSceneAtMs(landedMs) },
      pauses: this.pauses,
      loop: this.loop,
    };
  }

  // The frame on the canvas (without the overlay) as a PNG download.
  screenshot() {
    const name = this.vok.UTF8ToString(this.vok._vokScreenshotName());
    document.getElementById('screen').toBlob((blob) => {
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = name;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    }, 'image/png');
  }

  makeBar() {
    for (const ms of this.sceneStarts.slice(1)) {
      const mark = document.createElement('span');
      mark.className = 'bound';
      mark.style.left = `${(100 * ms) / this.endMs}%`;
      this.bar.append(mark);
    }
    this.bar.addEventListener('click', (event) => {
      const box = this.bar.getBoundingClientRect();
      const fraction = Math.min(Math.max((event.clientX - box.left) / box.width, 0), 1);
      this.seekTo(Math.floor(fraction * this.endMs));
    });
  }

  // The bar and the controls beside it show while the mouse moves or a
  // finger touches, and for 2 s after (vokdemo.css, body.pointing).
  showBar() {
    document.body.classList.add('pointing');
    clearTimeout(this.barTimer);
    this.barTimer = setTimeout(() => document.body.classList.remove('pointing'), 2000);
  }

  // At the end of the show: nothing of the control stays, and playing again
  // starts at the beginning.
  ended() {
    clearTimeout(this.barTimer);
    this.overlay.hidden = true;
    document.body.classList.remove('pointing');
    history.replaceState(null, '', `${location.pathname}${location.search}`);
  }
}
