#include "gis/read_source.hpp"

#include <system_error>

#ifdef EARLYLATE_HAVE_GIS
#include "gis/gis_error.hpp"
#include "gis/prepare_read.hpp"
#endif

namespace el {

SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, Host& host,
                                 const std::string& encoding) {
    SourceReadOutcome outcome;
#ifdef EARLYLATE_HAVE_GIS
    if (gis::isGisFile(source)) {
        // Removes the scratch conversion however the read ends, a stop at a yield included.
        struct ScratchGuard {
            ~ScratchGuard() {
                std::error_code ignored;
                std::filesystem::remove(gis::kScratchVectorFile, ignored);
            }
        } guard;
        std::filesystem::path scratch;
        try {
            scratch = gis::prepareForRead(source, host);
        } catch (const gis::GisError&) {
            return outcome;  // the user has been told why; erf stays 1
        }
        outcome.read = readVectorFile(scratch, missvalue, host);
        outcome.convertedFromGis = true;
        return outcome;
    }
#endif
    outcome.read = readVectorFile(source, missvalue, host, encoding);
    return outcome;
}

}  // namespace el
