// Under node, the suite sees the test run's environment (LANG, EXPECTED_REGIONAL_SEPARATOR).
Module['preRun'] = [function () {
  Object.assign(ENV, process.env);
}];
