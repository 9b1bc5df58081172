#include "gis/read_source.hpp"

#ifdef EARLYLATE_HAVE_GIS
#include "gis/prepare_read.hpp"
#endif

namespace el {

SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding) {
    SourceReadOutcome outcome;
#ifdef EARLYLATE_HAVE_GIS
    if (gis::isGisFile(source)) {
        auto data = gis::importForRead(source, hooks.messenger);
        if (!data) return outcome;  // the user has been told why; erf stays 1
        outcome.read = readVectorData(std::move(*data), missvalue, hooks);
        outcome.convertedFromGis = true;
        return outcome;
    }
#endif
    outcome.read = readVectorFile(source, missvalue, hooks, encoding);
    return outcome;
}

}  // namespace el
