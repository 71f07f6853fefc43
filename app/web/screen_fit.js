// How the picture sits on the screen: its scale for the window, and full
// screen. A whole factor of 320x240 device pixels keeps every pixel square
// and sharp. In portrait the picture takes the width: a whole factor of at
// least 2 where one fits, else the width's own factor, nearest-neighbour;
// the controls go below it (vokdemo.css). Where the browser has no
// Fullscreen API (some phones), full screen is the picture filling the
// viewport at whatever factor fits, also nearest-neighbour.

const filled = () => document.body.classList.contains('filled');

// The picture's scale in device pixels for each of its pixels, in a
// viewport of `width` x `height` CSS pixels of `ratio` device pixels each.
export function pictureFactor(width, height, ratio, fill) {
  const across = (width * ratio) / 320, down = (height * ratio) / 240;
  if (fill) return Math.min(across, down);
  if (height > width) return Math.floor(across) >= 2 ? Math.floor(across) : across;
  return Math.max(1, Math.floor(Math.min(across, down)));
}

export function fitCanvas(canvas) {
  const ratio = window.devicePixelRatio || 1;
  const factor = pictureFactor(innerWidth, innerHeight, ratio, filled());
  canvas.style.width = `${(320 * factor) / ratio}px`;
  canvas.style.height = `${(240 * factor) / ratio}px`;
}

const fullScreenApi = () => Boolean(document.fullscreenEnabled && document.documentElement.requestFullscreen);

export function toggleFullScreen(canvas) {
  if (!fullScreenApi()) {
    document.body.classList.toggle('filled');
    fitCanvas(canvas);
    return;
  }
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
    return;
  }
  document.documentElement.requestFullscreen()
    // Where the browser allows it, Escape then reaches the page (and ends the
    // show, as in the native players) instead of only leaving full screen.
    .then(() => navigator.keyboard?.lock?.(['Escape']))
    .catch(() => {});
}
