#pragma once

// Runs the tests GoogleTest selected and gives the program's exit code. A run that ran nothing
// fails, so that it can never pass unnoticed:
// - a filter that matches no test;
// - a run of several tests that all skipped;
// - in a run made for the tests it selects (KELVANE_RUN_MADE_FOR names it: a prefix with a
//   palette, another display scale), any test that skipped.
// Where KELVANE_TEST_RECORDS names a folder, the run notes there which tests ran and which skipped,
// under the run's name (KELVANE_RUN_MADE_FOR, KELVANE_RUN for a whole program run once more under
// other conditions, else "ordinary"), so that the whole suite can show that every test skipped in
// one run ran in another.
int RunSelectedTests();
