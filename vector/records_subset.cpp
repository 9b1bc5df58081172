#include "vector/records_subset.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "base/name_match.hpp"
#include "base/text.hpp"

namespace el::vec {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string quotedList(const std::vector<std::string>& texts, std::size_t most) {
    std::string text;
    for (std::size_t k = 0; k < texts.size() && k < most; ++k) text += (k == 0 ? "" : ", ") + quoted(texts[k]);
    if (texts.size() > most) text += " and " + std::to_string(texts.size() - most) + " more";
    return text;
}

std::size_t columnOf(const std::vector<std::string>& headers, const std::string& name, const std::string& filter) {
    for (std::size_t k = 0; k < headers.size(); ++k)
        if (headers[k] == name) return k;
    for (std::size_t k = 0; k < headers.size(); ++k)
        if (equalsIgnoringAsciiCase(headers[k], name)) return k;
    throw RecordsError("The filter " + quoted(filter) + " names the column " + quoted(name) +
                       ", which the table lacks; its columns are " + quotedList(headers, headers.size()));
}

// The texts the column holds, in order of first appearance.
std::vector<std::string> valuesOf(const Table& table, std::size_t column) {
    std::vector<std::string> values;
    std::set<std::string> seen;
    for (const auto& row : table.rows) {
        std::string value(trimBlanks(row[column]));
        if (seen.insert(value).second) values.push_back(std::move(value));
    }
    return values;
}

// `held`: the texts the column holds, in order of first appearance (`heldCut`: the first of them).
[[noreturn]] void refuseEmptyFilter(const std::string& header, const std::vector<std::string>& held,
                                    const RowFilter& filter, const std::string& text, bool heldCut = false) {
    std::string message = "The filter " + quoted(text) + " keeps no row: no row's " + quoted(header) + " holds " +
                          quotedList(filter.values, filter.values.size());
    std::vector<std::string> near;
    for (const std::string& value : filter.values)
        for (std::string& name : closestNames(value, held))
            if (std::find(near.begin(), near.end(), name) == near.end()) near.push_back(std::move(name));
    if (!near.empty()) message += " (did you mean " + quotedList(near, near.size()) + "?)";
    if (!heldCut) throw RecordsError(message + "; it holds " + quotedList(held, 20));
    const std::vector<std::string> first(held.begin(), held.begin() + std::min<std::ptrdiff_t>(std::ssize(held), 20));
    throw RecordsError(message + "; it holds " + quotedList(first, first.size()) + " and more");
}

struct Applied {
    std::size_t column;
    RowFilter filter;
    std::string text;
};

std::vector<Applied> appliedFilters(const std::vector<std::string>& headers, const std::vector<std::string>& filters) {
    std::vector<Applied> applied;
    for (const std::string& text : filters) {
        std::optional<RowFilter> filter = rowFilterOf(text);
        if (!filter)
            throw RecordsError("The filter " + quoted(text) + " is not COLUMN=VALUE[,VALUE...], e.g. LifeForm=Insects");
        applied.push_back({columnOf(headers, filter->column, text), std::move(*filter), text});
    }
    return applied;
}

bool holdsValue(const RowFilter& filter, std::string_view cell) {
    const std::string_view value = trimBlanks(cell);
    return std::find(filter.values.begin(), filter.values.end(), value) != filter.values.end();
}

bool holds(const Applied& applied, const std::vector<std::string>& row) {
    return holdsValue(applied.filter, row[applied.column]);
}

std::string keptClause(const std::vector<std::string>& headers, const std::vector<Applied>& applied) {
    std::string clause = " (";
    for (std::size_t k = 0; k < applied.size(); ++k)
        clause += (k == 0 ? "" : "; ") + headers[applied[k].column] + " is " +
                  quotedList(applied[k].filter.values, applied[k].filter.values.size());
    return clause + ")";
}

}  // namespace

std::optional<RowFilter> rowFilterOf(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    RowFilter filter{std::string(trimBlanks(text.substr(0, equals))), {}};
    for (const std::string& value : splitAtCommas(text.substr(equals + 1)))
        filter.values.emplace_back(trimBlanks(value));
    const bool emptyValue =
        std::any_of(filter.values.begin(), filter.values.end(), [](const auto& v) { return v.empty(); });
    if (filter.column.empty() || emptyValue) return std::nullopt;
    return filter;
}

std::string filterRows(Table& table, const std::vector<std::string>& filters) {
    if (filters.empty()) return "";
    const std::vector<Applied> applied = appliedFilters(table.headers, filters);
    for (const Applied& filter : applied)
        if (std::none_of(table.rows.begin(), table.rows.end(), [&](const auto& row) { return holds(filter, row); }))
            refuseEmptyFilter(table.headers[filter.column], valuesOf(table, filter.column), filter.filter, filter.text);
    const std::size_t before = table.rows.size();
    std::size_t kept = 0;
    for (std::size_t r = 0; r < before; ++r) {
        const auto& row = table.rows[r];
        if (!std::all_of(applied.begin(), applied.end(), [&](const Applied& filter) { return holds(filter, row); }))
            continue;
        if (kept != r) {
            table.rows[kept] = std::move(table.rows[r]);
            table.rowNumbers[kept] = table.rowNumbers[r];
        }
        ++kept;
    }
    table.rows.resize(kept);
    table.rowNumbers.resize(kept);
    return "records: " + std::to_string(kept) + " of " + std::to_string(before) + " rows of the table kept" +
           keptClause(table.headers, applied);
}

// The distinct texts a filter's column held while no line matched it, for its refusal:
// the first few hundred are enough to list and to suggest from.
constexpr std::size_t kHeldTracked = 500;

struct LineFilters::Column {
    std::size_t index;
    RowFilter filter;
    std::string text;
    bool matched = false;
    std::vector<std::string> held;
    std::set<std::string, std::less<>> seen;
};

LineFilters::LineFilters(const std::vector<std::string>& headers, const std::vector<std::string>& filters)
    : headers_(headers), applied_(std::make_unique<std::vector<Column>>()) {
    for (Applied& applied : appliedFilters(headers, filters))
        applied_->push_back({applied.column, std::move(applied.filter), std::move(applied.text), false, {}, {}});
}

LineFilters::~LineFilters() = default;

bool LineFilters::empty() const { return applied_->empty(); }

bool LineFilters::keeps(const std::vector<std::string_view>& cells) {
    bool every = true;
    for (Column& column : *applied_) {
        const std::string_view cell = column.index < cells.size() ? cells[column.index] : std::string_view();
        if (holdsValue(column.filter, cell)) {
            column.matched = true;
            continue;
        }
        every = false;
        const std::string_view value = trimBlanks(cell);
        if (!column.matched && column.held.size() < kHeldTracked && column.seen.find(value) == column.seen.end()) {
            column.seen.emplace(value);
            column.held.emplace_back(value);
        }
    }
    ++read_;
    kept_ += every ? 1 : 0;
    return every;
}

void LineFilters::checkEachKeptSome() const {
    for (const Column& column : *applied_)
        if (!column.matched)
            refuseEmptyFilter(headers_[column.index], column.held, column.filter, column.text,
                              column.held.size() >= kHeldTracked);
}

std::string LineFilters::note(const std::string& lines) const {
    if (applied_->empty()) return "";
    std::vector<Applied> applied;
    for (const Column& column : *applied_) applied.push_back({column.index, column.filter, column.text});
    return "records: " + std::to_string(kept_) + " of " + std::to_string(read_) + " " + lines + " kept" +
           keptClause(headers_, applied);
}

std::string keepSpeciesInRegions(std::vector<Record>& records, int minRegions,
                                 const std::function<bool(const Record&)>& joined, const std::string& kept) {
    if (minRegions <= 1) return "";
    std::map<std::string, std::set<std::string>> regionsOf;
    for (const Record& record : records) {
        auto& regions = regionsOf[record.species];
        if (joined(record)) regions.insert(record.region);
    }
    std::set<std::string> dropped;
    for (const auto& [species, regions] : regionsOf)
        if (static_cast<int>(regions.size()) < minRegions && species != kept) dropped.insert(species);
    if (!regionsOf.empty() && dropped.size() == regionsOf.size()) {
        std::size_t most = 0;
        for (const auto& [species, regions] : regionsOf) most = std::max(most, regions.size());
        throw RecordsError("No species is recorded in at least " + std::to_string(minRegions) +
                           " regions (the most regions of a species are " + std::to_string(most) + ")");
    }
    const bool targetFew = regionsOf.count(kept) > 0 && static_cast<int>(regionsOf.at(kept).size()) < minRegions;
    std::erase_if(records, [&](const Record& record) { return dropped.count(record.species) > 0; });
    std::string note = "records: " + std::to_string(dropped.size()) + " of " + std::to_string(regionsOf.size()) +
                       " species recorded in fewer than " + std::to_string(minRegions) + " regions left out";
    if (targetFew) note += " (the target " + quoted(kept) + " is kept)";
    return note;
}

}  // namespace el::vec
