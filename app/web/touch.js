// A finger (or pen) on the picture: a tap, a swipe left or right, a double
// tap. A mouse keeps its own clicks and is left out.
// A single tap waits out the time a second one would take, so that a double
// tap does not act as a tap first.
const tapMovePx = 12;     // a finger that moves less than this taps
const swipePx = 40;       // a swipe goes at least this far across
const doubleTapMs = 300;  // the second tap of a double tap comes within this

// Calls tap(), swipe(+1 to the right or -1 to the left) and doubleTap() for
// gestures on `target`.
export function listenForTouch(target, { tap, swipe, doubleTap }) {
  let down = null;
  let pendingTap = 0;
  target.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'mouse') return;
    down = { id: event.pointerId, x: event.clientX, y: event.clientY };
  });
  target.addEventListener('pointercancel', () => { down = null; });
  target.addEventListener('pointerup', (event) => {
    if (!down || event.pointerId !== down.id) return;
    const dx = event.clientX - down.x, dy = event.clientY - down.y;
    down = null;
    if (Math.abs(dx) >= swipePx && Math.abs(dx) > 2 * Math.abs(dy)) {
      swipe(Math.sign(dx));
    } else if (Math.hypot(dx, dy) < tapMovePx && pendingTap) {
      // In the pointerup itself: the browser allows full screen from here.
      clearTimeout(pendingTap);
      pendingTap = 0;
      doubleTap();
    } else if (Math.hypot(dx, dy) < tapMovePx) {
      pendingTap = setTimeout(() => { pendingTap = 0; tap(); }, doubleTapMs);
    }
  });
}
