#include "gis/read_source.hpp"

#include "vector/file_bytes.hpp"

#ifdef EARLYLATE_HAVE_GIS
#include "gis/gis_error.hpp"
#include "gis/prepare_read.hpp"
#endif

namespace el {

SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding) {
    SourceReadOutcome outcome;
#ifdef EARLYLATE_HAVE_GIS
    if (gis::isGisFile(source)) {
        const vec::ScratchFile guard(gis::kScratchVectorFile);  // however the read ends
        std::filesystem::path scratch;
        try {
            scratch = gis::prepareForRead(source, hooks.messenger);
        } catch (const gis::GisError&) {
            return outcome;  // the user has been told why; erf stays 1
        }
        outcome.read = readVectorFile(scratch, missvalue, hooks);
        outcome.convertedFromGis = true;
        return outcome;
    }
#endif
    outcome.read = readVectorFile(source, missvalue, hooks, encoding);
    return outcome;
}

}  // namespace el
