#include "cli/records_input.hpp"

#ifdef EARLYLATE_HAVE_GIS
#include "gis/records_import.hpp"
#endif

namespace el::batch {

records::ImportedRecords importRecordsFor(const records::RecordsSource& source, Feedback& feedback) {
#ifdef EARLYLATE_HAVE_GIS
    return gis::importRecords(source, feedback);
#else
    (void)feedback;
    return records::importTableRecords(source);
#endif
}

}  // namespace el::batch
