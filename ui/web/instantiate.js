// The WebAssembly travels inside this script as a data URI. The runtime would fetch() that URI,
// which the page's Content-Security-Policy rightly refuses (connect-src 'self'); it is decoded
// and compiled here instead, which needs nothing but 'wasm-unsafe-eval'. The script runs once
// the elements the program draws on are in the document (the end of the page's body, or defer).
// The start's phases are marked for the Performance API (velandra-compiled, -form, -fonts,
// -ready), where a benchmark or the browser's own tools can read them.

Module['instantiateWasm'] = function (imports, receiveInstance) {
  var bytes = bytesFromBase64(wasmBinaryFile.slice(wasmBinaryFile.indexOf(',') + 1));
  WebAssembly.instantiate(bytes, imports).then(function (compiled) {
    performance.mark('velandra-compiled');
    receiveInstance(compiled.instance);
  });
  return {};
};
