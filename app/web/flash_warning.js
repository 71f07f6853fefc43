// The flash warning of the start screen and ?gentle. The verdict was made
// when the data set was built (data/flashes.txt); when it says the show
// fails, the start screen carries one sentence with a link to the gentle
// show, and the click or key that starts the show dismisses it. With
// ?gentle the canvas gets a softened copy of every frame, which passes.
export const gentle = new URLSearchParams(location.search).has('gentle');

export async function showFlashWarning(directory, fetchOptions = {}) {
  const warning = document.getElementById('flash-warning');
  // The link goes to the gentle show; its click is not the start screen's.
  document.getElementById('gentle-link').addEventListener('click', (event) => event.stopPropagation());
  if (gentle) return;
  try {
    const response = await fetch(`${directory}flashes.txt`, fetchOptions);
    if (response.ok && (await response.text()).startsWith('fail')) warning.hidden = false;
  } catch {
    // No verdict: nothing is known to warn of.
  }
}
