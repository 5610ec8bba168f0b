// The first box already holds the focus through its autofocus attribute; WebKitGTK does not tell
// a screen reader of that focus, so it is given again here, as the form is complete. In the other
// engines this changes nothing.
document.querySelector('[autofocus]').focus();
// The page calls main itself once the runtime is ready. The runtime would report main's return by
// throwing its exit status, and that throw alone costs the browser milliseconds at every start.
Module['noInitialRun'] = true;
Module['onRuntimeInitialized'] = function () {
  _main();
};
