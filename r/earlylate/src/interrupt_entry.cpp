// For the tests of an interrupted run: Ctrl-C pressed by the package itself at a chosen
// checkpoint, so that the test needs neither a second process nor a clock.

#include <Rcpp.h>

#include "r_hooks.hpp"

// [[Rcpp::export(rng = false)]]
void el_interrupt_at_checkpoint(int count) { el::rpkg::interruptAtCheckpoint(count); }
