#include "cli/records_input.hpp"

namespace el::batch {

records::ImportedRecords importRecordsFor(const records::RecordsSource& source, Feedback& /*feedback*/) {
    return records::importTableRecords(source);
}

}  // namespace el::batch
