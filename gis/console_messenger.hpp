#pragma once
// The converter's messages go to standard error at once; nothing else is shown.

#include <ostream>
#include <string>

#include "base/messenger.hpp"

namespace el::gis {

class ConsoleMessenger : public Messenger {
public:
    explicit ConsoleMessenger(std::ostream& errors) : errors_(errors) {}
    void message(const std::string& text) override { errors_ << "earlylate: " << text << "\n" << std::flush; }

private:
    std::ostream& errors_;
};

}  // namespace el::gis
