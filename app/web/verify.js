// The verification mode: the whole show on the headless renderer's virtual
// clock, one line a frame, "frame K T_MS SCENE SHA256", as `vokdemo --render
// --fps FPS --hash` prints them.

const frameBytes = 320 * 240 * 4;
const batch = 64;  // frames whose digests are awaited together

function hex(digest) {
  return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, '0')).join('');
}

// Digests the frame now in the work image. digest() takes its copy of the
// bytes before it returns, so the next frame may overwrite them.
function frameLine(vok) {
  const k = vok._vokFrameIndex();
  const ms = vok._vokFrameMilliseconds() >>> 0;
  const scene = vok._vokFrameScene();
  const start = vok._vokFramePixels();
  return crypto.subtle.digest('SHA-256', vok.HEAPU8.subarray(start, start + frameBytes)).then((d) => `frame ${k} ${ms} ${scene} ${hex(d)}\n`);
}

// Returns the text of all lines, or null when the show could not start (a
// missing mesh, whose message the core has given).
export async function renderLines(vok, fps, progress) {
  if (vok._vokRenderBegin(fps) !== 0) return null;
  const lines = [];
  let pending = [];
  while (vok._vokRenderNext()) {
    pending.push(frameLine(vok));
    if (pending.length === batch) {
      lines.push(...(await Promise.all(pending)));
      pending = [];
      progress(lines.length);
    }
  }
  lines.push(...(await Promise.all(pending)));
  if (vok._vokRenderOverran()) throw new Error('the show did not end within its time limit');
  return lines.join('');
}

// FPS as the native renderer accepts it: a whole number from 1 to 1000.
export function parseFps(text) {
  if (!/^[0-9]{1,4}$/.test(text)) return 0;
  const fps = Number(text);
  return fps >= 1 && fps <= 1000 ? fps : 0;
}
