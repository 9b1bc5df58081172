#pragma once
// Ctrl-C for the batch runner: SIGINT only raises a stop token, which the console's checkpoint turns into
// el::Cancelled, so the run unwinds cleanly and removes its half-written files.

#include "base/cancel.hpp"

namespace el::batch {

// Installs the SIGINT handler once and returns the token it raises.
const StopToken& installInterruptHandler();

}  // namespace el::batch
