#pragma once
// The descriptor of a Darwin Core archive (its meta.xml): which file holds the core records,
// how that file is delimited, quoted, headed and encoded, and which term each column index
// stands for. The column names are the terms' last parts ("http://rs.tdwg.org/dwc/terms/
// decimalLatitude" is "decimalLatitude"), so the archive reads like a download with a header.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vector/delimited_text.hpp"

namespace el::vec {

struct ArchiveCore {
    std::string location;  // the core file, relative to the archive's root
    std::string rowType;   // e.g. http://rs.tdwg.org/dwc/terms/Occurrence
    // Delimiter, quoting, header lines skipped and encoding; no header line is read from the
    // file: `columns` names its fields.
    DelimitedFormat format;
    std::vector<std::string> columns;  // by index; "" for an index no term names
    // Terms without an index, whose value is the same in every row (a field's `default`).
    std::vector<std::pair<std::string, std::string>> constants;
};

// Throws RecordsError naming what in meta.xml cannot be read (the XML, a missing core or
// location, an index that is not a whole number, a delimiter of more than one character, an
// encoding the system does not know, two terms for one index).
ArchiveCore readArchiveMeta(std::string_view metaXml);

// The last part of a term's URI, after its last '/' or '#' ("" stays "").
std::string termName(std::string_view term);

}  // namespace el::vec
