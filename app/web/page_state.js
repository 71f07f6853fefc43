// What every part of the page shares: the address's options, the data
// folder, its elements, the state tests and tools read
// (document.body.dataset.state), and the message that replaces the screens.
export const params = new URLSearchParams(location.search);
// The data folder: the page's own, or with ?data= one of the viewer's, which
// is read afresh every time, never from a cache.
export const dataDirectory = params.get('data') ?? 'data/';
export const dataFetch = params.has('data') ? { cache: 'no-store' } : {};
export const element = (id) => document.getElementById(id);
export const setState = (state) => { document.body.dataset.state = state; };

export function showMessage(text) {
  for (const id of ['start', 'end', 'screen']) element(id).hidden = true;
  element('message-text').textContent = text;
  element('message').hidden = false;
}

export function fail(text) {
  console.warn(text);
  showMessage(text);
  setState('failed');
}

// Start-up stopped (a mesh file is missing): the loader's message says why.
export function startFailed(output) {
  return `${output.lastLine()}\n\nThe show cannot start without this file.`;
}
