#pragma once
// Ctrl-C for the batch runner: SIGINT only sets a flag, which the console's checkpoint turns into
// el::Cancelled, so the run unwinds cleanly and removes its half-written files.

#include <atomic>

namespace el::batch {

// Installs the SIGINT handler once and returns the flag it sets.
const std::atomic<bool>& installInterruptHandler();

}  // namespace el::batch
