// The flash warning of the start screen and ?gentle. The verdict was made
// when the data set was built (data/flashes.txt); when it says the show
// fails, the start screen carries the core's sentence naming the scenes and
// times that fail, with a link to the gentle show, and the click or key that
// starts the show dismisses it. With ?gentle the core holds back only the
// flashes that would go over the limit.
export const gentle = new URLSearchParams(location.search).has('gentle');

// The body's data-flash-warning says when it is settled: "shown" or "none".
export async function showFlashWarning(vok, directory, fetchOptions = {}) {
  // The link goes to the gentle show; its click is not the start screen's.
  document.getElementById('gentle-link').addEventListener('click', (event) => event.stopPropagation());
  const sentence = gentle ? '' : await warningSentence(vok, directory, fetchOptions);
  document.getElementById('flash-sentence').textContent = sentence;
  document.getElementById('flash-warning').hidden = !sentence;
  document.body.dataset.flashWarning = sentence ? 'shown' : 'none';
}

async function warningSentence(vok, directory, fetchOptions) {
  try {
    const response = await fetch(`${directory}flashes.txt`, fetchOptions);
    if (!response.ok) return '';
    vok.FS.writeFile('/data/flashes.txt', new Uint8Array(await response.arrayBuffer()));
  } catch {
    return '';  // No verdict: nothing is known to warn of.
  }
  return vok.UTF8ToString(vok._vokFlashWarning());
}
