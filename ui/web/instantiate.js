// The WebAssembly travels inside this script as a data URI. The runtime would fetch() that URI,
// which the page's Content-Security-Policy rightly refuses (connect-src 'self'); it is decoded
// and compiled here instead, which needs nothing but 'wasm-unsafe-eval'. The script loads
// without waiting for the page to be parsed, so that the module compiles while the browser lays
// out the page; the program starts once both are done.
// The start's phases are marked for the Performance API (velandra-compiled, -form, -fonts,
// -ready), where a benchmark or the browser's own tools can read them.

Module['instantiateWasm'] = function (imports, receiveInstance) {
  var bytes = bytesFromBase64(wasmBinaryFile.slice(wasmBinaryFile.indexOf(',') + 1));
  var parsed = new Promise(function (resolve) {
    if (document.readyState == 'loading') {
      document.addEventListener('DOMContentLoaded', resolve);
    } else {
      resolve();
    }
  });
  Promise.all([WebAssembly.instantiate(bytes, imports), parsed]).then(function (done) {
    performance.mark('velandra-compiled');
    receiveInstance(done[0].instance);
  });
  return {};
};
