// Base64 decoded by the browser where it can, else by a loop in JavaScript: the module inside the
// script and the fonts inside the page travel as base64.
function bytesFromBase64(base64) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64);
  return Uint8Array.from(atob(base64), function (letter) { return letter.charCodeAt(0); });
}
