// earlylate-batch: the headless twin of the window's "G  O" button.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_run.hpp"
#include "cli/interrupt_flag.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    el::batch::BatchTerminal terminal;
    terminal.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    terminal.interrupted = &el::batch::installInterruptHandler();
    return el::batch::runBatch(args, std::cout, std::cerr, terminal);
}
