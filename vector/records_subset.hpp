#pragma once
// The subsets of a records table users ask for: the rows whose column holds one of some
// values (--filter LifeForm=Insects), and the species recorded in at least N regions
// (--min-regions N, counted after the join to the regions layer).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vector/records.hpp"

namespace el::vec {

// "COLUMN=VALUE[,VALUE...]": the rows whose COLUMN holds one of the values.
struct RowFilter {
    std::string column;
    std::vector<std::string> values;
};

// The filter a text asks for; nothing when it has no "=", no column or an empty value.
std::optional<RowFilter> rowFilterOf(std::string_view text);

// Keeps the rows that every filter keeps (a cell compares without its surrounding blanks).
// Throws RecordsError for a filter that is not COLUMN=VALUE[,VALUE...], a column the table
// lacks (naming its columns), or a filter that keeps no row (naming the values the column
// holds and those nearest to the one asked for). The note for the user, "" without filters.
std::string filterRows(Table& table, const std::vector<std::string>& filters);

// The same filters applied to lines as they stream past (an occurrence download of millions
// of lines), each line kept or not as filterRows would keep its row.
class LineFilters {
public:
    // Throws RecordsError as filterRows does for a filter that is not COLUMN=VALUE[,VALUE...]
    // or a column `headers` lacks.
    LineFilters(const std::vector<std::string>& headers, const std::vector<std::string>& filters);
    ~LineFilters();
    LineFilters(const LineFilters&) = delete;
    LineFilters& operator=(const LineFilters&) = delete;

    bool empty() const;
    // True when every filter keeps the line (cells in the order of the headers); counted.
    bool keeps(const std::vector<std::string_view>& cells);
    // After the last line: throws RecordsError, as filterRows does, for a filter that kept no
    // line, naming the values its column held.
    void checkEachKeptSome() const;
    // "records: K of N `lines` kept (...)", "" without filters.
    std::string note(const std::string& lines) const;

private:
    struct Column;
    std::vector<std::string> headers_;
    std::unique_ptr<std::vector<Column>> applied_;
    std::int64_t read_ = 0, kept_ = 0;
};

// Leaves out the records of every species recorded in fewer than `minRegions` regions,
// counting only the records `joined` accepts (those whose region the layer has); the
// species `kept` (the target) stays whatever its count. The note for the user, "" when
// `minRegions` is at most 1. Throws RecordsError when it would leave no species.
std::string keepSpeciesInRegions(std::vector<Record>& records, int minRegions,
                                 const std::function<bool(const Record&)>& joined, const std::string& kept);

}  // namespace el::vec
