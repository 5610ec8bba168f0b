// The page calls main itself once the runtime is ready. The runtime would report main's return by
// throwing its exit status, and that throw alone costs the browser milliseconds at every start.
Module['noInitialRun'] = true;
Module['onRuntimeInitialized'] = function () {
  _main();
};
