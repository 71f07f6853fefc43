// The verification modes: the whole show on the headless renderer's virtual
// clock, one line a frame, "frame K T_MS SCENE SHA256", as `vokdemo --render
// --fps FPS --hash` prints them (?render=FPS); and those lines at 60 fps
// compared with the data set's table of them, frames.sha256 (?verify).

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

// Renders the show at `fps`, handing each batch of frame lines to
// `take(lines)`, which returns false to stop. Returns false when the show
// could not start (a missing mesh, whose message the core has given).
async function renderFrames(vok, fps, take) {
  if (vok._vokRenderBegin(fps) !== 0) return false;
  let pending = [];
  let going = true;
  while (going && vok._vokRenderNext()) {
    pending.push(frameLine(vok));
    if (pending.length === batch) {
      going = take(await Promise.all(pending));
      pending = [];
    }
  }
  if (going) take(await Promise.all(pending));
  if (going && vok._vokRenderOverran()) throw new Error('the show did not end within its time limit');
  return true;
}

// Returns the text of all lines, or null when the show could not start.
export async function renderLines(vok, fps, progress) {
  const lines = [];
  const started = await renderFrames(vok, fps, (more) => {
    lines.push(...more);
    progress(lines.length);
    return true;
  });
  return started ? lines.join('') : null;
}

export const verifyFps = 60;
const tableLine = /^frame (\d+) (\d+) (\d+) ([0-9a-f]{64})$/;

// The table's lines, or { error } with the sentence that says what is wrong.
export function parseTable(text, name) {
  const lines = text.split('\n');
  if (lines.at(-1) === '') lines.pop();
  if (lines.length === 0) return { error: `${name} is empty: it should hold a line for every frame at ${verifyFps} fps.` };
  const bad = lines.findIndex((line, k) => tableLine.exec(line)?.[1] !== String(k));
  if (bad >= 0) {
    return { error: `${name} line ${bad + 1} is not "frame ${bad} T_MS SCENE SHA256": "${lines[bad].slice(0, 80)}".` };
  }
  return { lines };
}

// Compares every frame at 60 fps with the table's line for it. Returns
// { identical: N }, { differs: { frame, ms, scene } } for the first frame
// whose line is not the table's, { error } when the table's length is not
// the show's, or null when the show could not start.
export async function verifyFrames(vok, table, name, progress) {
  let done = 0;
  let differs = null;
  const started = await renderFrames(vok, verifyFps, (lines) => {
    for (const line of lines) {
      if (done < table.length && `${table[done]}\n` !== line) {
        const [, frame, ms, scene] = line.split(' ');
        differs = { frame: Number(frame), ms: Number(ms), scene: Number(scene) };
        return false;
      }
      ++done;
    }
    progress(done);
    return done <= table.length;
  });
  if (!started) return null;
  if (differs) return { differs };
  if (done !== table.length) {
    const frames = done > table.length ? 'more frames' : `${done} frames`;
    return { error: `${name} has ${table.length} lines, but the show has ${frames} at ${verifyFps} fps.` };
  }
  return { identical: done };
}

// FPS as the native renderer accepts it: a whole number from 1 to 1000.
export function parseFps(text) {
  if (!/^[0-9]{1,4}$/.test(text)) return 0;
  const fps = Number(text);
  return fps >= 1 && fps <= 1000 ? fps : 0;
}
