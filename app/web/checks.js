// The page's verification modes (verify.js): ?render=FPS writes the frame
// lines into #frames; ?verify checks every frame at 60 fps against the data
// set's frames.sha256 and writes `vokdemo --verify`'s verdict there, with
// document.body.dataset.verdict "identical" or "differs". Both end in the
// state "done", or "failed" with the sentence that says why (for ?verify, a
// table that is missing or unusable).
import { dataDirectory, element, fail, params, setState, showMessage, startFailed } from './page_state.js';
import { parseFps, renderLines, verifyFrames } from './verify.js';

function showResult(text) {
  element('message').hidden = true;
  const frames = element('frames');
  frames.textContent = text;
  frames.hidden = false;
  setState('done');
}

export async function render(vok, output) {
  document.body.classList.add('verifying');
  const fps = parseFps(params.get('render'));
  if (!fps) return fail(`render=${params.get('render')}: give a whole number of frames per second from 1 to 1000`);
  setState('rendering');
  showMessage(`Rendering the show at ${fps} frames per second…`);
  try {
    const lines = await renderLines(vok, fps, (done) => { element('message-text').textContent = `Frame ${done}…`; });
    if (lines === null) return fail(startFailed(output));
    showResult(lines);
  } catch (error) {
    fail(`The verification run stopped: ${error.message}`);
  }
}

// The table's name as the core knows it; the page fetches it with the data.
export const tableFile = (vok) => vok.UTF8ToString(vok._vokTableName());

export async function verify(vok) {
  document.body.classList.add('verifying');
  setState('rendering');
  showMessage('Checking every frame of the show…');
  const progress = (done, total) => { element('message-text').textContent = `Frame ${done} of ${total}…`; };
  const { status, line } = await verifyFrames(vok, `${dataDirectory}${tableFile(vok)}`, progress);
  console.log(line);
  if (status === 2) return fail(line);
  document.body.dataset.verdict = status === 0 ? 'identical' : 'differs';
  return showResult(`${line}\n`);
}
