// The WebAssembly travels inside this script as a data URI. The runtime would fetch() that URI,
// which the page's Content-Security-Policy rightly refuses (connect-src 'self'); it is decoded
// and compiled here instead, which needs nothing but 'wasm-unsafe-eval'.
// The start's phases are marked for the Performance API (velandra-compiled, -form, -fonts,
// -ready), where a benchmark or the browser's own tools can read them.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports).then(function (result) {
    performance.mark('velandra-compiled');
    receiveInstance(result.instance);
  });
  return {};
};
