// Served over http or https, the page keeps working offline (a service worker) and can be
// installed as an app (the manifest). Opened from a file, it needs neither.
if (location.protocol === 'https:' || location.protocol === 'http:') {
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.appendChild(manifest);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('service-worker.js');
  }
}
