// The form's fonts (the style sheet's @font-face rules) start loading while the WebAssembly
// compiles, rather than once the form is first laid out: the texts are fitted only after they
// have arrived.
document.fonts.forEach(function (face) {
  face.load().catch(function () {});
});
