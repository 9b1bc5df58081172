#include "gis/read_source.hpp"

#include "base/feedback.hpp"

#ifdef EARLYLATE_HAVE_GIS
#include "gis/prepare_read.hpp"
#include "gis/records_import.hpp"
#include "gis/sheet_table.hpp"
#endif

namespace el {

SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue,
                                 const vec::ReadHooks& hooks, const std::filesystem::path& sideFolder,
                                 const std::string& encoding) {
    SourceReadOutcome outcome;
#ifdef EARLYLATE_HAVE_GIS
    if (gis::isGisFile(source)) {
        auto data = gis::importForRead(source, hooks.messenger);
        if (!data) return outcome;  // the user has been told why; erf stays 1
        outcome.read = vec::readVectorData(std::move(*data), missvalue, hooks);
        outcome.convertedFromGis = true;
        return outcome;
    }
#endif
    outcome.read = vec::readVectorFile(source, missvalue, hooks, sideFolder, encoding);
    return outcome;
}

vec::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding, const std::string& sheet,
                            const vec::RecordColumns& wanted) {
#ifdef EARLYLATE_HAVE_GIS
    return gis::readRecordsTable(table, encoding, sheet, wanted);
#else
    static_cast<void>(sheet);
    static_cast<void>(wanted);
    return vec::readTableFile(table, encoding);
#endif
}

std::vector<vec::SheetHeaders> readSheetHeaders(const std::filesystem::path& table) {
#ifdef EARLYLATE_HAVE_GIS
    return gis::readSheetHeaders(table);
#else
    throw vec::RecordsError(table.string() + " is a spreadsheet, which this build reads only with its GIS part");
#endif
}

vec::ImportedRecords importRecords(const vec::RecordsSource& source, Feedback& feedback) {
#ifdef EARLYLATE_HAVE_GIS
    return gis::importRecords(source, feedback);
#else
    static_cast<void>(feedback);
    return vec::importTableRecords(source);
#endif
}

RecordsReadOutcome readRecordsSource(const vec::RecordsSource& source, const std::string& missvalue,
                                     const vec::ReadHooks& hooks, const ImportedRecordsHook& imported) {
    RecordsReadOutcome outcome;
    vec::ImportedRecords records;
    try {
        records = importRecords(source, hooks.feedback);
    } catch (const Cancelled&) {
        throw;
    } catch (const std::exception& e) {  // the records' and the files' refusals
        hooks.messenger.message(e.what());
        return outcome;
    }
    if (imported) imported(records);
    outcome.read = vec::readVectorData(std::move(records.built.data), missvalue, hooks);
    if (outcome.read.erf == 0) outcome.summary = std::move(records.summary);
    return outcome;
}

}  // namespace el
