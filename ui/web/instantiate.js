// The WebAssembly travels inside this script as a data URI. The runtime would fetch() that URI,
// which the page's Content-Security-Policy rightly refuses (connect-src 'self'); it is decoded
// and compiled here instead, which needs nothing but 'wasm-unsafe-eval'.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports).then(function (result) {
    receiveInstance(result.instance);
  });
  return {};
};
