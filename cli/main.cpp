// earlylate-batch: the headless twin of the window's "G  O" button.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_run.hpp"
#include "cli/interrupt_flag.hpp"

// For the leak checker of sanitised builds: fontconfig keeps its configuration for the whole
// process with its pointers stored as offsets, which the checker cannot follow, and Cairo
// 1.16 keeps a font subset after a PDF with Japanese text. Neither is a leak of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libcairo.so\n"; }

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    el::batch::BatchTerminal terminal;
    terminal.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    terminal.interrupted = &el::batch::installInterruptHandler();
    return el::batch::runBatch(args, std::cout, std::cerr, terminal);
}
