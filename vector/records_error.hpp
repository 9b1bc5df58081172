#pragma once
// The one refusal of the records import and of the readers under it: its text names the
// line, row, value, column or region at fault.

#include <stdexcept>

namespace el::vec {

struct RecordsError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace el::vec
