// The show's clock and its music.
//
// The clock counts whole milliseconds from the start of the show. While the
// music plays it reads the audio clock at the moment the listener hears it,
// so picture and sound cannot drift apart; otherwise it reads the page's own
// clock. It never runs backwards: when it changes over to the audio clock
// the picture holds until the sound catches up.

// The audio context's time of the sound the listener hears now, in seconds.
// The output's time stamp is that of the last sound handed to the device,
// heard at its performance time: carried on from there to now, so that the
// reading moves smoothly between the device's callbacks, but by no more than
// one callback's sound (the step between the last two stamps, or the
// context's own latency). A callback that comes late (a busy machine) then
// holds the reading where the next stamp begins, instead of letting it run
// ahead of the sound and step back when that stamp comes.
const lastStamps = new WeakMap();

function heardTime(context) {
  if (context.getOutputTimestamp) {
    const stamp = context.getOutputTimestamp();
    if (stamp.contextTime > 0) {
      let last = lastStamps.get(context);
      if (last?.time !== stamp.contextTime) {
        last = { time: stamp.contextTime, step: last ? stamp.contextTime - last.time : 0 };
        lastStamps.set(context, last);
      }
      const reach = Math.max(last.step, context.baseLatency || 0);
      return stamp.contextTime + Math.min(Math.max(0, performance.now() - stamp.performanceTime) / 1000, reach);
    }
  }
  return context.currentTime - (context.outputLatency || 0) - (context.baseLatency || 0);
}

export class ShowClock {
  constructor() {
    this.restart();
  }

  restart() {
    this.origin = performance.now();
    this.audio = null;
    this.last = 0;
  }

  // From now on, audio time `when` (seconds) is show time `ms`.
  followAudio(context, when, ms) {
    this.audio = { context, when, ms };
  }

  // Back to the page's clock, carrying on from the last reading.
  followPage() {
    if (!this.audio) return;
    this.audio = null;
    this.origin = performance.now() - this.last;
  }

  // `heard` is kept: the audio context's time the reading was made from.
  now() {
    this.heard = this.audio ? heardTime(this.audio.context) : undefined;
    const ms = this.audio
      ? this.audio.ms + (this.heard - this.audio.when) * 1000
      : performance.now() - this.origin;
    this.last = Math.max(this.last, Math.floor(ms));
    return this.last;
  }
}

// The music: the player's own render of the module, decoded once and played
// from an audio buffer. It loads while the page waits for the viewer and
// joins the show at the show's time if that has begun meanwhile. Without it
// (no Web Audio, a file that cannot be fetched or decoded) the show plays in
// silence on the page's clock.
export class Music {
  constructor(url) {
    this.buffer = null;
    this.context = null;
    this.source = null;
    this.wanted = false;
    if (window.AudioContext) this.load(url);
  }

  async load(url) {
    try {
      const response = await fetch(url);
      if (!response.ok) throw new Error(`HTTP ${response.status}`);
      const bytes = await response.arrayBuffer();
      const decoder = new OfflineAudioContext(2, 1, 48000);
      this.buffer = await decoder.decodeAudioData(bytes);
      this.tryPlay();
    } catch (error) {
      console.warn(`${url}: ${error.message}; the show goes on in silence`);
    }
  }

  // Lets sound start: browsers allow it during a click or key press.
  allow() {
    if (!window.AudioContext) return;
    if (!this.context) {
      this.context = new AudioContext();
      this.context.onstatechange = () => this.followState();
    }
    if (this.context.state === 'suspended') this.context.resume().catch(() => {});
  }

  // Plays along with `clock`, whose reading `zeroMs` is the start of the
  // music; if the music or the browser's permission is not there yet,
  // playing starts when both are, at the show's time of that moment.
  start(clock, zeroMs) {
    this.clock = clock;
    this.zeroMs = zeroMs;
    this.wanted = true;
    this.tryPlay();
  }

  stop() {
    this.wanted = false;
    this.release();
  }

  // The viewer's pause: the music stops where it is heard.
  pause() {
    this.wanted = false;
    this.release();
  }

  // After a seek or a pause: the show time now is `seconds`, and the music
  // plays from there.
  playFrom(seconds) {
    if (!this.clock) return;
    this.zeroMs = this.clock.now() - Math.round(seconds * 1000);
    this.wanted = true;
    this.release();
    this.tryPlay();
  }

  // Where in the music the listener is, in milliseconds, or -1 when none
  // plays; at the audio context's time `heard` when given.
  heardMs(heard = this.context && heardTime(this.context)) {
    if (!this.source) return -1;
    return this.playing.offsetMs + (heard - this.playing.when) * 1000;
  }

  // A context that stops running (suspended by the system) would stop the
  // clock with it: the page's clock takes over until it runs again.
  followState() {
    if (this.context.state === 'running') this.tryPlay();
    else this.release();
  }

  release() {
    if (this.source) {
      this.source.stop();
      this.source.disconnect();
      this.source = null;
      document.body.dataset.sound = 'off';
    }
    if (this.clock) this.clock.followPage();
  }

  // The sound started now is heard only after the output's latency: the
  // music starts that much further in, so that the clock carries on from its
  // reading without holding the picture and the listener hears the show's time.
  tryPlay() {
    if (!this.wanted || this.source || !this.buffer || !this.context || this.context.state !== 'running') return;
    const when = this.context.currentTime;
    const latency = Math.min(Math.max(when - heardTime(this.context), 0), 0.5);
    const offset = (this.clock.now() - this.zeroMs) / 1000 + latency;
    if (offset >= this.buffer.duration) return;
    const source = this.context.createBufferSource();
    source.buffer = this.buffer;
    source.connect(this.context.destination);
    source.start(when, offset);
    this.source = source;
    this.playing = { when, offsetMs: offset * 1000 };
    document.body.dataset.sound = 'on';
    this.clock.followAudio(this.context, when, this.zeroMs + offset * 1000);
  }
}
