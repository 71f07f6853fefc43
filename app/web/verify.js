// The verification modes' runs, on the core's side (web_checks.cpp): the
// whole show on the headless renderer's virtual clock, hashed with the
// SHA-256 every build shares. ?render=FPS gives one line a frame, "frame K
// T_MS SCENE SHA256", as `vokdemo --render --fps FPS --hash` prints them;
// ?verify checks every frame at 60 fps against the data set's table of those
// lines, frames.sha256, and gives `vokdemo --verify`'s verdict.

const batch = 64;  // frames between two looks at the page (progress, events)
const breathe = () => new Promise((resolve) => setTimeout(resolve, 0));

// Returns the text of all lines, or null when the show could not start (a
// missing mesh, whose message the core has given).
export async function renderLines(vok, fps, progress) {
  if (vok._vokRenderBegin(fps) !== 0) return null;
  const lines = [];
  while (vok._vokRenderNext()) {
    lines.push(vok.UTF8ToString(vok._vokFrameLine()));
    if (lines.length % batch === 0) {
      progress(lines.length);
      await breathe();
    }
  }
  if (vok._vokRenderOverran()) throw new Error('the show did not end within its time limit');
  return lines.join('');
}

// The verdict: { status, line }, status 0 when every frame was identical, 1
// when one differed (or the show could not start), 2 when the table
// (`shownName`, fetched into the core's data folder) is missing or unusable.
export async function verifyFrames(vok, shownName, progress) {
  const begun = vok.ccall('vokVerifyBegin', 'number', ['string'], [shownName]);
  if (begun === 0) {
    const total = vok._vokVerifyFrames();
    for (let done = 1; vok._vokVerifyNext(); ++done) {
      if (done % batch === 0) {
        progress(done, total);
        await breathe();
      }
    }
  }
  return { status: vok._vokVerdictStatus(), line: vok.UTF8ToString(vok._vokVerdictLine()) };
}

// FPS as the native renderer accepts it: a whole number from 1 to 1000.
export function parseFps(text) {
  if (!/^[0-9]{1,4}$/.test(text)) return 0;
  const fps = Number(text);
  return fps >= 1 && fps <= 1000 ? fps : 0;
}
