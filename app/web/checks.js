// The page's verification modes, on the headless renderer's virtual clock
// (verify.js): ?render=FPS writes the frame lines into #frames; ?verify
// checks every frame at 60 fps against the data set's frames.sha256 and
// writes its verdict there. Both end in the state "done", or "failed" with
// the sentence that says why.
import { dataDirectory, dataFetch, element, fail, params, setState, showMessage, startFailed } from './page_state.js';
import { parseFps, parseTable, renderLines, verifyFps, verifyFrames } from './verify.js';

// ?render=FPS: the frame lines into #frames.
export async function render(vok, output) {
  document.body.classList.add('verifying');
  const fps = parseFps(params.get('render'));
  if (!fps) return fail(`render=${params.get('render')}: give a whole number of frames per second from 1 to 1000`);
  if (!window.crypto?.subtle) return fail('The verification mode needs SHA-256 from the browser: open the page from 127.0.0.1 or https.');
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

async function fetchTable(name) {
  const response = await fetch(name, dataFetch);
  if (!response.ok) throw new Error(`HTTP ${response.status}`);
  return response.text();
}

// The verdict of ?verify in one line, as `vokdemo --verify` gives it.
function verdictLine(vok, result) {
  if (result.identical !== undefined) return `verified: ${result.identical} frames identical`;
  const { frame, ms, scene } = result.differs;
  const name = vok.UTF8ToString(vok._vokSceneName(scene));
  return `first difference: frame ${frame} at ${(ms / 1000).toFixed(3)} s, scene ${scene} (${name})`;
}

// ?verify: every frame at 60 fps against the data set's frames.sha256. The
// verdict goes into #frames and document.body.dataset.verdict ("identical"
// or "differs"); a table that is missing or unreadable fails the page with
// the sentence that says why.
export async function verify(vok, output) {
  document.body.classList.add('verifying');
  if (!window.crypto?.subtle) return fail('The check needs SHA-256 from the browser: open the page from 127.0.0.1 or https.');
  const name = `${dataDirectory}frames.sha256`;
  let table;
  try {
    table = parseTable(await fetchTable(name), name);
  } catch (error) {
    return fail(`No table of frames to check against: ${name} cannot be read (${error.message}).`);
  }
  if (table.error) return fail(table.error);
  setState('rendering');
  showMessage(`Checking every frame at ${verifyFps} frames per second…`);
  try {
    const progress = (done) => { element('message-text').textContent = `Frame ${done} of ${table.lines.length}…`; };
    const result = await verifyFrames(vok, table.lines, name, progress);
    if (result === null) return fail(startFailed(output));
    if (result.error) return fail(result.error);
    document.body.dataset.verdict = result.identical !== undefined ? 'identical' : 'differs';
    const line = verdictLine(vok, result);
    console.log(line);
    showResult(`${line}\n`);
  } catch (error) {
    fail(`The check stopped: ${error.message}`);
  }
}

function showResult(text) {
  element('message').hidden = true;
  const frames = element('frames');
  frames.textContent = text;
  frames.hidden = false;
  setState('done');
}
