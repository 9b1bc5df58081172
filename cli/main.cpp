// earlylate-batch: the headless twin of the window's "G  O" button.

#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_run.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return el::batch::runBatch(args, std::cout, std::cerr);
}
