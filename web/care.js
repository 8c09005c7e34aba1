// 关怀模式 (large text and targets) from the first paint: as the reader last chose it on this
// device, or, never chosen, when the browser's own text is 20 px or more.
try {
  const chosen = localStorage.getItem('chenggu-care');
  if (chosen === '1' || (chosen === null && parseFloat(getComputedStyle(document.documentElement).fontSize) >= 20)) {
    document.documentElement.classList.add('care');
  }
} catch {
  // no storage (a private window, a page from disk): the browser's text size decides
}
