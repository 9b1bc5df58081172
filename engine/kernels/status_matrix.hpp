#pragma once
// The region-by-species status matrix of a run: every value copied from the data set,
// checked, missing values turned into "Unknown", and the latest regions of the target
// species hidden for validation.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

// What a status text says about a species in a region.
enum class StatusKind : unsigned char { Date, Arrived, NotYetArrived, Unknown };

// The numeric view of one status text, used by the relation code.
struct Status {
    StatusKind kind = StatusKind::Unknown;
    double date = 0;  // only for StatusKind::Date
};

// The kind of one of the six keywords (exact, case-sensitive), or nothing for any other text.
std::optional<StatusKind> keywordKind(std::string_view text);

// A status text's numeric view; nothing when it is neither a keyword nor a number.
std::optional<Status> readStatus(std::string_view text);

// The species table: name and 0-based variable number per analysed species, and the target.
struct SpeciesTable {
    std::vector<std::string> name;
    std::vector<int> variable;
    std::optional<int> target;  // 0-based position of the target species
    int size() const { return static_cast<int>(name.size()); }
};

// The number of the last variable called `name` (0-based), as a run chooses a species'
// variable; -1 when there is none.
int variableNamed(const vec::VectorData& data, const std::string& name);

// Finds each species' variable (the last variable of that name wins) and the target
// (the last species whose name equals `targetName`). Throws RunError for a name that is
// not a variable.
SpeciesTable buildSpeciesTable(const vec::VectorData& data, const std::vector<std::string>& species,
                               const std::string& targetName);

struct StatusMatrix {
    int regions = 0;
    int species = 0;
    std::vector<std::string> text;  // [region * species + s], after the split
    std::vector<Status> cell;       // numeric view of `text`
    std::vector<std::string> actualText;  // target value per region before the split (empty without target)
    std::vector<Status> actual;

    std::size_t index(int region, int s) const {
        return static_cast<std::size_t>(region) * static_cast<std::size_t>(species) + static_cast<std::size_t>(s);
    }
    const std::string& at(int region, int s) const { return text[index(region, s)]; }
    const Status& statusAt(int region, int s) const { return cell[index(region, s)]; }
};

// Copies and checks every status value (region-major), warning once per missing-value cell
// and showing each value on the status label. Throws RunError for a value that is neither a
// keyword nor a number. Does not split. Yields once per region.
StatusMatrix buildStatusMatrix(const vec::VectorData& data, const SpeciesTable& table, const std::string& missvalue,
                               Messenger& messenger, Feedback& feedback);

// The number of regions whose target status stays visible: ratio * regions rounded half to
// even, negative -> 1, above the region count -> the region count.
int trainingCount(double ratio, int regions);

// Reads `trainingratio` from the settings (an empty text becomes "1" there) and returns the
// training count. Throws RunError when the text is not a number.
int readTrainingCount(int regions, SettingsSource& settings);

// Hides the target status of all but `keep` regions: keyword regions first in region order,
// then dated regions from the latest date back (ties: lower region first). Dates become
// "未分布", "分布"/"Arrived" become "不明".
void splitTrainingValidation(StatusMatrix& matrix, int target, int keep);
// The same split of one column (the target's statuses in region order), texts aside.
std::vector<Status> splitColumn(std::vector<Status> column, int keep);

}  // namespace el::engine
